// The property sliders' from-values, the joint tab icons and the slider's
// pointer mapping.

#include "mainwindow/SliderDefaults.h"
#include "mainwindow/Themes.h"
#include "properties/SliderGo.h"
#include "resources/Resources.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMouseEvent>
#include <QSet>

#include <climits>
#include <map>

namespace {

class SliderDefaultsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { testApp(); }
    void SetUp() override { form.setupUi(&window); }

    QMainWindow window;
    Ui::ZolvarDlgClass form;
};

const std::map<QString, int> kDefaultFromVals{
    {"densitySld", 1000},
    {"frictionSld", 500},
    {"bouncinessSld", 300},
    {"meshPrecisionSld", 2},
    {"velocityMagnitudeSld", 0},
    {"velocityDirectionSld", 0},
    {"angularVelocitySld", 0},
    {"linearDampingSld", 0},
    {"angularDampingSld", 0},
    {"aematicDampingSld", 500},
    {"aematicTensionSld", 1000},
    {"gravityScaleSld", 1000},
    {"magnetIntensitySld", 10000},
    {"magnetDistanceSld", 100000},
    {"distanceJointFrequencySld", 0},
    {"distanceJointDampingSld", 0},
    {"revoluteJointLowerAngleSld", 0},
    {"revoluteJointUpperAngleSld", 0},
    {"revoluteJointMotorSpeedSld", 0},
    {"revoluteJointMaxMotorTorqueSld", 0},
    {"prismaticJointLowerTranslationSld", 0},
    {"prismaticJointUpperTranslationSld", 0},
    {"prismaticJointMotorSpeedSld", 0},
    {"prismaticJointMaxMotorForceSld", 0},
    {"springJointSpringinessSld", 1000},
    {"springJointDampingSld", 500},
    {"springJointDesiredLengthSld", 1000},
    {"timeDividerSld", 1000},
    {"substepsSld", 2},
    {"collisionToleranceSld", 50000},
    {"gravityMagnitudeSld", 10000},
    {"gravityDirectionSld", 90000},
};

TEST_F(SliderDefaultsTest, TheTableCoversEveryPropertySliderOnce)
{
    QSet<QString> names;
    for (const SliderDefault& d : kSliderDefaults)
        names.insert((form.*d.slider)->objectName());
    EXPECT_EQ(names.size(), kPropertySliderCount);
    QSet<QString> all;
    for (SliderGo* s : window.findChildren<SliderGo*>())
        all.insert(s->objectName());
    all.remove("zoomSld");
    EXPECT_EQ(names, all);
}

TEST_F(SliderDefaultsTest, DefaultsBecomeFromValuesExactlyAndMoveNothing)
{
    std::map<QString, int> positions;
    for (SliderGo* s : window.findChildren<SliderGo*>()) {
        s->fromVal = -7;
        positions[s->objectName()] = s->value();
    }
    applySliderDefaults(form);
    for (SliderGo* s : window.findChildren<SliderGo*>()) {
        SCOPED_TRACE(s->objectName().toStdString());
        EXPECT_EQ(s->value(), positions[s->objectName()]);
        if (s == form.zoomSld) {
            EXPECT_EQ(s->fromVal, -7);
        } else {
            EXPECT_EQ(s->fromVal, kDefaultFromVals.at(s->objectName()));
        }
    }
}

TEST_F(SliderDefaultsTest, CurrentPositionsBecomeFromValuesWithoutLosingAUnit)
{
    // Positions that a float round trip would bring back one unit lower.
    const int positions[] = {10, 5, 7, 299, 1, 3};
    int i = 0;
    for (const SliderDefault& d : kSliderDefaults) {
        SliderGo* s = form.*d.slider;
        s->setValue(s->minimum() + positions[i++ % 6]);
    }
    form.zoomSld->fromVal = -7;
    setFromValsToCurrentPositions(form);
    for (const SliderDefault& d : kSliderDefaults) {
        SliderGo* s = form.*d.slider;
        EXPECT_EQ(s->fromVal, s->value()) << s->objectName().toStdString();
    }
    EXPECT_EQ(form.zoomSld->fromVal, -7);
}

TEST_F(SliderDefaultsTest, JointTabIcons)
{
    initZolvarResources();
    std::array<QIcon, 4> icons;
    for (int type = 0; type < 4; ++type)
        icons[static_cast<size_t>(type)] = QIcon(jointIconPath(Theme::White, type));
    applyJointTabIcons(form, icons);
    for (int tab = 0; tab < 4; ++tab)
        EXPECT_FALSE(form.jointPropertiesTabWidget->tabIcon(tab).isNull()) << tab;
    EXPECT_EQ(form.jointPropertiesTabWidget->tabText(1), "Pivot");
}

// ---------------------------------------------------------------------------
// SliderGo
// ---------------------------------------------------------------------------

TEST(SliderGoTest, FromValues)
{
    testApp();
    SliderGo slider(nullptr);
    slider.setFromVal(0.3f);
    EXPECT_EQ(slider.fromVal, 300);
    slider.setFromVal(0.7f);  // 0.7f is 0.69999998...
    EXPECT_EQ(slider.fromVal, 699);
    slider.setFromVal(-1.5f);
    EXPECT_EQ(slider.fromVal, -1500);
    slider.setFromVal(7);
    EXPECT_EQ(slider.fromVal, 7);
    EXPECT_EQ(round_int(2.5), 3);
    EXPECT_EQ(round_int(-2.5), -3);
    EXPECT_EQ(round_int(0.0), 0);
    EXPECT_EQ(round_int(-0.4), 0);
}

TEST(SliderGoTest, PointerMapping)
{
    // A 216-pixel density slider: 8-pixel margins, 200 pixels of track.
    EXPECT_EQ(SliderGo::valueAtX(108, 216, 0, 10000, false), 5000);
    EXPECT_EQ(SliderGo::valueAtX(4, 216, 0, 10000, false), 0);
    EXPECT_EQ(SliderGo::valueAtX(300, 216, 0, 10000, false), 10000);
    for (int x = 0; x < 216; ++x)
        EXPECT_EQ(SliderGo::valueAtX(x, 216, 0, 10000, false) % 5, 0) << x;
    // Whole numbers: 5.5 rounds away from zero.
    EXPECT_EQ(SliderGo::valueAtX(108, 216, 1, 10, true), 6);
    EXPECT_EQ(SliderGo::valueAtX(8, 216, 1, 10, true), 1);
    // Snapping below a minimum that is not a multiple of 5 stays in range.
    EXPECT_EQ(SliderGo::valueAtX(8, 216, 1, 5000, false), 1);
    EXPECT_EQ(SliderGo::valueAtX(8, 216, -5000, 5000, false), -5000);
    EXPECT_EQ(SliderGo::valueAtX(108, 216, -5000, 5000, false), 0);
}

TEST(SliderGoTest, NarrowSlidersNeitherDivideByZeroNorOverflow)
{
    for (int width : {16, 10, 1, 0, -3}) {
        SCOPED_TRACE(width);
        for (int x : {-100, 0, 3, 8, 9, 16, 1000}) {
            const int v = SliderGo::valueAtX(x, width, 0, 2500000, false);
            EXPECT_TRUE(v == 0 || v == 2500000) << x;
            EXPECT_EQ(v, 2 * x < width ? 0 : 2500000) << x;
        }
    }
    // One pixel of track on the widest slider: far right is the maximum,
    // not an overflowed int.
    EXPECT_EQ(SliderGo::valueAtX(100000, 17, 0, 2500000, false), 2500000);
    EXPECT_EQ(SliderGo::valueAtX(-100000, 17, -180000, 0, false), -180000);
    EXPECT_EQ(SliderGo::valueAtX(INT_MAX / 2, 17, 0, 2500000, true), 2500000);
    EXPECT_EQ(SliderGo::valueAtX(50, 100, 3, 3, false), 3);
    EXPECT_EQ(SliderGo::valueAtY(5, 0, 0, 100), 0);
    EXPECT_EQ(SliderGo::valueAtY(25, 100, 0, 100), 75);
}

TEST(SliderGoTest, LeftPressJumpsAndMoveFollows)
{
    testApp();
    QWidget owner;
    SliderGo* slider = new SliderGo(&owner);
    slider->setParent(&owner);
    slider->setObjectName("densitySld");
    slider->setOrientation(Qt::Horizontal);
    slider->setRange(0, 10000);
    slider->setValue(1000);
    slider->resize(216, 20);

    QMouseEvent right(QEvent::MouseButtonPress, QPointF(108, 10), QPointF(108, 10), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    slider->mousePressEvent(&right);
    EXPECT_EQ(slider->value(), 1000);

    QMouseEvent left(QEvent::MouseButtonPress, QPointF(108, 10), QPointF(108, 10), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    slider->mousePressEvent(&left);
    EXPECT_EQ(slider->value(), 5000);

    QMouseEvent move(QEvent::MouseMove, QPointF(58, 10), QPointF(58, 10), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    slider->mouseMoveEvent(&move);
    EXPECT_EQ(slider->value(), 2500);

    slider->setObjectName("meshPrecisionSld");
    slider->setRange(1, 10);
    slider->resize(16, 20);  // no track at all
    QMouseEvent narrow(QEvent::MouseMove, QPointF(12, 10), QPointF(12, 10), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
    slider->mouseMoveEvent(&narrow);
    EXPECT_EQ(slider->value(), 10);
}

}  // namespace
