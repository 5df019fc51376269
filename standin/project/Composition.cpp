#include "project/Composition.h"

#include "project/Time.h"

namespace standin {

double Composition::frameRate() const
{
    return frameDuration_.value > 0 ? double(frameDuration_.scale) / double(frameDuration_.value) : 0.0;
}

void Composition::setFrameDuration(const A_Time& frameDuration)
{
    frameDuration_ = frameDuration;
    touch();
}

void Composition::setBackgroundColor(const AEGP_ColorVal& color)
{
    background_ = color;
    touch();
}

void Composition::setWorkAreaUnchecked(const A_Time& start, const A_Time& duration)
{
    workStart_ = start;
    workDuration_ = duration;
    touch();
}

A_Err Composition::setWorkArea(const A_Time& start, const A_Time& duration, bool* clamped)
{
    if (clamped)
        *clamped = false;
    if (!isValidTime(start) || !isValidTime(duration) || start.value < 0 || duration.value <= 0)
        return A_Err_PARAMETER;
    const A_Time compDuration = this->duration();
    A_Time end;
    A_Time stored = duration;
    if (!addTimes(start, duration, &end) || compareTimes(end, compDuration) > 0) {
        if (compareTimes(start, compDuration) >= 0 || !subtractTimes(compDuration, start, &stored))
            return A_Err_PARAMETER;
        rescaleExactly(stored, duration.scale, &stored);
        if (clamped)
            *clamped = true;
    }
    workStart_ = start;
    workDuration_ = stored;
    touch();
    return A_Err_NONE;
}

} // namespace standin
