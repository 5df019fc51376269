// Whether the layers a separation by groups makes of a shape layer would draw
// over one another. Each is judged by the body the plug-in builds of it (the
// outlines of a copy holding only its items, see getVectorShapes): the copy
// of a group keeps the fills and strokes of the top level, so a fill that
// painted several groups together paints each copy's group alone.
#pragma once

#include "outlines/SeparableContent.h"

#include "host_api.h"

// Whether two of the layers that `split` makes of the shape layer (one per
// separated group, and the source when it keeps drawing shapes) share a place
// of positive area; edges that touch do not count. Read at time 0 with the
// layer's placement; what cannot be read draws nothing.
bool separatedLayersOverlap(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, const GroupSplit& split);
