#include "outlines/OutlineTopology.h"

#include "model/PolygonUtils.h"

#include <algorithm>
#include <cmath>

namespace {

// Past this many crossings an outline is taken to wind round some place
// twice without looking further.
constexpr size_t kMostCrossingsWound = 256;

struct Edge {
    b2Vec2 a, b;
    float minX, maxX, minY, maxY;
    size_t index;
};

bool overlapY(const Edge& e, const Edge& f)
{
    return e.minY <= f.maxY && f.minY <= e.maxY;
}

// Calls `visit` with the indices of every two edges of the closed outline
// that cross (segmentsIntersect), until it returns true; whether it did.
// Every pair of edges is tested, as a sweep over x: edges whose x ranges do
// not meet cannot cross.
template <class Visit>
bool anyCrossing(const std::vector<b2Vec2>& p, Visit visit)
{
    const size_t n = p.size();
    if (n < 4)
        return false;
    std::vector<Edge> edges(n);
    for (size_t i = 0; i < n; ++i) {
        const b2Vec2 a = p[i];
        const b2Vec2 b = p[(i + 1) % n];
        edges[i] = {a, b, std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y), i};
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& e, const Edge& f) { return e.minX < f.minX; });
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n && edges[j].minX <= edges[i].maxX; ++j) {
            if (!overlapY(edges[i], edges[j]))
                continue;
            const Edge& first = edges[i].index < edges[j].index ? edges[i] : edges[j];
            const Edge& second = edges[i].index < edges[j].index ? edges[j] : edges[i];
            if (segmentsIntersect(first.a, first.b, second.a, second.b) && visit(first.index, second.index))
                return true;
        }
    }
    return false;
}

// How often the closed outline winds round (x, y), counter-clockwise
// counted positive in a y-up frame.
int windingAt(const std::vector<b2Vec2>& p, double x, double y)
{
    int winding = 0;
    for (size_t k = 0; k < p.size(); ++k) {
        const b2Vec2 a = p[k], b = p[(k + 1) % p.size()];
        const double left = (double(b.x) - a.x) * (y - a.y) - (x - a.x) * (double(b.y) - a.y);
        if (a.y <= y && b.y > y && left > 0.0)
            ++winding;
        else if (a.y > y && b.y <= y && left < 0.0)
            --winding;
    }
    return winding;
}

}  // namespace

bool isSelfIntersectingShape(const ShapeDef& s)
{
    return anyCrossing(s.points, [](size_t, size_t) { return true; });
}

bool windsRoundTwice(const ShapeDef& s)
{
    const std::vector<b2Vec2>& p = s.points;
    const size_t n = p.size();
    double extent = 0.0;
    for (const b2Vec2& q : p)
        extent = std::max({extent, std::fabs(double(q.x) - p[0].x), std::fabs(double(q.y) - p[0].y)});
    size_t crossings = 0;
    return anyCrossing(p, [&](size_t i, size_t j) {
        if (++crossings > kMostCrossingsWound)
            return true;
        const b2Vec2 a1 = p[i], b1 = p[(i + 1) % n], a2 = p[j], b2 = p[(j + 1) % n];
        const double d1x = double(b1.x) - a1.x, d1y = double(b1.y) - a1.y;
        const double d2x = double(b2.x) - a2.x, d2y = double(b2.y) - a2.y;
        const double t = ((double(a2.x) - a1.x) * d2y - (double(a2.y) - a1.y) * d2x) / (d1x * d2y - d1y * d2x);
        const double l1 = std::hypot(d1x, d1y), l2 = std::hypot(d2x, d2y);
        // Just right of both edges: the place about the crossing wound least.
        const double step = 1e-6 * extent;
        const double x = a1.x + t * d1x + step * (d1y / l1 + d2y / l2);
        const double y = a1.y + t * d1y - step * (d1x / l1 + d2x / l2);
        return windingAt(p, x, y) != -1;
    });
}
