#include "outlines/OutlineTopology.h"

#include "model/PolygonUtils.h"

#include <algorithm>

namespace {

struct Edge {
    b2Vec2 a, b;
    float minX, maxX, minY, maxY;
    size_t index;
};

bool overlapY(const Edge& e, const Edge& f)
{
    return e.minY <= f.maxY && f.minY <= e.maxY;
}

}  // namespace

bool isSelfIntersectingShape(const ShapeDef& s)
{
    const std::vector<b2Vec2>& p = s.points;
    const size_t n = p.size();
    if (n < 4)
        return false;
    // Every pair of edges is tested, as a sweep over x: edges whose x ranges do
    // not meet cannot cross.
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
            if (segmentsIntersect(first.a, first.b, second.a, second.b))
                return true;
        }
    }
    return false;
}
