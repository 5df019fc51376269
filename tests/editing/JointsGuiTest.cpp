// Joints made from the joint buttons' planners, removed, undone and redone:
// the joint list, the joints table and the bodies' own lists stay in step,
// and each step leaves the scene stopped at frame 0.
#include "JointFixture.h"

#include "properties/DragCommands.h"
#include "properties/EditBox.h"

#include <QAbstractButton>
#include <QTabWidget>

#include <random>

namespace {

using namespace joint_test;
using Rows = std::vector<int>;
using Pairs = std::vector<std::pair<int, int>>;

TEST(JointCreation, ClickOrderChainsAndTableSelectionsFollowTheBodyList)
{
    Scene s;
    GLWidget* gl = s.view->getGLWidget();
    auto clickBody = [&](int body, Qt::KeyboardModifiers mods) {
        const b2Vec2 p = s.view->bodies[size_t(body)].position;
        const QPoint at(int(gl->getViewXCoordFromGL(p.x, float(gl->width()))),
                        int(gl->getViewYCoordFromGL(p.y, float(gl->height()))));
        QTest::mousePress(gl, Qt::LeftButton, mods, at);
        QTest::mouseRelease(gl, Qt::LeftButton, mods, at);
    };
    // Bodies 3, 1, 2 of the issue are rows 2, 0, 1 here.
    clickBody(2, Qt::NoModifier);
    clickBody(0, Qt::ShiftModifier);
    clickBody(1, Qt::ShiftModifier);
    s.view->addSpringJointBetweenSelectedBodies();
    EXPECT_EQ(s.pairs(), Pairs({{2, 0}, {0, 1}}));
    EXPECT_EQ(s.lastText(), "Add Spring Joint");
    EXPECT_EQ(s.stack->count(), 1);

    // A table selection has no click order: the body list's order.
    s.stack->undo();
    const QPoint empty(int(gl->getViewXCoordFromGL(0.0f, float(gl->width()))),
                       int(gl->getViewYCoordFromGL(-4.0f, float(gl->height()))));
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_TRUE(s.view->clickOrder().empty());
    s.selectBodies({2, 0, 1});
    s.view->addRevoluteJointBetweenSelectedBodies();
    EXPECT_EQ(s.pairs(), Pairs({{0, 1}, {1, 2}}));

    // One body: no command.
    s.selectBodies({1});
    const int count = s.stack->count();
    for (auto planner : {&SimulationView::addDistanceJointBetweenSelectedBodies,
                         &SimulationView::addRevoluteJointBetweenSelectedBodies,
                         &SimulationView::addPrismaticJointBetweenSelectedBodies,
                         &SimulationView::addSpringJointBetweenSelectedBodies})
        (s.view->*planner)();
    EXPECT_EQ(s.stack->count(), count);
}

TEST(JointCreation, EveryPairAndTriangulationFromTheModifiers)
{
    Scene s(project({{200, 200}, {800, 200}, {800, 800}, {200, 800}}));
    s.view->setJointModifiersOverride(Qt::ControlModifier | Qt::AltModifier);
    s.addAll({0, 1, 2, 3}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    EXPECT_EQ(s.pairs(), Pairs({{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}));
    EXPECT_EQ(s.lastText(), "Add Distance Joint");
    expectConsistent(*s.view);

    s.stack->undo();
    s.view->setJointModifiersOverride(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    s.addAll({0, 1, 2}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    EXPECT_EQ(s.view->joints.size(), 3u);
    expectConsistent(*s.view);
}

TEST(JointCreation, StackedBodiesGetTheTriangulationMessageAndNoCommand)
{
    Scene s(project({{500, 500}, {500, 500}, {500, 500}}));
    s.view->setJointModifiersOverride(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    MessageCatcher catcher;
    s.addAll({0, 1, 2}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    EXPECT_EQ(catcher.texts,
              QStringList{"Delaunay triangulation requires at least three bodies with different positions."});
    EXPECT_EQ(s.stack->count(), 0);
    EXPECT_TRUE(s.view->joints.empty());
}

TEST(JointCreation, EachKindStartsFromItsDefaults)
{
    Scene s;
    s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    s.addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
    s.addAll({1, 2}, &SimulationView::addPrismaticJointBetweenSelectedBodies);
    s.addAll({0, 1}, &SimulationView::addSpringJointBetweenSelectedBodies);
    ASSERT_EQ(s.view->joints.size(), 4u);
    const MyJoint& d = s.view->joints[0];
    EXPECT_EQ(d.type, JointType::Distance);
    EXPECT_TRUE(d.collideConnected);
    EXPECT_EQ(d.frequency, 0.0f);
    EXPECT_EQ(d.damping, 0.0f);
    EXPECT_EQ(d.bodyALayerName, "L1");
    EXPECT_EQ(d.bodyBLayerIndex, 2);
    EXPECT_EQ(d.bodyBLayerID, s.view->bodies[1].layerID);

    const MyJoint& p = s.view->joints[1];
    EXPECT_NEAR(p.anchor.x, 1.5f, 1e-5f);
    EXPECT_EQ(p.committedAnchor.x, p.anchor.x);
    EXPECT_FALSE(p.enableLimit);
    EXPECT_FALSE(p.enableMotor);
    EXPECT_TRUE(p.collideConnected);

    const MyJoint& q = s.view->joints[2];
    EXPECT_NEAR(q.axis.x, 1.0f, 1e-6f);
    EXPECT_EQ(q.committedAxis.x, q.axis.x);

    const MyJoint& sp = s.view->joints[3];
    EXPECT_FLOAT_EQ(sp.desiredLength, 3.0f);  // 300 composition pixels
    EXPECT_EQ(sp.springiness, 1.0f);
    EXPECT_EQ(sp.damping, 0.5f);
    EXPECT_DOUBLE_EQ(s.ui.springJointDesiredLengthEt->value(), 3.0);
    EXPECT_EQ(s.stack->count(), 4);  // the edit box's value made no command

    // Colours by kind, none selected.
    EXPECT_FLOAT_EQ(s.view->joints[1].jointUserData->color.g, 1.0f);
    EXPECT_FLOAT_EQ(s.view->joints[3].jointUserData->color.b, 1.0f);
    for (const MyJoint& j : s.view->joints) {
        EXPECT_FALSE(j.selected);
        EXPECT_FALSE(j.jointUserData->selected);
        EXPECT_NE(j.joint == nullptr, j.type != JointType::Spring);
    }
}

TEST(JointTable, HeadersWidthsAndRowsOfANewTable)
{
    Scene s;
    const QStandardItemModel* m = s.model();
    EXPECT_EQ(m->columnCount(), 6);
    EXPECT_EQ(m->rowCount(), 0);
    const char* const headers[] = {"#", "Type", "#A", "Body A", "#B", "Body B"};
    const char* const tips[] = {"Joint Index", "", "Body A Index", "", "Body B Index", ""};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(m->horizontalHeaderItem(c)->text(), headers[c]);
        EXPECT_EQ(m->horizontalHeaderItem(c)->toolTip(), tips[c]);
    }
    for (int c : {0, 1, 2, 4})
        EXPECT_EQ(s.ui.jointsTable->columnWidth(c), 30);
    EXPECT_EQ(s.ui.jointsTable->verticalHeader()->defaultSectionSize(),
              s.ui.jointsTable->fontMetrics().height() + 4);
}

TEST(JointTable, RemovingRowsOneAndThreeOfFiveAndUndoingPutsThemBack)
{
    Scene s(project({{100, 500}, {300, 500}, {500, 500}, {700, 500}, {900, 500}, {500, 100}}));
    s.addAll({0, 1, 2, 3, 4, 5}, &SimulationView::addSpringJointBetweenSelectedBodies);
    ASSERT_EQ(s.view->joints.size(), 5u);
    const Pairs before = s.pairs();

    s.view->selectJoints({3, 1});
    s.view->removeSelectedJoints();
    EXPECT_EQ(s.lastText(), "Remove Joint");
    EXPECT_EQ(s.pairs(), Pairs({before[0], before[2], before[4]}));
    expectConsistent(*s.view);
    EXPECT_FALSE(s.ui.springJointSpringinessEt->isEnabled());

    s.stack->undo();
    EXPECT_EQ(s.pairs(), before);
    expectConsistent(*s.view);
    EXPECT_TRUE(s.selectedJoints().empty());
    s.stack->redo();
    EXPECT_EQ(s.pairs(), Pairs({before[0], before[2], before[4]}));
    expectConsistent(*s.view);
}

TEST(JointTable, RandomEditsKeepListTableAndBodyListsInStep)
{
    Scene s(project({{150, 300}, {400, 250}, {700, 350}, {850, 700}, {450, 750}, {200, 650}}));
    MessageCatcher catcher;
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const Qt::KeyboardModifiers modes[] = {Qt::NoModifier, Qt::ControlModifier | Qt::AltModifier,
                                           Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier,
                                           Qt::AltModifier | Qt::ShiftModifier, Qt::AltModifier};
    for (int step = 0; step < 120; ++step) {
        const int action = pick(8);
        if (action <= 3) {
            Rows bodies;
            for (int b = 0; b < 6; ++b)
                if (pick(2))
                    bodies.push_back(b);
            s.view->setJointModifiersOverride(modes[pick(5)]);
            const std::array planners = {&SimulationView::addDistanceJointBetweenSelectedBodies,
                                         &SimulationView::addRevoluteJointBetweenSelectedBodies,
                                         &SimulationView::addPrismaticJointBetweenSelectedBodies,
                                         &SimulationView::addSpringJointBetweenSelectedBodies};
            s.addAll(bodies, planners[size_t(action)]);
        } else if (action == 4 && !s.view->joints.empty()) {
            Rows rows;
            for (size_t j = 0; j < s.view->joints.size(); ++j)
                if (pick(3) == 0)
                    rows.push_back(int(j));
            s.view->selectJoints(rows);
            s.view->removeSelectedJoints();
        } else if (action <= 6) {
            s.stack->undo();
        } else {
            s.stack->redo();
        }
        SCOPED_TRACE(step);
        expectConsistent(*s.view);
        EXPECT_FALSE(s.view->playing);
        if (::testing::Test::HasFailure())
            break;
    }
    // Everything undone: no joint left, every body list empty.
    while (s.stack->canUndo())
        s.stack->undo();
    EXPECT_TRUE(s.view->joints.empty());
    expectConsistent(*s.view);
}

TEST(JointTable, AddJointsAndRemoveJointsSkipRowsOutOfRange)
{
    Scene s;
    s.addAll({0, 1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);
    s.view->removeJoints({-1, 7, 1});
    ASSERT_EQ(s.view->joints.size(), 1u);
    expectConsistent(*s.view);

    MyJoint stray = s.view->joints[0];
    stray.id = 40;  // past the end: appended
    stray.bodyA = 1;
    stray.bodyB = 2;
    s.view->addJoints({stray});
    ASSERT_EQ(s.view->joints.size(), 2u);
    EXPECT_EQ(s.view->joints[1].bodyA, 1);
    expectConsistent(*s.view);
}

TEST(JointSteps, AdditionsRemovalsAndAnchorMovesLeaveTheSceneStopped)
{
    Scene s;
    s.selectBodies({0, 1});
    auto play = [&] {
        s.view->playAnimation();
        for (int i = 0; i < 3; ++i)
            s.view->updatePhysics();
        ASSERT_GT(s.view->currentFrame, 0);
    };
    auto expectStopped = [&] {
        EXPECT_FALSE(s.view->playing);
        EXPECT_EQ(s.view->currentFrame, 0);
    };
    play();
    s.view->addRevoluteJointBetweenSelectedBodies();
    expectStopped();
    play();
    s.stack->undo();
    expectStopped();
    play();
    s.stack->redo();
    expectStopped();

    play();
    s.view->selectJoints({0});
    s.view->removeSelectedJoints();
    expectStopped();
    play();
    s.stack->undo();
    expectStopped();

    play();
    s.stack->push(new CommandRJointAnchorsChange(s.view, {b2Vec2(-1.5f, 0.0f)}, {b2Vec2(-1.0f, 0.5f)}, {0}));
    expectStopped();
}

TEST(JointAnchorCommands, OffsetsMoveBackAndForthAndAbsoluteValuesRestore)
{
    Scene s;
    s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    s.addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
    s.addAll({1, 2}, &SimulationView::addPrismaticJointBetweenSelectedBodies);
    MyJoint& d = s.view->joints[0];
    const b2Vec2 a0 = d.anchorA;
    const b2Vec2 b0 = d.anchorB;

    // The drag moved anchor A by (1, 0); the push commits it.
    d.anchorA += b2Vec2(1.0f, 0.0f);
    s.stack->push(new CommandDSJointAnchorsChange(s.view, {b2Vec2(1.0f, 0.0f)}, {b2Vec2(0.0f, 0.0f)}, {0}));
    EXPECT_EQ(s.lastText(), "Move Joint Anchor");
    EXPECT_FLOAT_EQ(s.view->joints[0].anchorA.x, a0.x + 1.0f);
    EXPECT_FLOAT_EQ(s.view->joints[0].committedAnchorA.x, a0.x + 1.0f);
    for (int round = 0; round < 2; ++round) {
        s.stack->undo();
        EXPECT_FLOAT_EQ(s.view->joints[0].anchorA.x, a0.x);
        EXPECT_FLOAT_EQ(s.view->joints[0].anchorB.x, b0.x);
        EXPECT_FLOAT_EQ(s.view->joints[0].committedAnchorA.x, a0.x);
        s.stack->redo();
        EXPECT_FLOAT_EQ(s.view->joints[0].anchorA.x, a0.x + 1.0f);
        EXPECT_FLOAT_EQ(s.view->joints[0].anchorB.x, b0.x);
    }

    const b2Vec2 pivot = s.view->joints[1].anchor;
    s.stack->push(new CommandRJointAnchorsChange(s.view, {pivot}, {b2Vec2(2.0f, 1.0f)}, {1}));
    EXPECT_FLOAT_EQ(s.view->joints[1].anchor.y, 1.0f);
    s.stack->undo();
    EXPECT_FLOAT_EQ(s.view->joints[1].anchor.x, pivot.x);
    EXPECT_FLOAT_EQ(s.view->joints[1].committedAnchor.y, pivot.y);

    const b2Vec2 axis = s.view->joints[2].axis;
    s.stack->push(new CommandPJointAnchorsChange(s.view, {axis}, {b2Vec2(0.0f, 1.0f)}, {2}));
    EXPECT_FLOAT_EQ(s.view->joints[2].axis.y, 1.0f);
    s.stack->undo();
    EXPECT_FLOAT_EQ(s.view->joints[2].axis.x, axis.x);
    EXPECT_FLOAT_EQ(s.view->joints[2].committedAxis.y, axis.y);
    s.stack->redo();
    EXPECT_FLOAT_EQ(s.view->joints[2].committedAxis.y, 1.0f);
}

TEST(VelocitySetter, NoRowsLeaveThePanelAsItIs)
{
    Scene s;
    s.ui.velocityMagnitudeEt->setValue(7.0);
    s.ui.velocityDirectionEt->setValue(45.0);
    s.view->setBodiesVelocity({1.0f}, {2.0f}, {});
    EXPECT_DOUBLE_EQ(s.ui.velocityMagnitudeEt->value(), 7.0);
    EXPECT_DOUBLE_EQ(s.ui.velocityDirectionEt->value(), 45.0);
}

} // namespace

namespace {

TEST(JointButtons, ThePanelsButtonsReachThePlannersAndTheRemoval)
{
    Scene s;
    s.selectBodies({0, 1, 2});
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {s.ui.addDistanceJointBtn, "Add Distance Joint"},
        {s.ui.addRevoluteJointBtn, "Add Pivot Joint"},
        {s.ui.addPrismaticJointBtn, "Add Piston Joint"},
        {s.ui.addSpringJointBtn, "Add Spring Joint"},
    };
    for (const auto& [button, text] : buttons) {
        button->click();
        EXPECT_EQ(s.lastText(), text);
    }
    EXPECT_EQ(s.view->joints.size(), 8u);
    expectConsistent(*s.view);

    // A click on a body in the view filters the table to its joints.
    GLWidget* gl = s.view->getGLWidget();
    const b2Vec2 p = s.view->bodies[0].position;
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier,
                      QPoint(int(gl->getViewXCoordFromGL(0.0f, float(gl->width()))),
                             int(gl->getViewYCoordFromGL(-4.0f, float(gl->height())))));
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier,
                      QPoint(int(gl->getViewXCoordFromGL(p.x, float(gl->width()))),
                             int(gl->getViewYCoordFromGL(p.y, float(gl->height())))));
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(s.ui.jointsTable->isRowHidden(row), row % 2 == 1) << row;

    s.view->selectJoints({0, 4});
    s.ui.removeJointBtn->click();
    EXPECT_EQ(s.lastText(), "Remove Joint");
    EXPECT_EQ(s.view->joints.size(), 6u);
    expectConsistent(*s.view);
}

} // namespace
