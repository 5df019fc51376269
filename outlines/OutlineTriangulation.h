// Triangulation of the closed outlines of one layer, holes included.
#pragma once

#include "model/A_Triangle.h"
#include "model/ShapeDef.h"

#include <vector>

class QWidget;

// How the closed outlines of one layer make up its area. Either way each
// outline on its own covers the points it encloses an odd number of times, so
// a self-crossing outline covers both lobes of a figure eight and not the
// middle of a pentagram.
enum class OutlineFill {
    // Outlines lying inside another (by their first vertex: isHole, hasHoles)
    // are holes of every outline that holds them: an outer outline covers
    // what lies inside it and inside none of its holes. An island inside a
    // hole gets no triangles, outlines that lie inside another outline are
    // never outer outlines themselves, and overlapping outer outlines cover
    // their overlap once.
    Nested,
    // Every outline adds: the area is the union of the outlines, whatever
    // their start vertices and directions (the masks of one layer).
    Union,
};

// Triangulates the closed outlines together and appends the triangles to
// `triangles`, grouped by the outline that covers them (for a union the first
// one that does) in the outlines' order. Outlines may cross themselves and
// each other; a self-crossing outline sets `selfIntersecting` and is still
// triangulated. An outline crossing itself or the others so often that its
// crossings would cost more than its size is filled as its convex hull
// instead, and sets `selfIntersecting` too. Outlines of fewer than three
// points are ignored. `triangles` is not cleared and `selfIntersecting` never
// reset. The parent and the hull flag are not used.
// Triangle corners run counter-clockwise in a y-up frame (ClockWise gives 0).
void GetTriangulation(QWidget* parent, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool hull, bool& selfIntersecting, OutlineFill fill = OutlineFill::Nested);
