// The recorded range written onto the layers of the stand-in host.
#include "SceneFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "project/Composition.h"
#include "project/Layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

using standin::TransformStream;
using testing_simulation::Scene;
using testing_simulation::sceneJson;
using testing_simulation::solid;

namespace {

standin::PropertyNode* stream(Scene& scene, int layer, TransformStream which)
{
    return scene.composition()->layer(layer)->transformStream(which);
}

// Records frames start to end with every body as given, then writes them.
void exportRange(Scene& scene, int start, int end, bool motionBlur = false, int cancelAfter = -1)
{
    scene.writeKeysOnHandover(motionBlur, cancelAfter);
    scene.startRecording(start, end);
    for (int i = 0; i <= end + 1 && scene.core.handedOver.empty(); ++i)
        scene.ticks(1);
    ASSERT_EQ(scene.core.handedOver.size(), 1u);
}

const standin::UndoGroupRecord* group(Scene& scene, const std::string& name)
{
    for (const standin::UndoGroupRecord& g : scene.host.session->undoGroups())
        if (g.name == name)
            return &g;
    return nullptr;
}

} // namespace

TEST(KeyframeExport, WritesEveryTransformStreamInOneUndoGroup)
{
    Scene scene(sceneJson({solid(1, 3, 300, 200), solid(2, 1, 700, 400)}));
    scene.build();
    exportRange(scene, 0, 10);
    EXPECT_TRUE(scene.exportProblem.isEmpty()) << scene.exportProblem.toStdString();
    EXPECT_TRUE(scene.exportFailures.isEmpty()) << scene.exportFailures.join('\n').toStdString();

    for (int layer = 0; layer < 2; ++layer) {
        SCOPED_TRACE(layer);
        const std::vector<BodyTransforms>& tracks = scene.core.bodyTransforms;
        const BodyTransforms& track = tracks[tracks.size() - 1 - layer];
        // Falling: a new position every frame, straight paths between them.
        const standin::PropertyNode* position = stream(scene, layer, TransformStream::Position);
        ASSERT_EQ(position->keyCount(), 11);
        for (int i = 0; i < 11; ++i) {
            const standin::Keyframe* key = position->key(i);
            EXPECT_EQ(key->time.value * 25, int(key->time.scale) * i);
            EXPECT_NEAR(key->value.x(), track.positions[i].x, 1e-3);
            EXPECT_NEAR(key->value.y(), track.positions[i].y, 1e-3);
            EXPECT_EQ(key->inTangent.x(), 0.0);
            EXPECT_EQ(key->outTangent.y(), 0.0);
        }
        // Not turning: one rotation key at the start frame.
        const standin::PropertyNode* rotation = stream(scene, layer, TransformStream::Rotation);
        ASSERT_EQ(rotation->keyCount(), 1);
        EXPECT_EQ(rotation->key(0)->time.value, 0);
        // The anchor point and the scale become plain values.
        EXPECT_EQ(stream(scene, layer, TransformStream::AnchorPoint)->keyCount(), 0);
        EXPECT_NEAR(stream(scene, layer, TransformStream::AnchorPoint)->staticValue().x(), track.anchor.x, 1e-4);
        EXPECT_EQ(stream(scene, layer, TransformStream::Scale)->keyCount(), 0);
        EXPECT_NEAR(stream(scene, layer, TransformStream::Scale)->staticValue().x(), 100.0, 1e-4);
    }

    const standin::UndoGroupRecord* zolvar = group(scene, "Zolvar");
    ASSERT_NE(zolvar, nullptr);
    EXPECT_NE(zolvar->closeSequence, 0u);
    EXPECT_FALSE(zolvar->closedByHost);
    EXPECT_FALSE(zolvar->mutations.empty());
    EXPECT_TRUE(scene.host.session->ungroupedMutations().empty());
    // The work area is the exported range.
    EXPECT_EQ(scene.composition()->workAreaStart().value, 0);
    EXPECT_EQ(scene.composition()->workAreaDuration().value * 25, 11 * int(scene.composition()->workAreaDuration().scale));
    // The selection collection has no disposal in the host's interface; the
    // host frees it when the command returns. Nothing else is left.
    standin::LeakCounters leaks = scene.host.session->leaks();
    EXPECT_EQ(leaks.collections, 1);
    EXPECT_TRUE(leaks.none()) << leaks.describe();
}

TEST(KeyframeExport, StaticBodiesGetValuesAndDeadBodiesAreLeftAlone)
{
    const QString keyed = QStringLiteral(
        R"("parent": 3, "transform": {"position": {"keys": [{"time": 0, "value": [100, 100]}, {"time": 1, "value": [200, 100]}]}})");
    Scene scene(sceneJson({QStringLiteral(R"({"id": 1, "type": "solid", "source": 3, "name": "Static", )") + keyed + "}",
                           QStringLiteral(R"({"id": 2, "type": "solid", "source": 3, "name": "Dead", )") + keyed + "}",
                           QStringLiteral(R"({"id": 3, "type": "null", "name": "Parent", "transform": {"position": [10, 20]}})"),
                           QStringLiteral(R"({"id": 4, "type": "solid", "source": 3, "name": "Unmoved", )") + keyed + "}"}));
    scene.build();
    // Moved in the view: the static body stands somewhere its layer is not.
    scene.body(0).type = BodyType::Static;
    scene.body(0).position.x += 0.5f;
    scene.body(0).committedPosition = scene.body(0).position;
    scene.body(1).type = BodyType::Dead;
    scene.body(2).type = BodyType::Static;
    exportRange(scene, 3, 6, true);

    const standin::PropertyNode* position = stream(scene, 0, TransformStream::Position);
    EXPECT_EQ(position->keyCount(), 0) << "earlier keys are gone";
    EXPECT_NEAR(position->staticValue().x(), scene.core.bodyTransforms[2].positions[0].x, 1e-3);
    EXPECT_EQ(stream(scene, 0, TransformStream::Rotation)->keyCount(), 0);
    EXPECT_EQ(scene.composition()->layer(0)->parent(), nullptr);
    EXPECT_FALSE(scene.composition()->layer(0)->flags() & AEGP_LayerFlag_MOTION_BLUR) << "static: no blur";

    // The Dead body's layer, and the layer of a static body left where its
    // layer put it, keep their keys, their parents and their flags.
    for (const int layer : {1, 3}) {
        SCOPED_TRACE(layer);
        EXPECT_EQ(stream(scene, layer, TransformStream::Position)->keyCount(), 2);
        EXPECT_NE(scene.composition()->layer(layer)->parent(), nullptr);
        EXPECT_FALSE(scene.composition()->layer(layer)->flags() & AEGP_LayerFlag_MOTION_BLUR);
    }
}

TEST(KeyframeExport, MotionBlurGoesToMovingBodies)
{
    Scene scene(sceneJson({solid(1, 3, 300, 200)}));
    scene.build();
    exportRange(scene, 0, 2, true);
    EXPECT_TRUE(scene.composition()->layer(0)->flags() & AEGP_LayerFlag_MOTION_BLUR);
}

TEST(KeyframeExport, ScaleKeepsItsSignAndBakesAnAnimatedParent)
{
    const QString parentScale =
        QStringLiteral(R"({"id": 3, "type": "null", "name": "Parent", "transform": {"scale": {"keys": [)"
                       R"({"time": 0, "value": [100, 100, 100]}, {"time": 1, "value": [200, 200, 100]}]}}})");
    Scene scene(sceneJson({solid(1, 3, 300, 200, QStringLiteral(R"("transform": {"position": [300, 200], "scale": [-100, 100]})")),
                           solid(2, 3, 600, 200, QStringLiteral(R"("parent": 3)")), parentScale}));
    scene.build();
    // Static, and moved a little in the view, so that they are written.
    for (const int b : {0, 1}) {
        scene.body(b).type = BodyType::Static;
        scene.body(b).position.y += 0.5f;
        scene.body(b).committedPosition = scene.body(b).position;
    }
    exportRange(scene, 0, 5);

    const standin::PropertyNode* mirrored = stream(scene, 0, TransformStream::Scale);
    EXPECT_EQ(mirrored->keyCount(), 0);
    EXPECT_NEAR(mirrored->staticValue().x(), -100.0, 1e-4) << "the flip stays";
    EXPECT_NEAR(mirrored->staticValue().y(), 100.0, 1e-4);

    // The child had no scale keys; its parent grows by 4 % a frame.
    const standin::PropertyNode* child = stream(scene, 1, TransformStream::Scale);
    ASSERT_EQ(child->keyCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(child->key(i)->value.x(), 100.0 + 4.0 * i, 1e-3) << i;
}

// A layer without a parent keeps its own scale keys, those before and after
// the range too: its scale is its scale in the composition. One with an
// expression on its scale still gets the values the expression gave.
TEST(KeyframeExport, AScaleOfItsOwnKeepsItsKeys)
{
    const QString keyed = QStringLiteral(R"json("transform": {"position": [300, 200], "scale": {"keys": [)json"
                                         R"json([0, [100, 100, 100]], [[4, 25], [-60, 140, 100]], [[20, 25], [80, 80, 100]]]}})json");
    const QString driven = QStringLiteral(R"json("transform": {"position": [600, 200], "scale": {"value": [100, 100, 100],)json"
                                          R"json( "expression": "[50, 50]", "expressionValue": [50, 50, 100]}})json");
    Scene scene(sceneJson({solid(1, 3, 300, 200, keyed), solid(2, 3, 600, 200, driven)}));
    scene.build();
    exportRange(scene, 2, 8);
    const standin::PropertyNode* own = stream(scene, 0, TransformStream::Scale);
    ASSERT_EQ(own->keyCount(), 3);
    EXPECT_EQ(own->key(1)->time.value * 25, 4 * int(own->key(1)->time.scale));
    EXPECT_NEAR(own->key(1)->value.x(), -60.0, 1e-9);
    EXPECT_NEAR(own->key(2)->value.y(), 80.0, 1e-9);
    EXPECT_GT(stream(scene, 0, TransformStream::Position)->keyCount(), 1) << "it fell";

    const standin::PropertyNode* expression = stream(scene, 1, TransformStream::Scale);
    EXPECT_FALSE(expression->expressionEnabled());
    EXPECT_NEAR(expression->valueAt(A_Time{30, 25}, false).x(), 50.0, 1e-4);
}

TEST(KeyframeExport, ExpressionsOffAndWideComposition)
{
    Scene scene(sceneJson(
        {solid(1, 3, 300, 200, QStringLiteral(R"json("transform": {"position": [300, 200], "rotation": {"value": 0, "expression": "wiggle(1,1)"}})json"))},
        QStringLiteral(R"("pixelAspect": [2, 1])")));
    scene.build();
    exportRange(scene, 0, 3);
    EXPECT_FALSE(stream(scene, 0, TransformStream::Rotation)->expressionEnabled());
    // Recorded x is in square pixels; the layer's x is in the composition's.
    const standin::PropertyNode* position = stream(scene, 0, TransformStream::Position);
    ASSERT_GT(position->keyCount(), 0);
    EXPECT_NEAR(position->key(0)->value.x(), scene.core.bodyTransforms[0].positions[0].x / 2.0, 1e-3);
    EXPECT_NEAR(position->key(0)->value.x(), 300.0, 1e-2);
}

TEST(KeyframeExport, SeparatedDimensionsGetTheirOwnKeys)
{
    Scene scene(sceneJson({solid(1, 3, 300, 200, QStringLiteral(R"("transform": {"positionX": 300, "positionY": 200})"))}));
    scene.build();
    exportRange(scene, 0, 4);
    standin::Layer* layer = scene.composition()->layer(0);
    ASSERT_TRUE(layer->isPositionSeparated());
    const standin::PropertyNode* x = layer->transformStream(TransformStream::Position)->separationFollower(0);
    const standin::PropertyNode* y = layer->transformStream(TransformStream::Position)->separationFollower(1);
    EXPECT_EQ(x->keyCount(), 1) << "x stands still";
    EXPECT_EQ(y->keyCount(), 5) << "y falls";
    EXPECT_NEAR(y->key(4)->value.x(), scene.core.bodyTransforms[0].positions[4].y, 1e-3);
}

// A separated position is drawn from its x and y: their expressions would
// hide the keys written into them.
TEST(KeyframeExport, SeparatedDimensionsLoseTheirExpressions)
{
    Scene scene(sceneJson({solid(1, 3, 300, 200, QStringLiteral(
        R"json("transform": {"positionX": {"value": 300, "expression": "time*100", "expressionValue": 320},)json"
        R"json( "positionY": {"value": 200, "expression": "wiggle(1,1)", "expressionValue": 205}})json"))}));
    scene.build();
    exportRange(scene, 0, 4);
    const standin::PropertyNode* position = scene.composition()->layer(0)->transformStream(TransformStream::Position);
    for (const int d : {0, 1}) {
        const standin::PropertyNode* follower = position->separationFollower(d);
        EXPECT_FALSE(follower->expressionEnabled()) << d;
    }
    const std::vector<BodyTransforms>& tracks = scene.core.bodyTransforms;
    const A_Time end{4, 25};
    EXPECT_NEAR(position->valueAt(end, false).x(), tracks[0].positions[4].x, 1e-3) << "drawn from the keys";
    EXPECT_NEAR(position->valueAt(end, false).y(), tracks[0].positions[4].y, 1e-3) << "drawn from the keys";
    EXPECT_GT(tracks[0].positions[4].y, 205.5f) << "it fell";
}

TEST(KeyframeExport, OntoADuplicateComposition)
{
    Scene scene(sceneJson({solid(1, 3, 300, 200)}));
    scene.build();
    scene.core.controls.applyToNewComp = true;
    exportRange(scene, 0, 3);
    ASSERT_NE(group(scene, "Zolvar - Duplicate Comp"), nullptr);
    EXPECT_EQ(stream(scene, 0, TransformStream::Position)->keyCount(), 0) << "the original is untouched";
    const auto comps = scene.host.project->compositions();
    ASSERT_EQ(comps.size(), 2u);
    standin::Composition* copy = comps[0] == scene.composition() ? comps[1] : comps[0];
    EXPECT_EQ(copy->layer(0)->transformStream(TransformStream::Position)->keyCount(), 4);
}

TEST(KeyframeExport, AFailedDuplicateStopsTheExportWithAMessage)
{
    Scene scene(sceneJson({solid(1, 3, 300, 200)}));
    scene.build();
    scene.core.controls.applyToNewComp = true;
    scene.host.session->faults().failEvery(kAEGPCompSuite, standin::FaultInjector::kAnyVersion, 29, A_Err_GENERIC);
    scene.writeKeysOnHandover();
    scene.startRecording(0, 2);
    scene.ticks(4);
    EXPECT_TRUE(scene.core.handedOver.empty());
    EXPECT_EQ(scene.core.exportFailures.size(), 1);
    EXPECT_FALSE(scene.core.exporting);
    EXPECT_FALSE(scene.core.running);
    EXPECT_EQ(group(scene, "Zolvar"), nullptr);
}

TEST(KeyframeExport, CancelLeavesTheRemainingLayersUntouched)
{
    Scene scene(sceneJson({solid(1, 3, 200, 200), solid(2, 3, 400, 200), solid(3, 3, 600, 200)}));
    scene.build();
    exportRange(scene, 0, 3, false, 1);
    // Layers are written from the last body to the first.
    EXPECT_EQ(stream(scene, 2, TransformStream::Position)->keyCount(), 4);
    EXPECT_EQ(stream(scene, 1, TransformStream::Position)->keyCount(), 0);
    EXPECT_EQ(stream(scene, 0, TransformStream::Position)->keyCount(), 0);
    const standin::UndoGroupRecord* zolvar = group(scene, "Zolvar");
    ASSERT_NE(zolvar, nullptr);
    EXPECT_NE(zolvar->closeSequence, 0u);
    EXPECT_FALSE(zolvar->closedByHost);
}

TEST(KeyframeExport, NothingToWriteIsRefusedBeforeAnythingOpens)
{
    Scene scene(sceneJson({solid(1, 3, 200, 200)}));
    scene.build();
    KeyframeExport writer(scene.core.basicSuite, scene.core.pluginId);
    ExportSettings settings;
    settings.frameDuration = scene.core.frameDuration;
    QString problem;
    EXPECT_FALSE(writer.begin(scene.core.comp, settings, {}, {}, &problem));
    EXPECT_EQ(problem, QStringLiteral("There are no bodies to export."));
    // A body but no complete track.
    EXPECT_FALSE(writer.begin(scene.core.comp, settings, {ExportBody{0, BodyType::Dynamic, 0.0f, "a"}}, {}, &problem));
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_FALSE(writer.isWriting());
    EXPECT_EQ(group(scene, "Zolvar"), nullptr);
}

TEST(KeyframeExport, AMissingSuiteIsFoundBeforeTheGroupOpensOrALayerChanges)
{
    // Without one of the suites that the export writes with, it stops before
    // the group opens: no layer is left unparented or without its
    // expressions and no group is left open.
    const std::pair<const char*, int32_t> suites[] = {
        {kAEGPCompSuite, kAEGPCompSuiteVersion7},     {kAEGPItemSuite, kAEGPItemSuiteVersion7},
        {kAEGPLayerSuite, kAEGPLayerSuiteVersion7},   {kAEGPStreamSuite, kAEGPStreamSuiteVersion4},
        {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion4}, {kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4},
    };
    for (const auto& [name, version] : suites) {
        SCOPED_TRACE(name);
        Scene scene(sceneJson({solid(1, 3, 200, 200)}));
        scene.build();
        bool threw = false;
        bool writing = true;
        scene.core.onKeyframing = [&, name = name, version = version](AEGP_CompH target) {
            scene.host.session->registry().withhold(name, version);
            KeyframeExport writer(scene.core.basicSuite, scene.core.pluginId);
            try {
                writer.begin(target, scene.core.exportSettings(), scene.core.exportBodies(), scene.core.bodyTransforms,
                             nullptr);
            } catch (...) {
                threw = true;
            }
            writing = writer.isWriting();
            scene.host.session->registry().withhold(name, version, false);
        };
        scene.startRecording(0, 2);
        for (int i = 0; i < 4 && scene.core.handedOver.empty(); ++i)
            scene.ticks(1);
        ASSERT_EQ(scene.core.handedOver.size(), 1u);
        EXPECT_TRUE(threw);
        EXPECT_FALSE(writing);
        EXPECT_EQ(group(scene, "Zolvar"), nullptr);
    }
}

TEST(KeyframeExport, HostFailuresAreCollectedPerLayer)
{
    Scene scene(sceneJson({solid(1, 3, 200, 200), solid(2, 3, 400, 200)}));
    scene.build();
    scene.host.session->faults().failEvery(kAEGPKeyframeSuite, standin::FaultInjector::kAnyVersion, 18, A_Err_PARAMETER);
    exportRange(scene, 0, 2);
    EXPECT_EQ(scene.exportFailures.size(), 2);
    const standin::UndoGroupRecord* zolvar = group(scene, "Zolvar");
    ASSERT_NE(zolvar, nullptr);
    EXPECT_FALSE(zolvar->closedByHost) << "the group is ended all the same";
}

TEST(KeyframeExport, EveryRefusalIsToldOnceWithWhatWasWritten)
{
    // Each row: one host call refused once; the export goes on, the group
    // is ended, and the report says what was and was not written.
    struct Row {
        const char* suite;
        int slot;
        const char* told;
        int writtenInFull;
        bool groupClosed;
    };
    const Row rows[] = {
        {kAEGPKeyframeSuite, 18, "Layer 2 (", 1, true},  // a key of the first layer written
        {kAEGPCompSuite, 20, "selection could not be read (error", 2, true},
        {kAEGPCompSuite, 21, "selection could not be restored (error", 2, true},
        {kAEGPCompSuite, 15, "work area could not be set to frames 0 to 2 (error", 2, true},
        {kAEGPUtilitySuite, 7, "could not close the undo group \"Zolvar\" (error", 2, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.suite) + " " + std::to_string(row.slot));
        Scene scene(sceneJson({solid(1, 3, 200, 200), solid(2, 3, 400, 200)}));
        scene.build();
        scene.host.session->faults().failNth(row.suite, standin::FaultInjector::kAnyVersion, row.slot, 1,
                                             A_Err_PARAMETER);
        exportRange(scene, 0, 2);
        const std::string report = scene.exportReport.toStdString();
        EXPECT_NE(report.find(row.told), std::string::npos) << report;
        EXPECT_NE(report.find(std::to_string(row.writtenInFull) + " of 2 layers were written in full."),
                  std::string::npos)
            << report;
        EXPECT_EQ(report.find("cancelled"), std::string::npos) << report;
        EXPECT_EQ(report.find("Undo \"Zolvar\" in the host") != std::string::npos, row.groupClosed) << report;
        const standin::UndoGroupRecord* zolvar = group(scene, "Zolvar");
        ASSERT_NE(zolvar, nullptr);
        EXPECT_EQ(zolvar->closeSequence != 0, row.groupClosed);
    }

    // Nothing refused: nothing to tell.
    Scene scene(sceneJson({solid(1, 3, 200, 200)}));
    scene.build();
    exportRange(scene, 0, 2);
    EXPECT_TRUE(scene.exportReport.isEmpty()) << scene.exportReport.toStdString();
}

TEST(KeyframeExport, ACancelledExportWithAFailedLayerSaysWhatWasLeft)
{
    Scene scene(sceneJson({solid(1, 3, 200, 200), solid(2, 3, 400, 200), solid(3, 3, 600, 200)}));
    scene.build();
    scene.host.session->faults().failNth(kAEGPKeyframeSuite, standin::FaultInjector::kAnyVersion, 18, 1,
                                         A_Err_PARAMETER);
    exportRange(scene, 0, 3, false, 1);
    const std::string report = scene.exportReport.toStdString();
    EXPECT_NE(report.find("0 of 3 layers were written in full. The export was cancelled: 2 were not written."),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Layer 3 ("), std::string::npos) << report;
    EXPECT_NE(group(scene, "Zolvar")->closeSequence, 0u);
}

TEST(KeyframeExport, ShapeLayerInnerPlacementsAreReset)
{
    Scene scene(sceneJson({QStringLiteral(R"({"id": 1, "type": "shape", "name": "Shape", "contents": [
        {"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": [30, 40], "ADBE Vector Anchor": [5, 6]},
         "contents": [{"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Position": [7, 8]}}]}]})")}));
    AEGP_SuiteHandler suites(scene.host.session->basicSuite());
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    ASSERT_EQ(suites.ItemSuite8()->AEGP_GetActiveItem(&item), A_Err_NONE);
    ASSERT_EQ(suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp), A_Err_NONE);
    ASSERT_EQ(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 0, &layer), A_Err_NONE);
    KeyframeExport writer(scene.host.session->basicSuite(), testing_standin::Host::kPluginId);
    EXPECT_EQ(writer.resetSecondaryTransformOfShapeLayer(layer), A_Err_NONE);

    const standin::PropertyNode* root = scene.composition()->layer(0)->root();
    for (const char* name : {"ADBE Vector Rect Position", "ADBE Vector Position", "ADBE Vector Anchor"}) {
        const standin::PropertyNode* node = root->findDescendant(QString::fromLatin1(name));
        ASSERT_NE(node, nullptr) << name;
        EXPECT_EQ(node->staticValue().x(), 0.0) << name;
        EXPECT_EQ(node->staticValue().y(), 0.0) << name;
    }
    EXPECT_TRUE(scene.host.session->leaks().none()) << scene.host.session->leaks().describe();
}

TEST(KeyframeExport, NoBodiesAreToldBeforeADuplicateIsMade)
{
    Scene scene(sceneJson({QStringLiteral(R"({"id": 1, "type": "camera", "transform": {"position": [500, 500, -900]}})"),
                           QStringLiteral(R"({"id": 2, "type": "null", "name": "Control"})")}));
    scene.build();
    ASSERT_TRUE(scene.core.bodies.empty());
    scene.core.controls.applyToNewComp = true;
    scene.writeKeysOnHandover();
    scene.startRecording(0, 10);
    scene.ticks(14);
    EXPECT_TRUE(scene.core.handedOver.empty());
    EXPECT_EQ(scene.core.exportFailures, QStringList{QStringLiteral("There are no bodies to export.")});
    EXPECT_FALSE(scene.core.exporting);
    EXPECT_EQ(scene.host.project->compositions().size(), 1u) << "no empty duplicate";
    EXPECT_EQ(group(scene, "Zolvar - Duplicate Comp"), nullptr);
    EXPECT_EQ(group(scene, "Zolvar"), nullptr);
}

TEST(KeyframeExport, ABodyNeverMovedWhileEverySampleIsAtItsRest)
{
    ExportBody body{0, BodyType::Dynamic, 0.0f, "a"};
    body.restKnown = true;
    body.restPosition = b2Vec2(100.0f, 200.0f);
    body.restRotation = 30.0f;
    struct Row {
        const char* what;
        b2Vec2 position;
        float rotation;
        bool neverMoved;
    };
    const Row rows[] = {
        {"at rest", b2Vec2(100.0f, 200.0f), 30.0f, true},
        {"within the key tolerance", b2Vec2(100.02f, 199.98f), 30.0005f, true},
        {"moved", b2Vec2(100.0f, 200.1f), 30.0f, false},
        {"turned", b2Vec2(100.0f, 200.0f), 30.01f, false},
    };
    for (const Row& row : rows) {
        BodyTransforms track;
        track.positions = {body.restPosition, row.position, body.restPosition};
        track.rotations = {body.restRotation, row.rotation, body.restRotation};
        EXPECT_EQ(KeyframeExport::neverMoved(body, track), row.neverMoved) << row.what;
    }
    BodyTransforms still;
    still.positions = {body.restPosition};
    still.rotations = {body.restRotation};
    EXPECT_FALSE(KeyframeExport::neverMoved(body, BodyTransforms{})) << "no track: it counts as moved";
    body.restKnown = false;
    EXPECT_FALSE(KeyframeExport::neverMoved(body, still)) << "no rest known: it counts as moved";
}

// A written layer's position and rotation are keyed over the range alone:
// their keys before and after it go. Nothing but the transform changes:
// opacity keeps its keys, the masks stay.
TEST(KeyframeExport, OnlyTheRangeIsKeyedAndOnlyTheTransformWritten)
{
    const QString layer = QStringLiteral(R"json("transform": {
        "position": {"keys": [[0, [300, 200, 0]], [[50, 25], [320, 200, 0]]]},
        "rotation": {"keys": [[0, 0], [[50, 25], 30]]},
        "opacity": {"keys": [[0, 100], [[50, 25], 20]]}},
        "masks": [{"shape": {"closed": true, "vertices": [[0, 0], [50, 0], [50, 50], [0, 50]]}}])json");
    Scene scene(sceneJson({solid(1, 3, 300, 200, layer)}));
    scene.build();
    exportRange(scene, 2, 8);
    for (const TransformStream which : {TransformStream::Position, TransformStream::Rotation}) {
        const standin::PropertyNode* keyed = stream(scene, 0, which);
        ASSERT_GT(keyed->keyCount(), 0);
        for (int k = 0; k < keyed->keyCount(); ++k) {
            const A_Time t = keyed->key(k)->time;
            EXPECT_GE(t.value * 25, 2 * int(t.scale));
            EXPECT_LE(t.value * 25, 8 * int(t.scale));
        }
    }
    const standin::PropertyNode* opacity = stream(scene, 0, TransformStream::Opacity);
    ASSERT_EQ(opacity->keyCount(), 2);
    EXPECT_NEAR(opacity->key(1)->value.x(), 20.0, 1e-9);
    EXPECT_EQ(scene.composition()->layer(0)->maskCount(), 1);
}
