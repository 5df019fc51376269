// The shapes the scene makes of a body's outlines, which become its
// fixtures, and whether they give it a mass to move by.
#pragma once

#include "model/ShapeDef.h"
#include "outlines/ConvexMerge.h"

#include <box2d/box2d.h>

#include <functional>
#include <vector>

// Hands `add` the shapes the scene makes of one outline of a body that is
// not a layer box, with the skin `skin`: a circle, a box whose sides'
// product is above a ten-thousandth of a square world unit (a square pixel),
// or the pieces of an open line `lineWidth` wide. A closed outline's
// triangle whose area is above a hundred-thousandth is gathered in
// `triangles`, to be merged into convex pieces. What Box2D would refuse is
// left out. Returns whether the outline is an open line.
bool addOutlineShapes(const ShapeDef& shape, float lineWidth, float skin, std::vector<Triangle>& triangles,
                      const std::function<bool(const b2Shape&)>& add);

// Whether a dynamic body of `outlines` (about its origin, as its record
// keeps them) gets a mass from its shapes that Box2D can move it by: a body
// without one, or too small for its distance from its origin, keeps its
// place.
bool outlinesMakeMovingBody(const std::vector<std::vector<ShapeDef>>& outlines, float lineWidth, float skin);
