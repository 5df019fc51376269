#include "separation/CopyArea.h"

#include "model/ConvexHull.h"
#include "model/MyBody.h"
#include "model/OutlineTangents.h"
#include "outlines/OutlineLimits.h"
#include "outlines/ShapeLayerOutlines.h"
#include "simulation/BodyShapes.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <initializer_list>
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

// How finely a curve is cut for its stroke: each piece's control points
// lie within about this much (world units, a pixel) of its chord, and no
// curve is cut into more than kMostCurvePieces.
constexpr double kCurveFlatness = 0.01;
constexpr int kMostCurvePieces = 32;
// The sides of the polygon outside a circle about a curve's control point:
// it reaches a 1/cos(pi/16) part (2 %) beyond the circle.
constexpr int kControlDiskSides = 16;

// The corners of that polygon about the origin, for a circle of radius 1.
const std::array<AreaPoint, kControlDiskSides>& controlDisk()
{
    static const std::array<AreaPoint, kControlDiskSides> corners = [] {
        std::array<AreaPoint, kControlDiskSides> c;
        const double r = 1.0 / std::cos(M_PI / kControlDiskSides);
        for (int k = 0; k < kControlDiskSides; ++k) {
            const double angle = 2.0 * M_PI * k / kControlDiskSides;
            c[size_t(k)] = AreaPoint{r * std::cos(angle), r * std::sin(angle)};
        }
        return c;
    }();
    return corners;
}

AreaPoint operator+(AreaPoint p, AreaPoint q) { return AreaPoint{p.x + q.x, p.y + q.y}; }
AreaPoint operator-(AreaPoint p, AreaPoint q) { return AreaPoint{p.x - q.x, p.y - q.y}; }
AreaPoint operator*(double k, AreaPoint p) { return AreaPoint{k * p.x, k * p.y}; }
double dot(AreaPoint p, AreaPoint q) { return p.x * q.x + p.y * q.y; }
double cross(AreaPoint p, AreaPoint q) { return p.x * q.y - p.y * q.x; }
double norm(AreaPoint p) { return std::hypot(p.x, p.y); }

bool curves(const ShapeDef& s)
{
    for (const std::vector<b2Vec2>* tangents : {&s.inTangents, &s.outTangents})
        for (const b2Vec2& t : *tangents)
            if (t.x != 0.0f || t.y != 0.0f)
                return true;
    return false;
}

// The first of `ways` longer than `least`; none (0, 0) when none is.
AreaPoint firstWay(std::initializer_list<AreaPoint> ways, double least)
{
    for (const AreaPoint& w : ways)
        if (norm(w) > least)
            return w;
    return AreaPoint{};
}
// The way the curve with control points c leaves c[0] and arrives at c[3].
AreaPoint leaving(const AreaPoint* c, double least = 0.0) { return firstWay({c[1] - c[0], c[2] - c[0], c[3] - c[0]}, least); }
AreaPoint arriving(const AreaPoint* c, double least = 0.0) { return firstWay({c[3] - c[2], c[3] - c[1], c[3] - c[0]}, least); }

// The control points of the piece from t0 to t1 of the curve c.
void curvePiece(const AreaPoint* c, double t0, double t1, AreaPoint* piece)
{
    const auto at = [&](double t) {
        const double u = 1.0 - t;
        return (u * u * u) * c[0] + (3.0 * u * u * t) * c[1] + (3.0 * u * t * t) * c[2] + (t * t * t) * c[3];
    };
    // A third of the derivative, times the piece's length in t.
    const auto towards = [&](double t) {
        const double u = 1.0 - t;
        return (t1 - t0) * ((u * u) * (c[1] - c[0]) + (2.0 * u * t) * (c[2] - c[1]) + (t * t) * (c[3] - c[2]));
    };
    piece[0] = at(t0);
    piece[3] = at(t1);
    piece[1] = piece[0] + towards(t0);
    piece[2] = piece[3] - towards(t1);
}

// The segments of an outline as drawn, from each vertex to the next (the
// last to the first when it is closed), moved by `offset`.
class DrawnSegments
{
public:
    DrawnSegments(const ShapeDef& s, AreaPoint offset)
        : s_(s), offset_(offset), closed_(s.closed || s.isBox), curved_(!s.isBox && curves(s)),
          v_(curved_ && !s.vertices.empty() ? s.vertices : s.points)
    {
    }
    bool closed() const { return closed_; }
    size_t count() const { return v_.size() < 2 ? 0 : closed_ ? v_.size() : v_.size() - 1; }
    // The control points of segment k, taken round the outline; an edge has
    // its inner two at its ends, and gives true.
    bool control(size_t k, AreaPoint* c) const
    {
        const size_t n = v_.size();
        const auto at = [&](size_t i) { return AreaPoint{v_[i % n].x + offset_.x, v_[i % n].y + offset_.y}; };
        const b2Vec2 out = curved_ ? tangentAt(s_.outTangents, k % n) : b2Vec2(0.0f, 0.0f);
        const b2Vec2 in = curved_ ? tangentAt(s_.inTangents, (k + 1) % n) : b2Vec2(0.0f, 0.0f);
        c[0] = at(k);
        c[3] = at(k + 1);
        const bool edge = out.x == 0.0f && out.y == 0.0f && in.x == 0.0f && in.y == 0.0f;
        c[1] = edge ? c[0] : c[0] + AreaPoint{out.x, out.y};
        c[2] = edge ? c[3] : c[3] + AreaPoint{in.x, in.y};
        return edge;
    }

private:
    const ShapeDef& s_;
    AreaPoint offset_;
    bool closed_, curved_;
    const std::vector<b2Vec2>& v_;
};

// How many pieces the curve c is cut into: so many that their second
// differences, which fall with the square of their number, are within the
// flatness.
int curvePieceCount(const AreaPoint* c)
{
    const double bend = std::max(norm(c[0] - 2.0 * c[1] + c[2]), norm(c[1] - 2.0 * c[2] + c[3]));
    const double wanted = std::ceil(std::sqrt(bend / kCurveFlatness));
    if (!(wanted >= 0.0))
        return kMostCurvePieces;
    return std::max(1, int(std::min(wanted, double(kMostCurvePieces))));
}

// Adds where a stroke may reach from about the outline `s`, its points
// moved by `offset`: about each edge, and about each curve between two
// vertices (as drawn, with their tangents), cut into pieces.
void addOutlineSources(std::vector<StrokeSource>& sources, const ShapeDef& s, AreaPoint offset)
{
    const DrawnSegments segments(s, offset);
    for (size_t k = 0; k < segments.count(); ++k) {
        AreaPoint c[4], next[4];
        StrokeSource source;
        source.joinedBefore = segments.closed() || k > 0;
        source.joinedAfter = segments.closed() || k + 1 < segments.count();
        const bool edge = segments.control(k, c);
        segments.control(k + segments.count() - 1, next);
        source.before = c[0] - arriving(next);
        segments.control(k + 1, next);
        source.after = c[3] + leaving(next);
        if (edge) {
            source.a = source.c1 = c[0];
            source.b = source.c2 = c[3];
            sources.push_back(source);
            continue;
        }
        const int pieces = curvePieceCount(c);
        for (int p = 0; p < pieces; ++p) {
            StrokeSource piece = source;
            AreaPoint q[4];
            curvePiece(c, double(p) / pieces, double(p + 1) / pieces, q);
            piece.curve = true;
            piece.a = q[0], piece.c1 = q[1], piece.c2 = q[2], piece.b = q[3];
            if (p > 0)
                piece.joinedBefore = true, piece.before = q[0] - leaving(q);
            if (p + 1 < pieces)
                piece.joinedAfter = true, piece.after = q[3] + arriving(q);
            sources.push_back(piece);
        }
    }
}

// Adds to `pieces` what a fill may paint of the closed outline `s`, its
// points moved by `offset`, beyond the points its curves were cut into:
// about each curve, the convex hull of its pieces' control points. It holds
// the curve, and so all that lies between it and points cut from it.
void addCurveHulls(std::vector<Polygon>& pieces, const ShapeDef& s, AreaPoint offset)
{
    const DrawnSegments segments(s, offset);
    for (size_t k = 0; s.closed && k < segments.count(); ++k) {
        AreaPoint c[4];
        if (segments.control(k, c))
            continue;
        const int count = curvePieceCount(c);
        std::vector<AreaPoint> points;
        for (int p = 0; p < count; ++p) {
            AreaPoint q[4];
            curvePiece(c, double(p) / count, double(p + 1) / count, q);
            points.insert(points.end(), q, q + 4);
        }
        if (Polygon hull = convexHull(points); hull.size() > 2)
            pieces.push_back(std::move(hull));
    }
}

// Where strokes may reach from about the circles and boxes of `group` and
// about `drawn`, the other outlines as drawn (the group holds closed ones as
// triangles, whose corners are not where the host joins, and open ones
// welded).
std::vector<StrokeSource> strokeSources(const std::vector<ShapeDef>& group, const std::vector<ShapeDef>& drawn,
                                        AreaPoint offset)
{
    std::vector<StrokeSource> sources;
    for (const ShapeDef& s : group) {
        if (s.isBox)
            addOutlineSources(sources, s, offset);
        // The scene makes the circle about the mean of its four points.
        if (!s.isCircle || s.points.size() < 4)
            continue;
        StrokeSource circle;
        circle.radius = std::max(0.0, double(s.radius));
        for (size_t k = 0; k < 4; ++k) {
            circle.a.x += (double(s.points[k].x) + offset.x) / 4.0;
            circle.a.y += (double(s.points[k].y) + offset.y) / 4.0;
        }
        sources.push_back(circle);
    }
    for (const ShapeDef& s : drawn)
        addOutlineSources(sources, s, offset);
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

void StrokeSource::map(const GroupMatrix& m)
{
    for (AreaPoint* p : {&a, &b, &c1, &c2, &before, &after})
        *p = mapped(m, *p);
    if (radius >= 0.0)
        radius *= largestStretch(m.a, m.b, m.c, m.d);
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
    // The edge or the curve in the stroke's own units, about a, where the
    // host joins and caps it.
    GroupMatrix back;
    if (!m.inverse(back)) {
        if (!s.curve)
            return edgeBox(s.a, s.b, style.reach());
        std::vector<AreaPoint> boxes;
        for (const AreaPoint& p : {s.a, s.c1, s.c2, s.b})
            for (const AreaPoint& q : edgeBox(p, p, style.reach()))
                boxes.push_back(q);
        return convexHull(boxes);
    }
    const AreaPoint q[4] = {AreaPoint{}, mapped(back, s.c1 - s.a), mapped(back, s.c2 - s.a), mapped(back, s.b - s.a)};
    double largest = 1.0;
    for (const AreaPoint& p : {s.a, s.b, s.c1, s.c2})
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
    const double doubt = 16.0 * FLT_EPSILON * largestStretch(back.a, back.b, back.c, back.d) * largest;
    // Ways shorter than the doubt have none to speak of.
    const AreaPoint leave = leaving(q, doubt), arrive = arriving(q, doubt);
    if (!(norm(leave) > 0.0) || !(norm(arrive) > 0.0))
        return edgeBox(s.a, s.b, style.reach());  // a point, or no finite way
    std::vector<AreaPoint> points;
    const AreaPoint u0 = (1.0 / norm(leave)) * leave, u3 = (1.0 / norm(arrive)) * arrive;
    addEnd(points, q[0], AreaPoint{-u0.x, -u0.y}, s.joinedBefore, mapped(back, s.before - s.a), doubt, style);
    addEnd(points, q[3], u3, s.joinedAfter, mapped(back, s.after - s.a), doubt, style);
    if (s.curve) {
        for (const AreaPoint& c : q)
            for (const AreaPoint& corner : controlDisk())
                points.push_back(c + style.halfWidth * corner);
    }
    for (AreaPoint& p : convexHull(points)) {
        const AreaPoint mappedPoint = mapped(m, p);
        piece.push_back(AreaPoint{s.a.x + mappedPoint.x, s.a.y + mappedPoint.y});
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

bool makesMovingBody(const std::vector<std::vector<ShapeDef>>& outlines)
{
    static const float lineWidth = MyBody().openShapeLineWidth;
    return outlinesMakeMovingBody(outlines, lineWidth, float(kSkin));
}

CopyArea drawnBy(const LayerBuild& build, const std::vector<bool>& items, const LayerPlacement& placement,
                 const OutlineFrame& frame, const std::vector<StrokeStyle>& styles, bool* moves)
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
    if (moves)
        *moves = !unrepresentable && makesMovingBody(outlines);
    if (outlines.empty() || unrepresentable)
        return area;
    area.windingUnheld = painted.windingUnheld;
    area.outlineDropped = painted.outlineDropped;
    // The outlines are about `centre`, turned as the frame turns.
    const b2Vec2 c = frame.toWorld(centre);
    const AreaPoint offset{c.x, c.y};
    area.drawn.addGroup(outlines.front(), offset);
    for (const ShapeDef& s : painted.drawn)
        addCurveHulls(area.drawn.pieces, s, offset);
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
    const std::vector<StrokeSource> sources = strokeSources(outlines.front(), painted.drawn, offset);
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
