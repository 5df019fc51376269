#include "mainwindow/LayerSeparationScan.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "separation/SeparableContent.h"
#include "separation/SeparationSupport.h"

#include <algorithm>
#include <functional>

namespace {

// A layer whose contents were read: its verdict, and the comparison of its
// keyed groups when that is still to run.
struct Judged {
    A_long index = 0;
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    SeparableContent content;
    std::function<GroupsMeet(double, double&)> later;
};

// Reads layer `index` into `judged` unless it is passed over (judged.index
// is then -1).
A_Err qualifies(const AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_CompH comp,
                A_long index, Judged& judged)
{
    const AEGP_LayerSuite7* layers = suites.LayerSuite7();
    judged.index = -1;
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

    KeyedWork keyed;
    keyed.putOff = true;
    err = readSeparableContent(suites, basic, pluginId, layer, type, judged.content, &keyed);
    if (!err) {
        judged.index = index;
        judged.type = type;
        judged.later = std::move(keyed.later);
    }
    return err;
}

} // namespace

A_Err findLayersToSeparate(SPBasicSuite* basic, AEGP_PluginID pluginId, std::vector<int>& indices,
                           QStringList* leftOut, double keyedWork, std::vector<SeparationKind>* kinds)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_long count = 0;
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &count);
    std::vector<Judged> judged;
    for (A_long i = 0; !err && i < count; ++i) {
        Judged layer;
        err = qualifies(suites, basic, pluginId, comp, i, layer);
        if (!err && layer.index >= 0)
            judged.push_back(std::move(layer));
    }
    // Every layer's keyed groups are compared within an even share of the
    // start's work, whatever the order of the layers; what they leave is
    // shared again among those their share stopped, for as long as that
    // gives each more than before.
    std::vector<Judged*> waiting;
    for (Judged& j : judged)
        if (j.later)
            waiting.push_back(&j);
    double left = keyedWork, given = 0.0;
    while (!waiting.empty()) {
        const double share = std::min(kMaxComparedWork, left / double(waiting.size()));
        if (share <= given)
            break;
        std::vector<Judged*> stopped;
        for (Judged* j : waiting) {
            double spent = 0.0;
            j->content.groupsMeet = j->later(share, spent);
            left -= spent;
            if (j->content.groupsMeet == GroupsMeet::StartTooLong)
                stopped.push_back(j);
        }
        given = share;
        waiting = std::move(stopped);
    }
    for (const Judged& j : judged) {
        if (hasSeveralOutlines(j.content, j.type)) {
            indices.push_back(int(j.index));
            if (kinds)
                kinds->push_back(separationKindOf(j.content, j.type));
        }
        const QString whyNot = whyNotSeparable(j.content, j.type);
        if (leftOut && !whyNot.isEmpty())
            leftOut->append(QStringLiteral("Layer %1 (%2): %3")
                                .arg(j.index + 1)
                                .arg(layerDisplayName(suites, pluginId, int(j.index)), whyNot));
    }
    return err;
}
