// Mask separation against the stand-in host: one copy of the layer per mask,
// the source hidden below them, all or nothing when the host fails.
#include "SeparationFixture.h"

#include "separation/LayerSeparation.h"
#include "project/MatchNames.h"

namespace {

using namespace separation_test;
using outline_test::composition;
using outline_test::Scene;
using standin::Layer;
using standin::PropertyNode;

const QByteArray kAnimatedShape = R"("shape": {"keys": [
    {"time": 0, "value": {"closed": true, "vertices": [[5, 5], [45, 5], [45, 45]]}},
    {"time": 1, "value": {"closed": true, "vertices": [[50, 50], [90, 50], [90, 90]]}}]})";

// Layer 1 ("Three") has three masks; layers 0 and 2 are neighbours.
QByteArray threeMaskComposition()
{
    const QByteArray masks = mask("Left", 0, R"("feather": [3, 4], "opacity": 60, "expansion": 2, "locked": true)")
                             + "," + R"({"name": "Moving", )" + kAnimatedShape + "}," + mask("Right", 150);
    return composition(solidLayer("Above", mask("Only", 0)) + "," +
                       solidLayer("Three", masks,
                                  R"("inPoint": 1, "duration": 3, "label": 4, "transform": {"rotation": {"keys": [
                                      {"time": 0, "value": 0}, {"time": 2, "value": 90}]}})") +
                       "," + solidLayer("Below", ""));
}

const PropertyNode* maskLeaf(const Layer* layer, int mask, const char* matchName)
{
    return layer->maskAtom(mask)->childByMatchName(QLatin1String(matchName));
}

TEST(MaskSeparation, ThreeMasksBecomeThreeLayersAboveTheHiddenSource)
{
    Scene scene(threeMaskComposition());
    SeparationMessages messages;
    std::vector<std::pair<int, int>> progress;
    const Layer* source = layerAt(scene, 1);
    const int rotationKeys = source->transformStream(standin::TransformStream::Rotation)->keyCount();

    EXPECT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 1,
                                 [&](int done, int total) { progress.emplace_back(done, total); }),
              A_Err_NONE);

    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"Above", "Left", "Moving", "Right", "Three", "Below"}))
        << "the template is gone";
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();

    EXPECT_EQ(layerAt(scene, 4), source);
    EXPECT_FALSE(source->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
    EXPECT_EQ(source->maskCount(), 3) << "the source keeps its masks";

    for (int i = 1; i <= 3; ++i) {
        const Layer* copy = layerAt(scene, i);
        SCOPED_TRACE(copy->name().toStdString());
        ASSERT_EQ(copy->maskCount(), 1);
        EXPECT_TRUE(copy->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
        EXPECT_EQ(copy->inPoint().value * 1.0 / copy->inPoint().scale, 1.0);
        EXPECT_EQ(copy->duration().value * 1.0 / copy->duration().scale, 3.0);
        EXPECT_EQ(copy->label(), 4);
        EXPECT_EQ(copy->transformStream(standin::TransformStream::Rotation)->keyCount(), rotationKeys);
        const PropertyNode* shape = maskLeaf(copy, 0, standin::match::kMaskShape);
        EXPECT_EQ(shape->keyCount(), 0) << "static values only";
        EXPECT_EQ(shape->staticValue(), maskLeaf(source, i - 1, standin::match::kMaskShape)->valueAt({0, 1}, false));
        EXPECT_EQ(copy->maskAtom(0)->maskAttributes().locked, i == 1);
        EXPECT_EQ(copy->maskAtom(0)->displayName(), copy->name()) << "the mask keeps its name";
        for (const char* leaf : {standin::match::kMaskFeather, standin::match::kMaskOpacity,
                                 standin::match::kMaskOffset})
            EXPECT_EQ(maskLeaf(copy, 0, leaf)->staticValue(), maskLeaf(source, i - 1, leaf)->staticValue()) << leaf;
    }
    EXPECT_EQ(maskLeaf(layerAt(scene, 1), 0, standin::match::kMaskFeather)->staticValue(),
              standin::Value::twoD(3, 4));
    EXPECT_EQ(maskLeaf(layerAt(scene, 2), 0, standin::match::kMaskShape)->staticValue().shape.vertices[0].x, 5)
        << "an animated outline is taken at time 0";
}

TEST(MaskSeparation, ALayerWithoutMasksIsLeftAlone)
{
    Scene scene(composition(solidLayer("Plain", "")));
    const QByteArray before = scene.project->toJson();
    SeparationMessages messages;
    EXPECT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 0), A_Err_NONE);
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(messages.texts().empty());
}

// A mask switched off draws nothing: it gets no layer of its own and stays,
// still off, on the hidden source. Nothing to split when none is on.
TEST(MaskSeparation, AMaskSwitchedOffStaysOnTheSourceOnly)
{
    Scene scene(composition(solidLayer("Three", mask("Left", 0) + "," + mask("Off", 50, R"("flags": 0)") + "," +
                                                    mask("Right", 150)) +
                            "," + solidLayer("All off", mask("A", 0, R"("flags": 0)") + "," +
                                                            mask("B", 50, R"("flags": 0)"))));
    SeparationMessages messages;
    std::vector<std::pair<int, int>> progress;
    ASSERT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 0,
                                 [&](int done, int total) { progress.emplace_back(done, total); }),
              A_Err_NONE);
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"Left", "Right", "Three", "All off"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(layerAt(scene, i)->maskCount(), 1);
        EXPECT_TRUE(layerAt(scene, i)->maskAtom(0)->isEnabled());
        EXPECT_EQ(layerAt(scene, i)->maskAtom(0)->displayName(), layerAt(scene, i)->name());
    }
    const Layer* source = layerAt(scene, 2);
    EXPECT_FALSE(source->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
    ASSERT_EQ(source->maskCount(), 3);
    EXPECT_FALSE(source->maskAtom(1)->isEnabled());
    EXPECT_TRUE(messages.texts().empty());

    const QByteArray before = scene.project->toJson();
    EXPECT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 3), A_Err_NONE);
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(MaskSeparation, LongAndNonAsciiNamesAreCutOnACharacterBoundary)
{
    const QString longName = QStringLiteral("Größenänderung der Maske mit Überlänge");
    const QString cjk = QStringLiteral("円形のマスク円形のマスク円形");  // 3 bytes each
    Scene scene(composition(solidLayer("Names", mask(longName.toUtf8().constData(), 0) + "," +
                                                    mask(cjk.toUtf8().constData(), 50) + "," +
                                                    mask("", 100))));
    ASSERT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 0), A_Err_NONE);
    for (int i = 0; i < 2; ++i) {
        const QString name = layerAt(scene, i)->name();
        const QString full = i == 0 ? longName : cjk;
        EXPECT_LE(name.toUtf8().size(), AEGP_MAX_STREAM_NAME_SIZE - 1);
        EXPECT_FALSE(name.isEmpty());
        EXPECT_TRUE(full.startsWith(name)) << name.toStdString();
        EXPECT_FALSE(name.contains(QChar::ReplacementCharacter));
    }
    EXPECT_EQ(layerAt(scene, 2)->name(), layerAt(scene, 3)->maskAtom(2)->displayName());
}

TEST(MaskSeparation, AHundredMasksKeepTheProgressInStep)
{
    QByteArray masks;
    for (int i = 0; i < 100; ++i)
        masks += (i ? "," : "") + mask(QByteArray("M" + QByteArray::number(i)).constData(), i);
    Scene scene(composition(solidLayer("Many", masks)));
    int calls = 0, last = -1;
    ASSERT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 0,
                                 [&](int done, int total) {
                                     EXPECT_EQ(total, 100);
                                     EXPECT_EQ(done, last + 1);
                                     last = done;
                                     ++calls;
                                 }),
              A_Err_NONE);
    EXPECT_EQ(calls, 101);
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 101);
    EXPECT_EQ(layerAt(scene, 99)->name(), QStringLiteral("M99"));
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(MaskSeparation, AMaskWithoutVerticesIsCopiedAsItIs)
{
    Scene scene(composition(solidLayer("Empty", R"({"name": "Nothing"},)" + mask("Tri", 0))));
    ASSERT_EQ(separateLayerMasks(scene.basic(), outline_test::kPluginId, 0), A_Err_NONE);
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"Nothing", "Tri", "Empty"}));
    EXPECT_EQ(maskLeaf(layerAt(scene, 0), 0, standin::match::kMaskShape)->staticValue().shape.vertexCount(), 0);
}

// A host failure at any step of one layer: the composition is as before, a
// message names the layer and the call, nothing is left behind.
TEST(MaskSeparation, AFailingHostCallLeavesTheLayerAsItWas)
{
    struct Row {
        const char* suite;
        int slot;
        int nth;
        const char* call;
    } rows[] = {
        {kAEGPLayerSuite, 44, 1, "AEGP_DuplicateLayer"},     // the template
        {kAEGPLayerSuite, 44, 3, "AEGP_DuplicateLayer"},     // the second copy
        {kAEGPStreamSuite, 15, 5, "AEGP_SetStreamValue"},    // the second mask's outline
        {kAEGPLayerSuite, 26, 3, "AEGP_ReorderLayer"},       // the third copy
        {kAEGPMaskSuite, 10, 2, "AEGP_CreateNewMask"},
        {kAEGPDynamicStreamSuite, 9, 2, "AEGP_DeleteStream"}, // the template's masks
        {kAEGPLayerSuite, 43, 1, "AEGP_DeleteLayer"},        // the template at the end
        {kAEGPLayerSuite, 11, 1, "AEGP_SetLayerFlag"},       // hiding the source
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.call) + " #" + std::to_string(row.nth));
        Scene scene(threeMaskComposition());
        const QByteArray before = scene.project->toJson();
        SeparationMessages messages;
        scene.session->faults().failNth(row.suite, standin::FaultInjector::kAnyVersion, row.slot, row.nth);
        EXPECT_NE(separateLayerMasks(scene.basic(), outline_test::kPluginId, 1), A_Err_NONE);
        EXPECT_EQ(layerNames(scene), (std::vector<QString>{"Above", "Three", "Below"}));
        EXPECT_TRUE(layerAt(scene, 1)->flags() & AEGP_LayerFlag_VIDEO_ACTIVE);
        EXPECT_EQ(layerAt(scene, 1)->maskCount(), 3);
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0].first, QStringLiteral("Error occurred when separating masks."));
        const QString detail = messages.texts()[0].second;
        EXPECT_TRUE(detail.startsWith(QStringLiteral("Layer 2 (Three): "))) << detail.toStdString();
        EXPECT_TRUE(detail.contains(QLatin1String(row.call))) << detail.toStdString();
        EXPECT_FALSE(detail.contains(QLatin1String("could not be removed")));
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    }
}

TEST(MaskSeparation, ACleanUpThatFailsTooSaysWhatIsLeft)
{
    Scene scene(threeMaskComposition());
    SeparationMessages messages;
    scene.session->faults().failNth(kAEGPMaskSuite, standin::FaultInjector::kAnyVersion, 10, 2);
    // Deleting the first copy fails (the clean-up deletes newest first).
    scene.session->faults().failNth(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 43, 2);
    EXPECT_NE(separateLayerMasks(scene.basic(), outline_test::kPluginId, 1), A_Err_NONE);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].second.contains(QLatin1String("1 new layer(s) made for it could not be removed")))
        << messages.texts()[0].second.toStdString();
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

// A copy per mask takes the whole mask as its body, so masks are split only
// when they lie apart: two that cross stay one body on solid, shape and text
// layers alike, though neither starts inside the other, and so do masks
// that draw only as they combine (inverted, or of another mode than Add), and
// so does a closed mask beside an open path, which cuts nothing out of the
// layer, and masks whose edges touch (their bodies would push one another).
// A mask switched off draws nothing: it neither keeps the others
// together nor gets a copy, whatever its mode. Copies of an open path made
// anyway show in the picture why it is left whole.
TEST(MaskSeparation, MasksThatCrossOrCombineStayTogetherAndOneSwitchedOffDoesNotCount)
{
    const auto box = [](const char* name, int left, int top, int right, int bottom, const char* extra = "") {
        const auto at = [](int x, int y) { return "[" + QByteArray::number(x) + ", " + QByteArray::number(y) + "]"; };
        return QByteArray(R"({"name": ")") + name + R"(", )" + extra + R"("shape": {"vertices": [)" +
               at(right, top) + ", " + at(right, bottom) + ", " + at(left, bottom) + ", " + at(left, top) + "]}}";
    };
    const QByteArray crossing = box("A", 0, 0, 120, 120) + "," + box("B", 80, 30, 200, 150);
    const QByteArray besideAndOff = box("A", 0, 0, 100, 100) + "," + box("B", 150, 0, 250, 100) + "," +
                                    box("Off", 20, 20, 60, 60, R"("flags": 0, "mode": 2, )");
    const QByteArray place = R"("transform": {"position": [400, 200], "rotation": 20})";
    // Two masks apart, the second as `extra` makes it: a copy would draw it as a plain Add mask.
    const auto apart = [&](const char* extra) {
        return solidLayer("Solid", box("A", 0, 0, 80, 100) + "," + box("B", 120, 0, 200, 100, extra), place);
    };
    struct Case {
        const char* what;
        QByteArray layer;
        SeparationKind kind;
        int sourceMasks = 2;
        bool splitRedraws = false;  // left whole as copies made anyway would draw otherwise
    } cases[] = {
        {"a solid, crossing", solidLayer("Solid", crossing, place), SeparationKind::None},
        {"a shape layer, crossing",
         R"({"type": "shape", "name": "Shapes", )" + place + R"(, "masks": [)" + crossing + R"(], "contents": [)" +
             namedGroup("G", "", outline_test::rect(R"("ADBE Vector Rect Size": [300, 300])")) + "]}",
         SeparationKind::None},
        {"a text layer, crossing",
         R"({"type": "text", "name": "Title", "text": {"text": "Zolvar", "size": 60}, )" + place + R"(, "masks": [)" +
             crossing + "]}",
         SeparationKind::None},
        {"side by side, a third subtracting inside one switched off", solidLayer("Solid", besideAndOff, place),
         SeparationKind::Masks, 3},
        {"apart, the second inverted", apart(R"("inverted": true, )"), SeparationKind::None},
        {"apart, the second clipping nothing", apart(R"("mode": 0, )"), SeparationKind::None},
        {"apart, the second subtracting", apart(R"("mode": 2, )"), SeparationKind::None},
        {"apart, the second intersecting", apart(R"("mode": 3, )"), SeparationKind::None},
        {"apart, the second an open path",
         solidLayer("Solid", box("A", 0, 0, 80, 100) +
                                 R"(, {"name": "B", "shape": {"closed": false, "vertices": [[120, 0], [200, 0], [200, 100]]}})",
                    place),
         SeparationKind::None, 2, true},
        {"side by side, edges touching",
         solidLayer("Solid", box("A", 0, 0, 100, 100) + "," + box("B", 100, 20, 200, 80), place),
         SeparationKind::None},
        {"one 3 px above the other, 1.5 px on a layer at 100 x 50 %",
         solidLayer("Solid", box("A", 0, 0, 100, 100) + "," + box("B", 0, 103, 100, 200),
                    R"("transform": {"position": [400, 200], "rotation": 20, "scale": [100, 50]})"),
         SeparationKind::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene(composition(c.layer));
        EXPECT_EQ(int(expectSeparationKeepsPictureAndPlaces(scene, 0)), int(c.kind));
        if (c.splitRedraws)
            expectSeparationKeepsPictureAndPlaces(scene, 0, 2.0, {A_Time{0, 1}}, true);
        if (c.kind == SeparationKind::Masks) {
            ASSERT_EQ(layerNames(scene), (std::vector<QString>{"A", "B", "Solid"}));
            EXPECT_EQ(layerAt(scene, 2)->maskCount(), c.sourceMasks) << "the hidden source keeps every mask";
        }
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    }
}

TEST(SeparationOrder, SelectedRowsBecomeLayerIndicesHighestFirstEachOnce)
{
    const std::vector<int> offered{0, 3, 4, 7, 9, 12};
    struct Row {
        std::vector<int> rows;
        std::vector<int> indices;
    } rows[] = {
        {{1, 2, 3, 4}, {9, 7, 4, 3}},  // one range 2 to 5, top to bottom
        {{4, 0, 2}, {9, 4, 0}},        // Ctrl-clicks made bottom-up
        {{2, 2, 5, 5}, {12, 4}},       // rows named twice
        {{-1, 6, 1}, {3}},             // rows outside the list
        {{}, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(layerIndicesToSeparate(row.rows, offered), row.indices);
}

TEST(SeparationNames, Utf8TextIsCutAfterTheLastWholeCharacter)
{
    struct Row {
        std::string bytes;
        size_t size;
        std::string expected;
    } rows[] = {
        {"Circle", 32, "Circle"},
        {"ab\xC3\xA9", 4, "ab\xC3\xA9"},          // é whole
        {"ab\xC3\xA9", 3, "ab"},                  // é cut after its lead byte
        {"\xE5\x86\x86\xE5\x86", 5, "\xE5\x86\x86"}, // 円 then a cut one
        {"\xF0\x9F\x98\x80", 4, "\xF0\x9F\x98\x80"},
        {"\xF0\x9F\x98", 3, ""},
        {std::string("a\0b", 3), 3, "a"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(wholeUtf8Characters(row.bytes.data(), row.size), row.expected) << row.bytes;
}

} // namespace
