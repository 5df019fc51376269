// Putting a layer's outlines together for the body, and the last pass that
// keeps them acceptable to the physics engine.
#include "OutlineFixture.h"

#include "model/PolygonUtils.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/OutlineLimits.h"
#include "outlines/OutlineSafety.h"

#include <cmath>
#include <limits>
#include <random>

namespace {

using namespace outline_test;

ShapeDef polygon(const std::vector<b2Vec2>& points, bool closed = true)
{
    ShapeDef s;
    s.points = points;
    s.closed = closed;
    return s;
}

ShapeDef regular(int n, float radius, b2Vec2 centre = b2Vec2(0, 0))
{
    ShapeDef s;
    s.closed = true;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        s.points.emplace_back(centre.x + float(radius * std::cos(a)), centre.y + float(radius * std::sin(a)));
    }
    return s;
}

TEST(OutlineSafety, PolygonsTheEngineTakes)
{
    const float slop = b2_linearSlop;
    EXPECT_TRUE(isSafePolygon({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(0, 1)}));
    EXPECT_TRUE(isSafePolygon({b2Vec2(0, 0), b2Vec2(slop, 0), b2Vec2(0, slop)}));
    EXPECT_FALSE(isSafePolygon({b2Vec2(0, 0), b2Vec2(0.9f * slop, 0), b2Vec2(0, 1)}));  // a short edge
    EXPECT_FALSE(isSafePolygon({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(2, 0)}));            // collinear
    EXPECT_FALSE(isSafePolygon({b2Vec2(0, 0), b2Vec2(100, 0), b2Vec2(50, 1e-5f)}));     // a sliver
    EXPECT_FALSE(isSafePolygon({b2Vec2(0, 0), b2Vec2(1, 0)}));
    EXPECT_FALSE(isSafePolygon(regular(9, 1).points));                                   // too many for Box2D
    EXPECT_TRUE(isSafePolygon(regular(8, 1).points));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(isSafePolygon({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(nan, 1)}));
    EXPECT_FALSE(isSafePolygon({b2Vec2(0, 0), b2Vec2(1e8f, 0), b2Vec2(0, 1e8f)}));

    EXPECT_EQ(weldPoints({b2Vec2(0, 0), b2Vec2(0.001f, 0), b2Vec2(1, 0), b2Vec2(nan, 0), b2Vec2(1, 0.004f)}, false),
              (std::vector<b2Vec2>{b2Vec2(0, 0), b2Vec2(1, 0)}));
}

TEST(OutlineAssembly, OrderWindingAndConversion)
{
    OutlineSet set;
    ShapeDef circle = polygon({b2Vec2(150, 100), b2Vec2(200, 150), b2Vec2(150, 200), b2Vec2(100, 150)}, false);
    circle.isCircle = true;
    circle.radius = 0.5f;
    set.circles.push_back(circle);
    ShapeDef box = polygon({b2Vec2(0, 0), b2Vec2(0, 50), b2Vec2(100, 50), b2Vec2(100, 0)}, false);
    box.isBox = true;
    set.boxes.push_back(box);
    set.outlines.push_back(box);     // flagged: left to the box list
    set.outlines.push_back(regular(6, 50, b2Vec2(300, 0)));
    set.outlines.push_back(polygon({b2Vec2(0, 300), b2Vec2(100, 300), b2Vec2(100, 400)}, false));

    OutlineFrame frame;
    frame.origin = b2Vec2(100, 100);
    frame.scale = b2Vec2(2, 1);
    const AssembledOutlines out = assembleOutlines(nullptr, set, false, frame);
    ASSERT_EQ(out.group.size(), 1u + 1u + 1u + 4u);
    EXPECT_TRUE(out.group[0].isCircle);
    EXPECT_TRUE(out.group[1].isBox);
    EXPECT_TRUE(isOpenOutline(out.group[2]));
    EXPECT_EQ(out.triangleCount, 4);
    EXPECT_FALSE(out.tooManyPolygons());
    // Circles and open outlines: converted and reversed.
    EXPECT_EQ(out.group[0].points.front(), b2Vec2(0.0f, 0.5f));    // (100, 150)
    EXPECT_EQ(out.group[2].points.front(), b2Vec2(0.0f, 3.0f));    // (100, 400)
    EXPECT_EQ(out.group[2].points.back(), b2Vec2(-2.0f, 2.0f));    // (0, 300)
    for (size_t i = 1; i < out.group.size(); ++i) {
        if (!isOpenOutline(out.group[i])) {
            EXPECT_EQ(ClockWise(out.group[i].points), 0) << i;
        }
    }
    expectEngineAccepts(out.group);

    // A rotated frame turns the points about the origin.
    frame = OutlineFrame();
    frame.rotation = float(M_PI / 2);
    const AssembledOutlines turned = assembleOutlines(nullptr, OutlineSet{{}, {}, {set.outlines[2]}}, false, frame);
    EXPECT_NEAR(turned.group[0].points.back().x, -3.0f, 1e-5);
    EXPECT_NEAR(turned.group[0].points.back().y, 0.0f, 1e-5);
}

TEST(OutlineAssembly, BoxesAndTrianglesAreWoundForTheEngineInEveryFrame)
{
    const std::vector<b2Vec2> corners = {b2Vec2(0, 0), b2Vec2(0, 50), b2Vec2(100, 50), b2Vec2(100, 0)};
    const std::vector<b2Vec2> triangle = {b2Vec2(0, 300), b2Vec2(100, 300), b2Vec2(100, 400)};
    for (bool backwards : {false, true}) {
        OutlineSet set;
        ShapeDef box = polygon(backwards ? std::vector<b2Vec2>(corners.rbegin(), corners.rend()) : corners, false);
        box.isBox = true;
        set.boxes.push_back(box);
        set.outlines.push_back(
            polygon(backwards ? std::vector<b2Vec2>(triangle.rbegin(), triangle.rend()) : triangle));
        for (const b2Vec2 scale : {b2Vec2(1, 1), b2Vec2(-1, 1), b2Vec2(1, -2)}) {
            OutlineFrame frame;
            frame.scale = scale;
            const AssembledOutlines out = assembleOutlines(nullptr, set, false, frame);
            ASSERT_EQ(out.group.size(), 2u);
            for (const ShapeDef& s : out.group)
                EXPECT_EQ(ClockWise(s.points), 0) << backwards << " " << scale.x << " " << scale.y;
            expectEngineAccepts(out.group);
        }
    }
}

TEST(OutlineAssembly, SeventyFiveTrianglesAreFineSeventySixAreTooMany)
{
    const AssembledOutlines fine = assembleOutlines(nullptr, OutlineSet{{}, {}, {regular(77, 500)}}, false, {});
    EXPECT_EQ(fine.triangleCount, 75);
    EXPECT_FALSE(fine.tooManyPolygons());
    const AssembledOutlines many = assembleOutlines(nullptr, OutlineSet{{}, {}, {regular(78, 500)}}, false, {});
    EXPECT_EQ(many.triangleCount, 76);
    EXPECT_TRUE(many.tooManyPolygons());
}

TEST(OutlineAssembly, HostileOutlinesNeverReachTheEngine)
{
    std::mt19937 random(20240607);
    std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f);
    std::uniform_int_distribution<int> count(1, 40);
    for (float scale : {1e-4f, 0.01f, 1.0f, 1000.0f, 1e6f}) {
        for (int round = 0; round < 40; ++round) {
            OutlineSet set;
            for (int k = 0; k < 3; ++k) {
                ShapeDef s;
                s.closed = (round + k) % 3 != 0;
                const int n = count(random);
                for (int i = 0; i < n; ++i) {
                    b2Vec2 p(coordinate(random), coordinate(random));
                    if (i % 5 == 1)
                        p = s.points.back();                       // repeated
                    else if (i % 7 == 3)
                        p = s.points.back() + b2Vec2(1e-4f, 0);    // nearly repeated
                    else if (i % 4 == 2 && i > 1)
                        p = 2.0f * s.points[size_t(i) - 1] - s.points[size_t(i) - 2];  // collinear
                    s.points.push_back(p);
                }
                set.outlines.push_back(s);
            }
            OutlineFrame frame;
            frame.scale.Set(scale, scale * 0.5f);
            frame.rotation = 0.3f * float(round);
            const AssembledOutlines out = assembleOutlines(nullptr, set, false, frame);
            expectEngineAccepts(out.group);
        }
    }
}

}  // namespace
