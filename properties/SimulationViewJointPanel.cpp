// The joint properties panel: one page per joint type, enabled while a
// joint of that type is selected, showing one joint's values without
// starting an edit; the application of joint records property by property;
// and the type icons of the joints table, which follow the theme.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/SliderGo.h"

#include <QCheckBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QToolButton>

namespace {

void enableAll(std::initializer_list<QWidget*> widgets, bool enable)
{
    for (QWidget* w : widgets)
        if (w)
            w->setEnabled(enable);
}

} // namespace

#define ZOLVAR_NUMBER_ROW(p, P) ui.p##St, ui.p##Et, ui.p##Sld, ui.reset##P##Btn
#define ZOLVAR_FLAG_ROW(p, P) ui.p##Cb, ui.reset##P##Btn

void SimulationView::enableDistanceJointControls(bool enable)
{
    enableAll({ZOLVAR_NUMBER_ROW(distanceJointFrequency, DistanceJointFrequency),
               ZOLVAR_NUMBER_ROW(distanceJointDamping, DistanceJointDamping),
               ZOLVAR_FLAG_ROW(distanceJointCollideConnected, DistanceJointCollideConnected)},
              enable);
}

void SimulationView::enableRevoluteJointControls(bool enable)
{
    enableAll({ZOLVAR_FLAG_ROW(revoluteJointEnableLimit, RevoluteJointEnableLimit),
               ZOLVAR_NUMBER_ROW(revoluteJointLowerAngle, RevoluteJointLowerAngle),
               ZOLVAR_NUMBER_ROW(revoluteJointUpperAngle, RevoluteJointUpperAngle),
               ZOLVAR_FLAG_ROW(revoluteJointEnableMotor, RevoluteJointEnableMotor),
               ZOLVAR_NUMBER_ROW(revoluteJointMotorSpeed, RevoluteJointMotorSpeed),
               ZOLVAR_NUMBER_ROW(revoluteJointMaxMotorTorque, RevoluteJointMaxMotorTorque),
               ZOLVAR_FLAG_ROW(revoluteJointCollideConnected, RevoluteJointCollideConnected)},
              enable);
}

void SimulationView::enablePrismaticJointControls(bool enable)
{
    enableAll({ZOLVAR_FLAG_ROW(prismaticJointEnableLimit, PrismaticJointEnableLimit),
               ZOLVAR_NUMBER_ROW(prismaticJointLowerTranslation, PrismaticJointLowerTranslation),
               ZOLVAR_NUMBER_ROW(prismaticJointUpperTranslation, PrismaticJointUpperTranslation),
               ZOLVAR_FLAG_ROW(prismaticJointEnableMotor, PrismaticJointEnableMotor),
               ZOLVAR_NUMBER_ROW(prismaticJointMotorSpeed, PrismaticJointMotorSpeed),
               ZOLVAR_NUMBER_ROW(prismaticJointMaxMotorForce, PrismaticJointMaxMotorForce),
               ZOLVAR_FLAG_ROW(prismaticJointCollideConnected, PrismaticJointCollideConnected)},
              enable);
}

void SimulationView::enableSpringJointControls(bool enable)
{
    enableAll({ZOLVAR_NUMBER_ROW(springJointSpringiness, SpringJointSpringiness),
               ZOLVAR_NUMBER_ROW(springJointDamping, SpringJointDamping),
               ZOLVAR_NUMBER_ROW(springJointDesiredLength, SpringJointDesiredLength)},
              enable);
}

#undef ZOLVAR_NUMBER_ROW
#undef ZOLVAR_FLAG_ROW

void SimulationView::setJointControls(int row)
{
    if (!validRow(joints, row))
        return;
    const MyJoint& j = joints[size_t(row)];
    const double k = 1000.0;
    switch (j.type) {
    case JointType::Distance:
        showInRow(ui.distanceJointFrequencyEt, ui.distanceJointFrequencySld, j.frequency, k);
        showInRow(ui.distanceJointDampingEt, ui.distanceJointDampingSld, j.damping, k);
        showQuietly(ui.distanceJointCollideConnectedCb, j.collideConnected);
        break;
    case JointType::Revolute:
        showQuietly(ui.revoluteJointEnableLimitCb, j.enableLimit);
        showInRow(ui.revoluteJointLowerAngleEt, ui.revoluteJointLowerAngleSld, j.lowerAngle, k);
        showInRow(ui.revoluteJointUpperAngleEt, ui.revoluteJointUpperAngleSld, j.upperAngle, k);
        showQuietly(ui.revoluteJointEnableMotorCb, j.enableMotor);
        showInRow(ui.revoluteJointMotorSpeedEt, ui.revoluteJointMotorSpeedSld, j.motorSpeed, k);
        showInRow(ui.revoluteJointMaxMotorTorqueEt, ui.revoluteJointMaxMotorTorqueSld, j.maxMotorTorque, k);
        showQuietly(ui.revoluteJointCollideConnectedCb, j.collideConnected);
        break;
    case JointType::Prismatic:
        showQuietly(ui.prismaticJointEnableLimitCb, j.enableLimit);
        showInRow(ui.prismaticJointLowerTranslationEt, ui.prismaticJointLowerTranslationSld, j.lowerTranslation, k);
        showInRow(ui.prismaticJointUpperTranslationEt, ui.prismaticJointUpperTranslationSld, j.upperTranslation, k);
        showQuietly(ui.prismaticJointEnableMotorCb, j.enableMotor);
        showInRow(ui.prismaticJointMotorSpeedEt, ui.prismaticJointMotorSpeedSld, j.motorSpeed, k);
        showInRow(ui.prismaticJointMaxMotorForceEt, ui.prismaticJointMaxMotorForceSld, j.maxMotorForce, k);
        showQuietly(ui.prismaticJointCollideConnectedCb, j.collideConnected);
        break;
    case JointType::Spring:
        showInRow(ui.springJointSpringinessEt, ui.springJointSpringinessSld, j.springiness, k);
        showInRow(ui.springJointDampingEt, ui.springJointDampingSld, j.damping, k);
        showInRow(ui.springJointDesiredLengthEt, ui.springJointDesiredLengthSld, j.desiredLength, k);
        break;
    default:
        break;
    }
}

namespace {

// Calls the setter with the record's value when it differs from the joint's.
template <typename T>
void applyIfDifferent(SimulationView* view, const MyJoint& current, const MyJoint& given, T MyJoint::*field,
                      void (SimulationView::*setter)(std::vector<T>, std::vector<int>), int row)
{
    if (!(current.*field == given.*field))
        (view->*setter)({given.*field}, {row});
}

} // namespace

void SimulationView::setJointProperties(std::vector<MyJoint> records, std::vector<int> rows)
{
    for (int row : rows) {
        // Rows past either list are skipped, never indexed.
        if (!validRow(joints, row) || !validRow(records, row))
            continue;
        const MyJoint& given = records[size_t(row)];
        auto apply = [&](auto field, auto setter) {
            // The current record is read afresh: each setter may change it.
            applyIfDifferent(this, joints[size_t(row)], given, field, setter, row);
        };
        switch (joints[size_t(row)].type) {
        case JointType::Distance:
            apply(&MyJoint::frequency, &SimulationView::setDistanceJointFrequency);
            apply(&MyJoint::damping, &SimulationView::setDistanceJointDamping);
            apply(&MyJoint::collideConnected, &SimulationView::setDistanceJointCollideConnected);
            break;
        case JointType::Revolute:
            apply(&MyJoint::enableLimit, &SimulationView::setRevoluteJointEnableLimit);
            apply(&MyJoint::lowerAngle, &SimulationView::setRevoluteJointLowerAngle);
            apply(&MyJoint::upperAngle, &SimulationView::setRevoluteJointUpperAngle);
            apply(&MyJoint::enableMotor, &SimulationView::setRevoluteJointEnableMotor);
            apply(&MyJoint::motorSpeed, &SimulationView::setRevoluteJointMotorSpeed);
            apply(&MyJoint::maxMotorTorque, &SimulationView::setRevoluteJointMaxMotorTorque);
            apply(&MyJoint::collideConnected, &SimulationView::setRevoluteJointCollideConnected);
            break;
        case JointType::Prismatic:
            apply(&MyJoint::enableLimit, &SimulationView::setPrismaticJointEnableLimit);
            apply(&MyJoint::lowerTranslation, &SimulationView::setPrismaticJointLowerTranslation);
            apply(&MyJoint::upperTranslation, &SimulationView::setPrismaticJointUpperTranslation);
            apply(&MyJoint::enableMotor, &SimulationView::setPrismaticJointEnableMotor);
            apply(&MyJoint::motorSpeed, &SimulationView::setPrismaticJointMotorSpeed);
            apply(&MyJoint::maxMotorForce, &SimulationView::setPrismaticJointMaxMotorForce);
            apply(&MyJoint::collideConnected, &SimulationView::setPrismaticJointCollideConnected);
            break;
        case JointType::Spring:
            apply(&MyJoint::springiness, &SimulationView::setSpringJointSpringiness);
            apply(&MyJoint::damping, &SimulationView::setSpringJointDamping);
            apply(&MyJoint::desiredLength, &SimulationView::setSpringJointDesiredLength);
            break;
        default:
            break;
        }
    }
}

void SimulationView::updateJointIcons(int newTheme)
{
    loadJointIcons(newTheme);
    if (!jointsModel)
        return;
    for (size_t i = 0; i < joints.size() && int(i) < jointsModel->rowCount(); ++i)
        jointsModel->setItem(int(i), 1, jointTypeItem(joints[i].type));
}
