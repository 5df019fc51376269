#include "simulation/FrameLimiter.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include <time.h>

namespace {

double cpuMs(clockid_t id)
{
    timespec t{};
    if (clock_gettime(id, &t) != 0)
        return 0.0;
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1.0e6;
}

} // namespace

FrameLimiter::FrameLimiter()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    // Starts at 1 so that 0 keeps meaning "no tick yet".
    clock = [timer] { return timer->elapsed() + 1; };
    sleep = [](double ms) {
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long long>(ms * 1000.0)));
    };
    processCpu = [] { return cpuMs(CLOCK_PROCESS_CPUTIME_ID); };
    threadCpu = [] { return cpuMs(CLOCK_THREAD_CPUTIME_ID); };
}

void FrameLimiter::setClock(Clock newClock, Sleep newSleep)
{
    clock = std::move(newClock);
    sleep = std::move(newSleep);
}

void FrameLimiter::setCpuClocks(CpuClock process, CpuClock thread)
{
    processCpu = std::move(process);
    threadCpu = std::move(thread);
}

void FrameLimiter::disable()
{
    setClock([] { return qint64(1); }, [](double) {});
    setCpuClocks([] { return 0.0; }, [] { return 0.0; });
}

namespace {

double elapsedSince(qint64& last, qint64 now, bool restart)
{
    if (last == 0 || restart)
        last = now;
    double elapsed = double(now - last);
    if (elapsed == 0.0)
        elapsed = 0.001;
    last = now;
    return elapsed;
}

} // namespace

double FrameLimiter::measure(bool restartMeasure)
{
    const qint64 now = clock();
    // A tick measured from itself has no rate yet.
    if (lastTickMs == 0 || restartMeasure || now == lastTickMs) {
        lastTickMs = now;
        return 0.0;
    }
    const double rate = 1000.0 / elapsedSince(lastTickMs, now, false);
    return rate < 0.0 ? 0.0 : rate;
}

void FrameLimiter::workStarted()
{
    if (workDepth++ == 0)
        workStartMs = threadCpu();
}

void FrameLimiter::workEnded()
{
    if (workDepth <= 0)
        return;
    if (--workDepth == 0)
        workMs += std::max(0.0, threadCpu() - workStartMs);
}

FrameLimiter::WorkSpan::WorkSpan(FrameLimiter& limiter, bool active)
    : limiter(active ? &limiter : nullptr)
{
    if (this->limiter)
        this->limiter->workStarted();
}

FrameLimiter::WorkSpan::~WorkSpan()
{
    if (limiter)
        limiter->workEnded();
}

bool FrameLimiter::paintDue(double fps)
{
    const qint64 now = clock();
    const double processMs = processCpu();
    if (!measuring) {
        measuring = true;
        processStartMs = processMs;
        // Work that began before the measure counts from here.
        workMs = workDepth > 0 ? workStartMs - threadCpu() : 0.0;
        paints = 0;
    }
    const double frameMs = fps > 0.0 ? std::min(1000.0 / fps, kMaxFrameMs) : 0.0;
    if (frameMs <= 0.0) {
        // Without a usable rate every tick paints.
        lastPaintMs = now;
        ++paints;
        return true;
    }
    if (paints > 0) {
        // A clock that went back counts as the time passed.
        const double sinceMs = now >= lastPaintMs ? double(now - lastPaintMs) : kMaxPaintGapMs;
        if (sinceMs < std::clamp(frameMs, 1000.0 / kMaxPaintsPerSecond, kMaxPaintGapMs))
            return false;

        // Everything the process spent besides the export's work went into
        // showing it: the paints so far, each of them about as costly.
        const double work = workMs + (workDepth > 0 ? threadCpu() - workStartMs : 0.0);
        const double total = std::max(0.0, processMs - processStartMs);
        const double showing = std::clamp(total - work, 0.0, total);
        paintCostMs = showing / paints;
        if (sinceMs < kMaxPaintGapMs && showing + paintCostMs > kMaxPaintShare * (total + paintCostMs))
            return false;
    }
    lastPaintMs = now;
    ++paints;
    return true;
}

void FrameLimiter::resetPaint()
{
    lastPaintMs = 0;
    measuring = false;
    workDepth = 0;
}

double FrameLimiter::tick(bool restartMeasure, double fps)
{
    const double elapsed = elapsedSince(lastTickMs, clock(), restartMeasure);
    double rate = 1000.0 / elapsed;
    if (rate < 0.0) {
        rate = 0.0;
    } else if (fps > 0.0 && rate > fps) {
        // A composition of less than a frame a second plays one frame a
        // second: the window must not freeze for a whole frame.
        const double rest = std::min(1000.0 / fps, kMaxFrameMs) - elapsed;
        if (rest > 0.0)
            sleep(rest);
        rate = fps;
    }
    return rate;
}
