// Drags with each tool leave one undo step with its text; undo puts every
// value back and redo applies it again. Also the temporary hand tool.
#include "EditFixture.h"
#include "../mainwindow/ModalAnswer.h"
#include "../mainwindow/RealPointer.h"

#include "properties/DragCommands.h"
#include "properties/EditBox.h"
#include "properties/SliderGo.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>

#include <cmath>
#include <functional>
#include <QToolButton>

namespace {

using namespace edit_test;

TEST(ToolDrag, MovingTheSelectionIsOneStep)
{
    Edit e;
    e.click(e.bodyPixel(0));
    e.click(e.bodyPixel(1), Qt::ShiftModifier);
    const b2Vec2 before0 = e.view->bodies[0].position;
    const b2Vec2 before1 = e.view->bodies[1].position;

    e.drag(e.bodyPixel(1), e.bodyPixel(1) + QPoint(60, 0));
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Move Body");
    const b2Vec2 after0 = e.view->bodies[0].position;
    EXPECT_GT(after0.x - before0.x, 0.1f);
    EXPECT_FLOAT_EQ(after0.x - before0.x, e.view->bodies[1].position.x - before1.x);
    EXPECT_FLOAT_EQ(e.view->bodies[0].committedPosition.x, after0.x);

    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[0].position.x, before0.x);
    EXPECT_FLOAT_EQ(e.view->bodies[1].position.x, before1.x);
    EXPECT_FLOAT_EQ(e.view->bodies[0].committedPosition.x, before0.x);
    e.stack->redo();
    EXPECT_FLOAT_EQ(e.view->bodies[0].position.x, after0.x);

    // A click without movement records nothing.
    e.click(e.bodyPixel(2));
    EXPECT_EQ(e.stack->count(), 1);
}

TEST(ToolDrag, ShiftLocksAMostlyVerticalDragToVertical)
{
    Edit e;
    e.click(e.bodyPixel(1));
    const b2Vec2 before = e.view->bodies[1].position;
    const QPoint from = e.bodyPixel(1);
    QTest::mousePress(e.gl, Qt::LeftButton, Qt::NoModifier, from);
    e.moveTo(from + QPoint(2, 30), Qt::ShiftModifier);
    e.moveTo(from + QPoint(60, 40), Qt::ShiftModifier);
    QTest::mouseRelease(e.gl, Qt::LeftButton, Qt::ShiftModifier, from + QPoint(60, 40));
    EXPECT_FLOAT_EQ(e.view->bodies[1].position.x, before.x);
    EXPECT_GT(e.view->bodies[1].position.y, before.y);
    EXPECT_EQ(e.stack->count(), 1);
}

TEST(ToolDrag, TheHandPansAndRecordsNothing)
{
    Edit e;
    e.view->OnHandToolBtn();
    EXPECT_TRUE(e.view->form().handToolBtn->isChecked());
    EXPECT_FALSE(e.view->form().selectionToolBtn->isChecked());
    e.drag(e.bodyPixel(1), e.bodyPixel(1) + QPoint(40, 20));
    EXPECT_GT(e.gl->panX, 0.0f);
    EXPECT_GT(e.gl->panY, 0.0f);
    EXPECT_EQ(e.stack->count(), 0);
}

TEST(ToolDrag, GravityIsOneStepAndUndoRestoresIt)
{
    Edit e;
    const Ui::ZolvarDlgClass& ui = e.view->form();
    const double magnitude = ui.gravityMagnitudeEt->value();
    const double direction = ui.gravityDirectionEt->value();
    e.view->OnGravityToolBtn();
    const QPoint centre(e.gl->width() / 2, e.gl->height() / 2);
    e.drag(centre + QPoint(30, 30), centre + QPoint(50, 0));
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Change Gravity");
    EXPECT_NEAR(ui.gravityMagnitudeEt->value(), 5.0, 0.1);
    EXPECT_NEAR(std::fmod(ui.gravityDirectionEt->value() + 180.0, 360.0), 180.0, 1.0);

    e.stack->undo();
    EXPECT_NEAR(ui.gravityMagnitudeEt->value(), magnitude, 1e-6);
    EXPECT_NEAR(ui.gravityDirectionEt->value(), direction, 1e-6);
    e.stack->redo();
    EXPECT_NEAR(ui.gravityMagnitudeEt->value(), 5.0, 0.1);
}

TEST(ToolDrag, VelocityIsOneStepForTheSelectedBodies)
{
    Edit e;
    e.view->selectBodies({0, 2});
    e.view->OnVelocityToolBtn();
    e.drag(e.bodyPixel(2), e.bodyPixel(2) + QPoint(50, 0));
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Change Linear Velocity");
    const float speed = e.view->bodies[2].linearVelocityMagnitude;
    EXPECT_GT(speed, 1.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].linearVelocityMagnitude, speed);
    EXPECT_FLOAT_EQ(e.view->bodies[0].committedVelocityMagnitude, speed);

    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[0].linearVelocityMagnitude, 0.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[2].committedVelocityMagnitude, 0.0f);
    e.stack->redo();
    EXPECT_FLOAT_EQ(e.view->bodies[2].linearVelocityMagnitude, speed);
}

TEST(ToolDrag, VelocityWithNothingSelectedDoesNothing)
{
    Edit e;
    e.view->OnVelocityToolBtn();
    e.drag(e.emptyPixel(), e.emptyPixel() + QPoint(40, 40));
    EXPECT_EQ(e.stack->count(), 0);
    for (const MyBody& b : e.view->bodies)
        EXPECT_FLOAT_EQ(b.linearVelocityMagnitude, 0.0f);
}

TEST(ToolDrag, AEmaticAnchorDragsAreRecordedAbsoluteAndRelative)
{
    Edit e;
    e.view->selectBodies({1});
    e.stack->push(new QUndoCommand);  // a marker below the steps tested
    e.view->setType({BodyType::AEmatic}, {1});
    e.view->restartAnimation();
    e.view->OnAnchorToolBtn();

    const QPoint target = e.bodyPixel(1) + QPoint(20, 0);
    e.drag(e.bodyPixel(1), target);
    ASSERT_EQ(e.stack->count(), 2);
    EXPECT_EQ(e.lastText(), "Move AEmatic Anchor");
    const b2Vec2 anchor = e.view->bodies[1].aematicAnchor;
    EXPECT_GT(anchor.x, 0.05f);
    EXPECT_FLOAT_EQ(e.view->bodies[1].committedAematicAnchor.x, anchor.x);

    // With Alt the anchor follows the movement, here purely horizontal.
    e.drag(e.bodyPixel(1), e.bodyPixel(1) + QPoint(30, 0), Qt::AltModifier);
    ASSERT_EQ(e.stack->count(), 3);
    EXPECT_EQ(e.lastText(), "Move AEmatic Anchor");
    const b2Vec2 moved = e.view->bodies[1].aematicAnchor;
    EXPECT_GT(moved.x, anchor.x);
    EXPECT_FLOAT_EQ(moved.y, anchor.y);

    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, anchor.x);
    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, 0.0f);
    e.stack->redo();
    e.stack->redo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, moved.x);
}

TEST(ToolDrag, AEmaticAnchorStepsPassOverBodiesOfOtherTypes)
{
    Edit e;
    e.view->setType({BodyType::Static, BodyType::AEmatic}, {0, 1});
    e.view->restartAnimation();
    const b2Vec2 offset(0.5f, -0.25f);
    for (int row : {0, 1})
        e.view->bodies[size_t(row)].aematicAnchor = e.view->bodies[size_t(row)].committedAematicAnchor =
            b2Vec2(1.0f, 2.0f);

    // A relative drag moved the AEmatic body's anchor; the step carries both rows.
    e.view->bodies[1].aematicAnchor += offset;
    e.stack->push(new CommandAEmaticAnchorChange(e.view, offset, {0, 1}));
    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, 1.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].aematicAnchor.x, 1.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].aematicAnchor.y, 2.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].committedAematicAnchor.x, 1.0f);
    e.stack->redo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, 1.5f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].aematicAnchor.x, 1.0f);

    e.stack->push(new CommandAEmaticAnchorAbsChange(e.view, {b2Vec2(1.0f, 2.0f), b2Vec2(1.5f, 1.75f)},
                                                    {b2Vec2(3.0f, 3.0f), b2Vec2(4.0f, 4.0f)}, {0, 1}));
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, 4.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].aematicAnchor.x, 1.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].committedAematicAnchor.y, 2.0f);
    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, 1.5f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].aematicAnchor.x, 1.0f);
}

TEST(ToolDrag, ReleasingSpaceOnceBringsBackTheReplacedTool)
{
    Edit e;
    e.window->OnVelocityToolBtn();
    e.window->OnHandToolBtn();
    ASSERT_EQ(e.view->currentTool(), 1);

    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(e.window.get(), &repeated);
    EXPECT_EQ(e.view->currentTool(), 1);

    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QString(" "), false);
    QApplication::sendEvent(e.window.get(), &released);
    EXPECT_EQ(e.view->currentTool(), 4);
    EXPECT_TRUE(e.view->form().velocityToolBtn->isChecked());
}

} // namespace

namespace {

using namespace edit_test;

// Makes ready a drag of `tool` (0 selection, 2 anchor, 4 velocity) with
// `selected` selected, their bodies made AEmatic for the anchor tool; the
// bodies before it.
std::vector<MyBody> prepareDrag(Edit& e, int tool, const std::vector<int>& selected)
{
    if (tool == 2) {
        e.view->setType(std::vector<int>(selected.size(), BodyType::AEmatic), selected);
        e.view->restartAnimation();
    }
    e.view->selectBodies(selected);
    if (tool == 2)
        e.view->OnAnchorToolBtn();
    else if (tool == 4)
        e.view->OnVelocityToolBtn();
    return e.view->bodies;
}

// Whatever ended the drag: nothing in force differs from what is
// committed, and undoing the steps made since `entries` gives `start`.
void expectCommittedAndUndoable(const Edit& e, const std::vector<MyBody>& start, int entries)
{
    for (size_t i = 0; i < start.size(); ++i) {
        const MyBody& b = e.view->bodies[i];
        EXPECT_TRUE(b.position == b.committedPosition) << "body " << i;
        EXPECT_EQ(b.linearVelocityMagnitude, b.committedVelocityMagnitude) << "body " << i;
        EXPECT_EQ(b.linearVelocityDirection, b.committedVelocityDirection) << "body " << i;
        EXPECT_TRUE(b.aematicAnchor == b.committedAematicAnchor) << "body " << i;
    }
    while (e.stack->index() > entries)
        e.stack->undo();
    for (size_t i = 0; i < start.size(); ++i) {
        const MyBody& b = e.view->bodies[i];
        EXPECT_TRUE(b.position == start[i].position) << "body " << i;
        EXPECT_EQ(b.linearVelocityMagnitude, start[i].linearVelocityMagnitude) << "body " << i;
        EXPECT_EQ(b.linearVelocityDirection, start[i].linearVelocityDirection) << "body " << i;
        EXPECT_TRUE(b.aematicAnchor == start[i].aematicAnchor) << "body " << i;
    }
}

// Calls that change the selection or nudge while the mouse drags, not
// through a key: the release or the taking back reaches the bodies the drag
// began with, and the nudge starts from the committed places.
TEST(ToolDrag, ADragKeepsItsBodiesWhateverIsSelectedDuringIt)
{
    const auto invert = [](SimulationView& v) { v.OnInvertSelection(); };
    const struct
    {
        const char* what;
        int tool;
        std::vector<int> selected;
        std::function<void(SimulationView&)> call;
    } cases[] = {
        {"invert, body drag", 0, {0, 1}, invert},
        {"invert, velocity", 4, {0}, invert},
        {"invert, AEmatic anchors", 2, {0, 1}, invert},
        {"invert, then a tool switch", 0, {0, 1},
         [](SimulationView& v) {
             v.OnInvertSelection();
             v.OnHandToolBtn();
         }},
        {"nudge", 0, {1}, [](SimulationView& v) { v.OnRightKey(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e;
        const std::vector<MyBody> start = prepareDrag(e, c.tool, c.selected);
        const int entries = e.stack->index();
        const QPoint from = e.bodyPixel(c.selected.back());
        QTest::mousePress(e.gl, Qt::LeftButton, Qt::NoModifier, from);
        e.moveTo(from + QPoint(30, 10));
        c.call(*e.view);
        e.moveTo(from + QPoint(60, 20));
        QTest::mouseRelease(e.gl, Qt::LeftButton, Qt::NoModifier, from + QPoint(60, 20));
        expectCommittedAndUndoable(e, start, entries);
    }
}

// A shortcut pressed while the mouse still drags: the history's step (an
// undo, Reset Scene) or a tool switch ends the drag; what the drag wrote
// goes back and its release makes no step.
TEST(ToolDrag, AStepOrAToolSwitchDuringADragEndsIt)
{
    struct Case
    {
        const char* what;
        bool velocityTool;
        std::function<void(Edit&)> interrupt;
    };
    const Case cases[] = {
        {"undo", false, [](Edit& e) { e.view->form().undo->trigger(); }},
        {"Reset Scene", false, [](Edit& e) { e.view->OnResetScene(); }},
        {"undo, velocity tool", true, [](Edit& e) { e.view->form().undo->trigger(); }},
        {"play, velocity tool", true, [](Edit& e) { e.view->form().playBtn->click(); }},
        // Its release went elsewhere (a pointer grab another program took).
        {"a move with no button held", false,
         [](Edit& e) {
             const QPoint at = e.bodyPixel(1) + QPoint(5, 5);
             QMouseEvent move(QEvent::MouseMove, QPointF(at), e.gl->mapToGlobal(QPointF(at)), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(e.gl, &move);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e;
        e.view->setDensity({3.0f}, {2});
        e.view->selectBodies({2});
        e.view->form().densityEt->setValue(4.0);
        emit e.view->form().densityEt->editingFinished();
        ASSERT_EQ(e.stack->count(), 1);
        e.click(e.bodyPixel(1));
        const MyBody before = e.view->bodies[1];
        if (c.velocityTool)
            e.view->form().velocityToolBtn->click();
        const QPoint from = e.bodyPixel(1);
        QTest::mousePress(e.gl, Qt::LeftButton, Qt::NoModifier, from);
        e.moveTo(from + QPoint(30, 20));
        c.interrupt(e);
        const int index = e.stack->index();
        e.moveTo(from + QPoint(60, 40));
        QTest::mouseRelease(e.gl, Qt::LeftButton, Qt::NoModifier, from + QPoint(60, 40));
        EXPECT_EQ(e.stack->index(), index);
        const MyBody& after = e.view->bodies[1];
        EXPECT_EQ(after.position.x, before.position.x);
        EXPECT_EQ(after.position.y, before.position.y);
        EXPECT_EQ(after.linearVelocityMagnitude, before.linearVelocityMagnitude);
        EXPECT_EQ(after.linearVelocityDirection, before.linearVelocityDirection);
        // Undoing what is left gives the scene from before the drag.
        while (e.stack->canUndo())
            e.stack->undo();
        EXPECT_EQ(e.view->bodies[1].position.x, before.position.x);
        EXPECT_EQ(e.view->bodies[2].density, 3.0f);
    }
}

} // namespace

// The real pointer: a drag that another button, a message or an Alt drag
// over bodies of several types interrupts or mixes up still leaves exactly
// one step for what moved, or puts everything back.
namespace {

using namespace edit_test;
using real_pointer::moveTo;
using real_pointer::xdotool;

// Presses the real pointer's button 1 at `from` and moves it right by `by`.
QStringList pressAndMove(QPoint from, int by)
{
    QStringList drag = moveTo(from);
    drag << QStringLiteral("mousedown") << QStringLiteral("1");
    for (int dx = 10; dx <= by; dx += 10)
        drag << moveTo(from + QPoint(dx, dx / 4));
    return drag;
}

// The bodies are where they were, committed, and the history is untouched.
void expectPutBack(const Edit& e, const std::vector<MyBody>& before, int entries)
{
    EXPECT_FALSE(e.gl->dragArmed);
    EXPECT_EQ(e.stack->count(), entries);
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(e.view->bodies[i].position.x, before[i].position.x) << "body " << i;
        EXPECT_EQ(e.view->bodies[i].position.y, before[i].position.y) << "body " << i;
        EXPECT_EQ(e.view->bodies[i].committedPosition.x, before[i].position.x) << "body " << i;
    }
}

TEST(RealPointerDrag, AnAltDragOfAnAEmaticAnchorIsOneStepWhicheverBodyComesFirst)
{
    SKIP_WITHOUT_REAL_POINTER();
    Edit e;
    e.view->setType({BodyType::AEmatic}, {1});  // body 0 stays Dynamic
    e.view->restartAnimation();
    e.view->selectBodies({0, 1});
    e.view->OnAnchorToolBtn();
    const int entries = e.stack->count();

    QStringList drag = QStringList{QStringLiteral("keydown"), QStringLiteral("alt")}
                       << pressAndMove(e.gl->mapToGlobal(e.bodyPixel(1)), 60);
    drag << QStringLiteral("mouseup") << QStringLiteral("1") << QStringLiteral("keyup") << QStringLiteral("alt");
    ASSERT_TRUE(xdotool(drag));
    const b2Vec2 moved = e.view->bodies[1].aematicAnchor;
    EXPECT_GT(moved.x, 0.3f);
    ASSERT_EQ(e.stack->count(), entries + 1);
    EXPECT_EQ(e.lastText(), "Move AEmatic Anchor");
    EXPECT_EQ(e.view->bodies[1].committedAematicAnchor.x, moved.x);

    e.stack->undo();
    EXPECT_NEAR(e.view->bodies[1].aematicAnchor.x, 0.0f, 1e-6f);
    EXPECT_NEAR(e.view->bodies[1].aematicAnchor.y, 0.0f, 1e-6f);
    e.stack->redo();
    EXPECT_FLOAT_EQ(e.view->bodies[1].aematicAnchor.x, moved.x);
}

TEST(RealPointerDrag, AnAnchorDragOverJointsOfTwoKindsIsOneStep)
{
    SKIP_WITHOUT_REAL_POINTER();
    Edit e;
    e.view->selectBodies({0, 1});
    e.view->addDistanceJointBetweenSelectedBodies();
    e.view->selectBodies({1, 2});
    e.view->addRevoluteJointBetweenSelectedBodies();
    e.view->selectJoints({0, 1});
    e.view->OnAnchorToolBtn();
    const MyJoint distance = e.view->joints[0];
    const MyJoint pivot = e.view->joints[1];
    const int entries = e.stack->count();

    QStringList drag = QStringList{QStringLiteral("keydown"), QStringLiteral("alt")}
                       << pressAndMove(e.gl->mapToGlobal(e.bodyPixel(1)), 60);
    drag << QStringLiteral("mouseup") << QStringLiteral("1") << QStringLiteral("keyup") << QStringLiteral("alt");
    ASSERT_TRUE(xdotool(drag));
    EXPECT_GT(e.view->joints[1].anchor.x, pivot.anchor.x + 0.3f);
    ASSERT_EQ(e.stack->count(), entries + 1);
    EXPECT_EQ(e.lastText(), "Move Joint Anchor");

    e.stack->undo();
    EXPECT_NEAR(e.view->joints[0].anchorA.x, distance.anchorA.x, 1e-5f);
    EXPECT_NEAR(e.view->joints[0].anchorB.x, distance.anchorB.x, 1e-5f);
    EXPECT_NEAR(e.view->joints[1].anchor.x, pivot.anchor.x, 1e-5f);
}

TEST(RealPointerDrag, ARightClickDuringABodyDragPutsTheBodiesBackAndOpensNoMenu)
{
    SKIP_WITHOUT_REAL_POINTER();
    Edit e;
    e.click(e.bodyPixel(0));
    e.click(e.bodyPixel(1), Qt::ShiftModifier);
    const std::vector<MyBody> before = e.view->bodies;
    const int entries = e.stack->count();
    // A menu that opens all the same is closed, so that the drag goes on.
    bool menuShown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    closer.start(20);

    const QPoint from = e.gl->mapToGlobal(e.bodyPixel(1));
    QStringList drag = pressAndMove(from, 50);
    drag << QStringLiteral("click") << QStringLiteral("3") << QStringLiteral("sleep") << QStringLiteral("0.3")
         << moveTo(from + QPoint(90, 30)) << QStringLiteral("mouseup") << QStringLiteral("1")
         << moveTo(from + QPoint(120, 40));
    ASSERT_TRUE(xdotool(drag));
    EXPECT_FALSE(menuShown);
    expectPutBack(e, before, entries);
}

TEST(RealPointerDrag, AMessageDuringABodyDragEndsItAndTheBodiesGoBack)
{
    SKIP_WITHOUT_REAL_POINTER();
    Edit e;
    e.click(e.bodyPixel(1));
    const std::vector<MyBody> before = e.view->bodies;
    const int entries = e.stack->count();
    const QPoint from = e.gl->mapToGlobal(e.bodyPixel(1));
    ASSERT_TRUE(xdotool(pressAndMove(from, 40)));
    ASSERT_GT(e.view->bodies[1].position.x, before[1].position.x + 0.1f);

    // The button comes up while the message shows, and never reaches the view.
    // The drag ends as soon as the message shows.
    bool answered = false;
    bool backWhileShown = false;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        backWhileShown = !e.gl->dragArmed && e.view->bodies[1].position.x == before[1].position.x;
        answered = xdotool(moveTo(from + QPoint(60, 10)) << QStringLiteral("mouseup") << QStringLiteral("1"));
        box.accept();
    });
    QMessageBox::information(e.window.get(), QStringLiteral("Zolvar"), QStringLiteral("A message mid-drag."));
    EXPECT_TRUE(answered);
    EXPECT_TRUE(backWhileShown);
    // The pointer now moves with no button held: nothing follows it.
    ASSERT_TRUE(xdotool(moveTo(from + QPoint(90, 30)) << moveTo(from + QPoint(120, 50))));
    expectPutBack(e, before, entries);
}

// The paint events one widget receives.
struct PaintCount : QObject
{
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override { return count += event->type() == QEvent::Paint, false; }
};

// The real pointer moving over the view, with no button and in a drag of the
// hand, repaints the view at the frame timer's pace, not at the pointer's, and
// the window at most twice a frame (the view, and the read-outs laid out
// again); the pan and the pointer's coordinates are shown by the next frame.
TEST(RealPointerDrag, ThePointersMovesRepaintTheWindowAtTheFramesPace)
{
    SKIP_WITHOUT_REAL_POINTER();
    // Five frames a second: the pointer moves about twenty times a frame.
    Edit e(QByteArray(kThreeBoxes).replace("\"frameRate\": 25", "\"frameRate\": 5"));
    e.view->OnHandToolBtn();
    PaintCount window, view;
    e.window->installEventFilter(&window);
    e.gl->installEventFilter(&view);
    int ticks = 0;
    QObject::connect(e.view->getTimer(), &QTimer::timeout, [&ticks] { ++ticks; });
    e.view->getTimer()->start();
    const QPoint from = e.gl->mapToGlobal(e.emptyPixel());
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "the hand's drag" : "no button");
        QStringList moves = moveTo(from);
        if (held)
            moves << QStringLiteral("mousedown") << QStringLiteral("1");
        for (int i = 1; i <= 60; ++i)
            moves << moveTo(from + QPoint(3 * i, i)) << QStringLiteral("sleep") << QStringLiteral("0.01");
        if (held)
            moves << QStringLiteral("mouseup") << QStringLiteral("1");
        QTest::qWait(250);
        const float panX = e.gl->panX;
        window.count = view.count = ticks = 0;
        ASSERT_TRUE(xdotool(moves));
        QTest::qWait(250);
        EXPECT_LE(window.count, 2 * ticks + 2);
        EXPECT_LE(view.count, ticks + 2);
        EXPECT_GE(view.count, 3);
        EXPECT_EQ(e.gl->panX != panX, held);
        const QPointF last = e.gl->mapFromGlobal(QPointF(from + QPoint(180, 60)));
        const float x = e.gl->getGLXCoordFromView(float(last.x()), float(e.gl->width()));
        const float y = e.gl->getGLYCoordFromView(float(last.y()), float(e.gl->height()));
        EXPECT_EQ(e.window->form().mouseCoordsSt->text(),
                  QString::asprintf("X: %d\nY: %d\n", int(e.view->getAEXCoordFromGL(x)), int(e.view->getAEYCoordFromGL(y))));
    }
}

// Keys pressed while the real pointer drags with one or several bodies
// selected: the key finds the drag taken back and acts on the committed
// scene, so it makes only its own steps; Escape leaves none. Shift, Ctrl and
// Alt steer the drag and keep it: its release makes its one step.
TEST(RealPointerDrag, AKeyDuringADragFindsItTakenBack)
{
    SKIP_WITHOUT_REAL_POINTER();
    const struct
    {
        const char* key;
        int tool;
        std::vector<int> selected;
        int steps;  // the key's own, or the drag's
    } cases[] = {
        {"i", 0, {0, 1}, 0},      {"Right", 0, {1}, 1}, {"shift+Left", 0, {0, 1}, 1}, {"Up", 0, {1}, 1},
        {"i", 4, {0}, 0},         {"i", 2, {0, 1}, 0},  {"Escape", 0, {0, 1}, 0},    {"Escape", 4, {0}, 0},
        {"shift", 0, {0, 1}, 1},  {"ctrl", 4, {0}, 1},  {"alt", 0, {1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + ", tool " + std::to_string(c.tool));
        Edit e;
        e.window->activateWindow();
        (void)QTest::qWaitForWindowActive(e.window.get());
        const std::vector<MyBody> start = prepareDrag(e, c.tool, c.selected);
        const int entries = e.stack->index();
        const QPoint from = e.gl->mapToGlobal(e.bodyPixel(c.selected.back()));
        ASSERT_TRUE(xdotool(pressAndMove(from, 50)));
        ASSERT_TRUE(e.gl->dragArmed);
        ASSERT_TRUE(xdotool(QStringList{QStringLiteral("key"), QString::fromLatin1(c.key)}
                            << moveTo(from + QPoint(90, 30)) << QStringLiteral("mouseup") << QStringLiteral("1")));
        EXPECT_FALSE(e.gl->dragArmed);
        EXPECT_EQ(e.stack->index(), entries + c.steps);
        expectCommittedAndUndoable(e, start, entries);
    }
}

} // namespace
