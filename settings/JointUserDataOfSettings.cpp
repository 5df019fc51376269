// Drawing data of the joints that settings files and snapshots bring. The
// view keeps it for its lifetime, so a record copied into a snapshot or a
// command never points at freed data.
#include "simulation/SimulationView.h"

#include "model/JointUserData.h"

JointUserData* SimulationView::makeJointUserData(int type)
{
    auto data = std::make_unique<JointUserData>();
    switch (type) {
    case JointType::Distance:
        data->color = distanceJointColor;
        break;
    case JointType::Revolute:
        data->color = revoluteJointColor;
        break;
    case JointType::Prismatic:
        data->color = prismaticJointColor;
        break;
    case JointType::Spring:
        data->color = springJointColor;
        break;
    default:
        data->color = b2Color(1.0f, 1.0f, 1.0f, 1.0f);
        break;
    }
    data->selected = false;
    JointUserData* raw = data.get();
    ownedJointUserData.push_back(std::move(data));
    return raw;
}
