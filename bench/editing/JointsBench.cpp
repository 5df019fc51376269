// The joints' speed targets, in the main window over a stand-in composition
// (needs a display: run under xvfb-run):
// - every-pair distance joints between 100 bodies (4,950 joints): the add
//   command, its undo and its redo, each under 300 ms;
// - a body click in a scene with 2,016 joints (every pair of 64 bodies),
//   with the selection and the joints table's filtering: under 50 ms.
#include "host/EntryPoint.h"
#include "mainwindow/ZolvarDlg.h"
#include "project/Project.h"
#include "simulation/SimulationView.h"
#include "suites/HostSession.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <memory>
#include <numeric>

namespace {

constexpr int kPluginId = 7;

QApplication& app()
{
    static QTemporaryDir* home = [] {
        auto* dir = new QTemporaryDir;
        qputenv("HOME", dir->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (dir->path() + QStringLiteral("/.config")).toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir->path() + QStringLiteral("/.config"));
        return dir;
    }();
    (void)home;
    static int argc = 1;
    static char name[] = "joints-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

QByteArray gridJson(int count)
{
    QStringList layers;
    for (int i = 0; i < count; ++i)
        layers << QStringLiteral(R"({"id": %1, "type": "solid", "source": 1, "transform": {"position": [%2, %3]}})")
                      .arg(i + 1)
                      .arg(200 + (i % 10) * 120)
                      .arg(200 + (i / 10) * 120);
    return QStringLiteral(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "footage": [{"id": 1, "name": "Piece", "kind": "solid", "width": 40, "height": 40}],
        "compositions": [{"id": 10, "name": "Main", "width": 1600, "height": 1600, "frameRate": 25,
                          "duration": 20, "layers": [%1]}]})")
        .arg(layers.join(QLatin1Char(',')))
        .toUtf8();
}

// The window over `count` bodies, every pair of them joined when asked.
struct JointScene {
    explicit JointScene(int count)
    {
        app();
        standin::LoadError error;
        project = standin::Project::fromJson(gridJson(count), QStringLiteral("/bench/joints.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        window = std::make_unique<ZolvarDlg>(nullptr, Qt::Tool, &app(), session->basicSuite(), kPluginId,
                                             QStringLiteral("/bench/joints"));
        window->resize(1200, 800);
        window->show();
        view = window->simulationView();
        view->getTimer()->stop();
        stack = view->getUndoStack();
        all.resize(size_t(count));
        std::iota(all.begin(), all.end(), 0);
        view->setJointModifiersOverride(Qt::ControlModifier | Qt::AltModifier);
    }

    void addEveryPair()
    {
        view->selectBodies(all);
        view->addDistanceJointBetweenSelectedBodies();
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view = nullptr;
    QUndoStack* stack = nullptr;
    std::vector<int> all;
};

void BM_AddEveryPairOf100(benchmark::State& state)
{
    JointScene scene(100);
    scene.view->selectBodies(scene.all);
    for (auto _ : state) {
        scene.view->addDistanceJointBetweenSelectedBodies();
        state.PauseTiming();
        if (scene.view->joints.size() != 4950)
            state.SkipWithError("not 4950 joints");
        scene.stack->undo();
        scene.stack->clear();
        state.ResumeTiming();
    }
    state.SetLabel("4950 joints");
}

void BM_UndoEveryPairOf100(benchmark::State& state)
{
    JointScene scene(100);
    scene.addEveryPair();
    for (auto _ : state) {
        scene.stack->undo();
        state.PauseTiming();
        if (!scene.view->joints.empty())
            state.SkipWithError("joints left");
        scene.stack->redo();
        state.ResumeTiming();
    }
}

void BM_RedoEveryPairOf100(benchmark::State& state)
{
    JointScene scene(100);
    scene.addEveryPair();
    for (auto _ : state) {
        state.PauseTiming();
        scene.stack->undo();
        state.ResumeTiming();
        scene.stack->redo();
    }
}

// Clicks alternate between two bodies, each with 63 of the 2,016 joints.
void BM_BodyClickAmong2016Joints(benchmark::State& state)
{
    JointScene scene(64);
    scene.addEveryPair();
    scene.view->selectBodies({});
    int body = 0;
    for (auto _ : state) {
        const b2Vec2 at = scene.view->bodies[size_t(body)].position;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        scene.view->doClickAtPointInSelectionMode(at, &press);
        state.PauseTiming();
        if (scene.view->getSelectedRows2() != std::vector<int>{body})
            state.SkipWithError("the click selected something else");
        body = body == 0 ? 37 : 0;
        state.ResumeTiming();
    }
    state.SetLabel("2016 joints");
}

// A click on no body after a body click: the 1,953 hidden rows are listed
// again.
void BM_EmptyClickAmong2016Joints(benchmark::State& state)
{
    JointScene scene(64);
    scene.addEveryPair();
    const b2Vec2 nowhere(-1.0e4f, -1.0e4f);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    for (auto _ : state) {
        state.PauseTiming();
        scene.view->doClickAtPointInSelectionMode(scene.view->bodies[0].position, &press);
        state.ResumeTiming();
        scene.view->doClickAtPointInSelectionMode(nowhere, &press);
        state.PauseTiming();
        if (!scene.view->getSelectedRows2().empty())
            state.SkipWithError("the click selected something");
        state.ResumeTiming();
    }
    state.SetLabel("2016 joints");
}

} // namespace

BENCHMARK(BM_AddEveryPairOf100)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UndoEveryPairOf100)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RedoEveryPairOf100)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BodyClickAmong2016Joints)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_EmptyClickAmong2016Joints)->Unit(benchmark::kMillisecond)->Iterations(20);
