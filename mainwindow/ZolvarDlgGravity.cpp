// The gravity group's own controls: Capture, Apply and "Inherit From:".
// While Capture is on, the playing simulation records the gravity of every
// frame; Apply writes the recording as position keys of a new null layer in
// the host composition and makes the scene take its gravity from that
// layer. The undoable side of "Inherit From:" and of the layer list is the
// view's own connection to the same controls.
#include "mainwindow/GravityNullWriter.h"
#include "mainwindow/ZolvarDlg.h"

#include "simulation/SimulationView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

// Gravity that comes from a layer cannot be captured.
void ZolvarDlg::OnGravityInheritFrom(bool checked)
{
    ui.captureGravityBtn->setEnabled(!checked);
}

void ZolvarDlg::OnCaptureGravityBtn()
{
    const bool capturing = ui.captureGravityBtn->isChecked();
    // Capturing plays from frame 0: it never records.
    if (capturing)
        view->endExportForRestart();
    view->running = capturing;
    view->playing = capturing;
    ui.applyGravityBtn->setEnabled(true);
    ui.playBtn->setChecked(capturing);
    // Capturing starts from frame 0; what was captured before stays.
    if (capturing)
        view->restartAndPlayAnimation();
}

void ZolvarDlg::OnApplyGravityBtn()
{
    ui.captureGravityBtn->setEnabled(false);
    ui.applyGravityBtn->setEnabled(false);
    if (view->capturedGravity.empty())
        return;

    const GravityNullResult result = writeGravityNull(suite, pluginId, view->capturedGravity,
                                                      view->capturedGravityStartFrame, view->frameDuration);
    if (!result.ok()) {
        // Nothing of the window changes: the capture stays for another try.
        ui.captureGravityBtn->setEnabled(!ui.gravityLayerCb->isChecked());
        ui.applyGravityBtn->setEnabled(true);
        QMessageBox::information(this, QStringLiteral("Zolvar"),
                                 QStringLiteral("The gravity could not be applied to a null layer: the host failed "
                                                "while %1 (error %2).")
                                     .arg(result.failedStep)
                                     .arg(result.err),
                                 QMessageBox::Ok);
        return;
    }

    // The box's connections record the step and disable Capture.
    if (!ui.gravityLayerCb->isChecked())
        ui.gravityLayerCb->setChecked(true);
    ui.gravityLayerLst->setEnabled(true);
    ui.gravityLayerLst->addItem(QStringLiteral("%1. Gravity Controller").arg(result.layerCount + 1));
    // The view records the layer choice through the list's own signal.
    ui.gravityLayerLst->setCurrentIndex(ui.gravityLayerLst->count() - 1);
    ui.captureGravityBtn->setChecked(false);
    ui.captureGravityBtn->setEnabled(false);
    view->capturedGravity.clear();
    view->restartAnimation();
}
