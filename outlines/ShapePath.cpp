#include "outlines/ShapePath.h"

#include "model/ArraySearch.h"
#include "model/CoordinateConversion.h"
#include "model/OutlineClassification.h"
#include "model/OutlineDiscretisation.h"
#include "model/PolygonUtils.h"
#include "outlines/HostStreams.h"
#include "outlines/ShapeItemPlacement.h"

#include <cfloat>

namespace {

// The vertices of the path as the host gives them (raw) and as placed.
struct PathOutlines {
    ShapeDef placed;
    ShapeDef raw;
    bool open = false;
};

void dropLast(ShapeDef& s)
{
    s.points.pop_back();
    s.inTangents.pop_back();
    s.outTangents.pop_back();
}

A_Err readPath(const AEGP_SuiteHandler& suites, AEGP_MaskOutlineValH outline, const ItemPlacement& at,
               PathOutlines& path)
{
    const AEGP_MaskOutlineSuite2* masks = suites.MaskOutlineSuite2();
    A_long segments = 0;
    A_Err err = masks->AEGP_GetMaskOutlineNumSegments(outline, &segments);
    if (err || segments <= 0)
        return err;
    A_Boolean open = false;
    err = masks->AEGP_IsMaskOutlineOpen(outline, &open);
    if (err)
        return err;
    path.open = open;
    const A_long count = open ? segments + 1 : segments;

    b2Vec2 rawFirst(0.0f, 0.0f), rawLast(0.0f, 0.0f);
    bool lastKept = false;
    PointLookup kept;
    for (A_long i = 0; !err && i < count; ++i) {
        AEGP_MaskVertex v{};
        err = masks->AEGP_GetMaskOutlineVertexInfo(outline, i, &v);
        if (err)
            break;
        const b2Vec2 raw(float(v.x), float(v.y));
        if (i == 0)
            rawFirst = raw;
        rawLast = raw;
        const b2Vec2 p = at.place(raw);
        const b2Vec2 in(float(v.tan_in_x), float(v.tan_in_y));
        const b2Vec2 out(float(v.tan_out_x), float(v.tan_out_y));
        lastKept = !kept.contains(p);
        if (!lastKept)
            continue;
        kept.insert(p);
        path.placed.points.push_back(p);
        path.placed.inTangents.push_back(at.placeVector(in));
        path.placed.outTangents.push_back(at.placeVector(out));
        path.raw.points.push_back(raw);
        path.raw.inTangents.push_back(in);
        path.raw.outTangents.push_back(out);
    }
    if (!err && lastKept && (rawLast - rawFirst).Length() < FLT_EPSILON && path.placed.points.size() > 1) {
        dropLast(path.placed);
        dropLast(path.raw);
    }
    return err;
}

}  // namespace

ShapeDef getShapeDefFromVectorShapePath(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                                        std::vector<ShapeDef>& circles, std::vector<ShapeDef>& boxes,
                                        int precision, float sx, float sy, b2Vec2& centre, b2Vec2& anchor,
                                        float& groupRotation)
{
    ItemPlacement at;
    if (readItemPlacement(pluginId, basic, layer, item, at) || !at.chain.toLayer.isFinite())
        return ShapeDef();
    AEGP_SuiteHandler suites(basic);
    ScopedStreamValue value(suites);
    PathOutlines path;
    if (value.read(pluginId, item) || readPath(suites, value.val().mask, at, path))
        return ShapeDef();
    value.reset();

    ShapeDef& s = path.placed;
    if (s.points.size() < 2)
        return ShapeDef();
    float radius = 0.0f;
    if (!path.open && isCircle(s, radius) && sx == sy && at.chain.toLayer.keepsShapes()) {
        s.isCircle = true;
        s.radius = coords::getGLWCoordFromAE(radius);
        circles.push_back(s);
    } else if (!path.open && isBox(s)) {
        s.isBox = true;
        boxes.push_back(s);
    } else {
        s.closed = !path.open;
        path.raw.closed = !path.open;
        discretizeShape(s, precision);
        discretizeShape(path.raw, precision);
    }
    centre = getPolyCentroid(s.points, path.open);
    const b2Vec2 rawCentre = getPolyCentroid(path.raw.points, path.open);
    anchor.Set(rawCentre.x * at.chain.scale.x, rawCentre.y * at.chain.scale.y);
    groupRotation = at.groupRotation;
    return s;
}
