// Where a shape item's points land in the composition: through the item's
// group chain into the layer, then through the layer's layer-to-world matrix,
// x times the composition's pixel aspect ratio. Every shape item is placed
// this way, so that all items of a layer agree with each other and with what
// the host draws.
#pragma once

#include "outlines/ShapeGroups.h"

struct ItemPlacement {
    GroupChain chain;            // the enclosing groups
    float groupRotation = 0.0f;  // radians, the groups' rotations summed
    A_Matrix4 matrix{};          // layer to world at time 0
    double pixelAspect = 1.0;    // of the composition

    ItemPlacement();

    // A point in the item's own pixels, in composition pixels.
    b2Vec2 place(b2Vec2 itemPoint) const;
    // A vector in the item's own axes (a tangent), in composition pixels.
    b2Vec2 placeVector(b2Vec2 v) const;
    // Whether the groups draw the item with an area: their composed map is
    // finite and flattens nothing (no scale of 0).
    bool drawsArea() const;
};

// Runs the group chain of `item` and reads the layer's matrix and the
// composition's pixel aspect ratio. Returns the first host error.
A_Err readItemPlacement(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                        ItemPlacement& placement);
