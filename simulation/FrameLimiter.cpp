#include "simulation/FrameLimiter.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

FrameLimiter::FrameLimiter()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    // Starts at 1 so that 0 keeps meaning "no tick yet".
    clock = [timer] { return timer->elapsed() + 1; };
    sleep = [](double ms) {
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long long>(ms * 1000.0)));
    };
}

void FrameLimiter::setClock(Clock newClock, Sleep newSleep)
{
    clock = std::move(newClock);
    sleep = std::move(newSleep);
}

void FrameLimiter::disable()
{
    setClock([] { return qint64(1); }, [](double) {});
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

bool FrameLimiter::paintDue(double fps)
{
    const qint64 now = clock();
    const double frameMs = fps > 0.0 ? std::min(1000.0 / fps, kMaxFrameMs) : 0.0;

    // What a paint costs: the time from the tick that asked for it to the
    // next tick (its work plus the paint), less what an unpainted tick
    // takes (the mean of the last ticks between two paints).
    if (lastAskMs != 0 && now >= lastAskMs) {
        const double interval = double(now - lastAskMs);
        if (lastAskPainted) {
            paintedTickMs = interval;
        } else {
            plainTicksMs += interval;
            ++plainTicks;
            plainTickMs = plainTicksMs / plainTicks;
        }
        if (plainTickMs >= 0.0)
            paintCostMs = std::max(0.0, paintedTickMs - plainTickMs);
    }
    const bool measuring = lastAskPainted && plainTickMs < 0.0;
    lastAskMs = now;
    lastAskPainted = false;
    if (frameMs <= 0.0) {
        // Without a usable rate every tick paints.
        lastPaintMs = now;
        return true;
    }
    // Until an unpainted tick was measured, a painted one is followed by
    // one without a paint.
    if (measuring)
        return false;

    // Painting takes at most a share of the export's time: on a software
    // renderer a paint can cost more than a frame.
    const double spacingMs = std::max(frameMs, paintCostMs / kMaxPaintShare);
    // A clock that went back counts as a frame passed.
    if (lastPaintMs != 0 && now >= lastPaintMs && double(now - lastPaintMs) < spacingMs)
        return false;
    lastPaintMs = now;
    lastAskPainted = true;
    plainTicksMs = 0.0;
    plainTicks = 0;
    return true;
}

void FrameLimiter::resetPaint()
{
    lastPaintMs = 0;
    lastAskMs = 0;
    lastAskPainted = false;
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
