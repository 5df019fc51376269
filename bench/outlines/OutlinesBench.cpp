// Building the bodies of a whole composition, and triangulating one large
// outline with holes.
#include "model/MyBody.h"
#include "outlines/BodyFromLayer.h"
#include "outlines/OutlineMessages.h"
#include "outlines/OutlineTriangulation.h"
#include "project/Project.h"
#include "suites/HostSession.h"
#include "host/AEGP_SuiteHandler.h"
#include "bench/outlines/Composition200.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cmath>
#include <memory>

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

}  // namespace
