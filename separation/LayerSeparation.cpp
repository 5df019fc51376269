#include "separation/LayerSeparation.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "separation/SeparationSupport.h"

#include <algorithm>

std::vector<int> layerIndicesToSeparate(const std::vector<int>& selectedRows, const std::vector<int>& offered)
{
    std::vector<int> indices;
    for (int row : selectedRows)
        if (row >= 0 && size_t(row) < offered.size())
            indices.push_back(offered[size_t(row)]);
    std::sort(indices.begin(), indices.end(), [](int a, int b) { return a > b; });
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

SeparationKind dispatchSeparation(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex,
                                  const std::function<void(int)>& byMasks, const std::function<void(int)>& byShapes)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_LayerH layer = nullptr;
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    SeparableContent content;
    A_Err err = GetActiveLayer(suites, layerIndex, item, layer);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerObjectType(layer, &type);
    if (!err)
        err = readSeparableContent(suites, basic, pluginId, layer, type, content);
    if (err)
        return SeparationKind::None;
    return dispatchSeparation(basic, pluginId, layerIndex, separationKindOf(content, type), byMasks, byShapes);
}

SeparationKind dispatchSeparation(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex, SeparationKind kind,
                                  const std::function<void(int)>& byMasks, const std::function<void(int)>& byShapes)
{
    if (kind == SeparationKind::UngroupedShapes) {
        AEGP_SuiteHandler suites(basic);
        showSeparationMessage(QStringLiteral("Layer %1 (%2): its shapes are not in groups, so it was left as it is.")
                                  .arg(layerIndex + 1)
                                  .arg(layerDisplayName(suites, pluginId, layerIndex)));
    }
    if (kind == SeparationKind::ShapeGroups && byShapes)
        byShapes(layerIndex);
    else if (kind == SeparationKind::Masks && byMasks)
        byMasks(layerIndex);
    return kind;
}
