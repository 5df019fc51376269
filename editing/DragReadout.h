// What a press or drag of the gravity and velocity tools shows in the panel
// rows while it lasts.
#pragma once

#include "properties/SliderGo.h"

#include <QDoubleSpinBox>
#include <QSignalBlocker>

#include <cmath>

// The direction of (dx, dy) in degrees, in [0, 360).
inline double degreesOf(double dy, double dx)
{
    constexpr double kPi = 3.1415927410125732;
    const double d = std::atan2(dy, dx) * 180.0 / kPi;
    return d < 0.0 ? d + 360.0 : d;
}

// Shows `value` in a row's edit box and, times 1000 and kept within int, on
// its slider, without signals; the slider's from-value stays.
inline void showDragValue(QDoubleSpinBox* edit, SliderGo* slider, double value)
{
    if (edit) {
        const QSignalBlocker blocker(edit);
        edit->setValue(value);
    }
    if (slider) {
        const QSignalBlocker blocker(slider);
        slider->setValue(int(std::fmin(std::fmax(1000.0 * value, -2147483647.0), 2147483647.0)));
    }
}
