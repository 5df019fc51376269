#include "mainwindow/SliderDefaults.h"

#include "properties/SliderGo.h"

using F = Ui_ZolvarDlgClass;

const std::array<SliderDefault, kPropertySliderCount> kSliderDefaults{{
    {&F::densitySld, 1.0f, false},
    {&F::frictionSld, 0.5f, false},
    {&F::bouncinessSld, 0.3f, false},
    {&F::meshPrecisionSld, 2.0f, true},
    {&F::velocityMagnitudeSld, 0.0f, false},
    {&F::velocityDirectionSld, 0.0f, false},
    {&F::angularVelocitySld, 0.0f, false},
    {&F::linearDampingSld, 0.0f, false},
    {&F::angularDampingSld, 0.0f, false},
    {&F::aematicDampingSld, 0.5f, false},
    {&F::aematicTensionSld, 1.0f, false},
    {&F::gravityScaleSld, 1.0f, false},
    {&F::magnetIntensitySld, 10.0f, false},
    {&F::magnetDistanceSld, 100.0f, false},
    {&F::distanceJointFrequencySld, 0.0f, false},
    {&F::distanceJointDampingSld, 0.0f, false},
    {&F::revoluteJointLowerAngleSld, 0.0f, false},
    {&F::revoluteJointUpperAngleSld, 0.0f, false},
    {&F::revoluteJointMotorSpeedSld, 0.0f, false},
    {&F::revoluteJointMaxMotorTorqueSld, 0.0f, false},
    {&F::prismaticJointLowerTranslationSld, 0.0f, false},
    {&F::prismaticJointUpperTranslationSld, 0.0f, false},
    {&F::prismaticJointMotorSpeedSld, 0.0f, false},
    {&F::prismaticJointMaxMotorForceSld, 0.0f, false},
    {&F::springJointSpringinessSld, 1.0f, false},
    {&F::springJointDampingSld, 0.5f, false},
    // A new spring takes the distance between its bodies; the slider starts at 1.
    {&F::springJointDesiredLengthSld, 1.0f, false},
    {&F::timeDividerSld, 1.0f, false},
    {&F::substepsSld, 2.0f, true},
    {&F::collisionToleranceSld, 50.0f, false},
    {&F::gravityMagnitudeSld, 10.0f, false},
    {&F::gravityDirectionSld, 90.0f, false},
}};

void applySliderDefaults(Ui::ZolvarDlgClass& form)
{
    for (const SliderDefault& d : kSliderDefaults) {
        SliderGo* slider = form.*d.slider;
        if (d.unscaled)
            slider->setFromVal(static_cast<int>(d.value));
        else
            slider->setFromVal(d.value);
    }
}

void setFromValsToCurrentPositions(Ui::ZolvarDlgClass& form)
{
    // The position itself, never a round trip through a float value: that
    // loses a unit for many positions (10 would come back as 9).
    for (const SliderDefault& d : kSliderDefaults) {
        SliderGo* slider = form.*d.slider;
        slider->setFromVal(slider->value());
    }
}

void applyJointTabIcons(Ui::ZolvarDlgClass& form, const std::array<QIcon, 4>& icons)
{
    for (int tab = 0; tab < 4; ++tab)
        form.jointPropertiesTabWidget->setTabIcon(tab, icons[static_cast<size_t>(tab)]);
}
