// Triangulation of the closed outlines of one layer, holes included.
#pragma once

#include "model/A_Triangle.h"
#include "model/ShapeDef.h"

#include <vector>

class QWidget;

// Triangulates each outer outline together with the outlines lying inside it
// (by their first vertex: isHole, hasHoles) and appends the triangles, outline
// by outline, to `triangles`. Only the region between an outer outline and its
// holes is covered: an island inside a hole gets no triangles, and outlines
// that lie inside another outline are never outer outlines themselves.
// Outlines may cross themselves and each other; a self-crossing outline sets
// `selfIntersecting` and is still triangulated. Outlines of fewer than three
// points are ignored. `triangles` is not cleared and `selfIntersecting` never
// reset. The parent and the hull flag are not used.
// Triangle corners run counter-clockwise in a y-up frame (ClockWise gives 0).
void GetTriangulation(QWidget* parent, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool hull, bool& selfIntersecting);
