#include "properties/QuickPresetsTableView.h"

QuickPresetsTableView::QuickPresetsTableView(QWidget* /*parent*/)
    : QTableView(nullptr)
{
}
