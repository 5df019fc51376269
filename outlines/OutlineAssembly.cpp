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
    const auto finite = [](b2Vec2 p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    const auto close = [&](b2Vec2 a, b2Vec2 b) {
        return (frame.toWorld(a) - frame.toWorld(b)).LengthSquared() < limit;
    };
    return weldPointsWith(points, true, finite, close);
}

// The frame's scale, shear and rotation applied to (dx, dy), in world units.
b2Vec2 linearToWorld(const OutlineFrame& frame, double dx, double dy)
{
    double x = dx * frame.scale.x;
    if (frame.shear != 0.0f)
        x += dy * frame.shear;
    const double y = dy * frame.scale.y;
    if (frame.rotation == 0.0f)
        return b2Vec2(float(x / 100.0), float(y / 100.0));
    const double c = std::cos(double(frame.rotation));
    const double s = std::sin(double(frame.rotation));
    return b2Vec2(float((c * x - s * y) / 100.0), float((s * x + c * y) / 100.0));
}

ShapeDef triangleOutline(const A_Triangle& t)
{
    ShapeDef s;
    s.points.assign(t.vertices, t.vertices + 3);
    s.closed = true;
    return s;
}

}  // namespace

b2Vec2 OutlineFrame::toWorld(b2Vec2 p) const
{
    return linearToWorld(*this, double(p.x) - origin.x, double(p.y) - origin.y);
}

b2Vec2 OutlineFrame::vectorToWorld(b2Vec2 v) const
{
    return linearToWorld(*this, v.x, v.y);
}

bool AssembledOutlines::tooManyPolygons() const
{
    return triangleCount > outline_limits::kMaxTriangles;
}

namespace {

bool finiteShapes(const std::vector<ShapeDef>& shapes, const OutlineFrame* frame)
{
    for (const ShapeDef& s : shapes) {
        if (s.isCircle && !std::isfinite(s.radius))
            return false;
        for (const b2Vec2& p : s.points) {
            const b2Vec2 q = frame ? frame->toWorld(p) : p;
            if (!std::isfinite(q.x) || !std::isfinite(q.y))
                return false;
        }
    }
    return true;
}

} // namespace

AssembledOutlines assembleOutlines(QWidget* parent, const OutlineSet& set, bool hull, const OutlineFrame& frame)
{
    if (!finiteShapes(set.outlines, &frame) || !finiteShapes(set.boxes, &frame) || !finiteShapes(set.circles, nullptr)) {
        AssembledOutlines unusable;
        unusable.unrepresentable = true;
        return unusable;
    }
    AssembledOutlines result;
    std::vector<ShapeDef> closed;
    std::vector<OutlinePaint> paint;
    std::vector<ShapeDef> open;
    for (size_t i = 0; i < set.outlines.size(); ++i) {
        const ShapeDef& s = set.outlines[i];
        if (s.isCircle || s.isBox)
            continue;
        ShapeDef& drawn = result.drawnOutlines.emplace_back(s);
        for (std::vector<b2Vec2>* points : {&drawn.points, &drawn.vertices})
            for (b2Vec2& p : *points)
                p = frame.toWorld(p);
        for (std::vector<b2Vec2>* tangents : {&drawn.inTangents, &drawn.outTangents})
            for (b2Vec2& t : *tangents)
                t = frame.vectorToWorld(t);
        if (!s.closed) {
            open.push_back(s);
            continue;
        }
        ShapeDef welded = s;
        welded.points = weldForTriangulation(s.points, frame);
        if (welded.points.size() < 3) {
            result.outlineDropped = true;
            continue;
        }
        closed.push_back(std::move(welded));
        paint.push_back(i < set.paint.size() ? set.paint[i] : OutlinePaint());
    }

    std::vector<A_Triangle> triangles;
    if (!closed.empty()) {
        TriangulationReport report;
        GetTriangulation(parent, closed, triangles, hull, report, set.fill, paint);
        result.selfIntersecting = report.selfIntersecting;
        result.filledAsHull = report.filledAsHull;
    }

    std::vector<ShapeDef>& group = result.group;
    group = set.circles;
    group.insert(group.end(), set.boxes.begin(), set.boxes.end());
    group.insert(group.end(), open.begin(), open.end());
    for (const A_Triangle& t : triangles)
        group.push_back(triangleOutline(t));

    // Every outline leaves reversed; boxes and triangles are then wound for
    // the engine (ClockWise 0) whatever their input order or a mirroring
    // frame made of them, so this one test is all the winding they need.
    for (ShapeDef& s : group) {
        for (b2Vec2& p : s.points)
            p = frame.toWorld(p);
        reverse(s);
        if ((s.isBox || (s.closed && !s.isCircle)) && ClockWise(s.points) == 1)
            reverse(s);
    }
    // Triangles may be dropped as slivers of a larger outline; anything else
    // dropped is a whole outline.
    const auto notTriangle = [](const ShapeDef& s) { return s.isCircle || s.isBox || !s.closed; };
    const auto whole = std::count_if(group.begin(), group.end(), notTriangle);
    makeOutlinesSafe(group);
    result.outlineDropped = result.outlineDropped || std::count_if(group.begin(), group.end(), notTriangle) < whole;
    result.triangleCount = int(std::count_if(group.begin(), group.end(), [](const ShapeDef& s) {
        return s.closed && !s.isCircle && !s.isBox;
    }));
    return result;
}
