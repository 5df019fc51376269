// One copy of a layer per mask.
#include "separation/LayerSeparation.h"

#include "host/LayerQueries.h"
#include "outlines/HostStreams.h"
#include "separation/SeparationSupport.h"

#include <QString>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The four values of a mask that each copy gets, read at time 0.
struct MaskValues {
    explicit MaskValues(const AEGP_SuiteHandler& suites)
        : shape(suites), feather(suites), opacity(suites), offset(suites)
    {
    }
    ScopedStreamValue shape, feather, opacity, offset;
};

void readMaskValues(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH mask,
                    MaskValues& values, CallTrail& trail)
{
    const std::pair<const char*, ScopedStreamValue*> reads[] = {
        {"ADBE Mask Shape", &values.shape},
        {"ADBE Mask Feather", &values.feather},
        {"ADBE Mask Opacity", &values.opacity},
        {"ADBE Mask Offset", &values.offset},
    };
    for (const auto& [matchName, value] : reads) {
        ScopedStream stream(suites);
        if (trail.ok())
            trail.note(childByMatchName(suites, pluginId, mask, matchName, stream), "AEGP_GetNewStreamRefByMatchname");
        if (trail.ok() && !stream)
            trail.note(A_Err_GENERIC, "AEGP_GetNewStreamRefByMatchname");
        if (trail.ok())
            trail.note(value->read(pluginId, stream.get()), "AEGP_GetNewStreamValue");
    }
}

// The mask group of a layer ("ADBE Mask Parade"); no stream when it has none.
void maskParadeOf(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, ScopedStream& parade,
                  CallTrail& trail)
{
    layerGroupOf(suites, pluginId, layer, "ADBE Mask Parade", parade, trail);
}

// Gives `layer` a new mask with those values and that name.
void addMask(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, const std::string& name,
             A_Boolean locked, MaskValues& values, CallTrail& trail)
{
    ScopedMask mask(suites);
    A_long index = 0;
    if (trail.ok())
        trail.note(suites.MaskSuite5()->AEGP_CreateNewMask(layer, mask.out(), &index), "AEGP_CreateNewMask");
    {
        ScopedStream parade(suites), atom(suites);
        maskParadeOf(suites, pluginId, layer, parade, trail);
        if (trail.ok() && !parade)
            trail.note(A_Err_GENERIC, "AEGP_GetNewStreamRefByMatchname");
        if (trail.ok())
            trail.note(childByIndex(suites, pluginId, parade.get(), index, atom), "AEGP_GetNewStreamRefByIndex");
        if (trail.ok())
            trail.note(suites.DynamicStreamSuite3()->AEGP_SetStreamName(atom.get(), name.c_str()),
                       "AEGP_SetStreamName");
    }
    const std::pair<AEGP_MaskStream, ScopedStreamValue*> writes[] = {
        {AEGP_MaskStream_OUTLINE, &values.shape},
        {AEGP_MaskStream_FEATHER, &values.feather},
        {AEGP_MaskStream_OPACITY, &values.opacity},
        {AEGP_MaskStream_EXPANSION, &values.offset},
    };
    for (const auto& [which, value] : writes) {
        ScopedStream stream(suites);
        if (trail.ok())
            trail.note(suites.StreamSuite4()->AEGP_GetNewMaskStream(pluginId, mask.get(), which, stream.out()),
                       "AEGP_GetNewMaskStream");
        if (which == AEGP_MaskStream_OUTLINE && trail.ok())
            trail.note(suites.MaskSuite5()->AEGP_SetMaskLockState(mask.get(), locked), "AEGP_SetMaskLockState");
        AEGP_StreamValue2 copy{stream.get(), value->val()};
        if (trail.ok())
            trail.note(suites.StreamSuite4()->AEGP_SetStreamValue(pluginId, stream.get(), &copy),
                       "AEGP_SetStreamValue");
    }
}

} // namespace

A_Err separateLayerMasks(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex,
                         const SeparationProgress& progress)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_LayerSuite7* layers = suites.LayerSuite7();
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    CallTrail trail;

    std::vector<AEGP_LayerH> made;
    try {
        AEGP_LayerH source = nullptr;
        activeLayerOf(suites, layerIndex, source, trail);
        ScopedStream parade(suites);
        maskParadeOf(suites, pluginId, source, parade, trail);
        if (trail.ok() && !parade)
            return A_Err_NONE;
        A_long n = 0;
        if (trail.ok())
            trail.note(dynamic->AEGP_GetNumStreamsInGroup(parade.get(), &n), "AEGP_GetNumStreamsInGroup");
        // A mask that is switched off gets no layer: it stays on the source.
        std::vector<bool> switchedOn;
        for (A_long i = 0; trail.ok() && i < n; ++i) {
            ScopedStream mask(suites);
            bool on = false;
            trail.note(childByIndex(suites, pluginId, parade.get(), i, mask), "AEGP_GetNewStreamRefByIndex");
            if (trail.ok())
                trail.note(isSwitchedOn(suites, mask.get(), on), "AEGP_GetDynamicStreamFlags");
            switchedOn.push_back(on);
        }
        if (trail.ok() && std::find(switchedOn.begin(), switchedOn.end(), true) == switchedOn.end())
            return A_Err_NONE;  // nothing to split: the layer is not hidden
        if (progress && trail.ok())
            progress(0, int(n));

        // The template: the layer without its masks.
        AEGP_LayerH templ = nullptr;
        if (trail.ok() && trail.note(layers->AEGP_DuplicateLayer(source, &templ), "AEGP_DuplicateLayer") == A_Err_NONE)
            made.push_back(templ);
        {
            ScopedStream templParade(suites);
            maskParadeOf(suites, pluginId, templ, templParade, trail);
            for (A_long j = n - 1; trail.ok() && j >= 0; --j) {
                ScopedStream mask(suites);
                trail.note(childByIndex(suites, pluginId, templParade.get(), j, mask), "AEGP_GetNewStreamRefByIndex");
                if (trail.ok())
                    trail.note(dynamic->AEGP_DeleteStream(mask.get()), "AEGP_DeleteStream");
            }
        }

        A_long copies = 0;
        for (A_long i = 0; trail.ok() && i < n; ++i) {
            if (progress)
                progress(int(i) + 1, int(n));
            if (!switchedOn[size_t(i)])
                continue;
            ScopedStream mask(suites);
            std::string name;
            trail.note(childByIndex(suites, pluginId, parade.get(), i, mask), "AEGP_GetNewStreamRefByIndex");
            if (trail.ok())
                trail.note(readStreamName(suites, mask.get(), name), "AEGP_GetStreamName");
            MaskValues values(suites);
            readMaskValues(suites, pluginId, mask.get(), values, trail);

            ScopedMask sourceMask(suites);
            A_Boolean locked = false;
            if (trail.ok())
                trail.note(suites.MaskSuite5()->AEGP_GetLayerMaskByIndex(source, i, sourceMask.out()),
                           "AEGP_GetLayerMaskByIndex");
            if (trail.ok())
                trail.note(suites.MaskSuite5()->AEGP_GetMaskLockState(sourceMask.get(), &locked), "AEGP_GetMaskLockState");

            AEGP_LayerH copy = nullptr;
            if (trail.ok() && trail.note(layers->AEGP_DuplicateLayer(templ, &copy), "AEGP_DuplicateLayer") == A_Err_NONE)
                made.push_back(copy);
            if (trail.ok())
                trail.note(layers->AEGP_ReorderLayer(copy, layerIndex + copies), "AEGP_ReorderLayer");
            ++copies;
            addMask(suites, pluginId, copy, name, locked, values, trail);
            if (trail.ok())
                trail.note(suites.LayerSuite5()->AEGP_SetLayerName(copy, name.c_str()), "AEGP_SetLayerName");
        }

        // The template goes first, so that a failure there leaves the source as it was.
        if (trail.ok() && trail.note(layers->AEGP_DeleteLayer(templ), "AEGP_DeleteLayer") == A_Err_NONE)
            made.erase(std::find(made.begin(), made.end(), templ));
        if (trail.ok())
            trail.note(layers->AEGP_SetLayerFlag(source, AEGP_LayerFlag_VIDEO_ACTIVE, false), "AEGP_SetLayerFlag");
    } catch (int err) {
        trail.note(err ? err : A_Err_GENERIC, "acquiring a host suite");
    }

    if (!trail.ok()) {
        const int left = deleteLayers(suites, made);
        showSeparationMessage(QStringLiteral("Error occurred when separating masks."),
                              separationFailureDetail(layerIndex, layerDisplayName(suites, pluginId, layerIndex),
                                                      trail.failedCall(), trail.error(), left));
    }
    return trail.error();
}
