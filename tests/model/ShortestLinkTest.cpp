#include "model/MyBody.h"
#include "model/NearestVertex.h"
#include "model/ShortestLink.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ShortestLinkTest : public ::testing::Test
{
protected:
    b2Body* body(b2Vec2 position, float angle = 0.0f)
    {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position = position;
        def.angle = angle;
        return world.CreateBody(&def);
    }

    b2Body* box(b2Vec2 position, float halfWidth, float halfHeight, float angle = 0.0f)
    {
        b2Body* b = body(position, angle);
        b2PolygonShape shape;
        shape.SetAsBox(halfWidth, halfHeight);
        b->CreateFixture(&shape, 1.0f);
        return b;
    }

    static float length(const std::vector<b2Vec2>& link) { return (link[1] - link[0]).Length(); }

    b2World world{b2Vec2(0.0f, 10.0f)};
};

TEST_F(ShortestLinkTest, BoxToBoxRunsBetweenFacingEdges)
{
    const std::vector<b2Vec2> link =
        computeShortestLinkBetweenTwoBodies(box(b2Vec2(0, 0), 0.5f, 0.5f), box(b2Vec2(3, 0), 0.5f, 0.5f));
    ASSERT_EQ(link.size(), 2u);
    EXPECT_NEAR(length(link), 2.0f, 1e-5f);
    EXPECT_NEAR(link[0].x, 0.5f, 1e-5f);
    EXPECT_NEAR(link[1].x, 2.5f, 1e-5f);
    EXPECT_LE(std::fabs(link[0].y), 0.5f + 1e-5f);

    // A diamond whose right vertex sits at (sqrt(1/2), 0).
    const std::vector<b2Vec2> rotated = computeShortestLinkBetweenTwoBodies(
        box(b2Vec2(0, 0), 0.5f, 0.5f, b2_pi / 4), box(b2Vec2(3, 0), 0.5f, 0.5f));
    EXPECT_NEAR(rotated[0].x, std::sqrt(0.5f), 1e-5f);
}

TEST_F(ShortestLinkTest, CircleToBoxUsesACircleSamplePoint)
{
    b2Body* round = body(b2Vec2(0, 0));
    b2CircleShape circle;
    circle.m_radius = 1.0f;
    round->CreateFixture(&circle, 1.0f);
    const std::vector<b2Vec2> link = computeShortestLinkBetweenTwoBodies(round, box(b2Vec2(3, 0), 0.5f, 0.5f));
    EXPECT_NEAR(length(link), 1.5f, 1e-5f);
    EXPECT_NEAR(link[0].x, 1.0f, 1e-5f);
    EXPECT_NEAR(link[0].y, 0.0f, 1e-5f);
}

TEST_F(ShortestLinkTest, OverlappingBodies)
{
    // Identical bodies at one place: nothing beats the centres' distance 0.
    const std::vector<b2Vec2> same =
        computeShortestLinkBetweenTwoBodies(box(b2Vec2(1, 1), 0.5f, 0.5f), box(b2Vec2(1, 1), 0.5f, 0.5f));
    EXPECT_FLOAT_EQ(same[0].x, 1.0f);

    // Corners of one on edges of the other.
    const std::vector<b2Vec2> offset =
        computeShortestLinkBetweenTwoBodies(box(b2Vec2(0, 0), 0.5f, 0.5f), box(b2Vec2(0.5f, 0), 0.5f, 0.5f));
    EXPECT_NEAR(length(offset), 0.0f, 1e-5f);
}

TEST_F(ShortestLinkTest, EveryFixtureAndShapeKindIsSearched)
{
    b2Body* a = box(b2Vec2(0, 0), 0.5f, 0.5f);
    b2PolygonShape second;
    second.SetAsBox(0.5f, 0.5f, b2Vec2(2.0f, 0.0f), 0.0f);
    a->CreateFixture(&second, 1.0f);
    const std::vector<b2Vec2> link = computeShortestLinkBetweenTwoBodies(a, box(b2Vec2(5, 0), 0.5f, 0.5f));
    EXPECT_NEAR(length(link), 2.0f, 1e-5f);
    EXPECT_NEAR(link[0].x, 2.5f, 1e-5f);

    b2Body* ground = body(b2Vec2(0, 2));
    b2EdgeShape edge;
    edge.SetTwoSided(b2Vec2(-5, 0), b2Vec2(5, 0));
    ground->CreateFixture(&edge, 0.0f);
    EXPECT_NEAR(length(computeShortestLinkBetweenTwoBodies(box(b2Vec2(0, 0), 0.5f, 0.5f), ground)), 1.5f, 1e-5f);

    EXPECT_FLOAT_EQ(computeShortestLinkBetweenTwoBodies(a, nullptr)[0].x, a->GetWorldCenter().x);
}

TEST(PointLineTest, ProjectionEndsCountAndOnlyShorterReplaces)
{
    const LineStruct segment{b2Vec2(0, 0), b2Vec2(2, 0)};
    float distance = 10.0f;
    b2Vec2 p(-1, -1);
    b2Vec2 q(-1, -1);

    computePointLineIntersection(b2Vec2(0, 1), segment, distance, p, q);  // u = 0
    EXPECT_FLOAT_EQ(distance, 1.0f);
    computePointLineIntersection(b2Vec2(2, -0.5f), segment, distance, p, q);  // u = 1
    EXPECT_FLOAT_EQ(distance, 0.5f);
    EXPECT_FLOAT_EQ(q.x, 2.0f);

    computePointLineIntersection(b2Vec2(2.01f, 0.0f), segment, distance, p, q);  // beyond the end
    computePointLineIntersection(b2Vec2(1.0f, 0.5f), segment, distance, p, q);   // not shorter
    computePointLineIntersection(b2Vec2(1, 0), LineStruct{b2Vec2(1, 0), b2Vec2(1, 0)}, distance, p, q);
    EXPECT_FLOAT_EQ(distance, 0.5f);
    EXPECT_FLOAT_EQ(p.x, 2.0f);
}

TEST_F(ShortestLinkTest, NearestVertexSnapsToVerticesAndEdgeMidpoints)
{
    MyBody b;
    b.body = box(b2Vec2(1, 2), 5.0f, 0.5f, b2_pi / 2);  // the long edges run along y
    ShapeDef outline;
    outline.points = {b2Vec2(-5, -0.5f), b2Vec2(5, -0.5f), b2Vec2(5, 0.5f), b2Vec2(-5, 0.5f)};
    b.outlines = {{outline}};

    // Local (0, -0.5), a long edge's midpoint, is world (1.5, 2).
    const b2Vec2 mid = getNearestVertex(b, b2Vec2(1.7f, 2.1f));
    EXPECT_NEAR(mid.x, 1.5f, 1e-5f);
    EXPECT_NEAR(mid.y, 2.0f, 1e-5f);
    // Local (5, 0.5) is world (0.5, 7).
    const b2Vec2 corner = getNearestVertex(b, b2Vec2(0.3f, 7.4f));
    EXPECT_NEAR(corner.x, 0.5f, 1e-5f);
    EXPECT_NEAR(corner.y, 7.0f, 1e-5f);

    EXPECT_FLOAT_EQ(getNearestVertex(b, b2Vec2(2e6f, 0.0f)).x, 2e6f);
    b.body = nullptr;
    EXPECT_FLOAT_EQ(getNearestVertex(b, b2Vec2(1.7f, 2.1f)).x, 1.7f);
}

}  // namespace
