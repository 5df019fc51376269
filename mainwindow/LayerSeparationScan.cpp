#include "mainwindow/LayerSeparationScan.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "outlines/SeparableContent.h"
#include "outlines/SeparationSupport.h"

namespace {

// Whether layer `index` is offered, and if not, why not when it holds
// several outlines.
A_Err qualifies(const AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_CompH comp,
                A_long index, KeyedWork& budget, bool& offered, QString& whyNot)
{
    const AEGP_LayerSuite7* layers = suites.LayerSuite7();
    offered = false;
    whyNot.clear();
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

    SeparableContent content;
    err = readSeparableContent(suites, basic, pluginId, layer, type, content, &budget);
    offered = !err && hasSeveralOutlines(content, type);
    if (!err)
        whyNot = whyNotSeparable(content, type);
    return err;
}

} // namespace

A_Err findLayersToSeparate(SPBasicSuite* basic, AEGP_PluginID pluginId, std::vector<int>& indices,
                           QStringList* leftOut, double keyedWork)
{
    KeyedWork budget{keyedWork};
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_long count = 0;
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &count);
    for (A_long i = 0; !err && i < count; ++i) {
        bool offered = false;
        QString whyNot;
        err = qualifies(suites, basic, pluginId, comp, i, budget, offered, whyNot);
        if (!err && offered)
            indices.push_back(static_cast<int>(i));
        if (!err && leftOut && !whyNot.isEmpty())
            leftOut->append(QStringLiteral("Layer %1 (%2): %3")
                                .arg(i + 1)
                                .arg(layerDisplayName(suites, pluginId, int(i)), whyNot));
    }
    return err;
}
