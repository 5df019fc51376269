#include "outlines/ShapeItemPlacement.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "outlines/HostStreams.h"

#include <cmath>

namespace {

A_Matrix4 identity()
{
    A_Matrix4 m{};
    for (int i = 0; i < 4; ++i)
        m.mat[i][i] = 1.0;
    return m;
}

}  // namespace

ItemPlacement::ItemPlacement() : matrix(identity()) {}

b2Vec2 ItemPlacement::inGroup(b2Vec2 p) const
{
    return b2Vec2((p.x - acc.anchor.x) * acc.scale.x + acc.position.x,
                  (p.y - acc.anchor.y) * acc.scale.y + acc.position.y);
}

b2Vec2 ItemPlacement::place(b2Vec2 groupPoint) const
{
    const double c = std::cos(double(groupRotation));
    const double s = std::sin(double(groupRotation));
    const double dx = double(groupPoint.x) - acc.position.x;
    const double dy = double(groupPoint.y) - acc.position.y;
    const Point4 layerPoint{c * dx - s * dy + acc.position.x, s * dx + c * dy + acc.position.y, 0.0, 1.0};
    Point4 world{};
    GetWorldCoords(layerPoint, matrix, &world);
    return b2Vec2(float(world.x * pixelAspect), float(world.y));
}

b2Vec2 ItemPlacement::placeVector(b2Vec2 v) const
{
    const double c = std::cos(double(groupRotation));
    const double s = std::sin(double(groupRotation));
    const double x = c * v.x - s * v.y;
    const double y = s * v.x + c * v.y;
    const double wx = x * matrix.mat[0][0] + y * matrix.mat[1][0];
    const double wy = x * matrix.mat[0][1] + y * matrix.mat[1][1];
    return b2Vec2(float(wx * pixelAspect), float(wy));
}

A_Err readItemPlacement(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                        ItemPlacement& placement)
{
    A_Err err = accumulateGroupChain(pluginId, basic, item, placement.acc, placement.groupRotation);
    AEGP_SuiteHandler suites(basic);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerToWorldXform(layer, &kTimeZero, &placement.matrix);
    AEGP_ItemH active = nullptr;
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetActiveItem(&active);
    A_Ratio ratio{1, 1};
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(active, &ratio);
    if (!err)
        placement.pixelAspect = ratio.den ? double(ratio.num) / double(ratio.den) : 1.0;
    return err;
}
