// Whether the layers a separation by groups makes of a shape layer would draw
// over one another. Each is judged by the body the plug-in builds of it (the
// outlines of a copy holding only its items, see getVectorShapes): the copy
// of a group keeps the fills and strokes of the top level, so a fill that
// painted several groups together paints each copy's group alone.
#pragma once

#include "outlines/SeparableContent.h"

#include "host_api.h"

// The most frames at which keyed groups are compared one by one, each
// keyed group's frames counted (each is built again at each of them).
constexpr int kMaxComparedFrames = 5000;

// How two of the layers that `split` makes of the shape layer (one per
// separated group, and the source when it keeps drawing shapes) meet. They
// overlap when their areas share a place of positive area; edges that touch
// do not count. When the layer is not fully opaque at some time, each area
// takes in what its strokes may cover (half the width from the outlines, a
// mitred corner's point included). They are compared at time 0 and, when
// their contents are keyed, at every frame of the composition from the first
// key to the last (KeyedTooLong beyond kMaxComparedFrames); the layer's own
// transform places all of them alike and is taken at time 0. What cannot be
// read draws nothing.
GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split);
