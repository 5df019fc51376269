// The export inside the process against plain Box2D, side by side in one
// run, on the composition bench/wholerun/make-composition.py writes (solids,
// masked solids and star shape layers above a floor, 1920 x 1080, 25 fps):
//
// - ours: the frame ticks record the range, the keys are written into the
//   stand-in host layer by layer (KeyframeExport, as the view does once the
//   end frame is recorded) and the project is saved (the stand-in's writer,
//   to a file);
// - plain: Box2D's own code without the project's patches (PlainWorld.h)
//   stepping a copy of every body and fixture of the world built from the
//   same records, with the same sub-steps and iterations over the same
//   frames, then as many keys as ours wrote inserted into the same stand-in
//   project (one batch per stream).
//
// Both start from a built scene. Target at 200 layers x 250 frames: ours
// at most 3 x plain (the "ratio" counter).
//
// BM_WholeExportAgainstPlainBox2D runs the export as a user does, in a
// process of its own: the stand-in host (build/standin/zolvar-host) loads
// the same composition from a file, opens the plug-in's window and exports
// the range; its processor time (every thread: the view's software renderer
// included) is set against plain Box2D stepping the same world in this
// process. It needs a display (run the bench under xvfb-run -a). Counters,
// in processor milliseconds: whole_ms (the export), one_frame_ms (the same
// project exporting frame 0 only: start-up, window, fonts), plain_ms, ours_ms
// (the export inside this process, without window); ratio = (whole -
// one_frame) / plain, whole_ratio = whole / plain, and besides_share = 1 - ours
// / (whole - one_frame), what the host process spends besides that work
// (the view, the host's own bookkeeping and writing): an upper bound of the
// view's share. Targets: ratio at most 3 at 200 x 250; whole_ratio at most
// 2.5 at 2,000 x 1,000 apart.
//
// BM_WholeExportWithThePointerMoving times the same export by the stand-in
// host (wall time) with the display's pointer still beside the window and
// moving over the scene view every 20 ms (xdotool, under xvfb-run -a):
// ratio = moving / still, at most 1.5 at 500 x 2,000.
#include "bench/simulation/PlainWorld.h"
#include "host/AEGP_SuiteHandler.h"
#include "host/EntryPoint.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Project.h"
#include "project/Transform.h"
#include "simulation/KeyframeExport.h"
#include "simulation/SimulationCore.h"
#include "simulation/ZolvarWorld.h"
#include "suites/HostSession.h"

#include <benchmark/benchmark.h>

#include <QStringList>
#include <QTemporaryDir>

#include <QDir>
#include <QFile>

#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kPluginId = 7;

// make-composition.py LAYERS: a third solids, a third solids with an
// elliptic mask, a third star shape layers, in a grid, and a floor; with
// `apart`, as with --sparse --no-floor (3000 x 2400, no floor).
QByteArray compositionJson(int count, bool apart)
{
    const double width = apart ? 3000 : 1920, height = apart ? 2400 : 1080;
    const int cols = std::max(1, int(std::sqrt(count * (width - 80) / (height - 180))));
    const int rows = std::max(1, (count + cols - 1) / cols);
    const QString ellipse = QStringLiteral(
        R"(, "masks": [{"name": "Ellipse", "shape": {"closed": true, "vertices": [[10, 0, -5.523, 0, 5.523, 0],
           [20, 10, 0, -5.523, 0, 5.523], [10, 20, 5.523, 0, -5.523, 0], [0, 10, 0, 5.523, 0, -5.523]]}}])");
    const QString star = QStringLiteral(
        R"("type": "shape", "contents": [{"matchName": "ADBE Vector Group", "name": "Star Group", "contents": [
           {"matchName": "ADBE Vector Shape - Star", "name": "Polystar Path 1", "properties": {
            "ADBE Vector Star Points": 5, "ADBE Vector Star Inner Radius": 8, "ADBE Vector Star Outer Radius": 18}},
           {"matchName": "ADBE Vector Graphic - Fill", "name": "Fill 1",
            "properties": {"ADBE Vector Fill Color": [1.0, 0.85, 0.1]}}]}])");
    QStringList layers;
    for (int i = 0; i < count; ++i) {
        const double x = 40 + (i % cols) * ((width - 80) / cols);
        const double y = 40 + (i / cols) * ((height - 180) / rows);
        const int kind = i % 3;
        const QString body = kind == 2 ? star
                                       : QStringLiteral(R"("type": "solid", "source": 1%1)")
                                             .arg(kind == 1 ? ellipse : QString());
        layers << QStringLiteral(R"({"id": %1, "name": "L%1", "transform": {"position": [%2, %3]}, %4})")
                      .arg(i + 1)
                      .arg(x, 0, 'g', 17)
                      .arg(y, 0, 'g', 17)
                      .arg(body);
    }
    if (!apart)
        layers << QStringLiteral(R"({"id": %1, "name": "Floor", "type": "solid", "source": 2,
                                      "transform": {"position": [960, 1060]}})")
                      .arg(count + 1);
    return QStringLiteral(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "Piece", "kind": "solid", "width": 20, "height": 20},
                    {"id": 2, "name": "Floor", "kind": "solid", "width": 1920, "height": 40}],
        "compositions": [{"id": 10, "name": "Main", "width": %2, "height": %3, "frameRate": 25,
                          "duration": 60, "layers": [%1]}]})")
        .arg(layers.join(QLatin1Char(',')))
        .arg(width)
        .arg(height)
        .toUtf8();
}

// The simulation core writing its keys as the view does when the recording
// ends.
class ExportingCore : public SimulationCore
{
public:
    using SimulationCore::SimulationCore;
    QString problem;

protected:
    void beginKeyframing(AEGP_CompH target) override
    {
        KeyframeExport writer(basicSuite, pluginId);
        if (!writer.begin(target, exportSettings(), exportBodies(), std::move(bodyTransforms), &problem))
            return;
        bodyTransforms.clear();
        while (!writer.writeNextLayer()) {
        }
    }
};

// The composition loaded into a session, its bodies built and the world
// made from them, ready to record frames 0 .. frames - 1.
struct Scene {
    Scene(int layers, int frames, bool apart)
    {
        standin::LoadError error;
        project = standin::Project::fromJson(compositionJson(layers, apart), QStringLiteral("/bench/export.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        core = std::make_unique<ExportingCore>(session->basicSuite(), kPluginId);
        core->limiter.disable();
        // As the window's default: the keys go into a copy of the composition.
        core->controls.applyToNewComp = true;
        core->readComposition();
        core->listBodyLayers();
        core->initWorld(false);
        core->initMyBodies();
        core->startExport(0, frames - 1);
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ExportingCore> core;
};

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Plain Box2D stepping a copy of a built scene's world with the scene's
// gravity, sub-steps and iterations.
struct PlainRun {
    explicit PlainRun(SimulationCore& core)
        : world(bench::plainCopy(*core.world)),
          substeps(int(std::clamp(std::trunc(core.controls.substeps), 1.0, 1000.0))),
          h(float(1.0 / (core.controls.timeDivider * core.fps) / substeps))
    {
        const float d = float(core.controls.gravityDirection) * b2_pi / 180.0f;
        const float m = float(core.controls.gravityMagnitude);
        world->SetGravity(b2plain::b2Vec2(std::cos(d) * m, std::sin(d) * m));
    }
    void step(int frames)
    {
        for (int frame = 0; frame < frames; ++frame)
            for (int k = 0; k < substeps; ++k)
                world->Step(h, 10, 10);
    }

    std::unique_ptr<b2plain::b2World> world;
    int substeps;
    float h;
};

void BM_ExportAgainstPlainBox2D(benchmark::State& state)
{
    const int layers = int(state.range(0));
    const int frames = int(state.range(1));
    const bool apart = state.range(2) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.json"));
    double oursMs = 0.0, plainMs = 0.0;
    double keys = 0.0;
    for (auto _ : state) {
        // Ours (one host session exists at a time).
        auto ours = std::make_unique<Scene>(layers, frames, apart);
        auto start = Clock::now();
        while (ours->core->exporting)
            ours->core->updatePhysics();
        QString problem;
        if (!standin::saveAtomically(*ours->project, path, false, &problem) || !ours->core->problem.isEmpty()) {
            state.SkipWithError("the export failed");
            return;
        }
        const double ours1 = msSince(start);

        // The keys ours wrote, per layer and stream.
        const standin::Composition* written = ours->project->compositionByName(QStringLiteral("Main 2"));
        std::vector<std::pair<int, int>> counts; // position, rotation
        double total = 0.0;
        for (int l = 0; written && l < written->layerCount(); ++l) {
            const standin::Layer* layer = written->layer(l);
            const int p = layer->transformStream(standin::TransformStream::Position)->keyCount();
            const int r = layer->transformStream(standin::TransformStream::Rotation)->keyCount();
            counts.emplace_back(p, r);
            total += p + r;
        }
        ours.reset();

        // Plain.
        Scene plain(layers, frames, apart);
        PlainRun run(*plain.core);
        AEGP_SuiteHandler suites(plain.session->basicSuite());
        AEGP_CompH comp = nullptr;
        AEGP_ItemH item = nullptr;
        suites.ItemSuite7()->AEGP_GetActiveItem(&item);
        suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);

        start = Clock::now();
        run.step(frames);
        for (size_t l = 0; l < counts.size(); ++l) {
            AEGP_LayerH layer = nullptr;
            suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, A_long(l), &layer);
            const std::pair<AEGP_LayerStream, int> streams[] = {{AEGP_LayerStream_POSITION, counts[l].first},
                                                                {AEGP_LayerStream_ROTATION, counts[l].second}};
            for (const auto& [which, count] : streams) {
                AEGP_StreamRefH stream = nullptr;
                suites.StreamSuite4()->AEGP_GetNewLayerStream(kPluginId, layer, which, &stream);
                AEGP_StreamValue2 value{};
                const A_Time zero{0, 25};
                suites.StreamSuite4()->AEGP_GetNewStreamValue(kPluginId, stream, AEGP_LTimeMode_CompTime, &zero, true,
                                                              &value);
                AEGP_AddKeyframesInfoH batch = nullptr;
                suites.KeyframeSuite4()->AEGP_StartAddKeyframes(stream, &batch);
                for (int k = 0; k < count; ++k) {
                    const A_Time t{k, 25};
                    A_long index = 0;
                    suites.KeyframeSuite4()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t, &index);
                    value.val.three_d.x = double(k);
                    suites.KeyframeSuite4()->AEGP_SetAddKeyframe(batch, index, &value);
                }
                suites.KeyframeSuite4()->AEGP_EndAddKeyframes(true, batch);
                suites.StreamSuite4()->AEGP_DisposeStreamValue(&value);
                suites.StreamSuite4()->AEGP_DisposeStream(stream);
            }
        }
        const double plain1 = msSince(start);

        oursMs += ours1;
        plainMs += plain1;
        keys = total;
        state.SetIterationTime((ours1 + plain1) / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = oursMs / n;
    state.counters["plain_ms"] = plainMs / n;
    state.counters["ratio"] = oursMs / std::max(plainMs, 1e-9);
    state.counters["keys"] = keys;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1.0e6;
}

// Plain Box2D stepping a copy of the world `layers` make over `frames`
// frames with the scene's sub-steps and iterations: this thread's
// processor time.
double plainCpuMs(int layers, int frames, bool apart)
{
    Scene plain(layers, frames, apart);
    PlainRun run(*plain.core);
    const double start = threadCpuMs();
    run.step(frames);
    return threadCpuMs() - start;
}

// The export inside this process without window, as BM_ExportAgainstPlainBox2D
// runs it: this thread's processor time.
double oursCpuMs(int layers, int frames, bool apart, const QString& path)
{
    Scene ours(layers, frames, apart);
    const double start = threadCpuMs();
    while (ours.core->exporting)
        ours.core->updatePhysics();
    QString problem;
    standin::saveAtomically(*ours.project, path, false, &problem);
    return threadCpuMs() - start;
}

// Starts `args` with the environment `env` (all of this process's when
// empty), its output thrown away; the process id, or 0.
pid_t spawnQuiet(std::vector<std::string> args, std::vector<std::string> env = {})
{
    std::vector<char*> argv, envp;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argv.data(),
                                     env.empty() ? environ : envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : 0;
}

// Runs `args` to its end; whether it ended well.
bool runQuiet(const std::vector<std::string>& args)
{
    int status = 0;
    const pid_t pid = spawnQuiet(args);
    return pid != 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The display's pointer moved by xdotool every 20 ms over the middle of the
// plug-in's window (the scene view, in the default layout) from 3 s after
// the window shows, until the process group it returns is ended.
pid_t startPointerMoves()
{
    std::string moves;
    for (int i = 0; i < 500; ++i)
        moves += " mousemove --window $w " + std::to_string(553 + (i % 40) * 5) + " " +
                 std::to_string(335 + (i % 23) * 8) + " sleep 0.02";
    const std::string script = "w=$(xdotool search --sync --onlyvisible --name '^Zolvar - ' | head -n 1); sleep 3; "
                               "while :; do xdotool" + moves + "; done";
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<std::string> args = {"/bin/sh", "-c", script};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? pid : 0;
}

struct HostRun {
    double cpuMs = -1.0;   // the process's, all threads, user and system
    double wallMs = -1.0;
};

// Runs the stand-in host on `project`, exporting frames 0 .. last, with its
// own home and preferences in `dir`, with the real pointer moving over its
// view or still beside its window; a negative time when it failed.
HostRun runHost(const QString& project, int last, const QDir& dir, bool movingPointer = false)
{
    const std::string host = ZOLVAR_HOST;
    const std::string file = project.toStdString();
    const std::string range = "0-" + std::to_string(last);
    const std::string output = dir.filePath(QStringLiteral("result.json")).toStdString();
    std::vector<std::string> args = {host, file, "--export", range, "--output", output};

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("HOME=", 0) != 0 && var.rfind("XDG_CONFIG_HOME=", 0) != 0 && var.rfind("STANDIN_PREFS=", 0) != 0)
            env.push_back(var);
    }
    QDir(dir).mkpath(QStringLiteral("home"));
    QDir(dir).mkpath(QStringLiteral("config"));
    env.push_back("HOME=" + dir.filePath(QStringLiteral("home")).toStdString());
    env.push_back("XDG_CONFIG_HOME=" + dir.filePath(QStringLiteral("config")).toStdString());
    env.push_back("STANDIN_PREFS=" + dir.filePath(QStringLiteral("prefs.ini")).toStdString());
    // A long export on a loaded machine outlasts the host's default watchdog.
    if (!std::getenv("ZOLVAR_HOST_TIMEOUT"))
        env.push_back("ZOLVAR_HOST_TIMEOUT=86400");

    const auto start = Clock::now();
    const pid_t pid = spawnQuiet(args, env);
    if (pid == 0)
        return {};
    const pid_t mover = movingPointer ? startPointerMoves() : 0;
    int status = 0;
    rusage usage{};
    const bool ended = wait4(pid, &status, 0, &usage) == pid;
    const double wall = msSince(start);
    if (mover) {
        kill(-mover, SIGTERM);
        waitpid(mover, nullptr, 0);
    }
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), wall};
}

double hostCpuMs(const QString& project, int last, const QDir& dir)
{
    return runHost(project, last, dir).cpuMs;
}

// The composition of `layers` written into `dir`; its path, or empty.
QString writeComposition(const QTemporaryDir& dir, int layers, bool apart)
{
    const QString project = dir.filePath(QStringLiteral("composition.json"));
    QFile file(project);
    if (!file.open(QIODevice::WriteOnly) || file.write(compositionJson(layers, apart)) < 0)
        return QString();
    return project;
}

void BM_WholeExportAgainstPlainBox2D(benchmark::State& state)
{
    const int layers = int(state.range(0));
    const int frames = int(state.range(1));
    const bool apart = state.range(2) != 0;
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display: run the bench under xvfb-run -a");
        return;
    }
    QTemporaryDir dir;
    const QString project = writeComposition(dir, layers, apart);
    if (project.isEmpty()) {
        state.SkipWithError("the composition could not be written");
        return;
    }
    double whole = 0.0, oneFrame = 0.0, plain = 0.0, ours = 0.0;
    for (auto _ : state) {
        const double whole1 = hostCpuMs(project, frames - 1, QDir(dir.path()));
        const double oneFrame1 = hostCpuMs(project, 0, QDir(dir.path()));
        if (whole1 < 0.0 || oneFrame1 < 0.0) {
            state.SkipWithError("the host's export failed");
            return;
        }
        const double plain1 = plainCpuMs(layers, frames, apart);
        const double ours1 = oursCpuMs(layers, frames, apart, dir.filePath(QStringLiteral("ours.json")));
        whole += whole1;
        oneFrame += oneFrame1;
        plain += plain1;
        ours += ours1;
        state.SetIterationTime((whole1 + oneFrame1 + plain1 + ours1) / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["whole_ms"] = whole / n;
    state.counters["one_frame_ms"] = oneFrame / n;
    state.counters["plain_ms"] = plain / n;
    state.counters["ours_ms"] = ours / n;
    state.counters["ratio"] = (whole - oneFrame) / std::max(plain, 1e-9);
    state.counters["whole_ratio"] = whole / std::max(plain, 1e-9);
    state.counters["besides_share"] = 1.0 - ours / std::max(whole - oneFrame, 1e-9);
}

// The stand-in host's export of a pile of `layers` over `frames` frames, its
// wall time with the real pointer still beside the window (still_ms) and
// moving over the scene view every 20 ms (moving_ms): the view and the
// window repaint at the export's pace, not the pointer's. Target: ratio =
// moving / still at most 1.5.
void BM_WholeExportWithThePointerMoving(benchmark::State& state)
{
    const int layers = int(state.range(0));
    const int frames = int(state.range(1));
    // The pointer starts beside the window (1306 x 850 at the top left).
    const std::vector<std::string> aside = {"xdotool", "mousemove", "1900", "1060"};
    if (!std::getenv("DISPLAY") || !runQuiet(aside)) {
        state.SkipWithError("no display or no xdotool: run the bench under xvfb-run -a with xdotool installed");
        return;
    }
    QTemporaryDir dir;
    const QString project = writeComposition(dir, layers, false);
    double still = 0.0, moving = 0.0, stillCpu = 0.0, movingCpu = 0.0;
    for (auto _ : state) {
        runQuiet(aside);
        const HostRun still1 = runHost(project, frames - 1, QDir(dir.path()));
        runQuiet(aside);
        const HostRun moving1 = runHost(project, frames - 1, QDir(dir.path()), true);
        if (project.isEmpty() || still1.wallMs < 0.0 || moving1.wallMs < 0.0) {
            state.SkipWithError("the host's export failed");
            return;
        }
        still += still1.wallMs;
        moving += moving1.wallMs;
        stillCpu += still1.cpuMs;
        movingCpu += moving1.cpuMs;
        state.SetIterationTime((still1.wallMs + moving1.wallMs) / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["still_ms"] = still / n;
    state.counters["moving_ms"] = moving / n;
    state.counters["still_cpu_ms"] = stillCpu / n;
    state.counters["moving_cpu_ms"] = movingCpu / n;
    state.counters["ratio"] = moving / std::max(still, 1e-9);
}

} // namespace

BENCHMARK(BM_WholeExportWithThePointerMoving)
    ->Args({500, 2000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(BM_WholeExportAgainstPlainBox2D)->Args({200, 250, 0})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK(BM_ExportAgainstPlainBox2D)
    ->Args({200, 250, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 2,000 layers apart without a floor (range 2) over 1,000 frames, with
// ZOLVAR_BENCH_LONG set: it takes minutes, their fall soon making Box2D pair
// every body with the ones above and below it.
const bool longRegistered = std::getenv("ZOLVAR_BENCH_LONG")
    && benchmark::RegisterBenchmark("BM_ExportAgainstPlainBox2D", BM_ExportAgainstPlainBox2D)
           ->Args({2000, 1000, 1})
           ->UseManualTime()
           ->Unit(benchmark::kMillisecond)
           ->Iterations(1);

const bool wholeLongRegistered = std::getenv("ZOLVAR_BENCH_LONG")
    && benchmark::RegisterBenchmark("BM_WholeExportAgainstPlainBox2D", BM_WholeExportAgainstPlainBox2D)
           ->Args({2000, 1000, 1})
           ->UseManualTime()
           ->Unit(benchmark::kMillisecond)
           ->Iterations(1);
