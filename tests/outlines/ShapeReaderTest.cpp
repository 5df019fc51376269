// The readers of single shape items: rectangles, ellipses, stars and
// polygons, and paths.
#include "OutlineFixture.h"
#include "ShapeItems.h"

#include "model/CoordinateConversion.h"
#include "outlines/ShapePath.h"
#include "outlines/ShapePrimitives.h"

#include <cmath>

namespace {

using namespace outline_test;

struct Read {
    ShapeDef shape;
    std::vector<ShapeDef> circles, boxes;
    b2Vec2 centre{-1.0f, -1.0f};
    b2Vec2 anchor{-1.0f, -1.0f};
    float groupRotation = -1.0f;
};

enum class Kind { Rect, Ellipse, Star, Path };

const char* matchNameOf(Kind kind)
{
    switch (kind) {
    case Kind::Rect: return "ADBE Vector Shape - Rect";
    case Kind::Ellipse: return "ADBE Vector Shape - Ellipse";
    case Kind::Star: return "ADBE Vector Shape - Star";
    case Kind::Path: return "ADBE Vector Shape";
    }
    return "";
}

// Reads the n-th item of that kind of layer `layerIndex`, with the layer's
// world scale (sx, sy) as the walk would pass it.
Read read(Scene& scene, int layerIndex, Kind kind, int n = 0, int precision = 2, float sx = 1, float sy = 1)
{
    Read r;
    AEGP_StreamRefH item = scene.findStream(layerIndex, matchNameOf(kind), n);
    AEGP_LayerH layer = scene.layer(layerIndex);
    SPBasicSuite* basic = scene.basic();
    switch (kind) {
    case Kind::Rect:
        r.shape = getShapeDefFromVectorShapeRect(kPluginId, basic, layer, item, r.circles, r.boxes, precision,
                                                 r.centre, r.groupRotation);
        break;
    case Kind::Ellipse:
        r.shape = getShapeDefFromVectorShapeEllipse(kPluginId, basic, layer, item, r.circles, r.boxes, precision, sx,
                                                    sy, r.centre, r.groupRotation);
        break;
    case Kind::Star:
        r.shape = getShapeDefFromVectorShapePolystar(kPluginId, basic, layer, item, precision, sx, sy, r.centre,
                                                     r.groupRotation);
        break;
    case Kind::Path:
        r.shape = getShapeDefFromVectorShapePath(kPluginId, basic, layer, item, r.circles, r.boxes, precision, sx, sy,
                                                 r.centre, r.anchor, r.groupRotation);
        break;
    }
    scene.disposeStream(item);
    return r;
}

void expectPoint(b2Vec2 actual, double x, double y, double tolerance = 1e-3)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
}

TEST(ShapeReader, Rectangles)
{
    Scene scene(composition(
        shapeLayer(rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Roundness": 40)") + ","
                   + rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Roundness": 30)") + ","
                   + group(R"("ADBE Vector Scale": [200, 200])",
                           rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Roundness": 10)")) + ","
                   + rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Position": [10, 20])") + ","
                   + rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Roundness": -5)") + ","
                   + rect(R"("ADBE Vector Rect Size": [0, 60])"))));

    // Roundness above half the short side: just under it.
    const Read round = read(scene, 0, Kind::Rect, 0);
    ASSERT_EQ(round.shape.points.size(), 8u);
    expectPoint(round.shape.points[0], 450 + 29.999, 220);
    expectPoint(round.shape.points[1], 550 - 29.999, 220);
    expectPoint(round.shape.points[2], 550, 220 + 29.999);
    expectPoint(round.shape.inTangents[0], -29.999 * 0.5522847498, 0);
    EXPECT_TRUE(round.shape.closed);
    EXPECT_FALSE(round.shape.isBox);
    EXPECT_TRUE(round.boxes.empty());
    expectPoint(round.centre, 500, 250);
    EXPECT_EQ(round.groupRotation, 0.0f);
    // Exactly half the short side would make vertices meet: also just under.
    expectPoint(read(scene, 0, Kind::Rect, 1).shape.points[1], 550 - 29.999, 220);
    // In a group at 200 %: drawn 200 x 120, its corners scaled with it.
    const Read scaled = read(scene, 0, Kind::Rect, 2);
    expectPoint(scaled.shape.points[0], 400 + 20, 190);
    expectPoint(scaled.shape.points[2], 600, 190 + 20);

    // Without roundness: a box of four corners, in the box list too.
    const Read box = read(scene, 0, Kind::Rect, 3);
    ASSERT_EQ(box.shape.points.size(), 4u);
    EXPECT_TRUE(box.shape.isBox);
    EXPECT_TRUE(box.shape.closed);
    ASSERT_EQ(box.boxes.size(), 1u);
    expectPoint(box.shape.points[0], 460, 240);
    expectPoint(box.shape.points[2], 560, 300);
    expectPoint(box.centre, 510, 270);
    EXPECT_TRUE(read(scene, 0, Kind::Rect, 4).shape.isBox);

    // No extent: nothing, and the centre is left alone.
    const Read flat = read(scene, 0, Kind::Rect, 5);
    EXPECT_TRUE(flat.shape.points.empty());
    EXPECT_TRUE(flat.boxes.empty());
    expectPoint(flat.centre, -1, -1);
}

TEST(ShapeReader, EllipsesAndCircles)
{
    Scene scene(composition(
        shapeLayer(ellipse(R"("ADBE Vector Ellipse Size": [100, 100.0005])") + ","
                   + ellipse(R"("ADBE Vector Ellipse Size": [100, 100.001])"))
        + "," + shapeLayer(ellipse(R"("ADBE Vector Ellipse Size": [100, 100])"),
                           R"({"position": [500, 250], "scale": [50, 60]})")));
    const Read circle = read(scene, 0, Kind::Ellipse, 0, 4);
    EXPECT_TRUE(circle.shape.isCircle);
    EXPECT_FALSE(circle.shape.closed);
    EXPECT_NEAR(circle.shape.radius, 0.5f, 1e-6);
    ASSERT_EQ(circle.shape.points.size(), 4u);
    expectPoint(circle.shape.points[0], 500, 200, 1e-3);  // the top first
    expectPoint(circle.shape.outTangents[0], 50 * 0.5522847498, 0);
    EXPECT_EQ(circle.circles.size(), 1u);

    const Read oval = read(scene, 0, Kind::Ellipse, 1, 4);
    EXPECT_FALSE(oval.shape.isCircle);
    EXPECT_TRUE(oval.shape.closed);
    EXPECT_EQ(oval.shape.points.size(), 12u);  // four curved segments, three samples each
    EXPECT_TRUE(oval.circles.empty());

    const Read squashed = read(scene, 1, Kind::Ellipse, 0, 4, 0.5f, 0.6f);
    EXPECT_FALSE(squashed.shape.isCircle);
    expectPoint(squashed.shape.points[0], 500, 250 - 30);  // the layer's scale places the points
    expectPoint(squashed.shape.points[3], 500 + 25, 250);
}

TEST(ShapeReader, StarsAndPolygons)
{
    Scene scene(composition(shapeLayer(
        star(R"("ADBE Vector Star Points": 5, "ADBE Vector Star Outer Radius": 90, "ADBE Vector Star Inner Radius": 40)")
        + "," + star(R"("ADBE Vector Star Points": 5, "ADBE Vector Star Outer Radius": 90,
                       "ADBE Vector Star Inner Radius": 40, "ADBE Vector Star Outer Roundess": 50)")
        + "," + star(R"("ADBE Vector Star Type": 2, "ADBE Vector Star Points": 6, "ADBE Vector Star Outer Radius": 50)")
        + "," + group(R"("ADBE Vector Scale": [200, 50])",
                      star(R"("ADBE Vector Star Points": 5, "ADBE Vector Star Outer Radius": 90,
                             "ADBE Vector Star Inner Radius": 40)"))
        + "," + star(R"("ADBE Vector Star Points": 0)"))));

    const Read plain = read(scene, 0, Kind::Star, 0, 4);
    ASSERT_EQ(plain.shape.points.size(), 10u);
    EXPECT_TRUE(plain.shape.inTangents.empty());
    expectPoint(plain.shape.points[0], 500, 250 - 90);
    const double b = -M_PI / 2 + M_PI / 5;
    expectPoint(plain.shape.points[1], 500 + 40 * std::cos(b), 250 + 40 * std::sin(b));

    const Read round = read(scene, 0, Kind::Star, 1, 2);
    ASSERT_EQ(round.shape.outTangents.size(), 10u);
    b2Vec2 along = round.shape.points[2] - round.shape.points[8];
    along.Normalize();
    expectPoint(round.shape.outTangents[0], 22.5 * along.x, 22.5 * along.y);
    expectPoint(round.shape.inTangents[0], -22.5 * along.x, -22.5 * along.y);
    expectPoint(round.shape.outTangents[1], 0, 0);

    const Read hexagon = read(scene, 0, Kind::Star, 2, 4);
    EXPECT_EQ(hexagon.shape.points.size(), 6u);
    EXPECT_TRUE(hexagon.shape.closed);

    // A group at (200 %, 50 %) stretches the star as it draws it.
    const Read grouped = read(scene, 0, Kind::Star, 3, 4);
    expectPoint(grouped.shape.points[0], 500, 250 - 45);
    expectPoint(grouped.shape.points[1], 500 + 80 * std::cos(b), 250 + 20 * std::sin(b));

    EXPECT_TRUE(read(scene, 0, Kind::Star, 4).shape.points.empty());
}

TEST(ShapeReader, Paths)
{
    const QByteArray square = "[0, 0], [100, 0], [100, 100], [0, 100]";
    Scene scene(composition(
        shapeLayer(path(true, "[0, 0], [100, 0], [100, 50, 0, -20, 0, 20], [0, 100]") + ","
                   + path(false, square + ", [50, 150]") + ","
                   + path(false, square + ", [0, 0]") + ","
                   + path(true, "[0, 0], [100, 0], [0, 0], [100, 100]") + ","
                   + path(true, square) + ","
                   + path(true, "[50, 0, -27.61424, 0, 27.61424, 0], [100, 50, 0, -27.61424, 0, 27.61424], "
                                "[50, 100, 27.61424, 0, -27.61424, 0], [0, 50, 0, 27.61424, 0, -27.61424]") + ","
                   + path(true, "[0, 0], [10, 0], [20, 0]") + ","
                   + path(true, ""))
        + "," + shapeLayer(path(false, "[10, 0, 0, 0, 4, 2], [20, 0]") + ","
                           + rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Roundness": 10)") + ","
                           + ellipse(R"("ADBE Vector Ellipse Size": [100, 100])")),
        R"("pixelAspect": [2, 1])"));

    const Read closed = read(scene, 0, Kind::Path, 0, 2);
    EXPECT_EQ(closed.shape.points.size(), 4u);
    EXPECT_TRUE(closed.shape.closed);
    expectPoint(closed.shape.inTangents[2], 0, -20);

    const Read open = read(scene, 0, Kind::Path, 1, 2);
    EXPECT_EQ(open.shape.points.size(), 5u);
    EXPECT_FALSE(open.shape.closed);
    const b2Vec2 mean = 0.2f * (open.shape.points[0] + open.shape.points[1] + open.shape.points[2]
                                + open.shape.points[3] + open.shape.points[4]);
    expectPoint(open.centre, mean.x, mean.y);  // an open path's centre is its vertex mean

    // The last vertex on the first is left out once; the path stays open.
    const Read looped = read(scene, 0, Kind::Path, 2, 2);
    EXPECT_EQ(looped.shape.points.size(), 4u);
    EXPECT_FALSE(looped.shape.closed);

    // A repeated vertex is skipped.
    EXPECT_EQ(read(scene, 0, Kind::Path, 3, 2).shape.points.size(), 3u);

    // A right-angled rectangle without tangents is a box, flagged not closed.
    const Read box = read(scene, 0, Kind::Path, 4, 4);
    EXPECT_TRUE(box.shape.isBox);
    EXPECT_FALSE(box.shape.closed);
    EXPECT_EQ(box.boxes.size(), 1u);

    // A circle drawn as a path is no circle in a composition of 2:1 pixels.
    EXPECT_FALSE(read(scene, 0, Kind::Path, 5, 4).shape.isCircle);

    // Collinear: no area, yet a finite centre, the mean of the points.
    const Read line = read(scene, 0, Kind::Path, 6, 4);
    EXPECT_TRUE(std::isfinite(line.centre.x) && std::isfinite(line.centre.y));

    // Nothing to read: nothing written.
    const Read empty = read(scene, 0, Kind::Path, 7, 4);
    EXPECT_TRUE(empty.shape.points.empty());
    expectPoint(empty.centre, -1, -1);
    expectPoint(empty.anchor, -1, -1);

    // A composition of 2:1 pixels doubles the x of points and tangents alike.
    const Read wide = read(scene, 1, Kind::Path, 0, 2);
    expectPoint(wide.shape.points[0], (500 + 10) * 2, 250);
    expectPoint(wide.shape.outTangents[0], 8, 2);
    expectPoint(wide.anchor, 15, 0);  // the path's own centre, group pixels
    const Read wideRect = read(scene, 1, Kind::Rect, 0, 2);
    expectPoint(wideRect.shape.points[1], (550 - 10) * 2, 220);
    expectPoint(wideRect.shape.outTangents[1], 2 * 10 * 0.5522847498, 0);
    expectPoint(wideRect.centre, 1000, 250);
    const Read wideEllipse = read(scene, 1, Kind::Ellipse, 0, 2);
    EXPECT_FALSE(wideEllipse.shape.isCircle) << "twice as wide as high in square pixels";
    EXPECT_TRUE(wideEllipse.shape.closed);
}

}  // namespace
