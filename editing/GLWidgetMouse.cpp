// Drags in the scene view: what each tool does while the mouse moves with
// the drag armed, and the undo commands its release leaves.
#include "render/GLWidget.h"

#include "editing/DragReadout.h"
#include "editing/JointAnchorPlacement.h"
#include "model/JointUserData.h"
#include "model/NearestVertex.h"
#include "properties/DragCommands.h"
#include "properties/EditBox.h"
#include "properties/RevoluteAnchors.h"
#include "properties/SliderGo.h"
#include "simulation/SimulationView.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr float kPiF = 3.14159265f;

bool inRange(float v, float lo, float hi)
{
    return v >= lo && v <= hi;
}

} // namespace

void GLWidget::mouseMove(QMouseEvent* event)
{
    if (!view)
        return;
    if (dragArmed)
        mousePan(event);
    const QPointF pos = event->position();
    const float wx = getGLXCoordFromView(float(pos.x()), float(width()));
    const float wy = getGLYCoordFromView(float(pos.y()), float(height()));
    // Shown with the view's next redraw, however often the pointer moves.
    if (selRectTracking) {
        selRectEnd.Set(wx, wy);
        view->showOnNextRedraw(
            ui.infoSt,
            QString::asprintf("Selection Rect\nX:%d Y:%d\nW:%d H:%d", int(view->getAEXCoordFromGL(selRectStart.x)),
                              int(view->getAEYCoordFromGL(selRectStart.y)),
                              int(std::fabs(selRectStart.x - selRectEnd.x) * 100.0f),
                              int(std::fabs(selRectStart.y - selRectEnd.y) * 100.0f)),
            true);
    }
    view->showOnNextRedraw(
        ui.mouseCoordsSt,
        QString::asprintf("X: %d\nY: %d\n", int(view->getAEXCoordFromGL(wx)), int(view->getAEYCoordFromGL(wy))));
}

void GLWidget::mousePan(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const float w = float(width());
    const float h = float(height());
    const b2Vec2 move(getGLXCoordFromView(float(pos.x()), w) - getGLXCoordFromView(float(lastMouseX), w),
                      getGLYCoordFromView(float(pos.y()), h) - getGLYCoordFromView(float(lastMouseY), h));
    const b2Vec2 q(getGLXCoordFromView(float(pos.x()), w), getGLYCoordFromView(float(pos.y()), h));
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    std::vector<MyBody>& bodies = view->bodies;
    std::vector<MyJoint>& joints = view->joints;

    switch (tool) {
    case 0: {
        if (dragList.empty())
            break;
        b2Vec2 step = move;
        const float angle = std::atan2(move.y, move.x);
        if (shift) {
            if (verticalLock || inRange(angle, kPiF / 4, 3 * kPiF / 4) || inRange(angle, -3 * kPiF / 4, -kPiF / 4)) {
                step.x = 0.0f;
                horizontalLock = false;
                verticalLock = true;
            }
        } else if (alt) {
            if (horizontalLock || inRange(angle, -kPiF / 4, kPiF / 4) || inRange(angle, 3 * kPiF / 4, kPiF) ||
                inRange(angle, -kPiF, -3 * kPiF / 4)) {
                step.y = 0.0f;
                verticalLock = false;
                horizontalLock = true;
            }
        }
        for (int row : dragList) {
            if (row < 0 || size_t(row) >= bodies.size())
                continue;
            MyBody& record = bodies[size_t(row)];
            record.position += step;
            if (record.body)
                record.body->SetTransform(record.position, record.angle);
        }
        const auto moved = [this](int body) {
            return std::find(dragList.begin(), dragList.end(), body) != dragList.end();
        };
        for (MyJoint& joint : joints) {
            if (joint.type != JointType::Revolute || !moved(joint.bodyA) || !moved(joint.bodyB))
                continue;
            joint.anchor += step;
            if (joint.jointUserData) {
                joint.jointUserData->pivotAnchor = joint.anchor;
                joint.jointUserData->playing = view->playing;
            }
            if (joint.joint)
                RevoluteAnchors::setLocalAnchors(static_cast<b2RevoluteJoint*>(joint.joint),
                                                 joint.anchor - bodies[size_t(joint.bodyA)].position,
                                                 joint.anchor - bodies[size_t(joint.bodyB)].position);
        }
        view->showBodyInfo(dragList[0]);
        break;
    }
    case 1:
        panX += move.x;
        panY += move.y;
        break;
    case 2: {
        bool handled = false;
        for (int j : dragJoints) {
            MyJoint& joint = joints[size_t(j)];
            if (joint.bodyA < 0 || joint.bodyB < 0 || size_t(joint.bodyA) >= bodies.size() ||
                size_t(joint.bodyB) >= bodies.size())
                continue;
            const MyBody& a = bodies[size_t(joint.bodyA)];
            const MyBody& b = bodies[size_t(joint.bodyB)];
            if (!a.body || !b.body)
                continue;
            handled = true;
            const bool twoEnds = joint.type == JointType::Distance || joint.type == JointType::Spring;
            if (relativeJointAnchor && twoEnds) {
                joint.anchorA += move;
                joint.anchorB += move;
            } else if (relativeJointAnchor && joint.type == JointType::Revolute) {
                joint.anchor += move;
            } else {
                placeJointAnchor(joint, a, b, q, ctrl);
            }
        }
        if (dragJoints.empty())
            for (int row : dragBodies) {
                MyBody& record = bodies[size_t(row)];
                if (record.type != BodyType::AEmatic)
                    continue;
                handled = true;
                if (relativeAematicAnchor)
                    record.aematicAnchor += move;
                else
                    record.aematicAnchor = (ctrl ? getNearestVertex(record, q) : q) - record.position;
            }
        if (handled)
            view->restartAnimation();
        break;
    }
    case 3: {
        if (ui.gravityLayerCb && ui.gravityLayerCb->isChecked())
            break;
        gravityHandle.Set(float(pos.x()), float(pos.y()));
        const double dx = double(pos.x()) - w / 2.0;
        const double dy = double(pos.y()) - h / 2.0;
        double magnitude = std::sqrt(dx * dx + dy * dy) / gravityHandleScale;
        double direction = degreesOf(dy, dx);
        if (shift) {
            const auto snap = [&](double axis, bool horizontal) {
                magnitude *= std::cos(float((axis - direction) * kPiF / 180.0));
                direction = axis == 360.0 ? 0.0 : axis;
                if (horizontal)
                    gravityHandle.y = h / 2.0f;
                else
                    gravityHandle.x = w / 2.0f;
            };
            if (direction > 340.0 || direction < 20.0)
                snap(direction > 340.0 ? 360.0 : 0.0, true);
            else if (direction > 70.0 && direction < 110.0)
                snap(90.0, false);
            else if (direction > 160.0 && direction < 200.0)
                snap(180.0, true);
            else if (direction > 250.0 && direction < 290.0)
                snap(270.0, false);
        }
        view->previewGravity(float(magnitude), float(direction));
        break;
    }
    case 4: {
        const std::vector<int>& rows = dragBodies;
        // Nothing selected: no body to aim from.
        if (rows.empty() || !bodies[size_t(rows[0])].body)
            break;
        const b2Vec2 d = q - bodies[size_t(rows[0])].body->GetWorldCenter();
        const float magnitude = velocityHandleScale * d.Length();
        const float direction = float(degreesOf(d.y, d.x));
        showDragValue(ui.velocityMagnitudeEt, ui.velocityMagnitudeSld, magnitude);
        showDragValue(ui.velocityDirectionEt, ui.velocityDirectionSld, direction);
        for (int row : rows) {
            bodies[size_t(row)].linearVelocityMagnitude = magnitude;
            bodies[size_t(row)].linearVelocityDirection = direction;
        }
        view->restartAnimation();
        break;
    }
    default:
        break;
    }
    lastMouseX = pos.x();
    lastMouseY = pos.y();
    view->showOnNextRedraw(nullptr, QString(), true);
}

void GLWidget::mouseRelease(QMouseEvent* event)
{
    if (!view || !dragArmed)
        return;
    dragArmed = false;
    verticalLock = false;
    horizontalLock = false;
    const bool relativeAematic = relativeAematicAnchor;
    relativeAematicAnchor = false;
    QUndoStack* stack = view->getUndoStack();
    if (!stack)
        return;
    std::vector<MyBody>& bodies = view->bodies;
    std::vector<MyJoint>& joints = view->joints;
    // The bodies the drag began with, in body-list order, whatever is
    // selected now.
    std::vector<int> rows = dragBodies;
    std::sort(rows.begin(), rows.end());

    bool moved = false;
    std::vector<b2Vec2> oldPositions, newPositions;
    for (int row : rows) {
        const MyBody& record = bodies[size_t(row)];
        oldPositions.push_back(record.committedPosition);
        newPositions.push_back(record.position);
        moved = moved || (record.position - record.committedPosition).Length() > 0.01f;
    }
    if (moved)
        stack->push(new CommandBodiesPositionChange(view, oldPositions, newPositions, rows));

    if (tool == 3) {
        const double oldMagnitude = view->committedScene().gravityMagnitude;
        const double oldDirection = view->committedScene().gravityDirection;
        const double newMagnitude = ui.gravityMagnitudeEt ? ui.gravityMagnitudeEt->value() : 0.0;
        const double newDirection = ui.gravityDirectionEt ? ui.gravityDirectionEt->value() : 0.0;
        stack->push(new CommandGravityChange(view, oldMagnitude, oldDirection, newMagnitude, newDirection));
    } else if (tool == 4) {
        if (!rows.empty()) {
            std::vector<float> oldM, oldD, newM, newD;
            for (int row : rows) {
                const MyBody& record = bodies[size_t(row)];
                oldM.push_back(record.committedVelocityMagnitude);
                oldD.push_back(record.committedVelocityDirection);
                newM.push_back(record.linearVelocityMagnitude);
                newD.push_back(record.linearVelocityDirection);
            }
            stack->push(new CommandBodiesVelocityChange(view, oldM, oldD, newM, newD, rows));
        }
    } else if (tool == 2) {
        const std::vector<int>& selectedJoints = dragJoints;
        if (!selectedJoints.empty()) {
            std::vector<int> dsRows, rRows, pRows;
            std::vector<b2Vec2> deltasA, deltasB, oldAnchors, newAnchors, oldAxes, newAxes;
            for (int j : selectedJoints) {
                const MyJoint& joint = joints[size_t(j)];
                if (joint.type == JointType::Distance || joint.type == JointType::Spring) {
                    dsRows.push_back(j);
                    deltasA.push_back(joint.anchorA - joint.committedAnchorA);
                    deltasB.push_back(joint.anchorB - joint.committedAnchorB);
                } else if (joint.type == JointType::Revolute) {
                    rRows.push_back(j);
                    oldAnchors.push_back(joint.committedAnchor);
                    newAnchors.push_back(joint.anchor);
                } else if (joint.type == JointType::Prismatic) {
                    pRows.push_back(j);
                    oldAxes.push_back(joint.committedAxis);
                    newAxes.push_back(joint.axis);
                }
            }
            // One step for the drag, whatever kinds of joint it moved.
            std::vector<std::unique_ptr<QUndoCommand>> parts;
            if (!dsRows.empty())
                parts.emplace_back(new CommandDSJointAnchorsChange(view, deltasA, deltasB, dsRows));
            if (!rRows.empty())
                parts.emplace_back(new CommandRJointAnchorsChange(view, oldAnchors, newAnchors, rRows));
            if (!pRows.empty())
                parts.emplace_back(new CommandPJointAnchorsChange(view, oldAxes, newAxes, pRows));
            if (parts.size() == 1)
                stack->push(parts.front().release());
            else if (!parts.empty())
                stack->push(new CommandJointAnchorsChange(std::move(parts)));
        } else if (const auto aematic = std::find_if(
                       rows.begin(), rows.end(),
                       [&](int row) { return bodies[size_t(row)].type == BodyType::AEmatic; });
                   aematic != rows.end()) {
            // The drag moved the anchors of the AEmatic bodies only, so the
            // first of those tells what it did, whichever row comes first.
            const MyBody& first = bodies[size_t(*aematic)];
            // A drag started with Alt moved the anchors by the mouse's
            // movement, whatever keys are held at its end.
            if (relativeAematic) {
                const b2Vec2 delta = first.aematicAnchor - first.committedAematicAnchor;
                // Any movement counts, also one along a single axis.
                if (delta.x != 0.0f || delta.y != 0.0f)
                    stack->push(new CommandAEmaticAnchorChange(view, delta, rows));
            } else {
                const QPointF pos = event->position();
                b2Vec2 r(getGLXCoordFromView(float(pos.x()), float(width())),
                         getGLYCoordFromView(float(pos.y()), float(height())));
                if (event->modifiers() & Qt::ControlModifier)
                    r = getNearestVertex(first, r);
                std::vector<b2Vec2> oldAnchors, newAnchors;
                for (int row : rows) {
                    oldAnchors.push_back(bodies[size_t(row)].committedAematicAnchor);
                    newAnchors.push_back(r - bodies[size_t(row)].position);
                }
                stack->push(new CommandAEmaticAnchorAbsChange(view, oldAnchors, newAnchors, rows));
            }
        }
    }

    const bool handOrGravity = (ui.handToolBtn && ui.handToolBtn->isChecked()) ||
                               (ui.gravityToolBtn && ui.gravityToolBtn->isChecked());
    if (!handOrGravity && !joints.empty())
        view->restartAnimation();
    update();
}
