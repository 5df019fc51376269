#include "editing/PressLossWatch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

PressLossWatch::PressLossWatch(QWidget* widget, std::function<void()> lost)
    : QObject(widget)
    , widget(widget)
    , lost(std::move(lost))
{
}

void PressLossWatch::arm()
{
    if (armed || !qApp)
        return;
    armed = true;
    qApp->installEventFilter(this);
}

void PressLossWatch::disarm()
{
    if (!armed)
        return;
    armed = false;
    if (qApp)
        qApp->removeEventFilter(this);
}

bool PressLossWatch::eventFilter(QObject* watched, QEvent* event)
{
    bool taken = false;
    if (event->type() == QEvent::WindowBlocked) {
        taken = watched == widget->window();
    } else if (event->type() == QEvent::Show && watched->isWidgetType()) {
        const auto* shown = static_cast<QWidget*>(watched);
        taken = shown->isWindow() && shown != widget->window() &&
                (shown->windowType() == Qt::Popup || shown->isModal());
    }
    if (taken) {
        disarm();
        lost();
    }
    return false;
}
