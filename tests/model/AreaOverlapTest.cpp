#include "model/AreaOverlap.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>
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

// Areas of many pieces: each place two share is counted once, whichever
// pieces meet there; square frames nested with gaps or touching lie apart.
TEST(AreaOverlap, ManyPiecesCountEachSharedPlaceOnce)
{
    DrawnPieces grid;  // a 2 x 2 square cut into 400 squares
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j)
            grid.pieces.push_back(square(0.1 * i, 0.1 * j, 0.1).pieces.front());
    EXPECT_NEAR(sharedArea(grid, square(1.05, 0.55, 2), 0.0), 0.95 * 1.45, 1e-6);

    // Square frames about (5, 5) of the given outer and inner half sizes.
    const auto frame = [](double outer, double inner) {
        const double lo = 5 - outer, hi = 5 + outer, in = 5 - inner, out = 5 + inner;
        DrawnPieces area;
        for (const auto& [x0, y0, x1, y1] : {std::array{lo, lo, hi, in}, {lo, out, hi, hi}, {lo, in, in, out},
                                            {out, in, hi, out}}) {
            ShapeDef s;
            s.isBox = true;
            for (const auto& [u, v] : {std::pair{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}})
                s.points.emplace_back(float(u), float(v));
            area.addGroup({s});
        }
        return area;
    };
    // The second lies in the first's hole touching it, the square in the third's.
    std::vector<DrawnPieces> nested = {frame(4, 3), frame(3, 2.5), frame(2, 1), square(4.5, 4.5, 1)};
    EXPECT_FALSE(someAreasOverlap(nested));
    nested.push_back(square(5.5, 7.5, 1));  // over the two outer frames
    EXPECT_TRUE(someAreasOverlap(nested));
}

} // namespace
