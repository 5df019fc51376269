// The frame step: life spans, gravity, magnetism, bodies that follow their
// layers, dormant bodies and springs.
#include "SceneFixture.h"

#include "model/UserData.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "project/PropertyNode.h"
#include "simulation/Box2DGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

bool allSensors(const b2Body* body)
{
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext())
        if (!f->IsSensor())
            return false;
    return body->GetFixtureList() != nullptr;
}

void noGravity(Scene& scene)
{
    scene.core.controls.gravityMagnitude = 0.0;
}

// A layer moving from (200, 500) to (700, 500) during the first second.
QString movingLayer(int id)
{
    return solid(id, 3, 200, 500).replace(
        QStringLiteral("\"position\": [200, 500]"),
        QStringLiteral(R"("position": {"keys": [{"time": 0, "value": [200, 500]}, {"time": 1, "value": [700, 500]}]})"));
}

} // namespace

TEST(FrameStep, BodyTypesBecomeTheirWorldTypes)
{
    Scene scene(sceneJson({solid(1, 3, 100, 100), solid(2, 3, 200, 100), solid(3, 3, 300, 100),
                           solid(4, 3, 400, 100), solid(5, 3, 500, 100), solid(6, 3, 600, 100)}));
    scene.build();
    const int types[6] = {BodyType::Static, BodyType::Kinematic, BodyType::Dynamic,
                          BodyType::Dormant, BodyType::AEmatic, BodyType::Dead};
    for (int i = 0; i < 6; ++i)
        scene.body(i).type = types[i];
    scene.rebuild();
    scene.ticks(1);

    EXPECT_EQ(scene.world(0)->GetType(), b2_staticBody);
    EXPECT_EQ(scene.world(1)->GetType(), b2_kinematicBody);
    EXPECT_EQ(scene.world(2)->GetType(), b2_dynamicBody);
    EXPECT_EQ(scene.world(3)->GetType(), b2_dynamicBody);
    EXPECT_EQ(scene.world(3)->GetGravityScale(), 0.0f);
    EXPECT_TRUE(scene.body(3).dormant);
    EXPECT_EQ(scene.world(4)->GetType(), b2_dynamicBody);
    ASSERT_NE(scene.body(4).aematicJoint, nullptr);
    EXPECT_EQ(scene.body(4).aematicJoint->GetBodyA(), scene.core.groundBody);
    EXPECT_EQ(scene.world(5)->GetType(), b2_staticBody);
    EXPECT_TRUE(allSensors(scene.world(5))) << "a Dead body is never alive";
    EXPECT_FALSE(allSensors(scene.world(0)));

    // The ground body ends the world's list and belongs to no record.
    EXPECT_EQ(scene.core.getBodyIdFromB2Body(scene.core.groundBody), -1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(scene.core.getBodyIdFromB2Body(scene.world(i)), i);

    scene.core.setDormantBehavior(DormantBehavior::StaticBeforeCollision);
    scene.rebuild();
    EXPECT_EQ(scene.world(3)->GetType(), b2_staticBody);
    EXPECT_TRUE(scene.body(3).dormant);
}

TEST(FrameStep, LifeSpanMakesABodyASensorOutsideItsLayersFrames)
{
    // In-point frame 10, out-point frame 20.
    Scene scene(sceneJson({solid(1, 3, 500, 500, QStringLiteral(R"("inPoint": [10, 25], "duration": [10, 25])"))}));
    scene.build();
    noGravity(scene);
    scene.body(0).linearVelocityMagnitude = 2.0f;
    scene.body(0).linearVelocityDirection = 0.0f;
    scene.rebuild();
    EXPECT_EQ(scene.body(0).startFrame, 10);
    EXPECT_EQ(scene.body(0).endFrame, 20);

    scene.play();
    scene.ticks(10);  // frames 0 to 9
    EXPECT_EQ(scene.world(0)->GetType(), b2_staticBody);
    EXPECT_TRUE(allSensors(scene.world(0)));
    EXPECT_TRUE(scene.body(0).userData->notAlive);

    scene.ticks(1);  // frame 10: alive, with its initial velocity again
    EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody);
    EXPECT_FALSE(allSensors(scene.world(0)));
    EXPECT_NEAR(scene.world(0)->GetLinearVelocity().x, 2.0f, 1e-4f);

    scene.ticks(10);  // frames 11 to 20
    EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody);
    scene.ticks(1);  // frame 21: past the out-point
    EXPECT_EQ(scene.world(0)->GetType(), b2_staticBody);
    EXPECT_TRUE(allSensors(scene.world(0)));
}

TEST(FrameStep, TimeDividerStretchesTheLifeSpan)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500, QStringLiteral(R"("inPoint": [10, 25])"))}));
    scene.build();
    scene.core.controls.timeDivider = 2.0;
    scene.play();
    scene.ticks(20);  // frames 0 to 19
    EXPECT_TRUE(scene.body(0).userData->notAlive);
    scene.ticks(1);   // frame 20
    EXPECT_FALSE(scene.body(0).userData->notAlive);
}

TEST(FrameStep, GravityFromMagnitudeAndDirectionOrFromALayer)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500),
                           QStringLiteral(R"({"id": 2, "type": "null", "name": "Gravity", "transform": {"position": [30, 40]}})")}));
    scene.build();
    scene.core.controls.gravityMagnitude = 5.0;
    scene.core.controls.gravityDirection = 0.0;
    scene.ticks(1);
    EXPECT_NEAR(scene.core.world->GetGravity().x, 5.0f, 1e-5f);
    EXPECT_NEAR(scene.core.world->GetGravity().y, 0.0f, 1e-5f);

    scene.core.controls.gravityDirection = 90.0;
    scene.ticks(1);
    EXPECT_NEAR(scene.core.world->GetGravity().x, 0.0f, 1e-5f);
    EXPECT_NEAR(scene.core.world->GetGravity().y, 5.0f, 1e-5f);

    // The layer's position value, unchanged, is the gravity vector.
    scene.core.controls.gravityFromLayer = true;
    scene.core.controls.gravityLayer = 1;
    scene.ticks(1);
    EXPECT_EQ(scene.core.world->GetGravity(), b2Vec2(30.0f, 40.0f));

    // Captured while playing with the capture button on.
    scene.core.controls.captureGravity = true;
    scene.ticks(1);
    EXPECT_TRUE(scene.core.capturedGravity.empty()) << "only while playing";
    scene.play();
    scene.ticks(3);
    ASSERT_EQ(scene.core.capturedGravity.size(), 3u);
    EXPECT_EQ(scene.core.capturedGravityStartFrame, 0);
    EXPECT_EQ(scene.core.capturedGravityFirst, b2Vec2(30.0f, 40.0f));
}

TEST(FrameStep, MagnetsAttractAndRepel)
{
    for (int type : {MagnetismType::Attraction, MagnetismType::Repulsion}) {
        SCOPED_TRACE(type);
        // Two 0.5 x 0.5 boxes whose centres are 0.5 world units apart.
        Scene scene(sceneJson({solid(1, 3, 475, 500), solid(2, 3, 525, 500)}));
        scene.build();
        noGravity(scene);
        scene.core.controls.substeps = 1;
        for (int i = 0; i < 2; ++i) {
            scene.body(i).magnetismType = type;
            scene.body(i).magnetIntensity = 10.0f;
            scene.body(i).magnetDistance = 100.0f;
            scene.body(i).maskBits = 0;  // they do not collide
        }
        scene.rebuild();
        scene.play();
        scene.ticks(1);
        // F = (10 / 10) / 0.5^2 = 4 on a mass of 0.25 for 1/25 s.
        const float v = 4.0f / 0.25f / 25.0f;
        const float sign = type == MagnetismType::Attraction ? 1.0f : -1.0f;
        EXPECT_NEAR(scene.world(0)->GetLinearVelocity().x, sign * v, 1e-3f);
        EXPECT_NEAR(scene.world(1)->GetLinearVelocity().x, -sign * v, 1e-3f);
        EXPECT_NEAR(scene.world(0)->GetLinearVelocity().y, 0.0f, 1e-5f);
    }
}

TEST(FrameStep, MagnetsActOnlyInRangeAndNeverAtZeroDistance)
{
    Scene scene(sceneJson({solid(1, 3, 400, 500), solid(2, 3, 600, 500), solid(3, 3, 600, 500)}));
    scene.build();
    noGravity(scene);
    scene.body(0).magnetismType = MagnetismType::Attraction;
    scene.body(0).magnetDistance = 150.0f;  // 1.5 units; body 1 is 2 away
    for (int i = 1; i < 3; ++i) {
        scene.body(i).magnetismType = MagnetismType::Attraction;
        scene.body(i).magnetDistance = 100.0f;
    }
    // Bodies 1 and 2 share their centre.
    scene.body(1).maskBits = scene.body(2).maskBits = 0;
    scene.body(0).type = BodyType::Dormant;
    scene.rebuild();
    scene.play();
    scene.ticks(2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Box2DGuard::isFinite(scene.world(i)->GetPosition())) << i;
        EXPECT_EQ(scene.world(i)->GetLinearVelocity(), b2Vec2_zero) << i;
    }
    EXPECT_TRUE(scene.body(0).dormant) << "no magnet in range wakes it";

    scene.body(0).magnetDistance = 250.0f;
    scene.body(1).magnetDistance = 250.0f;
    scene.rebuild();
    scene.play();
    scene.ticks(1);
    EXPECT_FALSE(scene.body(0).dormant) << "a dormant body wakes inside a magnet's range";
}

TEST(FrameStep, MagnetsFoundByRangeGiveTheForcesOfTestingEveryPair)
{
    // Random boxes, and two long bodies whose outlines sit at their ends:
    // their centres of mass lie in empty space, far from any fixture.
    std::mt19937 random(21);
    std::uniform_real_distribution<double> coordinate(50.0, 950.0);
    QStringList layers;
    for (int i = 0; i < 80; ++i)
        layers << solid(i + 1, 1 + i % 3 == 2 ? 3 : 1, coordinate(random), coordinate(random));
    const QString ends = QStringLiteral(
        R"("masks": [{"name": "A", "shape": {"vertices": [[0, 0], [30, 0], [30, 40], [0, 40]]}},
                     {"name": "B", "shape": {"vertices": [[970, 0], [1000, 0], [1000, 40], [970, 40]]}}])");
    layers << solid(81, 2, 500, 300, ends) << solid(82, 2, 500, 700, ends);
    Scene scene(sceneJson(layers));
    scene.build();
    ASSERT_EQ(scene.core.bodies.size(), 82u);

    std::uniform_int_distribution<int> pick(0, 79);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int m = 0; m < 12; ++m) {
        MyBody& magnet = scene.body(pick(random));
        magnet.magnetismType = m % 3 == 0 ? MagnetismType::Repulsion : MagnetismType::Attraction;
        magnet.magnetDistance = 20.0f + 400.0f * unit(random);
        magnet.magnetIntensity = 1.0f + 50.0f * unit(random);
    }
    // A magnet with a small range just beside each long body's centre, and
    // one whose life has not begun.
    scene.body(3).magnetismType = MagnetismType::Attraction;
    scene.body(3).magnetDistance = 30.0f;
    scene.body(3).startFrame = 1000;
    for (int i = 0; i < 2; ++i) {
        MyBody& magnet = scene.body(4 + i);
        magnet.magnetismType = MagnetismType::Attraction;
        magnet.magnetDistance = 25.0f;
        magnet.maskBits = 0;
    }
    scene.body(1).type = BodyType::Dead;
    scene.body(1).magnetismType = MagnetismType::Attraction;
    scene.body(1).magnetDistance = 1000.0f;
    scene.rebuild();
    scene.body(4).body->SetTransform(scene.body(80).body->GetWorldCenter() + b2Vec2(0.1f, 0.05f), 0.0f);
    scene.body(5).body->SetTransform(scene.body(81).body->GetWorldCenter() - b2Vec2(0.0f, 0.15f), 0.0f);

    SimulationCore& core = scene.core;
    const double frame = core.frameSeconds();
    core.findMagnetNeighbours();
    int pulled = 0;
    for (size_t r = 0; r < core.bodies.size(); ++r) {
        const b2Vec2 centre = core.bodies[r].body->GetWorldCenter();
        b2Vec2 expected(0.0f, 0.0f);
        for (size_t j = 0; j < core.bodies.size(); ++j) {
            const MyBody& magnet = core.bodies[j];
            if (j == r || magnet.magnetismType == MagnetismType::NoMagnetism || magnet.type == BodyType::Dead
                || magnet.startFrame > 0)
                continue;
            const b2Vec2 d = magnet.body->GetWorldCenter() - centre;
            const float dist = d.Length();
            if (!(dist < magnet.magnetDistance / 100.0f) || dist < 1.0e-4f)
                continue;
            const float k = magnet.magnetIntensity / 10.0f;
            const b2Vec2 u = (1.0f / dist) * d;
            if (magnet.magnetismType == MagnetismType::Attraction)
                expected += (k / (dist * dist)) * u;
            else
                expected -= (k / (dist * dist)) * u;
        }
        const b2Vec2 force = core.magnetForce(int(r), frame, 1.0);
        EXPECT_EQ(force, expected) << "body " << r;
        pulled += expected != b2Vec2_zero;
    }
    EXPECT_GT(pulled, 20) << "the scene exercises magnetism";
    EXPECT_NE(core.magnetForce(80, frame, 1.0), b2Vec2_zero) << "a centre far from every fixture is found";
    EXPECT_NE(core.magnetForce(81, frame, 1.0), b2Vec2_zero);
}

namespace {

// The force of every magnet in range on record r's body, testing every pair.
b2Vec2 magnetForceOfEveryPair(const SimulationCore& core, size_t r)
{
    const b2Vec2 centre = core.bodies[r].body->GetWorldCenter();
    b2Vec2 expected(0.0f, 0.0f);
    for (size_t j = 0; j < core.bodies.size(); ++j) {
        const MyBody& magnet = core.bodies[j];
        if (j == r || magnet.magnetismType == MagnetismType::NoMagnetism || magnet.type == BodyType::Dead
            || double(magnet.startFrame) > double(core.currentFrame))
            continue;
        const b2Vec2 d = magnet.body->GetWorldCenter() - centre;
        const float dist = d.Length();
        if (!(dist < magnet.magnetDistance / 100.0f) || dist < 1.0e-4f)
            continue;
        const float k = magnet.magnetIntensity / 10.0f;
        const b2Vec2 u = (1.0f / dist) * d;
        if (magnet.magnetismType == MagnetismType::Attraction)
            expected += (k / (dist * dist)) * u;
        else
            expected -= (k / (dist * dist)) * u;
    }
    return expected;
}

} // namespace

TEST(FrameStep, MagnetsAmongLargeAndSmallBodiesActAsWhenTestingEveryPair)
{
    // A floor of 3,000 pixels, boxes of 600, small pieces, a body whose
    // origin lies far from its outline (static: its centre is its origin)
    // and one whose centre of mass lies between its two outlines.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(50.0, 950.0);
    QStringList layers;
    layers << solid(1, 2, 500, 950, QStringLiteral(R"("transform": {"position": [500, 950], "scale": [300, 100]})"));
    layers << solid(2, 1, 250, 250, QStringLiteral(R"("transform": {"position": [250, 250], "scale": [600, 600]})"));
    for (int i = 0; i < 60; ++i)
        layers << solid(i + 3, 3, coordinate(random), coordinate(random));
    const QString farMask = QStringLiteral(
        R"("masks": [{"name": "Far", "shape": {"vertices": [[900, 0], [1000, 0], [1000, 40], [900, 40]]}}])");
    const QString ends = QStringLiteral(
        R"("masks": [{"name": "A", "shape": {"vertices": [[0, 0], [30, 0], [30, 40], [0, 40]]}},
                     {"name": "B", "shape": {"vertices": [[900, 0], [1000, 0], [1000, 40], [900, 40]]}}])");
    layers << solid(63, 2, 400, 600, farMask) << solid(64, 2, 500, 700, ends);
    Scene scene(sceneJson(layers));
    scene.build();
    ASSERT_EQ(scene.core.bodies.size(), 64u);
    noGravity(scene);
    scene.body(0).type = BodyType::Static;
    scene.body(62).type = BodyType::Static;

    std::uniform_int_distribution<int> pick(2, 61);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int m = 0; m < 15; ++m) {
        MyBody& magnet = scene.body(pick(random));
        magnet.magnetismType = m % 3 == 0 ? MagnetismType::Repulsion : MagnetismType::Attraction;
        magnet.magnetDistance = 20.0f + 300.0f * unit(random);
        magnet.magnetIntensity = 1.0f + 50.0f * unit(random);
    }
    // Magnets of small range beside the static body's origin and the other
    // one's centre of mass, and the large box as a magnet.
    for (int i = 0; i < 2; ++i) {
        MyBody& magnet = scene.body(60 + i);
        magnet.magnetismType = MagnetismType::Attraction;
        magnet.magnetDistance = 30.0f;
        magnet.maskBits = 0;
    }
    scene.body(1).magnetismType = MagnetismType::Repulsion;
    scene.body(1).magnetDistance = 500.0f;
    scene.rebuild();
    scene.body(60).body->SetTransform(scene.body(62).body->GetPosition() + b2Vec2(0.1f, 0.05f), 0.0f);
    scene.body(61).body->SetTransform(scene.body(63).body->GetWorldCenter() - b2Vec2(0.0f, 0.15f), 0.0f);
    ASSERT_GT((scene.body(62).body->GetPosition() - scene.body(62).body->GetFixtureList()->GetAABB(0).GetCenter()).Length(),
              3.0f);

    SimulationCore& core = scene.core;
    const double frame = core.frameSeconds();
    scene.play();
    int pulled = 0;
    for (int tick = 0; tick < 6; ++tick) {
        scene.ticks(1);
        core.findMagnetNeighbours();
        for (size_t r = 0; r < core.bodies.size(); ++r) {
            const b2Vec2 expected = magnetForceOfEveryPair(core, r);
            EXPECT_EQ(core.magnetForce(int(r), frame, 1.0), expected) << "body " << r << ", tick " << tick;
            pulled += expected != b2Vec2_zero;
        }
    }
    EXPECT_GT(pulled, 6 * 10) << "the scene exercises magnetism";
    EXPECT_NE(magnetForceOfEveryPair(core, 62), b2Vec2_zero) << "a static body's origin far from its outline";
    EXPECT_NE(magnetForceOfEveryPair(core, 63), b2Vec2_zero) << "a centre of mass far from every fixture";
}

TEST(FrameStep, AMagnetFindsABodyWhoseCentreMovesAsItComesAlive)
{
    // A body of two outlines of different sizes: static before its
    // in-point, its centre is its origin (the anchor, inside the smaller
    // outline); from its in-point on it is dynamic and its centre of mass
    // lies near the larger outline, between the two. A magnet of small
    // range waits beside that centre of mass, far from the origin and from
    // both outlines.
    const QString ends = QStringLiteral(
        R"("transform": {"position": [300, 300], "anchorPoint": [15, 20]},
           "masks": [{"name": "A", "shape": {"vertices": [[0, 0], [30, 0], [30, 40], [0, 40]]}},
                     {"name": "B", "shape": {"vertices": [[900, 0], [1000, 0], [1000, 40], [900, 40]]}}])");
    Scene scene(sceneJson({solid(1, 2, 300, 300, ends), solid(2, 3, 500, 300)}));
    scene.build();
    noGravity(scene);
    scene.core.controls.substeps = 1;
    scene.body(0).startFrame = 2;
    scene.body(0).maskBits = 0;
    MyBody& magnet = scene.body(1);
    magnet.type = BodyType::Static;
    magnet.magnetismType = MagnetismType::Attraction;
    magnet.magnetDistance = 40.0f;
    magnet.magnetIntensity = 10.0f;
    magnet.maskBits = 0;
    scene.rebuild();
    scene.play();
    scene.ticks(2);
    b2Body* body = scene.world(0);
    ASSERT_EQ(body->GetType(), b2_staticBody) << "before its in-point";

    // Where its centre of mass will be, and the magnet 0.25 units below it.
    b2MassData mass;
    float total = 0.0f;
    b2Vec2 moment(0.0f, 0.0f);
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
        f->GetMassData(&mass);
        total += mass.mass;
        moment += mass.mass * mass.center;
    }
    const b2Vec2 centre = b2Mul(body->GetTransform(), (1.0f / total) * moment);
    ASSERT_GT((centre - body->GetPosition()).Length(), 1.0f);
    auto inAFixtureBox = [body](b2Vec2 p) {
        for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            const b2AABB& box = f->GetAABB(0);
            if (p.x >= box.lowerBound.x && p.x <= box.upperBound.x && p.y >= box.lowerBound.y
                && p.y <= box.upperBound.y)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(inAFixtureBox(body->GetPosition())) << "the origin lies in the smaller outline";
    ASSERT_FALSE(inAFixtureBox(centre));
    scene.world(1)->SetTransform(centre + b2Vec2(0.0f, 0.25f), 0.0f);

    // The neighbours are found before the walk turns it dynamic.
    SimulationCore& core = scene.core;
    core.findMagnetNeighbours();
    body->SetType(b2_dynamicBody);
    ASSERT_LT((body->GetWorldCenter() - centre).Length(), 1e-4f);
    const b2Vec2 expected = magnetForceOfEveryPair(core, 0);
    ASSERT_NE(expected, b2Vec2_zero);
    EXPECT_EQ(core.magnetForce(0, core.frameSeconds(), 1.0), expected);
    body->SetType(b2_staticBody);

    // And in the tick itself: it comes alive, pulled towards the magnet.
    scene.ticks(1);
    ASSERT_EQ(body->GetType(), b2_dynamicBody);
    const float v = expected.y / body->GetMass() / 25.0f;
    EXPECT_NEAR(body->GetLinearVelocity().y, v, 1e-3f * v);
    EXPECT_NEAR(body->GetLinearVelocity().x, 0.0f, 1e-3f * v);
}

TEST(FrameStep, KinematicBodyFollowsItsLayerUntilTheLastKey)
{
    Scene scene(sceneJson({movingLayer(1)}));
    scene.build();
    scene.body(0).type = BodyType::Kinematic;
    scene.rebuild();
    const float x0 = scene.world(0)->GetPosition().x;
    scene.play();
    scene.ticks(10);
    EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody);
    EXPECT_NEAR(scene.world(0)->GetPosition().x - x0, 2.0f, 0.01f) << "5 units/s for 0.4 s";
    EXPECT_NEAR(scene.world(0)->GetPosition().y, 0.0f, 1e-4f) << "gravity does not move it";

    scene.ticks(15);  // frames 10 to 24
    EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody);
    scene.ticks(1);  // frame 25: the last key is reached
    EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody);
    EXPECT_NEAR(scene.world(0)->GetLinearVelocity().x, 5.0f, 0.01f) << "the layer's velocity of the frame before";
}

// The tick's time is the frame number times the frame's length in seconds:
// frame × (value / scale) / divider. Multiplied first and divided after, it
// would round below the last key's time on some frames and keep a body on its
// layer one frame too long, so that it then fell from rest.
TEST(FrameStep, BodiesLetGoOfTheirLayerOnTheFrameOfTheLastKey)
{
    struct Rate {
        const char* frameRate;
        int value, scale;
        std::vector<int> lastKeys;  // frames where the other order rounds low
    };
    const Rate rates[] = {{"25", 1, 25, {35, 41, 57}}, {"29.97", 1001, 30000, {3, 7, 22, 29}}};
    for (const Rate& rate : rates) {
        for (const int key : rate.lastKeys) {
            const QString keyTime = QStringLiteral("[%1, %2]").arg(qint64(key) * rate.value).arg(rate.scale);
            const QString kinematic = solid(1, 3, 0, 0, QStringLiteral(R"("transform": {"position": {"keys": [
                {"time": 0, "value": [200, 500]}, {"time": %1, "value": [700, 500]}]}})").arg(keyTime));
            const QString aematic = solid(2, 3, 0, 0, QStringLiteral(R"("transform": {"position": [500, 800],
                "rotation": {"keys": [{"time": 0, "value": 0}, {"time": %1, "value": 90}]}})").arg(keyTime));
            QByteArray json = sceneJson({kinematic, aematic});
            json.replace("\"frameRate\": 25", QByteArray("\"frameRate\": ") + rate.frameRate);
            Scene scene(json);
            scene.build();
            ASSERT_EQ(scene.core.frameDuration.scale, rate.scale);
            scene.body(0).type = BodyType::Kinematic;
            scene.body(1).type = BodyType::AEmatic;
            scene.rebuild();
            noGravity(scene);
            ASSERT_EQ(scene.core.getLastKeyframeInFrames(0), key);
            ASSERT_EQ(scene.core.getLastKeyframeInFrames(1), key);
            const std::string where = std::string(rate.frameRate) + " fps, last key at frame " + std::to_string(key);
            scene.play();
            scene.ticks(key);  // frames 0 to key - 1 follow the layers
            EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody) << where;
            const float turning = scene.world(1)->GetAngularVelocity();
            EXPECT_GT(turning, 0.1f) << where;

            scene.ticks(1);  // the frame of the last key
            EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody) << where;
            const float speed = 500.0f / 100.0f / (float(key) * float(rate.value) / float(rate.scale));
            EXPECT_NEAR(scene.world(0)->GetLinearVelocity().x, speed, 0.02f * speed)
                << where << ": it goes on at the layer's speed";
            // Left to itself it keeps most of its spin; a layer still
            // followed would have stopped it, as its rotation has ended.
            EXPECT_GT(scene.world(1)->GetAngularVelocity(), 0.8f * turning)
                << where << ": the AEmatic body is no longer turned by its layer";
        }
    }
}

TEST(FrameStep, KinematicBodyFollowsASeparatedPositionUntilItsLastKey)
{
    // The position's dimensions are separated: its keys are x's and y's.
    const QString separated = solid(1, 3, 0, 0, QStringLiteral(R"("transform": {"position": [200, 500],
        "positionX": {"keys": [{"time": 0, "value": 200}, {"time": 1, "value": 700}]},
        "positionY": {"keys": [{"time": 0, "value": 500}, {"time": [3, 2], "value": 500}]}})"));
    Scene scene(sceneJson({separated}));
    scene.build();
    scene.body(0).type = BodyType::Kinematic;
    scene.rebuild();
    EXPECT_EQ(scene.core.getLastKeyframeInFrames(0), 38) << "y's last key, 1.5 s";
    const float x0 = scene.world(0)->GetPosition().x;
    scene.play();
    scene.ticks(10);
    EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody);
    EXPECT_NEAR(scene.world(0)->GetPosition().x - x0, 2.0f, 0.01f) << "5 units/s for 0.4 s";
    scene.ticks(28);  // frames 10 to 37
    EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody);
    scene.ticks(1);  // frame 38: y's last key is reached
    EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody);
    EXPECT_NEAR(scene.world(0)->GetLinearVelocity().x, 0.0f, 0.01f) << "x stopped at 1 s";
}

TEST(FrameStep, AnUnusableTimeDividerCountsAsOneForTheLayerQueriesToo)
{
    for (const double divider : {0.0, -2.0, std::nan("")}) {
        Scene scene(sceneJson({movingLayer(1)}));
        scene.build();
        scene.body(0).type = BodyType::Kinematic;
        scene.rebuild();
        const float x0 = scene.world(0)->GetPosition().x;
        scene.core.controls.timeDivider = divider;
        scene.play();
        scene.ticks(10);
        EXPECT_NEAR(scene.world(0)->GetPosition().x - x0, 2.0f, 0.01f) << divider;
    }
}

TEST(FrameStep, KinematicBodyBecomesDynamicAtItsInpointEvenAtFrameZero)
{
    Scene scene(sceneJson({movingLayer(1)}));
    scene.build();
    scene.body(0).type = BodyType::Kinematic;
    scene.core.setKineBehavior(KinematicBehavior::DynamicAtInpoint);
    scene.rebuild();
    scene.ticks(1);
    EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody);
}

TEST(FrameStep, KinematicBodyWithoutKeysTurnsDynamicOnTheFirstRunningTick)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    scene.body(0).type = BodyType::Kinematic;
    scene.rebuild();
    EXPECT_EQ(scene.core.getLastKeyframeInFrames(0), -1);
    scene.ticks(1);
    EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody) << "stopped: no following";
    scene.play();
    scene.ticks(1);
    EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody);
}

TEST(FrameStep, ExpressionsAnywhereUpTheParentChainAreFollowedForever)
{
    Scene scene(sceneJson(
        {solid(1, 3, 500, 500, QStringLiteral(R"("parent": 2)")),
         QStringLiteral(R"({"id": 2, "type": "null", "transform": {"rotation": {"value": 0, "expression": "time*10", "expressionValue": 0}}})")}));
    scene.build();
    EXPECT_EQ(scene.core.getLastKeyframeInFrames(0), 100000);
    EXPECT_EQ(scene.core.getLastKeyframeInFrames(1), 100000);
}

// A body's place and motion at one tick, compared exactly.
struct BodyState {
    b2Vec2 position;
    float angle;
    b2Vec2 velocity;
    float spin;
    b2BodyType type;
    bool sameMotion(const BodyState& o) const { return velocity == o.velocity && spin == o.spin && type == o.type; }
    bool operator==(const BodyState& o) const
    {
        return position == o.position && angle == o.angle && sameMotion(o);
    }
};

// Plays `ticks` frames and returns the states of the first `bodies` bodies
// after each of them.
std::vector<BodyState> playedStates(Scene& scene, int bodies, int ticks)
{
    std::vector<BodyState> states;
    for (int tick = 0; tick < ticks; ++tick) {
        scene.ticks(1);
        for (int i = 0; i < bodies; ++i)
            states.push_back({scene.world(i)->GetPosition(), scene.world(i)->GetAngle(),
                              scene.world(i)->GetLinearVelocity(), scene.world(i)->GetAngularVelocity(),
                              scene.world(i)->GetType()});
    }
    return states;
}

// With `placeToo` off only the motion is compared (scenes whose bodies were
// placed from different layers).
void expectSameStates(const std::vector<BodyState>& kept, const std::vector<BodyState>& straight, int bodies,
                      bool placeToo = true)
{
    ASSERT_EQ(kept.size(), straight.size());
    for (size_t k = 0; k < kept.size(); ++k)
        EXPECT_TRUE(placeToo ? kept[k] == straight[k] : kept[k].sameMotion(straight[k]))
            << "body " << k % size_t(bodies) << " at tick " << k / size_t(bodies);
}

TEST(FrameStep, FollowedLayersAreReadOnceAndMoveAsWhenReadEveryTick)
{
    // Keys on the layer, keys or an expression on a parent, no keys at all,
    // a kinematic layer whose keys end early, a rotated layer under a parent
    // whose scale is keyed, a layer whose own scale is keyed, a keyed anchor
    // point, a position driven by an expression, and an AEmatic layer two
    // parents down (a keyed position and a driven scale, then keyed
    // rotation).
    const QString keyedParent = QStringLiteral(
        R"({"id": 10, "type": "null", "transform": {"rotation": {"keys": [{"time": 0, "value": 0}, {"time": 2, "value": 90}]}}})");
    const QString expressionParent = QStringLiteral(
        R"({"id": 11, "type": "null", "transform": {"rotation": {"value": 0, "expression": "time*10", "expressionValue": 0}}})");
    const QString shortKeys = solid(5, 3, 800, 300).replace(
        QStringLiteral("\"position\": [800, 300]"),
        QStringLiteral(R"("position": {"keys": [{"time": 0, "value": [800, 300]}, {"time": [3, 25], "value": [820, 300]}]})"));
    const QString scaledParent = QStringLiteral(
        R"({"id": 12, "type": "null", "transform": {"scale": {"keys": [{"time": 0, "value": [100, 100]}, {"time": 2, "value": [160, 110]}]}}})");
    const QString rotatedChild = solid(6, 3, 200, 500, QStringLiteral(R"("parent": 12)"))
                                     .replace(QStringLiteral("\"position\": [200, 500]"),
                                              QStringLiteral(R"("position": [200, 500], "rotation": 30)"));
    const QString scaledSelf = solid(7, 3, 700, 500).replace(
        QStringLiteral("\"position\": [700, 500]"),
        QStringLiteral(R"("position": [700, 500], "scale": {"keys": [{"time": 0, "value": [100, 100]}, {"time": 2, "value": [130, 90]}]})"));
    const QString keyedAnchor = solid(8, 3, 0, 0, QStringLiteral(R"("transform": {
        "position": {"keys": [{"time": 0, "value": [400, 700]}, {"time": 2, "value": [450, 720]}]},
        "anchorPoint": {"keys": [{"time": 0, "value": [25, 25, 0]}, {"time": 1, "value": [5, 40, 0]}]}})"));
    const QString drivenPosition = solid(9, 3, 0, 0, QStringLiteral(R"("transform": {
        "position": {"value": [300, 800], "expression": "wiggle", "expressionValue": [310, 795]}})"));
    const QString grandchild = solid(13, 3, 100, 100, QStringLiteral(R"("parent": 14)"));
    const QString middleParent = QStringLiteral(R"({"id": 14, "type": "null", "parent": 10, "transform": {
        "position": {"keys": [{"time": 0, "value": [500, 200]}, {"time": 2, "value": [560, 260]}]},
        "scale": {"value": [100, 100], "expression": "s", "expressionValue": [120, 80]}}})");
    const QStringList layers = {movingLayer(1), solid(2, 3, 300, 300, QStringLiteral(R"("parent": 10)")),
                                solid(3, 3, 500, 300, QStringLiteral(R"("parent": 11)")), solid(4, 3, 600, 300),
                                shortKeys, rotatedChild, scaledSelf, keyedAnchor, drivenPosition, grandchild,
                                keyedParent, expressionParent, scaledParent, middleParent};
    constexpr int kBodies = 10;
    const int types[kBodies] = {BodyType::Kinematic, BodyType::Kinematic, BodyType::AEmatic, BodyType::Kinematic,
                                BodyType::Kinematic, BodyType::Kinematic, BodyType::Kinematic, BodyType::Kinematic,
                                BodyType::Kinematic, BodyType::AEmatic};
    constexpr int kTicks = 30;

    // The same scene twice (one host at a time): once following with what
    // was read at set-up, once asking the host everything on every tick.
    struct Queries {
        size_t keys = 0;     // keys, expressions and parents
        size_t streams = 0;  // new stream references and layer look-ups
        size_t matrices = 0;
    };
    auto run = [&](bool everyTick, Queries& queries) {
        Scene scene(sceneJson(layers));
        scene.build();
        noGravity(scene);
        for (int i = 0; i < kBodies; ++i)
            scene.body(i).type = types[i];
        scene.core.keepFollowing = !everyTick;
        scene.rebuild();
        scene.play();
        if (!everyTick) {
            // What may turn or scale: the keyed, driven or scaled chains.
            const bool turns[kBodies] = {false, true, true, false, false, true, true, false, false, true};
            const bool scales[kBodies] = {false, false, false, false, false, true, true, false, false, true};
            for (int i = 0; i < kBodies; ++i) {
                const FollowedLayer* followed = scene.core.following.find(size_t(i));
                EXPECT_TRUE(followed && followed->kept) << i;
                if (!followed)
                    continue;
                EXPECT_EQ(followed->lastKeyFrame,
                          scene.core.getLastKeyframeInFrames(scene.core.bodyLayerIndices[size_t(i)]))
                    << i;
                EXPECT_EQ(followed->turns, turns[i]) << i;
                EXPECT_EQ(followed->scales, scales[i]) << i;
            }
            // Held: the keyed anchor point, and the keyed or driven scales
            // of body 7's own layer and of bodies 6 and 10's parents.
            EXPECT_EQ(scene.core.following.heldStreams(), 4);
            EXPECT_EQ(scene.host.session->leaks().streamRefs, 4);
        }
        standin::CallLog& log = scene.host.session->log();
        auto keyQueries = [&] {
            return log.count("AEGP_IsStreamTimevarying") + log.count("AEGP_GetExpressionState")
                + log.count("AEGP_GetStreamNumKFs") + log.count("AEGP_GetLayerParent");
        };
        auto streamQueries = [&] {
            return log.count("AEGP_GetNewLayerStream") + log.count("AEGP_GetCompLayerByIndex");
        };
        // The first tick asks for the current frame and the next; later
        // ticks find the current frame among what the last one asked.
        std::vector<BodyState> states = playedStates(scene, kBodies, 1);
        const size_t keysBefore = keyQueries();
        const size_t streamsBefore = streamQueries();
        const size_t matricesBefore = log.count("AEGP_GetLayerToWorldXform");
        const std::vector<BodyState> later = playedStates(scene, kBodies, kTicks - 1);
        states.insert(states.end(), later.begin(), later.end());
        queries.keys = keyQueries() - keysBefore;
        queries.streams = streamQueries() - streamsBefore;
        queries.matrices = log.count("AEGP_GetLayerToWorldXform") - matricesBefore;
        EXPECT_EQ(scene.world(4)->GetType(), b2_dynamicBody) << "its keys ended";
        EXPECT_EQ(scene.world(0)->GetType(), b2_dynamicBody) << "its keys ended after a second";
        EXPECT_EQ(scene.world(8)->GetType(), b2_kinematicBody) << "an expression is followed forever";
        return states;
    };
    Queries straightQueries;
    Queries keptQueries;
    const std::vector<BodyState> straight = run(true, straightQueries);
    const std::vector<BodyState> kept = run(false, keptQueries);
    expectSameStates(kept, straight, kBodies);
    EXPECT_EQ(keptQueries.keys, 0u) << "no key, expression or parent queries while playing";
    EXPECT_EQ(keptQueries.streams, 0u) << "no stream or layer look-ups while playing";
    EXPECT_LE(keptQueries.matrices, size_t(kBodies * (kTicks - 1))) << "at most one matrix per layer and tick";
    EXPECT_GT(straightQueries.keys, 0u);
    EXPECT_GT(straightQueries.streams, 0u);
    EXPECT_GT(straightQueries.matrices, 2 * keptQueries.matrices);
}

TEST(FrameStep, RebuildingTheSceneFollowsTheChangedLayers)
{
    // A kinematic layer whose keys end after a second, with its anchor at
    // the middle, and a null whose rotation is keyed.
    const QString rotating = QStringLiteral(
        R"({"id": 2, "type": "null", "transform": {"rotation": {"keys": [{"time": 0, "value": 0}, {"time": 3, "value": 60}]}}})");

    // The layer as it will be changed below, followed by asking the host
    // everything on every tick (one host at a time).
    std::vector<BodyState> straight;
    {
        const QString changed = solid(1, 3, 0, 0, QStringLiteral(R"("parent": 2, "transform": {
            "position": {"keys": [{"time": 0, "value": [200, 500]}, {"time": 1, "value": [700, 500]}, {"time": 2, "value": [900, 600]}]},
            "anchorPoint": [10, 5, 0]})"));
        Scene scene(sceneJson({changed, rotating}));
        scene.build();
        noGravity(scene);
        scene.body(0).type = BodyType::Kinematic;
        scene.core.keepFollowing = false;
        scene.rebuild();
        scene.play();
        straight = playedStates(scene, 1, 60);
    }

    Scene scene(sceneJson({movingLayer(1), rotating}));
    scene.build();
    noGravity(scene);
    scene.body(0).type = BodyType::Kinematic;
    scene.rebuild();
    scene.play();
    scene.ticks(5);
    ASSERT_NE(scene.core.following.find(0), nullptr);
    EXPECT_EQ(scene.core.following.find(0)->lastKeyFrame, 25);
    EXPECT_FALSE(scene.core.following.find(0)->turns);

    // The layer gets a key at 2 s, another anchor point and the rotating
    // null as its parent; the rebuilt scene follows all of it, as the scene
    // made from the changed layers did (a restart keeps the records, so the
    // bodies start where they were: their motion is compared).
    standin::Composition* comp = scene.composition();
    standin::Layer* layer = comp->layer(0);
    ASSERT_GE(layer->transformStream(standin::TransformStream::Position)
                  ->addKey(A_Time{2, 1}, standin::Value::threeD(900, 600, 0)),
              0);
    layer->transformStream(standin::TransformStream::AnchorPoint)
        ->setStaticValue(standin::Value::threeD(10, 5, 0));
    ASSERT_EQ(comp->setParent(layer, comp->layer(1)), A_Err_NONE);
    scene.rebuild();
    scene.play();
    ASSERT_NE(scene.core.following.find(0), nullptr);
    EXPECT_EQ(scene.core.following.find(0)->lastKeyFrame, 75) << "the parent's keys end at 3 s";
    EXPECT_TRUE(scene.core.following.find(0)->turns);
    const std::vector<BodyState> kept = playedStates(scene, 1, 60);
    EXPECT_EQ(scene.world(0)->GetType(), b2_kinematicBody) << "followed past the old last key";
    EXPECT_NE(scene.world(0)->GetAngle(), 0.0f) << "turned with its new parent";
    expectSameStates(kept, straight, 1, false);
}

TEST(FrameStep, KeptStreamsAreReleasedWhenTheScenesFollowingIsDropped)
{
    // A keyed anchor point and a keyed scale: two held streams.
    const QString layer = solid(1, 3, 0, 0, QStringLiteral(R"("transform": {
        "position": {"keys": [{"time": 0, "value": [300, 300]}, {"time": 4, "value": [700, 300]}]},
        "anchorPoint": {"keys": [{"time": 0, "value": [25, 25, 0]}, {"time": 4, "value": [0, 0, 0]}]},
        "scale": {"keys": [{"time": 0, "value": [100, 100]}, {"time": 4, "value": [150, 150]}]}})"));
    Scene scene(sceneJson({layer}));
    scene.build();
    noGravity(scene);
    scene.body(0).type = BodyType::Kinematic;
    scene.writeKeysOnHandover();
    auto held = [&] { return scene.host.session->leaks().streamRefs; };

    // Each rebuild gives back what the last one held.
    for (int rebuild = 0; rebuild < 3; ++rebuild) {
        scene.rebuild();
        EXPECT_EQ(held(), 2) << rebuild;
    }
    scene.play();
    scene.ticks(3);
    EXPECT_EQ(held(), 2) << "ticks take none";

    // Writing the export's keys changes the layers: what was kept is
    // dropped before, and read again by the next tick that follows.
    scene.startRecording(0, 4);
    scene.ticks(5);
    ASSERT_EQ(scene.core.handedOver.size(), 1u);
    EXPECT_TRUE(scene.core.following.stale());
    EXPECT_EQ(held(), 0);
    scene.play();
    scene.ticks(1);
    EXPECT_FALSE(scene.core.following.stale());
    ASSERT_NE(scene.core.following.find(0), nullptr);
    EXPECT_EQ(held(), scene.core.following.heldStreams());

    // A core that goes away gives back what it held.
    {
        testing_simulation::TestCore other(scene.host.session->basicSuite(), testing_standin::Host::kPluginId);
        other.limiter.disable();
        other.readComposition();
        other.listBodyLayers();
        other.initWorld(false);
        other.initMyBodies();
        other.bodies[0].type = BodyType::Kinematic;
        other.restartAndPlayAnimation();
        EXPECT_EQ(held(), scene.core.following.heldStreams() + other.following.heldStreams());
        EXPECT_GT(other.following.heldStreams(), 0);
    }
    EXPECT_EQ(held(), scene.core.following.heldStreams());
    scene.core.following.release();
    EXPECT_EQ(held(), 0);
}

TEST(FrameStep, AEmaticBodyIsPulledTowardsItsMovingLayer)
{
    Scene scene(sceneJson({movingLayer(1)}));
    scene.build();
    noGravity(scene);
    scene.body(0).type = BodyType::AEmatic;
    scene.body(0).aematicTension = 5.0f;
    scene.body(0).aematicDamping = 0.7f;
    scene.rebuild();
    const b2Vec2 anchor = scene.body(0).aematicAnchorWorld;
    const float x0 = scene.world(0)->GetPosition().x;
    scene.play();
    scene.ticks(10);  // the target is where the layer is at the next frame
    const b2Vec2 target = scene.body(0).aematicJoint->GetTarget();
    EXPECT_NEAR(target.x - anchor.x, 5.0f * 0.4f, 1e-3f);
    EXPECT_NEAR(target.y, anchor.y, 1e-4f);
    EXPECT_GT(scene.world(0)->GetPosition().x - x0, 0.5f);
    EXPECT_LT(scene.world(0)->GetPosition().x, target.x);

    // Past its last key the target stays where the layer ended.
    scene.ticks(40);
    EXPECT_NEAR(scene.body(0).aematicJoint->GetTarget().x - anchor.x, 5.0f, 1e-3f);
    EXPECT_NEAR(scene.world(0)->GetPosition().x - anchor.x, 5.0f, 0.3f);
}

TEST(FrameStep, DormantBodyWakesWhenAWakeBodyTouchesIt)
{
    for (int behavior : {DormantBehavior::ZeroGravityScale, DormantBehavior::StaticBeforeCollision}) {
        SCOPED_TRACE(behavior);
        Scene scene(sceneJson({solid(1, 3, 500, 200), solid(2, 3, 500, 500)}));
        scene.build();
        scene.core.setDormantBehavior(behavior);
        scene.body(1).type = BodyType::Dormant;
        scene.rebuild();
        scene.play();
        scene.ticks(5);
        EXPECT_TRUE(scene.body(1).dormant);
        EXPECT_NEAR(scene.world(1)->GetPosition().y, 0.0f, 1e-5f) << "it hangs in the air";

        // The falling body reaches it after about 0.7 s.
        for (int i = 0; i < 40 && scene.body(1).dormant; ++i)
            scene.ticks(1);
        EXPECT_FALSE(scene.body(1).dormant);
        EXPECT_EQ(scene.world(1)->GetType(), b2_dynamicBody);
        scene.ticks(10);
        EXPECT_EQ(scene.world(1)->GetGravityScale(), 1.0f) << "its gravity is back";
        EXPECT_GT(scene.world(1)->GetPosition().y, 0.05f) << "and it falls";
    }
}

TEST(FrameStep, SpringPullsAStretchedPairTogether)
{
    Scene scene(sceneJson({solid(1, 3, 300, 500), solid(2, 3, 700, 500)}));
    scene.build();
    noGravity(scene);
    scene.body(0).type = BodyType::Static;
    MyJoint spring;
    spring.type = JointType::Spring;
    spring.bodyA = 0;
    spring.bodyB = 1;
    spring.springiness = 1.0f;
    spring.damping = 0.0f;
    spring.desiredLength = 2.0f;
    scene.core.joints.push_back(spring);
    scene.rebuild();
    EXPECT_EQ(scene.core.joints[0].joint, nullptr) << "a spring is no world joint";
    scene.play();
    scene.ticks(1);
    EXPECT_EQ(scene.world(1)->GetLinearVelocity(), b2Vec2_zero) << "the force acts from the next frame";
    scene.ticks(1);
    // F = -200 x 1 x (4 - 2) on a mass of 0.25, for the first sub-step (1/50 s).
    EXPECT_NEAR(scene.world(1)->GetLinearVelocity().x, -400.0f / 0.25f / 50.0f, 1e-2f);

    // A static body and a sleeping dormant one: no force.
    scene.body(1).type = BodyType::Dormant;
    scene.rebuild();
    scene.play();
    scene.ticks(3);
    EXPECT_EQ(scene.world(1)->GetLinearVelocity(), b2Vec2_zero);
}

TEST(FrameStep, FollowedScaleRebuildsShapesAroundTheCentreOfMass)
{
    // The layer's width doubles over the first second; its height stays.
    Scene scene(sceneJson({solid(1, 3, 500, 500, QStringLiteral(R"("transform": {"position": [500, 500],
        "scale": {"keys": [{"time": 0, "value": [100, 100, 100]}, {"time": 1, "value": [200, 100, 100]}]}})"))}));
    scene.build();
    noGravity(scene);
    MyBody& record = scene.body(0);
    record.type = BodyType::AEmatic;
    ShapeDef ring;
    ring.isCircle = true;
    ring.points = {b2Vec2(0.5f, 0.0f), b2Vec2(0.6f, -0.1f), b2Vec2(0.7f, 0.0f), b2Vec2(0.6f, 0.1f)};
    ring.radius = 0.1f;
    record.outlines.push_back({ring});
    record.isLayerBox = false;
    ShapeDef square;
    square.isBox = true;
    square.points = {b2Vec2(-0.25f, -0.25f), b2Vec2(0.25f, -0.25f), b2Vec2(0.25f, 0.25f), b2Vec2(-0.25f, 0.25f)};
    record.outlines.insert(record.outlines.begin(), {square});
    scene.rebuild();
    const float mass0 = scene.world(0)->GetMass();

    scene.play();
    scene.ticks(25);
    const b2Body* body = scene.world(0);
    const b2PolygonShape* polygon = nullptr;
    const b2CircleShape* circle = nullptr;
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
        if (f->GetType() == b2Shape::e_polygon)
            polygon = static_cast<const b2PolygonShape*>(f->GetShape());
        else
            circle = static_cast<const b2CircleShape*>(f->GetShape());
    }
    ASSERT_TRUE(polygon && circle);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int i = 0; i < polygon->m_count; ++i) {
        minX = std::min(minX, polygon->m_vertices[i].x);
        maxX = std::max(maxX, polygon->m_vertices[i].x);
        minY = std::min(minY, polygon->m_vertices[i].y);
        maxY = std::max(maxY, polygon->m_vertices[i].y);
        // Normals fit the scaled edges.
        const b2Vec2 edge = polygon->m_vertices[(i + 1) % polygon->m_count] - polygon->m_vertices[i];
        EXPECT_NEAR(b2Dot(polygon->m_normals[i], edge), 0.0f, 1e-5f);
        EXPECT_NEAR(polygon->m_normals[i].Length(), 1.0f, 1e-5f);
    }
    EXPECT_NEAR(maxX - minX, 1.0f, 0.05f);
    EXPECT_NEAR(maxY - minY, 0.5f, 1e-4f);
    EXPECT_NEAR(circle->m_radius, 0.2f, 0.01f);
    EXPECT_GT(circle->m_p.x, 0.9f) << "the circle's centre moves with the scale";
    EXPECT_GT(body->GetMass(), 1.8f * mass0) << "the mass follows the new shapes";
}

TEST(FrameStep, AFailedLayerQueryKeepsTheAEmaticTarget)
{
    Scene scene(sceneJson({movingLayer(1)}));
    scene.build();
    noGravity(scene);
    scene.body(0).type = BodyType::AEmatic;
    scene.rebuild();
    scene.play();
    scene.ticks(5);
    const b2Vec2 target = scene.body(0).aematicJoint->GetTarget();
    scene.host.session->faults().failEvery(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 38);
    scene.ticks(5);
    EXPECT_EQ(scene.body(0).aematicJoint->GetTarget(), target);
}
