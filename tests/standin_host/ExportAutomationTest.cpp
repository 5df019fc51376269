// The --export driver against stand-in windows: it must find the controls by
// name, set the range the way typing would, press Export, answer message
// boxes, decline other dialogs, close a window without controls and give up
// on a window that never closes.
#include "ExportAutomation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include <unistd.h>

using namespace standin;

namespace {

int g_argc = 1;
char g_arg0[] = "standin_host_export_test";
char* g_argv[] = {g_arg0, nullptr};

// The main window as the plug-in names it, with or without export controls.
class FakeMainWindow : public QMainWindow
{
public:
    explicit FakeMainWindow(bool withControls, bool closable = true)
        : closable_(closable)
    {
        setObjectName(QStringLiteral("ZolvarDlgClass"));
        auto* panel = new QWidget(this);
        auto* layout = new QVBoxLayout(panel);
        if (withControls) {
            start = new QSpinBox(panel);
            end = new QSpinBox(panel);
            for (QSpinBox* box : {start, end})
                box->setRange(0, 16777215);
            start->setObjectName(QStringLiteral("startFrameEt"));
            end->setObjectName(QStringLiteral("endFrameEt"));
            button = new QToolButton(panel);
            button->setObjectName(QStringLiteral("exportBtn"));
            button->setCheckable(true);
            layout->addWidget(start);
            layout->addWidget(end);
            layout->addWidget(button);
            // The window's own range corrections, as a user's typing meets them.
            QObject::connect(start, &QSpinBox::editingFinished, panel, [this] {
                if (start->value() > end->value())
                    end->setValue(start->value());
            });
            QObject::connect(end, &QSpinBox::editingFinished, panel, [this] {
                if (end->value() < start->value())
                    start->setValue(end->value());
            });
            QObject::connect(button, &QToolButton::clicked, panel, [this](bool checked) {
                if (!checked)
                    return;
                exportedRange = {start->value(), end->value()};
                pressedUnderModal = QApplication::activeModalWidget() != nullptr;
                QMessageBox::information(this, QStringLiteral("Zolvar"), QStringLiteral("All keys written."));
                close();
            });
        }
        setCentralWidget(panel);
    }

    // The boxes lose focus while QWidget's destructor runs, after this
    // class's part is gone: their corrections must not reach it then.
    ~FakeMainWindow() override
    {
        for (QSpinBox* box : {start, end})
            if (box)
                QObject::disconnect(box, nullptr, nullptr, nullptr);
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (closable_)
            event->accept();
        else
            event->ignore();
    }

    QSpinBox* start = nullptr;
    QSpinBox* end = nullptr;
    QToolButton* button = nullptr;
    std::pair<int, int> exportedRange{-1, -1};
    bool pressedUnderModal = false;

private:
    bool closable_;
};

// The plug-in's window writing its keys, a layer a turn; a close meanwhile waits for the last.
// A finished export keeps its progress note; a failed layer or a cancel clears it first.
class WritingWindow : public FakeMainWindow
{
public:
    WritingWindow(bool failing, bool cancelling) : FakeMainWindow(true), failing_(failing), cancelling_(cancelling)
    {
        note_.setObjectName(QStringLiteral("exportNoteSt"));
        button->disconnect();
        QObject::connect(button, &QToolButton::clicked, this,
                         [this] { QTimer::singleShot(0, this, &WritingWindow::turn); });
    }
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!(closeWaits_ = writing_)); }

private:
    void turn()
    {
        if (++written_ == 2) // a cancel, or a close that waits
            cancelling_ ? button->setChecked(false) : (void)close();
        if (written_ < 10 && button->isChecked())
            return QTimer::singleShot(0, this, &WritingWindow::turn);
        button->setChecked(false);
        note_.setText(failing_ || cancelling_ ? QString() : note_.text());
        if (failing_)
            QMessageBox::information(this, QStringLiteral("Zolvar"), QStringLiteral("9 of 10 layers were written."));
        writing_ = false;
        QTimer::singleShot(closeWaits_ ? 0 : 100, this, [this] { close(); });
    }

    QLabel note_{QStringLiteral("Solving...10/10"), centralWidget()};
    bool failing_, cancelling_, writing_ = true, closeWaits_ = false;
    int written_ = 0;
};

ExportRequest request(int start, int end, int stallMilliseconds = 30000)
{
    ExportRequest r;
    r.start = start;
    r.end = end;
    r.stallMilliseconds = stallMilliseconds;
    r.pollMilliseconds = 10;
    return r;
}

bool mentions(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(ExportAutomation, SetsTheRangePressesExportAndAnswersMessageBoxes)
{
    armExportAutomation(request(3, 42));
    QApplication app(g_argc, g_argv);
    FakeMainWindow window(true);
    window.show();

    // A separation offer or a warning dialog before the export: declined.
    QTimer::singleShot(0, &window, [&window] {
        QDialog offer(&window);
        offer.setWindowTitle(QStringLiteral("Separate layers"));
        offer.exec();
    });
    // Once, leaving the end box opens a message without waiting for it.
    QObject::connect(window.end, &QSpinBox::editingFinished, &window, [&window, shown = false]() mutable {
        if (!std::exchange(shown, true))
            (new QMessageBox(QMessageBox::Information, "Zolvar", "Range noted.", QMessageBox::Ok, &window))->open();
    });
    app.exec();

    EXPECT_EQ(exportReport().outcome, ExportOutcome::Exported) << exportReport().detail;
    EXPECT_FALSE(exportFailed(exportReport().outcome));
    EXPECT_EQ(window.exportedRange, std::make_pair(3, 42));
    EXPECT_TRUE(mentions(exportReport().messages, "All keys written."));
    EXPECT_TRUE(mentions(exportReport().messages, "\"Separate layers\" (QDialog) declined"));
    EXPECT_TRUE(mentions(exportReport().messages, "Range noted."));
    EXPECT_FALSE(window.pressedUnderModal);
    EXPECT_FALSE(window.isVisible());
}

TEST(ExportAutomation, ARangeBelowTheCurrentStartIsSetInOrder)
{
    armExportAutomation(request(0, 5));
    QApplication app(g_argc, g_argv);
    FakeMainWindow window(true);
    window.start->setValue(10);
    window.end->setValue(249);
    window.show();
    app.exec();
    EXPECT_EQ(exportReport().outcome, ExportOutcome::Exported) << exportReport().detail;
    EXPECT_EQ(window.exportedRange, std::make_pair(0, 5));
}

TEST(ExportAutomation, AWindowWithoutControlsIsClosedWithAWarningOnly)
{
    armExportAutomation(request(0, 100));
    QApplication app(g_argc, g_argv);
    FakeMainWindow window(false);
    window.show();
    app.exec();
    EXPECT_EQ(exportReport().outcome, ExportOutcome::ControlsMissing);
    EXPECT_FALSE(exportFailed(exportReport().outcome));
    EXPECT_NE(exportReport().detail.find("startFrameEt, endFrameEt, exportBtn"), std::string::npos)
        << exportReport().detail;
    EXPECT_FALSE(window.isVisible());
}

TEST(ExportAutomation, AnEndPastTheBoxesIsCutThereAStartIsRefused)
{
    for (const int start : {10, 300}) { // the boxes take frames up to 249
        armExportAutomation(request(start, 500));
        QApplication app(g_argc, g_argv);
        FakeMainWindow window(true);
        window.start->setMaximum(249);
        window.end->setMaximum(249);
        window.show();
        app.exec();
        const bool cut = start <= 249;
        EXPECT_EQ(exportReport().outcome, cut ? ExportOutcome::Exported : ExportOutcome::NotStarted) << start;
        EXPECT_EQ(window.exportedRange, cut ? std::make_pair(start, 249) : std::make_pair(-1, -1));
    }
}

TEST(ExportAutomation, TheWatchdogEndsAWindowThatNeverCloses)
{
    armExportAutomation(request(0, 1, /*stallMilliseconds=*/1000));
    QApplication app(g_argc, g_argv);
    FakeMainWindow window(false, /*closable=*/false);
    window.show();
    app.exec(); // returns only through the watchdog
    EXPECT_EQ(exportReport().outcome, ExportOutcome::TimedOut);
    EXPECT_TRUE(exportFailed(exportReport().outcome));
    EXPECT_NE(exportReport().detail.find("no progress for 1 s (waiting for the window to close)"), std::string::npos)
        << exportReport().detail;
    EXPECT_TRUE(window.isVisible());
}

TEST(ExportAutomation, TheWatchdogWaitsForAStalledExportNotForALongOne)
{
    // The export moves its progress bar every `stepMs` for `movingMs`, then
    // closes the window, or (stalling) stops moving and never closes. The
    // stall time is a fraction of the export's length.
    const int stallMs = 1000;
    struct Row {
        bool stalls;
    };
    for (const Row row : {Row{false}, Row{true}}) {
        SCOPED_TRACE(row.stalls ? "stalls" : "keeps moving");
        armExportAutomation(request(0, 100, stallMs));
        QApplication app(g_argc, g_argv);
        FakeMainWindow window(true, /*closable=*/!row.stalls);
        auto* bar = new QProgressBar(window.centralWidget());
        bar->setObjectName(QStringLiteral("progressBar"));
        window.button->disconnect();
        QElapsedTimer clock;
        qint64 lastMoveMs = 0;
        QTimer step;
        QObject::connect(window.button, &QToolButton::clicked, &window, [&](bool checked) {
            if (!checked)
                return;
            bar->setRange(0, 100);
            bar->setValue(0);
            clock.start();
            step.start(40);
        });
        const int movingMs = 3 * stallMs;
        QObject::connect(&step, &QTimer::timeout, &window, [&] {
            if (clock.elapsed() < movingMs) {
                bar->setValue(std::min(99, bar->value() + 1));
                lastMoveMs = clock.elapsed();
                return;
            }
            step.stop();
            if (!row.stalls)
                window.close();
        });
        window.show();
        app.exec();
        if (row.stalls) {
            EXPECT_EQ(exportReport().outcome, ExportOutcome::TimedOut) << exportReport().detail;
            EXPECT_GE(clock.elapsed(), lastMoveMs + stallMs) << "given up only after the stall time";
            EXPECT_NE(exportReport().detail.find("the export made no progress for 1 s"), std::string::npos)
                << exportReport().detail;
            EXPECT_NE(exportReport().detail.find("the progress bar stood at " + std::to_string(bar->value())
                                                 + " of 0-100"),
                      std::string::npos)
                << exportReport().detail;
        } else {
            EXPECT_EQ(exportReport().outcome, ExportOutcome::Exported) << exportReport().detail;
            EXPECT_GE(clock.elapsed(), movingMs);
            EXPECT_FALSE(window.isVisible());
        }
    }
}

// A step that never returns holds the thread the plug-in steps on, and with
// it everything the driver does there: the watchdog, on a thread of its own,
// ends the run with its message and the export's exit code.
TEST(ExportAutomationDeathTest, TheWatchdogEndsARunHeldInAStep)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::dup2(STDERR_FILENO, STDOUT_FILENO); // where the death test reads
            armExportAutomation(request(0, 100, /*stallMilliseconds=*/1000));
            QApplication app(g_argc, g_argv);
            FakeMainWindow window(true);
            auto* bar = new QProgressBar(window.centralWidget());
            bar->setObjectName(QStringLiteral("progressBar"));
            window.button->disconnect();
            QObject::connect(window.button, &QToolButton::clicked, &window, [&window, bar](bool checked) {
                if (!checked)
                    return;
                bar->setRange(0, 100);
                bar->setValue(7);
                // The next step is held far longer than the stall time.
                QTimer::singleShot(300, &window, [] { std::this_thread::sleep_for(std::chrono::seconds(20)); });
            });
            window.show();
            app.exec();
            std::exit(0);
        },
        testing::ExitedWithCode(8),
        "error: the export made no progress for 1 s \\(the progress bar stood at 7 of 0-100\\); the plug-in's "
        "application does not answer: ending the run");
}

TEST(ExportAutomation, StallTimesAreNamedInSeconds)
{
    EXPECT_EQ(stallTimeText(600000), "600 s");
    EXPECT_EQ(stallTimeText(1000), "1 s");
    EXPECT_EQ(stallTimeText(250), "0.25 s");
}

TEST(ExportAutomation, NoWindowIsAFailure)
{
    armExportAutomation(request(0, 1));
    QApplication app(g_argc, g_argv);
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    app.exec();
    EXPECT_EQ(exportReport().outcome, ExportOutcome::NoWindow);
    EXPECT_TRUE(exportFailed(exportReport().outcome));
}

TEST(ExportAutomation, OnlyTheNextApplicationIsDriven)
{
    // Armed once, the driver serves one application; a later one is left alone.
    {
        armExportAutomation(request(0, 1));
        QApplication app(g_argc, g_argv);
        FakeMainWindow window(false);
        window.show();
        app.exec();
        EXPECT_EQ(exportReport().outcome, ExportOutcome::ControlsMissing);
    }
    QApplication app(g_argc, g_argv);
    FakeMainWindow window(false);
    window.show();
    QTimer::singleShot(300, &app, [] { QCoreApplication::exit(0); });
    app.exec();
    EXPECT_TRUE(window.isVisible());
}

TEST(ExportAutomation, AnExportThePlugInEndsUnfinishedFailsAtOnce)
{
    // Rows: the plug-in starts the export, then later unchecks Export and
    // keeps its window open, with or without a message (nothing to export,
    // some layers not written).
    struct Row {
        const char* message;
        int uncheckAfterMs;
    };
    for (const Row row : {Row{"There are no bodies to export.", 0}, Row{"Some layers could not be keyframed.", 300},
                          Row{nullptr, 100}}) {
        armExportAutomation(request(0, 10, /*stallMilliseconds=*/20000));
        QApplication app(g_argc, g_argv);
        FakeMainWindow window(true);
        window.button->disconnect();
        QObject::connect(window.button, &QToolButton::clicked, &window, [&window, row](bool checked) {
            if (!checked)
                return;
            QTimer::singleShot(row.uncheckAfterMs, &window, [&window, row] {
                window.button->setChecked(false);
                if (row.message)
                    QMessageBox::information(&window, QStringLiteral("Zolvar"), QString::fromUtf8(row.message));
            });
        });
        window.show();
        QElapsedTimer clock;
        clock.start();
        app.exec();
        EXPECT_LT(clock.elapsed(), 10000) << "ended long before the watchdog";
        EXPECT_EQ(exportReport().outcome, ExportOutcome::Failed) << exportReport().detail;
        EXPECT_TRUE(exportFailed(exportReport().outcome));
        if (row.message) {
            EXPECT_NE(exportReport().detail.find(row.message), std::string::npos) << exportReport().detail;
        }
        EXPECT_FALSE(window.isVisible());
    }
}

TEST(ExportAutomation, AnExportIsJudgedByHowItEndedAlsoWhenTheWindowThenCloses)
{
    for (const auto& [failing, cancelling] :
         {std::pair(false, false), std::pair(true, false), std::pair(false, true)}) {
        armExportAutomation(request(0, 10));
        QApplication app(g_argc, g_argv);
        WritingWindow window(failing, cancelling);
        window.show();
        app.exec();
        EXPECT_EQ(exportReport().outcome, failing || cancelling ? ExportOutcome::Failed : ExportOutcome::Exported)
            << failing << cancelling << exportReport().detail;
        EXPECT_EQ(exportReport().detail.find("9 of 10 layers were written.") != std::string::npos, failing);
    }
}
