#include "model/ConvexHull.h"
#include "model/PolygonUtils.h"

#include <gtest/gtest.h>

#include <algorithm>


namespace {

void expectPoints(const std::vector<b2Vec2>& actual, const std::vector<b2Vec2>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(actual[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(actual[i].y, expected[i].y) << i;
    }
}

TEST(ConvexHullTest, SquareWithInteriorPoint)
{
    const std::vector<b2Vec2> hull =
        getHull({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1), b2Vec2(0.5f, 0.5f)});
    expectPoints(hull, {b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1), b2Vec2(0, 0)});
    EXPECT_EQ(ClockWise(hull), 0);
}

TEST(ConvexHullTest, SmallAndEmptyInputs)
{
    expectPoints(getHull({b2Vec2(2, 3)}), {b2Vec2(2, 3)});
    EXPECT_TRUE(getHull({}).empty());
    expectPoints(getHull({b2Vec2(0, 0), b2Vec2(1, 0)}), {b2Vec2(1, 0), b2Vec2(0, 0)});
}

TEST(ConvexHullTest, CollinearPointsOnAnEdgeAreDropped)
{
    expectPoints(getHull({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(2, 0), b2Vec2(2, 1)}),
                 {b2Vec2(2, 0), b2Vec2(2, 1), b2Vec2(0, 0)});
    // All on one line: the two ends.
    expectPoints(getHull({b2Vec2(1, 1), b2Vec2(0, 0), b2Vec2(3, 3), b2Vec2(2, 2)}),
                 {b2Vec2(3, 3), b2Vec2(0, 0)});
}

TEST(ConvexHullTest, NearCollinearInputTerminatesWithAConvexSubset)
{
    // Points scattered within 5e-5 of a line in layer pixels: rounding makes
    // the plain gift wrap cycle among them without ever returning to the
    // start point.
    const std::vector<b2Vec2> pts = {
        b2Vec2(0x1.2200e4p+9f, 0x1.136eecp+9f), b2Vec2(0x1.1f4274p+9f, 0x1.18366p+9f),
        b2Vec2(0x1.18fb34p+9f, 0x1.2325c2p+9f), b2Vec2(0x1.259bd8p+9f, 0x1.0d2766p+9f),
        b2Vec2(0x1.2c02e4p+9f, 0x1.02009ep+9f), b2Vec2(0x1.261896p+9f, 0x1.0c4e2p+9f),
        b2Vec2(0x1.235e16p+9f, 0x1.110eb8p+9f), b2Vec2(0x1.2f0892p+9f, 0x1.f97a2cp+8f),
        b2Vec2(0x1.272ff6p+9f, 0x1.0a6784p+9f), b2Vec2(0x1.2e8192p+9f, 0x1.fb507p+8f)};
    const std::vector<b2Vec2> hull = getHull(pts);
    ASSERT_FALSE(hull.empty());
    EXPECT_LE(hull.size(), pts.size());
    for (size_t i = 0; i < hull.size(); ++i) {
        EXPECT_NE(std::find_if(pts.begin(), pts.end(),
                               [&](b2Vec2 p) { return p.x == hull[i].x && p.y == hull[i].y; }),
                  pts.end());
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(hull[i].x == hull[j].x && hull[i].y == hull[j].y) << "revisited " << i;
    }
}

}  // namespace
