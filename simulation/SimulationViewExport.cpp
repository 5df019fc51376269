// The keyframe export's chain: one layer per turn of the event loop, with
// the progress shown and Export's button read between layers.
#include "simulation/SimulationView.h"

#include "host/HostFailure.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QToolButton>

#include <algorithm>

namespace {

const QEvent::Type kNextLayerEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

void SimulationView::doKeyframing(AEGP_CompH target)
{
    exportComp = target;
    keyframedLayerCount = 0;

    ExportSettings settings = exportSettings();
    settings.motionBlur = ui.enableMotionBlurCb && ui.enableMotionBlurCb->isChecked();

    QString problem;
    bool started = false;
    const A_Err err = GuardHostCall(
        [&] { started = keyWriter.begin(target, settings, exportBodies(), std::move(bodyTransforms), &problem); });
    // The writer holds the tracks now, and lets each go once it is written.
    bodyTransforms.clear();
    if (err || !started) {
        endUnfinishedExport();
        if (!err)
            showMessage(problem);
        return;
    }
    keyframeLayerProgress();
}

void SimulationView::keyframeLayerProgress()
{
    if (!keyWriter.isWriting())
        return;
    writingTurn = true;
    writeNextLayerAndGoOn();
    writingTurn = false;
    // Told once the turn has done all it does at the end (a message
    // answered, the window's close): a close that waits for the keys goes on
    // from here.
    if (!keyWriter.isWriting())
        emit keyWritingEnded();
}

void SimulationView::writeNextLayerAndGoOn()
{
    // Writing the keys is the export's work; what the window does with the
    // progress shown afterwards is not.
    const FrameLimiter::WorkSpan work(limiter, true);
    bool last = false;
    if (GuardHostCall([&] { last = keyWriter.writeNextLayer(); })) {
        // Already told by the guard.
        cancelKeyframing(false);
        endUnfinishedExport();
        return;
    }

    if (last) {
        // Played on from here, the layers are followed with their new keys.
        GuardHostCall([this] { following.release(); });
        if (ui.exportBtn)
            ui.exportBtn->setChecked(false);
        // Every layer is written, also after a cancel clicked too late to
        // stop the last: the window closes showing the whole count.
        updateExportInfo(keyWriter.bodyCount());
        const QString report = writingEndReport();
        if (report.isEmpty()) {
            quitDialog();
            return;
        }
        if (keyWriter.failures().isEmpty()) {
            // Every layer has its keys; only a step around them was refused.
            showMessage(report);
            quitDialog();
            return;
        }
        endUnfinishedExport();
        showMessage(report);
        return;
    }
    if (ui.exportBtn && !ui.exportBtn->isChecked()) {
        cancelKeyframing();
        return;
    }
    ++keyframedLayerCount;
    // Like the recording's, the bar follows every layer, and the window
    // shows the progress only as often as the limiter allows.
    if (limiter.paintDue(fps)) {
        updateExportInfo(keyframedLayerCount);
        showPointerFeedback();
    } else {
        holdProgress(keyframedLayerCount);
    }
    // The next layer is posted at the low priority at which the window posts
    // its paint, and so comes after it: the progress just shown is painted
    // before the next layer holds the bar back again. A queued call (a
    // zero-delay single shot) would come first every time, and the bar,
    // held again before each paint, would stay as it was the whole writing.
    QCoreApplication::postEvent(this, new QEvent(kNextLayerEvent), Qt::LowEventPriority);
}

void SimulationView::customEvent(QEvent* event)
{
    if (event->type() == kNextLayerEvent)
        keyframeLayerProgress();
    else
        QWidget::customEvent(event);
}

void SimulationView::cancelKeyframing(bool tellFailures)
{
    if (!keyWriter.isWriting())
        return;
    GuardHostCall([this] { keyWriter.cancel(); });
    GuardHostCall([this] { following.release(); });
    resetProgress();
    // Cancelled on purpose: only what failed on the way is worth a word,
    // unless the window is to close: the cancel then is not silent either.
    const QString report = writingEndReport();
    if (tellFailures && !report.isEmpty())
        showMessage(report);
    // Within a turn of the chain, the turn tells the end once it is done.
    if (!writingTurn)
        emit keyWritingEnded();
}

QString SimulationView::writingEndReport() const
{
    QString report = keyWriter.report(closeAwaitsKeys);
    if (closeAwaitsKeys && !report.isEmpty())
        report += QStringLiteral("\n\nThe window closes now, as asked.");
    return report;
}

void SimulationView::updateExportInfo(int count)
{
    // The bar is held while both change: a bar that paints repaints at once
    // on its new value, beside the note of the layer before. Let go after
    // both, it is painted once, with both.
    holdProgress(count);
    if (ui.exportNoteSt)
        ui.exportNoteSt->setText(QStringLiteral("Keyframing...%1/%2").arg(count).arg(keyWriter.bodyCount()));
    releaseProgress();
}

void SimulationView::endUnfinishedExport()
{
    resetProgress();
    if (ui.exportBtn)
        ui.exportBtn->setChecked(false);
    // Play was pressed by the export's start, or by the user before a Render
    // that could not start: either way nothing is played for the export now.
    if (ui.playBtn && ui.playBtn->isChecked()) {
        ui.playBtn->setChecked(false);
        pauseAnimation();
    }
}

void SimulationView::resetProgress()
{
    // While recording, the bar's range is the export's frames; a value of 0
    // outside the range would be ignored.
    if (ui.progressBar) {
        if (ui.progressBar->minimum() != 0 || ui.progressBar->maximum() <= 0)
            ui.progressBar->setRange(0, std::max(1, ui.progressBar->maximum()));
        ui.progressBar->setValue(0);
    }
    releaseProgress();
    if (ui.exportNoteSt)
        ui.exportNoteSt->setText(QString());
}

void SimulationView::quitDialog()
{
    for (QWidget* w = parentWindow; w; w = w->parentWidget()) {
        if (w->objectName() == QLatin1String("ZolvarDlgClass")) {
            QMetaObject::invokeMethod(w, "closeZolvarDlg", Qt::DirectConnection);
            return;
        }
    }
}
