// Joint selection: clicks in the joints table, the pages of the joint panel
// that follow it, the rows shown for the selected bodies and the two select
// commands.
#include "JointFixture.h"

#include "properties/EditBox.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QTabWidget>

namespace {

using namespace joint_test;
using Rows = std::vector<int>;

// Whether each page's first widget is enabled: distance, pivot, piston, spring.
std::vector<bool> pages(const Scene& s)
{
    return {s.ui.distanceJointFrequencyEt->isEnabled(), s.ui.revoluteJointLowerAngleEt->isEnabled(),
            s.ui.prismaticJointLowerTranslationEt->isEnabled(), s.ui.springJointSpringinessEt->isEnabled()};
}

// The rows of the joints table that are listed.
Rows shownRows(Scene& s)
{
    Rows rows;
    for (int r = 0; r < s.model()->rowCount(); ++r)
        if (!s.ui.jointsTable->isRowHidden(r))
            rows.push_back(r);
    return rows;
}

// Bodies P, Q, R (0, 1, 2): a distance joint P-Q (row 0), a pivot Q-R (row 1)
// and a spring P-R (row 2); every row shown.
struct Chain : Scene
{
    Chain()
    {
        addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
        addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
        addAll({0, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);
        selectBodies({0, 1, 2});
        view->selectJoints({});
    }
};

TEST(JointSelection, ClickedRowsSelectTheirJointsAndPages)
{
    Chain s;
    s.ui.jointPropertiesTabWidget->setCurrentIndex(0);
    s.view->joints[1].lowerAngle = -12.5f;
    s.clickCell(1, 3);
    EXPECT_EQ(s.selectedJoints(), Rows({1}));
    EXPECT_TRUE(s.view->joints[1].jointUserData->selected);
    EXPECT_EQ(s.ui.jointPropertiesTabWidget->currentIndex(), 1);
    EXPECT_EQ(pages(s), std::vector<bool>({false, true, false, false}));
    EXPECT_DOUBLE_EQ(s.ui.revoluteJointLowerAngleEt->value(), -12.5);
    EXPECT_EQ(s.ui.revoluteJointLowerAngleSld->value(), -12500);
    EXPECT_EQ(s.stack->count(), 3);  // showing values made no command

    // Ctrl adds a spring: both pages, the pivot stays current.
    s.clickCell(2, 5, Qt::ControlModifier);
    EXPECT_EQ(s.selectedJoints(), Rows({1, 2}));
    EXPECT_EQ(pages(s), std::vector<bool>({false, true, false, true}));
    EXPECT_EQ(s.ui.jointPropertiesTabWidget->currentIndex(), 1);

    // Clearing disables every page and every highlight.
    s.ui.jointsTable->selectionModel()->clear();
    EXPECT_TRUE(s.selectedJoints().empty());
    EXPECT_EQ(pages(s), std::vector<bool>({false, false, false, false}));
}

TEST(JointSelection, OnlyWholeRowRangesCount)
{
    Chain s;
    // Columns 2 to 5: Qt selects the whole row range.
    for (int column : {2, 3, 4, 5}) {
        s.clickCell(0, column);
        EXPECT_EQ(s.view->getSelectedRowsInJointsTable(), Rows({0})) << column;
        EXPECT_EQ(s.selectedJoints(), Rows({0})) << column;
        s.ui.jointsTable->selectionModel()->clear();
    }
    // Columns 0 and 1 cannot be selected: nothing is.
    for (int column : {0, 1}) {
        s.clickCell(2, column);
        EXPECT_TRUE(s.selectedJoints().empty()) << column;
    }
    // A program selection of columns 2 to 5 is no whole row and does not
    // reach the handler, which would enable both pages.
    s.view->selectJoints({0, 2});
    EXPECT_EQ(s.selectedJoints(), Rows({0, 2}));
    EXPECT_TRUE(s.view->getSelectedRowsInJointsTable().empty());
    EXPECT_EQ(pages(s), std::vector<bool>({true, false, false, false}));
    EXPECT_EQ(s.ui.jointPropertiesTabWidget->currentIndex(), 0);
}

TEST(JointSelection, TheTableShowsTheJointsOfTheSelectedBodies)
{
    Scene s;
    s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);  // P-Q
    s.addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);    // Q-R
    auto shown = [&] { return shownRows(s); };
    s.selectBodies({1});
    EXPECT_EQ(shown(), Rows({0, 1}));

    s.view->selectJoints({1});
    EXPECT_EQ(pages(s), std::vector<bool>({false, false, false, true}));
    s.selectBodies({0});
    EXPECT_EQ(shown(), Rows({0}));
    EXPECT_TRUE(s.selectedJoints().empty());
    EXPECT_FALSE(s.view->joints[1].jointUserData->selected);
    EXPECT_EQ(pages(s), std::vector<bool>({false, false, false, false}));

    s.selectBodies({});
    EXPECT_TRUE(shown().empty());
}

TEST(JointSelection, SameTypeAndTheSelectedBodiesCommands)
{
    Scene s(project({{200, 500}, {500, 500}, {800, 500}, {500, 200}}));
    s.addAll({0, 1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);  // rows 0, 1
    s.addAll({1, 3}, &SimulationView::addSpringJointBetweenSelectedBodies);       // row 2
    s.addAll({2, 3}, &SimulationView::addRevoluteJointBetweenSelectedBodies);     // row 3
    s.selectBodies({0, 1, 2, 3});

    s.view->OnSelectJointsWithTheSameType();  // nothing selected: nothing happens
    EXPECT_TRUE(s.selectedJoints().empty());

    s.ui.jointPropertiesTabWidget->setCurrentIndex(3);
    s.view->selectJoints({1});
    s.view->OnSelectJointsWithTheSameType();
    EXPECT_EQ(s.selectedJoints(), Rows({0, 1, 3}));
    EXPECT_EQ(s.ui.jointPropertiesTabWidget->currentIndex(), 1);

    // Q and R share joint 1; each brings its other joints.
    s.view->selectJoints({});
    s.selectBodies({1, 2});
    s.view->OnSelectAssociatedJoints();
    EXPECT_EQ(s.selectedJoints(), Rows({0, 1, 2, 3}));
    EXPECT_EQ(pages(s), std::vector<bool>({false, true, false, true}));

    s.view->selectJoints({});
    s.selectBodies({3});
    s.view->OnSelectAssociatedJoints();
    EXPECT_EQ(s.selectedJoints(), Rows({2, 3}));
    // The last joint seen is shown: the pivot R-S.
    EXPECT_EQ(s.ui.jointPropertiesTabWidget->currentIndex(), 1);

    // Alt+W removes the joints of the selected body.
    s.view->OnRemoveAssociatedJoints();
    EXPECT_EQ(s.view->joints.size(), 2u);
    expectConsistent(*s.view);
}

// Rows put back by undo and redo follow the body selection of the moment,
// like the rows that stayed; after a click on no body every row is listed.
TEST(JointSelection, RowsPutBackByUndoAndRedoFollowTheBodySelection)
{
    Scene s(project({{200, 500}, {500, 500}, {800, 500}, {500, 200}}));
    s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);  // row 0: P-Q
    s.addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);    // row 1: Q-R
    s.addAll({2, 3}, &SimulationView::addRevoluteJointBetweenSelectedBodies);  // row 2: R-S
    s.addAll({0, 3}, &SimulationView::addRevoluteJointBetweenSelectedBodies);  // row 3: P-S
    auto shown = [&] { return shownRows(s); };

    // Remove Q-R and R-S, then select P alone: its joints are rows 0 and 1.
    s.selectBodies({0, 1, 2, 3});
    s.view->selectJoints({1, 2});
    s.view->removeSelectedJoints();
    s.selectBodies({0});
    EXPECT_EQ(shown(), Rows({0, 1}));

    // Undo puts Q-R and R-S back at rows 1 and 2; neither touches P.
    s.stack->undo();
    expectConsistent(*s.view);
    EXPECT_EQ(shown(), Rows({0, 3}));
    s.selectBodies({2});
    EXPECT_EQ(shown(), Rows({1, 2}));
    s.stack->redo();
    EXPECT_TRUE(shown().empty());  // R's joints are gone
    s.stack->undo();
    EXPECT_EQ(shown(), Rows({1, 2}));

    // Undoing and redoing an addition: the redone row follows too.
    s.addAll({1, 3}, &SimulationView::addSpringJointBetweenSelectedBodies);  // row 4: Q-S
    s.stack->undo();
    s.selectBodies({0});
    s.stack->redo();
    EXPECT_EQ(shown(), Rows({0, 3}));

    // A click on no body lists every joint again, and so do rows put back
    // then.
    GLWidget* gl = s.view->getGLWidget();
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier,
                      QPoint(int(gl->getViewXCoordFromGL(-4.0f, float(gl->width()))),
                             int(gl->getViewYCoordFromGL(-4.0f, float(gl->height())))));
    EXPECT_TRUE(s.view->getSelectedRows2().empty());
    EXPECT_EQ(shown(), Rows({0, 1, 2, 3, 4}));
    s.stack->undo();
    s.stack->redo();
    EXPECT_EQ(shown(), Rows({0, 1, 2, 3, 4}));
    expectConsistent(*s.view);
}

// The whole joint list put back at once (a snapshot restored, a reset
// undone) is listed by the same rule.
TEST(JointSelection, AWholeJointListPutBackFollowsTheBodySelection)
{
    Scene s;
    s.addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);  // row 0: P-Q
    s.addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);    // row 1: Q-R
    auto shown = [&] { return shownRows(s); };
    s.selectBodies({0});
    ASSERT_EQ(shown(), Rows({0}));

    s.view->OnAddQuickPresetBtn();
    s.view->quickPresetsTableDoubleClicked(s.view->presetsModel()->index(0, 0));
    EXPECT_EQ(s.lastText(), "Restore Scene Snapshot");
    EXPECT_EQ(s.view->getSelectedRows2(), Rows({0}));
    EXPECT_EQ(shown(), Rows({0}));

    s.view->OnResetScene();
    EXPECT_EQ(s.lastText(), "Reset Scene");
    s.stack->undo();
    ASSERT_EQ(s.model()->rowCount(), 2);
    EXPECT_EQ(s.view->getSelectedRows2(), Rows({0}));
    EXPECT_EQ(shown(), Rows({0}));
    expectConsistent(*s.view);
}

} // namespace
