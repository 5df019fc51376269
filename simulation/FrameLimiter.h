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
    // measures 0 ms and is therefore never slowed down. The processor clocks
    // stand still too: an export's redraws are paced by the clock alone.
    void disable();

    // One running tick at `fps`: measures the time since the previous tick
    // (from now when there was none, or for a single step), sleeps for the
    // rest of the frame when the tick came early, and returns the rate
    // reached (at most fps; never negative).
    double tick(bool restartMeasure, double fps);
    // The same measure without the sleep: an export runs as fast as the
    // machine allows. The rate returned is the one reached, above fps too.
    double measure(bool restartMeasure);

    // While an export records or writes keys, the view and its read-outs
    // show how far it got. Showing it (the repaints, the window's
    // composition, the software renderer's threads) may take at most this
    // share of the export's processor time ...
    static constexpr double kMaxPaintShare = 0.1;
    // ... and happens at most this often per second of wall time ...
    static constexpr double kMaxPaintsPerSecond = 5.0;
    // ... but, however costly it is, at least once in this much wall time:
    // a bar that stands still longer looks like a stall to the user (and
    // to whatever watches it).
    static constexpr double kMaxPaintGapMs = 500.0;

    // Processor time in milliseconds: the whole process's (every thread)
    // and the calling thread's. Replaceable like the clock.
    using CpuClock = std::function<double()>;
    void setCpuClocks(CpuClock process, CpuClock thread);

    // The export's own work (a tick, a layer's keys) runs between these on
    // this thread; spans may nest. Whatever else the process spends while
    // the export runs is the cost of showing it.
    void workStarted();
    void workEnded();
    // Asked once per tick or written layer while an export runs: true when
    // the view should show the export's progress now. The first answer of
    // an export is true; then at most kMaxPaintsPerSecond and at most once
    // per frame at `fps` of wall time (a frame counting as kMaxPaintGapMs at
    // most), and only while showing what the export did so far, one more
    // time included, stays within kMaxPaintShare of its processor time; or
    // once kMaxPaintGapMs have passed since the last paint, whatever the
    // share.
    bool paintDue(double fps);
    // Ends an export's measure: the next paintDue() answers true. The
    // measured cost of one showing is kept.
    void resetPaint();

    // Starts and ends a work span, also when the work throws.
    class WorkSpan
    {
    public:
        WorkSpan(FrameLimiter& limiter, bool active);
        ~WorkSpan();
        WorkSpan(const WorkSpan&) = delete;
        WorkSpan& operator=(const WorkSpan&) = delete;

    private:
        FrameLimiter* limiter;
    };

    qint64 lastTickMs = 0;  // 0: no tick measured yet
    qint64 lastPaintMs = 0; // 0: no paint during this export yet
    // Processor time of showing the export once, as measured so far.
    double paintCostMs = 0.0;

private:
    Clock clock;
    Sleep sleep;
    CpuClock processCpu;
    CpuClock threadCpu;
    // The measure of the current export (paintDue()).
    bool measuring = false;
    double processStartMs = 0.0;
    double workMs = 0.0;       // finished work spans
    double workStartMs = 0.0;  // thread time at the start of the open span
    int workDepth = 0;
    int paints = 0;
};
