// The scene view in the main window's preview area. For now it keeps what the
// layer queries of the current frame need; the scene, the world, the OpenGL
// view and the frame timer are built on top of it.
#pragma once

#include "host_api.h"

#include <box2d/b2_math.h>

#include <QWidget>

class SimulationView : public QWidget
{
    Q_OBJECT
public:
    // Reads the active composition's frame duration and frame rate.
    SimulationView(QWidget* parent, SPBasicSuite* basicSuite, int pluginId);
    ~SimulationView() override;

    // Fits the composition into the view. For now it only repaints: the zoom
    // slider and the OpenGL view it adjusts do not exist yet.
    void zoomFit();

    // Loads a settings file into the scene. For now it reads nothing: the
    // settings reader and the scene it fills do not exist yet.
    void loadSettings(const char* path, bool rememberAsRecent, int bodyIdentification);

    // Layer queries at the current frame (SimulationViewLayerQueries.cpp).

    // Depth-first search below child `childIndex` of `parent` for the first
    // stream whose match name is `matchName`. The found stream goes to
    // `result` and is the caller's to dispose; every other stream met on the
    // way is disposed. Returns `found`, which also stops the search when it is
    // already true on entry.
    bool getStreamFromMatchName(AEGP_LayerH layer, const char* matchName, AEGP_StreamRefH& result,
                                AEGP_StreamRefH parent, A_long childIndex, bool& found);
    // The layer's velocity in world units per second.
    b2Vec2 getLinearVelocityAtCurrentFrame(A_long layerIndex);
    // The layer's position value (composition pixels, in its parent's space).
    b2Vec2 getLayerPosAtCurrentFrame(A_long layerIndex);

private:
    // The value of the time-divider box; 1 until the main window's form
    // provides the box.
    double timeDivider() const;

    QWidget* parentWindow;
    SPBasicSuite* basicSuite;
    int pluginId;
    A_Time frameDuration{0, 1};
    double fps = 0.0;
    A_long currentFrame = 0;
};
