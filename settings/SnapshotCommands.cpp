#include "settings/SnapshotCommands.h"

#include <QStandardItemModel>

#include <utility>

CommandAddPresetChange::CommandAddPresetChange(SimulationView* view, std::vector<QuickPreset> presets)
    : view(view)
    , presets(std::move(presets))
{
    setText(QStringLiteral("Take Scene Snapshot"));
}

void CommandAddPresetChange::redo()
{
    view->addPresets(presets);
    view->restartAnimation();
}

void CommandAddPresetChange::undo()
{
    // The snapshot went in as the last column.
    const int count = view->presetsModel() ? view->presetsModel()->columnCount(QModelIndex()) : 0;
    if (count > 0)
        view->removePresets({count - 1});
    view->restartAnimation();
}

CommandRemovePresetsChange::CommandRemovePresetsChange(SimulationView* view, std::vector<QuickPreset> presets,
                                                       std::vector<int> columns)
    : view(view)
    , presets(std::move(presets))
    , columns(std::move(columns))
    , cells(view->presetCells(this->columns))
{
    setText(QStringLiteral("Remove Scene Snapshot"));
}

void CommandRemovePresetsChange::redo()
{
    view->removePresets(columns);
    view->restartAnimation();
}

void CommandRemovePresetsChange::undo()
{
    view->insertPresets(presets, columns, cells);
    view->restartAnimation();
}

ScenePresetCommand::ScenePresetCommand(SimulationView* view, QuickPreset before, QuickPreset after,
                                       const QString& text)
    : view(view)
    , before(std::move(before))
    , after(std::move(after))
{
    setText(text);
}

void ScenePresetCommand::redo()
{
    view->applyPreset(after);
    view->restartAnimation();
}

void ScenePresetCommand::undo()
{
    view->applyPreset(before);
    view->restartAnimation();
}

CommandApplyPresetChange::CommandApplyPresetChange(SimulationView* view, QuickPreset before, QuickPreset after)
    : ScenePresetCommand(view, std::move(before), std::move(after), QStringLiteral("Restore Scene Snapshot"))
{
}

CommandResetSceneChange::CommandResetSceneChange(SimulationView* view, QuickPreset before, QuickPreset after)
    : ScenePresetCommand(view, std::move(before), std::move(after), QStringLiteral("Reset Scene"))
{
}
