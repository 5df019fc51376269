// Whether the layers a separation by groups makes of a shape layer would draw
// over one another. Each is judged by the body the plug-in builds of it (the
// outlines of a copy holding only its items, see getVectorShapes): the copy
// of a group keeps the fills and strokes of the top level, so a fill that
// painted several groups together paints each copy's group alone.
#pragma once

#include "outlines/SeparableContent.h"

#include "host_api.h"

// The most work spent comparing keyed groups after time 0 (about a second),
// counted in pieces compared over the frames their keys span: at each frame
// every piece compared counts once, a piece built again as 20 and reading
// where a keyed group lies as 8.
constexpr double kMaxComparedWork = 5e6;

// How two of the layers that `split` makes of the shape layer (one per
// separated group, and the source when it keeps drawing shapes) meet. They
// overlap when their areas share a place of positive area; edges that touch
// do not count. When the layer is not fully opaque at some time, each area
// takes in what its strokes may cover (half the width from the outlines, a
// mitred corner's point included). They are compared at time 0 and, when
// what they hold is keyed, at every frame of the composition from the first
// key to the last (KeyedTooLong when that is more work than
// kMaxComparedWork); the layer's own transform places all of them alike and
// is taken at time 0. What cannot be read draws nothing.
//
// After time 0 only the pairs holding a keyed copy are compared. A copy
// whose group's own transform alone is keyed keeps its pieces of time 0 and
// moves them as the transform does; one keyed otherwise is built again at
// each frame. A piece is compared at a frame only when, grown by as far as
// the keys move it, it may meet a piece of another copy, so that copies
// whose paths stay apart cost one comparison, however long their keys.
GroupsMeet separatedLayersMeet(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split);
