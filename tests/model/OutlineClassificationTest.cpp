#include "model/OutlineClassification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

ShapeDef outline(std::vector<b2Vec2> points)
{
    ShapeDef s;
    s.inTangents.assign(points.size(), b2Vec2(0, 0));
    s.outTangents.assign(points.size(), b2Vec2(0, 0));
    s.points = std::move(points);
    s.closed = true;
    return s;
}

// A circle of radius 50 about (100, 100) from four quarter arcs.
ShapeDef circle()
{
    const float k = 27.61424f;
    ShapeDef s = outline({b2Vec2(100, 50), b2Vec2(150, 100), b2Vec2(100, 150), b2Vec2(50, 100)});
    s.inTangents = {b2Vec2(-k, 0), b2Vec2(0, -k), b2Vec2(k, 0), b2Vec2(0, k)};
    s.outTangents = {b2Vec2(k, 0), b2Vec2(0, k), b2Vec2(-k, 0), b2Vec2(0, -k)};
    return s;
}

TEST(IsBoxTest, RectanglesAndNearMisses)
{
    const std::vector<b2Vec2> rect = {b2Vec2(0, 0), b2Vec2(100, 0), b2Vec2(100, 50), b2Vec2(0, 50)};
    EXPECT_TRUE(isBox(outline(rect)));
    // The same rectangle starting on an edge that runs towards smaller y.
    EXPECT_FALSE(isBox(outline({rect[3], rect[0], rect[1], rect[2]})));

    std::vector<b2Vec2> rotated;
    for (const b2Vec2& p : rect)
        rotated.push_back(b2Vec2(std::cos(0.5236f) * p.x - std::sin(0.5236f) * p.y + 200,
                                 std::sin(0.5236f) * p.x + std::cos(0.5236f) * p.y + 100));
    EXPECT_TRUE(isBox(outline(rotated)));

    EXPECT_FALSE(isBox(outline({b2Vec2(0, 0), b2Vec2(50, -20), b2Vec2(100, 0), b2Vec2(50, 20)})));
    EXPECT_FALSE(isBox(outline({b2Vec2(0, 0), b2Vec2(100, 0), b2Vec2(120, 50), b2Vec2(20, 50)})));
    EXPECT_FALSE(isBox(outline({rect[0], rect[1], rect[2]})));

    ShapeDef curved = outline(rect);
    curved.outTangents[2].y = 0.002f;
    EXPECT_FALSE(isBox(curved));

    ShapeDef bare;
    bare.points = rect;  // no tangent lists: straight
    EXPECT_TRUE(isBox(bare));
}

TEST(IsCircleTest, FourQuarterArcsMakeACircle)
{
    float radius = -1.0f;
    EXPECT_TRUE(isCircle(circle(), radius));
    EXPECT_FLOAT_EQ(radius, 50.0f);
}

TEST(IsCircleTest, FirstVertexMustCarryHorizontalTangentsYetRadiusIsSet)
{
    ShapeDef s = circle();
    std::rotate(s.points.begin(), s.points.begin() + 1, s.points.end());
    std::rotate(s.inTangents.begin(), s.inTangents.begin() + 1, s.inTangents.end());
    std::rotate(s.outTangents.begin(), s.outTangents.begin() + 1, s.outTangents.end());
    float radius = -1.0f;
    EXPECT_FALSE(isCircle(s, radius));
    EXPECT_FLOAT_EQ(radius, 50.0f);
}

TEST(IsCircleTest, Rejections)
{
    float radius = -1.0f;
    ShapeDef ellipse = circle();
    ellipse.points[1].x = 160.0f;  // diagonals differ by 10: radius untouched
    EXPECT_FALSE(isCircle(ellipse, radius));
    EXPECT_FLOAT_EQ(radius, -1.0f);

    ShapeDef bent = circle();
    bent.inTangents[3].y += 0.02f;
    EXPECT_FALSE(isCircle(bent, radius));

    ShapeDef bare = circle();
    bare.outTangents.clear();  // missing tangents count as zero
    EXPECT_FALSE(isCircle(bare, radius));
}

}  // namespace
