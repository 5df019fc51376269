#include "model/QuickPreset.h"

#include <utility>

void QuickPreset::init()
{
    QuickPreset fresh;
    fresh.bodies = std::move(bodies);
    fresh.joints = std::move(joints);
    *this = std::move(fresh);
}
