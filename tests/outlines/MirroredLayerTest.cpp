// Bodies of mirrored, turned and parented layers: the body's angle and the
// layer's signed world scale together give back the layer's matrix, and the
// outlines are the mirrored drawing, not the drawing turned by half a turn.
#include "OutlineFixture.h"
#include "ShapeItems.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Transform.h"

#include <cmath>

namespace {

using namespace outline_test;

struct Mirror {
    const char* name;
    double sx, sy, rotation;  // the layer's own scale (percent) and rotation
    bool parented;
    double px, py, parentRotation;  // the parent's scale and rotation
    bool quarter = false;  // turned a quarter against the parent: its x and y stretches trade places
};

const Mirror kMirrors[] = {
    {"x mirrored", -100, 100, 0, false, 100, 100, 0},
    {"y mirrored, turned", 100, -100, 30, false, 100, 100, 0},
    {"both mirrored, turned", -100, -100, 30, false, 100, 100, 0},
    {"x mirrored under a turned parent", -100, 100, 20, true, 80, 80, 40},
    {"under an x-mirrored parent", 100, 100, 20, true, -100, 100, 10},
    {"unevenly scaled, mirrored, parented", -150, 50, -25, true, 80, 80, 40},
    {"turned a quarter under a stretched parent", 100, 100, 90, true, 150, 70, 30, true},
    {"mirrored, turned a quarter back under a stretched parent", -100, 100, -90, true, 150, 70, 30, true},
};

QByteArray transform(const Mirror& m, double x, double y)
{
    return QStringLiteral(R"("transform": {"position": [%1, %2], "scale": [%3, %4], "rotation": %5})")
        .arg(x).arg(y).arg(m.sx).arg(m.sy).arg(m.rotation)
        .toUtf8()
        + (m.parented ? R"(, "parent": 90)" : "");
}

// Layer 0 a solid with a triangle mask, 1 a plain solid, 2 a shape layer with
// a triangle path and a rectangle, 3 the parent.
QByteArray mirroredComposition(const Mirror& m)
{
    const QByteArray triangle = R"({"closed": true, "vertices": [[0, 0], [100, 0], [0, 50]]})";
    const QByteArray masked = R"({"id": 1, "type": "solid", "source": 1, )" + transform(m, 600, 300)
                              + R"(, "masks": [{"shape": )" + triangle + "}]}";
    const QByteArray plain = R"({"id": 2, "type": "solid", "source": 1, )" + transform(m, 300, 200) + "}";
    const QByteArray shape = R"({"id": 3, "type": "shape", )" + transform(m, 500, 250) + R"(, "contents": [)"
                             + path(true, "[0, 0], [100, 0], [0, 50]") + ","
                             + rect(R"("ADBE Vector Rect Size": [40, 20], "ADBE Vector Rect Position": [150, 0])")
                             + "]}";
    const QByteArray parent = QStringLiteral(R"({"id": 90, "type": "null", "transform": {"position": [480, 260],
                                                "scale": [%1, %2], "rotation": %3}})")
                                  .arg(m.px).arg(m.py).arg(m.parentRotation)
                                  .toUtf8();
    return composition(masked + "," + plain + "," + shape + "," + parent);
}

// The host's layer axes against the body's angle turning the signed world
// scale, which is what the export writes back.
void expectAxesReproduced(const Scene& scene, int layerIndex, const MyBody& body, const Mirror& m)
{
    const double sx = m.sx / 100.0 * (m.parented ? (m.quarter ? m.py : m.px) / 100.0 : 1.0);
    const double sy = m.sy / 100.0 * (m.parented ? (m.quarter ? m.px : m.py) / 100.0 : 1.0);
    const b2Vec2 origin = hostWorld(scene, layerIndex, 0, 0);
    const b2Vec2 xAxis = 100.0f * (hostWorld(scene, layerIndex, 1, 0) - origin);
    const b2Vec2 yAxis = 100.0f * (hostWorld(scene, layerIndex, 0, 1) - origin);
    const double c = std::cos(double(body.angle)), s = std::sin(double(body.angle));
    EXPECT_NEAR(xAxis.x, c * sx, 1e-4);
    EXPECT_NEAR(xAxis.y, s * sx, 1e-4);
    EXPECT_NEAR(yAxis.x, -s * sy, 1e-4);
    EXPECT_NEAR(yAxis.y, c * sy, 1e-4);
}

TEST(MirroredLayer, BodiesAreTheMirroredDrawingAndKeepTheLayersAxes)
{
    for (const Mirror& m : kMirrors) {
        SCOPED_TRACE(m.name);
        Scene scene(mirroredComposition(m));

        // The triangle mask: its corners where the host draws them, its inside
        // covered, the other half of its box not.
        const MyBody masked = scene.body(0);
        expectAxesReproduced(scene, 0, masked, m);
        for (const b2Vec2 v : {b2Vec2(0, 0), b2Vec2(100, 0), b2Vec2(0, 50)})
            EXPECT_TRUE(hasCorner(masked, hostWorld(scene, 0, v.x, v.y))) << v.x << " " << v.y;
        EXPECT_TRUE(covers(masked, hostWorld(scene, 0, 20, 10)));
        EXPECT_FALSE(covers(masked, hostWorld(scene, 0, 70, 40)));
        EXPECT_NEAR((hostWorld(scene, 0, 100, 50) - masked.position).Length(), 0.0f, 1e-4) << "at the anchor";
        expectEngineAccepts(masked);

        // The layer box.
        const MyBody box = scene.body(1);
        expectAxesReproduced(scene, 1, box, m);
        for (const b2Vec2 v : {b2Vec2(0, 0), b2Vec2(200, 0), b2Vec2(200, 100), b2Vec2(0, 100)})
            EXPECT_TRUE(hasCorner(box, hostWorld(scene, 1, v.x, v.y))) << v.x << " " << v.y;
        expectEngineAccepts(box);

        // The shape layer: every item where it is drawn, and its anchor, in
        // the layer, the body's centre.
        const MyBody shape = scene.body(2);
        expectAxesReproduced(scene, 2, shape, m);
        for (const b2Vec2 v : {b2Vec2(0, 0), b2Vec2(100, 0), b2Vec2(0, 50), b2Vec2(130, -10), b2Vec2(170, 10)})
            EXPECT_TRUE(hasCorner(shape, hostWorld(scene, 2, v.x, v.y))) << v.x << " " << v.y;
        EXPECT_FALSE(covers(shape, hostWorld(scene, 2, 70, 40)));
        EXPECT_NEAR((hostWorld(scene, 2, shape.layerAnchor.x, shape.layerAnchor.y) - shape.position).Length(), 0.0f,
                    1e-4);
        expectEngineAccepts(shape);
    }
}

// A layer turned under a parent that scales unevenly is drawn sheared: its
// own turn comes before the parent's stretch. Under the null 10 (110 x 90 %,
// turned -30 degrees), each turned 20 degrees: 0 a solid, 1 a solid with a
// four-sided mask, 2 one with a rectangular mask, 3 a text layer with a mask;
// 4 a solid under the turned null 11 under the null 12 at 150 x 100 %.
TEST(MirroredLayer, ShearedRigsAreBodiesAsDrawn)
{
    const QByteArray turned = R"("transform": {"position": [40, 30], "rotation": 20}, "parent": 10)";
    const QByteArray quad = R"({"shape": {"closed": true, "vertices": [[10, 5], [190, 20], [160, 95], [30, 80]]}})";
    const QByteArray rectangle = R"({"shape": {"closed": true, "vertices": [[20, 10], [180, 10], [180, 90], [20, 90]]}})";
    const QByteArray glyph = R"({"text": "x", "outlines": [{"closed": true, "vertices": [[0, 0], [80, 0], [80, 60]]}]})";
    Scene scene(composition(
        R"({"type": "solid", "source": 1, )" + turned + "},"
        + R"({"type": "solid", "source": 1, )" + turned + R"(, "masks": [)" + quad + "]},"
        + R"({"type": "solid", "source": 1, )" + turned + R"(, "masks": [)" + rectangle + "]},"
        + R"({"type": "text", "text": )" + glyph + ", " + turned + R"(, "masks": [)" + quad + "]},"
        + R"({"type": "solid", "source": 1, "transform": {"position": [60, -20], "rotation": 10}, "parent": 11},
            {"id": 10, "type": "null", "transform": {"position": [500, 250], "scale": [110, 90], "rotation": -30}},
            {"id": 11, "type": "null", "transform": {"position": [30, 20], "rotation": 35}, "parent": 12},
            {"id": 12, "type": "null", "transform": {"position": [450, 200], "scale": [150, 100]}})"));
    const std::vector<std::vector<b2Vec2>> corners = {
        {{0, 0}, {200, 0}, {200, 100}, {0, 100}},
        {{10, 5}, {190, 20}, {160, 95}, {30, 80}},
        {{20, 10}, {180, 10}, {180, 90}, {20, 90}},
        {{10, 5}, {190, 20}, {160, 95}, {30, 80}},
        {{0, 0}, {200, 0}, {200, 100}, {0, 100}},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const MyBody body = scene.body(i);
        for (const b2Vec2 v : corners[size_t(i)])
            EXPECT_TRUE(hasCorner(body, hostWorld(scene, i, v.x, v.y), 1e-3f)) << "drawn corner " << v.x << " " << v.y;
        expectBodyIsDrawn(scene, i, body, 2.0, 0.005);
        expectEngineAccepts(body);
    }
}

TEST(MirroredLayer, AMirroredCircleMaskStaysACircle)
{
    const QByteArray circle = R"({"shape": {"closed": true, "vertices": [
        [100, 10, -22.09, 0, 22.09, 0], [140, 50, 0, -22.09, 0, 22.09],
        [100, 90, 22.09, 0, -22.09, 0], [60, 50, 0, 22.09, 0, -22.09]]}})";
    Scene scene(composition(R"({"type": "solid", "source": 1, "transform": {"position": [600, 300],
                                "scale": [-150, 150]}, "masks": [)" + circle + "]}"));
    const MyBody body = scene.body(0);
    ASSERT_EQ(countIf(body, isCircleOutline), 1);
    EXPECT_NEAR(group(body)[0].radius, 0.6f, 1e-4) << "a radius is never negative";
    expectEngineAccepts(body);
}

}  // namespace
