// The main window. For now the smallest window that start-up needs: the scene
// view, the "Auto Load/Save Settings" action and the close sequence's ending
// (the loop quits and control goes back to the host).
#pragma once

#include "host_api.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QApplication;
class QCloseEvent;
class SimulationView;

class ZolvarDlg : public QMainWindow
{
    Q_OBJECT
public:
    ZolvarDlg(QWidget* parent, Qt::WindowFlags flags, QApplication* application, SPBasicSuite* suite,
              int pluginId, QString projectPath);
    ~ZolvarDlg() override;

    SimulationView* simulationView() const { return view; }
    // The File menu's checkable "Auto Load/Save Settings".
    QAction* autoLoadSaveAction() const { return onAutoLoadSave; }
    // The close sequence has run.
    bool isClosing() const { return closing; }

public slots:
    // Closes the window and ends the application's event loop. Runs once;
    // later calls do nothing.
    void closeZolvarDlg();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QApplication* application;
    SimulationView* view = nullptr;
    SPBasicSuite* suite;
    int pluginId;
    QString projectPath;
    QAction* onAutoLoadSave = nullptr;
    bool closing = false;
};
