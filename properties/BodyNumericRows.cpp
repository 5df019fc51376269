// The numeric rows of the body panel. Every row works the same way: the
// slider only previews in the edit box, and the edit box, the slider's
// release and the reset button make the row's command for the selected
// bodies when one of them changes. The rows differ only in the table below.
#include "properties/BodyNumericRows.h"

#include "model/UserData.h"
#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"
#include "properties/TruncatedInt.h"
#include "properties/UserEdits.h"
#include "simulation/SimulationView.h"

#include <QSignalBlocker>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace {

template <class Command>
QUndoCommand* floatCommand(SimulationView* view, const std::vector<float>& oldValues, float newValue,
                           const std::vector<int>& rows)
{
    return new Command(view, oldValues, std::vector<float>(rows.size(), newValue), rows);
}

QUndoCommand* meshPrecisionCommand(SimulationView* view, const std::vector<float>& oldValues, float newValue,
                                   const std::vector<int>& rows)
{
    std::vector<int> oldInts;
    for (float v : oldValues)
        oldInts.push_back(int(v));
    return new CommandMeshPrecisionChange(view, oldInts, std::vector<int>(rows.size(), int(newValue)), rows);
}

using F = Ui::ZolvarDlgClass;

#define ZOLVAR_NUMERIC_ROW(p, P, field, factor, deflt, command)                                            \
    NumericBodyRow                                                                                         \
    {                                                                                                      \
        #p "Sld", field, [](const F& f) -> QDoubleSpinBox* { return f.p##Et; },                           \
            [](const F& f) -> SliderGo* { return f.p##Sld; }, factor, deflt, command,                      \
            &SimulationView::p##EtEditingFinished, &SimulationView::p##SldChanged                          \
    }

const std::array<NumericBodyRow, kNumericBodyRowCount> kRows{{
    ZOLVAR_NUMERIC_ROW(density, Density, &MyBody::density, 1000.0, 1.0f, floatCommand<CommandDensityChange>),
    ZOLVAR_NUMERIC_ROW(friction, Friction, &MyBody::friction, 1000.0, 0.5f, floatCommand<CommandFrictionChange>),
    ZOLVAR_NUMERIC_ROW(bounciness, Bounciness, &MyBody::restitution, 1000.0, 0.3f,
                       floatCommand<CommandBouncinessChange>),
    ZOLVAR_NUMERIC_ROW(meshPrecision, MeshPrecision, nullptr, 1.0, 2.0f, meshPrecisionCommand),
    ZOLVAR_NUMERIC_ROW(velocityMagnitude, VelocityMagnitude, &MyBody::linearVelocityMagnitude, 1000.0, 0.0f,
                       floatCommand<CommandVelocityMagnitudeChange>),
    ZOLVAR_NUMERIC_ROW(velocityDirection, VelocityDirection, &MyBody::linearVelocityDirection, 1000.0, 0.0f,
                       floatCommand<CommandVelocityDirectionChange>),
    ZOLVAR_NUMERIC_ROW(angularVelocity, AngularVelocity, &MyBody::angularVelocity, 1000.0, 0.0f,
                       floatCommand<CommandAngularVelocityChange>),
    ZOLVAR_NUMERIC_ROW(linearDamping, LinearDamping, &MyBody::linearDamping, 1000.0, 0.0f,
                       floatCommand<CommandLinearDampingChange>),
    ZOLVAR_NUMERIC_ROW(angularDamping, AngularDamping, &MyBody::angularDamping, 1000.0, 0.0f,
                       floatCommand<CommandAngularDampingChange>),
    ZOLVAR_NUMERIC_ROW(aematicDamping, AEmaticDamping, &MyBody::aematicDamping, 1000.0, 0.5f,
                       floatCommand<CommandAEmaticDampingChange>),
    ZOLVAR_NUMERIC_ROW(aematicTension, AEmaticTension, &MyBody::aematicTension, 1000.0, 1.0f,
                       floatCommand<CommandAEmaticTensionChange>),
    ZOLVAR_NUMERIC_ROW(gravityScale, GravityScale, &MyBody::gravityScale, 1000.0, 1.0f,
                       floatCommand<CommandGravityScaleChange>),
    ZOLVAR_NUMERIC_ROW(magnetIntensity, MagnetIntensity, &MyBody::magnetIntensity, 1000.0, 10.0f,
                       floatCommand<CommandMagnetIntensityChange>),
    ZOLVAR_NUMERIC_ROW(magnetDistance, MagnetDistance, &MyBody::magnetDistance, 1000.0, 100.0f,
                       floatCommand<CommandMagnetDistanceChange>),
}};

#undef ZOLVAR_NUMERIC_ROW

enum Row { Density, Friction, Bounciness, MeshPrecision, VelocityMagnitude, VelocityDirection, AngularVelocity,
           LinearDamping, AngularDamping, AEmaticDamping, AEmaticTension, GravityScale, MagnetIntensity,
           MagnetDistance };

} // namespace

const std::array<NumericBodyRow, kNumericBodyRowCount>& numericBodyRows()
{
    return kRows;
}

int numericBodyRowOfSlider(const QString& sliderName)
{
    for (int i = 0; i < kNumericBodyRowCount; ++i)
        if (sliderName == QLatin1String(kRows[size_t(i)].sliderName))
            return i;
    return -1;
}

void SimulationView::pushBodyRow(int row, double newValue)
{
    if (row < 0 || row >= kNumericBodyRowCount || !undoStack)
        return;
    const NumericBodyRow& r = kRows[size_t(row)];
    const std::vector<int> rows = getSelectedRows2();
    // Mesh precision compares whole numbers, the others floats; a NaN on
    // either side counts as a change.
    const float value = r.field ? float(newValue) : float(truncatedInt(newValue));
    std::vector<float> oldValues;
    bool changed = false;
    for (int b : rows) {
        const MyBody& body = bodies[size_t(b)];
        const float old = r.field ? body.*r.field : float(body.meshPrecision);
        oldValues.push_back(old);
        changed = changed || !(old == value);
    }
    if (changed)
        undoStack->push(r.command(this, oldValues, value, rows));
}

bool SimulationView::releaseBodySlider(const QString& sliderName, int value)
{
    const int row = numericBodyRowOfSlider(sliderName);
    if (row < 0)
        return false;
    pushBodyRow(row, value / kRows[size_t(row)].factor);
    return true;
}

bool SimulationView::takeBackBodySlider(const QString& sliderName)
{
    const int row = numericBodyRowOfSlider(sliderName);
    if (row < 0)
        return false;
    if (validRow(bodies, bodyPanelRow))
        setBodyControls(bodyPanelRow);
    if (row == MagnetDistance)
        for (int b : getSelectedRows2())
            if (UserData* data = bodyUserData(b))
                data->magnetDistance = bodies[size_t(b)].magnetDistance;
    return true;
}

// The slider previews its value in the edit box; only magnet distance also
// moves the selected bodies' magnet circles while it is dragged.
#define ZOLVAR_NUMERIC_SLOTS(p, P)                                                   \
    void SimulationView::p##SldChanged(int value)                                    \
    {                                                                                \
        if (QDoubleSpinBox* edit = kRows[P].edit(ui)) {                              \
            const QSignalBlocker blocker(edit);                                      \
            edit->setValue(value / kRows[P].factor);                                 \
        }                                                                            \
        if (P == MagnetDistance)                                                     \
            for (int b : getSelectedRows2())                                         \
                if (UserData* data = bodyUserData(b))                                \
                    data->magnetDistance = float(value / 1000.0);                    \
    }                                                                                \
    void SimulationView::p##EtEditingFinished()                                      \
    {                                                                                \
        QDoubleSpinBox* edit = kRows[P].edit(ui);                                    \
        if (edit && user_edits::take(edit))                                          \
            pushBodyRow(P, edit->value());                                           \
    }                                                                                \
    void SimulationView::reset##P() { pushBodyRow(P, double(kRows[P].defaultValue)); }

ZOLVAR_NUMERIC_SLOTS(density, Density)
ZOLVAR_NUMERIC_SLOTS(friction, Friction)
ZOLVAR_NUMERIC_SLOTS(bounciness, Bounciness)
ZOLVAR_NUMERIC_SLOTS(meshPrecision, MeshPrecision)
ZOLVAR_NUMERIC_SLOTS(velocityMagnitude, VelocityMagnitude)
ZOLVAR_NUMERIC_SLOTS(velocityDirection, VelocityDirection)
ZOLVAR_NUMERIC_SLOTS(angularVelocity, AngularVelocity)
ZOLVAR_NUMERIC_SLOTS(linearDamping, LinearDamping)
ZOLVAR_NUMERIC_SLOTS(angularDamping, AngularDamping)
ZOLVAR_NUMERIC_SLOTS(aematicDamping, AEmaticDamping)
ZOLVAR_NUMERIC_SLOTS(aematicTension, AEmaticTension)
ZOLVAR_NUMERIC_SLOTS(gravityScale, GravityScale)
ZOLVAR_NUMERIC_SLOTS(magnetIntensity, MagnetIntensity)
ZOLVAR_NUMERIC_SLOTS(magnetDistance, MagnetDistance)

#undef ZOLVAR_NUMERIC_SLOTS
