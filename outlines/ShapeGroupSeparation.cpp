// One new shape layer per top-level group of a shape layer.
#include "outlines/LayerSeparation.h"

#include "host/LayerQueries.h"
#include "outlines/HostStreams.h"
#include "outlines/SeparableContent.h"
#include "outlines/SeparationSupport.h"
#include "outlines/ShapeGroupCopy.h"

#include <QString>

#include <array>
#include <memory>
#include <string>

namespace {

constexpr AEGP_LayerStream kTransformStreams[] = {AEGP_LayerStream_ANCHORPOINT, AEGP_LayerStream_POSITION,
                                                  AEGP_LayerStream_SCALE, AEGP_LayerStream_ROTATION};

// The source layer's four transform values at time 0, before expressions.
struct LayerTransform {
    explicit LayerTransform(const AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~LayerTransform()
    {
        for (size_t i = 0; i < values.size(); ++i)
            if (held[i])
                suites_.StreamSuite4()->AEGP_DisposeStreamValue(&values[i]);
    }
    LayerTransform(const LayerTransform&) = delete;
    LayerTransform& operator=(const LayerTransform&) = delete;

    void read(AEGP_PluginID pluginId, AEGP_LayerH layer, CallTrail& trail)
    {
        for (size_t i = 0; i < values.size() && trail.ok(); ++i) {
            ScopedStream stream(suites_);
            trail.note(suites_.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, kTransformStreams[i],
                                                                      stream.out()),
                       "AEGP_GetNewLayerStream");
            if (trail.ok())
                trail.note(suites_.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, stream.get(),
                                                                          AEGP_LTimeMode_CompTime, &kTimeZero, true,
                                                                          &values[i]),
                           "AEGP_GetNewStreamValue");
            held[i] = trail.ok();
        }
    }

    void write(AEGP_PluginID pluginId, AEGP_LayerH layer, CallTrail& trail)
    {
        for (size_t i = 0; i < values.size() && trail.ok(); ++i) {
            ScopedStream stream(suites_);
            trail.note(suites_.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, kTransformStreams[i],
                                                                      stream.out()),
                       "AEGP_GetNewLayerStream");
            AEGP_StreamValue2 copy{stream.get(), values[i].val};
            if (trail.ok())
                trail.note(suites_.StreamSuite4()->AEGP_SetStreamValue(pluginId, stream.get(), &copy),
                           "AEGP_SetStreamValue");
        }
    }

    std::array<AEGP_StreamValue2, 4> values{};
    std::array<bool, 4> held{};

private:
    const AEGP_SuiteHandler& suites_;
};

// The "ADBE Root Vectors Group" of a layer.
void contentsOf(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, ScopedStream& contents,
                CallTrail& trail)
{
    ScopedStream root(suites);
    if (trail.ok())
        trail.note(suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out()),
                   "AEGP_GetNewStreamRefForLayer");
    if (trail.ok())
        trail.note(childByMatchName(suites, pluginId, root.get(), "ADBE Root Vectors Group", contents),
                   "AEGP_GetNewStreamRefByMatchname");
    if (trail.ok() && !contents)
        trail.note(A_Err_GENERIC, "AEGP_GetNewStreamRefByMatchname");
}

} // namespace

A_Err separateLayerShapes(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex,
                          const SeparationProgress& progress)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_LayerSuite7* layers = suites.LayerSuite7();
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    CallTrail trail;
    const ShapeCopy copier{suites, pluginId, trail};

    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH source = nullptr, parent = nullptr;
    trail.note(GetActiveLayer(suites, layerIndex, item, source), "AEGP_GetCompLayerByIndex");
    if (trail.ok())
        trail.note(suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp), "AEGP_GetCompFromItem");
    if (trail.ok())
        trail.note(layers->AEGP_GetLayerParent(source, &parent), "AEGP_GetLayerParent");
    LayerTransform transform(suites);
    transform.read(pluginId, source, trail);

    ScopedStream contents(suites);
    contentsOf(suites, pluginId, source, contents, trail);
    A_long n = 0;
    if (trail.ok())
        trail.note(dynamic->AEGP_GetNumStreamsInGroup(contents.get(), &n), "AEGP_GetNumStreamsInGroup");
    if (progress && trail.ok())
        progress(0, int(n));

    std::vector<AEGP_LayerH> made;
    std::vector<A_long> separated;  // the top-level indices of the groups made into layers
    bool drawingsOutsideGroups = false;
    for (A_long k = 0; trail.ok() && k < n; ++k) {
        if (progress)
            progress(int(k) + 1, int(n));
        ScopedStream group(suites);
        std::string matchName;
        trail.note(childByIndex(suites, pluginId, contents.get(), k, group), "AEGP_GetNewStreamRefByIndex");
        if (trail.ok())
            trail.note(matchNameOf(suites, group.get(), matchName), "AEGP_GetMatchName");
        if (isDrawingItem(matchName))
            drawingsOutsideGroups = true;
        if (!trail.ok() || matchName != "ADBE Vector Group")
            continue;

        AEGP_LayerH layer = nullptr;
        if (trail.note(suites.CompSuite7()->AEGP_CreateVectorLayerInComp(comp, &layer),
                       "AEGP_CreateVectorLayerInComp") == A_Err_NONE)
            made.push_back(layer);
        // Directly below the source and the layers made before this one.
        A_long at = 0;
        if (trail.ok())
            trail.note(layers->AEGP_GetLayerIndex(source, &at), "AEGP_GetLayerIndex");
        if (trail.ok())
            trail.note(layers->AEGP_ReorderLayer(layer, at + A_long(separated.size())), "AEGP_ReorderLayer");
        if (trail.ok() && parent)
            trail.note(layers->AEGP_SetLayerParent(layer, parent), "AEGP_SetLayerParent");
        transform.write(pluginId, layer, trail);
        std::string name;
        if (trail.ok())
            trail.note(readStreamName(suites, group.get(), name), "AEGP_GetStreamName");
        if (trail.ok())
            trail.note(suites.LayerSuite5()->AEGP_SetLayerName(layer, name.c_str()), "AEGP_SetLayerName");
        ScopedStream newContents(suites);
        contentsOf(suites, pluginId, layer, newContents, trail);
        addNamedGroup(copier, group.get(), newContents.get());
        separated.push_back(k);
    }

    // The source keeps what was not separated, or is switched off when
    // nothing of it would draw any more.
    size_t moved = 0;  // groups deleted from the source, the last made first
    if (trail.ok() && drawingsOutsideGroups) {
        for (auto it = separated.rbegin(); trail.ok() && it != separated.rend(); ++it) {
            ScopedStream group(suites);
            trail.note(childByIndex(suites, pluginId, contents.get(), *it, group), "AEGP_GetNewStreamRefByIndex");
            if (trail.ok() && trail.note(dynamic->AEGP_DeleteStream(group.get()), "AEGP_DeleteStream") == A_Err_NONE)
                ++moved;
        }
    } else if (trail.ok() && !separated.empty()) {
        trail.note(layers->AEGP_SetLayerFlag(source, AEGP_LayerFlag_VIDEO_ACTIVE, false), "AEGP_SetLayerFlag");
    }

    if (!trail.ok()) {
        // A group already taken out of the source lives on only in its new
        // layer: that layer stays, so that nothing is lost.
        const std::vector<AEGP_LayerH> undo(made.begin(), made.end() - std::ptrdiff_t(moved));
        const int left = deleteLayers(suites, undo);
        showSeparationMessage(QStringLiteral("Error occurred when separating shapes."),
                              separationFailureDetail(layerIndex, layerDisplayName(suites, pluginId, layerIndex),
                                                      trail.failedCall(), trail.error(), left, int(moved)));
    }
    return trail.error();
}
