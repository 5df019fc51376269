// The joints the world does not draw: AEmatic pull lines, prismatic
// (piston) joints and springs, in the view's joint colours and width.
#include "render/GLWidget.h"

#include "render/GLPen.h"
#include "render/OverlayGeometry.h"
#include "simulation/SimulationCore.h"

#include <GL/gl.h>

namespace {

using GLPen::vertex;

void color(const b2Color& c)
{
    glColor3f(c.r, c.g, c.b);
}

void color(const QColor& c)
{
    glColor3f(float(c.redF()), float(c.greenF()), float(c.blueF()));
}

b2Vec2 normalized(b2Vec2 v)
{
    v.Normalize();
    return v;
}

// The world body of record `index`, or null.
b2Body* worldBody(const SimulationCore& scene, int index)
{
    if (index < 0 || size_t(index) >= scene.bodies.size())
        return nullptr;
    return scene.bodies[size_t(index)].body;
}

} // namespace

void GLWidget::drawJoints()
{
    if (!scene)
        return;
    for (const MyBody& record : scene->bodies) {
        if (record.type != BodyType::AEmatic || !record.aematicJoint)
            continue;
        const b2Vec2 anchor = record.aematicJoint->GetAnchorB();
        const b2Vec2 target = record.aematicJoint->GetTarget();
        glEnable(GL_LINE_SMOOTH);
        GLPen::lineWidth(1.1f);
        glColor3f(0.9f, 0.9f, 0.9f);
        glBegin(GL_LINES);
        vertex(anchor);
        vertex(target);
        glEnd();
        glDisable(GL_LINE_SMOOTH);
        glEnable(GL_POINT_SMOOTH);
        GLPen::pointSize(5.0f);
        glBegin(GL_POINTS);
        glColor3f(0.95f, 0.85f, 0.0f);
        vertex(target);
        glColor3f(0.71f, 0.22f, 0.22f);
        vertex(anchor);
        glEnd();
        glDisable(GL_POINT_SMOOTH);
    }

    for (size_t i = 0; i < scene->joints.size(); ++i) {
        const MyJoint& joint = scene->joints[i];
        if (joint.type == JointType::Prismatic) {
            drawPrismatic(joint.anchor, joint.axis, joint.selected, int(i));
        } else if (joint.type == JointType::Spring) {
            b2Body* a = worldBody(*scene, joint.bodyA);
            b2Body* b = worldBody(*scene, joint.bodyB);
            if (a && b)
                drawSpring(a->GetWorldPoint(joint.anchorA), b->GetWorldPoint(joint.anchorB), joint.selected, int(i));
        }
    }
}

void GLWidget::drawSpring(b2Vec2 p1, b2Vec2 p2, bool selected, int i)
{
    const float width = scene->jointStrokeWidth;
    if (selected) {
        GLPen::lineWidth(width * 1.7f);
        GLPen::stipple(GLPen::kDashPattern);
        GLPen::pointSize(width * 7.0f);
        color(scene->selectedJointColor);
    } else {
        GLPen::lineWidth(width);
        GLPen::pointSize(width * 5.0f);
        color(scene->springJointColor);
    }

    const std::vector<b2Vec2> lines = springLines(p1, p2);
    glBegin(GL_LINES);
    for (const b2Vec2& p : lines)
        vertex(p);
    glEnd();
    glBegin(GL_POINTS);
    vertex(p1);
    vertex(p2);
    glEnd();

    // The rest length, centred between the anchors.
    const float restLength = scene->joints[size_t(i)].desiredLength;
    const b2Vec2 u = normalized(p2 - p1);
    const b2Vec2 r1 = 0.5f * (p1 + p2) - (restLength / 2.0f) * u;
    const b2Vec2 r2 = r1 + restLength * u;
    GLPen::pointSize(4.0f);
    glColor3f(0.9f, 0.9f, 0.9f);
    glBegin(GL_POINTS);
    vertex(r1);
    vertex(r2);
    glEnd();

    GLPen::lineWidth(1.0f);
    GLPen::pointSize(1.0f);
    GLPen::stippleOff();
}

// The symbol stands between the bodies' centres, whatever the anchor.
void GLWidget::drawPrismatic(b2Vec2 /*anchor*/, b2Vec2 axis, bool selected, int i)
{
    const MyJoint& joint = scene->joints[size_t(i)];
    b2Body* bodyA = worldBody(*scene, joint.bodyA);
    b2Body* bodyB = worldBody(*scene, joint.bodyB);
    if (!bodyA || !bodyB)
        return;

    const float width = scene->jointStrokeWidth;
    if (selected) {
        GLPen::lineWidth(width * 1.7f);
        GLPen::pointSize(width * 7.0f);
        GLPen::stipple(GLPen::kDashPattern);
        color(scene->selectedJointColor);
    } else {
        GLPen::lineWidth(width);
        GLPen::pointSize(width * 2.0f);
        GLPen::stipple(GLPen::kDashPattern);
        color(scene->prismaticJointColor);
    }

    const b2Vec2 cA = bodyA->GetWorldCenter();
    const b2Vec2 cB = bodyB->GetWorldCenter();
    const b2Vec2 m = 0.5f * (cA + cB);
    const b2Vec2 a = normalized(cA - m);
    const b2Vec2 b = normalized(cB - m);
    const b2Vec2 x = normalized(axis);
    const b2Vec2 p = normalized(b2Vec2(-axis.y, axis.x));

    // Stippled arms with a gap of 0.38 around the middle.
    glBegin(GL_LINES);
    vertex(cA);
    vertex(m + 0.19f * a);
    vertex(m + 0.19f * b);
    vertex(cB);
    glEnd();
    GLPen::stippleOff();

    // The piston: an outlined triangle along the axis, a filled one against.
    glBegin(GL_LINE_LOOP);
    vertex(m + 0.06f * p);
    vertex(m + 0.12f * x);
    vertex(m - 0.06f * p);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    vertex(m + 0.06f * p);
    vertex(m - 0.06f * p);
    vertex(m - 0.12f * x);
    glEnd();

    if (selected) {
        // The axis as stored, so that its length shows.
        glBegin(GL_LINES);
        vertex(m + 0.12f * x);
        vertex(m + axis);
        glEnd();
        glBegin(GL_POINTS);
        vertex(m + axis);
        glEnd();

        const bool anyStatic = scene->bodies[size_t(joint.bodyA)].type == BodyType::Static ||
                               scene->bodies[size_t(joint.bodyB)].type == BodyType::Static;
        if (joint.enableLimit && (!scene->playing || anyStatic)) {
            const b2Vec2 pa = scene->bodies[size_t(joint.bodyA)].position;
            const b2Vec2 pb = scene->bodies[size_t(joint.bodyB)].position;
            const float lo = joint.lowerTranslation;
            const float hi = joint.upperTranslation;
            struct Mark {
                b2Vec2 at;
                b2Vec2 stem;
            };
            const Mark marks[4] = {{pa - lo * x, -x}, {pa - hi * x, x}, {pb + lo * x, x}, {pb + hi * x, -x}};
            GLPen::lineWidth(1.2f);
            glBegin(GL_LINES);
            for (const Mark& mark : marks) {
                vertex(mark.at + 0.05f * p);
                vertex(mark.at - 0.05f * p);
                vertex(mark.at);
                vertex(mark.at + 0.05f * mark.stem);
            }
            glEnd();
        }
    }

    GLPen::lineWidth(1.0f);
    GLPen::pointSize(1.0f);
    GLPen::stippleOff();
}
