#include "model/ConvexHull.h"

namespace {

size_t startIndex(const std::vector<b2Vec2>& pts)
{
    size_t best = 0;
    for (size_t i = 1; i < pts.size(); ++i) {
        if (pts[i].x > pts[best].x || (pts[i].x == pts[best].x && pts[i].y < pts[best].y))
            best = i;
    }
    return best;
}

// The point that has every other point on its left, seen from current; among
// collinear candidates the farthest.
size_t nextIndex(const std::vector<b2Vec2>& pts, size_t current)
{
    size_t e = 0;
    for (size_t j = 1; j < pts.size(); ++j) {
        if (e == current) {
            e = j;
            continue;
        }
        const b2Vec2 r = pts[e] - pts[current];
        const b2Vec2 v = pts[j] - pts[current];
        const float c = r.x * v.y - r.y * v.x;
        if (c < 0.0f || (c == 0.0f && v.LengthSquared() > r.LengthSquared()))
            e = j;
    }
    return e;
}

}  // namespace

std::vector<b2Vec2> getHull(std::vector<b2Vec2> pts)
{
    std::vector<b2Vec2> hull;
    if (pts.empty())
        return hull;

    const size_t first = startIndex(pts);
    std::vector<bool> visited(pts.size(), false);
    visited[first] = true;
    hull.push_back(pts[first]);

    size_t current = first;
    while (hull.size() < pts.size()) {
        const size_t e = nextIndex(pts, current);
        if (visited[e])
            break;
        visited[e] = true;
        hull.push_back(pts[e]);
        current = e;
    }
    return hull;
}
