// Projects aimed at the geometry and the physics, written here, each run
// through the whole --export job of zolvar-host: every run ends on its own
// (the watchdog never fires), the host is never sent a value that is not
// finite, undo groups are balanced and nothing leaks. A project the loader
// refuses ends with its own exit code, which counts as ending too.
#include "HostProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

QJsonArray vertex(double x, double y, double inX = 0, double inY = 0, double outX = 0, double outY = 0)
{
    return QJsonArray{x, y, inX, inY, outX, outY};
}

QJsonObject mask(const QJsonArray& vertices, bool closed = true)
{
    return QJsonObject{{"shape", QJsonObject{{"closed", closed}, {"vertices", vertices}}}};
}

// A regular polygon of `count` corners (a star when `inner` differs from 1).
QJsonArray ring(double cx, double cy, double radius, int count, double inner = 1.0)
{
    QJsonArray vertices;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * M_PI * i / count;
        const double r = i % 2 ? radius * inner : radius;
        vertices.append(vertex(cx + r * std::cos(a), cy + r * std::sin(a)));
    }
    return vertices;
}

QJsonObject solidLayer(int id, const QJsonObject& transform, const QJsonArray& masks = QJsonArray())
{
    QJsonObject layer{{"id", id}, {"type", "solid"}, {"source", 1}, {"name", QStringLiteral("Layer %1").arg(id)},
                      {"transform", transform}};
    if (!masks.isEmpty())
        layer.insert("masks", masks);
    return layer;
}

QJsonObject solid(int id, const QJsonObject& transform)
{
    return solidLayer(id, transform);
}

QJsonObject floorLayer(int id)
{
    return QJsonObject{{"id", id}, {"type", "solid"}, {"source", 2}, {"name", "Floor"},
                       {"transform", QJsonObject{{"position", QJsonArray{960, 1060}}}}};
}

// A 1920 x 1080, 25 fps, 4 s composition "Main" with `layers` over a floor;
// `edit` changes the composition or the whole project afterwards.
QByteArray project(QJsonArray layers, const std::function<void(QJsonObject&, QJsonObject&)>& edit = nullptr)
{
    layers.append(floorLayer(900));
    QJsonObject comp{{"id", 10}, {"name", "Main"}, {"width", 1920}, {"height", 1080}, {"frameRate", 25},
                     {"duration", 4}, {"layers", layers}};
    QJsonObject root{{"format", "zolvar-standin-project"},
                     {"activeItem", 10},
                     {"footage", QJsonArray{QJsonObject{{"id", 1}, {"name", "Big"}, {"kind", "solid"},
                                                        {"width", 3840}, {"height", 2160}},
                                            QJsonObject{{"id", 2}, {"name", "Floor"}, {"kind", "solid"},
                                                        {"width", 1920}, {"height", 40}}}}};
    if (edit)
        edit(root, comp);
    QJsonArray comps = root.value("compositions").toArray();
    comps.prepend(comp);
    root.insert("compositions", comps);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

QJsonObject at(double x, double y, const QJsonObject& more = QJsonObject())
{
    QJsonObject t = more;
    t.insert("position", QJsonArray{x, y});
    return t;
}

struct Hostile {
    const char* name;
    QByteArray json;
};

std::vector<Hostile> hostileProjects()
{
    std::vector<Hostile> out;
    const QJsonObject small{{"scale", QJsonArray{5, 5}}};
    out.push_back({"huge positions", project({solid(1, at(1e308, -1e308, small)), solid(2, at(-1e300, 5e37, small))})});
    out.push_back({"zero, negative and huge scales",
                   project({solidLayer(1, at(500, 300, QJsonObject{{"scale", QJsonArray{0, 0}}})),
                            solidLayer(2, at(900, 300, QJsonObject{{"scale", QJsonArray{-3, -2}}})),
                            solidLayer(3, at(1300, 300, QJsonObject{{"scale", QJsonArray{1e39, 1e39}}})),
                            solidLayer(4, at(1600, 300, QJsonObject{{"scale", QJsonArray{1e-30, 1e30}}}))})});
    out.push_back({"masks of 0 to 3 points",
                   project({solidLayer(1, at(300, 300, small), {mask(QJsonArray())}),
                            solidLayer(2, at(600, 300, small), {mask(QJsonArray{vertex(10, 10)})}),
                            solidLayer(3, at(900, 300, small), {mask(QJsonArray{vertex(10, 10), vertex(90, 90)})}),
                            solidLayer(4, at(1200, 300, small),
                                       {mask(QJsonArray{vertex(10, 10), vertex(90, 10), vertex(50, 80)})})})});
    out.push_back({"collinear, duplicate and crossing points",
                   project({solidLayer(1, at(300, 300, small),
                                       {mask(QJsonArray{vertex(0, 0), vertex(50, 0), vertex(100, 0), vertex(150, 0)})}),
                            solidLayer(2, at(700, 300, small),
                                       {mask(QJsonArray{vertex(5, 5), vertex(5, 5), vertex(5, 5), vertex(80, 5),
                                                        vertex(80, 5), vertex(40, 70), vertex(40, 70)})}),
                            solidLayer(3, at(1100, 300, small),  // a figure of eight
                                       {mask(QJsonArray{vertex(0, 0), vertex(100, 100), vertex(100, 0), vertex(0, 100)})}),
                            solidLayer(4, at(1500, 300, small),
                                       {mask(QJsonArray{vertex(0, 0, -1e9, 3e9, 1e308, -1e308), vertex(100, 0),
                                                        vertex(50, 80)})})})});
    out.push_back({"a 10,000-vertex mask", project({solidLayer(1, at(900, 400, small), {mask(ring(200, 200, 150, 10000, 0.8))})})});
    out.push_back({"tiny shapes far from the anchor",
                   project({solidLayer(1, at(960, 500), {mask(ring(3800, 2120, 15, 100))}),
                            solidLayer(2, at(960, 500, QJsonObject{{"anchorPoint", QJsonArray{-8500, 0}}}),
                                       {mask(ring(20, 20, 20, 100))})})});
    {
        QJsonArray chain;
        for (int i = 1; i <= 60; ++i) {
            QJsonObject layer = solidLayer(i, at(20, 10, QJsonObject{{"scale", QJsonArray{101, 99}}, {"rotation", 7}}));
            if (i > 1)
                layer.insert("parent", i - 1);
            chain.append(layer);
        }
        out.push_back({"a chain of 60 parents", project(chain)});
    }
    {
        QJsonObject parent = solidLayer(1, at(500, 300, QJsonObject{{"scale", QJsonArray{1e39, 100}}, {"rotation", -1e308}}));
        QJsonObject child = solidLayer(2, at(10, 10, small));
        child.insert("parent", 1);
        out.push_back({"a parent beyond single precision", project({parent, child})});
    }
    out.push_back({"nested compositions in a cycle",
                   project({QJsonObject{{"id", 1}, {"type", "composition"}, {"source", 11}}},
                           [](QJsonObject& root, QJsonObject&) {
                               root.insert("compositions",
                                           QJsonArray{QJsonObject{{"id", 11}, {"name", "Inner"}, {"width", 100},
                                                                  {"height", 100}, {"frameRate", 25}, {"duration", 1},
                                                                  {"layers", QJsonArray{QJsonObject{
                                                                                 {"type", "composition"},
                                                                                 {"source", 10}}}}}});
                           })});
    out.push_back({"1000 frames per second",
                   project({solidLayer(1, at(900, 300, small))}, [](QJsonObject&, QJsonObject& comp) {
                       comp.insert("frameRate", 1000);
                       comp.insert("duration", 0.01);
                   })});
    out.push_back({"the slowest frame rate",
                   project({solidLayer(1, at(900, 300, small))}, [](QJsonObject&, QJsonObject& comp) {
                       comp.insert("frameRate", 0.000466);
                       comp.insert("duration", 2000);
                   })});
    out.push_back({"a frame rate too slow to store",
                   project({solidLayer(1, at(900, 300, small))},
                           [](QJsonObject&, QJsonObject& comp) { comp.insert("frameRate", 0.0001); })});
    out.push_back({"a work area of one frame at the very end",
                   project({solidLayer(1, at(900, 300, small))}, [](QJsonObject&, QJsonObject& comp) {
                       comp.insert("workArea", QJsonObject{{"start", 3.96}, {"duration", 0.04}});
                   })});
    {
        QString name;
        for (int i = 0; i < 5000; ++i)
            name += QChar(ushort(i % 40));  // control characters, NUL among them
        QJsonObject layer = solidLayer(1, at(900, 300, small));
        layer.insert("name", name);
        out.push_back({"a long name of control characters", project({layer}, [&name](QJsonObject&, QJsonObject& comp) {
                           comp.insert("name", name.left(300));
                       })});
    }
    return out;
}

} // namespace

TEST(HostileProjects, EveryOneEndsOnItsOwnAndWritesOnlyFiniteValues)
{
    HostSandbox box;
    const QRegularExpression groups(QStringLiteral("Undo groups: (\\d+) opened, (\\d+) closed"));
    for (const Hostile& h : hostileProjects()) {
        SCOPED_TRACE(h.name);
        const QString file = box.path(QStringLiteral("hostile.json"));
        const QString output = box.path(QStringLiteral("hostile-out.json"));
        QFile::remove(output);
        ASSERT_TRUE(HostSandbox::write(file, h.json));
        // The watchdog is far away: a run that needs it has hung.
        const HostRun run = box.run({file, "--export", "0-5", "--output", output}, 240);
        ASSERT_TRUE(run.finished) << show(run);
        EXPECT_FALSE(run.out.contains("made no progress")) << show(run);
        EXPECT_FALSE(run.out.contains("not finite")) << show(run);
        if (run.exitCode == 3) {  // refused by the loader, with its reason
            EXPECT_FALSE(run.err.isEmpty()) << show(run);
            continue;
        }
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 8) << show(run);
        const QRegularExpressionMatch m = groups.match(run.out);
        ASSERT_TRUE(m.hasMatch()) << show(run);
        EXPECT_EQ(m.captured(1), m.captured(2)) << show(run);
        EXPECT_FALSE(run.out.contains("left open")) << show(run);
        EXPECT_TRUE(run.out.contains("Leaks: none")) << show(run);
        if (run.exitCode == 0) {
            const QByteArray written = HostSandbox::readAll(output);
            EXPECT_FALSE(written.isEmpty()) << show(run);
            EXPECT_FALSE(written.contains("inf") || written.contains("nan")) << show(run);
        }
    }
}
