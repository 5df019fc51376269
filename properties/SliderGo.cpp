#include "properties/SliderGo.h"

#include "properties/DragPress.h"
#include "properties/MainWindowOf.h"
#include "properties/TruncatedInt.h"
#include "simulation/SimulationView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
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
    , press(new DragPress(this, [this] { endDrag(); }))
{
    connect(this, &QSlider::valueChanged, this, [this] { moved = moved || press->held(); });
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
    event->accept();
    // One drag at a time, begun by a left or a right press; the middle
    // button does nothing here.
    if (!press->begin(event, Qt::LeftButton | Qt::RightButton))
        return;
    moved = false;
    // Only a left press jumps the handle to the pointer; the base then drags
    // the handle that stands under it.
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        if (orientation() == Qt::Vertical)
            setValue(valueAtY(pos.y(), height(), minimum(), maximum()));
        else
            setValue(valueAtPointer(pos));
        QSlider::mousePressEvent(event);
        event->accept();
    }
}

void SliderGo::mouseMoveEvent(QMouseEvent* event)
{
    // Only a drag that began with a press on this slider moves it: the
    // themes turn hovering on, so the pointer passing over the slider, or the
    // slider scrolled under a resting pointer, reaches here too. The base's
    // own dragging never moves the value: the handle follows the pointer
    // through the same mapping as the press.
    if (press->follows(event))
        setValue(valueAtPointer(event->position().toPoint()));
}

void SliderGo::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (press->release(event))
        endDrag();
}

void SliderGo::contextMenuEvent(QContextMenuEvent* event)
{
    // A right press begins a drag here: no menu of the panel opens over it.
    event->accept();
}

void SliderGo::keyPressEvent(QKeyEvent* event)
{
    // A value set by a key would be shown, and for the live rows applied,
    // with no step; the window's own keys go on to it.
    event->ignore();
}

void SliderGo::releaseHandle()
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QSlider::mouseReleaseEvent(&release);
}

SimulationView* SliderGo::sceneView() const
{
    return sceneViewOf(owner);
}

void SliderGo::endDrag()
{
    releaseHandle();
    toVal = value();
    // A press and release that neither jumped nor moved the handle changes
    // nothing.
    if (!moved)
        return;
    SimulationView* view = sceneView();
    if (!view)
        return;
    // The body and scene-wide sliders; the zoom slider makes no step.
    if (view->sliderReleased(objectName(), toVal))
        return;
    // The joint rows have their own dispatch.
    view->jointSliderReleased(objectName(), toVal);
}

bool SliderGo::takeBackDrag()
{
    if (!press->takeBack())
        return false;
    releaseHandle();
    if (SimulationView* view = moved ? sceneView() : nullptr)
        view->takeBackSliderDrag(objectName());
    return true;
}
