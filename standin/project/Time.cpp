#include "project/Time.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace standin {

namespace {

bool fitsLong(long double v)
{
    return v >= std::numeric_limits<A_long>::min() && v <= std::numeric_limits<A_long>::max();
}

// a.value/a.scale + sign * b.value/b.scale in a's scale.
bool combine(const A_Time& a, const A_Time& b, int sign, A_Time* out)
{
    if (!isValidTime(a) || !isValidTime(b) || !out)
        return false;
    // b in a's scale: b.value * a.scale / b.scale, exact when it divides.
    const int64_t num = int64_t(b.value) * int64_t(a.scale);
    long double bInA;
    if (num % int64_t(b.scale) == 0)
        bInA = (long double)(num / int64_t(b.scale));
    else
        bInA = std::llround((long double)num / (long double)b.scale);
    const long double v = (long double)a.value + sign * bInA;
    if (!fitsLong(v))
        return false;
    *out = A_Time{A_long(v), a.scale};
    return true;
}

} // namespace

int compareTimes(const A_Time& a, const A_Time& b)
{
    // |value| < 2^31 and scale < 2^32: each product fits in int64.
    const int64_t l = int64_t(a.value) * int64_t(b.scale);
    const int64_t r = int64_t(b.value) * int64_t(a.scale);
    return l < r ? -1 : (l > r ? 1 : 0);
}

double timeToSeconds(const A_Time& t)
{
    return t.scale ? double(t.value) / double(t.scale) : 0.0;
}

bool secondsToTime(double seconds, A_u_long scale, A_Time* out)
{
    if (scale == 0 || !std::isfinite(seconds) || !out)
        return false;
    const long double v = std::round((long double)seconds * scale);
    if (!fitsLong(v))
        return false;
    *out = A_Time{A_long(v), scale};
    return true;
}

bool rescaleTime(const A_Time& t, A_u_long scale, A_Time* out)
{
    if (!isValidTime(t) || scale == 0 || !out)
        return false;
    const int64_t num = int64_t(t.value) * int64_t(scale);
    long double v;
    if (num % int64_t(t.scale) == 0)
        v = (long double)(num / int64_t(t.scale));
    else
        v = std::round((long double)num / (long double)t.scale);
    if (!fitsLong(v))
        return false;
    *out = A_Time{A_long(v), scale};
    return true;
}

bool rescaleExactly(const A_Time& t, A_u_long scale, A_Time* out)
{
    A_Time r;
    if (!rescaleTime(t, scale, &r) || !timesEqual(r, t))
        return false;
    *out = r;
    return true;
}

bool addTimes(const A_Time& a, const A_Time& b, A_Time* out)
{
    return combine(a, b, +1, out);
}

bool subtractTimes(const A_Time& a, const A_Time& b, A_Time* out)
{
    return combine(a, b, -1, out);
}

} // namespace standin
