// The world behaves like physics: free fall, a perfect bounce, a resting
// stack, and the sub-steps dividing each frame.
#include "SceneFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

// A ball of radius 0.5 world units around the body's origin.
void makeBall(MyBody& body)
{
    ShapeDef circle;
    circle.points = {b2Vec2(-0.5f, 0.0f), b2Vec2(0.0f, -0.5f), b2Vec2(0.5f, 0.0f), b2Vec2(0.0f, 0.5f)};
    circle.isCircle = true;
    circle.closed = true;
    circle.radius = 0.5f;
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

TEST(PhysicsSanity, SubstepsDivideEachFrameAndZeroStillSteps)
{
    EXPECT_NEAR(fallOfOneBox(1, 25), fallAfter(25, 1), 1e-3);
    EXPECT_NEAR(fallOfOneBox(4, 25), fallAfter(25, 4), 1e-3);
    // No sub-steps would freeze the world: it steps once.
    EXPECT_NEAR(fallOfOneBox(0, 25), fallAfter(25, 1), 1e-3);
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
