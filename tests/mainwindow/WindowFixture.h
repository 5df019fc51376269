// The main window built against the stand-in host, with the settings store
// and the home folder in a temporary folder of the test program.
#pragma once

#include "host/StandinFixture.h"
#include "TestApp.h"

#include "mainwindow/ZolvarDlg.h"
#include "mainwindow/ZolvarDlgForm.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "simulation/SimulationView.h"

#include <QByteArray>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace window_test {

using testing_standin::Host;

inline const QByteArray kProject = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
                      "layers": [{"type": "solid", "name": "Box", "source": "Red"}]}],
    "activeItem": "Main"
})";

inline const char* const kSection = "VH Zolvar 2";

// HOME, the configuration folder and QSettings' user scope, all in one
// temporary folder made on first use; the application made with them.
inline const QString& isolatedHome()
{
    static QTemporaryDir* dir = [] {
        auto* d = new QTemporaryDir;
        qputenv("HOME", d->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (d->path() + QStringLiteral("/.config")).toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, d->path() + QStringLiteral("/.config"));
        return d;
    }();
    static const QString path = dir->path();
    testApp().setQuitOnLastWindowClosed(false);
    return path;
}

// The window layout store of "Varnholt" / "Zolvar 2.0".
inline QSettings layoutStore()
{
    isolatedHome();
    return QSettings(QStringLiteral("Varnholt"), QStringLiteral("Zolvar 2.0"));
}

inline void clearLayoutStore()
{
    QSettings store = layoutStore();
    store.clear();
    store.sync();
}

// A host whose entry point was told the given version.
inline std::unique_ptr<Host> makeHost(A_long major = 18, A_long minor = 0, const QByteArray& project = kProject)
{
    isolatedHome();
    auto host = std::make_unique<Host>(project, false);
    host->session->setHostVersion(major, minor);
    host->entryError = host->session->callEntryPoint(&EntryPointFunc);
    return host;
}

inline std::unique_ptr<ZolvarDlg> makeWindow(Host& host)
{
    const Qt::WindowFlags flags =
        Qt::Tool | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    return std::make_unique<ZolvarDlg>(nullptr, flags, &testApp(), host.session->basicSuite(), Host::kPluginId,
                                       QStringLiteral("/projects/shot"));
}

// Shows the window at a fixed size and stops the view's frame timer, so a
// test drives every tick itself.
inline void showStill(ZolvarDlg& window)
{
    window.resize(1200, 800);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    window.simulationView()->getTimer()->stop();
}

// What differs from an export ended as its cancel ends it: Render and Play
// released, the bar and its note cleared, the scene stopped at frame 0.
// Empty when nothing does.
inline QString exportLeftStanding(ZolvarDlg& window)
{
    const Ui::ZolvarDlgClass& ui = window.form();
    const SimulationView* view = window.simulationView();
    QStringList wrong;
    if (ui.exportBtn->isChecked() || view->exporting)
        wrong << QStringLiteral("Render still pressed");
    if (ui.playBtn->isChecked() || view->playing || view->running)
        wrong << QStringLiteral("still playing");
    if (ui.progressBar->value() != 0 || !ui.exportNoteSt->text().isEmpty())
        wrong << QStringLiteral("the bar at %1, \"%2\"").arg(ui.progressBar->value()).arg(ui.exportNoteSt->text());
    if (view->currentFrame != 0)
        wrong << QStringLiteral("at frame %1").arg(view->currentFrame);
    return wrong.join(QStringLiteral("; "));
}

// Renders frames 0 to 3 into the composition itself with the window's
// Render button, its frame timer stopped, until the keys are written and the
// window closes. The number of position keys the first layer then has, or -1
// when the window stayed open.
inline int renderFourFrames(ZolvarDlg& window, Host& host)
{
    const Ui::ZolvarDlgClass& ui = window.form();
    ui.startFrameEt->setValue(0);
    ui.endFrameEt->setValue(3);
    ui.applyToNewCompCb->setChecked(false);
    ui.exportBtn->click();
    for (int tick = 0; tick < 10 && window.isVisible(); ++tick) {
        window.simulationView()->updatePhysics();
        QTest::qWait(5);
    }
    if (window.isVisible())
        return -1;
    // The close sequence asked the application's loop to end; a loop run
    // once takes that back, so later modal loops run.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    const standin::Composition* main = host.project->compositionByName(QStringLiteral("Main"));
    return main->layer(0)->transformStream(standin::TransformStream::Position)->keyCount();
}

// Collects the Qt warnings printed while it lives.
class WarningCollector
{
public:
    WarningCollector() { previous = qInstallMessageHandler(&WarningCollector::handle); }
    ~WarningCollector() { qInstallMessageHandler(previous); }
    static QStringList& warnings()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            warnings() << text;
    }
    QtMessageHandler previous;
};

} // namespace window_test
