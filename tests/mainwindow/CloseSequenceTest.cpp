// Every way out of the window runs the close sequence once: the autosave
// path and the two choices are stored, the layout is saved, an export in
// progress is cancelled, and the command's event loop returns.
#include "WindowFixture.h"

#include "host/StartupQueries.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

using namespace window_test;

// What a run of the command showed.
struct CommandRun
{
    A_Err result = A_Err_NONE;
    bool sawWindow = false;
    bool timedOut = false;
    QPointer<ZolvarDlg> window;
    QStringList messages;  // the texts of the message boxes answered
};

ZolvarDlg* visibleMainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("ZolvarDlgClass") && w->isVisible())
            return qobject_cast<ZolvarDlg*>(w);
    return nullptr;
}

// Runs the menu command; once the window is up, `leave` takes the way out.
CommandRun runCommand(Host& host, const std::function<void(ZolvarDlg&)>& leave)
{
    CommandRun run;
    auto* clock = new QElapsedTimer;
    clock->start();
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [&run, &leave, timer, clock] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            run.messages << box->text();
            box->accept();
        } else if (ZolvarDlg* window = visibleMainWindow(); window && !run.sawWindow) {
            run.sawWindow = true;
            run.window = window;
            leave(*window);
        } else if (clock->elapsed() > 15000) {
            run.timedOut = true;
            QCoreApplication::exit(1);
        }
    });
    timer->start(20);
    bool handled = false;
    run.result = host.session->runCommand(host.command(), &handled);
    delete timer;
    delete clock;
    return run;
}

class CloseSequence : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearLayoutStore();
        host = makeHost();
    }

    std::optional<std::string> stored(const char* key) const { return host->session->prefs().value(kSection, key); }
    size_t calls(const std::string& function, const std::string& key) const
    {
        size_t n = 0;
        for (const auto& record : host->session->log().calls(function))
            n += record.arguments.find('"' + key + '"') != std::string::npos;
        return n;
    }

    // The sequence ran exactly once in the last run.
    void ranOnce(const CommandRun& run)
    {
        EXPECT_FALSE(run.timedOut) << "the event loop returned";
        EXPECT_TRUE(run.sawWindow);
        EXPECT_TRUE(run.window.isNull()) << "the window is gone when the command returns";
        EXPECT_EQ(run.result, A_Err_NONE);
        // Stored once, or not at all when it was stored already.
        EXPECT_LE(calls("AEGP_SetString", "Auto Saved Settings File"), 1u);
        EXPECT_EQ(calls("AEGP_SetLong", "Auto Load/Save Settings"), 1u);
        EXPECT_EQ(calls("AEGP_SetLong", "Body Identification"), 1u);
        EXPECT_EQ(stored("Auto Saved Settings File"), (isolatedHome() + "/.zolvar_autosave.xml").toStdString());
        QSettings store = layoutStore();
        EXPECT_TRUE(store.contains("zolvarDlgGeometry"));
        EXPECT_TRUE(store.contains("zolvarDlgWindowState"));
    }

    std::unique_ptr<Host> host;
};

TEST_F(CloseSequence, QuitFromTheMenu)
{
    host->session->prefs().set(kSection, "Body Identification", "2");
    host->session->log().clear();
    const CommandRun run = runCommand(*host, [](ZolvarDlg& w) { w.form().onQuitZolvar->trigger(); });
    ranOnce(run);
    EXPECT_EQ(calls("AEGP_SetString", "Auto Saved Settings File"), 1u);
    EXPECT_EQ(stored(kAutoLoadSaveKey), "0") << "unchecked";
    EXPECT_EQ(stored("Body Identification"), "2") << "the value read at start";
}

// Clicked while a message box is open, which keeps no count of its answer:
// the close waits until the box is gone.
TEST_F(CloseSequence, TheWindowsCloseButton)
{
    host->session->log().clear();
    const CommandRun run = runCommand(*host, [](ZolvarDlg& w) {
        w.form().onAutoLoadSave->setChecked(true);
        QTimer::singleShot(0, &w, [&w] {
            QTimer::singleShot(0, &w, [&w] {  // in the box's loop
                w.close();
                EXPECT_TRUE(w.isVisible()) << "the window waits while the box is open";
            });
            QMessageBox::information(&w, QStringLiteral("Zolvar"), QStringLiteral("Open"));
        });
    });
    ranOnce(run);
    EXPECT_EQ(stored(kAutoLoadSaveKey), "1");
    EXPECT_EQ(run.messages, QStringList{QStringLiteral("Open")});
}

TEST_F(CloseSequence, TheViewsQuitAfterAnExportAndASecondRequest)
{
    host->session->log().clear();
    const CommandRun run = runCommand(*host, [](ZolvarDlg& w) {
        w.closeZolvarDlg();
        EXPECT_TRUE(w.isClosing());
        w.closeZolvarDlg();
        for (QMenu* menu : {w.form().menuZolvar, w.form().menuFile, w.form().menuEdit, w.form().menuPanel,
                            w.form().menuHelp})
            EXPECT_FALSE(menu->isVisible());
    });
    ranOnce(run);
}

TEST_F(CloseSequence, AnExportInProgressIsCancelledFirst)
{
    host->session->log().clear();
    bool exportUnchecked = false;
    int progress = -1;
    const CommandRun run = runCommand(*host, [&](ZolvarDlg& w) {
        w.form().exportBtn->setChecked(true);
        w.form().progressBar->setRange(10, 40);
        w.form().progressBar->setValue(25);
        w.form().onQuitZolvar->trigger();
        exportUnchecked = !w.form().exportBtn->isChecked();
        progress = w.form().progressBar->value();
    });
    ranOnce(run);
    EXPECT_TRUE(exportUnchecked);
    EXPECT_LT(progress, 10) << "no progress shown (0 lies outside the export range)";
}

TEST_F(CloseSequence, AHostFailureWhileStoringStillClosesAndSavesTheLayout)
{
    host->session->log().clear();
    host->session->faults().failEvery(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 14);
    // Posted: the poll that answers the message must not be the one waiting.
    const CommandRun run = runCommand(*host, [](ZolvarDlg& w) {
        QTimer::singleShot(0, &w, [&w] { w.form().onQuitZolvar->trigger(); });
    });
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.window.isNull());
    EXPECT_EQ(calls("AEGP_SetLong", "Auto Load/Save Settings"), 1u);
    EXPECT_EQ(calls("AEGP_SetLong", "Body Identification"), 0u) << "skipped after the failure";
    EXPECT_TRUE(layoutStore().contains("zolvarDlgWindowState"));
    // Told once, with what was not stored.
    ASSERT_EQ(run.messages.size(), 1) << run.messages.join("\n---\n").toStdString();
    EXPECT_TRUE(run.messages[0].contains(
        QStringLiteral("Not stored: \"Auto Load/Save Settings\", \"Body Identification\".")))
        << run.messages[0].toStdString();
}

// A host that takes no preference: one message at the close, and none
// about the file's name when that name was stored already.
TEST_F(CloseSequence, AHostRefusingEveryWriteIsToldOnce)
{
    for (const bool nameStored : {true, false}) {
        SCOPED_TRACE(nameStored);
        host.reset();
        host = makeHost();
        if (nameStored)
            host->session->prefs().set(kSection, "Auto Saved Settings File",
                                       (isolatedHome() + "/.zolvar_autosave.xml").toStdString());
        host->session->faults().failEvery(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 13);
        host->session->faults().failEvery(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 14);
        const CommandRun run = runCommand(*host, [](ZolvarDlg& w) {
            QTimer::singleShot(0, &w, [&w] { w.form().onQuitZolvar->trigger(); });
        });
        EXPECT_TRUE(run.window.isNull());
        ASSERT_EQ(run.messages.size(), 1) << run.messages.join("\n---\n").toStdString();
        EXPECT_EQ(run.messages[0].contains(QStringLiteral("Auto Saved Settings File")), !nameStored)
            << run.messages[0].toStdString();
        EXPECT_TRUE(run.messages[0].contains(QStringLiteral("The next start uses the choices stored before.")));
    }
}

TEST_F(CloseSequence, ASuiteMissingAtCloseIsReportedAndTheWindowStillCloses)
{
    const CommandRun run = runCommand(*host, [this](ZolvarDlg& w) {
        host->session->registry().withhold(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3);
        QTimer::singleShot(0, &w, [&w] { w.form().onQuitZolvar->trigger(); });
    });
    host->session->registry().withhold(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, false);
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.window.isNull());
    EXPECT_FALSE(run.messages.isEmpty());
    for (const QString& text : run.messages)
        EXPECT_TRUE(text.contains(QStringLiteral("516"))) << text.toStdString();
    EXPECT_TRUE(layoutStore().contains("zolvarDlgWindowState")) << "the layout is saved all the same";
}

TEST_F(CloseSequence, EachRunReturnsOnceAndTheNextRunReopens)
{
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        host->session->log().clear();
        ranOnce(runCommand(*host, [](ZolvarDlg& w) { w.form().onQuitZolvar->trigger(); }));
    }
}

} // namespace
