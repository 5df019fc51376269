// "Reset Scene": the scene rebuilt from the composition's layers with
// default settings, as one undoable step.
#include "simulation/SimulationView.h"

#include "host/HostFailure.h"
#include "settings/SnapshotCommands.h"

#include <QUndoStack>

void SimulationView::resetScene()
{
    // The scene the step gives back is the committed one, not a drag's.
    cancelDrag();
    // The layers are read before anything changes: a host failure, or a
    // composition whose eligible layers no longer match the bodies (row i
    // must stay body i), leaves the scene and its history as they were.
    std::vector<MyBody> fresh;
    A_Err err = A_Err_NONE;
    const A_Err thrown = GuardHostCall([&] { fresh = buildDefaultBodies(&err); });
    bool complete = fresh.size() == bodies.size();
    for (const MyBody& record : fresh)
        complete = complete && record.userData != nullptr;
    if (thrown || err || !complete) {
        // A failure that was thrown has been told already.
        if (!thrown)
            showMessage(QStringLiteral("The scene could not be reset: the layers of the composition could not be "
                                       "read. The scene was left as it was."));
        return;
    }

    QuickPreset reset;
    reset.init();
    reset.backgroundColor = bgColor;
    reset.bodies = std::move(fresh);
    undoStack->push(new CommandResetSceneChange(this, currentScene(false), std::move(reset)));
}

void SimulationView::OnResetScene()
{
    resetScene();
}
