// The close sequence: every way out of the window (the Quit command, the
// window's close button, the end of a keyframe export) runs it once.
#include "mainwindow/ZolvarDlg.h"

#include "host/HostFailure.h"
#include "host/StartupQueries.h"
#include "mainwindow/WindowPreferences.h"
#include "simulation/SimulationView.h"

#include <QAction>
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
    closing = true;

    // An export under way ends first: keys being written are all written,
    // in their one undo group; a recording is dropped.
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
    event->accept();
}
