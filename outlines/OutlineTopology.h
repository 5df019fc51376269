// Whether a closed outline of a layer crosses itself, and how it winds there.
#pragma once

#include "model/ShapeDef.h"

#include <vector>

// Whether two edges of the closed outline cross strictly inside both
// (segmentsIntersect); edges that share a vertex and collinear overlaps do not
// count. Outlines of fewer than four points never cross.
bool isSelfIntersectingShape(const ShapeDef& s);

// Whether the closed outline winds round some place twice either way (a
// pentagram's centre), looking about its crossings as isSelfIntersectingShape
// finds them: about two edges that cross it winds round r, r + 1, r + 1 and
// r + 2 times (r right of both), within once either way only for r = -1.
// False when it does not cross itself; true past a few hundred crossings.
bool windsRoundTwice(const ShapeDef& s);
