// Shape-layer groups: the transform of one group and the group chain, which
// adds up the transforms of the groups enclosing a shape item.
#pragma once

#include "host_api.h"

#include <box2d/box2d.h>

// The transform of one shape group, as the host shows it.
struct Transform {
    b2Vec2 anchor{0.0f, 0.0f};    // group pixels
    b2Vec2 position{0.0f, 0.0f};  // pixels of the enclosing group
    b2Vec2 scale{1.0f, 1.0f};     // factors, 1 = 100 %
    double rotation = 0.0;        // degrees
};

// The values of the group's "ADBE Vector Transform Group" at time 0 (a later
// such child overwrites an earlier one); the defaults when it has none.
Transform getVectorGroupTransform(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH group);

// The group chain of a shape item: from the item's parent up to (not
// including) "ADBE Root Vectors Group" or a property of depth 0, anchors,
// positions and rotations summed and scales multiplied per component.
// `groupRotation` receives the summed rotation in radians. Returns the first
// host error; what was summed until then stands.
A_Err accumulateGroupChain(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH item, Transform& acc,
                           float& groupRotation);
