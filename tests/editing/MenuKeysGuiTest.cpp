// The editing menu and the keys: the menu's order, texts, keys and enabled
// states, the window's key handling from the view's focus and from none,
// the view options, the background colour and the joints-table row query.
#include "JointFixture.h"
#include "../mainwindow/RealPointer.h"

#include "dialogs/DialogSeam.h"
#include "properties/BodiesTableView.h"
#include "properties/EditBox.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>

using joint_test::Scene;

namespace {

struct Entry
{
    const char* place;  // "" for the menu itself
    const char* text;   // "-" for a separator
    const char* key;
};

// Every entry of a menu and its submenus, in order, with the submenu named.
void flatten(QMenu* menu, const QString& place, std::vector<std::pair<QString, QAction*>>& out)
{
    for (QAction* action : menu->actions()) {
        if (action->menu())
            flatten(action->menu(), action->menu()->title(), out);
        else
            out.emplace_back(place, action);
    }
}

QAction* viewOption(ZolvarDlg& window, const QString& text)
{
    for (QAction* action : window.viewOptionsMenuOf()->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

void activate(ZolvarDlg& window)
{
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
}

void press(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false)
{
    QKeyEvent event(QEvent::KeyPress, key, mods, QString(), repeat);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(ContextMenu, OrderTextsKeysAndSubmenus)
{
    Scene s;
    static const Entry table[] = {
        {"", "Copy Body Settings", ""},
        {"", "Paste Body Settings", ""},
        {"", "Copy Joint Settings", ""},
        {"", "Paste Joint Settings", ""},
        {"", "-", ""},
        {"Select Bodies", "With the Same Color", "C"},
        {"Select Bodies", "With the Same Label", "L"},
        {"Select Bodies", "With the Same Collision Group", "Q"},
        {"Select Bodies", "With the Same Type", "T"},
        {"Select Bodies", "Invert Selection", "I"},
        {"Select Joints", "Of the Selected Bodies", "W"},
        {"Select Joints", "With the Same Type", "F"},
        {"Select Joints", "Remove Joints of Selected Bodies", "Alt+W"},
        {"", "-", ""},
        {"", "Set Color...", ""},
        {"", "Set Position...", ""},
        {"", "Set Rotation...", ""},
        {"Set Type", "Static", "S"},
        {"Set Type", "Kinematic", "K"},
        {"Set Type", "Dynamic", "D"},
        {"Set Type", "Dormant", "A"},
        {"Set Type", "AEmatic", "M"},
        {"Set Type", "Dead", "E"},
        {"", "-", ""},
        {"", "Randomizer...", "Ctrl+Alt+Shift+R"},
        {"", "-", ""},
        {"Reset", "Body Properties", ""},
        {"Reset", "Body Transform", ""},
        {"Reset", "AEmatic Anchor to Center", "X"},
        {"Reset", "Pan and Zoom", "Z"},
        {"Reset", "-", ""},
        {"Reset", "Scene", ""},
    };
    QMenu* menu = s.view->editingMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::pair<QString, QAction*>> entries;
    flatten(menu, QString(), entries);
    ASSERT_EQ(entries.size(), std::size(table));
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(table[i].text);
        EXPECT_EQ(entries[i].first, QString::fromLatin1(table[i].place));
        QAction* action = entries[i].second;
        if (QLatin1String(table[i].text) == QLatin1String("-")) {
            EXPECT_TRUE(action->isSeparator());
        } else {
            EXPECT_EQ(action->text(), QString::fromLatin1(table[i].text));
            EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(table[i].key)));
        }
        // Every entry is the view's too, so its key works there.
        EXPECT_TRUE(s.view->actions().contains(action));
    }
    // The submenus stand where first used, and the bodies table shows the
    // same menu.
    const QList<QAction*> top = menu->actions();
    EXPECT_EQ(top[5]->menu(), s.view->selectBodiesSubmenu());
    EXPECT_EQ(top[6]->menu(), s.view->selectJointsSubmenu());
    EXPECT_EQ(top[11]->menu(), s.view->setTypeSubmenu());
    EXPECT_EQ(top.last()->menu(), s.view->resetSubmenu());
    EXPECT_EQ(static_cast<MenuTableView*>(s.ui.bodiesTable)->menu(), menu);
}

TEST(ContextMenu, ARightClickInTheSceneOpensTheMenuAndRefreshesIt)
{
    Scene s;
    s.selectBodies({0});
    s.view->OnCopyBodySettings();
    QWidget* shown = nullptr;
    bool pasteEnabled = false;
    QTimer::singleShot(50, [&] {
        shown = QApplication::activePopupWidget();
        pasteEnabled = s.ui.onPasteBodySettings->isEnabled();
        if (shown)
            shown->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), s.view->getGLWidget()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(s.view->getGLWidget(), &event);
    EXPECT_EQ(shown, s.view->editingMenu());
    EXPECT_TRUE(pasteEnabled);
    EXPECT_EQ(s.stack->count(), 0);
}

TEST(ContextMenu, EntriesAreEnabledOnlyWhereTheyCanAct)
{
    struct Case
    {
        const char* name;
        std::vector<int> bodies, joints;
        bool copyBody, copyJoint;
    };
    const Case cases[] = {
        {"nothing", {}, {}, false, false},
        {"a body", {0}, {}, false, false},
        {"a body and a copied body", {0}, {}, true, false},
        {"a joint", {}, {0}, false, false},
        {"a joint and a copied joint", {}, {0}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene t;
        const Ui::ZolvarDlgClass& ui = t.ui;
        const std::vector<QAction*> bodyOnly = {
        ui.onCopyBodySettings, ui.onWithTheSameColor, ui.onWithTheSameLabel, ui.onWithTheSameCollisionGroup,
        ui.onWithTheSameType, ui.onOfTheSelectedBodies, ui.onRemoveJointsOfSelectedBodies, ui.onSetColor,
        ui.onSetPosition, ui.onSetRotation, ui.onStatic, ui.onKinematic, ui.onDynamic, ui.onDormant, ui.onAEmatic,
        ui.onDead, ui.onBodyProperties, ui.onBodyTransform, ui.onAEmaticAnchorToCenter};
        t.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(-1.5f, 0.0f));
        t.view->restartAndStopAnimation(false);
        if (c.copyBody) {
            t.selectBodies({2});
            t.view->OnCopyBodySettings();
        }
        if (c.copyJoint) {
            t.view->selectJoints({0});
            t.view->OnCopyJointSettings();
        }
        t.selectBodies(c.bodies);
        t.view->selectJoints(c.joints);
        emit t.ui.menuEdit->aboutToShow();
        const bool bodies = !c.bodies.empty(), joints = !c.joints.empty();
        for (QAction* action : bodyOnly)
            EXPECT_EQ(action->isEnabled(), bodies) << action->text().toStdString();
        EXPECT_EQ(t.ui.onPasteBodySettings->isEnabled(), bodies && c.copyBody);
        EXPECT_EQ(t.ui.onCopyJointSettings->isEnabled(), joints);
        EXPECT_EQ(t.ui.onWithTheSameJointType->isEnabled(), joints);
        EXPECT_EQ(t.ui.onPasteJointSettings->isEnabled(), joints && c.copyJoint);
        EXPECT_EQ(t.ui.onRandomizer->isEnabled(), bodies || joints);
        EXPECT_EQ(t.view->selectJointsSubmenu()->isEnabled(), bodies || joints);
        EXPECT_EQ(t.view->setTypeSubmenu()->isEnabled(), bodies);
        EXPECT_TRUE(t.view->selectBodiesSubmenu()->isEnabled());
        EXPECT_TRUE(t.view->resetSubmenu()->isEnabled());
        for (QAction* action : {t.ui.onInvertSelection, t.ui.onPanAndZoom, t.ui.onScene})
            EXPECT_TRUE(action->isEnabled());
    }
}

TEST(ContextMenu, PasteWaitsForACopyAndOneTriggerIsOneEntry)
{
    Scene s;
    s.selectBodies({0});
    EXPECT_FALSE(s.ui.onPasteBodySettings->isEnabled());
    s.ui.onCopyBodySettings->trigger();
    emit s.view->editingMenu()->aboutToShow();
    EXPECT_TRUE(s.ui.onPasteBodySettings->isEnabled());
    s.selectBodies({1, 2});
    s.ui.onPasteBodySettings->trigger();
    EXPECT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.lastText(), "Paste Body Settings");
}

TEST(ContextMenu, KeysWorkFromTheViewOnlyWhileTheirEntryIsEnabled)
{
    Scene s;
    activate(*s.window);
    s.view->setFocus();
    QTest::keyClick(s.view, Qt::Key_S);
    QTest::keyClick(s.view, Qt::Key_C);
    EXPECT_EQ(s.stack->count(), 0);
    EXPECT_TRUE(s.view->getSelectedRows2().empty());

    s.selectBodies({1});
    QTest::keyClick(s.view, Qt::Key_C);
    EXPECT_EQ(s.view->getSelectedRows2(), (std::vector<int>{0, 1, 2}));
    QTest::keyClick(s.view, Qt::Key_S);
    EXPECT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.lastText(), "Change Type");
    EXPECT_EQ(s.view->bodies[2].type, BodyType::Static);
}

// The real keyboard's Alt+W takes away every joint of the selected bodies,
// selected or not, as one step, and leaves the others.
TEST(ContextMenu, AltWRemovesTheJointsOfTheSelectedBodiesAsOneStep)
{
    SKIP_WITHOUT_REAL_POINTER();
    Scene s(joint_test::project({{200, 500}, {400, 500}, {600, 500}, {800, 500}}));
    s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    s.addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
    s.addAll({2, 3}, &SimulationView::addSpringJointBetweenSelectedBodies);
    s.selectBodies({1});
    s.view->selectJoints({});
    const int entries = s.stack->count();
    activate(*s.window);
    s.view->setFocus();

    ASSERT_TRUE(real_pointer::xdotool({QStringLiteral("key"), QStringLiteral("alt+w")}));
    EXPECT_EQ(s.pairs(), (std::vector<std::pair<int, int>>{{2, 3}}));
    ASSERT_EQ(s.stack->count(), entries + 1);
    EXPECT_EQ(s.lastText(), "Remove Joint");
    joint_test::expectConsistent(*s.view);
    s.stack->undo();
    EXPECT_EQ(s.pairs(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}}));
    joint_test::expectConsistent(*s.view);
}

TEST(WindowKeys, ArrowsAndRotationFromTheViewAndFromNoFocus)
{
    Scene s;
    s.selectBodies({0, 1});
    const float x0 = s.view->bodies[0].position.x;
    activate(*s.window);
    // A click gives the view the focus.
    QTest::mouseClick(s.view->getGLWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    s.selectBodies({0, 1});
    EXPECT_TRUE(s.view->hasFocus());
    QTest::keyClick(s.view, Qt::Key_Left);
    EXPECT_NEAR(s.view->bodies[0].position.x, x0 - 0.01f, 1e-5f);
    QTest::keyClick(s.view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_NEAR(s.view->bodies[0].position.x, x0 - 0.11f, 1e-5f);
    EXPECT_NEAR(s.view->bodies[1].position.x, -0.11f, 1e-5f);

    // No focus: the window takes the key itself; a held key repeats.
    s.view->clearFocus();
    const int before = s.stack->count();
    for (int i = 0; i < 3; ++i)
        press(s.window.get(), Qt::Key_Right, Qt::NoModifier, i > 0);
    EXPECT_EQ(s.stack->count(), before + 3);
    EXPECT_NEAR(s.view->bodies[0].position.x, x0 - 0.08f, 1e-5f);
    press(s.window.get(), Qt::Key_Plus);
    EXPECT_NEAR(s.view->bodies[0].angle, 0.017453292f, 1e-6f);
    press(s.window.get(), Qt::Key_Minus);
    EXPECT_NEAR(s.view->bodies[0].angle, 0.0f, 1e-6f);
    press(s.window.get(), Qt::Key_Down);
    EXPECT_EQ(s.lastText(), "Move Body");

    // Delete with no snapshot changes nothing; Escape stops.
    const int count = s.stack->count();
    press(s.window.get(), Qt::Key_Delete);
    EXPECT_EQ(s.stack->count(), count);
    s.view->playAnimation();
    press(s.window.get(), Qt::Key_Escape);
    EXPECT_FALSE(s.view->playing);
}

TEST(WindowKeys, TypingInAnEditBoxStaysThereAndReturnEndsTheEditOnce)
{
    Scene s;
    s.selectBodies({0});
    EditBox* density = static_cast<EditBox*>(s.ui.densityEt);
    activate(*s.window);
    density->setFocus();
    ASSERT_TRUE(density->hasFocus());
    density->selectAll();
    QTest::keyClicks(density, "0");
    QTest::keyClick(density, Qt::Key_C);
    EXPECT_FALSE(s.view->playing);
    EXPECT_EQ(s.view->getSelectedRows2(), (std::vector<int>{0}));
    density->selectAll();
    QTest::keyClicks(density, "1,5");
    EXPECT_EQ(s.view->currentFrame, 0);
    EXPECT_EQ(s.stack->count(), 0);
    QTest::keyClick(density, Qt::Key_Return);
    EXPECT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.view->bodies[0].density, 1.5f);
    EXPECT_FALSE(density->hasFocus());

    // Typing into a box, then clicking in the scene ends the edit for the
    // box's own body before the click selects another.
    density->setFocus();
    density->selectAll();
    QTest::keyClicks(density, "2");
    QTest::mouseClick(s.view->getGLWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(s.stack->count(), 2);
    EXPECT_EQ(s.view->bodies[0].density, 2.0f);
    EXPECT_EQ(s.view->bodies[1].density, 1.0f);
}

TEST(ViewOptions, FlagsMeshCompBoundsAndTheBackgroundColour)
{
    Scene s;
    ZolvarDlg& w = *s.window;
    const unsigned int start = s.view->getDrawingFlags();
    struct
    {
        const char* text;
        unsigned int bit;
    } bits[] = {{"Shapes", 1}, {"Joints", 2}, {"Bounding Box", 4}, {"Local Axes", 16}};
    for (const auto& b : bits) {
        SCOPED_TRACE(b.text);
        QAction* action = viewOption(w, QString::fromLatin1(b.text));
        ASSERT_NE(action, nullptr);
        action->setChecked(true);
        EXPECT_EQ(s.view->getDrawingFlags(), start | b.bit);
        action->setChecked(false);
        EXPECT_EQ(s.view->getDrawingFlags(), start & ~b.bit);
        action->setChecked((start & b.bit) != 0);
        EXPECT_EQ(s.view->getDrawingFlags(), start);
    }
    QAction* mesh = viewOption(w, QStringLiteral("Mesh"));
    mesh->setChecked(!mesh->isChecked());
    EXPECT_EQ(s.view->world->showMesh, mesh->isChecked());
    EXPECT_EQ(s.view->getDrawingFlags(), start);
    QAction* bounds = viewOption(w, QStringLiteral("Comp Bounds"));
    bounds->setChecked(!bounds->isChecked());
    EXPECT_EQ(s.view->getGLWidget()->getShowCompBounds(), bounds->isChecked());

    const QString sheet = s.ui.bgColorBtn->styleSheet();
    const QColor colour = s.view->bgColor;
    QColor answer;
    dialog_seam::setColorPicker([&](const QColor& initial, QWidget*, const QString& title) {
        EXPECT_EQ(initial, s.view->getGLWidget()->getBGColor());
        EXPECT_EQ(title, "Select Color");
        return answer;
    });
    s.ui.bgColorBtn->click();
    EXPECT_EQ(s.ui.bgColorBtn->styleSheet(), sheet);
    EXPECT_EQ(s.view->bgColor, colour);
    answer = QColor(255, 0, 0);
    s.ui.bgColorBtn->click();
    dialog_seam::setColorPicker({});
    EXPECT_EQ(s.ui.bgColorBtn->styleSheet(), "QWidget#bgColorBtn{ background-color: rgb(255, 0, 0);}");
    EXPECT_EQ(s.view->bgColor, QColor(255, 0, 0));
    EXPECT_EQ(s.view->getGLWidget()->getBGColor(), QColor(255, 0, 0));
    EXPECT_EQ(s.stack->count(), 0);
}

TEST(JointRowsQuery, WholeRowRangesInTheirOwnOrder)
{
    Scene s;
    for (int i = 0; i < 7; ++i)
        s.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(-1.5f, 0.0f));
    s.view->restartAndStopAnimation(false);
    QItemSelectionModel* selection = s.ui.jointsTable->selectionModel();
    QAbstractItemModel* model = s.ui.jointsTable->model();
    const QSignalBlocker blocker(selection);
    QItemSelection ranges;
    ranges.append(QItemSelectionRange(model->index(5, 0), model->index(6, 5)));
    ranges.append(QItemSelectionRange(model->index(2, 0), model->index(2, 5)));
    ranges.append(QItemSelectionRange(model->index(3, 2), model->index(3, 5)));
    selection->select(ranges, QItemSelectionModel::ClearAndSelect);
    std::vector<int> rows;
    for (const QModelIndex& index : s.window->getSelectedRowsInJointsTable()) {
        EXPECT_EQ(index.column(), 0);
        rows.push_back(index.row());
    }
    EXPECT_EQ(rows, (std::vector<int>{5, 6, 2}));
}
