// Whether two filled areas overlap: each area is the convex pieces of a body
// (its triangles and boxes, a circle as the polygon just inside it), all of
// them in one frame. Two areas overlap when they share some place of positive
// area; edges that touch, or that only differ by rounding, do not count.
#pragma once

#include "model/ShapeDef.h"

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

// Which pieces of the areas may come to share a place of positive area with
// a piece of another area while the areas move, each point of piece j of
// area k staying within grow[k][j] of where it lies now (an area whose list
// is empty stays where it is; a reach that is not a finite number at least 0
// lets it go anywhere). Two pieces at rest are not compared: what they
// share does not change. Entry [k][j] is true for such a piece.
std::vector<std::vector<bool>> piecesThatMayMeet(const std::vector<DrawnPieces>& areas,
                                                 const std::vector<std::vector<double>>& grow);

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
