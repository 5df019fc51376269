#include "separation/GroupOverlap.h"

#include "host/LayerQueries.h"
#include "separation/KeyedComparison.h"

#include <algorithm>
#include <memory>
#include <vector>

// What the comparison after time 0 holds until it runs.
struct KeyedWork::Comparison {
    LayerBuild build;
    LayerPlacement placement;
    OutlineFrame frame;
    std::vector<SplitCopy> copies;
    Frames frames;
};

KeyedWork::KeyedWork() = default;
KeyedWork::KeyedWork(KeyedWork&&) noexcept = default;
KeyedWork& KeyedWork::operator=(KeyedWork&&) noexcept = default;
KeyedWork::~KeyedWork() = default;

GroupsMeet KeyedWork::run(double most)
{
    if (!comparison_)
        return verdict_;
    // Run once: what it changes of the copies it holds goes with it.
    const std::unique_ptr<Comparison> c = std::move(comparison_);
    const double bound = std::min(most, kMaxComparedWork);
    // Begun only when what it is given covers all it is told to need, so
    // that once begun it is finished.
    if (estimate_ > bound) {
        verdict_ = estimate_ > kMaxComparedWork ? GroupsMeet::KeyedNotBegun : GroupsMeet::StartNotBegun;
        return verdict_;
    }
    const KeyedVerdict v =
        compareKeyedCopies(AEGP_SuiteHandler(c->build.basic), c->build, c->placement, c->frame, c->copies, c->frames,
                           bound);
    spent_ = v.work;
    // Stopped: by its own bound when it needs more than that anyway, else by
    // what the start had left; not begun when nothing was spent.
    const bool ownBound = v.needed > kMaxComparedWork;
    if (v.needed <= bound)
        verdict_ = v.meet;
    else if (v.work > 0.0)
        verdict_ = ownBound ? GroupsMeet::KeyedTooLong : GroupsMeet::StartTooLong;
    else
        verdict_ = ownBound ? GroupsMeet::KeyedNotBegun : GroupsMeet::StartNotBegun;
    return verdict_;
}

GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split,
                               KeyedWork& keyed)
{
    std::vector<SplitCopy> copies = copiesOf(split);
    if (copies.size() < 2)
        return GroupsMeet::Apart;

    const LayerBuild build = layerBuildOf(basic, int(pluginId), layer);
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
    bool allMove = true;
    for (size_t c = 0; c < n; ++c) {
        SplitCopy& copy = copies[c];
        bool moves = false;
        areas[c] = copy.area = drawnBy(build, copy.items, placement, frame, copy.styles, &moves);
        allMove = allMove && moves;
    }
    if (std::any_of(areas.begin(), areas.end(), [](const CopyArea& a) { return !a.outlined; }))
        return GroupsMeet::NothingAtStart;
    // A copy whose body keeps its place would not fall with the others; nor
    // would what it draws later, where it is too small at time 0 to be
    // compared, be held apart.
    if (!allMove)
        return GroupsMeet::NoMovingBody;
    const GroupsMeet atStart = howAreasMeet(areas, GroupsMeet::Overlap);
    if (atStart != GroupsMeet::Apart)
        return atStart;

    const KeySpan span = howCopiesChange(copies, keys);
    if (!span.keyed)
        return GroupsMeet::Apart;
    // What a copy draws too small at time 0 to leave a piece is compared
    // where it is drawn, built again at each frame, as it may grow.
    for (SplitCopy& copy : copies)
        if (copy.motion == SplitCopy::Moved && copy.area.outlineDropped)
            copy.motion = SplitCopy::Reshaped;
    Frames frames;
    if (framesOf(suites, layer, span, frames))
        return GroupsMeet::Untold;
    if (frames.count() == 0.0)
        return GroupsMeet::Apart;

    // The comparison after time 0 is left to the caller.
    keyed = KeyedWork();
    keyed.estimate_ = keyedWorkEstimate(suites, build, placement, frame, copies, frames, keyed.read_);
    keyed.comparison_.reset(new KeyedWork::Comparison{build, placement, frame, std::move(copies), frames});
    return keyed.verdict_;
}
