// The history's undo limit. Qt's stack takes a new limit only while it is
// empty, so a limit set while the history holds entries waits: it comes into
// force as soon as the history is emptied (cleared, or a settings file
// loaded), and a later limit replaces one still waiting.
#pragma once

#include <QString>

class QUndoStack;

// Sets the limit (0: none) now when the stack is empty, else when it next is.
// True when it is in force at once.
bool setUndoLimitWhenEmpty(QUndoStack& stack, int levels);

// What the user is told when a new limit must wait: when it will apply, and
// what holds until then.
QString waitingUndoLimitText(const QUndoStack& stack, int levels);
