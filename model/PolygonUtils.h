// Stateless polygon and point helpers: orientation, centroids, segment and
// point-in-polygon predicates, and a few small geometric utilities.
#pragma once

#include <box2d/box2d.h>

#include <cstddef>
#include <vector>

// 1 when the turns of the polygon are mostly negative (clockwise in a y-up
// frame), else 0. Fewer than three points give 0. Polygons handed to the
// physics engine need the result 0.
int ClockWise(const std::vector<b2Vec2>& p);

// The signed area of the closed polygon of `count` points (anything with x
// and y), positive when it turns counter-clockwise in a y-up frame. Summed in
// double precision as a fan from the first point, so a small polygon far from
// the origin keeps its digits.
template <class Point>
double signedArea(const Point* points, size_t count)
{
    double twice = 0.0;
    for (size_t i = 1; i + 1 < count; ++i) {
        const double ax = double(points[i].x) - double(points[0].x), ay = double(points[i].y) - double(points[0].y);
        const double bx = double(points[i + 1].x) - double(points[0].x);
        const double by = double(points[i + 1].y) - double(points[0].y);
        twice += ax * by - ay * bx;
    }
    return twice / 2.0;
}

// vertexMean, or two points or fewer: the mean of the points ((0, 0) for an
// empty list). Otherwise the area-weighted centroid of the closed polygon; when
// its area is too small next to its extent to give a centre (collinear or
// repeated points), the vertex mean. Finite for every finite input.
b2Vec2 getPolyCentroid(const std::vector<b2Vec2>& p, bool vertexMean);

// Whether segments p1-p2 and p3-p4 cross. Parallel segments (|det| < 0.0001,
// collinear overlaps included) and segments that only touch at an end point
// do not.
bool segmentsIntersect(b2Vec2 p1, b2Vec2 p2, b2Vec2 p3, b2Vec2 p4);

// 1 inside, 0 outside, by the even-odd rule on a ray towards +x; the polygon
// is closed implicitly. Points on the lower edge of an edge's span are outside.
int isInsidePolygon(b2Vec2 p, const std::vector<b2Vec2>& poly);

// p rotated about centre by angle (radians), in single precision.
b2Vec2 rotatePoint(b2Vec2 p, b2Vec2 centre, float angle);

// Small utilities.
bool sortByX(b2Vec2 a, b2Vec2 b);
// Twice the signed area of the triangle (x1,y1), (x2,y2), (x3,y3).
float det(float x1, float y1, float x2, float y2, float x3, float y3);
// The points sorted by x, the leftmost first, then those below the line from
// the leftmost to the rightmost point (det < 0) in x order, then the rightmost,
// then the others in decreasing x.
std::vector<b2Vec2> arrangeClockwise(const std::vector<b2Vec2>& points);
float Area2(b2Vec2 a, b2Vec2 b, b2Vec2 c);
bool IsOnLeft(b2Vec2 a, b2Vec2 b, b2Vec2 c);
bool IsOnRight(b2Vec2 a, b2Vec2 b, b2Vec2 c);
bool ccw(b2Vec2 a, b2Vec2 b, b2Vec2 c);
// Mean of the points; (0, 0) for an empty list.
b2Vec2 getPolygonCenter(const std::vector<b2Vec2>& points);
// (min x, min y) and (max x, max y); the minima start at 1e6, the maxima at -1e6.
std::vector<b2Vec2> getBoundingBox(const std::vector<b2Vec2>& points);
// A pseudo-random point of the box given as (min, max).
b2Vec2 getRandomPointInRect(const std::vector<b2Vec2>& box);
// The first of up to 100 random points of the bounding box that lies inside
// the polygon, else the polygon's vertex mean.
b2Vec2 getPointInsidePolygon(const std::vector<b2Vec2>& poly);
// The area-weighted centroid, with the fallbacks of getPolyCentroid.
b2Vec2 myComputeCentroid(const std::vector<b2Vec2>& points);
