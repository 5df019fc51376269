#include "model/OutlineDiscretisation.h"

#include <gtest/gtest.h>

namespace {

ShapeDef straight(std::vector<b2Vec2> points, bool closed)
{
    ShapeDef s;
    s.inTangents.assign(points.size(), b2Vec2(0, 0));
    s.outTangents.assign(points.size(), b2Vec2(0, 0));
    s.points = std::move(points);
    s.closed = closed;
    return s;
}

// A closed four-vertex round outline: every segment curved.
ShapeDef roundOutline()
{
    const float k = 27.6f;
    ShapeDef s = straight({b2Vec2(100, 50), b2Vec2(150, 100), b2Vec2(100, 150), b2Vec2(50, 100)}, true);
    s.inTangents = {b2Vec2(-k, 0), b2Vec2(0, -k), b2Vec2(k, 0), b2Vec2(0, k)};
    s.outTangents = {b2Vec2(k, 0), b2Vec2(0, k), b2Vec2(-k, 0), b2Vec2(0, -k)};
    return s;
}

void expectPoint(b2Vec2 p, float x, float y)
{
    EXPECT_NEAR(p.x, x, 1e-4f);
    EXPECT_NEAR(p.y, y, 1e-4f);
}

TEST(DiscretizeTest, PrecisionTwoOrLessLeavesTheOutlineUntouched)
{
    for (int precision : {2, 0, -3}) {
        ShapeDef s = roundOutline();
        s.points.push_back(s.points[0]);  // not even duplicates are removed
        discretizeShape(s, precision);
        EXPECT_EQ(s.points.size(), 5u) << precision;
    }
}

TEST(DiscretizeTest, StraightSegmentsKeepTheirVertices)
{
    ShapeDef open = straight({b2Vec2(0, 0), b2Vec2(10, 0), b2Vec2(10, 10)}, false);
    discretizeShape(open, 4);
    ASSERT_EQ(open.points.size(), 3u);
    expectPoint(open.points[2], 10, 10);

    ShapeDef square = straight({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)}, true);
    discretizeShape(square, 4);
    EXPECT_EQ(square.points.size(), 4u);

    // A tangent component of exactly 0.5 still counts as straight.
    ShapeDef almost = straight({b2Vec2(0, 0), b2Vec2(10, 0)}, false);
    almost.outTangents[0] = b2Vec2(0.5f, -0.5f);
    almost.inTangents[1] = b2Vec2(-0.5f, 0.5f);
    discretizeShape(almost, 6);
    EXPECT_EQ(almost.points.size(), 2u);
}

TEST(DiscretizeTest, CurvedSegmentsGetPrecisionMinusOneSamples)
{
    // Mesh precision 2 reaches here as 4: three samples per curved segment,
    // each segment starting with its vertex, the closing one included.
    ShapeDef closed = roundOutline();
    discretizeShape(closed, 4);
    ASSERT_EQ(closed.points.size(), 12u);
    expectPoint(closed.points[3], 150, 100);
    expectPoint(closed.points[9], 50, 100);
    EXPECT_LT(closed.points[11].x, 100.0f);
    EXPECT_EQ(closed.inTangents.size(), 4u);  // tangent lists stay

    ShapeDef open = roundOutline();
    open.closed = false;
    discretizeShape(open, 4);
    ASSERT_EQ(open.points.size(), 10u);  // three curved segments, then the end vertex
    expectPoint(open.points.back(), 50, 100);
}

TEST(DiscretizeTest, TwoPointCurveGetsOneMoreSample)
{
    ShapeDef s = straight({b2Vec2(0, 0), b2Vec2(10, 0)}, false);
    s.outTangents[0] = b2Vec2(0, 4);
    s.inTangents[1] = b2Vec2(0, 4);
    discretizeShape(s, 4);
    ASSERT_EQ(s.points.size(), 5u);  // t = 0, 0.25, 0.5, 0.75, then the end
    expectPoint(s.points[2], 5, 3);
    expectPoint(s.points[4], 10, 0);
}

TEST(DiscretizeTest, DegenerateOutlinesDoNotCrash)
{
    ShapeDef empty;
    empty.closed = true;
    discretizeShape(empty, 5);
    EXPECT_TRUE(empty.points.empty());

    ShapeDef single;
    single.points = {b2Vec2(3, 4)};  // and no tangent lists at all
    single.closed = true;
    discretizeShape(single, 5);
    EXPECT_EQ(single.points.size(), 1u);
}

TEST(RemoveDuplicatesTest, KeepsFirstOccurrenceOfAnyRepeat)
{
    ShapeDef s = straight({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(0, 0), b2Vec2(1, 1)}, true);
    removeDuplicateVertices(s);
    ASSERT_EQ(s.points.size(), 3u);
    expectPoint(s.points[1], 1, 0);
    expectPoint(s.points[2], 1, 1);
    EXPECT_EQ(s.outTangents.size(), 4u);
}

}  // namespace
