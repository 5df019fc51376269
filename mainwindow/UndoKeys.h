// The keys of the window's undo and redo: the platform's own, except under
// host 17.0, which takes those for itself (Alt+Z and Alt+Shift+Z there).
#pragma once

#include <QKeySequence>

QKeySequence undoKeys();
QKeySequence redoKeys();
