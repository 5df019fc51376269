// Separating a shape layer of many groups into one layer per group: the
// copies are split by halves, so the work grows as n log n, not n squared.
// Deciding whether such a layer is offered: rings nested in one another cost
// about what the same rings side by side do, and keyed rings about what the
// same rings unkeyed do; circles drifting apart on a grid cost what the same
// circles still do and little more (reading where each lies at each frame),
// and so do gears turning in place, stroked or not; of layers that each need
// more than an even share of the start's bound, those that need least are
// offered, as many as fit; stars drifting until some meet are left out in a
// few times what the same stars still take. Combs sliding along one another,
// compared piece by piece at every frame, cost what that comparison counts. A
// large simple star under a non-zero fill costs what the same star even-odd
// does, and little more.
#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "separation/GroupOverlap.h"
#include "separation/SeparableContent.h"
#include "mainwindow/LayerSeparationScan.h"
#include "separation/LayerSeparation.h"
#include "separation/SeparationSupport.h"
#include "project/Project.h"
#include "suites/HostSession.h"
#include "tests/outlines/KeyedLayers.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

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

using namespace keyed_layers;

// Times the offer's decision on `json`, whose one layer is offered, or left
// whole when `offeredLayers` is 0.
void offerOneLayer(benchmark::State& state, const QByteArray& json, size_t offeredLayers = 1)
{
    standin::LoadError error;
    auto project = standin::Project::fromJson(json, QStringLiteral("/bench/offer.aep"), &error);
    if (!project) {
        state.SkipWithError(error.toString().toUtf8().constData());
        return;
    }
    standin::HostSession session(*project, kPluginId, std::string());
    for (auto _ : state) {
        std::vector<int> offered;
        if (findLayersToSeparate(session.basicSuite(), kPluginId, offered) != A_Err_NONE ||
            offered.size() != offeredLayers) {
            state.SkipWithError(("the layers are judged otherwise than drawn: " + std::to_string(offered.size()) +
                                 " offered")
                                    .c_str());
            break;
        }
    }
}

// Arguments: groups, points per group, nested (1) or side by side (0).
void BM_OfferRingGroups(benchmark::State& state)
{
    offerOneLayer(state, composition(shapeLayer(ringGroups(int(state.range(0)), int(state.range(1)), state.range(2) != 0))));
}

// Keyed rings against the same unkeyed: 0 the 60 nested rings of 1,000
// points, 1 their outermost ring keyed over 199 s, 2 and 3 a small group
// switched off keyed over 199 s and over an hour beside them; 4 two rings of
// 2,000 points side by side, 5 the same drifting 5 px over 99 s.
void BM_OfferKeyedRings(benchmark::State& state)
{
    const QByteArray rings = ringGroups(60, 1000, true);
    switch (state.range(0)) {
    case 0: return offerOneLayer(state, composition(shapeLayer(rings), 3700));
    case 1: return offerOneLayer(state, composition(shapeLayer(ringGroups(60, 1000, true, 199)), 3700));
    case 2: return offerOneLayer(state, composition(shapeLayer(rings + smallGroupOff(199)), 3700));
    case 3: return offerOneLayer(state, composition(shapeLayer(rings + smallGroupOff(3600)), 3700));
    case 4: return offerOneLayer(state, composition(shapeLayer(ringPair(2000, 0)), 100));
    default: return offerOneLayer(state, composition(shapeLayer(ringPair(2000, 99)), 100));
    }
}

// Circles of 32 points on a grid 60 px apart drifting apart, against the
// same still. Arguments: layers, circles in each, seconds they drift over
// (0: still), frames a second, layers offered (all when -1).
void BM_OfferDriftingCircles(benchmark::State& state)
{
    const int layers = int(state.range(0)), seconds = int(state.range(2));
    QByteArray all;
    for (int i = 0; i < layers; ++i)
        all += (i ? "," : "") + shapeLayer(driftingCircles(int(state.range(1)), seconds));
    offerOneLayer(state, composition(all, std::max(10, seconds), int(state.range(3))),
                  size_t(state.range(4) < 0 ? layers : state.range(4)));
}

// Gears turning in place 110 px apart (their outlines 22 px apart), against
// the same still. Arguments: groups, points per gear, seconds they turn over
// (0: still); groups 0: a ring of 6,000 points turning half round and
// growing to 120 % over 5 s beside a square, or still.
void BM_OfferTurningGroups(benchmark::State& state)
{
    const int groups = int(state.range(0)), seconds = int(state.range(2));
    const QByteArray layer = groups > 0 ? turningGears(groups, int(state.range(1)), seconds)
                                        : turningRingBesideSquare(int(state.range(1)), seconds);
    offerOneLayer(state, composition(shapeLayer(layer), std::max(10, seconds)));
}

// Twelve-tooth gears 110 px apart under a mitred 3 px stroke (their bands
// 19 px apart), turning in place at 60 fps, against the same still: judged
// by the rings they sweep, as the unstroked gears are. Arguments: gears,
// seconds (0: still).
void BM_OfferStrokedGears(benchmark::State& state)
{
    const int seconds = int(state.range(1));
    offerOneLayer(state, composition(shapeLayer(turningGears(int(state.range(0)), 24, seconds, 110.0, false, 3.0)),
                                     std::max(10, seconds), 60));
}

// Ten-point stars on a grid drifting each its own way over 9 s, so that
// some come to meet (left out), against the same still (offered).
// Arguments: stars, px apart, px they drift (0: still), layers offered.
void BM_OfferDriftingStars(benchmark::State& state)
{
    const int drift = int(state.range(2));
    offerOneLayer(state, composition(shapeLayer(driftingStars(int(state.range(0)), drift ? 9 : 0, double(state.range(1)),
                                                              double(drift)))),
                  size_t(state.range(3)));
}

// Layers of twelve-tooth gears 110 px apart, each turning round and back
// over the time given, against the same still. Arguments: layers, gears in
// each, seconds (0: still), frames a second, layers offered, the width of a
// stroke about them (none when 0).
void BM_OfferGearLayers(benchmark::State& state)
{
    const int layers = int(state.range(0)), seconds = int(state.range(2));
    const QByteArray gears = turningGears(int(state.range(1)), 24, seconds, 110.0, true);
    QByteArray all;
    for (int i = 0; i < layers; ++i)
        all += (i ? "," : "") + shapeLayer(state.range(5) ? stroked(gears, double(state.range(5))) : gears);
    offerOneLayer(state, composition(all, std::max(10, seconds), int(state.range(3))), size_t(state.range(4)));
}

// Two combs whose slanted teeth lie 16 px apart, one sliding along them
// (compared piece by piece at every frame), against the same still.
// Arguments: teeth of each, seconds (0: still).
void BM_OfferSlidingCombs(benchmark::State& state)
{
    const int seconds = int(state.range(1));
    offerOneLayer(state, composition(shapeLayer(slidingCombs(int(state.range(0)), seconds)), std::max(10, seconds)));
}

// A still star path beside a square: non-zero asks how the star winds, which
// on a simple outline is one sweep of n log n steps; even-odd, in the same
// run, does not ask. Arguments: points, fill rule (1 non-zero, 2 even-odd).
void BM_OfferStarBesideSquare(benchmark::State& state)
{
    offerOneLayer(state, composition(shapeLayer(starBesideSquare(int(state.range(0)), int(state.range(1))), "Star")));
}

// The processor time this process has spent, in seconds.
double processorTime()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// One layer of each kind of keyed art, with how its keyed comparison ends:
// fills drifting apart, and drifting until some meet; fills, stroked
// many-cornered outlines and stroked curves turning in place; combs compared
// piece by piece at every frame; a star reshaped (built again) at every
// frame beside a square.
struct KeyedArt {
    const char* name;
    QByteArray json;
    GroupsMeet verdict;
};

KeyedArt keyedArt(int kind)
{
    const QByteArray star = R"({"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Star",
        "properties": {"ADBE Vector Star Points": 100, "ADBE Vector Star Rotation": )" + keyed("0", "360", 10) +
                            R"(}}]}, {"matchName": "ADBE Vector Group", "contents": [{"matchName":
        "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Position": [400, 0]}}]})";
    switch (kind) {
    case 0: return {"circles drifting", composition(shapeLayer(driftingCircles(50, 600)), 600, 60), GroupsMeet::Apart};
    case 1:
        return {"stars drifting", composition(shapeLayer(driftingStars(100, 9, 100, 120))),
                GroupsMeet::OverlapWhileMoving};
    case 2:
        return {"400 stars drifting", composition(shapeLayer(driftingStars(400, 9, 100, 120))),
                GroupsMeet::OverlapWhileMoving};
    case 3:
        return {"gears turning", composition(shapeLayer(turningGears(20, 24, 10, 110.0, true)), 10, 60),
                GroupsMeet::Apart};
    case 4:
        return {"stroked gears turning", composition(shapeLayer(stroked(turningGears(20, 24, 10, 110.0, true), 3)), 10, 60),
                GroupsMeet::Apart};
    case 5:
        return {"stroked blobs turning", composition(shapeLayer(stroked(turningBlobs(30, 10), 3)), 10, 60),
                GroupsMeet::Apart};
    case 6: return {"combs sliding", composition(shapeLayer(slidingCombs(40, 6)), 10), GroupsMeet::Apart};
    default: return {"star reshaped", composition(shapeLayer(star), 10), GroupsMeet::Apart};
    }
}

// What the keyed comparison of each kind of art is told to need before it
// runs (estimate) and counts as it runs (counted), against the processor
// time it takes (measured), in seconds; ratio is estimate over measured.
// Argument: the kind (see keyedArt).
void BM_KeyedWorkByArt(benchmark::State& state)
{
    const KeyedArt art = keyedArt(int(state.range(0)));
    state.SetLabel(art.name);
    standin::LoadError error;
    auto project = standin::Project::fromJson(art.json, QStringLiteral("/bench/art.aep"), &error);
    if (!project) {
        state.SkipWithError(error.toString().toUtf8().constData());
        return;
    }
    standin::HostSession session(*project, kPluginId, std::string());
    AEGP_SuiteHandler suites(session.basicSuite());
    double estimate = 0.0, counted = 0.0, measured = 0.0;
    for (auto _ : state) {
        AEGP_ItemH item = nullptr;
        AEGP_CompH comp = nullptr;
        AEGP_LayerH layer = nullptr;
        SeparableContent content;
        KeyedWork keyed;
        if (GetActiveItemComp(suites, item, comp) || suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 0, &layer) ||
            readSeparableContent(suites, session.basicSuite(), kPluginId, layer, AEGP_ObjectType_VECTOR, content,
                                 keyed) ||
            !keyed.pending()) {
            state.SkipWithError("the layer is not read as keyed");
            break;
        }
        const double before = processorTime();
        const GroupsMeet verdict = keyed.run(kMaxComparedWork);
        measured += processorTime() - before;
        estimate += keyed.estimate() * 1e-7;
        counted += keyed.spent() * 1e-7;
        if (verdict != art.verdict) {
            state.SkipWithError(("the comparison ends otherwise than drawn: " + std::to_string(int(verdict))).c_str());
            break;
        }
    }
    const double n = double(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["estimate"] = estimate / n;
    state.counters["counted"] = counted / n;
    state.counters["measured"] = measured / n;
    state.counters["ratio"] = measured > 0.0 ? estimate / measured : 0.0;
}

BENCHMARK(BM_OfferRingGroups)
    ->ArgNames({"groups", "points", "nested"})
    ->Args({60, 1000, 0})
    ->Args({60, 1000, 1})
    ->Args({90, 1500, 0})
    ->Args({90, 1500, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferKeyedRings)->ArgName("layer")->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferDriftingCircles)
    ->ArgNames({"layers", "circles", "seconds", "fps", "offered"})
    ->Args({1, 100, 0, 25, -1})
    ->Args({1, 100, 10, 25, -1})
    ->Args({1, 400, 0, 25, -1})
    ->Args({1, 400, 10, 25, -1})
    ->Args({1, 800, 0, 25, -1})
    ->Args({1, 800, 10, 25, -1})
    ->Args({10, 100, 0, 25, -1})
    ->Args({10, 100, 45, 25, -1})
    ->Args({3, 50, 0, 60, -1})
    ->Args({1, 50, 600, 60, -1})
    ->Args({3, 50, 600, 60, 1})
    ->Args({5, 50, 600, 25, 4})
    ->Args({1, 20, 0, 60, -1})
    ->Args({1, 20, 3600, 60, 0})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferTurningGroups)
    ->ArgNames({"groups", "points", "seconds"})
    ->Args({50, 100, 0})
    ->Args({50, 100, 2})
    ->Args({50, 100, 10})
    ->Args({30, 100, 10})
    ->Args({20, 200, 10})
    ->Args({0, 6000, 0})
    ->Args({0, 6000, 5})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferStrokedGears)
    ->ArgNames({"gears", "seconds"})
    ->Args({20, 0})
    ->Args({20, 10})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferDriftingStars)
    ->ArgNames({"stars", "apart", "drift", "offered"})
    ->Args({100, 100, 0, 1})
    ->Args({100, 100, 120, 0})
    ->Args({400, 100, 0, 1})
    ->Args({400, 100, 120, 0})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferGearLayers)
    ->ArgNames({"layers", "gears", "seconds", "fps", "offered", "stroke"})
    ->Args({5, 50, 0, 60, 5, 0})
    ->Args({1, 50, 600, 60, 1, 0})
    ->Args({4, 50, 600, 60, 1, 0})
    ->Args({5, 50, 600, 60, 1, 0})
    ->Args({5, 10, 0, 60, 5, 3})
    ->Args({1, 10, 600, 60, 1, 3})
    ->Args({5, 10, 600, 60, 5, 3})
    ->Args({1, 20, 0, 60, 1, 3})
    ->Args({1, 20, 10, 60, 1, 3})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferSlidingCombs)
    ->ArgNames({"teeth", "seconds"})
    ->Args({40, 0})
    ->Args({40, 60})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OfferStarBesideSquare)
    ->ArgNames({"points", "rule"})
    ->Args({10000, 2})
    ->Args({10000, 1})
    ->Args({50000, 2})
    ->Args({50000, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_KeyedWorkByArt)->ArgName("kind")->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SeparateShapeGroups)->RangeMultiplier(4)->Range(32, 2048)->Complexity()->Unit(benchmark::kMillisecond);

} // namespace

// Deciding whether a solid of many masks is offered: masks nested in one
// another (left out at the first two that meet) cost about what the same
// masks side by side (all compared, and offered) do.
namespace {

// A solid with n closed circle masks of `points` points each, about one
// centre or in a row; none meets another in the row.
QByteArray circleMasks(int n, int points, bool nested)
{
    QByteArray masks;
    double x = 0.0;
    for (int i = 0; i < n; ++i) {
        const double radius = 20.0 + 6.0 * i;
        const double cx = nested ? 0.0 : x + radius;
        x += 2.0 * radius + 4.0;
        masks += (i ? "," : "") + QByteArray(R"({"shape": {"closed": true, "vertices": [)") +
                 circleVertices(cx, radius, points) + "]}}";
    }
    return R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"name": "Gray", "kind": "solid", "width": 1000, "height": 1000, "color": [0.5, 0.5, 0.5]}],
        "compositions": [{"name": "Main", "width": 1000, "height": 500, "frameRate": 25, "duration": 10,
            "layers": [{"type": "solid", "source": "Gray", "name": "Masks", "masks": [)" +
           masks + "]}]}]}";
}

// Arguments: masks, points per mask, nested (1) or side by side (0).
void BM_OfferCircleMasks(benchmark::State& state)
{
    const bool nested = state.range(2) != 0;
    offerOneLayer(state, circleMasks(int(state.range(0)), int(state.range(1)), nested), nested ? 0 : 1);
}

BENCHMARK(BM_OfferCircleMasks)
    ->ArgNames({"masks", "points", "nested"})
    ->Args({100, 256, 0})
    ->Args({100, 256, 1})
    ->Args({200, 128, 0})
    ->Args({200, 128, 1})
    ->Args({300, 64, 0})
    ->Args({300, 64, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
