// Mouse, wheel and keys of the scene view. A press acts by tool; moves and
// releases go on to the OpenGL view, which carries the drags.
#include "simulation/SimulationView.h"

#include "editing/DragReadout.h"
#include "editing/JointAnchorPlacement.h"
#include "editing/PressLossWatch.h"
#include "model/NearestVertex.h"
#include "properties/EditBox.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

void SimulationView::mousePressEvent(QMouseEvent* event)
{
    skipContextMenu = false;
    if (dragInProgress()) {
        // A second button during a drag ends it: what it moved goes back,
        // and this press does nothing else (a right one opens no menu).
        if (event->button() != dragButton && (event->buttons() & dragButton)) {
            endInterruptedDrag();
            skipContextMenu = event->button() == Qt::RightButton;
            return;
        }
        // The drag's own press was lost on the way (its release went
        // elsewhere): that drag ends before this press starts anything.
        endInterruptedDrag();
    }
    const int tool = currentTool();
    if (tool != 1 && tool != 3)
        restartAndStopAnimation(false);
    if (event->button() == Qt::RightButton) {
        glWidget->dragArmed = false;
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool alt = mods & Qt::AltModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const QPoint pos = event->position().toPoint();
    const b2Vec2 p(glWidget->getGLXCoordFromView(float(pos.x()), float(width())),
                   glWidget->getGLYCoordFromView(float(pos.y()), float(height())));
    const auto arm = [&] {
        glWidget->dragArmed = true;
        glWidget->lastMouseX = pos.x();
        glWidget->lastMouseY = pos.y();
    };

    switch (tool) {
    case 0:
        doClickAtPointInSelectionMode(p, event);
        break;
    case 1:
        arm();
        break;
    case 2: {
        bool handled = false;
        const std::vector<int> selectedJoints = getSelectedRowsInJointsTable2();
        for (int j : selectedJoints) {
            MyJoint& joint = joints[size_t(j)];
            handled = true;
            glWidget->relativeJointAnchor = alt;
            if (alt)
                continue;
            if (joint.bodyA < 0 || joint.bodyB < 0 || size_t(joint.bodyA) >= bodies.size() ||
                size_t(joint.bodyB) >= bodies.size())
                continue;
            const MyBody& a = bodies[size_t(joint.bodyA)];
            const MyBody& b = bodies[size_t(joint.bodyB)];
            if (!a.body || !b.body)
                continue;
            placeJointAnchor(joint, a, b, p, ctrl);
        }
        if (selectedJoints.empty())
            for (int row : getSelectedRows()) {
                MyBody& record = bodies[size_t(row)];
                if (record.type != BodyType::AEmatic)
                    continue;
                handled = true;
                glWidget->relativeAematicAnchor = alt;
                if (!alt)
                    record.aematicAnchor = (ctrl ? getNearestVertex(record, p) : p) - record.position;
            }
        if (handled) {
            arm();
            restartAnimation();
        }
        break;
    }
    case 3:
        glWidget->dragArmed = true;
        if (!(ui.gravityLayerCb && ui.gravityLayerCb->isChecked())) {
            const double dx = float(pos.x()) - float(width()) / 2.0f;
            const double dy = float(pos.y()) - float(height()) / 2.0f;
            const double magnitude = std::sqrt(dx * dx + dy * dy) / glWidget->gravityHandleScale;
            const double direction = degreesOf(dy, dx);
            showDragValue(ui.gravityMagnitudeEt, ui.gravityMagnitudeSld, magnitude);
            showDragValue(ui.gravityDirectionEt, ui.gravityDirectionSld, direction);
            updateGravityPoint(float(magnitude), float(direction) * 0.017453292f);
        }
        if (ui.captureGravityBtn && ui.captureGravityBtn->isChecked()) {
            running = true;
            playing = true;
            if (ui.playBtn)
                ui.playBtn->setChecked(true);
        }
        break;
    case 4:
        if (alt) {
            doClickAtPointInSelectionMode(p, event);
            break;
        }
        arm();
        {
            // Nothing selected: there is no body to aim from.
            const std::vector<int> rows = getSelectedRows2();
            if (rows.empty() || !bodies[size_t(rows.back())].body)
                break;
            const b2Vec2 d = p - bodies[size_t(rows.back())].body->GetWorldCenter();
            const float magnitude = glWidget->velocityHandleScale * d.Length();
            const float direction = float(degreesOf(d.y, d.x));
            showDragValue(ui.velocityMagnitudeEt, ui.velocityMagnitudeSld, magnitude);
            showDragValue(ui.velocityDirectionEt, ui.velocityDirectionSld, direction);
            for (int row : rows) {
                bodies[size_t(row)].linearVelocityMagnitude = magnitude;
                bodies[size_t(row)].linearVelocityDirection = direction;
            }
            restartAnimation();
        }
        break;
    default:
        break;
    }
    if (dragInProgress()) {
        dragButton = event->button();
        glWidget->dragBodies = getSelectedRows();
        glWidget->dragJoints = getSelectedRowsInJointsTable2();
        // A key pressed during the drag (a selection, a nudge, a type, a
        // tool, an undo) finds it taken back, and acts on the committed scene.
        if (!pressWatch)
            pressWatch = new PressLossWatch(this, [this] { endInterruptedDrag(); }, true);
        pressWatch->arm();
    }
    refreshView();
}

void SimulationView::mouseMoveEvent(QMouseEvent* event)
{
    // A move without the drag's button: its release never came here (a
    // pointer grab taken by another program, say), so the drag ends
    // rather than have the bodies follow a pointer no button holds.
    if (dragInProgress() && !(event->buttons() & dragButton))
        endInterruptedDrag();
    glWidget->mouseMove(event);
}

void SimulationView::mouseReleaseEvent(QMouseEvent* event)
{
    // What the moves before it showed comes first: the release's own text
    // follows it.
    showPointerFeedback();
    // Only the release of the button that began the drag ends it.
    if (!dragInProgress() || event->button() != dragButton)
        return;
    if (pressWatch)
        pressWatch->disarm();
    if (selectionRectActive)
        finishSelectionRect(event);
    else
        glWidget->mouseRelease(event);
}

bool SimulationView::dragInProgress() const
{
    return glWidget && (glWidget->dragArmed || selectionRectActive);
}

void SimulationView::endInterruptedDrag()
{
    showPointerFeedback();
    if (pressWatch)
        pressWatch->disarm();
    cancelDrag();
    if (selectionRectActive) {
        selectionRectActive = false;
        glWidget->selRectTracking = false;
        glWidget->selRectShown = false;
        refreshView();
    }
}

void SimulationView::wheelEvent(QWheelEvent* event)
{
    if (!ui.zoomSld)
        return;
    double step = event->angleDelta().y() / 2.0;
    if (QApplication::keyboardModifiers() & Qt::ShiftModifier)
        step *= 3.0;
    const double v = std::max(ui.zoomSld->value() + step, 0.001);
    ui.zoomSld->setValue(int(std::min(v, 2147483647.0)));
    refreshView();
}

// The view uses no key itself: every key goes on to the main window.
void SimulationView::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
}

void SimulationView::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
}

void SimulationView::resizeEvent(QResizeEvent* event)
{
    if (glWidget)
        glWidget->resize(size());
    QWidget::resizeEvent(event);
}

void SimulationView::cancelDrag()
{
    if (!glWidget || !glWidget->dragArmed)
        return;
    const int tool = glWidget->tool;
    glWidget->dragArmed = false;
    glWidget->verticalLock = false;
    glWidget->horizontalLock = false;
    glWidget->relativeJointAnchor = false;
    glWidget->relativeAematicAnchor = false;
    // Only what this tool's drag writes: the places of the bodies it began
    // with (and of the pivots between two of them), their velocities, or
    // its joints' and AEmatic bodies' anchors.
    const std::vector<int>& rows = glWidget->dragBodies;
    const auto owned = [&rows](int body) { return std::find(rows.begin(), rows.end(), body) != rows.end(); };
    bool changed = false;
    for (int row : rows) {
        MyBody& record = bodies[size_t(row)];
        if (tool == 0 && !(record.position == record.committedPosition)) {
            record.position = record.committedPosition;
            changed = true;
        } else if (tool == 4 && (!(record.linearVelocityMagnitude == record.committedVelocityMagnitude) ||
                                 !(record.linearVelocityDirection == record.committedVelocityDirection))) {
            record.linearVelocityMagnitude = record.committedVelocityMagnitude;
            record.linearVelocityDirection = record.committedVelocityDirection;
            changed = true;
        } else if (tool == 2 && record.type == BodyType::AEmatic &&
                   !(record.aematicAnchor == record.committedAematicAnchor)) {
            record.aematicAnchor = record.committedAematicAnchor;
            changed = true;
        }
    }
    const std::vector<int>& selectedJoints = glWidget->dragJoints;
    for (size_t j = 0; j < joints.size(); ++j) {
        MyJoint& joint = joints[j];
        const bool pivotBetweenMoved =
            tool == 0 && joint.type == JointType::Revolute && owned(joint.bodyA) && owned(joint.bodyB);
        const bool anchored = tool == 2 && std::find(selectedJoints.begin(), selectedJoints.end(), int(j)) !=
                                               selectedJoints.end();
        if (pivotBetweenMoved || (anchored && joint.type == JointType::Revolute)) {
            changed = changed || !(joint.anchor == joint.committedAnchor);
            joint.anchor = joint.committedAnchor;
        } else if (anchored && (joint.type == JointType::Distance || joint.type == JointType::Spring)) {
            changed = changed || !(joint.anchorA == joint.committedAnchorA) || !(joint.anchorB == joint.committedAnchorB);
            joint.anchorA = joint.committedAnchorA;
            joint.anchorB = joint.committedAnchorB;
        } else if (anchored && joint.type == JointType::Prismatic) {
            changed = changed || !(joint.axis == joint.committedAxis);
            joint.axis = joint.committedAxis;
        }
    }
    if (tool == 3)
        showGravity(committed.gravityMagnitude, committed.gravityDirection, false);
    if (changed) {
        restartAnimation();
        refreshBodyPanel();
    }
}
