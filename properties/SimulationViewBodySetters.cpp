// The setters of the body properties: each shows the first value in its
// panel row and writes every value into its row's record. Commands call
// them; they rebuild nothing and push nothing.
#include "simulation/SimulationView.h"

#include "model/UserData.h"
#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/SliderGo.h"
#include "properties/TruncatedInt.h"
#include "properties/UserEdits.h"
#include "render/SceneDraw.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QStandardItem>
#include <QStandardItemModel>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kSliderScale = 1000.0;

} // namespace

int SimulationView::showInRow(QDoubleSpinBox* edit, SliderGo* slider, double value, double scale,
                              bool singlePrecision)
{
    if (edit) {
        const QSignalBlocker blocker(edit);
        edit->setValue(value);
        user_edits::forget(edit);
    }
    // Values beyond the slider's reach (the edit box's range is wider) are
    // kept within int before truncation; the slider keeps to its own range.
    const double product = singlePrecision ? double(float(value) * float(scale)) : value * scale;
    const int position = truncatedInt(product);
    if (slider) {
        const QSignalBlocker blocker(slider);
        slider->setValue(position);
        slider->setFromVal(position);
    }
    return position;
}

template <typename T>
void SimulationView::setBodyField(T MyBody::*field, const std::vector<T>& values, const std::vector<int>& rows)
{
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (validRow(bodies, rows[i]))
            bodies[size_t(rows[i])].*field = values[i];
}

void SimulationView::setBodyFloatRow(float MyBody::*field, QDoubleSpinBox* edit, SliderGo* slider,
                                     const std::vector<float>& values, const std::vector<int>& rows)
{
    if (values.empty())
        return;
    showInRow(edit, slider, double(values[0]), kSliderScale);
    setBodyField(field, values, rows);
}

void SimulationView::setDensity(std::vector<float> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    // The controls show the value as given; a body needs some mass, so the
    // records take at least 0.001 (NaN is stored as it is).
    showInRow(ui.densityEt, ui.densitySld, double(values[0]), kSliderScale);
    for (float& v : values)
        if (double(v) < 0.001)
            v = 0.001f;
    setBodyField(&MyBody::density, values, rows);
}

void SimulationView::setFriction(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::friction, ui.frictionEt, ui.frictionSld, values, rows);
}

void SimulationView::setBounciness(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::restitution, ui.bouncinessEt, ui.bouncinessSld, values, rows);
}

void SimulationView::setVelocityMagnitude(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::linearVelocityMagnitude, ui.velocityMagnitudeEt, ui.velocityMagnitudeSld, values, rows);
    setBodyField(&MyBody::committedVelocityMagnitude, values, rows);
}

void SimulationView::setVelocityDirection(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::linearVelocityDirection, ui.velocityDirectionEt, ui.velocityDirectionSld, values, rows);
    setBodyField(&MyBody::committedVelocityDirection, values, rows);
}

void SimulationView::setBodiesVelocity(std::vector<float> magnitudes, std::vector<float> directions,
                                       std::vector<int> rows)
{
    // Without rows the panel keeps what it shows.
    if (rows.empty())
        return;
    setVelocityMagnitude(std::move(magnitudes), rows);
    setVelocityDirection(std::move(directions), std::move(rows));
}

void SimulationView::setAngularVelocity(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::angularVelocity, ui.angularVelocityEt, ui.angularVelocitySld, values, rows);
}

void SimulationView::setLinearDamping(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::linearDamping, ui.linearDampingEt, ui.linearDampingSld, values, rows);
}

void SimulationView::setAngularDamping(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::angularDamping, ui.angularDampingEt, ui.angularDampingSld, values, rows);
}

void SimulationView::setAEmaticDamping(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::aematicDamping, ui.aematicDampingEt, ui.aematicDampingSld, values, rows);
}

void SimulationView::setAEmaticTension(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::aematicTension, ui.aematicTensionEt, ui.aematicTensionSld, values, rows);
}

void SimulationView::setGravityScale(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::gravityScale, ui.gravityScaleEt, ui.gravityScaleSld, values, rows);
}

void SimulationView::setMagnetIntensity(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::magnetIntensity, ui.magnetIntensityEt, ui.magnetIntensitySld, values, rows);
}

void SimulationView::setMagnetDistance(std::vector<float> values, std::vector<int> rows)
{
    setBodyFloatRow(&MyBody::magnetDistance, ui.magnetDistanceEt, ui.magnetDistanceSld, values, rows);
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (UserData* data = bodyUserData(rows[i]))
            data->magnetDistance = values[i];
}

void SimulationView::setOpenShapeLineWidth(std::vector<float> values, std::vector<int> rows)
{
    for (float& v : values)
        v = std::clamp(v, 0.005f, 0.065f);
    setBodyField(&MyBody::openShapeLineWidth, values, rows);
}

void SimulationView::setType(std::vector<int> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showQuietly(ui.typeLst, values[0]);
    setBodyField(&MyBody::type, values, rows);
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        if (UserData* data = bodyUserData(rows[i])) {
            data->staticHighlight = values[i] == BodyType::Static;
            data->pickable = true;
        }
        if (values[i] == BodyType::Kinematic)
            hasKinematicBody = true;
        else if (values[i] == BodyType::Dormant)
            hasDormantBody = true;
        else if (values[i] == BodyType::AEmatic)
            hasAEmaticBody = true;
    }
    if (values[0] == BodyType::AEmatic) {
        if (jointsAction)
            jointsAction->setChecked(true);
        drawingFlags |= DrawingFlag::Joints;
    }
}

void SimulationView::setCollisionGroup(std::vector<int> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showQuietly(ui.collisionGroupLst, values[0]);
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        // An index that no list entry has is group A.
        const int group = values[i] >= 0 && values[i] <= 4 ? values[i] : 0;
        bodies[size_t(rows[i])].categoryBits = uint16_t(1u << group);
        if (bodiesModel)
            if (QStandardItem* cell = bodiesModel->item(rows[i], 2))
                cell->setText(QString(QChar('A' + group)));
    }
}

void SimulationView::setCollideWith(int bit, QCheckBox* box, const std::vector<bool>& values,
                                    const std::vector<int>& rows)
{
    if (values.empty())
        return;
    showQuietly(box, bool(values[0]));
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        uint16_t& mask = bodies[size_t(rows[i])].maskBits;
        mask = values[i] ? uint16_t(mask | bit) : uint16_t(mask & ~bit);
    }
}

void SimulationView::setCollideWithA(std::vector<bool> values, std::vector<int> rows)
{
    setCollideWith(1, ui.collideWithACb, values, rows);
}

void SimulationView::setCollideWithB(std::vector<bool> values, std::vector<int> rows)
{
    setCollideWith(2, ui.collideWithBCb, values, rows);
}

void SimulationView::setCollideWithC(std::vector<bool> values, std::vector<int> rows)
{
    setCollideWith(4, ui.collideWithCCb, values, rows);
}

void SimulationView::setCollideWithD(std::vector<bool> values, std::vector<int> rows)
{
    setCollideWith(8, ui.collideWithDCb, values, rows);
}

void SimulationView::setCollideWithE(std::vector<bool> values, std::vector<int> rows)
{
    setCollideWith(16, ui.collideWithECb, values, rows);
}

void SimulationView::setFixedRotation(std::vector<bool> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showQuietly(ui.fixedRotationCb, bool(values[0]));
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (validRow(bodies, rows[i]))
            bodies[size_t(rows[i])].fixedRotation = values[i];
}

void SimulationView::setAcceptMagnetism(std::vector<bool> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showQuietly(ui.acceptMagnetismCb, bool(values[0]));
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (validRow(bodies, rows[i]))
            bodies[size_t(rows[i])].acceptMagnetism = values[i];
}

void SimulationView::setMagnetismType(std::vector<int> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showQuietly(ui.magnetismTypeLst, values[0]);
    setBodyField(&MyBody::magnetismType, values, rows);
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        const bool magnet = values[i] == MagnetismType::Attraction || values[i] == MagnetismType::Repulsion;
        if (magnet)
            hasMagnet = true;
        if (UserData* data = bodyUserData(rows[i])) {
            data->isMagnet = magnet;
            data->isRepulsion = values[i] == MagnetismType::Repulsion;
        }
    }
}

UserData* SimulationView::bodyUserData(int body) const
{
    if (!validRow(bodies, body))
        return nullptr;
    b2Body* b = bodies[size_t(body)].body;
    b2Fixture* f = b ? b->GetFixtureList() : nullptr;
    return f ? reinterpret_cast<UserData*>(f->GetUserData().pointer) : nullptr;
}
