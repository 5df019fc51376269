// Whether a closed outline of a layer crosses itself, and how it winds there.
#pragma once

#include "model/ShapeDef.h"

#include <vector>

// Whether two edges of the closed outline cross strictly inside both
// (segmentsIntersect); edges that share a vertex and collinear overlaps do not
// count. Outlines of fewer than four points never cross.
bool isSelfIntersectingShape(const ShapeDef& s);

// Whether the closed outline through `points` is simple: no two of its edges
// meet but those that follow one another, at the vertex they share. Exact,
// in n log n steps (defined beside the triangulation, the file that holds
// CGAL).
bool isSimpleOutline(const std::vector<b2Vec2>& points);

// How the closed outline winds round the places it encloses, counted
// exactly, whatever it crosses or touches (a vertex on another of its edges,
// the closing one included, or an edge run over twice): whether it winds
// round some place twice or more either way (a pentagram's centre, a coil's),
// whether it winds round places both ways (a figure eight's lobes), and
// whether two of its edges cross (isSelfIntersectingShape). All are set past
// a few hundred crossings, and for an outline whose points are not all
// finite. A simple outline is told in n log n steps, however many its
// points.
struct OutlineWinding {
    bool twice = false, bothWays = false, crosses = false;
};
OutlineWinding windingOf(const ShapeDef& s);
