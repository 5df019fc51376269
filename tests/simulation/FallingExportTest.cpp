// Bodies of every kind of layer fall and land; once their tracks are written
// back, each layer must be drawn where its body was at every keyed frame:
// every point of the layer sits where the recorded position and rotation
// carry the body point it was built from.
#include "SceneFixture.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using standin::TransformStream;
using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

struct Point {
    double x = 0, y = 0;
};

Point drawn(const standin::Layer& layer, Point p, const A_Time& t)
{
    Point world;
    standin::mapPoint(standin::layerToWorld(layer, t), p.x, p.y, &world.x, &world.y);
    return world;
}

Point turned(Point p, double radians)
{
    return {std::cos(radians) * p.x - std::sin(radians) * p.y, std::sin(radians) * p.x + std::cos(radians) * p.y};
}

const QStringList kFallingLayers = {
    solid(1, 2, 500, 950),  // the floor, made static below
    solid(2, 1, 150, 300, QStringLiteral(R"("transform": {"position": [150, 300], "rotation": 25})")),
    solid(3, 1, 330, 250,
          QStringLiteral(R"("transform": {"position": [330, 250], "scale": [-100, 100], "rotation": 30},
                            "masks": [{"shape": {"closed": true, "vertices": [[0, 0], [100, 0], [0, 100]]}}])")),
    QStringLiteral(R"({"id": 4, "type": "shape", "name": "Shapes",
        "transform": {"position": [560, 300], "rotation": 15, "scale": [-100, 100]},
        "contents": [{"matchName": "ADBE Vector Group",
                      "transform": {"ADBE Vector Position": [20, 0], "ADBE Vector Rotation": 10},
                      "contents": [{"matchName": "ADBE Vector Shape - Rect",
                                    "properties": {"ADBE Vector Rect Size": [60, 40], "ADBE Vector Rect Position": [30, 0]}}]},
                     {"matchName": "ADBE Vector Shape - Ellipse",
                      "properties": {"ADBE Vector Ellipse Size": [40, 40], "ADBE Vector Ellipse Position": [0, 60]}}]})"),
    QStringLiteral(R"({"id": 5, "type": "null", "name": "Rig",
                      "transform": {"position": [800, 250], "rotation": 30, "scale": [80, 80]}})"),
    solid(6, 3, 0, 0,
          QStringLiteral(R"("parent": 5, "transform": {"position": [60, 0], "scale": [-100, 100], "rotation": 10})")),
    QStringLiteral(R"({"id": 7, "type": "text", "name": "Title", "text": {"text": "Zo", "size": 60},
                      "transform": {"position": [380, 500], "rotation": 10}})"),
};

} // namespace

TEST(FallingExport, TheWrittenKeysDrawEveryLayerWhereItsBodyWas)
{
    Scene scene(sceneJson(kFallingLayers));
    scene.build();
    ASSERT_EQ(scene.core.bodies.size(), 6u);
    scene.body(0).type = BodyType::Static;

    // Each body's points as the layers drew them before anything moved, in
    // the body's own frame (composition pixels).
    const A_Time zero{0, 1};
    const Point layerPoints[] = {{0, 0}, {100, 0}, {0, 100}, {37, -53}};
    std::vector<std::vector<Point>> local(scene.core.bodies.size());
    for (size_t b = 0; b < scene.core.bodies.size(); ++b) {
        const standin::Layer& layer = *scene.composition()->layer(scene.core.bodyLayerIndices[b]);
        const b2Vec2 origin = scene.core.getAEPosFromGLPos(scene.body(int(b)).position);
        for (const Point p : layerPoints) {
            const Point w = drawn(layer, p, zero);
            local[b].push_back(turned({w.x - origin.x, w.y - origin.y}, -scene.body(int(b)).angle));
        }
    }

    scene.writeKeysOnHandover();
    scene.startRecording(0, 60);
    for (int i = 0; i < 70 && scene.core.handedOver.empty(); ++i)
        scene.ticks(1);
    ASSERT_EQ(scene.core.handedOver.size(), 1u);
    ASSERT_TRUE(scene.exportProblem.isEmpty()) << scene.exportProblem.toStdString();
    ASSERT_TRUE(scene.exportFailures.isEmpty()) << scene.exportFailures.join('\n').toStdString();

    const size_t n = scene.core.bodies.size();
    for (size_t b = 1; b < n; ++b) {
        const standin::Layer& layer = *scene.composition()->layer(scene.core.bodyLayerIndices[b]);
        const BodyTransforms& track = scene.core.bodyTransforms[n - 1 - b];
        const std::string name = layer.name().toStdString();
        EXPECT_GT(track.positions.back().y - track.positions.front().y, 100.0f) << name << " fell";
        EXPECT_EQ(layer.parent(), nullptr) << name;

        const standin::PropertyNode* position = layer.transformStream(TransformStream::Position);
        ASSERT_GT(position->keyCount(), 2) << name;
        for (int k = 0; k < position->keyCount(); ++k) {
            const A_Time t = position->key(k)->time;
            const int frame = int(t.value * 25 / int(t.scale));
            ASSERT_GE(frame, 0);
            ASSERT_LE(frame, 60);
            const b2Vec2 at = track.positions[size_t(frame)];
            const double angle = double(track.rotations[size_t(frame)]) * M_PI / 180.0;
            for (size_t i = 0; i < std::size(layerPoints); ++i) {
                const Point body = turned(local[b][i], angle);
                const Point layerAt = drawn(layer, layerPoints[i], t);
                EXPECT_NEAR(layerAt.x, at.x + body.x, 0.01) << name << " frame " << frame << " point " << i;
                EXPECT_NEAR(layerAt.y, at.y + body.y, 0.01) << name << " frame " << frame << " point " << i;
            }
        }
    }
}

// A static shelf drawn by a group turned 90 degrees at 200 % around a group
// moved by (100, 0) and turned back: 400 x 40 px about (500, 700). A ball
// dropped over it lands on it; one dropped beside it, over the place where
// the groups' values added up would put the shelf, falls past.
TEST(FallingExport, BallsMeetTheShelfNestedGroupsDraw)
{
    const QString ball = QStringLiteral(R"({"id": %1, "type": "shape", "name": "Ball %1",
        "transform": {"position": [%2, 400]},
        "contents": [{"matchName": "ADBE Vector Shape - Ellipse", "properties": {"ADBE Vector Ellipse Size": [40, 40]}}]})");
    Scene scene(sceneJson({QStringLiteral(R"({"id": 1, "type": "shape", "name": "Shelf",
        "transform": {"position": [500, 500]},
        "contents": [{"matchName": "ADBE Vector Group",
                      "transform": {"ADBE Vector Scale": [200, 200], "ADBE Vector Rotation": 90},
                      "contents": [{"matchName": "ADBE Vector Group",
                                    "transform": {"ADBE Vector Position": [100, 0], "ADBE Vector Rotation": -90},
                                    "contents": [{"matchName": "ADBE Vector Shape - Rect",
                                                  "properties": {"ADBE Vector Rect Size": [200, 20]}}]}]}]})"),
                           ball.arg(2).arg(350), ball.arg(3).arg(750)}));
    scene.build();
    ASSERT_EQ(scene.core.bodies.size(), 3u);
    scene.body(0).type = BodyType::Static;
    scene.rebuild();
    scene.play();
    scene.ticks(50);

    // World units: 100 px each, from the composition's centre.
    const b2Vec2 onShelf = scene.world(1)->GetPosition();
    EXPECT_NEAR(onShelf.x, -1.5f, 0.05f);
    EXPECT_NEAR(onShelf.y, (680.0f - 20.0f - 500.0f) / 100.0f, 0.05f) << "rests on the drawn shelf";
    EXPECT_GT(scene.world(2)->GetPosition().y, 3.0f) << "nothing holds the ball beside the shelf";
}
