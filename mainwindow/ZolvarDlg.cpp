#include "mainwindow/ZolvarDlg.h"

#include "simulation/SimulationView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

#include <utility>

ZolvarDlg::ZolvarDlg(QWidget* parent, Qt::WindowFlags flags, QApplication* application, SPBasicSuite* suite,
                     int pluginId, QString projectPath)
    : QMainWindow(parent, flags)
    , application(application)
    , suite(suite)
    , pluginId(pluginId)
    , projectPath(std::move(projectPath))
{
    setObjectName(QStringLiteral("ZolvarDlgClass"));

    QMenu* menuFile = menuBar()->addMenu(QStringLiteral("File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    onAutoLoadSave = menuFile->addAction(QStringLiteral("Auto Load/Save Settings"));
    onAutoLoadSave->setObjectName(QStringLiteral("onAutoLoadSave"));
    onAutoLoadSave->setCheckable(true);

    view = new SimulationView(this, this->suite, this->pluginId);
    setCentralWidget(view);
}

ZolvarDlg::~ZolvarDlg() = default;

void ZolvarDlg::closeZolvarDlg()
{
    if (closing)
        return;
    closing = true;
    close();
    // Ends the loop of OpenZolvarGUI's exec(); nothing else is closed.
    QCoreApplication::exit(0);
}

void ZolvarDlg::closeEvent(QCloseEvent* event)
{
    closeZolvarDlg();
    event->accept();
}
