// Under a display: the command opens the main window for the active
// composition and gives control back to the host when the window closes.
#include "StandinFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "dialogs/PreferencesStore.h"
#include "host/StartupQueries.h"
#include "simulation/SimulationView.h"
#include "mainwindow/WindowSettingsStore.h"
#include "mainwindow/ZolvarDlg.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using testing_standin::Host;

const QByteArray kProject = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
                      "layers": [{"type": "solid", "name": "Box", "source": "Red"}]}],
    "activeItem": "Main"
})";
// The box of kProject as two squares, which the start offers to separate.
const QByteArray kTwoMasks = R"("source": "Red", "masks": [
    {"shape": {"closed": true, "vertices": [[0, 0], [40, 0], [40, 40], [0, 40]]}},
    {"shape": {"closed": true, "vertices": [[60, 0], [100, 0], [100, 40], [60, 40]]}}]})";

// What the user would have seen during one run of the command.
struct Seen {
    QString title;
    bool applicationModal = false;
    bool autoLoadChecked = false;
    QStringList messages; // "title: text" of each message box
    QPointer<QWidget> window;
    bool timedOut = false;
};
Seen seen;
// Run inside the event loop, on the window, before it is closed.
void (*whileOpen)(ZolvarDlg&) = nullptr;
// Run when the main window is shown, before the command reads anything more.
std::function<void()> whenShown;
// Run on a dialog the start shows before its window, which it answers.
std::function<void(QDialog&)> whileStarting;
// The host quits at the first dialog, answered at the next look.
bool quitAtDialog = false;

// Calls whenShown at the main window's show event.
class ShowWatcher : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("ZolvarDlgClass") && whenShown)
            whenShown();
        return false;
    }
};

ZolvarDlg* visibleMainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("ZolvarDlgClass") && w->isVisible())
            return qobject_cast<ZolvarDlg*>(w);
    return nullptr;
}

// Watches the running application as a user would: answers message boxes,
// notes the main window and closes it. It goes with the run it watched.
QPointer<QTimer> watcher;
void watchAndClose()
{
    static ShowWatcher* showWatcher = nullptr;
    if (!showWatcher) {
        showWatcher = new ShowWatcher;
        qApp->installEventFilter(showWatcher);
    }
    auto* timer = new QTimer(qApp);
    watcher = timer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock] {
        if (quitAtDialog && QApplication::activeModalWidget()) {
            quitAtDialog = false;
            return QCoreApplication::quit();
        }
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen.messages << box->windowTitle() + QStringLiteral(": ") + box->text();
            box->accept();
            return;
        }
        ZolvarDlg* window = visibleMainWindow();
        if (auto* offer = qobject_cast<QDialog*>(QApplication::activeModalWidget()); offer && !window && whileStarting)
            return whileStarting(*offer);
        if (window && !seen.window) {
            seen.window = window;
            seen.title = window->windowTitle();
            seen.applicationModal = window->windowModality() == Qt::ApplicationModal;
            seen.autoLoadChecked = window->autoLoadSaveAction()->isChecked();
            if (whileOpen)
                whileOpen(*window);
            return; // close on the next tick, after what whileOpen queued
        }
        if (window) {
            window->close();
        } else if (clock->elapsed() > 15000) {
            seen.timedOut = true;
            QCoreApplication::exit(1);
        } else {
            return;
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start(20);
}

// The window keeps its layout in the settings store and autosaves into the
// home folder: both go to a temporary folder of the test program.
void isolateHome()
{
    // Removed with the program's statics, at exit.
    static QTemporaryDir home;
    static const bool set = [] {
        qputenv("HOME", home.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/.config"));
        return true;
    }();
    (void)set;
}

// Runs the command once, the window being watched and closed.
A_Err runWatched(Host& host, bool* handled)
{
    isolateHome();
    seen = Seen();
    static bool preRoutineAdded = false;
    if (QCoreApplication::instance()) {
        watchAndClose();
    } else if (!preRoutineAdded) {
        preRoutineAdded = true;
        qAddPreRoutine(watchAndClose); // runs when the plug-in creates its application
    }
    const A_Err err = host.session->runCommand(host.command(), handled);
    delete watcher;
    return err;
}

TEST(CommandGui, OpensTheWindowAndReturnsWhenItClosesTwice)
{
    Host host(kProject);
    QCoreApplication* firstApplication = nullptr;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        bool handled = false;
        EXPECT_EQ(runWatched(host, &handled), A_Err_NONE);
        EXPECT_TRUE(handled);
        EXPECT_FALSE(seen.timedOut);
        EXPECT_EQ(seen.title, QStringLiteral("Zolvar - shot.final - Main"));
        EXPECT_TRUE(seen.applicationModal);
        EXPECT_FALSE(seen.autoLoadChecked);
        EXPECT_TRUE(seen.messages.isEmpty()) << seen.messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(seen.window.isNull()) << "the window is deleted when the loop returns";
        EXPECT_TRUE(host.session->lastCommandLeaks().none()) << host.session->lastCommandLeaks().describe();

        ASSERT_NE(QCoreApplication::instance(), nullptr);
        if (run == 0)
            firstApplication = QCoreApplication::instance();
        EXPECT_EQ(QCoreApplication::instance(), firstApplication) << "one application, reused";
    }

    // The application's look, set once when it was made.
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_PluginApplication));
    // The window's style sheet wraps the application's style; without it the
    // style itself shows.
    qApp->setStyleSheet(QString());
    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion")) << "plastique is no more";
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(181, 213, 255, 255));
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("Lucida Grande"));
    EXPECT_EQ(QApplication::font().pointSize(), 11);
}

TEST(CommandGui, StoredAutoLoadChecksTheAction)
{
    Host host(kProject);
    host.session->prefs().set(kPrefsSection, kAutoLoadSaveKey, "1");
    host.session->prefs().set(kPrefsSection, kAutoSavedFileKey, "/nowhere/.zolvar_autosave.xml");
    bool handled = false;
    EXPECT_EQ(runWatched(host, &handled), A_Err_NONE);
    EXPECT_TRUE(seen.autoLoadChecked);
}

// The host closes the window while the start's own message is open: the
// close waits for the answer, then the window closes, once the event loop
// runs (the message ran its loop as deep as the window's own).
TEST(CommandGui, AHostCloseDuringTheStartsMessageClosesOnceItIsAnswered)
{
    Host host(kProject);
    host.session->prefs().set(kPrefsSection, kAutoLoadSaveKey, "1");
    host.session->prefs().set(kPrefsSection, kAutoSavedFileKey, "/nowhere/.zolvar_autosave.xml");
    static bool closedOverMessage;
    closedOverMessage = false;
    // Its timers go with it, before the next test runs.
    static QObject* run;
    QObject thisRun;
    run = &thisRun;
    whenShown = [] {
        QTimer::singleShot(0, run, [] {
            closedOverMessage = QApplication::activeModalWidget() != nullptr;
            if (ZolvarDlg* window = visibleMainWindow())
                window->close();
        });
        QTimer::singleShot(5000, run, [] {
            seen.timedOut = visibleMainWindow() != nullptr;
            if (seen.timedOut)
                QCoreApplication::exit(1);
        });
    };
    bool handled = false;
    EXPECT_EQ(runWatched(host, &handled), A_Err_NONE);
    whenShown = nullptr;
    EXPECT_TRUE(closedOverMessage);
    EXPECT_FALSE(seen.timedOut) << "the window stayed after the message was answered";
}

// The host's quit at a dialog of the start (a settings file refused, the offer, a layer too large) waits for the
// answer; then the window goes before a look finds it. One not shown yet is never shown, nor its layout stored.
TEST(CommandGui, TheHostsQuitAtTheStartsDialogsClosesTheWindowOnceItIsAnswered)
{
    const QByteArray box = R"("source": "Red"})";
    isolateHome();
    QSettings store("Varnholt", windowSettingsApplicationName());
    const std::pair<QByteArray, QString> starts[] = {
        {box, QStringLiteral("cannot be found or its format is not supported")},
        {kTwoMasks, QString()},
        {R"("source": "Red", "transform": {"scale": [1e30, 100]}})", QStringLiteral("too large to be represented")}};
    for (const auto& [layer, told] : starts) {
        Host host(QByteArray(kProject).replace(box, layer));
        host.session->prefs().set(kPrefsSection, kAutoLoadSaveKey, layer == box ? "1" : "0");
        host.session->prefs().set(kPrefsSection, kAutoSavedFileKey, "/nowhere/.zolvar_autosave.xml");
        quitAtDialog = true;
        whileStarting = [](QDialog& offer) { offer.reject(); };
        bool shown = false;
        whenShown = [&shown] { shown = true; };
        const QVariant layout = store.value("zolvarDlgWindowState");
        bool handled = false;
        EXPECT_EQ(runWatched(host, &handled), A_Err_NONE);
        whileStarting = nullptr;
        whenShown = nullptr;
        EXPECT_FALSE(quitAtDialog || seen.timedOut);
        EXPECT_TRUE(told.isEmpty() ? seen.messages.isEmpty() : seen.messages.join(QString()).contains(told));
        EXPECT_EQ(seen.title, QString()) << "the window stayed after the answer: " << told.toStdString();
        EXPECT_EQ(shown, layer == box);
        EXPECT_TRUE(layer == box || store.value("zolvarDlgWindowState") == layout) << "the layout stored changed";
    }
}

// Preferences that do not keep the autosave's name (set afresh before every
// start, as on a render farm) and an autosave file the load refuses: every
// session starts from what the one before saved, beside the refused file in
// one numbered file, and the refused file stays as it was.
TEST(CommandGui, EachSessionStartsFromTheLastOneBesideARefusedAutosave)
{
    isolateHome();
    QTemporaryDir home;
    static QTimer* answerer = nullptr;
    struct Restore {
        QByteArray home = qgetenv("HOME");
        ~Restore()
        {
            qputenv("HOME", home);
            whileOpen = nullptr;
            delete answerer;
            answerer = nullptr;
        }
    } restore;
    qputenv("HOME", home.path().toLocal8Bit());
    const QString original = home.filePath(QStringLiteral(".zolvar_autosave.xml"));
    const QByteArray refused = "<ZolvarSettings><bodies/></ZolvarSettings>\n";
    {
        QFile file(original);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(refused);
    }
    static float startedWith;
    static float session;
    whileOpen = [](ZolvarDlg& window) {
        // The close's message comes up inside the watcher's own tick.
        if (!answerer) {
            answerer = new QTimer(qApp);
            QObject::connect(answerer, &QTimer::timeout, [] {
                auto* closing = qobject_cast<ZolvarDlg*>(seen.window.data());
                if (!closing || !closing->isClosing())
                    return;
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    seen.messages << box->windowTitle() + QStringLiteral(": ") + box->text();
                    box->accept();
                }
            });
            answerer->start(20);
        }
        startedWith = window.simulationView()->bodies.at(0).friction;
        window.simulationView()->bodies.at(0).friction = session;
    };
    float saved = -1.0f;
    for (int n = 1; n <= 30; ++n) {
        SCOPED_TRACE(n);
        Host host(kProject);
        host.session->prefs().set(kPrefsSection, kAutoLoadSaveKey, "1");
        host.session->prefs().set(kPrefsSection, kAutoSavedFileKey, original.toStdString());
        host.session->prefs().set(kPrefsSection, kAutoLoadBodyIdKey, "2");
        session = 0.01f * float(n);
        bool handled = false;
        EXPECT_EQ(runWatched(host, &handled), A_Err_NONE);
        ASSERT_FALSE(seen.timedOut);
        if (n > 1) {
            EXPECT_FLOAT_EQ(startedWith, saved);
        }
        saved = session;
        // Told at the start where the settings come from, or at the first
        // close, after the refusal, where they went.
        ASSERT_EQ(seen.messages.size(), n > 1 ? 1 : 2) << seen.messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(seen.messages.last().contains(QStringLiteral(".zolvar_autosave.1.xml")))
            << seen.messages.last().toStdString();
    }

    const QStringList files = QDir(home.path()).entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(files, QStringList({QStringLiteral(".zolvar_autosave.1.xml"), QStringLiteral(".zolvar_autosave.xml")}));
    QFile file(original);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), refused);
}

TEST(CommandGui, AMissingSuiteAfterTheWindowOpenedIsReportedOnce)
{
    Host host(kProject);
    // The window itself reads its preferences: the suite goes once it is built.
    whenShown = [&host] {
        host.session->registry().withhold(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3);
    };
    // Back for the close, which stores its choices through it.
    static Host* current = nullptr;
    current = &host;
    whileOpen = [](ZolvarDlg&) {
        current->session->registry().withhold(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, false);
    };
    bool handled = false;
    EXPECT_EQ(runWatched(host, &handled), kMissingSuiteError);
    whenShown = nullptr;
    whileOpen = nullptr;
    EXPECT_FALSE(seen.timedOut);
    EXPECT_EQ(seen.title, QStringLiteral("Zolvar - shot.final - Main")) << "the window still opened";
    ASSERT_EQ(seen.messages.size(), 1);
    EXPECT_TRUE(seen.messages[0].startsWith(QStringLiteral("Zolvar: "))) << seen.messages[0].toStdString();
    EXPECT_TRUE(seen.messages[0].contains(QStringLiteral("516")));
}

TEST(CommandGui, AFailureInsideTheEventLoopIsCaughtAndReportedOnce)
{
    Host host(kProject);
    whileOpen = [](ZolvarDlg& window) {
        // Two host calls failing in a row, the way a frame timer would.
        QTimer::singleShot(0, &window, [] { throw int(kMissingSuiteError); });
        QTimer::singleShot(0, &window, [] { throw int(kMissingSuiteError); });
    };
    bool handled = false;
    EXPECT_EQ(runWatched(host, &handled), A_Err_NONE) << "the window stayed usable and closed normally";
    whileOpen = nullptr;
    EXPECT_FALSE(seen.timedOut);
    EXPECT_EQ(seen.messages.size(), 1) << seen.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(seen.window.isNull());
}

// The command picked again while the start's offer is the only window says so; once the window shows, that it is
// open.
TEST(CommandGui, TheCommandAgainDuringTheStartsOfferNamesTheOffer)
{
    Host host(QByteArray(kProject).replace(R"("source": "Red"})", kTwoMasks));
    bool handled = false;
    whileStarting = [&](QDialog& offer) {
        EXPECT_EQ(host.session->runCommand(host.command(), &handled), A_Err_NONE);
        offer.reject();
    };
    whenShown = [&] { host.session->runCommand(host.command(), &handled); };
    EXPECT_EQ(runWatched(host, &handled), A_Err_NONE);
    whileStarting = nullptr;
    whenShown = nullptr;
    ASSERT_EQ(host.session->reports().size(), 2u);
    EXPECT_NE(host.session->reports()[0].find("starting, and its dialog \"Zolvar - Shapes Separation\" is open; its "
                                              "window is not shown yet."), std::string::npos);
    EXPECT_NE(host.session->reports()[1].find("its window is open"), std::string::npos) << host.session->reports()[1];
}

} // namespace
