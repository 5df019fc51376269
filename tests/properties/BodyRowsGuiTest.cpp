// The 14 numeric rows of the body panel, each with two selected bodies of
// different values: the edit box, the slider (press, drag, release) and the
// reset button each make one step with the row's text and every body's own
// old value; undo and redo give the values back; an edit that changes
// nothing records nothing. Then the rows' particular behaviour.
#include "../editing/EditFixture.h"

#include "model/UserData.h"
#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

namespace {

using namespace edit_test;

struct Row
{
    const char* p;     // <p>Et, <p>Sld
    const char* P;     // reset<P>Btn
    const char* text;  // the step's text
    float MyBody::*field;  // nullptr: mesh precision
    float first, second;   // the two selected bodies' values
    double typed;          // a value typed in the edit box
    float defaultValue;
};

const Row kRows[] = {
    {"density", "Density", "Change Density", &MyBody::density, 2.0f, 3.0f, 4.0, 1.0f},
    {"friction", "Friction", "Change Friction", &MyBody::friction, 0.2f, 0.4f, 0.6, 0.5f},
    {"bounciness", "Bounciness", "Change Bounciness", &MyBody::restitution, 0.1f, 0.2f, 0.6, 0.3f},
    {"meshPrecision", "MeshPrecision", "Change Mesh Precision", nullptr, 3.0f, 4.0f, 6.0, 2.0f},
    {"velocityMagnitude", "VelocityMagnitude", "Change Velocity Magnitude", &MyBody::linearVelocityMagnitude, 1.0f,
     2.0f, 5.0, 0.0f},
    {"velocityDirection", "VelocityDirection", "Change Velocity Direction", &MyBody::linearVelocityDirection, 10.0f,
     20.0f, 45.0, 0.0f},
    {"angularVelocity", "AngularVelocity", "Change Angular Velocity", &MyBody::angularVelocity, 1.0f, 2.0f, -3.0,
     0.0f},
    {"linearDamping", "LinearDamping", "Change Linear Damping", &MyBody::linearDamping, 0.1f, 0.2f, 0.6, 0.0f},
    {"angularDamping", "AngularDamping", "Change Angular Damping", &MyBody::angularDamping, 0.1f, 0.2f, 0.6, 0.0f},
    {"aematicDamping", "AEmaticDamping", "Change AEmatic Damping", &MyBody::aematicDamping, 0.1f, 0.2f, 0.6, 0.5f},
    {"aematicTension", "AEmaticTension", "Change AEmatic Tension", &MyBody::aematicTension, 2.0f, 2.5f, 1.5, 1.0f},
    {"gravityScale", "GravityScale", "Change Gravity Scale", &MyBody::gravityScale, 0.5f, 1.5f, -1.5, 1.0f},
    {"magnetIntensity", "MagnetIntensity", "Change Magnet Intensity", &MyBody::magnetIntensity, 1.0f, 2.0f, 5.0,
     10.0f},
    {"magnetDistance", "MagnetDistance", "Change Magnet Distance", &MyBody::magnetDistance, 50.0f, 60.0f, 200.0,
     100.0f},
};

struct Rows : Edit
{
    const Row& row;
    QDoubleSpinBox* edit;
    SliderGo* slider;
    QAbstractButton* reset;

    explicit Rows(const Row& r)
        : row(r)
        , edit(window->findChild<QDoubleSpinBox*>(QString(r.p) + "Et"))
        , slider(window->findChild<SliderGo*>(QString(r.p) + "Sld"))
        , reset(window->findChild<QAbstractButton*>(QString("reset") + r.P + "Btn"))
    {
        set(0, r.first);
        set(1, r.second);
        set(2, r.second);
        view->selectBodies({0, 1});
    }
    float value(int body) const
    {
        const MyBody& b = view->bodies[size_t(body)];
        return row.field ? b.*row.field : float(b.meshPrecision);
    }
    void set(int body, float v)
    {
        MyBody& b = view->bodies[size_t(body)];
        if (row.field)
            b.*row.field = v;
        else
            b.meshPrecision = int(v);
    }
    void type(double v)
    {
        edit->setValue(v);
        emit edit->editingFinished();
    }
    void sendToSlider(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const int y = slider->height() / 2;
        QMouseEvent event(type, QPointF(x, y), slider->mapToGlobal(QPointF(x, y)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    }
    // The step's old values are the bodies' own; undo gives them back, redo
    // the new value.
    void expectOneStepFromOwnValues(float newValue)
    {
        SCOPED_TRACE(row.p);
        ASSERT_EQ(stack->count(), 1);
        EXPECT_EQ(lastText(), row.text);
        EXPECT_EQ(value(0), newValue);
        EXPECT_EQ(value(1), newValue);
        EXPECT_EQ(value(2), row.second) << "an unselected body changed";
        stack->undo();
        EXPECT_EQ(value(0), row.first);
        EXPECT_EQ(value(1), row.second);
        stack->redo();
        EXPECT_EQ(value(1), newValue);
    }
};

TEST(BodyRows, TheEditBoxMakesOneStepFromEveryBodysOwnValue)
{
    for (const Row& r : kRows) {
        Rows t(r);
        ASSERT_TRUE(t.edit && t.slider && t.reset) << r.p;
        t.type(r.typed);
        t.expectOneStepFromOwnValues(float(r.typed));
        // The same value again: nothing.
        t.type(r.typed);
        EXPECT_EQ(t.stack->count(), 1) << r.p;
    }
}

TEST(BodyRows, TheSliderPreviewsWhileDraggedAndCommitsOnRelease)
{
    for (const Row& r : kRows) {
        Rows t(r);
        const double factor = r.field ? 1000.0 : 1.0;
        // Hovering moves nothing, before the drag and after it.
        const int resting = t.slider->value();
        t.sendToSlider(QEvent::MouseMove, t.slider->width() / 3, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(t.slider->value(), resting) << r.p;
        t.sendToSlider(QEvent::MouseButtonPress, t.slider->width() / 5, Qt::LeftButton, Qt::LeftButton);
        t.sendToSlider(QEvent::MouseMove, t.slider->width() * 3 / 4, Qt::NoButton, Qt::LeftButton);
        const int position = t.slider->value();
        EXPECT_DOUBLE_EQ(t.edit->value(), position / factor) << r.p;
        EXPECT_EQ(t.value(0), r.first) << r.p << ": the record changed before the release";
        EXPECT_EQ(t.stack->count(), 0) << r.p;
        t.sendToSlider(QEvent::MouseButtonRelease, t.slider->width() * 3 / 4, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(t.slider->toVal, position);
        const int committed = t.slider->value();
        t.sendToSlider(QEvent::MouseMove, t.slider->width() / 3, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(t.slider->value(), committed) << r.p;
        t.expectOneStepFromOwnValues(float(position / factor));
    }
}

TEST(BodyRows, TheResetButtonRestoresTheDefaultOnce)
{
    for (const Row& r : kRows) {
        Rows t(r);
        t.reset->click();
        t.expectOneStepFromOwnValues(r.defaultValue);
        t.reset->click();
        EXPECT_EQ(t.stack->count(), 1) << r.p << ": a reset at the default made a step";
    }
}

TEST(BodyRows, NothingSelectedMakesNoStepAnywhere)
{
    for (const Row& r : kRows) {
        Rows t(r);
        t.view->selectBodies({});
        t.type(r.typed);
        t.reset->click();
        t.sendToSlider(QEvent::MouseButtonPress, t.slider->width() / 2, Qt::LeftButton, Qt::LeftButton);
        t.sendToSlider(QEvent::MouseButtonRelease, t.slider->width() / 2, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(t.stack->count(), 0) << r.p;
        EXPECT_EQ(t.value(0), r.first) << r.p;
    }
}

TEST(BodyRows, MeshPrecisionStepsByOneAndTakesATypedZero)
{
    Rows t(kRows[3]);
    // The whole-number slider: a click lands on the nearest precision.
    t.sendToSlider(QEvent::MouseButtonPress, t.slider->width() / 2, Qt::LeftButton, Qt::LeftButton);
    t.sendToSlider(QEvent::MouseButtonRelease, t.slider->width() / 2, Qt::LeftButton, Qt::NoButton);
    EXPECT_DOUBLE_EQ(t.edit->value(), double(t.slider->value()));
    EXPECT_EQ(t.value(0), float(t.slider->value()));

    t.type(0.0);
    EXPECT_EQ(t.view->bodies[0].meshPrecision, 0);
    EXPECT_EQ(t.slider->value(), t.slider->minimum());
    EXPECT_EQ(t.edit->value(), 0.0);
}

TEST(BodyRows, APanelVelocityIsTheVelocityToolsOldValue)
{
    Rows t(kRows[4]);
    t.type(7.0);
    EXPECT_EQ(t.view->bodies[0].committedVelocityMagnitude, 7.0f);
    EXPECT_EQ(t.view->bodies[1].committedVelocityMagnitude, 7.0f);
    QDoubleSpinBox* direction = t.window->findChild<QDoubleSpinBox*>("velocityDirectionEt");
    direction->setValue(30.0);
    emit direction->editingFinished();
    EXPECT_EQ(t.view->bodies[1].committedVelocityDirection, 30.0f);
    t.stack->undo();
    EXPECT_EQ(t.view->bodies[1].committedVelocityDirection, 0.0f);
    EXPECT_EQ(t.view->bodies[1].committedVelocityMagnitude, 7.0f);
}

TEST(BodyRows, TheMagnetCircleFollowsTheSliderBeforeAnyStep)
{
    Rows t(kRows[13]);
    UserData* data = reinterpret_cast<UserData*>(
        t.view->bodies[0].body->GetFixtureList()->GetUserData().pointer);
    ASSERT_NE(data, nullptr);
    t.slider->setValue(250000);
    EXPECT_EQ(data->magnetDistance, 250.0f);
    EXPECT_EQ(t.value(0), 50.0f);
    EXPECT_EQ(t.stack->count(), 0);
    // Released where the bodies already stand: no step, the circle shows
    // their value again after the setter.
    t.set(0, 60.0f);
    t.set(1, 60.0f);
    t.slider->setValue(60000);
    EXPECT_TRUE(t.view->sliderReleased("magnetDistanceSld", 60000));
    EXPECT_EQ(t.stack->count(), 0);
    EXPECT_EQ(data->magnetDistance, 60.0f);
}

TEST(BodyRows, NegativeGravityScaleShowsOnTheSliderUnbounded)
{
    Rows t(kRows[11]);
    t.type(-1.5);
    EXPECT_EQ(t.view->bodies[0].gravityScale, -1.5f);
    EXPECT_EQ(t.slider->value(), -1500);
}

TEST(BodyRows, ATypedValueBeyondTheSliderStaysInTheRecordAndTheBox)
{
    Rows t(kRows[1]);
    t.type(25.0);
    EXPECT_EQ(t.view->bodies[0].friction, 25.0f);
    EXPECT_EQ(t.edit->value(), 25.0);
    EXPECT_EQ(t.slider->value(), t.slider->maximum());
    EXPECT_EQ(t.slider->fromVal, 25000);
    // Far beyond int: the positions are clamped before conversion.
    t.type(16777200.0);
    EXPECT_EQ(t.view->bodies[0].friction, 16777200.0f);
    EXPECT_GT(t.slider->fromVal, 0);
}

TEST(BodyRows, TheZoomSliderMakesNoStep)
{
    Edit e;
    SliderGo* zoom = e.window->findChild<SliderGo*>("zoomSld");
    ASSERT_NE(zoom, nullptr);
    EXPECT_FALSE(e.view->sliderReleased("zoomSld", 500));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), zoom->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(zoom, &release);
    EXPECT_EQ(e.stack->count(), 0);
}

} // namespace

namespace {

TEST(ToolsAfterPanel, UndoOfAToolDragGivesBackThePanelsValueExactly)
{
    Edit e;
    const Ui::ZolvarDlgClass& ui = e.view->form();
    // Velocity typed in the panel, then dragged with the velocity tool.
    e.view->selectBodies({1});
    ui.velocityMagnitudeEt->setValue(7.0);
    emit ui.velocityMagnitudeEt->editingFinished();
    e.view->OnVelocityToolBtn();
    e.drag(e.bodyPixel(1), e.bodyPixel(1) + QPoint(60, 0));
    ASSERT_EQ(e.stack->count(), 2);
    EXPECT_NE(e.view->bodies[1].linearVelocityMagnitude, 7.0f);
    e.stack->undo();
    EXPECT_EQ(e.view->bodies[1].linearVelocityMagnitude, 7.0f);

    // Gravity typed, then aimed with the gravity tool.
    ui.gravityMagnitudeEt->setValue(33.3);
    emit ui.gravityMagnitudeEt->editingFinished();
    e.view->OnGravityToolBtn();
    const QPoint centre(e.gl->width() / 2, e.gl->height() / 2);
    e.drag(centre + QPoint(30, 30), centre + QPoint(50, 0));
    EXPECT_EQ(e.lastText(), "Change Gravity");
    e.stack->undo();
    EXPECT_EQ(ui.gravityMagnitudeEt->value(), 33.3);
    EXPECT_EQ(e.view->committedScene().gravityMagnitude, 33.3f);
    EXPECT_EQ(ui.gravityDirectionEt->value(), 90.0);
}

} // namespace
