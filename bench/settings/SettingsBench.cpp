// The settings files' speed targets, on a stand-in composition of 500
// layers in the main window (run it with a display, e.g. under xvfb-run):
// - saveSettings of the scene with 100 joints and 3 snapshots: under 50 ms;
// - loadSettings of that file: under 50 ms;
// - loading files whose solver and gravity values differ from the scene's;
// - the check before a snapshot is taken (the settings file with one more
//   snapshot, measured against what a load reads): under 50 ms;
// - reading the document alone into checked records.
#include "bench/simulation/GridScene.h"
#include "mainwindow/ZolvarDlg.h"
#include "settings/SettingsDocument.h"
#include "simulation/SimulationView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

constexpr int kBodies = 500;
constexpr int kJoints = 100;
constexpr int kSnapshots = 3;

QApplication& app()
{
    static int argc = 1;
    static char name[] = "settings_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// One window over the grid for the whole run (the stand-in allows one
// session at a time).
struct Scene {
    Scene()
    {
        app();
        standin::LoadError error;
        project = standin::Project::fromJson(bench::gridJson(kBodies - 1), QStringLiteral("/bench/grid.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, bench::kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        const Qt::WindowFlags flags = Qt::Tool | Qt::WindowTitleHint;
        window = std::make_unique<ZolvarDlg>(nullptr, flags, &app(), session->basicSuite(), bench::kPluginId,
                                             QStringLiteral("/bench/grid"));
        view = window->simulationView();
        view->getTimer()->stop();
        for (int j = 0; j < kJoints; ++j) {
            const b2Vec2 at = view->bodies[size_t(j)].position;
            switch (j % 4) {
            case 0:
                view->addDistanceJointBetweenTwoBodies(j, j + 1, b2Vec2(0.0f, 0.0f), b2Vec2(0.0f, 0.0f));
                break;
            case 1:
                view->addRevoluteJointBetweenTwoBodies(j, j + 1, at);
                break;
            case 2:
                view->addPrismaticJointBetweenTwoBodies(j, j + 1, at, b2Vec2(1.0f, 0.0f));
                break;
            default:
                view->addSpringJointBetweenTwoBodies(j, j + 1);
                break;
            }
        }
        view->restartAndStopAnimation(false);
        for (int s = 0; s < kSnapshots; ++s)
            view->addPresets({view->currentScene(true)});
        file = folder.path() + QStringLiteral("/bench.xml");
        view->saveSettings(file, "Most Recent Saved Settings File");
        // The same scene with other solver and gravity values.
        view->setTimeDivider(2.0f);
        view->setCollisionTolerance(20.0f);
        view->setSubsteps(5);
        view->setGravityMagnitude(4.0f);
        view->setGravityDirection(45.0f);
        otherFile = folder.path() + QStringLiteral("/other.xml");
        view->saveSettings(otherFile, "Most Recent Saved Settings File");
    }

    QTemporaryDir folder;
    QString file;
    QString otherFile;
    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view = nullptr;
};

Scene& scene()
{
    static Scene* s = new Scene;
    return *s;
}

void BM_SaveSettings(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.view->saveSettings(s.file, "Most Recent Saved Settings File"));
    state.counters["bodies"] = kBodies;
}

void BM_LoadSettings(benchmark::State& state)
{
    Scene& s = scene();
    const QByteArray path = s.file.toUtf8();
    for (auto _ : state)
        s.view->loadSettings(path.constData(), false, 0);
    state.counters["joints"] = double(s.view->joints.size());
}

// Every load changes the five solver and gravity values, one command each.
void BM_LoadSettingsChangingGlobals(benchmark::State& state)
{
    Scene& s = scene();
    const QByteArray paths[2] = {s.file.toUtf8(), s.otherFile.toUtf8()};
    int turn = 0;
    for (auto _ : state)
        s.view->loadSettings(paths[++turn % 2].constData(), false, 0);
}

void BM_ReadDocument(benchmark::State& state)
{
    Scene& s = scene();
    QFile f(s.file);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        SettingsDocument doc;
        QString problem;
        benchmark::DoNotOptimize(readSettingsDocument(bytes.constData(), size_t(bytes.size()), doc, problem));
    }
    state.counters["bytes"] = double(bytes.size());
}

// What the Take Snapshot button checks first.
void BM_SnapshotCheck(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.view->settingsSaveRefusal(true));
}

} // namespace

BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSettingsChangingGlobals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotCheck)->Unit(benchmark::kMillisecond);
