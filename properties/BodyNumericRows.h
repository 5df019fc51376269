// The 14 numeric rows of the body panel as one table: what each row's edit
// box, slider release and reset button change, and how.
#pragma once

#include "mainwindow/ZolvarDlgForm.h"
#include "model/MyBody.h"

#include <QString>

#include <array>
#include <vector>

class QDoubleSpinBox;
class QUndoCommand;
class SimulationView;
class SliderGo;

struct NumericBodyRow
{
    const char* sliderName;
    // The record's field; nullptr for mesh precision, the one int row.
    float MyBody::*field;
    QDoubleSpinBox* (*edit)(const Ui::ZolvarDlgClass&);
    SliderGo* (*slider)(const Ui::ZolvarDlgClass&);
    double factor;  // slider positions per unit of the value
    float defaultValue;
    // The row's command with per-row old values and one new value for all.
    QUndoCommand* (*command)(SimulationView*, const std::vector<float>& oldValues, float newValue,
                             const std::vector<int>& rows);
    void (SimulationView::*editFinished)();
    void (SimulationView::*sliderChanged)(int);
};

constexpr int kNumericBodyRowCount = 14;
const std::array<NumericBodyRow, kNumericBodyRowCount>& numericBodyRows();

// The row of a slider's object name, or -1.
int numericBodyRowOfSlider(const QString& sliderName);
