// The answers of modal dialogs that their callers have not yet taken: one
// for each dialog from before it runs until its caller is done with what it
// answered (the preferences stored, the settings loaded). The window's close
// waits while any is pending, and runs again when the last is taken.
#pragma once

#include <QObject>

class DialogAnswers : public QObject
{
    Q_OBJECT
public:
    static DialogAnswers& instance();
    // Dialogs open, or answered with the answer not yet taken.
    int pending() const { return count; }

    // Holds one answer pending for its lifetime: made before the dialog
    // runs, ended once its caller has taken the answer.
    class Pending
    {
    public:
        Pending() { ++instance().count; }
        ~Pending() { instance().taken(); }
        Pending(const Pending&) = delete;
        Pending& operator=(const Pending&) = delete;
    };

signals:
    // The last pending answer was taken; queued, so it arrives once the
    // caller has returned to the event loop.
    void allTaken();

private:
    void taken();
    int count = 0;
};
