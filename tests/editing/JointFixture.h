// A shown main window over a composition of 100 x 100 solids, for the joint
// tests: helpers that select bodies, read the joints table and check that
// the joint list, the table and the bodies' own lists agree.
#pragma once

#include "mainwindow/WindowFixture.h"

#include "render/GLWidget.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <set>

namespace joint_test {

// A composition of 1000 x 1000 pixels (world origin at its centre, 100
// pixels a world unit) with one 100 x 100 solid per position.
inline QByteArray project(const std::vector<std::pair<int, int>>& positions)
{
    QByteArray layers;
    for (size_t i = 0; i < positions.size(); ++i) {
        if (i)
            layers += ",";
        layers += QByteArray(R"({"id": )") + QByteArray::number(int(i) + 1) + R"(, "type": "solid", "name": "L)" +
                  QByteArray::number(int(i) + 1) + R"(", "source": 1, "transform": {"position": [)" +
                  QByteArray::number(positions[i].first) + ", " + QByteArray::number(positions[i].second) + "]}}";
    }
    return QByteArray(R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [)") + layers + R"(]}],
    "activeItem": "Main"
})";
}

// Bodies 0, 1, 2 at world (-3, 0), (0, 0), (3, 0).
inline QByteArray threeInARow() { return project({{200, 500}, {500, 500}, {800, 500}}); }

struct Scene
{
    explicit Scene(const QByteArray& json = threeInARow())
        : host(window_test::makeHost(18, 0, json))
        , window(window_test::makeWindow(*host))
        , view(window->simulationView())
        , stack(view->getUndoStack())
        , ui(view->form())
    {
        window_test::showStill(*window);
        view->zoomFit();
    }

    QStandardItemModel* model() const { return view->jointsTableModel(); }
    QString lastText() const { return stack->count() ? stack->text(stack->count() - 1) : QString(); }
    std::vector<int> selectedJoints() const { return view->getSelectedRowsInJointsTable2(); }
    std::vector<std::pair<int, int>> pairs() const
    {
        std::vector<std::pair<int, int>> result;
        for (const MyJoint& j : view->joints)
            result.emplace_back(j.bodyA, j.bodyB);
        return result;
    }

    // Selects bodies as the bodies table would (no click order).
    void selectBodies(const std::vector<int>& rows) { view->selectBodies(rows); }
    void addAll(const std::vector<int>& rows, void (SimulationView::*planner)())
    {
        selectBodies(rows);
        (view->*planner)();
    }

    // A click on a cell of the joints table, as the user makes it.
    void clickCell(int row, int column, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTableView* table = ui.jointsTable;
        const QRect rect = table->visualRect(model()->index(row, column));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, mods, rect.center());
    }

    std::unique_ptr<window_test::Host> host;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view;
    QUndoStack* stack;
    const Ui::ZolvarDlgClass& ui;
};

// Accepts every message box that comes up while it lives and keeps the texts.
struct MessageCatcher
{
    MessageCatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer.start(10);
    }
    QTimer timer;
    QStringList texts;
};

// Joint i in row i with id i and number i + 1, the type cell and body
// columns matching the record, and each body's list holding exactly the ids
// of the joints that touch it.
inline void expectConsistent(const SimulationView& view)
{
    const QStandardItemModel* model = view.jointsTableModel();
    const std::vector<MyJoint>& joints = view.joints;
    ASSERT_EQ(size_t(model->rowCount()), joints.size());
    static const char* const tips[] = {"Distance Joint", "Pivot Joint", "Piston Joint", "Spring Joint"};
    for (size_t i = 0; i < joints.size(); ++i) {
        const MyJoint& j = joints[i];
        EXPECT_EQ(j.id, int(i));
        EXPECT_EQ(model->item(int(i), 0)->text(), QString::number(i + 1));
        EXPECT_EQ(model->item(int(i), 1)->toolTip(), QString::fromLatin1(tips[j.type]));
        const bool knownA = j.bodyA >= 0 && size_t(j.bodyA) < view.bodies.size();
        const bool knownB = j.bodyB >= 0 && size_t(j.bodyB) < view.bodies.size();
        EXPECT_EQ(model->item(int(i), 2)->text(),
                  knownA ? QString::number(view.bodies[size_t(j.bodyA)].index) : QString());
        EXPECT_EQ(model->item(int(i), 5)->text(), knownB ? view.bodies[size_t(j.bodyB)].name : QString());
    }
    for (size_t b = 0; b < view.bodies.size(); ++b) {
        std::multiset<int> own, expected;
        for (const MyJoint& j : view.bodies[b].joints)
            own.insert(j.id);
        for (size_t i = 0; i < joints.size(); ++i)
            if (joints[i].bodyA == int(b) || joints[i].bodyB == int(b))
                expected.insert(int(i));
        EXPECT_EQ(own, expected) << "body " << b;
    }
}

} // namespace joint_test
