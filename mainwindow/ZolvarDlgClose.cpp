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

#include <algorithm>

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
        closeAwaitingKeys = true;
        return;
    }
    closeAwaitingKeys = false;
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
    // While the keys are written the window stays; it closes once they are.
    if (closeAwaitingKeys)
        event->ignore();
    else
        event->accept();
}

void ZolvarDlg::keyWritingEnded()
{
    if (closeAwaitingKeys)
        closeZolvarDlg();
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
