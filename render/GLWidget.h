// The OpenGL view of the scene in the main window's preview area. It owns
// the view transform (zoom from the zoom slider, pan, 15 world units from the
// centre to the top at zoom 100, y pointing down like composition pixels)
// and paints one frame on request: the world through the world drawing
// routines, then the composition frame, the joints the world does not draw
// (prismatic, spring, AEmatic pull lines), the rubber band and the gravity
// and velocity tool gizmos. It converts between widget pixels and world
// coordinates for the view's mouse handling.
//
// The scene it draws (bodies, joints, run flags, joint colours and width) is
// the scene view's; the controls it reads (zoom slider, tool buttons,
// gravity boxes, tools note, bodies table) come from its copy of the form.
//
// Files: GLWidget.cpp (set-up, transform, paint), GLWidgetJoints.cpp,
// GLWidgetGizmos.cpp (composition frame, rubber band, tools).
#pragma once

#include "mainwindow/ZolvarDlgForm.h"
#include "render/DrawBatches.h"
#include "render/ViewTransform.h"

#include <QColor>
#include <QOpenGLWidget>
#include <box2d/b2_draw.h>
#include <box2d/b2_math.h>

#include <vector>

class GravityView;
class QMouseEvent;
class SimulationCore;
class SimulationView;
class ZolvarWorld;

class GLWidget : public QOpenGLWidget
{
    Q_OBJECT
public:
    // A child of the view, drawing the view's scene.
    GLWidget(SimulationView* view, GravityView* gravityView, Ui::ZolvarDlgClass ui);
    // A child of `parent`, drawing `scene` (which may be null: then only the
    // world handed over with setWorld and the overlays are drawn).
    GLWidget(QWidget* parent, SimulationCore* scene, GravityView* gravityView, Ui::ZolvarDlgClass ui);
    ~GLWidget() override;

    void setWorld(ZolvarWorld* newWorld) { world = newWorld; }
    ZolvarWorld* getWorld() const { return world; }
    // The clear colour; its alpha is not used.
    void setBGColor(const QColor& color) { bgColor = color; }
    QColor getBGColor() const { return bgColor; }
    void setCompFrameColor(const b2Color& color) { compFrameColor = color; }
    b2Color getCompFrameColor() const { return compFrameColor; }
    // From the composition's corners in world units, top left, top right,
    // bottom right, bottom left.
    void setCompBounds(const b2Vec2* corners);
    void setDrawJointsFlag(bool draw) { drawJointsFlag = draw; }
    bool getDrawJointsFlag() const { return drawJointsFlag; }
    void setShowCompBounds(bool show) { showCompBounds = show; }
    bool getShowCompBounds() const { return showCompBounds; }

    // Widget pixel to world coordinate, for a widget `width` (`height`)
    // pixels wide (high), at the current zoom and pan; and back.
    float getGLXCoordFromView(float x, float width) const;
    float getGLYCoordFromView(float y, float height) const;
    float getViewXCoordFromGL(float x, float width) const;
    float getViewYCoordFromGL(float y, float height) const;
    // The current transform: aspect, zoom slider value (100 without a
    // slider) and pan.
    ViewTransform viewTransform() const;

    // centre + (d.x cos a + d.y sin a, d.y cos a - d.x sin a), d = point -
    // centre.
    static b2Vec2 rotatePoint(b2Vec2 point, b2Vec2 centre, float angle);

    // The view's mouse handling moves and reads these.
    float panX = 0.0f;
    float panY = 0.0f;
    std::vector<int> highlightedBodies;
    bool selRectShown = false;
    float gravityHandleScale = 10.0f;
    float velocityHandleScale = 10.0f;
    b2Vec2 gravityHandle{0.0f, 0.0f};   // widget pixels
    b2Vec2 velocityHandle{0.0f, 0.0f};  // widget pixels
    b2Vec2 selRectStart{0.0f, 0.0f};    // world units
    b2Vec2 selRectEnd{0.0f, 0.0f};

    // Mouse handling of the scene view (editing/GLWidgetMouse.cpp). The
    // view receives the events and hands moves and releases on.
    void mouseMove(QMouseEvent* event);
    void mousePan(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    // The tool: 0 selection, 1 hand, 2 anchor, 3 gravity, 4 velocity.
    int tool = 0;
    bool dragArmed = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    bool verticalLock = false;
    bool horizontalLock = false;
    bool relativeJointAnchor = false;
    bool relativeAematicAnchor = false;
    bool selRectTracking = false;
    // The bodies a drag with the selection tool moves.
    std::vector<int> dragList;
    // What the drag in progress began with, whatever the selection becomes:
    // the selected bodies (in the bodies table's order) and joints. It
    // moves, commits or puts back only these.
    std::vector<int> dragBodies;
    std::vector<int> dragJoints;

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    // GLWidgetGizmos.cpp
    void drawCompBounds();
    void drawSelRect();
    void drawGravity();
    void drawVelocity();
    // GLWidgetJoints.cpp: prismatic and spring joints are gathered into
    // jointBatches and drawn together at the end of drawJoints().
    void drawJoints();
    void drawSpring(b2Vec2 p1, b2Vec2 p2, bool selected, int i);
    void drawPrismatic(b2Vec2 anchor, b2Vec2 axis, bool selected, int i);

    float zoomPercent() const;

    SimulationCore* scene;
    SimulationView* view = nullptr;  // the scene view, when it is the parent
    GravityView* gravityView;
    Ui::ZolvarDlgClass ui;
    ZolvarWorld* world = nullptr;
    float aspect = 1.0f;
    QColor bgColor;
    float compLeft = 0.0f;
    float compRight = 0.0f;
    float compTop = 0.0f;
    float compBottom = 0.0f;
    b2Color compFrameColor{1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f};
    bool showCompBounds = true;
    bool drawJointsFlag = true;
    DrawBatches jointBatches;
    // The widget's size at the last paint.
    float curw = 0.0f;
    float curh = 0.0f;
};
