// The setters of the scene-wide values. These live in their controls: the
// simulation reads them from there. Each setter also keeps the value it
// applied as committed: the old value of the setting's next command.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/SliderGo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

void SimulationView::setTimeDivider(float value)
{
    showInRow(ui.timeDividerEt, ui.timeDividerSld, double(value), 1000.0);
    committed.timeDivider = value;
}

void SimulationView::setCollisionTolerance(float value)
{
    showInRow(ui.collisionToleranceEt, ui.collisionToleranceSld, double(value), 1000.0);
    committed.collisionTolerance = value;
}

void SimulationView::setSubsteps(int value)
{
    showInRow(ui.substepsEt, ui.substepsSld, double(value), 1.0);
    committed.substeps = value;
}

// Only the view's own connection is set aside: the main window's, which
// switches Capture, follows the check box through undo and redo too.
void SimulationView::setGravityInheritFrom(bool inherit)
{
    if (ui.gravityLayerCb) {
        const bool wasConnected = bool(gravityLayerCbConnection);
        if (wasConnected)
            disconnect(gravityLayerCbConnection);
        ui.gravityLayerCb->setChecked(inherit);
        if (wasConnected)
            gravityLayerCbConnection =
                connect(ui.gravityLayerCb, &QCheckBox::toggled, this, &SimulationView::gravityLayerCbChanged);
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
    gravityLayerIndex = index;
}

void SimulationView::commitSceneControls()
{
    if (ui.timeDividerEt)
        committed.timeDivider = float(ui.timeDividerEt->value());
    if (ui.substepsEt)
        committed.substeps = int(ui.substepsEt->value());
    if (ui.collisionToleranceEt)
        committed.collisionTolerance = float(ui.collisionToleranceEt->value());
    if (ui.gravityMagnitudeEt)
        committed.gravityMagnitude = float(ui.gravityMagnitudeEt->value());
    if (ui.gravityDirectionEt)
        committed.gravityDirection = float(ui.gravityDirectionEt->value());
    if (ui.gravityLayerLst)
        gravityLayerIndex = ui.gravityLayerLst->currentIndex();
}
