// The window driven from the X server's keyboard and pointer by xdotool: the
// arrow keys, the rotation and line-width keys of the main keyboard and the
// keypad, the undo and redo keys as the shortcuts card names them under each
// host version, an export range that lies past the composition's end, and a
// load or Escape while a Render records.
#include "ModalAnswer.h"
#include "RealPointer.h"
#include "WindowFixture.h"

#include "dialogs/KeyboardShortcutsDlg.h"
#include "properties/UndoView.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <cmath>

namespace {

// The stand-in's composition of 100 frames with one body, selected, in a
// shown and active window.
struct Window
{
    explicit Window(A_long hostMajor = 18)
        : host(window_test::makeHost(hostMajor, 0))
        , window(window_test::makeWindow(*host))
        , view(window->simulationView())
        , stack(view->getUndoStack())
    {
        window_test::showStill(*window);
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        view->selectBodies({0});
    }

    double degrees() const { return double(view->bodies[0].angle) * 180.0 / 3.14159265358979; }

    std::unique_ptr<window_test::Host> host;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view;
    QUndoStack* stack;
};

// The keys the card names for an action, as xdotool names them
// ("Ctrl Shift Z" becomes "ctrl+shift+z").
QString cardKeys(const char* action)
{
    for (const ShortcutItem& item : KeyboardShortcutsDlg::shortcutItems())
        if (!item.isSectionTitle && item.action == QLatin1String(action))
            return item.shortcut.toLower().replace(QLatin1Char(' '), QLatin1Char('+'));
    return QString();
}

// In the window as it opens: no control takes them first.
TEST(RealKeys, TheArrowKeysMoveOnePixelAndTenWithShift)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window w;
    const struct
    {
        const char* keys;
        b2Vec2 step;  // world units, a hundred pixels each
    } presses[] = {
        {"Left", {-0.01f, 0.0f}}, {"shift+Right", {0.1f, 0.0f}}, {"Up", {0.0f, -0.01f}}, {"shift+Down", {0.0f, 0.1f}},
    };
    for (const auto& press : presses) {
        const b2Vec2 before = w.view->bodies[0].position;
        ASSERT_TRUE(real_pointer::keys({QString::fromLatin1(press.keys)}));
        const b2Vec2 moved = w.view->bodies[0].position - before;
        EXPECT_NEAR(moved.x, press.step.x, 1e-4f) << press.keys;
        EXPECT_NEAR(moved.y, press.step.y, 1e-4f) << press.keys;
    }
}

// With the actions history holding the focus, as after a click into it.
TEST(RealKeys, PlusAndMinusTurnOneDegreeAndTenWithShiftOnBothKeyboards)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window w;
    w.window->form().actionsHistoryDockWidget->raise();
    QAbstractItemView* history = w.window->historyView();
    const QPoint below = real_pointer::reveal(history);
    ASSERT_FALSE(below.isNull()) << "the history is out of the pointer's reach";
    ASSERT_TRUE(real_pointer::xdotool(real_pointer::moveTo(below) << "click" << "1"));
    ASSERT_TRUE(history->hasFocus());
    const struct
    {
        const char* keys;
        double degrees;
    } presses[] = {
        {"equal", 1.0},    {"shift+equal", 10.0},    {"minus", -1.0},       {"shift+minus", -10.0},
        {"KP_Add", 1.0},   {"shift+KP_Add", 10.0},   {"KP_Subtract", -1.0}, {"shift+KP_Subtract", -10.0},
    };
    for (const auto& press : presses) {
        const double before = w.degrees();
        ASSERT_TRUE(real_pointer::keys({QString::fromLatin1(press.keys)}));
        EXPECT_NEAR(w.degrees() - before, press.degrees, 1e-3) << press.keys;
    }
}

TEST(RealKeys, CtrlAltShiftPlusAndMinusStepTheLineWidthOnBothKeyboards)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window w;
    const struct
    {
        const char* keys;
        int steps;
    } presses[] = {
        {"ctrl+alt+shift+equal", 1}, {"ctrl+alt+shift+minus", -1},
        {"ctrl+alt+shift+KP_Add", 1}, {"ctrl+alt+shift+KP_Subtract", -1},
    };
    for (const auto& press : presses) {
        const float before = w.view->bodies[0].openShapeLineWidth;
        const int entries = w.stack->count();
        ASSERT_TRUE(real_pointer::keys({QString::fromLatin1(press.keys)}));
        EXPECT_EQ(w.stack->count(), entries + 1) << press.keys;
        EXPECT_EQ(w.view->bodies[0].openShapeLineWidth > before, press.steps > 0) << press.keys;
    }
}

TEST(RealKeys, TheUndoAndRedoKeysTheCardNamesUndoAndRedo)
{
    SKIP_WITHOUT_REAL_POINTER();
    for (A_long major : {17, 18}) {
        Window w(major);
        w.view->OnPlusKey();
        w.view->OnPlusKey();
        ASSERT_EQ(w.stack->index(), 2);
        const QString undo = cardKeys("Undo");
        const QString redo = cardKeys("Redo");
        ASSERT_TRUE(real_pointer::keys({undo}));
        EXPECT_EQ(w.stack->index(), 1) << "host " << major << ": " << undo.toStdString();
        ASSERT_TRUE(real_pointer::keys({redo}));
        EXPECT_EQ(w.stack->index(), 2) << "host " << major << ": " << redo.toStdString();
    }
}

// Keys no frame of the composition would show: a range wholly past its last
// frame is refused, as a start past the last frame the simulation reaches
// is; one that ends past it is cut there, and the user told so. Render
// released while that message is open starts nothing once it closes; a close
// then waits for it, saying that nothing is started, and closes.
TEST(RealKeys, AnExportPastTheCompositionIsRefusedOrCut)
{
    SKIP_WITHOUT_REAL_POINTER();
    struct Row {
        int start, end;
        const char* told;
        bool releasedWhileTold = false;
        bool closedWhileTold = false;
    };
    const char* cutTold = "The export range ends after the composition's last frame, 99: frames 90 to 99 are exported.";
    for (const Row row : {Row{150, 160, "The export range starts after the composition's last frame, 99."},
                          Row{90, 130, cutTold}, Row{90, 130, cutTold, true}, Row{90, 130, cutTold, false, true}}) {
        SCOPED_TRACE(std::to_string(row.end) + (row.releasedWhileTold ? ", Render released while told" : ""));
        Window w;
        const Ui::ZolvarDlgClass& ui = w.window->form();
        ui.endFrameEt->setValue(row.end);
        ui.startFrameEt->setValue(row.start);
        const QPoint at = real_pointer::reveal(ui.exportBtn);
        ASSERT_FALSE(at.isNull()) << "the export button is out of the pointer's reach";
        QString told, waits;
        bool played = false;
        QObject::connect(ui.playBtn, &QAbstractButton::toggled, w.window.get(), [&played](bool on) { played |= on; });
        whenShown<QMessageBox>([&](QMessageBox& box) {
            told = box.text();
            if (row.releasedWhileTold)
                ui.exportBtn->click();
            if (row.closedWhileTold && !w.window->close())
                waits = w.window->findChild<QLabel*>(QStringLiteral("closeWaitSt"))->text();
            box.accept();
        });
        ASSERT_TRUE(real_pointer::xdotool(real_pointer::moveTo(at) << "click" << "1"));
        EXPECT_EQ(told, row.told);
        const bool cut = row.end == 130 && !row.releasedWhileTold && !row.closedWhileTold;
        EXPECT_EQ(ui.exportBtn->isChecked(), cut);
        EXPECT_EQ(w.view->exporting, cut);
        if (row.closedWhileTold) {
            EXPECT_TRUE(waits.endsWith(QStringLiteral("The export is not started, as the window is closing.")));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !w.window->isVisible(); }) && !played);
            // The close's end of the loop, taken by a loop run for it.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
            continue;
        }
        if (!cut) {
            EXPECT_TRUE(w.window->isVisible());
            EXPECT_EQ(window_test::exportLeftStanding(*w.window).toStdString(), "");
            continue;
        }
        EXPECT_EQ(ui.endFrameEt->value(), 99);
        ui.applyToNewCompCb->setChecked(false);
        for (int tick = 0; tick < 110 && w.window->isVisible(); ++tick) {
            w.view->updatePhysics();
            QTest::qWait(1);
        }
        ASSERT_FALSE(w.window->isVisible()) << "the export did not end";
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        const standin::PropertyNode* position = w.host->project->compositionByName(QStringLiteral("Main"))
                                                    ->layer(0)
                                                    ->transformStream(standin::TransformStream::Position);
        ASSERT_GT(position->keyCount(), 1);
        const A_Time last = position->key(position->keyCount() - 1)->time;
        EXPECT_EQ(last.value * 25, 99 * int(last.scale)) << "the last key is at the last frame";
    }
}

// At the window with the server's keys: a settings load from its shortcut
// (the file dialog answered) and Escape, each while a Render records, end
// the export as its cancel does; a later Render exports.
TEST(RealKeys, ALoadOrEscapeWhileARenderRecordsEndsIt)
{
    SKIP_WITHOUT_REAL_POINTER();
    for (const char* key : {"alt+o", "Escape"}) {
        SCOPED_TRACE(key);
        Window w;
        const Ui::ZolvarDlgClass& ui = w.window->form();
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("scene.xml"));
        ASSERT_TRUE(w.view->saveSettings(file, "Most Recent Saved Settings File"));
        const QPoint render = real_pointer::reveal(ui.exportBtn);
        ASSERT_FALSE(render.isNull()) << "the export button is out of the pointer's reach";
        ui.startFrameEt->setValue(5);
        ASSERT_TRUE(real_pointer::xdotool(real_pointer::moveTo(render) << "click" << "1"));
        for (int tick = 0; tick < 10; ++tick)
            w.view->updatePhysics();
        ASSERT_TRUE(w.view->exporting);
        ASSERT_GE(ui.progressBar->value(), 5);

        bool loaded = false;
        QPointer<QTimer> answer = whenShown<QFileDialog>([&](QFileDialog& dialog) {
            dialog.selectFile(file);
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(file);
            loaded = true;
            QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
        });
        ASSERT_TRUE(real_pointer::keys({QString::fromLatin1(key)}));
        delete answer;
        EXPECT_EQ(loaded, QLatin1String(key) == QLatin1String("alt+o"));
        EXPECT_EQ(window_test::exportLeftStanding(*w.window).toStdString(), "");
        EXPECT_EQ(window_test::renderFourFrames(*w.window, *w.host), 4);
    }
}

} // namespace
