// Flattens outlines: curved segments are sampled into straight pieces and
// repeated vertices removed. Both rewrite the outline's points only; the
// tangent lists and flags stay as they were.
#pragma once

#include "model/ShapeDef.h"

// Point at t of the cubic Bezier curve with the four control points c[0..3].
b2Vec2 getBezierPoint(const b2Vec2* c, float t);

// Samples each curved segment (a tangent component above 0.5 at either end)
// at precision - 1 evenly spaced parameters from its start, without its end
// point (the next segment starts there); a straight segment keeps its start
// vertex. A closed outline's closing segment is walked like the others; an
// open outline keeps its last vertex. An outline of two vertices (after
// closing) gets one more sample. Repeated vertices are then removed. The
// vertices as they were are kept in `vertices`. Precision 2 or less leaves
// the outline untouched.
void discretizeShape(ShapeDef& s, int precision);

// Keeps the first occurrence of each vertex (equal within FLT_EPSILON per
// coordinate), wherever later repetitions stand.
void removeDuplicateVertices(ShapeDef& s);
