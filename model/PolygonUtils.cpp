#include "model/PolygonUtils.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace {

b2Vec2 vertexMean(const std::vector<b2Vec2>& p)
{
    if (p.empty())
        return b2Vec2(0.0f, 0.0f);
    double x = 0.0, y = 0.0;
    for (const b2Vec2& v : p) {
        x += v.x;
        y += v.y;
    }
    const double n = static_cast<double>(p.size());
    return b2Vec2(static_cast<float>(x / n), static_cast<float>(y / n));
}

float randomFraction()
{
    return static_cast<float>(static_cast<double>(std::rand()) / RAND_MAX);
}

}  // namespace

int ClockWise(const std::vector<b2Vec2>& p)
{
    const size_t n = p.size();
    if (n < 3)
        return 0;

    int count = 0;
    for (size_t i = 0; i < n; ++i) {
        const b2Vec2& a = p[i];
        const b2Vec2& b = p[(i + 1) % n];
        const b2Vec2& c = p[(i + 2) % n];
        const float first = (b.x - a.x) * (c.y - b.y);
        const float second = (b.y - a.y) * (c.x - b.x);
        const double z = static_cast<double>(first) - static_cast<double>(second);
        if (z < 0.0)
            --count;
        else if (z > 0.0)
            ++count;
    }
    return count < 0 ? 1 : 0;
}

b2Vec2 getPolyCentroid(const std::vector<b2Vec2>& p, bool vertexMeanWanted)
{
    if (vertexMeanWanted || p.size() <= 2)
        return vertexMean(p);

    // Triangle fan from the first point, in double precision, so that a small
    // outline far from the origin keeps its digits.
    const double ox = p[0].x, oy = p[0].y;
    double area2 = 0.0, cx = 0.0, cy = 0.0, extent = 0.0;
    for (size_t i = 1; i + 1 < p.size(); ++i) {
        const double bx = p[i].x - ox, by = p[i].y - oy;
        const double qx = p[i + 1].x - ox, qy = p[i + 1].y - oy;
        const double d = bx * qy - by * qx;
        area2 += d;
        cx += d * (bx + qx);
        cy += d * (by + qy);
        extent = std::max({extent, std::fabs(bx), std::fabs(by), std::fabs(qx), std::fabs(qy)});
    }
    // No area to speak of next to the polygon's size (collinear or repeated
    // points, or an overflow): the vertex mean.
    if (!std::isfinite(area2) || std::fabs(area2) <= 1e-6 * extent * extent
        || std::fabs(area2) <= DBL_MIN)
        return vertexMean(p);
    return b2Vec2(static_cast<float>(ox + cx / (3.0 * area2)),
                  static_cast<float>(oy + cy / (3.0 * area2)));
}

bool segmentsIntersect(b2Vec2 p1, b2Vec2 p2, b2Vec2 p3, b2Vec2 p4)
{
    const float d = (p4.y - p3.y) * (p2.x - p1.x) - (p2.y - p1.y) * (p4.x - p3.x);
    if (std::fabs(d) < 0.0001f)
        return false;
    const float ua = ((p4.x - p3.x) * (p1.y - p3.y) - (p1.x - p3.x) * (p4.y - p3.y)) / d;
    const float ub = ((p2.x - p1.x) * (p1.y - p3.y) - (p1.x - p3.x) * (p2.y - p1.y)) / d;
    return ua > 0.0f && ua < 1.0f && ub > 0.0f && ub < 1.0f;
}

int isInsidePolygon(b2Vec2 p, const std::vector<b2Vec2>& poly)
{
    const size_t n = poly.size();
    if (n == 0)
        return 0;

    int crossings = 0;
    b2Vec2 a = poly[0];
    for (size_t i = 1; i <= n; ++i) {
        const b2Vec2 b = poly[i % n];
        if (p.y > std::min(a.y, b.y) && p.y <= std::max(a.y, b.y) && p.x <= std::max(a.x, b.x)
            && a.y != b.y) {
            const float xi = (p.y - a.y) * (b.x - a.x) / (b.y - a.y) + a.x;
            if (a.x == b.x || p.x <= xi)
                ++crossings;
        }
        a = b;
    }
    return crossings % 2;
}

b2Vec2 rotatePoint(b2Vec2 p, b2Vec2 centre, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float dx = p.x - centre.x;
    const float dy = p.y - centre.y;
    return b2Vec2(c * dx - s * dy + centre.x, s * dx + c * dy + centre.y);
}

bool sortByX(b2Vec2 a, b2Vec2 b)
{
    return a.x < b.x;
}

float det(float x1, float y1, float x2, float y2, float x3, float y3)
{
    return x1 * y2 + x2 * y3 + x3 * y1 - y1 * x2 - y2 * x3 - y3 * x1;
}

std::vector<b2Vec2> arrangeClockwise(const std::vector<b2Vec2>& points)
{
    std::vector<b2Vec2> sorted = points;
    std::stable_sort(sorted.begin(), sorted.end(), sortByX);
    const size_t n = sorted.size();
    if (n < 3)
        return sorted;

    const b2Vec2 first = sorted.front();
    const b2Vec2 last = sorted.back();
    std::vector<b2Vec2> out(n, b2Vec2(0.0f, 0.0f));
    out[0] = first;
    size_t front = 1;
    size_t back = n - 1;
    for (size_t i = 1; i + 1 < n; ++i) {
        const b2Vec2& p = sorted[i];
        if (det(first.x, first.y, last.x, last.y, p.x, p.y) < 0.0f)
            out[front++] = p;
        else
            out[back--] = p;
    }
    out[front] = last;
    return out;
}

float Area2(b2Vec2 a, b2Vec2 b, b2Vec2 c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool IsOnLeft(b2Vec2 a, b2Vec2 b, b2Vec2 c)
{
    return Area2(a, b, c) > 0.0f;
}

bool IsOnRight(b2Vec2 a, b2Vec2 b, b2Vec2 c)
{
    return Area2(a, b, c) < 0.0f;
}

bool ccw(b2Vec2 a, b2Vec2 b, b2Vec2 c)
{
    return (c.y - a.y) * (b.x - a.x) > (b.y - a.y) * (c.x - a.x);
}

b2Vec2 getPolygonCenter(const std::vector<b2Vec2>& points)
{
    return vertexMean(points);
}

std::vector<b2Vec2> getBoundingBox(const std::vector<b2Vec2>& points)
{
    b2Vec2 lower(1e6f, 1e6f);
    b2Vec2 upper(-1e6f, -1e6f);
    for (const b2Vec2& p : points) {
        lower = b2Min(lower, p);
        upper = b2Max(upper, p);
    }
    return {lower, upper};
}

b2Vec2 getRandomPointInRect(const std::vector<b2Vec2>& box)
{
    if (box.size() < 2)
        return box.empty() ? b2Vec2(0.0f, 0.0f) : box[0];
    const b2Vec2 size = box[1] - box[0];
    const float fx = randomFraction();
    const float fy = randomFraction();
    return b2Vec2(box[0].x + size.x * fx, box[0].y + size.y * fy);
}

b2Vec2 getPointInsidePolygon(const std::vector<b2Vec2>& poly)
{
    const std::vector<b2Vec2> box = getBoundingBox(poly);
    for (int attempt = 0; attempt < 100 && !poly.empty(); ++attempt) {
        const b2Vec2 candidate = getRandomPointInRect(box);
        if (isInsidePolygon(candidate, poly))
            return candidate;
    }
    return vertexMean(poly);
}

b2Vec2 myComputeCentroid(const std::vector<b2Vec2>& points)
{
    return getPolyCentroid(points, false);
}
