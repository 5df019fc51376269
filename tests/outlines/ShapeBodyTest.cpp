// Bodies of shape layers: the walk over the items, the hull, colours, the
// fallback box, and items landing where the host draws them, nested groups
// included.
#include "CompositionPicture.h"
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

// One group's transform as the host draws it: p becomes R S (p - anchor) +
// position.
struct GroupTransform {
    double ax, ay, px, py, sx, sy, degrees;

    QByteArray json() const
    {
        return QStringLiteral(R"("ADBE Vector Anchor": [%1, %2], "ADBE Vector Position": [%3, %4],
                                 "ADBE Vector Scale": [%5, %6], "ADBE Vector Rotation": %7)")
            .arg(ax).arg(ay).arg(px).arg(py).arg(sx).arg(sy).arg(degrees)
            .toUtf8();
    }
    void apply(double& x, double& y) const
    {
        const double r = degrees * M_PI / 180.0;
        const double u = (x - ax) * sx / 100.0, v = (y - ay) * sy / 100.0;
        x = std::cos(r) * u - std::sin(r) * v + px;
        y = std::sin(r) * u + std::cos(r) * v + py;
    }
};

// `contents` inside the groups of `chain`, outermost first.
QByteArray nested(const std::vector<GroupTransform>& chain, const QByteArray& contents)
{
    QByteArray json = contents;
    for (auto g = chain.rbegin(); g != chain.rend(); ++g)
        json = group(g->json(), json);
    return json;
}

// Where the host draws item point (x, y) of layer `layerIndex` inside the
// groups of `chain`: innermost group first, then the layer.
b2Vec2 drawnThrough(const Scene& scene, int layerIndex, const std::vector<GroupTransform>& chain, double x, double y)
{
    for (auto g = chain.rbegin(); g != chain.rend(); ++g)
        g->apply(x, y);
    return hostWorld(scene, layerIndex, x, y);
}

bool near(b2Vec2 a, const std::vector<b2Vec2>& points, float tolerance)
{
    for (const b2Vec2& p : points)
        if ((p - a).Length() < tolerance)
            return true;
    return false;
}

// Chains of one to four groups, turned, scaled unevenly, mirrored and with
// anchors, each drawing a rectangle, a pentagon and a triangle path on a
// turned, unevenly scaled layer: the body's corners are the drawn corners,
// within half a pixel, none missing and none elsewhere.
TEST(ShapeBody, NestedGroupsDrawTheOutlineWhereTheHostDrawsIt)
{
    const std::vector<GroupTransform> groups = {{10, -5, 40, 30, 200, 200, 90},
                                                {0, 0, 20, -10, 150, -60, 15},
                                                {5, 5, -30, 25, -80, 120, -40},
                                                {-12, 8, 100, 0, 70, 70, 200}};
    const QByteArray items = rect(R"("ADBE Vector Rect Size": [60, 30], "ADBE Vector Rect Position": [10, 5])") + ","
                             + star(R"("ADBE Vector Star Type": 2, "ADBE Vector Star Points": 5,
                                      "ADBE Vector Star Outer Radius": 25, "ADBE Vector Star Position": [-40, 10])")
                             + "," + path(true, "[0, 40], [30, 60], [-20, 70]");
    std::vector<b2Vec2> itemCorners = {{-20, -10}, {40, -10}, {40, 20}, {-20, 20}, {0, 40}, {30, 60}, {-20, 70}};
    for (int i = 0; i < 5; ++i) {
        const double a = 2 * M_PI * i / 5 - M_PI / 2;
        itemCorners.emplace_back(float(-40 + 25 * std::cos(a)), float(10 + 25 * std::sin(a)));
    }
    const QByteArray layerTransform = R"({"position": [500, 250], "scale": [120, 90], "rotation": 20})";
    QByteArray layers;
    for (size_t depth = 1; depth <= groups.size(); ++depth) {
        const std::vector<GroupTransform> chain(groups.begin(), groups.begin() + long(depth));
        layers += (depth > 1 ? "," : "") + shapeLayer(nested(chain, items), layerTransform);
    }
    Scene scene(composition(layers));

    const float halfPixel = 0.005f;
    for (size_t depth = 1; depth <= groups.size(); ++depth) {
        const int layer = int(depth) - 1;
        const std::vector<GroupTransform> chain(groups.begin(), groups.begin() + long(depth));
        const MyBody body = scene.body(layer);
        std::vector<b2Vec2> drawn, built;
        for (const b2Vec2& p : itemCorners)
            drawn.push_back(drawnThrough(scene, layer, chain, p.x, p.y));
        for (const ShapeDef& s : group(body))
            for (const b2Vec2& p : s.points)
                built.push_back(toWorld(body, p));
        for (size_t k = 0; k < drawn.size(); ++k)
            EXPECT_TRUE(near(drawn[k], built, halfPixel)) << depth << " groups: drawn corner " << k << " missing";
        for (size_t k = 0; k < built.size(); ++k)
            EXPECT_TRUE(near(built[k], drawn, halfPixel)) << depth << " groups: body point " << k << " not drawn";
        EXPECT_EQ(countIf(body, isBoxOutline), 1) << "a sheared rectangle is still one convex piece";
        expectEngineAccepts(body);
    }
}

// A shelf drawn by a group turned 90 degrees at 200 % around a group moved
// by (100, 0) and turned back: the body is where the shelf is drawn, not
// where the groups' values added up would put it. Circles stay circles
// through groups that only turn and scale evenly (mirrored or not), and
// become ellipses where a group stretches them.
TEST(ShapeBody, NestedGroupsPlaceShelvesAndCirclesAsDrawn)
{
    const std::vector<GroupTransform> shelfGroups = {{0, 0, 0, 0, 200, 200, 90}, {0, 0, 100, 0, 100, 100, -90}};
    const std::vector<GroupTransform> even = {{0, 0, 30, 0, 200, 200, 30}, {0, 0, 0, 20, -50, 50, -70}};
    const std::vector<GroupTransform> stretched = {{0, 0, 30, 0, 200, 100, 30}, {0, 0, 0, 20, 100, 100, 40}};
    const QByteArray circle = ellipse(R"("ADBE Vector Ellipse Size": [40, 40], "ADBE Vector Ellipse Position": [10, 0])");
    Scene scene(composition(
        shapeLayer(nested(shelfGroups, rect(R"("ADBE Vector Rect Size": [200, 20])")), R"({"position": [500, 300]})")
        + "," + shapeLayer(nested(even, circle)) + "," + shapeLayer(nested(stretched, circle))));

    const MyBody shelf = scene.body(0);
    EXPECT_TRUE(covers(shelf, compToWorld(500, 500))) << "the drawn shelf";
    EXPECT_TRUE(covers(shelf, compToWorld(320, 515)));
    EXPECT_TRUE(covers(shelf, compToWorld(680, 485)));
    EXPECT_FALSE(covers(shelf, compToWorld(500, 300))) << "where the added-up values would put it";
    EXPECT_FALSE(covers(shelf, compToWorld(750, 500)));

    const MyBody round = scene.body(1);
    ASSERT_EQ(group(round).size(), 1u);
    ASSERT_TRUE(group(round)[0].isCircle);
    EXPECT_NEAR(group(round)[0].radius, 0.2f, 1e-5) << "20 px at 200 % and 50 %";
    const std::vector<b2Vec2>& p = group(round)[0].points;
    const b2Vec2 centre = toWorld(round, 0.25f * (p[0] + p[1] + p[2] + p[3]));
    const b2Vec2 drawnCentre = drawnThrough(scene, 1, even, 10, 0);
    EXPECT_NEAR(centre.x, drawnCentre.x, 1e-4);
    EXPECT_NEAR(centre.y, drawnCentre.y, 1e-4);

    const MyBody oval = scene.body(2);
    EXPECT_EQ(countIf(oval, isCircleOutline), 0);
    for (int k = 0; k < 8; ++k) {
        const double a = 2 * M_PI * k / 8;
        for (const double r : {0.0, 18.0})
            EXPECT_TRUE(covers(oval, drawnThrough(scene, 2, stretched, 10 + r * std::cos(a), r * std::sin(a))))
                << "inside, " << k;
        EXPECT_FALSE(covers(oval, drawnThrough(scene, 2, stretched, 10 + 22 * std::cos(a), 22 * std::sin(a))))
            << "outside, " << k;
    }
}

// A circle keeps the size the groups give it: through one group at 150 %,
// and through groups at 300 % and 50 % (mirrored), its radius is the
// distance from the drawn centre to the drawn rim, all round.
TEST(ShapeBody, GroupScalesSizeACircleAsDrawn)
{
    const std::vector<std::vector<GroupTransform>> chains = {
        {{0, 0, 30, 0, 150, 150, 30}},
        {{5, 0, 30, 10, 300, 300, 0}, {0, 0, 0, 20, -50, 50, -70}},
    };
    const QByteArray circle = ellipse(R"("ADBE Vector Ellipse Size": [40, 40], "ADBE Vector Ellipse Position": [10, 0])");
    Scene scene(composition(shapeLayer(nested(chains[0], circle)) + "," +
                            shapeLayer(nested(chains[1], circle), R"({"position": [500, 250], "scale": [80, 80]})")));
    for (int layer = 0; layer < 2; ++layer) {
        SCOPED_TRACE(layer);
        const MyBody round = scene.body(layer);
        ASSERT_EQ(group(round).size(), 1u);
        ASSERT_TRUE(group(round)[0].isCircle);
        const std::vector<b2Vec2>& p = group(round)[0].points;
        const b2Vec2 centre = toWorld(round, 0.25f * (p[0] + p[1] + p[2] + p[3]));
        const std::vector<GroupTransform>& chain = chains[size_t(layer)];
        for (int k = 0; k < 8; ++k) {
            const double a = 2 * M_PI * k / 8;
            const b2Vec2 rim = drawnThrough(scene, layer, chain, 10 + 20 * std::cos(a), 20 * std::sin(a));
            EXPECT_NEAR((rim - centre).Length(), group(round)[0].radius, 1e-4) << k;
        }
    }
}

// Groups and items switched off draw nothing, whatever they hold: no
// outline, no colour.
TEST(ShapeBody, SwitchedOffGroupsAndItemsMakeNoBody)
{
    auto off = [](QByteArray item) { return item.insert(item.size() - 1, R"(, "flags": 0)"); };
    const QByteArray shown = rect(R"("ADBE Vector Rect Size": [40, 40])");
    const QByteArray farRect = rect(R"("ADBE Vector Rect Size": [40, 40], "ADBE Vector Rect Position": [200, 0])");
    const QByteArray farPath = path(true, "[180, 100], [220, 100], [200, 140]");
    Scene scene(composition(
        shapeLayer(shown + "," + off(group("", farRect + "," + farPath)) + "," + group("", off(farRect)) + ","
                   + off(farPath) + "," + fill("[1, 0, 0]") + "," + off(stroke("[0, 0, 1]")))
        + "," + shapeLayer(off(shown))));
    const MyBody body = scene.body(0);
    ASSERT_EQ(group(body).size(), 1u);
    EXPECT_TRUE(group(body)[0].isBox);
    EXPECT_TRUE(covers(body, hostWorld(scene, 0, 0, 0)));
    EXPECT_FALSE(covers(body, hostWorld(scene, 0, 200, 0)));
    EXPECT_FALSE(covers(body, hostWorld(scene, 0, 200, 115)));
    EXPECT_EQ(body.color.red, 1.0) << "the stroke is off: the fill's colour";
    EXPECT_EQ(body.color.blue, 0.0);

    // Nothing left on: the layer's fallback box, with its message.
    MessageCapture messages;
    EXPECT_TRUE(scene.body(1).isLayerBox);
    EXPECT_EQ(messages.texts().size(), 1u);
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

// Closed outlines fill as the host paints them: each fill paints its group's
// outlines together by its rule, and what the fills paint adds up, whatever
// the outlines' first vertices.
TEST(ShapeBody, OverlappingOutlinesFillAsTheFillsPaintThem)
{
    const auto painted = [](const QByteArray& contents, int rule) {
        return group("", contents + "," + item("ADBE Vector Graphic - Fill",
                                               QByteArray(R"("ADBE Vector Fill Rule": )") + QByteArray::number(rule)));
    };
    // Two trapezoids, each starting inside the other.
    const QByteArray left = path(true, "[50, 50], [-200, 50], [-150, -50], [0, -50]");
    const QByteArray right = path(true, "[-20, -40], [150, -40], [200, 60], [-70, 60]");
    const QByteArray rightReversed = path(true, "[-70, 60], [200, 60], [150, -40], [-20, -40]");
    // Three nested triangles, all wound alike, and the middle one reversed.
    const auto triangle = [](double r, bool reversed) {
        const QByteArray a = QByteArray::number(r), b = QByteArray::number(-r), h = QByteArray::number(0.8 * r);
        const QByteArray top = "[0, " + b + "]", right = "[" + a + ", " + h + "]", left = "[" + b + ", " + h + "]";
        return path(true, top + ", " + (reversed ? left + ", " + right : right + ", " + left));
    };
    const QByteArray nestedSame = triangle(150, false) + "," + triangle(100, false) + "," + triangle(50, false);
    const QByteArray nestedTurned = triangle(150, false) + "," + triangle(100, true) + "," + triangle(50, false);
    const QByteArray ovals = ellipse(R"("ADBE Vector Ellipse Size": [240, 120], "ADBE Vector Ellipse Position": [-60, 0])")
                             + "," + ellipse(R"("ADBE Vector Ellipse Size": [120, 200], "ADBE Vector Ellipse Position": [50, 10])");
    const QByteArray small = path(true, "[-30, -20], [40, -25], [10, 30]");
    const std::vector<QByteArray> layers = {
        painted(left, 1) + "," + painted(right, 1),           // two groups
        painted(left + "," + right, 1),                        // one group, same winding
        painted(left + "," + rightReversed, 1),                // opposite winding: the overlap cancels
        painted(left + "," + right, 2),                        // even-odd: the overlap is out
        painted(nestedSame, 1), painted(nestedSame, 2), painted(nestedTurned, 1),
        painted(ovals, 1) + "," + painted(ovals, 2),           // ovals in two groups by both rules
        painted(triangle(150, false), 1) + "," + painted(small, 2),  // drawn on top of a bigger shape
    };
    QByteArray json;
    for (const QByteArray& contents : layers)
        json += (json.isEmpty() ? "" : ",") + shapeLayer(contents);
    Scene scene(composition(json));
    for (int i = 0; i < int(layers.size()); ++i) {
        const MyBody body = scene.body(i, 6);  // the ovals flattened finely
        EXPECT_FALSE(body.triangulationFailed) << i;
        expectBodyIsDrawn(scene, i, body);
        expectEngineAccepts(body);
    }
}

// A heptagon of radius r about the origin, its first corner up, clockwise
// on screen.
QByteArray heptagon(double r)
{
    QByteArray v;
    for (int i = 0; i < 7; ++i) {
        const double a = 2 * M_PI * i / 7 - M_PI / 2;
        v += (i ? ", " : "") + QStringLiteral("[%1, %2]").arg(r * std::cos(a)).arg(r * std::sin(a)).toUtf8();
    }
    return path(true, v);
}

QByteArray fillByRule(int rule)
{
    return item("ADBE Vector Graphic - Fill", QByteArray(R"("ADBE Vector Fill Rule": )") + QByteArray::number(rule));
}

// The test drawing that the bodies are judged by paints as the host does: a
// fill paints what comes before it in its group, inner groups included
// whatever fills they hold, by its own rule; stars and polygons too.
TEST(ShapeBody, TheTestDrawingPaintsFillsInOrder)
{
    const QByteArray ring = heptagon(60) + "," + heptagon(30);
    const std::vector<std::pair<QByteArray, bool>> layers = {  // contents, centre painted
        {ring + "," + fillByRule(2), false},
        {group("", ring + "," + fillByRule(2)) + "," + fillByRule(1), true},
        {heptagon(60) + "," + fillByRule(2) + "," + heptagon(30), true},
        {group("", heptagon(60)) + "," + group("", heptagon(30)) + "," + fillByRule(2), false},
        {ring + "," + fillByRule(2) + "," + fillByRule(1), true},
        {fillByRule(2) + "," + ring, false},
    };
    QByteArray json;
    for (const auto& [contents, solid] : layers)
        json += (json.isEmpty() ? "" : ",") + shapeLayer(contents);
    const QByteArray fiveStar = star(R"("ADBE Vector Star Points": 5, "ADBE Vector Star Outer Radius": 100,
                                        "ADBE Vector Star Inner Radius": 40)");
    const QByteArray triangle = star(R"("ADBE Vector Star Type": 2, "ADBE Vector Star Points": 3,
                                        "ADBE Vector Star Outer Radius": 100, "ADBE Vector Star Rotation": 180)");
    Scene scene(composition(json + "," + shapeLayer(fiveStar + "," + fillByRule(1)) + ","
                            + shapeLayer(triangle + "," + fillByRule(1))));
    const standin::Composition* main = scene.project->compositionByName(QStringLiteral("Main"));
    for (size_t i = 0; i < layers.size(); ++i) {
        const separation_test::DrawnArea drawn(*main->layer(int(i)), A_Time{0, 1});
        EXPECT_EQ(drawn.contains(0, 0), layers[i].second) << i;
        EXPECT_EQ(drawn.contains(0, -45), i + 1 < layers.size()) << i;
        EXPECT_FALSE(drawn.contains(0, -65)) << i;
    }
    const separation_test::DrawnArea starDrawn(*main->layer(int(layers.size())), A_Time{0, 1});
    EXPECT_TRUE(starDrawn.contains(0, 0));
    EXPECT_TRUE(starDrawn.contains(0, -95)) << "the first point is up";
    EXPECT_FALSE(starDrawn.contains(0, 45)) << "an inner point is down";
    EXPECT_TRUE(starDrawn.contains(0, 35));
    const separation_test::DrawnArea triangleDrawn(*main->layer(int(layers.size()) + 1), A_Time{0, 1});
    EXPECT_TRUE(triangleDrawn.contains(0, 95)) << "turned half round, its first point is down";
    EXPECT_TRUE(triangleDrawn.contains(0, -45));
    EXPECT_FALSE(triangleDrawn.contains(0, -55));
}

// A fill paints every shape before it in its group, the shapes of the groups
// before it included, whether or not they have a fill of their own; two
// fills of one group both paint. On a plain and on a mirrored, turned layer.
TEST(ShapeBody, FillsPaintWhatComesBeforeThem)
{
    const QByteArray ring = heptagon(60) + "," + heptagon(30);
    const std::vector<QByteArray> contents = {
        group("", heptagon(60)) + "," + group("", heptagon(30)) + "," + fillByRule(2),  // a ring over two groups
        ring + "," + fillByRule(1) + "," + fillByRule(2),             // two fills: solid
        group("", ring + "," + fillByRule(2)) + "," + fillByRule(1),  // an outer fill over an even-odd ring: solid
        heptagon(60) + "," + fillByRule(2) + "," + heptagon(30),       // the inner shape painted by nothing
        star(R"("ADBE Vector Star Points": 6, "ADBE Vector Star Outer Radius": 70, "ADBE Vector Star Inner Radius": 45,
                "ADBE Vector Star Outer Roundess": 30)")
            + "," + star(R"("ADBE Vector Star Type": 2, "ADBE Vector Star Points": 5, "ADBE Vector Star Outer Radius": 30)")
            + "," + fillByRule(2),
    };
    QByteArray json;
    for (const char* transform : {R"({"position": [500, 250]})",
                                  R"({"position": [480, 260], "scale": [-120, 90], "rotation": 30})"})
        for (const QByteArray& c : contents)
            json += (json.isEmpty() ? "" : ",") + shapeLayer(c, transform);
    Scene scene(composition(json));
    for (int i = 0; i < 2 * int(contents.size()); ++i) {
        const MyBody body = scene.body(i, 6);
        expectBodyIsDrawn(scene, i, body);
        expectEngineAccepts(body);
    }
}

// Shapes that no fill paints (a fill before them, stroke only, the fill
// off) make a body filled non-zero, as a non-zero fill after them would
// paint them.
TEST(ShapeBody, ShapesNoFillPaintsFillNonZero)
{
    auto off = [](QByteArray item) { return item.insert(item.size() - 1, R"(, "flags": 0)"); };
    const QByteArray ring = heptagon(60) + "," + heptagon(30);
    const std::vector<QByteArray> contents = {
        fillByRule(2) + "," + ring,
        ring + "," + stroke("[0, 0, 1]"),
        group("", ring + "," + off(fillByRule(2))),
    };
    QByteArray json;
    for (const QByteArray& c : contents)  // each, then as a non-zero fill at its end would paint it
        json += (json.isEmpty() ? "" : ",") + shapeLayer(c) + "," + shapeLayer(c + "," + fillByRule(1));
    Scene scene(composition(json));
    for (int i = 0; i < int(contents.size()); ++i)
        expectBodyIsDrawn(scene, 2 * i + 1, scene.body(2 * i));
}

}  // namespace
