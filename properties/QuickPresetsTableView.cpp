#include "properties/QuickPresetsTableView.h"

#include <QStandardItemModel>

QuickPresetsTableView::QuickPresetsTableView(QWidget* /*parent*/)
{
}

void QuickPresetsTableView::setQuickPresetsTableModel(QStandardItemModel* model)
{
    if (QTableView::model() != model)
        setModel(model);
}

void QuickPresetsTableView::keyPressEvent(QKeyEvent* event)
{
    QAbstractItemView::keyPressEvent(event);
}
