#include "outlines/GroupOverlap.h"

#include "host/LayerQueries.h"
#include "model/AreaOverlap.h"
#include "outlines/HostStreams.h"
#include "outlines/LayerBuild.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/ShapeItemPlacement.h"
#include "outlines/ShapeLayerOutlines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
constexpr char kTransformGroup[] = "ADBE Vector Transform Group";
// The host's value of "ADBE Vector Stroke Line Join" for a mitred join.
constexpr double kMiterJoin = 1.0;
// The work of reading where a keyed group lies at one frame, and of building
// a piece again, counted as that many pieces compared.
constexpr double kPlacementWork = 2.0;
constexpr double kBuildWork = 20.0;
// The work of telling whether two pieces whose boxes meet may meet while
// they move, counted as that many pieces compared.
constexpr double kGrownWork = 4.0;
// A little more reach than a piece may move, so that rounding cannot hide a
// piece that touches another.
constexpr double kReachMargin = 1e-9;

using Polygon = std::vector<AreaPoint>;

// The most the linear map (a b; c d) stretches a length: its largest
// singular value.
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

// Where a stroke painting an outline may reach from: the edge from a to b,
// or, when radius is at least 0, the circle of that radius about a.
struct StrokeSource {
    AreaPoint a, b;
    double radius = -1.0;
};

std::vector<StrokeSource> strokeSources(const std::vector<ShapeDef>& group, AreaPoint offset)
{
    std::vector<StrokeSource> sources;
    for (const ShapeDef& s : group) {
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
        for (size_t k = 0; n > 1 && k < ((s.closed || s.isBox) ? n : n - 1); ++k)
            sources.push_back(StrokeSource{{s.points[k].x + offset.x, s.points[k].y + offset.y},
                                           {s.points[(k + 1) % n].x + offset.x, s.points[(k + 1) % n].y + offset.y}});
    }
    return sources;
}

// What a stroke reaching `reach` (world units) beyond `s` may cover: a box
// about the edge grown by the reach every way, or the polygon that addGroup
// makes of a circle that much larger.
Polygon strokePiece(const StrokeSource& s, double reach)
{
    Polygon piece;
    if (s.radius >= 0.0) {
        const int sides = DrawnPieces::kCircleSides;
        const double r = (s.radius + reach) / std::cos(M_PI / sides);
        for (int k = 0; k < sides; ++k) {
            const double angle = 2.0 * M_PI * k / sides;
            piece.push_back(AreaPoint{s.a.x + r * std::cos(angle), s.a.y + r * std::sin(angle)});
        }
        return piece;
    }
    return edgeBox(s.a, s.b, reach);
}

// What a copy of the layer holding only `items` draws, in world units about
// the composition's origin turned by the layer's rotation `frame`: every copy
// is placed alike, so their areas meet there as their bodies do.
struct CopyArea {
    // Its filled pieces, then the band its strokes may cover about each of
    // `sources`, one piece each.
    DrawnPieces drawn;
    size_t filled = 0;
    std::vector<StrokeSource> sources;

    DrawnPieces fills() const
    {
        DrawnPieces f;
        f.pieces.assign(drawn.pieces.begin(), drawn.pieces.begin() + std::ptrdiff_t(filled));
        return f;
    }
};

// How copies drawing `areas` meet: their fills as `fillsMeet` says, else a
// band over another's fill or band as strokes that meet.
GroupsMeet howAreasMeet(const std::vector<CopyArea>& areas, GroupsMeet fillsMeet)
{
    std::vector<DrawnPieces> fills, drawn;
    for (const CopyArea& area : areas) {
        fills.push_back(area.fills());
        drawn.push_back(area.drawn);
    }
    if (someAreasOverlap(fills))
        return fillsMeet;
    return someAreasOverlap(drawn) ? GroupsMeet::StrokesMeet : GroupsMeet::Apart;
}

CopyArea drawnBy(const LayerBuild& build, const std::vector<bool>& items, const LayerPlacement& placement,
                 const OutlineFrame& frame, double strokeReach)
{
    std::vector<std::vector<ShapeDef>> outlines;
    b2Vec2 anchor(0.0f, 0.0f), centre(0.0f, 0.0f);
    AEGP_ColorVal color{};
    bool tooMany = false, failed = false, isPath = false, unrepresentable = false;
    float groupRotation = 0.0f;
    getVectorShapes(nullptr, build.pluginId, build.basic, build.layer, outlines, 0, 0, anchor, kOverlapPrecision,
                    false, placement.sx, placement.sy, A_Matrix4{}, color, tooMany, failed, centre, groupRotation,
                    isPath, &unrepresentable, nullptr, &items);
    CopyArea area;
    if (outlines.empty() || unrepresentable)
        return area;
    // The outlines are about `centre`, turned as the frame turns.
    const b2Vec2 c = frame.toWorld(centre);
    const AreaPoint offset{c.x, c.y};
    area.drawn.addGroup(outlines.front(), offset);
    area.filled = area.drawn.pieces.size();
    if (strokeReach > 0.0) {
        area.sources = strokeSources(outlines.front(), offset);
        for (const StrokeSource& s : area.sources)
            area.drawn.pieces.push_back(strokePiece(s, strokeReach));
    }
    return area;
}

double seconds(const A_Time& t)
{
    return t.scale ? double(t.value) / double(t.scale) : 0.0;
}

// The children of `group` in order through `visit` (index, stream) while no
// host call fails; the first host error.
template <typename Visit>
A_Err forEachChild(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group, Visit visit)
{
    A_long count = 0;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count);
    for (A_long i = 0; !err && i < count; ++i) {
        ScopedStream child(suites);
        err = childByIndex(suites, pluginId, group, i, child);
        if (!err)
            err = visit(size_t(i), child.get());
    }
    return err;
}

// The times of the first and last keys of some values, in seconds of
// composition time.
struct KeySpan {
    bool keyed = false;
    double first = 0.0, last = 0.0;

    void widen(double s)
    {
        first = keyed ? std::min(first, s) : s;
        last = keyed ? std::max(last, s) : s;
        keyed = true;
    }
    void widen(const KeySpan& other)
    {
        if (other.keyed) {
            widen(other.first);
            widen(other.last);
        }
    }
};

// What the keys of one item of the contents change.
struct ItemKeys {
    KeySpan shape;  // what it draws: paths, sizes, strokes, groups inside it ...
    KeySpan move;   // only where it lies: the values of a group's own transform
};

// Values that change no outline and no stroke's reach, keyed or driven by an
// expression alike.
bool drawsNoOutline(const std::string& matchName)
{
    for (const char* name : {"ADBE Vector Fill Color", "ADBE Vector Stroke Color", "ADBE Vector Fill Opacity",
                             "ADBE Vector Stroke Opacity", "ADBE Vector Group Opacity"})
        if (matchName == name)
            return true;
    return false;
}

// Widens `span` by the keys of every value at or under `stream` that changes
// what is drawn, and notes an expression on any such value. Items switched
// off in a group's contents draw nothing: their values are passed over.
A_Err readKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream, KeySpan& span,
               bool& untold, int nesting = 0)
{
    AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(stream, &type);
    if (!err && type != AEGP_StreamGroupingType_LEAF) {
        std::string name;
        err = nesting < kMaxGroupNesting ? matchNameOf(suites, stream, name) : A_Err_GENERIC;
        const bool items = name == "ADBE Vectors Group";
        return err ? err : forEachChild(suites, pluginId, stream, [&](size_t, AEGP_StreamRefH child) {
            bool on = true;
            const A_Err e = items ? isSwitchedOn(suites, child, on) : A_Err(A_Err_NONE);
            return e || !on ? e : readKeys(suites, pluginId, child, span, untold, nesting + 1);
        });
    }
    A_Boolean varies = false;
    if (!err)
        err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(stream, &varies);
    std::string name;
    if (!err && varies)
        err = matchNameOf(suites, stream, name);
    if (err || !varies || drawsNoOutline(name))
        return err;
    A_Boolean expression = false;
    err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &expression);
    untold = untold || expression;
    A_long keys = 0;
    if (!err)
        err = suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &keys);
    if (err || keys <= 0)
        return err;
    for (const A_long k : {A_long(0), keys - 1}) {
        A_Time t{0, 1};
        err = suites.KeyframeSuite4()->AEGP_GetKeyframeTime(stream, k, AEGP_LTimeMode_CompTime, &t);
        if (err)
            break;
        span.widen(seconds(t));
    }
    return err;
}

// The keys of one item of the contents: those of a group's own transform
// move it, all others change what it draws (none when it is switched off).
A_Err readItemKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item, ItemKeys& keys,
                   bool& untold)
{
    std::string name;
    bool on = false;
    A_Err err = isSwitchedOn(suites, item, on);
    if (!err && on)
        err = matchNameOf(suites, item, name);
    if (err || !on || name != kVectorGroup)
        return err || !on ? err : readKeys(suites, pluginId, item, keys.shape, untold);
    return forEachChild(suites, pluginId, item, [&](size_t, AEGP_StreamRefH child) {
        std::string childName;
        const A_Err e = matchNameOf(suites, child, childName);
        return e ? e : readKeys(suites, pluginId, child, childName == kTransformGroup ? keys.move : keys.shape, untold, 1);
    });
}

// Widens `reach` (world units) to what a stroke switched on at or under
// `item`, through groups switched on, may cover beyond the outlines it
// paints: half its width, or the miter limit's times that for a mitred join,
// stretched as far as the groups and the layer stretch a length.
A_Err readStrokeReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, AEGP_StreamRefH item,
                      double& reach, int nesting = 0)
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
                return readStrokeReach(suites, build, child, reach, nesting + 1);
            });
        return err;
    }
    AEGP_StreamVal2 width{}, join{}, miter{};
    err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Width", width);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Line Join", join);
    if (!err)
        err = readChildValue(suites, pluginId, item, "ADBE Vector Stroke Miter Limit", miter);
    ItemPlacement placement;
    if (!err)
        err = readItemPlacement(pluginId, build.basic, build.layer, item, placement);
    if (err)
        return err;
    const b2Vec2 x = placement.placeVector(b2Vec2(1.0f, 0.0f)), y = placement.placeVector(b2Vec2(0.0f, 1.0f));
    const double stretch = largestStretch(x.x, y.x, x.y, y.y);
    const double corner = join.one_d == kMiterJoin ? std::max(1.0, miter.one_d) : 1.0;
    const double r = std::max(0.0, width.one_d) / 2.0 * corner * stretch / 100.0;
    if (!std::isfinite(r))
        return A_Err_GENERIC;
    reach = std::max(reach, r);
    return A_Err_NONE;
}

// The children of the layer's "ADBE Root Vectors Group" through `visit`;
// the first host error.
template <typename Visit>
A_Err forEachContentsItem(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, Visit visit)
{
    ScopedStream root(suites), contents(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out());
    if (!err)
        err = childByMatchName(suites, pluginId, root.get(), "ADBE Root Vectors Group", contents);
    if (!err && contents)
        err = forEachChild(suites, pluginId, contents.get(), visit);
    return err;
}

// The frames of the composition from the one at or before a span's first
// key to the one at or after its last, at which the layer is shown (from its
// in-point to before its out-point, within the composition's duration; its
// first frame shown when the keys end before it), frame 0 left out (it is
// compared anyway): frame k lies at k times `step`.
struct Frames {
    A_Time step{0, 1};
    double first = 1.0, last = 0.0;

    double count() const { return std::max(0.0, last - first + 1.0); }
    A_Time at(double k) const { return A_Time{A_long(k) * step.value, step.scale}; }
};

A_Err framesOf(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const KeySpan& span, Frames& frames)
{
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_Time duration{0, 1}, in{0, 1}, shown{0, 1};
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFrameDuration(comp, &frames.step);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemDuration(item, &duration);
    if (!err)
        err = suites.LayerSuite5()->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &in);
    if (!err)
        err = suites.LayerSuite5()->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &shown);
    const double step = seconds(frames.step);
    const double end = std::min(seconds(duration), seconds(in) + seconds(shown));
    frames.first = std::max({1.0, std::floor(span.first / step + 1e-9), std::ceil(seconds(in) / step - 1e-9)});
    // Keys that end before the layer is shown leave it as the last one does:
    // its first frame shown is compared.
    frames.last = std::min(std::ceil(end / step - 1e-9) - 1.0,
                           std::max(std::ceil(span.last / step - 1e-9), frames.first));
    if (!err && !(step > 0.0 && frames.last * double(frames.step.value) < double(std::numeric_limits<A_long>::max())))
        err = A_Err_GENERIC;  // no frame, or one beyond what a time holds
    return err;
}

// The range [low, high] of x times y for x in [x0, x1] and y in [y0, y1].
void product(double x0, double x1, double y0, double y1, double& low, double& high)
{
    const double p[4] = {x0 * y0, x0 * y1, x1 * y0, x1 * y1};
    low = *std::min_element(p, p + 4);
    high = *std::max_element(p, p + 4);
}

// Where the maps of a copy that only moves take it over a run of frames
// (counted from the first compared): the bounds of where they take the
// point `about` and of their linear parts, the most its strokes reach and
// the most the maps stretch a length.
struct Run {
    size_t first = 0, last = 0;
    double low[6] = {}, high[6] = {};  // a, b, c, d, then where `about` goes
    double reach = 0.0, stretch = 0.0;
    // How far a point of the fills strays over the run from where the run's
    // first frame puts it.
    double drift = 0.0;

    Run(size_t frame, const GroupMatrix& m, AreaPoint about, double strokeReach)
        : first(frame), last(frame), reach(strokeReach), stretch(largestStretch(m.a, m.b, m.c, m.d))
    {
        const AreaPoint to = mapped(m, about);
        const double values[6] = {m.a, m.b, m.c, m.d, to.x, to.y};
        std::copy(values, values + 6, low);
        std::copy(values, values + 6, high);
    }
    Run widened(const Run& o) const
    {
        Run r = *this;
        r.first = std::min(first, o.first);
        r.last = std::max(last, o.last);
        for (size_t k = 0; k < 6; ++k) {
            r.low[k] = std::min(low[k], o.low[k]);
            r.high[k] = std::max(high[k], o.high[k]);
        }
        r.reach = std::max(reach, o.reach);
        r.stretch = std::max(stretch, o.stretch);
        return r;
    }
    // How much wider than one place the run makes a box of the points within
    // `size` of `about`, along x or y, the wider.
    double growth(double size) const
    {
        double most = 0.0;
        for (size_t axis = 0; axis < 2; ++axis)
            most = std::max(most, high[4 + axis] - low[4 + axis] +
                                      (high[2 * axis] - low[2 * axis] + high[2 * axis + 1] - low[2 * axis + 1]) * size);
        return most;
    }
    // A box that holds, at every frame of the run, where the maps take the
    // points lying at time 0 within x0 to x1 and y0 to y1 of `about`, grown
    // by `grow` every way.
    SpanBox box(const double (&at)[4], double grow) const { return box(at[0], at[1], at[2], at[3], grow); }
    SpanBox box(double x0, double x1, double y0, double y1, double grow) const
    {
        double bound[2][2];
        for (size_t axis = 0; axis < 2; ++axis) {
            double lowX, highX, lowY, highY;
            product(low[2 * axis], high[2 * axis], x0, x1, lowX, highX);
            product(low[2 * axis + 1], high[2 * axis + 1], y0, y1, lowY, highY);
            bound[axis][0] = low[4 + axis] + lowX + lowY - grow;
            bound[axis][1] = high[4 + axis] + highX + highY + grow;
        }
        SpanBox b;
        b.minX = bound[0][0], b.maxX = bound[0][1], b.minY = bound[1][0], b.maxY = bound[1][1];
        b.first = double(first), b.last = double(last);
        return b;
    }
};

// One layer that the split makes, and how what it draws changes over time.
struct Copy {
    std::vector<bool> items;
    A_long group = -1;  // the separated group it holds; -1 for the source
    KeySpan shape, move;
    enum Motion { Rest, Moved, Reshaped } motion = Rest;
    // The reach of its strokes outside its group and inside it (which
    // stretches with the group).
    double reachOutside = 0.0, reachInside = 0.0;
    CopyArea area;
    // For a copy that only moves: the map from where each point lies at time
    // 0 to where it lies at each compared frame, in world units, and the
    // runs of frames its path is cut into, told about the point `about` (see
    // cutIntoRuns).
    std::vector<GroupMatrix> moves;
    std::vector<Run> runs;
    AreaPoint about;
    // Where what it draws lies at time 0 about `about` (low x, high x, low
    // y, high y): the corners of its fills, the ends of the edges its bands
    // follow and the centres of the circles they follow, the largest of those
    // circles; and how far from `about` its fills reach.
    double fills[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double edges[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double circles[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double radius = 0.0, far = 0.0;

    double reach() const { return std::max(reachOutside, reachInside); }
    // Its strokes' reach under `m`.
    double reachUnder(const GroupMatrix& m) const
    {
        return std::max(reachOutside, reachInside * largestStretch(m.a, m.b, m.c, m.d));
    }
    // Piece j of what it draws, where map `m` takes it.
    Polygon placedPiece(size_t j, const GroupMatrix& m) const
    {
        if (j < area.filled) {
            Polygon p;
            for (const AreaPoint& q : area.drawn.pieces[j])
                p.push_back(mapped(m, q));
            return p;
        }
        StrokeSource s = area.sources[j - area.filled];
        s.a = mapped(m, s.a);
        s.b = mapped(m, s.b);
        if (s.radius >= 0.0)
            s.radius *= largestStretch(m.a, m.b, m.c, m.d);
        return strokePiece(s, reachUnder(m));
    }
};

// The reach of the strokes at or under each item of the contents that some
// of `copies` holds (see readStrokeReach; 0 for the others), at the time
// stream values are read at, and so that of each copy, split as Copy keeps
// it. Each item is read once, however many copies hold it.
A_Err readReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, std::vector<Copy>& copies)
{
    std::vector<double> reaches;
    const A_Err err =
        forEachContentsItem(suites, build.pluginId, build.layer, [&](size_t i, AEGP_StreamRefH item) -> A_Err {
            reaches.push_back(0.0);
            for (const Copy& copy : copies)
                if (i < copy.items.size() && copy.items[i])
                    return readStrokeReach(suites, build, item, reaches.back());
            return A_Err(A_Err_NONE);
        });
    for (Copy& copy : copies) {
        copy.reachOutside = copy.reachInside = 0.0;
        for (size_t i = 0; i < copy.items.size() && i < reaches.size(); ++i)
            if (copy.items[i]) {
                double& reach = A_long(i) == copy.group ? copy.reachInside : copy.reachOutside;
                reach = std::max(reach, reaches[i]);
            }
    }
    return err;
}

// The map that takes an affine map's images back where they came from.
bool inverse(const GroupMatrix& m, GroupMatrix& inv)
{
    const double det = m.determinant();
    if (!std::isfinite(det) || det == 0.0)
        return false;
    inv.a = m.d / det;
    inv.b = -m.b / det;
    inv.c = -m.c / det;
    inv.d = m.a / det;
    inv.tx = -(inv.a * m.tx + inv.b * m.ty);
    inv.ty = -(inv.c * m.tx + inv.d * m.ty);
    return inv.isFinite();
}

// For a copy whose group's own transform alone is keyed: the maps that move
// its pieces from time 0 to each of `frames`, as the group's transform moves
// them (through the layer at time 0 into world units turned by `turn`). False
// when they cannot be told so (a value cannot be read, the group flattens
// its contents at time 0, or a map is not finite): the copy is then built
// again at each frame. Every group of the top level lies in the same groups
// and layer: their placement is read once into `placement` (`placed` then
// true) and serves the copies that follow.
bool readMoves(const AEGP_SuiteHandler& suites, const LayerBuild& build, float turn, const Frames& frames,
               ItemPlacement& placement, bool& placed, Copy& copy)
{
    ScopedStream contents(suites), group(suites), root(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(build.pluginId, build.layer, root.out());
    if (!err)
        err = childByMatchName(suites, build.pluginId, root.get(), "ADBE Root Vectors Group", contents);
    if (!err && contents)
        err = childByIndex(suites, build.pluginId, contents.get(), copy.group, group);
    if (!err && group && !placed) {
        err = readItemPlacement(build.pluginId, build.basic, build.layer, group.get(), placement);
        placed = !err;
    }
    GroupTransformReader reader(suites, build.pluginId);
    if (!err && group)
        err = reader.open(group.get());
    if (err || !group)
        return false;
    // From the group's contents to world units: the groups about it, the
    // layer, the pixel aspect ratio, then the turn and the world's scale.
    const A_Matrix4& m = placement.matrix;
    GroupMatrix layer;
    layer.a = m.mat[0][0] * placement.pixelAspect;
    layer.b = m.mat[1][0] * placement.pixelAspect;
    layer.tx = m.mat[3][0] * placement.pixelAspect;
    layer.c = m.mat[0][1];
    layer.d = m.mat[1][1];
    layer.ty = m.mat[3][1];
    GroupMatrix world;
    world.a = world.d = std::cos(double(turn)) / 100.0;
    world.c = std::sin(double(turn)) / 100.0;
    world.b = -world.c;
    const GroupMatrix toWorld = world.after(layer).after(placement.chain.toLayer);
    GroupMatrix back;
    if (!inverse(toWorld.after(GroupMatrix::of(reader.transform())), back))
        return false;
    copy.moves.clear();
    for (double k = frames.first; k <= frames.last; ++k) {
        const StreamReadTime readAt(frames.at(k));
        if (reader.read())
            return false;
        const GroupMatrix move = toWorld.after(GroupMatrix::of(reader.transform())).after(back);
        if (!move.isFinite())
            return false;
        copy.moves.push_back(move);
    }
    return true;
}

// The layers that `split` makes: one per separated group, and the source
// when it keeps drawing shapes.
std::vector<Copy> copiesOf(const GroupSplit& split)
{
    std::vector<Copy> copies;
    for (A_long k : split.separated()) {
        copies.emplace_back();
        copies.back().items = split.itemsOfLayerFor(k);
        copies.back().group = k;
    }
    if (!split.kept.empty()) {
        copies.emplace_back();
        copies.back().items = split.itemsOfSource();
    }
    return copies;
}

// What changes later, by the keys of the items each copy holds: a copy keyed
// in its group's own transform alone keeps its pieces and moves them; one
// keyed otherwise is built again at each frame. The span of all their keys.
KeySpan howCopiesChange(std::vector<Copy>& copies, const std::vector<ItemKeys>& keys)
{
    KeySpan span;
    for (Copy& copy : copies) {
        for (size_t i = 0; i < copy.items.size() && i < keys.size(); ++i)
            if (copy.items[i]) {
                copy.shape.widen(keys[i].shape);
                copy.move.widen(keys[i].move);
            }
        copy.motion = copy.shape.keyed || (copy.move.keyed && copy.group < 0) ? Copy::Reshaped
                      : copy.move.keyed                                      ? Copy::Moved
                                                                             : Copy::Rest;
        span.widen(copy.shape);
        span.widen(copy.move);
    }
    return span;
}

// Widens the bounds `at` (low x, high x, low y, high y) by the point (x, y).
void widen(double (&at)[4], double x, double y)
{
    at[0] = std::min(at[0], x), at[1] = std::max(at[1], x);
    at[2] = std::min(at[2], y), at[3] = std::max(at[3], y);
}

// Cuts the path of a copy that only moves into runs of frames, each as long
// as the boxes of its pieces over it grow by no more than an eighth of what
// the copy spans: a piece is then followed along its path, not grown by all
// of it in every direction.
void cutIntoRuns(Copy& copy)
{
    copy.runs.clear();
    if (copy.area.drawn.empty())
        return;
    double all[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    for (const Polygon& p : copy.area.drawn.pieces)
        for (const AreaPoint& q : p)
            widen(all, q.x, q.y);
    const AreaPoint at{(all[0] + all[1]) / 2.0, (all[2] + all[3]) / 2.0};
    copy.about = at;
    for (size_t j = 0; j < copy.area.filled; ++j)
        for (const AreaPoint& q : copy.area.drawn.pieces[j]) {
            widen(copy.fills, q.x - at.x, q.y - at.y);
            copy.far = std::max(copy.far, std::hypot(q.x - at.x, q.y - at.y));
        }
    for (const StrokeSource& s : copy.area.sources) {
        widen(s.radius >= 0.0 ? copy.circles : copy.edges, s.a.x - at.x, s.a.y - at.y);
        if (s.radius < 0.0)
            widen(copy.edges, s.b.x - at.x, s.b.y - at.y);
        copy.radius = std::max(copy.radius, s.radius);
    }
    // How far from `about` what it draws reaches, along x or y.
    const double size = std::max(all[1] - all[0], all[3] - all[2]) / 2.0;
    for (size_t f = 0; f < copy.moves.size(); ++f) {
        const Run one(f, copy.moves[f], at, copy.reachUnder(copy.moves[f]));
        const Run longer = copy.runs.empty() ? one : copy.runs.back().widened(one);
        if (!copy.runs.empty() && longer.growth(size) <= size / 4.0)
            copy.runs.back() = longer;
        else
            copy.runs.push_back(one);
    }
    for (Run& run : copy.runs) {
        const GroupMatrix& start = copy.moves[run.first];
        const AreaPoint from = mapped(start, at);
        for (size_t f = run.first; f <= run.last; ++f) {
            const GroupMatrix& m = copy.moves[f];
            const AreaPoint to = mapped(m, at);
            run.drift = std::max(run.drift, std::hypot(to.x - from.x, to.y - from.y) +
                                                largestStretch(m.a - start.a, m.b - start.b, m.c - start.c,
                                                               m.d - start.d) * copy.far);
        }
    }
}

// A box that holds all the copy draws at every frame of `run`.
SpanBox copyOverRun(const Copy& copy, const Run& run)
{
    SpanBox all = run.box(0.0, 0.0, 0.0, 0.0, 0.0);
    all.minX = all.minY = HUGE_VAL;
    all.maxX = all.maxY = -HUGE_VAL;
    const auto add = [&](const SpanBox& b) {
        all.minX = std::min(all.minX, b.minX), all.maxX = std::max(all.maxX, b.maxX);
        all.minY = std::min(all.minY, b.minY), all.maxY = std::max(all.maxY, b.maxY);
    };
    if (copy.fills[0] <= copy.fills[1])
        add(run.box(copy.fills, kReachMargin));
    if (copy.edges[0] <= copy.edges[1])
        add(run.box(copy.edges, std::sqrt(2.0) * run.reach + kReachMargin));
    if (copy.circles[0] <= copy.circles[1])
        add(run.box(copy.circles, (copy.radius * run.stretch + run.reach) / std::cos(M_PI / DrawnPieces::kCircleSides) +
                                      kReachMargin));
    return all;
}

// A box that holds piece j of the copy at every frame of `run`.
SpanBox boxOverRun(const Copy& copy, size_t j, const Run& run)
{
    const AreaPoint at = copy.about;
    if (j < copy.area.filled) {
        double corners[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
        for (const AreaPoint& q : copy.area.drawn.pieces[j])
            widen(corners, q.x - at.x, q.y - at.y);
        return run.box(corners, kReachMargin);
    }
    // A band about an edge reaches its corners, the reach times the root of
    // 2 from the edge's ends; one about a circle is the polygon strokePiece
    // makes about it.
    const StrokeSource& s = copy.area.sources[j - copy.area.filled];
    if (s.radius >= 0.0)
        return run.box(s.a.x - at.x, s.a.x - at.x, s.a.y - at.y, s.a.y - at.y,
                       (s.radius * run.stretch + run.reach) / std::cos(M_PI / DrawnPieces::kCircleSides) +
                           kReachMargin);
    return run.box(std::min(s.a.x, s.b.x) - at.x, std::max(s.a.x, s.b.x) - at.x, std::min(s.a.y, s.b.y) - at.y,
                   std::max(s.a.y, s.b.y) - at.y, std::sqrt(2.0) * run.reach + kReachMargin);
}

// Frames (counted from the first compared) at which a piece of a copy is
// compared.
struct Compared {
    size_t copy = 0, piece = 0;
    size_t first = 0, last = 0;
};

// The comparison of the copies after time 0, the work it takes counted.
class KeyedComparison
{
public:
    KeyedComparison(const AEGP_SuiteHandler& suites, const LayerBuild& build, const LayerPlacement& placement,
                    const OutlineFrame& frame, std::vector<Copy>& copies, const Frames& frames, double most)
        : suites_(suites), build_(build), placement_(placement), frame_(frame), copies_(copies), frames_(frames),
          most_(most)
    {
    }

    GroupsMeet verdict()
    {
        // The work is bounded before it is done: groups placed and built at
        // every frame, and what a copy built again may meet looked for among
        // all others.
        const auto upfront = [&] {
            double each = 0.0, resting = 0.0;
            for (const Copy& copy : copies_) {
                const double pieces = double(copy.area.drawn.pieces.size());
                each += copy.motion == Copy::Rest ? 0.0 : kPlacementWork;
                each += copy.motion == Copy::Reshaped ? kBuildWork * pieces : 0.0;
                resting += copy.motion == Copy::Reshaped ? 0.0 : pieces;
                reshaped_ = reshaped_ || copy.motion == Copy::Reshaped;
            }
            return frames_.count() * (each + (reshaped_ ? resting : 0.0));
        };
        const double placed = upfront();
        if (!spend(placed))
            return GroupsMeet::KeyedTooLong;
        for (Copy& copy : copies_) {
            if (copy.motion == Copy::Moved &&
                !readMoves(suites_, build_, frame_.rotation, frames_, groupPlacement_, placed_, copy))
                copy.motion = Copy::Reshaped;
            if (copy.motion == Copy::Moved)
                cutIntoRuns(copy);
        }
        // A copy whose moves cannot be told is built again instead.
        if (!spend(upfront() - placed))
            return GroupsMeet::KeyedTooLong;
        if (!firstPass())
            return GroupsMeet::KeyedTooLong;
        return compareFrames();
    }

    // The work done, what was found to be needed when that is more than
    // allowed, and whether it stayed within the most allowed.
    double work() const { return work_; }
    double needed() const { return std::max(needed_, work_); }
    bool within() const { return needed() <= most_; }

private:
    // Counts work about to be done; false, counting nothing, when it would
    // pass the most allowed.
    bool spend(double work)
    {
        if (work_ + work > most_) {
            needed_ = work_ + work;
            return false;
        }
        work_ += work;
        return true;
    }

    // The boxes of the pieces that do not change shape over runs of frames
    // (one over all frames for a copy at rest), swept for those of
    // different copies that meet at some frame both span: only those pieces
    // are compared, and only at those frames.
    bool firstPass()
    {
        // The copies, each over each run of its path (or over all frames
        // when it does not move).
        std::vector<SpanBox> boxes;
        std::vector<Owner> owners;
        for (size_t c = 0; c < copies_.size(); ++c) {
            const Copy& copy = copies_[c];
            if (copy.motion == Copy::Moved)
                for (size_t r = 0; r < copy.runs.size(); ++r)
                    add(boxes, owners, copyOverRun(copy, copy.runs[r]), Owner{c, 0, r});
            else if (copy.motion == Copy::Rest && !copy.area.drawn.empty())
                add(boxes, owners, restBox(copy.area.drawn.pieces, true), Owner{c, 0, 0});
        }
        std::vector<std::pair<size_t, size_t>> pairs;
        if (!boxesThatMeet(boxes, pairs, work_, most_))
            return false;
        // The pieces of those that meet another, over those runs.
        std::vector<std::vector<bool>> taken(copies_.size());
        for (size_t c = 0; c < copies_.size(); ++c)
            taken[c].resize(std::max<size_t>(1, copies_[c].runs.size()));
        for (const auto& pair : pairs)
            for (const size_t i : {pair.first, pair.second})
                taken[owners[i].copy][owners[i].run] = true;
        boxes.clear();
        owners.clear();
        for (size_t c = 0; c < copies_.size(); ++c)
            for (size_t r = 0; r < taken[c].size(); ++r)
                for (size_t j = 0; taken[c][r] && j < copies_[c].area.drawn.pieces.size(); ++j)
                    add(boxes, owners, boxAt(c, j, r), Owner{c, j, r});
        pairs.clear();
        if (!boxesThatMeet(boxes, pairs, work_, most_))
            return false;
        // The frames at which each piece may meet another, joined.
        std::vector<Compared> spans;
        for (const auto& pair : pairs) {
            const SpanBox &p = boxes[pair.first], &q = boxes[pair.second];
            if (!spend(kGrownWork) || !mayMeet(owners[pair.first], owners[pair.second]))
                continue;
            const size_t first = size_t(std::max(p.first, q.first)), last = size_t(std::min(p.last, q.last));
            for (const size_t i : {pair.first, pair.second})
                spans.push_back(Compared{owners[i].copy, owners[i].piece, first, last});
        }
        if (!within())
            return false;
        std::sort(spans.begin(), spans.end(), [](const Compared& a, const Compared& b) {
            return std::tie(a.copy, a.piece, a.first) < std::tie(b.copy, b.piece, b.first);
        });
        double compared = 0.0;
        for (const Compared& span : spans) {
            Compared* joined = compared_.empty() ? nullptr : &compared_.back();
            if (joined && joined->copy == span.copy && joined->piece == span.piece && span.first <= joined->last + 1) {
                compared += double(std::max(joined->last, span.last) - joined->last);
                joined->last = std::max(joined->last, span.last);
                continue;
            }
            compared_.push_back(span);
            compared += double(span.last - span.first + 1);
        }
        std::sort(compared_.begin(), compared_.end(),
                  [](const Compared& a, const Compared& b) { return a.first < b.first; });
        return spend(compared);
    }

    // Piece j of copy c over run r of its path (0 when it does not move).
    struct Owner {
        size_t copy, piece, run;
    };

    void add(std::vector<SpanBox>& boxes, std::vector<Owner>& owners, SpanBox box, Owner owner) const
    {
        box.area = owner.copy;
        boxes.push_back(box);
        owners.push_back(owner);
    }

    // Whether two pieces whose boxes meet may meet: each where the first frame
    // of its run puts it, grown by how far it strays over the run. A band is
    // taken to meet what its box meets.
    bool mayMeet(const Owner& p, const Owner& q) const
    {
        double reach = kReachMargin;
        Polygon placed[2];
        for (const Owner* o : {&p, &q}) {
            const Copy& copy = copies_[o->copy];
            if (o->piece >= copy.area.filled)
                return true;
            const bool moves = copy.motion == Copy::Moved;
            reach += moves ? copy.runs[o->run].drift : 0.0;
            placed[o == &q] = moves ? copy.placedPiece(o->piece, copy.moves[copy.runs[o->run].first])
                                    : copy.area.drawn.pieces[o->piece];
        }
        return grownPieceMeets(placed[0], reach, placed[1]);
    }

    // The box of piece j of copy c over run r of its path, or over every
    // frame when it does not move.
    SpanBox boxAt(size_t c, size_t j, size_t r) const
    {
        const Copy& copy = copies_[c];
        if (copy.motion == Copy::Moved)
            return boxOverRun(copy, j, copy.runs[r]);
        return restBox({copy.area.drawn.pieces[j]}, true);
    }

    // The box of `pieces`; when `still`, over every frame.
    SpanBox restBox(const std::vector<Polygon>& pieces, bool still) const
    {
        double at[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
        for (const Polygon& p : pieces)
            for (const AreaPoint& q : p)
                widen(at, q.x, q.y);
        SpanBox b;
        b.minX = at[0], b.maxX = at[1], b.minY = at[2], b.maxY = at[3];
        b.last = still ? frames_.count() - 1.0 : 0.0;
        b.still = still;
        return b;
    }

    GroupsMeet compareFrames()
    {
        const size_t n = copies_.size();
        std::vector<Compared> active;
        size_t next = 0;
        std::vector<size_t> run(n, 0);
        for (size_t f = 0; f < size_t(frames_.count()); ++f) {
            if (!reshaped_ && active.empty()) {
                if (next == compared_.size())
                    break;
                f = std::max(f, compared_[next].first);
            }
            for (; next < compared_.size() && compared_[next].first <= f; ++next)
                active.push_back(compared_[next]);
            active.erase(std::remove_if(active.begin(), active.end(), [&](const Compared& c) { return c.last < f; }),
                         active.end());
            const StreamReadTime readAt(frames_.at(frames_.first + double(f)));
            std::vector<CopyArea> areas(n);
            SpanBox built = restBox({}, false);
            if (reshaped_ && readReach(suites_, build_, copies_))
                return GroupsMeet::Untold;
            for (size_t c = 0; c < n; ++c) {
                Copy& copy = copies_[c];
                if (copy.motion != Copy::Reshaped)
                    continue;
                areas[c] = drawnBy(build_, copy.items, placement_, frame_, copy.reach());
                // Counted as built: it may hold more pieces than at time 0.
                if (!spend(kBuildWork * std::max(0.0, double(areas[c].drawn.pieces.size()) -
                                                          double(copy.area.drawn.pieces.size()))))
                    return GroupsMeet::KeyedTooLong;
                const SpanBox b = restBox(areas[c].drawn.pieces, false);
                built.minX = std::min(built.minX, b.minX), built.maxX = std::max(built.maxX, b.maxX);
                built.minY = std::min(built.minY, b.minY), built.maxY = std::max(built.maxY, b.maxY);
            }
            std::vector<std::vector<bool>> taken(n);
            const auto take = [&](size_t c, size_t j) {
                const Copy& copy = copies_[c];
                taken[c].resize(copy.area.drawn.pieces.size());
                if (taken[c][j])
                    return;
                taken[c][j] = true;
                // The fills come first, as in what it draws, whatever order
                // the pieces are taken in.
                Polygon piece =
                    copy.motion == Copy::Moved ? copy.placedPiece(j, copy.moves[f]) : copy.area.drawn.pieces[j];
                std::vector<Polygon>& pieces = areas[c].drawn.pieces;
                if (j < copy.area.filled)
                    pieces.insert(pieces.begin() + std::ptrdiff_t(areas[c].filled++), std::move(piece));
                else
                    pieces.push_back(std::move(piece));
            };
            for (const Compared& c : active)
                take(c.copy, c.piece);
            // What a copy built again may meet: the pieces of the others whose
            // boxes over this frame meet its box.
            for (size_t c = 0; reshaped_ && c < n; ++c) {
                const Copy& copy = copies_[c];
                if (copy.motion == Copy::Reshaped || copy.area.drawn.empty())
                    continue;
                while (copy.motion == Copy::Moved && copy.runs[run[c]].last < f)
                    ++run[c];
                for (size_t j = 0; j < copy.area.drawn.pieces.size(); ++j) {
                    const SpanBox b = boxAt(c, j, run[c]);
                    if (b.minX <= built.maxX && built.minX <= b.maxX && b.minY <= built.maxY && built.minY <= b.maxY)
                        take(c, j);
                }
            }
            const GroupsMeet now = howAreasMeet(areas, GroupsMeet::OverlapWhileMoving);
            if (now != GroupsMeet::Apart)
                return now;
        }
        return GroupsMeet::Apart;
    }

    const AEGP_SuiteHandler& suites_;
    const LayerBuild& build_;
    const LayerPlacement& placement_;
    const OutlineFrame& frame_;
    std::vector<Copy>& copies_;
    const Frames& frames_;
    const double most_;
    double work_ = 0.0, needed_ = 0.0;
    bool reshaped_ = false;
    ItemPlacement groupPlacement_;
    bool placed_ = false;
    std::vector<Compared> compared_;
};

} // namespace

GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split,
                               KeyedWork& budget)
{
    std::vector<Copy> copies = copiesOf(split);
    if (copies.size() < 2)
        return GroupsMeet::Apart;

    LayerBuild build;
    build.basic = basic;
    build.pluginId = int(pluginId);
    build.layer = layer;
    const LayerPlacement placement = readLayerPlacement(build);
    if (build.outlineUnrepresentable)
        return GroupsMeet::Apart;  // no body can be built of it
    OutlineFrame frame;
    frame.rotation = -layerRotation(build);

    AEGP_SuiteHandler suites(basic);
    std::vector<ItemKeys> keys;
    bool untold = false;
    if (forEachContentsItem(suites, pluginId, layer,
                            [&](size_t, AEGP_StreamRefH item) {
                                keys.emplace_back();
                                return readItemKeys(suites, pluginId, item, keys.back(), untold);
                            }) ||
        untold)
        return GroupsMeet::Untold;

    // Every copy at time 0.
    const size_t n = copies.size();
    std::vector<CopyArea> areas(n);
    if (readReach(suites, build, copies))
        return GroupsMeet::Untold;
    for (size_t c = 0; c < n; ++c) {
        Copy& copy = copies[c];
        areas[c] = copy.area = drawnBy(build, copy.items, placement, frame, copy.reach());
    }
    const GroupsMeet atStart = howAreasMeet(areas, GroupsMeet::Overlap);
    if (atStart != GroupsMeet::Apart)
        return atStart;

    const KeySpan span = howCopiesChange(copies, keys);
    if (!span.keyed)
        return GroupsMeet::Apart;
    Frames frames;
    if (framesOf(suites, layer, span, frames))
        return GroupsMeet::Untold;
    if (frames.count() == 0.0)
        return GroupsMeet::Apart;

    // The layer's own bound, or what the start has left when that is less.
    const double most = std::min(kMaxComparedWork, budget.left);
    KeyedComparison comparison(suites, build, placement, frame, copies, frames, most);
    const GroupsMeet verdict = comparison.verdict();
    budget.left = std::max(0.0, budget.left - comparison.work());
    if (comparison.within())
        return verdict;
    return comparison.needed() > kMaxComparedWork ? GroupsMeet::KeyedTooLong : GroupsMeet::StartTooLong;
}
