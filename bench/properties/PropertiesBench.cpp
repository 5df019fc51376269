// Property edits in a whole main window over the stand-in host (run with a
// display, e.g. under xvfb-run): one edit on 500 selected bodies (command,
// setter and scene rebuild), and "Reset Body Properties" on the 200 bodies
// of the outline benchmark, with its undo.
#include "bench/outlines/Composition200.h"
#include "bench/simulation/GridScene.h"
#include "mainwindow/ZolvarDlg.h"
#include "properties/EditBox.h"
#include "simulation/SimulationView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <memory>
#include <numeric>

namespace {

QApplication& application()
{
    static QTemporaryDir home;
    static int argc = 1;
    static char name[] = "properties_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
        return new QApplication(argc, argv);
    }();
    return *app;
}

// A main window over the composition, with every body selected.
struct Window
{
    explicit Window(const QByteArray& json)
    {
        QApplication& app = application();
        standin::LoadError error;
        project = standin::Project::fromJson(json, QStringLiteral("/bench/properties.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, bench::kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        // Layers of several outlines bring the separation offer first: the
        // benchmark declines it and keeps the composition as it is.
        QTimer decline;
        QObject::connect(&decline, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        decline.start(10);
        window = std::make_unique<ZolvarDlg>(nullptr, Qt::Tool, &app, session->basicSuite(), bench::kPluginId,
                                             QStringLiteral("/bench/properties"));
        decline.stop();
        view = window->simulationView();
        view->getTimer()->stop();
        view->showTooManyPolygonsWarning = false;
        view->showTriangulationFailedMessage = false;
        rows.resize(view->bodies.size());
        std::iota(rows.begin(), rows.end(), 0);
        view->selectBodies(rows);
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view = nullptr;
    std::vector<int> rows;
};

void BM_PropertyEdit500Bodies(benchmark::State& state)
{
    Window w(bench::gridJson(500));
    QDoubleSpinBox* friction = w.view->form().frictionEt;
    bool high = false;
    for (auto _ : state) {
        high = !high;
        friction->setValue(high ? 0.9 : 0.1);
        emit friction->editingFinished();
    }
    state.counters["bodies"] = double(w.rows.size());
    state.counters["steps"] = double(w.view->getUndoStack()->count());
}
BENCHMARK(BM_PropertyEdit500Bodies)->Unit(benchmark::kMillisecond);

// Every body away from its defaults, so that the reset changes them all.
void unsettle(Window& w)
{
    w.view->setFriction(std::vector<float>(w.rows.size(), 0.9f), w.rows);
    w.view->setMeshPrecision(std::vector<int>(w.rows.size(), 3), w.rows);
}

void BM_ResetBodyProperties200(benchmark::State& state)
{
    Window w(bench::composition200());
    for (auto _ : state) {
        state.PauseTiming();
        unsettle(w);
        state.ResumeTiming();
        w.view->resetBodiesProperties(w.rows);
    }
    state.counters["bodies"] = double(w.rows.size());
}
BENCHMARK(BM_ResetBodyProperties200)->Unit(benchmark::kMillisecond);

void BM_ResetBodyProperties200Undo(benchmark::State& state)
{
    Window w(bench::composition200());
    QUndoStack* stack = w.view->getUndoStack();
    for (auto _ : state) {
        state.PauseTiming();
        unsettle(w);
        w.view->resetBodiesProperties(w.rows);
        state.ResumeTiming();
        stack->undo();
    }
}
BENCHMARK(BM_ResetBodyProperties200Undo)->Unit(benchmark::kMillisecond);

} // namespace
