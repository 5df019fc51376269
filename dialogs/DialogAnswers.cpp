#include "dialogs/DialogAnswers.h"

#include <QMetaObject>

DialogAnswers& DialogAnswers::instance()
{
    // Never deleted: a dialog may end after the application.
    static auto* answers = new DialogAnswers;
    return *answers;
}

void DialogAnswers::taken()
{
    // Queued, never called from here: a pending answer may end before its
    // caller has taken it. pickColor's ends as it returns the colour, before
    // its caller applies it; a close that waited for the colour dialog, run
    // from here, would save and close the window without the colour chosen.
    if (--count == 0)
        QMetaObject::invokeMethod(this, &DialogAnswers::allTaken, Qt::QueuedConnection);
}
