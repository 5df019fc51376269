// The undo commands that drags in the scene view leave: body moves, gravity,
// initial velocity, joint anchors and AEmatic anchors.
#pragma once

#include "properties/PropertyCommand.h"

#include <box2d/b2_math.h>

#include <algorithm>
#include <memory>

// A pivot between two moved bodies follows them by the offset of its body
// A; a far move loses digits of it on the way back, so undo puts back the
// anchors the pivots had before the move.
class CommandBodiesPositionChange : public RowValuesCommand<b2Vec2>
{
public:
    CommandBodiesPositionChange(SimulationView* view, std::vector<b2Vec2> oldPositions,
                                std::vector<b2Vec2> newPositions, std::vector<int> rows)
        : RowValuesCommand(view, std::move(oldPositions), std::move(newPositions), rows,
                           &SimulationView::setBodiesPosition, QStringLiteral("Move Body"), AfterSet::Restart)
        , view(view)
    {
        const auto moved = [&rows](int body) { return std::find(rows.begin(), rows.end(), body) != rows.end(); };
        for (size_t j = 0; j < view->joints.size(); ++j) {
            const MyJoint& joint = view->joints[j];
            if (joint.type == JointType::Revolute && moved(joint.bodyA) && moved(joint.bodyB))
                pivots.push_back({int(j), joint.bodyA, joint.bodyB, joint.committedAnchor});
        }
    }

    void undo() override
    {
        RowValuesCommand::undo();
        bool restored = false;
        for (const Pivot& p : pivots) {
            if (size_t(p.joint) >= view->joints.size())
                continue;
            MyJoint& joint = view->joints[size_t(p.joint)];
            if (joint.type != JointType::Revolute || joint.bodyA != p.bodyA || joint.bodyB != p.bodyB)
                continue;
            restored = restored || !(joint.anchor == p.anchor);
            joint.anchor = joint.committedAnchor = p.anchor;
        }
        if (restored)
            view->restartAnimation();
    }

private:
    struct Pivot
    {
        int joint, bodyA, bodyB;
        b2Vec2 anchor;
    };
    SimulationView* view;
    std::vector<Pivot> pivots;
};

class CommandRJointAnchorsChange : public RowValuesCommand<b2Vec2>
{
public:
    CommandRJointAnchorsChange(SimulationView* view, std::vector<b2Vec2> oldAnchors, std::vector<b2Vec2> newAnchors,
                               std::vector<int> rows)
        : RowValuesCommand(view, std::move(oldAnchors), std::move(newAnchors), std::move(rows),
                           &SimulationView::setJointAnchors, QStringLiteral("Move Joint Anchor"),
                           AfterSet::RestartStopped)
    {
    }
};

class CommandPJointAnchorsChange : public RowValuesCommand<b2Vec2>
{
public:
    CommandPJointAnchorsChange(SimulationView* view, std::vector<b2Vec2> oldAxes, std::vector<b2Vec2> newAxes,
                               std::vector<int> rows)
        : RowValuesCommand(view, std::move(oldAxes), std::move(newAxes), std::move(rows),
                           &SimulationView::setJointAxes, QStringLiteral("Move Joint Anchor"),
                           AfterSet::RestartStopped)
    {
    }
};

class CommandAEmaticAnchorAbsChange : public RowValuesCommand<b2Vec2>
{
public:
    CommandAEmaticAnchorAbsChange(SimulationView* view, std::vector<b2Vec2> oldAnchors,
                                  std::vector<b2Vec2> newAnchors, std::vector<int> rows)
        : RowValuesCommand(view, std::move(oldAnchors), std::move(newAnchors), std::move(rows),
                           &SimulationView::setAEmaticAnchorAbs, QStringLiteral("Move AEmatic Anchor"),
                           AfterSet::RestartStopped)
    {
    }
};

// The drag already moved the live values: the first redo applies nothing;
// undo takes the deltas back, and a later redo applies them again.
class CommandDSJointAnchorsChange : public QUndoCommand
{
public:
    CommandDSJointAnchorsChange(SimulationView* view, std::vector<b2Vec2> deltasA, std::vector<b2Vec2> deltasB,
                                std::vector<int> rows);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    std::vector<b2Vec2> deltasA, deltasB, pendingA, pendingB;
    std::vector<int> rows;
};

class CommandAEmaticAnchorChange : public QUndoCommand
{
public:
    CommandAEmaticAnchorChange(SimulationView* view, b2Vec2 delta, std::vector<int> rows);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    b2Vec2 delta;
    b2Vec2 pending{0.0f, 0.0f};
    std::vector<int> rows;
};

// One step for an anchor drag over joints of several kinds: the kinds' own
// commands, redone in order and undone in reverse.
class CommandJointAnchorsChange : public QUndoCommand
{
public:
    explicit CommandJointAnchorsChange(std::vector<std::unique_ptr<QUndoCommand>> parts);
    void undo() override;
    void redo() override;

private:
    std::vector<std::unique_ptr<QUndoCommand>> parts;
};

class CommandGravityChange : public QUndoCommand
{
public:
    CommandGravityChange(SimulationView* view, double oldMagnitude, double oldDirection, double newMagnitude,
                         double newDirection);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    double oldMagnitude, oldDirection, newMagnitude, newDirection;
};

class CommandBodiesVelocityChange : public QUndoCommand
{
public:
    CommandBodiesVelocityChange(SimulationView* view, std::vector<float> oldMagnitudes,
                                std::vector<float> oldDirections, std::vector<float> newMagnitudes,
                                std::vector<float> newDirections, std::vector<int> rows);
    void undo() override;
    void redo() override;

private:
    SimulationView* view;
    std::vector<float> oldMagnitudes, oldDirections, newMagnitudes, newDirections;
    std::vector<int> rows;
};
