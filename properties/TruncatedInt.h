// Slider positions and whole-number values from doubles: truncated toward
// zero, kept within int first (the edit boxes reach beyond any slider), and 0
// for not-a-number.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

inline int truncatedInt(double v)
{
    return std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}
