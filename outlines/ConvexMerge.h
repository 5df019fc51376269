// Fewer, larger convex polygons for the physics: the triangles of an outline
// merged into convex pieces (Hertel-Mehlhorn). Each edge two triangles share
// is removed when the merged piece stays strictly convex and has at most
// `maxVertices` vertices; the pieces cover exactly the triangles, so their
// area and centroid are the triangles'.
#pragma once

#include <box2d/b2_math.h>

#include <array>
#include <vector>

using Triangle = std::array<b2Vec2, 3>;

struct ConvexPiece {
    std::vector<b2Vec2> vertices;  // counter-clockwise
    std::vector<int> triangles;    // indices into the input, in merge order
};

// Neighbouring triangles are those with an edge of exactly equal end
// points, as a triangulation gives them. Triangles without area stay pieces
// of their own.
std::vector<ConvexPiece> mergeIntoConvexPieces(const std::vector<Triangle>& triangles, int maxVertices);
