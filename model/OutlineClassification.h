// Recognises outlines that one exact physics shape can stand for. Tolerances
// are absolute, in the caller's units (the outline builders work in layer
// pixels). A tangent missing from a shorter tangent list counts as zero.
#pragma once

#include "model/ShapeDef.h"

// Four vertices, no tangent component above 0.001, the diagonals bisect each
// other and the corner at the second vertex is a right angle. The corner test
// works on slopes; a vertical edge counts only when it runs towards larger y
// and its slope exceeds 9999 (see the implementation), so an axis-aligned
// rectangle is recognised for some vertex orders only. A missed box is simply
// triangulated.
bool isBox(ShapeDef s);

// Four vertices on two diagonals of equal length (within 0.01) carrying the
// tangents of four quarter arcs: horizontal at the first and third vertex,
// vertical at the others, of magnitude 0.5522848 * radius (within 0.01, signs
// ignored). radius is written as half the first diagonal once the diagonals
// match, even when the tangents then fail.
bool isCircle(ShapeDef s, float& radius);
