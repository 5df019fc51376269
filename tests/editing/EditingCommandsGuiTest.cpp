// The editing commands: copy and paste of settings, nudging, the set
// dialogs and the transform resets, through the view's slots with the
// dialogs driven by the seam.
#include "JointFixture.h"

#include "dialogs/DialogSeam.h"
#include "editing/Randomizer.h"
#include "dialogs/InputDlg1D.h"
#include "dialogs/InputDlg2D.h"
#include "properties/StructuralCommands.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDoubleSpinBox>

#include <cmath>
#include <functional>

using joint_test::Scene;

namespace {

// Bodies 0, 1, 2 at world (1, 2), (-2, 0), (3, -1).
QByteArray threeApart() { return joint_test::project({{600, 700}, {300, 500}, {800, 400}}); }

// Replaces the dialog runner and the colour picker while it lives.
struct Seam
{
    explicit Seam(dialog_seam::DialogRunner runner = {}, dialog_seam::ColorPicker picker = {})
    {
        dialog_seam::setDialogRunner(std::move(runner));
        dialog_seam::setColorPicker(std::move(picker));
    }
    ~Seam()
    {
        dialog_seam::setDialogRunner({});
        dialog_seam::setColorPicker({});
    }
};

bool sameColour(const AEGP_ColorVal& a, const AEGP_ColorVal& b)
{
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

TEST(StructuralCommands, ResetTransformAndPastesCarryTheirTextsAndKeepPlaying)
{
    Scene s(threeApart());
    s.selectBodies({0, 1});
    s.view->OnRightKey();
    s.view->OnCopyBodySettings();
    s.view->playAnimation();
    const int before = s.stack->count();

    s.view->OnResetTransform();
    EXPECT_EQ(s.lastText(), "Reset Body Transform");
    EXPECT_TRUE(s.view->playing);
    s.view->OnPasteBodySettings();
    EXPECT_EQ(s.lastText(), "Paste Body Settings");
    EXPECT_TRUE(s.view->playing);
    EXPECT_EQ(s.stack->count(), before + 2);

    s.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(0.0f, 0.0f));
    s.view->restartAndStopAnimation(false);
    s.view->selectJoints({0});
    s.view->OnCopyJointSettings();
    s.view->playAnimation();
    s.view->OnPasteJointSettings();
    EXPECT_EQ(s.lastText(), "Paste Joint Settings");
    EXPECT_TRUE(s.view->playing);
    s.stack->undo();
    EXPECT_TRUE(s.view->playing);
}

TEST(PasteBodySettings, EmptyClipboardOrSelectionPushesNothing)
{
    Scene s;
    s.selectBodies({0, 1});
    s.view->OnPasteBodySettings();
    EXPECT_EQ(s.stack->count(), 0);
    s.selectBodies({});
    s.view->OnCopyBodySettings();
    EXPECT_FALSE(s.view->hasCopiedBody());
    s.selectBodies({1});
    s.view->OnCopyBodySettings();
    s.selectBodies({});
    s.view->OnPasteBodySettings();
    EXPECT_EQ(s.stack->count(), 0);
}

TEST(PasteBodySettings, CopiesTheFirstInListOrderAndUndoesEachTargetToItsOwnRecord)
{
    Scene s;
    s.view->bodies[0].density = 4.0f;
    s.view->bodies[1].density = 2.0f;
    s.view->bodies[2].density = 3.0f;
    s.view->bodies[1].friction = 0.9f;
    s.view->setMeshPrecision({4}, {0});
    s.view->setUseConvexHull({true}, {0});
    // Selected in the order 2, 0: the copy is body 0's.
    s.view->selectBodies({2, 0});
    s.view->OnCopyBodySettings();
    s.selectBodies({0, 1, 2});
    s.view->OnPasteBodySettings();
    ASSERT_EQ(s.stack->count(), 1);
    for (const MyBody& b : s.view->bodies) {
        EXPECT_EQ(b.density, 4.0f);
        EXPECT_EQ(b.meshPrecision, 4);
        EXPECT_TRUE(b.useConvexHull);
    }
    EXPECT_EQ(s.ui.meshPrecisionEt->value(), 4.0);
    EXPECT_TRUE(s.ui.useConvexHullCb->isChecked());
    // Placement and identity stay the targets'.
    EXPECT_EQ(s.view->bodies[2].name, "L3");
    EXPECT_NEAR(s.view->bodies[2].position.x, 3.0f, 1e-5f);

    s.stack->undo();
    EXPECT_EQ(s.view->bodies[0].density, 4.0f);
    EXPECT_EQ(s.view->bodies[1].density, 2.0f);
    EXPECT_EQ(s.view->bodies[2].density, 3.0f);
    EXPECT_EQ(s.view->bodies[1].friction, 0.9f);
    EXPECT_EQ(s.view->bodies[1].meshPrecision, 2);
    EXPECT_FALSE(s.view->bodies[2].useConvexHull);
    EXPECT_EQ(s.view->bodies[0].meshPrecision, 4);
    EXPECT_EQ(s.ui.meshPrecisionEt->value(), 4.0);
    s.stack->redo();
    EXPECT_EQ(s.view->bodies[1].density, 4.0f);
}

TEST(PasteBodySettings, LabelColoursStayExactWithIgnoreColourOnAndTravelExactWithItOff)
{
    // Host label colours are not whole 1/255 steps.
    const AEGP_ColorVal source{1.0, 0.7098, 0.2118, 0.4};
    const AEGP_ColorVal targetA{1.0, 0.1647, 0.6431, 0.9412};
    const AEGP_ColorVal targetB{1.0, 0.9373, 0.5137, 0.3333};
    for (int ignore : {1, 0}) {
        SCOPED_TRACE(ignore);
        Scene s;
        s.view->setIgnoreBodyColorWhenPasting(ignore);
        s.view->bodies[0].color = source;
        s.view->bodies[1].color = targetA;
        s.view->bodies[2].color = targetB;
        s.view->bodies[0].friction = 0.8f;
        s.selectBodies({0});
        s.view->OnCopyBodySettings();
        s.selectBodies({1, 2});
        s.view->OnPasteBodySettings();
        EXPECT_EQ(s.view->bodies[1].friction, 0.8f);
        EXPECT_TRUE(sameColour(s.view->bodies[1].color, ignore ? targetA : source));
        EXPECT_TRUE(sameColour(s.view->bodies[2].color, ignore ? targetB : source));
        s.stack->undo();
        EXPECT_TRUE(sameColour(s.view->bodies[1].color, targetA));
        EXPECT_TRUE(sameColour(s.view->bodies[2].color, targetB));
        s.stack->redo();
        if (!ignore) {
            // "With the Same Color" finds the source and both targets.
            s.selectBodies({0});
            s.view->OnSelectBodiesWithTheSameColor();
            EXPECT_EQ(s.view->getSelectedRows2(), (std::vector<int>{0, 1, 2}));
        }
    }
}

TEST(PasteJointSettings, OnlyJointsOfTheCopiedKindChangeAndKeepTheirBodiesAndAnchors)
{
    Scene s;
    s.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(-1.5f, 0.0f));
    s.view->addDistanceJointBetweenTwoBodies(1, 2, b2Vec2(0.0f, 0.0f), b2Vec2(0.0f, 0.0f));
    s.view->addRevoluteJointBetweenTwoBodies(1, 2, b2Vec2(1.5f, 0.0f));
    s.view->restartAndStopAnimation(false);
    s.view->joints[0].motorSpeed = 3.0f;
    s.view->joints[0].enableMotor = true;
    s.view->selectJoints({1});
    s.view->OnCopyJointSettings();
    s.view->selectJoints({0});
    s.view->OnCopyJointSettings();

    // Empty selection, or only other kinds: nothing.
    s.view->selectJoints({1});
    s.view->OnPasteJointSettings();
    EXPECT_EQ(s.stack->count(), 0);

    const float frequency = s.view->joints[1].frequency;
    s.view->selectJoints({1, 2});
    s.view->OnPasteJointSettings();
    ASSERT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.view->joints[2].motorSpeed, 3.0f);
    EXPECT_TRUE(s.view->joints[2].enableMotor);
    EXPECT_EQ(s.view->joints[2].bodyA, 1);
    EXPECT_EQ(s.view->joints[2].bodyB, 2);
    EXPECT_NEAR(s.view->joints[2].anchor.x, 1.5f, 1e-5f);
    EXPECT_EQ(s.view->joints[2].id, 2);
    EXPECT_EQ(s.view->joints[1].frequency, frequency);
    EXPECT_EQ(s.view->joints[1].type, JointType::Distance);
    s.stack->undo();
    EXPECT_EQ(s.view->joints[2].motorSpeed, 0.0f);
    EXPECT_FALSE(s.view->joints[2].enableMotor);
    joint_test::expectConsistent(*s.view);
}

TEST(Nudging, ArrowsMoveAPixelOrTenAndRotateKeysADegreeOrTen)
{
    Scene s(threeApart());
    s.selectBodies({0});
    s.view->OnRightKey();
    EXPECT_NEAR(s.view->bodies[0].position.x, 1.01f, 1e-5f);
    EXPECT_NEAR(s.view->bodies[0].position.y, 2.0f, 1e-5f);
    EXPECT_EQ(s.lastText(), "Move Body");
    s.stack->undo();
    EXPECT_EQ(s.view->bodies[0].position.x, 1.0f);
    s.view->OnShiftUpKey();
    EXPECT_NEAR(s.view->bodies[0].position.y, 1.9f, 1e-5f);

    s.stack->clear();
    for (int i = 0; i < 10; ++i)
        s.view->OnPlusKey();
    EXPECT_EQ(s.stack->count(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(s.stack->text(i), "Rotate Body");
    EXPECT_NEAR(s.view->bodies[0].angle, 10.0f * 3.14159265f / 180.0f, 1e-5f);
    s.view->OnShiftMinusKey();
    EXPECT_NEAR(s.view->bodies[0].angle, 0.0f, 1e-5f);

    // Nothing selected: nothing pushed.
    s.selectBodies({});
    const int count = s.stack->count();
    for (auto key : {&SimulationView::OnLeftKey, &SimulationView::OnShiftDownKey, &SimulationView::OnMinusKey,
                     &SimulationView::OnResetTransform, &SimulationView::OnCenterAEmaticAnchor,
                     &SimulationView::OnSetColor, &SimulationView::OnSetPosition, &SimulationView::OnSetRotation})
        (s.view->*key)();
    EXPECT_EQ(s.stack->count(), count);
}

TEST(SetDialogs, PositionPutsEveryBodyOnOnePointInOneEntry)
{
    Scene s(threeApart());
    double shownX = 0.0, shownY = 0.0;
    Seam seam([&](QDialog* d) {
        auto* dialog = static_cast<InputDlg2D*>(d);
        EXPECT_EQ(dialog->windowTitle(), "Position");
        shownX = dialog->form().xEt->value();
        shownY = dialog->form().yEt->value();
        dialog->form().xEt->setValue(250.0);
        dialog->form().yEt->setValue(-16777200.0);
        dialog->OnOKBtn();
        return 1;
    });
    s.selectBodies({0, 1, 2});
    s.view->OnSetPosition();
    EXPECT_EQ(shownX, 600.0);
    EXPECT_EQ(shownY, 700.0);
    ASSERT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.lastText(), "Move Body");
    for (const MyBody& b : s.view->bodies) {
        EXPECT_NEAR(b.position.x, -2.5f, 1e-5f);
        EXPECT_NEAR(b.position.y, (-16777200.0f - 500.0f) / 100.0f, 1.0f);
    }
    // A far position passes the guard and steps.
    s.view->playAnimation();
    for (int i = 0; i < 3; ++i)
        s.view->updatePhysics();
    s.stack->undo();
    EXPECT_NEAR(s.view->bodies[2].position.x, 3.0f, 1e-5f);

    // Cancelled: nothing.
    Seam cancel([](QDialog* d) {
        static_cast<InputDlg2D*>(d)->OnCancelBtn();
        return 0;
    });
    s.view->OnSetPosition();
    EXPECT_EQ(s.stack->index(), 0);
}

// A pivot between two bodies moved far away and back: undo puts its anchor
// back exactly, not by an offset that lost digits on the way.
TEST(SetDialogs, UndoOfAFarMoveGivesAPivotItsAnchorBackExactly)
{
    Scene s(threeApart());
    s.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(-0.37f, 1.13f));
    s.view->restartAndStopAnimation(false);
    s.stack->clear();
    const b2Vec2 before = s.view->joints[0].anchor;
    Seam seam([](QDialog* d) {
        auto* dialog = static_cast<InputDlg2D*>(d);
        dialog->form().xEt->setValue(16777200.0);
        dialog->form().yEt->setValue(-16777200.0);
        dialog->OnOKBtn();
        return 1;
    });
    s.selectBodies({0, 1});
    s.view->OnSetPosition();
    ASSERT_EQ(s.stack->count(), 1);
    EXPECT_GT(std::fabs(s.view->joints[0].anchor.x - before.x), 1000.0f);
    s.stack->undo();
    EXPECT_EQ(s.view->joints[0].anchor.x, before.x);
    EXPECT_EQ(s.view->joints[0].anchor.y, before.y);
    EXPECT_EQ(s.view->joints[0].committedAnchor.x, before.x);
    ASSERT_NE(s.view->joints[0].joint, nullptr);
    EXPECT_NEAR(s.view->joints[0].joint->GetAnchorA().x, before.x, 1e-4f);
    // Redo and undo again: the same places.
    s.stack->redo();
    const b2Vec2 far = s.view->joints[0].anchor;
    s.stack->undo();
    s.stack->redo();
    EXPECT_EQ(s.view->joints[0].anchor.x, far.x);
    s.stack->undo();
    EXPECT_EQ(s.view->joints[0].anchor.y, before.y);
}

TEST(SetDialogs, RotationShowsRelativeAnglesAndGivesEachBodyItsOwn)
{
    Scene s(threeApart());
    s.view->bodies[1].rotationIsRelative = true;
    s.view->bodies[1].initialRotation = 0.5f;
    s.view->bodies[1].angle = 0.25f;
    double shown = 0.0;
    double typed = 90.0;
    Seam seam([&](QDialog* d) {
        auto* dialog = static_cast<InputDlg1D*>(d);
        EXPECT_EQ(dialog->windowTitle(), "Rotation");
        EXPECT_EQ(dialog->form().xSt->text(), "Degrees:");
        shown = dialog->getX();
        dialog->form().xEt->setValue(typed);
        dialog->OnOKBtn();
        return 1;
    });
    s.selectBodies({1, 2});
    s.view->OnSetRotation();
    EXPECT_NEAR(shown, 0.75 * 57.29578, 1e-3);
    ASSERT_EQ(s.stack->count(), 1);
    const float r = float(90.0 * 3.1415927410125732 / 180.0);
    EXPECT_NEAR(s.view->bodies[1].angle, r - 0.5f, 1e-6f);
    EXPECT_NEAR(s.view->bodies[2].angle, r, 1e-6f);
    // Shown again, the relative body shows what was typed.
    s.view->OnSetRotation();
    EXPECT_NEAR(shown, 90.0, 1e-3);
    EXPECT_EQ(s.stack->count(), 1);

    // A large angle passes the guard and steps.
    typed = 16777200.0;
    s.view->OnSetRotation();
    EXPECT_EQ(s.stack->count(), 2);
    s.view->playAnimation();
    for (int i = 0; i < 3; ++i)
        s.view->updatePhysics();
    s.view->restartAndStopAnimation(false);
    s.stack->undo();

    // Confirming 0 on a body at 0 pushes nothing.
    typed = 0.0;
    s.selectBodies({0});
    s.view->OnSetRotation();
    EXPECT_EQ(s.stack->count(), 2);
}

TEST(SetDialogs, ColourOpensTruncatedAndACancelChangesNothing)
{
    Scene s;
    s.view->bodies[0].color = AEGP_ColorVal{1.0, 1.0, 0.5, 0.0};
    QColor opened;
    QColor answer(10, 20, 30);
    Seam seam({}, [&](const QColor& initial, QWidget*, const QString& title) {
        EXPECT_EQ(title, "Select Color");
        opened = initial;
        return answer;
    });
    s.selectBodies({0, 1});
    s.view->OnSetColor();
    EXPECT_EQ(opened, QColor(255, 127, 0));
    ASSERT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.lastText(), "Change Body Color");
    EXPECT_NEAR(s.view->bodies[1].color.green, 20.0 / 255.0, 1e-6);
    // The same colour again, or a cancel: nothing.
    s.view->colorBtnClicked();
    answer = QColor();
    s.view->colorBtnClicked();
    EXPECT_EQ(s.stack->count(), 1);
    // The panel's button reaches the same slot.
    answer = QColor(200, 0, 0);
    s.ui.colorBtn->setEnabled(true);
    s.ui.colorBtn->click();
    EXPECT_EQ(s.stack->count(), 2);
}

// A host colour between the panel's steps of 1/255 (0.3 of a channel) comes
// back exactly from the undo of every step that changes colours: the colour
// dialog, the randomizer, the colour reset and the reset of the properties.
TEST(SetDialogs, UndoGivesBackAColourBetweenThePanelsStepsExactly)
{
    const AEGP_ColorVal host{1.0, 0.3, 0.7, 0.1};
    struct Step
    {
        const char* what;
        std::function<void(Scene&)> act;
    };
    const Step steps[] = {
        {"colour dialog", [](Scene& s) { s.view->OnSetColor(); }},
        {"randomizer", [](Scene& s) { s.view->randomizeProp(RandomizerProperty::Color, 1.0f, {0, 1}, {}); }},
        {"colour reset", [](Scene& s) { s.view->resetBodyColor(); }},
        {"properties reset",
         [](Scene& s) {
             s.view->setDensity({4.0f, 4.0f}, {0, 1});
             s.view->OnResetBodiesProperties();
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Scene s(threeApart());
        Seam seam({}, [](const QColor&, QWidget*, const QString&) { return QColor(10, 20, 30); });
        s.view->randomSource().setSeed(7);
        s.view->bodies[0].color = host;
        s.view->bodies[1].color = host;
        s.selectBodies({0, 1});
        step.act(s);
        ASSERT_EQ(s.stack->count(), 1);
        s.stack->undo();
        EXPECT_TRUE(sameColour(s.view->bodies[0].color, host));
        EXPECT_TRUE(sameColour(s.view->bodies[1].color, host));
        EXPECT_TRUE(s.view->bodyPanelShows(0));
    }
}

TEST(TransformResets, BodyTransformOnceAndTheAnchorOnTheCentreOfMass)
{
    // Anchor point at the solid's corner: the centre of mass lies half a
    // unit right and down of the position before the 30 degree turn.
    Scene s(R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [{"id": 1, "type": "solid", "name": "A", "source": 1,
                    "transform": {"position": [500, 500], "anchorPoint": [0, 0], "rotation": 30}}]}],
    "activeItem": "Main"
})");
    s.selectBodies({0});
    s.view->OnResetTransform();
    EXPECT_EQ(s.stack->count(), 0);
    s.view->OnRightKey();
    s.view->OnPlusKey();
    s.view->OnResetTransform();
    EXPECT_EQ(s.lastText(), "Reset Body Transform");
    EXPECT_EQ(s.view->bodies[0].position.x, s.view->bodies[0].initialPosition.x);
    const int count = s.stack->count();
    s.view->OnResetTransform();
    EXPECT_EQ(s.stack->count(), count);

    s.view->OnTypeAEmatic();
    const float angle = s.view->bodies[0].angle;
    s.view->OnCenterAEmaticAnchor();
    EXPECT_EQ(s.lastText(), "Move AEmatic Anchor");
    const b2Vec2 expected = b2Mul(b2Rot(angle), b2Vec2(0.5f, 0.5f));
    EXPECT_NEAR(s.view->bodies[0].aematicAnchor.x, expected.x, 1e-4f);
    EXPECT_NEAR(s.view->bodies[0].aematicAnchor.y, expected.y, 1e-4f);
    const int centred = s.stack->count();
    s.view->OnCenterAEmaticAnchor();
    EXPECT_EQ(s.stack->count(), centred);
    s.stack->undo();
    EXPECT_EQ(s.view->bodies[0].aematicAnchor.x, 0.0f);
}

TEST(ResetScene, RebuildsFromTheLayersAndUndoRestoresBodiesJointsAndGlobals)
{
    Scene s;
    s.view->addRevoluteJointBetweenTwoBodies(0, 1, b2Vec2(-1.5f, 0.0f));
    s.view->restartAndStopAnimation(false);
    s.selectBodies({1});
    s.view->setDensity({5.0f}, {1});
    s.view->OnRightKey();
    s.view->setTimeDivider(2.0f);
    s.view->setGravityMagnitude(3.0f);
    s.stack->clear();

    s.ui.onScene->trigger();
    ASSERT_EQ(s.stack->count(), 1);
    EXPECT_EQ(s.lastText(), "Reset Scene");
    EXPECT_TRUE(s.view->joints.empty());
    EXPECT_EQ(s.model()->rowCount(), 0);
    EXPECT_EQ(s.view->bodies[1].density, 1.0f);
    EXPECT_EQ(s.view->bodies[1].position.x, s.view->bodies[1].initialPosition.x);
    EXPECT_EQ(s.ui.timeDividerEt->value(), 1.0);
    EXPECT_EQ(s.ui.gravityMagnitudeEt->value(), 10.0);

    s.stack->undo();
    ASSERT_EQ(s.view->joints.size(), 1u);
    EXPECT_EQ(s.view->bodies[1].density, 5.0f);
    EXPECT_NEAR(s.view->bodies[1].position.x, 0.01f, 1e-5f);
    EXPECT_EQ(s.ui.timeDividerEt->value(), 2.0);
    EXPECT_EQ(s.ui.gravityMagnitudeEt->value(), 3.0);
    joint_test::expectConsistent(*s.view);
    s.stack->redo();
    EXPECT_TRUE(s.view->joints.empty());
}

// The bodies keep their drawing data through Reset Scene, a snapshot and
// their undo: the selection the view draws and the table's stay one.
TEST(ResetScene, TheSelectionStaysWhatTheTableShows)
{
    Scene s;
    auto agree = [&](const std::vector<int>& expected) {
        std::vector<int> table = s.view->getSelectedRows();
        std::sort(table.begin(), table.end());
        EXPECT_EQ(s.view->getSelectedRows2(), expected);
        EXPECT_EQ(table, expected);
    };
    s.selectBodies({1});
    s.view->setDensity({5.0f}, {1});
    s.ui.addQuickPresetBtn->click();
    s.view->OnResetScene();
    agree({1});
    s.selectBodies({0, 2});
    s.stack->undo();
    agree({0, 2});
    s.stack->redo();
    agree({0, 2});
    s.view->quickPresetsTableDoubleClicked(s.view->presetsModel()->index(0, 0));
    agree({0, 2});
    EXPECT_EQ(s.view->bodies[1].density, 5.0f);
    s.stack->undo();
    agree({0, 2});
}

// A failure while one layer becomes a body, with the layer walk itself
// fine: the rebuild would hold a body without its layer's identity or box.
TEST(ResetScene, AFailureWhileALayerBecomesABodyPushesNothingAndIsToldOnce)
{
    struct Row {
        const char* suite;
        int slot;
        int nth;
        const char* what;
    };
    const Row rows[] = {
        {kAEGPLayerSuite, 37, 2, "the second layer's ID"},
        {kAEGPItemSuite, 17, 4, "the second layer source's pixel aspect"},
        {kAEGPMaskOutlineSuite, 3, 1, "a vertex of the second layer's mask"},
    };
    // The second of three solids carries a triangle mask.
    QByteArray masked = joint_test::threeInARow();
    masked.replace(R"("name": "L2", "source": 1,)",
                   R"("name": "L2", "source": 1, "masks": [{"shape": {"closed": true,
                       "vertices": [[0, 0, 0, 0, 0, 0], [100, 0, 0, 0, 0, 0], [0, 80, 0, 0, 0, 0]]}}],)");
    for (const Row& row : rows) {
        Scene s(masked);
        ASSERT_FALSE(s.view->bodies[1].isLayerBox);
        s.view->setDensity({5.0f}, {1});
        s.stack->clear();
        const MyBody before = s.view->bodies[1];
        s.host->session->faults().failNth(row.suite, standin::FaultInjector::kAnyVersion, row.slot, row.nth);
        joint_test::MessageCatcher messages;
        s.view->OnResetScene();
        EXPECT_EQ(s.host->session->faults().injectedCount(), 1) << row.what;
        s.host->session->faults().clear();
        EXPECT_EQ(s.stack->count(), 0) << row.what;
        EXPECT_EQ(s.view->bodies[1].density, 5.0f) << row.what;
        EXPECT_EQ(s.view->bodies[1].layerID, before.layerID) << row.what;
        EXPECT_EQ(s.view->bodies[1].outlines.size(), before.outlines.size()) << row.what;
        ASSERT_EQ(messages.texts.size(), 1) << row.what;
        EXPECT_TRUE(messages.texts[0].contains("could not be reset")) << row.what;

        // Once the host answers again, the reset goes through.
        s.view->OnResetScene();
        EXPECT_EQ(s.stack->count(), 1) << row.what;
        EXPECT_EQ(s.view->bodies[1].density, 1.0f) << row.what;
    }
}

TEST(ResetScene, AHostFailureIsReportedAndChangesNothing)
{
    Scene s;
    s.view->setDensity({5.0f}, {1});
    // The layers cannot be reached.
    s.host->session->faults().failEvery(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 1);
    joint_test::MessageCatcher messages;
    s.view->OnResetScene();
    EXPECT_GT(s.host->session->faults().injectedCount(), 0);
    s.host->session->faults().clear();
    EXPECT_EQ(s.stack->count(), 0);
    EXPECT_EQ(s.view->bodies[1].density, 5.0f);
    ASSERT_FALSE(messages.texts.isEmpty());
    EXPECT_TRUE(messages.texts.last().contains("could not be reset"));
    EXPECT_EQ(s.view->bodies.size(), 3u);
}
