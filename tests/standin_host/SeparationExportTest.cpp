// An unattended export of a composition whose layers the plug-in offers to
// separate: the host declines the offer (the dialog's Skip), the composition
// keeps its layers, and the export runs to its end. Layers separated as the
// offer does it (before the export) fall freely, each copy on its own; the
// layers still left whole, with nothing else on offer, are named in a message
// the host answers.
#include "HostProcess.h"

#include "mainwindow/LayerSeparationScan.h"
#include "separation/LayerSeparation.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Project.h"
#include "project/Transform.h"
#include "suites/HostSession.h"

#include <gtest/gtest.h>

#include <QPointF>

#include <cmath>

namespace {

const QByteArray kProject = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 300, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
        "layers": [
            {"type": "solid", "name": "Masks", "source": "Red", "transform": {"position": [320, 80], "rotation": 30},
             "masks": [
                {"name": "One", "shape": {"closed": true, "vertices": [[0, 0], [80, 0], [80, 80], [0, 80]]}},
                {"name": "Two", "shape": {"closed": true, "vertices": [[110, 0], [190, 0], [190, 80]]}}]},
            {"type": "shape", "name": "Groups", "transform": {"position": [320, 250], "scale": [-100, 100]},
             "contents": [
                {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect"}]},
                {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Ellipse"}]}]}]}],
    "activeItem": "Main"
})";

TEST(SeparationExport, TheOfferIsDeclinedAndTheExportRunsUnattended)
{
    HostSandbox box;
    const QString project = box.path(QStringLiteral("separable.json"));
    const QString output = box.path(QStringLiteral("out.json"));
    ASSERT_TRUE(HostSandbox::write(project, kProject));
    const HostRun run = box.run({project, QStringLiteral("--export"), QStringLiteral("0-10"),
                                 QStringLiteral("--output"), output});
    const std::string shown = (run.out + run.err).toStdString();
    ASSERT_TRUE(run.finished) << shown;
    EXPECT_EQ(run.exitCode, 0) << shown;
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("dialog \"Zolvar - Shapes Separation\" (PreprocessingDlg) declined (its note: Not offered, "
                       "and left as they are:\\nLayer 2 (Groups): its groups overlap")))
        << shown;
    EXPECT_TRUE(run.out.contains(QStringLiteral("Export: done"))) << shown;
    EXPECT_FALSE(run.out.contains(QStringLiteral("Shapes Separation\" (calls"))) << "no separation group" << shown;
    EXPECT_TRUE(run.out.contains(QStringLiteral("Leaks: none"))) << shown;

    standin::LoadError error;
    const auto result = standin::Project::load(output, &error);
    ASSERT_TRUE(result) << error.toString().toStdString();
    const standin::Composition* main = result->compositionByName(QStringLiteral("Main"));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->layerCount(), 2) << "nothing was separated";
    EXPECT_EQ(main->layer(0)->maskCount(), 2);
}

// Every layer left out (ten pairs of squares, the masks made to cross, the
// groups): the message names eight, the host prints it and its details.
TEST(SeparationExport, EveryLayerLeftOutIsPrintedThoughTheMessageIsCut)
{
    const QByteArray squares = R"({"type": "shape", "name": "Squares", "contents": [
        {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect"}]},
        {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect"}]}]},)";
    HostSandbox box;
    const QString project = box.path(QStringLiteral("left-out.json"));
    ASSERT_TRUE(HostSandbox::write(project, QByteArray(kProject)
                                                .replace(R"("layers": [)", R"("layers": [)" + squares.repeated(10))
                                                .replace("[110, 0], [190, 0]", "[10, 0], [190, 0]")));
    const HostRun run = box.run({project, QStringLiteral("--export"), QStringLiteral("0-1")});
    EXPECT_EQ(run.exitCode, 0) << show(run);
    const QString line = run.out.section(QStringLiteral("message box \"Zolvar\": No layer is offered"), 1);
    const QString details = line.section(QStringLiteral(" [OK] (details: "), 1).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(line.section(QStringLiteral(" [OK]"), 0, 0).endsWith(
        QStringLiteral("per mask or group.\\n\\n... and 4 more (see the details).")))
        << show(run);
    EXPECT_TRUE(details.contains("Layer 10 (Squares)") && details.contains("Layer 11 (Masks): its masks overlap") &&
                details.contains("Layer 12 (Groups): its groups overlap"))
        << show(run);
}

// A shape layer at (x, y), scaled `scale` %, holding a group "NAME A" (a
// 100 x 80 square) and 160 px to its right a group "NAME B" holding `shape`,
// its transform given `transform` more.
QByteArray besideA(const char* name, int x, int y, int scale, const QByteArray& shape, const QByteArray& transform)
{
    const QByteArray n(name), k = QByteArray::number(scale);
    return R"({"type": "shape", "name": ")" + n + R"(", "transform": {"position": [)" + QByteArray::number(x) + ", " +
           QByteArray::number(y) + R"(], "scale": [)" + k + ", " + k + R"(]}, "contents": [
               {"matchName": "ADBE Vector Group", "name": ")" + n + R"( A", "contents": [{"matchName":
                   "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [100, 80]}}]},
               {"matchName": "ADBE Vector Group", "name": ")" + n + R"( B", "transform": {"ADBE Vector Position":
                   [160, 0])" + transform + R"(}, "contents": [)" + shape + "]}]}";
}
QByteArray square(int size)
{
    const QByteArray s = QByteArray::number(size);
    return R"({"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [)" + s + ", " + s + "]}}";
}
// A star (type 1) or polygon (2) whose outer radius is keyed from 0 to 40 px.
QByteArray growingStar(int type, const QByteArray& more)
{
    return R"({"matchName": "ADBE Vector Shape - Star", "properties": {"ADBE Vector Star Type": )" +
           QByteArray::number(type) + R"(, "ADBE Vector Star Outer Radius": {"keys": [[0, 0], [1, 40]]}, )" + more + "}}";
}
const QByteArray kGrowing = R"(, "ADBE Vector Scale": {"keys": [[0, [1, 1]], [1, [100, 100]]]})";

// Layers the offer splits (masks side by side with a third switched off,
// groups apart under one even-odd fill, a 100 x 80 square beside a 2 px one)
// and layers it leaves whole (an even-odd ring over two groups, masks that
// cross, and those where a copy would be too small at time 0 to be a body
// that moves: a square beside one growing from 0.8 px or kept at 0.8 px, a
// star or a hexagon growing from a radius of 0, a layer at 50 % with one
// growing from 0.2 px, a 0.6 px mask), all falling, far apart, beside a
// plain solid.
const QByteArray kFalling = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 300, "height": 120, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 1200, "height": 900, "frameRate": 25, "duration": 4,
        "layers": [
            {"type": "solid", "name": "Reference", "source": "Red", "transform": {"position": [150, 100]}},
            {"type": "solid", "name": "Masks", "source": "Red", "transform": {"position": [600, 100], "rotation": 30},
             "masks": [
                {"name": "One", "shape": {"closed": true, "vertices": [[0, 0], [80, 0], [80, 80], [0, 80]]}},
                {"name": "Two", "shape": {"closed": true, "vertices": [[110, 0], [190, 0], [190, 80]]}},
                {"name": "Off", "flags": 0, "shape": {"closed": true, "vertices": [[20, 20], [60, 20], [60, 60]]}}]},
            {"type": "solid", "name": "Crossing", "source": "Red", "transform": {"position": [1000, 100]},
             "masks": [
                {"name": "A", "shape": {"closed": true, "vertices": [[120, 0], [120, 100], [0, 100], [0, 0]]}},
                {"name": "B", "shape": {"closed": true, "vertices": [[200, 20], [200, 120], [80, 120], [80, 20]]}}]},
            {"type": "shape", "name": "Groups", "transform": {"position": [300, 450], "scale": [-100, 100]},
             "contents": [
                {"matchName": "ADBE Vector Group", "name": "Left", "contents": [{"matchName": "ADBE Vector Shape - Rect",
                    "properties": {"ADBE Vector Rect Position": [-90, 0], "ADBE Vector Rect Size": [100, 60]}}]},
                {"matchName": "ADBE Vector Group", "name": "Right", "contents": [{"matchName": "ADBE Vector Shape - Rect",
                    "properties": {"ADBE Vector Rect Position": [90, 0], "ADBE Vector Rect Size": [100, 60]}}]},
                {"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Rule": 2}}]},
            {"type": "shape", "name": "Ring", "transform": {"position": [850, 450], "rotation": 10},
             "contents": [
                {"matchName": "ADBE Vector Group", "name": "Outer", "contents": [{"matchName": "ADBE Vector Shape - Rect",
                    "properties": {"ADBE Vector Rect Size": [200, 200]}}]},
                {"matchName": "ADBE Vector Group", "name": "Inner", "contents": [{"matchName": "ADBE Vector Shape - Rect",
                    "properties": {"ADBE Vector Rect Size": [80, 80]}}]},
                {"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Rule": 2}}]},
            )" + besideA("Keyed B", 200, 700, 100, square(80), kGrowing) + "," +
            besideA("Fixed B", 600, 700, 100, square(80), R"(, "ADBE Vector Scale": [1, 1])") + "," +
            besideA("Star B", 1000, 700, 100, growingStar(1, R"("ADBE Vector Star Inner Radius": {"keys": [[0, 0], [1, 20]]})"), "") + "," +
            besideA("Hexagon B", 200, 820, 100, growingStar(2, R"("ADBE Vector Star Points": 6)"), "") + "," +
            besideA("Half scale", 600, 820, 50, square(40), kGrowing) + "," +
            besideA("Grown", 1000, 820, 100, square(80), R"(, "ADBE Vector Scale": [2.5, 2.5])") + R"(,
            {"type": "solid", "name": "Tiny mask", "source": "Red", "transform": {"position": [150, 260]},
             "masks": [
                {"name": "Square", "shape": {"closed": true, "vertices": [[0, 0], [80, 0], [80, 80], [0, 80]]}},
                {"name": "Dot", "shape": {"closed": true, "vertices": [[200, 0], [200.6, 0], [200.6, 0.6], [200, 0.6]]}}]}]}],
    "activeItem": "Main"
})";

// Where the layer's anchor point is drawn at frame `frame`.
QPointF drawnAt(const standin::Layer& layer, int frame)
{
    double x = 0, y = 0;
    standin::mapPoint(standin::layerToWorld(layer, A_Time{frame, 25}), 0, 0, &x, &y);
    return {x, y};
}

TEST(SeparationExport, SeparatedLayersFallFreelyEachOnItsOwn)
{
    // Separated as the offer does it when every layer on it is picked.
    standin::LoadError error;
    auto project = standin::Project::fromJson(kFalling, QStringLiteral("/projects/falling.aep"), &error);
    ASSERT_TRUE(project) << error.toString().toStdString();
    constexpr AEGP_PluginID kPluginId = 11;
    {
        standin::HostSession session(*project, kPluginId, std::string());
        std::vector<int> offered;
        std::vector<SeparationKind> kinds;
        ASSERT_EQ(findLayersToSeparate(session.basicSuite(), kPluginId, offered, nullptr, kMaxStartWork, &kinds),
                  A_Err_NONE);
        EXPECT_EQ(offered, (std::vector<int>{1, 3, 10})) << "the crossing masks, the ring and the tiny copies stay whole";
        for (size_t k = offered.size(); k-- > 0;)
            dispatchSeparation(
                session.basicSuite(), kPluginId, offered[k], kinds[k],
                [&](int i) { separateLayerMasks(session.basicSuite(), kPluginId, i); },
                [&](int i) { separateLayerShapes(session.basicSuite(), kPluginId, i); });
    }

    HostSandbox box;
    const QString input = box.path(QStringLiteral("separated.json"));
    const QString output = box.path(QStringLiteral("out.json"));
    ASSERT_TRUE(HostSandbox::write(input, project->toJson()));
    ASSERT_TRUE(storeBodySettings(box, {"Reference", "One", "Two", "Crossing", "Left", "Right", "Ring", "Keyed B",
                                        "Fixed B", "Star B", "Hexagon B", "Half scale", "Grown A", "Grown B",
                                        "Tiny mask"},
                                  R"(type="2")"));
    const HostRun run = box.run({input, QStringLiteral("--export"), QStringLiteral("0-10"),
                                 QStringLiteral("--output"), output});
    ASSERT_TRUE(run.finished) << show(run);
    ASSERT_EQ(run.exitCode, 0) << show(run);
    ASSERT_FALSE(run.out.contains(QStringLiteral("declined"))) << "nothing left to offer" << show(run);
    EXPECT_TRUE(run.out.contains(QStringLiteral("message box \"Zolvar\": No layer is offered for separation")))
        << "the layers left whole are named" << show(run);

    const auto result = standin::Project::load(output, &error);
    ASSERT_TRUE(result) << error.toString().toStdString();
    const standin::Composition* written = result->compositionByName(QStringLiteral("Main"));
    for (const standin::Composition* comp : result->compositions())
        if (comp->name() != QLatin1String("Main"))
            written = comp;
    ASSERT_NE(written, nullptr);
    const standin::Layer* reference = nullptr;
    std::vector<const standin::Layer*> shown;
    for (int i = 0; i < written->layerCount(); ++i) {
        const standin::Layer* layer = written->layer(i);
        if (layer->name() == QLatin1String("Reference"))
            reference = layer;
        else if (layer->flags() & AEGP_LayerFlag_VIDEO_ACTIVE)
            shown.push_back(layer);
    }
    ASSERT_NE(reference, nullptr);
    QStringList names;
    for (const standin::Layer* layer : shown)
        names.push_back(layer->name());
    EXPECT_EQ(names.join(", "), QStringLiteral("One, Two, Crossing, Left, Right, Ring, Keyed B, Fixed B, Star B, "
                                               "Hexagon B, Half scale, Grown A, Grown B, Tiny mask"));
    EXPECT_GT(drawnAt(*reference, 10).y() - drawnAt(*reference, 0).y(), 5.0) << "the plain solid falls";
    // Every frame, each layer has fallen as far as the plain solid, and no
    // farther nor sideways: no two bodies pushed each other apart.
    for (const standin::Layer* layer : shown)
        for (int frame = 1; frame <= 10; ++frame) {
            const QPointF fell = drawnAt(*layer, frame) - drawnAt(*layer, 0);
            const double freeFall = drawnAt(*reference, frame).y() - drawnAt(*reference, 0).y();
            EXPECT_NEAR(fell.x(), 0.0, 0.05) << layer->name().toStdString() << " at frame " << frame;
            EXPECT_NEAR(fell.y(), freeFall, 0.05) << layer->name().toStdString() << " at frame " << frame;
        }
}

} // namespace
