// Convex hull by gift wrapping. The hull starts at the point of largest x
// (smallest y among equals), runs counter-clockwise in a y-up frame
// (ClockWise gives 0), does not repeat its first point and drops points lying
// on a hull edge. An empty list gives an empty hull. The walk stops after as
// many steps as there are points, or when it would revisit a point, so
// rounding on near-collinear input cannot make it run forever.
#pragma once

#include <box2d/box2d.h>

#include <vector>

std::vector<b2Vec2> getHull(std::vector<b2Vec2> pts);
