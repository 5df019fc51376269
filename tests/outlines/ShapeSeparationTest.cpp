// Shape-group separation against the stand-in host: one shape layer per
// top-level group that draws, each a copy of the layer that draws what its
// group drew, and the dispatch by what a layer holds.
#include "CompositionPicture.h"
#include "SeparationFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "separation/LayerSeparation.h"
#include "project/MatchNames.h"

#include <cmath>
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
        // The last group comes after the fill, which is kept all the same.
        const std::vector<QString> kept =
            i < 4 ? std::vector<QString>{standin::match::kVectorGroup, standin::match::kFill}
                  : std::vector<QString>{standin::match::kFill, standin::match::kVectorGroup};
        ASSERT_EQ(matchNames(contentsOf(layer)), kept) << "one group, and the top-level fill";
        EXPECT_EQ(contentsOf(layer)->child(i < 4 ? 0 : 1)->displayName(), layer->name());
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
    EXPECT_EQ(leaf(polygon, standin::match::kStarInnerRadius), Value::oneD(99)) << "kept, though a polygon has none";
    EXPECT_EQ(leaf(polygon, standin::match::kStarInnerRoundness), Value::oneD(40));
    const PropertyNode* stroke = itemsOf(hexagon)->child(1);
    EXPECT_FALSE(stroke->isEnabled()) << "a switched-off stroke stays off";
    EXPECT_EQ(leaf(stroke, standin::match::kStrokeWidth), Value::oneD(7));
    EXPECT_TRUE(itemsOf(redBox)->child(1)->isEnabled());

    const PropertyNode* nest = contentsOf(layerAt(scene, 4))->child(1);
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
    EXPECT_EQ(star->childByMatchName(QLatin1String(standin::match::kStarRotation))->keyCount(), 2) << "keys and all";
    EXPECT_EQ(leaf(star, standin::match::kStarRotation), Value::oneD(5));
}

// A shape layer as users build them: parented to an animated null, with a
// time span, animated transform, opacity 60, a label, motion blur, a mask,
// fills and a stroke at the top level that paint the groups, a group that is
// switched off, one without anything that draws, and inside the groups
// animated transforms, a nested group and a fill that is switched off.
QByteArray everydayComposition(const QByteArray& topLevelExtra = QByteArray())
{
    const QByteArray box = namedGroup(
        "Box", R"("ADBE Vector Position": {"keys": [{"time": 1, "value": [0, 0]}, {"time": 3, "value": [40, 10]}]})",
        rect(R"("ADBE Vector Rect Size": [60, 30])") + "," +
            namedGroup("Inner", R"("ADBE Vector Scale": [50, 200], "ADBE Vector Group Opacity": 40)",
                       ellipse(R"("ADBE Vector Ellipse Size": [10, 10])") + "," +
                           R"({"matchName": "ADBE Vector Graphic - Fill", "flags": 0})"));
    const QByteArray star = namedGroup(
        "Star", R"("ADBE Vector Rotation": {"keys": [{"time": 0, "value": 0}, {"time": 4, "value": 180}]})",
        outline_test::star(R"("ADBE Vector Star Outer Radius": 25)"));
    const QByteArray hidden = namedGroup("Hidden", "", rect(""), R"("flags": 0)");
    const QByteArray empty = namedGroup("Empty", "", kFill);
    const QByteArray layer =
        R"({"type": "shape", "id": 6, "name": "Shapes", "parent": 5, "inPoint": 1, "duration": 3, "label": 4,
            "flags": ["video", "motionBlur"],
            "masks": [{"name": "Window", "shape": {"vertices": [[-100, -100], [200, -100], [200, 200], [-100, 200]]}},
                      {"name": "Off", "flags": 0, "shape": {"vertices": [[0, 0], [5, 0], [5, 5]]}}],
            "transform": {"anchorPoint": [5, 5], "scale": [80, 90], "opacity": 60,
                "position": {"keys": [{"time": 0, "value": [300, 200, 0]}, {"time": 2, "value": [500, 260, 0]}]},
                "rotation": {"keys": [{"time": 1, "value": 0}, {"time": 3, "value": 45}]}},
            "contents": [)" +
        box + "," + stroke("[0, 1, 0]") + "," + hidden + "," + star + "," + empty + topLevelExtra + "," + kFill +
        "]}";
    return composition(
        R"({"type": "null", "id": 5, "name": "Rig", "transform": {"rotation": {"keys": [
            {"time": 0, "value": 0}, {"time": 5, "value": 30}]}}},)" +
        layer + "," + solidLayer("Below", ""));
}

// Before the in-point, at it, between keys, just before the out-point, at it
// and after it.
const A_Time kFrames[] = {{0, 100}, {100, 100}, {148, 100}, {220, 100}, {396, 100}, {400, 100}, {600, 100}};

TEST(ShapeSeparation, SeparatedLayersDrawWhatTheirGroupsDrewAtEveryFrame)
{
    for (const QByteArray& extra : {QByteArray(), "," + path(true, "[0, 0], [9, 0], [9, 9]")}) {
        SCOPED_TRACE(extra.isEmpty() ? "groups only" : "a path outside the groups");
        Scene scene(everydayComposition(extra));
        const standin::Composition& comp = *scene.project->activeComposition();
        std::vector<std::vector<std::string>> before;
        for (const A_Time& t : kFrames)
            before.push_back(drawingAt(comp, t));
        ASSERT_FALSE(before[2].empty());

        SeparationMessages messages;
        ASSERT_EQ(separateLayerShapes(scene.basic(), kPluginId, 1), A_Err_NONE);
        EXPECT_TRUE(messages.texts().empty());
        // The path stays on the source, drawn under the groups as before.
        const bool groupsOnly = extra.isEmpty();
        const std::vector<QString> names =
            groupsOnly ? std::vector<QString>{"Rig", "Shapes", "Box", "Star", "Below"}
                       : std::vector<QString>{"Rig", "Box", "Star", "Shapes", "Below"};
        EXPECT_EQ(layerNames(scene), names) << "a group switched off or without anything that draws gets no layer";
        for (size_t i = 0; i < std::size(kFrames); ++i) {
            SCOPED_TRACE("at " + std::to_string(kFrames[i].value) + "/100 s");
            EXPECT_EQ(drawingAt(comp, kFrames[i]), before[i]);
        }
        for (int i : groupsOnly ? std::vector<int>{2, 3} : std::vector<int>{1, 2}) {
            EXPECT_EQ(layerAt(scene, i)->maskAtom(0)->displayName(), QStringLiteral("Window"));
            EXPECT_EQ(layerAt(scene, i)->maskCount(), 2) << "the switched-off mask comes along, still off";
        }
        const Layer* source = layerAt(scene, groupsOnly ? 1 : 3);
        EXPECT_EQ(bool(source->flags() & AEGP_LayerFlag_VIDEO_ACTIVE), !groupsOnly);
        EXPECT_EQ(contentsOf(source)->childCount(), groupsOnly ? 6 : 5) << "it keeps Hidden and Empty";
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    }
}

TEST(ShapeSeparation, GroupsBesideATopLevelPathLeaveTheSourceWithThePath)
{
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("")) + "," + path(true, "[0, 0], [9, 0], [9, 9]") +
                                       "," + namedGroup("B", "", ellipse("")))));
    ASSERT_EQ(separateLayerShapes(scene.basic(), kPluginId, 0), A_Err_NONE);
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"A", "", "B"}))
        << "A was drawn over the path and B under it: so they still are";
    const Layer* source = layerAt(scene, 1);
    EXPECT_TRUE(source->flags() & AEGP_LayerFlag_VIDEO_ACTIVE) << "the path still draws";
    EXPECT_EQ(matchNames(contentsOf(source)), (std::vector<QString>{standin::match::kPathItem}));
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(ShapeSeparation, AFailureWhileTakingGroupsOutOfTheSourceLosesNothing)
{
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("")) + "," + path(true, "[0, 0], [9, 0], [9, 9]") +
                                       "," + namedGroup("B", "", ellipse("")))));
    SeparationMessages messages;
    // Four deletions make the two layers (from each copy the path and the
    // other group); then B is taken out of the source, and A fails.
    scene.session->faults().failNth(kAEGPDynamicStreamSuite, standin::FaultInjector::kAnyVersion, 9, 6);
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
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 26) << "an empty group draws nothing: no layer";
    EXPECT_EQ(layerAt(scene, 1)->name(), QStringLiteral("G1"));
    EXPECT_EQ(layerAt(scene, 25)->name(), QStringLiteral("G49"));
    for (int i = 1; i <= 25; ++i)
        ASSERT_EQ(contentsOf(layerAt(scene, i))->childCount(), 1) << i;
    EXPECT_EQ(contentsOf(layerAt(scene, 0))->childCount(), 50) << "the hidden source keeps them all";
    EXPECT_FALSE(layerAt(scene, 0)->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
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
        // Three groups: a copy of the layer, split into the first group and
        // the other two, which are split in turn.
        {kAEGPDynamicStreamSuite, 5, 3, "AEGP_GetDynamicStreamFlags"},  // looking at the groups
        {kAEGPLayerSuite, 44, 1, "AEGP_DuplicateLayer"},
        {kAEGPLayerSuite, 44, 3, "AEGP_DuplicateLayer"},
        {kAEGPLayerSuite, 3, 2, "AEGP_GetLayerIndex"},
        {kAEGPLayerSuite, 26, 3, "AEGP_ReorderLayer"},
        {kAEGPDynamicStreamSuite, 9, 2, "AEGP_DeleteStream"},
        {kAEGPDynamicStreamSuite, 9, 4, "AEGP_DeleteStream"},
        {kAEGPLayerSuite, 40, 2, "AEGP_SetLayerName"},
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

// Fills and strokes are not rebuilt: the group keeps its own, keys and
// switches included, whatever the host would say to adding items.
TEST(ShapeSeparation, FillsAndStrokesComeWithTheirGroupAsTheyAre)
{
    const QByteArray animatedFill = R"({"matchName": "ADBE Vector Graphic - Fill", "properties": {
        "ADBE Vector Fill Color": {"keys": [{"time": 0, "value": [1, 0, 0]}, {"time": 2, "value": [0, 0, 1]}]}}})";
    const QByteArray strokeOff = R"({"matchName": "ADBE Vector Graphic - Stroke", "flags": 0})";
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("") + "," + animatedFill + "," + strokeOff) + "," +
                                       namedGroup("B", "", ellipse("")))));
    SeparationMessages messages;
    scene.session->faults().failEvery(kAEGPDynamicStreamSuite, standin::FaultInjector::kAnyVersion, 14);
    ASSERT_EQ(separateLayerShapes(scene.basic(), kPluginId, 0), A_Err_NONE);
    EXPECT_TRUE(messages.texts().empty());
    const PropertyNode* items = itemsOf(contentsOf(layerAt(scene, 1))->child(0));
    ASSERT_EQ(matchNames(items),
              (std::vector<QString>{standin::match::kRect, standin::match::kFill, standin::match::kStroke}));
    EXPECT_EQ(items->child(1)->childByMatchName(QLatin1String(standin::match::kFillColor))->keyCount(), 2);
    EXPECT_FALSE(items->child(2)->isEnabled()) << "a switched-off stroke stays off";
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
        // Under masks, groups are never split: each copy would be the masks' body.
        {{2, 2, 0, 0}, AEGP_ObjectType_VECTOR, SeparationKind::Masks},
        {{1, 3, 0, 0}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{1, 2, 1, 1}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{0, 0, 3, 3}, AEGP_ObjectType_VECTOR, SeparationKind::UngroupedShapes},
        {{2, 0, 3, 3}, AEGP_ObjectType_VECTOR, SeparationKind::Masks},
        {{1, 0, 1, 1}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{0, 3, 0, 0}, AEGP_ObjectType_TEXT, SeparationKind::None},
        {{1, 0, 0, 0}, AEGP_ObjectType_AV, SeparationKind::None},
        // Masks holding a hole stay together, and so do the groups under them.
        {{2, 0, 0, 0, {}, MasksMeet::Hole}, AEGP_ObjectType_AV, SeparationKind::None},
        {{5, 0, 0, 0, {}, MasksMeet::Hole}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{2, 2, 0, 0, {}, MasksMeet::Hole}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        // Masks that cross, or groups whose layers would draw over one another.
        {{2, 0, 0, 0, {}, MasksMeet::Cross}, AEGP_ObjectType_AV, SeparationKind::None},
        {{0, 2, 0, 0, GroupsMeet::Overlap}, AEGP_ObjectType_VECTOR, SeparationKind::None},
        {{0, 1, 1, 1, GroupsMeet::StrokesMeet}, AEGP_ObjectType_VECTOR, SeparationKind::None},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(separationKindOf(row.content, row.type), row.kind)
            << row.content.masks << " " << row.content.topGroups << " " << row.content.topPaths;
        EXPECT_EQ(hasSeveralOutlines(row.content, row.type), row.kind != SeparationKind::None);
        const bool severalLeftTogether =
            row.kind == SeparationKind::None &&
            (row.content.masks > 1 ||
             (row.type == AEGP_ObjectType_VECTOR && row.content.topGroups + row.content.topPaths > 1));
        EXPECT_EQ(whyNotSeparable(row.content, row.type).isEmpty(), !severalLeftTogether);
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
    const std::vector<SeparationKind> kinds = offeredKinds(scene.basic());
    EXPECT_EQ(separateAsOffered(scene, 2, kinds, byMasks, byShapes), SeparationKind::Masks);
    EXPECT_EQ(separateAsOffered(scene, 1, kinds, byMasks, byShapes), SeparationKind::Masks);
    EXPECT_EQ(separateAsOffered(scene, 0, kinds, byMasks, byShapes), SeparationKind::UngroupedShapes);
    EXPECT_EQ(calls, (std::vector<std::string>{"masks 2", "masks 1"}));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].first,
              QStringLiteral("Layer 1 (Shape Layer 1): its shapes are not in groups, so it was left as it is."));
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

// A fill paints the shapes before it, those of the groups before it
// included, as one path; a copy per group paints its group alone. A layer
// whose groups' drawn areas share a place is left as one body, as drawn,
// whether a fill they share makes a ring of them or each has its own fill;
// groups that lie apart are split, the picture kept, and groups that touch
// are not (their bodies would push one another). So for
// strokes at any opacity: a copy's stroke lies over or under the other copy
// as a whole, so a band that reaches over another group, at 0 s or as keys
// move or widen it by 2 s, leaves the layer whole. The layer is turned and
// unevenly scaled, so that the copies' bodies are compared where the scene
// places them, and at 60 %, so that a place painted twice shows.
TEST(SeparationDispatch, GroupsThatDrawOverOneAnotherAreLeftAsOneBody)
{
    const QByteArray evenOdd = item("ADBE Vector Graphic - Fill", R"("ADBE Vector Fill Rule": 2)");
    const QByteArray nonZero = item("ADBE Vector Graphic - Fill", R"("ADBE Vector Fill Rule": 1)");
    const auto g = [](const char* name, const QByteArray& contents) { return namedGroup(name, "", contents); };
    const auto box = [](double x, int y, int w, int h) {
        return rect(R"("ADBE Vector Rect Position": [)" + QByteArray::number(x) + ", " + QByteArray::number(y) +
                    R"(], "ADBE Vector Rect Size": [)" + QByteArray::number(w) + ", " + QByteArray::number(h) + "]");
    };
    const auto strokeOf = [](const QByteArray& width, const QByteArray& more = "") {
        return item("ADBE Vector Graphic - Stroke", R"("ADBE Vector Stroke Width": )" + width + more);
    };
    const QByteArray widening = R"({"keys": [{"time": 0, "value": 10}, {"time": 2, "value": 140}]})";
    // Squares 60 px apart with their own fills over a stroke of both; squares
    // 40 px apart under one fill, B with a stroke of its own.
    const auto overAStroke = [&](const QByteArray& stroke) {
        return g("A", box(-80, 0, 100, 100) + "," + fill("[0, 0, 1]")) + "," + g("B", box(80, 0, 100, 100) + "," +
               kFill) + "," + stroke;
    };
    const auto besideBsStroke = [&](const QByteArray& aMoves, const QByteArray& width) {
        return namedGroup("A", aMoves, box(-70, 0, 100, 100)) + "," +
               g("B", box(70, 0, 100, 100) + "," + strokeOf(width)) + "," + kFill;
    };
    const QByteArray openU = path(false, "[100, -80], [100, 80], [-100, 80], [-100, -80]"), bInU = box(0, -40, 100, 50);
    const QByteArray arc = path(false, "[100, 0, 0, 0, 0, 55.2], [0, 100, 55.2, 0, -55.2, 0], [-100, 0, 0, 55.2, 0, 0]");
    const QByteArray eight = path(true, "[-150, -75], [100, 50], [100, -50], [-150, 75]");
    // A coil of two turns from the x axis, its radius growing from r by r a
    // turn, a vertex every 1/n turn (with tangents when curved): its closing
    // line runs through its vertex a turn out, and non-zero fills its centre
    // twice over.
    const auto coil = [](int n, double r, bool closed, bool curved) {
        QByteArray vertices;
        const auto number = [](double v) { return QByteArray::number(std::round(v * 1e4) / 1e4); };
        const double step = 2 * M_PI / n;
        for (int k = 0; k <= 2 * n; ++k) {
            const double a = k * step, radius = r + r * k / n, c = std::cos(a), s = std::sin(a);
            const double tx = (r / (2 * M_PI) * c - radius * s) * step / 3, ty = (r / (2 * M_PI) * s + radius * c) * step / 3;
            QByteArray v = number(radius * c) + ", " + number(radius * s);
            if (curved)
                v += ", " + number(-tx) + ", " + number(-ty) + ", " + number(tx) + ", " + number(ty);
            vertices += (k ? ", [" : "[") + v + "]";
        }
        return path(closed, vertices);
    };
    const auto inCoil = [&](const QByteArray& coiled, int size, const QByteArray& rule) {
        return g("Coil", coiled + "," + rule) + "," + g("B", box(0, 0, size, size) + "," + kFill);
    };
    const QByteArray pentagram = path(true, "[0, -100], [58.8, 80.9], [-95.1, -30.9], [95.1, -30.9], [-58.8, 80.9]");
    // A 20 px stroke (mitred, limit 4) reaches as far as each corner's join
    // or its cap draws it, 10 px along the axis a group stretches it 400 %.
    const auto capped = [&](const char* cap) {
        return g("A", outline_test::path(false, "[-200, 0], [-60, 0]") + "," +
                      strokeOf("20", QByteArray(R"(, "ADBE Vector Stroke Line Cap": )") + cap)) + "," +
               g("B", box(-5, 0, 100, 100) + "," + kFill);
    };
    const auto arrow = [&](const QByteArray& moves) {
        return namedGroup("A", moves, outline_test::path(true, "[0, 0], [-200, -115.47], [-100, 0], [-200, 115.47]") +
                                          "," + strokeOf("20", R"(, "ADBE Vector Stroke Miter Limit": 2.1)")) +
               "," + g("B", box(65, 0, 100, 100) + "," + kFill);
    };
    const auto joined = [&](const char* join) {
        return g("A", box(0, 0, 100, 100) + "," + strokeOf("120", join)) + "," + g("B", box(144, 144, 100, 100) + "," + kFill);
    };
    const auto stretched = [&](const QByteArray& scale, int bx) {
        return namedGroup("A", R"("ADBE Vector Scale": )" + scale, box(0, 0, 100, 20) + "," + strokeOf("20")) + "," +
               g("B", box(bx, 0, 100, 100) + "," + kFill);
    };
    const QByteArray keyed = R"({"keys": [{"time": 0, "value": [100, 100]}, {"time": 2, "value": )";
    // B, a square `size` px wide about its group's origin, its scale keyed
    // from `from` to `to` % by `by` s; A's 100 px square about x = `ax`.
    const auto scaling = [&](int from, int to, const char* by, int size, double ax, const QByteArray& more = "") {
        const auto both = [](int scale) { return "[" + QByteArray::number(scale) + ", " + QByteArray::number(scale) + "]"; };
        return namedGroup("B", R"("ADBE Vector Scale": {"keys": [{"time": 0, "value": )" + both(from) + R"(}, {"time": )" +
                                   by + R"(, "value": )" + both(to) + "}]}",
                          box(0, 0, size, size) + more) + "," + g("A", box(ax, 0, 100, 100)) + "," + kFill;
    };
    const QByteArray roundStroke = "," + strokeOf("10", R"(, "ADBE Vector Stroke Line Join": 2)");
    // A leaf from x -100 to 100 stroked 20 px wide, B beside its tip; a
    // circle of four vertices.
    const auto leaf = [&](const char* join, int bx) {
        return g("Leaf", path(true, "[-100, 0, 60, 60, 60, -60], [100, 0, -60, -60, -60, 60]") + "," +
                             strokeOf("20", join)) + "," + g("B", box(bx, 0, 100, 100) + "," + kFill);
    };
    const auto circle = [](int r, bool closed = true) {
        const QByteArray p = QByteArray::number(r), n = QByteArray::number(-r);
        const QByteArray k = QByteArray::number(r * 0.5523), m = QByteArray::number(-r * 0.5523);
        return path(closed, "[" + p + ", 0, 0, " + m + ", 0, " + k + "], [0, " + p + ", " + k + ", 0, " + m + ", 0], [" +
                              n + ", 0, 0, " + k + ", 0, " + m + "], [0, " + n + ", " + m + ", 0, " + k + ", 0]");
    };
    // The layer is turned unless a row says otherwise.
    const char* const unturned = R"({"position": [500, 250], "scale": [90, 110], "opacity": 60})";
    struct Case {
        const char* what;
        QByteArray contents;
        SeparationKind kind;
        const char* transform = R"({"position": [500, 250], "rotation": 30, "scale": [90, 110], "opacity": 60})";
    } cases[] = {
        {"squares 50 px apart, mitred 20 px strokes",
         g("A", box(-75, 0, 100, 100)) + "," + g("B", box(75, 0, 100, 100)) + "," + strokeOf("20"),
         SeparationKind::ShapeGroups},
        {"a line's butt cap, B 5 px from its end", capped("1"), SeparationKind::ShapeGroups},
        {"a line's round cap over B", capped("2"), SeparationKind::None},
        {"a line's square cap over B", capped("3"), SeparationKind::None},
        {"a stroked bar turning 45 degrees by 2 s, its band alone reaching B",
         namedGroup("A", R"("ADBE Vector Rotation": {"keys": [{"time": 0, "value": 0}, {"time": 2, "value": 45}]})",
                    box(0, 0, 200, 10) + "," + strokeOf("20", R"(, "ADBE Vector Stroke Line Join": 2)")) + "," +
             g("B", box(84, 84, 20, 20) + "," + kFill),
         SeparationKind::None},
        {"A's scale keyed to 200 %, its band by a stroke outside it 5 px from B's",
         namedGroup("A", R"("ADBE Vector Scale": )" + keyed + "[200, 200]}]}", box(0, 0, 100, 20) + "," + kFill) + "," +
             g("B", box(175, 0, 100, 100) + "," + kFill) + "," + strokeOf("20"),
         SeparationKind::ShapeGroups},
        // A stroke outside the group keeps its width as the group shrinks.
        {"A shrinking to 50 % as it moves toward B, bands of a 60 px stroke outside both 10 px over one another",
         namedGroup("A", R"("ADBE Vector Position": {"keys": [{"time": 0, "value": [-300, 0]}, {"time": 2, "value": [0, 0]}]},
                            "ADBE Vector Scale": {"keys": [{"time": 0, "value": [100, 100]}, {"time": 2, "value": [50, 50]}]})",
                    box(0, 0, 100, 100) + "," + kFill) + "," + g("B", box(125, 0, 100, 100) + "," + kFill) + "," +
             strokeOf("60"),
         SeparationKind::None},
        {"a tip bevelled past its limit, 20 px from B",
         g("A", outline_test::path(true, "[-200, -50.3], [0, 0], [-200, 50.3]") + "," + strokeOf("20")) + "," +
             g("B", box(70, 0, 100, 100) + "," + kFill),
         SeparationKind::ShapeGroups},
        {"an arrow's 60 degree tip mitred within the limit 2.1, 15 px from B", arrow(""), SeparationKind::None},
        {"the same arrow moving there by 2 s",
         arrow(R"("ADBE Vector Position": {"keys": [{"time": 0, "value": [-150, 0]}, {"time": 2, "value": [0, 0]}]})"),
         SeparationKind::None},
        {"a round join 62 px from B", joined(R"(, "ADBE Vector Stroke Line Join": 2)"), SeparationKind::ShapeGroups},
        {"a bevel 62 px from B", joined(R"(, "ADBE Vector Stroke Line Join": 3)"), SeparationKind::ShapeGroups},
        {"a mitre past its limit 1.4, 62 px from B", joined(R"(, "ADBE Vector Stroke Miter Limit": 1.4)"),
         SeparationKind::ShapeGroups},
        {"a mitre within its limit 1.5, 62 px from B", joined(R"(, "ADBE Vector Stroke Miter Limit": 1.5)"),
         SeparationKind::None},
        {"A scaled 100 x 400 %, B 15 px beside it", stretched("[100, 400]", 125), SeparationKind::ShapeGroups},
        {"A's scale keyed to 100 x 400 %, B 15 px beside it", stretched(keyed + "[100, 400]}]}", 125),
         SeparationKind::ShapeGroups},
        {"A scaled 180 x 100 %, its stroke over B", stretched("[180, 100]", 156), SeparationKind::None},
        {"A's scale keyed to 180 x 100 %, its stroke over B", stretched(keyed + "[180, 100]}]}", 156),
         SeparationKind::None},
        // A body's skin is as wide at every scale: 2 px for two.
        {"B's scale keyed 2 to 100 % by 0.5 s, A 100 px beside it", scaling(2, 100, "0.5", 100, 200),
         SeparationKind::ShapeGroups},
        {"the same, A 20 px beside it", scaling(2, 100, "0.5", 100, 120), SeparationKind::ShapeGroups},
        {"B's scale keyed 20 to 100 %, A 5 px beside it", scaling(20, 100, "2", 100, 105), SeparationKind::ShapeGroups},
        {"B's scale keyed 10 to 400 %, A 10 px beside it", scaling(10, 400, "2", 20, 100), SeparationKind::ShapeGroups},
        {"the same, A 30 px beside it", scaling(10, 400, "2", 20, 120), SeparationKind::ShapeGroups},
        {"the same, A 1.5 px beside it", scaling(10, 400, "2", 20, 91.5), SeparationKind::None},
        {"B shrinking to 10 % as it moves up to 1.5 px beside A",
         namedGroup("B", R"("ADBE Vector Position": {"keys": [{"time": 0, "value": [-300, 0]}, {"time": 2, "value": [0, 0]}]},
                            "ADBE Vector Scale": {"keys": [{"time": 0, "value": [100, 100]}, {"time": 2, "value": [10, 10]}]})",
                    box(0, 0, 100, 100)) + "," + g("A", box(56.5, 0, 100, 100)) + "," + kFill,
         SeparationKind::None},
        {"A moving from 3 to 1.5 px beside B by 2 s",
         namedGroup("A", R"("ADBE Vector Position": {"keys": [{"time": 0, "value": [0, 0]}, {"time": 2, "value": [1.5, 0]}]})",
                    box(-53, 0, 100, 100)) + "," + g("B", box(50, 0, 100, 100)) + "," + kFill,
         SeparationKind::None},
        // A copy under half a pixel at time 0 draws no piece there, and its
        // body would not move: left whole, not taken to lie apart.
        {"B growing from 0.4 px by 1 s to lie 20 px over A", scaling(1, 100, "1", 40, 50), SeparationKind::None},
        {"the same from 0.2 px", scaling(1, 100, "1", 20, 40), SeparationKind::None},
        {"B growing from 0.4 px by 1 s as it moves onto A by 2 s",
         namedGroup("B", R"("ADBE Vector Position": {"keys": [{"time": 0, "value": [-300, 0]}, {"time": 2, "value": [0, 0]}]},
                            "ADBE Vector Scale": {"keys": [{"time": 0, "value": [1, 1]}, {"time": 1, "value": [100, 100]}]})",
                    box(0, 0, 40, 40)) + "," + g("A", box(50, 0, 100, 100)) + "," + kFill,
         SeparationKind::None},
        {"B's 10 px square beside its 100 px one (0.2 and 2 px at time 0), its group growing by 1 s to put it in A",
         namedGroup("B", R"("ADBE Vector Scale": {"keys": [{"time": 0, "value": [2, 2]}, {"time": 1, "value": [100, 100]}]})",
                    box(0, 0, 100, 100) + "," + box(190, 0, 10, 10)) + "," + g("A", box(235, 0, 100, 100)) + "," + kFill,
         SeparationKind::None},
        {"the same with a round stroke 10, A 5 px beside its band", scaling(10, 400, "2", 20, 115, roundStroke),
         SeparationKind::ShapeGroups},
        {"the same, A 15 px beside its band", scaling(10, 400, "2", 20, 125, roundStroke), SeparationKind::ShapeGroups},
        {"a stroke 140 px wide under both", overAStroke(strokeOf("140")), SeparationKind::None},
        {"the same at 50 %", overAStroke(strokeOf("140", R"(, "ADBE Vector Stroke Opacity": 50)")),
         SeparationKind::None},
        {"the same widening by 2 s", overAStroke(strokeOf(widening)), SeparationKind::None},
        {"a stroke 40 px wide under both, round joins",
         overAStroke(strokeOf("40", R"(, "ADBE Vector Stroke Line Join": 2)")), SeparationKind::ShapeGroups},
        {"B's stroke reaching over A", besideBsStroke("", "100"), SeparationKind::None},
        {"A moving under B's stroke by 2 s",
         besideBsStroke(R"("ADBE Vector Position": {"keys": [{"time": 0, "value": [-60, 0]},
                                                             {"time": 2, "value": [0, 0]}]})", "100"),
         SeparationKind::None},
        {"B's stroke widening over A by 2 s", besideBsStroke("", widening), SeparationKind::None},
        {"an even-odd ring over two groups",
         g("Outer", heptagon(0, 0, 100)) + "," + g("Inner", heptagon(0, 0, 50)) + "," + evenOdd, SeparationKind::None},
        {"non-zero, the inner group wound the other way",
         g("Outer", heptagon(0, 0, 100)) + "," + g("Inner", heptagon(0, 0, 50, true)) + "," + nonZero,
         SeparationKind::None},
        {"even-odd over two groups that cross",
         g("Left", heptagon(-40, 0, 80)) + "," + g("Right", heptagon(40, 0, 80)) + "," + evenOdd, SeparationKind::None},
        {"a group and a path outside it under one fill",
         g("Outer", heptagon(0, 0, 100)) + "," + heptagon(0, 0, 50) + "," + evenOdd, SeparationKind::None},
        {"a card with a label, each with its fill",
         g("Label", box(0, 0, 100, 40) + "," + fill("[0, 0, 1]")) + "," + g("Card", box(0, 0, 300, 200) + "," + kFill),
         SeparationKind::None},
        {"an even-odd ring in one group about another group in its hole",
         g("Ring", heptagon(0, 0, 100) + "," + heptagon(0, 0, 60)) + "," + g("Core", heptagon(0, 0, 30)) + "," +
             evenOdd,
         SeparationKind::ShapeGroups},
        {"apart under one even-odd fill",
         g("Left", heptagon(-150, 0, 80)) + "," + g("Right", heptagon(150, 0, 80)) + "," + evenOdd,
         SeparationKind::ShapeGroups},
        {"side by side, edges touching", g("Left", box(-50, 0, 100, 100)) + "," + g("Right", box(50, 0, 100, 100)) +
                                             "," + kFill, SeparationKind::None},
        // A fill closes an open path with a line back to its start; non-zero
        // fills the centre of a pentagram, even-odd leaves it a hole.
        {"B in an open U's mouth, one even-odd fill", g("U", openU) + "," + g("B", bInU) + "," + evenOdd,
         SeparationKind::None},
        {"B in an open arc, one even-odd fill", g("Arc", arc) + "," + g("B", box(0, 40, 60, 40)) + "," + evenOdd,
         SeparationKind::None},
        {"B in a square back at its start, not closed",
         g("Square", path(false, "[-100, -100], [100, -100], [100, 100], [-100, 100], [-100, -100]")) + "," +
             g("B", box(0, 0, 100, 50)) + "," + evenOdd,
         SeparationKind::None},
        {"B in an open U's mouth, each with its fill", g("U", openU + "," + kFill) + "," + g("B", bInU + "," + kFill),
         SeparationKind::None},
        {"the same under one non-zero fill", g("U", openU) + "," + g("B", bInU) + "," + nonZero, SeparationKind::None},
        {"the same, U stroked 4 px", g("U", openU + "," + strokeOf("4") + "," + kFill) + "," + g("B", bInU + "," + kFill),
         SeparationKind::None},
        {"B in an open arc, each with its fill", g("Arc", arc + "," + kFill) + "," + g("B", box(0, 40, 60, 40) + "," +
         kFill), SeparationKind::None},
        {"B in a non-zero pentagram's centre", g("Star", pentagram + "," + nonZero) + "," + g("B", box(0, 0, 30, 30) +
         "," + kFill), SeparationKind::None},
        // Its lobes wind opposite ways: alone under a fill, it fills as its
        // triangles do; with a path about the small lobe, non-zero paints
        // that lobe twice over.
        {"B beside a figure eight", g("Eight", eight + "," + kFill) + "," + g("B", box(0, 100, 60, 40) + "," + kFill),
         SeparationKind::ShapeGroups},
        {"B in a figure eight's lobe, a path about it under the same fill",
         g("Eight", eight + "," + path(true, "[20, -70], [20, 70], [140, 70], [150, -70]") + "," + nonZero) + "," +
             g("B", box(80, 0, 20, 20) + "," + kFill),
         SeparationKind::None},
        {"B in an even-odd pentagram's centre", g("Star", pentagram + "," + evenOdd) + "," + g("B", box(0, 0, 30, 30) +
         "," + kFill), SeparationKind::ShapeGroups},
        {"B in a Bezier coil's centre, non-zero", inCoil(coil(4, 40, false, true), 40, nonZero), SeparationKind::None,
         unturned},
        {"the same, even-odd", inCoil(coil(4, 40, false, true), 40, evenOdd), SeparationKind::ShapeGroups, unturned},
        {"B in a coil of 17 points' centre, non-zero", inCoil(coil(8, 40, false, false), 40, nonZero),
         SeparationKind::None, unturned},
        {"the same, even-odd", inCoil(coil(8, 40, false, false), 40, evenOdd), SeparationKind::ShapeGroups, unturned},
        {"B in a spiral of 33 points' centre, non-zero", inCoil(coil(16, 24, false, false), 24, nonZero),
         SeparationKind::None, unturned},
        {"the same, even-odd", inCoil(coil(16, 24, false, false), 24, evenOdd), SeparationKind::ShapeGroups, unturned},
        {"the same spiral closed, non-zero", inCoil(coil(16, 24, true, false), 24, nonZero), SeparationKind::None,
         unturned},
        {"the coil of 17 points mirrored by its group (100, -100 %), non-zero",
         namedGroup("Coil", R"("ADBE Vector Scale": [100, -100])", coil(8, 40, false, false) + "," + nonZero) + "," +
             g("B", box(0, 0, 40, 40) + "," + kFill),
         SeparationKind::None, unturned},
        {"the same unmirrored, its fill also painting a triangle 300 px away",
         inCoil(coil(8, 40, false, false) + "," + path(true, "[420, -30], [480, 0], [420, 30]"), 40, nonZero),
         SeparationKind::None, unturned},
        {"the same, even-odd", inCoil(coil(16, 24, true, false), 24, evenOdd), SeparationKind::ShapeGroups, unturned},
        // A curve's stroke joins where its tangents meet at an angle, by its
        // join; where they are in line it bends with the curve.
        {"a Bezier leaf's tip, round joins, 14 px from B", leaf(R"(, "ADBE Vector Stroke Line Join": 2)", 164),
         SeparationKind::ShapeGroups},
        {"the same mitred (its 90 degree tip reaches 14 px), 20 px from B", leaf("", 170), SeparationKind::ShapeGroups},
        {"the same, 12 px from B", leaf("", 162), SeparationKind::None},
        {"a Bezier circle's 6 px mitred band, 10 px from B", g("Circle", circle(100) + "," + strokeOf("6")) + "," +
         g("B", box(163, 0, 100, 100) + "," + kFill), SeparationKind::ShapeGroups},
        {"a filled Bezier circle over B's corner between its cut points",
         g("Circle", circle(200) + "," + kFill) + "," + g("B", box(239, 101, 100, 100) + "," + kFill),
         SeparationKind::None},
        {"the same open", g("Circle", circle(200, false) + "," + kFill) + "," + g("B", box(239, 101, 100, 100) + "," +
         kFill), SeparationKind::None},
        {"a Bezier circle's round-joined band over B's corner between its cut points",
         g("Circle", circle(400) + "," + strokeOf("20", R"(, "ADBE Vector Stroke Line Join": 2)")) + "," +
             g("B", box(439, 155, 100, 100) + "," + kFill),
         SeparationKind::None, R"({"position": [500, 250], "opacity": 60})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene(composition(shapeLayer(c.contents, c.transform)));
        const QByteArray before = scene.project->toJson();
        EXPECT_EQ(int(expectSeparationKeepsPictureAndPlaces(scene, 0, 2.0, {{0, 1}, {2, 1}})), int(c.kind));
        if (c.kind == SeparationKind::None) {
            EXPECT_TRUE(scene.project->toJson() == before) << "left as it was";
        }
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    }
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
    const std::vector<SeparationKind> kinds = offeredKinds(scene.basic());
    EXPECT_EQ(separateAsOffered(scene, 1, kinds, byMasks, nullptr), SeparationKind::None);
    EXPECT_EQ(separateAsOffered(scene, 0, kinds, byMasks, nullptr), SeparationKind::None);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

// A shape layer under a 400 x 180 mask, or under two masks side by side,
// holding a star, a ring and an unpainted path. A layer with a mask becomes a
// body of its masks' outline, so a copy per group (each keeping the masks, to
// look as before) would stack identical bodies. After the separation each
// layer that draws is a body where its own masks are drawn, and no two are
// the same body in the same place.
TEST(SeparationDispatch, NoTwoLayersOfAMaskedShapeLayerGetTheSameBody)
{
    const QByteArray contents =
        namedGroup("Star", R"("ADBE Vector Position": [-120, 0])",
                   star(R"("ADBE Vector Star Outer Radius": 40, "ADBE Vector Star Inner Radius": 20)") + "," + kFill) +
        "," + namedGroup("Ring", "", ellipse(R"("ADBE Vector Ellipse Size": [100, 100])") + "," + stroke("[0, 0, 1]")) +
        "," + namedGroup("Path", R"("ADBE Vector Position": [120, 0])", path(true, "[-20, -20], [20, -20], [0, 30]"));
    auto rectMask = [](const char* name, int left, int right) {
        return QByteArray(R"({"name": ")") + name + R"(", "shape": {"vertices": [[)" + QByteArray::number(left) +
               ", -90], [" + QByteArray::number(right) + ", -90], [" + QByteArray::number(right) + ", 90], [" +
               QByteArray::number(left) + ", 90]]}}";
    };
    struct Case {
        const char* what;
        QByteArray masks;
        size_t layersDrawing;
    } cases[] = {
        {"one mask", rectMask("Frame", -200, 200), 1},
        {"two masks side by side", rectMask("Left", -200, 0) + "," + rectMask("Right", 10, 200), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene(composition(R"({"type": "shape", "name": "Shapes", "transform": {"position": [500, 250]},
                                    "masks": [)" + c.masks + R"(], "contents": [)" + contents + "]}"));
        const standin::Composition& comp = *scene.project->activeComposition();
        const std::vector<std::string> drawn = drawingAt(comp, {0, 1});
        const QByteArray before = scene.project->toJson();
        SeparationMessages messages;
        AEGP_SuiteHandler suites(scene.basic());
        ASSERT_EQ(suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar - Shapes Separation"), A_Err_NONE);
        separateAsOffered(
            scene, 0, offeredKinds(scene.basic()), [&](int i) { separateLayerMasks(scene.basic(), kPluginId, i); },
            [&](int i) { separateLayerShapes(scene.basic(), kPluginId, i); });
        ASSERT_EQ(suites.UtilitySuite5()->AEGP_EndUndoGroup(), A_Err_NONE);
        EXPECT_TRUE(messages.texts().empty());
        if (c.layersDrawing == 1) {
            EXPECT_EQ(drawingAt(comp, {0, 1}), drawn) << "left as it was";
        }

        std::vector<MyBody> bodies;
        for (int i = 0; i < comp.layerCount(); ++i) {
            const Layer* layer = layerAt(scene, i);
            if (!(layer->flags() & AEGP_LayerFlag_VIDEO_ACTIVE))
                continue;
            SCOPED_TRACE(layer->name().toStdString());
            const MyBody body = scene.body(i);
            // Its masks as the host draws them: every corner, and the area.
            double area = 0;
            for (int m = 0; m < layer->maskCount(); ++m) {
                const standin::Value shape =
                    layer->maskAtom(m)->childByMatchName(QLatin1String(standin::match::kMaskShape))->staticValue();
                const auto& v = shape.shape.vertices;
                for (const auto& corner : v)
                    EXPECT_TRUE(hasCorner(body, hostWorld(scene, i, corner.x, corner.y)));
                area += std::abs((v[2].x - v[0].x) * (v[2].y - v[0].y)) / 10000.0;
            }
            EXPECT_NEAR(filledArea(body), area, 1e-4);
            for (const MyBody& other : bodies) {
                bool same = other.outlines.size() == body.outlines.size();
                for (size_t g = 0; same && g < body.outlines.size(); ++g) {
                    same = other.outlines[g].size() == body.outlines[g].size();
                    for (size_t k = 0; same && k < body.outlines[g].size(); ++k)
                        for (const b2Vec2& p : body.outlines[g][k].points)
                            same = same && hasCorner(other, toWorld(body, p));
                }
                EXPECT_FALSE(same) << "two bodies stacked in one place";
            }
            bodies.push_back(body);
        }
        EXPECT_EQ(bodies.size(), c.layersDrawing);
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
        ASSERT_TRUE(scene.session->undoLastGroup());
        EXPECT_EQ(scene.project->toJson(), before) << "one undo takes it back";
    }
}

} // namespace
