// Building the world for bodies of many triangles: a text layer of 1,000,
// 2,000 and 4,000 characters and a rounded star of 10,000 points. Set-up
// must stay linear in the triangle count (under 200 ms for 2,000 characters
// and for the star).
#include "host/EntryPoint.h"
#include "project/Project.h"
#include "simulation/SimulationCore.h"
#include "suites/HostSession.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <memory>
#include <string>

namespace {

constexpr int kPluginId = 7;

QByteArray projectJson(const QString& layer)
{
    return QStringLiteral(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"id": 10, "name": "Main", "width": 3000, "height": 3000, "frameRate": 25,
                          "duration": 20, "layers": [%1]}]})")
        .arg(layer)
        .toUtf8();
}

QString textLayer(int characters)
{
    const QString words = QStringLiteral("Physics for motion designers ");
    QString text;
    while (text.size() < characters)
        text += words;
    text.truncate(characters);
    return QStringLiteral(R"({"id": 1, "type": "text", "name": "Text", "text": {"text": "%1", "size": 12},
        "transform": {"position": [1500, 1500]}})")
        .arg(text);
}

QString starLayer(int points)
{
    return QStringLiteral(R"({"id": 1, "type": "shape", "name": "Star", "transform": {"position": [1500, 1500]},
        "contents": [{"matchName": "ADBE Vector Group", "contents": [
            {"matchName": "ADBE Vector Shape - Star", "properties": {"ADBE Vector Star Points": %1,
             "ADBE Vector Star Inner Radius": 900, "ADBE Vector Star Outer Radius": 1000,
             "ADBE Vector Star Inner Roundess": 30, "ADBE Vector Star Outer Roundess": 30}},
            {"matchName": "ADBE Vector Graphic - Fill"}]}]})")
        .arg(points);
}

// The core over the project with its records built, ready for set-up.
struct Setup {
    explicit Setup(const QString& layer)
    {
        standin::LoadError error;
        project = standin::Project::fromJson(projectJson(layer), QStringLiteral("/bench/setup.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        core = std::make_unique<SimulationCore>(session->basicSuite(), kPluginId);
        core->limiter.disable();
        core->showWarnings = false;
        core->readComposition();
        core->listBodyLayers();
        core->initWorld(false);
        core->initMyBodies();
    }

    int triangles() const
    {
        int n = 0;
        for (const MyBody& body : core->bodies)
            for (const auto& outline : body.outlines)
                n += int(outline.size());
        return n;
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<SimulationCore> core;
};

void run(benchmark::State& state, const QString& layer)
{
    Setup setup(layer);
    for (auto _ : state) {
        setup.core->initWorld(true);
        setup.core->initScene();
    }
    state.counters["triangles"] = setup.triangles();
    state.counters["triangles_per_s"] =
        benchmark::Counter(setup.triangles(), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SetUpTextLayer(benchmark::State& state)
{
    run(state, textLayer(int(state.range(0))));
}

void BM_SetUpRoundedStar(benchmark::State& state)
{
    run(state, starLayer(int(state.range(0)) / 2));
}

} // namespace

BENCHMARK(BM_SetUpTextLayer)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetUpRoundedStar)->Arg(10000)->Unit(benchmark::kMillisecond);
