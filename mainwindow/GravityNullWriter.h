// Writes captured gravity into the host composition: a new null layer
// "Gravity Controller" at the bottom of the layer stack whose position holds
// one key per captured frame, all in one host undo step.
#pragma once

#include "host_api.h"

#include <box2d/b2_math.h>

#include <QString>

#include <vector>

struct GravityNullResult
{
    A_Err err = A_Err_NONE;
    QString failedStep;     // what was being done when the first error came
    A_long layerCount = 0;  // the composition's layers before the null
    bool ok() const { return err == A_Err_NONE; }
};

// Keys sit on consecutive frames from firstFrame on, each at
// frameDuration × frame. Whatever fails, every value and the stream are
// disposed, a key batch once started is ended (adding its keys only when
// nothing failed) and the undo group once opened is closed. Once the keys
// are in, the release of the stream and the end of the group cannot fail it.
GravityNullResult writeGravityNull(const SPBasicSuite* basic, AEGP_PluginID pluginId,
                                   const std::vector<b2Vec2>& captured, int firstFrame, A_Time frameDuration);
