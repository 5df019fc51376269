// The composition frame, the rubber band and the gravity and velocity tool
// gizmos.
#include "render/GLWidget.h"

#include "properties/BodiesTableView.h"
#include "properties/EditBox.h"
#include "render/GLPen.h"
#include "render/OverlayGeometry.h"
#include "simulation/SimulationCore.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>

#include <GL/gl.h>

#include <cmath>

namespace {

using GLPen::vertex;

constexpr double kPiDouble = 3.141592653589793;
const b2Color kHandleColor(0.3f, 0.9f, 0.3f);

void handleColor()
{
    glColor3f(kHandleColor.r, kHandleColor.g, kHandleColor.b);
}

// A gizmo's handle: a line from its origin, a white point at the origin and
// a green one at the handle.
void drawHandle(const b2Vec2& origin, const b2Vec2& handle)
{
    GLPen::lineWidth(2.0f);
    handleColor();
    glBegin(GL_LINES);
    vertex(origin);
    vertex(handle);
    glEnd();
    glEnable(GL_POINT_SMOOTH);
    GLPen::pointSize(5.0f);
    glBegin(GL_POINTS);
    glColor3f(1.0f, 1.0f, 1.0f);
    vertex(origin);
    handleColor();
    vertex(handle);
    glEnd();
    glDisable(GL_POINT_SMOOTH);
}

// The bodies table's selected rows, range by range from top to bottom.
std::vector<int> selectedRows(const Ui::ZolvarDlgClass& ui)
{
    std::vector<int> rows;
    if (!ui.bodiesTable || !ui.bodiesTable->selectionModel())
        return rows;
    for (const QItemSelectionRange& range : ui.bodiesTable->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    return rows;
}

} // namespace

void GLWidget::drawCompBounds()
{
    glColor4f(compFrameColor.r, compFrameColor.g, compFrameColor.b, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glRectf(compLeft, compTop, compRight, compBottom);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void GLWidget::drawSelRect()
{
    GLPen::blendOn();
    glColor4f(1.0f, 1.0f, 1.0f, 0.115f);
    glRectf(selRectStart.x, selRectStart.y, selRectEnd.x, selRectEnd.y);
    GLPen::blendOff();
    glColor4f(0.47f, 0.47f, 0.47f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glRectf(selRectStart.x, selRectStart.y, selRectEnd.x, selRectEnd.y);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void GLWidget::drawGravity()
{
    // Gravity taken from a layer has no gizmo.
    if (ui.gravityLayerCb && ui.gravityLayerCb->isChecked())
        return;
    const float w = float(width());
    const float h = float(height());
    const float midX = float(width() / 2);
    const float midY = float(height() / 2);
    auto world = [&](float x, float y) { return b2Vec2(getGLXCoordFromView(x, w), getGLYCoordFromView(y, h)); };

    GLPen::lineWidth(1.1f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    vertex(world(0.0f, midY));
    vertex(world(w, midY));
    vertex(world(midX, 0.0f));
    vertex(world(midX, h));
    glEnd();

    const b2Vec2 c = world(midX, midY);
    const b2Vec2 g = world(gravityHandle.x, gravityHandle.y);
    // A gravity that is not finite has no handle to draw.
    if (!g.IsValid())
        return;
    const double r = (g - c).Length();

    glColor3f(0.5f, 0.5f, 0.5f);
    GLPen::stipple(GLPen::kDashPattern);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 100; ++i) {
        const double theta = 2.0 * kPiDouble * i / 100.0;
        glVertex2d(c.x + r * std::cos(theta), c.y + r * std::sin(theta));
    }
    glEnd();
    GLPen::stippleOff();

    glEnable(GL_LINE_SMOOTH);
    drawHandle(c, g);
    glDisable(GL_LINE_SMOOTH);
}

void GLWidget::drawVelocity()
{
    const std::vector<int> rows = selectedRows(ui);
    if (rows.empty()) {
        if (ui.toolsNoteSt)
            ui.toolsNoteSt->setText(QStringLiteral("A body must be selected first (or use Alt + Click)."));
        return;
    }
    if (!scene)
        return;

    const float magnitude = ui.gravityMagnitudeEt ? float(ui.gravityMagnitudeEt->value()) : 0.0f;
    const float direction =
        ui.gravityDirectionEt ? float(ui.gravityDirectionEt->value() * 3.1415927410125732 / 180.0) : 0.0f;
    const b2Vec2 halfGravity(std::cos(direction) * magnitude * 0.5f, std::sin(direction) * magnitude * 0.5f);

    bool first = true;
    for (int row : rows) {
        if (row < 0 || size_t(row) >= scene->bodies.size() || !scene->bodies[size_t(row)].body)
            continue;
        const MyBody& record = scene->bodies[size_t(row)];
        const float speed = record.linearVelocityMagnitude;
        const float angle = record.linearVelocityDirection * 3.1415927f / 180.0f;
        const b2Vec2 p0 = record.body->GetWorldCenter();

        GLPen::pointSize(1.0f);
        glColor3f(1.0f, 1.0f, 1.0f);
        const std::vector<b2Vec2> path = velocityTrajectory(p0, angle, speed, halfGravity);
        glBegin(GL_LINE_STRIP);
        for (const b2Vec2& p : path)
            vertex(p);
        glEnd();

        // The handle of the first body: its length is the speed over the
        // handle scale.
        if (first) {
            const float scale = velocityHandleScale != 0.0f ? velocityHandleScale : 1.0f;
            const b2Vec2 tip = p0 + (speed / scale) * b2Vec2(std::cos(angle), std::sin(angle));
            drawHandle(p0, tip);
            GLPen::lineWidth(1.0f);
            first = false;
        }
    }
    if (!first && ui.toolsNoteSt)
        ui.toolsNoteSt->setText(QString());
}
