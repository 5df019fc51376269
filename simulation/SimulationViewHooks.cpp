// What the simulation reads from the controls and shows in them.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "render/GLWidget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QToolButton>

void SimulationView::readControls()
{
    if (ui.timeDividerEt)
        controls.timeDivider = ui.timeDividerEt->value();
    if (ui.substepsEt)
        controls.substeps = ui.substepsEt->value();
    if (ui.collisionToleranceEt)
        controls.collisionTolerance = ui.collisionToleranceEt->value();
    if (ui.gravityLayerCb)
        controls.gravityFromLayer = ui.gravityLayerCb->isChecked();
    if (ui.gravityLayerLst)
        controls.gravityLayer = ui.gravityLayerLst->currentIndex();
    if (ui.gravityMagnitudeEt)
        controls.gravityMagnitude = ui.gravityMagnitudeEt->value();
    if (ui.gravityDirectionEt)
        controls.gravityDirection = ui.gravityDirectionEt->value();
    if (ui.captureGravityBtn)
        controls.captureGravity = ui.captureGravityBtn->isChecked();
    if (ui.applyToNewCompCb)
        controls.applyToNewComp = ui.applyToNewCompCb->isChecked();
    // The "Mesh" entry of the view-options menu.
    if (ui.viewOptionsBtn && ui.viewOptionsBtn->menu())
        for (QAction* action : ui.viewOptionsBtn->menu()->actions())
            if (action->text() == QLatin1String("Mesh"))
                controls.showMesh = action->isChecked();
}

void SimulationView::worldReplaced()
{
    if (glWidget)
        glWidget->setWorld(world.get());
}

void SimulationView::prepareDrawing()
{
    debugDraw.SetFlags(drawingFlags);
    if (world)
        world->SetDebugDraw(&debugDraw);
}

void SimulationView::setFrameInfo(int frame)
{
    if (ui.frameSt)
        ui.frameSt->setText(QStringLiteral("%1").arg(frame, 5, 10, QLatin1Char('0')));
}

void SimulationView::setFpsInfo(double rate)
{
    if (!ui.fpsSt)
        return;
    QString text = QString::asprintf("%2.1f/%2.1f", rate, fps);
    if (rate < 10.0)
        text.prepend(QLatin1Char('0'));
    ui.fpsSt->setText(text);
}

void SimulationView::showWorldInfo()
{
    if (!ui.infoSt || !world)
        return;
    int polygons = 0;
    for (const MyBody& record : bodies)
        if (record.body)
            for (const b2Fixture* f = record.body->GetFixtureList(); f; f = f->GetNext())
                polygons += world->polygonCount(f);
    ui.infoSt->setText(QString::asprintf("Bodies: %d\nPolygons: %d\nContacts: %d", int(bodies.size()), polygons,
                                         world->GetContactCount()));
}

void SimulationView::setDrawJointsFlag(bool draw)
{
    if (glWidget)
        glWidget->setDrawJointsFlag(draw);
}

void SimulationView::restarted(bool play)
{
    if (!ui.playBtn || !ui.repeatBtn)
        return;
    if (!play) {
        ui.playBtn->setChecked(false);
        ui.repeatBtn->setChecked(false);
    } else if (!ui.playBtn->isChecked() && !ui.repeatBtn->isChecked()) {
        ui.playBtn->setChecked(true);
    }
}

void SimulationView::showRecordedFrame(int frame)
{
    holdProgress(frame);
}

// What reads the bar (a watchdog) sees the export move whatever the pace of
// the redraws. The bar would repaint at once each time its chunk grows by a
// pixel, and the whole window with it: its painting waits for the next time
// the progress is shown (refreshView, updateExportInfo), which lets it
// through.
void SimulationView::holdProgress(int value)
{
    if (!ui.progressBar)
        return;
    ui.progressBar->setUpdatesEnabled(false);
    ui.progressBar->setValue(value);
}

void SimulationView::releaseProgress()
{
    if (ui.progressBar && !ui.progressBar->updatesEnabled())
        ui.progressBar->setUpdatesEnabled(true);
}

void SimulationView::showSolvingProgress(int frame)
{
    if (ui.exportNoteSt)
        ui.exportNoteSt->setText(QStringLiteral("Solving...%1/%2")
                                     .arg(frame - exportStartFrame)
                                     .arg(exportEndFrame - exportStartFrame));
}

void SimulationView::beginKeyframing(AEGP_CompH target)
{
    if (ui.progressBar)
        ui.progressBar->setRange(0, static_cast<int>(bodyLayerIndices.size()));
    doKeyframing(target);
}

void SimulationView::reportExportFailure(const QString& text)
{
    endUnfinishedExport();
    showMessage(text);
}

void SimulationView::exportEndedByRestart()
{
    // As the cancel leaves them: Render released, the bar and its note
    // cleared. Play is released by the restart itself.
    resetProgress();
    if (ui.exportBtn)
        ui.exportBtn->setChecked(false);
}

void SimulationView::layerListed(int /*layerIndex*/, const QString& text)
{
    if (ui.gravityLayerLst)
        ui.gravityLayerLst->addItem(text);
}

void SimulationView::reportTriangulationFailures(const QString& text)
{
    showMessage(text);
}

void SimulationView::reportSetupProblems(const QString& text)
{
    showMessage(text);
}

void SimulationView::showMessage(const QString& text)
{
    QMessageBox::information(parentWindow, QStringLiteral("Zolvar"), text, QMessageBox::Ok);
}
