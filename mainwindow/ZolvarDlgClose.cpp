// The close sequence: every way out of the window (the Quit command, the
// window's close button or any other close request, the end of a keyframe
// export) runs it once.
#include "mainwindow/ZolvarDlg.h"

#include "dialogs/DialogAnswers.h"
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
#include <QCursor>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QTimer>

#include <algorithm>

namespace {

// The host's quit runs the window's close first, as the host's close does,
// before Qt closes every window one by one: a dialog open then would go with
// what it holds, and a dock dragged by its title would be closed under the
// drag, which takes the host down once the window is deleted. The close
// waits for an open dialog (the start's offer and messages included) and the
// keys being written; the quit is then dropped, and the window closes by
// itself.
class QuitRunsTheClose : public QObject
{
public:
    explicit QuitRunsTheClose(ZolvarDlg* window)
        : QObject(window)
        , window(window)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Quit || watched != qApp || window->isClosing())
            return false;
        window->closeZolvarDlg();
        if (window->isClosing())
            return false;
        event->ignore();
        return true;
    }

private:
    ZolvarDlg* window;
};

} // namespace

void ZolvarDlg::guardTheQuit()
{
    new QuitRunsTheClose(this);
    connect(&DialogAnswers::instance(), &DialogAnswers::allTaken, this, &ZolvarDlg::dialogAnswered);
}

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
    if (view && view->isWritingKeys()) {
        view->closeAwaitsKeys = true;
        tellCloseWaits(QStringLiteral("The window closes when the keyframes are written. Changes made until then "
                                      "are kept."));
        return;
    }
    // A dialog still open (Preferences, Load Settings, a message) is answered
    // first and what it changes taken, as a close by the user waits for it:
    // so does the close at the end of an export. One asked while the window
    // is built (the host's quit during the start's offer or a message of the
    // scene's setup) runs once it is.
    if (!view || closeWaitsForDialog()) {
        closeAwaitsDialog = true;
        // Render pressed and not yet recording: its message on a cut range is
        // open, and what it announces is not started once the window closes.
        const bool renderAsks = view && ui.exportBtn->isChecked() && !view->exporting;
        tellCloseWaits(renderAsks ? QStringLiteral("The window closes when the open dialog is answered. The export "
                                                   "is not started, as the window is closing.")
                                  : QStringLiteral("The window closes when the open dialog is answered. What is "
                                                   "answered with OK is kept."));
        return;
    }
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
    // A window never shown (the host quit while it was built) has no layout
    // to keep: laid out by no show, it would store its docks without room.
    if (isVisible())
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

void ZolvarDlg::dialogAnswered()
{
    if (closeAwaitsDialog && !closing)
        closeZolvarDlg();
}

bool ZolvarDlg::closeWaitsForDialog()
{
    if (DialogAnswers::instance().pending() > 0)
        return true;
    // A modal window that keeps no count (a message box) is waited for until
    // it is deleted, once its caller is done with it; the close then runs
    // from the event loop, after the caller's turn.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == this)
        return false;
    if (modal != awaitedModal) {
        awaitedModal = modal;
        connect(modal, &QObject::destroyed, this, &ZolvarDlg::dialogAnswered, Qt::QueuedConnection);
    }
    return true;
}

void ZolvarDlg::tellCloseWaits(const QString& text)
{
    // In the menu bar's free corner: a status bar would take its height from
    // the panels, and every control below would move under the pointer.
    auto* line = qobject_cast<QLabel*>(ui.menuBar->cornerWidget(Qt::TopRightCorner));
    if (!line) {
        line = new QLabel(ui.menuBar);
        line->setObjectName(QStringLiteral("closeWaitSt"));
        ui.menuBar->setCornerWidget(line, Qt::TopRightCorner);
    }
    line->setText(text);
    line->show();
}

void ZolvarDlg::takeBackHeldDrags()
{
    endDockDrag();
    if (view->dragInProgress())
        view->endInterruptedDrag();
    for (SliderGo* slider : findChildren<SliderGo*>())
        slider->takeBackDrag();
    if (gravityView)
        gravityView->takeBackDrag();
}

void ZolvarDlg::endDockDrag()
{
    // The layout kept for the next run is the one at the press. (Restored
    // into the window shown, Qt trips over the tab bars of the drop.)
    if (releaseDockDrag())
        layoutToStore = layoutAtDockPress;
}

bool ZolvarDlg::releaseDockDrag()
{
    // A dock dragged by its title holds the pointer until the button is
    // released. Meanwhile Qt keeps a copy of the window's layout that shares
    // its items with the layout in force: the window deleted, or its layout
    // changed (a dock shown or hidden, a layout restored), before the drag
    // ends takes the host down inside Qt. The drag ends here as the release
    // ends it.
    auto* dock = qobject_cast<QDockWidget*>(QWidget::mouseGrabber());
    if (!dock || mainWindowOf(dock) != this)
        return false;
    const QPoint at = dock->mapFromGlobal(QCursor::pos());
    QMouseEvent release(QEvent::MouseButtonRelease, at, dock->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(dock, &release);
    // The docks that Qt still moves into their places (the drop, and the
    // room made for it) are put there at once: until the last one arrives
    // Qt holds on to tab bars and items of the layout as it was, and what
    // comes next (a layout restored, the window deleted) is to find it
    // settled.
    for (QPropertyAnimation* move : findChildren<QPropertyAnimation*>())
        if (move->state() == QAbstractAnimation::Running && move->propertyName() == "geometry")
            move->setCurrentTime(move->totalDuration());
    return true;
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
