// The gravity pad: a small square in the gravity panel whose tip shows the
// global gravity vector. A drag aims the gravity (Shift snaps it to an axis
// within 20 degrees) and moves the gravity sliders live; the release of the
// button that began it, or the loss of that press (a modal message opening
// over the pad), makes one "Change Gravity" step from the committed gravity. The main window puts
// the pad into the form's gravityWidget placeholder and hands it the four
// gravity controls.
#pragma once

#include <QBrush>
#include <QPen>
#include <QPointF>
#include <QWidget>

class DragPress;
class EditBox;
class SimulationView;
class SliderGo;

class GravityView : public QWidget
{
    Q_OBJECT

public:
    // `owner` is where the search for the main window starts.
    explicit GravityView(QWidget* owner);

    // Pad pixels per unit of gravity.
    static constexpr double kScale = 3.0;

    // Places the tip at (cos(angle), sin(angle)) × length pad pixels from the
    // centre (angle in radians) and repaints.
    void setGravityPoint(double length, double angle);
    QPointF gravityPoint() const { return tip; }

    // Keep the controls the pad writes while dragged; each only stores the pointer.
    void setGravityMagnitudeEtControl(EditBox* control) { magnitudeEt = control; }
    void setGravityMagnitudeSldControl(SliderGo* control) { magnitudeSld = control; }
    void setGravityDirectionEtControl(EditBox* control) { directionEt = control; }
    void setGravityDirectionSldControl(SliderGo* control) { directionSld = control; }

    EditBox* gravityMagnitudeEtControl() const { return magnitudeEt; }
    SliderGo* gravityMagnitudeSldControl() const { return magnitudeSld; }
    EditBox* gravityDirectionEtControl() const { return directionEt; }
    SliderGo* gravityDirectionSldControl() const { return directionSld; }

    // The gravity a pointer at `pos` aims at on a pad of `size`: magnitude in
    // gravity units, direction in degrees [0, 360), y growing downwards.
    // With snap, a direction within 20 degrees of an axis is put on the axis
    // and the magnitude projected onto it.
    static void gravityAt(QPointF pos, QSizeF size, bool snap, double& magnitude, double& direction);

    // Ends a drag under way without its step: the gravity in force, the
    // committed one, is shown again. True when a drag was under way.
    bool takeBackDrag();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void aim(QMouseEvent* event, bool snap);
    // The end of a drag, at its release or where its press is lost: one
    // step from the committed gravity to the one shown.
    void commit();
    SimulationView* sceneView() const;

    QWidget* owner;
    QPen pen;
    QBrush brush;
    QPointF tip;
    DragPress* press;
    EditBox* magnitudeEt = nullptr;
    SliderGo* magnitudeSld = nullptr;
    EditBox* directionEt = nullptr;
    SliderGo* directionSld = nullptr;
};
