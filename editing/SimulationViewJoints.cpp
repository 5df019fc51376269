// Joints between the selected bodies: the buttons' planners push one command
// each; the commands call the appliers here, which keep the joint list, the
// bodies' own lists and the joints table in step (joint i sits in row i, has
// id i and shows the number i + 1).
#include "simulation/SimulationView.h"

#include "editing/JointPlanning.h"
#include "model/JointUserData.h"
#include "properties/EditBox.h"
#include "properties/JointCommands.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QUndoStack>

#include <algorithm>
#include <memory>

namespace {

const b2Color kRevoluteJointColour(0.33f, 1.0f, 0.33f);
const b2Color kPrismaticJointColour(0.8f, 0.84f, 0.83f);
const b2Color kSpringJointColour(0.33f, 0.33f, 1.0f);

bool validIndex(size_t size, int i)
{
    return i >= 0 && size_t(i) < size;
}

} // namespace

// --- Appliers ----------------------------------------------------------------

void SimulationView::appendJoint(MyJoint joint, const b2Color& colour)
{
    auto data = std::make_unique<JointUserData>();
    data->selected = false;
    data->color = colour;
    joint.jointUserData = data.get();
    ownedJointUserData.push_back(std::move(data));

    const int row = jointsModel ? jointsModel->rowCount() : int(joints.size());
    joint.id = row;
    joint.selected = false;
    // How a settings file will identify the two bodies.
    if (validIndex(bodies.size(), joint.bodyA)) {
        const MyBody& a = bodies[size_t(joint.bodyA)];
        joint.bodyALayerID = a.layerID;
        joint.bodyALayerIndex = a.index;
        joint.bodyALayerName = a.name;
    }
    if (validIndex(bodies.size(), joint.bodyB)) {
        const MyBody& b = bodies[size_t(joint.bodyB)];
        joint.bodyBLayerID = b.layerID;
        joint.bodyBLayerIndex = b.index;
        joint.bodyBLayerName = b.name;
    }
    joints.push_back(joint);
    if (validIndex(bodies.size(), joint.bodyA))
        bodies[size_t(joint.bodyA)].joints.push_back(joint);
    if (joint.bodyB != joint.bodyA && validIndex(bodies.size(), joint.bodyB))
        bodies[size_t(joint.bodyB)].joints.push_back(joint);
    if (jointsModel) {
        jointsModel->appendRow(jointRowItems(joint, row));
        filterNewJointRow(row);
    }
}

void SimulationView::addDistanceJointBetweenTwoBodies(int a, int b, b2Vec2 localAnchorA, b2Vec2 localAnchorB)
{
    MyJoint joint;
    joint.type = JointType::Distance;
    joint.bodyA = a;
    joint.bodyB = b;
    joint.anchorA = joint.committedAnchorA = localAnchorA;
    joint.anchorB = joint.committedAnchorB = localAnchorB;
    joint.frequency = 0.0f;
    joint.damping = 0.0f;
    joint.collideConnected = true;
    appendJoint(joint, distanceJointColor);
}

void SimulationView::addRevoluteJointBetweenTwoBodies(int a, int b, b2Vec2 worldAnchor)
{
    MyJoint joint;
    joint.type = JointType::Revolute;
    joint.bodyA = a;
    joint.bodyB = b;
    joint.collideConnected = true;
    joint.anchor = joint.committedAnchor = worldAnchor;
    joint.enableLimit = false;
    joint.enableMotor = false;
    joint.lowerAngle = joint.upperAngle = joint.motorSpeed = joint.maxMotorTorque = 0.0f;
    appendJoint(joint, kRevoluteJointColour);
}

void SimulationView::addPrismaticJointBetweenTwoBodies(int a, int b, b2Vec2 worldAnchor, b2Vec2 worldAxis)
{
    MyJoint joint;
    joint.type = JointType::Prismatic;
    joint.bodyA = a;
    joint.bodyB = b;
    joint.collideConnected = true;
    joint.anchor = worldAnchor;
    joint.enableLimit = false;
    joint.enableMotor = false;
    joint.lowerTranslation = joint.upperTranslation = joint.motorSpeed = joint.maxMotorForce = 0.0f;
    joint.axis = joint.committedAxis = worldAxis;
    appendJoint(joint, kPrismaticJointColour);
}

void SimulationView::addSpringJointBetweenTwoBodies(int a, int b)
{
    MyJoint joint;
    joint.type = JointType::Spring;
    joint.bodyA = a;
    joint.bodyB = b;
    joint.anchorA = joint.committedAnchorA = b2Vec2(0.0f, 0.0f);
    joint.anchorB = joint.committedAnchorB = b2Vec2(0.0f, 0.0f);
    joint.damping = 0.5f;
    joint.springiness = 1.0f;
    if (validIndex(bodies.size(), a) && validIndex(bodies.size(), b))
        joint.desiredLength = (bodies[size_t(b)].position - bodies[size_t(a)].position).Length();
    if (ui.springJointDesiredLengthEt) {
        const QSignalBlocker blocker(ui.springJointDesiredLengthEt);
        ui.springJointDesiredLengthEt->setValue(double(joint.desiredLength));
    }
    appendJoint(joint, kSpringJointColour);
}

void SimulationView::removeJoints(std::vector<int> rows)
{
    connectJointsTableSelection(false);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    // Table rows first, from the highest down, in runs of neighbours.
    if (jointsModel) {
        for (size_t k = rows.size(); k > 0;) {
            size_t first = k - 1;
            while (first > 0 && rows[first - 1] == rows[first] - 1)
                --first;
            const int top = rows[first];
            const int count = rows[k - 1] - top + 1;
            if (top >= 0 && top < jointsModel->rowCount())
                jointsModel->removeRows(top, std::min(count, jointsModel->rowCount() - top));
            k = first;
        }
    }

    // Then the records in one pass: newId[i] is the new row of joint i, -1
    // when it goes.
    const size_t count = joints.size();
    std::vector<int> newId(count, 0);
    for (int r : rows)
        if (validIndex(count, r))
            newId[size_t(r)] = -1;
    int next = 0;
    for (size_t i = 0; i < count; ++i)
        if (newId[i] >= 0)
            newId[i] = next++;
    std::vector<MyJoint> kept;
    kept.reserve(size_t(next));
    for (size_t i = 0; i < count; ++i)
        if (newId[i] >= 0)
            kept.push_back(std::move(joints[i]));
    joints = std::move(kept);

    // Each body's list: entries of removed joints go, the others follow
    // their joint's new row. Entries naming no joint stay as they are.
    for (MyBody& body : bodies) {
        std::vector<MyJoint>& own = body.joints;
        own.erase(std::remove_if(own.begin(), own.end(),
                                 [&](const MyJoint& j) { return validIndex(count, j.id) && newId[size_t(j.id)] < 0; }),
                  own.end());
        for (MyJoint& j : own)
            if (validIndex(count, j.id))
                j.id = newId[size_t(j.id)];
    }

    if (!rows.empty()) {
        for (size_t i = 0; i < joints.size(); ++i)
            joints[i].id = int(i);
        if (jointsModel)
            for (int i = 0; i < jointsModel->rowCount(); ++i)
                if (QStandardItem* cell = jointsModel->item(i, 0))
                    cell->setText(QString::number(i + 1));
        restartAnimation();
    }
    unhighlightAllJoints();
    enableDistanceJointControls(false);
    enableRevoluteJointControls(false);
    enablePrismaticJointControls(false);
    enableSpringJointControls(false);
    connectJointsTableSelection(true);
}

void SimulationView::addJoints(std::vector<MyJoint> records)
{
    connectJointsTableSelection(false);
    std::stable_sort(records.begin(), records.end(), [](const MyJoint& a, const MyJoint& b) { return a.id < b.id; });

    // Merge the records into the list at their ids; ids past the end (or
    // repeated) land after what is before them.
    const size_t oldCount = joints.size();
    std::vector<int> newId(oldCount, 0);
    std::vector<MyJoint> merged;
    merged.reserve(oldCount + records.size());
    std::vector<int> insertedAt;
    size_t existing = 0;
    size_t inserted = 0;
    while (existing < oldCount || inserted < records.size()) {
        const int here = int(merged.size());
        if (inserted < records.size() && (existing >= oldCount || records[inserted].id <= here)) {
            MyJoint record = records[inserted++];
            record.selected = false;
            if (record.jointUserData)
                record.jointUserData->selected = false;
            record.id = here;
            insertedAt.push_back(here);
            merged.push_back(std::move(record));
        } else {
            newId[existing] = here;
            merged.push_back(std::move(joints[existing++]));
            merged.back().id = here;
        }
    }
    joints = std::move(merged);

    for (MyBody& body : bodies)
        for (MyJoint& j : body.joints)
            if (validIndex(oldCount, j.id))
                j.id = newId[size_t(j.id)];
    for (int at : insertedAt) {
        const MyJoint& joint = joints[size_t(at)];
        if (validIndex(bodies.size(), joint.bodyA))
            bodies[size_t(joint.bodyA)].joints.push_back(joint);
        if (joint.bodyB != joint.bodyA && validIndex(bodies.size(), joint.bodyB))
            bodies[size_t(joint.bodyB)].joints.push_back(joint);
        if (jointsModel) {
            const int row = std::min(at, jointsModel->rowCount());
            jointsModel->insertRow(row, jointRowItems(joint, at));
            filterNewJointRow(row);
        }
    }
    if (jointsModel && !insertedAt.empty())
        for (int i = insertedAt.front(); i < jointsModel->rowCount(); ++i)
            if (QStandardItem* cell = jointsModel->item(i, 0))
                cell->setText(QString::number(i + 1));
    connectJointsTableSelection(true);
    restartAndStopAnimation(false);
}

// --- Planners ----------------------------------------------------------------

namespace {

std::vector<int> operandsOf(const SimulationView& view)
{
    return JointPlanning::operandList(view.clickOrder(), view.getSelectedRows2());
}

} // namespace

void SimulationView::addDistanceJointBetweenSelectedBodies()
{
    const std::vector<int> operands = operandsOf(*this);
    if (operands.size() < 2 || !undoStack)
        return;
    const Qt::KeyboardModifiers modifiers =
        jointModifiersOverride ? *jointModifiersOverride : QApplication::keyboardModifiers();
    JointPlanning::DistancePlan plan =
        JointPlanning::planDistanceJoints(bodies, operands, JointPlanning::distanceJointMode(modifiers),
                                          [this](int body, b2Vec2 p) { return isPointInBody(body, p); });
    if (plan.tooFewPositions) {
        showMessage(QString::fromLatin1(JointPlanning::kTooFewPositionsMessage));
        return;
    }
    undoStack->push(new CommandAddDistanceJointsChange(this, joints, std::move(plan.requests)));
}

void SimulationView::addRevoluteJointBetweenSelectedBodies()
{
    const std::vector<int> operands = operandsOf(*this);
    if (operands.size() < 2 || !undoStack)
        return;
    undoStack->push(new CommandAddRevoluteJointsChange(this, joints, JointPlanning::planRevoluteJoints(bodies, operands)));
}

void SimulationView::addPrismaticJointBetweenSelectedBodies()
{
    const std::vector<int> operands = operandsOf(*this);
    if (operands.size() < 2 || !undoStack)
        return;
    undoStack->push(
        new CommandAddPrismaticJointsChange(this, joints, JointPlanning::planPrismaticJoints(bodies, operands)));
}

void SimulationView::addSpringJointBetweenSelectedBodies()
{
    const std::vector<int> operands = operandsOf(*this);
    if (operands.size() < 2 || !undoStack)
        return;
    undoStack->push(new CommandAddSpringJointsChange(this, joints, JointPlanning::planSpringJoints(operands)));
}

namespace {

// One "Remove Joint" step for the joints at `rows`, when there are any.
void removeJointRows(SimulationView& view, QUndoStack* stack, std::vector<int> rows)
{
    if (rows.empty() || !stack)
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<MyJoint> removed;
    for (int row : rows)
        removed.push_back(view.joints[size_t(row)]);
    stack->push(new CommandRemoveJointsChange(&view, view.joints, std::move(removed), rows));
}

} // namespace

void SimulationView::removeSelectedJoints()
{
    removeJointRows(*this, undoStack, getSelectedRowsInJointsTable2());
}

void SimulationView::removeJointsOfSelectedBodies()
{
    std::vector<int> rows;
    for (size_t j = 0; j < joints.size(); ++j)
        if (isBodySelected(joints[j].bodyA) || isBodySelected(joints[j].bodyB))
            rows.push_back(int(j));
    removeJointRows(*this, undoStack, std::move(rows));
}
