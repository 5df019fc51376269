// The setters of the joint properties: the first value shows in the joint
// page's controls, every value goes into its row's joint record.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/SliderGo.h"

#include <QCheckBox>

template <typename T>
void SimulationView::setJointField(T MyJoint::*field, const std::vector<T>& values, const std::vector<int>& rows)
{
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (validRow(joints, rows[i]))
            joints[size_t(rows[i])].*field = values[i];
}

void SimulationView::setJointFloatRow(float MyJoint::*field, QDoubleSpinBox* edit, SliderGo* slider,
                                      const std::vector<float>& values, const std::vector<int>& rows)
{
    if (values.empty())
        return;
    showInRow(edit, slider, double(values[0]), 1000.0);
    setJointField(field, values, rows);
}

void SimulationView::setJointBoolRow(bool MyJoint::*field, QCheckBox* box, const std::vector<bool>& values,
                                     const std::vector<int>& rows)
{
    if (values.empty())
        return;
    showQuietly(box, values[0]);
    setJointField(field, values, rows);
}

#define ZOLVAR_JOINT_FLOAT_SETTER(Name, field, control)                                          \
    void SimulationView::set##Name(std::vector<float> values, std::vector<int> rows)             \
    {                                                                                            \
        setJointFloatRow(&MyJoint::field, ui.control##Et, ui.control##Sld, values, rows);        \
    }
#define ZOLVAR_JOINT_BOOL_SETTER(Name, field, control)                                           \
    void SimulationView::set##Name(std::vector<bool> values, std::vector<int> rows)              \
    {                                                                                            \
        setJointBoolRow(&MyJoint::field, ui.control##Cb, values, rows);                          \
    }

ZOLVAR_JOINT_FLOAT_SETTER(DistanceJointFrequency, frequency, distanceJointFrequency)
ZOLVAR_JOINT_FLOAT_SETTER(DistanceJointDamping, damping, distanceJointDamping)
ZOLVAR_JOINT_BOOL_SETTER(DistanceJointCollideConnected, collideConnected, distanceJointCollideConnected)
ZOLVAR_JOINT_BOOL_SETTER(RevoluteJointEnableLimit, enableLimit, revoluteJointEnableLimit)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointLowerAngle, lowerAngle, revoluteJointLowerAngle)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointUpperAngle, upperAngle, revoluteJointUpperAngle)
ZOLVAR_JOINT_BOOL_SETTER(RevoluteJointEnableMotor, enableMotor, revoluteJointEnableMotor)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointMotorSpeed, motorSpeed, revoluteJointMotorSpeed)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointMaxMotorTorque, maxMotorTorque, revoluteJointMaxMotorTorque)
ZOLVAR_JOINT_BOOL_SETTER(RevoluteJointCollideConnected, collideConnected, revoluteJointCollideConnected)
ZOLVAR_JOINT_BOOL_SETTER(PrismaticJointEnableLimit, enableLimit, prismaticJointEnableLimit)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointLowerTranslation, lowerTranslation, prismaticJointLowerTranslation)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointUpperTranslation, upperTranslation, prismaticJointUpperTranslation)
ZOLVAR_JOINT_BOOL_SETTER(PrismaticJointEnableMotor, enableMotor, prismaticJointEnableMotor)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointMotorSpeed, motorSpeed, prismaticJointMotorSpeed)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointMaxMotorForce, maxMotorForce, prismaticJointMaxMotorForce)
ZOLVAR_JOINT_BOOL_SETTER(PrismaticJointCollideConnected, collideConnected, prismaticJointCollideConnected)
ZOLVAR_JOINT_FLOAT_SETTER(SpringJointSpringiness, springiness, springJointSpringiness)
ZOLVAR_JOINT_FLOAT_SETTER(SpringJointDamping, damping, springJointDamping)
ZOLVAR_JOINT_FLOAT_SETTER(SpringJointDesiredLength, desiredLength, springJointDesiredLength)

#undef ZOLVAR_JOINT_FLOAT_SETTER
#undef ZOLVAR_JOINT_BOOL_SETTER

// Anchors moved by the anchor tool; both the live and the committed value.
void SimulationView::setJointAnchors(std::vector<b2Vec2> anchors, std::vector<int> rows)
{
    for (size_t i = 0; i < rows.size() && i < anchors.size(); ++i)
        if (validRow(joints, rows[i])) {
            MyJoint& joint = joints[size_t(rows[i])];
            joint.anchor = joint.committedAnchor = anchors[i];
        }
}

void SimulationView::setJointAnchors(std::vector<b2Vec2> deltasA, std::vector<b2Vec2> deltasB,
                                     std::vector<int> rows)
{
    for (size_t i = 0; i < rows.size() && i < deltasA.size() && i < deltasB.size(); ++i)
        if (validRow(joints, rows[i])) {
            MyJoint& joint = joints[size_t(rows[i])];
            joint.anchorA = joint.committedAnchorA = joint.anchorA + deltasA[i];
            joint.anchorB = joint.committedAnchorB = joint.anchorB + deltasB[i];
        }
}

void SimulationView::setJointAxes(std::vector<b2Vec2> axes, std::vector<int> rows)
{
    for (size_t i = 0; i < rows.size() && i < axes.size(); ++i)
        if (validRow(joints, rows[i])) {
            MyJoint& joint = joints[size_t(rows[i])];
            joint.axis = joint.committedAxis = axes[i];
        }
}
