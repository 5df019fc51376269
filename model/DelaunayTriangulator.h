// A small incremental Delaunay triangulator (Bowyer-Watson with a super
// triangle, the points taken in order of increasing x) for a set of distinct
// 2-D points. Used to link selected bodies with distance joints.
#pragma once

#include "model/A_Triangle.h"

#include <box2d/box2d.h>

#include <vector>

namespace delaunay {

struct XYZ
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;  // always 0
};

// Three indices into the point array.
struct ITRIANGLE
{
    int p1 = 0;
    int p2 = 0;
    int p3 = 0;
};

// qsort order of points: by increasing x.
int XYZCompare(const void* a, const void* b);

// Whether (xp, yp) lies inside or on the circumcircle of the three points;
// its centre and radius are written to xc, yc and r. Three points without a
// circle (on one horizontal line within 1e-6, or otherwise collinear) give
// false and leave xc, yc and r unchanged.
bool CircumCircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3,
                  double y3, double& xc, double& yc, double& r);

// Triangulates points[0 .. n-1], which must be sorted by increasing x; points
// must hold n + 3 entries, the last three receiving the super triangle.
// triangles is replaced by the result and count set to its size. Fewer than
// three points, or too short an array, give no triangles. Always returns 0.
int Triangulate(int n, std::vector<XYZ>& points, std::vector<ITRIANGLE>& triangles, int& count);

}  // namespace delaunay

class Delaunay2D
{
public:
    explicit Delaunay2D(std::vector<b2Vec2> points);

    // Each returns the number of points held. The z argument is ignored.
    int addPoint(float x, float y, float z);
    int addPoint(const b2Vec2& p);
    int addPoints(const std::vector<b2Vec2>& points);

    // Triangulates the points held (which afterwards stand sorted by x) and
    // returns the number of triangles. With fewer than three points it returns
    // 0 and keeps the previous result.
    int triangulate();
    std::vector<A_Triangle> getTriangles() const;

    // Forgets the points and the working triangles; the last result stays.
    void reset();

private:
    std::vector<delaunay::ITRIANGLE> m_triangles;
    std::vector<delaunay::XYZ> m_points;
    std::vector<A_Triangle> m_result;
};
