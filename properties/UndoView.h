// The action-history list of the main window: one entry per undo command of
// the scene's undo stack, which the main window hands it.
#pragma once

#include <QUndoView>

class UndoView : public QUndoView
{
    Q_OBJECT

public:
    // Built with `owner` as its parent.
    explicit UndoView(QWidget* owner);

    QWidget* ownerWidget() const { return owner; }

private:
    QWidget* owner;
};
