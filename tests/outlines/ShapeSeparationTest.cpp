// Shape-group separation against the stand-in host: one shape layer per
// top-level group, rebuilt item by item, and the dispatch by what a layer
// holds.
#include "SeparationFixture.h"

#include "outlines/LayerSeparation.h"
#include "project/MatchNames.h"

#include <functional>

namespace {

using namespace separation_test;
using namespace outline_test;
using standin::Layer;
using standin::PropertyNode;
using standin::Value;

const QByteArray kFill = fill("[1, 0, 0]");

// Layer 0 a null, layer 1 the shape layer (parented to the null) with three
// groups and a top-level fill, layer 2 a solid.
QByteArray threeGroupComposition()
{
    const QByteArray redBox = namedGroup("Red Box", R"("ADBE Vector Position": [10, 0], "ADBE Vector Rotation": 15)",
                                         rect(R"("ADBE Vector Rect Size": [40, 20], "ADBE Vector Rect Roundness": 3)")
                                             + "," + kFill);
    const QByteArray polygon =
        namedGroup("Hexagon", R"("ADBE Vector Scale": [50, 60])",
                   star(R"("ADBE Vector Star Type": 2, "ADBE Vector Star Points": 6,
                           "ADBE Vector Star Outer Radius": 30, "ADBE Vector Star Inner Radius": 99,
                           "ADBE Vector Star Inner Roundess": 40, "ADBE Vector Star Outer Roundess": 20)")
                       + R"(, {"matchName": "ADBE Vector Graphic - Stroke", "flags": 0,
                               "properties": {"ADBE Vector Stroke Width": 7}})");
    const QByteArray nest = namedGroup(
        "Nest", R"("ADBE Vector Group Opacity": 50)",
        namedGroup("Inner", R"("ADBE Vector Anchor": [1, 2])",
                   ellipse(R"("ADBE Vector Ellipse Size": [30, 30])") + "," +
                       R"({"matchName": "ADBE Vector Shape - Group", "name": "My Path", "properties": {
                           "ADBE Vector Shape": {"closed": false, "vertices": [[0, 0], [10, 5]]}}},)" +
                       R"({"matchName": "ADBE Vector Filter - Merge", "properties": {"ADBE Vector Merge Type": 3}})") +
            "," + star(R"("ADBE Vector Star Inner Radius": 12, "ADBE Vector Star Rotation": {"keys": [
                        {"time": 0, "value": 5}, {"time": 1, "value": 50}]})"));
    return composition(
        R"({"type": "null", "id": 5, "name": "Rig", "transform": {"position": [100, 100]}},)"
        R"({"type": "shape", "id": 6, "name": "Shapes", "parent": 5, "transform": {
            "anchorPoint": [5, 5], "position": [300, 200], "scale": [50, 50], "rotation": 10}, "contents": [)" +
        redBox + "," + polygon + "," + kFill + "," + nest + "]}," + solidLayer("Below", ""));
}

const PropertyNode* contentsOf(const Layer* layer) { return layer->rootVectorsGroup(); }
const PropertyNode* itemsOf(const PropertyNode* group)
{
    return group->childByMatchName(QLatin1String(standin::match::kVectorsGroup));
}
// A property of an item, or of a group's own transform.
Value leaf(const PropertyNode* node, const char* matchName)
{
    const PropertyNode* found = node->childByMatchName(QLatin1String(matchName));
    if (const PropertyNode* transform = node->childByMatchName(QLatin1String(standin::match::kVectorTransformGroup));
        !found && transform)
        found = transform->childByMatchName(QLatin1String(matchName));
    EXPECT_NE(found, nullptr) << matchName;
    return found ? found->valueAt({0, 1}, false) : Value();
}
std::vector<QString> matchNames(const PropertyNode* group)
{
    std::vector<QString> names;
    for (int i = 0; i < group->childCount(); ++i)
        names.push_back(group->child(i)->matchName());
    return names;
}

TEST(ShapeSeparation, ThreeGroupsBecomeThreeShapeLayersBelowTheHiddenSource)
{
    Scene scene(threeGroupComposition());
    SeparationMessages messages;
    std::vector<std::pair<int, int>> progress;
    EXPECT_EQ(separateLayerShapes(scene.basic(), kPluginId, 1,
                                  [&](int done, int total) { progress.emplace_back(done, total); }),
              A_Err_NONE);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"Rig", "Shapes", "Red Box", "Hexagon", "Nest", "Below"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));

    const Layer* source = layerAt(scene, 1);
    EXPECT_FALSE(source->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
    EXPECT_EQ(contentsOf(source)->childCount(), 4) << "the source keeps its contents";

    for (int i = 2; i <= 4; ++i) {
        const Layer* layer = layerAt(scene, i);
        SCOPED_TRACE(layer->name().toStdString());
        EXPECT_EQ(layer->kind(), standin::LayerKind::Shape);
        EXPECT_TRUE(layer->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
        EXPECT_EQ(layer->parent(), layerAt(scene, 0)) << "the source's parent";
        for (auto which : {standin::TransformStream::AnchorPoint, standin::TransformStream::Position,
                           standin::TransformStream::Scale, standin::TransformStream::Rotation})
            EXPECT_EQ(layer->transformStream(which)->staticValue(), source->transformStream(which)->staticValue());
        ASSERT_EQ(contentsOf(layer)->childCount(), 1);
        EXPECT_EQ(contentsOf(layer)->child(0)->displayName(), layer->name());
    }

    const PropertyNode* redBox = contentsOf(layerAt(scene, 2))->child(0);
    EXPECT_EQ(leaf(redBox, standin::match::kVectorPosition), Value::twoD(10, 0));
    EXPECT_EQ(leaf(redBox, standin::match::kVectorRotation), Value::oneD(15));
    EXPECT_EQ(matchNames(itemsOf(redBox)),
              (std::vector<QString>{standin::match::kRect, standin::match::kFill}));
    EXPECT_EQ(leaf(itemsOf(redBox)->child(0), standin::match::kRectSize), Value::twoD(40, 20));
    EXPECT_EQ(leaf(itemsOf(redBox)->child(0), standin::match::kRectRoundness), Value::oneD(3));
    EXPECT_EQ(leaf(itemsOf(redBox)->child(1), standin::match::kFillColor), Value::color(1, 0, 0));

    const PropertyNode* hexagon = contentsOf(layerAt(scene, 3))->child(0);
    EXPECT_EQ(leaf(hexagon, standin::match::kVectorScale), Value::twoD(50, 60));
    const PropertyNode* polygon = itemsOf(hexagon)->child(0);
    EXPECT_EQ(leaf(polygon, standin::match::kStarType), Value::oneD(2));
    EXPECT_EQ(leaf(polygon, standin::match::kStarPoints), Value::oneD(6));
    EXPECT_EQ(leaf(polygon, standin::match::kStarOuterRadius), Value::oneD(30));
    EXPECT_EQ(leaf(polygon, standin::match::kStarOuterRoundness), Value::oneD(20));
    EXPECT_EQ(leaf(polygon, standin::match::kStarInnerRadius), Value::oneD(50)) << "a polygon has no inner radius";
    EXPECT_EQ(leaf(polygon, standin::match::kStarInnerRoundness), Value::oneD(0));
    const PropertyNode* stroke = itemsOf(hexagon)->child(1);
    EXPECT_FALSE(stroke->isEnabled()) << "a switched-off stroke stays off";
    EXPECT_EQ(leaf(stroke, standin::match::kStrokeWidth), Value::oneD(7));
    EXPECT_TRUE(itemsOf(redBox)->child(1)->isEnabled());

    const PropertyNode* nest = contentsOf(layerAt(scene, 4))->child(0);
    EXPECT_EQ(leaf(nest, standin::match::kVectorGroupOpacity), Value::oneD(50));
    ASSERT_EQ(matchNames(itemsOf(nest)),
              (std::vector<QString>{standin::match::kVectorGroup, standin::match::kStar}));
    const PropertyNode* inner = itemsOf(nest)->child(0);
    EXPECT_EQ(inner->displayName(), QStringLiteral("Inner"));
    EXPECT_EQ(leaf(inner, standin::match::kVectorAnchor), Value::twoD(1, 2));
    ASSERT_EQ(matchNames(itemsOf(inner)),
              (std::vector<QString>{standin::match::kEllipse, standin::match::kPathItem, standin::match::kMerge}));
    EXPECT_EQ(itemsOf(inner)->child(1)->displayName(), QStringLiteral("My Path"));
    EXPECT_EQ(leaf(itemsOf(inner)->child(1), standin::match::kPathShape).shape.vertexCount(), 2);
    EXPECT_EQ(leaf(itemsOf(inner)->child(2), standin::match::kMergeType), Value::oneD(3));
    const PropertyNode* star = itemsOf(nest)->child(1);
    EXPECT_EQ(leaf(star, standin::match::kStarInnerRadius), Value::oneD(12));
    EXPECT_EQ(star->childByMatchName(QLatin1String(standin::match::kStarRotation))->keyCount(), 0);
    EXPECT_EQ(leaf(star, standin::match::kStarRotation), Value::oneD(5)) << "the value at time 0";
}

TEST(ShapeSeparation, GroupsBesideATopLevelPathLeaveTheSourceWithThePath)
{
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("")) + "," + path(true, "[0, 0], [9, 0], [9, 9]") +
                                       "," + namedGroup("B", "", ellipse("")))));
    ASSERT_EQ(separateLayerShapes(scene.basic(), kPluginId, 0), A_Err_NONE);
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 3);
    EXPECT_EQ(layerAt(scene, 1)->name(), QStringLiteral("A"));
    EXPECT_EQ(layerAt(scene, 2)->name(), QStringLiteral("B"));
    const Layer* source = layerAt(scene, 0);
    EXPECT_TRUE(source->flags() & AEGP_LayerFlag_VIDEO_ACTIVE) << "the path still draws";
    EXPECT_EQ(matchNames(contentsOf(source)), (std::vector<QString>{standin::match::kPathItem}));
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(ShapeSeparation, AFailureWhileTakingGroupsOutOfTheSourceLosesNothing)
{
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("")) + "," + path(true, "[0, 0], [9, 0], [9, 9]") +
                                       "," + namedGroup("B", "", ellipse("")))));
    SeparationMessages messages;
    // B is taken out of the source first, then A fails.
    scene.session->faults().failNth(kAEGPDynamicStreamSuite, standin::FaultInjector::kAnyVersion, 9, 2);
    EXPECT_NE(separateLayerShapes(scene.basic(), kPluginId, 0), A_Err_NONE);
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"", "B"}));
    EXPECT_EQ(matchNames(contentsOf(layerAt(scene, 0))),
              (std::vector<QString>{standin::match::kVectorGroup, standin::match::kPathItem}))
        << "every group is drawn once: A on the source, B on its new layer";
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].second.contains(QLatin1String("1 of its groups went to new layers")))
        << messages.texts()[0].second.toStdString();
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(ShapeSeparation, EmptyGroupsAndFiftyGroupsKeepUp)
{
    QByteArray groups;
    for (int i = 0; i < 50; ++i)
        groups += (i ? "," : "") + namedGroup(QByteArray("G" + QByteArray::number(i)).constData(), "",
                                              i % 2 ? rect("") : QByteArray());
    Scene scene(composition(shapeLayer(groups)));
    int last = -1;
    ASSERT_EQ(separateLayerShapes(scene.basic(), kPluginId, 0,
                                  [&](int done, int total) {
                                      EXPECT_EQ(total, 50);
                                      EXPECT_EQ(done, last + 1);
                                      last = done;
                                  }),
              A_Err_NONE);
    EXPECT_EQ(last, 50);
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 51);
    EXPECT_EQ(layerAt(scene, 1)->name(), QStringLiteral("G0"));
    EXPECT_EQ(itemsOf(contentsOf(layerAt(scene, 1))->child(0))->childCount(), 0) << "an empty group stays empty";
    EXPECT_EQ(layerAt(scene, 50)->name(), QStringLiteral("G49"));
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(ShapeSeparation, AFailingHostCallLeavesTheLayerAsItWas)
{
    struct Row {
        const char* suite;
        int slot;
        int nth;
        const char* call;
    } rows[] = {
        {kAEGPCompSuite, 32, 2, "AEGP_CreateVectorLayerInComp"},
        {kAEGPDynamicStreamSuite, 14, 1, "AEGP_AddStream"},    // the first new group
        {kAEGPDynamicStreamSuite, 14, 4, "AEGP_AddStream"},    // the second group's star
        {kAEGPStreamSuite, 15, 3, "AEGP_SetStreamValue"},      // the first layer's scale
        {kAEGPStreamSuite, 15, 30, "AEGP_SetStreamValue"},
        {kAEGPLayerSuite, 26, 3, "AEGP_ReorderLayer"},
        {kAEGPLayerSuite, 42, 1, "AEGP_SetLayerParent"},
        {kAEGPLayerSuite, 11, 1, "AEGP_SetLayerFlag"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.call) + " #" + std::to_string(row.nth));
        Scene scene(threeGroupComposition());
        const QByteArray before = scene.project->toJson();
        SeparationMessages messages;
        scene.session->faults().failNth(row.suite, standin::FaultInjector::kAnyVersion, row.slot, row.nth);
        EXPECT_NE(separateLayerShapes(scene.basic(), kPluginId, 1), A_Err_NONE);
        EXPECT_EQ(layerNames(scene), (std::vector<QString>{"Rig", "Shapes", "Below"}));
        EXPECT_TRUE(layerAt(scene, 1)->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0].first, QStringLiteral("Error occurred when separating shapes."));
        const QString detail = messages.texts()[0].second;
        EXPECT_TRUE(detail.startsWith(QStringLiteral("Layer 2 (Shapes): "))) << detail.toStdString();
        EXPECT_TRUE(detail.contains(QLatin1String(row.call))) << detail.toStdString();
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    }
}

TEST(ShapeSeparation, AFailingFillOrStrokeIsLeftOutQuietly)
{
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("") + "," + kFill) + "," +
                                       namedGroup("B", "", ellipse("")))));
    SeparationMessages messages;
    // The second stream added is the fill of group A.
    scene.session->faults().failNth(kAEGPDynamicStreamSuite, standin::FaultInjector::kAnyVersion, 14, 3);
    ASSERT_EQ(separateLayerShapes(scene.basic(), kPluginId, 0), A_Err_NONE);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(matchNames(itemsOf(contentsOf(layerAt(scene, 1))->child(0))),
              (std::vector<QString>{standin::match::kRect}));
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 3);
}

TEST(SeparationDispatch, LayersAreSplitByWhyTheyQualify)
{
    struct Row {
        SeparableContent content;
        AEGP_ObjectType type;
        SeparationKind kind;
    } rows[] = {
        {{3, 0, 0, 0}, AEGP_ObjectType_AV, SeparationKind::Masks},
        {{2, 0, 0, 0}, AEGP_ObjectType_VECTOR, SeparationKind::Masks},       // masks of a shape layer
        {{2, 1, 0, 0}, AEGP_ObjectType_VECTOR, SeparationKind::Masks},       // one group is not several
        {{0, 2, 0, 0}, AEGP_ObjectType_VECTOR, SeparationKind::ShapeGroups},
        {{0, 1, 1, 1}, AEGP_ObjectType_VECTOR, SeparationKind::ShapeGroups},
        {{2, 2, 0, 0}, AEGP_ObjectType_VECTOR, SeparationKind::ShapeGroups}, // groups win
        {{0, 0, 3, 3}, AEGP_ObjectType_VECTOR, SeparationKind::UngroupedShapes},
        {{2, 0, 3, 3}, AEGP_ObjectType_VECTOR, SeparationKind::Masks},
        {{1, 0, 1, 1}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{0, 3, 0, 0}, AEGP_ObjectType_TEXT, SeparationKind::None},
        {{1, 0, 0, 0}, AEGP_ObjectType_AV, SeparationKind::None},
        // Masks holding a hole stay together; groups still split.
        {{2, 0, 0, 0, true}, AEGP_ObjectType_AV, SeparationKind::None},
        {{5, 0, 0, 0, true}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{2, 2, 0, 0, true}, AEGP_ObjectType_VECTOR, SeparationKind::ShapeGroups},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(separationKindOf(row.content, row.type), row.kind)
            << row.content.masks << " " << row.content.topGroups << " " << row.content.topPaths;
        EXPECT_EQ(hasSeveralOutlines(row.content, row.type), row.kind != SeparationKind::None);
    }
}

TEST(SeparationDispatch, ReadsTheLayerAndCallsTheRightSeparation)
{
    Scene scene(composition(
        shapeLayer(path(true, "[0, 0], [9, 0], [9, 9]") + "," + path(true, "[0, 0], [5, 0], [5, 5]")) + "," +
        solidLayer("Two", mask("a", 0) + "," + mask("b", 40)) + "," +
        R"({"type": "shape", "name": "Both", "masks": [)" + mask("a", 0) + "," + mask("b", 40) +
        R"(], "contents": [)" + namedGroup("G", "", rect("")) + "," + namedGroup("H", "", rect("")) + "]}"));
    SeparationMessages messages;
    std::vector<std::string> calls;
    auto byMasks = [&](int i) { calls.push_back("masks " + std::to_string(i)); };
    auto byShapes = [&](int i) { calls.push_back("shapes " + std::to_string(i)); };
    const QByteArray before = scene.project->toJson();
    EXPECT_EQ(dispatchSeparation(scene.basic(), kPluginId, 2, byMasks, byShapes), SeparationKind::ShapeGroups);
    EXPECT_EQ(dispatchSeparation(scene.basic(), kPluginId, 1, byMasks, byShapes), SeparationKind::Masks);
    EXPECT_EQ(dispatchSeparation(scene.basic(), kPluginId, 0, byMasks, byShapes), SeparationKind::UngroupedShapes);
    EXPECT_EQ(calls, (std::vector<std::string>{"shapes 2", "masks 1"}));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].first,
              QStringLiteral("Layer 1 (Shape Layer 1): its shapes are not in groups, so it was left as it is."));
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

// All or nothing: a layer whose masks hold a hole is neither split nor
// touched, whatever its other masks.
TEST(SeparationDispatch, MasksHoldingAHoleAreLeftAsTheyAre)
{
    const QByteArray outer = R"({"name": "Outer", "shape": {"vertices": [[0, 0], [200, 0], [200, 200], [0, 200]]}})";
    const QByteArray hole =
        R"({"name": "Hole", "mode": 2, "shape": {"vertices": [[60, 60], [140, 60], [140, 140], [60, 140]]}})";
    Scene scene(composition(solidLayer("Mask with hole", outer + "," + hole) + "," +
                            solidLayer("Hole and another", outer + "," + hole + "," + mask("Beside", 400))));
    SeparationMessages messages;
    std::vector<std::string> calls;
    auto byMasks = [&](int i) { calls.push_back("masks " + std::to_string(i)); };
    const QByteArray before = scene.project->toJson();
    EXPECT_EQ(dispatchSeparation(scene.basic(), kPluginId, 1, byMasks, nullptr), SeparationKind::None);
    EXPECT_EQ(dispatchSeparation(scene.basic(), kPluginId, 0, byMasks, nullptr), SeparationKind::None);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

} // namespace
