// Whether a closed outline of a layer crosses itself.
#pragma once

#include "model/ShapeDef.h"

#include <vector>

// Whether two edges of the closed outline cross strictly inside both
// (segmentsIntersect); edges that share a vertex and collinear overlaps do not
// count. Outlines of fewer than four points never cross.
bool isSelfIntersectingShape(const ShapeDef& s);
