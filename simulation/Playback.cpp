// Start, pause, single step and restart. Only the run flags change, and the
// restarts rebuild the world from the records; the timer keeps ticking.
#include "simulation/SimulationCore.h"

#include "model/JointUserData.h"
#include "model/UserData.h"

namespace {

void setPivotsPlaying(std::vector<MyJoint>& joints, bool playing)
{
    for (MyJoint& joint : joints)
        if (joint.type == JointType::Revolute && joint.jointUserData)
            joint.jointUserData->playing = playing;
}

} // namespace

void SimulationCore::playAnimation()
{
    running = true;
    playing = true;
    setPivotsPlaying(joints, true);
    refreshView();
}

void SimulationCore::pauseAnimation()
{
    running = false;
    playing = false;
    setPivotsPlaying(joints, currentFrame > 0);
}

void SimulationCore::stepAnimation()
{
    running = true;
    playing = true;
    singleStep = true;
    setPivotsPlaying(joints, true);
}

// Every restart that leaves the world stopped comes here: the restart
// button, Escape, a settings load, a restart of a command (below), a click
// that stops the play. An export still recording is ended by it as its
// cancel would end it, never left standing at frame 0 with Render pressed:
// nothing is written, and a later Render records afresh.
void SimulationCore::restartAndStopAnimation(bool /*fromEscapeOrLoad*/)
{
    looping = false;
    endExportForRestart();
    rebuild(false);
}

void SimulationCore::restartAndPlayAnimation()
{
    rebuild(true);
}

void SimulationCore::startExport(int start, int end)
{
    exportStartFrame = start;
    exportEndFrame = end;
    bodyTransforms.clear();
    exporting = true;
    restartAndPlayAnimation();
}

void SimulationCore::endExportForRestart()
{
    if (!exporting)
        return;
    exporting = false;
    exportEndedByRestart();
}

// After a change to the scene (a property, an undo, a snapshot, the
// preferences): played on when playing, except during an export, which the
// change ends.
void SimulationCore::restartAnimation()
{
    if (playing && !exporting)
        restartAndPlayAnimation();
    else
        restartAndStopAnimation(false);
}

void SimulationCore::rebuild(bool play)
{
    initWorld(true);
    for (MyBody& record : bodies)
        if (record.userData)
            record.userData->notAlive = record.type == BodyType::Dead || record.startFrame >= 1;
    currentFrame = 0;
    sceneInitialised = true;
    running = play;
    playing = play;
    initScene();
    setFpsInfo(0.0);
    setFrameInfo(0);
    restarted(play);
}
