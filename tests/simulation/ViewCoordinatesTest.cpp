// Composition pixels and world units, the change tests of the key export,
// and the drawing preferences reaching the world.
#include "model/JointUserData.h"
#include "simulation/KeySelection.h"
#include "simulation/SimulationCore.h"

#include "SceneFixture.h"
#include "project/Composition.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ViewCoordinates, PixelsAndWorldUnits)
{
    SimulationCore core(nullptr, 0);
    core.compWidth = 1920;
    core.compHeight = 1080;
    EXPECT_FLOAT_EQ(core.getGLXCoordFromAE(960.0f), 0.0f);
    EXPECT_FLOAT_EQ(core.getGLYCoordFromAE(540.0f), 0.0f);
    EXPECT_FLOAT_EQ(core.getGLXCoordFromAE(0.0f), -9.6f);
    EXPECT_FLOAT_EQ(core.getGLYCoordFromAE(0.0f), -5.4f);
    EXPECT_EQ(core.getAEPosFromGLPos(b2Vec2(1.0f, 1.0f)), b2Vec2(1060.0f, 640.0f));
    EXPECT_NEAR(SimulationCore::getAERotFromBox2DRot(b2_pi / 2.0f), 90.0f, 1e-4f);

    core.updateCurrentCompBoundsInGL();
    EXPECT_EQ(core.compBounds[0], b2Vec2(-9.6f, -5.4f));
    EXPECT_EQ(core.compBounds[2], b2Vec2(9.6f, 5.4f));

    core.compWidth = 101;  // an odd width gives a half pixel
    EXPECT_FLOAT_EQ(core.getGLXCoordFromAE(50.5f), 0.0f);
}

TEST(ViewCoordinates, ChangeTestsAndKeySelection)
{
    EXPECT_FALSE(SimulationCore::areValuesDifferent(1.0f, 1.0009f));
    EXPECT_TRUE(SimulationCore::areValuesDifferent(1.0f, 1.002f));
    EXPECT_FALSE(SimulationCore::areValuesDifferent(b2Vec2(0.0f, 0.0f), b2Vec2(0.03f, 0.0f)));
    EXPECT_TRUE(SimulationCore::areValuesDifferent(b2Vec2(0.0f, 0.0f), b2Vec2(0.04f, 0.0f)));

    using Keys = std::vector<bool>;
    EXPECT_EQ(selectKeys(std::vector<float>{1, 2, 3, 3, 3}), (Keys{true, true, true, false, false}));
    EXPECT_EQ(selectKeys(std::vector<float>{3, 3, 3, 4, 5}), (Keys{true, false, true, true, true}));
    EXPECT_EQ(selectKeys(std::vector<float>{7, 7, 7, 7}), (Keys{true, false, false, false}));
    EXPECT_EQ(selectKeys(std::vector<float>{7}), (Keys{true}));
    // A value that goes and comes back keeps its middle sample.
    EXPECT_EQ(selectKeys(std::vector<float>{1, 2, 1}), (Keys{true, true, true}));
    EXPECT_EQ(selectKeys(std::vector<b2Vec2>{b2Vec2(0, 0), b2Vec2(0.01f, 0), b2Vec2(0.01f, 0), b2Vec2(5, 0)}),
              (Keys{true, false, true, true}));
}

TEST(ViewCoordinates, SlowMotionIsNeverThinnedAway)
{
    // Below the tolerance from one frame to the next, above it over two:
    // every sample but the last is keyed, so the layer follows the body.
    const struct {
        const char* what;
        float step;  // per frame
        int frames;
        bool twoD;
    } rows[] = {{"a slow turn", 0.0008f, 11, false}, {"a slow drift", 0.025f, 21, true}};
    for (const auto& row : rows) {
        std::vector<float> turn;
        std::vector<b2Vec2> drift;
        for (int i = 0; i <= row.frames; ++i) {
            turn.push_back(10.0f + row.step * float(i));
            drift.emplace_back(300.0f + row.step * float(i), 200.0f);
        }
        const std::vector<bool> keys = row.twoD ? selectKeys(drift) : selectKeys(turn);
        EXPECT_EQ(std::count(keys.begin(), keys.end(), true), row.frames) << row.what;
        EXPECT_FALSE(keys.back()) << row.what << ": one step short of the tolerance";
    }
}

TEST(ViewCoordinates, ACreepTooSlowForTwoFramesIsKeyedOnceItHasGoneFar)
{
    // A hundredth of a pixel (or of a degree's tenth) a frame for 1,000
    // frames: no two frames apart differ, but the value travels 10 pixels.
    std::vector<float> turn;
    std::vector<b2Vec2> drift;
    for (int i = 0; i <= 1000; ++i) {
        turn.push_back(10.0f + 0.0001f * float(i));
        drift.emplace_back(300.0f + 0.01f * float(i), 200.0f);
    }
    const auto check = [](const auto& samples, const char* what, auto apart) {
        const std::vector<bool> keys = selectKeys(samples);
        // Every sample lies within the tolerance of the key before it, and
        // the keys are not every frame.
        size_t last = 0;
        size_t count = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            if (keys[i]) {
                last = i;
                ++count;
            }
            EXPECT_FALSE(apart(samples[last], samples[i])) << what << " at " << i;
        }
        EXPECT_GT(count, 10u) << what;
        EXPECT_LT(count, samples.size() / 2) << what;
    };
    check(turn, "a creeping turn", [](float a, float b) { return keyValuesDiffer(a, b); });
    check(drift, "a creeping drift", [](b2Vec2 a, b2Vec2 b) { return keyValuesDiffer(a, b); });
}

TEST(ViewCoordinates, PreferencesReachTheLiveWorldAndTheJoints)
{
    SimulationCore core(nullptr, 0);
    core.setIgnoreBodyColorWhenPasting(2);
    EXPECT_FALSE(core.ignoreBodyColorWhenPasting);
    core.setIgnoreBodyColorWhenPasting(1);
    EXPECT_TRUE(core.ignoreBodyColorWhenPasting);

    // Stored before there is a world: the first world gets them.
    core.setSelectionStrokeWidth(3.5f);
    core.initWorld(false);
    ASSERT_NE(core.world, nullptr);
    EXPECT_FLOAT_EQ(core.world->selectionStrokeWidth, 3.5f);
    // The revolute default (0.33, 1, 0.33) is stored as whole 255ths.
    EXPECT_FLOAT_EQ(core.world->revoluteJointColor.r, 84.0f / 255.0f);
    EXPECT_FLOAT_EQ(core.world->prismaticJointColor.g, 214.0f / 255.0f);

    core.setJointStrokeWidth(4.0f);
    core.setStaticHighlightColor(QColor(10, 20, 30));
    EXPECT_FLOAT_EQ(core.world->jointStrokeWidth, 4.0f);
    EXPECT_FLOAT_EQ(core.world->staticHighlightColor.g, 20.0f / 255.0f);

    JointUserData distance, spring;
    MyJoint a, b;
    a.type = JointType::Distance;
    a.jointUserData = &distance;
    b.type = JointType::Spring;
    b.jointUserData = &spring;
    MyBody body;
    body.joints = {a, b};
    core.bodies.push_back(body);
    core.setSpringJointColor(QColor(0, 0, 255));
    EXPECT_FLOAT_EQ(spring.color.b, 1.0f);
    EXPECT_FLOAT_EQ(distance.color.r, 1.0f) << "every joint gets its type's colour";
    EXPECT_FLOAT_EQ(distance.color.g, 1.0f);
    EXPECT_FLOAT_EQ(core.world->springJointColor.b, 1.0f);
}

TEST(ViewCoordinates, WorldSettersDivideWithoutClamping)
{
    ZolvarWorld world(b2Vec2(0, 10), b2Color(0.33f, 1.0f, 0.33f), 2.0f, b2Color(0, 0, 0), b2Color(0, 0, 0),
                      b2Color(0, 0, 0), b2Color(0, 0, 0), b2Color(0, 0, 0), b2Color(0, 0, 0), 1.0f, true);
    EXPECT_FLOAT_EQ(world.selectionHighlightColor.r, 84.0f / 255.0f);
    world.setSelectionHighlightColor(84, 255, 84);
    EXPECT_FLOAT_EQ(world.selectionHighlightColor.r, 84.0f / 255.0f);
    world.setDistanceJointColor(300, -1, 0);
    EXPECT_FLOAT_EQ(world.distanceJointColor.r, 300.0f / 255.0f);
    EXPECT_FLOAT_EQ(world.distanceJointColor.g, -1.0f / 255.0f);
    EXPECT_TRUE(world.showMesh);
}

TEST(ViewCoordinates, HostileCompositionTimingAndPixelsStayInRange)
{
    using testing_simulation::Scene;
    using testing_simulation::sceneJson;
    using testing_simulation::solid;
    // Rows: what another host could hand over (the stand-in's loader
    // refuses these files), and what the core makes of it.
    struct Row {
        A_Time workArea;
        A_Ratio aspect;
        int frames;
        int width;
    };
    const Row rows[] = {
        {{20, 1}, {1, 1}, 500, 1000},
        {{2147483647, 1}, {1, 1}, int(kMaxWorkAreaFrames), 1000},   // 2^31 s at 25 fps
        {{2147483647, 1}, {2147483647, 3}, int(kMaxWorkAreaFrames), 1000},  // aspect no host makes: square
        {{-5, 1}, {2, 1}, 0, 2000},
        {{1, 0}, {1, 0}, 0, 1000},
        {{7, 4}, {1, 100}, 43, 10},
    };
    for (const Row& row : rows) {
        Scene scene(sceneJson({solid(1, 1, 100, 100)}));
        scene.composition()->setWorkAreaUnchecked(A_Time{0, 1}, row.workArea);
        scene.composition()->setPixelAspect(row.aspect);
        scene.build();
        EXPECT_EQ(scene.core.workAreaFrames, row.frames) << row.workArea.value << "/" << row.workArea.scale;
        EXPECT_EQ(scene.core.compWidth, row.width) << row.aspect.num << "/" << row.aspect.den;
    }
}
