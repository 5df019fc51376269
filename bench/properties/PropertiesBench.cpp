// Property edits in a whole main window over the stand-in host (run with a
// display, e.g. under xvfb-run): one edit on 500 selected bodies (command,
// setter and scene rebuild), and "Reset Body Properties" on the 200 bodies
// of the outline benchmark, with its undo.
#include "bench/properties/BenchWindow.h"
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

using bench::Window;

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
