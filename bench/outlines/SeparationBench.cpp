// Separating a shape layer of many groups into one layer per group: the
// copies are split by halves, so the work grows as n log n, not n squared.
#include "host/AEGP_SuiteHandler.h"
#include "outlines/LayerSeparation.h"
#include "outlines/SeparationSupport.h"
#include "project/Project.h"
#include "suites/HostSession.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

#include <memory>

namespace {

constexpr AEGP_PluginID kPluginId = 5;

// One shape layer of n groups, each a rectangle, with a top-level fill.
QByteArray manyGroups(int n)
{
    QByteArray groups;
    for (int i = 0; i < n; ++i)
        groups += (i ? "," : "") + QByteArray(R"({"matchName": "ADBE Vector Group", "name": "G)") +
                  QByteArray::number(i) + R"(", "transform": {"ADBE Vector Position": [)" + QByteArray::number(i) +
                  R"(, 0]}, "contents": [{"matchName": "ADBE Vector Shape - Rect"}]})";
    return R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"name": "Main", "width": 1000, "height": 500, "frameRate": 25, "duration": 10,
            "layers": [{"type": "shape", "name": "Many", "contents": [)" +
           groups + R"(, {"matchName": "ADBE Vector Graphic - Fill"}]}]}]})";
}

void quiet(const QString&, const QString&) {}

void BM_SeparateShapeGroups(benchmark::State& state)
{
    const int n = int(state.range(0));
    const QByteArray json = manyGroups(n);
    const SeparationMessageHandler previous = setSeparationMessageHandler(&quiet);
    for (auto _ : state) {
        state.PauseTiming();
        standin::LoadError error;
        auto project = standin::Project::fromJson(json, QStringLiteral("/bench/separation.aep"), &error);
        if (!project) {
            state.SkipWithError(error.toString().toUtf8().constData());
            break;
        }
        auto session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
        state.ResumeTiming();
        if (separateLayerShapes(session->basicSuite(), kPluginId, 0) != A_Err_NONE) {
            state.SkipWithError("the separation failed");
            break;
        }
        state.PauseTiming();
        session.reset();
        project.reset();
        state.ResumeTiming();
    }
    setSeparationMessageHandler(previous);
    state.SetComplexityN(n);
}

BENCHMARK(BM_SeparateShapeGroups)->RangeMultiplier(4)->Range(32, 2048)->Complexity()->Unit(benchmark::kMillisecond);

} // namespace
