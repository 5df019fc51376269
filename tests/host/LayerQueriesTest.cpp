// The layer transform and timing queries against the stand-in host, on
// projects whose expected values are computed by hand.
#include "StandinFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"

#include <cmath>
#include <cstring>

namespace {

using testing_standin::Host;

constexpr A_Time kTimeZero{0, 1};

// Comp "Rig": a null at (500, 250) with scale 50 % and rotation 90, two
// children (one mirrored), a flattened layer, a moving layer and a masked one.
const QByteArray kRig = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Rig", "width": 1000, "height": 500, "frameRate": 25, "duration": 10,
        "layers": [
            {"id": 1, "type": "null", "name": "Parent",
             "transform": {"anchorPoint": [0, 0, 0], "position": [500, 250, 0], "scale": [50, 50, 100],
                           "rotation": 90}},
            {"id": 2, "type": "solid", "name": "Mirrored", "source": "Red", "parent": 1,
             "transform": {"position": [100, 0, 0], "scale": [-50, 200, 100], "rotation": 30}},
            {"id": 3, "type": "solid", "name": "Turned", "source": "Red", "parent": 1,
             "transform": {"anchorPoint": [0, 0, 0], "position": [0, 100, 0], "rotation": 30}},
            {"id": 4, "type": "solid", "name": "Flat", "source": "Red",
             "transform": {"scale": [0, 80, 100]}},
            {"id": 5, "type": "solid", "name": "Mover", "source": "Red",
             "transform": {"position": {"keys": [{"time": 0, "value": [0, 0, 0]},
                                                 {"time": 1, "value": [250, 100, 0]}]}}},
            {"id": 6, "type": "solid", "name": "Masked", "source": "Red",
             "masks": [{"name": "A"}, {"name": "B"}]}
        ]}],
    "activeItem": "Rig"
})";

enum RigLayer { Parent, Mirrored, Turned, Flat, Mover, Masked };

AEGP_LayerH layerAt(SPBasicSuite* basic, A_long index)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    EXPECT_EQ(suites.ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_NONE);
    EXPECT_EQ(suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp), A_Err_NONE);
    EXPECT_EQ(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, index, &layer), A_Err_NONE);
    return layer;
}

class RigTest : public ::testing::Test
{
protected:
    Host host{kRig};
    SPBasicSuite* basic = host.session->basicSuite();
    const AEGP_PluginID id = Host::kPluginId;

    b2Vec2 scale(RigLayer l)
    {
        float sx = -1, sy = -1;
        EXPECT_EQ(GetWorldScaleAtTime(id, basic, layerAt(basic, l), sx, sy, kTimeZero), A_Err_NONE);
        return b2Vec2(sx, sy);
    }
    b2Vec2 position(RigLayer l, A_Time t = kTimeZero)
    {
        b2Vec2 p(-1, -1);
        EXPECT_EQ(GetWorldPositionAtTime(id, basic, l, p, t), A_Err_NONE);
        return p;
    }
    float rotation(RigLayer l)
    {
        float degrees = -1;
        EXPECT_EQ(GetWorldRotationAtTime(id, basic, layerAt(basic, l), degrees, kTimeZero), A_Err_NONE);
        return degrees;
    }
};

TEST_F(RigTest, ScaleMultipliesThroughTheParentChainAsAbsoluteFactors)
{
    // (-50 %, 200 %) under a parent at 50 %.
    EXPECT_FLOAT_EQ(scale(Mirrored).x, 0.25f);
    EXPECT_FLOAT_EQ(scale(Mirrored).y, 1.0f);
    EXPECT_FLOAT_EQ(scale(Parent).x, 0.5f);
    EXPECT_FLOAT_EQ(scale(Turned).y, 0.5f);
    // A factor of 0 is raised to 0.001.
    EXPECT_FLOAT_EQ(scale(Flat).x, 0.001f);
    EXPECT_FLOAT_EQ(scale(Flat).y, 0.8f);

    // A failed parent read stops the walk with what was gathered.
    host.session->faults().failNth(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 41, 1, 42);
    float sx = 0, sy = 0;
    EXPECT_EQ(GetWorldScaleAtTime(id, basic, layerAt(basic, Mirrored), sx, sy, kTimeZero), 42);
    EXPECT_FLOAT_EQ(sx, 0.5f);
    EXPECT_FLOAT_EQ(sy, 2.0f);
}

TEST_F(RigTest, WorldPositionAndRotationOfParentedLayers)
{
    // Mirrored: its anchor sits at its position (100, 0) in the parent, which
    // scales it to (50, 0), turns it by 90 degrees to (0, 50) and moves it by (500, 250).
    EXPECT_NEAR(position(Mirrored).x, 500.0f, 1e-3);
    EXPECT_NEAR(position(Mirrored).y, 300.0f, 1e-3);
    // Turned: (0, 100) -> (0, 50) -> (-50, 0) -> (450, 250).
    EXPECT_NEAR(position(Turned).x, 450.0f, 1e-3);
    EXPECT_NEAR(position(Turned).y, 250.0f, 1e-3);
    EXPECT_NEAR(position(Parent).x, 500.0f, 1e-3);

    EXPECT_NEAR(rotation(Parent), 90.0f, 1e-3);
    EXPECT_NEAR(rotation(Turned), 120.0f, 1e-3);
    // The mirrored x axis points the other way: 30 + 180 + 90 = 300, i.e. -60.
    EXPECT_NEAR(rotation(Mirrored), -60.0f, 1e-3);

    b2Vec2 anchor(-1, -1);
    EXPECT_EQ(GetAnchorPointAtTime(id, basic, layerAt(basic, Mirrored), anchor, kTimeZero), A_Err_NONE);
    EXPECT_FLOAT_EQ(anchor.x, 50.0f);
    EXPECT_FLOAT_EQ(anchor.y, 50.0f);

    // x is stretched by the composition's pixel aspect ratio.
    host.project->compositionByName(QStringLiteral("Rig"))->setPixelAspect(A_Ratio{2, 1});
    EXPECT_NEAR(position(Mirrored).x, 1000.0f, 1e-3);
    EXPECT_NEAR(position(Mirrored).y, 300.0f, 1e-3);
}

TEST_F(RigTest, SignedScaleAndTheRotationThatGoesWithIt)
{
    // (-50 %, 200 %) under a parent at 50 %, signed; the others as before.
    double fx = 0, fy = 0;
    EXPECT_EQ(GetSignedWorldScaleAtTime(id, basic, layerAt(basic, Mirrored), fx, fy, kTimeZero), A_Err_NONE);
    EXPECT_DOUBLE_EQ(fx, -0.25);
    EXPECT_DOUBLE_EQ(fy, 1.0);
    EXPECT_EQ(GetSignedWorldScaleAtTime(id, basic, layerAt(basic, Flat), fx, fy, kTimeZero), A_Err_NONE);
    EXPECT_DOUBLE_EQ(fx, 0.0) << "no floor: the export writes what the layer has";

    // The mirrored x axis points to -60 degrees; with the mirror in the scale
    // the layer is turned by 30 + 90.
    const struct {
        RigLayer layer;
        float degrees;
    } rows[] = {{Mirrored, 120.0f}, {Turned, 120.0f}, {Parent, 90.0f}, {Flat, 0.0f}};
    for (const auto& row : rows) {
        float degrees = -1;
        EXPECT_EQ(GetBodyRotationAtTime(id, basic, layerAt(basic, row.layer), degrees, kTimeZero), A_Err_NONE);
        EXPECT_NEAR(degrees, row.degrees, 1e-3) << row.layer;
    }
}

// Under a parent stretched (150 %, 70 %) and turned 30 degrees, children
// turned a quarter trade the stretches, and the scale along the body's axes
// says so where the product of the scales does not: turned by the body's
// angle, it gives each layer's matrix back. So do the Rig's layers. A child
// turned 40 degrees is drawn sheared: scale and shear together give its
// matrix back.
TEST(WorldScaleAlongBodyAxes, TurnedBackIntoTheLayersMatrix)
{
    Host host(R"({
        "format": "zolvar-standin-project",
        "footage": [{"name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
        "compositions": [{"name": "Stretch", "width": 1000, "height": 500, "frameRate": 25, "duration": 10,
            "layers": [
                {"id": 1, "type": "null", "name": "Parent", "transform": {"scale": [150, 70, 100], "rotation": 30}},
                {"id": 2, "type": "solid", "source": "Red", "parent": 1, "transform": {"rotation": 90}},
                {"id": 3, "type": "solid", "source": "Red", "parent": 1, "transform": {"rotation": -90, "scale": [-100, 100, 100]}},
                {"id": 4, "type": "solid", "source": "Red", "parent": 1, "transform": {"rotation": 180, "scale": [50, -100, 100]}},
                {"id": 5, "type": "null", "name": "Mirror", "transform": {"scale": [-150, 70, 100]}},
                {"id": 6, "type": "solid", "source": "Red", "parent": 5, "transform": {"rotation": 90}},
                {"id": 7, "type": "solid", "source": "Red", "parent": 1, "transform": {"rotation": 40}}
            ]}],
        "activeItem": "Stretch"
    })");
    SPBasicSuite* basic = host.session->basicSuite();
    AEGP_SuiteHandler suites(basic);
    const struct {
        int layer;
        double fx, fy, shear;
    } rows[] = {{0, 1.5, 0.7, 0},  {1, 0.7, 1.5, 0},  {2, -0.7, 1.5, 0},
                {3, 0.75, -0.7, 0}, {4, -1.5, 0.7, 0}, {5, -0.7, 1.5, 0},
                // Turned 40 degrees against the stretch: drawn sheared.
                {6, 1.234022, 0.850876, -0.702281}};
    for (const auto& row : rows) {
        AEGP_LayerH layer = layerAt(basic, row.layer);
        double fx = 0, fy = 0, k = 1;
        float degrees = 0;
        A_Matrix4 m{};
        ASSERT_EQ(GetWorldScaleAlongBodyAxesAtTime(Host::kPluginId, basic, layer, fx, fy, kTimeZero, &k), A_Err_NONE);
        ASSERT_EQ(GetBodyRotationAtTime(Host::kPluginId, basic, layer, degrees, kTimeZero), A_Err_NONE);
        ASSERT_EQ(suites.LayerSuite7()->AEGP_GetLayerToWorldXform(layer, &kTimeZero, &m), A_Err_NONE);
        EXPECT_NEAR(fx, row.fx, 1e-6) << row.layer;
        EXPECT_NEAR(fy, row.fy, 1e-6) << row.layer;
        EXPECT_NEAR(k, row.shear, 1e-6) << row.layer;
        const double r = double(degrees) * M_PI / 180.0;
        EXPECT_NEAR(fx * std::cos(r), m.mat[0][0], 1e-5) << row.layer;
        EXPECT_NEAR(fx * std::sin(r), m.mat[0][1], 1e-5) << row.layer;
        EXPECT_NEAR(k * std::cos(r) - fy * std::sin(r), m.mat[1][0], 1e-5) << row.layer;
        EXPECT_NEAR(k * std::sin(r) + fy * std::cos(r), m.mat[1][1], 1e-5) << row.layer;
    }
}

TEST_F(RigTest, ScaleAlongBodyAxesIsTheSignedProductWithoutAStretchedParent)
{
    for (const RigLayer l : {Parent, Mirrored, Turned}) {
        double fx = 0, fy = 0, px = 0, py = 0;
        EXPECT_EQ(GetWorldScaleAlongBodyAxesAtTime(id, basic, layerAt(basic, l), fx, fy, kTimeZero), A_Err_NONE);
        EXPECT_EQ(GetSignedWorldScaleAtTime(id, basic, layerAt(basic, l), px, py, kTimeZero), A_Err_NONE);
        EXPECT_NEAR(fx, px, 1e-6) << l;
        EXPECT_NEAR(fy, py, 1e-6) << l;
    }
}

TEST_F(RigTest, PositionAndVelocityAtAFrame)
{
    const A_Time frame{1, 25};
    // Position moves (250, 100) pixels a second: at frame 5 (0.2 s) it is (50, 20).
    b2Vec2 p = GetLayerPosAtFrame(id, basic, Mover, frame, 5, 1.0);
    EXPECT_NEAR(p.x, 50.0f, 1e-3);
    EXPECT_NEAR(p.y, 20.0f, 1e-3);
    p = GetLayerPosAtFrame(id, basic, Mover, frame, 5, 2.0); // half the time
    EXPECT_NEAR(p.x, 25.0f, 1e-3);
    EXPECT_NEAR(p.y, 10.0f, 1e-3);

    // (250, 100) pixels a second is (2.5, 1) world units a second, whatever the divider.
    for (double divider : {1.0, 2.0, 0.5}) {
        const b2Vec2 v = GetLinearVelocityAtFrame(id, basic, Mover, frame, 5, divider, 25.0);
        EXPECT_NEAR(v.x, 2.5f, 1e-3) << divider;
        EXPECT_NEAR(v.y, 1.0f, 1e-3) << divider;
    }
    // A still layer has no velocity; a rate of 0 gives none either.
    EXPECT_NEAR(GetLinearVelocityAtFrame(id, basic, Turned, frame, 5, 1.0, 25.0).Length(), 0.0f, 1e-4);
    EXPECT_EQ(GetLinearVelocityAtFrame(id, basic, Mover, frame, 5, 1.0, 0.0), b2Vec2(0, 0));

    // For a layer already found, with the composition's aspect read once:
    // exactly the velocity found by index.
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    double aspect = 0.0;
    ASSERT_EQ(GetActiveCompAspect(basic, item, comp, aspect), A_Err_NONE);
    for (A_long l : {Mover, Turned})
        for (double divider : {1.0, 0.5})
            EXPECT_EQ(GetLayerLinearVelocityAtFrame(id, basic, layerAt(basic, l), aspect, frame, 5, divider, 25.0),
                      GetLinearVelocityAtFrame(id, basic, l, frame, 5, divider, 25.0))
                << l << " " << divider;
    EXPECT_EQ(GetLayerLinearVelocityAtFrame(id, basic, nullptr, aspect, frame, 5, 1.0, 25.0), b2Vec2(0, 0));

    // Only a composition has layers to ask.
    host.project->setActiveItem(host.project->itemByName(QStringLiteral("Red"), standin::ItemType::Footage));
    EXPECT_EQ(GetLayerPosAtFrame(id, basic, Mover, frame, 5, 1.0), b2Vec2(0, 0));
    EXPECT_EQ(GetLinearVelocityAtFrame(id, basic, Mover, frame, 5, 1.0, 25.0), b2Vec2(0, 0));
    EXPECT_NE(GetActiveCompAspect(basic, item, comp, aspect), A_Err_NONE);
    EXPECT_EQ(comp, nullptr);
}

// The active-item helpers return the host's first error and make no later
// call that would hide it.
TEST_F(RigTest, ActiveItemHelpersReportTheFirstHostError)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    EXPECT_TRUE(GetActiveComp(suites, item));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(GetActiveItemComp(suites, item, comp), A_Err_NONE);
    EXPECT_NE(comp, nullptr);
    EXPECT_EQ(GetActiveLayer(suites, Masked, item, layer), A_Err_NONE);
    EXPECT_EQ(layer, layerAt(basic, Masked));
    // Past the last layer the layer call fails.
    EXPECT_EQ(GetActiveLayer(suites, Masked + 1, item, layer), A_Err_PARAMETER);

    // Footage is no composition: the chain stops at the composition call.
    host.project->setActiveItem(host.project->itemByName(QStringLiteral("Red"), standin::ItemType::Footage));
    EXPECT_FALSE(GetActiveComp(suites, item));
    EXPECT_NE(item, nullptr);
    EXPECT_EQ(GetActiveItemComp(suites, item, comp), A_Err_PARAMETER);
    EXPECT_EQ(GetActiveLayer(suites, Parent, item, layer), A_Err_PARAMETER);

    // Nothing active.
    host.project->setActiveItem(nullptr);
    EXPECT_FALSE(GetActiveComp(suites, item));
    EXPECT_EQ(item, nullptr);
    EXPECT_NE(GetActiveLayer(suites, Parent, item, layer), A_Err_NONE);
}

TEST_F(RigTest, MasksAndStreamsByMatchName)
{
    EXPECT_TRUE(doesLayerHaveMask(id, basic, Masked));
    EXPECT_FALSE(doesLayerHaveMask(id, basic, Mover));
    EXPECT_FALSE(doesLayerHaveMask(id, basic, 99));
    // A mask switched off leaves the layer drawn as without it: one mask on
    // is enough, none on is none.
    AEGP_SuiteHandler dynamic(basic);
    AEGP_StreamRefH layerRoot = nullptr, parade = nullptr;
    ASSERT_EQ(dynamic.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(id, layerAt(basic, Masked), &layerRoot),
              A_Err_NONE);
    ASSERT_EQ(dynamic.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(id, layerRoot, "ADBE Mask Parade",
                                                                              &parade),
              A_Err_NONE);
    for (A_long m = 0; m < 2; ++m) {
        AEGP_StreamRefH mask = nullptr;
        ASSERT_EQ(dynamic.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(id, parade, m, &mask), A_Err_NONE);
        ASSERT_EQ(dynamic.DynamicStreamSuite4()->AEGP_SetDynamicStreamFlag(mask, AEGP_DynStreamFlag_ACTIVE_EYEBALL,
                                                                           false, false),
                  A_Err_NONE);
        dynamic.StreamSuite4()->AEGP_DisposeStream(mask);
        EXPECT_EQ(doesLayerHaveMask(id, basic, Masked), m == 0) << "masks off: " << m + 1;
    }
    dynamic.StreamSuite4()->AEGP_DisposeStream(parade);
    dynamic.StreamSuite4()->AEGP_DisposeStream(layerRoot);

    AEGP_SuiteHandler suites(basic);
    AEGP_StreamRefH root = nullptr;
    ASSERT_EQ(suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(id, layerAt(basic, Mover), &root),
              A_Err_NONE);
    A_long children = 0;
    suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(root, &children);

    const auto search = [&](const char* name) {
        AEGP_StreamRefH result = nullptr;
        bool found = false;
        for (A_long i = 0; i < children && !found; ++i)
            FindStreamByMatchName(id, basic, name, result, root, i, found);
        EXPECT_EQ(found, result != nullptr);
        return result;
    };
    AEGP_StreamRefH position = search("ADBE Position");
    ASSERT_NE(position, nullptr);
    A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE + 1] = {};
    suites.DynamicStreamSuite4()->AEGP_GetMatchName(position, name);
    EXPECT_STREQ(name, "ADBE Position");
    // The found stream is the caller's; nothing else is left behind.
    suites.StreamSuite4()->AEGP_DisposeStream(position);
    EXPECT_EQ(host.session->leaks().streamRefs, 1) << "only the root";

    EXPECT_EQ(search("ADBE Vector Position"), nullptr);
    suites.StreamSuite4()->AEGP_DisposeStream(root);
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

TEST_F(RigTest, QueriesLeaveNoStreamOrValueBehind)
{
    const int before = host.session->registry().outstandingTotal();
    for (int frame = 0; frame < 50; ++frame) {
        const A_Time t{frame, 25};
        float sx, sy, degrees;
        b2Vec2 v;
        std::vector<A_long> frames;
        for (A_long l = Parent; l <= Masked; ++l) {
            AEGP_LayerH layer = layerAt(basic, l);
            GetWorldScaleAtTime(id, basic, layer, sx, sy, t);
            GetAnchorPointAtTime(id, basic, layer, v, t);
            GetWorldRotationAtTime(id, basic, layer, degrees, t);
            GetWorldPositionAtTime(id, basic, l, v, t);
            GetLayerStartEndFrames(id, basic, l, frames);
            doesLayerHaveMask(id, basic, l);
            GetLayerPosAtFrame(id, basic, l, A_Time{1, 25}, frame, 1.0);
            GetLinearVelocityAtFrame(id, basic, l, A_Time{1, 25}, frame, 1.0, 25.0);
        }
    }
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
    EXPECT_EQ(host.session->registry().outstandingTotal(), before);
    EXPECT_GT(host.session->log().count("AEGP_DisposeStream"), 0u);
}

// ---- start and end frames ---------------------------------------------------

const QByteArray kTimings = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 10, "height": 10, "color": [1, 0, 0]}],
    "compositions": [
        {"name": "Pal", "width": 100, "height": 100, "frameRate": 25, "duration": 10, "layers": [
            {"type": "solid", "source": "Red", "inPoint": [10, 25], "duration": [240, 25]},
            {"type": "solid", "source": "Red", "inPoint": 0, "duration": 2},
            {"type": "solid", "source": "Red", "inPoint": [29, 25], "duration": [21, 25]},
            {"type": "solid", "source": "Red", "inPoint": [-10, 25], "duration": [20, 25]},
            {"type": "solid", "source": "Red", "inPoint": [-3, 50], "duration": [103, 50]},
            {"type": "solid", "source": "Red", "inPoint": [116, 100], "duration": 10}
        ]},
        {"name": "Ntsc", "width": 100, "height": 100, "frameDuration": [1001, 30000], "duration": 10, "layers": [
            {"type": "solid", "source": "Red", "inPoint": [29029, 30000], "duration": [30030, 30000]},
            {"type": "solid", "source": "Red", "inPoint": [100100, 30000], "duration": 10},
            {"type": "solid", "source": "Red", "inPoint": 0, "duration": [299299, 30000]},
            {"type": "solid", "source": "Red", "inPoint": 0, "duration": [298298, 30000]}
        ]}
    ],
    "activeItem": "Pal"
})";

std::vector<A_long> startEnd(Host& host, A_long layer, A_Err expected = A_Err_NONE)
{
    std::vector<A_long> frames{-7}; // the frames are appended
    EXPECT_EQ(GetLayerStartEndFrames(Host::kPluginId, host.session->basicSuite(), layer, frames), expected);
    return std::vector<A_long>(frames.begin() + 1, frames.end());
}

using Frames = std::vector<A_long>;

TEST(StartEndFrames, ExactAt25FramesPerSecond)
{
    Host host(kTimings);
    EXPECT_EQ(startEnd(host, 0), (Frames{10, kLayerLastsToCompEnd})); // 0.4 s to the end
    EXPECT_EQ(startEnd(host, 1), (Frames{0, 50}));                    // 0 to 2 s
    EXPECT_EQ(startEnd(host, 2), (Frames{29, 50}));                   // frame-aligned in-point
    EXPECT_EQ(startEnd(host, 3), (Frames{-10, 10}));                  // before the composition
    EXPECT_EQ(startEnd(host, 4), (Frames{-1, 50}));                   // -1.5 frames: toward zero
    EXPECT_EQ(startEnd(host, 5), (Frames{29, kLayerLastsToCompEnd})); // other scale, past the end
}

TEST(StartEndFrames, ExactAt2997FramesPerSecond)
{
    Host host(kTimings);
    host.project->setActiveComp(QStringLiteral("Ntsc"));
    EXPECT_EQ(startEnd(host, 0), (Frames{29, 59}));
    EXPECT_EQ(startEnd(host, 1), (Frames{100, kLayerLastsToCompEnd}));
    EXPECT_EQ(startEnd(host, 2), (Frames{0, kLayerLastsToCompEnd})); // ends in the last whole frame
    EXPECT_EQ(startEnd(host, 3), (Frames{0, 298}));
}

TEST(StartEndFrames, AFailedFrameDurationGivesTheWholeComposition)
{
    Host host(kTimings);
    host.session->faults().failNth(kAEGPCompSuite, kAEGPCompSuiteVersion5, 28, 1, 42);
    EXPECT_EQ(startEnd(host, 2, 42), (Frames{0, kLayerLastsToCompEnd}));

    // A later failure: the values are computed from the times read so far.
    host.session->faults().failNth(kAEGPLayerSuite, kAEGPLayerSuiteVersion5, 16, 1, 43);
    EXPECT_EQ(startEnd(host, 2, 43), (Frames{29, 29}));
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

} // namespace
