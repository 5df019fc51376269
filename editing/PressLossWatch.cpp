#include "editing/PressLossWatch.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace {

// The modifiers a drag reads (Shift and Alt lock it, Ctrl snaps), the locks,
// and keys the platform could not name, which nothing binds.
bool isModifier(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

// The key of an action that closes the window (its property "closesWindow"
// set): the close itself takes back whatever drag is held, by whatever way
// it comes, so that key leaves the drag to it.
bool closesWindow(const QWidget* widget, const QKeyEvent* key)
{
    const QWidget* top = widget;
    while (top->parentWidget())
        top = top->parentWidget();
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : top->findChildren<QAction*>())
        if (action->property("closesWindow").toBool() && action->shortcuts().contains(pressed))
            return true;
    return false;
}

} // namespace

PressLossWatch::PressLossWatch(QWidget* widget, std::function<void()> lost, bool keysTakeIt, bool repeatsToo)
    : QObject(widget)
    , widget(widget)
    , lost(std::move(lost))
    , keysTakeIt(keysTakeIt)
    , repeatsToo(repeatsToo)
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
    } else if (keysTakeIt && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        // The override comes first, before the shortcuts are matched; a key
        // sent straight to a widget has only its press.
        const auto* key = static_cast<const QKeyEvent*>(event);
        taken = (repeatsToo || !key->isAutoRepeat()) && !isModifier(key->key()) && !closesWindow(widget, key);
    }
    if (taken) {
        disarm();
        lost();
    }
    return false;
}
