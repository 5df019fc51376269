// The eight docks, their Panel-menu check marks, and the window layout kept
// between runs in the platform settings store.
#include "mainwindow/ZolvarDlg.h"
#include "mainwindow/WindowSettingsStore.h"

#include <QAction>
#include <QByteArray>
#include <QDockWidget>
#include <QSettings>

namespace {

using F = Ui_ZolvarDlgClass;

struct Dock
{
    QDockWidget* F::*dock;
    QAction* F::*action;
    const char* mirror;  // the slot that keeps the action's check mark
};

// In the order the panels are shown and hidden and their mirrors connected.
const Dock kDocks[] = {
    {&F::bodiesDockWidget, &F::dockBodies, SLOT(bodiesDockVisibilityChanged(bool))},
    {&F::jointsDockWidget, &F::dockJoints, SLOT(jointsDockVisibilityChanged(bool))},
    {&F::globalPropertiesDockWidget, &F::dockGlobalProperties, SLOT(globalPropertiesDockVisibilityChanged(bool))},
    {&F::bodyPropertiesDockWidget, &F::dockBodyProperties, SLOT(bodyPropertiesDockVisibilityChanged(bool))},
    {&F::jointPropertiesDockWidget, &F::dockJointProperties, SLOT(jointPropertiesDockVisibilityChanged(bool))},
    {&F::exportDockWidget, &F::dockExport, SLOT(exportDockVisibilityChanged(bool))},
    {&F::infoDockWidget, &F::dockInfo, SLOT(infoDockVisibilityChanged(bool))},
    {&F::actionsHistoryDockWidget, &F::dockActionsHistory, SLOT(actionsHistoryDockVisibilityChanged(bool))},
};

enum DockIndex { Bodies, Joints, GlobalProperties, BodyProperties, JointProperties, Export, Info, ActionsHistory };

// A dock counts as visible when it is, or would be once the window shows.
bool shown(const QDockWidget* dock)
{
    return dock->isVisibleTo(dock->parentWidget());
}

// Shows a hidden dock, hides a visible one, and sets its check mark.
void toggle(const Ui::ZolvarDlgClass& ui, DockIndex index)
{
    QDockWidget* dock = ui.*kDocks[index].dock;
    dock->setVisible(!shown(dock));
    (ui.*kDocks[index].action)->setChecked(shown(dock));
}

// The check mark follows the dock's own visibility, not the signal's value.
void mirror(const Ui::ZolvarDlgClass& ui, DockIndex index)
{
    (ui.*kDocks[index].action)->setChecked(shown(ui.*kDocks[index].dock));
}

const char kGeometryKey[] = "zolvarDlgGeometry";
const char kWindowStateKey[] = "zolvarDlgWindowState";
const char kDefaultWindowStateKey[] = "zolvarDlgDfltWindowState";

QString applicationName()
{
    return windowSettingsApplicationName();
}

} // namespace

void ZolvarDlg::dockBodies() { toggle(ui, Bodies); }
void ZolvarDlg::dockJoints() { toggle(ui, Joints); }
void ZolvarDlg::dockGlobalProperties() { toggle(ui, GlobalProperties); }
void ZolvarDlg::dockBodyProperties() { toggle(ui, BodyProperties); }
void ZolvarDlg::dockJointProperties() { toggle(ui, JointProperties); }
void ZolvarDlg::dockExport() { toggle(ui, Export); }
void ZolvarDlg::dockInfo() { toggle(ui, Info); }
void ZolvarDlg::dockActionsHistory() { toggle(ui, ActionsHistory); }

void ZolvarDlg::bodiesDockVisibilityChanged(bool) { mirror(ui, Bodies); }
void ZolvarDlg::jointsDockVisibilityChanged(bool) { mirror(ui, Joints); }
void ZolvarDlg::globalPropertiesDockVisibilityChanged(bool) { mirror(ui, GlobalProperties); }
void ZolvarDlg::bodyPropertiesDockVisibilityChanged(bool) { mirror(ui, BodyProperties); }
void ZolvarDlg::jointPropertiesDockVisibilityChanged(bool) { mirror(ui, JointProperties); }
void ZolvarDlg::exportDockVisibilityChanged(bool) { mirror(ui, Export); }
void ZolvarDlg::infoDockVisibilityChanged(bool) { mirror(ui, Info); }
void ZolvarDlg::actionsHistoryDockVisibilityChanged(bool) { mirror(ui, ActionsHistory); }

void ZolvarDlg::connectDockMirrors(bool connectThem)
{
    for (const Dock& d : kDocks) {
        if (connectThem)
            connect(ui.*d.dock, SIGNAL(visibilityChanged(bool)), this, d.mirror);
        else
            disconnect(ui.*d.dock, SIGNAL(visibilityChanged(bool)), this, d.mirror);
    }
}

void ZolvarDlg::syncDockCheckMarks()
{
    for (int index = Bodies; index <= ActionsHistory; ++index)
        mirror(ui, static_cast<DockIndex>(index));
}

void ZolvarDlg::showPanels(bool show)
{
    for (const Dock& d : kDocks)
        (ui.*d.dock)->setVisible(show);
}

void ZolvarDlg::toggleAll()
{
    // The information dock alone decides.
    showPanels(!shown(ui.infoDockWidget));
}

void ZolvarDlg::setDefaultLayout()
{
    connectDockMirrors(false);
    ui.bodiesDockWidget->hide();
    ui.jointsDockWidget->hide();
    ui.exportDockWidget->hide();
    restoreDlgDfltSettings();
    // Every check mark from its dock's visibility as restored, so that none
    // is left stale.
    syncDockCheckMarks();
    connectDockMirrors(true);
}

// A dock moves to another side or closes; it never floats. A layout stored
// by an older run may hold a floating one, and a dock may be left floating
// by code: each goes back to its place in the layout.
void ZolvarDlg::dockFloatingDocks()
{
    // A dock dragged by its title floats until it is dropped.
    if (qobject_cast<QDockWidget*>(QWidget::mouseGrabber()))
        return;
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        if (dock->isFloating())
            dock->setFloating(false);
}

void ZolvarDlg::saveDlgSettings()
{
    dockFloatingDocks();
    QSettings settings(QStringLiteral("Varnholt"), applicationName());
    settings.setValue(QLatin1String(kGeometryKey), saveGeometry());
    settings.setValue(QLatin1String(kWindowStateKey), layoutToStore.isEmpty() ? saveState(0) : layoutToStore);
}

bool ZolvarDlg::restoreDlgSettings()
{
    QSettings settings(QStringLiteral("Varnholt"), applicationName());
    const bool stored = settings.contains(QLatin1String(kGeometryKey)) &&
                        settings.contains(QLatin1String(kWindowStateKey));
    restoreGeometry(settings.value(QLatin1String(kGeometryKey)).toByteArray());
    restoreState(settings.value(QLatin1String(kWindowStateKey)).toByteArray(), 0);
    dockFloatingDocks();
    return stored;
}

void ZolvarDlg::saveDlgDfltSettings()
{
    QSettings settings(QStringLiteral("Varnholt"), applicationName());
    settings.setValue(QLatin1String(kDefaultWindowStateKey), saveState(0));
}

void ZolvarDlg::restoreDlgDfltSettings()
{
    QSettings settings(QStringLiteral("Varnholt"), applicationName());
    restoreState(settings.value(QLatin1String(kDefaultWindowStateKey)).toByteArray(), 0);
    dockFloatingDocks();
}
