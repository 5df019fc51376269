#include "separation/CopyArea.h"

#include "outlines/ShapeLayerOutlines.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
// The host's values of "ADBE Vector Stroke Line Join" and "... Line Cap".
constexpr double kMiterJoin = 1.0;
constexpr int kButtCap = 1, kRoundCap = 2, kProjectingCap = 3;
// The longest arc of a round join or cap between two corners of the polygon
// outside it: it reaches a 1/cos(pi/64) part (0.12 %) beyond the arc.
constexpr double kArcStep = M_PI / 32.0;
// Past this uncertainty of a corner's angle (radians) the join there is
// taken as any join the stroke may draw.
constexpr double kMostTurnDoubt = 0.1;

AreaPoint operator-(AreaPoint p, AreaPoint q) { return AreaPoint{p.x - q.x, p.y - q.y}; }
double dot(AreaPoint p, AreaPoint q) { return p.x * q.x + p.y * q.y; }
double cross(AreaPoint p, AreaPoint q) { return p.x * q.y - p.y * q.x; }

bool curves(const ShapeDef& s)
{
    for (const std::vector<b2Vec2>* tangents : {&s.inTangents, &s.outTangents})
        for (const b2Vec2& t : *tangents)
            if (t.x != 0.0f || t.y != 0.0f)
                return true;
    return false;
}

// Where strokes may reach from about the circles, boxes and open outlines
// of `group` and about `closed`, the closed outlines as drawn (the group
// holds them as triangles, whose corners are not where the host joins).
std::vector<StrokeSource> strokeSources(const std::vector<ShapeDef>& group, const std::vector<ShapeDef>& closed,
                                        AreaPoint offset)
{
    std::vector<StrokeSource> sources;
    std::vector<const ShapeDef*> outlines;
    for (const ShapeDef& s : group)
        if (s.isCircle || s.isBox || !s.closed)
            outlines.push_back(&s);
    for (const ShapeDef& s : closed)
        outlines.push_back(&s);
    for (const ShapeDef* outline : outlines) {
        const ShapeDef& s = *outline;
        if (s.isCircle) {
            // The scene makes the circle about the mean of its four points.
            if (s.points.size() < 4)
                continue;
            StrokeSource circle;
            circle.radius = std::max(0.0, double(s.radius));
            for (size_t k = 0; k < 4; ++k) {
                circle.a.x += (double(s.points[k].x) + offset.x) / 4.0;
                circle.a.y += (double(s.points[k].y) + offset.y) / 4.0;
            }
            sources.push_back(circle);
            continue;
        }
        const size_t n = s.points.size();
        const bool closed = s.closed || s.isBox, curved = !s.isBox && curves(s);
        const auto at = [&](size_t k) { return AreaPoint{s.points[k % n].x + offset.x, s.points[k % n].y + offset.y}; };
        for (size_t k = 0; n > 1 && k < (closed ? n : n - 1); ++k) {
            StrokeSource edge;
            edge.a = at(k);
            edge.b = at(k + 1);
            edge.joinedBefore = closed || k > 0;
            edge.joinedAfter = closed || k + 2 < n;
            edge.before = at(k + n - 1);
            edge.after = at(k + 2);
            edge.curved = curved;
            sources.push_back(edge);
        }
    }
    return sources;
}

// Adds to `out` the polygon outside the arc of radius r about v from the
// angle `from` to `to` (radians, about the axes u and n).
void addArc(std::vector<AreaPoint>& out, AreaPoint v, AreaPoint u, AreaPoint n, double r, double from, double to)
{
    const auto at = [&](double angle, double radius) {
        const double along = radius * std::cos(angle), across = radius * std::sin(angle);
        out.push_back(AreaPoint{v.x + u.x * along + n.x * across, v.y + u.y * along + n.y * across});
    };
    const int steps = std::max(1, int(std::ceil(std::fabs(to - from) / kArcStep)));
    const double step = (to - from) / steps;
    at(from, r);
    for (int k = 0; k < steps; ++k)
        at(from + (k + 0.5) * step, r / std::cos(step / 2.0));
    at(to, r);
}

// Adds to `out` what a stroke of half-width w paints beyond the end v of an
// edge that arrives there along the unit vector u, on the edge's side: its
// cap, or, when `joined`, its half of the join to the edge from v to
// `next`. `doubt` is how far rounding may have moved a point.
void addEnd(std::vector<AreaPoint>& out, AreaPoint v, AreaPoint u, bool joined, AreaPoint next, double doubt,
            const StrokeStyle& style)
{
    const double w = style.halfWidth;
    const AreaPoint n{-u.y, u.x};
    const auto add = [&](double along, double across) {
        out.push_back(AreaPoint{v.x + u.x * along + n.x * across, v.y + u.y * along + n.y * across});
    };
    add(0.0, w);
    add(0.0, -w);
    const AreaPoint to = next - v;
    const double length = std::hypot(to.x, to.y);
    const double turnDoubt = length > 0.0 ? 2.0 * doubt / length + 1e-12 : HUGE_VAL;
    if (!joined) {
        if (style.cap == kProjectingCap)
            add(w, w), add(w, -w);
        else if (style.cap == kRoundCap)
            addArc(out, v, u, n, w, M_PI / 2.0, -M_PI / 2.0);
        return;
    }
    const double mostMiter = std::max(1.0, style.miterLimit);
    if (turnDoubt > kMostTurnDoubt) {
        // Any join: the corners of a projecting cap hold a round join and a
        // bevel, and a mitre within the limit reaches no further along.
        const double along = w * std::sqrt(std::max(1.0, mostMiter * mostMiter - 1.0));
        add(along, w), add(along, -w);
        return;
    }
    // The corner's angle (between the way back and the way on) and how far
    // it turns, with the doubt about both.
    const AreaPoint on{to.x / length, to.y / length};
    const double corner = std::acos(std::clamp(-dot(u, on), -1.0, 1.0));
    const double turn = std::asin(std::clamp(std::fabs(cross(u, on)), 0.0, 1.0));
    const auto ratio = [](double angle) { return angle <= 0.0 ? HUGE_VAL : 1.0 / std::sin(std::min(angle, M_PI) / 2.0); };
    const double halfTurn = (M_PI - corner) / 2.0;
    // The outer side turns away from the way on; both when rounding may
    // turn the corner either way.
    const double outer = cross(u, on) > 0.0 ? -1.0 : 1.0;
    for (const double side : {outer, -outer}) {
        if (side != outer && turn > turnDoubt && corner > turnDoubt)
            break;
        // The round join's arc from the edge's side to the corner's
        // bisector (a bevel lies inside it, as a mitre past its limit does).
        addArc(out, v, u, n, w, side * M_PI / 2.0, side * std::max(0.0, M_PI / 2.0 - halfTurn - turnDoubt));
        if (style.miterLimit > 0.0 && ratio(corner + turnDoubt) <= style.miterLimit) {
            const double most = std::min(style.miterLimit, ratio(corner - turnDoubt));
            add(w * std::sqrt(std::max(0.0, most * most - 1.0)), side * w);
        }
    }
}

} // namespace

double largestStretch(double a, double b, double c, double d)
{
    const double sum = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    return std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4.0 * det * det))) / 2.0);
}

AreaPoint mapped(const GroupMatrix& m, AreaPoint p)
{
    AreaPoint q;
    m.map(p.x, p.y, q.x, q.y);
    return q;
}

double StrokeStyle::reach() const
{
    return halfWidth * std::max(1.0, miterLimit) * largestStretch(map.a, map.b, map.c, map.d);
}

void StrokeStyle::add(std::vector<StrokeStyle>& styles, const StrokeStyle& s)
{
    for (StrokeStyle& t : styles)
        if (t.inside == s.inside && t.map.a == s.map.a && t.map.b == s.map.b && t.map.c == s.map.c &&
            t.map.d == s.map.d) {
            t.halfWidth = std::max(t.halfWidth, s.halfWidth);
            t.miterLimit = std::max(t.miterLimit, s.miterLimit);
            t.cap = std::max(t.cap, s.cap);
            return;
        }
    styles.push_back(s);
}

Polygon strokePiece(const StrokeSource& s, const StrokeStyle& style)
{
    const GroupMatrix& m = style.map;
    Polygon piece;
    if (s.radius >= 0.0) {
        const int sides = DrawnPieces::kCircleSides;
        const double r =
            (s.radius + style.halfWidth * largestStretch(m.a, m.b, m.c, m.d)) / std::cos(M_PI / sides);
        for (int k = 0; k < sides; ++k) {
            const double angle = 2.0 * M_PI * k / sides;
            piece.push_back(AreaPoint{s.a.x + r * std::cos(angle), s.a.y + r * std::sin(angle)});
        }
        return piece;
    }
    // The edge in the stroke's own units, about a, where the host joins and
    // caps it (the map has no translation, nor then its inverse).
    GroupMatrix back;
    const AreaPoint b = s.curved || !m.inverse(back) ? AreaPoint{} : mapped(back, s.b - s.a);
    const double length = std::hypot(b.x, b.y);
    if (!(length > 0.0) || !std::isfinite(length))
        return edgeBox(s.a, s.b, style.reach());
    const double doubt = 16.0 * FLT_EPSILON * largestStretch(back.a, back.b, back.c, back.d) *
                         std::max({std::fabs(s.a.x), std::fabs(s.a.y), std::fabs(s.b.x), std::fabs(s.b.y), 1.0});
    const AreaPoint u{b.x / length, b.y / length};
    std::vector<AreaPoint> points;
    addEnd(points, AreaPoint{}, AreaPoint{-u.x, -u.y}, s.joinedBefore, mapped(back, s.before - s.a), doubt, style);
    addEnd(points, b, u, s.joinedAfter, mapped(back, s.after - s.a), doubt, style);
    for (AreaPoint& p : convexHull(points)) {
        const AreaPoint q = mapped(m, p);
        piece.push_back(AreaPoint{s.a.x + q.x, s.a.y + q.y});
    }
    return piece;
}

Polygon withSkin(Polygon piece)
{
    Polygon grown = grownPiece(piece, kSkin);
    return grown.empty() ? piece : grown;
}

DrawnPieces CopyArea::fills() const
{
    DrawnPieces f;
    f.pieces.assign(drawn.pieces.begin(), drawn.pieces.begin() + std::ptrdiff_t(filled));
    return f;
}

GroupsMeet howAreasMeet(const std::vector<CopyArea>& areas, GroupsMeet fillsMeet)
{
    std::vector<DrawnPieces> fills, drawn;
    bool banded = false;
    for (const CopyArea& area : areas) {
        if (area.windingUnheld)
            return GroupsMeet::WindingUnheld;
        fills.push_back(area.fills());
        drawn.push_back(area.drawn);
        banded = banded || area.drawn.pieces.size() > area.filled;
    }
    if (someAreasOverlap(fills))
        return fillsMeet;
    // Without bands the fills are all they draw.
    return banded && someAreasOverlap(drawn) ? GroupsMeet::StrokesMeet : GroupsMeet::Apart;
}

CopyArea drawnBy(const LayerBuild& build, const std::vector<bool>& items, const LayerPlacement& placement,
                 const OutlineFrame& frame, const std::vector<StrokeStyle>& styles)
{
    std::vector<std::vector<ShapeDef>> outlines;
    b2Vec2 anchor(0.0f, 0.0f), centre(0.0f, 0.0f);
    AEGP_ColorVal color{};
    bool tooMany = false, failed = false, isPath = false, unrepresentable = false;
    float groupRotation = 0.0f;
    PaintedCopy painted;
    painted.items = &items;
    getVectorShapes(nullptr, build.pluginId, build.basic, build.layer, outlines, 0, 0, anchor, kOverlapPrecision,
                    false, placement.sx, placement.sy, A_Matrix4{}, color, tooMany, failed, centre, groupRotation,
                    isPath, &unrepresentable, nullptr, &painted);
    CopyArea area;
    area.outlined = !outlines.empty();
    if (outlines.empty() || unrepresentable)
        return area;
    area.windingUnheld = painted.windingUnheld;
    // The outlines are about `centre`, turned as the frame turns.
    const b2Vec2 c = frame.toWorld(centre);
    const AreaPoint offset{c.x, c.y};
    area.drawn.addGroup(outlines.front(), offset);
    // Each body's skin reaches beyond what it draws, so that copies closer
    // than their two skins touch: its pieces count that much larger.
    area.painted = area.drawn.pieces;
    for (Polygon& piece : area.drawn.pieces)
        piece = withSkin(std::move(piece));
    area.filled = area.drawn.pieces.size();
    GroupMatrix turn;
    turn.a = turn.d = std::cos(double(frame.rotation));
    turn.c = std::sin(double(frame.rotation));
    turn.b = -turn.c;
    const std::vector<StrokeSource> sources = strokeSources(outlines.front(), painted.closed, offset);
    for (StrokeStyle style : styles) {
        if (!(style.halfWidth > 0.0))
            continue;
        style.map = turn.after(style.map);
        for (StrokeSource s : sources) {
            s.style = area.styles.size();
            area.sources.push_back(s);
            area.drawn.pieces.push_back(strokePiece(s, style));
        }
        area.styles.push_back(style);
    }
    return area;
}

A_Err readStrokeStyles(const AEGP_SuiteHandler& suites, const LayerBuild& build, AEGP_StreamRefH item,
                       std::vector<StrokeStyle>& styles, int nesting)
{
    const AEGP_PluginID pluginId = build.pluginId;
    std::string name;
    bool on = false;
    A_Err err = matchNameOf(suites, item, name);
    if (!err && (name == kVectorGroup || name == kStroke))
        err = isSwitchedOn(suites, item, on);
    if (err || !on)
        return err;
    if (name == kVectorGroup) {
        ScopedStream contents(suites);
        err = nesting < kMaxGroupNesting ? childByMatchName(suites, pluginId, item, "ADBE Vectors Group", contents)
                                         : A_Err_GENERIC;
        if (!err && contents)
            err = forEachChild(suites, pluginId, contents.get(), [&](size_t, AEGP_StreamRefH child) {
                return readStrokeStyles(suites, build, child, styles, nesting + 1);
            });
        return err;
    }
    AEGP_StreamVal2 width{}, join{}, miter{}, cap{};
    err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Width", width);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Line Join", join);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Miter Limit", miter);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Line Cap", cap);
    ItemPlacement placement;
    if (!err)
        err = readItemPlacement(pluginId, build.basic, build.layer, item, placement);
    if (err)
        return err;
    // From the stroke's own units to world units, not yet turned.
    const b2Vec2 x = placement.placeVector(b2Vec2(1.0f, 0.0f)), y = placement.placeVector(b2Vec2(0.0f, 1.0f));
    StrokeStyle style;
    style.map.a = x.x / 100.0, style.map.b = y.x / 100.0, style.map.c = x.y / 100.0, style.map.d = y.y / 100.0;
    style.halfWidth = std::max(0.0, width.one_d) / 2.0;
    style.miterLimit = join.one_d == kMiterJoin ? std::max(1.0, miter.one_d) : 0.0;
    // A cap the host may add later is taken to reach as far as a projecting one.
    style.cap = cap.one_d == kButtCap || cap.one_d == kRoundCap ? int(cap.one_d) : kProjectingCap;
    if (!std::isfinite(style.reach()))
        return A_Err_GENERIC;
    StrokeStyle::add(styles, style);
    return A_Err_NONE;
}
