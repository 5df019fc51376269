#include "properties/QuickPresetsTableView.h"

#include <QStandardItemModel>

QuickPresetsTableView::QuickPresetsTableView(QWidget* /*parent*/)
    : QTableView(nullptr)
{
}

void QuickPresetsTableView::setQuickPresetsTableModel(QStandardItemModel* model)
{
    if (QTableView::model() != model)
        setModel(model);
}
