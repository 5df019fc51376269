#include "outlines/OutlineSafety.h"

#include "model/PolygonUtils.h"
#include "outlines/OutlineLimits.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

using namespace outline_limits;

namespace {

struct Point2 {
    double x, y;
};

double cross(const Point2& o, const Point2& a, const Point2& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Convex hull by the monotone chain, counter-clockwise, without collinear points.
std::vector<Point2> convexHull(std::vector<Point2> pts)
{
    std::sort(pts.begin(), pts.end(), [](const Point2& a, const Point2& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    std::vector<Point2> hull(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0.0)
            --k;
        hull[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0.0)
            --k;
        hull[k++] = pts[i];
    }
    hull.resize(k > 0 ? k - 1 : 0);
    return hull;
}

bool tooClose(b2Vec2 a, b2Vec2 b)
{
    return (a - b).LengthSquared() < kWeldDistance * kWeldDistance;
}

bool isSafeCircle(const ShapeDef& s)
{
    if (s.points.size() < 4 || !std::isfinite(s.radius) || s.radius < kMinCircleRadius
        || s.radius > kMaxCoordinate)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (!isUsablePoint(s.points[i]))
            return false;
    return true;
}

bool isSafeFirst(const ShapeDef& s, size_t count)
{
    return s.points.size() >= count
           && isSafePolygon(std::vector<b2Vec2>(s.points.begin(), s.points.begin() + long(count)));
}

}  // namespace

bool isUsablePoint(b2Vec2 p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= kMaxCoordinate
           && std::fabs(p.y) <= kMaxCoordinate;
}

bool isSafePolygon(const std::vector<b2Vec2>& points)
{
    if (points.size() < 3 || points.size() > size_t(b2_maxPolygonVertices))
        return false;
    std::vector<Point2> pts;
    for (size_t i = 0; i < points.size(); ++i) {
        if (!isUsablePoint(points[i]))
            return false;
        for (size_t j = 0; j < i; ++j)
            if (tooClose(points[i], points[j]))
                return false;
        pts.push_back({points[i].x, points[i].y});
    }
    const std::vector<Point2> hull = convexHull(pts);
    if (hull.size() < 3)
        return false;
    const double area = signedArea(hull.data(), hull.size());
    double longest = 0.0;
    for (size_t i = 0; i < hull.size(); ++i) {
        const Point2& a = hull[i];
        const Point2& b = hull[(i + 1) % hull.size()];
        longest = std::max(longest, (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
    }
    return area >= kMinPolygonArea && area >= kThinnessFactor * FLT_EPSILON * longest;
}

std::vector<b2Vec2> weldPoints(const std::vector<b2Vec2>& points, bool closed)
{
    const auto onLine = [](b2Vec2 p) {
        return isUsablePoint(p) && std::fabs(p.x) <= kMaxLineCoordinate && std::fabs(p.y) <= kMaxLineCoordinate;
    };
    return weldPointsWith(points, closed, onLine, tooClose);
}

void makeOutlinesSafe(std::vector<ShapeDef>& group)
{
    std::vector<ShapeDef> kept;
    kept.reserve(group.size());
    for (ShapeDef& s : group) {
        bool keep;
        if (s.isCircle)
            keep = isSafeCircle(s);
        else if (s.isBox)
            keep = isSafeFirst(s, 4);
        else if (s.closed)
            keep = isSafeFirst(s, 3);
        else {
            s.points = weldPoints(s.points, false);
            keep = s.points.size() >= 2;
        }
        if (keep)
            kept.push_back(std::move(s));
    }
    group = std::move(kept);
}

bool makeLayerBoxSafe(ShapeDef& box)
{
    const bool usable = !box.points.empty() && std::all_of(box.points.begin(), box.points.end(), isUsablePoint);
    float x0 = 0.0f, x1 = 0.0f, y0 = 0.0f, y1 = 0.0f;
    if (usable) {
        x0 = x1 = box.points[0].x;
        y0 = y1 = box.points[0].y;
        for (const b2Vec2& p : box.points) {
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    }
    const auto widen = [](float& lo, float& hi) {
        if (hi - lo >= kMinLayerBoxSide)
            return;
        const float middle = 0.5f * (lo + hi);
        lo = middle - 0.5f * kMinLayerBoxSide;
        hi = middle + 0.5f * kMinLayerBoxSide;
    };
    widen(x0, x1);
    widen(y0, y1);
    box.points = {b2Vec2(x0, y0), b2Vec2(x1, y0), b2Vec2(x1, y1), b2Vec2(x0, y1)};
    return usable;
}
