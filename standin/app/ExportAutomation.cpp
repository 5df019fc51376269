#include "ExportAutomation.h"
#include "ExitCodes.h"
#include "RunSummary.h"
#include "StallWatchdog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace standin {

namespace {

const char* const kWindowName = "ZolvarDlgClass";
const char* const kStartBoxName = "startFrameEt";
const char* const kEndBoxName = "endFrameEt";
const char* const kExportButtonName = "exportBtn";
const char* const kProgressBarName = "progressBar";
// The note of a dialog the driver declines: the separation offer names there
// the layers it leaves out, and why.
const char* const kDialogNoteName = "leftOutSt";
const char* const kProgressNoteName = "exportNoteSt";

// Once the window is gone, the plug-in's event loop should end at once; this
// long after, the driver ends it.
const int kGraceMilliseconds = 10000;
// Export unchecked this long, with the window open and nothing modal on top,
// means the plug-in ended the export without finishing it.
const int kEndedMilliseconds = 500;
// Once the stall time has passed, the plug-in's thread has this long to
// notice; one that does not is held in a step that never returns.
const int kAnswerMilliseconds = 2000;
const char* const kWaitingForWindow = "waiting for the plug-in's window";

ExportRequest g_request;
ExportReport g_report;
bool g_armed = false;
StallWatchdog g_watchdog;

void say(const std::string& line)
{
    writeText("zolvar-host: " + printable(line) + "\n", stdout);
    std::fflush(stdout);
}

std::string noProgress(const std::string& where)
{
    return "the export made no progress for " + stallTimeText(g_request.stallMilliseconds) + " (" + where + ")";
}

// On the watchdog's thread, while the plug-in's thread is held somewhere
// inside a step: nothing of Qt or of the run's state is touched, the line
// goes straight to the output and the process ends at once.
void endHeldRun(const std::string& where)
{
    if (ftrylockfile(stdout) == 0) {
        std::fflush(stdout);
        funlockfile(stdout);
    }
    const std::string line = "zolvar-host: error: "
        + printable(noProgress(where) + "; the plug-in's application does not answer: ending the run") + "\n";
    for (size_t done = 0; done < line.size();) {
        const ssize_t n = ::write(STDOUT_FILENO, line.data() + done, line.size() - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::_exit(kExitExport);
}

class ExportDriver : public QObject
{
public:
    explicit ExportDriver(QObject* parent)
        : QObject(parent)
    {
        connect(&poll_, &QTimer::timeout, this, &ExportDriver::tick);
        poll_.start(g_request.pollMilliseconds);
        grace_.setSingleShot(true);
        connect(&grace_, &QTimer::timeout, this, &ExportDriver::lingering);
    }

    ~ExportDriver() override { g_watchdog.stop(); }

private:
    enum class State { Looking, Acting, Exporting, Closing, Gone };

    void tick()
    {
        const bool answered = answerDialogs();
        if (window_.isNull() && state_ == State::Looking)
            window_ = findWindow();
        const bool windowShown = !window_.isNull() && window_->isVisible();
        if (windowShown)
            seenWindow_ = true;
        watchProgress(windowShown);
        if (g_watchdog.stalled()) {
            timeUp();
            return;
        }

        switch (state_) {
        case State::Looking:
            if (seenWindow_ && !windowShown) {
                finish(ExportOutcome::ClosedEarly, "the window closed before the export could start");
            } else if (windowShown && !answered) {
                // Not in a tick that answered a box: the code that showed it
                // goes on once its loop returns and may show the next one
                // (a settings load shows two before its rebuild). Outside
                // this timer's slot: Qt does not fire a timer again while
                // its slot runs, and the export may open message boxes that
                // this timer must answer.
                state_ = State::Acting;
                QTimer::singleShot(0, this, &ExportDriver::startExport);
            }
            break;
        case State::Acting:
            break;
        case State::Exporting:
            if (windowShown && exportEndedUnfinished(answered))
                return;
            [[fallthrough]];
        case State::Closing:
            if (!windowShown) {
                judgeEnd();
                finish(g_report.outcome, g_report.detail);
            }
            break;
        case State::Gone:
            break;
        }
    }

    // What the watchdog looks at: any change in it is progress and starts
    // the stall time again.
    struct Progress
    {
        State state;
        bool windowShown;
        size_t messages;
        bool barFound;
        int minimum, maximum, value;
        bool operator==(const Progress& o) const
        {
            return state == o.state && windowShown == o.windowShown && messages == o.messages
                && barFound == o.barFound && minimum == o.minimum && maximum == o.maximum && value == o.value;
        }
    };

    Progress currentProgress(bool windowShown)
    {
        if (bar_.isNull() && !window_.isNull())
            bar_ = window_->findChild<QProgressBar*>(QLatin1String(kProgressBarName));
        Progress p{state_, windowShown, g_report.messages.size(), !bar_.isNull(), 0, 0, 0};
        if (!bar_.isNull()) {
            p.minimum = bar_->minimum();
            p.maximum = bar_->maximum();
            p.value = bar_->value();
        }
        return p;
    }

    void watchProgress(bool windowShown)
    {
        if (state_ == State::Gone)
            return;
        const Progress now = currentProgress(windowShown);
        if (now == progress_)
            return;
        progress_ = now;
        g_watchdog.moved(standstill());
    }

    // Where the run stood when it stopped moving, for the watchdog's message.
    std::string standstill() const
    {
        switch (progress_.state) {
        case State::Looking:
        case State::Acting:
            return kWaitingForWindow;
        case State::Exporting:
            if (!progress_.barFound)
                return "exporting; the window has no progress bar";
            return "the progress bar stood at " + std::to_string(progress_.value) + " of "
                + std::to_string(progress_.minimum) + "-" + std::to_string(progress_.maximum);
        case State::Closing:
        case State::Gone:
            break;
        }
        return "waiting for the window to close";
    }

    // A modal window other than the main window is open: nobody could press
    // anything in the main window now.
    bool dialogOpen() const
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != window_ && modal->objectName() != QLatin1String(kWindowName))
            return true;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != window_ && w->isVisible() && w->isModal() && w->objectName() != QLatin1String(kWindowName))
                return true;
        return false;
    }

    static QWidget* findWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(kWindowName) && w->isVisible())
                return w;
        return nullptr;
    }

    // Message boxes are answered with their accepting button; any other modal
    // dialog (never the main window) is declined.
    bool answerDialogs()
    {
        bool any = false;
        QList<QPointer<QWidget>> open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != window_ && w->objectName() != QLatin1String(kWindowName))
                open.append(w);
        for (const QPointer<QWidget>& w : open) {
            if (w.isNull() || !w->isVisible())
                continue;
            if (auto* box = qobject_cast<QMessageBox*>(w.data())) {
                answer(box);
                any = true;
            } else if (auto* dialog = qobject_cast<QDialog*>(w.data()); dialog && dialog->isModal()) {
                decline(dialog);
                any = true;
            }
        }
        return any;
    }

    // While exporting: the plug-in unchecked Export and left its window
    // open (nothing to export, a refused range, layers that could not be
    // written). The window is closed and the run fails with the plug-in's
    // messages. True when that happened.
    bool exportEndedUnfinished(bool answeredNow)
    {
        const bool ended = !button_.isNull() && !button_->isChecked() && !answeredNow
            && (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == window_);
        if (!ended) {
            endedSince_.invalidate();
            return false;
        }
        if (!endedSince_.isValid()) {
            endedSince_.start();
            return false;
        }
        if (endedSince_.elapsed() < kEndedMilliseconds)
            return false;
        closeWindow(ExportOutcome::Failed, "the plug-in ended the export unfinished and kept its window open"
                                               + saidSinceStart());
        return true;
    }

    // The message boxes answered since Export was pressed, for a failure's
    // reason: " (first; second)", or nothing.
    std::string saidSinceStart() const
    {
        std::string said;
        for (size_t i = messagesAtStart_; i < g_report.messages.size(); ++i)
            said += (said.empty() ? "" : "; ") + g_report.messages[i];
        return said.empty() ? std::string() : " (" + said + ")";
    }

    // The window went away while exporting: the run is judged by how the
    // export ended, whatever closed the window (its own end, a window
    // manager, the host's close or quit). Export released with its progress
    // note cleared is an export the plug-in ended unfinished (a layer that
    // failed, a cancel, a recording dropped); a finished export closes the
    // window with its note still showing. Judged once, at the first sign.
    void judgeEnd()
    {
        if (state_ != State::Exporting || judged_)
            return;
        judged_ = true;
        const bool unfinished =
            !button_.isNull() && !button_->isChecked() && !note_.isNull() && note_->text().isEmpty();
        g_report.outcome = unfinished ? ExportOutcome::Failed : ExportOutcome::Exported;
        g_report.detail =
            unfinished ? "the plug-in ended the export unfinished, and the window closed" + saidSinceStart() : "";
    }

    // The plug-in's close ends its event loop at once, maybe before another
    // poll: the end is judged when the window hides, as the close hides it
    // (not when it is minimised).
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == window_ && !event->spontaneous() && !window_->isVisible())
            judgeEnd();
        return false;
    }

    // A box's text without the lines its details repeat (the first of a
    // list the details hold whole), so that each is printed once.
    static QString textBesideDetails(const QString& text, const QString& details)
    {
        if (details.isEmpty())
            return text;
        const QStringList repeated = details.split(QLatin1Char('\n'));
        QStringList kept;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const bool blank = line.trimmed().isEmpty();
            if ((blank && !kept.isEmpty() && kept.last().trimmed().isEmpty()) || (!blank && repeated.contains(line)))
                continue;
            kept << line;
        }
        return kept.join(QLatin1Char('\n'));
    }

    static void answer(QMessageBox* box)
    {
        QAbstractButton* pick = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            const auto role = box->buttonRole(b);
            if (role == QMessageBox::AcceptRole || role == QMessageBox::YesRole) {
                pick = b;
                break;
            }
        }
        if (!pick)
            pick = box->defaultButton();
        const QString details = box->detailedText();
        // The informative text is shown under the text: the particulars.
        QString text = box->text();
        if (!box->informativeText().isEmpty())
            text += QLatin1Char('\n') + box->informativeText();
        std::string line = "message box \"" + box->windowTitle().toStdString() + "\": "
            + textBesideDetails(text, details).toStdString()
            + (pick ? " [" + pick->text().remove('&').toStdString() + "]" : "");
        // What the box holds behind "Show Details...": no one clicks it here.
        if (!details.isEmpty())
            line += " (details: " + details.toStdString() + ")";
        g_report.messages.push_back(line);
        say(line);
        if (pick)
            pick->click();
        else
            box->accept();
    }

    static void decline(QDialog* dialog)
    {
        std::string line = "dialog \"" + dialog->windowTitle().toStdString() + "\" ("
            + dialog->metaObject()->className() + ") declined";
        if (const auto* note = dialog->findChild<QLabel*>(QLatin1String(kDialogNoteName));
            note && !note->text().isEmpty())
            line += " (its note: " + note->text().toStdString() + ")";
        g_report.messages.push_back(line);
        say(line);
        dialog->reject();
    }

    void startExport()
    {
        if (window_.isNull() || !window_->isVisible()) {
            finish(ExportOutcome::ClosedEarly, "the window closed before the export could start");
            return;
        }
        auto* startBox = window_->findChild<QSpinBox*>(QLatin1String(kStartBoxName));
        auto* endBox = window_->findChild<QSpinBox*>(QLatin1String(kEndBoxName));
        auto* button = window_->findChild<QAbstractButton*>(QLatin1String(kExportButtonName));
        std::string missing;
        for (const auto& [found, name] : {std::pair<bool, const char*>{startBox != nullptr, kStartBoxName},
                                          {endBox != nullptr, kEndBoxName},
                                          {button != nullptr, kExportButtonName}})
            if (!found)
                missing += std::string(missing.empty() ? "" : ", ") + name;
        if (!missing.empty()) {
            closeWindow(ExportOutcome::ControlsMissing,
                        "the window has no export controls yet (missing: " + missing + ")");
            return;
        }
        if (!button->isCheckable() || !button->isEnabled()) {
            closeWindow(ExportOutcome::NotStarted, "the Export button cannot be checked");
            return;
        }

        // As typed by a user: each box gets its value, then loses the focus.
        // An end past what the window takes is cut by it, as the user would
        // see it cut; the plug-in then cuts it to the composition's last
        // frame as it does any end past that. Anything else changed refuses
        // the range.
        setBox(startBox, g_request.start);
        setBox(endBox, g_request.end);
        const int start = startBox->value();
        const int end = endBox->value();
        if (start != g_request.start || end > g_request.end || end < start) {
            closeWindow(ExportOutcome::NotStarted, "the frame boxes hold " + std::to_string(start) + "-"
                                                       + std::to_string(end) + " instead of the range asked for");
            return;
        }

        // The one place that decides to press: only with nothing modal open,
        // as a user could. Setting the boxes ran the window's own handlers,
        // and a box shown since this step was queued is answered first.
        if (dialogOpen()) {
            state_ = State::Looking;
            return;
        }
        say("exporting frames " + std::to_string(start) + "-" + std::to_string(end)
            + (end < g_request.end ? " (the end frame box takes no more than " + std::to_string(end) + ")" : ""));
        // The plug-in may close the window and end its loop inside the click:
        // from here on the run counts as exported unless something says else.
        state_ = State::Exporting;
        button_ = button;
        note_ = window_->findChild<QLabel*>(QLatin1String(kProgressNoteName));
        window_->installEventFilter(this);
        messagesAtStart_ = g_report.messages.size();
        g_report.outcome = ExportOutcome::Exported;
        g_report.detail.clear();
        QPointer<QAbstractButton> guard(button);
        if (!button->isChecked())
            button->click(); // may run nested event loops (message boxes)
        if (state_ == State::Exporting && !guard.isNull() && !guard->isChecked() && !window_.isNull()
            && window_->isVisible())
            closeWindow(ExportOutcome::NotStarted, "the plug-in unchecked Export at once");
    }

    static void setBox(QSpinBox* box, int value)
    {
        box->setValue(value);
        emit box->editingFinished();
    }

    void closeWindow(ExportOutcome outcome, const std::string& detail)
    {
        g_report.outcome = outcome;
        g_report.detail = detail;
        say((exportFailed(outcome) ? "error: " : "warning: ") + detail + "; closing the window");
        state_ = State::Closing;
        // Queued: the window's close handling may open message boxes too.
        if (!window_.isNull())
            QTimer::singleShot(0, window_.data(), [window = window_] {
                if (!window.isNull())
                    window->close();
            });
    }

    void finish(ExportOutcome outcome, const std::string& detail)
    {
        g_report.outcome = outcome;
        g_report.detail = detail;
        if (outcome == ExportOutcome::ClosedEarly)
            say("error: " + detail);
        state_ = State::Gone;
        g_watchdog.stop();
        grace_.start(kGraceMilliseconds);
    }

    void lingering()
    {
        say("warning: the window is closed but the plug-in's event loop still runs; ending it");
        poll_.stop();
        QCoreApplication::exit(0);
    }

    void timeUp()
    {
        g_report.outcome = ExportOutcome::TimedOut;
        g_report.detail = noProgress(standstill()) + "; quitting the plug-in's application";
        say("error: " + g_report.detail);
        poll_.stop();
        state_ = State::Gone;
        g_watchdog.stop();
        // exit(), not quit(): quit() is refused by a window that will not
        // close, and exit() also ends nested loops (an open message box).
        QCoreApplication::exit(0);
    }

    QTimer poll_;
    QTimer grace_;
    QPointer<QWidget> window_;
    QPointer<QAbstractButton> button_;
    QPointer<QProgressBar> bar_;
    QPointer<QLabel> note_;
    Progress progress_{State::Looking, false, 0, false, 0, 0, 0};
    size_t messagesAtStart_ = 0;
    QElapsedTimer endedSince_;
    bool seenWindow_ = false;
    bool judged_ = false;
    State state_ = State::Looking;
};

// Runs inside the plug-in's application constructor: too early for widgets,
// so the driver is created once the plug-in's event loop turns.
void startDriver()
{
    if (!g_armed)
        return;
    g_armed = false;
    g_report.outcome = ExportOutcome::NoWindow;
    g_report.detail = "the plug-in opened no main window";
    QCoreApplication* app = QCoreApplication::instance();
    QMetaObject::invokeMethod(
        app,
        [app] {
            if (qobject_cast<QApplication*>(app))
                new ExportDriver(app);
            else
                g_report.detail = "the plug-in's application has no widgets";
        },
        Qt::QueuedConnection);
}

} // namespace

void armExportAutomation(const ExportRequest& request)
{
    static bool registered = false;
    g_request = request;
    g_report = ExportReport();
    g_report.detail = "the plug-in created no application";
    g_armed = true;
    // From here on, so that a plug-in held before its window shows is caught too.
    g_watchdog.start(g_request.stallMilliseconds, kAnswerMilliseconds, kWaitingForWindow, endHeldRun);
    if (!registered) {
        qAddPreRoutine(startDriver);
        registered = true;
    }
}

void disarmExportAutomation()
{
    g_watchdog.stop();
}

const ExportReport& exportReport()
{
    return g_report;
}

bool exportFailed(ExportOutcome outcome)
{
    // A window without export controls is the plug-in's state of progress,
    // not a fault; everything else that exported nothing is.
    return outcome != ExportOutcome::Exported && outcome != ExportOutcome::ControlsMissing;
}

std::string stallTimeText(int milliseconds)
{
    if (milliseconds % 1000 == 0)
        return std::to_string(milliseconds / 1000) + " s";
    char text[32];
    std::snprintf(text, sizeof text, "%g s", milliseconds / 1000.0);
    return text;
}

int exportTimeoutFromEnvironment(int fallbackSeconds, std::string* warning)
{
    const char* text = std::getenv("ZOLVAR_HOST_TIMEOUT");
    if (!text || !*text)
        return fallbackSeconds;
    char* end = nullptr;
    const long seconds = std::strtol(text, &end, 10);
    const long kMaxSeconds = 7L * 24 * 3600;
    if (*end != '\0' || seconds <= 0 || seconds > kMaxSeconds) {
        if (warning)
            *warning = "ZOLVAR_HOST_TIMEOUT=\"" + std::string(text) + "\" is not a number of seconds from 1 to "
                + std::to_string(kMaxSeconds) + "; using " + std::to_string(fallbackSeconds);
        return fallbackSeconds;
    }
    return static_cast<int>(seconds);
}

} // namespace standin
