// The action-history list of the main window: one entry per undo command of
// the scene's undo stack, which the main window hands it. Its context menu's
// one entry "Clear" empties the history and keeps every value.
#pragma once

#include <QUndoView>

class QAction;
class QContextMenuEvent;

class UndoView : public QUndoView
{
    Q_OBJECT

public:
    // Built with `owner` as its parent.
    explicit UndoView(QWidget* owner);

    QWidget* ownerWidget() const { return owner; }
    QAction* clearAction() const { return clear; }

public slots:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Deletes every command; the scene, the records and the controls stay.
    // Every property slider's from-value becomes its current position.
    void clearActionsHistory();

private:
    QWidget* owner;
    QAction* clear;
};
