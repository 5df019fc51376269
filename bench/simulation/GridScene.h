// The scene both benchmarks run on: a stand-in session over `count` solids of
// 40 x 40 pixels in a grid above a floor, in a composition of 3000 x 3000 at
// 25 fps, and the simulation core on it with its records built, every other
// piece a circle, the floor static. The world is built from the records by
// the next restart, after the caller's own changes.
#pragma once

#include "host/EntryPoint.h"
#include "project/Project.h"
#include "simulation/SimulationCore.h"
#include "suites/HostSession.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

namespace bench {

constexpr int kPluginId = 7;

// The pieces' layers (footage 1, 40 x 40) and a floor layer after them
// (footage 2, `floorWidth` x 40, centred) in the 3000 x 3000 composition at
// 25 fps.
inline QByteArray withFloor(QStringList layers, int floorWidth = 3000)
{
    layers << QStringLiteral(R"({"id": %1, "type": "solid", "source": 2, "transform": {"position": [1500, 2900]}})")
                  .arg(layers.size() + 1);
    return QStringLiteral(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "Piece", "kind": "solid", "width": 40, "height": 40},
                    {"id": 2, "name": "Floor", "kind": "solid", "width": %2, "height": 40}],
        "compositions": [{"id": 10, "name": "Main", "width": 3000, "height": 3000, "frameRate": 25,
                          "duration": 20, "layers": [%1]}]})")
        .arg(layers.join(QLatin1Char(',')))
        .arg(floorWidth)
        .toUtf8();
}

// With `keyed`, each piece's position has keys at 0 and 10 s (50 pixels
// to the right).
inline QByteArray gridJson(int count, bool keyed = false, int floorWidth = 3000)
{
    QStringList layers;
    for (int i = 0; i < count; ++i) {
        const int x = 300 + (i % 25) * 90;
        const int y = 200 + (i / 25) * 90;
        const QString position = keyed ? QStringLiteral(R"({"keys": [{"time": 0, "value": [%1, %2]}, {"time": 10, "value": [%3, %2]}]})")
                                             .arg(x)
                                             .arg(y)
                                             .arg(x + 50)
                                       : QStringLiteral("[%1, %2]").arg(x).arg(y);
        layers << QStringLiteral(R"({"id": %1, "type": "solid", "source": 1, "transform": {"position": %2}})")
                      .arg(i + 1)
                      .arg(position);
    }
    return withFloor(layers, floorWidth);
}

struct GridScene {
    GridScene(int count, const SceneControls& controls, bool keyed = false, int floorWidth = 3000)
    {
        standin::LoadError error;
        project = standin::Project::fromJson(gridJson(count, keyed, floorWidth), QStringLiteral("/bench/grid.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        core = std::make_unique<SimulationCore>(session->basicSuite(), kPluginId);
        core->limiter.disable();
        core->controls = controls;
        core->readComposition();
        core->listBodyLayers();
        core->initWorld(false);
        core->initMyBodies();
        for (int i = 0; i < count; i += 2) {
            ShapeDef circle;
            circle.points = {b2Vec2(-0.2f, 0), b2Vec2(0, -0.2f), b2Vec2(0.2f, 0), b2Vec2(0, 0.2f)};
            circle.isCircle = true;
            circle.radius = 0.2f;
            core->bodies[size_t(i)].outlines = {{circle}};
            core->bodies[size_t(i)].isLayerBox = false;
        }
        core->bodies.back().type = BodyType::Static;
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<SimulationCore> core;
};

} // namespace bench
