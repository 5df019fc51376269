// What following the layers of Kinematic and AEmatic bodies reads from the
// host once per scene instead of on every tick: per followed record, the
// layer's last key and whether its world rotation and scale can change, and,
// when the layer could be read completely, its handle, its anchor point (or
// the stream to read it from when it is keyed or driven), the scales of the
// layer and its ancestors (or their streams) and, for an AEmatic body, its
// world position at time 0.
//
// A tick then asks the host only for what changes with time: the layer's
// layer-to-world matrix and the values of the held streams. The answers for
// the last few times are kept, so a time that an earlier query of the tick
// or the previous tick's "next frame" already asked about is not asked again.
//
// The held stream references are disposed by release(), which the scene's
// next set-up, anything that writes into the layers and the owner's
// destruction call. A record that is not kept is followed by asking the host
// everything on every tick.
#pragma once

#include "host_api.h"

#include <box2d/b2_math.h>

#include <array>
#include <vector>

class AEGP_SuiteHandler;

struct FollowedLayer {
    // Read for every followed record.
    bool followed = false;
    int lastKeyFrame = -1;
    bool turns = true;   // its world rotation can change
    bool scales = true;  // its world scale can change

    // The rest is there only when kept.
    bool kept = false;
    AEGP_LayerH layer = nullptr;
    double pixelAspect = 1.0;  // the composition's
    b2Vec2 anchor{0.0f, 0.0f};
    AEGP_StreamRefH anchorStream = nullptr;  // held when the anchor point changes
    struct ScaleLink {
        double fx = 1.0;  // the factor (1 is 100 %) when it does not change
        double fy = 1.0;
        AEGP_StreamRefH stream = nullptr;  // held when it does
    };
    // The layer's scale, then its parent's and so on; only when `scales`.
    std::vector<ScaleLink> scaleChain;
    // An AEmatic body's layer: its world position at time 0.
    bool hasStart = false;
    b2Vec2 start{0.0f, 0.0f};

    // The answers for the last times asked about.
    struct Sample {
        A_Time time{0, 0};  // scale 0: empty
        bool placed = false;
        A_Matrix4 matrix{};  // layer to world
        b2Vec2 anchor{0.0f, 0.0f};
        bool scaled = false;
        float sx = 1.0f;
        float sy = 1.0f;
    };
    std::array<Sample, 4> recent{};
    size_t nextSample = 0;
};

class FollowedLayers
{
public:
    FollowedLayers(SPBasicSuite* basicSuite, int pluginId);
    ~FollowedLayers();
    FollowedLayers(const FollowedLayers&) = delete;
    FollowedLayers& operator=(const FollowedLayers&) = delete;

    // Room for `count` records, none followed; what was held is released.
    void reset(size_t count);
    // Disposes every held stream and forgets every record; stale() is true
    // until the next reset().
    void release();
    bool stale() const { return stale_; }

    // The record's entry, or null when it is not followed.
    FollowedLayer* find(size_t record);
    const FollowedLayer* find(size_t record) const;
    // Marks the record followed with what was read about its layer.
    FollowedLayer& follow(size_t record, int lastKeyFrame, bool turns, bool scales);
    // Reads and keeps the handle, anchor point, scale chain (when the entry
    // scales) and, with `withStart`, the world position at `startTime` of
    // the active composition's layer `layerIndex`, whose pixel aspect ratio
    // is `pixelAspect`. On any host failure nothing is kept.
    void keep(FollowedLayer& entry, int layerIndex, double pixelAspect, bool withStart, A_Time startTime);

    // A kept layer's anchor point in the composition (x times the pixel
    // aspect ratio) and its world rotation in degrees at t, as
    // GetWorldPositionAtTime and GetWorldRotationAtTime give them.
    A_Err positionAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t, b2Vec2& point);
    A_Err rotationAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t, float& degrees);
    // A kept layer's world scale at t, as GetWorldScaleAtTime gives it.
    A_Err worldScaleAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t, float& sx, float& sy);

    // Stream references held now (for tests).
    int heldStreams() const;

private:
    FollowedLayer::Sample& sampleAt(FollowedLayer& entry, A_Time t);
    // The sample at t with its matrix and anchor point read.
    A_Err placedAt(const AEGP_SuiteHandler& suites, FollowedLayer& entry, A_Time t,
                   const FollowedLayer::Sample*& sample);
    void releaseEntry(const AEGP_SuiteHandler& suites, FollowedLayer& entry);

    SPBasicSuite* basicSuite_;
    int pluginId_;
    std::vector<FollowedLayer> entries_;
    bool stale_ = true;
};
