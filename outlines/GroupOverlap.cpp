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
#include <vector>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
constexpr char kTransformGroup[] = "ADBE Vector Transform Group";
// The host's value of "ADBE Vector Stroke Line Join" for a mitred join.
constexpr double kMiterJoin = 1.0;
// The work of reading where a keyed group lies at one frame, and of building
// a piece again, counted as that many pieces compared.
constexpr double kPlacementWork = 8.0;
constexpr double kBuildWork = 20.0;
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
// what is drawn, and notes an expression on any such value.
A_Err readKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream, KeySpan& span,
               bool& untold, int nesting = 0)
{
    AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(stream, &type);
    if (!err && type != AEGP_StreamGroupingType_LEAF) {
        if (nesting >= kMaxGroupNesting)
            return A_Err_GENERIC;
        return forEachChild(suites, pluginId, stream, [&](size_t, AEGP_StreamRefH child) {
            return readKeys(suites, pluginId, child, span, untold, nesting + 1);
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
// move it, all others change what it draws.
A_Err readItemKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item, ItemKeys& keys,
                   bool& untold)
{
    std::string name;
    A_Err err = matchNameOf(suites, item, name);
    if (err || name != kVectorGroup)
        return err ? err : readKeys(suites, pluginId, item, keys.shape, untold);
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
// in-point to before its out-point, within the composition's duration),
// frame 0 left out (it is compared anyway): frame k lies at k times `step`.
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
    frames.last = std::min(std::ceil(end / step - 1e-9) - 1.0, std::ceil(span.last / step - 1e-9));
    if (!err && !(step > 0.0 && frames.last * double(frames.step.value) < double(std::numeric_limits<A_long>::max())))
        err = A_Err_GENERIC;  // no frame, or one beyond what a time holds
    return err;
}

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
    // 0 to where it lies at each compared frame, in world units, and how far
    // the maps move a point (perDistance times its distance from `about`,
    // plus `base`).
    std::vector<GroupMatrix> moves;
    AreaPoint about;
    double perDistance = 0.0, base = 0.0, strokeGrowth = 0.0;

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

// The strokes' reach of each copy, split as Copy keeps it, at the time
// stream values are read at.
A_Err readReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, Copy& copy)
{
    copy.reachOutside = copy.reachInside = 0.0;
    return forEachContentsItem(suites, build.pluginId, build.layer, [&](size_t i, AEGP_StreamRefH item) -> A_Err {
        if (!(i < copy.items.size() && copy.items[i]))
            return A_Err(A_Err_NONE);
        return readStrokeReach(suites, build, item, A_long(i) == copy.group ? copy.reachInside : copy.reachOutside);
    });
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
// again at each frame.
bool readMoves(const AEGP_SuiteHandler& suites, const LayerBuild& build, float turn, const Frames& frames,
               Copy& copy)
{
    ScopedStream contents(suites), group(suites), root(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(build.pluginId, build.layer, root.out());
    if (!err)
        err = childByMatchName(suites, build.pluginId, root.get(), "ADBE Root Vectors Group", contents);
    if (!err && contents)
        err = childByIndex(suites, build.pluginId, contents.get(), copy.group, group);
    ItemPlacement placement;
    if (!err && group)
        err = readItemPlacement(build.pluginId, build.basic, build.layer, group.get(), placement);
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

// How far the moves take the points of the copy's pieces: the bounds that
// Copy keeps, and for each piece how far any point of it goes (its strokes'
// reach changing included).
std::vector<double> reachOfPieces(Copy& copy)
{
    const DrawnPieces& at0 = copy.area.drawn;
    double low[2] = {HUGE_VAL, HUGE_VAL}, high[2] = {-HUGE_VAL, -HUGE_VAL};
    for (const Polygon& p : at0.pieces)
        for (const AreaPoint& q : p) {
            low[0] = std::min(low[0], q.x), high[0] = std::max(high[0], q.x);
            low[1] = std::min(low[1], q.y), high[1] = std::max(high[1], q.y);
        }
    copy.about = at0.empty() ? AreaPoint{} : AreaPoint{(low[0] + high[0]) / 2.0, (low[1] + high[1]) / 2.0};
    copy.perDistance = copy.base = copy.strokeGrowth = 0.0;
    for (const GroupMatrix& m : copy.moves) {
        copy.perDistance = std::max(copy.perDistance, largestStretch(m.a - 1.0, m.b, m.c, m.d - 1.0));
        const AreaPoint to = mapped(m, copy.about);
        copy.base = std::max(copy.base, std::hypot(to.x - copy.about.x, to.y - copy.about.y));
        // A stroke's box reaches its corners, the reach times the root of 2
        // from its edge.
        if (copy.reach() > 0.0)
            copy.strokeGrowth = std::max(copy.strokeGrowth, std::sqrt(2.0) * copy.reachUnder(m));
    }
    std::vector<double> reach;
    for (const Polygon& p : at0.pieces) {
        double far = 0.0;
        for (const AreaPoint& q : p)
            far = std::max(far, std::hypot(q.x - copy.about.x, q.y - copy.about.y));
        reach.push_back(copy.perDistance * far + copy.base + copy.strokeGrowth + kReachMargin);
    }
    return reach;
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

struct PieceBox {
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;

    void add(const Polygon& p, double grow = 0.0)
    {
        for (const AreaPoint& q : p) {
            minX = std::min(minX, q.x - grow);
            maxX = std::max(maxX, q.x + grow);
            minY = std::min(minY, q.y - grow);
            maxY = std::max(maxY, q.y + grow);
        }
    }
    bool meets(const PieceBox& o) const { return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY; }
};

} // namespace

GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split)
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
    for (size_t c = 0; c < n; ++c) {
        Copy& copy = copies[c];
        if (readReach(suites, build, copy))
            return GroupsMeet::Untold;
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

    // The work is bounded before it is done: pieces placed, built and
    // compared, at every frame.
    const auto piecesOf = [](const CopyArea& area) { return area.drawn.pieces.size(); };
    const auto workPerFrame = [&](const std::vector<std::vector<bool>>* meets) {
        double each = 0.0, resting = 0.0;
        bool reshaped = false;
        for (size_t c = 0; c < n; ++c) {
            const Copy& copy = copies[c];
            if (copy.motion == Copy::Reshaped) {
                each += kPlacementWork + kBuildWork * double(piecesOf(copy.area));
                reshaped = true;
                continue;
            }
            if (copy.motion == Copy::Moved)
                each += kPlacementWork;
            resting += double(piecesOf(copy.area));
            if (meets)
                each += double(std::count((*meets)[c].begin(), (*meets)[c].end(), true));
        }
        // What a copy built again may meet is looked for among all others.
        return each + (reshaped ? resting : 0.0);
    };
    if (frames.count() * workPerFrame(nullptr) > kMaxComparedWork)
        return GroupsMeet::KeyedTooLong;
    std::vector<std::vector<double>> reach(n);
    std::vector<DrawnPieces> atRest(n);
    for (size_t c = 0; c < n; ++c) {
        Copy& copy = copies[c];
        if (copy.motion == Copy::Moved && !readMoves(suites, build, frame.rotation, frames, copy))
            copy.motion = Copy::Reshaped;
        if (copy.motion == Copy::Moved)
            reach[c] = reachOfPieces(copy);
        if (copy.motion != Copy::Reshaped)
            atRest[c] = copy.area.drawn;
    }
    // The pieces that may meet another while the copies move; where there
    // are none, and nothing is built again, no frame needs comparing.
    const std::vector<std::vector<bool>> meets = piecesThatMayMeet(atRest, reach);
    bool reshaped = false, some = false;
    for (size_t c = 0; c < n; ++c) {
        reshaped = reshaped || copies[c].motion == Copy::Reshaped;
        some = some || std::count(meets[c].begin(), meets[c].end(), true) > 0;
    }
    if (!reshaped && !some)
        return GroupsMeet::Apart;
    double work = frames.count() * workPerFrame(&meets);
    if (work > kMaxComparedWork)
        return GroupsMeet::KeyedTooLong;

    // Where each piece of a copy not built again may go.
    std::vector<std::vector<PieceBox>> swept(n);
    for (size_t c = 0; reshaped && c < n; ++c)
        for (size_t j = 0; j < atRest[c].pieces.size(); ++j) {
            swept[c].emplace_back();
            swept[c].back().add(atRest[c].pieces[j], reach[c].empty() ? 0.0 : reach[c][j]);
        }

    for (double k = frames.first; k <= frames.last; ++k) {
        const size_t f = size_t(k - frames.first);
        const StreamReadTime readAt(frames.at(k));
        std::vector<CopyArea> areas(n);
        PieceBox built;
        for (size_t c = 0; c < n; ++c) {
            Copy& copy = copies[c];
            if (copy.motion != Copy::Reshaped)
                continue;
            if (readReach(suites, build, copy))
                return GroupsMeet::Untold;
            areas[c] = drawnBy(build, copy.items, placement, frame, copy.reach());
            // Counted as built: it may hold more pieces than at time 0.
            work += kBuildWork * std::max(0.0, double(piecesOf(areas[c])) - double(piecesOf(copy.area)));
            for (const Polygon& p : areas[c].drawn.pieces)
                built.add(p);
        }
        if (work > kMaxComparedWork)
            return GroupsMeet::KeyedTooLong;
        for (size_t c = 0; c < n; ++c) {
            const Copy& copy = copies[c];
            if (copy.motion == Copy::Reshaped)
                continue;
            for (size_t j = 0; j < atRest[c].pieces.size(); ++j) {
                if (!meets[c][j] && !(reshaped && swept[c][j].meets(built)))
                    continue;
                // The fills come first, as in what it draws.
                areas[c].drawn.pieces.push_back(copy.motion == Copy::Moved ? copy.placedPiece(j, copy.moves[f])
                                                                           : atRest[c].pieces[j]);
                areas[c].filled += j < copy.area.filled;
            }
        }
        const GroupsMeet now = howAreasMeet(areas, GroupsMeet::OverlapWhileMoving);
        if (now != GroupsMeet::Apart)
            return now;
    }
    return GroupsMeet::Apart;
}
