// Bodies of layers with masks, built in the stand-in host.
#include "OutlineFixture.h"

#include "model/PolygonUtils.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace outline_test;

// A closed circle mask of radius r about (cx, cy), first vertex at the top.
QByteArray circleMask(double cx, double cy, double r)
{
    const double k = 0.5522848 * r;
    return QStringLiteral(R"({"shape": {"closed": true, "vertices": [
        [%1, %2, %5, 0, %6, 0], [%3, %4, 0, %5, 0, %6], [%1, %7, %6, 0, %5, 0], [%8, %4, 0, %6, 0, %5]]}})")
        .arg(cx).arg(cy - r).arg(cx + r).arg(cy).arg(-k).arg(k).arg(cy + r).arg(cx - r)
        .toUtf8();
}

QByteArray polygonMask(const std::vector<b2Vec2>& points, bool closed = true)
{
    QByteArray v;
    for (const b2Vec2& p : points)
        v += (v.isEmpty() ? "" : ", ") + QStringLiteral("[%1, %2]").arg(double(p.x)).arg(double(p.y)).toUtf8();
    return QByteArray(R"({"shape": {"closed": )") + (closed ? "true" : "false") + R"(, "vertices": [)" + v + "]}}";
}

QByteArray solid(const QByteArray& masks, const QByteArray& transform = R"({"position": [600, 300]})",
                 const QByteArray& source = "1")
{
    return R"({"type": "solid", "source": )" + source + R"(, "transform": )" + transform + R"(, "masks": [)" + masks
           + "]}";
}

std::vector<b2Vec2> regularPolygon(int n, double r, double cx, double cy)
{
    std::vector<b2Vec2> points;
    for (int i = 0; i < n; ++i)
        points.emplace_back(float(cx + r * std::cos(2 * M_PI * i / n)), float(cy + r * std::sin(2 * M_PI * i / n)));
    return points;
}

TEST(MaskBody, CirclesOnlyAsTheLoneMaskOfAUniformlyScaledLayer)
{
    Scene scene(composition(solid(circleMask(100, 50, 40), R"({"position": [600, 300], "scale": [150, 150]})") + ","
                            + solid(circleMask(100, 50, 40), R"({"position": [600, 300], "scale": [100, 50]})") + ","
                            + solid(circleMask(100, 50, 40) + "," + polygonMask({{0, 0}, {10, 0}, {10, 10}}))));
    const MyBody circle = scene.body(0);
    ASSERT_EQ(group(circle).size(), 1u);
    const ShapeDef& c = group(circle)[0];
    EXPECT_TRUE(c.isCircle);
    EXPECT_FALSE(c.closed);
    EXPECT_NEAR(c.radius, 0.6f, 1e-5);
    ASSERT_EQ(c.points.size(), 4u);
    EXPECT_NEAR(0.25f * (c.points[0] + c.points[1] + c.points[2] + c.points[3]).x, 0.0f, 1e-5);
    EXPECT_NEAR(circle.position.x, 1.0f, 1e-5);
    EXPECT_NEAR(circle.position.y, 0.5f, 1e-5);
    EXPECT_FALSE(circle.isLayerBox);
    EXPECT_FALSE(circle.rotationIsRelative);

    // Scaled unevenly: flattened and triangulated; its area is the ellipse's.
    const MyBody squashed = scene.body(1);
    EXPECT_EQ(countIf(squashed, isCircleOutline), 0);
    EXPECT_GT(countIf(squashed, isTriangle), 4);
    EXPECT_NEAR(filledArea(squashed), M_PI * 0.4 * 0.2, 0.03);

    // Beside another mask: no circle either.
    const MyBody pair = scene.body(2);
    EXPECT_EQ(countIf(pair, isCircleOutline), 0);
    EXPECT_GE(countIf(pair, isTriangle), 5);
    expectEngineAccepts(squashed);
    expectEngineAccepts(pair);
}

// A mask switched off draws nothing and counts for nothing: beside one that
// is on, the lone circle left stays a circle; a layer whose every mask is
// off is drawn whole, and its body is the layer's box.
TEST(MaskBody, SwitchedOffMasksMakeNoBody)
{
    auto off = [](QByteArray mask) { return mask.insert(mask.size() - 1, R"(, "flags": 0)"); };
    const QByteArray farSquare = polygonMask({{150, 0}, {200, 0}, {200, 40}, {150, 40}});
    Scene scene(composition(solid(circleMask(50, 50, 40) + "," + off(farSquare)) + ","
                            + solid(off(circleMask(50, 50, 40))) + ","
                            + solid(off(farSquare) + "," + polygonMask({{0, 0}, {100, 0}, {0, 100}}))));
    const MyBody circle = scene.body(0);
    ASSERT_EQ(group(circle).size(), 1u);
    EXPECT_TRUE(group(circle)[0].isCircle) << "the lone mask that is on";
    EXPECT_FALSE(covers(circle, hostWorld(scene, 0, 175, 20)));

    const MyBody whole = scene.body(1);
    EXPECT_TRUE(whole.isLayerBox);
    EXPECT_TRUE(covers(whole, hostWorld(scene, 1, 190, 90)));

    const MyBody triangle = scene.body(2);
    EXPECT_TRUE(covers(triangle, hostWorld(scene, 2, 20, 20)));
    EXPECT_FALSE(covers(triangle, hostWorld(scene, 2, 175, 20))) << "the square is off";
    EXPECT_NEAR(filledArea(triangle), 0.5, 1e-5);
}

TEST(MaskBody, BoxesOpenMasksAndTheAnchor)
{
    Scene scene(composition(
        solid(polygonMask({{50, 25}, {150, 25}, {150, 75}, {50, 75}})) + ","
        + solid(polygonMask({{150, 50}, {50, 50}, {50, 80}}, false)) + ","
        + solid(polygonMask({{150, 50}, {50, 50}, {100, 80}}, true).replace("[100, 80]", "")
                    .replace(", ]", "]")) + ","
        + solid(polygonMask({{0, 0}, {100, 0}, {100, 0}, {100, 50}, {0, 0}, {0, 50}}))));
    const MyBody box = scene.body(0);
    ASSERT_EQ(group(box).size(), 1u);
    const ShapeDef& b = group(box)[0];
    EXPECT_TRUE(b.isBox);
    EXPECT_FALSE(b.closed);
    EXPECT_EQ(ClockWise(b.points), 0);
    for (const b2Vec2& p : b.points) {  // relative to the anchor (100, 50)
        EXPECT_NEAR(std::fabs(p.x), 0.5f, 1e-6);
        EXPECT_NEAR(std::fabs(p.y), 0.25f, 1e-6);
    }

    // An open mask stays a line: (150, 50) lands at (1, 0) from the anchor.
    const MyBody open = scene.body(1);
    ASSERT_EQ(group(open).size(), 1u);
    EXPECT_TRUE(isOpenOutline(group(open)[0]));
    EXPECT_EQ(group(open)[0].points.back(), b2Vec2(0.5f, 0.0f));
    EXPECT_EQ(group(open)[0].points.size(), 3u);

    // A closed mask of two segments counts as open.
    const MyBody two = scene.body(2);
    ASSERT_EQ(group(two).size(), 1u);
    EXPECT_TRUE(isOpenOutline(group(two)[0]));

    // Repeated vertices keep their first place only: a 100 x 50 rectangle.
    const MyBody repeated = scene.body(3);
    EXPECT_NEAR(filledArea(repeated), 0.5, 1e-5);
    expectEngineAccepts(repeated);
}

TEST(MaskBody, AnchorScaleAndSourcePixelAspect)
{
    const QByteArray footage = R"({"id": 1, "name": "Red", "kind": "solid", "width": 200, "height": 100,
                                   "color": [1, 0, 0]},
                                  {"id": 2, "name": "Wide", "kind": "solid", "width": 200, "height": 100,
                                   "pixelAspect": [9, 10], "color": [0, 0, 1]})";
    const QByteArray line = polygonMask({{150, 50}, {50, 50}}, false);
    Scene scene(composition(
        solid(line, R"({"anchorPoint": [50, 50], "position": [500, 250]})") + ","
            + solid(line, R"({"anchorPoint": [50, 50], "position": [500, 250]})", "2") + ","
            + solid(line, R"({"anchorPoint": [50, 50], "position": [500, 250], "scale": [200, 300]})") + ","
            + R"({"type": "shape", "transform": {"anchorPoint": [50, 50], "position": [500, 250]}, "masks": [)"
            + line + "]}",
        QByteArray(), footage));
    EXPECT_EQ(group(scene.body(0))[0].points.back(), b2Vec2(1.0f, 0.0f));
    const b2Vec2 narrow = group(scene.body(1))[0].points.back();
    EXPECT_NEAR(narrow.x, 0.9f, 1e-6);
    EXPECT_EQ(group(scene.body(2))[0].points.back(), b2Vec2(2.0f, 0.0f));
    const MyBody shape = scene.body(3);  // a shape layer with masks: its masks, square pixels
    EXPECT_EQ(group(shape)[0].points.back(), b2Vec2(1.0f, 0.0f));
    EXPECT_FALSE(shape.isLayerBox);
}

TEST(MaskBody, CrossingMasksAndTriangleCounts)
{
    Scene scene(composition(solid(polygonMask({{0, 0}, {100, 100}, {100, 0}, {0, 100}})) + ","
                            + solid(polygonMask(regularPolygon(77, 90, 100, 50))) + ","
                            + solid(polygonMask(regularPolygon(78, 90, 100, 50)))));
    const MyBody eight = scene.body(0);
    EXPECT_TRUE(eight.triangulationFailed);
    EXPECT_GE(countIf(eight, isTriangle), 2);
    EXPECT_NEAR(filledArea(eight), 0.5, 1e-4);

    const MyBody fine = scene.body(1);
    EXPECT_EQ(countIf(fine, isTriangle), 75);
    EXPECT_FALSE(fine.tooManyPolygons);
    EXPECT_FALSE(fine.triangulationFailed);
    const MyBody many = scene.body(2);
    EXPECT_EQ(countIf(many, isTriangle), 76);
    EXPECT_TRUE(many.tooManyPolygons);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

// The corners of a rectangle, starting at corner `start` and running in
// either direction.
std::vector<b2Vec2> rectangle(b2Vec2 lo, b2Vec2 hi, int start, bool reversed)
{
    std::vector<b2Vec2> corners = {lo, b2Vec2(hi.x, lo.y), hi, b2Vec2(lo.x, hi.y)};
    if (reversed)
        std::reverse(corners.begin(), corners.end());
    std::rotate(corners.begin(), corners.begin() + start, corners.end());
    return corners;
}

bool inRect(double x, double y, b2Vec2 lo, b2Vec2 hi)
{
    return x > lo.x && x < hi.x && y > lo.y && y < hi.y;
}

bool nearEdge(double x, double y, b2Vec2 lo, b2Vec2 hi)
{
    const auto near = [](double v, double edge) { return std::fabs(v - edge) < 0.5; };
    return near(x, lo.x) || near(x, hi.x) || near(y, lo.y) || near(y, hi.y);
}

TEST(MaskBody, OverlappingMasksCoverTheirUnionWhateverTheirStartAndDirection)
{
    // Two rectangles overlapping in 40 x 40 pixels: the layer's area is their
    // union, 100 x 70 + 120 x 55 - 1600; a third lying wholly inside the
    // first is a hole of 20 x 10 in it.
    const b2Vec2 aLo(10, 10), aHi(110, 80), bLo(70, 40), bHi(190, 95), cLo(20, 20), cHi(40, 30);
    const double unionArea = (7000.0 + 6600.0 - 1600.0) / 10000.0;
    QByteArray layers;
    std::vector<QByteArray> names;
    for (int aStart = 0; aStart < 4; ++aStart)
        for (int bStart = 0; bStart < 4; ++bStart)
            for (int turn = 0; turn < 4; ++turn) {
                const bool aReversed = turn & 1, bReversed = turn & 2;
                QByteArray masks = polygonMask(rectangle(aLo, aHi, aStart, aReversed)) + ","
                                   + polygonMask(rectangle(bLo, bHi, bStart, bReversed));
                if (aStart == bStart)
                    masks += "," + polygonMask(rectangle(cLo, cHi, aStart, !bReversed));
                layers += (layers.isEmpty() ? "" : ",") + solid(masks);
                names.push_back(QStringLiteral("A from %1%2, B from %3%4").arg(aStart).arg(aReversed ? " reversed" : "")
                                    .arg(bStart).arg(bReversed ? " reversed" : "").toUtf8());
            }
    Scene scene(composition(layers));
    for (int i = 0; i < int(names.size()); ++i) {
        SCOPED_TRACE(names[size_t(i)].constData());
        const bool hole = (i / 4) % 5 == 0;  // aStart == bStart
        const MyBody body = scene.body(i);
        EXPECT_FALSE(body.triangulationFailed);
        EXPECT_NEAR(filledArea(body), unionArea - (hole ? 0.02 : 0.0), 1e-4);  // no overlap counted twice
        for (double x = -4.5; x < 200; x += 7.0)
            for (double y = -3.5; y < 100; y += 6.0) {
                if (nearEdge(x, y, aLo, aHi) || nearEdge(x, y, bLo, bHi) || nearEdge(x, y, cLo, cHi))
                    continue;
                const bool inside = (inRect(x, y, aLo, aHi) || inRect(x, y, bLo, bHi))
                                    && !(hole && inRect(x, y, cLo, cHi));
                ASSERT_EQ(covers(body, hostWorld(scene, i, x, y)), inside) << x << ", " << y;
            }
        expectEngineAccepts(body);
    }
}

// A mask lying wholly inside another is a hole in it, as the Subtract mask
// of a ring is drawn; masks that cross still add up. Two identical masks
// are no hole of each other: the layer draws their shape, also with a hole
// inside both.
TEST(MaskBody, AMaskInsideAnotherIsAHole)
{
    const auto subtract = [](QByteArray mask) { return mask.insert(mask.size() - 1, R"(, "mode": 2)"); };
    const QByteArray ring = circleMask(100, 100, 90) + "," + subtract(circleMask(100, 100, 50));
    // A hole sharing an edge with the mask around it.
    const std::vector<b2Vec2> hexagon = regularPolygon(6, 90, 100, 100);
    const QByteArray edgeShared = polygonMask(hexagon) + ","
                                  + subtract(polygonMask({hexagon[0], hexagon[5], b2Vec2(100, 100)}));
    const QByteArray crossing = circleMask(60, 100, 50) + "," + circleMask(120, 100, 50);
    const QByteArray twice = polygonMask(hexagon) + "," + polygonMask(hexagon);
    Scene scene(composition(solid(ring) + "," + solid(ring + "," + subtract(circleMask(100, 100, 30))) + ","
                            + solid(edgeShared) + "," + solid(crossing) + "," + solid(twice) + ","
                            + solid(twice + "," + subtract(circleMask(100, 100, 30)))));
    for (int i = 0; i < 6; ++i) {
        const MyBody body = scene.body(i, 6);
        EXPECT_FALSE(body.triangulationFailed);
        expectBodyIsDrawn(scene, i, body, 2.0, 0.02);  // circles flattened
        expectEngineAccepts(body);
    }
}

}  // namespace
