#include "mainwindow/GravityNullWriter.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostTime.h"

namespace {

constexpr A_Err kUnrepresentable = A_Err_GENERIC;

struct Chain
{
    GravityNullResult& result;
    // Records the first error; true while nothing has failed.
    bool step(A_Err err, const char* what)
    {
        if (err && result.ok()) {
            result.err = err;
            result.failedStep = QString::fromLatin1(what);
        }
        return result.ok();
    }
};

AEGP_StreamValue2 emptyValue()
{
    AEGP_StreamValue2 v{};
    return v;
}

} // namespace

GravityNullResult writeGravityNull(const SPBasicSuite* basic, AEGP_PluginID pluginId,
                                   const std::vector<b2Vec2>& captured, int firstFrame, A_Time frameDuration)
{
    GravityNullResult result;
    Chain chain{result};
    if (captured.empty())
        return result;
    try {
        AEGP_SuiteHandler suites(basic);
        // Every suite before the first call: a missing one must not leave
        // the undo group open halfway.
        (void)suites.ItemSuite8();
        (void)suites.CompSuite7();
        (void)suites.LayerSuite7();
        (void)suites.StreamSuite4();
        (void)suites.KeyframeSuite4();
        (void)suites.UtilitySuite5();
        AEGP_ItemH item = nullptr;
        AEGP_CompH comp = nullptr;
        if (!chain.step(suites.ItemSuite8()->AEGP_GetActiveItem(&item), "finding the active composition")
            || !chain.step(item ? A_Err_NONE : A_Err_GENERIC, "finding the active composition")
            || !chain.step(suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp), "finding the active composition")
            || !chain.step(suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &result.layerCount),
                           "counting the composition's layers")
            || !chain.step(suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar - Apply Gravity To Null"),
                           "starting the undo group"))
            return result;

        AEGP_LayerH layer = nullptr;
        AEGP_StreamRefH stream = nullptr;
        const A_Time zeroDuration{0, 1};
        if (chain.step(suites.CompSuite7()->AEGP_CreateNullInComp(u"Gravity Controller", comp, &zeroDuration, &layer),
                       "creating the null layer")
            && chain.step(suites.LayerSuite7()->AEGP_ReorderLayer(layer, -1), "moving the null layer to the bottom")
            && chain.step(suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, AEGP_LayerStream_POSITION,
                                                                       &stream),
                          "reading the null layer's position")) {
            // The static position: the first captured gravity.
            const A_Time start{0, frameDuration.scale};
            AEGP_StreamValue2 value = emptyValue();
            bool held = false;
            if (chain.step(suites.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, stream, AEGP_LTimeMode_CompTime,
                                                                         &start, true, &value),
                           "reading the null layer's position")) {
                held = true;
                value.val.two_d.x = double(captured.front().x);
                value.val.two_d.y = double(captured.front().y);
                chain.step(suites.StreamSuite4()->AEGP_SetStreamValue(pluginId, stream, &value),
                           "setting the null layer's position");
            }
            if (held)
                chain.step(suites.StreamSuite4()->AEGP_DisposeStreamValue(&value), "releasing a position value");

            AEGP_AddKeyframesInfoH batch = nullptr;
            if (result.ok()
                && chain.step(suites.KeyframeSuite4()->AEGP_StartAddKeyframes(stream, &batch),
                              "starting the position keys")) {
                for (size_t i = 0; i < captured.size() && result.ok(); ++i) {
                    A_Time t{};
                    if (!chain.step(FrameTime64(frameDuration, int64_t(firstFrame) + int64_t(i), t)
                                        ? A_Err_NONE
                                        : kUnrepresentable,
                                    "computing a key time beyond the host's time range"))
                        break;
                    A_long key = 0;
                    AEGP_StreamValue2 keyValue = emptyValue();
                    if (!chain.step(suites.KeyframeSuite4()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t,
                                                                              &key),
                                    "adding a position key")
                        || !chain.step(suites.StreamSuite4()->AEGP_GetNewStreamValue(
                                           pluginId, stream, AEGP_LTimeMode_CompTime, &t, true, &keyValue),
                                       "reading a position key's value"))
                        break;
                    keyValue.val.two_d.x = double(captured[i].x);
                    keyValue.val.two_d.y = double(captured[i].y);
                    chain.step(suites.KeyframeSuite4()->AEGP_SetAddKeyframe(batch, key, &keyValue),
                               "setting a position key");
                    chain.step(suites.StreamSuite4()->AEGP_DisposeStreamValue(&keyValue),
                               "releasing a position value");
                }
                // The batch ends in every case; its keys are added only when
                // nothing failed.
                const bool add = result.ok();
                chain.step(suites.KeyframeSuite4()->AEGP_EndAddKeyframes(add, batch), "ending the position keys");
            }
        }
        // The null and its keys are complete once the batch has ended well:
        // a failure to let go of the stream or to close the group after that
        // takes nothing away from them.
        const bool written = result.ok();
        const A_Err released = stream ? suites.StreamSuite4()->AEGP_DisposeStream(stream) : A_Err_NONE;
        const A_Err closed = suites.UtilitySuite5()->AEGP_EndUndoGroup();
        if (!written) {
            chain.step(released, "releasing the position stream");
            chain.step(closed, "ending the undo group");
        }
    } catch (int err) {
        chain.step(err, "reaching the host's functions");
    }
    return result;
}
