#include "properties/JointCommands.h"

#include "simulation/SimulationView.h"

template <>
void AddJointsCommand<MyDistanceJoint>::create(const MyDistanceJoint& r)
{
    view->addDistanceJointBetweenTwoBodies(r.bodyA, r.bodyB, r.anchorA, r.anchorB);
}

template <>
void AddJointsCommand<MyRevoluteJoint>::create(const MyRevoluteJoint& r)
{
    view->addRevoluteJointBetweenTwoBodies(r.bodyA, r.bodyB, r.anchor);
}

template <>
void AddJointsCommand<MyPrismaticJoint>::create(const MyPrismaticJoint& r)
{
    view->addPrismaticJointBetweenTwoBodies(r.bodyA, r.bodyB, r.anchor, r.axis);
}

template <>
void AddJointsCommand<MySpringJoint>::create(const MySpringJoint& r)
{
    view->addSpringJointBetweenTwoBodies(r.bodyA, r.bodyB);
}

template <typename Request>
void AddJointsCommand<Request>::add()
{
    for (const Request& request : requests)
        create(request);
    jointsAfter = view->joints;
    view->restartAndStopAnimation(false);
}

template <typename Request>
void AddJointsCommand<Request>::remove()
{
    std::vector<int> appended;
    for (size_t i = jointsBefore.size(); i < jointsAfter.size(); ++i)
        appended.push_back(jointsAfter[i].id);
    view->removeJoints(appended);
    view->restartAndStopAnimation(false);
}

template class AddJointsCommand<MyDistanceJoint>;
template class AddJointsCommand<MyRevoluteJoint>;
template class AddJointsCommand<MyPrismaticJoint>;
template class AddJointsCommand<MySpringJoint>;

CommandAddDistanceJointsChange::CommandAddDistanceJointsChange(SimulationView* view, std::vector<MyJoint> before,
                                                               std::vector<MyDistanceJoint> requests)
    : AddJointsCommand(view, std::move(before), std::move(requests), QStringLiteral("Add Distance Joint"))
{
}

CommandAddRevoluteJointsChange::CommandAddRevoluteJointsChange(SimulationView* view, std::vector<MyJoint> before,
                                                               std::vector<MyRevoluteJoint> requests)
    : AddJointsCommand(view, std::move(before), std::move(requests), QStringLiteral("Add Pivot Joint"))
{
}

CommandAddPrismaticJointsChange::CommandAddPrismaticJointsChange(SimulationView* view, std::vector<MyJoint> before,
                                                                 std::vector<MyPrismaticJoint> requests)
    : AddJointsCommand(view, std::move(before), std::move(requests), QStringLiteral("Add Piston Joint"))
{
}

CommandAddSpringJointsChange::CommandAddSpringJointsChange(SimulationView* view, std::vector<MyJoint> before,
                                                           std::vector<MySpringJoint> requests)
    : AddJointsCommand(view, std::move(before), std::move(requests), QStringLiteral("Add Spring Joint"))
{
}

CommandRemoveJointsChange::CommandRemoveJointsChange(SimulationView* view, std::vector<MyJoint> jointsBefore,
                                                     std::vector<MyJoint> removed, std::vector<int> rows)
    : view(view)
    , jointsBefore(std::move(jointsBefore))
    , removed(std::move(removed))
    , rows(std::move(rows))
{
    setText(QStringLiteral("Remove Joint"));
}

void CommandRemoveJointsChange::redo()
{
    view->removeJoints(rows);
    view->restartAndStopAnimation(false);
}

void CommandRemoveJointsChange::undo()
{
    view->addJoints(removed);
    view->restartAndStopAnimation(false);
}
