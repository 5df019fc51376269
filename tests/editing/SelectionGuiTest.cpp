// Selection in the scene view and in the bodies table: clicks, Shift-clicks
// and the rectangle keep the bodies' flags and the table's rows in step.
#include "EditFixture.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

namespace {

using namespace edit_test;
using Rows = std::vector<int>;

TEST(Selection, ClicksAndShiftClicksInTheViewFollowTheTable)
{
    Edit e;
    e.click(e.bodyPixel(1));
    EXPECT_EQ(e.selected(), Rows({1}));
    EXPECT_EQ(e.tableRows(), Rows({1}));
    EXPECT_EQ(e.view->clickOrder(), Rows({1}));

    e.click(e.bodyPixel(2), Qt::ShiftModifier);
    e.click(e.bodyPixel(0), Qt::ShiftModifier);
    EXPECT_EQ(e.selected(), Rows({0, 1, 2}));
    EXPECT_EQ(e.tableRows(), Rows({0, 1, 2}));
    EXPECT_EQ(e.view->clickOrder(), Rows({1, 2, 0}));

    // Shift on a selected body takes only that one away.
    e.click(e.bodyPixel(2), Qt::ShiftModifier);
    EXPECT_EQ(e.selected(), Rows({0, 1}));
    EXPECT_EQ(e.tableRows(), Rows({0, 1}));
    EXPECT_EQ(e.view->clickOrder(), Rows({1, 0}));

    // A plain click on a selected body keeps the selection (for a drag).
    e.click(e.bodyPixel(0));
    EXPECT_EQ(e.selected(), Rows({0, 1}));

    // Empty space deselects everything.
    e.click(e.emptyPixel());
    EXPECT_TRUE(e.selected().empty());
    EXPECT_TRUE(e.tableRows().empty());
    EXPECT_TRUE(e.view->clickOrder().empty());
}

TEST(Selection, TheRectangleAddsTheBodiesItMeetsFromEitherCorner)
{
    Edit e;
    const QPoint topLeft = e.pixel(b2Vec2(-4.0f, -1.0f));
    const QPoint bottomRight = e.pixel(b2Vec2(0.2f, 1.0f));
    e.drag(bottomRight, topLeft);
    EXPECT_EQ(e.selected(), Rows({0, 1}));
    EXPECT_EQ(e.tableRows(), Rows({0, 1}));
    EXPECT_FALSE(e.view->isSelectingRect());
    EXPECT_TRUE(e.view->form().infoSt->text().endsWith("\nSelected: 2"));

    // With Shift the selection stays and the next rectangle adds to it.
    e.drag(e.pixel(b2Vec2(2.5f, -1.0f)), e.pixel(b2Vec2(4.0f, 1.0f)), Qt::ShiftModifier);
    EXPECT_EQ(e.selected(), Rows({0, 1, 2}));
    EXPECT_EQ(e.tableRows(), Rows({0, 1, 2}));
    // The rectangle moved nothing and recorded nothing.
    EXPECT_EQ(e.stack->count(), 0);
}

TEST(Selection, TheTableSelectsTheBodies)
{
    Edit e;
    QTableView* table = e.view->form().bodiesTable;
    QItemSelectionModel* model = table->selectionModel();
    const auto rowOf = [&](int row) { return table->model()->index(row, 4); };

    model->select(rowOf(2), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(e.selected(), Rows({2}));
    model->select(rowOf(0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(e.selected(), Rows({0, 2}));
    EXPECT_TRUE(e.view->form().densityEt->isEnabled());
    // The first range of the table (row 2, selected first) is shown.
    EXPECT_TRUE(e.view->form().infoSt->text().startsWith("Body Index: 3\n"));

    model->clearSelection();
    EXPECT_TRUE(e.selected().empty());
    EXPECT_FALSE(e.view->form().densityEt->isEnabled());
}

TEST(Selection, TheClickOrderHoldsOnlySelectedBodies)
{
    Edit e;
    e.click(e.bodyPixel(0));
    e.click(e.bodyPixel(1), Qt::ShiftModifier);
    EXPECT_EQ(e.view->clickOrder(), Rows({0, 1}));

    // A selection made by command leaves no stale entries behind.
    e.view->selectBodies({1});
    EXPECT_EQ(e.view->clickOrder(), Rows({1}));
    EXPECT_EQ(e.view->selectedClickOrder(), Rows({1}));

    // Nor does a change made in the table.
    e.view->form().bodiesTable->selectionModel()->select(
        e.view->form().bodiesTable->model()->index(2, 4),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_TRUE(e.view->clickOrder().empty());
}

TEST(Selection, InvertAndSameTypeSelectThroughTheTable)
{
    Edit e;
    e.view->OnInvertSelection();
    EXPECT_EQ(e.selected(), Rows({0, 1, 2}));
    e.view->OnInvertSelection();
    EXPECT_TRUE(e.selected().empty());

    e.view->setType({BodyType::Static}, {2});
    e.view->selectBodies({0});
    e.view->OnSelectBodiesWithTheSameType();
    EXPECT_EQ(e.selected(), Rows({0, 1}));
    EXPECT_EQ(e.tableRows(), Rows({0, 1}));
}

} // namespace
