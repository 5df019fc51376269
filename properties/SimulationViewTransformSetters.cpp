// The setters of a body's rotation, position, colour and AEmatic anchor, and
// of gravity, with the gravity sliders' live slots.
#include "simulation/SimulationView.h"

#include "model/UserData.h"
#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/RevoluteAnchors.h"
#include "properties/SliderGo.h"
#include "properties/TruncatedInt.h"

#include <QSignalBlocker>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// Degrees to the radians of the gravity handles, negative angles wrapped
// into [0, 360). Not finite stays not finite: such a handle is not drawn.
float handleAngle(double degrees)
{
    if (degrees < 0.0)
        degrees = std::fmod(degrees, 360.0) + 360.0;
    return float(degrees) * 0.017453292f;
}

// A gravity slider stands at its edit box's value × 1000, rounded: the value
// reaches the setter as a float (9.834 as 9.83399963), and truncating it
// would leave the slider and its from-value a thousandth below what the user
// set, which the next step would then take as its value.
void alignGravitySlider(const QDoubleSpinBox* edit, SliderGo* slider)
{
    if (!edit || !slider)
        return;
    const int position = truncatedInt(std::round(edit->value() * 1000.0));
    const QSignalBlocker blocker(slider);
    slider->setValue(position);
    slider->setFromVal(position);
}

QIcon colourSwatch(const QColor& colour, int grey)
{
    QImage image(14, 14, QImage::Format_RGB32);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x) {
            const bool border = x == 0 || y == 0 || x == 13 || y == 13;
            image.setPixel(x, y, border ? qRgb(grey, grey, grey) : colour.rgb());
        }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

void SimulationView::setBodiesRotation(std::vector<float> angles, std::vector<int> rows)
{
    if (rows.empty())
        return;
    for (size_t i = 0; i < rows.size() && i < angles.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        MyBody& record = bodies[size_t(rows[i])];
        record.angle = angles[i];
        if (!record.body)
            continue;
        record.body->SetTransform(record.position, record.angle);
        // A pivot on the body stays where it is in the world.
        for (MyJoint& joint : joints) {
            if (joint.type != JointType::Revolute || !joint.joint)
                continue;
            auto* pivot = static_cast<b2RevoluteJoint*>(joint.joint);
            if (joint.bodyA == rows[i])
                RevoluteAnchors::setLocalAnchors(pivot, record.body->GetLocalPoint(joint.anchor),
                                                 pivot->GetLocalAnchorB());
            else if (joint.bodyB == rows[i])
                RevoluteAnchors::setLocalAnchors(pivot, pivot->GetLocalAnchorA(),
                                                 record.body->GetLocalPoint(joint.anchor));
        }
    }
    showBodyInfo(rows[0]);
}

void SimulationView::setBodiesPosition(std::vector<b2Vec2> positions, std::vector<int> rows)
{
    if (rows.empty())
        return;
    // A pivot between two moved bodies moves with body A.
    for (MyJoint& joint : joints) {
        if (joint.type != JointType::Revolute)
            continue;
        const auto a = std::find(rows.begin(), rows.end(), joint.bodyA);
        if (a == rows.end() || std::find(rows.begin(), rows.end(), joint.bodyB) == rows.end())
            continue;
        const size_t k = size_t(a - rows.begin());
        if (k >= positions.size() || !validRow(bodies, joint.bodyA))
            continue;
        const b2Vec2 offset = positions[k] - bodies[size_t(joint.bodyA)].committedPosition;
        joint.anchor = joint.committedAnchor + offset;
        joint.committedAnchor = joint.anchor;
        if (joint.joint && validRow(bodies, joint.bodyB))
            RevoluteAnchors::setLocalAnchors(static_cast<b2RevoluteJoint*>(joint.joint),
                                             joint.anchor - bodies[size_t(joint.bodyA)].position,
                                             joint.anchor - bodies[size_t(joint.bodyB)].position);
    }
    for (size_t i = 0; i < rows.size() && i < positions.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        MyBody& record = bodies[size_t(rows[i])];
        const b2Vec2 offset = positions[i] - record.committedPosition;
        record.position = record.committedPosition = positions[i];
        if (record.body)
            record.body->SetTransform(record.position, record.angle);
        if (record.type == BodyType::AEmatic) {
            if (record.aematicJoint)
                record.aematicJoint->SetTarget(record.aematicJoint->GetTarget() + offset);
            record.aematicAnchorWorld += offset;
        }
    }
    showBodyInfo(rows[0]);
}

void SimulationView::setBodyColor(std::vector<QColor> colours, std::vector<int> rows)
{
    if (colours.empty() || std::any_of(colours.begin(), colours.end(), [](const QColor& c) { return !c.isValid(); }))
        return;
    currentBodyColor = colours[0];
    if (ui.colorBtn && ui.colorBtn->isEnabled())
        ui.colorBtn->setStyleSheet(QString::asprintf("background-color: rgb(%d, %d, %d);", colours[0].red(),
                                                     colours[0].green(), colours[0].blue()));
    for (size_t i = 0; i < rows.size() && i < colours.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        MyBody& record = bodies[size_t(rows[i])];
        const QColor& c = colours[i];
        const b2Color drawn(float(c.red()) / 255.0f, float(c.green()) / 255.0f, float(c.blue()) / 255.0f);
        // The record and the table's swatch for every row; the drawing data
        // only where the body is in the world.
        record.color = AEGP_ColorVal{1.0, double(drawn.r), double(drawn.g), double(drawn.b)};
        if (bodiesModel)
            if (QStandardItem* cell = bodiesModel->item(rows[i], 3))
                cell->setIcon(colourSwatch(c, iconBorderGray));
        for (b2Fixture* f = record.body ? record.body->GetFixtureList() : nullptr; f; f = f->GetNext())
            if (auto* data = reinterpret_cast<UserData*>(f->GetUserData().pointer))
                data->color = drawn;
    }
}

// Both AEmatic anchor setters pass over the rows whose body is not AEmatic:
// its anchor means nothing while it has another type, and a later change of
// type must find it where it was.
void SimulationView::setAEmaticAnchor(b2Vec2 delta, std::vector<int> rows)
{
    for (int row : rows)
        if (validRow(bodies, row) && bodies[size_t(row)].type == BodyType::AEmatic) {
            MyBody& record = bodies[size_t(row)];
            record.aematicAnchor += delta;
            record.committedAematicAnchor = record.aematicAnchor;
        }
}

void SimulationView::setAEmaticAnchorAbs(std::vector<b2Vec2> anchors, std::vector<int> rows)
{
    for (size_t i = 0; i < rows.size() && i < anchors.size(); ++i)
        if (validRow(bodies, rows[i]) && bodies[size_t(rows[i])].type == BodyType::AEmatic) {
            MyBody& record = bodies[size_t(rows[i])];
            record.aematicAnchor = record.committedAematicAnchor = anchors[i];
        }
}

void SimulationView::previewGravity(float magnitude, float direction)
{
    showGravity(magnitude, direction, false);
}

void SimulationView::setGravity(float magnitude, float direction)
{
    showGravity(magnitude, direction, true);
}

void SimulationView::showGravity(float magnitude, float direction, bool commit)
{
    const int magnitudeFrom = ui.gravityMagnitudeSld ? ui.gravityMagnitudeSld->fromVal : 0;
    const int directionFrom = ui.gravityDirectionSld ? ui.gravityDirectionSld->fromVal : 0;
    showInRow(ui.gravityMagnitudeEt, ui.gravityMagnitudeSld, double(magnitude), 1000.0);
    showInRow(ui.gravityDirectionEt, ui.gravityDirectionSld, double(direction), 1000.0);
    alignGravitySlider(ui.gravityMagnitudeEt, ui.gravityMagnitudeSld);
    alignGravitySlider(ui.gravityDirectionEt, ui.gravityDirectionSld);
    if (commit) {
        committed.gravityMagnitude = magnitude;
        committed.gravityDirection = direction;
    } else {
        // A preview keeps the sliders' from-values: the release still knows
        // where the drag began.
        if (ui.gravityMagnitudeSld)
            ui.gravityMagnitudeSld->fromVal = magnitudeFrom;
        if (ui.gravityDirectionSld)
            ui.gravityDirectionSld->fromVal = directionFrom;
    }
    updateGravityPoint(magnitude, handleAngle(double(direction)));
}

void SimulationView::setGravityMagnitude(float magnitude)
{
    showInRow(ui.gravityMagnitudeEt, ui.gravityMagnitudeSld, double(magnitude), 1000.0);
    alignGravitySlider(ui.gravityMagnitudeEt, ui.gravityMagnitudeSld);
    committed.gravityMagnitude = magnitude;
    const double direction = ui.gravityDirectionEt ? ui.gravityDirectionEt->value() : 0.0;
    updateGravityPoint(magnitude, handleAngle(direction));
}

void SimulationView::setGravityDirection(float direction)
{
    showInRow(ui.gravityDirectionEt, ui.gravityDirectionSld, double(direction), 1000.0);
    alignGravitySlider(ui.gravityDirectionEt, ui.gravityDirectionSld);
    committed.gravityDirection = direction;
    const double magnitude = ui.gravityMagnitudeEt ? ui.gravityMagnitudeEt->value() : 0.0;
    updateGravityPoint(float(magnitude), handleAngle(double(direction)));
}

void SimulationView::gravityMagnitudeSldChanged(int value)
{
    if (ui.gravityMagnitudeEt) {
        const QSignalBlocker blocker(ui.gravityMagnitudeEt);
        ui.gravityMagnitudeEt->setValue(value / 1000.0);
    }
    const double direction = ui.gravityDirectionEt ? ui.gravityDirectionEt->value() : 0.0;
    updateGravityPoint(float(value / 1000.0), handleAngle(direction));
}

void SimulationView::gravityDirectionSldChanged(int value)
{
    if (ui.gravityDirectionEt) {
        const QSignalBlocker blocker(ui.gravityDirectionEt);
        ui.gravityDirectionEt->setValue(value / 1000.0);
    }
    const double magnitude = ui.gravityMagnitudeEt ? ui.gravityMagnitudeEt->value() : 0.0;
    updateGravityPoint(float(magnitude), handleAngle(value / 1000.0));
}
