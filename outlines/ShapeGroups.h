// Shape-layer groups: the transform of one group and the group chain, which
// composes the transforms of the groups enclosing a shape item.
#pragma once

#include "outlines/HostStreams.h"

#include "host_api.h"

#include <box2d/box2d.h>

#include <memory>

// The transform of one shape group, as the host shows it.
struct Transform {
    b2Vec2 anchor{0.0f, 0.0f};    // group pixels
    b2Vec2 position{0.0f, 0.0f};  // pixels of the enclosing group
    b2Vec2 scale{1.0f, 1.0f};     // factors, 1 = 100 %
    double rotation = 0.0;        // degrees
};

// An affine map of the plane: (x, y) becomes (a x + b y + tx, c x + d y + ty).
struct GroupMatrix {
    double a = 1.0, b = 0.0, c = 0.0, d = 1.0;
    double tx = 0.0, ty = 0.0;

    // Where a group puts the points of its contents, as the host draws them:
    // p becomes R S (p - anchor) + position (scale first, then rotation).
    static GroupMatrix of(const Transform& t);
    // This map applied after `inner`.
    GroupMatrix after(const GroupMatrix& inner) const;

    b2Vec2 map(b2Vec2 p) const;
    void map(double x, double y, double& outX, double& outY) const;
    // A vector (a tangent, an offset): the map without its translation.
    b2Vec2 mapVector(b2Vec2 v) const;

    double determinant() const { return a * d - b * c; }
    // The map that takes its images back where they came from; false when
    // it has none (or it is not finite).
    bool inverse(GroupMatrix& inv) const;
    bool isFinite() const;
    // Whether the map keeps shapes (a turn and one scale for both axes,
    // mirrored or not), so that a circle stays a circle.
    bool keepsShapes() const;
    // The factor by which it scales lengths when it keeps shapes.
    double uniformScale() const;
};

// The transform of a group: the values of its last "ADBE Vector Transform
// Group" child, read at time 0 (or the StreamReadTime); read again at
// another time, only the values that vary are read.
class GroupTransformReader
{
public:
    GroupTransformReader(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId);

    // Finds the values and reads them all; a value missing is an error.
    A_Err open(AEGP_StreamRefH group);
    // Reads again the values that vary.
    A_Err read();
    // The values read; the defaults when the group has no transform.
    Transform transform() const;

private:
    static constexpr size_t kValues = 4;

    A_Err read(size_t k);

    const AEGP_SuiteHandler& suites_;
    AEGP_PluginID pluginId_;
    ScopedStream transform_;
    std::unique_ptr<ScopedStream> values_[kValues];
    bool varies_[kValues] = {true, true, true, true};
    bool variesKnown_ = false;
    AEGP_StreamVal2 read_[kValues] = {};
};

// The group's transform as GroupTransformReader reads it at time 0; the
// defaults when it has none or it cannot be read.
Transform getVectorGroupTransform(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH group);

// What the group chain of a shape item yields.
struct GroupChain {
    // From the item's own pixels to the layer's: every enclosing group's
    // transform, innermost first.
    GroupMatrix toLayer;
    // The groups' rotations summed (degrees) and their scales multiplied
    // per axis, as the readers report them.
    double rotation = 0.0;
    b2Vec2 scale{1.0f, 1.0f};
};

// The group chain of a shape item: from the item's parent up to (not
// including) "ADBE Root Vectors Group" or a property of depth 0, each
// group's transform composed onto those inside it. `groupRotation` receives
// the summed rotation in radians. Returns the first host error; what was
// composed until then stands.
A_Err accumulateGroupChain(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH item, GroupChain& chain,
                           float& groupRotation);
