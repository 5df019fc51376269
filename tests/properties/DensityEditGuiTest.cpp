// Density of several selected bodies through its edit box, slider and reset
// button: one "Change Density" step each, undo gives every body its own
// value back, and an edit that changes nothing records nothing.
#include "../editing/EditFixture.h"

#include "properties/EditBox.h"
#include "properties/SliderGo.h"
#include "properties/UndoView.h"

#include <gtest/gtest.h>

#include <QToolButton>

#include <climits>

namespace {

using namespace edit_test;

struct Density : Edit
{
    const Ui::ZolvarDlgClass& ui = view->form();

    Density()
    {
        view->setDensity({1.0f, 0.7f, 3.0f}, {0, 1, 2});
        view->selectBodies({0, 1});
    }
    float density(int body) const { return view->bodies[size_t(body)].density; }
    void type(double value)
    {
        ui.densityEt->setValue(value);
        emit ui.densityEt->editingFinished();
    }
};

TEST(DensityEdit, TheEditBoxChangesEverySelectedBodyAndUndoGivesEachItsOwn)
{
    Density d;
    d.type(2.0);
    ASSERT_EQ(d.stack->count(), 1);
    EXPECT_EQ(d.lastText(), "Change Density");
    EXPECT_EQ(d.density(0), 2.0f);
    EXPECT_EQ(d.density(1), 2.0f);
    EXPECT_EQ(d.density(2), 3.0f);

    d.stack->undo();
    // Exactly the values that were set: no detour through the slider's int.
    EXPECT_EQ(d.density(0), 1.0f);
    EXPECT_EQ(d.density(1), 0.7f);
    EXPECT_EQ(d.ui.densityEt->value(), 1.0);
    d.stack->redo();
    EXPECT_EQ(d.density(1), 2.0f);

    // The same value again changes nothing and records nothing.
    d.type(2.0);
    EXPECT_EQ(d.stack->count(), 1);

    // Two edits are two steps.
    d.type(2.5);
    EXPECT_EQ(d.stack->count(), 2);
    d.stack->undo();
    EXPECT_EQ(d.density(0), 2.0f);
}

TEST(DensityEdit, SevenTenthsShowsAsItIsAndTheSliderTruncates)
{
    Density d;
    d.type(0.7);
    EXPECT_EQ(d.density(0), 0.7f);
    EXPECT_EQ(d.ui.densityEt->value(), 0.7);
    EXPECT_EQ(d.ui.densitySld->value(), 699);
    EXPECT_EQ(d.ui.densitySld->fromVal, 699);
}

TEST(DensityEdit, ValuesBeyondTheSliderKeepTheRecordAndNeverOverflow)
{
    Density d;
    d.type(25.0);
    EXPECT_EQ(d.density(0), 25.0f);
    EXPECT_EQ(d.ui.densitySld->value(), d.ui.densitySld->maximum());
    EXPECT_EQ(d.ui.densitySld->fromVal, 25000);

    d.view->setDensity({16777200.0f}, {0});
    EXPECT_EQ(d.density(0), 16777200.0f);
    EXPECT_EQ(d.ui.densitySld->value(), d.ui.densitySld->maximum());
    EXPECT_GT(d.ui.densitySld->fromVal, 0);
    d.ui.densitySld->setFromVal(3.0e10f);
    EXPECT_EQ(d.ui.densitySld->fromVal, INT_MAX);
}

TEST(DensityEdit, TheSliderPreviewsWhileDraggedAndCommitsOnRelease)
{
    Density d;
    SliderGo* slider = d.ui.densitySld;
    const int y = slider->height() / 2;
    // Straight to the slider: its dock page need not be the one shown.
    const auto send = [&](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, y), slider->mapToGlobal(QPointF(x, y)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    };
    send(QEvent::MouseButtonPress, slider->width() / 4, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, slider->width() / 2, Qt::NoButton, Qt::LeftButton);
    const int value = slider->value();
    // Only the edit box follows while the slider moves.
    EXPECT_DOUBLE_EQ(d.ui.densityEt->value(), value / 1000.0);
    EXPECT_EQ(d.density(0), 1.0f);
    EXPECT_EQ(d.stack->count(), 0);

    send(QEvent::MouseButtonRelease, slider->width() / 2, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(d.stack->count(), 1);
    EXPECT_EQ(d.lastText(), "Change Density");
    EXPECT_EQ(d.density(0), float(value / 1000.0));
    EXPECT_EQ(d.density(1), float(value / 1000.0));
    d.stack->undo();
    EXPECT_EQ(d.density(1), 0.7f);
}

TEST(DensityEdit, TheResetButtonRestoresTheDefaultOnce)
{
    Density d;
    d.ui.resetDensityBtn->click();
    ASSERT_EQ(d.stack->count(), 1);
    EXPECT_EQ(d.lastText(), "Change Density");
    EXPECT_EQ(d.density(0), 1.0f);
    EXPECT_EQ(d.density(1), 1.0f);

    // Everything already at the default: nothing more.
    d.ui.resetDensityBtn->click();
    EXPECT_EQ(d.stack->count(), 1);
    d.stack->undo();
    EXPECT_EQ(d.density(1), 0.7f);
}

TEST(DensityEdit, NothingSelectedMeansNoStep)
{
    Density d;
    d.view->selectBodies({});
    d.type(4.0);
    d.ui.resetDensityBtn->click();
    EXPECT_EQ(d.stack->count(), 0);
    EXPECT_EQ(d.density(0), 1.0f);
}

TEST(DensityEdit, TheHistoryListsTheSteps)
{
    Density d;
    d.type(2.0);
    d.ui.resetDensityBtn->click();
    UndoView* history = d.window->findChild<UndoView*>();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->stack(), d.stack);
    QAbstractItemModel* model = history->model();
    ASSERT_EQ(model->rowCount(), 3);  // the clean state, then the two steps
    EXPECT_EQ(model->index(1, 0).data().toString(), "Change Density");
    EXPECT_EQ(model->index(2, 0).data().toString(), "Change Density");
}

} // namespace
