// Pasting body settings onto the 200 bodies of the outline benchmark's
// composition: the paste, its undo and its redo (command, setters and scene
// rebuild), what a history of 100 such pastes costs in memory, and
// "Reset Scene" with its undo.
#include "bench/properties/BenchWindow.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QUndoStack>

#include <unistd.h>

namespace {

using bench::Window;

// Resident memory of the process, in MB.
double residentMB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0.0;
}

// A window whose first body's settings are on the clipboard, all selected.
void prepare(Window& w)
{
    w.view->bodies[0].friction = 0.9f;
    w.view->bodies[0].density = 3.0f;
    w.view->selectBodies({0});
    w.view->OnCopyBodySettings();
    w.view->selectBodies(w.rows);
}

void BM_PasteBodySettings200(benchmark::State& state)
{
    Window w(bench::composition200());
    prepare(w);
    QUndoStack* stack = w.view->getUndoStack();
    for (auto _ : state) {
        w.view->OnPasteBodySettings();
        state.PauseTiming();
        stack->undo();
        state.ResumeTiming();
    }
    state.counters["bodies"] = double(w.rows.size());
}
BENCHMARK(BM_PasteBodySettings200)->Unit(benchmark::kMillisecond);

void BM_PasteBodySettings200Undo(benchmark::State& state)
{
    Window w(bench::composition200());
    prepare(w);
    QUndoStack* stack = w.view->getUndoStack();
    w.view->OnPasteBodySettings();
    for (auto _ : state) {
        stack->undo();
        state.PauseTiming();
        stack->redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteBodySettings200Undo)->Unit(benchmark::kMillisecond);

void BM_PasteBodySettings200Redo(benchmark::State& state)
{
    Window w(bench::composition200());
    prepare(w);
    QUndoStack* stack = w.view->getUndoStack();
    w.view->OnPasteBodySettings();
    for (auto _ : state) {
        state.PauseTiming();
        stack->undo();
        state.ResumeTiming();
        stack->redo();
    }
}
BENCHMARK(BM_PasteBodySettings200Redo)->Unit(benchmark::kMillisecond);

// One iteration: 100 pastes on a fresh history; the counter is the growth
// of resident memory they cause.
void BM_PasteHistory100(benchmark::State& state)
{
    Window w(bench::composition200());
    prepare(w);
    QUndoStack* stack = w.view->getUndoStack();
    stack->setUndoLimit(0);
    double grown = 0.0;
    for (auto _ : state) {
        stack->clear();
        // A first paste warms the allocator up.
        w.view->OnPasteBodySettings();
        const double before = residentMB();
        for (int i = 0; i < 100; ++i)
            w.view->OnPasteBodySettings();
        grown = residentMB() - before;
    }
    state.counters["historyMB"] = grown;
    state.counters["steps"] = double(stack->count());
}
BENCHMARK(BM_PasteHistory100)->Unit(benchmark::kMillisecond)->Iterations(1);

// "Reset Scene" on the same composition: the layers read again into default
// records, the command and the rebuild; then its undo.
void BM_ResetScene200(benchmark::State& state)
{
    Window w(bench::composition200());
    QUndoStack* stack = w.view->getUndoStack();
    for (auto _ : state) {
        w.view->resetScene();
        state.PauseTiming();
        stack->undo();
        state.ResumeTiming();
    }
    state.counters["bodies"] = double(w.rows.size());
}
BENCHMARK(BM_ResetScene200)->Unit(benchmark::kMillisecond);

void BM_ResetScene200Undo(benchmark::State& state)
{
    Window w(bench::composition200());
    QUndoStack* stack = w.view->getUndoStack();
    w.view->resetScene();
    for (auto _ : state) {
        stack->undo();
        state.PauseTiming();
        stack->redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResetScene200Undo)->Unit(benchmark::kMillisecond);

} // namespace
