// The scene's editing menu: built once from the main window's actions, shown
// over the view and over the bodies table's rows, and kept enabled only
// where an entry can act. A disabled action ignores its key as well.
#include "simulation/SimulationView.h"

#include "properties/BodiesTableView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include <utility>

void SimulationView::createContextMenu()
{
    if (contextMenu)
        return;
    contextMenu = new QMenu();
    auto add = [this](QMenu* menu, QAction* action, void (SimulationView::*slot)()) {
        if (!action)
            return;
        menu->addAction(action);
        addAction(action);
        if (slot)
            connect(action, &QAction::triggered, this, slot);
    };
    auto separator = [this](QMenu* menu) { addAction(menu->addSeparator()); };

    add(contextMenu, ui.onCopyBodySettings, &SimulationView::OnCopyBodySettings);
    add(contextMenu, ui.onPasteBodySettings, &SimulationView::OnPasteBodySettings);
    add(contextMenu, ui.onCopyJointSettings, &SimulationView::OnCopyJointSettings);
    add(contextMenu, ui.onPasteJointSettings, &SimulationView::OnPasteJointSettings);
    separator(contextMenu);

    selectBodiesMenu = contextMenu->addMenu(QStringLiteral("Select Bodies"));
    add(selectBodiesMenu, ui.onWithTheSameColor, &SimulationView::OnSelectBodiesWithTheSameColor);
    add(selectBodiesMenu, ui.onWithTheSameLabel, &SimulationView::OnSelectBodiesWithTheSameLabel);
    add(selectBodiesMenu, ui.onWithTheSameCollisionGroup, &SimulationView::OnSelectBodiesWithTheSameCollisionGroup);
    add(selectBodiesMenu, ui.onWithTheSameType, &SimulationView::OnSelectBodiesWithTheSameType);
    add(selectBodiesMenu, ui.onInvertSelection, &SimulationView::OnInvertSelection);

    selectJointsMenu = contextMenu->addMenu(QStringLiteral("Select Joints"));
    add(selectJointsMenu, ui.onOfTheSelectedBodies, &SimulationView::OnSelectAssociatedJoints);
    add(selectJointsMenu, ui.onWithTheSameJointType, &SimulationView::OnSelectJointsWithTheSameType);
    add(selectJointsMenu, ui.onRemoveJointsOfSelectedBodies, &SimulationView::OnRemoveAssociatedJoints);
    separator(contextMenu);

    add(contextMenu, ui.onSetColor, &SimulationView::OnSetColor);
    add(contextMenu, ui.onSetPosition, &SimulationView::OnSetPosition);
    add(contextMenu, ui.onSetRotation, &SimulationView::OnSetRotation);

    setTypeMenu = contextMenu->addMenu(QStringLiteral("Set Type"));
    add(setTypeMenu, ui.onStatic, &SimulationView::OnTypeStatic);
    add(setTypeMenu, ui.onKinematic, &SimulationView::OnTypeKinematic);
    add(setTypeMenu, ui.onDynamic, &SimulationView::OnTypeDynamic);
    add(setTypeMenu, ui.onDormant, &SimulationView::OnTypeDormant);
    add(setTypeMenu, ui.onAEmatic, &SimulationView::OnTypeAEmatic);
    add(setTypeMenu, ui.onDead, &SimulationView::OnTypeDead);
    separator(contextMenu);

    // The randomizer's action is connected with its dialog's wiring
    // (makeConnections), once.
    add(contextMenu, ui.onRandomizer, nullptr);
    separator(contextMenu);

    resetMenu = contextMenu->addMenu(QStringLiteral("Reset"));
    add(resetMenu, ui.onBodyProperties, &SimulationView::OnResetBodiesProperties);
    add(resetMenu, ui.onBodyTransform, &SimulationView::OnResetTransform);
    add(resetMenu, ui.onAEmaticAnchorToCenter, &SimulationView::OnCenterAEmaticAnchor);
    add(resetMenu, ui.onPanAndZoom, &SimulationView::OnZoomFitBtn);
    separator(resetMenu);
    add(resetMenu, ui.onScene, &SimulationView::OnResetScene);

    connect(contextMenu, &QMenu::aboutToShow, this, &SimulationView::ContextMenuAboutToShow);
    if (ui.menuEdit)
        connect(ui.menuEdit, &QMenu::aboutToShow, this, &SimulationView::EditMenuAboutToShow);
    if (auto* table = qobject_cast<MenuTableView*>(ui.bodiesTable))
        table->setContextMenu(contextMenu);
    enableDisableMenuCommands();
}

void SimulationView::contextMenuEvent(QContextMenuEvent* event)
{
    // The right press that ended a drag was spent on that.
    if (std::exchange(skipContextMenu, false) && event->reason() == QContextMenuEvent::Mouse)
        return;
    // The menu takes the pointer: a drag still under way ends first.
    if (dragInProgress())
        endInterruptedDrag();
    if (contextMenu)
        contextMenu->exec(event->globalPos());
}

void SimulationView::EditMenuAboutToShow() { enableDisableMenuCommands(); }
void SimulationView::ContextMenuAboutToShow() { enableDisableMenuCommands(); }

void SimulationView::enableDisableMenuCommands()
{
    const bool anyBody = !getSelectedRows2().empty();
    const bool anyJoint = !getSelectedRowsInJointsTable2().empty();
    auto enable = [](QAction* action, bool on) {
        if (action)
            action->setEnabled(on);
    };
    for (QAction* action : {ui.onCopyBodySettings, ui.onWithTheSameColor, ui.onWithTheSameLabel,
                            ui.onWithTheSameCollisionGroup, ui.onWithTheSameType, ui.onOfTheSelectedBodies,
                            ui.onRemoveJointsOfSelectedBodies, ui.onSetColor, ui.onSetPosition, ui.onSetRotation,
                            ui.onStatic, ui.onKinematic, ui.onDynamic, ui.onDormant, ui.onAEmatic, ui.onDead,
                            ui.onBodyProperties, ui.onBodyTransform, ui.onAEmaticAnchorToCenter})
        enable(action, anyBody);
    enable(ui.onPasteBodySettings, anyBody && hasCopiedBody());
    enable(ui.onCopyJointSettings, anyJoint);
    enable(ui.onWithTheSameJointType, anyJoint);
    enable(ui.onPasteJointSettings, anyJoint && hasCopiedJoint());
    enable(ui.onRandomizer, anyBody || anyJoint);
    for (QAction* action : {ui.onInvertSelection, ui.onPanAndZoom, ui.onScene})
        enable(action, true);
    if (setTypeMenu)
        setTypeMenu->setEnabled(anyBody);
    if (selectJointsMenu)
        selectJointsMenu->setEnabled(anyBody || anyJoint);
}
