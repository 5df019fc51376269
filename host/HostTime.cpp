#include "host/HostTime.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kMaxValue = std::numeric_limits<A_long>::max();
constexpr double kMinValue = std::numeric_limits<A_long>::min();

} // namespace

A_Time HostTimeFromSeconds(double seconds)
{
    if (std::isnan(seconds))
        return A_Time{0, 1};
    for (A_u_long scale = kSimulationTimeScale; scale >= 1; scale /= 10) {
        const double value = std::round(seconds * scale);
        if (value >= kMinValue && value <= kMaxValue)
            return A_Time{static_cast<A_long>(value), scale};
    }
    return A_Time{seconds > 0 ? std::numeric_limits<A_long>::max() : std::numeric_limits<A_long>::min(), 1};
}

double SecondsFromHostTime(A_Time t)
{
    return static_cast<double>(t.value) / static_cast<double>(t.scale);
}

double FrameSeconds(A_Time frameDuration, A_long frame, double timeDivider)
{
    return static_cast<double>(frameDuration.value) * frame / static_cast<double>(frameDuration.scale) /
           timeDivider;
}

bool FramesInTime(A_Time a, A_Time b, A_Time frameDuration, int64_t& frames)
{
    if (frameDuration.value <= 0 || frameDuration.scale == 0 || a.scale == 0 || b.scale == 0)
        return false;
    // (a.v / a.s + b.v / b.s) / (f.v / f.s) = (a.v b.s + b.v a.s) f.s / (a.s b.s f.v).
    // Each factor is below 2^32, so the products fit in 128 bits; C++ integer
    // division truncates toward zero.
    using Wide = __int128;
    const Wide numerator = (Wide(a.value) * b.scale + Wide(b.value) * a.scale) * frameDuration.scale;
    const Wide denominator = Wide(a.scale) * b.scale * frameDuration.value;
    const Wide quotient = numerator / denominator;
    constexpr Wide kMax = std::numeric_limits<int64_t>::max();
    frames = static_cast<int64_t>(quotient > kMax ? kMax : quotient < -kMax ? -kMax : quotient);
    return true;
}

bool FramesInTime(A_Time t, A_Time frameDuration, int64_t& frames)
{
    return FramesInTime(t, A_Time{0, 1}, frameDuration, frames);
}

bool FrameTime64(A_Time frameDuration, int64_t frame, A_Time& time)
{
    // |value| < 2^31 and |frame| < 2^32 keep the product within 64 bits.
    if (frame > INT64_C(0xFFFFFFFF) || frame < -INT64_C(0xFFFFFFFF))
        return false;
    const int64_t value = int64_t(frameDuration.value) * frame;
    if (value > INT32_MAX || value < INT32_MIN)
        return false;
    time = A_Time{static_cast<A_long>(value), frameDuration.scale};
    return true;
}
