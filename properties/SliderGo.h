// The slider of every numeric property row and of the view's zoom. A left
// click jumps the handle to the pointer and the drag it begins follows it; a
// drag begun with a right press follows it without the jump; the middle
// button and hovering never move it. One drag makes at most one step, at the
// release of the button that began it or where that press is lost, and none
// when the value did not move. A key pressed during a drag ends it first, as
// the release would (see DragPress). Keys never move the value: a slider
// with the focus passes them on to the window, where the arrow keys nudge the
// selected bodies. The value lands on multiples of 5, except on
// the two sliders that carry small whole numbers. The slider keeps the value
// it stood at before the user's last change (fromVal), from which the undo
// commands take their old values.
#pragma once

#include <QSlider>

class DragPress;
class QMouseEvent;
class SimulationView;

// Rounds halves away from zero; 0 gives 0.
int round_int(double v);

class SliderGo : public QSlider
{
    Q_OBJECT

public:
    // The slider is built without a Qt parent: the layout that receives it
    // adopts it. The owner is the widget the slider was created for.
    explicit SliderGo(QWidget* owner);

    // fromVal = 1000 × v (double precision), truncated toward zero.
    void setFromVal(float v);
    // fromVal = v, for the sliders that carry their value unscaled.
    void setFromVal(int v);

    QWidget* ownerWidget() const { return owner; }

    // Pixels left and right of the usable track of a horizontal slider.
    static constexpr int kTrackMargin = 8;

    // The value a horizontal slider takes for a pointer at x on a slider
    // `width` pixels wide, already snapped (to whole numbers when
    // wholeNumbers, else to multiples of 5) and kept within [minimum, maximum].
    // A slider too narrow to have a track (16 px or less) maps the left half
    // to the minimum and the right half to the maximum.
    static int valueAtX(int x, int width, int minimum, int maximum, bool wholeNumbers);
    // The value a vertical slider takes for a pointer at y, unsnapped.
    static int valueAtY(int y, int height, int minimum, int maximum);

    // Sliders whose values are small whole numbers, unscaled.
    bool carriesWholeNumbers() const;

    // Ends a drag under way without its step: the slider, its edit box and
    // what the drag changed live show what is in force again (the zoom
    // slider, which makes no step, stays where it was dragged). True when a
    // drag was under way.
    bool takeBackDrag();

    int fromVal = 0;
    int toVal = 0;

public slots:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int valueAtPointer(const QPoint& pos) const;
    // The end of a drag: the scene view makes the property's command when
    // the value moved.
    void endDrag();
    // The base lets go of its handle.
    void releaseHandle();
    SimulationView* sceneView() const;

    QWidget* owner;
    // The press of the drag under way, if any.
    DragPress* press;
    // The drag under way has moved the value.
    bool moved = false;
};
