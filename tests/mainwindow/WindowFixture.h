// The main window built against the stand-in host, with the settings store
// and the home folder in a temporary folder of the test program.
#pragma once

#include "host/StandinFixture.h"
#include "TestApp.h"

#include "mainwindow/ZolvarDlg.h"
#include "simulation/SimulationView.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
