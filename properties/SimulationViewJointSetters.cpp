// The setters of the joint properties: every value goes into its row's
// joint record, and each page that shows the field shows it for the joint
// the page describes.
#include "simulation/SimulationView.h"

#include "properties/PanelRows.h"

template <typename T>
void SimulationView::setJointField(T MyJoint::*field, const std::vector<T>& values, const std::vector<int>& rows)
{
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (validRow(joints, rows[i]))
            joints[size_t(rows[i])].*field = values[i];
}

void SimulationView::setJointFloatRow(float MyJoint::*field, const std::vector<float>& values,
                                      const std::vector<int>& rows)
{
    setJointField(field, values, rows);
    showJointField(field, rows);
}

void SimulationView::setJointBoolRow(bool MyJoint::*field, const std::vector<bool>& values,
                                     const std::vector<int>& rows)
{
    setJointField(field, values, rows);
    showJointField(field, rows);
}

#define ZOLVAR_JOINT_FLOAT_SETTER(Name, field)                                                   \
    void SimulationView::set##Name(std::vector<float> values, std::vector<int> rows)             \
    {                                                                                            \
        setJointFloatRow(&MyJoint::field, values, rows);                                         \
    }
#define ZOLVAR_JOINT_BOOL_SETTER(Name, field)                                                    \
    void SimulationView::set##Name(std::vector<bool> values, std::vector<int> rows)              \
    {                                                                                            \
        setJointBoolRow(&MyJoint::field, values, rows);                                          \
    }

ZOLVAR_JOINT_FLOAT_SETTER(DistanceJointFrequency, frequency)
ZOLVAR_JOINT_FLOAT_SETTER(DistanceJointDamping, damping)
ZOLVAR_JOINT_BOOL_SETTER(DistanceJointCollideConnected, collideConnected)
ZOLVAR_JOINT_BOOL_SETTER(RevoluteJointEnableLimit, enableLimit)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointLowerAngle, lowerAngle)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointUpperAngle, upperAngle)
ZOLVAR_JOINT_BOOL_SETTER(RevoluteJointEnableMotor, enableMotor)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointMotorSpeed, motorSpeed)
ZOLVAR_JOINT_FLOAT_SETTER(RevoluteJointMaxMotorTorque, maxMotorTorque)
ZOLVAR_JOINT_BOOL_SETTER(RevoluteJointCollideConnected, collideConnected)
ZOLVAR_JOINT_BOOL_SETTER(PrismaticJointEnableLimit, enableLimit)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointLowerTranslation, lowerTranslation)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointUpperTranslation, upperTranslation)
ZOLVAR_JOINT_BOOL_SETTER(PrismaticJointEnableMotor, enableMotor)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointMotorSpeed, motorSpeed)
ZOLVAR_JOINT_FLOAT_SETTER(PrismaticJointMaxMotorForce, maxMotorForce)
ZOLVAR_JOINT_BOOL_SETTER(PrismaticJointCollideConnected, collideConnected)
ZOLVAR_JOINT_FLOAT_SETTER(SpringJointSpringiness, springiness)
ZOLVAR_JOINT_FLOAT_SETTER(SpringJointDamping, damping)
ZOLVAR_JOINT_FLOAT_SETTER(SpringJointDesiredLength, desiredLength)

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
