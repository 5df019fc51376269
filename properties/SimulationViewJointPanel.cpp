// The joint properties panel: one page per joint type, enabled while a
// joint of that type is selected, showing one joint's values without
// starting an edit (after a change, each page shows the joint it describes); the application of joint records property by property;
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

namespace {

// The controls of the panel, each on the page of one joint type, in panel
// order per page.
struct NumberControl
{
    int type;
    float MyJoint::*field;
    QDoubleSpinBox* edit;
    SliderGo* slider;
};

struct FlagControl
{
    int type;
    bool MyJoint::*field;
    QCheckBox* box;
};

#define ZOLVAR_NUMBER(type, field, p) NumberControl{JointType::type, &MyJoint::field, ui.p##Et, ui.p##Sld}
#define ZOLVAR_FLAG(type, field, p) FlagControl{JointType::type, &MyJoint::field, ui.p##Cb}

std::vector<NumberControl> numberControls(const Ui::ZolvarDlgClass& ui)
{
    return {
        ZOLVAR_NUMBER(Distance, frequency, distanceJointFrequency),
        ZOLVAR_NUMBER(Distance, damping, distanceJointDamping),
        ZOLVAR_NUMBER(Revolute, lowerAngle, revoluteJointLowerAngle),
        ZOLVAR_NUMBER(Revolute, upperAngle, revoluteJointUpperAngle),
        ZOLVAR_NUMBER(Revolute, motorSpeed, revoluteJointMotorSpeed),
        ZOLVAR_NUMBER(Revolute, maxMotorTorque, revoluteJointMaxMotorTorque),
        ZOLVAR_NUMBER(Prismatic, lowerTranslation, prismaticJointLowerTranslation),
        ZOLVAR_NUMBER(Prismatic, upperTranslation, prismaticJointUpperTranslation),
        ZOLVAR_NUMBER(Prismatic, motorSpeed, prismaticJointMotorSpeed),
        ZOLVAR_NUMBER(Prismatic, maxMotorForce, prismaticJointMaxMotorForce),
        ZOLVAR_NUMBER(Spring, springiness, springJointSpringiness),
        ZOLVAR_NUMBER(Spring, damping, springJointDamping),
        ZOLVAR_NUMBER(Spring, desiredLength, springJointDesiredLength),
    };
}

std::vector<FlagControl> flagControls(const Ui::ZolvarDlgClass& ui)
{
    return {
        ZOLVAR_FLAG(Distance, collideConnected, distanceJointCollideConnected),
        ZOLVAR_FLAG(Revolute, enableLimit, revoluteJointEnableLimit),
        ZOLVAR_FLAG(Revolute, enableMotor, revoluteJointEnableMotor),
        ZOLVAR_FLAG(Revolute, collideConnected, revoluteJointCollideConnected),
        ZOLVAR_FLAG(Prismatic, enableLimit, prismaticJointEnableLimit),
        ZOLVAR_FLAG(Prismatic, enableMotor, prismaticJointEnableMotor),
        ZOLVAR_FLAG(Prismatic, collideConnected, prismaticJointCollideConnected),
    };
}

#undef ZOLVAR_NUMBER
#undef ZOLVAR_FLAG

constexpr double kSliderScale = 1000.0;

} // namespace

void SimulationView::setJointControls(int row)
{
    if (!validRow(joints, row))
        return;
    const MyJoint& j = joints[size_t(row)];
    for (const NumberControl& c : numberControls(ui))
        if (c.type == j.type)
            showInRow(c.edit, c.slider, j.*c.field, kSliderScale);
    for (const FlagControl& c : flagControls(ui))
        if (c.type == j.type)
            showQuietly(c.box, j.*c.field);
}

int SimulationView::describedJoint(int type, const std::vector<int>& rows) const
{
    for (size_t i = 0; i < joints.size(); ++i)
        if (joints[i].type == type && isJointSelected(int(i)))
            return int(i);
    for (int row : rows)
        if (validRow(joints, row) && joints[size_t(row)].type == type)
            return row;
    return -1;
}

void SimulationView::showJointField(float MyJoint::*field, const std::vector<int>& rows)
{
    for (const NumberControl& c : numberControls(ui))
        if (c.field == field)
            if (const int row = describedJoint(c.type, rows); row >= 0)
                showInRow(c.edit, c.slider, joints[size_t(row)].*field, kSliderScale);
}

void SimulationView::showJointField(bool MyJoint::*field, const std::vector<int>& rows)
{
    for (const FlagControl& c : flagControls(ui))
        if (c.field == field)
            if (const int row = describedJoint(c.type, rows); row >= 0)
                showQuietly(c.box, joints[size_t(row)].*field);
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
