// Triangulation of the closed outlines of one layer, holes included.
#pragma once

#include "model/A_Triangle.h"
#include "model/ShapeDef.h"

#include <vector>

class QWidget;

// How the closed outlines of one layer make up its area. Each outline on its
// own covers the points it encloses an odd number of times, so a
// self-crossing outline covers both lobes of a figure eight and not the
// middle of a pentagram.
enum class OutlineFill {
    // Outlines lying inside another (by their first vertex)
    // are holes of every outline that holds them: an outer outline covers
    // what lies inside it and inside none of its holes. An island inside a
    // hole gets no triangles, outlines that lie inside another outline are
    // never outer outlines themselves, and overlapping outer outlines cover
    // their overlap once.
    Nested,
    // Every outline adds: the area is the union of the outlines, whatever
    // their start vertices and directions.
    Union,
    // The masks of a layer: an outline lying wholly inside another (every
    // point it covers is covered by the other, and not the other way round)
    // is a hole; the area is what the other outlines cover and no hole does.
    // Outlines that cross add.
    Masks,
    // Painted outlines (shape layers, text): the outlines of one paint group
    // fill together by the group's rule, and the groups add (see
    // OutlinePaint).
    Painted,
};

// How a painted area is decided from the outlines of one group. Non-zero: a
// point is covered when the outlines around it, each counted +1 or -1 by its
// direction, do not cancel (an inner outline wound the other way is a hole,
// wound the same way it adds); even-odd: when an odd number of them is
// around it (nested outlines alternate).
enum class FillRule { NonZero, EvenOdd };

// One paint group: a number naming it and the rule its outlines fill by.
struct PaintGroup {
    int id = 0;
    FillRule rule = FillRule::NonZero;
};

// The paint groups that one outline takes part in, one for each fill that
// paints it (none: group 0, non-zero).
struct OutlinePaint {
    std::vector<PaintGroup> groups;
};

// What the triangulation did beyond the triangles.
struct TriangulationReport {
    // Some outline that was triangulated as drawn crosses itself.
    bool selfIntersecting = false;
    // Some outline crossed itself or the others so often that it was filled
    // as its convex hull.
    bool filledAsHull = false;
};

// Triangulates the closed outlines together and appends the triangles to
// `triangles`, grouped by the outline that covers them (for a union, masks
// and paint the first one that does) in the outlines' order. Outlines may
// cross themselves and each other; a self-crossing outline sets
// `selfIntersecting` and is still triangulated. An outline crossing itself
// or the others so often that its crossings would cost more than its size
// is filled as its convex hull instead (all of them as one hull after a
// few), and sets `filledAsHull` of the report, not `selfIntersecting`.
// Outlines of fewer than three points are ignored. `triangles` is not
// cleared and the flags are never reset. `paint` gives each outline's paint
// groups for OutlineFill::Painted (an outline beyond it: group 0, non-zero).
// The parent and the hull flag are not used. Triangle corners run
// counter-clockwise in a y-up frame (ClockWise gives 0).
void GetTriangulation(QWidget* parent, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool hull, TriangulationReport& report, OutlineFill fill = OutlineFill::Nested,
                      const std::vector<OutlinePaint>& paint = {});
// The same with the two flags folded into one.
void GetTriangulation(QWidget* parent, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool hull, bool& selfIntersecting, OutlineFill fill = OutlineFill::Nested);
