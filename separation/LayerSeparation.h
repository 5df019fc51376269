// Splitting a layer that would become one body of several outlines into one
// layer per outline, before the scene is built:
// - by masks: copies of the layer, one mask each, named after the mask;
// - by shape groups: one new shape layer per top-level vector group, named
//   after the group.
//
// Each layer is all or nothing: when a host call fails, every layer made for
// it is deleted again, the source layer is left as it was, and a message
// names the layer and the call. Both run inside the caller's undo group.
// Progress goes to a callback: (0, n) before the first mask or top-level item,
// then (k, n) as item k of n is worked on.
#pragma once

#include "host_api.h"
#include "separation/SeparableContent.h"

#include <functional>
#include <vector>

using SeparationProgress = std::function<void(int done, int total)>;

// The active composition's layer `layerIndex` (0-based) becomes one layer per
// mask that is switched on, at layerIndex, layerIndex + 1, ... in mask order,
// each a copy of the layer that carries that one mask, of the same name, as it
// is at time 0 (outline, feather, opacity, expansion and the mask's lock
// state; mode, inversion and colour are the host's defaults). The source layer
// stays below them with its video switched off, and keeps every mask, those
// switched off included. A layer without a mask group, or without a mask that
// is switched on, is left alone, silently.
// Returns the first host error (already reported).
A_Err separateLayerMasks(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex,
                         const SeparationProgress& progress = {});

// The active composition's shape layer `layerIndex` becomes one layer per
// top-level "ADBE Vector Group" that draws (see groupDraws), next to it in
// group order, named after the group. Each is a copy of the layer without
// its other groups and without the shapes outside groups: it keeps the
// layer's time span, switches, label, parent, transform with its keys, masks
// and effects, and the top-level fills, strokes and other items that painted
// the group, so that it draws what the group drew at every frame. A group
// that is switched off or holds nothing that draws stays on the source only.
// The layers go directly below the source; but when the top level holds
// shapes outside any group that are switched on, the source keeps those and
// loses the separated groups, the groups listed before those shapes go above
// it and those after below it, and a group listed between two of them stays
// on it. Otherwise the source's video is switched off.
// A layer with a mask that is switched on is not given here (see
// separationKindOf): each copy would keep the mask and so become the mask's
// body, stacked on the others.
// Returns the first host error (already reported).
A_Err separateLayerShapes(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex,
                          const SeparationProgress& progress = {});

// Separates the active composition's layer `layerIndex` as the scan judged
// it (`kind`, see findLayersToSeparate and separationKindOf), without
// judging it again: by groups through `byShapes`, by masks through
// `byMasks`; a shape layer whose shapes are all outside groups is left as it
// is, with a message saying so; a layer of no kind is left alone. Returns
// `kind`.
SeparationKind dispatchSeparation(SPBasicSuite* basic, AEGP_PluginID pluginId, int layerIndex, SeparationKind kind,
                                  const std::function<void(int)>& byMasks, const std::function<void(int)>& byShapes);

// The layer indices to separate for the selected rows of a list whose row r
// offers layer `offered[r]`: each layer once, the highest index first, so
// that layers made for one never move the ones still to do. Rows outside the
// list are passed over.
std::vector<int> layerIndicesToSeparate(const std::vector<int>& selectedRows, const std::vector<int>& offered);
