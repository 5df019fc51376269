// Finds the layers of the active composition that would become one rigid
// body of several outlines: 2-D layers with visible video that have more
// than one mask, and shape layers without a mask with more than one top-level
// vector group (see hasSeveralOutlines).
// The window offers to split these before the scene is built.
#pragma once

#include "separation/SeparationVerdicts.h"

#include "host_api.h"

#include <QStringList>

#include <vector>

enum class SeparationKind;

// Appends the 0-based indices of such layers to `indices`, in layer order,
// each once. Cameras, lights, nulls, adjustment and guide layers, layers with
// their video switch off or not really on, and 3-D layers are passed over.
// The walk ends at the first host error, which is returned; the layers found
// until then stay in the list. Every stream reference is given back.
// `leftOut`, when given, receives one line per layer of several outlines that
// is not offered, saying which and why ("Layer 3 (Shapes): its shapes ...").
// The layers' keyed groups are compared once every layer is read, within
// what telling their needs leaves of `keyedWork`: the layer told to need
// least first, each given at most kMaxComparedWork, and what is left less
// what the layers after it that fit are told to need, and begun only when
// that covers all it is told to need, so that the order of the layers
// decides nothing and a layer is left out only where the work runs out. `kinds`, when given,
// receives how each layer found is split (separationKindOf), in the order of
// `indices`: the split takes the scan's verdict (dispatchSeparation).
A_Err findLayersToSeparate(SPBasicSuite* basic, AEGP_PluginID pluginId, std::vector<int>& indices,
                           QStringList* leftOut = nullptr, double keyedWork = kMaxStartWork,
                           std::vector<SeparationKind>* kinds = nullptr);
