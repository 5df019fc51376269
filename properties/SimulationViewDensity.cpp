// The density row: the slider previews in the edit box, and the edit box,
// the slider's release and the reset button make one "Change Density"
// command for the selected bodies when one of them changes.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"

#include <QSignalBlocker>
#include <QUndoStack>

namespace {

constexpr float kDefaultDensity = 1.0f;

} // namespace

void SimulationView::densitySldChanged(int value)
{
    if (!ui.densityEt)
        return;
    const QSignalBlocker blocker(ui.densityEt);
    ui.densityEt->setValue(value / 1000.0);
}

void SimulationView::densityEtEditingFinished()
{
    if (ui.densityEt)
        pushDensity(float(ui.densityEt->value()));
}

void SimulationView::resetDensity()
{
    pushDensity(kDefaultDensity);
}

void SimulationView::pushDensity(float newValue)
{
    std::vector<int> rows = getSelectedRows2();
    std::vector<float> oldValues;
    bool changed = false;
    for (int row : rows) {
        const float old = bodies[size_t(row)].density;
        oldValues.push_back(old);
        // NaN on either side counts as a change.
        changed = changed || !(old == newValue);
    }
    if (!changed || !undoStack)
        return;
    std::vector<float> newValues(rows.size(), newValue);
    undoStack->push(new CommandDensityChange(this, oldValues, newValues, rows));
}

bool SimulationView::sliderReleased(const QString& sliderName, int value)
{
    if (sliderName == QLatin1String("densitySld")) {
        pushDensity(float(value / 1000.0));
        return true;
    }
    return false;
}
