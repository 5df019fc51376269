// The body record of a layer: identity, frames, the layer box, colours and
// labels, and rebuilding a body's outlines.
#include "OutlineFixture.h"

#include "model/PolygonUtils.h"
#include "outlines/BodyFromLayer.h"
#include "outlines/OutlineLimits.h"
#include "outlines/OutlineMessages.h"

#include <cmath>

namespace {

using namespace outline_test;

const QByteArray kFootage = R"(
    {"id": 1, "name": "Red", "kind": "solid", "width": 200, "height": 100, "color": [1, 0, 0]},
    {"id": 2, "name": "Odd", "kind": "solid", "width": 200, "height": 100, "color": [-0.5, 2, 0.25]},
    {"id": 3, "name": "Clip", "kind": "file", "width": 200, "height": 100, "file": "/clips/a.mov"})";

const QByteArray kSquareMask = R"("masks": [{"shape": {"closed": true, "vertices": [[0, 0], [100, 0], [100, 50], [0, 50]]}}])";

TEST(BodyFromLayer, LayerBoxIdentityAndFrames)
{
    Scene scene(composition(
        R"({"id": 41, "type": "solid", "source": 1, "transform": {"position": [500, 250]}},
           {"id": 42, "type": "solid", "source": 1, "inPoint": 0.4, "transform": {"position": [600, 250], "rotation": 90}},
           {"id": 43, "type": "solid", "source": 1, "duration": 2, "transform": {"scale": [0, 0]}},
           {"id": 44, "type": "camera", "inPoint": 1})",
        QByteArray(), kFootage));
    std::vector<MyBody> bodies(4);
    scene.build(bodies, 2, 0);
    const MyBody& box = bodies[2];
    EXPECT_EQ(box.layerID, 41);
    EXPECT_EQ(box.index, 3);
    EXPECT_EQ(box.name, QStringLiteral("Layer 1"));
    EXPECT_TRUE(box.isLayerBox);
    ASSERT_EQ(group(box).size(), 1u);
    EXPECT_EQ(group(box)[0].points,
              (std::vector<b2Vec2>{b2Vec2(-1, -0.5f), b2Vec2(1, -0.5f), b2Vec2(1, 0.5f), b2Vec2(-1, 0.5f)}));
    EXPECT_TRUE(group(box)[0].isBox);
    EXPECT_FALSE(group(box)[0].closed);
    EXPECT_EQ(box.position, b2Vec2(0, 0));
    EXPECT_EQ(box.committedPosition, box.position);
    EXPECT_EQ(box.initialPosition, box.position);
    EXPECT_EQ(box.startFrame, 0);
    EXPECT_EQ(box.endFrame, 100000);
    EXPECT_FALSE(box.rotationIsRelative);

    scene.build(bodies, 1, 1);
    EXPECT_EQ(bodies[1].startFrame, 10);
    EXPECT_EQ(bodies[1].endFrame, 100000);
    EXPECT_NEAR(bodies[1].angle, 90 * 0.017453292f, 1e-6);
    EXPECT_EQ(bodies[1].initialRotation, bodies[1].angle);

    // A layer scaled to nothing keeps a box the engine takes.
    scene.build(bodies, 0, 2);
    EXPECT_EQ(bodies[0].startFrame, 0);
    EXPECT_EQ(bodies[0].endFrame, 50);
    const std::vector<b2Vec2>& tiny = group(bodies[0])[0].points;
    EXPECT_NEAR(tiny[1].x - tiny[0].x, outline_limits::kMinLayerBoxSide, 1e-6);
    expectEngineAccepts(bodies[0]);

    // A camera without masks: the header only.
    bodies[3].position.Set(3, 4);
    scene.build(bodies, 3, 3);
    EXPECT_EQ(bodies[3].layerID, 44);
    EXPECT_EQ(bodies[3].startFrame, 25);
    EXPECT_TRUE(bodies[3].outlines.empty());
    EXPECT_EQ(bodies[3].position, b2Vec2(3, 4));
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(BodyFromLayer, ColoursAndLabels)
{
    const QByteArray layers = R"({"type": "solid", "source": 1}, {"type": "solid", "source": 2},
                                  {"type": "footage", "source": 3}, {"type": "footage", "source": 3, )"
                              + kSquareMask + R"(}, {"type": "solid", "source": 2, )" + kSquareMask + "}";
    Scene scene(composition(layers, QByteArray(), kFootage));
    std::vector<AEGP_ColorVal> table;
    for (int k = 0; k < 16; ++k)
        table.push_back(AEGP_ColorVal{1.0, k / 16.0, 0.25, 0.75});
    std::vector<MyBody> bodies(5);
    const std::vector<char> labels{0, 3, char(17), 5, char(-1)};

    AEGP_ColorVal color = scene.build(bodies, 0, 0, 2, false, labels, table);
    EXPECT_EQ(color.red, 1.0);
    EXPECT_EQ(bodies[0].labelColor.red, 0.5);  // no label
    EXPECT_EQ(bodies[0].labelColor.alpha, 1.0);

    color = scene.build(bodies, 1, 1, 2, false, labels, table);
    EXPECT_EQ(color.red, 0.0);    // clamped below
    EXPECT_EQ(color.green, 1.0);  // and above
    EXPECT_EQ(color.blue, 0.25);
    EXPECT_EQ(color.alpha, 1.0);
    EXPECT_EQ(bodies[1].labelColor.red, 2 / 16.0);  // label 3: entry 2

    color = scene.build(bodies, 2, 2, 2, false, labels, table);
    EXPECT_EQ(color.red, 1.0);  // other footage: white
    EXPECT_EQ(color.green, 1.0);
    EXPECT_EQ(bodies[2].labelColor.red, 0.5);  // label 17: none

    color = scene.build(bodies, 3, 3, 2, false, labels, table);  // masked footage: its label colour
    EXPECT_EQ(color.red, 4 / 16.0);
    EXPECT_EQ(bodies[3].color.red, 4 / 16.0);

    color = scene.build(bodies, 4, 4, 2, false, labels, table);  // a masked solid: the solid's colour
    EXPECT_EQ(color.green, 1.0);
    EXPECT_EQ(bodies[4].labelColor.red, 0.5);  // label -1: none

    // A short table: labels past it count as none.
    scene.build(bodies, 1, 0, 2, false, labels, std::vector<AEGP_ColorVal>(2, table[0]));
    EXPECT_EQ(bodies[1].labelColor.red, 0.5);
}

TEST(BodyFromLayer, PixelAspectAndParentRotation)
{
    Scene scene(composition(
        R"({"id": 1, "type": "null", "transform": {"anchorPoint": [0, 0], "position": [0, 0],
               "rotation": {"keys": [{"time": 0, "value": 0}, {"time": 1, "value": 90}]}}},
           {"id": 2, "type": "null", "parent": 1},
           {"id": 3, "type": "solid", "source": 1, "parent": 1, "transform": {"position": [600, 250]}},
           {"id": 4, "type": "solid", "source": 1, "parent": 2})",
        R"("pixelAspect": [2, 1])", kFootage));
    std::vector<MyBody> bodies(1);
    scene.build(bodies, 0, 2);
    EXPECT_TRUE(bodies[0].rotationVarying);
    // x = 600 in a 2:1 composition 1000 wide: 1200 of 2000 square pixels.
    EXPECT_NEAR(bodies[0].position.x, 2.0f, 1e-6);
    EXPECT_NEAR(bodies[0].position.y, 0.0f, 1e-6);
    scene.build(bodies, 0, 3);
    EXPECT_FALSE(bodies[0].rotationVarying) << "a grandparent's animation alone does not count";
}

TEST(BodyFromLayer, RebuildKeepsWhatTheUserSet)
{
    const QByteArray circle = R"({"type": "solid", "source": 1, "transform": {"position": [500, 250]},
        "masks": [{"shape": {"closed": true, "vertices": [[100, 10, -30, 0, 30, 0], [160, 50, 0, -30, 0, 30],
                                                          [100, 90, 30, 0, -30, 0], [40, 50, 0, 30, 0, -30]]}}]})";
    Scene scene(composition(circle, QByteArray(), kFootage));
    std::vector<MyBody> bodies(1);
    scene.build(bodies, 0, 0, 0);
    const size_t coarse = group(bodies[0]).size();
    MyBody& body = bodies[0];
    body.position.Set(2, 1);
    body.committedPosition.Set(2, 1);
    body.angle = 0.5f;
    body.color = AEGP_ColorVal{1.0, 0.1, 0.2, 0.3};
    body.meshPrecision = 6;
    body.useConvexHull = false;

    recomputeShape(nullptr, bodies, 0, {0}, kPluginId, scene.basic(), {0}, {});
    EXPECT_GT(group(bodies[0]).size(), coarse);
    EXPECT_EQ(bodies[0].position, b2Vec2(2, 1));
    EXPECT_EQ(bodies[0].committedPosition, b2Vec2(2, 1));
    EXPECT_EQ(bodies[0].angle, 0.5f);
    EXPECT_EQ(bodies[0].color.red, 0.1);
    EXPECT_EQ(bodies[0].initialPosition, b2Vec2(0, 0));
    expectEngineAccepts(bodies[0]);

    // A layer that is gone, or a body without a layer: nothing happens.
    const std::vector<std::vector<ShapeDef>> outlines = bodies[0].outlines;
    bodies[0].meshPrecision = 2;
    recomputeShape(nullptr, bodies, 0, {1}, kPluginId, scene.basic(), {0}, {});
    recomputeShape(nullptr, bodies, 0, {}, kPluginId, scene.basic(), {0}, {});
    recomputeShape(nullptr, bodies, 3, {0}, kPluginId, scene.basic(), {0}, {});
    EXPECT_EQ(bodies[0].outlines.size(), outlines.size());
    EXPECT_EQ(group(bodies[0]).size(), outlines[0].size());
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

}  // namespace

namespace {

using namespace outline_test;

TEST(OutlineMessages, TheTextsOfTheTwoWarnings)
{
    std::vector<MyBody> bodies(4);
    for (size_t i = 0; i < bodies.size(); ++i)
        bodies[i].name = QStringLiteral("L%1").arg(i + 1);
    EXPECT_TRUE(triangulationFailedText(bodies).isEmpty());
    bodies[1].triangulationFailed = true;
    bodies[3].triangulationFailed = true;
    EXPECT_EQ(triangulationFailedText(bodies),
              QStringLiteral("Self-intersecting shapes are not supported.\n\nTriangulation failed for the following "
                             "bodies:\nBody #2 (L2)  Body #4 (L4)  "));

    bodies[0].tooManyPolygons = true;
    bodies[2].tooManyPolygons = true;
    EXPECT_EQ(tooManyPolygonsText(bodies, {2, 1, 0, 9}),
              QStringLiteral("The following bodies contains more than 75 polygons and may slow down simulation: \n"
                             "Body #3 (L3)  Body #1 (L1)  "));
    EXPECT_TRUE(tooManyPolygonsText(bodies, {1, 3}).isEmpty());
    EXPECT_EQ(layerGeometryErrorText(6), QStringLiteral("An error occurred when retrieving geometry of layer 7. This "
                                                        "layer will be represented as a simple box."));
    EXPECT_EQ(layerGeometryErrorText(std::vector<int>{6}), layerGeometryErrorText(6));
    EXPECT_TRUE(layerGeometryErrorText(std::vector<int>{}).isEmpty());
    EXPECT_EQ(layerGeometryErrorText(std::vector<int>{2, 4, 8}),
              QStringLiteral("An error occurred when retrieving geometry of layers 3, 5 and 9. These layers will be "
                             "represented as simple boxes."));
    std::vector<int> many(2000);
    for (int i = 0; i < 2000; ++i)
        many[size_t(i)] = i + 1;
    EXPECT_EQ(layerGeometryErrorText(many),
              QStringLiteral("An error occurred when retrieving geometry of layers 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, "
                             "13, 14, 15, 16, 17, 18, 19, 20, 21 and 1980 more. These layers will be represented as "
                             "simple boxes."));
}

}  // namespace
