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
// The host's value of "ADBE Vector Stroke Line Join" for a mitred join.
constexpr double kMiterJoin = 1.0;

// Adds what a stroke reaching `reach` (world units) beyond the outlines of
// `group` may cover: it lies inside a box about each edge grown by the reach
// every way, or for a circle inside the polygon that addGroup makes of a
// circle that much larger.
void addStrokeReach(DrawnPieces& area, const std::vector<ShapeDef>& group, AreaPoint offset, double reach)
{
    for (ShapeDef s : group) {
        if (s.isCircle) {
            s.radius = float((s.radius + reach) / std::cos(M_PI / DrawnPieces::kCircleSides));
            area.addGroup({s}, offset);
            continue;
        }
        const size_t n = s.points.size();
        for (size_t k = 0; n > 1 && k < ((s.closed || s.isBox) ? n : n - 1); ++k) {
            const AreaPoint a{s.points[k].x + offset.x, s.points[k].y + offset.y};
            const AreaPoint b{s.points[(k + 1) % n].x + offset.x, s.points[(k + 1) % n].y + offset.y};
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const double ux = length > 0.0 ? (b.x - a.x) / length : 1.0;
            const double uy = length > 0.0 ? (b.y - a.y) / length : 0.0;
            const double along[2] = {-reach, length + reach};
            const double across[2] = {-reach, reach};
            std::vector<AreaPoint> box;
            for (const int corner : {0, 1, 3, 2}) {
                const double t = along[corner & 1], d = across[corner >> 1];
                box.push_back(AreaPoint{a.x + ux * t - uy * d, a.y + uy * t + ux * d});
            }
            area.pieces.push_back(std::move(box));
        }
    }
}

// What a copy of the layer holding only `items` draws, in world units about
// the composition's origin turned by the layer's rotation `frame`: every copy
// is placed alike, so their areas meet there as their bodies do.
struct CopyArea {
    DrawnPieces filled;
    DrawnPieces stroked;  // and what its strokes may cover, when they reach out
};

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
    area.filled.addGroup(outlines.front(), offset);
    area.stroked = area.filled;
    if (strokeReach > 0.0)
        addStrokeReach(area.stroked, outlines.front(), offset, strokeReach);
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

// What the copies' contents do over time.
struct ContentsOverTime {
    bool keyed = false;
    int keyedValues = 0;
    double firstKey = 0.0, lastKey = 0.0;  // seconds, composition time
    bool untold = false;                   // an expression drives some value
};

// Widens `over` by the keys of every value at or under `stream`, and notes an
// expression on any of them.
A_Err readKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream,
               ContentsOverTime& over, int nesting = 0)
{
    AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(stream, &type);
    if (!err && type != AEGP_StreamGroupingType_LEAF) {
        if (nesting >= kMaxGroupNesting)
            return A_Err_GENERIC;
        return forEachChild(suites, pluginId, stream, [&](size_t, AEGP_StreamRefH child) {
            return readKeys(suites, pluginId, child, over, nesting + 1);
        });
    }
    A_Boolean varies = false;
    if (!err)
        err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(stream, &varies);
    A_Boolean expression = false;
    if (!err && varies)
        err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &expression);
    over.untold = over.untold || expression;
    A_long keys = 0;
    if (!err && varies)
        err = suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &keys);
    for (const A_long k : {A_long(0), keys - 1}) {
        A_Time t{0, 1};
        if (!err && keys > 0)
            err = suites.KeyframeSuite4()->AEGP_GetKeyframeTime(stream, k, AEGP_LTimeMode_CompTime, &t);
        if (err || keys <= 0)
            break;
        const double s = seconds(t);
        over.firstKey = over.keyed ? std::min(over.firstKey, s) : s;
        over.lastKey = over.keyed ? std::max(over.lastKey, s) : s;
        over.keyed = true;
    }
    over.keyedValues += keys > 0;
    return err;
}

// Widens `reach` (world units) to what a stroke switched on at or under
// `item`, through groups switched on, may cover beyond the outlines it
// paints: half its width, or the miter limit's times that for a mitred join,
// stretched as far as the groups and the layer stretch any way.
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
    const double stretch = std::sqrt(double(x.LengthSquared()) + double(y.LengthSquared()));
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

// The times at which what the copies draw is compared: time 0, and every
// frame of the composition from the one at or before the first key to the
// one at or after the last. `tooLong` when those, counted once for each of
// `keyedCopies`, are more than are compared.
A_Err comparedTimes(const AEGP_SuiteHandler& suites, const ContentsOverTime& over, size_t keyedCopies,
                    std::vector<A_Time>& times, bool& tooLong)
{
    times.assign(1, kTimeZero);
    tooLong = false;
    if (!over.keyed)
        return A_Err_NONE;
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_Time frame{0, 1}, duration{0, 1};
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFrameDuration(comp, &frame);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemDuration(item, &duration);
    const double step = seconds(frame);
    // Only the frames the composition shows.
    const double first = std::max(0.0, std::floor(over.firstKey / step + 1e-9));
    const double last = std::min(std::floor(seconds(duration) / step), std::ceil(over.lastKey / step - 1e-9));
    if (!err && !(step > 0.0 && last * double(frame.value) < double(std::numeric_limits<A_long>::max())))
        err = A_Err_GENERIC;  // no frame, or one beyond what a time holds
    if (err)
        return err;
    tooLong = (last - first + 1.0) * double(keyedCopies) > kMaxComparedFrames;
    for (double k = first; !tooLong && k <= last; ++k)
        if (k != 0.0)
            times.push_back(A_Time{A_long(k) * frame.value, frame.scale});
    return A_Err_NONE;
}

} // namespace

GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split)
{
    std::vector<std::vector<bool>> layers;
    for (A_long k : split.separated())
        layers.push_back(split.itemsOfLayerFor(k));
    if (!split.kept.empty())
        layers.push_back(split.itemsOfSource());
    if (layers.size() < 2)
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
    ContentsOverTime over;
    std::vector<bool> keyedItems;
    if (forEachContentsItem(suites, pluginId, layer,
                            [&](size_t, AEGP_StreamRefH item) {
                                const int before = over.keyedValues;
                                const A_Err err = readKeys(suites, pluginId, item, over);
                                keyedItems.push_back(over.keyedValues > before);
                                return err;
                            }) ||
        over.untold)
        return GroupsMeet::Untold;
    // Only the copies holding something keyed are built again at each frame.
    std::vector<bool> keyed(layers.size(), false);
    for (size_t c = 0; c < layers.size(); ++c)
        for (size_t i = 0; i < layers[c].size() && i < keyedItems.size(); ++i)
            keyed[c] = keyed[c] || (layers[c][i] && keyedItems[i]);
    std::vector<A_Time> times;
    bool tooLong = false;
    if (comparedTimes(suites, over, size_t(std::count(keyed.begin(), keyed.end(), true)), times, tooLong))
        return GroupsMeet::Untold;
    if (tooLong)
        return GroupsMeet::KeyedTooLong;
    const bool strokes = !fullyOpaque(suites, pluginId, layer);

    std::vector<DrawnPieces> filled(layers.size()), stroked(layers.size());
    for (size_t n = 0; n < times.size(); ++n) {
        const StreamReadTime readAt(times[n]);
        for (size_t c = 0; c < layers.size(); ++c) {
            if (n > 0 && !keyed[c])
                continue;
            const std::vector<bool>& items = layers[c];
            double reach = 0.0;
            if (strokes && forEachContentsItem(suites, pluginId, layer, [&](size_t i, AEGP_StreamRefH item) {
                    return i < items.size() && items[i] ? readStrokeReach(suites, build, item, reach) : A_Err_NONE;
                }))
                return GroupsMeet::Untold;
            CopyArea area = drawnBy(build, items, placement, frame, reach);
            filled[c] = std::move(area.filled);
            stroked[c] = std::move(area.stroked);
        }
        if (someAreasOverlap(filled))
            return GroupsMeet::Overlap;
        if (strokes && someAreasOverlap(stroked))
            return GroupsMeet::StrokesMeet;
    }
    return GroupsMeet::Apart;
}
