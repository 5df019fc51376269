#include "outlines/ShapeItemPlacement.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "outlines/HostStreams.h"

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

b2Vec2 ItemPlacement::place(b2Vec2 itemPoint) const
{
    Point4 layerPoint{0.0, 0.0, 0.0, 1.0};
    chain.toLayer.map(itemPoint.x, itemPoint.y, layerPoint.x, layerPoint.y);
    Point4 world{};
    GetWorldCoords(layerPoint, matrix, &world);
    return b2Vec2(float(world.x * pixelAspect), float(world.y));
}

b2Vec2 ItemPlacement::placeVector(b2Vec2 v) const
{
    const GroupMatrix& g = chain.toLayer;
    const double x = g.a * v.x + g.b * v.y;
    const double y = g.c * v.x + g.d * v.y;
    const double wx = x * matrix.mat[0][0] + y * matrix.mat[1][0];
    const double wy = x * matrix.mat[0][1] + y * matrix.mat[1][1];
    return b2Vec2(float(wx * pixelAspect), float(wy));
}

bool ItemPlacement::drawsArea() const
{
    return chain.toLayer.isFinite() && chain.toLayer.determinant() != 0.0;
}

A_Err readItemPlacement(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                        ItemPlacement& placement)
{
    A_Err err = accumulateGroupChain(pluginId, basic, item, placement.chain, placement.groupRotation);
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
