#include "outlines/GroupOverlap.h"

#include "host/LayerQueries.h"
#include "model/AreaOverlap.h"
#include "outlines/OutlineAssembly.h"
#include "outlines/ShapeLayerOutlines.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr double kMinScale = 0.001;

// The area a copy of the layer holding only `items` draws, in world units
// about the composition's origin turned by the layer's rotation `frame`:
// every copy is placed alike, so their areas meet there as their bodies do.
DrawnPieces drawnBy(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const std::vector<bool>& items,
                    float sx, float sy, const OutlineFrame& frame)
{
    std::vector<std::vector<ShapeDef>> outlines;
    b2Vec2 anchor(0.0f, 0.0f), centre(0.0f, 0.0f);
    AEGP_ColorVal color{};
    bool tooMany = false, failed = false, isPath = false, unrepresentable = false;
    float groupRotation = 0.0f;
    getVectorShapes(nullptr, int(pluginId), basic, layer, outlines, 0, 0, anchor, kOverlapPrecision, false, sx, sy,
                    A_Matrix4{}, color, tooMany, failed, centre, groupRotation, isPath, &unrepresentable, nullptr,
                    &items);
    DrawnPieces area;
    if (outlines.empty() || unrepresentable)
        return area;
    // The outlines are about `centre`, turned as the frame turns.
    const b2Vec2 offset = frame.toWorld(centre);
    area.addGroup(outlines.front(), AreaPoint{offset.x, offset.y});
    return area;
}

} // namespace

bool separatedLayersOverlap(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split)
{
    std::vector<std::vector<bool>> layers;
    for (A_long k : split.separated())
        layers.push_back(split.itemsOfLayerFor(k));
    if (!split.kept.empty())
        layers.push_back(split.itemsOfSource());
    if (layers.size() < 2)
        return false;

    // The layer's scale and turn at time 0, read as the body build reads them.
    double fx = 1.0, fy = 1.0;
    GetWorldScaleAlongBodyAxesAtTime(pluginId, basic, layer, fx, fy, kTimeZero);
    if (!std::isfinite(fx) || !std::isfinite(fy))
        return false;  // no body can be built of it
    const float sx = float(std::max(std::fabs(fx), kMinScale));
    const float sy = float(std::max(std::fabs(fy), kMinScale));
    OutlineFrame frame;
    float degrees = 0.0f;
    if (!GetBodyRotationAtTime(pluginId, basic, layer, degrees, kTimeZero) && std::isfinite(degrees))
        frame.rotation = -degrees * kRadiansPerDegree;

    std::vector<DrawnPieces> areas;
    for (const std::vector<bool>& items : layers)
        areas.push_back(drawnBy(basic, pluginId, layer, items, sx, sy, frame));
    for (size_t i = 0; i < areas.size(); ++i)
        for (size_t j = i + 1; j < areas.size(); ++j)
            if (!areas[i].empty() && !areas[j].empty() && areasOverlap(areas[i], areas[j]))
                return true;
    return false;
}
