// The frame-rate limiter on an injected clock: no test waits.
#include "simulation/FrameLimiter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FakeClock {
    qint64 now = 1000;
    std::vector<double> sleeps;

    void install(FrameLimiter& limiter)
    {
        // Sleeping does not move this clock: each tick measures only the
        // time the test lets pass.
        limiter.setClock([this] { return now; }, [this](double ms) { sleeps.push_back(ms); });
    }
};

} // namespace

TEST(FrameLimiter, AnEarlyTickSleepsForTheRestOfTheFrame)
{
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);

    // The first tick measures from itself: 0 ms counts as 0.001 ms.
    EXPECT_DOUBLE_EQ(limiter.tick(false, 25.0), 25.0);
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_NEAR(clock.sleeps[0], 40.0 - 0.001, 1e-9);

    // 10 ms later: sleeps 30 ms, and the rate shown is the composition's.
    clock.now += 10;
    EXPECT_DOUBLE_EQ(limiter.tick(false, 25.0), 25.0);
    EXPECT_NEAR(clock.sleeps.back(), 30.0, 1e-9);

    // A slow tick (100 ms) is measured and not slowed down further.
    clock.now += 100;
    EXPECT_DOUBLE_EQ(limiter.tick(false, 25.0), 10.0);
    EXPECT_EQ(clock.sleeps.size(), 2u);
}

TEST(FrameLimiter, ASingleStepMeasuresFromItselfAndAClockGoingBackIsRateZero)
{
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);
    limiter.tick(false, 25.0);
    clock.now += 5000;
    EXPECT_DOUBLE_EQ(limiter.tick(true, 25.0), 25.0) << "a single step restarts the measure";

    limiter.lastTickMs = clock.now + 50;  // a clock that went back
    EXPECT_DOUBLE_EQ(limiter.tick(false, 25.0), 0.0);
}

TEST(FrameLimiter, DisabledNeverWaits)
{
    FrameLimiter limiter;
    limiter.disable();
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(limiter.tick(false, 30.0), 30.0);
}

TEST(FrameLimiter, ASlowCompositionWaitsAtMostASecondATick)
{
    // Rows: composition rates and the wait of a tick that took 10 ms.
    const struct {
        double fps;
        double sleep;
    } rows[] = {{25.0, 30.0}, {1.0, 990.0}, {0.5, 990.0}, {0.000466, 990.0}, {1e-300, 990.0}};
    for (const auto& row : rows) {
        FrameLimiter limiter;
        FakeClock clock;
        clock.install(limiter);
        limiter.tick(false, row.fps);
        clock.now += 10;
        EXPECT_DOUBLE_EQ(limiter.tick(false, row.fps), row.fps);
        EXPECT_NEAR(clock.sleeps.back(), row.sleep, 1e-9) << row.fps;
    }
}

TEST(FrameLimiter, MeasureNeverSleepsAndReportsTheRateReached)
{
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);

    EXPECT_DOUBLE_EQ(limiter.measure(false), 0.0) << "the first tick has no rate yet";
    clock.now += 4;
    EXPECT_DOUBLE_EQ(limiter.measure(false), 250.0) << "above the composition's rate";
    clock.now += 4;
    EXPECT_DOUBLE_EQ(limiter.measure(true), 0.0) << "a single step restarts the measure";
    clock.now -= 100;
    EXPECT_DOUBLE_EQ(limiter.measure(false), 0.0) << "a clock that went back";
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST(FrameLimiter, PaintIsDueAtMostFiveTimesASecondAndOncePerFrame)
{
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);
    limiter.setCpuClocks([] { return 0.0; }, [] { return 0.0; });

    struct Row {
        qint64 advance;
        bool due;
    };
    // 25 fps: one paint per 200 ms, the first at once; a clock that went
    // back counts as the time passed.
    const Row rows[] = {{0, true}, {40, false}, {159, false}, {1, true}, {199, false}, {201, true}, {-500, true}};
    for (const Row& row : rows) {
        clock.now += row.advance;
        EXPECT_EQ(limiter.paintDue(25.0), row.due) << "at " << clock.now;
    }
    limiter.resetPaint();
    EXPECT_TRUE(limiter.paintDue(25.0)) << "an export's first question paints";
    clock.now += 300;
    EXPECT_FALSE(limiter.paintDue(1.0)) << "at 1 fps a frame counts as 500 ms: twice a second however slow";
    clock.now += 200;
    EXPECT_TRUE(limiter.paintDue(1.0));
    EXPECT_TRUE(limiter.paintDue(0.0)) << "without a usable rate every tick paints";
}

namespace {

// An export on fake clocks: each tick or layer is `workMs` of work on this
// thread (and of the process's time); a paint costs the process `paintMs`
// on other threads, and takes no wall time. Returns the paints.
struct ExportRun {
    double workMs;
    double paintMs;
    int paints = 0;
    double processMs = 0.0;
    double threadMs = 0.0;
    double paintingMs = 0.0;
    qint64 lastPaintAt = -1, longestGapMs = 0;  // of wall time between two paints

    int run(FrameLimiter& limiter, FakeClock& clock, int ticks)
    {
        limiter.setCpuClocks([this] { return processMs; }, [this] { return threadMs; });
        for (int i = 0; i < ticks; ++i) {
            limiter.workStarted();
            const bool paint = limiter.paintDue(25.0);
            threadMs += workMs;
            processMs += workMs;
            clock.now += qint64(workMs);
            limiter.workEnded();
            if (paint) {
                longestGapMs = lastPaintAt < 0 ? 0 : std::max(longestGapMs, clock.now - lastPaintAt);
                lastPaintAt = clock.now;
                ++paints;
                processMs += paintMs;
                paintingMs += paintMs;
            }
        }
        return paints;
    }
};

} // namespace

TEST(FrameLimiter, ShowingAnExportTakesAtMostATenthOfItsProcessorTimeButIsNeverStillHalfASecond)
{
    struct Row {
        double workMs;
        double paintMs;
        int paints;  // about
        const char* what;
    };
    // 1,000 ticks of 4 ms: 4 s of wall time.
    const Row rows[] = {{4.0, 1.0, 20, "a cheap paint: five times a second"},
                        {4.0, 30.0, 14, "a dearer paint: a tenth of the processor time"},
                        {4.0, 2000.0, 8, "a paint costlier than the export: twice a second all the same"}};
    for (const Row& row : rows) {
        FrameLimiter limiter;
        FakeClock clock;
        clock.install(limiter);
        ExportRun run{row.workMs, row.paintMs};
        EXPECT_NEAR(run.run(limiter, clock, 1000), row.paints, 1) << row.what;
        EXPECT_LE(run.longestGapMs, FrameLimiter::kMaxPaintGapMs) << row.what;
        if (run.paints > 8)  // more than twice a second
            EXPECT_LE(run.paintingMs / run.processMs, FrameLimiter::kMaxPaintShare + 1e-9) << row.what;
    }

    // The measured cost outlives the end of an export: the next one starts
    // with one paint at once and then keeps its distance.
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);
    ExportRun first{4.0, 20.0};
    first.run(limiter, clock, 500);
    limiter.resetPaint();
    EXPECT_NEAR(limiter.paintCostMs, 20.0, 1e-9);
    ExportRun second{4.0, 20.0};
    EXPECT_EQ(second.run(limiter, clock, 1), 1);
    EXPECT_EQ(second.run(limiter, clock, 80), 1) << "20 ms paints need 360 ms of work between them";
    EXPECT_EQ(second.run(limiter, clock, 20), 2);
}

TEST(FrameLimiter, WorkSpansNestAndAMeasureStartedInsideOneCountsFromItsStart)
{
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);
    double process = 0.0, thread = 0.0;
    limiter.setCpuClocks([&] { return process; }, [&] { return thread; });

    // Work before the export's first question is not the export's.
    limiter.workStarted();
    process = thread = 50.0;
    EXPECT_TRUE(limiter.paintDue(25.0));
    {
        const FrameLimiter::WorkSpan inner(limiter, true);
        process = thread = 90.0;
    }
    process = thread = 1000.0;  // the outer span goes on
    limiter.workEnded();
    limiter.workEnded();  // an end without a start is ignored
    process += 5.0;       // showing it: 5 ms on other threads
    clock.now += 1000;
    EXPECT_TRUE(limiter.paintDue(25.0));
    EXPECT_NEAR(limiter.paintCostMs, 5.0, 1e-9) << "950 ms of work, 5 ms of showing, one paint";

    // A span that throws still ends.
    try {
        const FrameLimiter::WorkSpan span(limiter, true);
        process += 1000.0;
        thread += 1000.0;
        throw 1;
    } catch (int) {
    }
    process += 5.0;
    clock.now += 1000;
    EXPECT_TRUE(limiter.paintDue(25.0));
    EXPECT_NEAR(limiter.paintCostMs, 5.0, 1e-9) << "10 ms of showing over two paints";

    // An inactive span counts nothing; a reset drops an open span.
    {
        const FrameLimiter::WorkSpan idle(limiter, false);
        limiter.workStarted();
        limiter.resetPaint();
        process = thread = 3000.0;
    }
    limiter.workEnded();
    EXPECT_TRUE(limiter.paintDue(25.0));
}
