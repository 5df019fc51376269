// The from-values of the 32 property sliders: the value each slider stood at
// before the user's last change, from which undo commands take old values.
#pragma once

#include "mainwindow/ZolvarDlgForm.h"

#include <QIcon>

#include <array>

class SliderGo;

struct SliderDefault
{
    SliderGo* Ui_ZolvarDlgClass::*slider;
    float value;    // the property's default, in the edit box's units
    bool unscaled;  // mesh precision and sub-steps carry their value as is
};

constexpr int kPropertySliderCount = 32;

// Body sliders, joint sliders, then the global ones.
extern const std::array<SliderDefault, kPropertySliderCount> kSliderDefaults;

// Gives every property slider its property's default as from-value
// (1000 × default, or the default itself when unscaled). Moves no slider.
void applySliderDefaults(Ui::ZolvarDlgClass& form);

// Makes every property slider's current position its from-value, exactly.
void setFromValsToCurrentPositions(Ui::ZolvarDlgClass& form);

// Puts the joint-type icons (distance, pivot, piston, spring) on the four tabs
// of the joint-properties panel.
void applyJointTabIcons(Ui::ZolvarDlgClass& form, const std::array<QIcon, 4>& icons);
