#include "outlines/GroupOverlap.h"

#include "host/LayerQueries.h"
#include "outlines/KeyedComparison.h"

#include <algorithm>
#include <vector>

GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split,
                               KeyedWork& budget)
{
    std::vector<SplitCopy> copies = copiesOf(split);
    if (copies.size() < 2)
        return GroupsMeet::Apart;

    LayerBuild build;
    build.basic = basic;
    build.pluginId = int(pluginId);
    build.layer = layer;
    const LayerPlacement placement = readLayerPlacement(build);
    if (build.outlineUnrepresentable)
        return GroupsMeet::Apart;  // no body can be built of it
    OutlineFrame frame;
    frame.rotation = -layerRotation(build);

    AEGP_SuiteHandler suites(basic);
    std::vector<ItemKeys> keys;
    bool untold = false;
    if (forEachContentsItem(suites, pluginId, layer,
                            [&](size_t, AEGP_StreamRefH item) {
                                keys.emplace_back();
                                return readItemKeys(suites, pluginId, item, keys.back(), untold);
                            }) ||
        untold)
        return GroupsMeet::Untold;

    // Every copy at time 0.
    const size_t n = copies.size();
    std::vector<CopyArea> areas(n);
    if (readReach(suites, build, copies))
        return GroupsMeet::Untold;
    for (size_t c = 0; c < n; ++c) {
        SplitCopy& copy = copies[c];
        areas[c] = copy.area = drawnBy(build, copy.items, placement, frame, copy.reach());
    }
    const GroupsMeet atStart = howAreasMeet(areas, GroupsMeet::Overlap);
    if (atStart != GroupsMeet::Apart)
        return atStart;

    const KeySpan span = howCopiesChange(copies, keys);
    if (!span.keyed)
        return GroupsMeet::Apart;
    Frames frames;
    if (framesOf(suites, layer, span, frames))
        return GroupsMeet::Untold;
    if (frames.count() == 0.0)
        return GroupsMeet::Apart;

    // The layer's own bound, or what the start has left when that is less.
    const double most = std::min(kMaxComparedWork, budget.left);
    const KeyedVerdict verdict = compareKeyedCopies(suites, build, placement, frame, copies, frames, most);
    budget.left = std::max(0.0, budget.left - verdict.work);
    if (verdict.needed <= most)
        return verdict.meet;
    return verdict.needed > kMaxComparedWork ? GroupsMeet::KeyedTooLong : GroupsMeet::StartTooLong;
}
