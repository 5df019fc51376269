#include "separation/ContentKeys.h"

#include "host/LayerQueries.h"
#include "separation/CopyArea.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kTransformGroup[] = "ADBE Vector Transform Group";

double seconds(const A_Time& t)
{
    return t.scale ? double(t.value) / double(t.scale) : 0.0;
}

// Values that change no outline and no stroke's reach, keyed or driven by an
// expression alike.
bool drawsNoOutline(const std::string& matchName)
{
    for (const char* name : {"ADBE Vector Fill Color", "ADBE Vector Stroke Color", "ADBE Vector Fill Opacity",
                             "ADBE Vector Stroke Opacity", "ADBE Vector Group Opacity"})
        if (matchName == name)
            return true;
    return false;
}

// Widens `span` by the keys of every value at or under `stream` that changes
// what is drawn, and notes an expression on any such value. Items switched
// off in a group's contents draw nothing: their values are passed over.
// `nesting` counts the groups about `stream`; a group kMaxGroupNesting deep
// is not looked into (the layer is not offered, see SeparableContent), and
// fails.
A_Err readKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream, KeySpan& span,
               bool& untold, int nesting = 0)
{
    AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(stream, &type);
    if (!err && type != AEGP_StreamGroupingType_LEAF) {
        std::string name;
        err = matchNameOf(suites, stream, name);
        const bool group = name == kVectorGroup, items = name == "ADBE Vectors Group";
        if (!err && group && nesting >= kMaxGroupNesting)
            err = A_Err_GENERIC;
        return err ? err : forEachChild(suites, pluginId, stream, [&](size_t, AEGP_StreamRefH child) {
            bool on = true;
            const A_Err e = items ? isSwitchedOn(suites, child, on) : A_Err(A_Err_NONE);
            return e || !on ? e : readKeys(suites, pluginId, child, span, untold, nesting + (group ? 1 : 0));
        });
    }
    A_Boolean varies = false;
    if (!err)
        err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(stream, &varies);
    std::string name;
    if (!err && varies)
        err = matchNameOf(suites, stream, name);
    if (err || !varies || drawsNoOutline(name))
        return err;
    A_Boolean expression = false;
    err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &expression);
    untold = untold || expression;
    A_long keys = 0;
    if (!err)
        err = suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &keys);
    if (err || keys <= 0)
        return err;
    ++span.values;
    for (const A_long k : {A_long(0), keys - 1}) {
        A_Time t{0, 1};
        err = suites.KeyframeSuite4()->AEGP_GetKeyframeTime(stream, k, AEGP_LTimeMode_CompTime, &t);
        if (err)
            break;
        span.widen(seconds(t));
    }
    return err;
}

} // namespace

A_Err readItemKeys(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item, ItemKeys& keys,
                   bool& untold)
{
    std::string name;
    bool on = false;
    A_Err err = isSwitchedOn(suites, item, on);
    if (!err && on)
        err = matchNameOf(suites, item, name);
    if (err || !on || name != kVectorGroup)
        return err || !on ? err : readKeys(suites, pluginId, item, keys.shape, untold);
    return forEachChild(suites, pluginId, item, [&](size_t, AEGP_StreamRefH child) {
        std::string childName;
        const A_Err e = matchNameOf(suites, child, childName);
        return e ? e : readKeys(suites, pluginId, child, childName == kTransformGroup ? keys.move : keys.shape, untold, 1);
    });
}

A_Err framesOf(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const KeySpan& span, Frames& frames)
{
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_Time duration{0, 1}, in{0, 1}, shown{0, 1};
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFrameDuration(comp, &frames.step);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemDuration(item, &duration);
    if (!err)
        err = suites.LayerSuite5()->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &in);
    if (!err)
        err = suites.LayerSuite5()->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &shown);
    const double step = seconds(frames.step);
    const double end = std::min(seconds(duration), seconds(in) + seconds(shown));
    frames.first = std::max({1.0, std::floor(span.first / step + 1e-9), std::ceil(seconds(in) / step - 1e-9)});
    // Keys that end before the layer is shown leave it as the last one does:
    // its first frame shown is compared.
    frames.last = std::min(std::ceil(end / step - 1e-9) - 1.0,
                           std::max(std::ceil(span.last / step - 1e-9), frames.first));
    if (!err && !(step > 0.0 && frames.last * double(frames.step.value) < double(std::numeric_limits<A_long>::max())))
        err = A_Err_GENERIC;  // no frame, or one beyond what a time holds
    return err;
}
