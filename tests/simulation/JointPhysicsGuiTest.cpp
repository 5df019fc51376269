// Joints acting in the simulation and in the export: a pendulum keeps its
// radius, rigid and soft distance joints, a spring settling at its length, a
// piston on its axis within its limits, motors; joints surviving body edits
// and hostile records surviving create, play, undo, redo and export.
#include "../editing/JointFixture.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "properties/DragCommands.h"
#include "properties/EditBox.h"
#include "properties/JointCommands.h"
#include "properties/PropertyCommands.h"
#include "simulation/KeyframeExport.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <limits>

namespace {

using namespace joint_test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Body 0 Static at (-3, 0), bodies 1 and 2 Dynamic at (0, 0) and (3, 0).
struct Physics : Scene
{
    explicit Physics(const QByteArray& json = threeInARow()) : Scene(json)
    {
        view->setType({BodyType::Static}, {0});
        view->restartAndStopAnimation(false);
    }
    void gravity(double magnitude) { ui.gravityMagnitudeEt->setValue(magnitude); }
    b2Vec2 centre(int body) const { return view->bodies[size_t(body)].body->GetWorldCenter(); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            view->updatePhysics();
    }
    // Plays and records frames 0 to `last` without handing them over, then
    // writes them into the composition as the export would.
    QString recordAndWrite(int last)
    {
        view->startExport(0, last + 1);
        while (view->currentFrame <= last)
            view->updatePhysics();
        view->exporting = false;
        view->pauseAnimation();

        std::vector<ExportBody> exported;
        for (size_t b = 0; b < view->bodies.size(); ++b)
            exported.push_back({view->bodyLayerIndices[b], view->bodies[b].type, view->bodies[b].initialRotation,
                                view->bodies[b].name});
        ExportSettings settings;
        settings.frameDuration = view->frameDuration;
        settings.startFrame = 0;
        settings.endFrame = last;
        KeyframeExport writer(view->basicSuite, view->pluginId);
        QString problem;
        if (!writer.begin(view->comp, settings, exported, view->bodyTransforms, &problem))
            return problem;
        while (!writer.writeNextLayer()) {
        }
        return writer.failures().join('\n');
    }
    const standin::PropertyNode* positionKeys(int layer) const
    {
        return host->project->compositionByName(QStringLiteral("Main"))
            ->layer(layer)
            ->transformStream(standin::TransformStream::Position);
    }
};

TEST(JointPhysics, APendulumKeepsItsRadiusAndSoDoItsKeys)
{
    Physics s;
    s.addAll({0, 1}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
    // The pivot goes to the static body's centre: radius 3.
    s.stack->push(new CommandRJointAnchorsChange(s.view, {s.view->joints[0].anchor}, {b2Vec2(-3.0f, 0.0f)}, {0}));
    const b2Vec2 pivot(-3.0f, 0.0f);
    s.view->playAnimation();
    float lowest = 0.0f;
    for (int frame = 0; frame < 50; ++frame) {
        s.ticks(1);
        EXPECT_NEAR((s.centre(1) - pivot).Length(), 3.0f, 0.03f) << frame;
        lowest = std::max(lowest, s.centre(1).y);
    }
    EXPECT_GT(lowest, 2.0f);  // it swung down

    ASSERT_EQ(s.recordAndWrite(50), QString());
    const standin::PropertyNode* keys = s.positionKeys(1);
    ASSERT_EQ(keys->keyCount(), 51);
    for (int i = 0; i < keys->keyCount(); ++i) {
        const double dx = keys->key(i)->value.x() - 200.0;  // the pivot in composition pixels
        const double dy = keys->key(i)->value.y() - 500.0;
        EXPECT_NEAR(std::hypot(dx, dy), 300.0, 3.0) << i;
    }
}

TEST(JointPhysics, RigidDistanceJointsKeepTheirLengthAndTensionOscillates)
{
    for (float tension : {0.0f, 2.0f}) {
        SCOPED_TRACE(tension);
        Physics s;
        s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
        s.stack->push(new CommandDistanceJointCollideConnectedChange(s.view, {true}, {false}, {0}));
        s.stack->push(new CommandDistanceJointFrequencyChange(s.view, {0.0f}, {tension}, {0}));
        s.view->playAnimation();
        float shortest = 1e9f, longest = 0.0f;
        for (int frame = 0; frame < 50; ++frame) {
            s.ticks(1);
            const float length = (s.centre(1) - s.centre(0)).Length();
            shortest = std::min(shortest, length);
            longest = std::max(longest, length);
        }
        if (tension == 0.0f) {
            EXPECT_NEAR(shortest, 3.0f, 0.03f);
            EXPECT_NEAR(longest, 3.0f, 0.03f);
        } else {
            EXPECT_GT(longest - shortest, 0.1f);
        }
    }
}

TEST(JointPhysics, ASpringSettlesNearItsLength)
{
    Physics s;
    s.gravity(0.0);
    s.addAll({0, 1}, &SimulationView::addSpringJointBetweenSelectedBodies);
    EXPECT_FLOAT_EQ(s.view->joints[0].desiredLength, 3.0f);
    s.stack->push(new CommandSpringJointDesiredLengthChange(s.view, {3.0f}, {2.0f}, {0}));
    s.stack->push(new CommandSpringJointDampingChange(s.view, {0.5f}, {2.0f}, {0}));
    s.view->playAnimation();
    s.ticks(500);
    EXPECT_NEAR((s.centre(1) - s.centre(0)).Length(), 2.0f, 0.1f);
}

TEST(JointPhysics, APistonStaysOnItsAxisWithinItsLimits)
{
    Physics s;
    s.addAll({0, 1}, &SimulationView::addPrismaticJointBetweenSelectedBodies);
    s.stack->push(new CommandPrismaticJointEnableLimitChange(s.view, {false}, {true}, {0}));
    s.stack->push(new CommandPrismaticJointLowerTranslationChange(s.view, {0.0f}, {-1.0f}, {0}));
    s.stack->push(new CommandPrismaticJointUpperTranslationChange(s.view, {0.0f}, {1.0f}, {0}));
    s.stack->push(new CommandPrismaticJointEnableMotorChange(s.view, {false}, {true}, {0}));
    s.stack->push(new CommandPrismaticJointMotorSpeedChange(s.view, {0.0f}, {2.0f}, {0}));
    s.stack->push(new CommandPrismaticJointMaxMotorForceChange(s.view, {0.0f}, {100.0f}, {0}));
    s.view->playAnimation();
    for (int frame = 0; frame < 50; ++frame) {
        s.ticks(1);
        EXPECT_NEAR(s.centre(1).y, 0.0f, 0.01f);  // gravity pulls across the axis
        EXPECT_LE(std::fabs(s.centre(1).x), 1.02f);
    }
    // The motor drove it to a limit (its speed goes to the world negated).
    EXPECT_NEAR(s.centre(1).x, -1.0f, 0.02f);
}

TEST(JointPhysics, APivotsMotorTurnsItsBody)
{
    Physics p;
    p.gravity(0.0);
    p.addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
    p.stack->push(new CommandRevoluteJointEnableMotorChange(p.view, {false}, {true}, {0}));
    p.stack->push(new CommandRevoluteJointMotorSpeedChange(p.view, {0.0f}, {2.0f}, {0}));
    p.stack->push(new CommandRevoluteJointMaxMotorTorqueChange(p.view, {0.0f}, {1000.0f}, {0}));
    p.view->playAnimation();
    p.ticks(10);
    // Two free bodies: B turns against A at the motor's speed, negated.
    const float relative = p.view->bodies[2].body->GetAngularVelocity() - p.view->bodies[1].body->GetAngularVelocity();
    EXPECT_NEAR(relative, -2.0f, 0.05f);
    EXPECT_LT(p.view->bodies[2].body->GetAngle() - p.view->bodies[1].body->GetAngle(), -0.5f);
}

TEST(JointPhysics, JointsSurviveBodyEditsAndTheirUndo)
{
    Physics s;
    s.addAll({0, 1, 2}, &SimulationView::addDistanceJointBetweenSelectedBodies);
    s.addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);
    auto expectJoints = [&] {
        ASSERT_EQ(s.view->joints.size(), 3u);
        expectConsistent(*s.view);
        EXPECT_NE(s.view->joints[0].joint, nullptr);
        EXPECT_NE(s.view->joints[1].joint, nullptr);
        EXPECT_EQ(s.view->world->GetJointCount(), 2);
    };
    s.stack->push(new CommandDensityChange(s.view, {1.0f}, {4.0f}, {1}));
    expectJoints();
    s.stack->push(new CommandBodiesPositionChange(s.view, {b2Vec2(0, 0)}, {b2Vec2(0.5f, 1.0f)}, {1}));
    expectJoints();
    EXPECT_NEAR(s.centre(1).y, 1.0f, 1e-4f);
    s.stack->undo();
    s.stack->undo();
    expectJoints();
    s.stack->redo();
    s.stack->redo();
    expectJoints();
    s.view->playAnimation();
    s.ticks(10);
    expectJoints();
}

TEST(JointPhysics, HostileRecordsSurviveCreatePlayUndoRedoAndExport)
{
    Physics s;
    s.view->setType({BodyType::Static}, {2});  // 0 and 2 Static
    s.view->restartAndStopAnimation(false);
    const std::vector<MyRevoluteJoint> pivots = {{1, 1, {}, {}, b2Vec2(0, 0)},          // a body to itself
                                                 {0, 2, {}, {}, b2Vec2(kNaN, 1.0f)},    // two static bodies
                                                 {1, 2, {}, {}, b2Vec2(1e30f, -1e30f)}};
    s.stack->push(new CommandAddRevoluteJointsChange(s.view, s.view->joints, pivots));
    const std::vector<MyPrismaticJoint> pistons = {{0, 1, {}, {}, b2Vec2(0, 0), b2Vec2(0, 0)},  // zero axis
                                                   {1, 2, {}, {}, b2Vec2(kNaN, kNaN), b2Vec2(kNaN, 1.0f)}};
    s.stack->push(new CommandAddPrismaticJointsChange(s.view, s.view->joints, pistons));
    const std::vector<MyDistanceJoint> distances = {{1, 1, {}, {}, b2Vec2(kNaN, 0), b2Vec2(0, 0)},
                                                    {0, 1, {}, {}, b2Vec2(kNaN, kNaN), b2Vec2(1e30f, 0)}};
    s.stack->push(new CommandAddDistanceJointsChange(s.view, s.view->joints, distances));
    s.stack->push(new CommandAddSpringJointsChange(s.view, s.view->joints, {{1, 1, {}, {}}, {0, 9, {}, {}}}));
    ASSERT_EQ(s.view->joints.size(), 9u);

    // Inverted and non-finite limits and values: the records keep them.
    s.stack->push(new CommandPrismaticJointEnableLimitChange(s.view, {false, false}, {true, true}, {3, 4}));
    s.stack->push(new CommandPrismaticJointLowerTranslationChange(s.view, {0, 0}, {5.0f, kNaN}, {3, 4}));
    s.stack->push(new CommandPrismaticJointUpperTranslationChange(s.view, {0, 0}, {2.0f, 1e38f}, {3, 4}));
    s.stack->push(new CommandRevoluteJointEnableLimitChange(s.view, {false, false, false}, {true, true, true},
                                                            {0, 1, 2}));
    s.stack->push(new CommandRevoluteJointLowerAngleChange(s.view, {0, 0, 0}, {90.0f, kNaN, 1e30f}, {0, 1, 2}));
    s.stack->push(new CommandRevoluteJointMotorSpeedChange(s.view, {0, 0, 0}, {kNaN, 1e30f, -1e30f}, {0, 1, 2}));
    s.stack->push(new CommandDistanceJointFrequencyChange(s.view, {0, 0}, {kNaN, 1e30f}, {5, 6}));
    s.stack->push(new CommandSpringJointDesiredLengthChange(s.view, {0, 0}, {kNaN, -5.0f}, {7, 8}));
    EXPECT_EQ(s.view->joints[3].lowerTranslation, 5.0f);
    EXPECT_EQ(s.view->joints[3].upperTranslation, 2.0f);
    ASSERT_NE(s.view->joints[3].joint, nullptr);
    auto* piston = static_cast<b2PrismaticJoint*>(s.view->joints[3].joint);
    EXPECT_EQ(piston->GetLowerLimit(), 2.0f);
    EXPECT_EQ(piston->GetUpperLimit(), 5.0f);
    EXPECT_EQ(s.view->joints[0].joint, nullptr);  // no joint from a body to itself

    // The live pivot sliders go through the same guard.
    s.view->selectJoints({0, 1, 2});
    s.ui.revoluteJointLowerAngleSld->setValue(-90000);

    s.view->playAnimation();
    s.ticks(25);
    for (int i = 0; i < 3; ++i) {
        s.stack->undo();
        s.ticks(2);
    }
    for (int i = 0; i < 3; ++i)
        s.stack->redo();
    s.view->playAnimation();
    s.ticks(25);
    expectConsistent(*s.view);
    for (const MyBody& b : s.view->bodies) {
        EXPECT_TRUE(std::isfinite(b.body->GetPosition().x));
        EXPECT_TRUE(std::isfinite(b.body->GetPosition().y));
    }
    EXPECT_EQ(s.recordAndWrite(10), QString());
    const standin::PropertyNode* keys = s.positionKeys(1);
    ASSERT_GE(keys->keyCount(), 1);
    for (int i = 0; i < keys->keyCount(); ++i)
        EXPECT_TRUE(std::isfinite(keys->key(i)->value.x()) && std::isfinite(keys->key(i)->value.y())) << i;
    while (s.stack->canUndo())
        s.stack->undo();
    EXPECT_TRUE(s.view->joints.empty());
    expectConsistent(*s.view);
}

} // namespace

namespace {

// Every world body where it can be drawn and recorded.
void expectFiniteWorld(const SimulationView& view, int tick)
{
    for (size_t b = 0; b < view.bodies.size(); ++b) {
        const b2Body* body = view.bodies[b].body;
        ASSERT_NE(body, nullptr);
        ASSERT_TRUE(std::isfinite(body->GetPosition().x) && std::isfinite(body->GetPosition().y)
                    && std::isfinite(body->GetAngle()) && std::isfinite(body->GetLinearVelocity().x)
                    && std::isfinite(body->GetLinearVelocity().y) && std::isfinite(body->GetAngularVelocity()))
            << "body " << b << " at tick " << tick;
    }
}

} // namespace

TEST(JointPhysics, BodiesOfTheWidestDensitiesJoinedStayFiniteAndSoDoTheirKeys)
{
    // A body of the least density between two of the greatest, held by a
    // pivot and a piston, falls on a static floor: the solver cannot resolve
    // masses so far apart.
    const float most = float(16777200.0);
    for (bool spring : {false, true}) {
        SCOPED_TRACE(spring);
        Physics s(project({{400, 500}, {600, 500}, {800, 500}, {500, 900}}));
        s.view->setType({BodyType::Dynamic, BodyType::Static}, {0, 3});
        s.view->setDensity({most, 0.001f, most}, {0, 1, 2});
        s.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(-0.5f, 0.0f));
        s.view->addPrismaticJointBetweenTwoBodies(1, 2, b2Vec2(1.0f, 0.0f), b2Vec2(1.0f, 0.0f));
        if (spring)
            s.view->addSpringJointBetweenTwoBodies(0, 2);
        s.view->restartAndStopAnimation(false);
        s.view->playAnimation();
        for (int tick = 0; tick < 150; ++tick) {
            s.ticks(1);
            expectFiniteWorld(*s.view, tick);
        }
        EXPECT_EQ(s.recordAndWrite(60), QString());
        for (int layer = 0; layer < 3; ++layer) {
            const standin::PropertyNode* keys = s.positionKeys(layer);
            ASSERT_GE(keys->keyCount(), 1);
            for (int i = 0; i < keys->keyCount(); ++i)
                EXPECT_TRUE(std::isfinite(keys->key(i)->value.x()) && std::isfinite(keys->key(i)->value.y()))
                    << "layer " << layer << " key " << i;
        }
    }
}
