#include "properties/SliderGo.h"

#include "properties/TruncatedInt.h"
#include "simulation/SimulationView.h"

#include <QMouseEvent>

#include <algorithm>
#include <climits>
#include <cmath>

int round_int(double v)
{
    return v > 0.0 ? static_cast<int>(v + 0.5) : static_cast<int>(v - 0.5);
}

SliderGo::SliderGo(QWidget* owner)
    : QSlider(nullptr)
    , owner(owner)
{
}

void SliderGo::setFromVal(float v)
{
    // Values beyond int (the edit boxes reach further) are kept within it.
    fromVal = truncatedInt(1000.0 * static_cast<double>(v));
}

void SliderGo::setFromVal(int v)
{
    fromVal = v;
}

bool SliderGo::carriesWholeNumbers() const
{
    const QString name = objectName();
    return name == QLatin1String("meshPrecisionSld") || name == QLatin1String("substepsSld");
}

int SliderGo::valueAtX(int x, int width, int minimum, int maximum, bool wholeNumbers)
{
    if (maximum <= minimum)
        return minimum;
    const float margin = static_cast<float>(kTrackMargin);
    const int track = width - 2 * kTrackMargin;
    double v;
    if (track > 0) {
        const float range = static_cast<float>(maximum) - static_cast<float>(minimum);
        const float scale = range / static_cast<float>(track);
        v = (static_cast<float>(x) - margin) * scale + static_cast<float>(minimum);
    } else {
        v = 2.0 * x < width ? minimum : maximum;
    }
    // Clamp before converting: a wide range on a short track reaches values
    // no int can hold.
    v = std::clamp(v, static_cast<double>(minimum), static_cast<double>(maximum));
    const double snapped = wholeNumbers ? round_int(v) : round_int(v / 5.0) * 5.0;
    return static_cast<int>(std::clamp(snapped, static_cast<double>(minimum),
                                       static_cast<double>(maximum)));
}

int SliderGo::valueAtY(int y, int height, int minimum, int maximum)
{
    if (height <= 0 || maximum <= minimum)
        return minimum;
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long v = minimum + range * (height - std::clamp(y, 0, height)) / height;
    return static_cast<int>(v);
}

int SliderGo::valueAtPointer(const QPoint& pos) const
{
    return valueAtX(pos.x(), width(), minimum(), maximum(), carriesWholeNumbers());
}

void SliderGo::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging = true;
        const QPoint pos = event->position().toPoint();
        if (orientation() == Qt::Vertical)
            setValue(valueAtY(pos.y(), height(), minimum(), maximum()));
        else
            setValue(valueAtPointer(pos));
        event->accept();
    }
    QSlider::mousePressEvent(event);
}

void SliderGo::mouseMoveEvent(QMouseEvent* event)
{
    // Only a drag that began with a press on this slider moves it: the
    // themes turn hovering on, so the pointer passing over the slider, or the
    // slider scrolled under a resting pointer, reaches here too.
    if (!dragging || !(event->buttons() & Qt::LeftButton))
        return;
    // The base's own dragging never moves the value: the handle follows the
    // pointer through the same mapping as the press.
    setValue(valueAtPointer(event->position().toPoint()));
}

void SliderGo::mouseReleaseEvent(QMouseEvent* event)
{
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        dragging = false;
    toVal = value();
    QWidget* window = owner;
    while (window && window->objectName() != QLatin1String("ZolvarDlgClass"))
        window = window->parentWidget();
    if (!window)
        return;
    auto* view = window->findChild<SimulationView*>();
    if (!view)
        return;
    // The body and scene-wide sliders; the zoom slider makes no step.
    if (view->sliderReleased(objectName(), toVal))
        return;
    // The joint rows have their own dispatch.
    view->jointSliderReleased(objectName(), toVal);
}

void SliderGo::hideEvent(QHideEvent* event)
{
    // A hidden slider is dragged no longer: moves reaching it later (its
    // release may be lost) leave it where it is.
    dragging = false;
    QSlider::hideEvent(event);
}
