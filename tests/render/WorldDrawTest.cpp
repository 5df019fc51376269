// The world drawing routines against recording callbacks: which shapes,
// outlines, joints, boxes and axes are drawn, with which flags, colours and
// styles, and in which order.
#include "RecordingDraw.h"

#include "render/WorldDraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using testing_render::Call;
using testing_render::DrawWorld;

constexpr float kPi = 3.14159265f;

const b2Color kRed(0.8f, 0.1f, 0.1f);
const b2Color kBlue(0.1f, 0.2f, 0.9f);

void expectNear(const b2Vec2& actual, const b2Vec2& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

void expectColor(const b2Color& actual, const b2Color& expected)
{
    EXPECT_FLOAT_EQ(actual.r, expected.r);
    EXPECT_FLOAT_EQ(actual.g, expected.g);
    EXPECT_FLOAT_EQ(actual.b, expected.b);
}

// Does the outline hold the edge a-b, in either direction?
bool hasEdge(const Call& outline, b2Vec2 a, b2Vec2 b)
{
    for (size_t i = 0; i + 1 < outline.points.size(); i += 2) {
        const b2Vec2& p = outline.points[i];
        const b2Vec2& q = outline.points[i + 1];
        if (((p - a).Length() < 1e-4f && (q - b).Length() < 1e-4f) ||
            ((p - b).Length() < 1e-4f && (q - a).Length() < 1e-4f))
            return true;
    }
    return false;
}

// A square of side 2 at `position` made of two triangles sharing the
// diagonal (-1, -1)-(1, 1).
b2Body* twoTriangles(DrawWorld& w, b2Vec2 position, UserData* data)
{
    b2Body* body = w.body(position);
    w.polygon(body, {b2Vec2(-1, -1), b2Vec2(1, -1), b2Vec2(1, 1)}, data);
    w.polygon(body, {b2Vec2(-1, -1), b2Vec2(1, 1), b2Vec2(-1, 1)}, data);
    return body;
}

TEST(WorldDrawShapes, PolygonsAndCirclesCarryTheBodyStateAndTheWorldsColours)
{
    DrawWorld w;
    UserData* boxData = w.data(kRed);
    boxData->notAlive = true;
    boxData->isMagnet = true;
    boxData->isRepulsion = true;
    boxData->magnetDistance = 150.0f;
    b2Body* boxBody = w.body(b2Vec2(3, 4), b2_dynamicBody, kPi / 2);
    w.box(boxBody, 1.0f, 0.5f, boxData);
    b2Body* ball = w.body(b2Vec2(-2, 1), b2_dynamicBody, kPi / 2);
    w.circle(ball, b2Vec2(0.5f, 0), 0.75f, w.data(kBlue));

    DrawDebugData(w.world, false);

    // Newest body first.
    ASSERT_EQ(w.draw.ops(), (std::vector<std::string>{"SolidCircle", "SolidPolygon"}));
    const Call circle = w.draw.calls[0];
    expectNear(circle.centre, b2Vec2(-2, 1.5f));
    EXPECT_FLOAT_EQ(circle.radius, 0.75f);
    expectNear(circle.axis, b2Vec2(0, 1));
    expectColor(circle.color, kBlue);
    expectColor(circle.selectedColor, w.world.selectionHighlightColor);
    expectColor(circle.staticColor, w.world.staticHighlightColor);
    EXPECT_FLOAT_EQ(circle.width, 2.5f);

    const Call polygon = w.draw.calls[1];
    ASSERT_EQ(polygon.points.size(), 4u);
    // A 2 x 1 box turned a quarter: 1 wide, 2 high around (3, 4).
    for (const b2Vec2& p : polygon.points) {
        EXPECT_NEAR(std::fabs(p.x - 3.0f), 0.5f, 1e-5f);
        EXPECT_NEAR(std::fabs(p.y - 4.0f), 1.0f, 1e-5f);
    }
    expectColor(polygon.color, kRed);
    EXPECT_TRUE(polygon.notAlive && polygon.isMagnet && polygon.isRepulsion);
    EXPECT_FALSE(polygon.selected || polygon.staticHighlight);
    EXPECT_FLOAT_EQ(polygon.magnetDistance, 150.0f);
    expectNear(polygon.centre, boxBody->GetWorldCenter());
    EXPECT_TRUE(polygon.showMesh);

    w.world.setShowMesh(false);
    w.draw.calls.clear();
    DrawDebugData(w.world, false);
    EXPECT_FALSE(w.draw.named("SolidPolygon").at(0).showMesh);
}

TEST(WorldDrawShapes, SelectedBodyIsOutlinedAlongItsOuterEdgesOnly)
{
    DrawWorld w;
    twoTriangles(w, b2Vec2(5, 0), w.data(kRed, true));

    DrawDebugData(w.world, false);

    ASSERT_EQ(w.draw.ops(), (std::vector<std::string>{"SolidPolygon", "SolidPolygon", "Outline"}));
    const Call outline = w.draw.calls[2];
    EXPECT_EQ(outline.points.size(), 8u);
    EXPECT_TRUE(hasEdge(outline, b2Vec2(4, -1), b2Vec2(6, -1)));
    EXPECT_TRUE(hasEdge(outline, b2Vec2(6, -1), b2Vec2(6, 1)));
    EXPECT_TRUE(hasEdge(outline, b2Vec2(6, 1), b2Vec2(4, 1)));
    EXPECT_TRUE(hasEdge(outline, b2Vec2(4, 1), b2Vec2(4, -1)));
    EXPECT_FALSE(hasEdge(outline, b2Vec2(4, -1), b2Vec2(6, 1)));
    EXPECT_TRUE(outline.stippled);
    EXPECT_FLOAT_EQ(outline.width, 2.5f);
    expectColor(outline.color, w.world.selectionHighlightColor);
    EXPECT_FLOAT_EQ(outline.color.a, 1.0f);
}

TEST(WorldDrawShapes, SharedEdgesAreFoundInEitherDirectionAndOnlyWithinTolerance)
{
    DrawWorld w;
    b2Body* body = twoTriangles(w, b2Vec2(0, 0), w.data(kRed, true));
    // Box2D keeps polygons counter-clockwise, so neighbours run a shared
    // edge in opposite directions; turning one round makes them agree.
    auto* second = static_cast<b2PolygonShape*>(body->GetFixtureList()->GetShape());
    std::reverse(second->m_vertices, second->m_vertices + second->m_count);
    EXPECT_EQ(outerEdges(*body, body->GetTransform()).size(), 4u);

    // A diagonal off by 0.0001 at one end is not shared: both are drawn.
    DrawWorld apart;
    b2Body* b = apart.body(b2Vec2(0, 0));
    UserData* data = apart.data(kRed, true);
    apart.polygon(b, {b2Vec2(-1, -1), b2Vec2(1, -1), b2Vec2(1, 1)}, data);
    apart.polygon(b, {b2Vec2(-1, -1), b2Vec2(1.0002f, 1), b2Vec2(-1, 1)}, data);
    EXPECT_EQ(outerEdges(*b, b->GetTransform()).size(), 6u);
}

TEST(WorldDrawShapes, StaticBodiesAreOutlinedSolidOrStippledWhenSelected)
{
    DrawWorld w;
    b2Body* still = w.body(b2Vec2(0, 0), b2_staticBody);
    w.box(still, 1, 1, w.data(kRed, false, true));
    DrawDebugData(w.world, false);
    Call outline = w.draw.named("Outline").at(0);
    EXPECT_FALSE(outline.stippled);
    EXPECT_FLOAT_EQ(outline.width, 1.25f);
    expectColor(outline.color, w.world.staticHighlightColor);

    DrawWorld selected;
    b2Body* picked = selected.body(b2Vec2(0, 0), b2_staticBody);
    selected.box(picked, 1, 1, selected.data(kRed, true, true));
    DrawDebugData(selected.world, false);
    outline = selected.draw.named("Outline").at(0);
    EXPECT_TRUE(outline.stippled);
    EXPECT_FLOAT_EQ(outline.width, 2.5f);
    expectColor(outline.color, selected.world.staticHighlightColor);
}

TEST(WorldDrawShapes, OnlyPolygonEdgesAreOutlinedAndUnmarkedBodiesNotAtAll)
{
    DrawWorld w;
    b2Body* mixed = w.body(b2Vec2(0, 0));
    UserData* data = w.data(kRed, true);
    w.circle(mixed, b2Vec2(3, 0), 1.0f, data);
    w.box(mixed, 1, 1, data);
    b2Body* plain = w.body(b2Vec2(10, 0));
    w.box(plain, 1, 1, w.data(kBlue));

    DrawDebugData(w.world, false);

    const std::vector<Call> outlines = w.draw.named("Outline");
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0].points.size(), 8u);
    for (const b2Vec2& p : outlines[0].points)
        EXPECT_LE(std::fabs(p.x), 1.0f + 1e-5f);
}

struct JointScene {
    explicit JointScene(uint32_t flags = DrawingFlag::Joints)
        : w(flags)
    {
        a = w.body(b2Vec2(-1, 0));
        w.box(a, 0.2f, 0.2f, w.data(kRed));
        b = w.body(b2Vec2(1, 0));
        w.box(b, 0.2f, 0.2f, w.data(kBlue));
    }

    b2RevoluteJoint* revolute(b2Vec2 anchor, JointUserData* data, float lower = 0.0f, float upper = 0.0f)
    {
        b2RevoluteJointDef def;
        def.Initialize(a, b, anchor);
        def.enableLimit = true;
        def.lowerAngle = lower;
        def.upperAngle = upper;
        def.userData.pointer = reinterpret_cast<uintptr_t>(data);
        data->pivotAnchor = anchor;
        return static_cast<b2RevoluteJoint*>(w.world.CreateJoint(&def));
    }
    b2Joint* distance(JointUserData* data)
    {
        b2DistanceJointDef def;
        def.Initialize(a, b, b2Vec2(-1, 0.1f), b2Vec2(1, 0.1f));
        def.userData.pointer = reinterpret_cast<uintptr_t>(data);
        return w.world.CreateJoint(&def);
    }

    DrawWorld w;
    b2Body* a;
    b2Body* b;
};

TEST(WorldDrawJoints, DistanceJointIsOneSymbolSegmentBetweenItsAnchors)
{
    JointScene scene;
    const b2Color yellow(1, 1, 0);
    scene.distance(scene.w.jointData(yellow, true));

    DrawDebugData(scene.w.world, false);

    ASSERT_EQ(scene.w.draw.ops(), std::vector<std::string>{"Segment"});
    const Call segment = scene.w.draw.calls[0];
    expectNear(segment.points[0], b2Vec2(-1, 0.1f));
    expectNear(segment.points[1], b2Vec2(1, 0.1f));
    EXPECT_EQ(segment.style, SegmentStyle::DistanceSymbol);
    EXPECT_TRUE(segment.selected);
    expectColor(segment.color, yellow);
    expectColor(segment.selectedColor, scene.w.world.selectedJointColor);
    EXPECT_FLOAT_EQ(segment.width, 1.5f);
}

TEST(WorldDrawJoints, RevoluteJointDrawsArmsToItsPivotAndThePivotCircle)
{
    JointScene scene;
    const b2Color green(0.33f, 1, 0.33f);
    JointUserData* data = scene.w.jointData(green);
    scene.revolute(b2Vec2(0, 0.5f), data);
    // While the simulation is not playing the pivot drawn is the stored one.
    data->pivotAnchor = b2Vec2(0, 2);

    DrawDebugData(scene.w.world, false);

    ASSERT_EQ(scene.w.draw.ops(), (std::vector<std::string>{"Segment", "Segment", "Pivot"}));
    const std::vector<Call>& calls = scene.w.draw.calls;
    expectNear(calls[0].points[0], b2Vec2(-1, 0));
    expectNear(calls[0].points[1], b2Vec2(0, 2));
    expectNear(calls[1].points[0], b2Vec2(1, 0));
    EXPECT_EQ(calls[0].style, SegmentStyle::PivotArm);
    EXPECT_EQ(calls[1].style, SegmentStyle::PivotArm);
    expectNear(calls[2].points[0], b2Vec2(0, 2));
    EXPECT_FLOAT_EQ(calls[2].radius, 0.15f);
    EXPECT_FLOAT_EQ(calls[2].width, 1.5f * 0.8f);
    EXPECT_FALSE(calls[2].stippled);
    expectColor(calls[2].color, green);

    // Playing: the live anchor; selected: a red stippled pivot.
    data->playing = true;
    data->selected = true;
    scene.w.draw.calls.clear();
    DrawDebugData(scene.w.world, true);
    const Call pivot = scene.w.draw.named("Pivot").at(0);
    expectNear(pivot.points[0], b2Vec2(0, 0.5f));
    EXPECT_TRUE(pivot.stippled);
    EXPECT_FLOAT_EQ(pivot.width, 1.5f);
    expectColor(pivot.color, b2Color(1, 0, 0));
}

TEST(WorldDrawJoints, SelectedRevoluteLimitsShowRaysAndSectorsOnlyWhileStopped)
{
    JointScene scene;
    JointUserData* data = scene.w.jointData(b2Color(0.33f, 1, 0.33f), true);
    // The anchor at the origin, body A at (-1, 0), body B at (1, 0); the
    // upper limit 0 has no display.
    scene.revolute(b2Vec2(0, 0), data, -kPi / 2, 0.0f);

    DrawDebugData(scene.w.world, false);

    const std::vector<Call> segments = scene.w.draw.named("Segment");
    const std::vector<Call> fans = scene.w.draw.named("Fan");
    ASSERT_EQ(segments.size(), 4u);  // two arms, two lower-limit rays
    ASSERT_EQ(fans.size(), 2u);
    // Body A's ray: (-0.4, 0) turned by the lower limit -pi/2.
    EXPECT_EQ(segments[2].style, SegmentStyle::Plain);
    expectNear(segments[2].points[0], b2Vec2(0, 0));
    expectNear(segments[2].points[1], b2Vec2(0, -0.4f));
    // Body B's ray: (0.4, 0) turned the other way.
    expectNear(segments[3].points[1], b2Vec2(0, -0.4f));
    // The sector from the limit ray back to the body's ray, radius 0.24,
    // in the selected-joint colour at alpha 0.3.
    expectNear(fans[0].points.front(), b2Vec2(0, 0));
    expectNear(fans[0].points[1], b2Vec2(0, -0.24f));
    expectNear(fans[0].points.back(), b2Vec2(-0.24f, 0), 1e-3f);
    expectColor(fans[0].color, scene.w.world.selectedJointColor);
    EXPECT_FLOAT_EQ(fans[0].color.a, 0.3f);
    expectNear(fans[1].points.back(), b2Vec2(0.24f, 0), 1e-3f);

    scene.w.draw.calls.clear();
    DrawDebugData(scene.w.world, true);
    EXPECT_TRUE(scene.w.draw.named("Fan").empty());
    EXPECT_EQ(scene.w.draw.named("Segment").size(), 2u);
}

TEST(WorldDrawJoints, JointsBitAloneDecidesAndOtherJointTypesAreSkipped)
{
    JointScene scene(DrawingFlag::Shapes);
    scene.distance(scene.w.jointData(b2Color(1, 1, 0)));
    DrawDebugData(scene.w.world, false);
    EXPECT_TRUE(scene.w.draw.named("Segment").empty());

    JointScene others;
    b2PrismaticJointDef piston;
    piston.Initialize(others.a, others.b, b2Vec2(0, 0), b2Vec2(1, 0));
    piston.userData.pointer = reinterpret_cast<uintptr_t>(others.w.jointData(b2Color(1, 1, 1)));
    others.w.world.CreateJoint(&piston);
    b2MouseJointDef mouse;
    mouse.bodyA = others.a;
    mouse.bodyB = others.b;
    mouse.target = b2Vec2(1, 0);
    others.w.world.CreateJoint(&mouse);
    DrawDebugData(others.w.world, false);
    EXPECT_TRUE(others.w.draw.calls.empty());
}

TEST(WorldDrawBoxesAndAxes, FattenedBoxesOfEnabledBodiesAndAxesOfBodiesWithFixtures)
{
    DrawWorld w(DrawingFlag::BoundingBoxes | DrawingFlag::CentresOfMass);
    w.body(b2Vec2(7, 7));  // no fixtures: no axes
    b2Body* off = w.body(b2Vec2(-5, 0));
    w.box(off, 1, 1, w.data(kBlue));
    off->SetEnabled(false);
    b2Body* on = w.body(b2Vec2(2, 3), b2_dynamicBody, 0.3f);
    w.box(on, 1, 0.5f, w.data(kRed, true));

    DrawDebugData(w.world, false);

    ASSERT_EQ(w.draw.ops(), (std::vector<std::string>{"Polygon", "Transform", "Transform"}));
    // The broad phase's box: the fixture's own, fattened by Box2D's margin.
    const Call box = w.draw.calls[0];
    const b2AABB tight = on->GetFixtureList()->GetAABB(0);
    const b2Vec2 margin(b2_aabbExtension, b2_aabbExtension);
    ASSERT_EQ(box.points.size(), 4u);
    expectNear(box.points[0], tight.lowerBound - margin);
    expectNear(box.points[1], b2Vec2(tight.upperBound.x + margin.x, tight.lowerBound.y - margin.y));
    expectNear(box.points[2], tight.upperBound + margin);
    expectNear(box.points[3], b2Vec2(tight.lowerBound.x - margin.x, tight.upperBound.y + margin.y));
    expectColor(box.color, b2Color(1, 1, 1));
    EXPECT_TRUE(box.selected);

    const Call axes = w.draw.calls[1];
    expectNear(axes.xf.p, on->GetWorldCenter());
    EXPECT_NEAR(axes.xf.q.GetAngle(), 0.3f, 1e-5f);
}

TEST(WorldDrawPasses, ShapesThenJointsThenBoxesThenAxesAndNothingWithoutCallbacks)
{
    JointScene scene(DrawingFlag::Shapes | DrawingFlag::Joints | DrawingFlag::BoundingBoxes |
                     DrawingFlag::CentresOfMass);
    scene.distance(scene.w.jointData(b2Color(1, 1, 0)));
    DrawDebugData(scene.w.world, false);
    EXPECT_EQ(scene.w.draw.ops(), (std::vector<std::string>{"SolidPolygon", "SolidPolygon", "Segment", "Polygon",
                                                            "Polygon", "Transform", "Transform"}));

    scene.w.draw.calls.clear();
    scene.w.world.SetDebugDraw(nullptr);
    DrawDebugData(scene.w.world, false);
    EXPECT_TRUE(scene.w.draw.calls.empty());
}

TEST(WorldDrawArc, FanStepsAlongTheCircleFromTheStartAngle)
{
    // An arc of 0: the centre and two identical rim points.
    std::vector<b2Vec2> fan = arcFan(1, 2, 0.5f, 0.0f, 0.0f, 32);
    ASSERT_EQ(fan.size(), 3u);
    expectNear(fan[0], b2Vec2(1, 2));
    expectNear(fan[1], b2Vec2(1.5f, 2));
    expectNear(fan[2], b2Vec2(1.5f, 2));

    // A quarter turn with 32 segments per turn: 9 steps, 10 rim points,
    // each on the circle.
    fan = arcFan(0, 0, 2.0f, kPi / 2, kPi / 2, 32);
    ASSERT_EQ(fan.size(), 11u);
    for (size_t i = 1; i < fan.size(); ++i)
        EXPECT_NEAR(fan[i].Length(), 2.0f, 1e-3f);
    expectNear(fan[1], b2Vec2(0, 2));
    expectNear(fan.back(), b2Vec2(-2, 0), 1e-3f);

    // A negative sweep goes the other way.
    fan = arcFan(0, 0, 1.0f, 0.0f, -kPi / 2, 32);
    expectNear(fan.back(), b2Vec2(0, -1), 1e-3f);

    EXPECT_TRUE(arcFan(0, 0, 1.0f, 0.0f, std::nanf(""), 32).empty());
    EXPECT_LE(arcFan(0, 0, 1.0f, 0.0f, 1e30f, 32).size(), 1000003u);
}

} // namespace
