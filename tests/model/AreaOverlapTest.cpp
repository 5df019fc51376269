#include "model/AreaOverlap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

// A square of the given side (world units) at (x, y), as a body's box, turned
// by `turned` radians about its corner.
DrawnPieces square(double x, double y, double side, double turned = 0.0)
{
    ShapeDef s;
    s.isBox = true;
    const double c = std::cos(turned), n = std::sin(turned);
    for (const auto& [u, v] : {std::pair{0.0, 0.0}, {side, 0.0}, {side, side}, {0.0, side}})
        s.points.emplace_back(float(x + c * u - n * v), float(y + n * u + c * v));
    DrawnPieces area;
    area.addGroup({s});
    return area;
}

TEST(AreaOverlap, EdgesThatTouchUpToRoundingDoNotCountAnOverlapDoes)
{
    const double turn = 0.5235987756;  // 30 degrees: the shared edge is not on the axes
    const DrawnPieces left = square(1.3, 2.7, 1.0, turn);
    // The neighbour along the turned x axis, its shared edge a few
    // millionths inside or outside (single-precision rounding of world units).
    for (const double shift : {-3e-6, 0.0, 3e-6}) {
        const double step = 1.0 + shift;
        EXPECT_FALSE(areasOverlap(left, square(1.3 + step * std::cos(turn), 2.7 + step * std::sin(turn), 1.0, turn)))
            << shift;
    }
    // A pixel deep (a hundredth of a world unit): an overlap.
    EXPECT_TRUE(areasOverlap(left, square(1.3 + 0.99 * std::cos(turn), 2.7 + 0.99 * std::sin(turn), 1.0, turn)));
    EXPECT_NEAR(sharedArea(square(0, 0, 2), square(1, 1, 2), 0.0), 1.0, 1e-6);
}

TEST(AreaOverlap, InsideMeansWhollyInsideALargerArea)
{
    const DrawnPieces outer = square(0, 0, 2);
    EXPECT_TRUE(liesInside(square(0.5, 0.5, 1), outer));
    EXPECT_TRUE(liesInside(square(0, 0, 1), outer)) << "touching the outer edge from inside";
    EXPECT_FALSE(liesInside(outer, square(0.5, 0.5, 1)));
    EXPECT_FALSE(liesInside(square(1.5, 0.5, 1), outer)) << "crossing";
    EXPECT_FALSE(liesInside(outer, square(0, 0, 2))) << "the same area is no hole of itself";
}

} // namespace
