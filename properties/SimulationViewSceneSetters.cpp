// The setters of the scene-wide values. These live in their controls: the
// simulation reads them from there.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/SliderGo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

void SimulationView::setTimeDivider(float value)
{
    showInRow(ui.timeDividerEt, ui.timeDividerSld, double(value), 1000.0);
}

void SimulationView::setCollisionTolerance(float value)
{
    showInRow(ui.collisionToleranceEt, ui.collisionToleranceSld, double(value), 1000.0);
}

void SimulationView::setSubsteps(int value)
{
    showInRow(ui.substepsEt, ui.substepsSld, double(value), 1.0);
}

void SimulationView::setGravityInheritFrom(bool inherit)
{
    if (ui.gravityLayerCb) {
        const QSignalBlocker blocker(ui.gravityLayerCb);
        ui.gravityLayerCb->setChecked(inherit);
    }
    if (ui.gravityLayerLst)
        ui.gravityLayerLst->setEnabled(inherit);
}

void SimulationView::setGravityLayer(int index)
{
    if (ui.gravityLayerLst) {
        const QSignalBlocker blocker(ui.gravityLayerLst);
        ui.gravityLayerLst->setCurrentIndex(index);
    }
}
