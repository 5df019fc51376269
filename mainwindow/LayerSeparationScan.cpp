#include "mainwindow/LayerSeparationScan.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "separation/GroupOverlap.h"
#include "separation/SeparableContent.h"
#include "separation/SeparationSupport.h"

#include <algorithm>
#include <tuple>

namespace {

// What the layers after one that fit are told to need is held back for them,
// and a quarter more: the first pass over their paths and the pieces
// compared where they may meet are not told beforehand.
constexpr double kNeedMargin = 1.25;

// A layer whose contents were read: its verdict, and the comparison of its
// keyed groups when that is still to run.
struct Judged {
    A_long index = 0;
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    SeparableContent content;
    KeyedWork keyed;
};

// Runs the keyed comparisons of `layers` within what the work of telling
// their needs leaves of `work`: the one told to need least first (the
// earlier layer first when two are told the same), each given what is left
// less what the layers after it that still fit within it and their own
// bound are told to need (kNeedMargin). A layer begins only when what it is
// given covers all it is told to need, so a layer is left out only where
// the work runs out; one told too little is stopped where what it was
// given runs out.
void compareKeyedLayers(std::vector<Judged*> layers, double work)
{
    std::sort(layers.begin(), layers.end(), [](const Judged* a, const Judged* b) {
        return std::make_tuple(a->keyed.estimate(), a->index) < std::make_tuple(b->keyed.estimate(), b->index);
    });
    double left = work;
    for (const Judged* layer : layers)
        left -= layer->keyed.read();
    for (size_t k = 0; k < layers.size(); ++k) {
        double held = 0.0, told = layers[k]->keyed.estimate();
        for (size_t j = k + 1; j < layers.size() && layers[j]->keyed.estimate() <= kMaxComparedWork; ++j) {
            const double need = kNeedMargin * layers[j]->keyed.estimate();
            if (told + held + need > left)
                break;
            held += need;
        }
        layers[k]->content.groupsMeet = layers[k]->keyed.run(std::max(0.0, left - held));
        left -= layers[k]->keyed.spent();
    }
}

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

    err = readSeparableContent(suites, basic, pluginId, layer, type, judged.content, judged.keyed);
    if (!err) {
        judged.index = index;
        judged.type = type;
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
    // Every layer's keyed groups are compared once all are read, whatever
    // the order of the layers.
    std::vector<Judged*> keyed;
    for (Judged& j : judged)
        if (j.keyed.pending())
            keyed.push_back(&j);
    compareKeyedLayers(keyed, keyedWork);
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
