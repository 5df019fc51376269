#include "properties/DragPress.h"

#include "editing/PressLossWatch.h"

#include <QMouseEvent>
#include <QWidget>

#include <utility>

DragPress::DragPress(QWidget* widget, std::function<void()> lost)
    : QObject(widget)
    , widget(widget)
    , lost(std::move(lost))
    , watch(new PressLossWatch(widget, [this] { lose(); }, true, true))
{
    widget->installEventFilter(this);
}

bool DragPress::begin(const QMouseEvent* event, Qt::MouseButtons buttons)
{
    if (held())
        follows(event);
    if (held() || !(event->button() & buttons))
        return false;
    button = event->button();
    watch->arm();
    return true;
}

bool DragPress::release(const QMouseEvent* event)
{
    if (!held() || event->button() != button)
        return false;
    letGo();
    return true;
}

bool DragPress::follows(const QMouseEvent* event)
{
    if (!held())
        return false;
    if (event->buttons() & button)
        return true;
    lose();
    return false;
}

bool DragPress::takeBack()
{
    if (!held())
        return false;
    letGo();
    return true;
}

void DragPress::letGo()
{
    button = Qt::NoButton;
    watch->disarm();
}

void DragPress::lose()
{
    if (!held())
        return;
    letGo();
    if (lost)
        lost();
}

bool DragPress::eventFilter(QObject* watched, QEvent* event)
{
    // A widget hidden or disabled gets no release.
    const QEvent::Type type = event->type();
    if (watched == widget && held() &&
        (type == QEvent::Hide || (type == QEvent::EnabledChange && !widget->isEnabled())))
        lose();
    return QObject::eventFilter(watched, event);
}
