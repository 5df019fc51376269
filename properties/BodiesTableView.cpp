#include "properties/BodiesTableView.h"

BodiesTableView::BodiesTableView(QWidget* /*parent*/)
{
}
