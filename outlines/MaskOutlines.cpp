#include "outlines/MaskOutlines.h"

#include "host/LayerQueries.h"
#include "model/ArraySearch.h"
#include "model/ConvexHull.h"
#include "model/OutlineClassification.h"
#include "model/OutlineDiscretisation.h"
#include "outlines/HostStreams.h"
#include "outlines/OutlineAssembly.h"

#include <algorithm>
#include <cmath>

A_Err readMaskOutline(const AEGP_SuiteHandler& suites, AEGP_MaskOutlineValH outline, double aspect, ShapeDef& s,
                      bool& open, bool& readable, bool* openPath)
{
    const AEGP_MaskOutlineSuite2* masks = suites.MaskOutlineSuite2();
    A_long segments = 0;
    A_Boolean openFlag = false;
    A_Err err = masks->AEGP_GetMaskOutlineNumSegments(outline, &segments);
    readable = !err && segments > 0;
    if (!readable)
        return err;
    err = masks->AEGP_IsMaskOutlineOpen(outline, &openFlag);
    open = openFlag || segments == 2;
    if (openPath)
        *openPath = openFlag;
    PointLookup kept;
    for (A_long k = 0; !err && k <= segments; ++k) {
        if (!openFlag && k == segments)
            break;  // the first vertex again
        AEGP_MaskVertex v{};
        err = masks->AEGP_GetMaskOutlineVertexInfo(outline, k, &v);
        if (err)
            break;
        const b2Vec2 p(float(v.x * aspect), float(v.y));
        if (kept.contains(p))
            continue;
        kept.insert(p);
        s.points.push_back(p);
        s.inTangents.emplace_back(float(v.tan_in_x * aspect), float(v.tan_in_y));
        s.outTangents.emplace_back(float(v.tan_out_x * aspect), float(v.tan_out_y));
    }
    return err;
}

A_Err switchedOnMasks(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH parade,
                      std::vector<A_long>& shown)
{
    A_long count = 0;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(parade, &count);
    for (A_long m = 0; !err && m < count; ++m) {
        ScopedStream mask(suites);
        bool on = false;
        err = childByIndex(suites, pluginId, parade, m, mask);
        if (!err && mask)
            err = isSwitchedOn(suites, mask.get(), on);
        if (!err && on)
            shown.push_back(m);
    }
    return err;
}

namespace {

// Reads mask m and sorts it into `set`.
A_Err readMask(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH parade, A_long m, A_long maskCount,
               double aspect, int precision, bool hull, float sx, float sy, float shear, OutlineSet& set)
{
    ScopedStream mask(suites);
    ScopedStream shape(suites);
    ScopedStreamValue value(suites);
    A_Err err = childByIndex(suites, pluginId, parade, m, mask);
    if (!err && mask)
        err = childByMatchName(suites, pluginId, mask.get(), "ADBE Mask Shape", shape);
    if (err || !shape)
        return err;
    err = value.read(pluginId, shape.get());
    ShapeDef s;
    bool open = false;
    bool readable = false;
    if (!err)
        err = readMaskOutline(suites, value.val().mask, aspect, s, open, readable);
    if (!readable)
        return err;

    const bool lone = maskCount <= 1;
    float radius = 0.0f;
    if (!open && lone && isCircle(s, radius) && std::fabs(sx) == std::fabs(sy) && shear == 0.0f) {
        s.isCircle = true;
        s.radius = radius * std::fabs(sx) / 100.0f;
        set.circles.push_back(s);
    } else if (!open && lone && isBox(s)) {
        s.isBox = true;
        set.boxes.push_back(s);
    } else {
        s.closed = !open;
        discretizeShape(s, precision);
        if (hull && !s.points.empty())
            s.points = getHull(s.points);
    }
    set.outlines.push_back(s);
    return err;
}

// How getMasks places the masks: about the anchor (layer pixels, x times
// `aspect`), scaled and sheared as the layer is.
OutlineFrame maskFrame(double aspect, b2Vec2 anchor, float sx, float sy, float shear)
{
    OutlineFrame frame;
    frame.origin.Set(float(aspect * anchor.x), anchor.y);
    frame.scale.Set(sx, sy);
    frame.shear = shear;
    return frame;
}

}  // namespace

A_Err readLoneMaskBodies(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parade,
                         double aspect, b2Vec2 anchor, float sx, float sy, float shear, int precision,
                         std::vector<std::vector<ShapeDef>>& bodies)
{
    std::vector<A_long> shown;
    A_Err err = switchedOnMasks(suites, int(pluginId), parade, shown);
    for (size_t k = 0; !err && k < shown.size(); ++k) {
        OutlineSet set;
        set.fill = OutlineFill::Masks;
        err = readMask(suites, int(pluginId), parade, shown[k], 1, aspect, precision, false, sx, sy, shear, set);
        if (!err)
            bodies.push_back(assembleOutlines(nullptr, set, false, maskFrame(aspect, anchor, sx, sy, shear)).group);
    }
    return err;
}

void getMasks(QWidget* parent, int pluginId, SPBasicSuite* basic, int layerIndex, int objectType,
              std::vector<std::vector<ShapeDef>>& outlines, int /*compWidth*/, int /*compHeight*/, b2Vec2 anchor,
              int precision, bool hull, float sx, float sy, A_Matrix4 /*matrix*/, bool& tooManyPolygons,
              bool& triangulationFailed, bool* unrepresentable, A_Err* hostError, bool* filledAsHull, float shear)
{
    outlines.clear();
    OutlineSet set;
    // Masks that cross add; a mask wholly inside another is a hole in it.
    set.fill = OutlineFill::Masks;
    double aspect = 1.0;
    {
        AEGP_SuiteHandler suites(basic);
        AEGP_ItemH active = nullptr;
        AEGP_LayerH layer = nullptr;
        A_Err err = GetActiveLayer(suites, layerIndex, active, layer);
        if (!err && objectType == AEGP_ObjectType_AV) {
            AEGP_ItemH source = nullptr;
            A_Ratio ratio{1, 1};
            err = suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &source);
            if (!err)
                err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(source, &ratio);
            if (!err && ratio.den)
                aspect = double(ratio.num) / double(ratio.den);
        }
        ScopedStream root(suites);
        ScopedStream parade(suites);
        if (!err)
            err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out());
        if (!err)
            err = childByMatchName(suites, pluginId, root.get(), "ADBE Mask Parade", parade);
        std::vector<A_long> shown;
        if (!err && parade)
            err = switchedOnMasks(suites, pluginId, parade.get(), shown);
        const A_long maskCount = A_long(shown.size());
        for (size_t k = 0; !err && k < shown.size(); ++k)
            err = readMask(suites, pluginId, parade.get(), shown[k], maskCount, aspect, precision, hull, sx, sy, shear,
                           set);
        if (hostError)
            *hostError = err;
    }

    const AssembledOutlines assembled = assembleOutlines(parent, set, hull, maskFrame(aspect, anchor, sx, sy, shear));
    if (assembled.selfIntersecting)
        triangulationFailed = true;
    if (assembled.unrepresentable && unrepresentable)
        *unrepresentable = true;
    if (assembled.filledAsHull && filledAsHull)
        *filledAsHull = true;
    tooManyPolygons = assembled.tooManyPolygons();
    outlines.push_back(assembled.group);
}
