// The stand-in host's save of a large export: 2,000 layers with 1,001
// position and rotation keys each, streamed to a file. Reports the file's
// size and the process's peak memory (the file must stay under 250 MB).
#include "bench/simulation/GridScene.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Transform.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace {

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

void BM_Save2000LayersOf1001Keys(benchmark::State& state)
{
    standin::LoadError error;
    auto project = standin::Project::fromJson(bench::gridJson(1999), QStringLiteral("/bench/save.aep"), &error);
    standin::Composition* comp = project->activeComposition();
    // Keys as the export writes them: one at a time, without tangents.
    for (int l = 0; l < comp->layerCount(); ++l) {
        standin::PropertyNode* position = comp->layer(l)->transformStream(standin::TransformStream::Position);
        standin::PropertyNode* rotation = comp->layer(l)->transformStream(standin::TransformStream::Rotation);
        for (int f = 0; f <= 1000; ++f) {
            position->addKey(A_Time{f, 25}, standin::Value::threeD(double(300.0f + 0.37f * float(f) + float(l)),
                                                                   double(200.0f + 0.011f * float(f * f)), 0));
            rotation->addKey(A_Time{f, 25}, standin::Value::oneD(double(0.713f * float(f) - 0.5f * float(l))));
        }
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("save.json"));
    for (auto _ : state) {
        QString problem;
        if (!standin::saveAtomically(*project, path, false, &problem))
            state.SkipWithError(problem.toStdString().c_str());
    }
    state.counters["file_MB"] = double(QFileInfo(path).size()) / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}

} // namespace

BENCHMARK(BM_Save2000LayersOf1001Keys)->Unit(benchmark::kMillisecond)->Iterations(1);
