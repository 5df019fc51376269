// Edits of the scene-wide settings: time divider, sub-steps, collision
// tolerance, gravity magnitude and direction, and the gravity source. The
// old value of each command is the setting's committed value, exactly as its
// setter last applied it, never what a slider can show of it.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"
#include "properties/TruncatedInt.h"
#include "properties/UserEdits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace {

enum Setting { TimeDivider, Substeps, CollisionTolerance, GravityMagnitude, GravityDirection };

struct SceneSetting
{
    const char* sliderName;
    QDoubleSpinBox* (*edit)(const Ui::ZolvarDlgClass&);
    double factor;
    float defaultValue;
    float SimulationView::SceneValues::*value;  // nullptr: sub-steps, the int
    QUndoCommand* (*command)(SimulationView*, double oldValue, double newValue);
};

template <class Command>
QUndoCommand* make(SimulationView* view, double oldValue, double newValue)
{
    return new Command(view, oldValue, newValue);
}

QUndoCommand* makeSubsteps(SimulationView* view, double oldValue, double newValue)
{
    return new CommandSubstepsChange(view, int(oldValue), int(newValue));
}

using F = Ui::ZolvarDlgClass;
using V = SimulationView::SceneValues;

const SceneSetting kSettings[] = {
    {"timeDividerSld", [](const F& f) -> QDoubleSpinBox* { return f.timeDividerEt; }, 1000.0, 1.0f,
     &V::timeDivider, make<CommandTimeDividerChange>},
    {"substepsSld", [](const F& f) -> QDoubleSpinBox* { return f.substepsEt; }, 1.0, 2.0f, nullptr, makeSubsteps},
    {"collisionToleranceSld", [](const F& f) -> QDoubleSpinBox* { return f.collisionToleranceEt; }, 1000.0, 50.0f,
     &V::collisionTolerance, make<CommandCollisionToleranceChange>},
    {"gravityMagnitudeSld", [](const F& f) -> QDoubleSpinBox* { return f.gravityMagnitudeEt; }, 1000.0, 10.0f,
     &V::gravityMagnitude, make<CommandGravityMagnitudeChange>},
    {"gravityDirectionSld", [](const F& f) -> QDoubleSpinBox* { return f.gravityDirectionEt; }, 1000.0, 90.0f,
     &V::gravityDirection, make<CommandGravityDirectionChange>},
};

// The setting whose slider is `sliderName`; -1 for another slider.
int settingOfSlider(const QString& sliderName)
{
    for (int i = 0; i < int(std::size(kSettings)); ++i)
        if (sliderName == QLatin1String(kSettings[i].sliderName))
            return i;
    return -1;
}

void mirror(QDoubleSpinBox* edit, double value)
{
    if (!edit)
        return;
    const QSignalBlocker blocker(edit);
    edit->setValue(value);
}

} // namespace

void SimulationView::pushSceneValue(int setting, double newValue)
{
    if (!undoStack)
        return;
    const SceneSetting& s = kSettings[setting];
    // The edit box holds the value in force (the simulation reads it): a
    // slider reaching past its range (the time divider's 0.001 against
    // 0.01) gives the nearest value it holds.
    if (const QDoubleSpinBox* edit = s.edit(ui); edit && std::isfinite(newValue))
        newValue = std::clamp(newValue, edit->minimum(), edit->maximum());
    double oldValue;
    bool changed;
    if (s.value) {
        const float old = committed.*s.value;
        const float value = float(newValue);
        changed = !(old == value);
        oldValue = double(old);
        newValue = double(value);
    } else {
        const int value = truncatedInt(newValue);
        changed = committed.substeps != value;
        oldValue = committed.substeps;
        newValue = value;
    }
    if (changed)
        undoStack->push(s.command(this, oldValue, newValue));
}

bool SimulationView::releaseSceneSlider(const QString& sliderName, int value)
{
    const int i = settingOfSlider(sliderName);
    if (i < 0)
        return false;
    pushSceneValue(i, value / kSettings[i].factor);
    return true;
}

bool SimulationView::sliderReleased(const QString& sliderName, int value)
{
    return releaseBodySlider(sliderName, value) || releaseSceneSlider(sliderName, value);
}

bool SimulationView::takeBackSceneSlider(const QString& sliderName)
{
    switch (settingOfSlider(sliderName)) {
    case -1: return false;
    case TimeDivider: setTimeDivider(committed.timeDivider); break;
    case Substeps: setSubsteps(committed.substeps); break;
    case CollisionTolerance: setCollisionTolerance(committed.collisionTolerance); break;
    default: setGravity(committed.gravityMagnitude, committed.gravityDirection); break;
    }
    return true;
}

void SimulationView::takeBackSliderDrag(const QString& sliderName)
{
    if (!takeBackSceneSlider(sliderName) && !takeBackBodySlider(sliderName))
        takeBackJointSlider(sliderName);
}

#define ZOLVAR_SCENE_SLOTS(p, P)                                                   \
    void SimulationView::p##EtEditingFinished()                                    \
    {                                                                              \
        QDoubleSpinBox* edit = kSettings[P].edit(ui);                              \
        if (edit && user_edits::take(edit))                                        \
            pushSceneValue(P, edit->value());                                      \
    }                                                                              \
    void SimulationView::reset##P() { pushSceneValue(P, double(kSettings[P].defaultValue)); }

ZOLVAR_SCENE_SLOTS(timeDivider, TimeDivider)
ZOLVAR_SCENE_SLOTS(substeps, Substeps)
ZOLVAR_SCENE_SLOTS(collisionTolerance, CollisionTolerance)
ZOLVAR_SCENE_SLOTS(gravityMagnitude, GravityMagnitude)
ZOLVAR_SCENE_SLOTS(gravityDirection, GravityDirection)
#undef ZOLVAR_SCENE_SLOTS

void SimulationView::timeDividerSldChanged(int value)
{
    mirror(ui.timeDividerEt, value / 1000.0);
}

void SimulationView::substepsSldChanged(int value)
{
    mirror(ui.substepsEt, value);
}

void SimulationView::collisionToleranceSldChanged(int value)
{
    mirror(ui.collisionToleranceEt, value / 1000.0);
}

// Every toggle is one step, whatever it changes.
void SimulationView::gravityLayerCbChanged(bool checked)
{
    if (undoStack)
        undoStack->push(new CommandGravityInheritFromChange(this, checked ? 0.0 : 1.0, checked ? 1.0 : 0.0));
}

void SimulationView::gravityLayerLstChanged(int index)
{
    if (undoStack)
        undoStack->push(new CommandGravityLayerChange(this, gravityLayerIndex, index));
    gravityLayerIndex = index;
}
