// The main job must leave a layer whose body never moved drawn exactly as it
// was. A composition with a layer of every kind bodies are built from (solid,
// masks, shape layers with several items in nested groups, text, mirrored
// and turned layers, parented layers), all starting after the exported
// range, goes through zolvar-host's export; every layer's layer-to-world
// matrix and every shape item's world placement must come back unchanged.
// Shown from the start and falling, the same layers must be drawn as they
// were, only lower.
#include "HostProcess.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Project.h"
#include "project/PropertyNode.h"
#include "project/Transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace standin;

namespace {

// All layers start at 2 s (frame 50); frames 0 to 10 are exported.
const QByteArray kEveryKind = R"({
    "format": "zolvar-standin-project", "activeItem": "Main",
    "footage": [{"id": 1, "name": "Box", "kind": "solid", "width": 100, "height": 100, "color": [0.8, 0.2, 0.2]},
                {"id": 2, "name": "Wide", "kind": "solid", "width": 160, "height": 60, "color": [0.2, 0.4, 0.8]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 800, "frameRate": 25, "duration": 8,
        "layers": [
            {"id": 1, "type": "solid", "source": 1, "name": "Solid", "inPoint": 2,
             "transform": {"position": [150, 150], "rotation": 25}},
            {"id": 2, "type": "solid", "source": 2, "name": "Masked", "inPoint": 2,
             "transform": {"position": [400, 150], "scale": [-100, 100], "rotation": 30},
             "masks": [{"shape": {"closed": true, "vertices": [[0, 0], [160, 0], [0, 60]]}},
                       {"shape": {"closed": true, "vertices": [[100, 30], [150, 30], [150, 55], [100, 55]]}}]},
            {"id": 3, "type": "solid", "source": 1, "name": "Mirrored", "inPoint": 2,
             "transform": {"position": [650, 150], "scale": [-100, -100], "rotation": 30}},
            {"id": 4, "type": "solid", "source": 2, "name": "Flipped", "inPoint": 2,
             "transform": {"position": [850, 150], "scale": [100, -80], "rotation": -40}},
            {"id": 5, "type": "shape", "name": "Shapes", "inPoint": 2,
             "transform": {"position": [200, 450], "scale": [110, 90], "rotation": 15},
             "contents": [
                {"matchName": "ADBE Vector Group",
                 "transform": {"ADBE Vector Anchor": [10, 5], "ADBE Vector Position": [100, 0],
                               "ADBE Vector Scale": [80, 120], "ADBE Vector Rotation": 20},
                 "contents": [
                    {"matchName": "ADBE Vector Shape - Rect",
                     "properties": {"ADBE Vector Rect Size": [60, 40], "ADBE Vector Rect Position": [50, 0]}},
                    {"matchName": "ADBE Vector Group",
                     "transform": {"ADBE Vector Position": [0, 60], "ADBE Vector Rotation": -15},
                     "contents": [
                        {"matchName": "ADBE Vector Shape - Ellipse",
                         "properties": {"ADBE Vector Ellipse Size": [50, 30], "ADBE Vector Ellipse Position": [20, 10]}},
                        {"matchName": "ADBE Vector Shape - Star",
                         "properties": {"ADBE Vector Star Position": [-40, 0], "ADBE Vector Star Outer Radius": 30,
                                        "ADBE Vector Star Inner Radius": 15}}]}]},
                {"matchName": "ADBE Vector Shape - Ellipse",
                 "properties": {"ADBE Vector Ellipse Size": [60, 60], "ADBE Vector Ellipse Position": [0, 200]}},
                {"matchName": "ADBE Vector Shape - Group",
                 "properties": {"ADBE Vector Shape": {"closed": true, "vertices": [[-80, 100], [-20, 100], [-80, 140]]}}}]},
            {"id": 6, "type": "shape", "name": "Mirrored Shapes", "inPoint": 2,
             "transform": {"position": [600, 450], "scale": [-100, 100], "rotation": 10},
             "contents": [
                {"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": [30, 0]},
                 "contents": [{"matchName": "ADBE Vector Shape - Rect",
                               "properties": {"ADBE Vector Rect Position": [20, 0], "ADBE Vector Rect Size": [40, 20]}}]},
                {"matchName": "ADBE Vector Shape - Ellipse", "properties": {"ADBE Vector Ellipse Position": [0, 80]}}]},
            {"id": 7, "type": "text", "name": "Title", "inPoint": 2, "text": {"text": "Zolvar", "size": 60},
             "transform": {"position": [400, 700], "rotation": 10}},
            {"id": 8, "type": "null", "name": "Rig", "inPoint": 2,
             "transform": {"position": [750, 600], "scale": [80, 80], "rotation": 40}},
            {"id": 9, "type": "solid", "source": 1, "name": "Child", "inPoint": 2, "parent": 8,
             "transform": {"position": [100, 0], "scale": [-100, 100], "rotation": 20}},
            {"id": 10, "type": "shape", "name": "Child Shapes", "inPoint": 2, "parent": 8,
             "transform": {"position": [-100, 50]},
             "contents": [
                {"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": [0, 10]},
                 "contents": [{"matchName": "ADBE Vector Shape - Rect",
                               "properties": {"ADBE Vector Rect Position": [40, 0], "ADBE Vector Rect Size": [30, 30]}}]},
                {"matchName": "ADBE Vector Shape - Ellipse", "properties": {"ADBE Vector Ellipse Position": [-40, 0]}}]}
        ]}]
})";

const QString kPrimitives[] = {"ADBE Vector Shape - Rect", "ADBE Vector Shape - Ellipse", "ADBE Vector Shape - Star",
                               "ADBE Vector Shape - Group"};
const char* const kPositions[] = {"ADBE Vector Rect Position", "ADBE Vector Ellipse Position",
                                  "ADBE Vector Star Position", nullptr};

struct Point {
    double x = 0, y = 0;
};

Point valueOf(const PropertyNode* group, const char* name, const A_Time& t)
{
    const PropertyNode* node = group->childByMatchName(QString::fromLatin1(name));
    EXPECT_NE(node, nullptr) << name;
    if (!node)
        return {};
    const Value v = node->valueAt(t, false);
    return {v.x(), v.y()};
}

// Where the host draws point p of a shape item (in the item's own space):
// through every enclosing group's transform, then the layer's matrix.
Point itemWorld(const Layer& layer, const PropertyNode* item, Point p, const A_Time& t)
{
    for (const PropertyNode* n = item->parent(); n; n = n->parent()) {
        if (n->matchName() != QLatin1String("ADBE Vector Group"))
            continue;
        const PropertyNode* transform = n->childByMatchName(QStringLiteral("ADBE Vector Transform Group"));
        const Point anchor = valueOf(transform, "ADBE Vector Anchor", t);
        const Point position = valueOf(transform, "ADBE Vector Position", t);
        const Point scale = valueOf(transform, "ADBE Vector Scale", t);
        const double r = valueOf(transform, "ADBE Vector Rotation", t).x * M_PI / 180.0;
        const double x = (p.x - anchor.x) * scale.x / 100.0;
        const double y = (p.y - anchor.y) * scale.y / 100.0;
        p = {std::cos(r) * x - std::sin(r) * y + position.x, std::sin(r) * x + std::cos(r) * y + position.y};
    }
    Point world;
    mapPoint(layerToWorld(layer, t), p.x, p.y, &world.x, &world.y);
    return world;
}

// Every shape item of the layer, depth first, with the point it is placed at.
void forEachItem(const PropertyNode* node, const std::function<void(const PropertyNode*, const char*)>& visit)
{
    for (int i = 0; i < node->childCount(); ++i) {
        const PropertyNode* child = node->child(i);
        for (size_t k = 0; k < std::size(kPrimitives); ++k)
            if (child->matchName() == kPrimitives[k])
                visit(child, kPositions[k]);
        forEachItem(child, visit);
    }
}

std::vector<std::pair<const PropertyNode*, Point>> itemsOf(const Layer& layer, const A_Time& t)
{
    std::vector<std::pair<const PropertyNode*, Point>> items;
    forEachItem(layer.root(), [&](const PropertyNode* item, const char* position) {
        items.emplace_back(item, position ? valueOf(item, position, t) : Point{});
    });
    return items;
}

void expectNear(Point a, Point b, const std::string& what)
{
    EXPECT_NEAR(a.x, b.x, 0.01) << what;
    EXPECT_NEAR(a.y, b.y, 0.01) << what;
}

std::unique_ptr<Project> loadProject(const QString& path)
{
    LoadError error;
    std::unique_ptr<Project> project = Project::load(path, &error);
    EXPECT_TRUE(project) << error.toString().toStdString();
    return project;
}

// The composition as it was and as the export left it.
struct Exported {
    std::unique_ptr<Project> before;
    std::unique_ptr<Project> after;
    const Composition* original = nullptr;
    const Composition* written = nullptr;
};

// Exports `range` of `json` through zolvar-host in `box` (with the
// preferences stored there) and loads both projects.
void exportThroughHost(const HostSandbox& box, const QByteArray& json, const QString& range, Exported& result)
{
    const QString input = box.path("every-kind.json");
    ASSERT_TRUE(HostSandbox::write(input, json));
    const QString output = box.path("result.json");
    const HostRun run = box.run({input, "--export", range, "--output", output});
    ASSERT_TRUE(run.finished) << show(run);
    ASSERT_EQ(run.exitCode, 0) << show(run);
    ASSERT_TRUE(run.out.contains("Export: done")) << show(run);

    result.before = loadProject(input);
    result.after = loadProject(output);
    ASSERT_TRUE(result.before && result.after);
    result.original = result.before->compositionByName(QStringLiteral("Main"));
    // The keys go to a duplicate of the composition when the window's option
    // says so (its default), else to the composition itself.
    result.written = result.after->compositionByName(QStringLiteral("Main"));
    for (const Composition* comp : result.after->compositions())
        if (comp->name() != QLatin1String("Main"))
            result.written = comp;
    ASSERT_TRUE(result.original && result.written);
    ASSERT_EQ(result.original->layerCount(), result.written->layerCount());
}

// Every point of the layer and of its shape items is drawn at t where it was
// drawn before, moved down by `drop`.
void expectDrawnAlike(const Layer& was, const Layer& is, const A_Time& t, double drop)
{
    const std::string at = was.name().toStdString() + " at " + std::to_string(t.value);
    for (const Point p : {Point{0, 0}, Point{100, 0}, Point{0, 100}, Point{37, -53}}) {
        Point a, b;
        mapPoint(layerToWorld(was, t), p.x, p.y, &a.x, &a.y);
        mapPoint(layerToWorld(is, t), p.x, p.y, &b.x, &b.y);
        expectNear({a.x, a.y + drop}, b, at + ": layer point " + std::to_string(p.x) + ", " + std::to_string(p.y));
    }
    const auto wasItems = itemsOf(was, t);
    const auto isItems = itemsOf(is, t);
    ASSERT_EQ(wasItems.size(), isItems.size()) << at;
    for (size_t k = 0; k < wasItems.size(); ++k)
        for (const Point d : {Point{0, 0}, Point{10, 0}, Point{0, 10}}) {
            const Point p0{wasItems[k].second.x + d.x, wasItems[k].second.y + d.y};
            const Point p1{isItems[k].second.x + d.x, isItems[k].second.y + d.y};
            const Point a = itemWorld(was, wasItems[k].first, p0, t);
            expectNear({a.x, a.y + drop}, itemWorld(is, isItems[k].first, p1, t), at + ": item " + std::to_string(k));
        }
}

int parentId(const Layer& layer)
{
    return layer.parent() ? int(layer.parent()->id()) : 0;
}

} // namespace

TEST(LayerFidelity, BodiesThatNeverMovedLeaveEveryLayerDrawnAsItWas)
{
    HostSandbox box;
    Exported e;
    // The rig stretched unevenly: its turned child is drawn sheared.
    exportThroughHost(box, QByteArray(kEveryKind).replace(R"("scale": [80, 80])", R"("scale": [110, 90])"), "0-10", e);
    if (HasFatalFailure())
        return;

    int bodies = 0;
    for (int i = 0; i < e.original->layerCount(); ++i) {
        const Layer& was = *e.original->layer(i);
        const Layer& is = *e.written->layer(i);
        const std::string name = was.name().toStdString();
        if (was.kind() != LayerKind::Null) {
            // A body that never left its layer's place leaves the layer as
            // it was: no keys, the same parent.
            EXPECT_EQ(is.transformStream(TransformStream::Position)->keyCount(), 0) << name;
            EXPECT_EQ(parentId(is), parentId(was)) << name;
            ++bodies;
        }
        // Inside the range, at its end and once the layer is shown.
        for (const A_Time t : {A_Time{0, 25}, A_Time{10, 25}, A_Time{75, 25}})
            expectDrawnAlike(was, is, t, 0.0);
    }
    EXPECT_EQ(bodies, 9);
}

// The same layers shown from the start, falling side by side without
// touching (no body collides with any): every layer is written, parents
// and all, and is drawn at every frame as it was, only lower, each by the
// same drop.
TEST(LayerFidelity, FallingLayersKeepTheirShapeMirrorAndTurn)
{
    HostSandbox box;
    ASSERT_TRUE(storeBodySettings(box,
                                  {"Solid", "Masked", "Mirrored", "Flipped", "Shapes", "Mirrored Shapes", "Title",
                                   "Child", "Child Shapes"},
                                  R"(type="2" maskBits="0")"));
    Exported e;
    exportThroughHost(box, QByteArray(kEveryKind).replace("\"inPoint\": 2,", ""), "0-20", e);
    if (HasFatalFailure())
        return;

    // How far the first body fell by each frame; every layer falls alike.
    const Layer& first = *e.written->layer(0);
    ASSERT_EQ(first.transformStream(TransformStream::Position)->keyCount(), 21);
    int bodies = 0;
    for (int i = 0; i < e.original->layerCount(); ++i) {
        const Layer& was = *e.original->layer(i);
        const Layer& is = *e.written->layer(i);
        const std::string name = was.name().toStdString();
        if (was.kind() != LayerKind::Null) {
            EXPECT_EQ(is.transformStream(TransformStream::Position)->keyCount(), 21) << name;
            EXPECT_EQ(is.parent(), nullptr) << name;
            ++bodies;
        }
        for (const int frame : {0, 7, 20, 40}) {
            const A_Time t{frame, 25};
            Point a, b;
            mapPoint(layerToWorld(*e.original->layer(0), t), 0, 0, &a.x, &a.y);
            mapPoint(layerToWorld(first, t), 0, 0, &b.x, &b.y);
            const double drop = was.kind() == LayerKind::Null ? 0.0 : b.y - a.y;
            if (frame > 0) {
                EXPECT_GT(b.y - a.y, 1.0) << "the first body falls";
            }
            expectDrawnAlike(was, is, t, drop);
        }
    }
    EXPECT_EQ(bodies, 9);
}

// Static bodies whose layers cannot be written without changing how they are
// drawn: a child that its rotated, unevenly scaled parent skews, a chain of
// three such layers, layers keyed before, inside and after the range, a
// position separated into keyed x and y. Every one is drawn as it was, before,
// inside and after the range.
TEST(LayerFidelity, StaticBodiesKeepSkewingParentsAndTheirOwnKeys)
{
    const QByteArray json = R"({
    "format": "zolvar-standin-project", "activeItem": "Main",
    "footage": [{"id": 1, "name": "Box", "kind": "solid", "width": 100, "height": 100},
                {"id": 2, "name": "Wide", "kind": "solid", "width": 160, "height": 60}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 800, "frameRate": 25, "duration": 8,
        "layers": [
            {"id": 1, "type": "solid", "source": 1, "name": "P1",
             "transform": {"position": [200, 400], "scale": [150, 70], "rotation": 30}},
            {"id": 2, "type": "solid", "source": 2, "name": "P2", "parent": 1,
             "transform": {"position": [120, 40], "scale": [-80, 110], "rotation": -25}},
            {"id": 3, "type": "solid", "source": 1, "name": "P3", "parent": 2,
             "transform": {"position": [60, -50], "scale": [90, -50], "rotation": 70, "anchorPoint": [10, 90]}},
            {"id": 4, "type": "null", "name": "Rig", "transform": {"position": [700, 500], "scale": [120, 60], "rotation": 40}},
            {"id": 5, "type": "solid", "source": 1, "name": "Rig Child", "parent": 4,
             "transform": {"position": [50, 30], "rotation": 15}},
            {"id": 6, "type": "solid", "source": 2, "name": "Keyed Before",
             "transform": {"position": {"keys": [[0, [100, 650, 0]], [[25, 25], [300, 650, 0]]]},
                           "rotation": {"keys": [[0, 0], [[25, 25], 90]]}}},
            {"id": 7, "type": "solid", "source": 2, "name": "Keyed Inside",
             "transform": {"position": {"keys": [[[50, 25], [400, 650, 0]], [[75, 25], [500, 700, 0]]]}}},
            {"id": 8, "type": "solid", "source": 2, "name": "Keyed After",
             "transform": {"position": [800, 650],
                           "scale": {"keys": [[[120, 25], [100, 100, 100]], [[150, 25], [50, 150, 100]]]}}},
            {"id": 9, "type": "solid", "source": 1, "name": "Separated",
             "transform": {"positionX": {"keys": [[0, 850], [[100, 25], 900]]}, "positionY": 300, "rotation": 5}}
        ]}]
    })";
    HostSandbox box;
    ASSERT_TRUE(storeBodySettings(
        box, {"P1", "P2", "P3", "Rig Child", "Keyed Before", "Keyed Inside", "Keyed After", "Separated"},
        R"(type="0")"));
    Exported e;
    exportThroughHost(box, json, "40-80", e);
    if (HasFatalFailure())
        return;
    for (int i = 0; i < e.original->layerCount(); ++i) {
        const Layer& was = *e.original->layer(i);
        const Layer& is = *e.written->layer(i);
        EXPECT_EQ(parentId(is), parentId(was)) << was.name().toStdString();
        for (const int frame : {0, 10, 25, 40, 60, 80, 100, 130, 160})
            expectDrawnAlike(was, is, A_Time{frame, 25}, 0.0);
    }
}

// A static layer that hangs from a falling body's layer stays where it was
// drawn: the parent it would follow is written, so it is written too, above
// or below that parent in the stack. A static child of a static parent is
// left as it was.
TEST(LayerFidelity, StaticLayersHangingFromAFallingLayerStayPut)
{
    const QByteArray json = R"({
    "format": "zolvar-standin-project", "activeItem": "Main",
    "footage": [{"id": 1, "name": "Box", "kind": "solid", "width": 100, "height": 100}],
    "compositions": [{"id": 10, "name": "Main", "width": 2000, "height": 3000, "frameRate": 25, "duration": 8,
        "layers": [
            {"id": 1, "type": "solid", "source": 1, "name": "Hat Above", "parent": 2,
             "transform": {"position": [50, -300], "rotation": 20}},
            {"id": 2, "type": "solid", "source": 1, "name": "Head", "transform": {"position": [400, 500]}},
            {"id": 3, "type": "solid", "source": 1, "name": "Hat Below", "parent": 2,
             "transform": {"position": [-150, -300], "scale": [-100, 100]}},
            {"id": 4, "type": "solid", "source": 1, "name": "Shelf", "transform": {"position": [1200, 500], "rotation": 10}},
            {"id": 5, "type": "solid", "source": 1, "name": "Cup", "parent": 4, "transform": {"position": [50, -100]}}
        ]}]
    })";
    HostSandbox box;
    ASSERT_TRUE(storeBodySettings(box, {"Hat Above", "Hat Below", "Shelf", "Cup"}, R"(type="0")"));
    Exported e;
    exportThroughHost(box, json, "0-20", e);
    if (HasFatalFailure())
        return;
    const Layer& head = *e.written->layer(1);
    EXPECT_EQ(head.transformStream(TransformStream::Position)->keyCount(), 21) << "the head falls";
    for (const int i : {0, 2, 3, 4}) {
        const Layer& was = *e.original->layer(i);
        const Layer& is = *e.written->layer(i);
        for (const int frame : {0, 10, 20, 40})
            expectDrawnAlike(was, is, A_Time{frame, 25}, 0.0);
    }
    EXPECT_EQ(parentId(*e.written->layer(4)), 4) << "the cup keeps its shelf";
}

// Children turned a quarter or half against a parent stretched unevenly (or
// mirrored and stretched) are drawn unskewed, their x and y stretches traded
// by the turn: falling, each keeps its stretch and is only moved down.
TEST(LayerFidelity, TurnedChildrenOfAStretchedParentKeepTheirStretchWhenWritten)
{
    const QByteArray json = R"({
    "format": "zolvar-standin-project", "activeItem": "Main",
    "footage": [{"id": 2, "name": "Wide", "kind": "solid", "width": 160, "height": 60}],
    "compositions": [{"id": 10, "name": "Main", "width": 3000, "height": 3000, "frameRate": 25, "duration": 8,
        "layers": [
            {"id": 1, "type": "solid", "source": 2, "name": "Free", "transform": {"position": [2500, 400]}},
            {"id": 2, "type": "null", "name": "Stretch", "transform": {"position": [500, 400], "scale": [150, 70], "rotation": 30}},
            {"id": 3, "type": "solid", "source": 2, "name": "Quarter", "parent": 2, "transform": {"position": [100, 50], "rotation": 90}},
            {"id": 4, "type": "solid", "source": 2, "name": "Mirrored Quarter", "parent": 2,
             "transform": {"position": [-100, 50], "rotation": -90, "scale": [-100, 100]}},
            {"id": 5, "type": "solid", "source": 2, "name": "Half", "parent": 2, "transform": {"position": [100, 250], "rotation": 180}},
            {"id": 6, "type": "null", "name": "Mirror Stretch", "transform": {"position": [1500, 400], "scale": [-150, 70]}},
            {"id": 7, "type": "solid", "source": 2, "name": "Mirror Quarter", "parent": 6, "transform": {"position": [100, 50], "rotation": 90}}
        ]}]
    })";
    HostSandbox box;
    ASSERT_TRUE(storeBodySettings(box, {"Free", "Quarter", "Mirrored Quarter", "Half", "Mirror Quarter"},
                                  R"(type="2" maskBits="0")"));
    Exported e;
    exportThroughHost(box, json, "0-10", e);
    if (HasFatalFailure())
        return;
    const Layer& free = *e.written->layer(0);
    ASSERT_EQ(free.transformStream(TransformStream::Position)->keyCount(), 11);
    for (int i = 0; i < e.original->layerCount(); ++i) {
        const Layer& was = *e.original->layer(i);
        for (const int frame : {0, 5, 10}) {
            const A_Time t{frame, 25};
            Point a, b;
            mapPoint(layerToWorld(*e.original->layer(0), t), 0, 0, &a.x, &a.y);
            mapPoint(layerToWorld(free, t), 0, 0, &b.x, &b.y);
            expectDrawnAlike(was, *e.written->layer(i), t, was.kind() == LayerKind::Null ? 0.0 : b.y - a.y);
        }
    }
}

// Every kind of layer with every source its outlines can be read from, alone,
// under a turned parent and under an evenly scaled one, plain and mirrored:
// a dynamic body at rest when the export starts is written so that its layer
// is drawn at the first frame where it was.
TEST(LayerFidelity, BodiesAtRestAreWrittenWhereTheirLayersWereDrawn)
{
    const QByteArray masks = R"(, "masks": [{"shape": {"closed": true, "vertices": [[0, 0], [90, 0], [0, 50]]}}])";
    const QByteArray shape = R"("type": "shape", "contents": [{"matchName": "ADBE Vector Shape - Ellipse",
        "properties": {"ADBE Vector Ellipse Position": [30, 10]}}])";
    const QByteArray text = R"("type": "text", "text": {"text": "Zolvar", "size": 60})";
    const QByteArray solid = R"("type": "solid", "source": 1)";
    QByteArray layers = R"({"id": 1, "type": "null", "name": "Turned", "transform": {"rotation": 20}},
        {"id": 2, "type": "null", "name": "Scaled", "transform": {"scale": [70, 70], "rotation": -35}})";
    QList<QByteArray> names;
    for (const QByteArray& layer : {solid, solid + masks, shape, shape + masks, text, text + masks})
        for (const char* parent : {"null", "1", "2"})
            for (const char* mirror : {"", "-"}) {
                names.append("Body " + QByteArray::number(names.size() + 3));
                layers += ", {\"id\": " + names.back().mid(5) + ", \"name\": \"" + names.back() + "\", " + layer
                          + ", \"parent\": " + parent + R"(, "transform": {"position": [)"
                          + QByteArray::number(names.size() % 6 * 400 + 300) + ", "
                          + QByteArray::number(names.size() / 6 * 400 + 300) + "], \"scale\": [" + mirror
                          + R"(100, 100], "rotation": 30}})";
            }
    HostSandbox box;
    ASSERT_TRUE(storeBodySettings(box, names, R"(type="2" maskBits="0")"));
    Exported e;
    exportThroughHost(box, R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "Wide", "kind": "solid", "width": 160, "height": 60}],
        "compositions": [{"id": 10, "name": "Main", "width": 3000, "height": 3000, "frameRate": 25, "duration": 8,
        "layers": [)" + layers + "]}]}", "0-2", e);
    if (HasFatalFailure())
        return;
    for (int i = 2; i < e.original->layerCount(); ++i) {
        EXPECT_EQ(e.written->layer(i)->transformStream(TransformStream::Position)->keyCount(), 3) << i;
        expectDrawnAlike(*e.original->layer(i), *e.written->layer(i), A_Time{0, 25}, 0.0);
    }
}
