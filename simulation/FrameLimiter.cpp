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

double FrameLimiter::tick(bool restartMeasure, double fps)
{
    if (lastTickMs == 0 || restartMeasure)
        lastTickMs = clock();
    const qint64 now = clock();
    double elapsed = double(now - lastTickMs);
    if (elapsed == 0.0)
        elapsed = 0.001;
    lastTickMs = now;
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
