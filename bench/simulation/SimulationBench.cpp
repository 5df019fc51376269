// The simulation's speed targets:
// - one frame tick of 500 dynamic boxes and circles (gravity, no magnetism,
//   10 sub-steps) next to a copy of the same world stepped by Box2D's own,
//   unpatched code (at most 1.15 x);
// - the export of 200 layers x 250 frames into the stand-in host (under 1 s);
// - building the world from 500 body records (under 20 ms);
// - one magnet among 2,000 bodies next to the same tick without it (at most
//   1.2 x);
// - the tick of 500 Kinematic layers following their keys next to the
//   world step alone by Box2D's own code (at most 2 x);
// - 200 overlapping layers of many triangles (elliptic masks) next to the
//   same layout of one box each (at most 20 x), and next to Box2D's own code
//   stepping the masked world;
// - 500 magnets over a floor of 3,000 pixels next to the same scene over a
//   floor of 200 (at most 1.3 x) and next to the world's step alone by
//   Box2D's own code (at most 2.5 x).
//
// The plain side (PlainWorld.h) is Box2D's own code without the project's
// patches, stepping a copy of the world the plug-in built.
#include "bench/simulation/GridScene.h"
#include "bench/simulation/PlainWorld.h"
#include "simulation/KeyframeExport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include <time.h>

namespace {

// The grid, 10 sub-steps a frame, built into its world.
struct Bench {
    explicit Bench(int count)
        : scene(count, controls())
        , core(scene.core)
    {
        core->restartAndStopAnimation(false);
    }

    static SceneControls controls()
    {
        SceneControls c;
        c.substeps = 10;
        return c;
    }

    bench::GridScene scene;
    std::unique_ptr<SimulationCore>& core;
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
        bench.core->world->SetGravity(b2Vec2(0.0f, 10.0f));
        const auto world = bench::plainCopy(*bench.core->world);
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

// 2,000 bodies, one of them a magnet of 3 units' range (range 0: none).
void BM_Tick2000WithOneMagnet(benchmark::State& state)
{
    constexpr int kTicks = 20;
    for (auto _ : state) {
        state.PauseTiming();
        Bench bench(2000);
        if (state.range(0) > 0) {
            MyBody& magnet = bench.core->bodies[1000];
            magnet.magnetismType = MagnetismType::Attraction;
            magnet.magnetDistance = float(state.range(0));
            magnet.magnetIntensity = 50.0f;
        }
        bench.core->restartAndPlayAnimation();
        state.ResumeTiming();
        for (int frame = 0; frame < kTicks; ++frame)
            bench.core->updatePhysics();
    }
    state.counters["ticks_per_s"] = benchmark::Counter(kTicks, benchmark::Counter::kIsIterationInvariantRate);
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1.0e6;
}

// 500 bodies, every one a magnet of 3 units' range (attracting, every third
// repelling), over a floor 3,000 or 200 pixels wide, built and played.
struct MagnetScene {
    explicit MagnetScene(int floorWidth)
        : scene(500, Bench::controls(), false, floorWidth)
    {
        for (size_t i = 0; i + 1 < scene.core->bodies.size(); ++i) {
            MyBody& magnet = scene.core->bodies[i];
            magnet.magnetismType = i % 3 == 2 ? MagnetismType::Repulsion : MagnetismType::Attraction;
            magnet.magnetDistance = 300.0f;
            magnet.magnetIntensity = 50.0f;
        }
        scene.core->restartAndPlayAnimation();
    }
    bench::GridScene scene;
};

// The 500 magnets' ticks, side by side in each iteration (processor time of
// this thread): over the wide floor (big_floor_ms), over the narrow one
// (small_floor_ms), and the world's step alone with the same sub-steps over
// the wide floor (plain_ms). The floor is far larger than a magnet's range:
// each magnet looks only as far as its range reaches.
void BM_Tick500Magnets(benchmark::State& state)
{
    constexpr int kTicks = 20;
    double big = 0.0, small = 0.0, plain = 0.0;
    for (auto _ : state) {
        double start = 0.0;
        {
            MagnetScene scene(3000);
            scene.scene.core->world->SetGravity(b2Vec2(0.0f, 10.0f));
            const auto world = bench::plainCopy(*scene.scene.core->world);
            const int substeps = int(Bench::controls().substeps);
            const float h = 1.0f / 25.0f / float(substeps);
            start = threadCpuMs();
            for (int frame = 0; frame < kTicks; ++frame)
                for (int k = 0; k < substeps; ++k)
                    world->Step(h, 10, 10);
            plain += threadCpuMs() - start;
        }
        for (int floor : {200, 3000}) {
            MagnetScene scene(floor);
            start = threadCpuMs();
            for (int frame = 0; frame < kTicks; ++frame)
                scene.scene.core->updatePhysics();
            (floor == 200 ? small : big) += threadCpuMs() - start;
        }
    }
    const double n = double(state.iterations());
    state.counters["big_floor_ms"] = big / n;
    state.counters["small_floor_ms"] = small / n;
    state.counters["plain_ms"] = plain / n;
    state.counters["vs_small_floor"] = big / std::max(small, 1e-9);
    state.counters["vs_plain"] = big / std::max(plain, 1e-9);
}

// 500 keyed layers as Kinematic bodies: the whole tick (range 1), the world's
// step alone with the same sub-steps (range 0), or the whole tick asking the
// host everything about each layer on every tick, as before what cannot
// change was kept (range 2).
void BM_Tick500Kinematic(benchmark::State& state)
{
    constexpr int kTicks = 50;
    const bool whole = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::GridScene scene(500, SceneControls{}, true);
        for (MyBody& record : scene.core->bodies)
            if (record.type != BodyType::Static)
                record.type = BodyType::Kinematic;
        scene.core->keepFollowing = state.range(0) != 2;
        scene.core->restartAndPlayAnimation();
        const auto world = bench::plainCopy(*scene.core->world);
        const int substeps = int(SceneControls{}.substeps);
        const float h = 1.0f / 25.0f / float(substeps);
        state.ResumeTiming();
        for (int frame = 0; frame < kTicks; ++frame) {
            if (whole) {
                scene.core->updatePhysics();
            } else {
                for (int k = 0; k < substeps; ++k)
                    world->Step(h, 10, 10);
            }
        }
    }
    state.counters["ticks_per_s"] = benchmark::Counter(kTicks, benchmark::Counter::kIsIterationInvariantRate);
}

// 200 solids of 40 x 40 stacked a few pixels apart over a floor, each with
// an elliptic mask (range 1) or without one (range 0: the layer's box).
QByteArray overlappingJson(bool masked)
{
    QStringList layers;
    const QString mask = QStringLiteral(
        R"(, "masks": [{"name": "E", "shape": {"vertices": [[20, 0, -11, 0, 11, 0], [40, 20, 0, -11, 0, 11],
                                                           [20, 40, 11, 0, -11, 0], [0, 20, 0, 11, 0, -11]]}}])");
    for (int i = 0; i < 200; ++i)
        layers << QStringLiteral(R"({"id": %1, "type": "solid", "source": 1, "transform": {"position": [%2, %3]}%4})")
                      .arg(i + 1)
                      .arg(1500 + (i % 7) * 3)
                      .arg(1500 + (i % 5) * 3)
                      .arg(masked ? mask : QString());
    return bench::withFloor(layers);
}

void BM_Overlapping200(benchmark::State& state)
{
    constexpr int kTicks = 50;
    // Range 1: 1 the plug-in's ticks, 0 Box2D's own unpatched code stepping
    // a copy of the same world with the same sub-steps and iterations.
    const bool ours = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        standin::LoadError error;
        auto project = standin::Project::fromJson(overlappingJson(state.range(0) != 0),
                                                  QStringLiteral("/bench/overlap.aep"), &error);
        auto session = std::make_unique<standin::HostSession>(*project, bench::kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        auto core = std::make_unique<SimulationCore>(session->basicSuite(), bench::kPluginId);
        core->limiter.disable();
        core->readComposition();
        core->listBodyLayers();
        core->initWorld(false);
        core->initMyBodies();
        core->bodies.back().type = BodyType::Static;
        core->restartAndPlayAnimation();
        int fixtures = 0;
        for (const MyBody& record : core->bodies)
            for (const b2Fixture* f = record.body ? record.body->GetFixtureList() : nullptr; f; f = f->GetNext())
                ++fixtures;
        state.counters["fixtures_per_body"] = double(fixtures) / double(core->bodies.size());
        std::unique_ptr<b2plain::b2World> plain;
        if (!ours)
            plain = bench::plainCopy(*core->world);
        const int substeps = int(std::clamp(std::trunc(core->controls.substeps), 1.0, 1000.0));
        const float h = float(1.0 / (core->controls.timeDivider * core->fps) / substeps);
        state.ResumeTiming();
        for (int frame = 0; frame < kTicks; ++frame) {
            if (ours) {
                core->updatePhysics();
            } else {
                for (int k = 0; k < substeps; ++k)
                    plain->Step(h, 10, 10);
            }
        }
        state.PauseTiming();
        plain.reset();
        core.reset();
        session.reset();
        project.reset();
        state.ResumeTiming();
    }
    state.counters["ticks_per_s"] = benchmark::Counter(kTicks, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(BM_Overlapping200)->Args({0, 1})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Tick500Kinematic)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tick500Magnets)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tick2000WithOneMagnet)->Arg(0)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FrameTick)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RawWorldSteps)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildWorldFrom500Records)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export200LayersOf250Frames)->Unit(benchmark::kMillisecond)->Iterations(3);
