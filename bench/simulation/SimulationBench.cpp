// The simulation's speed targets:
// - one frame tick of 500 dynamic boxes and circles (gravity, no magnetism,
//   10 sub-steps) next to the same world stepped directly (at most 1.15 x);
// - the export of 200 layers x 250 frames into the stand-in host (under 1 s);
// - building the world from 500 body records (under 20 ms).
#include "host/EntryPoint.h"
#include "project/Project.h"
#include "simulation/KeyframeExport.h"
#include "simulation/SimulationCore.h"
#include "suites/HostSession.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>

namespace {

constexpr int kPluginId = 7;

// `count` solids of 40 x 40 pixels in a grid above a floor, in a composition
// of 3000 x 3000 at 25 fps.
QByteArray gridJson(int count)
{
    QStringList layers;
    for (int i = 0; i < count; ++i) {
        const int column = i % 25;
        const int row = i / 25;
        layers << QStringLiteral(R"({"id": %1, "type": "solid", "source": 1, "transform": {"position": [%2, %3]}})")
                      .arg(i + 1)
                      .arg(300 + column * 90)
                      .arg(200 + row * 90);
    }
    layers << QStringLiteral(R"({"id": %1, "type": "solid", "source": 2, "transform": {"position": [1500, 2900]}})")
                  .arg(count + 1);
    return QStringLiteral(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "Piece", "kind": "solid", "width": 40, "height": 40},
                    {"id": 2, "name": "Floor", "kind": "solid", "width": 3000, "height": 40}],
        "compositions": [{"id": 10, "name": "Main", "width": 3000, "height": 3000, "frameRate": 25,
                          "duration": 20, "layers": [%1]}]})")
        .arg(layers.join(QLatin1Char(',')))
        .toUtf8();
}

// A stand-in session over the grid and the simulation built on it, every
// other piece a circle, the floor static.
struct Bench {
    explicit Bench(int count)
    {
        standin::LoadError error;
        project = standin::Project::fromJson(gridJson(count), QStringLiteral("/bench/grid.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        core = std::make_unique<SimulationCore>(session->basicSuite(), kPluginId);
        core->limiter.disable();
        core->controls.substeps = 10;
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
        core->restartAndStopAnimation(false);
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<SimulationCore> core;
};

constexpr int kFrames = 100;

void BM_FrameTick(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Bench bench(500);
        bench.core->playAnimation();
        state.ResumeTiming();
        for (int frame = 0; frame < kFrames; ++frame)
            bench.core->updatePhysics();
    }
    state.counters["frames_per_s"] = benchmark::Counter(kFrames, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_RawWorldSteps(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Bench bench(500);
        ZolvarWorld* world = bench.core->world;
        world->SetGravity(b2Vec2(0.0f, 10.0f));
        const float h = 1.0f / 25.0f / 10.0f;
        state.ResumeTiming();
        for (int frame = 0; frame < kFrames; ++frame)
            for (int k = 0; k < 10; ++k)
                world->Step(h, 10, 10);
    }
    state.counters["frames_per_s"] = benchmark::Counter(kFrames, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BuildWorldFrom500Records(benchmark::State& state)
{
    Bench bench(500);
    for (auto _ : state) {
        bench.core->initWorld(true);
        bench.core->initScene();
    }
}

void BM_Export200LayersOf250Frames(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Bench bench(199);  // and the floor: 200 layers
        SimulationCore& core = *bench.core;
        const size_t n = core.bodies.size();
        core.bodyTransforms.assign(n, BodyTransforms{});
        core.playAnimation();
        for (int frame = 0; frame < 250; ++frame) {
            core.updatePhysics();
            for (size_t c = 0; c < n; ++c) {
                const b2Body* body = core.bodies[n - 1 - c].body;
                core.bodyTransforms[c].positions.push_back(core.getAEPosFromGLPos(body->GetPosition()));
                core.bodyTransforms[c].rotations.push_back(SimulationCore::getAERotFromBox2DRot(body->GetAngle()));
            }
        }
        std::vector<ExportBody> bodies;
        for (size_t b = 0; b < n; ++b)
            bodies.push_back({core.bodyLayerIndices[b], core.bodies[b].type, 0.0f, core.bodies[b].name});
        ExportSettings settings;
        settings.frameDuration = core.frameDuration;
        settings.startFrame = 0;
        settings.endFrame = 249;
        KeyframeExport writer(core.basicSuite, core.pluginId);
        state.ResumeTiming();
        writer.begin(core.comp, settings, bodies, core.bodyTransforms, nullptr);
        while (!writer.writeNextLayer()) {
        }
    }
}

} // namespace

BENCHMARK(BM_FrameTick)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RawWorldSteps)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildWorldFrom500Records)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export200LayersOf250Frames)->Unit(benchmark::kMillisecond)->Iterations(3);
