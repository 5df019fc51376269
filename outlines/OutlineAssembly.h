// The last steps that the mask, shape-layer and text builders share: sort the
// outlines, triangulate the closed ones, put everything in the body's order,
// convert it to world units about the body and make it safe for the engine.
#pragma once

#include "model/ShapeDef.h"
#include "outlines/OutlineTriangulation.h"

#include <vector>

class QWidget;

// From a builder's working units (pixels) to world units about the body:
// rotate(A (p - origin), rotation) / 100, where A scales per axis and
// shears: A (dx, dy) = (scale.x dx + shear dy, scale.y dy).
struct OutlineFrame {
    b2Vec2 origin{0.0f, 0.0f};
    b2Vec2 scale{1.0f, 1.0f};
    float shear = 0.0f;
    float rotation = 0.0f;  // radians, applied after the scale and shear

    b2Vec2 toWorld(b2Vec2 p) const;
    // The vector v (a tangent) in world units: toWorld without the origin.
    b2Vec2 vectorToWorld(b2Vec2 v) const;
};

// What a builder gathered, in its working units.
struct OutlineSet {
    std::vector<ShapeDef> circles;   // exact circles, radius already in world units
    std::vector<ShapeDef> boxes;     // exact boxes
    std::vector<ShapeDef> outlines;  // every other outline, open and closed, in order
    OutlineFill fill = OutlineFill::Nested;  // how the closed ones make up the area
    // For OutlineFill::Painted: the paint of each entry of `outlines`, in
    // order (entries beyond it: group 0, non-zero).
    std::vector<OutlinePaint> paint{};
};

struct AssembledOutlines {
    // Circles, then boxes, then open outlines, then one closed three-point
    // outline per triangle; boxes and triangles wound for the engine
    // (ClockWise gives 0).
    std::vector<ShapeDef> group;
    // The outlines other than circles and boxes as drawn, open and closed
    // (neither welded nor triangulated), in world units, wound as given,
    // vertices and tangents included: what their strokes follow.
    std::vector<ShapeDef> drawnOutlines;
    int triangleCount = 0;          // triangles in the group
    bool selfIntersecting = false;  // some closed outline crosses itself
    bool filledAsHull = false;      // some closed outline became its convex hull
    // Some point or radius was beyond single precision, before or after the
    // conversion: the group is then left empty rather than built from the
    // rest.
    bool unrepresentable = false;
    // Some outline left nothing in the group: a closed one welded to fewer
    // than three points, or a circle, box or open line the engine would
    // refuse (one under about half a pixel across).
    bool outlineDropped = false;

    bool tooManyPolygons() const;
};

// Closed outlines are welded (consecutive points closer than the weld
// distance once converted become one), those left with fewer than three
// points dropped, and the rest triangulated together with the set's fill
// (GetTriangulation); they are replaced by their triangles. Outlines flagged
// circle or box in `outlines` are ignored. After the conversion each
// outline's points are in reverse order, and whatever the engine would refuse
// is dropped (makeOutlinesSafe). Tangent lists are left as they were.
AssembledOutlines assembleOutlines(QWidget* parent, const OutlineSet& set, bool hull, const OutlineFrame& frame);
