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

TEST(FrameLimiter, PaintIsDueOncePerFrameOfWallTime)
{
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);

    struct Row {
        qint64 advance;
        bool due;
    };
    // 25 fps: one paint per 40 ms, the first at once.
    const Row rows[] = {{0, true}, {10, false}, {29, false}, {1, true}, {39, false}, {41, true}, {-500, true}};
    for (const Row& row : rows) {
        clock.now += row.advance;
        EXPECT_EQ(limiter.paintDue(25.0), row.due) << "at " << clock.now;
    }
    limiter.resetPaint();
    EXPECT_TRUE(limiter.paintDue(25.0));
    EXPECT_TRUE(limiter.paintDue(0.0)) << "without a usable rate every tick paints";
}

TEST(FrameLimiter, PaintsTakeAtMostAQuarterOfAnExport)
{
    struct Row {
        double paintMs;     // what each paint adds to its tick
        int paintsIn2s;     // about
        const char* what;
    };
    // Ticks of 2 ms at 25 fps for 2 s of wall time.
    const Row rows[] = {{1.0, 50, "a cheap paint: once per frame of wall time"},
                        {28.0, 18, "a costly paint: spaced out to a quarter of the time"},
                        {400.0, 2, "a paint of ten frames"}};
    for (const Row& row : rows) {
        FrameLimiter limiter;
        FakeClock clock;
        clock.install(limiter);
        int paints = 0;
        double paintingMs = 0.0;
        const qint64 end = clock.now + 2000;
        while (clock.now < end) {
            const bool paint = limiter.paintDue(25.0);
            paints += paint ? 1 : 0;
            paintingMs += paint ? row.paintMs : 0.0;
            clock.now += 2 + (paint ? qint64(row.paintMs) : 0);
        }
        EXPECT_NEAR(paints, row.paintsIn2s, 2) << row.what;
        if (paints > 2) {
            EXPECT_LE(paintingMs / 2000.0, FrameLimiter::kMaxPaintShare + 0.02) << row.what;
        }
    }

    // The measured cost outlives the end of an export: the next one starts
    // with one paint at once and then keeps its distance.
    FrameLimiter limiter;
    FakeClock clock;
    clock.install(limiter);
    for (int i = 0; i < 20; ++i)
        clock.now += 2 + (limiter.paintDue(25.0) ? 38 : 0);
    limiter.resetPaint();
    EXPECT_NEAR(limiter.paintCostMs, 38.0, 1e-9);
    EXPECT_TRUE(limiter.paintDue(25.0));
    clock.now += 100;
    EXPECT_FALSE(limiter.paintDue(25.0)) << "38 ms paints are 152 ms apart";
    clock.now += 60;
    EXPECT_TRUE(limiter.paintDue(25.0));
}
