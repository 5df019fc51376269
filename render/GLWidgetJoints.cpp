// The joints the world does not draw: AEmatic pull lines, prismatic
// (piston) joints and springs, in the view's joint colours and width. The
// pull lines are smoothed and drawn at once; the joints are gathered by pen
// and drawn together after them.
#include "render/GLWidget.h"

#include "render/GLPen.h"
#include "render/OverlayGeometry.h"
#include "simulation/SimulationCore.h"

#include <GL/gl.h>

namespace {

using GLPen::vertex;

using Colour = DrawBatches::Colour;
using Pen = DrawBatches::Pen;

Colour rgba(const b2Color& c)
{
    return Colour{c.r, c.g, c.b, 1.0f};
}

Colour rgba(const QColor& c)
{
    return Colour{float(c.redF()), float(c.greenF()), float(c.blueF()), 1.0f};
}

// At `width`, dashed (0xCCCC) when `dashed`.
Pen linePen(float width, bool dashed = false)
{
    Pen pen;
    pen.size = width;
    pen.stippled = dashed;
    pen.pattern = GLPen::kDashPattern;
    return pen;
}

// What a spring or prismatic joint leaves: line width 1.0, point size 1.0,
// stipple off, its last colour.
void leave(DrawBatches& batches, const Colour& colour)
{
    DrawBatches::Left& left = batches.left;
    left.setLineWidth(1.0f);
    left.setPointSize(1.0f);
    left.setColour(colour);
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
    jointBatches.draw();
}

void GLWidget::drawSpring(b2Vec2 p1, b2Vec2 p2, bool selected, int i)
{
    const float width = scene->jointStrokeWidth;
    Pen pen = linePen(width);
    float pointSize = width * 5.0f;
    Colour colour = rgba(scene->springJointColor);
    if (selected) {
        jointBatches.setPattern(GLPen::kDashPattern);
        pen = linePen(width * 1.7f, true);
        pointSize = width * 7.0f;
        colour = rgba(scene->selectedJointColor);
    }

    const std::vector<b2Vec2> lines = springLines(p1, p2);
    jointBatches.addLines(lines.data(), int32_t(lines.size()), colour, pen);
    const b2Vec2 ends[2] = {p1, p2};
    jointBatches.addPoints(ends, 2, colour, pointSize);

    // The rest length, centred between the anchors.
    const float restLength = scene->joints[size_t(i)].desiredLength;
    const b2Vec2 u = normalized(p2 - p1);
    const b2Vec2 r1 = 0.5f * (p1 + p2) - (restLength / 2.0f) * u;
    const b2Vec2 rest[2] = {r1, r1 + restLength * u};
    const Colour grey{0.9f, 0.9f, 0.9f, 1.0f};
    jointBatches.addPoints(rest, 2, grey, 4.0f);
    leave(jointBatches, grey);
}

// The symbol stands between the bodies' centres, whatever the anchor.
void GLWidget::drawPrismatic(b2Vec2 /*anchor*/, b2Vec2 axis, bool selected, int i)
{
    const MyJoint& joint = scene->joints[size_t(i)];
    b2Body* bodyA = worldBody(*scene, joint.bodyA);
    b2Body* bodyB = worldBody(*scene, joint.bodyB);
    if (!bodyA || !bodyB)
        return;

    const float width = selected ? scene->jointStrokeWidth * 1.7f : scene->jointStrokeWidth;
    const float pointSize = scene->jointStrokeWidth * (selected ? 7.0f : 2.0f);
    const Colour colour = selected ? rgba(scene->selectedJointColor) : rgba(scene->prismaticJointColor);
    jointBatches.setPattern(GLPen::kDashPattern);

    const b2Vec2 cA = bodyA->GetWorldCenter();
    const b2Vec2 cB = bodyB->GetWorldCenter();
    const b2Vec2 m = 0.5f * (cA + cB);
    const b2Vec2 a = normalized(cA - m);
    const b2Vec2 b = normalized(cB - m);
    const b2Vec2 x = normalized(axis);
    const b2Vec2 p = normalized(b2Vec2(-axis.y, axis.x));

    // Stippled arms with a gap of 0.38 around the middle.
    const b2Vec2 arms[4] = {cA, m + 0.19f * a, m + 0.19f * b, cB};
    jointBatches.addLines(arms, 4, colour, linePen(width, true));

    // The piston: an outlined triangle along the axis, a filled one against
    // (opaque: blending it changes nothing).
    const b2Vec2 outlined[3] = {m + 0.06f * p, m + 0.12f * x, m - 0.06f * p};
    jointBatches.addLoop(outlined, 3, colour, linePen(width));
    const b2Vec2 filled[3] = {m + 0.06f * p, m - 0.06f * p, m - 0.12f * x};
    jointBatches.addFan(filled, 3, colour);

    if (selected) {
        // The axis as stored, so that its length shows.
        jointBatches.addLine(m + 0.12f * x, m + axis, colour, linePen(width));
        const b2Vec2 tip = m + axis;
        jointBatches.addPoints(&tip, 1, colour, pointSize);

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
            for (const Mark& mark : marks) {
                const b2Vec2 strokes[4] = {mark.at + 0.05f * p, mark.at - 0.05f * p, mark.at,
                                           mark.at + 0.05f * mark.stem};
                jointBatches.addLines(strokes, 4, colour, linePen(1.2f));
            }
        }
    }
    leave(jointBatches, colour);
}
