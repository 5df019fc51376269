// The undo commands of the scene snapshots: taking, removing and restoring a
// snapshot, and resetting the scene (restoring the scene built afresh from
// the layers). Each keeps its own copies of the snapshots and rebuilds the
// scene after its change.
#pragma once

#include "model/QuickPreset.h"
#include "simulation/SimulationView.h"

#include <QUndoCommand>

#include <vector>

class CommandAddPresetChange : public QUndoCommand
{
public:
    CommandAddPresetChange(SimulationView* view, std::vector<QuickPreset> presets);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    std::vector<QuickPreset> presets;
};

class CommandRemovePresetsChange : public QUndoCommand
{
public:
    // `columns` ascending, one per snapshot; the columns' cells are kept so
    // that undo puts each snapshot back where it was, as it was shown.
    CommandRemovePresetsChange(SimulationView* view, std::vector<QuickPreset> presets, std::vector<int> columns);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    std::vector<QuickPreset> presets;
    std::vector<int> columns;
    std::vector<SimulationView::PresetCell> cells;
};

// Restores `after` on redo and `before` on undo, under `text`.
class ScenePresetCommand : public QUndoCommand
{
public:
    ScenePresetCommand(SimulationView* view, QuickPreset before, QuickPreset after, const QString& text);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    QuickPreset before;
    QuickPreset after;
};

class CommandApplyPresetChange : public ScenePresetCommand
{
public:
    CommandApplyPresetChange(SimulationView* view, QuickPreset before, QuickPreset after);
};

class CommandResetSceneChange : public ScenePresetCommand
{
public:
    CommandResetSceneChange(SimulationView* view, QuickPreset before, QuickPreset after);
};
