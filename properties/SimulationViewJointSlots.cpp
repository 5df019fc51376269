// The joint property rows. An edit box, a check box, a reset button or the
// release of a slider makes one command for every selected joint, whatever
// its type (a shared field such as damping reaches distance and spring
// joints alike), when some joint's value differs from the new one.
//
// A slider's moves are mirrored into its edit box; three act at once: the
// pivot angle sliders set the running world's pivot limits (the records
// follow at the release), and the desired-length slider writes the selected
// joints' records.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"
#include "properties/UserEdits.h"
#include "simulation/Box2DGuard.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QUndoStack>

#include <cstring>

namespace {

// The numeric rows with a fixed default: X(prefix, Prefix, field, reset
// value). The desired length's reset measures each joint instead.
#define ZOLVAR_JOINT_FLOAT_ROWS(X)                                                     \
    X(distanceJointFrequency, DistanceJointFrequency, frequency, 0.0f)                 \
    X(distanceJointDamping, DistanceJointDamping, damping, 0.0f)                       \
    X(revoluteJointLowerAngle, RevoluteJointLowerAngle, lowerAngle, 0.0f)              \
    X(revoluteJointUpperAngle, RevoluteJointUpperAngle, upperAngle, 0.0f)              \
    X(revoluteJointMotorSpeed, RevoluteJointMotorSpeed, motorSpeed, 0.0f)              \
    X(revoluteJointMaxMotorTorque, RevoluteJointMaxMotorTorque, maxMotorTorque, 0.0f)  \
    X(prismaticJointLowerTranslation, PrismaticJointLowerTranslation, lowerTranslation, 0.0f) \
    X(prismaticJointUpperTranslation, PrismaticJointUpperTranslation, upperTranslation, 0.0f) \
    X(prismaticJointMotorSpeed, PrismaticJointMotorSpeed, motorSpeed, 0.0f)            \
    X(prismaticJointMaxMotorForce, PrismaticJointMaxMotorForce, maxMotorForce, 0.0f)   \
    X(springJointSpringiness, SpringJointSpringiness, springiness, 1.0f)               \
    X(springJointDamping, SpringJointDamping, damping, 0.5f)
#define ZOLVAR_JOINT_DESIRED_LENGTH_ROW(X) X(springJointDesiredLength, SpringJointDesiredLength, desiredLength, 0.0f)

// The flag rows: X(prefix, Prefix, field, reset value).
#define ZOLVAR_JOINT_FLAG_ROWS(X)                                                        \
    X(distanceJointCollideConnected, DistanceJointCollideConnected, collideConnected, true)  \
    X(revoluteJointEnableLimit, RevoluteJointEnableLimit, enableLimit, false)               \
    X(revoluteJointEnableMotor, RevoluteJointEnableMotor, enableMotor, false)               \
    X(revoluteJointCollideConnected, RevoluteJointCollideConnected, collideConnected, true) \
    X(prismaticJointEnableLimit, PrismaticJointEnableLimit, enableLimit, false)             \
    X(prismaticJointEnableMotor, PrismaticJointEnableMotor, enableMotor, false)             \
    X(prismaticJointCollideConnected, PrismaticJointCollideConnected, collideConnected, true)

// pi as the single-precision value widened to double.
constexpr double kPi = 3.1415927;

// The selected joints' values of `field`, and one new value for all; the
// command is pushed when some joint differs (NaN counts as a difference).
// True when it was pushed.
template <class Command, typename T>
bool pushJointValue(SimulationView* view, T MyJoint::*field, T newValue)
{
    const std::vector<int> rows = view->getSelectedRowsInJointsTable2();
    std::vector<T> oldValues;
    bool changed = false;
    for (int row : rows) {
        const T old = view->joints[size_t(row)].*field;
        oldValues.push_back(old);
        changed = changed || !(old == newValue);
    }
    if (!changed || !view->getUndoStack())
        return false;
    view->getUndoStack()->push(new Command(view, oldValues, std::vector<T>(rows.size(), newValue), rows));
    return true;
}

void mirror(QDoubleSpinBox* edit, int value)
{
    if (!edit)
        return;
    const QSignalBlocker blocker(edit);
    edit->setValue(value / 1000.0);
}

float sliderRadians(int value)
{
    return float(value / 1000.0 * kPi / 180.0);
}

} // namespace

// --- Numeric rows -----------------------------------------------------------

#define ZOLVAR_JOINT_EDIT_SLOT(prefix, Prefix, field, resetValue)                                        \
    void SimulationView::prefix##EtEditingFinished()                                                    \
    {                                                                                                   \
        if (ui.prefix##Et && user_edits::take(ui.prefix##Et))                                           \
            pushJointValue<Command##Prefix##Change>(this, &MyJoint::field, float(ui.prefix##Et->value())); \
    }
ZOLVAR_JOINT_FLOAT_ROWS(ZOLVAR_JOINT_EDIT_SLOT)
ZOLVAR_JOINT_DESIRED_LENGTH_ROW(ZOLVAR_JOINT_EDIT_SLOT)
#undef ZOLVAR_JOINT_EDIT_SLOT

#define ZOLVAR_JOINT_PLAIN_SLIDER(prefix)                                                                \
    void SimulationView::prefix##SldChanged(int value) { mirror(ui.prefix##Et, value); }
ZOLVAR_JOINT_PLAIN_SLIDER(distanceJointFrequency)
ZOLVAR_JOINT_PLAIN_SLIDER(distanceJointDamping)
ZOLVAR_JOINT_PLAIN_SLIDER(revoluteJointMotorSpeed)
ZOLVAR_JOINT_PLAIN_SLIDER(revoluteJointMaxMotorTorque)
ZOLVAR_JOINT_PLAIN_SLIDER(prismaticJointLowerTranslation)
ZOLVAR_JOINT_PLAIN_SLIDER(prismaticJointUpperTranslation)
ZOLVAR_JOINT_PLAIN_SLIDER(prismaticJointMotorSpeed)
ZOLVAR_JOINT_PLAIN_SLIDER(prismaticJointMaxMotorForce)
ZOLVAR_JOINT_PLAIN_SLIDER(springJointSpringiness)
ZOLVAR_JOINT_PLAIN_SLIDER(springJointDamping)
#undef ZOLVAR_JOINT_PLAIN_SLIDER

#define ZOLVAR_JOINT_RESET_SLOT(prefix, Prefix, field, resetValue)                                       \
    void SimulationView::reset##Prefix() { pushJointValue<Command##Prefix##Change>(this, &MyJoint::field, resetValue); }
ZOLVAR_JOINT_FLOAT_ROWS(ZOLVAR_JOINT_RESET_SLOT)
#undef ZOLVAR_JOINT_RESET_SLOT

// The pivot limits of the running world follow the angle sliders; every
// selected pivot gets the same pair. The records change at the release.
void SimulationView::applyPivotLimitsLive(int lowerSlider, int upperSlider)
{
    const float lower = sliderRadians(lowerSlider);
    const float upper = sliderRadians(upperSlider);
    for (int row : getSelectedRowsInJointsTable2()) {
        const MyJoint& joint = joints[size_t(row)];
        if (joint.type == JointType::Revolute && joint.joint && joint.joint->GetType() == e_revoluteJoint)
            Box2DGuard::setLimits(static_cast<b2RevoluteJoint*>(joint.joint), lower, upper);
    }
}

void SimulationView::revoluteJointLowerAngleSldChanged(int value)
{
    mirror(ui.revoluteJointLowerAngleEt, value);
    applyPivotLimitsLive(value, ui.revoluteJointUpperAngleSld ? ui.revoluteJointUpperAngleSld->value() : 0);
}

void SimulationView::revoluteJointUpperAngleSldChanged(int value)
{
    mirror(ui.revoluteJointUpperAngleEt, value);
    applyPivotLimitsLive(ui.revoluteJointLowerAngleSld ? ui.revoluteJointLowerAngleSld->value() : 0, value);
}

// The records follow the slider at once; the spring force reads them on the
// next playing frame. The lengths from before the drag are kept for the
// release, which makes the drag's one command from them.
void SimulationView::springJointDesiredLengthSldChanged(int value)
{
    mirror(ui.springJointDesiredLengthEt, value);
    const float length = float(value / 1000.0);
    const bool dragStarts = desiredLengthsBeforeDrag.empty();
    for (int row : getSelectedRowsInJointsTable2()) {
        if (dragStarts)
            desiredLengthsBeforeDrag.emplace_back(row, joints[size_t(row)].desiredLength);
        joints[size_t(row)].desiredLength = length;
    }
}

// Each selected joint gets the distance between its bodies' centres of mass
// as they stand now (the records' positions where no world body exists).
void SimulationView::resetSpringJointDesiredLength()
{
    std::vector<int> rows;
    std::vector<float> oldValues;
    std::vector<float> newValues;
    bool changed = false;
    for (int row : getSelectedRowsInJointsTable2()) {
        const MyJoint& joint = joints[size_t(row)];
        if (joint.bodyA < 0 || joint.bodyB < 0 || size_t(joint.bodyA) >= bodies.size() ||
            size_t(joint.bodyB) >= bodies.size())
            continue;
        const MyBody& a = bodies[size_t(joint.bodyA)];
        const MyBody& b = bodies[size_t(joint.bodyB)];
        const b2Vec2 centreA = a.body ? a.body->GetWorldCenter() : a.position;
        const b2Vec2 centreB = b.body ? b.body->GetWorldCenter() : b.position;
        const float length = (centreB - centreA).Length();
        rows.push_back(row);
        oldValues.push_back(joint.desiredLength);
        newValues.push_back(length);
        changed = changed || !(joint.desiredLength == length);
    }
    if (changed && undoStack)
        undoStack->push(new CommandSpringJointDesiredLengthChange(this, oldValues, newValues, rows));
}

// --- Flag rows --------------------------------------------------------------

#define ZOLVAR_JOINT_FLAG_SLOTS(prefix, Prefix, field, resetValue)                                       \
    void SimulationView::prefix##CbClicked(bool checked)                                                \
    {                                                                                                   \
        pushJointValue<Command##Prefix##Change>(this, &MyJoint::field, checked);                        \
    }                                                                                                   \
    void SimulationView::reset##Prefix() { pushJointValue<Command##Prefix##Change>(this, &MyJoint::field, resetValue); }
ZOLVAR_JOINT_FLAG_ROWS(ZOLVAR_JOINT_FLAG_SLOTS)
#undef ZOLVAR_JOINT_FLAG_SLOTS

// --- Slider release and connections -----------------------------------------

namespace {

// Puts the desired lengths from before the slider's drag back into the
// records and forgets them.
void restoreLengths(std::vector<MyJoint>& joints, std::vector<std::pair<int, float>>& lengthsBefore)
{
    for (const auto& [row, length] : lengthsBefore)
        if (validRow(joints, row))
            joints[size_t(row)].desiredLength = length;
    lengthsBefore.clear();
}

} // namespace

bool SimulationView::jointSliderReleased(const QString& sliderName, int value)
{
    const float newValue = float(value / 1000.0);
    const QByteArray name = sliderName.toLatin1();
    bool found = false;
    bool pushed = false;
#define ZOLVAR_JOINT_RELEASE(prefix, Prefix, field, resetValue)                                          \
    if (!found && std::strcmp(name.constData(), #prefix "Sld") == 0) {                                  \
        found = true;                                                                                   \
        pushed = pushJointValue<Command##Prefix##Change>(this, &MyJoint::field, newValue);              \
    }
    ZOLVAR_JOINT_FLOAT_ROWS(ZOLVAR_JOINT_RELEASE)
#undef ZOLVAR_JOINT_RELEASE
    if (found) {
        // The pivot angle sliders gave every selected pivot of the running
        // world the pair the two sliders show; a release that changes no
        // record rebuilds the world from the records, so that no pivot keeps
        // a limit of another one.
        if (!pushed && (std::strcmp(name.constData(), "revoluteJointLowerAngleSld") == 0 ||
                        std::strcmp(name.constData(), "revoluteJointUpperAngleSld") == 0))
            restartAnimation();
        return true;
    }
    if (std::strcmp(name.constData(), "springJointDesiredLengthSld") == 0) {
        // The records go back to their lengths from before the drag, so the
        // command holds them as its old values and undo finds them.
        restoreLengths(joints, desiredLengthsBeforeDrag);
        pushJointValue<CommandSpringJointDesiredLengthChange>(this, &MyJoint::desiredLength, newValue);
        return true;
    }
    return false;
}

bool SimulationView::takeBackJointSlider(const QString& sliderName)
{
    const QByteArray name = sliderName.toLatin1();
    float MyJoint::*field = nullptr;
#define ZOLVAR_JOINT_FIELD(prefix, Prefix, recordField, resetValue)                                      \
    if (!field && std::strcmp(name.constData(), #prefix "Sld") == 0)                                    \
        field = &MyJoint::recordField;
    ZOLVAR_JOINT_FLOAT_ROWS(ZOLVAR_JOINT_FIELD)
    ZOLVAR_JOINT_DESIRED_LENGTH_ROW(ZOLVAR_JOINT_FIELD)
#undef ZOLVAR_JOINT_FIELD
    if (!field)
        return false;
    restoreLengths(joints, desiredLengthsBeforeDrag);
    showJointField(field, getSelectedRowsInJointsTable2());
    // The running world's pivots are built from the records again.
    if (field == &MyJoint::lowerAngle || field == &MyJoint::upperAngle)
        restartAnimation();
    return true;
}

void SimulationView::connectJointControls()
{
#define ZOLVAR_CONNECT_FLOAT_ROW(prefix, Prefix, field, resetValue)                                      \
    if (ui.prefix##Et) {                                                                                \
        user_edits::watch(ui.prefix##Et);                                                               \
        connect(ui.prefix##Et, &QDoubleSpinBox::editingFinished, this, &SimulationView::prefix##EtEditingFinished); \
    }                                                                                                   \
    if (ui.prefix##Sld)                                                                                 \
        connect(ui.prefix##Sld, &QSlider::valueChanged, this, &SimulationView::prefix##SldChanged);
#define ZOLVAR_CONNECT_FLAG_ROW(prefix, Prefix, field, resetValue)                                       \
    if (ui.prefix##Cb)                                                                                  \
        connect(ui.prefix##Cb, &QCheckBox::toggled, this, &SimulationView::prefix##CbClicked);
    ZOLVAR_JOINT_FLOAT_ROWS(ZOLVAR_CONNECT_FLOAT_ROW)
    ZOLVAR_JOINT_DESIRED_LENGTH_ROW(ZOLVAR_CONNECT_FLOAT_ROW)
    ZOLVAR_JOINT_FLAG_ROWS(ZOLVAR_CONNECT_FLAG_ROW)
#undef ZOLVAR_CONNECT_FLOAT_ROW
#undef ZOLVAR_CONNECT_FLAG_ROW
    connectJointsTableSelection(true);
}
