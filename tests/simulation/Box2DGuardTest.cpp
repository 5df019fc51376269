// Every kind of hostile input the scene can hold reaches Box2D only checked:
// the process survives them all (Box2D's assertions would end it).
#include "SceneFixture.h"

#include "model/JointUserData.h"
#include "simulation/Box2DGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

ShapeDef polygon(std::vector<b2Vec2> points, bool box = false)
{
    ShapeDef shape;
    shape.points = std::move(points);
    shape.closed = true;
    shape.isBox = box;
    return shape;
}

} // namespace

TEST(Box2DGuard, PolygonsBox2DWouldRejectAreLeftOut)
{
    b2PolygonShape shape;
    const b2Vec2 good[3] = {{0, 0}, {1, 0}, {0, 1}};
    EXPECT_TRUE(Box2DGuard::makePolygon(good, 3, 0.01f, shape));
    EXPECT_FLOAT_EQ(shape.m_radius, 0.01f);
    EXPECT_EQ(shape.m_count, 3);

    const b2Vec2 collinear[3] = {{0, 0}, {1, 0}, {2, 0}};
    const b2Vec2 welded[3] = {{0, 0}, {0.001f, 0}, {0, 0.001f}};
    const b2Vec2 sliver[3] = {{0, 0}, {1, 0}, {0.5f, 1e-7f}};
    const b2Vec2 notFinite[3] = {{0, 0}, {kNaN, 0}, {0, 1}};
    const b2Vec2 infinite[3] = {{0, 0}, {kInf, 0}, {0, 1}};
    const b2Vec2 huge[3] = {{0, 0}, {1e30f, 0}, {0, 1e30f}};
    for (const b2Vec2* points : {collinear, welded, sliver, notFinite, infinite, huge})
        EXPECT_FALSE(Box2DGuard::makePolygon(points, 3, 0.01f, shape));
    EXPECT_FALSE(Box2DGuard::makePolygon(good, 2, 0.01f, shape));
    EXPECT_FALSE(Box2DGuard::makePolygon(good, 3, kNaN, shape));

    b2CircleShape circle;
    EXPECT_FALSE(Box2DGuard::makeCircle(b2Vec2(0, 0), 0.0f, circle));
    EXPECT_FALSE(Box2DGuard::makeCircle(b2Vec2(0, 0), kNaN, circle));
    EXPECT_FALSE(Box2DGuard::makeCircle(b2Vec2(kInf, 0), 1.0f, circle));
    EXPECT_TRUE(Box2DGuard::makeCircle(b2Vec2(0, 0), 0.5f, circle));

    float lower = 30.0f, upper = -30.0f;
    Box2DGuard::orderLimits(lower, upper);
    EXPECT_EQ(lower, -30.0f);
    EXPECT_EQ(upper, 30.0f);
    EXPECT_EQ(Box2DGuard::unitAxis(b2Vec2(0, 0)), b2Vec2(1, 0));
    EXPECT_EQ(Box2DGuard::unitAxis(b2Vec2(0, 3)), b2Vec2(0, 1));
}

TEST(Box2DGuard, EveryHostileRecordSurvivesTheBuildAndTheSimulation)
{
    Scene scene(sceneJson({solid(1, 3, 100, 100), solid(2, 3, 200, 100), solid(3, 3, 300, 100),
                           solid(4, 3, 400, 100), solid(5, 3, 500, 100), solid(6, 3, 600, 100),
                           solid(7, 3, 700, 100), solid(8, 3, 800, 100)}));
    scene.build();

    // Not-a-number and infinite placement, angle and velocities.
    scene.body(0).position = b2Vec2(kNaN, kInf);
    scene.body(0).angle = kNaN;
    scene.body(0).linearVelocityMagnitude = kInf;
    scene.body(0).angularVelocity = kNaN;
    // Negative and not-a-number damping, density, friction, bounciness.
    scene.body(1).linearDamping = -5.0f;
    scene.body(1).angularDamping = kNaN;
    scene.body(1).density = kNaN;
    scene.body(1).friction = -1.0f;
    scene.body(1).restitution = kInf;
    scene.body(1).gravityScale = kNaN;
    // Degenerate polygons of every kind, and one good triangle.
    scene.body(2).isLayerBox = false;
    scene.body(2).outlines = {{polygon({{0, 0}, {1, 0}, {2, 0}}), polygon({{0, 0}, {0.001f, 0}, {0, 0.001f}}),
                               polygon({{0, 0}, {kNaN, 0}, {0, 1}}), polygon({{0, 0}, {1, 0}}),
                               polygon({{0, 0}, {1, 0}, {1, 1e-6f}, {0, 1e-6f}}, true),
                               polygon({{0, 0}, {0.3f, 0}, {0, 0.3f}})}};
    // A tiny piece far from its body's origin would lose its inertia.
    scene.body(3).isLayerBox = false;
    scene.body(3).outlines = {{polygon({{50, 50}, {50.003f, 50}, {50, 50.003f}})}};
    // An open outline with repeated and not-a-number points.
    ShapeDef open;
    open.points = {{0, 0}, {0, 0}, {1, 0}, {kNaN, kNaN}, {1, 1}};
    scene.body(4).isLayerBox = false;
    scene.body(4).outlines = {{open}};
    scene.body(4).openShapeLineWidth = kNaN;
    // A circle without radius, and an AEmatic body with hostile pull.
    ShapeDef circle;
    circle.isCircle = true;
    circle.points = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    circle.radius = -1.0f;
    scene.body(5).isLayerBox = false;
    scene.body(5).outlines = {{circle}};
    scene.body(5).type = BodyType::AEmatic;
    scene.body(5).aematicTension = kNaN;
    scene.body(5).aematicDamping = -3.0f;
    scene.body(5).aematicAnchor = b2Vec2(kInf, 0);
    // Magnets with not-a-number strength, a spring of infinite length.
    scene.body(6).magnetismType = MagnetismType::Attraction;
    scene.body(6).magnetIntensity = kNaN;
    scene.body(6).magnetDistance = kInf;
    scene.body(7).magnetismType = MagnetismType::Repulsion;
    scene.body(7).magnetIntensity = kInf;
    scene.body(7).magnetDistance = 1e30f;

    JointUserData drawing;
    auto joint = [&](int type, int a, int b) {
        MyJoint j;
        j.type = type;
        j.bodyA = a;
        j.bodyB = b;
        j.jointUserData = &drawing;
        return j;
    };
    MyJoint self = joint(JointType::Revolute, 6, 6);  // a joint from a body to itself
    MyJoint inverted = joint(JointType::Revolute, 6, 7);
    inverted.enableLimit = true;
    inverted.lowerAngle = 45.0f;
    inverted.upperAngle = -45.0f;
    inverted.anchor = b2Vec2(kNaN, 0);
    MyJoint piston = joint(JointType::Prismatic, 6, 7);
    piston.axis = b2Vec2(0, 0);
    piston.enableLimit = true;
    piston.lowerTranslation = kInf;
    piston.upperTranslation = -kInf;
    piston.maxMotorForce = -10.0f;
    MyJoint soft = joint(JointType::Distance, 6, 7);
    soft.frequency = kInf;
    soft.damping = kNaN;
    soft.anchorA = b2Vec2(kNaN, kNaN);
    MyJoint rigid = joint(JointType::Distance, 6, 6);
    MyJoint outOfRange = joint(JointType::Distance, 6, 99);
    MyJoint spring = joint(JointType::Spring, 6, 7);
    spring.springiness = kInf;
    spring.desiredLength = kNaN;
    MyJoint sameSpot = joint(JointType::Spring, 6, 6);
    sameSpot.springiness = 1.0f;
    scene.core.joints = {self, inverted, piston, soft, rigid, outOfRange, spring, sameSpot};
    scene.core.controls.collisionTolerance = kNaN;
    scene.rebuild();

    EXPECT_EQ(scene.core.joints[0].joint, nullptr) << "a joint from a body to itself is left out";
    ASSERT_NE(scene.core.joints[1].joint, nullptr);
    auto* pivot = static_cast<b2RevoluteJoint*>(scene.core.joints[1].joint);
    EXPECT_LE(pivot->GetLowerLimit(), pivot->GetUpperLimit());
    EXPECT_EQ(scene.core.joints[1].lowerAngle, 45.0f) << "the record keeps what was typed";
    Box2DGuard::setLimits(pivot, 1.0f, -1.0f);
    EXPECT_LE(pivot->GetLowerLimit(), pivot->GetUpperLimit());
    EXPECT_EQ(scene.core.joints[5].joint, nullptr);

    // Hostile controls too: not-a-number gravity and time divider.
    scene.core.controls.gravityMagnitude = std::numeric_limits<double>::quiet_NaN();
    scene.core.controls.timeDivider = 0.0;
    scene.core.controls.substeps = std::numeric_limits<double>::infinity();
    scene.play();
    scene.ticks(5);
    scene.core.controls.timeDivider = 1.0;
    scene.core.controls.substeps = 2.0;
    scene.core.controls.gravityMagnitude = 10.0;
    scene.core.controls.gravityDirection = std::numeric_limits<double>::infinity();
    scene.ticks(30);
    for (size_t i = 0; i < scene.core.bodies.size(); ++i) {
        if (scene.world(int(i))) {
            EXPECT_TRUE(Box2DGuard::isFinite(scene.world(int(i))->GetPosition())) << i;
        }
    }

    // Bodies that turn dynamic later recompute their mass from the same
    // checked fixtures.
    for (size_t i = 0; i < scene.core.bodies.size(); ++i)
        scene.body(int(i)).type = BodyType::Kinematic;
    scene.core.setKineBehavior(KinematicBehavior::DynamicAtInpoint);
    scene.rebuild();
    scene.play();
    scene.ticks(3);
    SUCCEED() << "still alive";
}

TEST(Box2DGuard, PolygonsWhoseFloatAreaVanishesAreLeftOut)
{
    // Box2D measures a polygon's area in float from its first hull corner;
    // these have an area in exact arithmetic but none in Box2D's.
    const std::vector<std::vector<b2Vec2>> vanishing = {
        {{12.2996092f, 12.6999998f}, {-13.3000002f, -12.8000002f}, {-13.1999998f, -12.7003908f}},
        {{-13.3000002f, -12.8000002f}, {12.2996092f, 12.6999998f}, {-13.1999998f, -12.7003908f}},
    };
    b2PolygonShape shape;
    for (const auto& points : vanishing)
        EXPECT_FALSE(Box2DGuard::makePolygon(points.data(), int(points.size()), 0.01f, shape)) << points[0].x;

    // What the guard accepts, Box2D takes without complaint.
    const std::vector<std::vector<b2Vec2>> fine = {
        {{12.3f, 12.7f}, {-13.3f, -12.8f}, {-13.2f, -12.6f}},
        {{0, 0}, {0.01f, 0}, {0, 0.01f}},
        {{9.0e5f, 9.0e5f}, {9.0e5f + 1.0f, 9.0e5f}, {9.0e5f, 9.0e5f + 1.0f}},
    };
    b2World world(b2Vec2(0, 10));
    b2BodyDef def;
    def.type = b2_dynamicBody;
    b2Body* body = world.CreateBody(&def);
    for (const auto& points : fine) {
        ASSERT_TRUE(Box2DGuard::makePolygon(points.data(), int(points.size()), 0.01f, shape)) << points[0].x;
        b2MassData mass;
        shape.ComputeMass(&mass, 1.0f);
        EXPECT_GT(mass.mass, 0.0f);
        body->CreateFixture(&shape, 0.0f);
    }
}

namespace {

// A regular polygon of `corners` around `centre`, as triangles from its
// centre (the way a mask's triangulation reaches the scene).
std::vector<ShapeDef> disc(b2Vec2 centre, float radius, int corners)
{
    std::vector<ShapeDef> triangles;
    for (int i = 0; i < corners; ++i) {
        const float a0 = 2.0f * b2_pi * float(i) / float(corners);
        const float a1 = 2.0f * b2_pi * float(i + 1) / float(corners);
        triangles.push_back(polygon({centre, centre + radius * b2Vec2(std::cos(a0), std::sin(a0)),
                                     centre + radius * b2Vec2(std::cos(a1), std::sin(a1))}));
    }
    return triangles;
}

// The area the body's fixtures cover (its triangles may be merged into
// fewer convex pieces).
float shapeArea(const b2Body* body)
{
    float area = 0.0f;
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
        b2MassData md;
        f->GetShape()->ComputeMass(&md, 1.0f);
        area += md.mass;
    }
    return area;
}

} // namespace

TEST(Box2DGuard, SmallOutlineFarFromItsAnchorKeepsEveryTriangleOrSaysWhy)
{
    // Body 0: 30 px across in the corner of a 3840 x 2160 solid, its anchor
    // in the middle: each triangle alone is too far from the anchor to be
    // trusted, the whole disc is fine. Body 1: 40 px across 8,500 px away,
    // which float arithmetic cannot give a mass.
    Scene scene(sceneJson({solid(1, 1, 300, 300), solid(2, 1, 700, 300)}));
    scene.build();
    scene.body(0).isLayerBox = false;
    scene.body(0).outlines = {disc(b2Vec2(19.05f, 10.65f), 0.15f, 100)};
    scene.body(1).isLayerBox = false;
    scene.body(1).outlines = {disc(b2Vec2(85.0f, 0.0f), 0.2f, 100)};
    scene.body(1).name = "Far";
    scene.rebuild();

    b2Body* corner = scene.world(0);
    ASSERT_NE(corner, nullptr);
    const float discArea = 50.0f * 0.15f * 0.15f * std::sin(2.0f * b2_pi / 100.0f);
    EXPECT_NEAR(shapeArea(corner), discArea, 1e-4f) << "every triangle is kept";
    EXPECT_NEAR(corner->GetMass(), b2_pi * 0.15f * 0.15f * scene.body(0).density, 0.01f);
    EXPECT_GT(corner->GetInertia(), 0.0f);
    EXPECT_FALSE(scene.body(0).massUnusable);

    b2Body* far = scene.world(1);
    ASSERT_NE(far, nullptr);
    EXPECT_NEAR(shapeArea(far), 50.0f * 0.2f * 0.2f * std::sin(2.0f * b2_pi / 100.0f), 1e-4f)
        << "the shapes stay, to be seen and collided with";
    EXPECT_TRUE(scene.body(1).massUnusable);
    ASSERT_EQ(scene.core.setupReports.size(), 1);
    EXPECT_TRUE(scene.core.setupReports[0].contains("Body #2 (Far)")) << scene.core.setupReports[0].toStdString();
    EXPECT_FALSE(scene.core.setupReports[0].contains("Body #1"));

    // The corner disc falls; the far one keeps its place; a restart does not
    // say it again.
    const b2Vec2 start = far->GetPosition();
    const float cornerY = corner->GetPosition().y;
    scene.play();
    scene.ticks(20);
    EXPECT_GT(scene.world(0)->GetPosition().y, cornerY);
    EXPECT_EQ(scene.world(1)->GetPosition(), start);
    scene.rebuild();
    EXPECT_EQ(scene.core.setupReports.size(), 1);
}

TEST(Box2DGuard, WholeBodyMassCheckAgreesWithBox2D)
{
    // Rows: shapes far from the origin whose whole set Box2D can or cannot
    // centre; where the check passes, Box2D's own reset must not abort.
    struct Row {
        b2Vec2 centre;
        float radius;
        bool usable;
    };
    const Row rows[] = {
        {{0, 0}, 1.0f, true},
        {{19.05f, 10.65f}, 0.15f, true},
        {{85.0f, 0}, 0.2f, false},
        {{1000.0f, 1000.0f}, 0.5f, false},
        {{-300.0f, 40.0f}, 3.0f, true},
    };
    for (const Row& row : rows) {
        b2World world(b2Vec2(0, 10));
        b2BodyDef def;
        def.type = b2_dynamicBody;
        b2Body* body = world.CreateBody(&def);
        b2PolygonShape triangle;
        for (const ShapeDef& shape : disc(row.centre, row.radius, 64)) {
            ASSERT_TRUE(Box2DGuard::makePolygon(shape.points.data(), 3, 0.0f, triangle));
            body->CreateFixture(&triangle, 0.0f);
        }
        for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext())
            f->SetDensity(1.0f);
        Box2DGuard::MassCheck check;
        check.addFixtures(*body);
        EXPECT_EQ(check.wellConditioned(), row.usable) << row.centre.x;
        if (check.wellConditioned()) {
            body->ResetMassData();
            EXPECT_GT(body->GetInertia(), 0.0f);
        }
    }
}

// Finite but absurd joint values (anchors far from their bodies, huge limits
// and motor values) would make the solver's positions infinite: they reach
// Box2D within the scene's bounds, and the bodies stay finite.
TEST(Box2DGuard, JointValuesFarOutOfTheSceneAreBounded)
{
    b2World world(b2Vec2(0.0f, 10.0f));
    b2BodyDef def;
    b2Body* ground = world.CreateBody(&def);
    def.type = b2_dynamicBody;
    def.position.Set(1.0f, 0.0f);
    b2Body* body = world.CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(0.5f, 0.5f);
    body->CreateFixture(&box, 1.0f);

    b2RevoluteJointDef pivot;
    pivot.Initialize(ground, body, b2Vec2(1e30f, -1e30f));
    pivot.enableLimit = true;
    pivot.lowerAngle = -1e30f;
    pivot.upperAngle = 1e30f;
    pivot.enableMotor = true;
    pivot.motorSpeed = 1e30f;
    pivot.maxMotorTorque = 1e30f;
    auto* made = static_cast<b2RevoluteJoint*>(Box2DGuard::createJoint(world, pivot));
    ASSERT_NE(made, nullptr);
    EXPECT_LE(std::fabs(made->GetLocalAnchorA().x), Box2DGuard::kMaxMagnitude);
    EXPECT_LE(made->GetUpperLimit(), Box2DGuard::kMaxMagnitude);
    EXPECT_LE(made->GetMotorSpeed(), Box2DGuard::kMaxMagnitude);

    b2DistanceJointDef distance;
    distance.Initialize(ground, body, b2Vec2(0.0f, 0.0f), b2Vec2(1.0f, 0.0f));
    distance.localAnchorB.Set(1e30f, 0.0f);
    distance.length = 1e30f;
    distance.minLength = distance.maxLength = distance.length;
    ASSERT_NE(Box2DGuard::createJoint(world, distance), nullptr);

    for (int i = 0; i < 60; ++i)
        world.Step(1.0f / 60.0f, 8, 3);
    EXPECT_TRUE(Box2DGuard::isFinite(body->GetPosition()));
}

// A step that leaves a body without a finite place or speed: the body goes
// back to where the last good step left it (its unwrapped angle too), at
// rest, the next step is taken cold and the one after warm again; the other
// bodies keep their motion.
TEST(Box2DGuard, BodiesAStepLeftNotFiniteArePutBack)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct
    {
        const char* what;
        b2Vec2 velocity;
        float spin;
    } rows[] = {
        {"velocity not a number", b2Vec2(kNaN, 0.0f), 0.0f},
        {"infinite velocity", b2Vec2(0.0f, -kInf), 0.0f},
        {"infinite spin", b2Vec2(0.0f, 0.0f), kInf},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        b2World world(b2Vec2(0.0f, -10.0f));
        b2PolygonShape box;
        box.SetAsBox(0.5f, 0.5f);
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(0.0f, 0.0f);
        def.angle = 20.0f;  // beyond a turn: put back unwrapped
        b2Body* sick = world.CreateBody(&def);
        sick->CreateFixture(&box, 1.0f);
        def.position.Set(5.0f, 0.0f);
        def.angle = 0.0f;
        b2Body* well = world.CreateBody(&def);
        well->CreateFixture(&box, 1.0f);

        Box2DGuard::FiniteKeeper keeper;
        keeper.reset(world);
        world.Step(1.0f / 60.0f, 8, 3);
        EXPECT_EQ(keeper.afterStep(world), 0);
        const b2Vec2 goodPlace = sick->GetPosition();
        const float goodAngle = sick->GetAngle();

        sick->SetLinearVelocity(row.velocity);
        sick->SetAngularVelocity(row.spin);
        world.Step(1.0f / 60.0f, 8, 3);
        EXPECT_EQ(keeper.afterStep(world), 1);
        EXPECT_EQ(sick->GetPosition(), goodPlace);
        EXPECT_EQ(sick->GetAngle(), goodAngle);
        EXPECT_EQ(sick->GetLinearVelocity(), b2Vec2(0.0f, 0.0f));
        EXPECT_EQ(sick->GetAngularVelocity(), 0.0f);
        EXPECT_FALSE(world.GetWarmStarting());
        EXPECT_LT(well->GetLinearVelocity().y, 0.0f);

        world.Step(1.0f / 60.0f, 8, 3);
        EXPECT_EQ(keeper.afterStep(world), 0);
        EXPECT_TRUE(world.GetWarmStarting());
        EXPECT_LT(sick->GetPosition().y, goodPlace.y);  // falling again
    }
}

// A body made after the world was built is known from its first step on.
TEST(Box2DGuard, ABodyMadeAfterTheBuildIsKeptFromItsFirstStepOn)
{
    b2World world(b2Vec2(0.0f, -10.0f));
    Box2DGuard::FiniteKeeper keeper;
    keeper.reset(world);
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(3.0f, 4.0f);
    b2Body* body = world.CreateBody(&def);
    b2CircleShape circle;
    circle.m_radius = 0.5f;
    body->CreateFixture(&circle, 1.0f);
    world.Step(1.0f / 60.0f, 8, 3);
    EXPECT_EQ(keeper.afterStep(world), 0);
    body->SetLinearVelocity(b2Vec2(std::numeric_limits<float>::quiet_NaN(), 0.0f));
    world.Step(1.0f / 60.0f, 8, 3);
    EXPECT_EQ(keeper.afterStep(world), 1);
    EXPECT_TRUE(Box2DGuard::isFinite(body->GetPosition()));
    EXPECT_NEAR(body->GetPosition().x, 3.0f, 0.01f);
}
