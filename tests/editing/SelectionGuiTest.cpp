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

// Shift+click on a selected body deselects it; the panel then shows a body
// still selected, never the one just left out.
TEST(Selection, AShiftClickThatDeselectsShowsABodyStillSelected)
{
    Edit e;
    e.view->setDensity({2.0f, 3.0f, 4.0f}, {0, 1, 2});
    e.click(e.bodyPixel(0));
    e.click(e.bodyPixel(2), Qt::ShiftModifier);
    EXPECT_EQ(e.view->form().densityEt->value(), 4.0);
    e.click(e.bodyPixel(2), Qt::ShiftModifier);
    EXPECT_EQ(e.selected(), std::vector<int>({0}));
    EXPECT_EQ(e.view->form().densityEt->value(), 2.0);
    EXPECT_TRUE(e.view->bodyPanelShows(0));
    // Deselecting the last one disables the panel.
    e.click(e.bodyPixel(0), Qt::ShiftModifier);
    EXPECT_TRUE(e.selected().empty());
    EXPECT_FALSE(e.view->form().densityEt->isEnabled());

    // A row selected by a click on its name in the table (every cell of the
    // row) leaves the table with the body when Shift+click deselects it.
    QTableView* table = e.view->form().bodiesTable;
    const QRect name = table->visualRect(table->model()->index(1, 4));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, name.center());
    ASSERT_EQ(e.tableRows(), std::vector<int>({1}));
    ASSERT_EQ(e.selected(), std::vector<int>({1}));
    e.click(e.bodyPixel(1), Qt::ShiftModifier);
    EXPECT_TRUE(e.selected().empty());
    EXPECT_TRUE(e.tableRows().empty());
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

TEST(Selection, AClickBesideAnOutlineSelectsNothing)
{
    // A triangle (the lower left half of its 100 x 100 box) at (300, 500)
    // and a box at (700, 500); the world is in composition pixels / 100
    // about the middle of the 1000 x 1000 composition.
    Edit e(R"({"format": "zolvar-standin-project",
        "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100}],
        "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
            "layers": [
                {"id": 1, "type": "solid", "name": "T", "source": 1, "transform": {"position": [300, 500]},
                 "masks": [{"shape": {"closed": true, "vertices": [[0, 0], [0, 100], [100, 100]]}}]},
                {"id": 2, "type": "solid", "name": "B", "source": 1, "transform": {"position": [700, 500]}}]}],
        "activeItem": "Main"})");
    const auto at = [&](double x, double y) { return e.pixel(b2Vec2(float((x - 500) / 100), float((y - 500) / 100))); };

    // The empty corner of the triangle's box, and 5 px right of the box.
    for (const QPoint p : {at(330, 470), at(755, 500)}) {
        e.click(p);
        EXPECT_TRUE(e.selected().empty()) << p.x() << " " << p.y();
        EXPECT_FALSE(e.view->isSelectingRect());
    }
    // Inside the outlines a click selects.
    e.click(at(270, 530));
    EXPECT_EQ(e.selected(), Rows({0}));

    // A rectangle still selects what it covers, and only that.
    e.click(at(500, 100));
    e.drag(at(230, 420), at(380, 580));
    EXPECT_EQ(e.selected(), Rows({0}));
    e.drag(at(620, 420), at(780, 580), Qt::ShiftModifier);
    EXPECT_EQ(e.selected(), Rows({0, 1}));
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

// Sixty boxes: more rows than the bodies list shows at once. A click on a
// body in the view brings its row into sight.
TEST(Selection, AClickedBodysRowIsScrolledIntoView)
{
    QByteArray layers;
    for (int i = 0; i < 60; ++i) {
        if (i)
            layers += ",";
        layers += QByteArray(R"({"type": "solid", "name": "B)") + QByteArray::number(i) +
                  R"(", "source": 1, "transform": {"position": [)" + QByteArray::number(50 + (i % 10) * 100) + ", " +
                  QByteArray::number(100 + (i / 10) * 150) + "]}}";
    }
    Edit e(QByteArray(R"({"format": "zolvar-standin-project",
        "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 40, "height": 40, "color": [1, 0, 0]}],
        "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [)") + layers + R"(]}], "activeItem": "Main"})");
    QTableView* table = e.view->form().bodiesTable;
    ASSERT_EQ(e.view->bodies.size(), 60u);
    auto inSight = [&](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        return table->viewport()->rect().contains(cell);
    };
    ASSERT_TRUE(inSight(0));
    ASSERT_FALSE(inSight(59)) << "the list must be too short for every row";

    e.click(e.bodyPixel(59));
    EXPECT_EQ(e.selected(), Rows({59}));
    EXPECT_TRUE(inSight(59));

    // The last body clicked counts, Shift or not.
    e.click(e.bodyPixel(0), Qt::ShiftModifier);
    EXPECT_EQ(e.selected(), Rows({0, 59}));
    EXPECT_TRUE(inSight(0));
    e.click(e.bodyPixel(58));
    EXPECT_TRUE(inSight(58));
}

} // namespace
