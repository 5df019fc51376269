#include "properties/QuickPresetsTableView.h"

QuickPresetsTableView::QuickPresetsTableView(QWidget* /*parent*/)
{
}

void QuickPresetsTableView::keyPressEvent(QKeyEvent* event)
{
    QAbstractItemView::keyPressEvent(event);
}
