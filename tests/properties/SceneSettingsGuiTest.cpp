// The scene-wide settings through edit box, slider and reset, the gravity
// source, the gravity pad, and Apply of captured gravity to a new null layer
// of the stand-in host's composition.
#include "mainwindow/WindowFixture.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Project.h"
#include "project/PropertyNode.h"
#include "properties/DragCommands.h"
#include "properties/EditBox.h"
#include "properties/GravityView.h"
#include "properties/SliderGo.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <cmath>

namespace {

QByteArray sevenLayers()
{
    QByteArray layers;
    for (int i = 1; i <= 7; ++i)
        layers += QStringLiteral(R"(%1{"id": %2, "type": "solid", "name": "L%2", "source": 1,
            "transform": {"position": [%3, 300]}})")
                      .arg(i > 1 ? "," : "")
                      .arg(i)
                      .arg(100 * i)
                      .toUtf8();
    return R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 50, "height": 50, "color": [1, 0, 0]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 600, "frameRate": 25, "duration": 4,
        "layers": [)" + layers + R"(]}],
    "activeItem": "Main"
})";
}

struct Scene
{
    std::unique_ptr<window_test::Host> host = window_test::makeHost(18, 0, sevenLayers());
    std::unique_ptr<ZolvarDlg> window = window_test::makeWindow(*host);
    SimulationView* view = window->simulationView();
    QUndoStack* stack = view->getUndoStack();
    const Ui::ZolvarDlgClass& ui = view->form();

    Scene()
    {
        window_test::showStill(*window);
    }
    QString lastText() const { return stack->count() ? stack->text(stack->count() - 1) : QString(); }
    standin::Composition* comp() const { return host->project->compositionByName("Main"); }
};

struct Setting
{
    const char* p;
    const char* resetButton;
    const char* text;
    double defaultValue, typed, factor;
    bool restarts;
    double (*committed)(const SimulationView::SceneValues&);
};

const Setting kSettings[] = {
    {"timeDivider", "resetTimeDividerBtn", "Change Time Divider", 1.0, 2.5, 1000.0, true,
     [](const SimulationView::SceneValues& v) { return double(v.timeDivider); }},
    {"substeps", "resetSubsteppingBtn", "Change Sub-steps", 2.0, 5.0, 1.0, true,
     [](const SimulationView::SceneValues& v) { return double(v.substeps); }},
    {"collisionTolerance", "resetToleranceBtn", "Change Collision Tolerance", 50.0, 20.0, 1000.0, true,
     [](const SimulationView::SceneValues& v) { return double(v.collisionTolerance); }},
    {"gravityMagnitude", "resetGravityMagnitudeBtn", "Change Gravity Magnitude", 10.0, 33.3, 1000.0, false,
     [](const SimulationView::SceneValues& v) { return double(v.gravityMagnitude); }},
    {"gravityDirection", "resetGravityDirectionBtn", "Change Gravity Direction", 90.0, 45.0, 1000.0, false,
     [](const SimulationView::SceneValues& v) { return double(v.gravityDirection); }},
};

TEST(SceneSettings, EditBoxSliderAndResetEachMakeOneStepThatUndoes)
{
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(s.p);
        Scene t;
        auto* edit = t.window->findChild<QDoubleSpinBox*>(QString(s.p) + "Et");
        auto* slider = t.window->findChild<SliderGo*>(QString(s.p) + "Sld");
        auto* reset = t.window->findChild<QAbstractButton*>(s.resetButton);
        ASSERT_TRUE(edit && slider && reset);

        // Playing at frame 12: the step restarts the scene or leaves it be.
        t.view->playAnimation();
        t.view->currentFrame = 12;
        edit->setValue(s.typed);
        emit edit->editingFinished();
        ASSERT_EQ(t.stack->count(), 1);
        EXPECT_EQ(t.lastText(), s.text);
        EXPECT_EQ(s.committed(t.view->committedScene()), double(float(s.typed)));
        EXPECT_EQ(t.view->currentFrame == 0, s.restarts);
        EXPECT_TRUE(t.view->playing);
        // Typing the same value again: nothing.
        emit edit->editingFinished();
        EXPECT_EQ(t.stack->count(), 1);

        t.stack->undo();
        EXPECT_EQ(edit->value(), s.defaultValue);
        EXPECT_EQ(s.committed(t.view->committedScene()), s.defaultValue);

        // Slider: moved and released at a new position.
        const int position = slider->minimum() + (slider->maximum() - slider->minimum()) / 3;
        slider->setValue(position);
        EXPECT_DOUBLE_EQ(edit->value(), position / s.factor);
        EXPECT_TRUE(t.view->sliderReleased(slider->objectName(), position));
        EXPECT_EQ(t.stack->count(), 1);
        EXPECT_EQ(s.committed(t.view->committedScene()), double(float(position / s.factor)));
        // Released where it was committed: nothing.
        EXPECT_TRUE(t.view->sliderReleased(slider->objectName(), position));
        EXPECT_EQ(t.stack->count(), 1);

        reset->click();
        EXPECT_EQ(t.stack->count(), 2);
        EXPECT_EQ(edit->value(), s.defaultValue);
        reset->click();
        EXPECT_EQ(t.stack->count(), 2);
        t.stack->undo();
        EXPECT_DOUBLE_EQ(edit->value(), position / s.factor);
    }
}

TEST(SceneSettings, UndoRestoresTheValueThatWasSetNotWhatTheSliderShows)
{
    Scene t;
    auto type = [&](QDoubleSpinBox* edit, double v) {
        edit->setValue(v);
        emit edit->editingFinished();
    };
    type(t.ui.timeDividerEt, 10.0);
    EXPECT_EQ(t.ui.timeDividerSld->value(), 5000);
    type(t.ui.timeDividerEt, 2.0);
    t.stack->undo();
    EXPECT_EQ(t.ui.timeDividerEt->value(), 10.0);

    type(t.ui.gravityDirectionEt, -90.0);
    type(t.ui.gravityDirectionEt, 45.0);
    t.stack->undo();
    EXPECT_EQ(t.ui.gravityDirectionEt->value(), -90.0);

    // Neither a body selection nor a re-basing of every slider moves the
    // committed value: the scene slider dragged away and back where it
    // stands makes no step, and a release elsewhere undoes to 33.3 exactly.
    type(t.ui.gravityMagnitudeEt, 33.3);
    const int count = t.stack->count();
    t.view->selectBodies({0});
    t.window->setSlidersFromValWithCurrentVal();
    t.ui.gravityMagnitudeSld->setValue(20000);
    t.ui.gravityMagnitudeSld->setValue(33300);
    EXPECT_TRUE(t.view->sliderReleased("gravityMagnitudeSld", 33300));
    EXPECT_EQ(t.stack->count(), count);
    t.ui.gravityMagnitudeSld->setValue(20000);
    EXPECT_TRUE(t.view->sliderReleased("gravityMagnitudeSld", 20000));
    EXPECT_EQ(t.stack->count(), count + 1);
    t.stack->undo();
    EXPECT_EQ(t.ui.gravityMagnitudeEt->value(), 33.3);
    EXPECT_EQ(t.view->committedScene().gravityMagnitude, 33.3f);
}

// The time divider's slider reaches 0.001, its edit box (whose value the
// simulation reads) only 0.01: the release commits what the box holds, so a
// snapshot, a reset and their undo find the value in force.
TEST(SceneSettings, ASliderBelowItsEditBoxCommitsTheBoxsMinimum)
{
    Scene t;
    ASSERT_LT(t.ui.timeDividerSld->minimum() / 1000.0, t.ui.timeDividerEt->minimum());
    t.ui.timeDividerSld->setValue(t.ui.timeDividerSld->minimum());
    EXPECT_TRUE(t.view->sliderReleased("timeDividerSld", t.ui.timeDividerSld->minimum()));
    ASSERT_EQ(t.stack->count(), 1);
    EXPECT_EQ(double(t.view->committedScene().timeDivider), double(float(t.ui.timeDividerEt->minimum())));
    EXPECT_EQ(t.ui.timeDividerEt->value(), t.ui.timeDividerEt->minimum());
    // Released there again: nothing.
    EXPECT_TRUE(t.view->sliderReleased("timeDividerSld", t.ui.timeDividerSld->minimum()));
    EXPECT_EQ(t.stack->count(), 1);

    t.view->OnResetScene();
    t.stack->undo();
    EXPECT_EQ(double(t.view->committedScene().timeDivider), double(float(t.ui.timeDividerEt->minimum())));
    t.stack->undo();
    EXPECT_EQ(t.view->committedScene().timeDivider, 1.0f);
}

TEST(SceneSettings, InheritFromIsAlwaysOneStepAndItsUndoGivesBackCapture)
{
    Scene t;
    t.ui.gravityLayerCb->setChecked(true);
    ASSERT_EQ(t.stack->count(), 1);
    EXPECT_EQ(t.lastText(), "Change Gravity Inherit From");
    EXPECT_FALSE(t.ui.captureGravityBtn->isEnabled());
    EXPECT_TRUE(t.ui.gravityLayerLst->isEnabled());
    t.stack->undo();
    EXPECT_FALSE(t.ui.gravityLayerCb->isChecked());
    EXPECT_TRUE(t.ui.captureGravityBtn->isEnabled());
    EXPECT_FALSE(t.ui.gravityLayerLst->isEnabled());
    t.stack->redo();
    EXPECT_FALSE(t.ui.captureGravityBtn->isEnabled());
    // Redo did not make another step.
    EXPECT_EQ(t.stack->count(), 1);
}

TEST(SceneSettings, TheLayerChoiceUndoesToTheLayerShownBefore)
{
    Scene t;
    ASSERT_GE(t.ui.gravityLayerLst->count(), 6);
    t.ui.gravityLayerLst->setCurrentIndex(3);
    t.stack->undo();
    EXPECT_EQ(t.ui.gravityLayerLst->currentIndex(), 0);
    t.ui.gravityLayerLst->setCurrentIndex(5);
    EXPECT_EQ(t.lastText(), "Change Gravity Layer");
    t.stack->undo();
    EXPECT_EQ(t.ui.gravityLayerLst->currentIndex(), 0);
    EXPECT_EQ(t.view->gravityLayerIndex, 0);

    t.ui.gravityLayerLst->setCurrentIndex(2);
    t.ui.gravityLayerLst->setCurrentIndex(4);
    t.stack->undo();
    EXPECT_EQ(t.ui.gravityLayerLst->currentIndex(), 2);
    EXPECT_EQ(t.view->gravityLayerIndex, 2);
}

struct Pad : Scene
{
    GravityView* pad = window->gravityPad();
    QPointF centre() const { return QPointF(pad->width() / 2.0, pad->height() / 2.0); }
    void send(QEvent::Type type, QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, pad->mapToGlobal(at), button, buttons, mods);
        QApplication::sendEvent(pad, &event);
    }
    void click(QPointF at)
    {
        send(QEvent::MouseButtonPress, at);
        send(QEvent::MouseButtonRelease, at);
    }
    double magnitude() const { return ui.gravityMagnitudeEt->value(); }
    double direction() const { return ui.gravityDirectionEt->value(); }
};

TEST(GravityPad, APointerAimsTheGravityFromTheCentre)
{
    Pad p;
    ASSERT_NE(p.pad, nullptr);
    p.click(p.centre() + QPointF(30, 0));
    EXPECT_DOUBLE_EQ(p.magnitude(), 10.0);
    EXPECT_DOUBLE_EQ(p.direction(), 0.0);
    EXPECT_EQ(p.lastText(), "Change Gravity");
    p.click(p.centre() + QPointF(0, 15));
    EXPECT_DOUBLE_EQ(p.direction(), 90.0);
    EXPECT_DOUBLE_EQ(p.magnitude(), 5.0);
    p.click(p.centre() + QPointF(0, -15));
    EXPECT_DOUBLE_EQ(p.direction(), 270.0);
    // The pad's tip follows.
    EXPECT_NEAR(p.pad->gravityPoint().y(), -15.0, 1e-3);
    // A click at the centre: no gravity, still a step.
    const int count = p.stack->count();
    p.click(p.centre());
    EXPECT_EQ(p.stack->count(), count + 1);
    EXPECT_EQ(p.magnitude(), 0.0);
    EXPECT_EQ(p.direction(), 0.0);
}

TEST(GravityPad, ShiftSnapsToAnAxisWithinTwentyDegrees)
{
    Pad p;
    const double r = 30.0;
    const auto at = [&](double degrees) {
        const double a = degrees * M_PI / 180.0;
        return p.centre() + QPointF(r * std::cos(a), r * std::sin(a));
    };
    p.send(QEvent::MouseButtonPress, at(300));
    p.send(QEvent::MouseMove, at(345), Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(p.direction(), 0.0);
    EXPECT_NEAR(p.magnitude(), 10.0 * std::cos(15.0 * M_PI / 180.0), 1e-3);
    p.send(QEvent::MouseMove, at(335), Qt::ShiftModifier);
    EXPECT_NEAR(p.direction(), 335.0, 1e-3);
    EXPECT_NEAR(p.magnitude(), 10.0, 1e-3);
    // Without Shift nothing snaps.
    p.send(QEvent::MouseMove, at(345));
    EXPECT_NEAR(p.direction(), 345.0, 1e-3);
    p.send(QEvent::MouseButtonRelease, at(345));
    EXPECT_EQ(p.stack->count(), 1);
}

TEST(GravityPad, UndoRestoresTheCommittedGravityExactly)
{
    Pad p;
    p.ui.gravityMagnitudeEt->setValue(33.3);
    emit p.ui.gravityMagnitudeEt->editingFinished();
    p.click(p.centre() + QPointF(30, 0));
    EXPECT_DOUBLE_EQ(p.magnitude(), 10.0);
    p.stack->undo();
    EXPECT_EQ(p.magnitude(), 33.3);
    EXPECT_EQ(p.direction(), 90.0);
    EXPECT_EQ(p.view->committedScene().gravityMagnitude, 33.3f);
    // A move without a press changes nothing.
    p.send(QEvent::MouseMove, p.centre() + QPointF(3, 3));
    EXPECT_EQ(p.magnitude(), 33.3);
}

TEST(GravityPad, RepeatedCommitsKeepTheValueTheUserSet)
{
    Pad p;
    SliderGo* magnitudeSld = p.ui.gravityMagnitudeSld;
    // 29.5025 px from the centre is a magnitude of 9.83416: the slider takes
    // 9834, and 9.834 is held as the float 9.83399963.
    const QPointF aim = p.centre() + QPointF(29.5025, 0);
    p.click(aim);
    ASSERT_EQ(p.magnitude(), 9.834);
    EXPECT_EQ(magnitudeSld->value(), 9834);
    EXPECT_EQ(magnitudeSld->fromVal, 9834);
    for (int i = 0; i < 3; ++i)
        p.click(aim);
    EXPECT_EQ(p.magnitude(), 9.834);
    EXPECT_EQ(magnitudeSld->value(), 9834);
    EXPECT_EQ(p.view->committedScene().gravityMagnitude, 9.834f);

    // The slider released where it stands is no change.
    const int count = p.stack->count();
    p.view->sliderReleased(QStringLiteral("gravityMagnitudeSld"), magnitudeSld->value());
    EXPECT_EQ(p.stack->count(), count);

    // Typed values too, and through undo and redo.
    p.ui.gravityDirectionEt->setValue(123.457);
    emit p.ui.gravityDirectionEt->editingFinished();
    EXPECT_EQ(p.ui.gravityDirectionSld->value(), 123457);
    EXPECT_EQ(p.ui.gravityDirectionSld->fromVal, 123457);
    p.click(aim + QPointF(0, 0.001));
    p.stack->undo();
    EXPECT_EQ(p.ui.gravityDirectionSld->value(), 123457);
    EXPECT_EQ(p.direction(), 123.457);
    p.stack->undo();
    p.stack->redo();
    EXPECT_EQ(p.ui.gravityDirectionSld->value(), 123457);
    EXPECT_EQ(magnitudeSld->value(), 9834);
}

// Captured gravity as the frame step leaves it.
void capture(SimulationView* view, int frames)
{
    view->capturedGravity.clear();
    for (int i = 0; i < frames; ++i)
        view->capturedGravity.push_back(b2Vec2(float(i), 10.0f));
    view->capturedGravityStartFrame = 0;
    view->capturedGravityFirst = view->capturedGravity.front();
}

TEST(ApplyGravity, ANewNullAtTheBottomCarriesOneKeyPerCapturedFrame)
{
    Scene t;
    capture(t.view, 30);
    t.ui.applyGravityBtn->setEnabled(true);
    t.ui.applyGravityBtn->click();

    standin::Composition* comp = t.comp();
    ASSERT_EQ(comp->layerCount(), 8);
    standin::Layer* null = comp->layer(7);
    ASSERT_NE(null, nullptr);
    EXPECT_EQ(null->displayName(), "Gravity Controller");
    const standin::PropertyNode* position = null->transformStream(standin::TransformStream::Position);
    ASSERT_EQ(position->keyCount(), 30);
    const A_Time frame = t.view->frameDuration;
    for (int i = 0; i < 30; ++i) {
        const standin::Keyframe* key = position->key(i);
        EXPECT_EQ(double(key->time.value) / key->time.scale, double(frame.value) * i / frame.scale);
        EXPECT_EQ(key->value.v[0], double(i));
        EXPECT_EQ(key->value.v[1], 10.0);
    }
    const auto& groups = t.host->session->undoGroups();
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.back().name, "Zolvar - Apply Gravity To Null");
    EXPECT_NE(groups.back().closeSequence, 0u);
    EXPECT_TRUE(t.host->session->leaks().none()) << t.host->session->leaks().describe();

    EXPECT_EQ(t.ui.gravityLayerLst->currentText(), "8. Gravity Controller");
    EXPECT_EQ(t.ui.gravityLayerLst->currentIndex(), t.ui.gravityLayerLst->count() - 1);
    EXPECT_TRUE(t.ui.gravityLayerCb->isChecked());
    EXPECT_TRUE(t.ui.gravityLayerLst->isEnabled());
    EXPECT_FALSE(t.ui.captureGravityBtn->isEnabled());
    EXPECT_FALSE(t.ui.captureGravityBtn->isChecked());
    EXPECT_FALSE(t.ui.applyGravityBtn->isEnabled());
    EXPECT_TRUE(t.view->capturedGravity.empty());
    EXPECT_EQ(t.stack->text(0), "Change Gravity Inherit From");
    EXPECT_EQ(t.lastText(), "Change Gravity Layer");
}

TEST(ApplyGravity, NothingCapturedMakesNoLayer)
{
    Scene t;
    t.ui.captureGravityBtn->click();
    EXPECT_TRUE(t.view->playing);
    EXPECT_TRUE(t.ui.playBtn->isChecked());
    t.ui.captureGravityBtn->click();
    EXPECT_FALSE(t.view->playing);
    EXPECT_TRUE(t.ui.applyGravityBtn->isEnabled());
    t.view->capturedGravity.clear();
    t.ui.applyGravityBtn->click();
    EXPECT_EQ(t.comp()->layerCount(), 7);
    EXPECT_FALSE(t.ui.applyGravityBtn->isEnabled());
    EXPECT_FALSE(t.ui.captureGravityBtn->isEnabled());
    EXPECT_EQ(t.stack->count(), 0);
}

TEST(ApplyGravity, AHostFailureAtAnyCallLeavesNothingOpenAndKeepsTheCapture)
{
    using Leaks = standin::LeakCounters;
    struct Call
    {
        const char* suite;
        int slot;
        int nth;
        // A release that fails leaves its own handle to the host; nothing else.
        int Leaks::*own;
        bool applied;  // the keys were in before the failure
    };
    const Call calls[] = {
        {"AEGP Item Suite", 2, 1, nullptr, false},
        {"AEGP Comp Suite", 0, 1, nullptr, false},
        {"AEGP Layer Suite", 0, 1, nullptr, false},
        {"AEGP Utility Suite", 6, 1, nullptr, false},
        {"AEGP Comp Suite", 25, 1, nullptr, false},
        {"AEGP Layer Suite", 26, 1, nullptr, false},
        {"AEGP Stream Suite", 3, 1, nullptr, false},
        {"AEGP Stream Suite", 13, 1, nullptr, false},
        {"AEGP Stream Suite", 15, 1, nullptr, false},
        {"AEGP Keyframe Suite", 16, 1, nullptr, false},
        {"AEGP Keyframe Suite", 17, 2, nullptr, false},
        {"AEGP Stream Suite", 13, 3, nullptr, false},
        {"AEGP Keyframe Suite", 18, 2, nullptr, false},
        {"AEGP Stream Suite", 14, 2, &Leaks::streamValues, false},
        {"AEGP Keyframe Suite", 19, 1, &Leaks::keyBatches, false},
        {"AEGP Stream Suite", 7, 1, &Leaks::streamRefs, true},
        {"AEGP Utility Suite", 7, 1, &Leaks::openUndoGroups, true},
    };
    for (const Call& call : calls) {
        SCOPED_TRACE(std::string(call.suite) + " slot " + std::to_string(call.slot));
        Scene t;
        capture(t.view, 5);
        t.ui.applyGravityBtn->setEnabled(true);
        t.host->session->faults().failNth(call.suite, standin::FaultInjector::kAnyVersion, call.slot, call.nth);
        QString message;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message = box->text();
                box->accept();
            }
        });
        t.ui.applyGravityBtn->click();
        EXPECT_EQ(t.host->session->faults().injectedCount(), 1);
        Leaks leaks = t.host->session->leaks();
        if (call.own)
            leaks.*call.own = 0;
        EXPECT_TRUE(leaks.none()) << leaks.describe();
        if (call.applied) {
            EXPECT_TRUE(message.isEmpty());
            EXPECT_TRUE(t.ui.gravityLayerCb->isChecked());
            EXPECT_TRUE(t.view->capturedGravity.empty());
            continue;
        }
        EXPECT_TRUE(message.contains("could not be applied")) << message.toStdString();
        EXPECT_EQ(t.view->capturedGravity.size(), 5u);
        EXPECT_FALSE(t.ui.gravityLayerCb->isChecked());
        EXPECT_EQ(t.ui.gravityLayerLst->count(), 7);
        EXPECT_TRUE(t.ui.applyGravityBtn->isEnabled());
        EXPECT_TRUE(t.ui.captureGravityBtn->isEnabled());
        EXPECT_EQ(t.stack->count(), 0);
        // No keys were added on a failure.
        if (t.comp()->layerCount() == 8) {
            EXPECT_EQ(t.comp()->layer(7)->transformStream(standin::TransformStream::Position)->keyCount(), 0);
        }
    }
}

TEST(ApplyGravity, KeyTimesBeyondTheHostsRangeAreAFailure)
{
    Scene t;
    capture(t.view, 3);
    // Key times past 32 bits: frame 3000000 of 1001/30000 s.
    t.view->frameDuration = A_Time{1001, 30000};
    t.view->capturedGravityStartFrame = 3000000;
    t.ui.applyGravityBtn->setEnabled(true);
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    t.ui.applyGravityBtn->click();
    EXPECT_TRUE(message.contains("key time")) << message.toStdString();
    EXPECT_TRUE(t.host->session->leaks().none()) << t.host->session->leaks().describe();
    EXPECT_EQ(t.view->capturedGravity.size(), 3u);
}

} // namespace
