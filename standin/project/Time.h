// Exact arithmetic on A_Time {value, scale}: seconds = value / scale.
//
// Every time in the project model is an A_Time with scale > 0. Comparisons
// cross-multiply in 64 bits and are exact for any two valid times.
#pragma once

#include "host_api.h"

namespace standin {

constexpr A_Time kZeroTime{0, 1};

// A time is valid when its scale is non-zero.
inline bool isValidTime(const A_Time& t) { return t.scale != 0; }

// <0, 0 or >0 as a is before, at or after b. Both must be valid.
int compareTimes(const A_Time& a, const A_Time& b);
inline bool timesEqual(const A_Time& a, const A_Time& b) { return compareTimes(a, b) == 0; }
inline bool timeBefore(const A_Time& a, const A_Time& b) { return compareTimes(a, b) < 0; }

double timeToSeconds(const A_Time& t);

// The nearest time in the given scale (half away from zero). False when the
// scale is 0, the input is not finite, or the value does not fit A_long.
bool secondsToTime(double seconds, A_u_long scale, A_Time* out);
bool rescaleTime(const A_Time& t, A_u_long scale, A_Time* out);
// The same time in the given scale; false (out untouched) unless that is exact.
bool rescaleExactly(const A_Time& t, A_u_long scale, A_Time* out);

// a + b and a - b: exact in a's scale when b converts to it exactly (always
// when both scales match), otherwise rounded to a's scale. False on overflow.
bool addTimes(const A_Time& a, const A_Time& b, A_Time* out);
bool subtractTimes(const A_Time& a, const A_Time& b, A_Time* out);

} // namespace standin
