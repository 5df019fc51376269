// Which layers the window offers to split before it builds the scene.
#include "host/StandinFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "mainwindow/LayerSeparationScan.h"
#include "outlines/KeyedLayers.h"

#include <vector>

namespace {

using testing_standin::Host;

// Two masks on a 100 x 100 layer, one mask, a rectangle and groups.
const QByteArray kTwoMasks = R"("masks": [{"shape": {"vertices": [[0, 0], [40, 0], [40, 40]]}},
                                          {"shape": {"vertices": [[60, 60], [90, 60], [90, 90]]}}])";
const QByteArray kOneMask = R"("masks": [{"shape": {"vertices": [[0, 0], [40, 0], [40, 40]]}}])";
const QByteArray kRect = R"({"matchName": "ADBE Vector Shape - Rect"})";
// A second rectangle beside the first: groups that overlap are not offered.
const QByteArray kRectBeside =
    R"({"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Position": [300, 0]}})";
const QByteArray kPath = R"({"matchName": "ADBE Vector Shape - Group"})";

QByteArray group(const QByteArray& contents)
{
    return R"({"matchName": "ADBE Vector Group", "contents": [)" + contents + "]}";
}

QByteArray project(const QByteArray& layers, int duration = 4)
{
    return R"({"format": "zolvar-standin-project",
        "footage": [{"name": "Gray", "kind": "solid", "width": 100, "height": 100, "color": [0.5, 0.5, 0.5]}],
        "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": )" +
           QByteArray::number(duration) + R"(, "layers": [)" + layers + R"(]}],
        "activeItem": "Main"})";
}

QByteArray solid(const char* name, const QByteArray& extra)
{
    return R"({"type": "solid", "source": "Gray", "name": ")" + QByteArray(name) + "\", " + extra + "}";
}

const QByteArray kProject = project(
    solid("two masks", kTwoMasks) + ",\n" +
    solid("one mask", kOneMask) + ",\n" +
    R"({"type": "shape", "name": "two groups", "contents": [)" + group(kRect) + "," + group(kRectBeside) + "]},\n" +
    R"({"type": "shape", "name": "nested groups", "contents": [)" + group(group(kRect) + "," + group(kRect)) +
        "]},\n" +
    R"({"type": "shape", "name": "masks and groups", )" + kTwoMasks + R"(, "contents": [)" + group(kRect) + "," +
        kPath + "]},\n" +
    solid("3-D", R"("flags": ["video", "threeD"], )" + kTwoMasks) + ",\n" +
    R"({"type": "null", "name": "null", )" + kTwoMasks + "},\n" +
    R"({"type": "adjustment", "name": "adjustment", "source": "Gray", )" + kTwoMasks + "},\n" +
    solid("guide", R"("flags": ["video", "guide"], )" + kTwoMasks) + ",\n" +
    solid("video off", R"("flags": [], )" + kTwoMasks) + ",\n" +
    solid("not really on", R"("videoReallyOn": false, )" + kTwoMasks) + ",\n" +
    R"({"type": "camera", "name": "camera"},
       {"type": "light", "name": "light"},
       {"type": "shape", "name": "one group", "contents": [)" + group(kRect) + "]},\n" +
    solid("two masks again", kTwoMasks));

TEST(LayerSeparationScan, OffersMultiOutlineLayersOnlyOnceEachInLayerOrder)
{
    Host host(kProject);
    std::vector<int> indices;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{0, 2, 4, 14}));
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

TEST(LayerSeparationScan, ACompositionWithoutSuchLayersOffersNothing)
{
    Host host(project(solid("one mask", kOneMask) + "," + solid("none", R"("label": 1)")));
    std::vector<int> indices;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices), A_Err_NONE);
    EXPECT_TRUE(indices.empty());
}

// A mask inside another is a hole of the one body; split into a layer of
// its own it would become solid material, so such layers are not offered.
// An open mask inside a closed one is no hole, but it cuts nothing out of the
// layer: a copy holding it would draw the whole layer, so that one is not
// offered either.
TEST(LayerSeparationScan, MasksHoldingAHoleAreNotOffered)
{
    const QByteArray outer = R"({"shape": {"vertices": [[0, 0], [100, 0], [100, 100], [0, 100]]}})";
    const QByteArray inner = R"({"shape": {"vertices": [[30, 30], [70, 30], [70, 70], [30, 70]]}})";
    const QByteArray innerAdd = R"({"mode": 1, "shape": {"vertices": [[30, 30], [70, 30], [70, 70]]}})";
    const QByteArray beside = R"({"shape": {"vertices": [[200, 0], [300, 0], [300, 100]]}})";
    const QByteArray openInside = R"({"shape": {"closed": false, "vertices": [[30, 30], [70, 30], [70, 70]]}})";
    Host host(project(solid("hole", R"("masks": [)" + outer + "," + R"({"mode": 2, )" + inner.mid(1) + "]") + "," +
                      solid("add inside", R"("masks": [)" + outer + "," + innerAdd + "]") + "," +
                      solid("hole and beside", R"("masks": [)" + outer + "," + inner + "," + beside + "]") + "," +
                      solid("open inside", R"("masks": [)" + outer + "," + openInside + "]") + "," +
                      solid("side by side", R"("masks": [)" + outer + "," + beside + "]")));
    std::vector<int> indices;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{4}));
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

// Groups under a mask are not split: each layer, keeping the mask to look as
// before, would become the mask's body. Several masks side by side still are,
// by masks. The layers left out are named, with why.
TEST(LayerSeparationScan, GroupsUnderAMaskAreNotOfferedAndTheOfferSaysWhy)
{
    const QByteArray path = R"({"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape":
        {"vertices": [[600, 0], [700, 0], [700, 100]]}}})";
    const QByteArray groups = R"("contents": [)" + group(kRect) + "," + group(kRectBeside) + "," + path + "]";
    const QByteArray outer = R"({"shape": {"vertices": [[0, 0], [100, 0], [100, 100], [0, 100]]}})";
    const QByteArray hole = R"({"shape": {"vertices": [[30, 30], [70, 30], [70, 70], [30, 70]]}})";
    Host host(project(R"({"type": "shape", "name": "under a mask", )" + kOneMask + ", " + groups + "},\n" +
                      R"({"type": "shape", "name": "under two masks", )" + kTwoMasks + ", " + groups + "},\n" +
                      R"({"type": "shape", "name": "hole", "masks": [)" + outer + "," + hole + "], " + groups +
                      "},\n" + R"({"type": "shape", "name": "groups only", )" + groups + "}"));
    std::vector<int> indices;
    QStringList leftOut;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices, &leftOut), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{1, 3}));
    ASSERT_EQ(leftOut.size(), 2) << leftOut.join('\n').toStdString();
    EXPECT_TRUE(leftOut[0].startsWith(QStringLiteral("Layer 1 (under a mask): its shapes are under a mask")))
        << leftOut[0].toStdString();
    EXPECT_TRUE(leftOut[0].contains(QStringLiteral("stacked in one place")));
    EXPECT_TRUE(leftOut[1].startsWith(QStringLiteral("Layer 3 (hole): one of its masks lies inside another")))
        << leftOut[1].toStdString();
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

// A layer is offered only when what it would be split into lies apart and
// draws alone as it did: masks that cross or nest (found in either order),
// masks that draw only as they combine (one inverted), a mask whose shape,
// opacity, feather or expansion is keyed or driven by an expression that is
// on, an open mask path (it cuts nothing out), masks that, grown by their
// expansion and half their feather, meet at any opacity, groups a fill paints as a ring, a label drawn on a card
// are left as one body each, with the reason; masks side by side are offered
// though a third, switched off, lies inside one. Groups are compared at every
// frame their keys span at which the layer is shown, the one after the last
// key included (the first shown when the keys end before it), and with their
// strokes' bands (each corner as far as its join draws it, stretched as the
// map stretches it) at any opacity; groups an
// expression moves, or whose keys ask too much work, are left as they are; a
// group keyed for minutes far from the others, a fill colour an expression
// drives, or an item switched off that one drives, is offered.
TEST(LayerSeparationScan, OutlinesThatOverlapAreNotOfferedAndTheOfferSaysWhy)
{
    const auto square = [](int x, int y, int size, const char* extra = "") {
        const auto at = [](int px, int py) { return "[" + QByteArray::number(px) + ", " + QByteArray::number(py) + "]"; };
        return R"({)" + QByteArray(extra) + R"("shape": {"vertices": [)" + at(x + size, y) + ", " + at(x + size, y + size) +
               ", " + at(x, y + size) + ", " + at(x, y) + "]}}";
    };
    const auto box = [](int size, int x = 0) {
        return R"({"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [)" +
               QByteArray::number(size) + ", " + QByteArray::number(size) + R"(], "ADBE Vector Rect Position": [)" +
               QByteArray::number(x) + ", 0]}}";
    };
    const auto moving = [](const QByteArray& position, const QByteArray& contents) {
        return R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" + position +
               R"(}, "contents": [)" + contents + "]}";
    };
    const auto shape = [](const char* name, const QByteArray& contents, const QByteArray& opacity = "100") {
        return R"({"type": "shape", "name": ")" + QByteArray(name) + R"(", "transform": {"opacity": )" + opacity +
               R"(}, "contents": [)" + contents + "]}";
    };
    // 10 px apart: their 24 px strokes overlap.
    const QByteArray stroked = group(box(100)) + "," + group(box(100, 110)) + "," +
                               R"({"matchName": "ADBE Vector Graphic - Stroke",
                                   "properties": {"ADBE Vector Stroke Width": 24}})";
    // 10 px mitred strokes (limit 4) reach 5 px from square edges: 30 px apart they do not meet.
    const auto mitred = [&](int apart) {
        return group(box(100)) + "," + group(box(100, 100 + apart)) + "," +
               R"({"matchName": "ADBE Vector Graphic - Stroke", "properties": {"ADBE Vector Stroke Width": 10}})";
    };
    // Apart at both keys, one passing over the other between them.
    const QByteArray passing = moving(R"({"keys": [{"time": 0, "value": [-300, 0]}, {"time": 2, "value": [300, 0]}]})",
                                      box(100)) + "," + group(box(100));
    const QByteArray evenOdd = R"({"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Rule": 2}})";
    const QByteArray fill = R"({"matchName": "ADBE Vector Graphic - Fill"})";
    // Intersecting what is above it: at the top level each copy would draw its square.
    const QByteArray merge = R"({"matchName": "ADBE Vector Filter - Merge", "properties": {"ADBE Vector Merge Type": 4}})";
    {
        // A star of 200 corners turning for two minutes is built again at
        // each of 3,000 frames: too much work, told before it is begun.
        // Growing over 30 s, it meets a square after 6.5 s: that much is
        // compared, and found.
        const QByteArray turning = R"({"matchName": "ADBE Vector Shape - Star", "properties": {"ADBE Vector Star Points": 100,
            "ADBE Vector Star Rotation": {"keys": [{"time": 0, "value": 0}, {"time": 120, "value": 360}]}}})";
        Host longer(project(shape("for 4 minutes", moving(R"({"keys": [{"time": 0, "value": [-300, 0]},
                                                                       {"time": 240, "value": [-290, 0]}]})",
                                                          box(100)) + "," + group(box(100, 300))) + "," +
                                shape("turning", group(turning) + "," + group(box(100, 300))) + "," +
                                shape("growing", group(QByteArray(turning).replace("Star Rotation", "Star Outer Radius")
                                                           .replace(R"("time": 120)", R"("time": 30)")
                                                           .replace("360}", "400}").replace(R"("value": 0})",
                                                                                            R"("value": 100})")) +
                                                     "," + group(box(100, 215))),
                            240));
        std::vector<int> indices;
        QStringList leftOut;
        EXPECT_EQ(findLayersToSeparate(longer.session->basicSuite(), Host::kPluginId, indices, &leftOut), A_Err_NONE);
        EXPECT_EQ(indices, std::vector<int>{0});
        EXPECT_EQ(leftOut, (QStringList{"Layer 2 (turning): the comparison of its keyed groups at every frame "
                                       "their keys span was not begun, as it would take too long (too many pieces "
                                       "over too many frames); apart, they might come to lie in one another's place.",
                                       "Layer 3 (growing): its groups come to overlap or touch while they move (at the "
                                       "start they do not); apart, each would be a body lying in or against "
                                       "another's place once they meet."}))
            << leftOut.join('\n').toStdString();
    }
    // Two masks 20 px apart, the second as `extra` makes it; both so on a
    // layer of that opacity.
    const auto twoMasks = [&](const char* name, const char* extra) {
        return solid(name, R"("masks": [)" + square(0, 0, 40) + "," + square(60, 0, 40, extra) + "]") + ",\n";
    };
    const auto grown = [&](const char* name, int opacity, const char* extra) {
        return solid(name, R"("transform": {"opacity": )" + QByteArray::number(opacity) + R"(}, "masks": [)" +
                               square(0, 0, 40, extra) + "," + square(60, 0, 40, extra) + "]") + ",\n";
    };
    Host host(project(
        solid("crossing", R"("masks": [)" + square(0, 0, 100) + "," + square(60, 20, 100) + "]") + ",\n" +
        solid("hole", R"("masks": [)" + square(0, 0, 100) + "," + square(30, 30, 40) + "]") + ",\n" +
        solid("beside, one off inside", R"("masks": [)" + square(0, 0, 100) + "," + square(200, 0, 100) + "," +
                                            square(30, 30, 40, R"("flags": 0, )") + "]") + ",\n" +
        R"({"type": "shape", "name": "ring", "contents": [)" + group(box(200)) + "," + group(box(80)) + "," + evenOdd +
        "]},\n" + R"({"type": "shape", "name": "card", "contents": [)" + group(box(60) + "," + fill) + "," +
        group(box(200) + "," + fill) + "]},\n" + shape("stroked, 60 %", stroked, "60") + ",\n" +
        shape("stroked, opaque", stroked) + ",\n" + shape("passing", passing + "," + evenOdd) + ",\n" +
        shape("opacity keyed", stroked, R"({"keys": [{"time": 0, "value": 100}, {"time": 2, "value": 50}]})") + ",\n" +
        shape("opacity driven", stroked, R"({"value": 100, "expression": "100 - time", "expressionValue": 100})") +
        ",\n" + shape("mitred, 30 px", mitred(30), "60") + ",\n" + shape("mitred, 50 px", mitred(50), "60") + ",\n" +
        shape("until its last frame", moving(R"({"keys": [{"time": 0, "value": [-300, 0]}, {"time": [201, 100], "value": [-99, 0]}]})",
                                             box(100)) + "," + group(box(100))) + ",\n" +
        shape("turning into another", R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Rotation":
                  {"keys": [{"time": 0, "value": 0}, {"time": 2, "value": 90}]}}, "contents": [{"matchName":
                  "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [200, 20]}}]})" "," +
                  moving("[0, 60]", box(40))) + ",\n" +
        shape("growing into another", group(R"({"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size":
                  {"keys": [{"time": 0, "value": [100, 100]}, {"time": 2, "value": [700, 100]}]}}})") + "," + group(box(100, 300))) + ",\n" +
        shape("driven", moving(R"j({"value": [300, 0], "expression": "wiggle(1, 300)", "expressionValue": [300, 0]})j",
                               box(100)) + "," + group(box(100))) + ",\n" +
        solid("inverted", R"("masks": [)" + square(0, 0, 40) + "," + square(60, 0, 30, R"("inverted": true, )") + "]") +
        ",\n" + solid("shape keyed", R"("masks": [)" + square(0, 0, 40) + R"(, {"shape": {"keys": [
            {"time": 0, "value": {"closed": true, "vertices": [[60, 0], [90, 0], [90, 30]]}},
            {"time": 1, "value": {"closed": true, "vertices": [[0, 0], [90, 0], [90, 30]]}}]}}])") + ",\n" +
        twoMasks("opacity keyed", R"("opacity": {"keys": [{"time": 0, "value": 100}, {"time": 2, "value": 0}]}, )") +
        twoMasks("feather keyed", R"("feather": {"keys": [{"time": 0, "value": [0, 0]}, {"time": 2, "value": [9, 9]}]}, )") +
        twoMasks("expansion keyed", R"("expansion": {"keys": [{"time": 0, "value": 0}, {"time": 2, "value": 9}]}, )") +
        twoMasks("driven mask", R"("expansion": {"value": 0, "expression": "time", "expressionValue": 0}, )") +
        twoMasks("expression off", R"("expansion": {"expression": "time", "expressionEnabled": false}, )") +
        solid("open path", R"("masks": [)" + square(0, 0, 40) +
                               R"(, {"shape": {"closed": false, "vertices": [[60, 0], [90, 0], [90, 30]]}}])") + ",\n" +
        grown("expanded, 60 %", 60, R"("expansion": 15, )") + grown("feathered, 60 %", 60, R"("feather": [30, 30], )") +
        grown("expanded, opaque", 100, R"("expansion": 15, )") +
        grown("expanded, a mask at 50 %", 100, R"("expansion": 15, "opacity": 50, )") +
        grown("shrunk, feathered, 60 %", 60, R"("expansion": -10, "feather": [30, 30], )") +
        grown("feathered, opaque", 100, R"("feather": [30, 30], )") +
        solid("hole, inner first", R"("masks": [)" + square(30, 30, 40) + "," + square(0, 0, 100) + "]") + ",\n" +
        shape("merged", group(box(100)) + "," + group(box(100, 300)) + "," + merge + "," + fill) + ",\n" +
        shape("merge off", group(box(100)) + "," + group(box(100, 300)) + R"(,{"flags": 0, )" + merge.mid(1)) + ",\n" +
        shape("merged in a group", group(box(100) + "," + box(60, 50) + "," + merge) + "," + group(box(100, 300))) + ",\n" +
        R"({"type": "shape", "name": "shown from 2.5 s", "inPoint": 2.5, "contents": [)" + passing + "]},\n" +
        shape("opacity keyed after the end", stroked, R"({"keys": [{"time": 5, "value": 100}, {"time": 6, "value": 0}]})") +
        ",\n" + shape("fill colour driven", group(box(100)) + "," + group(box(100, 300)) + "," +
                      R"({"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Color":
                          {"value": [1, 0, 0], "expression": "[time, 0, 0]", "expressionValue": [1, 0, 0]}}})") + ",\n" +
        R"({"type": "shape", "name": "shown after its keys", "inPoint": 2.5, "contents": [)" +
        moving(R"({"keys": [{"time": 0, "value": [-300, 0]}, {"time": 2, "value": [0, 0]}]})", box(100)) + "," +
        group(box(100)) + "]}" + ",\n" +
        shape("driven, switched off", group(box(100)) + "," + group(box(100, 300) + R"(, {"matchName":
              "ADBE Vector Shape - Rect", "flags": 0, "properties": {"ADBE Vector Rect Size": {"value": [9, 9],
              "expression": "[time, 9]", "expressionValue": [9, 9]}}})") + "," + fill) + ",\n" +
        solid("masks edge on edge", R"("masks": [)" + square(0, 0, 40) + "," + square(40, 0, 40) + "]") + ",\n" +
        solid("masks corner on corner", R"("masks": [)" + square(0, 0, 40) + "," + square(40, 40, 40) + "]") + ",\n" +
        solid("masks 3 px apart", R"("masks": [)" + square(0, 0, 40) + "," + square(43, 0, 40) + "]") + ",\n" +
        solid("the same at 50 %", R"("transform": {"scale": [50, 50]}, "masks": [)" + square(0, 0, 40) + "," +
                                      square(43, 0, 40) + "]") + ",\n" +
        shape("groups edge on edge", group(box(100)) + "," + group(box(100, 100))) + ",\n" +
        shape("groups 3 px apart", group(box(100)) + "," + group(box(100, 103))) + ",\n" +
        R"({"type": "shape", "name": "out before they meet", "duration": 0.6, "contents": [)" + passing + "]},\n" +
        R"({"type": "shape", "name": "out after they meet", "duration": 1, "contents": [)" + passing + "]},\n" +
        shape("stroke off", group(box(100)) + "," + group(box(100, 110)) + R"(, {"matchName":
              "ADBE Vector Graphic - Stroke", "flags": 0, "properties": {"ADBE Vector Stroke Width": 24}})") + ",\n" +
        shape("trim paths", group(box(100)) + "," + group(box(100, 300)) + R"(, {"matchName": "ADBE Vector Filter - Trim",
              "name": "Trim Paths 1"})") + ",\n" +
        shape("repeater in a group", group(box(100)) + "," + group(box(100, 300) + R"(, {"matchName":
              "ADBE Vector Filter - Repeater", "name": "Repeater 1"})")) + ",\n" +
        shape("gradient off", group(box(100) + R"(, {"matchName": "ADBE Vector Graphic - G-Fill", "flags": 0})") + "," +
              group(box(100, 300)) + R"(, {"matchName": "ADBE Vector Filter - Trim", "flags": 0})") + ",\n" +
        shape("pentagram", group(R"({"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape":
                  {"closed": true, "vertices": [[0, -100], [58.8, 80.9], [-95.1, -30.9], [95.1, -30.9], [-58.8, 80.9]]}}})"
                  "," + fill) + "," + group(box(30))) + ",\n" +
        R"({"type": "shape", "name": "bands 2 px apart under a parent scaled 100 x 300 %", "parent": 90,
            "contents": [)" + mitred(12) + R"(]},
           {"id": 90, "type": "null", "transform": {"scale": [100, 300]}},)" "\n" +
        shape("a simple star of 10,000 points, non-zero", keyed_layers::starBesideSquare(10000, 1))));
    std::vector<int> indices;
    QStringList leftOut;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices, &leftOut), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{2, 10, 11, 22, 28, 32, 33, 34, 36, 38, 41, 44, 45, 47, 50, 52, 54}));
    const QString masksCross = QStringLiteral(
        "its masks overlap: together they make one body, as drawn; apart, each would be a body lying partly in "
        "another's place.");
    const QString groupsOverlap = QStringLiteral(
        "its groups overlap or touch: together they make one body, as drawn; apart, each would be a body lying in or "
        "against another's place (and a fill they share would paint each alone).");
    const QString strokesMeet = QStringLiteral(
        "its groups' strokes may reach over what another group draws: together each paint lies at its own place in "
        "the layer, as drawn; apart, a copy's stroke would lie over or under the other copy as a whole, and the "
        "picture would change.");
    const QString comeToOverlap = QStringLiteral(
        "its groups come to overlap or touch while they move (at the start they do not); apart, each would be a body "
        "lying in or against another's place once they meet.");
    const QString masksTouch = QStringLiteral(
        "its masks touch, or lie closer than the skins of two bodies (2 px at the collision tolerance a scene starts "
        "with): apart, their bodies would push one another as soon as they move.");
    const auto holds = [](const char* item) {
        return QStringLiteral("it holds \"%1\", an item that separation by groups does not model (it knows groups, "
                              "paths, rectangles, ellipses, stars, fills and strokes): what the layers split from it "
                              "would draw cannot be told, and the picture might change.").arg(item);
    };
    const QString hole = QStringLiteral("one of its masks lies inside another, as a hole in the one body they "
                                        "make; apart, the hole would become a body of its own.");
    const QString animated = QStringLiteral(
        "one of its masks is animated (its shape, opacity, feather or expansion is keyed or driven by an "
        "expression); apart, each copy would keep its mask as it is at time 0, and the picture would change.");
    const QString edgesMeet = QStringLiteral(
        "its masks, grown by their expansion and feather, reach over one another: together the layer draws where "
        "they meet once, as drawn; apart, each copy would draw it over the other, and the picture would change.");
    EXPECT_EQ(leftOut, (QStringList{"Layer 1 (crossing): " + masksCross, "Layer 2 (hole): " + hole,
                                    "Layer 4 (ring): " + groupsOverlap, "Layer 5 (card): " + groupsOverlap,
                                    "Layer 6 (stroked, 60 %): " + strokesMeet,
                                    "Layer 7 (stroked, opaque): " + strokesMeet, "Layer 8 (passing): " + comeToOverlap,
                                    "Layer 9 (opacity keyed): " + strokesMeet,
                                    "Layer 10 (opacity driven): " + strokesMeet,
                                    "Layer 13 (until its last frame): " + comeToOverlap,
                                    "Layer 14 (turning into another): " + comeToOverlap,
                                    "Layer 15 (growing into another): " + comeToOverlap,
                                    QStringLiteral("Layer 16 (driven): where its groups go over time cannot be told "
                                                   "beforehand (an expression drives them, or their keys cannot be "
                                                   "read); apart, they might come to lie in one another's place."),
                                    QStringLiteral("Layer 17 (inverted): its masks are not all Add masks (one is "
                                                   "inverted or of another mode): together they draw the layer as "
                                                   "they combine; apart, each copy would draw its mask as a plain Add "
                                                   "mask, and the picture would change."),
                                    "Layer 18 (shape keyed): " + animated, "Layer 19 (opacity keyed): " + animated,
                                    "Layer 20 (feather keyed): " + animated, "Layer 21 (expansion keyed): " + animated,
                                    "Layer 22 (driven mask): " + animated,
                                    QStringLiteral("Layer 24 (open path): one of its masks is an open path, which "
                                                   "cuts nothing out of the layer; apart, the copy holding it would "
                                                   "draw the whole layer."),
                                    "Layer 25 (expanded, 60 %): " + edgesMeet,
                                    "Layer 26 (feathered, 60 %): " + edgesMeet,
                                    "Layer 27 (expanded, opaque): " + edgesMeet,
                                    "Layer 28 (expanded, a mask at 50 %): " + edgesMeet,
                                    "Layer 30 (feathered, opaque): " + edgesMeet,
                                    "Layer 31 (hole, inner first): " + hole,
                                    "Layer 32 (merged): " + holds("Merge Paths 1"),
                                    "Layer 36 (opacity keyed after the end): " + strokesMeet,
                                    "Layer 38 (shown after its keys): " + comeToOverlap,
                                    "Layer 40 (masks edge on edge): " + masksTouch,
                                    "Layer 41 (masks corner on corner): " + masksTouch,
                                    "Layer 43 (the same at 50 %): " + masksTouch,
                                    "Layer 44 (groups edge on edge): " + groupsOverlap,
                                    "Layer 47 (out after they meet): " + comeToOverlap,
                                    "Layer 49 (trim paths): " + holds("Trim Paths 1"),
                                    "Layer 50 (repeater in a group): " + holds("Repeater 1"),
                                    "Layer 52 (pentagram): a non-zero fill of one of its groups paints a path that "
                                    "crosses itself, winding round some place twice (as a pentagram's centre) or "
                                    "round places both ways, which the comparison of what its groups draw does not "
                                    "hold; apart, the picture might change."}))
        << leftOut.join('\n').toStdString();
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

// What is switched off, or a group with nothing in it that draws, would not
// become an outline of its own: it does not count.
TEST(LayerSeparationScan, PiecesThatDrawNothingDoNotCount)
{
    const QByteArray off = R"({"matchName": "ADBE Vector Group", "flags": 0, "contents": [)" + kRect + "]}";
    const QByteArray rectOff = R"({"matchName": "ADBE Vector Shape - Rect", "flags": 0})";
    const QByteArray fillOnly = group(R"({"matchName": "ADBE Vector Graphic - Fill"})");
    const QByteArray maskOff = R"({"flags": 0, "shape": {"vertices": [[60, 60], [90, 60], [90, 90]]}})";
    auto shape = [](const char* name, const QByteArray& contents) {
        return R"({"type": "shape", "name": ")" + QByteArray(name) + R"(", "contents": [)" + contents + "]}";
    };
    Host host(project(shape("one group off", group(kRect) + "," + off) + ",\n" +
                      shape("empty group", group(kRect) + "," + group("")) + ",\n" +
                      shape("only a fill", group(kRect) + "," + fillOnly) + ",\n" +
                      shape("its shape off", group(kRect) + "," + group(rectOff)) + ",\n" +
                      shape("path off", group(kRect) + "," + R"({"matchName": "ADBE Vector Shape - Group", "flags": 0})") +
                      ",\n" + solid("one mask off", R"("masks": [{"shape": {"vertices": [[0, 0], [40, 0], [40, 40]]}}, )" +
                                                       maskOff + "]") +
                      ",\n" + shape("two of three", group(kRect) + "," + off + "," + group(group(kRectBeside)))));
    std::vector<int> indices;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{6}));
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

// The keyed layers of separation_bench, smaller, judged within a smaller
// bound of the start's keyed work: rings keyed over 199 s, a group switched
// off keyed for 199 s and for an hour beside rings, two rings drifting over
// 99 s, circles drifting apart on a grid (one layer, large enough that only
// following each along its path keeps it within the bound, then three over
// 45 s), two circles drifting apart over 30 minutes (both: the order of the
// layers decides nothing), still rings in a row, gears turning in place
// 22 px apart, a ring turning and growing beside a square, two circles
// drifting apart for an hour (more than an even share: it is judged after
// the layers that need less): all are offered. A keyed layer that needs more than the
// start has (16 circles drifting apart for an hour) is left out, saying why;
// the others are still judged: a stroked line, its band alone followed along
// its path, passing over a square; a square going out and back within one
// run of its path, meeting another between the run's ends; ten-point stars
// drifting until some meet (the still ones beside them are offered).
const QString notBegun = QStringLiteral(
    "the comparison of its keyed groups was not begun, as it would take longer than what was left of the time the "
    "start gives to comparing keyed groups (the layers that need least are compared first); apart, they might come "
    "to lie in one another's place.");

TEST(LayerSeparationScan, KeyedLayersAreOfferedWithinTheStartsBound)
{
    using namespace keyed_layers;
    const QByteArray apart = shapeLayer(driftingCircles(2, 1800), "apart");
    const QByteArray line = R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" +
                            keyed(at(0, 0), at(600, 0), 2) + R"(}, "contents": [{"matchName": "ADBE Vector Shape - Group",
        "properties": {"ADBE Vector Shape": {"closed": false, "vertices": [[-300, 0], [-200, 0]]}}},
        {"matchName": "ADBE Vector Graphic - Stroke", "properties": {"ADBE Vector Stroke Width": 10}}]})";
    const QByteArray square = R"({"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect",
        "properties": {"ADBE Vector Rect Size": [100, 100], "ADBE Vector Rect Position": [300, 0]}}]})";
    // The dearest layer first: the order of the layers decides nothing.
    QByteArray layers = shapeLayer(driftingCircles(16, 3600), "16 for an hour") + "," +
                        shapeLayer(ringGroups(6, 64, true, 199)) + "," +
                        shapeLayer(ringGroups(6, 64, true) + smallGroupOff(199)) + "," +
                        shapeLayer(ringGroups(6, 64, true) + smallGroupOff(3600)) + "," + shapeLayer(ringPair(64, 99)) +
                        "," + shapeLayer(driftingCircles(64, 10));
    for (int i = 0; i < 3; ++i)
        layers += "," + shapeLayer(driftingCircles(9, 45));
    // Apart at both ends of its one run, 5 px from the square between them.
    const QByteArray outAndBack = R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": {"keys": [
        {"time": 0, "value": [0, 0]}, {"time": 1, "value": [12, 0]}, {"time": 2, "value": [0, 0]}]}}, "contents": [
        {"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [100, 100]}}]})";
    Host host(composition(layers + "," + apart + "," + apart + "," + shapeLayer(driftingCircles(4, 0)) + "," +
                              shapeLayer(line + "," + square, "line") + "," + shapeLayer(ringGroups(6, 64, false)) +
                              "," + shapeLayer(turningGears(16, 100, 10)) + "," +
                              shapeLayer(turningRingBesideSquare(6000, 5)) + "," +
                              shapeLayer(driftingCircles(2, 3600), "an hour") + "," +
                              shapeLayer(outAndBack + "," + QByteArray(square).replace("300, 0", "105, 0"), "out and back") +
                              "," + shapeLayer(driftingStars(9, 9, 100, 120), "stars") + "," +
                              shapeLayer(driftingStars(9, 0, 100)),
                          3700));
    std::vector<int> indices;
    QStringList leftOut;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices, &leftOut, 3.25e6),
              A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 19}));
    EXPECT_EQ(leftOut, (QStringList{"Layer 1 (16 for an hour): " + notBegun,
                                    "Layer 13 (line): its groups' strokes may reach over what another group draws: "
                                    "together each paint lies at its own place in the layer, as drawn; apart, a "
                                    "copy's stroke would lie over or under the other copy as a whole, and the "
                                    "picture would change.",
                                    "Layer 18 (out and back): its groups come to overlap or touch while they move (at "
                                    "the start they do not); apart, each would be a body lying in or against "
                                    "another's place once they meet.",
                                    "Layer 19 (stars): its groups come to overlap or touch while they move (at the "
                                    "start they do not); apart, each would be a body lying in or against another's "
                                    "place once they meet."}))
        << leftOut.join('\n').toStdString();
}

// A group that draws nothing at time 0 (a pop-in, scaled up from 0 %, or a
// star growing from a radius of 0) would become a layer without an outline,
// whose body is a plain box at the composition's centre; scaled up from 1 %
// it has one, a square pixel, too small for a body that moves; from 2 % it
// moves. Groups 41 deep are
// judged, and one deeper than the offer looks is said to be. An item of
// another kind keeps its properties and is named with its quotes escaped;
// switched off at the top level, neither it nor a stroke an expression
// drives counts.
TEST(LayerSeparationScan, WhatDrawsNothingAtTheStartOrNestsTooDeepIsLeftOutSayingSo)
{
    const auto shape = [](const char* name, const QByteArray& contents) {
        return R"({"type": "shape", "name": ")" + QByteArray(name) + R"(", "contents": [)" + contents + "]}";
    };
    const auto popIn = [](const char* from) {
        return R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": [400, 0], "ADBE Vector Scale":
            {"keys": [[0, [)" + QByteArray(from) + ", " + from + R"(]], [0.5, [100, 100]]]}}, "contents": [)" + kRect + "]}";
    };
    const auto wrapped = [](int groups, QByteArray contents) {
        for (int i = 0; i < groups; ++i)
            contents = group(contents);
        return contents;
    };
    const QByteArray trim = R"({"matchName": "ADBE Vector Filter - Trim", "name": "Trim \"fast\"", "properties": {
        "ADBE Vector Trim Start": {"keys": [[0, 0], [1, 100]]}, "ADBE Vector Trim End": 100}})";
    const QByteArray strokeDriven = R"({"matchName": "ADBE Vector Graphic - Stroke", "flags": 0, "properties": {
        "ADBE Vector Stroke Width": {"value": 2, "expression": "time", "expressionValue": 2}}})";
    const QByteArray star = R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": [400, 0]},
        "contents": [{"matchName": "ADBE Vector Shape - Star", "properties": {"ADBE Vector Star Outer Radius":
        {"keys": [[0, 0], [1, 40]]}, "ADBE Vector Star Inner Radius": {"keys": [[0, 0], [1, 20]]}}}]})";
    Host host(project(shape("pop-in", group(kRect) + "," + popIn("0")) + ",\n" +
                      shape("star from 0", group(kRect) + "," + star) + ",\n" +
                      shape("from 1 %", group(kRect) + "," + popIn("1")) + ",\n" +
                      shape("from 2 %", group(kRect) + "," + popIn("2")) + ",\n" +
                      shape("41 deep", group(kRect) + "," + wrapped(41, kRectBeside)) + ",\n" +
                      shape("trim paths 65 deep", group(kRect) + "," + wrapped(65, kRectBeside + "," + trim)) + ",\n" +
                      shape("trim paths", group(kRect) + "," + group(kRectBeside) + "," + trim) + ",\n" +
                      shape("both off", group(kRect) + "," + group(kRectBeside) + R"(, {"flags": 0, )" + trim.mid(1) +
                                        "," + strokeDriven)));
    std::vector<int> indices;
    QStringList leftOut;
    EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices, &leftOut), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{3, 4, 7}));
    const QString nothing = ": one of its groups, or its shapes outside groups, draws nothing at time 0, where the "
        "bodies are built (as a group that pops in, scaled up from 0 %): together the others make the layer's body; "
        "apart, the layer holding it would have no outline to make a body of, and would become a plain box at the "
        "composition's centre.";
    EXPECT_EQ(leftOut, (QStringList{
        "Layer 1 (pop-in)" + nothing, "Layer 2 (star from 0)" + nothing,
        "Layer 3 (from 1 %): one of its groups, or its shapes outside groups, draws too little at time 0, where the "
        "bodies are built, to make a body that moves (under a pixel across, as a group that grows from 1 %): "
        "together the others carry it; apart, the layer holding it would keep its place and not move.",
        "Layer 6 (trim paths 65 deep): its groups nest more than 64 deep, deeper than separation by groups looks into "
        "them: what the layers split from it would draw cannot be told, and the picture might change.",
        "Layer 7 (trim paths): it holds \"Trim \\\"fast\\\"\", an item that separation by groups does not model (it "
        "knows groups, paths, rectangles, ellipses, stars, fills and strokes): what the layers split from it would "
        "draw cannot be told, and the picture might change."}))
        << leftOut.join('\n').toStdString();
}

// Keyed layers that each need more than an even share of the start's bound:
// as many are offered as fit, those that need least, in either order; the
// others are not begun. The layers of separation_bench (gears turning round
// and back, five and four layers of 50; five layers of 50 circles drifting,
// three at 60 fps; combs sliding along one another), at a twentieth of
// their frames and of the bound. No verdict stands for a comparison not
// made: with no keyed work to give, groups that meet at 1 s are not
// offered. Pieces compared or built again at every frame count as they
// cost, and are told so. An hour at 60 fps of 10 groups moving, or of 6
// moving and turning, is not begun: reading where they lie is over a
// layer's own bound.
TEST(LayerSeparationScan, TheStartsBoundLeavesOutNoMoreLayersThanItMust)
{
    using namespace keyed_layers;
    const auto offered = [](const QByteArray& json, double work, QStringList* leftOut = nullptr) {
        Host host(json);
        std::vector<int> indices;
        EXPECT_EQ(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices, leftOut, work), A_Err_NONE);
        return indices;
    };
    const auto gears = [](std::vector<int> counts) {
        QByteArray layers;
        for (int n : counts)
            layers += (layers.isEmpty() ? "" : ",") + shapeLayer(turningGears(n, 24, 30, 110.0, true));
        return composition(layers, 30, 60);
    };
    QStringList leftOut;
    EXPECT_EQ(offered(gears({50, 45, 40, 35, 30}), kMaxStartWork / 20, &leftOut), (std::vector<int>{3, 4}));
    EXPECT_EQ(leftOut.value(0), "Layer 1 (Rings): " + notBegun);
    EXPECT_EQ(offered(gears({30, 35, 40, 45, 50}), kMaxStartWork / 20), (std::vector<int>{0, 1}));
    EXPECT_EQ(offered(gears({50, 50, 50, 50, 50}), kMaxStartWork / 20), std::vector<int>{0});
    EXPECT_EQ(offered(gears({50, 50, 50, 50}), kMaxStartWork / 20), std::vector<int>{0});
    const QByteArray drifting = shapeLayer(driftingCircles(50, 30));
    const QByteArray three = drifting + "," + drifting + "," + drifting;
    EXPECT_EQ(offered(composition(three + "," + drifting + "," + drifting, 30, 25), kMaxStartWork / 20),
              (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(offered(composition(three, 30, 60), kMaxStartWork / 20), std::vector<int>{0});
    // Stroked outlines turning cost what their bands cost, and are told so:
    // five layers of 10 stroked gears all fit, and so do stroked curves.
    QByteArray strokedGears;
    for (int i = 0; i < 5; ++i)
        strokedGears += (i ? "," : "") + shapeLayer(stroked(turningGears(10, 24, 30, 110.0, true), 3));
    EXPECT_EQ(offered(composition(strokedGears, 30, 60), kMaxStartWork / 5), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(offered(composition(shapeLayer(stroked(turningBlobs(8, 10), 3)) + "," +
                                      shapeLayer(stroked(turningGears(20, 24, 10, 110.0, true), 3)), 10, 60),
                      kMaxStartWork / 10),
              (std::vector<int>{0, 1}));
    // Told beforehand what its first pass needs, a layer given less is not
    // begun (rather than stopped for nothing): 20 px bands, whose rings meet.
    leftOut.clear();
    EXPECT_EQ(offered(composition(shapeLayer(stroked(turningBlobs(8, 10), 20)), 10, 60), kMaxStartWork / 100,
                      &leftOut),
              std::vector<int>{});
    EXPECT_EQ(leftOut, QStringList{"Layer 1 (Rings): " + notBegun});
    // 400 stars drifting until some meet are compared to their verdict.
    leftOut.clear();
    EXPECT_EQ(offered(composition(shapeLayer(driftingStars(400, 9, 100, 120))), kMaxStartWork, &leftOut),
              std::vector<int>{});
    EXPECT_EQ(leftOut, QStringList{"Layer 1 (Rings): its groups come to overlap or touch while they move (at the start "
                                   "they do not); apart, each would be a body lying in or against another's place "
                                   "once they meet."});

    // Stroked gears apart, in a row or at 60 degrees, are judged by their rings within what reading them needs and
    // a little more; half a tooth on beside a still one, 16 px bands meet.
    EXPECT_EQ(offered(composition(shapeLayer(turningGears(20, 24, 10, 110.0, false, 3.0)), 10, 60), 2e5),
              std::vector<int>{0});
    const QByteArray slanted = turningGears(2, 24, 10, 110.0, false, 3.0).replace("[110, 0]", "[55, 95.3]");
    EXPECT_EQ(offered(composition(shapeLayer(slanted), 10, 60), 2e4), std::vector<int>{0});
    QByteArray meeting = turningGears(2, 24, 10, 110.0, false, 16.0), turn = keyed("0", "360", 10);
    meeting.replace(meeting.lastIndexOf(turn), turn.size(), "0").replace(turn, keyed("15", "375", 10));
    QStringList met;
    EXPECT_EQ(offered(composition(shapeLayer(meeting), 10, 60), kMaxStartWork, &met), std::vector<int>{});
    EXPECT_TRUE(met.value(0).contains("strokes may reach over")) << met.join('\n').toStdString();

    const QByteArray passing = R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" +
                               keyed(at(-300, 0), at(300, 0), 2) + R"(}, "contents": [{"matchName":
        "ADBE Vector Shape - Rect"}]}, {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect"}]})";
    leftOut.clear();
    EXPECT_EQ(offered(composition(shapeLayer(passing)), 0.0, &leftOut), std::vector<int>{});
    EXPECT_EQ(leftOut, QStringList{"Layer 1 (Rings): " + notBegun});

    // What is compared, or built again, at every frame counts as it costs,
    // and is told so: combs sliding along each other over 60 s, and a star
    // built again at every frame of 10 s, are told to need more than 9e5,
    // and not begun.
    const QByteArray star = R"({"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Star",
        "properties": {"ADBE Vector Star Points": 100, "ADBE Vector Star Rotation": )" + keyed("0", "360", 10) +
                            R"(}}]}, {"matchName": "ADBE Vector Group", "contents": [{"matchName":
        "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Position": [400, 0]}}]})";
    EXPECT_EQ(offered(composition(shapeLayer(slidingCombs(40, 6)), 60), 9e5), std::vector<int>{0});
    for (const QByteArray& layer : {shapeLayer(slidingCombs(40, 60)), shapeLayer(star)}) {
        leftOut.clear();
        EXPECT_EQ(offered(composition(layer, 60), 9e5, &leftOut), std::vector<int>{});
        EXPECT_EQ(leftOut, QStringList{"Layer 1 (Rings): " + notBegun}) << leftOut.join('\n').toStdString();
    }
    // The combs, told what they need, do not take what the circles need.
    EXPECT_EQ(offered(composition(shapeLayer(slidingCombs(40, 60)) + "," + drifting, 60), 9e5), std::vector<int>{1});

    // Groups moved every minute for an hour, each value keyed read at every
    // frame: 10 moved, and 6 also turned.
    const auto hour = [&](int groups, bool turned) {
        QByteArray layer;
        for (int i = 0; i < groups; ++i) {
            QByteArray moves, turns;
            for (int m = 0; m <= 60; ++m) {
                const QByteArray time = (m ? ", " : "") + QByteArray(R"({"time": )") + QByteArray::number(60 * m);
                moves += time + R"(, "value": )" + at(120 * i, m % 2 * 10) + "}";
                turns += time + R"(, "value": )" + QByteArray::number(m % 2 * 10) + "}";
            }
            layer += R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": {"keys": [)" + moves +
                     (turned ? R"(]}, "ADBE Vector Rotation": {"keys": [)" + turns : QByteArray()) +
                     R"(]}}, "contents": [{"matchName": "ADBE Vector Shape - Ellipse"}]},)";
        }
        return shapeLayer(layer + R"({"matchName": "ADBE Vector Graphic - Fill"})");
    };
    leftOut.clear();
    EXPECT_EQ(offered(composition(hour(10, false) + "," + hour(6, true), 3600, 60), kMaxStartWork, &leftOut),
              std::vector<int>{});
    const QString tooLong = QStringLiteral(
        "the comparison of its keyed groups at every frame their keys span was not begun, as it would take too long "
        "(too many pieces over too many frames); apart, they might come to lie in one another's place.");
    EXPECT_EQ(leftOut, (QStringList{"Layer 1 (Rings): " + tooLong, "Layer 2 (Rings): " + tooLong}));
}

TEST(LayerSeparationScan, AHostErrorEndsTheWalkKeepingWhatWasFound)
{
    Host host(kProject);
    // Layer flags are read for layers 0, 1, 2, 3 ...: fail the third read.
    host.session->faults().failNth(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 10, 3);
    std::vector<int> indices;
    EXPECT_NE(findLayersToSeparate(host.session->basicSuite(), Host::kPluginId, indices), A_Err_NONE);
    EXPECT_EQ(indices, (std::vector<int>{0}));
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

} // namespace
