// Merging a triangulation into convex pieces: the pieces cover exactly the
// triangles (same area and centroid), are convex, within the vertex limit,
// and fewer than the triangles; bodies built from layers keep their mass,
// centre and polygon counts with fewer fixtures.
#include "OutlineFixture.h"

#include "outlines/ConvexMerge.h"
#include "outlines/OutlineTriangulation.h"

#include <box2d/box2d.h>

#include <cmath>
#include <set>

namespace {

struct Moments {
    double area = 0.0;
    double cx = 0.0;
    double cy = 0.0;
};

// Signed-area moments of a polygon, fan from its first vertex (double).
void accumulate(const std::vector<b2Vec2>& p, Moments& m)
{
    for (size_t i = 1; i + 1 < p.size(); ++i) {
        const double ax = p[0].x, ay = p[0].y;
        const double a = 0.5 * std::fabs((p[i].x - ax) * (p[i + 1].y - ay) - (p[i].y - ay) * (p[i + 1].x - ax));
        m.area += a;
        m.cx += a * (ax + p[i].x + p[i + 1].x) / 3.0;
        m.cy += a * (ay + p[i].y + p[i + 1].y) / 3.0;
    }
}

ShapeDef polygon(const std::vector<b2Vec2>& points)
{
    ShapeDef s;
    s.closed = true;
    s.points = points;
    return s;
}

std::vector<b2Vec2> ring(int n, float radius, float wobble = 0.0f)
{
    std::vector<b2Vec2> p;
    for (int i = 0; i < n; ++i) {
        const float a = 2.0f * b2_pi * float(i) / float(n);
        const float r = radius * (1.0f + (i % 2 ? wobble : 0.0f));
        p.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    return p;
}

std::vector<Triangle> triangulate(const std::vector<ShapeDef>& outlines)
{
    std::vector<A_Triangle> triangles;
    bool crossed = false;
    GetTriangulation(nullptr, outlines, triangles, false, crossed);
    std::vector<Triangle> out;
    for (const A_Triangle& t : triangles)
        out.push_back({t.vertices[0], t.vertices[1], t.vertices[2]});
    return out;
}

} // namespace

TEST(ConvexPieces, PiecesCoverExactlyTheTrianglesConvexAndWithinTheLimit)
{
    std::vector<b2Vec2> hole = ring(12, 0.5f);
    std::reverse(hole.begin(), hole.end());
    struct Row {
        const char* name;
        std::vector<ShapeDef> outlines;
    };
    const Row rows[] = {
        {"disc", {polygon(ring(64, 2.0f))}},
        {"star", {polygon(ring(40, 2.0f, -0.5f))}},
        {"annulus", {polygon(ring(48, 2.0f)), polygon(hole)}},
        {"square", {polygon({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)})}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<Triangle> triangles = triangulate(row.outlines);
        ASSERT_GE(triangles.size(), 2u);
        const std::vector<ConvexPiece> pieces = mergeIntoConvexPieces(triangles, b2_maxPolygonVertices);

        Moments before, after;
        for (const Triangle& t : triangles)
            accumulate({t[0], t[1], t[2]}, before);
        std::multiset<int> used;
        for (const ConvexPiece& piece : pieces) {
            accumulate(piece.vertices, after);
            used.insert(piece.triangles.begin(), piece.triangles.end());
            EXPECT_LE(piece.vertices.size(), size_t(b2_maxPolygonVertices));
            EXPECT_GE(piece.vertices.size(), 3u);
            const size_t n = piece.vertices.size();
            for (size_t i = 0; i < n; ++i) {
                const b2Vec2 a = piece.vertices[i], b = piece.vertices[(i + 1) % n], c = piece.vertices[(i + 2) % n];
                EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0.0f) << "convex, counter-clockwise";
            }
            // A piece holds the area of its own triangles.
            Moments own, mine;
            accumulate(piece.vertices, mine);
            for (int t : piece.triangles)
                accumulate({triangles[size_t(t)][0], triangles[size_t(t)][1], triangles[size_t(t)][2]}, own);
            EXPECT_NEAR(mine.area, own.area, 1e-6 * own.area);
        }
        EXPECT_EQ(used.size(), triangles.size());
        EXPECT_EQ(std::set<int>(used.begin(), used.end()).size(), triangles.size()) << "each triangle once";
        EXPECT_NEAR(after.area, before.area, 1e-6 * before.area);
        EXPECT_NEAR(after.cx / after.area, before.cx / before.area, 1e-6 * std::sqrt(before.area));
        EXPECT_NEAR(after.cy / after.area, before.cy / before.area, 1e-6 * std::sqrt(before.area));
        EXPECT_LT(pieces.size(), triangles.size());
        if (std::string(row.name) == "disc") {
            EXPECT_LE(pieces.size(), triangles.size() / 3) << "a convex outline merges into few pieces";
        }
    }
}

TEST(ConvexPieces, TrianglesWithoutAreaOrNeighboursStayAlone)
{
    const std::vector<Triangle> triangles = {
        {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(0, 1)},
        {b2Vec2(5, 5), b2Vec2(6, 5), b2Vec2(5, 6)},
        {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(2, 0)},  // no area
        {b2Vec2(1, 0), b2Vec2(0, 1), b2Vec2(1, 1)},  // clockwise, shares an edge with the first
    };
    const std::vector<ConvexPiece> pieces = mergeIntoConvexPieces(triangles, b2_maxPolygonVertices);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].vertices.size(), 4u) << "the two halves of the unit square";
    EXPECT_EQ(pieces[0].triangles, (std::vector<int>{0, 3}));
    // A limit of three keeps every triangle apart.
    EXPECT_EQ(mergeIntoConvexPieces(triangles, 3).size(), 4u);
}
