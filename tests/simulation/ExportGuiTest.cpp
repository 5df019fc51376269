// The main job end to end, as a user runs it: the host's command opens the
// window, the user sets the range and checks Export, the keys are written
// one layer per turn of the event loop inside one "Zolvar" undo group, the
// window closes and the command returns. Also: the export cancelled, or the
// window closed, while the keys are written, and the view as the window
// builds it. Each test
// leaves no window behind, also when its script timed out.
#include "host/StandinFixture.h"

#include "mainwindow/ZolvarDlg.h"
#include "mainwindow/ZolvarDlgForm.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "render/GLWidget.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QWindow>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

using standin::TransformStream;
using testing_standin::Host;

QByteArray project(int layers, int seconds = 4)
{
    QStringList list;
    for (int i = 0; i < layers; ++i)
        list << QStringLiteral(R"({"id": %1, "type": "solid", "source": 1, "name": "Box %1",
                                   "transform": {"position": [%2, 100]}})")
                    .arg(i + 1)
                    .arg(60 + 60 * i);
    return QStringLiteral(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "Box", "kind": "solid", "width": 40, "height": 40}],
        "compositions": [{"id": 10, "name": "Main", "width": 2000, "height": 1000, "frameRate": 25,
                          "duration": %2, "layers": [%1]}]})")
        .arg(list.join(QLatin1Char(',')))
        .arg(seconds)
        .toUtf8();
}

// What the user does while the window is open, step by step; each step runs
// once, on a later poll than the previous one. A step that returns false is
// tried again on the next poll.
struct Script {
    std::vector<std::function<bool(ZolvarDlg&)>> steps;
    size_t next = 0;
    QStringList messages;
    bool timedOut = false;
    bool windowSeen = false;
    QPointer<QTimer> driver;
};
Script script;

// Polls of 20 ms before a script counts as timed out, then polls for its
// windows to close.
constexpr int kPollsBeforeTimeout = 1500;
constexpr int kPollsToClose = 250;

ZolvarDlg* visibleWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("ZolvarDlgClass") && w->isVisible())
            return qobject_cast<ZolvarDlg*>(w);
    return nullptr;
}

// The windows that are open, by name.
QStringList openWindows()
{
    QStringList open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            open << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    return open;
}

// Closes every open window the way the user would: dialogs and message
// boxes are rejected, windows closed.
void closeWindows()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else
            w->close();
    }
}

void drive()
{
    auto* timer = new QTimer(qApp);
    script.driver = timer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, polls] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            script.messages << box->text();
            box->accept();
            return;
        }
        ZolvarDlg* window = visibleWindow();
        if (window)
            script.windowSeen = true;
        const bool done = script.windowSeen && !window;
        ++*polls;
        if (!done && *polls < kPollsBeforeTimeout) {
            if (window && script.next < script.steps.size() && script.steps[script.next](*window))
                ++script.next;
            return;
        }
        if (!done) {
            // Timed out: the windows are closed, so that the command returns
            // its own way and leaves nothing open; the event loops are ended
            // only when that does not end it.
            script.timedOut = true;
            if (*polls < kPollsBeforeTimeout + kPollsToClose) {
                closeWindows();
                return;
            }
            QCoreApplication::exit(1);
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start(20);
}

// Runs the plug-in's command with the script driving the window.
A_Err runScript(Host& host)
{
    static bool routineAdded = false;
    script.next = 0;
    script.messages.clear();
    script.timedOut = false;
    script.windowSeen = false;
    if (QCoreApplication::instance()) {
        drive();
    } else if (!routineAdded) {
        routineAdded = true;
        static QTemporaryDir home;
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/.config"));
        qAddPreRoutine(drive);
    }
    bool handled = false;
    const A_Err err = host.session->runCommand(host.command(), &handled);
    EXPECT_TRUE(handled);
    return err;
}

template <class T>
T* control(ZolvarDlg& window, const char* name)
{
    return window.findChild<T*>(QLatin1String(name));
}

// Sets the options and the range as typed and clicks Export.
std::function<bool(ZolvarDlg&)> exportFrames(int start, int end, bool newComp = false, bool motionBlur = false)
{
    return [start, end, newComp, motionBlur](ZolvarDlg& window) {
        if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != &window)
            return false;
        control<QCheckBox>(window, "applyToNewCompCb")->setChecked(newComp);
        control<QCheckBox>(window, "enableMotionBlurCb")->setChecked(motionBlur);
        auto* first = control<QSpinBox>(window, "startFrameEt");
        auto* last = control<QSpinBox>(window, "endFrameEt");
        first->setValue(start);
        emit first->editingFinished();
        last->setValue(end);
        emit last->editingFinished();
        // Posted: a message box the click may open must not block the poll.
        QTimer::singleShot(0, control<QAbstractButton>(window, "exportBtn"), &QAbstractButton::click);
        return true;
    };
}

const standin::UndoGroupRecord* group(Host& host, const std::string& name)
{
    for (const standin::UndoGroupRecord& g : host.session->undoGroups())
        if (g.name == name)
            return &g;
    return nullptr;
}

standin::Composition* mainComp(Host& host)
{
    return host.project->compositionByName(QStringLiteral("Main"));
}

} // namespace

// Each test ends with nothing of it left, whatever happened in it (a script
// that timed out, a window that did not close): what is still open is told
// as this test's failure, not the next one's, and goes without running
// anything of its own (no close sequence, no message).
class ExportGui : public ::testing::Test
{
protected:
    void TearDown() override
    {
        delete script.driver;
        const QStringList left = openWindows();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            w->hide();
            if (qobject_cast<QDialog*>(w) || qobject_cast<ZolvarDlg*>(w))
                w->deleteLater();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        script = Script{};
        EXPECT_TRUE(left.isEmpty()) << "left open: " << left.join(QStringLiteral(", ")).toStdString();
    }
};

TEST_F(ExportGui, ExportWritesTheKeysClosesTheWindowAndReturns)
{
    Host host(project(3));
    script.steps = {exportFrames(5, 20)};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    EXPECT_TRUE(script.messages.isEmpty()) << script.messages.join('\n').toStdString();

    for (int layer = 0; layer < 3; ++layer) {
        const standin::PropertyNode* position =
            mainComp(host)->layer(layer)->transformStream(TransformStream::Position);
        ASSERT_EQ(position->keyCount(), 16) << layer;
        EXPECT_EQ(position->key(0)->time.value * 25, 5 * int(position->key(0)->time.scale));
        EXPECT_GT(position->key(15)->value.y(), position->key(0)->value.y()) << "it fell";
    }
    const standin::UndoGroupRecord* zolvar = group(host, "Zolvar");
    ASSERT_NE(zolvar, nullptr);
    EXPECT_FALSE(zolvar->closedByHost);
    int groups = 0;
    for (const standin::UndoGroupRecord& g : host.session->undoGroups())
        groups += g.name == "Zolvar";
    EXPECT_EQ(groups, 1);
    EXPECT_TRUE(host.session->ungroupedMutations().empty());
    EXPECT_EQ(mainComp(host)->workAreaStart().value * 25, 5 * int(mainComp(host)->workAreaStart().scale));
}

TEST_F(ExportGui, OptionsDuplicateTheCompositionAndSwitchMotionBlurOn)
{
    Host host(project(2));
    script.steps = {exportFrames(0, 4, true, true)};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    ASSERT_NE(group(host, "Zolvar - Duplicate Comp"), nullptr);
    const auto comps = host.project->compositions();
    ASSERT_EQ(comps.size(), 2u);
    standin::Composition* copy = comps[0] == mainComp(host) ? comps[1] : comps[0];
    EXPECT_EQ(copy->layer(0)->transformStream(TransformStream::Position)->keyCount(), 5);
    EXPECT_TRUE(copy->layer(0)->flags() & AEGP_LayerFlag_MOTION_BLUR);
    EXPECT_EQ(mainComp(host)->layer(0)->transformStream(TransformStream::Position)->keyCount(), 0);
}

// Unchecking Export while the keys are written stops after the next layer.
// A close then, by any way (the host's close, Quit, a window manager's close,
// the application's quit), waits while the export's own turns write them all
// with the event loop running, and the window closes once, by itself. A
// cancel clicked just before the close, or during its wait, stands and is
// told with the close; a second close changes nothing, and a layer that
// fails after it is told. The host's command run again meanwhile is refused,
// saying why, and the export goes on as if it had not come. Unchecked before
// the last layer, which is written all the same, the export is finished: the
// window closes with its note showing, as after any finished export.
enum Way {
    Uncheck,
    CloseButton,
    Quit,
    WindowSystem,
    ApplicationQuit,
    UncheckThenClose,
    TwiceAndALayerFails,
    CloseThenUncheckAndALayerFails,
    CommandAgain,
    UncheckBeforeTheLast
};
class ExportGuiWays : public ExportGui, public ::testing::WithParamInterface<Way> {};
INSTANTIATE_TEST_SUITE_P(Ways, ExportGuiWays,
                         ::testing::Values(Uncheck, CloseButton, Quit, WindowSystem, ApplicationQuit,
                                           UncheckThenClose, TwiceAndALayerFails, CloseThenUncheckAndALayerFails,
                                           CommandAgain, UncheckBeforeTheLast));

void closeBy(ZolvarDlg& window, Way way)
{
    if (way == Quit) {
        window.form().onQuitZolvar->trigger();
    } else if (way == WindowSystem || way == TwiceAndALayerFails || way == CloseThenUncheckAndALayerFails ||
               way == CommandAgain) {
        QCloseEvent close;
        QCoreApplication::sendEvent(window.windowHandle(), &close);
    } else if (way == ApplicationQuit) {
        QCoreApplication::quit();
    } else {
        window.close();
    }
}

TEST_P(ExportGuiWays, ExportUncheckedOrWindowClosedWhileKeysAreWritten)
{
    const Way way = GetParam();
    const int layers = way == UncheckBeforeTheLast ? 3 : 12;
    Host host(project(layers));
    static Host* running;
    running = &host;
    static int layersAtCancel = -1;
    static int answeredWhileWriting = -1;
    layersAtCancel = answeredWhileWriting = -1;
    static QString noteAtEnd;
    static bool ended;
    noteAtEnd.clear();
    ended = false;
    script.steps = {
        [way](ZolvarDlg& window) {
            // Unchecks Export, or closes, as soon as two layers are written.
            auto* progress = control<QProgressBar>(window, "progressBar");
            QObject::connect(window.simulationView(), &SimulationView::keyWritingEnded, &window,
                             [&window] {
                                 noteAtEnd = control<QLabel>(window, "exportNoteSt")->text();
                                 ended = true;
                             });
            QObject::connect(progress, &QProgressBar::valueChanged, &window, [&window, way](int value) {
                SimulationView* view = window.simulationView();
                auto* button = control<QAbstractButton>(window, "exportBtn");
                if (!view->isWritingKeys() || value != 2 || !button->isChecked())
                    return;
                layersAtCancel = value;
                // Between two layers, as a click comes.
                if (way == UncheckBeforeTheLast)
                    return QTimer::singleShot(0, button, &QAbstractButton::click);
                if (way == Uncheck || way == UncheckThenClose) {
                    button->click();
                    // Checking it again while keys are written is refused.
                    button->click();
                    EXPECT_FALSE(button->isChecked());
                }
                if (way == Uncheck)
                    return;
                // Between two layers, as a click comes.
                QTimer::singleShot(0, &window, [&window, way] {
                    if (way == TwiceAndALayerFails || way == CloseThenUncheckAndALayerFails)
                        running->session->faults().failNth(kAEGPKeyframeSuite, standin::FaultInjector::kAnyVersion,
                                                           18, 1, A_Err_PARAMETER);
                    closeBy(window, way);
                    if (way == TwiceAndALayerFails)
                        closeBy(window, Quit);
                    bool handled = false;
                    EXPECT_EQ(way == CommandAgain ? running->session->runCommand(running->command(), &handled)
                                                  : A_Err_NONE, A_Err_NONE);
                    EXPECT_EQ(handled, way == CommandAgain);
                    EXPECT_TRUE(window.isVisible()) << "the window stays while the keys are written";
                    EXPECT_TRUE(control<QLabel>(window, "closeWaitSt")->text().startsWith(
                        QStringLiteral("The window closes when the keyframes are written.")));
                    if (way == CloseThenUncheckAndALayerFails)
                        control<QAbstractButton>(window, "exportBtn")->click();
                    // Delivered while the close waits, not after it.
                    QTimer::singleShot(0, &window, [&window] {
                        answeredWhileWriting = window.simulationView()->isWritingKeys();
                    });
                });
            });
            return true;
        },
        exportFrames(0, 3),
        [way](ZolvarDlg& window) {
            // Once cancelled, the window stays open, stopped, without progress;
            // one that a close waited on has closed by itself.
            // The turn that ends the writing is done (its message answered,
            // a close that waited run), not only the writing.
            SimulationView* view = window.simulationView();
            if (layersAtCancel < 0 || !ended)
                return false;
            EXPECT_EQ(way, Uncheck) << "the writing ended and the window stayed";
            EXPECT_FALSE(view->exporting);
            EXPECT_FALSE(view->playing);
            EXPECT_EQ(control<QProgressBar>(window, "progressBar")->value(), 0);
            EXPECT_TRUE(control<QLabel>(window, "exportNoteSt")->text().isEmpty());
            window.close();
            return true;
        }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    ASSERT_EQ(layersAtCancel, 2);
    // Written from the last body: three layers, the rest untouched; or all.
    int written = 0;
    for (int layer = 0; layer < layers; ++layer)
        written += mainComp(host)->layer(layer)->transformStream(TransformStream::Position)->keyCount() > 0;
    const bool cancelled = way == Uncheck || way == UncheckThenClose || way == CloseThenUncheckAndALayerFails ||
                           way == UncheckBeforeTheLast;
    EXPECT_EQ(noteAtEnd.isEmpty(), written < layers || way == TwiceAndALayerFails) << noteAtEnd.toStdString();
    if (way == TwiceAndALayerFails)
        EXPECT_GE(written, 11);
    else if (way == CloseThenUncheckAndALayerFails)
        EXPECT_TRUE(written == 2 || written == 3) << written;
    else
        EXPECT_EQ(written, cancelled ? 3 : 12);
    EXPECT_GT(mainComp(host)->layer(layers - 1)->transformStream(TransformStream::Position)->keyCount(), 0);
    if (!cancelled)
        EXPECT_EQ(answeredWhileWriting, 1);
    const auto& groups = host.session->undoGroups();
    EXPECT_EQ(std::count_if(groups.begin(), groups.end(), [](auto& g) { return g.name == "Zolvar" && !g.closedByHost; }),
              1);
    EXPECT_EQ(host.session->log().calls("AEGP_SetLong").size(), 2u) << "the window closed once";
    EXPECT_EQ(host.session->reports().size(), way == CommandAgain ? 1u : 0u);
    EXPECT_TRUE(way != CommandAgain || host.session->reports()[0].find("already running") != std::string::npos);
    // Told: what failed, and a cancel that leaves layers unwritten while the
    // window is to close.
    const struct {
        Way way;
        const char* told[3];
    } tellings[] = {
        {UncheckThenClose, {"3 of 12 layers were written in full. The export was cancelled: 9 were not written.",
                            "The window closes now, as asked."}},
        {TwiceAndALayerFails, {"11 of 12 layers were written in full.", "Layer 10 (Box 10): error",
                               "The window closes now, as asked."}},
        {CloseThenUncheckAndALayerFails, {"2 of 12 layers were written in full. The export was cancelled: 9 were not",
                                          "Layer 10 (Box 10): error", "The window closes now, as asked."}},
    };
    const auto telling = std::find_if(std::begin(tellings), std::end(tellings), [way](auto& t) { return t.way == way; });
    if (telling == std::end(tellings)) {
        EXPECT_TRUE(script.messages.isEmpty()) << script.messages.join('\n').toStdString();
        return;
    }
    ASSERT_EQ(script.messages.size(), 1) << script.messages.join("\n---\n").toStdString();
    for (const char* told : telling->told)
        if (told)
            EXPECT_TRUE(script.messages[0].contains(QString::fromUtf8(told))) << script.messages[0].toStdString();
}

// Preferences still open when the close comes: opened while the keys are
// written and open when the last layer is, or open when the host quits. The
// window waits, saying so without moving a control, until it is answered;
// what was changed in it is kept, and then the window closes by itself.
TEST_F(ExportGui, ADialogOpenWhenTheKeysAreWrittenIsAnsweredBeforeTheWindowCloses)
{
    for (const bool hostQuits : {false, true}) {
        SCOPED_TRACE(hostQuits ? "the host's quit" : "the export's end");
        Host host(project(12));
        static bool answered;
        static QPoint render;
        answered = false;
        const auto openPreferences = [hostQuits](ZolvarDlg& window) {
            render = control<QWidget>(window, "exportBtn")->mapToGlobal(QPoint());
            if (hostQuits)
                QTimer::singleShot(0, &window, &ZolvarDlg::showPreferences);
            QObject::connect(control<QProgressBar>(window, "progressBar"), &QProgressBar::valueChanged, &window,
                             [&window](int value) {
                                 if (window.simulationView()->isWritingKeys() && value == 2)
                                     QTimer::singleShot(0, &window, &ZolvarDlg::showPreferences);
                             });
            return true;
        };
        const auto quit = [](ZolvarDlg& window) {
            // The window is application-modal itself: the quit waits for the
            // dialog above it.
            if (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == &window)
                return false;
            QCoreApplication::quit();
            return true;
        };
        script.steps = {openPreferences, hostQuits ? quit : exportFrames(0, 3), [](ZolvarDlg& window) {
                            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                            if (!dialog || window.simulationView()->isWritingKeys())
                                return false;
                            EXPECT_TRUE(window.isVisible());
                            EXPECT_EQ(control<QLabel>(window, "closeWaitSt")->text(),
                                      QStringLiteral("The window closes when the open dialog is answered. What is "
                                                     "answered with OK is kept."));
                            EXPECT_EQ(control<QWidget>(window, "exportBtn")->mapToGlobal(QPoint()), render);
                            dialog->findChild<QSpinBox*>(QStringLiteral("levelsOfUndoEt"))->setValue(42);
                            dialog->findChild<QAbstractButton*>(QStringLiteral("okBtn"))->click();
                            // Answered, but its caller has not taken the answer yet.
                            window.closeZolvarDlg();
                            EXPECT_FALSE(window.isClosing());
                            answered = true;
                            return true;
                        }};
        EXPECT_EQ(runScript(host), A_Err_NONE);
        EXPECT_FALSE(script.timedOut);
        EXPECT_TRUE(answered);
        EXPECT_EQ(host.session->prefs().value("VH Zolvar 2", "Levels of Undo"), "42");
        EXPECT_EQ(mainComp(host)->layer(0)->transformStream(TransformStream::Position)->keyCount(), hostQuits ? 0 : 4);
    }
}

// The bar follows each written layer, and the progress is shown at the limiter's pace, here every other layer (its
// clock moves a tenth of a second at each reading), also over frame ticks: the bar and the note shown are painted
// before the next layer. The first layer is written in the recording's last tick. Each reading of the clock also
// waits longer than a frame of the screen: a bar that may paint repaints at once on a new value only when the window
// was last composed that long ago, and a faster machine would hide it.
struct Painted : QObject {
    std::function<void()> paint;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint && (paint(), false); }
};

TEST_F(ExportGui, TheBarFollowsEachWrittenLayerAndIsPaintedAtTheLimitersPace)
{
    Host host(project(8));
    static QStringList seen;
    static Painted painted;
    seen.clear();
    script.steps = {[](ZolvarDlg& window) {
                        SimulationView* view = window.simulationView();
                        const int frameMs = int(1000.0 / window.screen()->refreshRate()) + 5;
                        view->limiter.setClock(
                            [now = qint64(1000), frameMs]() mutable { return QThread::msleep(frameMs), now += 100; },
                            [](double) {});
                        view->limiter.setCpuClocks([] { return 0.0; }, [] { return 0.0; });
                        auto* progress = control<QProgressBar>(window, "progressBar");
                        painted.paint = [&window, view, progress] {
                            if (view->isWritingKeys())
                                seen << QStringLiteral("painted %1 %2").arg(progress->value()).arg(
                                    control<QLabel>(window, "exportNoteSt")->text());
                        };
                        progress->installEventFilter(&painted);
                        QObject::connect(progress, &QProgressBar::valueChanged, view, [view, progress] {
                            if (view->isWritingKeys())
                                QTimer::singleShot(0, view, [view, progress] {
                                    view->updatePhysics();
                                    seen << QString::number(progress->value());
                                });
                        });
                        return true;
                    },
                    exportFrames(0, 3)};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    EXPECT_EQ(seen.join(QLatin1Char(',')).toStdString(), "1,painted 1 Keyframing...1/8,2,painted 2 Keyframing...2/8,3,4,"
                                                         "painted 4 Keyframing...4/8,5,6,painted 6 Keyframing...6/8,7");
    EXPECT_EQ(mainComp(host)->layer(0)->transformStream(TransformStream::Position)->keyCount(), 4);
}

TEST_F(ExportGui, HostRefusalsWhileKeysAreWrittenAreToldOnceAndTheGroupIsEnded)
{
    Host host(project(3).replace("Box 3", "Pile 121 p%1 q%2 r%3 %L1 %%"));
    // The first layer's keys and the work area are refused.
    host.session->faults().failNth(kAEGPKeyframeSuite, standin::FaultInjector::kAnyVersion, 18, 1, A_Err_PARAMETER);
    host.session->faults().failNth(kAEGPCompSuite, standin::FaultInjector::kAnyVersion, 15, 1, A_Err_PARAMETER);
    script.steps = {exportFrames(0, 4), [](ZolvarDlg& window) {
                        if (window.simulationView()->isWritingKeys() || script.messages.isEmpty())
                            return false;
                        // The window stays open with the export ended.
                        EXPECT_FALSE(control<QAbstractButton>(window, "exportBtn")->isChecked());
                        EXPECT_EQ(control<QProgressBar>(window, "progressBar")->value(), 0);
                        window.close();
                        return true;
                    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    ASSERT_EQ(script.messages.size(), 1) << script.messages.join("\n---\n").toStdString();
    const std::string told = script.messages[0].toStdString();
    EXPECT_NE(told.find("2 of 3 layers were written in full."), std::string::npos) << told;
    EXPECT_NE(told.find("Layer 3 (Pile 121 p%1 q%2 r%3 %L1 %%): error 3"), std::string::npos) << told;
    EXPECT_NE(told.find("work area could not be set"), std::string::npos) << told;
    const standin::UndoGroupRecord* zolvar = group(host, "Zolvar");
    ASSERT_NE(zolvar, nullptr);
    EXPECT_NE(zolvar->closeSequence, 0u);
    EXPECT_FALSE(zolvar->closedByHost);
    // The other two layers have their keys.
    EXPECT_EQ(mainComp(host)->layer(0)->transformStream(TransformStream::Position)->keyCount(), 5);
    EXPECT_EQ(mainComp(host)->layer(1)->transformStream(TransformStream::Position)->keyCount(), 5);
}

TEST_F(ExportGui, ARefusedWorkAreaIsToldAndTheWrittenExportStillCloses)
{
    Host host(project(2));
    host.session->faults().failNth(kAEGPCompSuite, standin::FaultInjector::kAnyVersion, 15, 1, A_Err_PARAMETER);
    script.steps = {exportFrames(0, 4)};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    ASSERT_EQ(script.messages.size(), 1) << script.messages.join("\n---\n").toStdString();
    const std::string told = script.messages[0].toStdString();
    EXPECT_NE(told.find("2 of 2 layers were written in full."), std::string::npos) << told;
    EXPECT_NE(told.find("work area could not be set to frames 0 to 4"), std::string::npos) << told;
    for (int layer = 0; layer < 2; ++layer)
        EXPECT_EQ(mainComp(host)->layer(layer)->transformStream(TransformStream::Position)->keyCount(), 5);
    const standin::UndoGroupRecord* zolvar = group(host, "Zolvar");
    ASSERT_NE(zolvar, nullptr);
    EXPECT_FALSE(zolvar->closedByHost);
}

TEST_F(ExportGui, TheViewAsTheWindowBuildsIt)
{
    Host host(project(2));
    script.steps = {[](ZolvarDlg& window) {
        SimulationView* view = window.simulationView();
        EXPECT_EQ(view->bodies.size(), 2u);
        EXPECT_EQ(view->bodyLayerIndices, (std::vector<int>{0, 1}));
        auto* layers = control<QComboBox>(window, "gravityLayerLst");
        EXPECT_EQ(layers->count(), 2);
        EXPECT_EQ(layers->itemText(0), QStringLiteral("1. Box 1"));
        EXPECT_EQ(control<QSpinBox>(window, "endFrameEt")->value(), 99) << "a work area of 100 frames";
        EXPECT_EQ(view->getTimer()->interval(), 40);
        EXPECT_EQ(control<QLabel>(window, "frameSt")->text(), QStringLiteral("00000"));
        EXPECT_EQ(view->getGLWidget()->getWorld(), view->world.get());
        EXPECT_TRUE(view->sceneInitialised);
        EXPECT_FALSE(view->running);

        // Play, then repeat at the frame reached: the loop restarts there.
        auto* play = control<QAbstractButton>(window, "playBtn");
        play->click();
        EXPECT_TRUE(view->running);
        return true;
    },
    [](ZolvarDlg& window) {
        SimulationView* view = window.simulationView();
        if (view->currentFrame < 3)
            return false;
        auto* repeat = control<QAbstractButton>(window, "repeatBtn");
        repeat->click();
        EXPECT_TRUE(view->looping);
        EXPECT_GE(view->loopEndFrame, 3);
        EXPECT_TRUE(control<QLabel>(window, "toolsNoteSt")->text().startsWith(QStringLiteral("End Loop Frame: ")));
        EXPECT_FALSE(control<QAbstractButton>(window, "playBtn")->isChecked());
        EXPECT_TRUE(view->playing);
        // The restart button ends it all at frame 0.
        control<QAbstractButton>(window, "restartBtn")->click();
        EXPECT_FALSE(view->looping);
        EXPECT_FALSE(view->running);
        EXPECT_EQ(view->currentFrame, 0);
        EXPECT_FALSE(repeat->isChecked());
        // One step.
        control<QAbstractButton>(window, "stepBtn")->click();
        return true;
    },
    [](ZolvarDlg& window) {
        SimulationView* view = window.simulationView();
        if (view->currentFrame < 1)
            return false;
        EXPECT_EQ(view->currentFrame, 1);
        EXPECT_FALSE(view->running);
        window.close();
        return true;
    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
}

TEST_F(ExportGui, NothingToExportIsToldAndTheWindowStaysOpen)
{
    Host host(project(0));
    script.steps = {exportFrames(0, 3), [](ZolvarDlg& window) {
                        if (window.simulationView()->exporting || script.messages.isEmpty())
                            return false;
                        EXPECT_FALSE(control<QAbstractButton>(window, "exportBtn")->isChecked());
                        EXPECT_FALSE(window.simulationView()->isWritingKeys());
                        window.close();
                        return true;
                    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_EQ(script.messages[0], QStringLiteral("There are no bodies to export."));
    EXPECT_EQ(group(host, "Zolvar"), nullptr);
}

// Nothing can become a body: Export says so inside the click that pressed
// it, before a single frame is simulated, and is left unchecked.
TEST_F(ExportGui, NoBodiesAreToldWhenExportIsPressed)
{
    Host host(QByteArray(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"id": 10, "name": "Main", "width": 2000, "height": 1000, "frameRate": 25, "duration": 40,
                          "layers": [{"id": 1, "type": "camera", "transform": {"position": [1000, 500, -1500]}},
                                     {"id": 2, "type": "null", "name": "Control"}]}]})"));
    static int clicked;
    static QStringList toldInTheClick;
    clicked = 0;
    toldInTheClick.clear();
    script.steps = {[](ZolvarDlg& window) {
                        auto* first = control<QSpinBox>(window, "startFrameEt");
                        auto* last = control<QSpinBox>(window, "endFrameEt");
                        first->setValue(0);
                        last->setValue(900);
                        // Posted: the message box must not block the script's poll.
                        QTimer::singleShot(0, control<QAbstractButton>(window, "exportBtn"), [&window] {
                            control<QAbstractButton>(window, "exportBtn")->click();
                            toldInTheClick = script.messages;
                            ++clicked;
                        });
                        return true;
                    },
                    [](ZolvarDlg& window) {
                        if (clicked == 0)
                            return false;
                        EXPECT_EQ(toldInTheClick, QStringList{QStringLiteral("There are no bodies to export.")});
                        EXPECT_FALSE(control<QAbstractButton>(window, "exportBtn")->isChecked());
                        EXPECT_FALSE(window.simulationView()->exporting);
                        window.close();
                        return true;
                    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(script.messages.size(), 1);
    EXPECT_EQ(group(host, "Zolvar"), nullptr);
}

TEST_F(ExportGui, NoBodiesAreToldBeforeADuplicateIsMadeAndTheGroupsBalance)
{
    Host host(QByteArray(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"id": 10, "name": "Main", "width": 2000, "height": 1000, "frameRate": 25, "duration": 4,
                          "layers": [{"id": 1, "type": "camera", "transform": {"position": [1000, 500, -1500]}},
                                     {"id": 2, "type": "null", "name": "Control"}]}]})"));
    script.steps = {exportFrames(0, 10, true), [](ZolvarDlg& window) {
                        if (window.simulationView()->exporting || script.messages.isEmpty())
                            return false;
                        EXPECT_FALSE(control<QAbstractButton>(window, "exportBtn")->isChecked());
                        window.close();
                        return true;
                    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    EXPECT_EQ(script.messages, QStringList{QStringLiteral("There are no bodies to export.")});
    EXPECT_EQ(host.project->compositions().size(), 1u);
    EXPECT_EQ(group(host, "Zolvar - Duplicate Comp"), nullptr);
    for (const standin::UndoGroupRecord& g : host.session->undoGroups()) {
        EXPECT_NE(g.closeSequence, 0u) << g.name;
        EXPECT_FALSE(g.closedByHost) << g.name;
    }
}

TEST_F(ExportGui, ARangeThatCannotBeReachedIsRefusedAndExportUnchecks)
{
    Host host(project(1));
    // The click is posted: its message box must not block the script's poll.
    const auto typeAndExport = [](int start, int end, int messagesBefore) {
        return [=](ZolvarDlg& window) {
            if (script.messages.size() < messagesBefore)
                return false;
            // Typed without leaving the boxes: nothing corrects them.
            control<QSpinBox>(window, "startFrameEt")->setValue(start);
            control<QSpinBox>(window, "endFrameEt")->setValue(end);
            QTimer::singleShot(0, control<QAbstractButton>(window, "exportBtn"), &QAbstractButton::click);
            return true;
        };
    };
    script.steps = {typeAndExport(100000, 100005, 0), typeAndExport(30, 20, 1),
                    [](ZolvarDlg& window) {
                        if (script.messages.size() < 2)
                            return false;
                        EXPECT_FALSE(control<QAbstractButton>(window, "exportBtn")->isChecked());
                        EXPECT_FALSE(window.simulationView()->exporting);
                        window.close();
                        return true;
                    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    EXPECT_EQ(script.messages.join('\n').toStdString(),
              "The export range cannot start after frame 99999.\nThe export range starts after its end frame.");
    EXPECT_EQ(group(host, "Zolvar"), nullptr);
}

TEST_F(ExportGui, CancellingWhileRecordingEmptiesTheProgressBar)
{
    Host host(project(1, 4000));
    // The export records as fast as the machine allows: a long range (of a
    // composition long enough for it) is still recording when the script
    // looks again.
    script.steps = {exportFrames(5, 99999), [](ZolvarDlg& window) {
                        SimulationView* view = window.simulationView();
                        if (view->currentFrame < 8)
                            return false;
                        EXPECT_EQ(view->getTimer()->interval(), 0) << "recording ticks follow at once";
                        EXPECT_EQ(control<QProgressBar>(window, "progressBar")->value(), view->currentFrame - 1)
                            << "the bar follows every recorded frame, whatever the pace of the redraws";
                        control<QAbstractButton>(window, "exportBtn")->click();
                        EXPECT_FALSE(view->exporting);
                        EXPECT_EQ(control<QProgressBar>(window, "progressBar")->value(), 0);
                        EXPECT_TRUE(control<QLabel>(window, "exportNoteSt")->text().isEmpty());
                        window.close();
                        return true;
                    }};
    EXPECT_EQ(runScript(host), A_Err_NONE);
    EXPECT_FALSE(script.timedOut);
    EXPECT_EQ(group(host, "Zolvar"), nullptr);
}
