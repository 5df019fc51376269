// How the closed outlines of one layer relate: whether an outline crosses
// itself, and which outlines lie inside which, judged by their first vertex.
#pragma once

#include "model/ShapeDef.h"

#include <vector>

// Whether two edges of the closed outline cross strictly inside both
// (segmentsIntersect); edges that share a vertex and collinear overlaps do not
// count. Outlines of fewer than four points never cross.
bool isSelfIntersectingShape(const ShapeDef& s);

// Whether the first vertex of outline k lies inside some other outline of the
// list. An empty outline is inside nothing and contains nothing.
bool isHole(int k, const std::vector<ShapeDef>& outlines);

// The indices, in increasing order, of the other outlines whose first vertex
// lies inside outline k.
std::vector<int> hasHoles(int k, const std::vector<ShapeDef>& outlines);
