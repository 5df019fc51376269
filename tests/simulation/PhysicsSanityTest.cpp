// The world behaves like physics: free fall, a perfect bounce, a resting
// stack, and the sub-steps dividing each frame (none: no step at all).
#include "SceneFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

// A ball of radius r world units around the body's origin.
void makeBall(MyBody& body, float r = 0.5f)
{
    ShapeDef circle;
    circle.points = {b2Vec2(-r, 0.0f), b2Vec2(0.0f, -r), b2Vec2(r, 0.0f), b2Vec2(0.0f, r)};
    circle.isCircle = true;
    circle.closed = true;
    circle.radius = r;
    body.outlines = {{circle}};
    body.isLayerBox = false;
}

// Where a body released at rest has fallen after `frames` frames of `substeps`
// steps each (Box2D integrates velocity first, then position).
double fallAfter(int frames, int substeps)
{
    const double h = 1.0 / 25.0 / substeps;
    const double n = double(frames) * substeps;
    return 10.0 * h * h * n * (n + 1.0) / 2.0;
}

double fallOfOneBox(int substeps, int frames)
{
    Scene scene(sceneJson({solid(1, 1, 500, 200)}));
    scene.build();
    scene.core.controls.substeps = substeps;
    const float y0 = scene.world(0)->GetPosition().y;
    scene.play();
    scene.ticks(frames);
    return scene.world(0)->GetPosition().y - y0;
}

} // namespace

TEST(PhysicsSanity, FreeFallForOneSecondLandsAtHalfGTSquared)
{
    const double fallen = fallOfOneBox(2, 25);
    EXPECT_NEAR(fallen, 0.5 * 10.0 * 1.0 * 1.0, 0.12);
    EXPECT_NEAR(fallen, fallAfter(25, 2), 1e-3);
}

TEST(PhysicsSanity, SubstepsDivideEachFrameAndZeroHoldsTheWorld)
{
    EXPECT_NEAR(fallOfOneBox(1, 25), fallAfter(25, 1), 1e-3);
    EXPECT_NEAR(fallOfOneBox(4, 25), fallAfter(25, 4), 1e-3);
    // With no sub-steps the frames pass and the world is not stepped.
    EXPECT_EQ(fallOfOneBox(0, 25), 0.0);
    EXPECT_EQ(fallOfOneBox(-3, 25), 0.0);
}

TEST(PhysicsSanity, BallWithBouncinessOneKeepsItsHeight)
{
    Scene scene(sceneJson({solid(1, 1, 500, 300), solid(2, 2, 500, 900)}));
    scene.build();
    makeBall(scene.body(0));
    scene.body(0).restitution = 1.0f;
    scene.body(0).friction = 0.0f;
    scene.body(1).type = BodyType::Static;
    scene.body(1).restitution = 1.0f;
    scene.rebuild();
    const float start = scene.world(0)->GetPosition().y;
    scene.play();

    bool bounced = false;
    float peak = 1e9f;
    for (int frame = 0; frame < 75; ++frame) {
        scene.ticks(1);
        const b2Body* ball = scene.world(0);
        if (ball->GetLinearVelocity().y < 0.0f)
            bounced = true;
        if (bounced)
            peak = std::min(peak, ball->GetPosition().y);
        if (bounced && ball->GetLinearVelocity().y > 0.0f)
            break;  // past the top of the first bounce
    }
    ASSERT_TRUE(bounced);
    const float drop = 3.8f - 0.5f - start;  // floor top minus radius
    EXPECT_NEAR(peak, start, 0.1f * drop);
}

// Balls dropped on what layers draw: a shape layer of two overlapping
// trapezoids in two groups, each with its own fill and each starting inside
// the other, and a ring drawn as a mask with a Subtract mask inside it. The
// first ball lands on the drawn top of a trapezoid; the second, let go in
// the ring's hole, falls onto the ring's inner edge.
TEST(PhysicsSanity, BallsRestOnTheDrawnEdgesOfOverlappingShapesAndMaskRings)
{
    const QString filled = QStringLiteral(
        R"({"matchName": "ADBE Vector Group", "contents": [
            {"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape": {"closed": true,
             "vertices": [%1]}}},
            {"matchName": "ADBE Vector Graphic - Fill"}]})");
    const QString trapezoids =
        QStringLiteral(R"({"id": 2, "type": "shape", "name": "Trapezoids", "transform": {"position": [500, 600]},
                           "contents": [%1, %2]})")
            .arg(filled.arg(QStringLiteral("[50, 50], [-200, 50], [-150, -50], [0, -50]")),
                 filled.arg(QStringLiteral("[-20, -40], [150, -40], [200, 60], [-70, 60]")));
    const QString circle = QStringLiteral(
        R"({"mode": %1, "shape": {"closed": true, "vertices": [[50, %2, %4, 0, %5, 0], [%3, 50, 0, %4, 0, %5],
                                                              [50, %6, %5, 0, %4, 0], [%7, 50, 0, %5, 0, %4]]}})");
    const auto mask = [&](int mode, double r) {
        const double k = 0.5522848 * r;
        return circle.arg(mode).arg(50 - r).arg(50 + r).arg(-k).arg(k).arg(50 + r).arg(50 - r);
    };
    const QString ring = QStringLiteral(R"("transform": {"position": [800, 500], "scale": [400, 400]},
                                           "masks": [%1, %2])")
                             .arg(mask(1, 45), mask(2, 30));
    Scene scene(sceneJson({solid(1, 3, 400, 300), trapezoids, solid(3, 3, 800, 500), solid(4, 1, 0, 0, ring)}));
    scene.build();
    makeBall(scene.body(0));
    makeBall(scene.body(2));
    scene.body(1).type = BodyType::Static;
    scene.body(3).type = BodyType::Static;
    scene.rebuild();
    scene.play();
    scene.ticks(75);
    // World (0, 0) is the composition's centre.
    const b2Body* onTrapezoid = scene.world(0);
    EXPECT_NEAR(onTrapezoid->GetPosition().y, 0.5f - 0.5f, 0.02f) << "the trapezoid's top at 550 px";
    EXPECT_NEAR(onTrapezoid->GetPosition().x, -1.0f, 0.02f);
    const b2Body* inRing = scene.world(2);
    EXPECT_NEAR(inRing->GetPosition().y, 1.2f - 0.5f, 0.04f) << "the hole's bottom at 620 px, flattened";
    EXPECT_NEAR(inRing->GetPosition().x, 3.0f, 0.05f);
}

// A box turned 45 degrees under a null stretched 150 x 70 % and turned back
// so that the box's top is level: the host draws it sheared, its top from
// 479 to 596 px at 555.1 px. A ball of 10 px let go above 580 px lands on
// that top, near its corner, where the box built unsheared (its top ending
// at 558.5 px) has nothing.
TEST(PhysicsSanity, ABallRestsOnTheDrawnCornerOfASkewedLayer)
{
    const QString rig = QStringLiteral(R"({"id": 3, "type": "null", "name": "Rig",
        "transform": {"anchorPoint": [0, 0], "position": [500, 600], "scale": [150, 70],
                      "rotation": -25.016893478100016}})");
    Scene scene(sceneJson({solid(1, 3, 580, 400),
                           solid(2, 1, 0, 0, QStringLiteral(R"("parent": 3, "transform": {"rotation": 45})")),
                           rig}));
    scene.build();
    makeBall(scene.body(0), 0.1f);
    scene.body(1).type = BodyType::Static;
    scene.rebuild();
    scene.play();
    scene.ticks(75);
    const b2Body* ball = scene.world(0);
    EXPECT_NEAR(ball->GetPosition().y, 0.5515f - 0.1f, 0.02f) << "on the drawn top";
    EXPECT_NEAR(ball->GetPosition().x, 0.8f, 0.05f);
}

TEST(PhysicsSanity, TwoStackedBoxesComeToRest)
{
    Scene scene(sceneJson({solid(1, 1, 500, 720), solid(2, 1, 500, 825), solid(3, 2, 500, 900)}));
    scene.build();
    scene.body(2).type = BodyType::Static;
    scene.rebuild();
    scene.play();
    scene.ticks(100);

    const b2Body* top = scene.world(0);
    const b2Body* bottom = scene.world(1);
    EXPECT_LT(top->GetLinearVelocity().Length(), 0.05f);
    EXPECT_LT(bottom->GetLinearVelocity().Length(), 0.05f);
    EXPECT_NEAR(bottom->GetPosition().y, 3.8f - 0.5f, 0.05f);
    EXPECT_NEAR(top->GetPosition().y, 3.8f - 1.5f, 0.08f);
    EXPECT_NEAR(top->GetPosition().x, 0.0f, 0.05f);
    EXPECT_NEAR(top->GetAngle(), 0.0f, 0.02f);
}

TEST(PhysicsSanity, ConvexPiecesKeepTheTrianglesMassCentreAndCountsWithFewerFixtures)
{
    // An elliptic mask and a five-pointed star mask on two solids.
    const QString ellipse = QStringLiteral(
        R"("masks": [{"name": "E", "shape": {"vertices": [[50, 0, -27, 0, 27, 0], [100, 50, 0, -27, 0, 27],
                                                         [50, 100, 27, 0, -27, 0], [0, 50, 0, 27, 0, -27]]}}])");
    const QString star = QStringLiteral(
        R"("masks": [{"name": "S", "shape": {"vertices": [[50, 0], [62, 35], [100, 38], [70, 60], [80, 98],
                                                         [50, 75], [20, 98], [30, 60], [0, 38], [38, 35]]}}])");
    Scene scene(sceneJson({solid(1, 1, 300, 300, ellipse), solid(2, 1, 600, 300, star)}));
    scene.build();
    ZolvarWorld& world = *scene.core.world;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const MyBody& record = scene.body(i);
        double mass = 0.0, cx = 0.0, cy = 0.0;
        int triangles = 0;
        for (const auto& outline : record.outlines)
            for (const ShapeDef& shape : outline) {
                if (!shape.closed || shape.isCircle || shape.isBox || shape.points.size() != 3)
                    continue;
                b2PolygonShape t;
                t.Set(shape.points.data(), 3);
                b2MassData md;
                t.ComputeMass(&md, record.density);
                mass += md.mass;
                cx += md.mass * md.center.x;
                cy += md.mass * md.center.y;
                ++triangles;
            }
        ASSERT_GE(triangles, 8);
        b2Body* body = record.body;
        int fixtures = 0;
        int polygons = 0;
        int meshTriangles = 0;
        for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            ++fixtures;
            polygons += world.polygonCount(f);
            const auto mesh = world.pieceTriangles.find(f);
            meshTriangles += mesh == world.pieceTriangles.end() ? 1 : int(mesh->second.size());
        }
        EXPECT_LT(fixtures, i == 0 ? triangles / 3 : triangles) << "fewer fixtures";
        EXPECT_EQ(polygons, triangles) << "the counts shown describe the triangles";
        EXPECT_EQ(meshTriangles, triangles) << "the mesh shows the triangles";
        EXPECT_NEAR(body->GetMass(), mass, 1e-6 * mass);
        const b2Vec2 centre = body->GetLocalCenter();
        const double size = std::sqrt(mass / record.density);
        EXPECT_NEAR(centre.x, cx / mass, 1e-5 * size);
        EXPECT_NEAR(centre.y, cy / mass, 1e-5 * size);
    }
}

TEST(PhysicsSanity, OverlappingMasksWeighTheirUnion)
{
    // Two 60 x 40 rectangles overlapping in 20 x 20 pixels, the second
    // starting inside the first, drawn in either direction: the body weighs
    // density times the union's area, 2 x 0.24 - 0.04 world units squared.
    const QString forward = QStringLiteral(
        R"("masks": [{"shape": {"vertices": [[0, 0], [60, 0], [60, 40], [0, 40]]}},
                     {"shape": {"vertices": [[40, 20], [100, 20], [100, 60], [40, 60]]}}])");
    const QString backward = QStringLiteral(
        R"("masks": [{"shape": {"vertices": [[60, 40], [60, 0], [0, 0], [0, 40]]}},
                     {"shape": {"vertices": [[40, 20], [40, 60], [100, 60], [100, 20]]}}])");
    Scene scene(sceneJson({solid(1, 1, 300, 300, forward), solid(2, 1, 600, 300, backward)}));
    scene.build();
    for (int i = 0; i < 2; ++i)
        scene.body(i).density = 2.5f;
    scene.rebuild();
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(scene.world(i)->GetMass(), 2.5 * (0.24 + 0.24 - 0.04), 1e-4);
    }
}
