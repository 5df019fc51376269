#include "separation/GroupOverlap.h"

#include "host/LayerQueries.h"
#include "separation/KeyedComparison.h"

#include <algorithm>
#include <memory>
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
        areas[c] = copy.area = drawnBy(build, copy.items, placement, frame, copy.styles);
    }
    if (std::any_of(areas.begin(), areas.end(), [](const CopyArea& a) { return !a.outlined; }))
        return GroupsMeet::NothingAtStart;
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

    // The comparison, run now or left to the caller, which gives it the most
    // it may spend: past that, it is stopped.
    struct Keyed {
        LayerBuild build;
        LayerPlacement placement;
        OutlineFrame frame;
        std::vector<SplitCopy> copies;
        Frames frames;
    };
    auto keyed = std::make_shared<Keyed>(Keyed{build, placement, frame, std::move(copies), frames});
    const auto compare = [keyed](double most, double& spent) {
        const double bound = std::min(most, kMaxComparedWork);
        const KeyedVerdict verdict = compareKeyedCopies(AEGP_SuiteHandler(keyed->build.basic), keyed->build,
                                                        keyed->placement, keyed->frame, keyed->copies, keyed->frames,
                                                        bound);
        spent = verdict.work;
        if (verdict.needed <= bound)
            return verdict.meet;
        return bound < kMaxComparedWork ? GroupsMeet::StartTooLong : GroupsMeet::KeyedTooLong;
    };
    double spent = 0.0;
    if (!budget.putOff)
        return compare(kMaxComparedWork, spent);
    budget.later = compare;
    return GroupsMeet::Apart;
}
