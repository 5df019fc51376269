// Which bodies are selected: a click in the view, a selection rectangle,
// the bodies table and the select commands. The selection lives in the
// selected flag of each body's fixture data; the bodies table and the body
// panel follow it.
#include "simulation/SimulationView.h"

#include "model/JointUserData.h"
#include "model/UserData.h"
#include "properties/BodiesTableView.h"
#include "render/GLWidget.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The first pickable fixture that holds the point.
class QueryCallback : public b2QueryCallback
{
public:
    explicit QueryCallback(b2Vec2 point) : point(point) {}
    bool ReportFixture(b2Fixture* f) override
    {
        const auto* data = reinterpret_cast<const UserData*>(f->GetUserData().pointer);
        if (data && data->pickable && f->TestPoint(point)) {
            fixture = f;
            return false;
        }
        return true;
    }
    b2Vec2 point;
    b2Fixture* fixture = nullptr;
};

// Every body with a fixture whose own bounding box overlaps the query box
// (the world reports fixtures by their broad-phase boxes, which are larger).
class QueryCallbackForRectSel : public b2QueryCallback
{
public:
    explicit QueryCallbackForRectSel(const b2AABB& box) : box(box) {}
    bool ReportFixture(b2Fixture* f) override
    {
        const b2Transform& xf = f->GetBody()->GetTransform();
        for (int child = 0; child < f->GetShape()->GetChildCount(); ++child) {
            b2AABB own;
            f->GetShape()->ComputeAABB(&own, xf, child);
            if (b2TestOverlap(own, box)) {
                found.push_back(f->GetBody());
                break;
            }
        }
        return true;
    }
    b2AABB box;
    std::vector<b2Body*> found;
};

} // namespace

void SimulationView::connectBodiesTableSelection(bool connectIt)
{
    if (!ui.bodiesTable || !ui.bodiesTable->selectionModel())
        return;
    QItemSelectionModel* model = ui.bodiesTable->selectionModel();
    if (connectIt)
        connect(model, &QItemSelectionModel::selectionChanged, this, &SimulationView::bodiesTableSelectionChanged,
                Qt::UniqueConnection);
    else
        disconnect(model, &QItemSelectionModel::selectionChanged, this, &SimulationView::bodiesTableSelectionChanged);
}

void SimulationView::selectTableRow(int row, bool select)
{
    if (!ui.bodiesTable || !ui.bodiesTable->selectionModel() || !bodiesModel)
        return;
    const QModelIndex cell = bodiesModel->index(row, 4);
    // A click in the table selects the whole row: a deselection takes every
    // cell of it, or the row would stay listed as selected.
    ui.bodiesTable->selectionModel()->select(cell, select ? QItemSelectionModel::Select
                                                          : QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void SimulationView::scrollBodiesTableTo(int row)
{
    if (!ui.bodiesTable || !bodiesModel || row < 0 || row >= bodiesModel->rowCount())
        return;
    // Vertically only where it can: the column at the left edge stays.
    const int column = std::max(0, ui.bodiesTable->columnAt(0));
    ui.bodiesTable->scrollTo(bodiesModel->index(row, column), QAbstractItemView::EnsureVisible);
}

void SimulationView::clearTableSelection()
{
    if (ui.bodiesTable && ui.bodiesTable->selectionModel())
        ui.bodiesTable->selectionModel()->clear();
}

bool SimulationView::isBodySelected(int body) const
{
    const UserData* data = bodyUserData(body);
    return data && data->selected;
}

bool SimulationView::isJointSelected(int joint) const
{
    if (joint < 0 || size_t(joint) >= joints.size())
        return false;
    const JointUserData* data = joints[size_t(joint)].jointUserData;
    return data ? data->selected : joints[size_t(joint)].selected;
}

bool SimulationView::isPointInBody(int body, b2Vec2 point) const
{
    if (body < 0 || size_t(body) >= bodies.size() || !bodies[size_t(body)].body)
        return false;
    for (const b2Fixture* f = bodies[size_t(body)].body->GetFixtureList(); f; f = f->GetNext())
        if (f->TestPoint(point))
            return true;
    return false;
}

std::vector<int> SimulationView::getSelectedRows2() const
{
    std::vector<int> rows;
    for (size_t i = 0; i < bodies.size(); ++i)
        if (isBodySelected(int(i)))
            rows.push_back(int(i));
    return rows;
}

std::vector<int> SimulationView::getSelectedRows() const
{
    std::vector<int> rows;
    if (!ui.bodiesTable || !ui.bodiesTable->selectionModel())
        return rows;
    for (const QItemSelectionRange& range : ui.bodiesTable->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (row >= 0 && size_t(row) < bodies.size() && std::find(rows.begin(), rows.end(), row) == rows.end())
                rows.push_back(row);
    return rows;
}

std::vector<int> SimulationView::getSelectedRowsInJointsTable2() const
{
    std::vector<int> rows;
    for (size_t i = 0; i < joints.size(); ++i)
        if (isJointSelected(int(i)))
            rows.push_back(int(i));
    return rows;
}

std::vector<int> SimulationView::selectedClickOrder() const
{
    std::vector<int> order;
    for (int body : bodyClickOrder)
        if (isBodySelected(body))
            order.push_back(body);
    return order;
}

void SimulationView::pruneClickOrder()
{
    bodyClickOrder = selectedClickOrder();
}

void SimulationView::deselectAllBodies()
{
    for (size_t i = 0; i < bodies.size(); ++i)
        if (UserData* data = bodyUserData(int(i)))
            data->selected = false;
    if (glWidget)
        glWidget->dragList.clear();
}

void SimulationView::unhighlightAllJoints()
{
    for (MyJoint& joint : joints) {
        joint.selected = false;
        if (joint.jointUserData)
            joint.jointUserData->selected = false;
    }
}

void SimulationView::deselectAllJoints()
{
    if (ui.jointsTable && ui.jointsTable->selectionModel())
        ui.jointsTable->selectionModel()->clear();
    unhighlightAllJoints();
}

void SimulationView::highlightJointsOfSelectedBodies()
{
    for (int body : getSelectedRows2())
        for (const MyJoint& own : bodies[size_t(body)].joints)
            if (own.id >= 0 && size_t(own.id) < joints.size()) {
                MyJoint& joint = joints[size_t(own.id)];
                joint.selected = true;
                if (joint.jointUserData)
                    joint.jointUserData->selected = true;
            }
}

void SimulationView::doClickAtPointInSelectionMode(b2Vec2 point, QMouseEvent* event)
{
    connectBodiesTableSelection(false);
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;

    QueryCallback query(point);
    if (world) {
        b2AABB box;
        box.lowerBound = point - b2Vec2(0.001f, 0.001f);
        box.upperBound = point + b2Vec2(0.001f, 0.001f);
        world->QueryAABB(&query, box);
    }
    int hit = -1;
    if (query.fixture)
        if (const auto* data = reinterpret_cast<const UserData*>(query.fixture->GetUserData().pointer))
            hit = data->bodyIndex;
    if (hit >= 0 && size_t(hit) >= bodies.size())
        hit = -1;

    const bool wasSelected = hit >= 0 && isBodySelected(hit);
    if (hit >= 0) {
        if (shift) {
            if (!wasSelected)
                bodyClickOrder.push_back(hit);
            else if (auto it = std::find(bodyClickOrder.begin(), bodyClickOrder.end(), hit);
                     it != bodyClickOrder.end())
                bodyClickOrder.erase(it);
        } else if (!wasSelected) {
            bodyClickOrder.assign(1, hit);
        }
    } else {
        bodyClickOrder.clear();
    }

    std::vector<int>& dragList = glWidget->dragList;
    if (hit < 0) {
        if (!shift) {
            deselectAllBodies();
            clearTableSelection();
            enableBodyControls(false);
            deselectAllJoints();
            showAllJointRows();
        }
        if (event->button() == Qt::LeftButton) {
            selectionRectStart = event->position().toPoint();
            selectionRectActive = true;
            glWidget->selRectStart = glWidget->selRectEnd = point;
            glWidget->selRectTracking = true;
            glWidget->selRectShown = true;
        }
    } else {
        dragList.clear();
        int shown = -1;
        for (size_t i = 0; i < bodies.size(); ++i) {
            if (int(i) == hit) {
                if (!(wasSelected && ctrl))
                    shown = hit;
            } else if (isBodySelected(int(i)) && ctrl && shown < 0) {
                shown = int(i);
            }
        }
        UserData* data = reinterpret_cast<UserData*>(query.fixture->GetUserData().pointer);
        if (shift) {
            data->selected = !data->selected;
            selectTableRow(hit, data->selected);
        } else if (!wasSelected) {
            deselectAllBodies();
            clearTableSelection();
            data->selected = true;
            selectTableRow(hit, true);
        }
        dragList = getSelectedRows2();
        // A Shift+click that deselected the body shows the first body still
        // selected: the panel never shows a body its edits would not reach.
        if (shown >= 0 && !isBodySelected(shown) && !dragList.empty())
            shown = dragList[0];
        // The row of the body just clicked may lie out of the list's sight.
        if (isBodySelected(hit))
            scrollBodiesTableTo(hit);
        if (!dragList.empty() && shown >= 0) {
            enableBodyControls(true);
            setBodyControls(shown);
            showJointsOfSelectedBodies();
        } else {
            enableBodyControls(false);
            deselectAllJoints();
        }
        glWidget->lastMouseX = event->position().toPoint().x();
        glWidget->lastMouseY = event->position().toPoint().y();
        glWidget->dragArmed = true;
    }

    if (!dragList.empty()) {
        looping = false;
        if (ui.playBtn)
            ui.playBtn->setChecked(false);
        if (ui.repeatBtn)
            ui.repeatBtn->setChecked(false);
    }
    if (dragList.size() == 1)
        showBodyInfo(dragList[0]);
    else
        clearInfo();
    enableDisableMenuCommands();
    connectBodiesTableSelection(true);
    refreshView();
}

// The end of a selection rectangle: the bodies it meets join the selection.
void SimulationView::finishSelectionRect(QMouseEvent* event)
{
    connectBodiesTableSelection(false);
    selectionRectActive = false;
    glWidget->selRectTracking = false;
    glWidget->selRectShown = false;
    selectionRectEnd = event->position().toPoint();
    // A click that hit nothing is no rectangle: it selects nothing.
    if (selectionRectEnd == selectionRectStart) {
        connectBodiesTableSelection(true);
        refreshView();
        return;
    }
    const float w = float(width());
    const float h = float(height());
    const float x0 = glWidget->getGLXCoordFromView(float(selectionRectStart.x()), w);
    const float y0 = glWidget->getGLYCoordFromView(float(selectionRectStart.y()), h);
    const float x1 = glWidget->getGLXCoordFromView(float(selectionRectEnd.x()), w);
    const float y1 = glWidget->getGLYCoordFromView(float(selectionRectEnd.y()), h);
    b2AABB box;
    box.lowerBound.Set(std::min(x0, x1), std::min(y0, y1));
    box.upperBound.Set(std::max(x0, x1), std::max(y0, y1));
    QueryCallbackForRectSel query(box);
    if (world)
        world->QueryAABB(&query, box);
    const b2Body* previous = nullptr;
    int lastRow = -1;
    for (const b2Body* b : query.found) {
        if (b == previous)
            continue;
        previous = b;
        const int row = getBodyIdFromB2Body(b);
        if (row < 0)
            continue;
        lastRow = row;
        if (UserData* data = bodyUserData(row); data && !data->selected) {
            data->selected = true;
            selectTableRow(row, true);
        }
    }
    if (!query.found.empty()) {
        if (lastRow >= 0) {
            enableBodyControls(true);
            setBodyControls(lastRow);
        }
        showJointsOfSelectedBodies();
        if (ui.infoSt)
            ui.infoSt->setText(ui.infoSt->text() + QStringLiteral("\nSelected: ") +
                               QString::number(getSelectedRows2().size()));
        enableDisableMenuCommands();
    }
    connectBodiesTableSelection(true);
    refreshView();
}

void SimulationView::bodiesTableSelectionChanged(const QItemSelection&, const QItemSelection&)
{
    const std::vector<int> rows = getSelectedRows();
    const int first = rows.empty() ? -1 : rows[0];
    if (first >= 0) {
        showBodyInfo(first);
        for (size_t i = 0; i < bodies.size(); ++i)
            if (UserData* data = bodyUserData(int(i)))
                data->selected = std::find(rows.begin(), rows.end(), int(i)) != rows.end();
        setBodyControls(first);
        enableBodyControls(true);
        showJointsOfSelectedBodies();
        if (playing)
            restartAndStopAnimation(false);
    } else {
        deselectAllBodies();
        enableBodyControls(false);
        clearInfo();
    }
    pruneClickOrder();
    enableDisableMenuCommands();
    refreshView();
}

void SimulationView::bodiesTableItemClicked(const QModelIndex& index)
{
    const int row = index.row();
    const std::vector<int> rows = getSelectedRows();
    const bool selectedNow = std::find(rows.begin(), rows.end(), row) != rows.end();
    const auto it = std::find(bodyClickOrder.begin(), bodyClickOrder.end(), row);
    if (selectedNow && it == bodyClickOrder.end()) {
        if (!(QApplication::keyboardModifiers() & Qt::ControlModifier))
            bodyClickOrder.clear();
        bodyClickOrder.push_back(row);
    } else if (!selectedNow && it != bodyClickOrder.end()) {
        bodyClickOrder.erase(it);
    }
    enableDisableMenuCommands();
}

void SimulationView::selectBodies(std::vector<int> indices)
{
    connectBodiesTableSelection(false);
    deselectAllBodies();
    clearTableSelection();
    for (int i : indices)
        if (UserData* data = bodyUserData(i)) {
            data->selected = true;
            selectTableRow(i, true);
        }
    if (!indices.empty()) {
        setBodyControls(indices[0]);
        enableBodyControls(true);
    } else {
        enableBodyControls(false);
    }
    showJointsOfSelectedBodies();
    pruneClickOrder();
    connectBodiesTableSelection(true);
    enableDisableMenuCommands();
    refreshView();
}

void SimulationView::selectLike(const std::function<bool(const MyBody&, const MyBody&)>& alike)
{
    const std::vector<int> selected = getSelectedRows2();
    std::vector<int> matches;
    if (!selected.empty()) {
        const MyBody& reference = bodies[size_t(selected[0])];
        for (size_t i = 0; i < bodies.size(); ++i)
            if (alike(bodies[i], reference))
                matches.push_back(int(i));
    }
    selectBodies(matches);
}

namespace {

bool sameColour(const AEGP_ColorVal& a, const AEGP_ColorVal& b)
{
    return std::fabs(a.red - b.red) < 0.01 && std::fabs(a.green - b.green) < 0.01 &&
           std::fabs(a.blue - b.blue) < 0.01;
}

} // namespace

void SimulationView::OnSelectBodiesWithTheSameColor()
{
    bodyClickOrder.clear();
    selectLike([](const MyBody& b, const MyBody& r) { return sameColour(b.color, r.color); });
}

void SimulationView::OnSelectBodiesWithTheSameLabel()
{
    selectLike([](const MyBody& b, const MyBody& r) { return sameColour(b.labelColor, r.labelColor); });
}

void SimulationView::OnSelectBodiesWithTheSameCollisionGroup()
{
    selectLike([](const MyBody& b, const MyBody& r) { return b.categoryBits == r.categoryBits; });
}

void SimulationView::OnSelectBodiesWithTheSameType()
{
    selectLike([](const MyBody& b, const MyBody& r) { return b.type == r.type; });
}

void SimulationView::OnInvertSelection()
{
    std::vector<int> unselected;
    if (getSelectedRows2().size() < bodies.size())
        for (size_t i = 0; i < bodies.size(); ++i)
            if (!isBodySelected(int(i)))
                unselected.push_back(int(i));
    selectBodies(unselected);
}

void SimulationView::setBodyTransforms(std::vector<MyBody> records, std::vector<int> rows)
{
    for (MyJoint& joint : joints) {
        if (joint.type != JointType::Revolute)
            continue;
        const auto a = std::find(rows.begin(), rows.end(), joint.bodyA);
        if (a == rows.end() || std::find(rows.begin(), rows.end(), joint.bodyB) == rows.end())
            continue;
        const size_t k = size_t(a - rows.begin());
        if (k >= records.size() || joint.bodyA < 0 || size_t(joint.bodyA) >= bodies.size())
            continue;
        joint.anchor += records[k].position - bodies[size_t(joint.bodyA)].position;
        joint.committedAnchor = joint.anchor;
    }
    for (size_t k = 0; k < rows.size() && k < records.size(); ++k) {
        if (rows[k] < 0 || size_t(rows[k]) >= bodies.size())
            continue;
        MyBody& record = bodies[size_t(rows[k])];
        record.position = record.committedPosition = records[k].position;
        record.angle = records[k].angle;
    }
}
