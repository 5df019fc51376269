#include "properties/MenuTableView.h"

#include <QMenu>
#include <QMouseEvent>

MenuTableView::MenuTableView()
    : QTableView(nullptr)
{
    connect(this, &QWidget::customContextMenuRequested, this, &MenuTableView::openMenu);
}

void MenuTableView::mousePressEvent(QMouseEvent* event)
{
    const bool button = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    if (button && !indexAt(event->position().toPoint()).isValid())
        clearSelection();
    QAbstractItemView::mousePressEvent(event);
}

void MenuTableView::openMenu(const QPoint& pos)
{
    if (contextMenu && indexAt(pos).isValid())
        contextMenu->exec(viewport()->mapToGlobal(pos));
}
