#include "properties/DragCommands.h"

namespace {

std::vector<b2Vec2> negated(const std::vector<b2Vec2>& v)
{
    std::vector<b2Vec2> out;
    out.reserve(v.size());
    for (const b2Vec2& d : v)
        out.push_back(-d);
    return out;
}

} // namespace

CommandDSJointAnchorsChange::CommandDSJointAnchorsChange(SimulationView* view, std::vector<b2Vec2> deltasA,
                                                         std::vector<b2Vec2> deltasB, std::vector<int> rows)
    : view(view)
    , deltasA(std::move(deltasA))
    , deltasB(std::move(deltasB))
    , pendingA(this->deltasA.size(), b2Vec2(0.0f, 0.0f))
    , pendingB(this->deltasB.size(), b2Vec2(0.0f, 0.0f))
    , rows(std::move(rows))
{
    setText(QStringLiteral("Move Joint Anchor"));
}

void CommandDSJointAnchorsChange::undo()
{
    view->setJointAnchors(negated(deltasA), negated(deltasB), rows);
    pendingA = deltasA;
    pendingB = deltasB;
    view->restartAndStopAnimation(false);
}

void CommandDSJointAnchorsChange::redo()
{
    view->setJointAnchors(pendingA, pendingB, rows);
    view->restartAndStopAnimation(false);
}

CommandAEmaticAnchorChange::CommandAEmaticAnchorChange(SimulationView* view, b2Vec2 delta, std::vector<int> rows)
    : view(view)
    , delta(delta)
    , rows(std::move(rows))
{
    setText(QStringLiteral("Move AEmatic Anchor"));
}

void CommandAEmaticAnchorChange::undo()
{
    view->setAEmaticAnchor(-delta, rows);
    pending = delta;
    view->restartAndStopAnimation(false);
}

void CommandAEmaticAnchorChange::redo()
{
    view->setAEmaticAnchor(pending, rows);
    view->restartAndStopAnimation(false);
}

CommandJointAnchorsChange::CommandJointAnchorsChange(std::vector<std::unique_ptr<QUndoCommand>> parts)
    : parts(std::move(parts))
{
    setText(QStringLiteral("Move Joint Anchor"));
}

void CommandJointAnchorsChange::undo()
{
    for (auto part = parts.rbegin(); part != parts.rend(); ++part)
        (*part)->undo();
}

void CommandJointAnchorsChange::redo()
{
    for (const std::unique_ptr<QUndoCommand>& part : parts)
        part->redo();
}

CommandGravityChange::CommandGravityChange(SimulationView* view, double oldMagnitude, double oldDirection,
                                           double newMagnitude, double newDirection)
    : view(view)
    , oldMagnitude(oldMagnitude)
    , oldDirection(oldDirection)
    , newMagnitude(newMagnitude)
    , newDirection(newDirection)
{
    setText(QStringLiteral("Change Gravity"));
}

void CommandGravityChange::undo()
{
    view->setGravity(float(oldMagnitude), float(oldDirection));
}

void CommandGravityChange::redo()
{
    view->setGravity(float(newMagnitude), float(newDirection));
}

CommandBodiesVelocityChange::CommandBodiesVelocityChange(SimulationView* view, std::vector<float> oldMagnitudes,
                                                         std::vector<float> oldDirections,
                                                         std::vector<float> newMagnitudes,
                                                         std::vector<float> newDirections, std::vector<int> rows)
    : view(view)
    , oldMagnitudes(std::move(oldMagnitudes))
    , oldDirections(std::move(oldDirections))
    , newMagnitudes(std::move(newMagnitudes))
    , newDirections(std::move(newDirections))
    , rows(std::move(rows))
{
    setText(QStringLiteral("Change Linear Velocity"));
}

void CommandBodiesVelocityChange::undo()
{
    view->setBodiesVelocity(oldMagnitudes, oldDirections, rows);
    view->restartAndStopAnimation(false);
}

void CommandBodiesVelocityChange::redo()
{
    view->setBodiesVelocity(newMagnitudes, newDirections, rows);
    view->restartAndStopAnimation(false);
}
