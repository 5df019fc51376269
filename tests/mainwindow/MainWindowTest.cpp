// The main window as the command builds it: the form, the stored
// preferences, the undo stack and its keys, the history view, the gravity
// pad, the scene view, the shortcuts, the slider defaults and the wheel guard.
#include "WindowFixture.h"

#include "mainwindow/Themes.h"
#include "properties/GravityView.h"
#include "properties/SliderGo.h"
#include "properties/UndoView.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QDockWidget>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QComboBox>
#include <QWheelEvent>

#include <functional>

namespace {

using namespace window_test;

TEST(MainWindow, BuildsFromTheFormWithoutWarnings)
{
    auto host = makeHost();
    WarningCollector::warnings().clear();
    std::unique_ptr<ZolvarDlg> window;
    {
        WarningCollector collector;
        window = makeWindow(*host);
    }
    EXPECT_TRUE(WarningCollector::warnings().isEmpty())
        << WarningCollector::warnings().join(QLatin1Char('\n')).toStdString();
    const Ui::ZolvarDlgClass& ui = window->form();

    EXPECT_EQ(window->objectName(), "ZolvarDlgClass");
    EXPECT_EQ(window->centralWidget(), ui.centralWidget);
    EXPECT_TRUE(ui.exportNoteSt->text().isEmpty());
    EXPECT_EQ(window->labelColorList().size(), 16u);

    // The scene view fills the preview area, the pad its placeholder.
    SimulationView* view = window->simulationView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->parentWidget(), ui.simulationPreviewWidget);
    auto* previewLayout = qobject_cast<QGridLayout*>(ui.simulationPreviewWidget->layout());
    ASSERT_NE(previewLayout, nullptr);
    EXPECT_EQ(previewLayout->contentsMargins(), QMargins(0, 0, 0, 0));
    EXPECT_EQ(previewLayout->spacing(), 0);
    EXPECT_EQ(previewLayout->indexOf(view), 0);

    GravityView* pad = window->gravityPad();
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(pad->parentWidget(), ui.gravityWidget);
    EXPECT_EQ(ui.gravityWidget->layout()->contentsMargins(), QMargins(0, 0, 0, 0));
    EXPECT_EQ(pad->gravityMagnitudeEtControl(), ui.gravityMagnitudeEt);
    EXPECT_EQ(pad->gravityMagnitudeSldControl(), ui.gravityMagnitudeSld);
    EXPECT_EQ(pad->gravityDirectionEtControl(), ui.gravityDirectionEt);
    EXPECT_EQ(pad->gravityDirectionSldControl(), ui.gravityDirectionSld);
    EXPECT_NEAR(pad->gravityPoint().x(), 0.0, 1e-4);
    EXPECT_NEAR(pad->gravityPoint().y(), 10.0 * GravityView::kScale, 1e-4) << "magnitude 10, straight down";

    // The history behind the information tab.
    UndoView* history = window->historyView();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->objectName(), "actionsHistoryView");
    EXPECT_EQ(history->stack(), window->undoStackOf());
    EXPECT_EQ(ui.actionsHistoryDockWidget->widget(), history);
    EXPECT_TRUE(window->tabifiedDockWidgets(ui.infoDockWidget).contains(ui.actionsHistoryDockWidget));
    EXPECT_EQ(window->undoStackOf()->parent(), window.get());
    EXPECT_EQ(window->undoStackOf()->count(), 0);

    // Edit menu: the stack's own undo and redo, then the copy and paste pairs.
    const QList<QAction*> edit = ui.menuEdit->actions();
    ASSERT_EQ(edit.size(), 8);
    EXPECT_EQ(edit[0]->text(), "Undo");
    EXPECT_EQ(edit[1]->text(), "Redo");
    EXPECT_FALSE(edit[0]->isEnabled()) << "nothing to undo yet";
    EXPECT_TRUE(edit[2]->isSeparator());
    EXPECT_EQ(edit[3], ui.onCopyBodySettings);
    EXPECT_EQ(edit[4], ui.onPasteBodySettings);
    EXPECT_TRUE(edit[5]->isSeparator());
    EXPECT_EQ(edit[6], ui.onCopyJointSettings);
    EXPECT_EQ(edit[7], ui.onPasteJointSettings);
    window->undoStackOf()->push(new QUndoCommand(QStringLiteral("Change Density")));
    EXPECT_EQ(edit[0]->text(), "Undo Change Density");

    // View options.
    QMenu* options = window->viewOptionsMenuOf();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->objectName(), "ViewOptionsMenu");
    EXPECT_EQ(options->parent(), nullptr);
    EXPECT_TRUE(options->hasMouseTracking());
    EXPECT_EQ(ui.viewOptionsBtn->menu(), options);
    const QList<QAction*> entries = options->actions();
    ASSERT_EQ(entries.size(), 7);
    const struct
    {
        const char* text;
        bool checked;
    } expected[] = {{"Shapes", true}, {"Mesh", false}, {"Bounding Box", false}, {"Local Axes", false},
                    {"Joints", true}, {nullptr, false}, {"Comp Bounds", true}};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        if (!expected[i].text) {
            EXPECT_TRUE(entries[i]->isSeparator());
            continue;
        }
        EXPECT_EQ(entries[i]->text(), expected[i].text);
        EXPECT_TRUE(entries[i]->isCheckable());
        EXPECT_EQ(entries[i]->isChecked(), expected[i].checked);
        EXPECT_EQ(entries[i]->parent(), options);
    }
}

TEST(MainWindow, EmptyPreferencesGiveTheDefaults)
{
    auto host = makeHost();
    auto window = makeWindow(*host);
    EXPECT_EQ(window->currentTheme(), 0);
    EXPECT_EQ(window->undoStackOf()->undoLimit(), 100);
    EXPECT_EQ(window->bodyIdentificationMode(), 0);
}

TEST(MainWindow, StoredPreferencesReachTheWindow)
{
    auto host = makeHost();
    host->session->prefs().set(kSection, "UI Theme", "1");
    host->session->prefs().set(kSection, "Levels of Undo", "0");
    host->session->prefs().set(kSection, "Body Identification", "2");
    host->session->prefs().set(kSection, "Selected Joint Red", "0");
    host->session->prefs().set(kSection, "Selected Joint Blue", "255");
    host->session->prefs().set(kSection, "Body Selection Highlight Green", "999");
    host->session->prefs().set(kSection, "Joint Stroke Width", "3.5");
    host->session->prefs().set(kSection, "Kinematic Behavior", "1");
    host->session->prefs().set(kSection, "Ignore Body Color When Pasting", "0");
    auto window = makeWindow(*host);
    EXPECT_EQ(window->currentTheme(), 1);
    EXPECT_EQ(window->undoStackOf()->undoLimit(), 0) << "0: no limit";
    EXPECT_EQ(window->bodyIdentificationMode(), 2);

    // The view draws with them from the start.
    const SimulationView* view = window->simulationView();
    EXPECT_EQ(view->selectedJointColor, QColor(0, 0, 255));
    EXPECT_EQ(view->selectionHighlightColor, QColor(191, 255, 0)) << "clamped";
    EXPECT_EQ(view->jointStrokeWidth, 3.5f);
    EXPECT_EQ(view->kinematicBehavior, 1);
    EXPECT_FALSE(view->ignoreBodyColorWhenPasting);

    QFile light(QStringLiteral(":/Zolvar_lightgray.qss"));
    ASSERT_TRUE(light.open(QIODevice::ReadOnly));
    EXPECT_EQ(qApp->styleSheet(), fillStyleSheet(QString::fromUtf8(light.readAll())));
}

TEST(MainWindow, AnUnknownThemeDrawsDarkGrayAndIsKept)
{
    auto host = makeHost();
    host->session->prefs().set(kSection, "UI Theme", "7");
    auto window = makeWindow(*host);
    EXPECT_EQ(window->currentTheme(), 7);
    QFile dark(QStringLiteral(":/Zolvar_darkgray.qss"));
    ASSERT_TRUE(dark.open(QIODevice::ReadOnly));
    EXPECT_EQ(qApp->styleSheet(), fillStyleSheet(QString::fromUtf8(dark.readAll())));
}

TEST(MainWindow, AFailedPreferenceReadKeepsTheRestAtDefaults)
{
    auto host = makeHost();
    host->session->prefs().set(kSection, "UI Theme", "2");
    host->session->prefs().set(kSection, "Levels of Undo", "12");
    host->session->prefs().set(kSection, "Body Identification", "1");
    // The second integer read: "Levels of Undo".
    host->session->faults().failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 9, 2);
    auto window = makeWindow(*host);
    EXPECT_EQ(window->currentTheme(), 2);
    EXPECT_EQ(window->undoStackOf()->undoLimit(), 100);
    EXPECT_EQ(window->bodyIdentificationMode(), 0);
}

TEST(MainWindow, UndoKeysFollowTheHostVersion)
{
    testApp(); // the platform's standard key sequences need the application
    const struct
    {
        A_long major, minor;
        QKeySequence undo, redo;
    } cases[] = {
        {17, 0, QKeySequence(Qt::ALT | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Z)},
        {17, 1, QKeySequence(QKeySequence::Undo), QKeySequence(QKeySequence::Redo)},
        {16, 0, QKeySequence(QKeySequence::Undo), QKeySequence(QKeySequence::Redo)},
        {18, 0, QKeySequence(QKeySequence::Undo), QKeySequence(QKeySequence::Redo)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        auto host = makeHost(c.major, c.minor);
        auto window = makeWindow(*host);
        const QList<QAction*> edit = window->form().menuEdit->actions();
        EXPECT_EQ(edit[0]->shortcut(), c.undo);
        EXPECT_EQ(edit[1]->shortcut(), c.redo);
    }
}

// Return leaves the focus in the edit box; the window's undo and redo keys
// still reach the history (the line edit's own text undo is of no use in a
// number box), on every host version's keys.
TEST(MainWindow, UndoKeysWorkWhileAnEditBoxHasTheFocus)
{
    const struct
    {
        A_long major, minor;
        QKeySequence undo, redo;
    } cases[] = {
        {18, 0, QKeySequence(QKeySequence::Undo), QKeySequence(QKeySequence::Redo)},
        {17, 0, QKeySequence(Qt::ALT | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Z)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        auto host = makeHost(c.major, c.minor);
        auto window = makeWindow(*host);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        SimulationView* view = window->simulationView();
        view->getTimer()->stop();
        const Ui::ZolvarDlgClass& ui = view->form();
        view->selectBodies({0});
        for (QAbstractSpinBox* box : {static_cast<QAbstractSpinBox*>(ui.densityEt),
                                      static_cast<QAbstractSpinBox*>(ui.velocityDirectionEt)}) {
            box->setFocus();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, "4");
            QTest::keyClick(box, Qt::Key_Return);
            ASSERT_EQ(view->getUndoStack()->index(), 1);
            // As in the window, the box keeps (here: gets back) the focus.
            box->setFocus();
            ASSERT_TRUE(box->hasFocus());

            const QKeyCombination undo = c.undo[0];
            QTest::keyClick(QApplication::focusWidget(), undo.key(), undo.keyboardModifiers());
            EXPECT_EQ(view->getUndoStack()->index(), 0) << "undone";
            const QKeyCombination redo = c.redo[0];
            QTest::keyClick(QApplication::focusWidget(), redo.key(), redo.keyboardModifiers());
            EXPECT_EQ(view->getUndoStack()->index(), 1) << "redone";
            view->getUndoStack()->clear();
        }
    }
}

TEST(MainWindow, TheThirteenShortcuts)
{
    auto host = makeHost();
    auto window = makeWindow(*host);
    const QList<QShortcut*> shortcuts = window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly);
    const QKeySequence keys[] = {
        QKeySequence(Qt::Key_0),        QKeySequence(Qt::Key_Home),  QKeySequence(Qt::Key_1),
        QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_2),     QKeySequence(Qt::Key_V),
        QKeySequence(Qt::Key_H),        QKeySequence(Qt::Key_Y),     QKeySequence(Qt::Key_G),
        QKeySequence(Qt::Key_P),        QKeySequence(Qt::Key_Space),
        QKeySequence(QStringLiteral("Ctrl+Alt+Shift++")), QKeySequence(QStringLiteral("Ctrl+Alt+Shift+-")),
    };
    ASSERT_EQ(shortcuts.size(), 13);
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shortcuts[i]->key(), keys[i]);
        EXPECT_EQ(shortcuts[i]->context(), Qt::WindowShortcut);
    }
    EXPECT_EQ(window->form().showDocumentation->shortcut(), QKeySequence(QKeySequence::HelpContents));
}

TEST(MainWindow, SlidersGetTheirDefaultsAsFromValuesWithoutMoving)
{
    auto host = makeHost();
    auto window = makeWindow(*host);
    const Ui::ZolvarDlgClass& ui = window->form();
    EXPECT_EQ(ui.bouncinessSld->fromVal, 300);
    EXPECT_EQ(ui.meshPrecisionSld->fromVal, 2);
    EXPECT_EQ(ui.magnetDistanceSld->fromVal, 100000);
    EXPECT_EQ(ui.gravityDirectionSld->fromVal, 90000);
    EXPECT_EQ(ui.gravityMagnitudeSld->value(), 10000) << "the form's position";
}

TEST(MainWindow, TheWheelNeverChangesAValue)
{
    auto host = makeHost();
    auto window = makeWindow(*host);
    window->show();
    const Ui::ZolvarDlgClass& ui = window->form();
    for (QWidget* control : std::initializer_list<QWidget*>{ui.gravityMagnitudeSld, ui.startFrameEt, ui.timeDividerEt,
                                                                   ui.densityEt}) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_EQ(control->focusPolicy(), Qt::StrongFocus);
        const QVariant before = control->property("value");
        const QPointF centre(control->width() / 2.0, control->height() / 2.0);
        QWheelEvent wheel(centre, control->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &wheel);
        EXPECT_EQ(control->property("value"), before);
    }
    // Nor a list's entry: the body type, the collision group, the gravity layer.
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        SCOPED_TRACE(list->objectName().toStdString());
        EXPECT_EQ(list->focusPolicy(), Qt::StrongFocus);
        const int before = list->currentIndex();
        for (const int delta : {-120, 120}) {
            const QPointF centre(list->width() / 2.0, list->height() / 2.0);
            QWheelEvent wheel(centre, list->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
            EXPECT_EQ(list->currentIndex(), before);
        }
    }
}

TEST(MainWindow, TheExportFrameBoxesKeepTheStartAtOrBeforeTheEnd)
{
    auto host = makeHost();
    auto window = makeWindow(*host);
    const Ui::ZolvarDlgClass& ui = window->form();
    const auto finish = [](QSpinBox* box, int value) {
        box->setValue(value);
        emit box->editingFinished();
    };

    ui.endFrameEt->setValue(20);
    finish(ui.startFrameEt, 50);
    EXPECT_EQ(ui.endFrameEt->value(), 50) << "a start past the end moves the end";
    finish(ui.endFrameEt, 30);
    EXPECT_EQ(ui.startFrameEt->value(), 30) << "an end before the start moves the start";
    finish(ui.endFrameEt, 200000);
    EXPECT_EQ(ui.endFrameEt->value(), kLastSimulatedFrame) << "the end stays reachable";
    EXPECT_EQ(ui.startFrameEt->value(), 30);
}

// A Render that cannot start (nothing to export, a refused range) leaves
// the transport stopped, whether Play was pressed before it or not.
TEST(MainWindow, ARenderThatCannotStartReleasesPlay)
{
    const QByteArray noBodies = R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"id": 10, "name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
                          "layers": [{"id": 2, "type": "null", "name": "Control"}]}]})";
    struct Row {
        const char* what;
        QByteArray project;
        int start, end;
        bool playFirst;
        const char* told;
    };
    const Row rows[] = {
        {"no bodies, playing", noBodies, 0, 10, true, "There are no bodies to export."},
        {"no bodies, stopped", noBodies, 0, 10, false, "There are no bodies to export."},
        {"start after end, playing", kProject, 50, 10, true, "The export range starts after its end frame."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto host = makeHost(18, 0, row.project);
        auto window = makeWindow(*host);
        showStill(*window);
        const Ui::ZolvarDlgClass& ui = window->form();
        SimulationView* view = window->simulationView();
        ui.startFrameEt->setValue(row.start);
        ui.endFrameEt->setValue(row.end);
        if (row.playFirst) {
            ui.playBtn->click();
            ASSERT_TRUE(ui.playBtn->isChecked());
            ASSERT_TRUE(view->playing);
        }
        QStringList told;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&told] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                told << box->text();
                box->accept();
            }
        });
        answer.start(10);
        QTest::mouseClick(ui.exportBtn, Qt::LeftButton);
        EXPECT_EQ(told, QStringList{QString::fromLatin1(row.told)});
        EXPECT_FALSE(ui.exportBtn->isChecked());
        EXPECT_FALSE(ui.playBtn->isChecked());
        EXPECT_FALSE(view->playing);
        EXPECT_FALSE(view->running);
        EXPECT_FALSE(view->exporting);

        // Play works as before afterwards.
        ui.playBtn->click();
        EXPECT_TRUE(view->playing);
    }
}

// Whatever sends the scene back to frame 0 while a Render records ends the
// export as its cancel does, never leaving Render pressed over a stopped
// scene; a later Render exports.
TEST(MainWindow, WhatRestartsTheSceneWhileARenderRecordsEndsItAsCancelDoes)
{
    struct Row {
        const char* what;
        std::function<void(ZolvarDlg&, const QString& file)> act;
        QToolButton* Ui::ZolvarDlgClass::*playsOn = nullptr; // pressed again to stop
    };
    const Row rows[] = {
        {"the restart button", [](ZolvarDlg& w, const QString&) { w.form().restartBtn->click(); }},
        {"Escape", [](ZolvarDlg& w, const QString&) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"a settings load",
         [](ZolvarDlg& w, const QString& file) { w.simulationView()->loadSettings(file.toUtf8().constData(), true, 0); }},
        {"an undo", [](ZolvarDlg& w, const QString&) { w.simulationView()->getUndoStack()->undo(); }},
        {"a property edit",
         [](ZolvarDlg& w, const QString&) {
             w.form().densityEt->setValue(5.0);
             emit w.form().densityEt->editingFinished();
         }},
        {"a snapshot restore",
         [](ZolvarDlg& w, const QString&) {
             w.simulationView()->quickPresetsTableDoubleClicked(w.simulationView()->presetsModel()->index(0, 0));
         }},
        {"the loop", [](ZolvarDlg& w, const QString&) { w.form().repeatBtn->click(); }, &Ui::ZolvarDlgClass::repeatBtn},
        {"a gravity capture", [](ZolvarDlg& w, const QString&) { w.form().captureGravityBtn->click(); },
         &Ui::ZolvarDlgClass::captureGravityBtn},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto host = makeHost();
        auto window = makeWindow(*host);
        showStill(*window);
        const Ui::ZolvarDlgClass& ui = window->form();
        SimulationView* view = window->simulationView();
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("scene.xml"));
        ASSERT_TRUE(view->saveSettings(file, "Most Recent Saved Settings File"));
        view->addPresets({view->currentScene(true)});
        view->selectBodies({0});
        ui.densityEt->setValue(3.0);
        emit ui.densityEt->editingFinished();
        ASSERT_EQ(view->getUndoStack()->count(), 1);

        ui.startFrameEt->setValue(5);
        ui.exportBtn->click();
        for (int tick = 0; tick < 10; ++tick)
            view->updatePhysics();
        ASSERT_TRUE(view->exporting);
        ASSERT_GE(ui.progressBar->value(), 5);

        row.act(*window, file);
        if (row.playsOn) {
            // These play on from frame 0, no longer recording.
            EXPECT_FALSE(ui.exportBtn->isChecked() || view->exporting);
            EXPECT_EQ(ui.progressBar->value(), 0);
            for (int tick = 0; tick < 120; ++tick)
                view->updatePhysics();
            EXPECT_TRUE(window->isVisible()) << "nothing is written";
            (ui.*row.playsOn)->click();
            EXPECT_EQ(renderFourFrames(*window, *host), 4);
            continue;
        }
        EXPECT_EQ(exportLeftStanding(*window).toStdString(), "");
        for (int tick = 0; tick < 3; ++tick)
            view->updatePhysics();
        EXPECT_EQ(view->currentFrame, 0) << "the scene stays stopped";
        EXPECT_EQ(renderFourFrames(*window, *host), 4);
    }
}

} // namespace
