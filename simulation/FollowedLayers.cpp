#include "simulation/FollowedLayers.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"

#include <algorithm>
#include <cmath>

namespace {

// A parent chain longer than this is taken as broken: the layer is then
// followed by asking the host on every tick.
constexpr int kMaxParentChain = 100000;
// A value that does not change is read at this time.
constexpr A_Time kAnyTime{0, 1};

bool sameTime(A_Time a, A_Time b)
{
    return a.value == b.value && a.scale == b.scale;
}

// Whether the stream has keys or an enabled expression.
A_Err changes(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH stream, bool& result)
{
    A_Boolean varying = false;
    A_Boolean expression = false;
    A_Err err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(stream, &varying);
    if (!err)
        err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &expression);
    result = varying || expression;
    return err;
}

// One of the layer's streams: its value (x, y) when it cannot change while
// the scene plays, else the stream itself in `held`, kept for the ticks.
A_Err readOrHold(const AEGP_SuiteHandler& suites, int pluginId, AEGP_LayerH layer, AEGP_LayerStream which,
                 double& x, double& y, AEGP_StreamRefH& held)
{
    held = nullptr;
    AEGP_StreamRefH stream = nullptr;
    A_Err err = suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, which, &stream);
    bool changing = false;
    if (!err)
        err = changes(suites, pluginId, stream, changing);
    if (!err && !changing)
        err = GetStreamXYAtTime(suites, pluginId, stream, kAnyTime, x, y);
    if (stream && (err || !changing))
        suites.StreamSuite4()->AEGP_DisposeStream(stream);
    else
        held = stream;
    return err;
}

} // namespace

FollowedLayers::FollowedLayers(SPBasicSuite* basicSuite, int pluginId)
    : basicSuite_(basicSuite)
    , pluginId_(pluginId)
{
}

FollowedLayers::~FollowedLayers()
{
    try {
        release();
    } catch (...) {
        // The host's suites are gone: so are the references.
    }
}

void FollowedLayers::reset(size_t count)
{
    release();
    entries_.assign(count, FollowedLayer{});
    stale_ = false;
}

void FollowedLayers::release()
{
    stale_ = true;
    if (heldStreams() > 0) {
        AEGP_SuiteHandler suites(basicSuite_);
        for (FollowedLayer& entry : entries_)
            releaseEntry(suites, entry);
    }
    entries_.clear();
}

void FollowedLayers::releaseEntry(const AEGP_SuiteHandler& suites, FollowedLayer& entry)
{
    // A reference into a layer that is gone is still given back; a failure
    // to do so leaves nothing to retry.
    if (entry.anchorStream)
        suites.StreamSuite4()->AEGP_DisposeStream(entry.anchorStream);
    entry.anchorStream = nullptr;
    for (FollowedLayer::ScaleLink& link : entry.scaleChain)
        if (link.stream)
            suites.StreamSuite4()->AEGP_DisposeStream(link.stream);
    entry.scaleChain.clear();
    entry.kept = false;
}

FollowedLayer* FollowedLayers::find(size_t record)
{
    return record < entries_.size() && entries_[record].followed ? &entries_[record] : nullptr;
}

const FollowedLayer* FollowedLayers::find(size_t record) const
{
    return record < entries_.size() && entries_[record].followed ? &entries_[record] : nullptr;
}

FollowedLayer& FollowedLayers::follow(size_t record, int lastKeyFrame, bool turns, bool scales)
{
    if (record >= entries_.size())
        entries_.resize(record + 1);
    FollowedLayer& entry = entries_[record];
    entry.followed = true;
    entry.lastKeyFrame = lastKeyFrame;
    entry.turns = turns;
    entry.scales = scales;
    return entry;
}

void FollowedLayers::keep(FollowedLayer& entry, int layerIndex, double pixelAspect, bool withStart,
                          A_Time startTime)
{
    AEGP_SuiteHandler suites(basicSuite_);
    releaseEntry(suites, entry);
    entry.recent = {};
    entry.pixelAspect = pixelAspect;

    AEGP_ItemH item = nullptr;
    A_Err err = GetActiveLayer(suites, layerIndex, item, entry.layer);
    if (!err && !entry.layer)
        err = A_Err_GENERIC;

    // The anchor point: its value, or its stream when it changes.
    if (!err) {
        double x = 0.0;
        double y = 0.0;
        err = readOrHold(suites, pluginId_, entry.layer, AEGP_LayerStream_ANCHORPOINT, x, y, entry.anchorStream);
        entry.anchor.Set(static_cast<float>(x), static_cast<float>(y));
    }

    // The scales up the parent chain, in the order they multiply.
    AEGP_LayerH link = entry.scales ? entry.layer : nullptr;
    for (int depth = 0; !err && link; ++depth) {
        if (depth > kMaxParentChain) {
            err = A_Err_GENERIC;
            break;
        }
        FollowedLayer::ScaleLink scale;
        double x = 100.0;
        double y = 100.0;
        err = readOrHold(suites, pluginId_, link, AEGP_LayerStream_SCALE, x, y, scale.stream);
        scale.fx = x / 100.0;
        scale.fy = y / 100.0;
        entry.scaleChain.push_back(scale);
        AEGP_LayerH parent = nullptr;
        if (!err)
            err = suites.LayerSuite7()->AEGP_GetLayerParent(link, &parent);
        link = parent;
    }

    if (!err && withStart)
        err = GetWorldPositionAtTime(pluginId_, basicSuite_, layerIndex, entry.start, startTime);
    entry.hasStart = !err && withStart;

    if (err)
        releaseEntry(suites, entry);
    else
        entry.kept = true;
}

FollowedLayer::Sample& FollowedLayers::sampleAt(FollowedLayer& entry, A_Time t)
{
    for (FollowedLayer::Sample& sample : entry.recent)
        if (sample.time.scale != 0 && sameTime(sample.time, t))
            return sample;
    FollowedLayer::Sample& sample = entry.recent[entry.nextSample];
    entry.nextSample = (entry.nextSample + 1) % entry.recent.size();
    sample = FollowedLayer::Sample{};
    sample.time = t;
    return sample;
}

A_Err FollowedLayers::placedAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t,
                               const FollowedLayer::Sample*& result)
{
    FollowedLayer::Sample& sample = sampleAt(entry, t);
    if (!sample.placed) {
        b2Vec2 anchor = entry.anchor;
        if (entry.anchorStream) {
            double x = 0.0;
            double y = 0.0;
            // An unreadable anchor point counts as (0, 0).
            if (GetStreamXYAtTime(suites, pluginId_, entry.anchorStream, t, x, y))
                anchor.SetZero();
            else
                anchor.Set(static_cast<float>(x), static_cast<float>(y));
        }
        if (const A_Err err = suites.LayerSuite7()->AEGP_GetLayerToWorldXform(entry.layer, &t, &sample.matrix))
            return err;
        sample.anchor = anchor;
        sample.placed = true;
    }
    result = &sample;
    return A_Err_NONE;
}

A_Err FollowedLayers::positionAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t, b2Vec2& point)
{
    const FollowedLayer::Sample* sample = nullptr;
    const A_Err err = placedAt(suites, entry, t, sample);
    if (!err)
        point = WorldPointThrough(sample->matrix, sample->anchor, entry.pixelAspect);
    return err;
}

A_Err FollowedLayers::rotationAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t, float& degrees)
{
    const FollowedLayer::Sample* sample = nullptr;
    const A_Err err = placedAt(suites, entry, t, sample);
    if (!err)
        degrees = WorldRotationThrough(sample->matrix);
    return err;
}

A_Err FollowedLayers::worldScaleAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t, float& sx,
                                   float& sy)
{
    FollowedLayer::Sample& sample = sampleAt(entry, t);
    if (!sample.scaled) {
        double fx = 1.0;
        double fy = 1.0;
        for (size_t k = 0; k < entry.scaleChain.size(); ++k) {
            const FollowedLayer::ScaleLink& link = entry.scaleChain[k];
            double x = link.fx;
            double y = link.fy;
            if (link.stream) {
                double px = 100.0;
                double py = 100.0;
                if (const A_Err err = GetStreamXYAtTime(suites, pluginId_, link.stream, t, px, py))
                    return err;
                x = px / 100.0;
                y = py / 100.0;
            }
            if (k == 0) {
                fx = x;
                fy = y;
            } else {
                fx *= x;
                fy *= y;
            }
        }
        sample.sx = std::max(static_cast<float>(std::fabs(fx)), 0.001f);
        sample.sy = std::max(static_cast<float>(std::fabs(fy)), 0.001f);
        sample.scaled = true;
    }
    sx = sample.sx;
    sy = sample.sy;
    return A_Err_NONE;
}

int FollowedLayers::heldStreams() const
{
    int held = 0;
    for (const FollowedLayer& entry : entries_) {
        held += entry.anchorStream ? 1 : 0;
        for (const FollowedLayer::ScaleLink& link : entry.scaleChain)
            held += link.stream ? 1 : 0;
    }
    return held;
}
