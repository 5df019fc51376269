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
    EXPECT_TRUE(triangulate({a, b}).triangles.empty());
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

Result triangulateUnion(const std::vector<ShapeDef>& outlines)
{
    Result r;
    GetTriangulation(nullptr, outlines, r.triangles, false, r.crossed, OutlineFill::Union);
    return r;
}

TEST(Triangulation, AUnionCoversEveryOutlineOnce)
{
    // Each starting inside the other: as a union, both are filled, the
    // overlap once.
    ShapeDef a, b;
    a.closed = b.closed = true;
    b.points = {b2Vec2(6, 6), b2Vec2(15, 5), b2Vec2(15, 15), b2Vec2(5, 15)};
    a.points = {b2Vec2(9, 9), b2Vec2(0, 10), b2Vec2(0, 0), b2Vec2(10, 0)};
    const Result both = triangulateUnion({a, b});
    EXPECT_FALSE(both.crossed);
    int inside = 0;
    for (float x = 0.025f; x < 16; x += 0.05f)
        for (float y = 0.025f; y < 16; y += 0.05f) {
            const bool inUnion = isInsidePolygon(b2Vec2(x, y), a.points) || isInsidePolygon(b2Vec2(x, y), b.points);
            inside += inUnion;
            if (x > 0.2f && y > 0.2f && std::fmod(x, 1.0f) < 0.05f && std::fmod(y, 1.0f) < 0.05f)
                EXPECT_EQ(anyCovers(both.triangles, b2Vec2(x, y)), inUnion) << x << ", " << y;
        }
    EXPECT_NEAR(totalArea(both.triangles), inside * 0.05 * 0.05, 0.5);
    EXPECT_GT(totalArea(both.triangles), 150.0);

    // Squares sharing part of an edge, one with a vertex on the other's
    // edge, and one inside another: the union, the shared edge no hole.
    ShapeDef left = square(0, 0, 10);
    ShapeDef right;
    right.closed = true;
    right.points = {b2Vec2(10, 2), b2Vec2(20, 2), b2Vec2(20, 8), b2Vec2(10, 8), b2Vec2(10, 5)};
    const Result joined = triangulateUnion({left, right, square(2, 2, 3)});
    EXPECT_NEAR(totalArea(joined.triangles), 100.0 + 60.0, 1e-3);
    for (const b2Vec2 p : {b2Vec2(3, 3), b2Vec2(9.9f, 5), b2Vec2(10.1f, 5), b2Vec2(15, 7)})
        EXPECT_TRUE(anyCovers(joined.triangles, p));

    // Nested outlines still make holes where they are not a union.
    EXPECT_NEAR(totalArea(triangulate({left, square(2, 2, 3)}).triangles), 100.0 - 9.0, 1e-3);
    EXPECT_NEAR(totalArea(triangulateUnion({left, square(2, 2, 3)}).triangles), 100.0, 1e-3);
}

TEST(Triangulation, ATangleIsFilledAsItsHull)
{
    // A rim whose every vertex steps back over its neighbours: every edge
    // crosses a few others, far more crossings than the outline is worth.
    ShapeDef tangle;
    tangle.closed = true;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * (i + (i % 2 ? 2.5 : -2.5)) / n;
        tangle.points.emplace_back(float(1000 * std::cos(a)), float(1000 * std::sin(a)));
    }
    for (OutlineFill fill : {OutlineFill::Nested, OutlineFill::Union}) {
        Result r;
        GetTriangulation(nullptr, {tangle, square(2000, 0, 10)}, r.triangles, false, r.crossed, fill);
        EXPECT_TRUE(r.crossed);
        EXPECT_NEAR(totalArea(r.triangles), M_PI * 1000 * 1000 + 100, 100.0);
        EXPECT_TRUE(anyCovers(r.triangles, b2Vec2(0, 0)));
        EXPECT_TRUE(anyCovers(r.triangles, b2Vec2(2005, 5)));
    }
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
