#include "simulation/KeySelection.h"

#include <cmath>

namespace {
const double kTolerance = 0.001;
}

bool keyValuesDiffer(float a, float b)
{
    return std::fabs(a - b) > kTolerance;
}

bool keyValuesDiffer(b2Vec2 a, b2Vec2 b)
{
    return (a - b).LengthSquared() > kTolerance;
}
