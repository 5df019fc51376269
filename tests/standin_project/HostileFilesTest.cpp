// Bad project files: each kind of fault gives a located message, never a crash.
#include "ProjectTestUtil.h"

#include <gtest/gtest.h>

using namespace standin;

namespace {

// A valid project whose composition's layers are `layers`.
QByteArray withLayers(const char* layers)
{
    return QByteArray(R"({"footage": [{"id": 1, "name": "S", "kind": "solid", "width": 10, "height": 10}],
"compositions": [{"id": 2, "name": "C", "width": 100, "height": 100, "frameRate": 25, "duration": 1,
"layers": [)") + layers + "]}]}";
}

// A valid project with one composition whose members are `members`.
QByteArray withComp(const char* members)
{
    return QByteArray(R"({"compositions": [{"id": 2, "name": "C", )") + members + "}]}";
}

struct Case {
    const char* what;
    QByteArray json;
    const char* reasonFragment;
};

} // namespace

TEST(HostileFiles, EveryFaultHasAReason)
{
    const std::vector<Case> cases = {
        {"empty file", "", "JSON syntax error"},
        {"not an object", "[1, 2]", "one JSON object"},
        {"truncated", R"({"compositions": [)", "JSON syntax error"},
        {"wrong format", R"({"format": "something else"})", "not a project file"},
        {"wrong version", R"({"version": 2})", "version: 2 is outside 1..1"},
        {"misspelt member", R"({"compositons": []})", "unknown member \"compositons\""},
        {"compositions not an array", R"({"compositions": {}})", "compositions: expected an array, found an object"},
        {"missing width", withComp(R"("height": 100, "frameRate": 25, "duration": 1)"), "missing member \"width\""},
        {"width as text", withComp(R"("width": "100", "height": 100, "frameRate": 25, "duration": 1)"),
         "width: expected a number, found a string"},
        {"negative height", withComp(R"("width": 100, "height": -5, "frameRate": 25, "duration": 1)"),
         "height: -5 is outside 1..30000"},
        {"fractional width", withComp(R"("width": 100.5, "height": 100, "frameRate": 25, "duration": 1)"),
         "expected a whole number"},
        {"fps zero", withComp(R"("width": 100, "height": 100, "frameRate": 0, "duration": 1)"),
         "frameRate: a frame rate must lie in (0, 1000]"},
        {"no frame rate", withComp(R"("width": 100, "height": 100, "duration": 1)"), "missing member \"frameRate\""},
        {"frame duration value 0", withComp(R"("width": 100, "height": 100, "frameDuration": [0, 25], "duration": 1)"),
         "frameDuration[0]: 0 is outside 1..2147483647"},
        {"frame duration scale 0", withComp(R"("width": 100, "height": 100, "frameDuration": [1, 0], "duration": 1)"),
         "frameDuration[1]: 0 is outside"},
        {"inconsistent rate", withComp(R"("width": 100, "height": 100, "frameDuration": [1, 25], "frameRate": 30, "duration": 1)"),
         "does not match the frame duration"},
        {"huge number", withComp(R"("width": 1e999, "height": 100, "frameRate": 25, "duration": 1)"), ""},
        {"zero duration", withComp(R"("width": 100, "height": 100, "frameRate": 25, "duration": 0)"),
         "duration must be greater than 0"},
        {"time out of range", withComp(R"("width": 100, "height": 100, "frameRate": 25, "duration": 1e12)"),
         "out of range"},
        {"bad pixel aspect", withComp(R"("width": 100, "height": 100, "pixelAspect": [1, 0], "frameRate": 25, "duration": 1)"),
         "pixelAspect[1]: 0 is outside"},
        {"work area before 0", withComp(R"("width": 100, "height": 100, "frameRate": 25, "duration": 1, "workArea": {"start": -1})"),
         "cannot start before 0"},
        {"label 17", withLayers(R"({"type": "solid", "source": 1, "label": 17})"),
         "compositions[0].layers[0].label: 17 is outside 0..16"},
        {"label -1", withLayers(R"({"type": "solid", "source": 1, "label": -1})"), "is outside 0..16"},
        {"unknown layer type", withLayers(R"({"type": "hologram"})"), "unknown layer type \"hologram\""},
        {"missing type", withLayers(R"({"source": 1})"), "missing member \"type\""},
        {"id 0", withLayers(R"({"type": "solid", "source": 1, "id": 0})"), "id: 0 is outside 1..2147483647"},
        {"id too large", withLayers(R"({"type": "solid", "source": 1, "id": 2147483648})"), "is outside 1..2147483647"},
        {"duplicate layer ids", withLayers(R"({"type": "solid", "source": 1, "id": 4}, {"type": "solid", "source": 1, "id": 4})"),
         "layers[1].id: duplicate layer ID 4 (also used by compositions[0].layers[0])"},
        {"duplicate item ids", R"({"footage": [{"id": 3, "name": "a", "kind": "solid"}], "folders": [{"id": 3, "name": "b"}]})",
         "duplicate item ID 3"},
        {"missing source item", withLayers(R"({"type": "solid", "source": 99})"), "no item has ID 99"},
        {"missing source name", withLayers(R"({"type": "solid", "source": "Nope"})"), "no item is named \"Nope\""},
        {"solid without source", withLayers(R"({"type": "solid"})"), "needs a source item"},
        {"text with a source", withLayers(R"({"type": "text", "source": 1})"), "a text layer has no source item"},
        {"composition inside itself", withLayers(R"({"type": "composition", "source": 2})"), "cannot contain itself"},
        {"compositions inside each other",
         R"({"compositions": [{"id": 1, "name": "A", "width": 10, "height": 10, "frameRate": 25, "duration": 1,
              "layers": [{"type": "composition", "source": 2}]},
             {"id": 2, "name": "B", "width": 10, "height": 10, "frameRate": 25, "duration": 1,
              "layers": [{"type": "composition", "source": 3}]},
             {"id": 3, "name": "C", "width": 10, "height": 10, "frameRate": 25, "duration": 1,
              "layers": [{"type": "composition", "source": 1}]}]})",
         "compositions[0]: compositions contain each other in a cycle (through \"A\")"},
        {"solid layer of a composition",
         R"({"compositions": [{"id": 1, "name": "A", "width": 10, "height": 10, "frameRate": 25, "duration": 1},
             {"id": 2, "name": "B", "width": 10, "height": 10, "frameRate": 25, "duration": 1,
              "layers": [{"type": "solid", "source": 1}]}]})",
         "a solid layer needs a solid as its source"},
        {"composition layer of footage", withLayers(R"({"type": "composition", "source": 1})"),
         "needs a composition"},
        {"missing parent", withLayers(R"({"type": "solid", "source": 1, "parent": 8})"),
         "parent: no layer of this composition has ID 8"},
        {"own parent", withLayers(R"({"type": "solid", "source": 1, "id": 1, "parent": 1})"), "its own parent"},
        {"parent cycle",
         withLayers(R"({"type": "solid", "source": 1, "id": 1, "parent": 3}, {"type": "solid", "source": 1, "id": 2, "parent": 1},
                       {"type": "solid", "source": 1, "id": 3, "parent": 2})"),
         "form a cycle"},
        {"unknown flag", withLayers(R"({"type": "solid", "source": 1, "flags": ["video", "sparkle"]})"),
         "unknown layer flag \"sparkle\""},
        {"flag word too big", withLayers(R"({"type": "solid", "source": 1, "flags": 1048576})"), "is outside 0..524287"},
        {"position with four numbers", withLayers(R"({"type": "solid", "source": 1, "transform": {"position": [1, 2, 3, 4]}})"),
         "transform.position: expected [x, y] or [x, y, z]"},
        {"rotation as array", withLayers(R"({"type": "solid", "source": 1, "transform": {"rotation": [1]}})"),
         "transform.rotation: expected a number, found an array"},
        {"compact key of three", withLayers(R"({"type": "solid", "source": 1, "transform": {"rotation": {"keys": [[0, 1, 2]]}}})"),
         "keys[0]: a key is [time, value] or an object"},
        {"compact key of a wrong value",
         withLayers(R"({"type": "solid", "source": 1, "transform": {"position": {"keys": [[[1, 25], "far"]]}}})"),
         "keys[0][1]: expected"},
        {"compact keys at one time",
         withLayers(R"({"type": "solid", "source": 1, "transform": {"rotation": {"keys": [[0, 1], {"time": [0, 5], "value": 2}]}}})"),
         "two keys at the same time"},
        {"key without time", withLayers(R"({"type": "solid", "source": 1, "transform": {"rotation": {"keys": [{"value": 1}]}}})"),
         "keys[0]: missing member \"time\""},
        {"keys at one time",
         withLayers(R"({"type": "solid", "source": 1, "transform": {"rotation": {"keys": [{"time": 0, "value": 1}, {"time": [0, 5], "value": 2}]}}})"),
         "two keys at the same time"},
        {"tangents on rotation",
         withLayers(R"({"type": "solid", "source": 1, "transform": {"rotation": {"keys": [{"time": 0, "value": 1, "inTangent": 1}]}}})"),
         "has no spatial tangents"},
        {"half separated", withLayers(R"({"type": "solid", "source": 1, "transform": {"positionX": 3}})"),
         "needs both \"positionX\" and \"positionY\""},
        {"bad vertex", withLayers(R"({"type": "solid", "source": 1, "masks": [{"shape": {"vertices": [[1, 2, 3]]}}]})"),
         "masks[0].shape.vertices[0]: a vertex is"},
        {"masks on a camera", withLayers(R"({"type": "camera", "masks": []})"), "a camera layer has no masks"},
        {"contents on a solid", withLayers(R"({"type": "solid", "source": 1, "contents": []})"), "only shape layers"},
        {"unknown shape item", withLayers(R"({"type": "shape", "contents": [{"matchName": "ADBE Vector Position"}]})"),
         "unknown shape item \"ADBE Vector Position\""},
        {"unknown shape property",
         withLayers(R"({"type": "shape", "contents": [{"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Ellipse Size": [1, 1]}}]})"),
         "has no property \"ADBE Vector Ellipse Size\""},
        {"transform on a rectangle",
         withLayers(R"({"type": "shape", "contents": [{"matchName": "ADBE Vector Shape - Rect", "transform": {}}]})"),
         "unknown member \"transform\""},
        {"colour too short", withLayers(R"({"type": "shape", "contents": [{"matchName": "ADBE Vector Graphic - Fill",
            "properties": {"ADBE Vector Fill Color": [1, 0]}}]})"), "a colour is"},
        {"font size 0", withLayers(R"({"type": "text", "text": {"size": 0}})"), "font size"},
        {"selection of a missing layer", withComp(R"("width": 10, "height": 10, "frameRate": 25, "duration": 1, "selection": [5])"),
         "selection[0]: no layer of this composition has ID 5"},
        {"active item missing", R"({"activeItem": 12})", "activeItem: no item has ID 12"},
        {"folder cycle", R"({"folders": [{"id": 1, "name": "a", "folder": 2}, {"id": 2, "name": "b", "folder": 1}]})", "cycle"},
        {"folder is footage", R"({"footage": [{"id": 1, "name": "a", "kind": "solid", "folder": 1}]})", "is not a folder"},
        {"colour on file footage", R"({"footage": [{"id": 1, "name": "a", "kind": "file", "color": [1, 1, 1]}]})",
         "only solids have a colour"},
        {"ambiguous name", R"({"footage": [{"name": "a", "kind": "solid"}, {"name": "a", "kind": "solid"}],
            "compositions": [{"name": "C", "width": 10, "height": 10, "frameRate": 25, "duration": 1,
            "layers": [{"type": "solid", "source": "a"}]}]})", "2 items are named \"a\""},
        {"deep nesting", QByteArray(5000, '[') + QByteArray(5000, ']'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LoadError e = test::loadError(c.json);
        EXPECT_FALSE(e.reason.isEmpty());
        EXPECT_EQ(e.file, QStringLiteral("bad.json"));
        EXPECT_TRUE(e.reason.contains(QLatin1String(c.reasonFragment))) << qPrintable(e.toString());
        if (!c.json.isEmpty()) {
            EXPECT_GE(e.line, 1) << qPrintable(e.toString());
        }
    }
}

TEST(HostileFiles, MessagesPointAtTheOffendingLine)
{
    const QByteArray json = "{\n"
                            "  \"footage\": [{\"id\": 1, \"name\": \"S\", \"kind\": \"solid\"}],\n"
                            "  \"compositions\": [{\n"
                            "    \"name\": \"C\", \"width\": 10, \"height\": 10, \"frameRate\": 25, \"duration\": 1,\n"
                            "    \"layers\": [\n"
                            "      {\"type\": \"solid\", \"source\": 1},\n"
                            "      {\"type\": \"solid\", \"source\": 1,\n"
                            "       \"label\": 40}\n"
                            "    ]\n"
                            "  }]\n"
                            "}\n";
    const LoadError e = test::loadError(json);
    EXPECT_EQ(e.line, 8);
    EXPECT_EQ(e.toString(), QStringLiteral("bad.json:8: compositions[0].layers[1].label: 40 is outside 0..16"));
    EXPECT_EQ((LoadError{QStringLiteral("p%1 %L1 %2.json"), 8, 0, e.reason}).toString().toStdString(),
              "p%1 %L1 %2.json:8: compositions[0].layers[1].label: 40 is outside 0..16");

    const LoadError syntax = test::loadError("{\n  \"name\": \"x\",\n  \"folders\": [1 2]\n}\n");
    EXPECT_EQ(syntax.line, 3);
    EXPECT_GT(syntax.column, 1);
    EXPECT_TRUE(syntax.toString().startsWith(QStringLiteral("bad.json:3:")));

    // a member written with escapes is still found
    const LoadError escaped = test::loadError("{\n\"fo\\u006fter\": 1,\n\"compositions\":\n [ 7 ]}");
    EXPECT_EQ(escaped.line, 2);
}

TEST(HostileFiles, TimingAndPixelAspectAtTheirLimits)
{
    // Refused with a located reason: rates and durations that cannot be
    // stored, work areas beyond the composition, pixels no host makes.
    const std::vector<Case> refused = {
        {"rate too slow to store", withComp(R"("width": 10, "height": 10, "frameRate": 0.0001, "duration": 1)"),
         "frameRate: a frame rate of 0.0001 has no frame duration that can be stored"},
        {"rate of a tiny fraction", withComp(R"("width": 10, "height": 10, "frameRate": 1e-300, "duration": 1)"),
         "no frame duration that can be stored"},
        {"frame duration too fast", withComp(R"("width": 10, "height": 10, "frameDuration": [1, 4294967295], "duration": 1)"),
         "frameDuration: a frame duration of 1/4294967295 s is more than 1000 frames per second"},
        {"work area past the end", withComp(R"("width": 10, "height": 10, "frameRate": 25, "duration": 1,
            "workArea": {"start": 0.5, "duration": 0.6})"), "workArea: the work area ends after the composition"},
        {"work area of 2^31 frames",
         withComp(R"("width": 10, "height": 10, "frameRate": 1000, "duration": 10, "workArea": {"duration": [2147483647, 1]})"),
         "the work area ends after the composition"},
        {"pixel aspect far too wide",
         withComp(R"("width": 10, "height": 10, "pixelAspect": [2147483647, 3], "frameRate": 25, "duration": 1)"),
         "pixelAspect: a pixel aspect ratio must lie in [0.01, 100], found 2147483647/3"},
        {"pixel aspect far too narrow",
         withComp(R"("width": 10, "height": 10, "pixelAspect": [1, 101], "frameRate": 25, "duration": 1)"),
         "must lie in [0.01, 100]"},
    };
    for (const Case& c : refused) {
        const LoadError error = test::loadError(c.json);
        EXPECT_TRUE(error.toString().contains(QString::fromUtf8(c.reasonFragment)))
            << c.what << ": " << qPrintable(error.toString());
    }

    // Accepted at the boundaries, and a saved project always loads again,
    // byte for byte.
    const char* accepted[] = {
        R"("frameRate": 0.000466, "duration": 2000)",  // the slowest rate that has a frame duration
        R"("frameRate": 0.001, "duration": 2000)",
        R"("frameRate": 1000, "duration": 1)",
        R"("frameRate": 29.97, "duration": 1)",
        R"("frameRate": 0.999, "duration": 10)",
        R"("frameDuration": [2147483647, 1], "duration": [2147483647, 1])",
        R"("frameDuration": [1, 1000], "duration": 1, "workArea": {"start": [999, 1000], "duration": [1, 1000]})",
        R"("frameRate": 25, "duration": 1, "pixelAspect": [1, 100])",
        R"("frameRate": 25, "duration": 1, "pixelAspect": [100, 1])",
        R"("frameRate": 25, "duration": 1, "workArea": {"start": 0.4, "duration": 0.6})",
    };
    for (const char* members : accepted) {
        const QByteArray json = withComp((std::string(R"("width": 10, "height": 10, )") + members).c_str());
        auto first = test::loadText(json);
        ASSERT_TRUE(first) << members;
        const QByteArray saved = first->toJson();
        LoadError error;
        auto again = Project::fromJson(saved, QStringLiteral("saved.json"), &error);
        ASSERT_TRUE(again) << members << ": " << qPrintable(error.toString()) << "\n" << saved.constData();
        EXPECT_EQ(again->toJson(), saved) << members;
    }
}
