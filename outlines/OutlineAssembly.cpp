#include "outlines/OutlineAssembly.h"

#include "model/PolygonUtils.h"
#include "outlines/OutlineLimits.h"
#include "outlines/OutlineSafety.h"
#include "outlines/OutlineTriangulation.h"

#include <algorithm>
#include <cmath>

namespace {

void reverse(ShapeDef& s)
{
    std::reverse(s.points.begin(), s.points.end());
}

// Drops the points that land within the weld distance of the point kept
// before them once converted; the first point is the last one's neighbour.
std::vector<b2Vec2> weldForTriangulation(const std::vector<b2Vec2>& points, const OutlineFrame& frame)
{
    const float limit = outline_limits::kWeldDistance * outline_limits::kWeldDistance;
    const auto close = [&](b2Vec2 a, b2Vec2 b) {
        return (frame.toWorld(a) - frame.toWorld(b)).LengthSquared() < limit;
    };
    std::vector<b2Vec2> kept;
    for (const b2Vec2& p : points)
        if (std::isfinite(p.x) && std::isfinite(p.y) && (kept.empty() || !close(p, kept.back())))
            kept.push_back(p);
    while (kept.size() > 1 && close(kept.back(), kept.front()))
        kept.pop_back();
    return kept;
}

ShapeDef triangleOutline(const A_Triangle& t)
{
    ShapeDef s;
    s.points.assign(t.vertices, t.vertices + 3);
    s.closed = true;
    return s;
}

// Boxes and triangles leave with ClockWise 0; before the final reversal that
// means ClockWise 1.
void windBeforeReversal(ShapeDef& s)
{
    if (ClockWise(s.points) == 0)
        reverse(s);
}

}  // namespace

b2Vec2 OutlineFrame::toWorld(b2Vec2 p) const
{
    const double x = (double(p.x) - origin.x) * scale.x;
    const double y = (double(p.y) - origin.y) * scale.y;
    if (rotation == 0.0f)
        return b2Vec2(float(x / 100.0), float(y / 100.0));
    const double c = std::cos(double(rotation));
    const double s = std::sin(double(rotation));
    return b2Vec2(float((c * x - s * y) / 100.0), float((s * x + c * y) / 100.0));
}

bool AssembledOutlines::tooManyPolygons() const
{
    return triangleCount > outline_limits::kMaxTriangles;
}

AssembledOutlines assembleOutlines(QWidget* parent, const OutlineSet& set, bool hull, const OutlineFrame& frame)
{
    std::vector<ShapeDef> closed;
    std::vector<ShapeDef> open;
    for (const ShapeDef& s : set.outlines) {
        if (s.isCircle || s.isBox)
            continue;
        if (!s.closed) {
            open.push_back(s);
            continue;
        }
        ShapeDef welded = s;
        welded.points = weldForTriangulation(s.points, frame);
        if (welded.points.size() >= 3)
            closed.push_back(std::move(welded));
    }

    AssembledOutlines result;
    std::vector<A_Triangle> triangles;
    if (!closed.empty())
        GetTriangulation(parent, closed, triangles, hull, result.selfIntersecting);

    std::vector<ShapeDef>& group = result.group;
    group = set.circles;
    for (ShapeDef box : set.boxes) {
        windBeforeReversal(box);
        group.push_back(std::move(box));
    }
    group.insert(group.end(), open.begin(), open.end());
    for (const A_Triangle& t : triangles) {
        ShapeDef s = triangleOutline(t);
        windBeforeReversal(s);
        group.push_back(std::move(s));
    }

    for (ShapeDef& s : group) {
        for (b2Vec2& p : s.points)
            p = frame.toWorld(p);
        reverse(s);
        // A mirroring frame would have turned them round.
        if ((s.isBox || (s.closed && !s.isCircle)) && ClockWise(s.points) == 1)
            reverse(s);
    }
    makeOutlinesSafe(group);
    result.triangleCount = int(std::count_if(group.begin(), group.end(), [](const ShapeDef& s) {
        return s.closed && !s.isCircle && !s.isBox;
    }));
    return result;
}
