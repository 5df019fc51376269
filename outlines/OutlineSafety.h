// The last pass over a body's finished outlines (world units, relative to the
// body): whatever the physics engine would refuse is welded or dropped here.
// See OutlineLimits.h for the margins.
#pragma once

#include "model/ShapeDef.h"

#include <vector>

// Finite and within the coordinate limit.
bool isUsablePoint(b2Vec2 p);

// Whether b2PolygonShape::Set takes these points without complaint: 3 to
// b2_maxPolygonVertices usable points, no two closer than the weld distance,
// and a convex hull of enough area that is not too thin.
bool isSafePolygon(const std::vector<b2Vec2>& points);

// The points with every point dropped that `keep` refuses or that `close`
// finds too near the point kept before it. For a closed outline the last kept
// point must not be close to the first either.
template <class Keep, class Close>
std::vector<b2Vec2> weldPointsWith(const std::vector<b2Vec2>& points, bool closed, Keep keep, Close close)
{
    std::vector<b2Vec2> kept;
    kept.reserve(points.size());
    for (const b2Vec2& p : points)
        if (keep(p) && (kept.empty() || !close(p, kept.back())))
            kept.push_back(p);
    if (closed)
        while (kept.size() > 1 && close(kept.back(), kept.front()))
            kept.pop_back();
    return kept;
}

// The points of a line with every point dropped that lies within the weld
// distance of the point kept before it, that is not usable, or that lies
// beyond kMaxLineCoordinate. For a closed outline the last kept point must
// also keep that distance from the first.
std::vector<b2Vec2> weldPoints(const std::vector<b2Vec2>& points, bool closed);

// Drops from the group every circle, box and triangle that the physics engine
// would refuse, and welds open outlines, dropping those left with fewer than
// two points. Tangent lists are left as they are.
void makeOutlinesSafe(std::vector<ShapeDef>& group);

// Grows the axis-aligned box of a layer about its middle until each side is
// at least kMinLayerBoxSide long, so that even a layer scaled to nothing keeps
// a body the engine accepts. The corners come back in the order top left, top
// right, bottom right, bottom left; corners that are not usable make a box of
// the smallest size at the origin, and the result is false.
bool makeLayerBoxSafe(ShapeDef& box);
