// One layer per top-level group of a shape layer. Each is a copy of the layer
// that keeps one group, so that it draws what the group drew: the layer's
// timing, switches, label, transform with its keys, masks and effects come
// with the copy, and so do the fills, strokes and other items of the top level
// that painted the group.
//
// The copies are made by halves: a copy of the layer without the drawings
// that stay behind is split into two layers, one keeping the first half of
// the groups and one the second, and so on down to one group each. A layer of
// n groups thus takes n copies and about n log n deletions, not n squared.
#include "separation/LayerSeparation.h"

#include "host/LayerQueries.h"
#include "outlines/HostStreams.h"
#include "separation/SeparableContent.h"
#include "separation/SeparationSupport.h"

#include <QString>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";

// The "ADBE Root Vectors Group" of a layer.
void contentsOf(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, ScopedStream& contents,
                CallTrail& trail)
{
    layerGroupOf(suites, pluginId, layer, "ADBE Root Vectors Group", contents, trail);
    if (trail.ok() && !contents)
        trail.note(A_Err_GENERIC, "AEGP_GetNewStreamRefByMatchname");
}

// A copy of the source layer on its way to holding one group: the layer, and
// for each item of its contents, in order, that item's index in the source's
// contents.
struct Piece {
    AEGP_LayerH layer = nullptr;
    std::vector<A_long> held;
};

// One separation: the host, the trail of calls, the layers made so far, and
// the progress over the source's n top-level items.
struct Run {
    const AEGP_SuiteHandler& suites;
    AEGP_PluginID pluginId;
    CallTrail& trail;
    const SeparationProgress& progress;
    A_long n;
    std::vector<std::string> names;                      // per top-level item; groups only
    std::vector<AEGP_LayerH> made;                       // every layer made, in order
    std::vector<std::pair<A_long, AEGP_LayerH>> done;    // each group and the layer that holds it
    int reported = 0;

    // Reports each item up to `items` as worked on.
    void advanceTo(int items)
    {
        while (reported < items) {
            ++reported;
            if (progress)
                progress(reported, int(n));
        }
    }
};

// A copy of `layer`, placed directly above or below it.
AEGP_LayerH duplicateNextTo(Run& run, AEGP_LayerH layer, bool above)
{
    const AEGP_LayerSuite7* layers = run.suites.LayerSuite7();
    AEGP_LayerH copy = nullptr;
    if (run.trail.ok()
        && run.trail.note(layers->AEGP_DuplicateLayer(layer, &copy), "AEGP_DuplicateLayer") == A_Err_NONE)
        run.made.push_back(copy);
    A_long at = 0, copyAt = 0;
    if (run.trail.ok())
        run.trail.note(layers->AEGP_GetLayerIndex(layer, &at), "AEGP_GetLayerIndex");
    if (run.trail.ok())
        run.trail.note(layers->AEGP_GetLayerIndex(copy, &copyAt), "AEGP_GetLayerIndex");
    // Taking the copy out from above the layer moves the layer up by one.
    const A_long to = copyAt < at ? at - 1 : at;
    if (run.trail.ok())
        run.trail.note(layers->AEGP_ReorderLayer(copy, above ? to : to + 1), "AEGP_ReorderLayer");
    return copy;
}

// Deletes from the piece's contents the items of `drop` (source indices),
// the last first.
void removeItems(Run& run, Piece& piece, const std::vector<A_long>& drop)
{
    ScopedStream contents(run.suites);
    contentsOf(run.suites, run.pluginId, piece.layer, contents, run.trail);
    for (auto it = drop.rbegin(); run.trail.ok() && it != drop.rend(); ++it) {
        const auto at = std::find(piece.held.begin(), piece.held.end(), *it);
        if (at == piece.held.end())
            continue;
        ScopedStream item(run.suites);
        run.trail.note(childByIndex(run.suites, run.pluginId, contents.get(), A_long(at - piece.held.begin()), item),
                       "AEGP_GetNewStreamRefByIndex");
        if (run.trail.ok()
            && run.trail.note(run.suites.DynamicStreamSuite4()->AEGP_DeleteStream(item.get()), "AEGP_DeleteStream")
                   == A_Err_NONE)
            piece.held.erase(at);
    }
}

// Splits a piece that holds `groups` (source indices, in order) beside the
// items every piece keeps into one layer per group, from the piece's place
// down in group order, each named after its group.
void split(Run& run, Piece piece, const std::vector<A_long>& groups)
{
    if (!run.trail.ok() || groups.empty())
        return;
    if (groups.size() == 1) {
        const A_long group = groups.front();
        run.trail.note(run.suites.LayerSuite5()->AEGP_SetLayerName(piece.layer, run.names[size_t(group)].c_str()),
                       "AEGP_SetLayerName");
        if (run.trail.ok()) {
            run.done.emplace_back(group, piece.layer);
            run.advanceTo(int(group) + 1);
        }
        return;
    }
    const auto middle = groups.begin() + std::ptrdiff_t(groups.size() / 2);
    const std::vector<A_long> first(groups.begin(), middle), second(middle, groups.end());
    Piece lower{duplicateNextTo(run, piece.layer, false), piece.held};
    removeItems(run, piece, second);
    removeItems(run, lower, first);
    // The first half's layers go between this piece and the lower one.
    split(run, std::move(piece), first);
    split(run, std::move(lower), second);
}

} // namespace

A_Err separateLayerShapes(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex,
                          const SeparationProgress& progress)
{
    AEGP_SuiteHandler suites(basic);
    CallTrail trail;
    Run run{suites, pluginId, trail, progress, 0, {}, {}, {}, 0};

    std::vector<A_long> moved;      // groups deleted from the source, the last first
    std::vector<A_long> separated;  // the groups made into layers, in order
    bool drawingsOutsideGroups = false;
    try {
        AEGP_LayerH source = nullptr;
        activeLayerOf(suites, layerIndex, source, trail);
        ScopedStream contents(suites);
        contentsOf(suites, pluginId, source, contents, trail);
        if (trail.ok())
            trail.note(suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(contents.get(), &run.n),
                       "AEGP_GetNumStreamsInGroup");
        if (progress && trail.ok())
            progress(0, int(run.n));

        // What goes where (planGroupSplit).
        std::vector<ContentItem> items;
        run.names.resize(size_t(std::max<A_long>(run.n, 0)));
        for (A_long k = 0; trail.ok() && k < run.n; ++k) {
            ScopedStream child(suites);
            ContentItem item;
            trail.note(childByIndex(suites, pluginId, contents.get(), k, child), "AEGP_GetNewStreamRefByIndex");
            if (trail.ok())
                trail.note(matchNameOf(suites, child.get(), item.matchName), "AEGP_GetMatchName");
            if (trail.ok() && item.matchName == kVectorGroup)
                groupDraws(suites, pluginId, child.get(), item.draws, &trail);
            else if (trail.ok() && isDrawingItem(item.matchName))
                trail.note(isSwitchedOn(suites, child.get(), item.draws), "AEGP_GetDynamicStreamFlags");
            if (trail.ok() && item.matchName == kVectorGroup && item.draws)
                trail.note(readStreamName(suites, child.get(), run.names[size_t(k)]), "AEGP_GetStreamName");
            items.push_back(std::move(item));
        }
        const GroupSplit plan = planGroupSplit(items);
        const std::vector<A_long>& above = plan.above;
        const std::vector<A_long>& below = plan.below;
        const std::vector<A_long>& stay = plan.stay;
        drawingsOutsideGroups = !plan.kept.empty();
        separated = plan.separated();
        for (const bool onTop : {true, false}) {
            const std::vector<A_long>& side = onTop ? above : below;
            if (!trail.ok() || side.empty())
                continue;
            Piece all{duplicateNextTo(run, source, onTop), {}};
            for (A_long k = 0; k < run.n; ++k)
                all.held.push_back(k);
            std::vector<A_long> drop = stay;
            drop.insert(drop.end(), (onTop ? below : above).begin(), (onTop ? below : above).end());
            std::sort(drop.begin(), drop.end());
            removeItems(run, all, drop);
            split(run, std::move(all), side);
        }

        // The source keeps what was not separated, or is switched off when
        // nothing of it would draw any more.
        if (trail.ok() && drawingsOutsideGroups) {
            for (auto it = separated.rbegin(); trail.ok() && it != separated.rend(); ++it) {
                ScopedStream group(suites);
                trail.note(childByIndex(suites, pluginId, contents.get(), *it, group), "AEGP_GetNewStreamRefByIndex");
                if (trail.ok()
                    && trail.note(suites.DynamicStreamSuite4()->AEGP_DeleteStream(group.get()), "AEGP_DeleteStream")
                           == A_Err_NONE)
                    moved.push_back(*it);
            }
        } else if (trail.ok() && !separated.empty()) {
            trail.note(suites.LayerSuite7()->AEGP_SetLayerFlag(source, AEGP_LayerFlag_VIDEO_ACTIVE, false),
                       "AEGP_SetLayerFlag");
        }
        if (trail.ok())
            run.advanceTo(int(run.n));
    } catch (int err) {
        trail.note(err ? err : A_Err_GENERIC, "acquiring a host suite");
    }

    if (!trail.ok()) {
        // A group already taken out of the source lives on only in its new
        // layer: that layer stays, so that nothing is lost.
        std::vector<AEGP_LayerH> undo;
        for (AEGP_LayerH layer : run.made) {
            const bool holdsMoved = std::any_of(run.done.begin(), run.done.end(), [&](const auto& d) {
                return d.second == layer && std::find(moved.begin(), moved.end(), d.first) != moved.end();
            });
            if (!holdsMoved)
                undo.push_back(layer);
        }
        const int left = deleteLayers(suites, undo);
        showSeparationMessage(QStringLiteral("Error occurred when separating shapes."),
                              separationFailureDetail(layerIndex, layerDisplayName(suites, pluginId, layerIndex),
                                                      trail.failedCall(), trail.error(), left, int(moved.size())));
    }
    return trail.error();
}
