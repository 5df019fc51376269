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

void SimulationCore::restartAndStopAnimation(bool /*fromEscapeOrLoad*/)
{
    looping = false;
    rebuild(false);
}

void SimulationCore::restartAndPlayAnimation()
{
    rebuild(true);
}

void SimulationCore::restartAnimation()
{
    if (playing)
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
