#include "mainwindow/UndoKeys.h"

#include "host/PluginGlobals.h"

namespace {

bool hostTakesPlatformUndoKeys()
{
    return ae_major_version == 17 && ae_minor_version == 0;
}

} // namespace

QKeySequence undoKeys()
{
    return hostTakesPlatformUndoKeys() ? QKeySequence(Qt::ALT | Qt::Key_Z) : QKeySequence(QKeySequence::Undo);
}

QKeySequence redoKeys()
{
    return hostTakesPlatformUndoKeys() ? QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Z)
                                       : QKeySequence(QKeySequence::Redo);
}
