// Play, pause, single step, loop, restarts, the frame limit and the hand-over
// of a recorded range.
#include "SceneFixture.h"

#include "model/JointUserData.h"
#include "model/UserData.h"

#include <gtest/gtest.h>

using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

TEST(Playback, StoppedTicksRedrawButDoNotAdvance)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    const b2Vec2 p = scene.world(0)->GetPosition();
    scene.ticks(5);
    EXPECT_EQ(scene.core.currentFrame, 0);
    EXPECT_EQ(scene.world(0)->GetPosition(), p);
}

TEST(Playback, SingleStepAdvancesExactlyOneFrame)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    scene.core.stepAnimation();
    scene.ticks(3);
    EXPECT_EQ(scene.core.currentFrame, 1);
    EXPECT_FALSE(scene.core.running);
    EXPECT_FALSE(scene.core.playing);
    EXPECT_FALSE(scene.core.singleStep);
    EXPECT_GT(scene.world(0)->GetPosition().y, 0.0f);
}

TEST(Playback, LoopRestartsAtItsEndFrame)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    scene.core.looping = true;
    scene.core.loopEndFrame = 10;
    scene.core.restartAndPlayAnimation();
    const int restarts = scene.core.restarts;
    int highest = 0;
    for (int i = 0; i < 35; ++i) {
        scene.ticks(1);
        highest = std::max(highest, scene.core.currentFrame);
    }
    EXPECT_EQ(highest, 10);
    EXPECT_EQ(scene.core.restarts - restarts, 3);
    EXPECT_TRUE(scene.core.playing);

    scene.core.restartAndStopAnimation(false);
    EXPECT_FALSE(scene.core.looping);
}

TEST(Playback, PastFrame99999TheSimulationRestartsAndStops)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    scene.play();
    scene.core.currentFrame = 99999;
    scene.ticks(1);
    EXPECT_EQ(scene.core.currentFrame, 100000);
    EXPECT_TRUE(scene.core.running);
    scene.ticks(1);
    EXPECT_EQ(scene.core.currentFrame, 1) << "restarted at 0, then counted";
    EXPECT_FALSE(scene.core.running);
    EXPECT_FALSE(scene.core.playing);
}

TEST(Playback, RestartKeepsThePlayStateAndRebuildsFromTheRecords)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500), solid(2, 3, 300, 500), solid(3, 3, 700, 500)}));
    scene.build();
    scene.body(1).type = BodyType::Dead;
    scene.body(2).startFrame = 5;
    scene.play();
    scene.ticks(4);
    scene.core.restartAnimation();
    EXPECT_TRUE(scene.core.playing);
    EXPECT_EQ(scene.core.currentFrame, 0);
    EXPECT_NEAR(scene.world(0)->GetPosition().y, 0.0f, 1e-6f) << "a fresh world";
    EXPECT_TRUE(scene.body(1).userData->notAlive);
    EXPECT_TRUE(scene.body(2).userData->notAlive);
    EXPECT_EQ(scene.world(2)->GetType(), b2_staticBody) << "not alive before its start frame";

    scene.core.pauseAnimation();
    scene.core.restartAnimation();
    EXPECT_FALSE(scene.core.playing);
    EXPECT_FALSE(scene.core.running);
}

TEST(Playback, PivotJointsDrawAtTheirLiveAnchorOncePlayed)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500), solid(2, 3, 550, 500)}));
    scene.build();
    JointUserData drawing;
    MyJoint pivot;
    pivot.type = JointType::Revolute;
    pivot.bodyA = 0;
    pivot.bodyB = 1;
    pivot.anchor = b2Vec2(0.25f, 0.0f);
    pivot.motorSpeed = 2.0f;
    pivot.enableMotor = true;
    pivot.maxMotorTorque = 10.0f;
    pivot.jointUserData = &drawing;
    scene.core.joints.push_back(pivot);
    scene.rebuild();
    ASSERT_NE(scene.core.joints[0].joint, nullptr);
    EXPECT_EQ(drawing.pivotAnchor, b2Vec2(0.25f, 0.0f));
    EXPECT_FLOAT_EQ(static_cast<b2RevoluteJoint*>(scene.core.joints[0].joint)->GetMotorSpeed(), -2.0f);

    scene.core.pauseAnimation();
    EXPECT_FALSE(drawing.playing) << "paused at frame 0";
    scene.play();
    EXPECT_TRUE(drawing.playing);
    scene.ticks(2);
    scene.core.pauseAnimation();
    EXPECT_TRUE(drawing.playing) << "paused later";
}

TEST(Playback, TheRecordedRangeIsHandedOverInTheTickOfItsEndFrameAndPlaybackStops)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500), solid(2, 3, 300, 500)}));
    scene.build();
    scene.startRecording(2, 5);
    scene.ticks(5);  // frames 0 to 4
    EXPECT_TRUE(scene.core.handedOver.empty());
    ASSERT_EQ(scene.core.bodyTransforms.size(), 2u);
    EXPECT_EQ(scene.core.bodyTransforms[0].positions.size(), 3u);

    scene.ticks(1);  // frame 5
    ASSERT_EQ(scene.core.handedOver.size(), 1u);
    EXPECT_EQ(scene.core.handedOver[0], scene.core.comp);
    EXPECT_FALSE(scene.core.running);
    EXPECT_FALSE(scene.core.playing);
    EXPECT_FALSE(scene.core.exporting);
    // Track c belongs to body N - 1 - c.
    EXPECT_EQ(scene.core.bodyTransforms[0].positions.size(), 4u);
    EXPECT_NEAR(scene.core.bodyTransforms[0].positions[0].x, 300.0f, 1e-3f);
    EXPECT_NEAR(scene.core.bodyTransforms[1].positions[0].x, 500.0f, 1e-3f);
    EXPECT_EQ(scene.core.bodyTransforms[1].anchor, scene.body(0).layerAnchor);
}

TEST(Playback, ARestartDuringRecordingStartsTheTracksAfresh)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    scene.startRecording(0, 6);
    scene.ticks(4);
    scene.core.restartAndPlayAnimation();  // an edit in between
    scene.ticks(7);
    ASSERT_EQ(scene.core.handedOver.size(), 1u);
    ASSERT_EQ(scene.core.bodyTransforms.size(), 1u);
    EXPECT_EQ(scene.core.bodyTransforms[0].positions.size(), 7u);
    EXPECT_EQ(scene.core.bodyTransforms[0].rotations.size(), 7u);
}

TEST(Playback, AnExportRecordsWithoutPacingRepaintsAFewTimesASecondAndDrawsItsLastFrame)
{
    Scene scene(sceneJson({solid(1, 3, 500, 500)}));
    scene.build();
    // Each tick takes `tickMs` of wall time; a frame at 25 fps is 40 ms.
    qint64 now = 1000;
    qint64 tickMs = 10;
    std::vector<double> sleeps;
    scene.core.limiter.setClock([&now] { return now; }, [&sleeps](double ms) { sleeps.push_back(ms); });
    auto ticks = [&](int count) {
        for (int i = 0; i < count; ++i) {
            scene.core.updatePhysics();
            now += tickMs;
        }
    };

    scene.core.playAnimation();
    scene.core.refreshes = 0;
    ticks(4);
    EXPECT_EQ(sleeps.size(), 4u) << "playback keeps the composition's pace";
    EXPECT_EQ(scene.core.refreshes, 4) << "and draws every frame";

    sleeps.clear();
    scene.startRecording(0, 20);
    scene.core.refreshes = 0;
    scene.core.progressShown.clear();
    tickMs = 50;
    ticks(20);  // frames 0 to 19: 1 s of wall time
    EXPECT_TRUE(sleeps.empty()) << "an export never waits";
    EXPECT_EQ(scene.core.refreshes, 5) << "one repaint per 200 ms";
    EXPECT_EQ(scene.core.progressShown, (std::vector<int>{0, 4, 8, 12, 16})) << "the progress with each";
    EXPECT_TRUE(scene.core.handedOver.empty());

    now -= 40;  // the end frame comes 160 ms after the last repaint
    ticks(1);
    ASSERT_EQ(scene.core.handedOver.size(), 1u);
    EXPECT_EQ(scene.core.refreshes, 6) << "the last frame is drawn, however soon it comes";
    EXPECT_EQ(scene.core.progressShown.back(), 20);
    EXPECT_EQ(scene.core.framesShown.back(), 20) << "and its number";
}
