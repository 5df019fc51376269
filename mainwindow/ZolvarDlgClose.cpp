// The close sequence: every way out of the window (the Quit command, the
// window's close button or any other close request, the end of a keyframe
// export) runs it once.
#include "mainwindow/ZolvarDlg.h"

#include "host/HostFailure.h"
#include "host/StartupQueries.h"
#include "mainwindow/WindowPreferences.h"
#include "properties/GravityView.h"
#include "properties/MainWindowOf.h"
#include "properties/SliderGo.h"
#include "simulation/SimulationView.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

// How often a close that waits for a dialog looks whether it was answered.
constexpr int kDialogPollMs = 20;

} // namespace

void ZolvarDlg::closeZolvarDlg()
{
    // A second request (the close event of the close below, or the view's
    // quit after the menu's) finds the sequence done.
    if (closing)
        return;
    // Keys being written are written to their end by the export's own turns,
    // with the window answering and the bar moving meanwhile; the close
    // follows once the writing ends (a cancel clicked before stands). Asking
    // again meanwhile changes nothing.
    if (view->isWritingKeys()) {
        view->closeAwaitsKeys = true;
        tellCloseWaits(QStringLiteral("The window closes when the keyframes are written. Changes made until then "
                                      "are kept."));
        return;
    }
    // A dialog still open (Preferences, Load Settings, a message) is answered
    // first and what it changes taken, as a close by the user waits for it:
    // so does the close at the end of an export.
    if (dialogPending()) {
        tellCloseWaits(QStringLiteral("The window closes when the open dialog is answered. What is changed in it "
                                      "is kept."));
        if (!dialogWait) {
            dialogWait = new QTimer(this);
            dialogWait->setInterval(kDialogPollMs);
            connect(dialogWait, &QTimer::timeout, this, &ZolvarDlg::closeZolvarDlg);
        }
        if (!dialogWait->isActive())
            dialogWait->start();
        return;
    }
    if (dialogWait)
        dialogWait->stop();
    closing = true;

    // What the user is still doing is settled before anything is saved, the
    // same by every way out: a drag still held goes back, as a key pressed
    // during it takes it back; then a value typed into a box and not yet
    // taken is taken, as Return or the focus leaving would take it.
    takeBackHeldDrags();
    finishTypedValue();

    // A recording under way is dropped.
    endExportInProgress();

    // A host suite that went missing is reported, and the window still
    // closes and hands control back. A refusal to store the file's name is
    // told with the preferences below, in one message.
    PreferenceWriteResult stored;
    bool autoSaved = false;
    GuardHostCall([this, &stored, &autoSaved] {
        autoSaved = view->autoSaveSettings(autoSavePath(), kAutoSavedFileKey, &stored);
    });
    const bool nameRefused = stored.err != A_Err_NONE;
    stopSimulation();

    ui.menuZolvar->hide();
    ui.menuFile->hide();
    ui.menuEdit->hide();
    ui.menuPanel->hide();
    ui.menuHelp->hide();

    // A failed call skips the rest of the storing and is told once; the
    // window closes all the same.
    GuardHostCall([this, &stored] {
        storeClosingPreferences(suite, ui.onAutoLoadSave->isChecked(), bodyIdentification, &stored);
    });
    if (stored.err) {
        QStringList meaning;
        if (autoSaved && nameRefused)
            meaning << QStringLiteral("The settings were saved; only the name of their file was not kept.");
        const QString nameKey = QString::fromLatin1(kAutoSavedFileKey);
        if (std::any_of(stored.notStored.begin(), stored.notStored.end(),
                        [&nameKey](const QString& key) { return key != nameKey; }))
            meaning << QStringLiteral("The next start uses the choices stored before.");
        ReportHostProblem(preferenceWriteFailureText(stored, meaning.join(QLatin1Char(' '))));
    }
    saveDlgSettings();
    close();
    // Ends the loop of the start-up's exec(); nothing else of the host
    // application is closed.
    QCoreApplication::exit(0);
}

QString ZolvarDlg::autoSavePath()
{
    return QStringLiteral("%1/.zolvar_autosave.xml").arg(QDir::homePath());
}

void ZolvarDlg::OnQuitZolvar()
{
    closeZolvarDlg();
}

void ZolvarDlg::closeEvent(QCloseEvent* event)
{
    closeZolvarDlg();
    // While the keys are written, or a dialog is open, the window stays; it
    // closes once they are written and it is answered.
    event->setAccepted(closing);
}

void ZolvarDlg::keyWritingEnded()
{
    if (view->closeAwaitsKeys)
        closeZolvarDlg();
}

bool ZolvarDlg::dialogPending()
{
    // A dialog runs its own event loop, one level in, until its exec()
    // returns; the caller then takes the answer (applies the preferences,
    // loads the file) before its turn of the outer loop ends.
    const int level = QThread::currentThread()->loopLevel();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        dialogLoopLevel = level;
        return true;
    }
    // Answered, but its caller is not done with it while its loop, or one
    // as deep, still runs.
    return level >= dialogLoopLevel;
}

void ZolvarDlg::tellCloseWaits(const QString& text)
{
    if (statusBar()->currentMessage() != text)
        statusBar()->showMessage(text);
}

void ZolvarDlg::takeBackHeldDrags()
{
    if (view->dragInProgress())
        view->endInterruptedDrag();
    for (SliderGo* slider : findChildren<SliderGo*>())
        slider->takeBackDrag();
    if (gravityView)
        gravityView->takeBackDrag();
}

void ZolvarDlg::finishTypedValue()
{
    // The box's own line edit may hold the focus; the box is above it. A
    // window that is not active has finished its editing already, when it
    // lost the focus.
    QWidget* box = QApplication::focusWidget();
    while (box && !qobject_cast<QAbstractSpinBox*>(box))
        box = box->parentWidget();
    // A box of this window, a floating dock's included.
    if (box && mainWindowOf(box) == this)
        box->clearFocus();
}
