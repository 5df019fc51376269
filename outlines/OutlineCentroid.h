// The centre of an outline's points, finite for every finite input.
#pragma once

#include <box2d/box2d.h>

#include <vector>

// vertexMean, or exactly two points: the mean of the points. Otherwise the
// area-weighted centroid of the closed polygon; when its area is too small to
// give a centre (collinear or repeated points), the mean of the points. An
// empty list gives (0, 0).
b2Vec2 outlineCentroid(const std::vector<b2Vec2>& points, bool vertexMean);
