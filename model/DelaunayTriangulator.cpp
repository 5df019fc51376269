#include "model/DelaunayTriangulator.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace delaunay {

namespace {

constexpr double kEpsilon = 1e-6;
constexpr double kSuperTriangleFactor = 20.0;

struct IEDGE
{
    int p1;
    int p2;
};

// Centre and squared radius of the circle through the three points; false
// when there is none.
bool circleThrough(double x1, double y1, double x2, double y2, double x3, double y3, double& xc,
                   double& yc, double& rsqr)
{
    if (std::fabs(y1 - y2) < kEpsilon && std::fabs(y2 - y3) < kEpsilon)
        return false;

    double cx;
    double cy;
    if (std::fabs(y2 - y1) < kEpsilon) {
        const double m2 = -(x3 - x2) / (y3 - y2);
        cx = (x2 + x1) / 2.0;
        cy = m2 * (cx - (x2 + x3) / 2.0) + (y2 + y3) / 2.0;
    } else if (std::fabs(y3 - y2) < kEpsilon) {
        const double m1 = -(x2 - x1) / (y2 - y1);
        cx = (x3 + x2) / 2.0;
        cy = m1 * (cx - (x1 + x2) / 2.0) + (y1 + y2) / 2.0;
    } else {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double m2 = -(x3 - x2) / (y3 - y2);
        const double mx1 = (x1 + x2) / 2.0;
        const double mx2 = (x2 + x3) / 2.0;
        const double my1 = (y1 + y2) / 2.0;
        const double my2 = (y2 + y3) / 2.0;
        cx = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
        cy = m1 * (cx - mx1) + my1;
    }
    // Collinear points off the horizontal give parallel bisectors.
    if (!std::isfinite(cx) || !std::isfinite(cy))
        return false;

    xc = cx;
    yc = cy;
    rsqr = (x2 - cx) * (x2 - cx) + (y2 - cy) * (y2 - cy);
    return true;
}

bool sameOrReversed(const IEDGE& a, const IEDGE& b)
{
    return (a.p1 == b.p2 && a.p2 == b.p1) || (a.p1 == b.p1 && a.p2 == b.p2);
}

}  // namespace

int XYZCompare(const void* a, const void* b)
{
    const double xa = static_cast<const XYZ*>(a)->x;
    const double xb = static_cast<const XYZ*>(b)->x;
    if (xa < xb)
        return -1;
    if (xa > xb)
        return 1;
    return 0;
}

bool CircumCircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3,
                  double y3, double& xc, double& yc, double& r)
{
    double cx;
    double cy;
    double rsqr;
    if (!circleThrough(x1, y1, x2, y2, x3, y3, cx, cy, rsqr))
        return false;
    xc = cx;
    yc = cy;
    r = std::sqrt(rsqr);
    const double dx = xp - cx;
    const double dy = yp - cy;
    return dx * dx + dy * dy <= rsqr;
}

int Triangulate(int n, std::vector<XYZ>& points, std::vector<ITRIANGLE>& triangles, int& count)
{
    triangles.clear();
    count = 0;
    if (n < 3 || points.size() < static_cast<size_t>(n) + 3)
        return 0;

    double xmin = points[0].x;
    double ymin = points[0].y;
    double xmax = xmin;
    double ymax = ymin;
    for (int i = 1; i < n; ++i) {
        xmin = std::min(xmin, points[i].x);
        xmax = std::max(xmax, points[i].x);
        ymin = std::min(ymin, points[i].y);
        ymax = std::max(ymax, points[i].y);
    }
    const double dx = xmax - xmin;
    const double dy = ymax - ymin;
    const double dmax = dx > dy ? dx : dy;
    const double xmid = (xmax + xmin) / 2.0;
    const double ymid = (ymax + ymin) / 2.0;

    points[n] = {xmid - kSuperTriangleFactor * dmax, ymid - dmax, 0.0};
    points[n + 1] = {xmid, ymid + kSuperTriangleFactor * dmax, 0.0};
    points[n + 2] = {xmid + kSuperTriangleFactor * dmax, ymid - dmax, 0.0};

    // complete[j]: no later point (all have larger or equal x) can fall in the
    // circle of triangle j.
    std::vector<bool> complete;
    triangles.push_back({n, n + 1, n + 2});
    complete.push_back(false);

    const auto removeAt = [&](size_t j) {
        triangles[j] = triangles.back();
        complete[j] = complete.back();
        triangles.pop_back();
        complete.pop_back();
    };

    std::vector<IEDGE> edges;
    for (int i = 0; i < n; ++i) {
        const double xp = points[i].x;
        const double yp = points[i].y;

        // The triangles whose circle holds the point leave a hole; keep its edges.
        edges.clear();
        for (size_t j = 0; j < triangles.size();) {
            if (complete[j]) {
                ++j;
                continue;
            }
            const ITRIANGLE t = triangles[j];
            const XYZ& a = points[t.p1];
            const XYZ& b = points[t.p2];
            const XYZ& c = points[t.p3];
            double xc;
            double yc;
            double rsqr;
            // A flat triangle has no circle: it never holds a point and is
            // never complete.
            if (!circleThrough(a.x, a.y, b.x, b.y, c.x, c.y, xc, yc, rsqr)) {
                ++j;
                continue;
            }
            if (xc + std::sqrt(rsqr) < xp)
                complete[j] = true;
            const double ex = xp - xc;
            const double ey = yp - yc;
            if (ex * ex + ey * ey <= rsqr) {
                edges.push_back({t.p1, t.p2});
                edges.push_back({t.p2, t.p3});
                edges.push_back({t.p3, t.p1});
                removeAt(j);
                continue;
            }
            ++j;
        }

        // Edges shared by two removed triangles are inside the hole.
        for (size_t j = 0; j + 1 < edges.size(); ++j) {
            for (size_t k = j + 1; k < edges.size(); ++k) {
                if (sameOrReversed(edges[j], edges[k])) {
                    edges[j] = {-1, -1};
                    edges[k] = {-1, -1};
                }
            }
        }

        // Fill the hole with triangles to the new point.
        for (const IEDGE& e : edges) {
            if (e.p1 < 0 || e.p2 < 0)
                continue;
            triangles.push_back({e.p1, e.p2, i});
            complete.push_back(false);
        }
    }

    // Drop the triangles that touch the super triangle.
    for (size_t j = 0; j < triangles.size();) {
        const ITRIANGLE& t = triangles[j];
        if (t.p1 >= n || t.p2 >= n || t.p3 >= n)
            removeAt(j);
        else
            ++j;
    }

    count = static_cast<int>(triangles.size());
    return 0;
}

}  // namespace delaunay

Delaunay2D::Delaunay2D(std::vector<b2Vec2> points)
{
    addPoints(points);
}

int Delaunay2D::addPoint(float x, float y, float /*z*/)
{
    m_points.push_back({x, y, 0.0});
    return static_cast<int>(m_points.size());
}

int Delaunay2D::addPoint(const b2Vec2& p)
{
    return addPoint(p.x, p.y, 0.0f);
}

int Delaunay2D::addPoints(const std::vector<b2Vec2>& points)
{
    for (const b2Vec2& p : points)
        addPoint(p);
    return static_cast<int>(m_points.size());
}

int Delaunay2D::triangulate()
{
    const int n = static_cast<int>(m_points.size());
    if (n <= 2)
        return 0;

    std::stable_sort(m_points.begin(), m_points.end(), [](const delaunay::XYZ& a, const delaunay::XYZ& b) {
        return delaunay::XYZCompare(&a, &b) < 0;
    });
    m_points.resize(n + 3);

    int count = 0;
    delaunay::Triangulate(n, m_points, m_triangles, count);

    m_result.clear();
    for (int i = 0; i < count; ++i) {
        const delaunay::ITRIANGLE& t = m_triangles[i];
        A_Triangle triangle;
        const int corners[3] = {t.p1, t.p2, t.p3};
        for (int k = 0; k < 3; ++k) {
            const delaunay::XYZ& p = m_points[corners[k]];
            triangle.vertices[k] = b2Vec2(static_cast<float>(p.x), static_cast<float>(p.y));
        }
        m_result.push_back(triangle);
    }

    m_points.resize(n);
    return count;
}

std::vector<A_Triangle> Delaunay2D::getTriangles() const
{
    return m_result;
}

void Delaunay2D::reset()
{
    m_points.clear();
    m_triangles.clear();
}
