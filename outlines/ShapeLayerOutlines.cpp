#include "outlines/ShapeLayerOutlines.h"

#include "host/LayerQueries.h"
#include "model/ConvexHull.h"
#include "outlines/HostStreams.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/ShapePath.h"
#include "outlines/ShapePrimitives.h"

#include <cmath>

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

// The contents groups the walk meets (the root's and each group's), so that
// every shape can be filled as the host paints it: a fill paints the shapes
// of its group and of the groups inside it that have no fill of their own,
// all of them together by its rule.
struct PaintScope {
    int outer = -1;     // the enclosing group's scope
    bool filled = false;  // a fill that is switched on sits in this group
    FillRule rule = FillRule::EvenOdd;  // non-zero as soon as one fill is
};

struct PaintWalk {
    std::vector<PaintScope> scopes{PaintScope()};
    std::vector<int> scopeOfShape;  // one per kept shape, in walk order
    int current = 0;

    void addFill(double rule)
    {
        PaintScope& scope = scopes[size_t(current)];
        const bool evenOdd = rule == kEvenOddRule && (!scope.filled || scope.rule == FillRule::EvenOdd);
        scope.rule = evenOdd ? FillRule::EvenOdd : FillRule::NonZero;
        scope.filled = true;
    }

    // Each kept shape's paint group: the nearest group around it, its own
    // included, that holds a fill; an unpainted shape fills non-zero by
    // itself with the others of its group.
    std::vector<OutlinePaint> paints() const
    {
        std::vector<OutlinePaint> result;
        for (int own : scopeOfShape) {
            OutlinePaint paint;
            paint.group = own;
            for (int s = own; s >= 0; s = scopes[size_t(s)].outer) {
                if (scopes[size_t(s)].filled) {
                    paint.group = s;
                    paint.rule = scopes[size_t(s)].rule;
                    break;
                }
            }
            result.push_back(paint);
        }
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
        if (name == kVectorGroup) {
            paint.scopes.push_back(PaintScope{outer, false, FillRule::EvenOdd});
            paint.current = int(paint.scopes.size()) - 1;
        }
        for (A_long i = 0; !err && i < count; ++i)
            visitItem(pluginId, basic, layer, groups, circles, boxes, int(i), item.get(), compWidth, compHeight,
                      precision, useConvexHull, sx, sy, color, centre, anchor, groupRotation, isPath, paint);
        paint.current = outer;
        return;
    }
    // Only an item that yields an outline decides the centre and the frame.
    if (shape.points.size() > 1) {
        groups.push_back(std::vector<ShapeDef>{shape});
        paint.scopeOfShape.push_back(paint.current);
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
                     const std::vector<bool>* itemsRead)
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
}
