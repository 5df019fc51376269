// The scene and its simulation, apart from any widget: the body and joint
// records, the physics world built from them, the frame step, playback,
// recording for export, the coordinate conversions and the drawing
// preferences. SimulationView is this plus the widgets; tests and benchmarks
// drive it directly, a tick being one call of updatePhysics().
//
// Everything the view shows or reads from its controls goes through the
// protected hooks below, which do nothing here; the view overrides them.
//
// Files: SimulationCore.cpp (composition, preferences, coordinates),
// SceneSetup.cpp (world and scene), BodyRecords.cpp (records from layers),
// FrameStep.cpp (the tick), LayerFollowing.cpp (kinematic and AEmatic
// bodies), SceneForces.cpp (magnetism, springs), Playback.cpp (restarts),
// Recording.cpp (tracks for export), LayerQueriesAtFrame.cpp.
#pragma once

#include "model/BodyTransforms.h"
#include "model/MyBody.h"
#include "model/MyJoint.h"
#include "render/SceneDraw.h"
#include "simulation/Box2DGuard.h"
#include "simulation/FollowedLayers.h"
#include "simulation/FrameLimiter.h"
#include "simulation/ZolvarWorld.h"

#include "host_api.h"

#include <QColor>
#include <QString>
#include <box2d/box2d.h>

#include <functional>
#include <memory>
#include <vector>

class AEGP_SuiteHandler;
class QWidget;
struct UserData;

// The values the simulation reads from the main window's controls. The view
// copies them from the form before each tick and each scene build.
struct SceneControls {
    double timeDivider = 1.0;           // timeDividerEt
    double substeps = 2.0;              // substepsEt
    double collisionTolerance = 50.0;   // collisionToleranceEt (1/10000 world units)
    bool gravityFromLayer = false;      // gravityLayerCb
    int gravityLayer = 0;               // gravityLayerLst's current index
    double gravityMagnitude = 10.0;     // gravityMagnitudeEt
    double gravityDirection = 90.0;     // gravityDirectionEt, degrees
    bool captureGravity = false;        // captureGravityBtn
    bool applyToNewComp = false;        // applyToNewCompCb
    bool showMesh = false;              // the "Mesh" view option
};

// The colour as b2Color components n / 255 (alpha 1).
b2Color toB2Color(const QColor& color);

// The preference defaults.
extern const QColor SELECTION_HIGHLIGHT_COLOR_DFLT;
extern const QColor STATIC_HIGHLIGHT_COLOR_DFLT;
extern const b2Color DISTANCE_JOINT_COLOR_DFLT;
extern const b2Color REVOLUTE_JOINT_COLOR_DFLT;
extern const b2Color PRISMATIC_JOINT_COLOR_DFLT;
extern const b2Color SPRING_JOINT_COLOR_DFLT;
extern const QColor SELECTED_JOINT_COLOR_DFLT;
inline constexpr float SELECTION_STROKE_WIDTH_DFLT = 2.0f;
inline constexpr float JOINT_STROKE_WIDTH_DFLT = 1.0f;

namespace KinematicBehavior {
enum Value : int { DynamicAfterLastKey = 0, DynamicAtInpoint = 1 };
}
namespace DormantBehavior {
enum Value : int { ZeroGravityScale = 0, StaticBeforeCollision = 1 };
}

// The frame number past which the simulation stops.
constexpr int kLastSimulatedFrame = 99999;
// A work area longer than this many frames counts as this long.
constexpr int64_t kMaxWorkAreaFrames = 1 << 30;

struct ExportBody;
struct ExportSettings;

class SimulationCore
{
public:
    SimulationCore(SPBasicSuite* basicSuite, int pluginId);
    virtual ~SimulationCore();
    SimulationCore(const SimulationCore&) = delete;
    SimulationCore& operator=(const SimulationCore&) = delete;

    // Before an export records anything: when no body could be written,
    // tells the user as the finished recording would, and returns true.
    bool refuseExportWithoutBodies();
    // What the keyframe export writes: the exportable bodies (a layer whose
    // values the world could not hold is left as it is, as a dead body's
    // layer is) and the recorded range (motion blur off).
    std::vector<ExportBody> exportBodies() const;
    ExportSettings exportSettings() const;

    // --- Composition (SimulationCore.cpp) -------------------------------
    // Reads the active composition: comp, frameDuration, fps, compWidth and
    // compHeight (square pixels), workAreaFrames, compositionFrames, bgColor;
    // fills compBounds.
    // A failing host call stops the reads; what is unread keeps its value.
    A_Err readComposition();
    // True when frameDuration and fps can be divided by.
    bool timingUsable() const;
    // The time divider in force: the control's value when finite and
    // positive, 1 otherwise.
    double timeDivider() const;
    // One composition frame in seconds (0 when the timing is not usable).
    double frameSeconds() const;

    // --- Records from the layers (BodyRecords.cpp) ----------------------
    // The eligible layers of the active composition, in order: sets
    // bodyCount and appends each one's label to layerLabels.
    struct ListedLayer {
        int layerIndex = 0;
        QString name;
        int label = 0;
        // The bodies table's colour: a solid's colour, else white.
        QColor tableColor{255, 255, 255};
    };
    std::vector<ListedLayer> listBodyLayers();
    // One record per eligible layer (bodyCount of them), inside the host
    // undo group "Zolvar Initialization". Every layer, eligible or not, is
    // announced through layerListed(); each body through bodyBuilt().
    void initMyBodies();
    // Fresh default records from the layers, as initMyBodies builds them but
    // without undo group, icons or messages, and with staticHighlight off.
    // `error`, when given, receives the host error that stopped the walk.
    std::vector<MyBody> buildDefaultBodies(A_Err* error = nullptr);
    // Rebuilds body `bodyIndex`'s outlines from its layer with its own mesh
    // precision and hull choice, keeping its position, angle and colour.
    void recomputeShape(int bodyIndex);

    // --- World and scene (SceneSetup.cpp) -------------------------------
    // A new world with the drawing preferences (the old one destroyed first
    // when deleteOld, else when the new one takes its place).
    void initWorld(bool deleteOld);
    // One world body per record and one world joint per joint record.
    void initScene();

    // --- The frame step (FrameStep.cpp) ---------------------------------
    void updatePhysics();
    // The spring between two bodies' local anchors; its force acts in the
    // next world step.
    void addSpringForce(b2Body* bodyA, b2Vec2 localAnchorA, b2Body* bodyB, b2Vec2 localAnchorB,
                        float springiness, float damping, float desiredLength);
    static bool areBodiesOverlapping(b2Body* a, b2Body* b);
    // Magnetism (SceneForces.cpp). Each tick first finds, with broad-phase
    // queries over the magnets' ranges, the magnets each body may feel;
    // magnetForce() then sums, magnet by magnet in record order, the pull
    // of those whose range holds the body's centre (and wakes a dormant
    // body in range).
    void findMagnetNeighbours();
    b2Vec2 magnetForce(int record, double frameSeconds, double divider);
    static float radDiff(float a, float b);
    // The layer's rotation speed at the current frame, radians per second.
    float getAngularVelocityAtCurrentFrame(int layerIndex);
    // The last frame given by keys of the layer's transform and its parents'
    // (100000 with an enabled expression, -1 without keys).
    int getLastKeyframeInFrames(int layerIndex);

    // --- Playback (Playback.cpp) ------------------------------------------
    void playAnimation();
    void pauseAnimation();
    void stepAnimation();
    // Back to frame 0, stopped; an export still recording ends, as its
    // cancel ends it.
    void restartAndStopAnimation(bool fromEscapeOrLoad);
    void restartAndPlayAnimation();
    // Records frames `start` to `end` from frame 0 on: the export's start.
    void startExport(int start, int end);
    // An export still recording ends, as its cancel ends it (what starts
    // playing from frame 0 again besides the export: the loop, a capture).
    void endExportForRestart();
    // Played on when playing and not exporting; otherwise stopped.
    void restartAnimation();

    // --- Layer queries at the current frame (LayerQueriesAtFrame.cpp) ---
    // Depth-first search below child `childIndex` of `parent` for the first
    // stream whose match name is `matchName` (see FindStreamByMatchName).
    bool getStreamFromMatchName(AEGP_LayerH layer, const char* matchName, AEGP_StreamRefH& result,
                                AEGP_StreamRefH parent, A_long childIndex, bool& found);
    // The layer's velocity in world units per second.
    b2Vec2 getLinearVelocityAtCurrentFrame(A_long layerIndex);
    // The layer's position value (composition pixels, in its parent's space).
    b2Vec2 getLayerPosAtCurrentFrame(A_long layerIndex);

    // --- Coordinates and lookups (SimulationCore.cpp) -------------------
    float getGLXCoordFromAE(float x) const;
    float getGLYCoordFromAE(float y) const;
    float getAEXCoordFromGL(float x) const;
    float getAEYCoordFromGL(float y) const;
    b2Vec2 getAEPosFromGLPos(b2Vec2 p) const;
    static float getAERotFromBox2DRot(float radians);
    void updateCurrentCompBoundsInGL();
    static bool areValuesDifferent(float a, float b);
    static bool areValuesDifferent(b2Vec2 a, b2Vec2 b);
    // The index of the record whose world body is b, or -1.
    int getBodyIdFromB2Body(const b2Body* b) const;

    // --- Drawing and behaviour preferences (SimulationCore.cpp) ----------
    // Each stores its value; the colours and widths also go to the live
    // world, the joint colours to every joint's drawing data.
    void setSelectionStrokeWidth(float width);
    void setJointStrokeWidth(float width);
    void setKineBehavior(int behavior);
    void setDormantBehavior(int behavior);
    void setIgnoreBodyColorWhenPasting(int ignore);
    void setSelectionHighlightColor(QColor color);
    void setStaticHighlightColor(QColor color);
    void setSelectedJointColor(QColor color);
    void setDistanceJointColor(QColor color);
    void setRevoluteJointColor(QColor color);
    void setPrismaticJointColor(QColor color);
    void setSpringJointColor(QColor color);

    // --- State ------------------------------------------------------------
    SPBasicSuite* basicSuite;
    int pluginId;
    QWidget* parentWindow = nullptr;  // parent of the messages of body building
    SceneControls controls;
    FrameLimiter limiter;

    // Destroyed and built again from the records on every restart.
    std::unique_ptr<ZolvarWorld> world;
    // Puts back bodies that a step left without a finite place.
    Box2DGuard::FiniteKeeper finiteKeeper;
    b2Body* groundBody = nullptr;
    bool sceneInitialised = false;
    bool running = false;
    bool playing = false;
    bool singleStep = false;
    std::vector<MyBody> bodies;
    int bodyCount = 0;
    std::vector<MyJoint> joints;
    bool hasKinematicBody = false;
    bool hasDormantBody = false;
    bool hasAEmaticBody = false;
    bool hasMagnet = false;
    // What the Kinematic and AEmatic bodies' layers are followed with, read
    // at scene set-up and again after anything that writes into the layers.
    FollowedLayers following{basicSuite, pluginId};
    // Off: nothing is read at set-up and every tick asks the host for
    // everything about each followed layer (the straightforward way, for
    // comparisons).
    bool keepFollowing = true;
    int gravityLayerIndex = 0;
    unsigned int drawingFlags = DrawingFlag::Shapes | DrawingFlag::Joints;  // DrawingFlag bits
    std::vector<int> bodyLayerIndices;
    AEGP_CompH exportComp = nullptr;
    std::vector<char> layerLabels;
    std::vector<AEGP_ColorVal> labelColors;
    std::vector<QColor> defaultBodyColors;

    A_Time frameDuration{0, 1};
    double fps = 0.0;
    AEGP_CompH comp = nullptr;
    int compWidth = 0;
    int compHeight = 0;
    int workAreaFrames = 0;
    // The frames of the composition (0 when its duration is unknown).
    int compositionFrames = 0;
    b2Vec2 compBounds[4];
    QColor bgColor;
    int currentFrame = 0;

    int exportStartFrame = 0;
    int exportEndFrame = 0;
    bool exporting = false;
    bool looping = false;
    int loopEndFrame = 0;
    std::vector<BodyTransforms> bodyTransforms;
    int keyframedLayerCount = 0;
    std::vector<b2Vec2> capturedGravity;
    int capturedGravityStartFrame = 0;
    b2Vec2 capturedGravityFirst{0.0f, 0.0f};

    QColor selectionHighlightColor;
    float selectionStrokeWidth = SELECTION_STROKE_WIDTH_DFLT;
    QColor staticHighlightColor;
    b2Color distanceJointColor;
    b2Color revoluteJointColor;
    b2Color prismaticJointColor;
    b2Color springJointColor;
    QColor selectedJointColor;
    float jointStrokeWidth = JOINT_STROKE_WIDTH_DFLT;
    int kinematicBehavior = KinematicBehavior::DynamicAfterLastKey;
    int dormantBehavior = DormantBehavior::ZeroGravityScale;
    bool ignoreBodyColorWhenPasting = true;
    bool showMeshPrecisionWarning = true;
    bool showWarnings = true;

protected:
    // --- Hooks for the view; all do nothing here --------------------------
    // Copies the controls' values into `controls`.
    virtual void readControls() {}
    // initWorld made a new world (the old one, if any, is gone).
    virtual void worldReplaced() {}
    // Hands the drawing-flag word to the draw callbacks and them to the world.
    virtual void prepareDrawing() {}
    virtual void setFrameInfo(int) {}
    virtual void setFpsInfo(double) {}
    virtual void showWorldInfo() {}
    virtual void refreshView() {}
    virtual void setDrawJointsFlag(bool) {}
    // After a restart: the play and repeat buttons follow the run flags.
    virtual void restarted(bool) {}
    // Recording progress at the current frame: the bar's value at every
    // recorded frame, the progress text as often as the view is redrawn.
    virtual void showRecordedFrame(int) {}
    virtual void showSolvingProgress(int) {}
    // The recorded range is complete: write it into `target`.
    virtual void beginKeyframing(AEGP_CompH) {}
    // An export that cannot go on: tell the user.
    virtual void reportExportFailure(const QString&) {}
    // A restart ended the export while it recorded (endExportForRestart):
    // the export's controls are released as its cancel releases them.
    virtual void exportEndedByRestart() {}
    // Layer `layerIndex` of the composition, eligible or not, and its name.
    virtual void layerListed(int, const QString&) {}
    // Body b was built with this default colour.
    virtual void bodyBuilt(int, const QColor&) {}
    // Bodies whose outline crosses itself; the message text.
    virtual void reportTriangulationFailures(const QString&) {}
    // Bodies the scene build could not use as the user made them; the
    // message text.
    virtual void reportSetupProblems(const QString&) {}

    // Ends an export run: running, playing and exporting off.
    void stopExportRun();
    // The bodies an export writes: each needs its layer.
    size_t exportableBodyCount() const;

private:
    // FrameStep.cpp
    void applyGravity();
    void updateLifeSpans(double frameSeconds, double divider);
    void applyMagnetism(int record, double frameSeconds, double divider);
    void stepWorld(double dt);
    void wakeDormantBodies();
    void applySpringForces();
    void refreshJointStiffness();
    bool isAliveAt(const MyBody& body, double frameSeconds, double divider) const;
    // LayerFollowing.cpp
    void followLayers(double t, double dt);
    // Fills `following` for the scene just set up.
    void readFollowing();
    // The times a layer's velocities at the current frame are measured
    // between: the frame's start and one divided frame later.
    struct VelocityTimes {
        bool linear = false;   // the linear velocity can be measured
        bool angular = false;  // the angular one can
        A_Time from{0, 1};
        A_Time to{0, 1};
        double dt = 0.0;
    };
    VelocityTimes velocityTimes() const;
    // A kept layer's velocities between those times, as
    // getLinearVelocityAtCurrentFrame and getAngularVelocityAtCurrentFrame
    // give them.
    b2Vec2 keptLinearVelocity(const AEGP_SuiteHandler& suites, FollowedLayer& layer, const VelocityTimes& times);
    float keptAngularVelocity(const AEGP_SuiteHandler& suites, FollowedLayer& layer, const VelocityTimes& times);
    // Whether the rotation or scale (turns) and the scale (scales) of the
    // layer or its ancestors are keyed or driven; true when unsure.
    void readFollowedChange(int layerIndex, bool& turns, bool& scales);
    void followScale(const AEGP_SuiteHandler& suites, int record, A_Time tNow, A_Time tNext);
    // Recording.cpp; the progress is shown when asked and at the end frame.
    void recordFrame(bool showProgress);
    // Playback.cpp
    void rebuild(bool play);
    // BodyRecords.cpp: fills `records` with bodyCount built records; the
    // initial build also opens the undo group, announces layers and bodies
    // and fills bodyLayerIndices and defaultBodyColors.
    A_Err buildRecords(std::vector<MyBody>& records, bool initial);
    // SceneSetup.cpp
    void createFixtures(MyBody& record);
    // The triangles of one outline as convex pieces (each piece's
    // triangles kept for the mesh view); returns how many triangles went in.
    int addConvexPieces(MyBody& record, const std::vector<Triangle>& triangles, float skin,
                        const std::function<bool(const b2Shape&)>& add);
    void createJoint(MyJoint& joint);

    std::vector<std::unique_ptr<UserData>> ownedUserData;
    // (body record, magnet record) pairs, sorted: findMagnetNeighbours().
    std::vector<std::pair<int, int>> magnetPairs;
};
