#include "host/HostTime.h"
#include "host/LayerQueries.h"
#include "host/StartupQueries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr A_Time k25fps{1, 25};
constexpr A_Time kNtsc{1001, 30000}; // 29.97 fps

int64_t frames(A_Time t, A_Time fd)
{
    int64_t f = -999;
    EXPECT_TRUE(FramesInTime(t, fd, f));
    return f;
}

TEST(HostTime, FrameAlignedTimesGiveTheirOwnFrame)
{
    // A quotient of doubles puts 29/25 s at frame 28.999...: exact arithmetic must not.
    EXPECT_EQ(frames({29, 25}, k25fps), 29);
    EXPECT_EQ(frames({2, 5}, k25fps), 10);
    EXPECT_EQ(frames({2, 1}, k25fps), 50);
    for (A_long f = 0; f < 20000; ++f) {
        ASSERT_EQ(frames({f, 25}, k25fps), f);
        ASSERT_EQ(frames({f * 1001, 30000}, kNtsc), f);
        ASSERT_EQ(frames({f * 4, 100}, k25fps), f); // another scale for the same instants
    }
    // Frame durations with a scale other than the time's.
    EXPECT_EQ(frames({29, 25}, A_Time{100, 2500}), 29);
    EXPECT_EQ(frames({29029, 30000}, A_Time{2002, 60000}), 29);
}

TEST(HostTime, TruncatesTowardZeroOnBothSides)
{
    EXPECT_EQ(frames({59, 1000}, k25fps), 1);   // 1.475 frames
    EXPECT_EQ(frames({-59, 1000}, k25fps), -1); // -1.475 frames
    EXPECT_EQ(frames({-10, 25}, k25fps), -10);
    EXPECT_EQ(frames({-1, 1000}, k25fps), 0);
}

TEST(HostTime, SumOfTwoTimesIsExact)
{
    int64_t f = 0;
    // In-point 1.16 s plus 0.84 s is exactly frame 50, in mixed scales.
    ASSERT_TRUE(FramesInTime(A_Time{29, 25}, A_Time{84, 100}, k25fps, f));
    EXPECT_EQ(f, 50);
    // Extreme values do not overflow.
    ASSERT_TRUE(FramesInTime(A_Time{std::numeric_limits<A_long>::max(), 1},
                             A_Time{std::numeric_limits<A_long>::max(), 1}, A_Time{1, 0xFFFFFFFFu}, f));
    EXPECT_GT(f, 0);
}

TEST(HostTime, UnusableFrameDurationsAreRefused)
{
    int64_t f = 7;
    EXPECT_FALSE(FramesInTime(A_Time{1, 1}, A_Time{0, 25}, f));
    EXPECT_FALSE(FramesInTime(A_Time{1, 1}, A_Time{1, 0}, f));
    EXPECT_FALSE(FramesInTime(A_Time{1, 1}, A_Time{-1, 25}, f));
    EXPECT_FALSE(FramesInTime(A_Time{1, 0}, k25fps, f));
    EXPECT_EQ(f, 7);
}

TEST(HostTime, SecondsBecomeHostTimesThatFit)
{
    A_Time t = HostTimeFromSeconds(1.5);
    EXPECT_EQ(t.value, 150000);
    EXPECT_EQ(t.scale, kSimulationTimeScale);
    t = HostTimeFromSeconds(-0.000004);
    EXPECT_EQ(t.value, 0);

    // 8 hours at 100000 ticks a second is 2.88e9: beyond 32 bits.
    t = HostTimeFromSeconds(8 * 3600.0);
    EXPECT_LT(t.scale, kSimulationTimeScale);
    EXPECT_DOUBLE_EQ(SecondsFromHostTime(t), 8 * 3600.0);
    t = HostTimeFromSeconds(-8 * 3600.25);
    EXPECT_DOUBLE_EQ(SecondsFromHostTime(t), -8 * 3600.25);

    t = HostTimeFromSeconds(1e300);
    EXPECT_EQ(t.value, std::numeric_limits<A_long>::max());
    EXPECT_EQ(t.scale, 1u);
    t = HostTimeFromSeconds(std::nan(""));
    EXPECT_EQ(t.value, 0);
}

TEST(HostTime, FrameTimesOfLongRunsDoNotWrap)
{
    // value x frame exceeds 2^31 here: 1001 x 3,000,000.
    EXPECT_DOUBLE_EQ(FrameSeconds(kNtsc, 3000000, 1.0), 1001.0 * 3000000 / 30000);
    EXPECT_DOUBLE_EQ(FrameSeconds(k25fps, 100, 4.0), 1.0);
    EXPECT_DOUBLE_EQ(FrameSeconds(k25fps, -25, 1.0), -1.0);
}

TEST(WorldCoords, MapsRowVectorsAndDividesByW)
{
    A_Matrix4 m{};
    m.mat[0][0] = 2;
    m.mat[1][1] = 3;
    m.mat[2][2] = 1;
    m.mat[3][0] = 10;
    m.mat[3][1] = 20;
    m.mat[3][3] = 2;
    Point4 out{};
    EXPECT_EQ(GetWorldCoords(Point4{1, 1, 0, 1}, m, &out), A_Err_NONE);
    EXPECT_DOUBLE_EQ(out.x, 6);  // (2 + 10) / 2
    EXPECT_DOUBLE_EQ(out.y, 11.5);
    EXPECT_DOUBLE_EQ(out.w, 1);

    // w becomes 0: returned without division.
    m.mat[3][3] = 0;
    GetWorldCoords(Point4{1, 1, 0, 1}, m, &out);
    EXPECT_DOUBLE_EQ(out.x, 12);
    EXPECT_DOUBLE_EQ(out.y, 23);
    EXPECT_DOUBLE_EQ(out.w, 0);
}

TEST(StartupNames, CutAtTheLastDotOnly)
{
    EXPECT_EQ(CutAtLastDot(QStringLiteral("/work/shot.final.aep")), QStringLiteral("/work/shot.final"));
    EXPECT_EQ(CutAtLastDot(QStringLiteral("shot.aep")), QStringLiteral("shot"));
    EXPECT_EQ(CutAtLastDot(QStringLiteral("Untitled Project")), QString());
    EXPECT_EQ(CutAtLastDot(QString()), QString());
}

} // namespace
