// The gravity pad: a small square in the gravity panel whose tip shows the
// global gravity vector. The main window puts it into the form's
// gravityWidget placeholder and hands it the four gravity controls that a
// drag on the pad writes.
#pragma once

#include <QPointF>
#include <QWidget>

class EditBox;
class SliderGo;

class GravityView : public QWidget
{
    Q_OBJECT

public:
    explicit GravityView(QWidget* parent);

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

private:
    QPointF tip;
    EditBox* magnitudeEt = nullptr;
    SliderGo* magnitudeSld = nullptr;
    EditBox* directionEt = nullptr;
    SliderGo* directionSld = nullptr;
};
