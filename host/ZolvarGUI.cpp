#include "host/ZolvarGUI.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "host/PluginGlobals.h"
#include "host/StartupQueries.h"
#include "host/ZolvarApplication.h"
#include "mainwindow/ZolvarDlg.h"
#include "simulation/SimulationView.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QTimer>

#include <exception>
#include <memory>

void setAppFont(QApplication* application)
{
    QFont font = application->font();
    font.setFamily(QStringLiteral("Lucida Grande"));
    font.setPointSize(11);
    application->setFont(font);
}

namespace {

// The one application of the process: made with the plug-in's look on first
// use and kept for every later run (Qt allows one per process).
QApplication* ObtainApplication()
{
    if (QCoreApplication* existing = QCoreApplication::instance())
        return qobject_cast<QApplication*>(existing);

    QCoreApplication::setAttribute(Qt::AA_PluginApplication, true);
    // Qt keeps referring to the arguments; they must outlive the application
    // and hold at least the program name.
    static int argc = 1;
    static char name[] = "Zolvar";
    static char* argv[] = {name, nullptr};
    auto* application = new ZolvarApplication(argc, argv);
    // The window closes itself and ends the loop; the host owns the process.
    application->setQuitOnLastWindowClosed(false);

    if (!QApplication::setStyle(QStringLiteral("plastique")))
        QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Highlight, QColor(181, 213, 255, 255));
    QApplication::setPalette(palette);
    setAppFont(application);
    return application;
}

// The command is running: its window is being built (the start's own
// dialogs, such as the offer to separate layers, may be open, and are then
// all there is), or it is shown, or closing once the keys being written are
// written.
bool commandRunning = false;
bool windowShown = false;

QByteArray alreadyRunning()
{
    if (windowShown)
        return "Zolvar 2 is already running: its window is open, or closes once the keyframes are written. Run the "
               "command again once it has closed.";
    const QWidget* dialog = QApplication::activeModalWidget();
    const QString open = dialog ? QStringLiteral(", and its dialog \"%1\" is open").arg(dialog->windowTitle())
                                : QString();
    return QStringLiteral("Zolvar 2 is already running: it is starting%1; its window is not shown yet. Run the "
                          "command again once its window has closed.").arg(open).toUtf8();
}

// Loads the automatically saved settings or fits the view, as the user chose.
void ApplyAutoLoad(ZolvarDlg& window, const AutoLoadPrefs& prefs)
{
    SimulationView* view = window.simulationView();
    if (prefs.autoLoadSave != 0)
        window.autoLoadSaveAction()->setChecked(true);
    // Before the first close there is no file to load.
    if (prefs.autoLoadSave != 0 && !prefs.settingsFile.isEmpty()) {
        view->autoLoadSettings(QString::fromUtf8(prefs.settingsFile), ZolvarDlg::autoSavePath(),
                               prefs.bodyIdentification);
    } else {
        view->zoomFit();
    }
}

} // namespace

A_Err OpenZolvarGUI()
{
    // Run again from the host meanwhile, the command would open a second
    // window inside the first one's event loop: it is refused, saying why,
    // and touches nothing of the run under way.
    if (commandRunning) {
        AEGP_SuiteHandler suites(sP);
        return suites.UtilitySuite3()->AEGP_ReportInfo(S_my_id, alreadyRunning().constData());
    }
    struct Running
    {
        Running() { commandRunning = true; }
        ~Running() { commandRunning = windowShown = false; }
    } running;

    StartupNames names;
    A_Err err = ReadStartupNames(sP, S_my_id, names);
    if (!names.hasActiveItem)
        return err;

    QApplication* application = ObtainApplication();
    if (!application)
        return err ? err : A_Err_GENERIC; // a non-widget application owns the process

    // The whole start runs inside the application's loop: the window built
    // (the offer to separate layers, the messages of the scene's setup), then
    // shown and the stored settings loaded (their messages). Outside that
    // loop Qt drops the host's quit unseen; inside it, the window's close
    // hears the quit, waits for the message open then, and closes the window
    // once that is answered.
    std::unique_ptr<ZolvarDlg> window;
    std::exception_ptr buildFailed;
    QObject start; // a quit that ends the loop first leaves nothing to run later
    QTimer::singleShot(0, &start, [&] {
        const Qt::WindowFlags flags =
            Qt::Tool | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
        try {
            window = std::make_unique<ZolvarDlg>(nullptr, flags, application, sP, S_my_id, names.projectPath);
        } catch (...) {
            // Out of the loop first: it is no place for the command's failure.
            buildFailed = std::current_exception();
            QCoreApplication::exit(0);
            return;
        }
        window->setWindowModality(Qt::ApplicationModal);
        window->setWindowTitle(QStringLiteral("Zolvar - %1 - %2").arg(names.projectName, names.itemName));
        // Open from its show event on, which comes before show() returns: a
        // command run again from there is told the window is open. Quit by
        // the host during a message of its building, it is never shown.
        windowShown = !window->closeIsAwaited();
        window->setVisible(windowShown);

        // From here on the window stays open whatever fails: a failure is
        // reported, and what was not read keeps its default.
        AutoLoadPrefs prefs;
        if (!err) {
            const A_Err thrown = GuardHostCall([&] { err = ReadAutoLoadPrefs(sP, prefs); });
            if (thrown)
                err = thrown;
        }
        GuardHostCall([&] { ApplyAutoLoad(*window, prefs); });
    });
    application->exec();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (buildFailed)
        std::rethrow_exception(buildFailed);
    return err;
}
