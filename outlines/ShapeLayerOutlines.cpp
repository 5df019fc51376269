#include "outlines/ShapeLayerOutlines.h"

#include "host/LayerQueries.h"
#include "model/ConvexHull.h"
#include "outlines/HostStreams.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/OutlineTopology.h"
#include "outlines/ShapePath.h"
#include "outlines/ShapePrimitives.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr char kRootVectorsGroup[] = "ADBE Root Vectors Group";
constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kFillRule[] = "ADBE Vector Fill Rule";
// The host's value of "ADBE Vector Fill Rule" for even-odd (1 is non-zero).
constexpr double kEvenOddRule = 2.0;
constexpr float kRadiansPerDegree = 0.017453292f;

// The items of a contents group, each with its own on/off switch: groups,
// shapes (a path's item included), fills and strokes, filters.
bool isShapeItem(const std::string& name)
{
    for (const char* kind : {"ADBE Vector Group", "ADBE Vector Shape - ", "ADBE Vector Graphic - ",
                             "ADBE Vector Filter - "})
        if (name.rfind(kind, 0) == 0)
            return true;
    return false;
}

// What paints each shape, as the host paints it: a fill paints every shape
// listed before it in its contents group (the root's or a group's), those of
// the groups before it included whatever fills they hold, together by its
// rule. The walk being depth first, those are the shapes kept since its
// contents group was entered.
struct PaintWalk {
    struct Fill {
        size_t firstShape = 0, endShape = 0;
        FillRule rule = FillRule::NonZero;
    };
    // Each contents group met, the root's first: the first shape kept inside
    // it.
    std::vector<size_t> scopeStart{0};
    std::vector<int> scopeOfShape;  // one per kept shape, in walk order
    std::vector<Fill> fills;
    int current = 0;

    void enterGroup()
    {
        scopeStart.push_back(scopeOfShape.size());
        current = int(scopeStart.size()) - 1;
    }
    void addShape() { scopeOfShape.push_back(current); }
    void addFill(double rule)
    {
        const Fill fill{scopeStart[size_t(current)], scopeOfShape.size(),
                        rule == kEvenOddRule ? FillRule::EvenOdd : FillRule::NonZero};
        if (fill.firstShape < fill.endShape)  // else it paints nothing
            fills.push_back(fill);
    }

    // Each kept shape's paint groups: one per fill that paints it. A shape
    // that no fill paints fills non-zero with the other such shapes of its
    // contents group.
    std::vector<OutlinePaint> paints() const
    {
        std::vector<OutlinePaint> result(scopeOfShape.size());
        for (size_t f = 0; f < fills.size(); ++f)
            for (size_t k = fills[f].firstShape; k < fills[f].endShape; ++k)
                result[k].groups.push_back(PaintGroup{int(f), fills[f].rule});
        for (size_t k = 0; k < result.size(); ++k)
            if (result[k].groups.empty())
                result[k].groups.push_back(PaintGroup{int(fills.size()) + scopeOfShape[k], FillRule::NonZero});
        return result;
    }
};

// The convex hull of every kept item's points, standing for all of them.
void replaceByHull(std::vector<std::vector<ShapeDef>>& groups, std::vector<ShapeDef>& circles,
                   std::vector<ShapeDef>& boxes)
{
    std::vector<b2Vec2> points;
    for (const std::vector<ShapeDef>& group : groups)
        for (const ShapeDef& s : group)
            points.insert(points.end(), s.points.begin(), s.points.end());
    ShapeDef hull;
    hull.points = getHull(points);
    hull.closed = true;
    groups.assign(1, std::vector<ShapeDef>{hull});
    // The hull covers them: kept as well, they would overlap it.
    circles.clear();
    boxes.clear();
}

// For a copy's painted area: each open outline that a fill paints is filled
// too, closed back to its start. Paint groups numbered below `fills` are
// those of fills (the others paint nothing). Returns whether a non-zero fill
// paints an outline crossing itself in a way the triangles do not follow
// (see PaintedCopy).
bool addFilledOpenOutlines(OutlineSet& set, size_t fills)
{
    const auto byFill = [&](const PaintGroup& g) { return size_t(g.id) < fills; };
    const size_t read = std::min(set.outlines.size(), set.paint.size());
    for (size_t k = 0; k < read; ++k) {
        ShapeDef s = set.outlines[k];
        const std::vector<PaintGroup>& groups = set.paint[k].groups;
        if (s.closed || s.isCircle || s.isBox || std::none_of(groups.begin(), groups.end(), byFill))
            continue;
        // Drawn back to its first point: that point once.
        if (s.points.size() > 2 && s.points.back() == s.points.front())
            s.points.pop_back();
        // The line back is straight, whatever the tangents at its ends; the
        // curves keep theirs, about the vertices cut into the points.
        if (s.vertices.empty()) {
            s.inTangents.clear();
            s.outTangents.clear();
        } else {
            if (s.outTangents.size() >= s.vertices.size())
                s.outTangents[s.vertices.size() - 1] = b2Vec2(0.0f, 0.0f);
            if (!s.inTangents.empty())
                s.inTangents[0] = b2Vec2(0.0f, 0.0f);
        }
        s.closed = true;
        const OutlinePaint paint = set.paint[k];
        set.outlines.push_back(std::move(s));
        set.paint.push_back(paint);
    }
    // The triangulated outlines that a non-zero fill paints: by group.
    std::map<int, std::vector<size_t>> nonZero;
    for (size_t k = 0; k < set.outlines.size() && k < set.paint.size(); ++k)
        for (const PaintGroup& g : set.paint[k].groups)
            if (set.outlines[k].closed && !set.outlines[k].isCircle && !set.outlines[k].isBox && byFill(g)
                && g.rule == FillRule::NonZero)
                nonZero[g.id].push_back(k);
    std::set<size_t> shared, alone;
    for (const auto& group : nonZero)
        for (size_t k : group.second)
            (group.second.size() > 1 ? shared : alone).insert(k);
    for (size_t k : shared) {
        const OutlineWinding winding = windingOf(set.outlines[k]);
        if (winding.twice || winding.bothWays || winding.crosses)
            return true;
    }
    for (size_t k : alone)
        if (windingOf(set.outlines[k]).twice)
            return true;
    return false;
}

}  // namespace

namespace {

void visitItem(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, std::vector<std::vector<ShapeDef>>& groups,
               std::vector<ShapeDef>& circles, std::vector<ShapeDef>& boxes, int index, AEGP_StreamRefH parent,
               int compWidth, int compHeight, int precision, bool useConvexHull, float sx, float sy,
               AEGP_ColorVal& color, b2Vec2& centre, b2Vec2& anchor, float& groupRotation, bool& isPath,
               PaintWalk& paint)
{
    AEGP_SuiteHandler suites(basic);
    ScopedStream item(suites);
    std::string name;
    if (childByIndex(suites, pluginId, parent, index, item) || !item || matchNameOf(suites, item.get(), name))
        return;
    // An item switched off draws nothing, whatever it holds: no outline, no
    // colour.
    bool on = true;
    if (isShapeItem(name) && (isSwitchedOn(suites, item.get(), on) || !on))
        return;

    ShapeDef shape;
    bool path = false;
    if (name == "ADBE Vector Shape - Rect") {
        shape = getShapeDefFromVectorShapeRect(pluginId, basic, layer, item.get(), circles, boxes, precision, centre,
                                               groupRotation);
    } else if (name == "ADBE Vector Shape - Ellipse") {
        shape = getShapeDefFromVectorShapeEllipse(pluginId, basic, layer, item.get(), circles, boxes, precision, sx,
                                                  sy, centre, groupRotation);
    } else if (name == "ADBE Vector Shape - Star") {
        shape = getShapeDefFromVectorShapePolystar(pluginId, basic, layer, item.get(), precision, sx, sy, centre,
                                                   groupRotation);
    } else if (name == "ADBE Vector Shape") {
        shape = getShapeDefFromVectorShapePath(pluginId, basic, layer, item.get(), circles, boxes, precision, sx, sy,
                                               centre, anchor, groupRotation);
        path = true;
    } else if (name == "ADBE Vector Stroke Color" || name == "ADBE Vector Fill Color") {
        ScopedStreamValue value(suites);
        if (!value.read(pluginId, item.get()))
            color = value.val().color;
        return;
    } else if (name == kFillRule) {
        ScopedStreamValue value(suites);
        if (!value.read(pluginId, item.get()))
            paint.addFill(value.val().one_d);
        return;
    } else {
        AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
        A_long count = 0;
        A_Err err = suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(item.get(), &type);
        if (err || (type != AEGP_StreamGroupingType_NAMED_GROUP && type != AEGP_StreamGroupingType_INDEXED_GROUP))
            return;
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(item.get(), &count);
        const int outer = paint.current;
        if (name == kVectorGroup)
            paint.enterGroup();
        for (A_long i = 0; !err && i < count; ++i)
            visitItem(pluginId, basic, layer, groups, circles, boxes, int(i), item.get(), compWidth, compHeight,
                      precision, useConvexHull, sx, sy, color, centre, anchor, groupRotation, isPath, paint);
        paint.current = outer;
        return;
    }
    // Only an item that yields an outline decides the centre and the frame.
    if (shape.points.size() > 1) {
        groups.push_back(std::vector<ShapeDef>{shape});
        paint.addShape();
        isPath = path;
    }
}

}  // namespace

void getVectorShape(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, std::vector<std::vector<ShapeDef>>& groups,
                    std::vector<ShapeDef>& circles, std::vector<ShapeDef>& boxes, int index, AEGP_StreamRefH parent,
                    int compWidth, int compHeight, int precision, bool useConvexHull, float sx, float sy,
                    AEGP_ColorVal& color, b2Vec2& centre, b2Vec2& anchor, float& groupRotation, bool& isPath)
{
    PaintWalk paint;
    visitItem(pluginId, basic, layer, groups, circles, boxes, index, parent, compWidth, compHeight, precision,
              useConvexHull, sx, sy, color, centre, anchor, groupRotation, isPath, paint);
}

void getVectorShapes(QWidget* parent, int pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                     std::vector<std::vector<ShapeDef>>& outlines, int compWidth, int compHeight, b2Vec2& anchor,
                     int precision, bool useConvexHull, float sx, float sy, A_Matrix4 /*matrix*/,
                     AEGP_ColorVal& color, bool& tooManyPolygons, bool& triangulationFailed, b2Vec2& centre,
                     float& groupRotation, bool& isPath, bool* unrepresentable, bool* filledAsHull,
                     PaintedCopy* painted)
{
    outlines.clear();
    // The items are placed through the layer's matrix, mirror included; the
    // readers want the scale's size only.
    sx = std::fabs(sx);
    sy = std::fabs(sy);
    std::vector<std::vector<ShapeDef>> groups;
    OutlineSet set;
    PaintWalk paint;
    {
        AEGP_SuiteHandler suites(basic);
        ScopedStream root(suites);
        A_long count = 0;
        A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out());
        if (!err)
            err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(root.get(), &count);
        for (A_long i = 0; !err && i < count; ++i) {
            ScopedStream child(suites);
            std::string name;
            err = childByIndex(suites, pluginId, root.get(), i, child);
            if (!err && child)
                err = matchNameOf(suites, child.get(), name);
            if (err || name != kRootVectorsGroup)
                continue;
            A_long items = 0;
            err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(child.get(), &items);
            for (A_long j = 0; !err && j < items; ++j) {
                const std::vector<bool>* itemsRead = painted ? painted->items : nullptr;
                if (itemsRead && !(size_t(j) < itemsRead->size() && (*itemsRead)[size_t(j)]))
                    continue;
                visitItem(pluginId, basic, layer, groups, set.circles, set.boxes, int(j), child.get(), compWidth,
                          compHeight, precision, useConvexHull, sx, sy, color, centre, anchor, groupRotation, isPath,
                          paint);
            }
        }
    }
    if (groups.empty())
        return;

    const ShapeDef& first = groups.front().front();
    set.fill = OutlineFill::Painted;
    if (useConvexHull && first.closed && !first.isBox && !first.isCircle)
        replaceByHull(groups, set.circles, set.boxes);
    else
        set.paint = paint.paints();
    for (const std::vector<ShapeDef>& group : groups)
        set.outlines.insert(set.outlines.end(), group.begin(), group.end());
    if (painted && !set.paint.empty())
        painted->windingUnheld = addFilledOpenOutlines(set, paint.fills.size());

    // The items are in composition pixels; the body turns with the layer.
    OutlineFrame frame;
    frame.origin = centre;
    float degrees = 0.0f;
    if (!GetBodyRotationAtTime(pluginId, basic, layer, degrees, kTimeZero) && std::isfinite(degrees))
        frame.rotation = -degrees * kRadiansPerDegree;
    const AssembledOutlines assembled = assembleOutlines(parent, set, useConvexHull, frame);
    if (assembled.selfIntersecting)
        triangulationFailed = true;
    if (assembled.unrepresentable && unrepresentable)
        *unrepresentable = true;
    if (assembled.filledAsHull && filledAsHull)
        *filledAsHull = true;
    tooManyPolygons = assembled.tooManyPolygons();
    outlines.push_back(assembled.group);
    if (painted) {
        painted->drawn = assembled.drawnOutlines;
        painted->outlineDropped = assembled.outlineDropped;
    }
}
