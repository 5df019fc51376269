#include "model/DelaunayTriangulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>

namespace {

using Key = std::array<std::pair<float, float>, 3>;

Key tri(b2Vec2 a, b2Vec2 b, b2Vec2 c)
{
    Key key = {{{a.x, a.y}, {b.x, b.y}, {c.x, c.y}}};
    std::sort(key.begin(), key.end());
    return key;
}

// The result as a set of triangles, each as its sorted corners.
std::set<Key> triangulated(std::vector<b2Vec2> points, int expectedCount)
{
    Delaunay2D d(points);
    EXPECT_EQ(d.triangulate(), expectedCount);
    std::set<Key> set;
    for (const A_Triangle& t : d.getTriangles())
        set.insert(tri(t.vertices[0], t.vertices[1], t.vertices[2]));
    return set;
}

double area(const A_Triangle& t)
{
    const b2Vec2* v = t.vertices;
    return std::fabs(0.5 * ((double(v[1].x) - v[0].x) * (double(v[2].y) - v[0].y)
                            - (double(v[1].y) - v[0].y) * (double(v[2].x) - v[0].x)));
}

TEST(DelaunayTest, FewerThanThreePointsKeepThePreviousResult)
{
    Delaunay2D fresh({b2Vec2(0, 0), b2Vec2(1, 0)});
    EXPECT_EQ(fresh.triangulate(), 0);
    EXPECT_TRUE(fresh.getTriangles().empty());

    Delaunay2D d({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(0, 1)});
    ASSERT_EQ(d.triangulate(), 1);
    d.reset();
    EXPECT_EQ(d.addPoint(5.0f, 5.0f, 9.0f), 1);
    EXPECT_EQ(d.triangulate(), 0);
    EXPECT_EQ(d.getTriangles().size(), 1u);
}

TEST(DelaunayTest, SmallConfigurations)
{
    const b2Vec2 o(0, 0), x(1, 0), y(0, 1), xy(1, 1), c(0.5f, 0.5f);
    EXPECT_EQ(triangulated({o, x, y}, 1), std::set<Key>({tri(o, x, y)}));
    EXPECT_EQ(triangulated({o, x, xy, y, c}, 4),
              std::set<Key>({tri(o, x, c), tri(x, xy, c), tri(xy, y, c), tri(y, o, c)}));

    const b2Vec2 a(0, 0), b(4, 0), top(2, 3), in(2, 1);
    EXPECT_EQ(triangulated({a, top, in, b}, 3), std::set<Key>({tri(a, b, in), tri(b, top, in), tri(top, a, in)}));
}

TEST(DelaunayTest, AGridIsCoveredByEmptyCircleTriangles)
{
    const int k = 6;
    std::vector<b2Vec2> points;
    for (int i = 0; i < k * k; ++i)
        points.push_back(b2Vec2(float(i % k) * 0.5f + 3.0f, float(i / k) * 0.5f - 2.0f));
    std::shuffle(points.begin(), points.end(), std::mt19937(7));
    Delaunay2D d(points);
    ASSERT_EQ(d.triangulate(), 2 * (k - 1) * (k - 1));

    double total = 0.0;
    for (const A_Triangle& t : d.getTriangles()) {
        EXPECT_NEAR(area(t), 0.125, 1e-6);
        total += area(t);
        // No grid point strictly inside the triangle's circumcircle.
        const b2Vec2* v = t.vertices;
        double xc = 0, yc = 0, r = 0;
        ASSERT_TRUE(delaunay::CircumCircle(v[0].x, v[0].y, v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, xc, yc, r));
        for (const b2Vec2& p : points)
            EXPECT_GE(std::hypot(p.x - xc, p.y - yc), r - 1e-5);
    }
    EXPECT_NEAR(total, 2.5 * 2.5, 1e-5);
}

TEST(DelaunayTest, DegenerateInputsDoNotCrash)
{
    // Collinear along x, along y and diagonally: nothing to triangulate.
    triangulated({b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(2, 0), b2Vec2(3, 0)}, 0);
    triangulated({b2Vec2(0, 0), b2Vec2(0, 1), b2Vec2(0, 2)}, 0);
    triangulated({b2Vec2(0, 0), b2Vec2(1, 1), b2Vec2(2, 2), b2Vec2(3, 3)}, 0);
    triangulated({b2Vec2(1, 1), b2Vec2(1, 1), b2Vec2(1, 1)}, 0);

    // Hundreds of cocircular points: large holes, many edges per step.
    std::vector<b2Vec2> ring(300, b2Vec2(0, 0));
    for (size_t i = 0; i < ring.size(); ++i)
        ring[i] = b2Vec2(std::cos(2.0f * b2_pi * i / 300), std::sin(2.0f * b2_pi * i / 300));
    Delaunay2D d(ring);
    EXPECT_GT(d.triangulate(), 0);
}

TEST(CircumCircleTest, OnTheCircleCountsAndFlatTrianglesHaveNone)
{
    double xc = 7, yc = 7, r = 7;
    EXPECT_TRUE(delaunay::CircumCircle(1, 1, 0, 0, 1, 0, 0, 1, xc, yc, r));
    EXPECT_NEAR(r, std::sqrt(0.5), 1e-12);

    r = 7;
    EXPECT_FALSE(delaunay::CircumCircle(0, 0, 0, 0, 1, 0, 2, 0, xc, yc, r));  // horizontal
    EXPECT_FALSE(delaunay::CircumCircle(0, 0, 0, 0, 1, 1, 2, 2, xc, yc, r));  // diagonal
    EXPECT_EQ(r, 7);
}

}  // namespace
