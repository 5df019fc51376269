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
