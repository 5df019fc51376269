#include "mainwindow/LayerSeparationScan.h"

#include "host/AEGP_SuiteHandler.h"

#include <cstring>

namespace {

// A stream reference that is given back when it goes out of scope.
class StreamRef
{
public:
    explicit StreamRef(const AEGP_SuiteHandler& suites) : suites(suites) {}
    ~StreamRef()
    {
        if (stream)
            suites.StreamSuite4()->AEGP_DisposeStream(stream);
    }
    StreamRef(const StreamRef&) = delete;
    StreamRef& operator=(const StreamRef&) = delete;

    AEGP_StreamRefH stream = nullptr;

private:
    const AEGP_SuiteHandler& suites;
};

bool isVectorGroup(const char* matchName)
{
    return std::strcmp(matchName, "ADBE Vector Shape - Group") == 0 ||
           std::strcmp(matchName, "ADBE Vector Group") == 0;
}

// The number of direct children of `group` whose match name passes `accept`.
A_Err countChildren(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group,
                    bool (*accept)(const char*), A_long& count)
{
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    A_long children = 0;
    A_Err err = dynamic->AEGP_GetNumStreamsInGroup(group, &children);
    count = 0;
    for (A_long i = 0; !err && i < children; ++i) {
        StreamRef child(suites);
        err = dynamic->AEGP_GetNewStreamRefByIndex(pluginId, group, i, &child.stream);
        A_char matchName[AEGP_MAX_STREAM_MATCH_NAME_SIZE + 1] = {};
        if (!err)
            err = dynamic->AEGP_GetMatchName(child.stream, matchName);
        if (!err && accept(matchName))
            ++count;
    }
    return err;
}

// More than one mask in the layer's "ADBE Mask Parade".
A_Err hasSeveralMasks(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH layerStream,
                      bool& several)
{
    StreamRef masks(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(pluginId, layerStream,
                                                                              "ADBE Mask Parade", &masks.stream);
    A_long count = 0;
    if (!err && masks.stream)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(masks.stream, &count);
    several = count > 1;
    return err;
}

// More than one group directly inside the layer's "ADBE Root Vectors Group".
A_Err hasSeveralVectorGroups(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId,
                             AEGP_StreamRefH layerStream, bool& several)
{
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    several = false;
    A_long children = 0;
    A_Err err = dynamic->AEGP_GetNumStreamsInGroup(layerStream, &children);
    for (A_long i = 0; !err && i < children; ++i) {
        StreamRef child(suites);
        err = dynamic->AEGP_GetNewStreamRefByIndex(pluginId, layerStream, i, &child.stream);
        A_char matchName[AEGP_MAX_STREAM_MATCH_NAME_SIZE + 1] = {};
        if (!err)
            err = dynamic->AEGP_GetMatchName(child.stream, matchName);
        if (!err && std::strcmp(matchName, "ADBE Root Vectors Group") == 0) {
            A_long groups = 0;
            err = countChildren(suites, pluginId, child.stream, isVectorGroup, groups);
            several = groups > 1;
            break;
        }
    }
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

    StreamRef layerStream(suites);
    err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, &layerStream.stream);
    if (!err)
        err = hasSeveralMasks(suites, pluginId, layerStream.stream, offered);
    if (!err && !offered && type == AEGP_ObjectType_VECTOR)
        err = hasSeveralVectorGroups(suites, pluginId, layerStream.stream, offered);
    return err;
}

} // namespace

A_Err findLayersToSeparate(SPBasicSuite* basic, AEGP_PluginID pluginId, std::vector<int>& indices)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_long count = 0;
    A_Err err = suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
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
