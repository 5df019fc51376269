// Triangulation of closed outlines with holes, and the topology tests it uses.
#include "OutlineFixture.h"

#include "model/PolygonUtils.h"
#include "outlines/OutlineTopology.h"
#include "outlines/OutlineTriangulation.h"

#include <cmath>

namespace {

using namespace outline_test;

ShapeDef square(float x0, float y0, float side)
{
    ShapeDef s;
    s.closed = true;
    s.points = {b2Vec2(x0, y0), b2Vec2(x0 + side, y0), b2Vec2(x0 + side, y0 + side), b2Vec2(x0, y0 + side)};
    return s;
}

struct Result {
    std::vector<A_Triangle> triangles;
    bool crossed = false;
};

Result triangulate(const std::vector<ShapeDef>& outlines)
{
    Result r;
    GetTriangulation(nullptr, outlines, r.triangles, false, r.crossed);
    return r;
}

double area(const A_Triangle& t)
{
    const b2Vec2 a = t.vertices[0], b = t.vertices[1], c = t.vertices[2];
    return 0.5 * ((b.x - a.x) * double(c.y - a.y) - (b.y - a.y) * double(c.x - a.x));
}

double totalArea(const std::vector<A_Triangle>& ts)
{
    double sum = 0.0;
    for (const A_Triangle& t : ts)
        sum += std::fabs(area(t));
    return sum;
}

bool anyCovers(const std::vector<A_Triangle>& ts, b2Vec2 p)
{
    for (const A_Triangle& t : ts)
        if (isInsidePolygon(p, {t.vertices[0], t.vertices[1], t.vertices[2]}))
            return true;
    return false;
}

TEST(Triangulation, SquaresRingsAndOrder)
{
    const Result one = triangulate({square(0, 0, 10)});
    EXPECT_EQ(one.triangles.size(), 2u);
    EXPECT_FALSE(one.crossed);

    // A ring: the inner square is a hole, not a region of its own.
    const Result ring = triangulate({square(0, 0, 30), square(10, 10, 10)});
    EXPECT_EQ(ring.triangles.size(), 8u);
    EXPECT_NEAR(totalArea(ring.triangles), 900 - 100, 1e-3);
    EXPECT_FALSE(anyCovers(ring.triangles, b2Vec2(15, 15)));
    EXPECT_TRUE(anyCovers(ring.triangles, b2Vec2(5, 15)));

    // Two disjoint squares: two triangles each, the first square's first.
    const Result two = triangulate({square(0, 0, 10), square(100, 0, 10)});
    ASSERT_EQ(two.triangles.size(), 4u);
    for (int i = 0; i < 2; ++i)
        EXPECT_LT(two.triangles[size_t(i)].vertices[0].x, 50.0f);
    for (int i = 2; i < 4; ++i)
        EXPECT_GT(two.triangles[size_t(i)].vertices[0].x, 50.0f);

    // Every triangle has the positive winding.
    for (const A_Triangle& t : ring.triangles)
        EXPECT_EQ(ClockWise({t.vertices[0], t.vertices[1], t.vertices[2]}), 0);
}

TEST(Triangulation, NestingDecidesWhatIsFilled)
{
    // An island inside a hole gets no triangles: both are holes of the outer.
    const Result island = triangulate({square(0, 0, 60), square(10, 10, 40), square(20, 20, 20)});
    EXPECT_NEAR(totalArea(island.triangles), 3600 - 1600, 1e-3);
    EXPECT_FALSE(anyCovers(island.triangles, b2Vec2(30, 30)));
    EXPECT_FALSE(anyCovers(island.triangles, b2Vec2(15, 30)));
    EXPECT_TRUE(anyCovers(island.triangles, b2Vec2(5, 30)));

    // Two overlapping outlines, each starting inside the other: both are
    // holes and neither is triangulated.
    ShapeDef a, b;
    a.closed = b.closed = true;
    b.points = {b2Vec2(6, 6), b2Vec2(15, 5), b2Vec2(15, 15), b2Vec2(5, 15)};
    a.points = {b2Vec2(9, 9), b2Vec2(0, 10), b2Vec2(0, 0), b2Vec2(10, 0)};
    ASSERT_TRUE(isHole(0, {a, b}));
    ASSERT_TRUE(isHole(1, {a, b}));
    EXPECT_TRUE(triangulate({a, b}).triangles.empty());

    EXPECT_EQ(hasHoles(0, {square(0, 0, 60), square(10, 10, 40), square(20, 20, 20), square(100, 0, 5)}),
              (std::vector<int>{1, 2}));
    EXPECT_FALSE(isHole(0, {ShapeDef(), square(0, 0, 5)}));  // an empty outline is inside nothing
}

TEST(Triangulation, CrossingOutlinesAreReportedAndStillFilled)
{
    ShapeDef eight;
    eight.closed = true;
    eight.points = {b2Vec2(0, 0), b2Vec2(10, 10), b2Vec2(10, 0), b2Vec2(0, 10)};  // a bow tie
    EXPECT_TRUE(isSelfIntersectingShape(eight));
    const Result r = triangulate({eight});
    EXPECT_TRUE(r.crossed);
    EXPECT_NEAR(totalArea(r.triangles), 50.0, 1e-3);  // both lobes

    // Touching at a vertex or overlapping along a line is not crossing.
    EXPECT_FALSE(isSelfIntersectingShape(square(0, 0, 10)));
    ShapeDef spike;
    spike.points = {b2Vec2(0, 0), b2Vec2(10, 0), b2Vec2(20, 0), b2Vec2(10, 0), b2Vec2(10, 10)};
    EXPECT_FALSE(isSelfIntersectingShape(spike));
    // The flag is never reset by a later clean outline.
    bool crossed = true;
    std::vector<A_Triangle> ts;
    GetTriangulation(nullptr, {square(0, 0, 1)}, ts, false, crossed);
    EXPECT_TRUE(crossed);
}

TEST(Triangulation, DegenerateInputDoesNotFail)
{
    ShapeDef line;
    line.closed = true;
    line.points = {b2Vec2(0, 0), b2Vec2(5, 0), b2Vec2(10, 0)};
    ShapeDef repeated;
    repeated.closed = true;
    repeated.points = {b2Vec2(20, 0), b2Vec2(20, 0), b2Vec2(30, 0), b2Vec2(30, 10), b2Vec2(30, 10), b2Vec2(20, 10)};
    ShapeDef tiny;
    tiny.points = {b2Vec2(1, 1), b2Vec2(1, 1)};
    const Result r = triangulate({line, repeated, tiny, ShapeDef()});
    EXPECT_NEAR(totalArea(r.triangles), 100.0, 1e-3);
    for (const A_Triangle& t : r.triangles)
        EXPECT_GT(std::fabs(area(t)), 0.0);
}

}  // namespace
