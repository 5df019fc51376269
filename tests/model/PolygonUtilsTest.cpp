#include "model/PolygonUtils.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const std::vector<b2Vec2> kUnitSquare = {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)};

void expectPoint(b2Vec2 p, float x, float y, float tolerance = 1e-5f)
{
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
}

TEST(ClockWiseTest, WindingOfSquaresAndDegenerateLists)
{
    EXPECT_EQ(ClockWise(kUnitSquare), 0);
    EXPECT_EQ(ClockWise(std::vector<b2Vec2>(kUnitSquare.rbegin(), kUnitSquare.rend())), 1);
    EXPECT_EQ(ClockWise({b2Vec2(0, 0), b2Vec2(1, 0)}), 0);
    EXPECT_EQ(ClockWise({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(2, 0)}), 0);
    // A bow tie: two turns each way cancel out.
    EXPECT_EQ(ClockWise({b2Vec2(0, 0), b2Vec2(1, 1), b2Vec2(1, 0), b2Vec2(0, 1)}), 0);
}

TEST(CentroidTest, AreaWeightedVertexMeanAndTwoPoints)
{
    expectPoint(getPolyCentroid(kUnitSquare, false), 0.5f, 0.5f);

    // An L-shape: the area centroid differs from the vertex mean, and does
    // not depend on the winding.
    const std::vector<b2Vec2> l = {b2Vec2(0, 0), b2Vec2(2, 0), b2Vec2(2, 1),
                                   b2Vec2(1, 1), b2Vec2(1, 2), b2Vec2(0, 2)};
    expectPoint(getPolyCentroid(l, false), 5.0f / 6.0f, 5.0f / 6.0f);
    expectPoint(getPolyCentroid(std::vector<b2Vec2>(l.rbegin(), l.rend()), false), 5.0f / 6.0f,
                5.0f / 6.0f);
    expectPoint(getPolyCentroid(l, true), 1.0f, 1.0f);

    for (bool mean : {false, true})
        expectPoint(getPolyCentroid({b2Vec2(1, 2), b2Vec2(3, 6)}, mean), 2.0f, 4.0f);
}

TEST(CentroidTest, SmallPolygonFarFromTheOriginKeepsItsCentre)
{
    // A small L-shape moved 20000 pixels away: its area is tiny next to the
    // distance, yet the centre must stay on the shape.
    std::vector<b2Vec2> l = {b2Vec2(0, 0), b2Vec2(2, 0), b2Vec2(2, 1),
                             b2Vec2(1, 1), b2Vec2(1, 2), b2Vec2(0, 2)};
    for (b2Vec2& p : l)
        p += b2Vec2(20000.0f, -20000.0f);
    expectPoint(getPolyCentroid(l, false), 20000.0f + 5.0f / 6.0f, -20000.0f + 5.0f / 6.0f, 2e-3f);
}

TEST(CentroidTest, ZeroAreaFallsBackToTheVertexMean)
{
    const std::vector<b2Vec2> line = {b2Vec2(0, 0), b2Vec2(1, 1), b2Vec2(2, 2), b2Vec2(3, 3)};
    expectPoint(getPolyCentroid(line, false), 1.5f, 1.5f);
    expectPoint(myComputeCentroid(line), 1.5f, 1.5f);
    expectPoint(getPolyCentroid({b2Vec2(4, 5)}, false), 4.0f, 5.0f);
    for (bool mean : {false, true})
        expectPoint(getPolyCentroid({}, mean), 0.0f, 0.0f);
    expectPoint(getPointInsidePolygon({}), 0.0f, 0.0f);
}

TEST(SegmentsIntersectTest, CrossingTouchingCollinearParallel)
{
    EXPECT_TRUE(segmentsIntersect(b2Vec2(0, 0), b2Vec2(2, 2), b2Vec2(0, 2), b2Vec2(2, 0)));
    // A shared end point, or an end point on the other segment, does not count.
    EXPECT_FALSE(segmentsIntersect(b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 0), b2Vec2(1, 1)));
    EXPECT_FALSE(segmentsIntersect(b2Vec2(0, 0), b2Vec2(2, 0), b2Vec2(1, 0), b2Vec2(1, 1)));
    EXPECT_FALSE(segmentsIntersect(b2Vec2(0, 0), b2Vec2(2, 0), b2Vec2(1, 0), b2Vec2(3, 0)));
    EXPECT_FALSE(segmentsIntersect(b2Vec2(0, 0), b2Vec2(2, 0), b2Vec2(0, 1), b2Vec2(2, 1)));
    EXPECT_FALSE(segmentsIntersect(b2Vec2(0, 0), b2Vec2(1, 1), b2Vec2(3, 0), b2Vec2(2, 1)));
}

TEST(InsidePolygonTest, InteriorEdgesVerticesAndConcavity)
{
    EXPECT_EQ(isInsidePolygon(b2Vec2(0.5f, 0.5f), kUnitSquare), 1);
    EXPECT_EQ(isInsidePolygon(b2Vec2(2.0f, 0.5f), kUnitSquare), 0);
    EXPECT_EQ(isInsidePolygon(b2Vec2(0.5f, 0.0f), kUnitSquare), 0);  // lower edge
    EXPECT_EQ(isInsidePolygon(b2Vec2(0.5f, 1.0f), kUnitSquare), 1);  // upper edge
    EXPECT_EQ(isInsidePolygon(b2Vec2(0.0f, 0.0f), kUnitSquare), 0);  // vertex
    EXPECT_EQ(isInsidePolygon(b2Vec2(0.5f, 0.5f), {}), 0);

    const std::vector<b2Vec2> u = {b2Vec2(0, 0), b2Vec2(3, 0), b2Vec2(3, 3), b2Vec2(2, 3),
                                   b2Vec2(2, 1), b2Vec2(1, 1), b2Vec2(1, 3), b2Vec2(0, 3)};
    EXPECT_EQ(isInsidePolygon(b2Vec2(1.5f, 2.0f), u), 0);  // in the notch
    EXPECT_EQ(isInsidePolygon(b2Vec2(0.5f, 2.0f), u), 1);
}

TEST(PointHelpersTest, RotationAndArrangement)
{
    expectPoint(rotatePoint(b2Vec2(1, 0), b2Vec2(0, 0), b2_pi / 2), 0.0f, 1.0f, 1e-6f);
    expectPoint(rotatePoint(b2Vec2(3, 2), b2Vec2(2, 2), -b2_pi / 2), 2.0f, 1.0f, 1e-6f);

    // Leftmost first, then the points with det < 0 against the line to the
    // rightmost, the rightmost, then the others from the back.
    const std::vector<b2Vec2> arranged =
        arrangeClockwise({b2Vec2(2, 1), b2Vec2(0, 0), b2Vec2(3, 0), b2Vec2(1, -1)});
    ASSERT_EQ(arranged.size(), 4u);
    EXPECT_FLOAT_EQ(arranged[1].x, 1.0f);
    EXPECT_FLOAT_EQ(arranged[2].x, 3.0f);
    EXPECT_FLOAT_EQ(arranged[3].x, 2.0f);
    EXPECT_EQ(isInsidePolygon(getPointInsidePolygon(kUnitSquare), kUnitSquare), 1);
}

}  // namespace
