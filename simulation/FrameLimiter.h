// Keeps playback at most at the composition's frame rate and measures the
// rate reached. The clock is monotonic (milliseconds) and, like the sleep,
// can be replaced, so that tests and benchmarks neither wait nor depend on
// the wall clock.
#pragma once

#include <QtGlobal>

#include <functional>

class FrameLimiter
{
public:
    // The longest a tick waits, however slow the composition's rate.
    static constexpr double kMaxFrameMs = 1000.0;

    using Clock = std::function<qint64()>;          // milliseconds, monotonic
    using Sleep = std::function<void(double ms)>;

    // A QElapsedTimer clock and a real sleep.
    FrameLimiter();

    void setClock(Clock clock, Sleep sleep);
    // A clock that stands still and a sleep that returns at once: every tick
    // measures 0 ms and is therefore never slowed down.
    void disable();

    // One running tick at `fps`: measures the time since the previous tick
    // (from now when there was none, or for a single step), sleeps for the
    // rest of the frame when the tick came early, and returns the rate
    // reached (at most fps; never negative).
    double tick(bool restartMeasure, double fps);
    // The same measure without the sleep: an export runs as fast as the
    // machine allows. The rate returned is the one reached, above fps too.
    double measure(bool restartMeasure);

    // The most of an export's wall time that repainting may take.
    static constexpr double kMaxPaintShare = 0.25;

    // While an export records or writes keys (asked once per tick or
    // layer): true when at least one frame at `fps` of wall time has passed
    // since the last true answer (or there was none), so that the view is
    // repainted at most once per composition frame, and when the paints
    // measured so far keep within kMaxPaintShare of the time.
    bool paintDue(double fps);
    // The next paintDue() answers true; the measured paint cost is kept.
    void resetPaint();

    qint64 lastTickMs = 0;  // 0: no tick measured yet
    qint64 lastPaintMs = 0; // 0: no paint during this export yet
    double paintCostMs = 0.0;

private:
    Clock clock;
    Sleep sleep;
    // paintDue()'s measure of the paints between its questions.
    qint64 lastAskMs = 0;
    bool lastAskPainted = false;
    double paintedTickMs = 0.0;
    double plainTickMs = -1.0; // below 0: not measured yet
    double plainTicksMs = 0.0;
    int plainTicks = 0;
};
