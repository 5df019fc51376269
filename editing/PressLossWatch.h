// Tells when a press that a widget's drag holds on to is taken from it
// without a release: a modal window opens over the widget's window or a
// popup (a menu, a list) takes the pointer. The release then never reaches
// the widget, so its drag has to end there and then. A watch made with
// `keysTakeIt` counts a key pressed during the drag as well (any key but
// the modifiers the drag reads, and not the repeats of a key held since
// before): it tells before the key reaches a shortcut or a widget, so that
// the drag has ended when the key acts. With `repeatsToo` the repeats of a
// key held since before count as well: a drag that reads no key ends at
// whichever key acts during it. The key that closes the window is left to
// the close, which takes every held drag back.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

class PressLossWatch : public QObject
{
public:
    PressLossWatch(QWidget* widget, std::function<void()> lost, bool keysTakeIt = false, bool repeatsToo = false);

    // Watches from now until the loss or disarm().
    void arm();
    void disarm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget;
    std::function<void()> lost;
    bool keysTakeIt;
    bool repeatsToo;
    bool armed = false;
};
