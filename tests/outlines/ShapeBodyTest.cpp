// Bodies of shape layers: the walk over the items, the hull, colours, the
// fallback box, and items landing where the host draws them.
#include "OutlineFixture.h"
#include "ShapeItems.h"

#include "model/PolygonUtils.h"
#include "project/Composition.h"
#include "project/Transform.h"

#include <cmath>

namespace {

using namespace outline_test;

constexpr float kDegree = 0.017453292f;

TEST(ShapeBody, OneBoxOnAScaledTurnedLayer)
{
    Scene scene(composition(shapeLayer(rect(R"("ADBE Vector Rect Size": [100, 60])"),
                                       R"({"position": [600, 300], "scale": [200, 100], "rotation": 30})")));
    const MyBody body = scene.body(0);
    ASSERT_EQ(group(body).size(), 1u);
    const ShapeDef& box = group(body)[0];
    EXPECT_TRUE(box.isBox);
    EXPECT_EQ(ClockWise(box.points), 0);
    for (const b2Vec2& p : box.points) {  // about the centre, scaled, not turned
        EXPECT_NEAR(std::fabs(p.x), 1.0f, 1e-4);
        EXPECT_NEAR(std::fabs(p.y), 0.3f, 1e-4);
    }
    EXPECT_NEAR(body.position.x, 1.0f, 1e-5);
    EXPECT_NEAR(body.position.y, 0.5f, 1e-5);
    EXPECT_NEAR(body.angle, 30 * kDegree, 1e-5);
    EXPECT_EQ(body.initialRotation, body.angle);
    EXPECT_EQ(body.layerAnchor, b2Vec2(0.0f, 0.0f));
    EXPECT_FALSE(body.isLayerBox);
    EXPECT_FALSE(body.tooManyPolygons);
    for (double x : {-50.0, 50.0})
        for (double y : {-30.0, 30.0})
            EXPECT_TRUE(hasCorner(body, hostWorld(scene, 0, x, y))) << x << " " << y;
}

TEST(ShapeBody, ItemsLandWhereTheHostDrawsThem)
{
    const QByteArray twoSquares = rect(R"("ADBE Vector Rect Size": [10, 10], "ADBE Vector Rect Position": [-50, 0])")
                                  + "," + rect(R"("ADBE Vector Rect Size": [10, 10], "ADBE Vector Rect Position": [50, 0])");
    const QByteArray grouped = group(R"("ADBE Vector Position": [20, 10], "ADBE Vector Anchor": [5, 5],
                                        "ADBE Vector Rotation": 20, "ADBE Vector Scale": [50, 100])",
                                     rect(R"("ADBE Vector Rect Size": [40, 20], "ADBE Vector Rect Position": [10, 0])"));
    const QByteArray openPath = path(false, "[0, 0], [30, 0], [30, 30]");
    const QByteArray turned = R"({"position": [400, 200], "scale": [150, 80], "rotation": 30})";
    Scene scene(composition(shapeLayer(twoSquares, R"({"position": [500, 250], "scale": [200, 200]})") + ","
                            + shapeLayer(grouped + "," + openPath, turned) + ","
                            + shapeLayer(openPath + "," + grouped, turned)));

    // Two squares 100 px apart on a layer at 200 %: 200 px apart in the world.
    const MyBody pair = scene.body(0);
    ASSERT_EQ(countIf(pair, isBoxOutline), 2);
    std::vector<b2Vec2> centres;
    for (const ShapeDef& s : group(pair))
        centres.push_back(toWorld(pair, 0.25f * (s.points[0] + s.points[1] + s.points[2] + s.points[3])));
    EXPECT_NEAR((centres[1] - centres[0]).Length(), 2.0f, 1e-4);
    for (double x : {-55.0, -45.0, 45.0, 55.0})
        EXPECT_TRUE(hasCorner(pair, hostWorld(scene, 0, x, 5))) << x;

    // A grouped rectangle and a path on a turned, unevenly scaled layer, with
    // either one last: every point where the host puts it.
    const double g = 20 * M_PI / 180;
    for (int layer : {1, 2}) {
        const MyBody body = scene.body(layer);
        EXPECT_NEAR(body.angle, 30 * kDegree, 1e-6) << "the body turns with the layer, whatever comes last";
        for (double x : {-10.0, 30.0})
            for (double y : {-10.0, 10.0}) {
                // (p - anchor) * scale, turned about the group's position.
                const double gx = (x - 5) * 0.5, gy = (y - 5) * 1.0;
                const double lx = 20 + std::cos(g) * gx - std::sin(g) * gy;
                const double ly = 10 + std::sin(g) * gx + std::cos(g) * gy;
                EXPECT_TRUE(hasCorner(body, hostWorld(scene, layer, lx, ly))) << layer << ": " << x << " " << y;
            }
        for (double x : {0.0, 30.0})
            EXPECT_TRUE(hasCorner(body, hostWorld(scene, layer, x, 0))) << layer << ": path " << x;
        expectEngineAccepts(body);
    }
}

TEST(ShapeBody, HullCirclesAndOpenPaths)
{
    const QByteArray box = rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Position": [200, 0])");
    const QByteArray rounded = rect(R"("ADBE Vector Rect Size": [100, 60], "ADBE Vector Rect Roundness": 10)");
    const QByteArray circle = ellipse(R"("ADBE Vector Ellipse Size": [80, 80], "ADBE Vector Ellipse Position": [0, 200])");
    const QByteArray closedPath = path(true, "[0, 0], [100, 0], [50, 80]");
    const QByteArray circlePath = path(true, "[50, 0, -27.61424, 0, 27.61424, 0], "
                                             "[100, 50, 0, -27.61424, 0, 27.61424], "
                                             "[50, 100, 27.61424, 0, -27.61424, 0], "
                                             "[0, 50, 0, 27.61424, 0, -27.61424]");
    Scene scene(composition(shapeLayer(box + "," + box) + "," + shapeLayer(rounded + "," + box) + ","
                            + shapeLayer(closedPath + "," + circle) + "," + shapeLayer(circle) + ","
                            + shapeLayer(path(false, "[0, 0], [100, 0, 0, 0, 0, 40], [100, 100]")) + ","
                            + shapeLayer(circlePath) + ","
                            + shapeLayer(group(R"("ADBE Vector Scale": [100, 90])", circlePath))));

    // The first item is a box: no hull, both boxes stay.
    EXPECT_EQ(countIf(scene.body(0, 2, true), isBoxOutline), 2);

    // A rounded rectangle first: one hull stands for both items, the box is
    // not kept beside it.
    const MyBody hulled = scene.body(1, 2, true);
    EXPECT_EQ(countIf(hulled, isBoxOutline), 0);
    EXPECT_GT(countIf(hulled, isTriangle), 0);
    EXPECT_NEAR(filledArea(hulled), 3.0 * 0.6, 0.01);  // the hull spans both
    const MyBody plain = scene.body(1, 2, false);
    EXPECT_EQ(countIf(plain, isBoxOutline), 1);
    EXPECT_NEAR(filledArea(plain), 0.6 + 0.6 - (4 - M_PI) * 0.01, 0.01);

    // A closed path first: the hull takes in the circle, which is not kept.
    const MyBody pathHull = scene.body(2, 2, true);
    EXPECT_EQ(countIf(pathHull, isCircleOutline), 0);
    EXPECT_GT(countIf(pathHull, isTriangle), 0);
    EXPECT_EQ(countIf(scene.body(2, 2, false), isCircleOutline), 1);

    // An ellipse of equal sides alone: one circle, not closed.
    const MyBody round = scene.body(3);
    ASSERT_EQ(group(round).size(), 1u);
    EXPECT_TRUE(group(round)[0].isCircle);
    EXPECT_FALSE(group(round)[0].closed);
    EXPECT_NEAR(group(round)[0].radius, 0.4f, 1e-6);

    // A circle drawn as a path, on uniform scales only.
    const MyBody roundPath = scene.body(5);
    ASSERT_EQ(group(roundPath).size(), 1u);
    EXPECT_TRUE(group(roundPath)[0].isCircle);
    EXPECT_NEAR(group(roundPath)[0].radius, 0.5f, 1e-5);
    EXPECT_EQ(countIf(scene.body(6), isCircleOutline), 0);

    // An open path: a line through its samples, the body unturned, its anchor
    // the mean of the path's own samples: (0, 0), (100, 0), two on the curve
    // (at 43.70 and 82.96) and (100, 100).
    const MyBody line = scene.body(4);
    ASSERT_EQ(group(line).size(), 1u);
    EXPECT_TRUE(isOpenOutline(group(line)[0]));
    EXPECT_GT(group(line)[0].points.size(), 3u);
    EXPECT_EQ(line.angle, 0.0f);
    EXPECT_NEAR(line.layerAnchor.x, 80.0f, 1e-3);
    EXPECT_NEAR(line.layerAnchor.y, 226.6667f / 5, 1e-3);
}

TEST(ShapeBody, ColoursAndTheFallbackBox)
{
    const QByteArray square = rect(R"("ADBE Vector Rect Size": [10, 10])");
    Scene scene(composition(
        shapeLayer(square + "," + fill("[1, 0, 0]") + "," + group("", stroke("[0, 0, 1]"))) + ","
        + shapeLayer(square + "," + fill("[2, -1, 0.5]")) + ","
        + shapeLayer(fill("[1, 0, 0]")) + ","
        + shapeLayer(rect(R"("ADBE Vector Rect Size": [0, 10])")) + ","
        + shapeLayer(square)));
    std::vector<MyBody> bodies;
    AEGP_ColorVal color = scene.build(bodies, 0, 0);
    EXPECT_EQ(color.blue, 1.0);
    EXPECT_EQ(color.red, 0.0);
    EXPECT_EQ(bodies[0].color.blue, 1.0);
    color = scene.build(bodies, 0, 1);
    EXPECT_EQ(color.red, 1.0);
    EXPECT_EQ(color.green, 0.0);
    EXPECT_EQ(color.blue, 0.5);
    EXPECT_EQ(color.alpha, 1.0);
    color = scene.build(bodies, 0, 4);
    EXPECT_EQ(color.red, 1.0);  // no fill or stroke: white
    EXPECT_EQ(color.green, 1.0);

    for (int layer : {2, 3}) {
        MessageCapture messages;
        bodies.assign(1, MyBody());
        bodies[0].triangulationFailed = true;
        color = scene.build(bodies, 0, layer);
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0], QStringLiteral("An error occurred when retrieving geometry of layer %1. "
                                                      "This layer will be represented as a simple box.")
                                           .arg(layer + 1));
        const MyBody& b = bodies[0];
        ASSERT_EQ(group(b).size(), 1u);
        EXPECT_EQ(group(b)[0].points, (std::vector<b2Vec2>{b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)}));
        EXPECT_TRUE(group(b)[0].isBox);
        EXPECT_TRUE(b.isLayerBox);
        EXPECT_EQ(b.position, b2Vec2(0.0f, 0.0f));
        EXPECT_EQ(b.angle, 0.0f);
        EXPECT_EQ(color.red, 1.0);
        EXPECT_EQ(b.color.green, 1.0);
        EXPECT_TRUE(b.triangulationFailed);  // kept
    }
}

TEST(ShapeBody, TriangleThreshold)
{
    auto polygon = [](int n) {
        QByteArray v;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            v += (i ? ", " : "") + QStringLiteral("[%1, %2]").arg(200 * std::cos(a)).arg(200 * std::sin(a)).toUtf8();
        }
        return path(true, v);
    };
    Scene scene(composition(shapeLayer(polygon(77)) + "," + shapeLayer(polygon(78)) + ","
                            + shapeLayer(path(true, "[0, 0], [100, 100], [100, 0], [0, 100]"))));
    const MyBody fine = scene.body(0);
    EXPECT_EQ(countIf(fine, isTriangle), 75);
    EXPECT_FALSE(fine.tooManyPolygons);
    const MyBody many = scene.body(1);
    EXPECT_EQ(countIf(many, isTriangle), 76);
    EXPECT_TRUE(many.tooManyPolygons);
    const MyBody eight = scene.body(2);
    EXPECT_TRUE(eight.triangulationFailed);
    EXPECT_GT(countIf(eight, isTriangle), 0);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

}  // namespace
