// How the masks of a layer meet: whether a copy of the layer per mask would
// change what the layer draws.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "separation/SeparationVerdicts.h"

#include "host_api.h"

// How the masks that are switched on among the children of the mask group
// `parade` meet, each closed one taken alone as the body of a copy of the
// layer holding only that mask would be; `meet` is left as it is when they
// lie apart. Modes are not read here (they are plain Add masks when a layer
// is split by masks). An open path cuts nothing out of the layer (Open).
// Otherwise the first two masks the sweep of firstOverlap finds sharing a
// place settle it: one lying wholly inside the other is a hole of the one
// body they make (see getMasks), else they cross. When they lie apart, each
// is grown by its expansion and half its feather, as the host draws it, at
// any opacity, and two of them meeting so leave the layer whole too
// (EdgesMeet). Else two closer than `touch` layer pixels make bodies that
// touch (Touch). Masks are read at time 0; the first host error is returned.
A_Err readMaskOverlap(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parade,
                      MasksMeet& meet, double touch = 0.0);
