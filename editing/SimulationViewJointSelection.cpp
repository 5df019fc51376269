// Which joints are selected, kept in step with the joints table and the
// joint property pages. A joint is selected while its JointUserData flag is
// set (the record's own flag follows it); the scene highlights it. The table
// lists only the joints that touch a selected body.
//
// User clicks select whole rows; selections made here select columns 2 to 5
// (columns 0 and 1 are not selectable), so only whole-row ranges count as
// the user's own selection. Code that changes the table's selection detaches
// jointsTableSelectionChanged meanwhile.
#include "simulation/SimulationView.h"

#include "model/JointUserData.h"
#include "model/UserData.h"

#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>

namespace {

void setJointSelected(MyJoint& joint, bool selected)
{
    joint.selected = selected;
    if (joint.jointUserData)
        joint.jointUserData->selected = selected;
}

bool knownType(int type)
{
    return type >= JointType::Distance && type <= JointType::Spring;
}

} // namespace

void SimulationView::connectJointsTableSelection(bool connectIt)
{
    if (!ui.jointsTable || !ui.jointsTable->selectionModel())
        return;
    QItemSelectionModel* model = ui.jointsTable->selectionModel();
    if (connectIt)
        connect(model, &QItemSelectionModel::selectionChanged, this, &SimulationView::jointsTableSelectionChanged,
                Qt::UniqueConnection);
    else
        disconnect(model, &QItemSelectionModel::selectionChanged, this, &SimulationView::jointsTableSelectionChanged);
}

void SimulationView::selectJointRow(int row, QItemSelectionModel::SelectionFlags flags)
{
    if (!jointsModel || !ui.jointsTable || !ui.jointsTable->selectionModel() || row < 0 ||
        row >= jointsModel->rowCount())
        return;
    const QItemSelection cells(jointsModel->index(row, 2), jointsModel->index(row, 5));
    ui.jointsTable->selectionModel()->select(cells, flags);
}

void SimulationView::enableJointPages(const bool present[4])
{
    enableDistanceJointControls(present[JointType::Distance]);
    enableRevoluteJointControls(present[JointType::Revolute]);
    enablePrismaticJointControls(present[JointType::Prismatic]);
    enableSpringJointControls(present[JointType::Spring]);
}

void SimulationView::showJointPage(int type)
{
    if (ui.jointPropertiesTabWidget && knownType(type))
        ui.jointPropertiesTabWidget->setCurrentIndex(type);
}

std::vector<int> SimulationView::getSelectedRowsInJointsTable() const
{
    std::vector<int> rows;
    if (!jointsModel || !ui.jointsTable || !ui.jointsTable->selectionModel())
        return rows;
    const int lastColumn = jointsModel->columnCount() - 1;
    for (const QItemSelectionRange& range : ui.jointsTable->selectionModel()->selection()) {
        if (range.left() != 0 || range.right() != lastColumn)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (size_t(row) < joints.size() && !ui.jointsTable->isRowHidden(row))
                rows.push_back(row);
    }
    return rows;
}

void SimulationView::highlightSelectedJoints(const std::vector<int>& rows)
{
    unhighlightAllJoints();
    for (int row : rows)
        if (row >= 0 && size_t(row) < joints.size())
            setJointSelected(joints[size_t(row)], true);
}

void SimulationView::jointsTableSelectionChanged(const QItemSelection&, const QItemSelection&)
{
    const std::vector<int> rows = getSelectedRowsInJointsTable();
    if (rows.empty()) {
        unhighlightAllJoints();
        const bool none[4] = {false, false, false, false};
        enableJointPages(none);
    } else {
        highlightSelectedJoints(rows);
        setJointControls(rows[0]);
        bool present[4] = {false, false, false, false};
        for (int row : rows)
            if (knownType(joints[size_t(row)].type))
                present[joints[size_t(row)].type] = true;
        enableJointPages(present);
        showJointPage(joints[size_t(rows[0])].type);
    }
    enableDisableMenuCommands();
    refreshView();
}

void SimulationView::selectJoints(std::vector<int> rows)
{
    connectJointsTableSelection(false);
    deselectAllJoints();
    if (ui.jointsTable && ui.jointsTable->selectionModel())
        ui.jointsTable->selectionModel()->clear();
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](int r) { return r < 0 || size_t(r) >= joints.size(); }),
               rows.end());
    for (int row : rows) {
        selectJointRow(row, QItemSelectionModel::Select);
        setJointSelected(joints[size_t(row)], true);
    }
    if (!rows.empty()) {
        const int type = joints[size_t(rows[0])].type;
        setJointControls(rows[0]);
        switch (type) {
        case JointType::Distance:
            enableDistanceJointControls(true);
            break;
        case JointType::Revolute:
            enableRevoluteJointControls(true);
            break;
        case JointType::Prismatic:
            enablePrismaticJointControls(true);
            break;
        case JointType::Spring:
            enableSpringJointControls(true);
            break;
        default:
            break;
        }
        showJointPage(type);
    }
    connectJointsTableSelection(true);
    refreshView();
}

void SimulationView::selectJointsOfSelectedBodies()
{
    if (joints.empty())
        return;
    // The walk only adds to the selection; the table's handler, detached
    // meanwhile, would otherwise clear flags on every partial change.
    connectJointsTableSelection(false);
    bool present[4] = {false, false, false, false};
    int last = -1;
    for (int body : getSelectedRows2()) {
        for (MyJoint& own : bodies[size_t(body)].joints) {
            const int r = own.id;
            if (r < 0 || size_t(r) >= joints.size())
                continue;
            selectJointRow(r, QItemSelectionModel::Select);
            own.selected = true;
            setJointSelected(joints[size_t(r)], true);
            if (knownType(joints[size_t(r)].type))
                present[joints[size_t(r)].type] = true;
            last = r;
        }
    }
    connectJointsTableSelection(true);
    if (last < 0)
        return;
    enableJointPages(present);
    setJointControls(last);
    showJointPage(joints[size_t(last)].type);
    refreshView();
}

void SimulationView::showJointsOfSelectedBodies()
{
    connectJointsTableSelection(false);
    jointRowsFiltered = true;
    if (!joints.empty() && jointsModel && ui.jointsTable) {
        const std::vector<int> selectedBodies = getSelectedRows2();
        std::vector<char> shown(size_t(jointsModel->rowCount()), 0);
        for (int body : selectedBodies)
            for (const MyJoint& own : bodies[size_t(body)].joints)
                if (own.id >= 0 && size_t(own.id) < shown.size())
                    shown[size_t(own.id)] = 1;
        // Only rows whose state changes are touched: hiding thousands of
        // rows one by one is what makes a click slow.
        for (size_t row = 0; row < shown.size(); ++row)
            if (ui.jointsTable->isRowHidden(int(row)) == bool(shown[row]))
                ui.jointsTable->setRowHidden(int(row), !shown[row]);

        auto bodySelected = [&](int body) {
            return std::binary_search(selectedBodies.begin(), selectedBodies.end(), body);
        };
        bool present[4] = {false, false, false, false};
        for (size_t i = 0; i < joints.size(); ++i) {
            MyJoint& joint = joints[i];
            if (!isJointSelected(int(i)))
                continue;
            if (!bodySelected(joint.bodyA) && !bodySelected(joint.bodyB)) {
                selectJointRow(int(i), QItemSelectionModel::Deselect);
                setJointSelected(joint, false);
            } else if (knownType(joint.type)) {
                present[joint.type] = true;
            }
        }
        enableJointPages(present);
    }
    connectJointsTableSelection(true);
}

void SimulationView::showAllJointRows()
{
    jointRowsFiltered = false;
    if (!jointsModel || !ui.jointsTable)
        return;
    for (int row = 0; row < jointsModel->rowCount(); ++row)
        if (ui.jointsTable->isRowHidden(row))
            ui.jointsTable->setRowHidden(row, false);
}

void SimulationView::filterNewJointRow(int row)
{
    if (!jointsModel || !ui.jointsTable || row < 0 || row >= jointsModel->rowCount())
        return;
    // Records installed wholesale (a snapshot, a settings file) have no world
    // body until the next rebuild; their UserData is what it will carry.
    auto selected = [this](int body) {
        if (body < 0 || size_t(body) >= bodies.size())
            return false;
        if (bodies[size_t(body)].body)
            return isBodySelected(body);
        const UserData* data = bodies[size_t(body)].userData;
        return data && data->selected;
    };
    bool shown = true;
    if (jointRowsFiltered) {
        shown = false;
        if (size_t(row) < joints.size())
            shown = selected(joints[size_t(row)].bodyA) || selected(joints[size_t(row)].bodyB);
    }
    if (ui.jointsTable->isRowHidden(row) == shown)
        ui.jointsTable->setRowHidden(row, !shown);
}

void SimulationView::OnSelectAssociatedJoints()
{
    selectJointsOfSelectedBodies();
    highlightJointsOfSelectedBodies();
    enableDisableMenuCommands();
    refreshView();
}

void SimulationView::OnSelectJointsWithTheSameType()
{
    const std::vector<int> selected = getSelectedRowsInJointsTable2();
    if (selected.empty())
        return;
    const int type = joints[size_t(selected[0])].type;
    std::vector<int> rows;
    for (size_t i = 0; i < joints.size(); ++i)
        if (joints[i].type == type)
            rows.push_back(int(i));
    selectJoints(rows);
}

void SimulationView::OnRemoveAssociatedJoints()
{
    removeJointsOfSelectedBodies();
    enableDisableMenuCommands();
}
