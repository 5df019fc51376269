#include "outlines/OutlineTopology.h"

#include "model/PolygonUtils.h"

#include <clipper.hpp>

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

// Calls `visit` with the indices (the lower first) of every two edges of
// the closed outline whose boxes meet, until it returns true; whether it
// did. A sweep over x: edges whose x ranges do not meet are not visited.
template <class Visit>
bool anyEdgesWhoseBoxesMeet(const std::vector<b2Vec2>& p, Visit visit)
{
    const size_t n = p.size();
    std::vector<Edge> edges(n);
    for (size_t i = 0; i < n; ++i) {
        const b2Vec2 a = p[i];
        const b2Vec2 b = p[(i + 1) % n];
        edges[i] = {a, b, std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y), i};
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& e, const Edge& f) { return e.minX < f.minX; });
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n && edges[j].minX <= edges[i].maxX; ++j) {
            if (edges[i].minY > edges[j].maxY || edges[j].minY > edges[i].maxY)
                continue;
            if (visit(std::min(edges[i].index, edges[j].index), std::max(edges[i].index, edges[j].index)))
                return true;
        }
    }
    return false;
}

// Calls `visit` with the indices of every two edges of the closed outline
// that cross (segmentsIntersect), until it returns true; whether it did.
template <class Visit>
bool anyCrossing(const std::vector<b2Vec2>& p, Visit visit)
{
    const size_t n = p.size();
    return n >= 4 && anyEdgesWhoseBoxesMeet(p, [&](size_t i, size_t j) {
               return segmentsIntersect(p[i], p[(i + 1) % n], p[j], p[(j + 1) % n]) && visit(i, j);
           });
}


// The area that `path` fills by `rule`, in its units squared.
double filledArea(const ClipperLib::Path& path, ClipperLib::PolyFillType rule)
{
    ClipperLib::Clipper clipper;
    clipper.AddPath(path, ClipperLib::ptSubject, true);
    ClipperLib::Paths filled;
    clipper.Execute(ClipperLib::ctUnion, filled, rule, rule);
    double area = 0.0;
    for (const ClipperLib::Path& p : filled)
        area += ClipperLib::Area(p);  // a hole's is negative
    return area;
}

}  // namespace

bool isSelfIntersectingShape(const ShapeDef& s)
{
    return anyCrossing(s.points, [](size_t, size_t) { return true; });
}

OutlineWinding windingOf(const ShapeDef& s)
{
    const std::vector<b2Vec2>& p = s.points;
    OutlineWinding all{true, true, true};
    if (p.size() < 3)
        return OutlineWinding{};
    double extent = 0.0;
    for (const b2Vec2& q : p)
        extent = std::max({extent, std::fabs(double(q.x) - p[0].x), std::fabs(double(q.y) - p[0].y)});
    if (!std::isfinite(extent))
        return all;
    if (extent == 0.0 || p.size() < 4 || isSimpleOutline(p))
        return OutlineWinding{};
    size_t crossings = 0;
    if (anyCrossing(p, [&](size_t, size_t) { return ++crossings > kMostCrossingsWound; }))
        return all;
    const bool crosses = crossings > 0;
    // Clipper counts in integers: the points about the first, scaled by a
    // power of two until the farthest nears the range in which Clipper
    // multiplies exactly in 64 bits. A point on an edge stays on it unless
    // its float holds digits finer than a billionth of the outline's size.
    const double scale = std::ldexp(1.0, std::ilogb(double(ClipperLib::loRange) / extent));
    ClipperLib::Path path;
    for (const b2Vec2& q : p)
        path.emplace_back(ClipperLib::cInt(std::llround((double(q.x) - p[0].x) * scale)),
                          ClipperLib::cInt(std::llround((double(q.y) - p[0].y) * scale)));
    try {
        // Non-zero fills what even-odd does and the places wound round an
        // even number of times besides; places wound round one way fill by
        // the positive rule, the other way by the negative one. Less than a
        // billionth of the outline's square is rounding.
        const double noise = 1e-9 * double(ClipperLib::loRange) * double(ClipperLib::loRange);
        const double positive = filledArea(path, ClipperLib::pftPositive);
        const double negative = filledArea(path, ClipperLib::pftNegative);
        const double evenOdd = filledArea(path, ClipperLib::pftEvenOdd);
        return OutlineWinding{positive + negative - evenOdd > noise, positive > noise && negative > noise, crosses};
    } catch (...) {
        return all;
    }
}
