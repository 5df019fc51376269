#include "outlines/ConvexMerge.h"

#include <map>
#include <utility>

namespace {

using Point = std::pair<float, float>;
using Edge = std::pair<Point, Point>;

Point key(const b2Vec2& p)
{
    return {p.x, p.y};
}

float cross(const b2Vec2& a, const b2Vec2& b, const b2Vec2& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool strictlyConvex(const std::vector<b2Vec2>& polygon)
{
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i)
        if (!(cross(polygon[i], polygon[(i + 1) % n], polygon[(i + 2) % n]) > 0.0f))
            return false;
    return true;
}

// a's piece and b's piece joined along their shared edge a-b (a to b in
// `first`, b to a in `second`, both counter-clockwise).
std::vector<b2Vec2> joined(const std::vector<b2Vec2>& first, const std::vector<b2Vec2>& second, const Point& a,
                           const Point& b)
{
    const size_t n = first.size();
    const size_t m = second.size();
    size_t i = 0;
    while (i < n && !(key(first[i]) == a && key(first[(i + 1) % n]) == b))
        ++i;
    size_t j = 0;
    while (j < m && !(key(second[j]) == b && key(second[(j + 1) % m]) == a))
        ++j;
    if (i == n || j == m)
        return {};
    std::vector<b2Vec2> out;
    // b round the first piece to a, then the second piece's vertices
    // between a and b.
    for (size_t k = 0; k < n; ++k)
        out.push_back(first[(i + 1 + k) % n]);
    for (size_t k = 2; k < m; ++k)
        out.push_back(second[(j + k) % m]);
    return out;
}

} // namespace

std::vector<ConvexPiece> mergeIntoConvexPieces(const std::vector<Triangle>& triangles, int maxVertices)
{
    std::vector<ConvexPiece> pieces;
    std::vector<bool> alive;
    std::map<Edge, int> owner;  // directed edge -> piece
    for (size_t t = 0; t < triangles.size(); ++t) {
        Triangle tri = triangles[t];
        const float turn = cross(tri[0], tri[1], tri[2]);
        if (turn < 0.0f)
            std::swap(tri[1], tri[2]);
        pieces.push_back({{tri[0], tri[1], tri[2]}, {int(t)}});
        alive.push_back(true);
        if (turn == 0.0f || !(turn == turn))
            continue;  // no area: never merged
        for (int k = 0; k < 3; ++k)
            owner[{key(tri[size_t(k)]), key(tri[size_t((k + 1) % 3)])}] = int(t);
    }

    // Each shared edge once, in a fixed order.
    std::vector<Edge> diagonals;
    for (const auto& [edge, piece] : owner) {
        const auto other = owner.find({edge.second, edge.first});
        if (other != owner.end() && piece < other->second)
            diagonals.push_back(edge);
    }

    for (const Edge& diagonal : diagonals) {
        const auto ab = owner.find(diagonal);
        const auto ba = owner.find({diagonal.second, diagonal.first});
        if (ab == owner.end() || ba == owner.end())
            continue;
        const int p = ab->second;
        const int q = ba->second;
        if (p == q || !alive[size_t(p)] || !alive[size_t(q)])
            continue;
        std::vector<b2Vec2> merged = joined(pieces[size_t(p)].vertices, pieces[size_t(q)].vertices, diagonal.first,
                                            diagonal.second);
        if (merged.empty() || int(merged.size()) > maxVertices || !strictlyConvex(merged))
            continue;
        owner.erase(ab);
        owner.erase(ba);
        pieces[size_t(p)].vertices = std::move(merged);
        const std::vector<int> absorbed = pieces[size_t(q)].triangles;
        pieces[size_t(p)].triangles.insert(pieces[size_t(p)].triangles.end(), absorbed.begin(), absorbed.end());
        alive[size_t(q)] = false;
        const std::vector<b2Vec2>& v = pieces[size_t(p)].vertices;
        for (size_t k = 0; k < v.size(); ++k) {
            const auto it = owner.find({key(v[k]), key(v[(k + 1) % v.size()])});
            if (it != owner.end())
                it->second = p;
        }
    }

    std::vector<ConvexPiece> out;
    for (size_t k = 0; k < pieces.size(); ++k)
        if (alive[k])
            out.push_back(std::move(pieces[k]));
    return out;
}
