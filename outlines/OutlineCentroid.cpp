#include "outlines/OutlineCentroid.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

b2Vec2 mean(const std::vector<b2Vec2>& points)
{
    double x = 0.0, y = 0.0;
    for (const b2Vec2& p : points) {
        x += p.x;
        y += p.y;
    }
    const double n = double(points.size());
    return b2Vec2(float(x / n), float(y / n));
}

}  // namespace

b2Vec2 outlineCentroid(const std::vector<b2Vec2>& points, bool vertexMean)
{
    if (points.empty())
        return b2Vec2(0.0f, 0.0f);
    if (vertexMean || points.size() <= 2)
        return mean(points);

    // Triangle fan from the first point, in double precision.
    const double ox = points[0].x, oy = points[0].y;
    double area2 = 0.0, cx = 0.0, cy = 0.0, extent = 0.0;
    for (size_t i = 1; i + 1 < points.size(); ++i) {
        const double bx = points[i].x - ox, by = points[i].y - oy;
        const double qx = points[i + 1].x - ox, qy = points[i + 1].y - oy;
        const double d = bx * qy - by * qx;
        area2 += d;
        cx += d * (bx + qx);
        cy += d * (by + qy);
        extent = std::max({extent, std::fabs(bx), std::fabs(by), std::fabs(qx), std::fabs(qy)});
    }
    if (!std::isfinite(area2) || std::fabs(area2) <= 1e-6 * extent * extent || std::fabs(area2) <= DBL_MIN)
        return mean(points);
    return b2Vec2(float(ox + cx / (3.0 * area2)), float(oy + cy / (3.0 * area2)));
}
