// Building the bodies of a whole composition, triangulating one large
// outline with holes, and very large outlines from the layer to the body's
// fixtures: a mask of 200,000 vertices (plain, crossing itself once, or a
// tangle of crossings), a rounded star of 10,000 points and a text of 10,000
// characters. Each of the last must be ready in under 5 s and 500 MB; the
// counters give the peak memory of the run (peak_MB) and the triangles.
#include "host/EntryPoint.h"
#include "model/MyBody.h"
#include "outlines/BodyFromLayer.h"
#include "outlines/OutlineMessages.h"
#include "outlines/OutlineTriangulation.h"
#include "project/Project.h"
#include "simulation/SimulationCore.h"
#include "suites/HostSession.h"
#include "host/AEGP_SuiteHandler.h"
#include "bench/outlines/Composition200.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace outline_test;
using bench::circleVertices;
using bench::composition200;

constexpr AEGP_PluginID kPluginId = 5;

void BM_BuildComposition200(benchmark::State& state)
{
    standin::LoadError error;
    auto project = standin::Project::fromJson(composition200(), QStringLiteral("/bench/outlines.aep"), &error);
    if (!project) {
        state.SkipWithError(error.toString().toUtf8().constData());
        return;
    }
    standin::HostSession session(*project, kPluginId, std::string());
    SPBasicSuite* basic = session.basicSuite();
    std::vector<int> types;
    {
        AEGP_SuiteHandler suites(basic);
        AEGP_ItemH item = nullptr;
        AEGP_CompH comp = nullptr;
        suites.ItemSuite8()->AEGP_GetActiveItem(&item);
        suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
        for (int i = 0; i < 200; ++i) {
            AEGP_LayerH layer = nullptr;
            AEGP_ObjectType type = 0;
            suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, i, &layer);
            suites.LayerSuite7()->AEGP_GetLayerObjectType(layer, &type);
            types.push_back(int(type));
        }
    }
    const std::vector<char> labels(200, 3);
    const std::vector<AEGP_ColorVal> colors(16, AEGP_ColorVal{1, 0.5, 0.5, 0.5});
    size_t outlines = 0;
    for (auto _ : state) {
        std::vector<MyBody> bodies(200);
        for (int i = 0; i < 200; ++i) {
            AEGP_ColorVal color{};
            getBodyFromLayer(nullptr, bodies, i, i, types[size_t(i)], color, kPluginId, basic, labels, colors,
                             QStringLiteral("Layer"), 4, false);
        }
        outlines = 0;
        for (const MyBody& b : bodies)
            for (const auto& g : b.outlines)
                outlines += g.size();
        benchmark::DoNotOptimize(bodies.data());
        session.log().clear();
    }
    state.counters["outlines"] = double(outlines);
}
BENCHMARK(BM_BuildComposition200)->Unit(benchmark::kMillisecond);

void BM_Triangulate2000With20Holes(benchmark::State& state)
{
    std::vector<ShapeDef> outlines(1);
    outlines[0].closed = true;
    for (int i = 0; i < 2000; ++i) {
        const double a = 2 * M_PI * i / 2000;
        const double r = 1000 + 40 * std::sin(12 * a);  // a wavy rim
        outlines[0].points.emplace_back(float(r * std::cos(a)), float(r * std::sin(a)));
    }
    for (int h = 0; h < 20; ++h) {
        ShapeDef hole;
        hole.closed = true;
        const double cx = -600 + 300 * (h % 5), cy = -450 + 300 * (h / 5);
        for (int i = 0; i < 24; ++i) {
            const double a = 2 * M_PI * i / 24;
            hole.points.emplace_back(float(cx + 80 * std::cos(a)), float(cy + 80 * std::sin(a)));
        }
        outlines.push_back(hole);
    }
    size_t count = 0;
    for (auto _ : state) {
        std::vector<A_Triangle> triangles;
        bool crossed = false;
        GetTriangulation(nullptr, outlines, triangles, false, crossed);
        count = triangles.size();
        benchmark::DoNotOptimize(triangles.data());
    }
    state.counters["triangles"] = double(count);
}
BENCHMARK(BM_Triangulate2000With20Holes)->Unit(benchmark::kMillisecond);

QByteArray largeProject(const QByteArray& layer)
{
    return R"({"format": "zolvar-standin-project",
               "footage": [{"id": 1, "name": "Solid", "kind": "solid", "width": 2000, "height": 2000,
                            "color": [1, 0, 0]}],
               "compositions": [{"id": 100, "name": "Main", "width": 3000, "height": 3000, "frameRate": 25,
                                 "duration": 10, "layers": [)"
           + layer + R"(]}], "activeItem": "Main"})";
}

// A closed mask of 200,000 vertices half a pixel or more apart (closer ones
// would be welded): a wavy rim 40,000 pixels across, a figure eight that
// crosses itself once, or a rim whose every vertex steps back over its
// neighbours, so that every edge crosses a few others.
QByteArray largeMask(int kind)
{
    constexpr int n = 200000;
    QByteArray v;
    v.reserve(n * 24);
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        double x = 0, y = 0;
        if (kind == 1) {
            x = 30000 * std::sin(a);
            y = 30000 * std::sin(a) * std::cos(a);
        } else {
            const double step = 2 * M_PI / n;
            const double b = kind == 2 ? a + (i % 2 ? 2.5 : -2.5) * step : a;
            const double r = 20000 + 400 * std::sin(60 * b);
            x = r * std::cos(b);
            y = r * std::sin(b);
        }
        v += (i ? ", [" : "[") + QByteArray::number(1000 + x, 'f', 3) + ", " + QByteArray::number(1000 + y, 'f', 3)
             + "]";
    }
    return R"({"id": 1, "type": "solid", "source": 1, "transform": {"position": [1500, 1500]},
               "masks": [{"shape": {"closed": true, "vertices": [)"
           + v + "]}}]}";
}

QByteArray roundedStar(int points)
{
    return QStringLiteral(R"({"id": 1, "type": "shape", "transform": {"position": [1500, 1500]},
        "contents": [{"matchName": "ADBE Vector Group", "contents": [
            {"matchName": "ADBE Vector Shape - Star", "properties": {"ADBE Vector Star Points": %1,
             "ADBE Vector Star Inner Radius": 900, "ADBE Vector Star Outer Radius": 1000,
             "ADBE Vector Star Inner Roundess": 30, "ADBE Vector Star Outer Roundess": 30}},
            {"matchName": "ADBE Vector Graphic - Fill"}]}]})")
        .arg(points)
        .toUtf8();
}

QByteArray longText(int characters)
{
    QByteArray text;
    while (text.size() < characters)
        text += "Physics for motion designers ";
    text.truncate(characters);
    return R"({"id": 1, "type": "text", "transform": {"position": [1500, 1500]},
               "text": {"text": ")" + text + R"(", "size": 12}})";
}

// Peak resident memory since the last reset, in MB.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// From the layer's outline to the body's fixtures, once: the bodies are
// built from the layers and the world set up.
void runLarge(benchmark::State& state, const QByteArray& layer)
{
    standin::LoadError error;
    auto project = standin::Project::fromJson(largeProject(layer), QStringLiteral("/bench/large.aep"), &error);
    if (!project) {
        state.SkipWithError(error.toString().toUtf8().constData());
        return;
    }
    standin::HostSession session(*project, kPluginId, std::string());
    session.callEntryPoint(&EntryPointFunc);
    resetPeak();
    const double before = peakMegabytes();
    int triangles = 0;
    int fixtures = 0;
    double bodiesMs = 0.0, fixturesMs = 0.0;
    for (auto _ : state) {
        SimulationCore core(session.basicSuite(), kPluginId);
        core.limiter.disable();
        core.showWarnings = false;
        core.readComposition();
        core.listBodyLayers();
        core.initWorld(false);
        const auto start = std::chrono::steady_clock::now();
        core.initMyBodies();
        const auto built = std::chrono::steady_clock::now();
        core.initScene();
        const auto done = std::chrono::steady_clock::now();
        bodiesMs = std::chrono::duration<double, std::milli>(built - start).count();
        fixturesMs = std::chrono::duration<double, std::milli>(done - built).count();
        triangles = 0;
        fixtures = 0;
        for (const MyBody& body : core.bodies) {
            for (const auto& outline : body.outlines)
                triangles += int(outline.size());
            for (const b2Fixture* f = body.body ? body.body->GetFixtureList() : nullptr; f; f = f->GetNext())
                ++fixtures;
        }
    }
    state.counters["triangles"] = triangles;
    state.counters["fixtures"] = fixtures;
    state.counters["bodies_ms"] = bodiesMs;      // outlines read and triangulated
    state.counters["fixtures_ms"] = fixturesMs;  // the world's bodies and fixtures made
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["grown_MB"] = peakMegabytes() - before;
}

void BM_LargeMaskToFixtures(benchmark::State& state)
{
    runLarge(state, largeMask(int(state.range(0))));
}
// 0 plain, 1 crossing itself once, 2 a tangle.
BENCHMARK(BM_LargeMaskToFixtures)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RoundedStarToFixtures(benchmark::State& state)
{
    runLarge(state, roundedStar(int(state.range(0))));
}
BENCHMARK(BM_RoundedStarToFixtures)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TextToFixtures(benchmark::State& state)
{
    runLarge(state, longText(int(state.range(0))));
}
BENCHMARK(BM_TextToFixtures)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
