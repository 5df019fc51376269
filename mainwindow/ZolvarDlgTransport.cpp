// Transport and export: the buttons restart, play, step, repeat and export,
// the two export frame boxes, the keys that stand for the buttons, and the
// two steps of the close sequence that end playback and an export.
//
// The playback operations themselves belong to the view's playback control;
// the button slots here keep what concerns the window's own controls.
#include "mainwindow/ZolvarDlg.h"

#include "simulation/SimulationView.h"

#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>
#include <QLabel>
#include <QMessageBox>
#include <QToolButton>

namespace {

// The last frame an export can reach: past it the simulation stops.
constexpr int kLastExportFrame = kLastSimulatedFrame;

// An end past the last simulated frame would never be reached.
void clampExportEnd(const Ui::ZolvarDlgClass& ui)
{
    if (ui.endFrameEt->value() > kLastExportFrame)
        ui.endFrameEt->setValue(kLastExportFrame);
}

// Why frames start to end cannot be exported; empty when they can. Keys
// past the composition's last frame would show in none of its frames
// (compositionFrames 0: its length is unknown).
QString exportRangeProblem(int start, int end, int compositionFrames)
{
    if (start > kLastExportFrame)
        return QStringLiteral("The export range cannot start after frame %1.").arg(kLastExportFrame);
    if (start > end)
        return QStringLiteral("The export range starts after its end frame.");
    if (compositionFrames > 0 && start >= compositionFrames)
        return QStringLiteral("The export range starts after the composition's last frame, %1.")
            .arg(compositionFrames - 1);
    return QString();
}

// The selection tool becomes current when the velocity tool is.
void leaveVelocityTool(ZolvarDlg& window, const Ui::ZolvarDlgClass& ui)
{
    if (ui.velocityToolBtn->isChecked())
        window.OnSelectionToolBtn();
}

// Ends a requested loop: empty note, repeat unchecked, the view's loop off.
void stopLooping(const Ui::ZolvarDlgClass& ui, SimulationView* view)
{
    if (!ui.repeatBtn->isChecked())
        return;
    ui.toolsNoteSt->setText(QString());
    ui.repeatBtn->setChecked(false);
    view->looping = false;
}

} // namespace

void ZolvarDlg::OnRestartBtn()
{
    if (ui.playBtn->isChecked())
        ui.playBtn->setChecked(false);
    stopLooping(ui, view);
    view->restartAndStopAnimation(false);
}

void ZolvarDlg::OnPlayBtn()
{
    leaveVelocityTool(*this, ui);
    if (ui.playBtn->isChecked())
        view->playAnimation();
    else
        view->pauseAnimation();
    // Play goes on past the former loop end.
    if (ui.playBtn->isChecked() && ui.repeatBtn->isChecked())
        stopLooping(ui, view);
}

void ZolvarDlg::OnStepBtn()
{
    leaveVelocityTool(*this, ui);
    // The single step stops the simulation after its frame.
    if (ui.playBtn->isChecked())
        ui.playBtn->setChecked(false);
    stopLooping(ui, view);
    view->stepAnimation();
}

void ZolvarDlg::OnRepeatBtn()
{
    leaveVelocityTool(*this, ui);
    if (!ui.repeatBtn->isChecked()) {
        ui.toolsNoteSt->setText(QString());
        view->restartAndStopAnimation(false);
        return;
    }
    if (ui.playBtn->isChecked())
        ui.playBtn->setChecked(false);
    const int frame = view->currentFrame;
    // The loop plays from frame 0 again: it never records.
    view->endExportForRestart();
    if (frame < 1) {
        ui.toolsNoteSt->setText(QStringLiteral("End Loop Frame: 0"));
        return;
    }
    ui.toolsNoteSt->setText(QStringLiteral("End Loop Frame: %1").arg(frame));
    view->looping = true;
    view->loopEndFrame = frame;
    view->restartAndPlayAnimation();
}

void ZolvarDlg::OnExportBtn()
{
    if (!ui.exportBtn->isChecked()) {
        // Cancel. Keys being written stop after the layer in progress, when
        // the view's writer finds the button unchecked.
        view->playing = false;
        view->exporting = false;
        view->resetProgress();
        view->restartAndStopAnimation(false);
        return;
    }
    // While keys are being written a new export cannot start: the click that
    // cancelled them stays in force.
    if (view->isWritingKeys()) {
        ui.exportBtn->setChecked(false);
        return;
    }

    clampExportEnd(ui);
    const int start = ui.startFrameEt->value();
    const int requestedEnd = ui.endFrameEt->value();
    // A range the simulation never reaches would leave Export checked with
    // nothing recorded; one wholly past the composition would write keys
    // that no frame shows.
    const QString refusal = exportRangeProblem(start, requestedEnd, view->compositionFrames);
    if (!refusal.isEmpty()) {
        view->endUnfinishedExport();
        QMessageBox::information(this, QStringLiteral("Zolvar"), refusal, QMessageBox::Ok);
        return;
    }
    // Nothing to write is told now, not after every frame is simulated.
    if (view->refuseExportWithoutBodies())
        return;
    // Keys past the composition's last frame would show in none of its
    // frames: the range is cut there, and the user told so before anything
    // is recorded.
    int end = requestedEnd;
    const int lastFrame = view->compositionFrames - 1;
    if (view->compositionFrames > 0 && end > lastFrame) {
        end = lastFrame;
        ui.endFrameEt->setValue(end);
        QMessageBox::information(this, QStringLiteral("Zolvar"),
                                 QStringLiteral("The export range ends after the composition's last frame, %1: "
                                                "frames %2 to %1 are exported.")
                                     .arg(lastFrame)
                                     .arg(start),
                                 QMessageBox::Ok);
        // Cancelled, or the window closed, while the message was open; or it
        // closes now that the message is answered, as the close told.
        if (!ui.exportBtn->isChecked() || !isVisible() || closeAwaitsDialog) {
            ui.exportBtn->setChecked(false);
            return;
        }
    }
    view->looping = false;
    ui.repeatBtn->setChecked(false);
    ui.toolsNoteSt->setText(QString());
    leaveVelocityTool(*this, ui);
    view->startExport(start, end);
    ui.progressBar->setRange(start, end);
    ui.progressBar->setValue(start);
}

// setValue() does not emit editingFinished(): correcting one box does not
// run the other's slot.
void ZolvarDlg::startFrameEtEditingFinished()
{
    const int start = ui.startFrameEt->value();
    if (start < 0)
        ui.startFrameEt->setValue(0);
    else if (start > ui.endFrameEt->value())
        ui.endFrameEt->setValue(start);
}

void ZolvarDlg::endFrameEtEditingFinished()
{
    clampExportEnd(ui);
    const int end = ui.endFrameEt->value();
    if (end < ui.startFrameEt->value())
        ui.startFrameEt->setValue(end);
}

void ZolvarDlg::OnPlayShortcut()
{
    ui.playBtn->setChecked(!ui.playBtn->isChecked());
    OnPlayBtn();
}

void ZolvarDlg::OnStepShortcut()
{
    OnStepBtn();
}

void ZolvarDlg::OnRestartShortcut()
{
    OnRestartBtn();
}

void ZolvarDlg::OnRepeatShortcut()
{
    ui.repeatBtn->setChecked(!ui.repeatBtn->isChecked());
    OnRepeatBtn();
}

void ZolvarDlg::endExportInProgress()
{
    // Keys being written have been written to the end before the close
    // runs: it waits for them.
    if (!ui.exportBtn->isChecked())
        return;
    ui.exportBtn->setChecked(false);
    OnExportBtn();
}

void ZolvarDlg::stopSimulation()
{
    view->running = false;
    view->playing = false;
    view->getTimer()->stop();
}
