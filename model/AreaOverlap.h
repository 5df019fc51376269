// Whether two filled areas overlap: each area is the convex pieces of a body
// (its triangles and boxes, a circle as the polygon just inside it), all of
// them in one frame. Two areas overlap when they share some place of positive
// area; edges that touch, or that only differ by rounding, do not count.
#pragma once

#include "model/ShapeDef.h"

#include <utility>
#include <vector>

// How finely curves are cut into lines when drawn areas are compared: as a
// body of the default mesh precision is built.
constexpr int kOverlapPrecision = 4;

// A point of a drawn area, in double precision.
struct AreaPoint {
    double x = 0.0;
    double y = 0.0;
};

struct DrawnPieces {
    using Point = AreaPoint;
    // Convex polygons, either winding, none of them overlapping another.
    std::vector<std::vector<Point>> pieces;

    // Adds the closed outlines of a body's outline group shifted by
    // `offset`: triangles and boxes as they are, each circle as a polygon of
    // kCircleSides sides inside it. Open outlines cover nothing.
    void addGroup(const std::vector<ShapeDef>& group, AreaPoint offset = AreaPoint());
    double area() const;
    bool empty() const { return pieces.empty(); }

    static constexpr int kCircleSides = 32;
};

// What lies within `reach` of the segment from a to b, every way: a box
// about it, reaching that far beyond each end and each side.
std::vector<AreaPoint> edgeBox(AreaPoint a, AreaPoint b, double reach);

// The area the two share, without the slivers that touching edges leave
// (pieces whose shared part is thinner than `touch` on average).
double sharedArea(const DrawnPieces& a, const DrawnPieces& b, double touch);

// Whether they share more than rounding could make of edges that touch, in
// world units (a hundredth of a pixel wide and a hundredth of a square pixel).
bool areasOverlap(const DrawnPieces& a, const DrawnPieces& b);

// Whether some two of the areas overlap as areasOverlap says. The cost
// follows the pieces and those whose boxes meet, not the pairs of areas: rings
// nested in one another cost about what the same rings side by side do.
bool someAreasOverlap(const std::vector<DrawnPieces>& areas);

// Where a piece of area `area` may lie from frame `first` to frame `last`:
// a box holding it at every frame between. A still box is of a piece that
// does not move; two still boxes are not compared, what they share does not
// change.
struct SpanBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    double first = 0.0, last = 0.0;
    size_t area = 0;
    bool still = false;
};

// The pairs of `boxes` (indices, in no set order) of different areas, not
// both still, that share a place of positive area over some frame both
// span, found in one sweep like that of someAreasOverlap. `work` counts, as
// pieces compared do, a pair found as one, a box sorted and two boxes looked
// at as a twentieth; the sweep stops once it passes `most`, and false is
// returned.
bool boxesThatMeet(const std::vector<SpanBox>& boxes, std::vector<std::pair<size_t, size_t>>& pairs, double& work,
                   double most);

// The convex hull of `points`, counter-clockwise.
std::vector<AreaPoint> convexHull(std::vector<AreaPoint> points);

// The convex piece `p` grown by at least `reach` every way (and a little
// more: by the octagon whose inner circle has that radius), counter-clockwise,
// in time linear in its corners; empty when `reach` is no length, or nothing
// is left.
std::vector<AreaPoint> grownPiece(const std::vector<AreaPoint>& p, double reach);

// Whether the convex piece `p`, grown by `reach` every way, shares a place of
// positive area with the convex piece `q` (either winding).
bool grownPieceMeets(const std::vector<AreaPoint>& p, double reach, const std::vector<AreaPoint>& q);

// Whether `inner` lies inside `outer` (all of it, up to rounding) while
// `outer` reaches beyond it: a hole of the one body they make.
bool liesInside(const DrawnPieces& inner, const DrawnPieces& outer);

// Two areas that overlap as areasOverlap says: their indices, the earlier
// first. firstOverlap finds the first such pair its sweep meets (the sweep
// of someAreasOverlap, which stops there), so a verdict that one overlap
// settles costs no more than someAreasOverlap; found is false when no two
// overlap.
struct AreaPair {
    bool found = false;
    size_t first = 0;
    size_t second = 0;
};
AreaPair firstOverlap(const std::vector<DrawnPieces>& areas);
