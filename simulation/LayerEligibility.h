// Which layers of the composition become bodies: a layer that is not a light
// or a camera, has its video switch on and its video really on, is not a
// null, adjustment, guide or three-dimensional layer, and, for an
// audio-video layer, has a source at least one pixel wide or high.
#pragma once

#include "host/AEGP_SuiteHandler.h"

struct LayerKind {
    bool eligible = false;
    AEGP_ObjectType objectType = AEGP_ObjectType_AV;
    int label = 0;  // 0 none, 1 to 16; anything else counts as none
};

// Reads what decides eligibility, chained on the first host error (which is
// returned, the layer then not eligible).
A_Err ReadLayerKind(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, LayerKind& kind);
