// The press that holds a drag on a widget. The drag belongs to the button
// that began it: the other buttons' presses and releases during it are not
// the drag's. When that press is lost before its release reaches the widget
// (a modal window or a popup takes it, the widget is hidden or disabled, or
// an event arrives with the button no longer held), the drag ends at once
// through the callback, as its release would have ended it. So does a key
// pressed during the drag (any but the modifiers, repeats included), before
// it reaches a shortcut or a widget: the drag has made its step when the key
// acts, and a key that shows other values in the panel (a new selection, an
// undo) never hands them to the drag.
#pragma once

#include <QObject>

#include <functional>

class PressLossWatch;
class QMouseEvent;
class QWidget;

class DragPress : public QObject
{
public:
    // `lost` ends the drag; the press is already let go when it runs.
    DragPress(QWidget* widget, std::function<void()> lost);

    bool held() const { return button != Qt::NoButton; }

    // A press of one of `buttons` begins the drag unless one is held; true
    // when it began one.
    bool begin(const QMouseEvent* event, Qt::MouseButtons buttons);
    // True when this release is the drag's own; the press is let go.
    bool release(const QMouseEvent* event);
    // True while the drag's button is still held at this move; otherwise the
    // press was lost and the drag ends.
    bool follows(const QMouseEvent* event);
    // Lets go of a drag under way without ending it through the callback:
    // its owner puts back what it moved. True when one was held.
    bool takeBack();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void letGo();
    void lose();

    QWidget* widget;
    std::function<void()> lost;
    PressLossWatch* watch;
    Qt::MouseButton button = Qt::NoButton;
};
