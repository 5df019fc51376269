#include "render/GLWidget.h"

#include "properties/SliderGo.h"
#include "render/GLPen.h"
#include "render/WorldDraw.h"
#include "simulation/SimulationView.h"

#include <QSurfaceFormat>
#include <QToolButton>

#include <GL/gl.h>

#include <cmath>

namespace {

// Compatibility profile for immediate mode, line stipple and point sizes,
// and multisampling.
QSurfaceFormat viewFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSamples(4);
    return format;
}

} // namespace

GLWidget::GLWidget(SimulationView* view, GravityView* gravityView, Ui::ZolvarDlgClass ui)
    : GLWidget(view, view, gravityView, ui)
{
    this->view = view;
}

GLWidget::GLWidget(QWidget* parent, SimulationCore* scene, GravityView* gravityView, Ui::ZolvarDlgClass ui)
    : QOpenGLWidget(parent)
    , scene(scene)
    , gravityView(gravityView)
    , ui(ui)
{
    setFormat(viewFormat());
    curw = float(width());
    curh = float(height());
    aspect = viewAspect(width(), height());
    setMouseTracking(true);
}

GLWidget::~GLWidget() = default;

void GLWidget::setCompBounds(const b2Vec2* corners)
{
    compLeft = corners[0].x;
    compTop = corners[0].y;
    compRight = corners[2].x;
    compBottom = corners[2].y;
}

float GLWidget::zoomPercent() const
{
    return ui.zoomSld ? float(ui.zoomSld->value()) : 100.0f;
}

ViewTransform GLWidget::viewTransform() const
{
    ViewTransform t;
    t.aspect = aspect;
    t.zoom = zoomPercent();
    t.panX = panX;
    t.panY = panY;
    return t;
}

float GLWidget::getGLXCoordFromView(float x, float width) const
{
    return viewTransform().worldX(x, width);
}

float GLWidget::getGLYCoordFromView(float y, float height) const
{
    return viewTransform().worldY(y, height);
}

float GLWidget::getViewXCoordFromGL(float x, float width) const
{
    return viewTransform().widgetX(x, width);
}

float GLWidget::getViewYCoordFromGL(float y, float height) const
{
    return viewTransform().widgetY(y, height);
}

b2Vec2 GLWidget::rotatePoint(b2Vec2 point, b2Vec2 centre, float angle)
{
    const double dxp = double(point.x) - double(centre.x);
    const double dyp = double(point.y) - double(centre.y);
    const double c = std::cos(double(angle));
    const double s = std::sin(double(angle));
    return b2Vec2(float(centre.x + (dxp * c + dyp * s)), float(centre.y + (dyp * c - dxp * s)));
}

void GLWidget::initializeGL() {}

void GLWidget::resizeGL(int w, int h)
{
    aspect = viewAspect(width(), height());
    // The velocity handle keeps its place relative to the widget's bottom
    // right; the scene stays anchored at the centre.
    velocityHandle += b2Vec2(float(w) - curw, float(h) - curh);
}

void GLWidget::paintGL()
{
    curw = float(width());
    curh = float(height());
    const float ratio = float(devicePixelRatioF());
    GLPen::setPixelRatio(ratio);

    // The framebuffer's alpha stays 1 from the clear on: the widget is
    // composed opaque whatever the translucent drawing does.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(float(bgColor.red()) / 255.0f, float(bgColor.green()) / 255.0f, float(bgColor.blue()) / 255.0f,
                 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

    glViewport(0, 0, GLsizei(std::lround(width() * ratio)), GLsizei(std::lround(height() * ratio)));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float a = aspect > 0.0f ? aspect : 1.0f;
    glOrtho(-kViewHalfHeight * a, kViewHalfHeight * a, kViewHalfHeight, -kViewHalfHeight, -1.0, 1.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float zoom = zoomPercent() / 100.0f;
    glScalef(zoom, zoom, 1.0f);
    glTranslatef(panX, panY, 0.0f);

    if (world)
        DrawDebugData(*world, scene && (scene->playing || scene->singleStep));
    if (showCompBounds)
        drawCompBounds();
    if (drawJointsFlag)
        drawJoints();
    if (selRectShown)
        drawSelRect();
    if (ui.gravityToolBtn && ui.gravityToolBtn->isChecked())
        drawGravity();
    if (ui.velocityToolBtn && ui.velocityToolBtn->isChecked())
        drawVelocity();

    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}
