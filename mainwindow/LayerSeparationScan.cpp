#include "mainwindow/LayerSeparationScan.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "outlines/HostStreams.h"

#include <string>

namespace {

bool isVectorGroup(const std::string& matchName)
{
    return matchName == "ADBE Vector Shape - Group" || matchName == "ADBE Vector Group";
}

// The number of direct children of `group` that are vector groups.
A_Err countVectorGroups(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group,
                        A_long& count)
{
    A_long children = 0;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &children);
    count = 0;
    for (A_long i = 0; !err && i < children; ++i) {
        ScopedStream child(suites);
        std::string matchName;
        err = childByIndex(suites, pluginId, group, i, child);
        if (!err)
            err = matchNameOf(suites, child.get(), matchName);
        if (!err && isVectorGroup(matchName))
            ++count;
    }
    return err;
}

// More than one mask in the layer's "ADBE Mask Parade".
A_Err hasSeveralMasks(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH layerStream,
                      bool& several)
{
    ScopedStream masks(suites);
    A_Err err = childByMatchName(suites, pluginId, layerStream, "ADBE Mask Parade", masks);
    A_long count = 0;
    if (!err && masks)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(masks.get(), &count);
    several = count > 1;
    return err;
}

// More than one group directly inside the layer's "ADBE Root Vectors Group".
A_Err hasSeveralVectorGroups(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId,
                             AEGP_StreamRefH layerStream, bool& several)
{
    ScopedStream root(suites);
    A_Err err = childByMatchName(suites, pluginId, layerStream, "ADBE Root Vectors Group", root);
    A_long groups = 0;
    if (!err && root)
        err = countVectorGroups(suites, pluginId, root.get(), groups);
    several = groups > 1;
    return err;
}

// Whether layer `index` is offered.
A_Err qualifies(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_CompH comp, A_long index,
                bool& offered)
{
    const AEGP_LayerSuite7* layers = suites.LayerSuite7();
    offered = false;
    AEGP_LayerH layer = nullptr;
    A_Err err = layers->AEGP_GetCompLayerByIndex(comp, index, &layer);
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    if (!err)
        err = layers->AEGP_GetLayerObjectType(layer, &type);
    if (err || type == AEGP_ObjectType_LIGHT || type == AEGP_ObjectType_CAMERA)
        return err;

    AEGP_LayerFlags flags = 0;
    err = layers->AEGP_GetLayerFlags(layer, &flags);
    const AEGP_LayerFlags passedOver =
        AEGP_LayerFlag_NULL_LAYER | AEGP_LayerFlag_ADJUSTMENT_LAYER | AEGP_LayerFlag_GUIDE_LAYER;
    if (err || (flags & passedOver) || !(flags & AEGP_LayerFlag_VIDEO_ACTIVE))
        return err;

    A_Boolean is3D = false;
    A_Boolean videoOn = false;
    err = layers->AEGP_IsLayer3D(layer, &is3D);
    if (!err)
        err = layers->AEGP_IsVideoActive(layer, &videoOn);
    if (err || is3D || !videoOn)
        return err;

    ScopedStream layerStream(suites);
    err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, layerStream.out());
    if (!err)
        err = hasSeveralMasks(suites, pluginId, layerStream.get(), offered);
    if (!err && !offered && type == AEGP_ObjectType_VECTOR)
        err = hasSeveralVectorGroups(suites, pluginId, layerStream.get(), offered);
    return err;
}

} // namespace

A_Err findLayersToSeparate(SPBasicSuite* basic, AEGP_PluginID pluginId, std::vector<int>& indices)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_long count = 0;
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &count);
    for (A_long i = 0; !err && i < count; ++i) {
        bool offered = false;
        err = qualifies(suites, pluginId, comp, i, offered);
        if (!err && offered)
            indices.push_back(static_cast<int>(i));
    }
    return err;
}
