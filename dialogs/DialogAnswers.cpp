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
    if (--count == 0)
        QMetaObject::invokeMethod(this, &DialogAnswers::allTaken, Qt::QueuedConnection);
}
