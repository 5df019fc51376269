// A whole main window over the stand-in host for the benchmarks (run with a
// display, e.g. under xvfb-run), with every body selected.
#pragma once

#include "bench/outlines/Composition200.h"
#include "bench/simulation/GridScene.h"
#include "mainwindow/ZolvarDlg.h"
#include "simulation/SimulationView.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <memory>
#include <numeric>

namespace bench {

inline QApplication& application()
{
    static QTemporaryDir home;
    static int argc = 1;
    static char name[] = "properties_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
        return new QApplication(argc, argv);
    }();
    return *app;
}

struct Window
{
    explicit Window(const QByteArray& json)
    {
        QApplication& app = application();
        standin::LoadError error;
        project = standin::Project::fromJson(json, QStringLiteral("/bench/properties.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, bench::kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        // Layers of several outlines bring the separation offer first: the
        // benchmark declines it and keeps the composition as it is.
        QTimer decline;
        QObject::connect(&decline, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        decline.start(10);
        window = std::make_unique<ZolvarDlg>(nullptr, Qt::Tool, &app, session->basicSuite(), bench::kPluginId,
                                             QStringLiteral("/bench/properties"));
        decline.stop();
        view = window->simulationView();
        view->getTimer()->stop();
        view->showTooManyPolygonsWarning = false;
        view->showTriangulationFailedMessage = false;
        rows.resize(view->bodies.size());
        std::iota(rows.begin(), rows.end(), 0);
        view->selectBodies(rows);
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view = nullptr;
    std::vector<int> rows;
};

} // namespace bench
