// The joint property panel: every one of the twenty properties through its
// edit box or check box, its reset and its slider's release; the live
// sliders; the page enablers; showing a joint and applying joint records;
// the type icons under the themes.
#include "../editing/JointFixture.h"
#include "../mainwindow/RealPointer.h"

#include "mainwindow/Themes.h"
#include "properties/EditBox.h"
#include "properties/SliderGo.h"

#include <QCheckBox>
#include <QImage>
#include <QTabWidget>
#include <QToolButton>

#include <cmath>

namespace {

using namespace joint_test;
using Rows = std::vector<int>;

// Joints of every kind: distance 0-1 (row 0), pivot 1-2 (row 1), piston
// 0-1 (row 2), spring 0-1 (row 3).
struct Panel : Scene
{
    Panel()
    {
        addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
        addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
        addAll({0, 1}, &SimulationView::addPrismaticJointBetweenSelectedBodies);
        addAll({0, 1}, &SimulationView::addSpringJointBetweenSelectedBodies);
        selectBodies({0, 1, 2});
        stack->clear();
    }
};

struct NumberRow {
    const char* prefix;
    float MyJoint::*field;
    int type;            // the joint (and row) the row belongs to
    float typed;         // a value within the control's range
    float resetValue;    // NaN: measured
    const char* text;
};

const NumberRow kNumberRows[] = {
    {"distanceJointFrequency", &MyJoint::frequency, 0, 2.5f, 0.0f, "Change Distance Joint Tension"},
    {"distanceJointDamping", &MyJoint::damping, 0, 0.25f, 0.0f, "Change Distance Joint Damping"},
    {"revoluteJointLowerAngle", &MyJoint::lowerAngle, 1, -30.0f, 0.0f, "Change Pivot Joint Lower Angle"},
    {"revoluteJointUpperAngle", &MyJoint::upperAngle, 1, 45.0f, 0.0f, "Change Pivot Joint Upper Angle"},
    {"revoluteJointMotorSpeed", &MyJoint::motorSpeed, 1, -2.5f, 0.0f, "Change Pivot Joint Motor Speed"},
    {"revoluteJointMaxMotorTorque", &MyJoint::maxMotorTorque, 1, 40.0f, 0.0f, "Change Pivot Joint Max Motor Torque"},
    {"prismaticJointLowerTranslation", &MyJoint::lowerTranslation, 2, -1.5f, 0.0f,
     "Change Piston Joint Lower Translation"},
    {"prismaticJointUpperTranslation", &MyJoint::upperTranslation, 2, 2.0f, 0.0f,
     "Change Piston Joint Upper Translation"},
    {"prismaticJointMotorSpeed", &MyJoint::motorSpeed, 2, 1.5f, 0.0f, "Change Piston Joint Motor Speed"},
    {"prismaticJointMaxMotorForce", &MyJoint::maxMotorForce, 2, 5.0f, 0.0f, "Change Piston Joint Max Motor Force"},
    {"springJointSpringiness", &MyJoint::springiness, 3, 0.75f, 1.0f, "Change Spring Joint Springiness"},
    {"springJointDamping", &MyJoint::damping, 3, 0.125f, 0.5f, "Change Spring Joint Damping"},
    {"springJointDesiredLength", &MyJoint::desiredLength, 3, 2.0f, NAN, "Change Spring Joint Desired Length"},
};

struct FlagRow {
    const char* prefix;
    bool MyJoint::*field;
    int type;
    bool resetValue;
    const char* text;
};

const FlagRow kFlagRows[] = {
    {"distanceJointCollideConnected", &MyJoint::collideConnected, 0, true, "Change Distance Joint Collide Connected"},
    {"revoluteJointEnableLimit", &MyJoint::enableLimit, 1, false, "Change Pivot Joint Enable Limit"},
    {"revoluteJointEnableMotor", &MyJoint::enableMotor, 1, false, "Change Pivot Joint Enable Motor"},
    {"revoluteJointCollideConnected", &MyJoint::collideConnected, 1, true, "Change Pivot Joint Collide Connected"},
    {"prismaticJointEnableLimit", &MyJoint::enableLimit, 2, false, "Change Piston Joint Enable Limit"},
    {"prismaticJointEnableMotor", &MyJoint::enableMotor, 2, false, "Change Piston Joint Enable Motor"},
    {"prismaticJointCollideConnected", &MyJoint::collideConnected, 2, true, "Change Piston Joint Collide Connected"},
};

template <class W>
W* child(const Scene& s, const QString& name)
{
    return s.window->findChild<W*>(name);
}

QString capital(const char* prefix)
{
    QString name = QString::fromLatin1(prefix);
    name[0] = name[0].toUpper();
    return name;
}

void clickReset(const Scene& s, const char* prefix)
{
    auto* button = child<QToolButton>(s, "reset" + capital(prefix) + "Btn");
    ASSERT_NE(button, nullptr) << prefix;
    button->click();
}

TEST(JointProperties, EveryNumberRowMakesOneCommandFromEachControl)
{
    for (const NumberRow& row : kNumberRows) {
        SCOPED_TRACE(row.prefix);
        Panel s;
        s.view->selectJoints({row.type});
        auto* edit = child<EditBox>(s, QString::fromLatin1(row.prefix) + "Et");
        auto* slider = child<SliderGo>(s, QString::fromLatin1(row.prefix) + "Sld");
        ASSERT_TRUE(edit && slider);
        const float before = s.view->joints[size_t(row.type)].*row.field;

        // Edit box.
        edit->setValue(double(row.typed));
        emit edit->editingFinished();
        EXPECT_EQ(s.stack->count(), 1);
        EXPECT_EQ(s.lastText(), row.text);
        EXPECT_FLOAT_EQ(s.view->joints[size_t(row.type)].*row.field, row.typed);
        emit edit->editingFinished();  // nothing changes: no entry
        EXPECT_EQ(s.stack->count(), 1);
        s.stack->undo();
        EXPECT_FLOAT_EQ(s.view->joints[size_t(row.type)].*row.field, before);
        EXPECT_DOUBLE_EQ(edit->value(), double(before));

        // Reset, from the typed value.
        s.stack->redo();
        clickReset(s, row.prefix);
        EXPECT_EQ(s.stack->count(), 2);
        EXPECT_EQ(s.lastText(), row.text);
        const float reset = std::isnan(row.resetValue) ? 3.0f : row.resetValue;  // bodies 0 and 1: 3 apart
        EXPECT_NEAR(s.view->joints[size_t(row.type)].*row.field, reset, 1e-5f);

        // Slider release at a new value (the desired length, written while
        // the slider moves, as well).
        const int position = int(std::lround(double(row.typed) * 1000.0 / 2.0));
        QTest::mousePress(slider, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
        slider->setValue(position);
        QTest::mouseRelease(slider, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_EQ(s.stack->count(), 3);
        EXPECT_EQ(s.lastText(), row.text);
        EXPECT_FLOAT_EQ(s.view->joints[size_t(row.type)].*row.field, float(position / 1000.0));
        s.stack->undo();
        EXPECT_NEAR(s.view->joints[size_t(row.type)].*row.field, reset, 1e-5f);
    }
}

TEST(JointProperties, EveryFlagRowMakesOneCommandFromItsBoxAndReset)
{
    for (const FlagRow& row : kFlagRows) {
        SCOPED_TRACE(row.prefix);
        Panel s;
        s.view->selectJoints({row.type});
        auto* box = child<QCheckBox>(s, QString::fromLatin1(row.prefix) + "Cb");
        ASSERT_NE(box, nullptr);
        const bool before = s.view->joints[size_t(row.type)].*row.field;
        EXPECT_EQ(box->isChecked(), before);

        box->setChecked(!before);
        EXPECT_EQ(s.stack->count(), 1);
        EXPECT_EQ(s.lastText(), row.text);
        EXPECT_EQ(s.view->joints[size_t(row.type)].*row.field, !before);

        // The reset: a command only when the default differs.
        clickReset(s, row.prefix);
        EXPECT_EQ(s.view->joints[size_t(row.type)].*row.field, row.resetValue);
        EXPECT_EQ(box->isChecked(), row.resetValue);
        const int count = s.stack->count();
        clickReset(s, row.prefix);
        EXPECT_EQ(s.stack->count(), count);
        s.stack->undo();
        EXPECT_EQ(s.view->joints[size_t(row.type)].*row.field, !before);
    }
}

TEST(JointProperties, NothingSelectedPushesNothing)
{
    Panel s;
    s.view->selectJoints({});
    s.ui.distanceJointFrequencyEt->setValue(3.0);
    emit s.ui.distanceJointFrequencyEt->editingFinished();
    s.view->resetSpringJointDesiredLength();
    s.view->revoluteJointEnableLimitCbClicked(true);
    EXPECT_EQ(s.stack->count(), 0);
}

TEST(JointProperties, SharedFieldsReachEverySelectedJoint)
{
    Panel s;
    s.view->selectJoints({0, 3});
    s.view->resetSpringJointDamping();
    EXPECT_EQ(s.lastText(), "Change Spring Joint Damping");
    EXPECT_EQ(s.view->joints[0].damping, 0.5f);
    EXPECT_EQ(s.view->joints[3].damping, 0.5f);

    s.view->selectJoints({1, 2});
    s.view->revoluteJointEnableMotorCbClicked(true);
    EXPECT_EQ(s.stack->count(), 2);
    EXPECT_TRUE(s.view->joints[1].enableMotor);
    EXPECT_TRUE(s.view->joints[2].enableMotor);
}

TEST(JointProperties, TheDesiredLengthResetMeasuresEachJointsCentres)
{
    Panel s;
    s.addAll({0, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);  // row 4, 6 apart
    s.view->joints[3].desiredLength = 1.0f;
    s.view->joints[4].desiredLength = 1.0f;
    s.view->selectJoints({3, 4});
    s.view->resetSpringJointDesiredLength();
    EXPECT_NEAR(s.view->joints[3].desiredLength, 3.0f, 1e-5f);
    EXPECT_NEAR(s.view->joints[4].desiredLength, 6.0f, 1e-5f);
    s.stack->undo();
    EXPECT_EQ(s.view->joints[4].desiredLength, 1.0f);
    s.stack->redo();
    const int count = s.stack->count();
    s.view->resetSpringJointDesiredLength();  // already measured
    EXPECT_EQ(s.stack->count(), count);

    // Without a world the record positions are measured.
    s.view->world.reset();
    for (MyBody& b : s.view->bodies)
        b.body = nullptr;
    for (MyJoint& j : s.view->joints)
        j.joint = nullptr;
    s.view->joints[3].desiredLength = 0.5f;
    s.view->resetSpringJointDesiredLength();
    EXPECT_NEAR(s.view->joints[3].desiredLength, 3.0f, 1e-5f);
    // Nor do the pivot sliders follow missing world joints.
    s.view->selectJoints({1});
    s.ui.revoluteJointLowerAngleSld->setValue(-20000);
    s.view->restartAndStopAnimation(false);
}

TEST(JointProperties, PivotAngleSlidersMoveOnlyTheWorldUntilTheRelease)
{
    Panel s;
    s.clickCell(0, 3);
    s.clickCell(1, 3, Qt::ControlModifier);
    ASSERT_EQ(s.selectedJoints(), Rows({0, 1}));
    auto* pivot = static_cast<b2RevoluteJoint*>(s.view->joints[1].joint);
    ASSERT_NE(pivot, nullptr);
    s.ui.jointPropertiesTabWidget->setCurrentIndex(1);
    s.ui.revoluteJointUpperAngleSld->setValue(20000);
    // A right press drags without moving the handle.
    QTest::mousePress(s.ui.revoluteJointLowerAngleSld, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    s.ui.revoluteJointLowerAngleSld->setValue(-30000);
    EXPECT_NEAR(pivot->GetLowerLimit(), -30.0 * 3.1415927 / 180.0, 1e-5);
    EXPECT_NEAR(pivot->GetUpperLimit(), 20.0 * 3.1415927 / 180.0, 1e-5);
    EXPECT_DOUBLE_EQ(s.ui.revoluteJointLowerAngleEt->value(), -30.0);
    EXPECT_EQ(s.view->joints[1].lowerAngle, 0.0f);
    EXPECT_EQ(s.stack->count(), 0);

    QTest::mouseRelease(s.ui.revoluteJointLowerAngleSld, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(s.lastText(), "Change Pivot Joint Lower Angle");
    EXPECT_EQ(s.view->joints[0].lowerAngle, -30.0f);  // shared by every selected joint
    EXPECT_EQ(s.view->joints[1].lowerAngle, -30.0f);

    // The desired-length slider writes the records at once, with no entry
    // until the release; the release makes one entry from the lengths before
    // the drag, so undo takes the drag back.
    s.view->selectJoints({3});
    const float before = s.view->joints[3].desiredLength;
    QTest::mousePress(s.ui.springJointDesiredLengthSld, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    s.ui.springJointDesiredLengthSld->setValue(1500);
    EXPECT_EQ(s.view->joints[3].desiredLength, 1.5f);
    s.ui.springJointDesiredLengthSld->setValue(2500);
    EXPECT_EQ(s.view->joints[3].desiredLength, 2.5f);
    EXPECT_EQ(s.stack->count(), 1);
    QTest::mouseRelease(s.ui.springJointDesiredLengthSld, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    ASSERT_EQ(s.stack->count(), 2);
    EXPECT_EQ(s.lastText(), "Change Spring Joint Desired Length");
    EXPECT_EQ(s.view->joints[3].desiredLength, 2.5f);
    s.stack->undo();
    EXPECT_EQ(s.view->joints[3].desiredLength, before);
    s.stack->redo();
    EXPECT_EQ(s.view->joints[3].desiredLength, 2.5f);

    // A drag that ends where it began leaves no entry and the lengths as they were.
    QTest::mousePress(s.ui.springJointDesiredLengthSld, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    s.ui.springJointDesiredLengthSld->setValue(900);
    s.ui.springJointDesiredLengthSld->setValue(2500);
    QTest::mouseRelease(s.ui.springJointDesiredLengthSld, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(s.stack->count(), 2);
    EXPECT_EQ(s.view->joints[3].desiredLength, 2.5f);
}

// Two selected pivots with upper limits of their own: a drag of the lower
// limit that ends where both lower limits stand changes no record, and the
// world keeps each pivot's own limits, not the pair the sliders showed.
TEST(JointProperties, APivotDragThatChangesNothingLeavesEachPivotItsOwnLimits)
{
    Panel s;
    s.addAll({0, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
    s.view->setRevoluteJointUpperAngle({10.0f, 20.0f}, {1, 4});
    s.view->restartAnimation();
    s.view->selectJoints({1, 4});
    const int entries = s.stack->count();
    SliderGo* lower = s.ui.revoluteJointLowerAngleSld;
    QTest::mousePress(lower, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    lower->setValue(-30000);
    lower->setValue(0);
    QTest::mouseRelease(lower, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(s.stack->count(), entries);
    for (int row : {1, 4}) {
        const auto* pivot = static_cast<const b2RevoluteJoint*>(s.view->joints[size_t(row)].joint);
        ASSERT_NE(pivot, nullptr);
        EXPECT_NEAR(pivot->GetUpperLimit(), s.view->joints[size_t(row)].upperAngle * 3.1415927 / 180.0, 1e-5) << row;
    }
}

// A drag on a spring slider with every kind of joint selected, the distance
// joint first, and its undo: the spring page shows the springs' values
// again, not the distance joint's.
TEST(JointPanel, AfterAnUndoEachPageShowsTheJointsItDescribes)
{
    SKIP_WITHOUT_REAL_POINTER();
    Panel s;
    s.addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);
    s.clickCell(0, 3);
    for (int row = 1; row < 5; ++row)
        s.clickCell(row, 3, Qt::ControlModifier);
    ASSERT_EQ(s.selectedJoints(), Rows({0, 1, 2, 3, 4}));
    s.stack->clear();
    const std::vector<MyJoint> before = s.view->joints;
    SliderGo* slider = s.ui.springJointSpringinessSld;
    const QPoint at = real_pointer::reveal(slider);
    ASSERT_FALSE(at.isNull()) << "the springiness slider is out of the pointer's reach";

    const int half = slider->visibleRegion().boundingRect().width() / 2;
    QStringList drag = real_pointer::moveTo(at - QPoint(half * 3 / 5, 0));
    drag << "mousedown" << "1";
    for (int dx = -half * 3 / 5; dx <= half / 5; dx += 5)
        drag << real_pointer::moveTo(at + QPoint(dx, 0));
    ASSERT_TRUE(real_pointer::xdotool(drag));
    ASSERT_TRUE(real_pointer::xdotool({"mouseup", "1"}));
    ASSERT_EQ(s.stack->count(), 1);
    ASSERT_NE(s.view->joints[3].springiness, 1.0f);

    s.stack->undo();
    for (size_t j = 0; j < before.size(); ++j)
        EXPECT_EQ(s.view->joints[j].springiness, before[j].springiness) << j;
    EXPECT_DOUBLE_EQ(s.ui.springJointSpringinessEt->value(), 1.0);
    EXPECT_EQ(slider->value(), 1000);
    EXPECT_DOUBLE_EQ(s.ui.springJointDampingEt->value(), 0.5);
    EXPECT_NEAR(s.ui.springJointDesiredLengthEt->value(), 3.0, 1e-3);
}

TEST(JointPanel, ShowingAJointPushesNothingAndTruncatesTheSliders)
{
    Panel s;
    s.view->joints[1].motorSpeed = -2.5f;
    s.view->joints[1].lowerAngle = -0.0004f;
    s.view->joints[1].enableLimit = true;
    s.view->setJointControls(1);
    EXPECT_EQ(s.ui.revoluteJointMotorSpeedSld->value(), -2500);
    EXPECT_EQ(s.ui.revoluteJointLowerAngleSld->value(), 0);
    EXPECT_DOUBLE_EQ(s.ui.revoluteJointMotorSpeedEt->value(), -2.5);
    EXPECT_TRUE(s.ui.revoluteJointEnableLimitCb->isChecked());
    EXPECT_EQ(s.stack->count(), 0);
    s.view->setJointControls(99);  // out of range: nothing
}

TEST(JointPanel, ThePageEnablersTouchEveryWidgetOfTheirPage)
{
    Panel s;
    const std::pair<void (SimulationView::*)(bool), int> enablers[] = {
        {&SimulationView::enableDistanceJointControls, 10},
        {&SimulationView::enableRevoluteJointControls, 22},
        {&SimulationView::enablePrismaticJointControls, 22},
        {&SimulationView::enableSpringJointControls, 12},
    };
    for (int page = 0; page < 4; ++page) {
        (s.view->*enablers[page].first)(true);
        (s.view->*enablers[page].first)(false);
        int disabled = 0;
        for (QWidget* w : s.ui.jointPropertiesTabWidget->widget(page)->findChildren<QWidget*>())
            disabled += w->testAttribute(Qt::WA_ForceDisabled) ? 1 : 0;
        EXPECT_EQ(disabled, enablers[page].second) << page;
        EXPECT_TRUE(s.ui.jointPropertiesTabWidget->isTabEnabled(page));
    }
}

TEST(JointPanel, JointPropertiesApplyOnlyTheDifferingFieldsOfTheJointsType)
{
    Panel s;
    std::vector<MyJoint> records = s.view->joints;
    records[1].lowerAngle = -15.0f;        // pivot field: applied
    records[1].frequency = 9.0f;           // distance field: ignored on a pivot
    records[1].bodyA = 2;                  // bodies stay
    records[3].springiness = 0.25f;
    s.ui.revoluteJointMaxMotorTorqueEt->setValue(77.0);  // equal field: not rewritten
    s.view->setJointProperties(records, {1, 3, 9});
    EXPECT_EQ(s.view->joints[1].lowerAngle, -15.0f);
    EXPECT_EQ(s.view->joints[1].frequency, 0.0f);
    EXPECT_EQ(s.view->joints[1].bodyA, 1);
    EXPECT_EQ(s.view->joints[3].springiness, 0.25f);
    EXPECT_DOUBLE_EQ(s.ui.revoluteJointLowerAngleEt->value(), -15.0);
    EXPECT_DOUBLE_EQ(s.ui.revoluteJointMaxMotorTorqueEt->value(), 77.0);
    EXPECT_EQ(s.stack->count(), 0);

    // A record list shorter than a row: skipped.
    s.view->setJointProperties({records[0]}, {3});
    EXPECT_EQ(s.view->joints[3].springiness, 0.25f);
    s.view->setJointProperties(records, {});
}

TEST(JointPanel, ThemesSwitchTheTypeIcons)
{
    Panel s;
    auto image = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
    auto expectTheme = [&](int theme) {
        for (int row = 0; row < 4; ++row) {
            const QStandardItem* cell = s.model()->item(row, 1);
            EXPECT_EQ(image(cell->icon()), image(QIcon(jointIconPath(theme, row)))) << theme << " " << row;
            EXPECT_FALSE(cell->flags() & Qt::ItemIsSelectable);
        }
        EXPECT_EQ(s.model()->item(2, 0)->text(), "3");
        EXPECT_EQ(s.model()->item(2, 3)->text(), "L1");
    };
    s.view->updateJointIcons(2);
    expectTheme(2);
    s.view->updateJointIcons(0);
    expectTheme(0);
    s.view->updateJointIcons(3);
    expectTheme(0);
    s.view->updateJointIcons(1);
    s.addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);
    EXPECT_EQ(image(s.model()->item(4, 1)->icon()), image(QIcon(jointIconPath(1, 3))));
}

} // namespace
