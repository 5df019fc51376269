#include "properties/UndoView.h"

#include "mainwindow/ZolvarDlg.h"
#include "properties/MainWindowOf.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QUndoStack>

UndoView::UndoView(QWidget* owner)
    : QUndoView(owner)
    , owner(owner)
    , clear(new QAction(QStringLiteral("Clear"), this))
{
    connect(clear, &QAction::triggered, this, &UndoView::clearActionsHistory);
}

void UndoView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(clear);
    menu.exec(event->globalPos());
}

void UndoView::clearActionsHistory()
{
    if (stack())
        stack()->clear();
    if (auto* dlg = qobject_cast<ZolvarDlg*>(mainWindowOf(owner)))
        dlg->setSlidersFromValWithCurrentVal();
}
