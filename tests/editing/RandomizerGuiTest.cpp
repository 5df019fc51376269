// The randomizer in the main window: the command with its message and
// dialog, one undo step per run, the joint rows, Collide With per group, and
// the guards against bad randomness and ids.
#include "EditFixture.h"
#include "mainwindow/ModalAnswer.h"

#include "dialogs/RandomizerDlg.h"
#include "editing/Randomizer.h"
#include "properties/DragCommands.h"
#include "properties/PropertyCommands.h"

#include <QMessageBox>

namespace {

using edit_test::Edit;
namespace P = RandomizerProperty;

constexpr std::uint32_t kLow = 0;
constexpr std::uint32_t kHigh = 0x7FFFFFFFu;

// Answers the randomizer dialog: records what it opened on, then either
// chooses (id, percent) and presses OK, or presses Cancel (id < 0).
struct DialogAnswer
{
    int shownId = -1;
    double shownPercent = -1;
    bool seen = false;

    QPointer<QTimer> poll;

    void arm(int id, double percent)
    {
        poll = whenShown<RandomizerDlg>([this, id, percent](RandomizerDlg& dialog) {
            seen = true;
            shownId = dialog.form().propertyLst->currentIndex();
            shownPercent = dialog.form().randomnessEt->value();
            if (id < 0) {
                dialog.form().cancelBtn->click();
                return;
            }
            dialog.form().propertyLst->setCurrentIndex(id);
            dialog.form().randomnessEt->setValue(percent);
            dialog.form().okBtn->click();
        });
    }
};

// Two joint records between the boxes, selected: a distance joint (0-1) and
// a pivot (1-2), and a piston (0-2) when asked.
void addJoints(SimulationView* view, bool piston = false)
{
    MyJoint distance;
    distance.id = 0;
    distance.type = JointType::Distance;
    distance.bodyA = 0;
    distance.bodyB = 1;
    distance.selected = true;
    MyJoint pivot;
    pivot.id = 1;
    pivot.type = JointType::Revolute;
    pivot.bodyA = 1;
    pivot.bodyB = 2;
    pivot.anchor = b2Vec2(1.5f, 0.0f);
    pivot.lowerAngle = -10.0f;
    pivot.upperAngle = 10.0f;
    pivot.selected = true;
    view->joints = {distance, pivot};
    if (piston) {
        MyJoint p;
        p.id = 2;
        p.type = JointType::Prismatic;
        p.bodyA = 0;
        p.bodyB = 2;
        p.anchor = b2Vec2(0.0f, 0.0f);
        p.axis = b2Vec2(1.0f, 0.0f);
        p.enableLimit = true;
        p.lowerTranslation = -0.1f;
        p.upperTranslation = 0.1f;
        p.selected = true;
        view->joints.push_back(p);
    }
    view->restartAndStopAnimation(false);
}

TEST(RandomizerInWindow, WithoutSelectionAMessageAndNoDialog)
{
    Edit e;
    e.view->deselectAllBodies();
    QString message;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        message = box.text();
        EXPECT_EQ(box.windowTitle(), "Zolvar");
        box.accept();
    });
    DialogAnswer answer;
    answer.arm(-1, 0);
    // The command's action reaches the view, and its key works in the window;
    // with nothing selected the menu keeps it disabled, and the slot itself,
    // reached while the enabled state is stale, says why it does nothing.
    EXPECT_TRUE(e.view->actions().contains(e.window->form().onRandomizer));
    EXPECT_FALSE(e.window->form().onRandomizer->isEnabled());
    e.view->OnRandomizer();
    EXPECT_EQ(message, "To use Randomizer, you must select at least one body or joint.");
    QTest::qWait(50);
    EXPECT_FALSE(answer.seen);
    delete answer.poll;
    EXPECT_EQ(e.stack->count(), 0);
}

TEST(RandomizerInWindow, TheDialogOpensOnTheLastAppliedChoice)
{
    Edit e;
    e.view->selectBodies({0, 1, 2});
    e.view->randomSource().setSeed(5);

    DialogAnswer first;
    first.arm(-1, 0);
    e.view->OnRandomizer();
    EXPECT_EQ(first.shownId, 1);
    EXPECT_EQ(first.shownPercent, 50.0);
    EXPECT_EQ(e.stack->count(), 0) << "Cancel changes nothing";
    EXPECT_EQ(e.view->lastRandomizerPropertyId, 1);

    // Density at 100 %: one step with the property's text over every row.
    std::vector<float> before;
    for (const MyBody& b : e.view->bodies)
        before.push_back(b.density);
    DialogAnswer second;
    second.arm(P::Density, 100);
    e.view->OnRandomizer();
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Change Density");
    const auto* command = dynamic_cast<const CommandDensityChange*>(e.stack->command(0));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->rowList(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(command->oldList(), before);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(e.view->bodies[i].density, command->newList()[i]);
        EXPECT_GE(e.view->bodies[i].density, 0.001f);
        EXPECT_LE(e.view->bodies[i].density, before[i] + 1.0f);
    }
    EXPECT_EQ(e.view->lastRandomizerPropertyId, int(P::Density));
    EXPECT_FLOAT_EQ(e.view->lastRandomizerRandomness, 1.0f);

    // One undo restores every row.
    e.stack->undo();
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(e.view->bodies[i].density, before[i]);

    DialogAnswer third;
    third.arm(-1, 0);
    e.view->OnRandomizer();
    EXPECT_EQ(third.shownId, int(P::Density));
    EXPECT_EQ(third.shownPercent, 100.0);
}

TEST(RandomizerInWindow, PositionSpreadsOverHalfTheComposition)
{
    Edit e;
    const b2Vec2 a = e.view->bodies[0].position;
    const b2Vec2 b = e.view->bodies[1].position;
    // 1000 x 1000 pixels: half is 5 world units each way; x then y per row.
    e.view->randomSource().script({kHigh, kLow, kLow, kHigh});
    e.view->randomizeProp(P::Position, 1.0f, {0, 1}, {});
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Move Body");
    EXPECT_FLOAT_EQ(e.view->bodies[0].position.x, a.x + 5.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[0].position.y, a.y - 5.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[1].position.x, b.x - 5.0f);
    EXPECT_FLOAT_EQ(e.view->bodies[1].position.y, b.y + 5.0f);
    e.stack->undo();
    EXPECT_FLOAT_EQ(e.view->bodies[0].position.x, a.x);
}

TEST(RandomizerInWindow, AJointPropertyGoesToEverySelectedJointInOneCommand)
{
    Edit e;
    addJoints(e.view);
    ASSERT_EQ(e.view->getSelectedRowsInJointsTable2(), (std::vector<int>{0, 1}));
    e.view->randomSource().setSeed(9);
    // A body property with only joints: nothing.
    e.view->randomizeProp(P::Density, 1.0f, {}, {0, 1});
    EXPECT_EQ(e.stack->count(), 0);

    e.view->randomizeProp(P::PivotLowerAngle, 1.0f, {}, {0, 1});
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Change Pivot Joint Lower Angle");
    const auto* command = dynamic_cast<const CommandRevoluteJointLowerAngleChange*>(e.stack->command(0));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->rowList(), (std::vector<int>{0, 1}));
    for (const MyJoint& joint : e.view->joints) {
        EXPECT_GE(joint.lowerAngle, -180.0f);
        EXPECT_LE(joint.lowerAngle, 0.0f);
    }
    e.stack->undo();
    EXPECT_EQ(e.view->joints[0].lowerAngle, 0.0f);
    EXPECT_EQ(e.view->joints[1].lowerAngle, -10.0f);
}

TEST(RandomizerInWindow, CollideWithPushesOneStepPerChangedGroup)
{
    Edit e;
    // Bodies 0 and 1; draws A..E for body 0, then for body 1. Flips where the
    // raw is high (x >= 0.25): A (body 0), C (body 1), E (both).
    e.view->randomSource().script({kHigh, kLow, kLow, kLow, kHigh,  // body 0
                                   kLow, kLow, kHigh, kLow, kHigh}); // body 1
    const uint16_t before0 = e.view->bodies[0].maskBits;
    const uint16_t before1 = e.view->bodies[1].maskBits;
    e.view->randomizeProp(P::CollideWith, 1.0f, {0, 1}, {});
    ASSERT_EQ(e.stack->count(), 3);
    EXPECT_EQ(e.stack->text(0), "Change Collide With Group A");
    EXPECT_EQ(e.stack->text(1), "Change Collide With Group C");
    EXPECT_EQ(e.stack->text(2), "Change Collide With Group E");
    const auto* groupA = dynamic_cast<const CommandCollideWithAChange*>(e.stack->command(0));
    ASSERT_TRUE(groupA);
    EXPECT_EQ(groupA->rowList(), (std::vector<int>{0, 1}));
    EXPECT_EQ(groupA->newList(), (std::vector<bool>{false, true}));
    EXPECT_EQ(e.view->bodies[0].maskBits, before0 & ~(1u | 16u));
    EXPECT_EQ(e.view->bodies[1].maskBits, before1 & ~(4u | 16u));

    // Undone E, then C, then A.
    e.stack->undo();
    EXPECT_EQ(e.view->bodies[0].maskBits, before0 & ~1u);
    EXPECT_EQ(e.view->bodies[1].maskBits, before1 & ~4u);
    e.stack->undo();
    EXPECT_EQ(e.view->bodies[1].maskBits, before1);
    e.stack->undo();
    EXPECT_EQ(e.view->bodies[0].maskBits, before0);
}

TEST(RandomizerInWindow, BadRandomnessAndIdsChangeNothing)
{
    Edit e;
    e.view->selectBodies({0, 1});
    const float density = e.view->bodies[0].density;
    const long long drawsBefore = e.view->randomSource().drawCount();
    for (float r : {-0.5f, -167772.0f, std::nanf("")}) {
        e.view->randomizeProp(P::Density, r, {0, 1}, {});
        e.view->randomizeProp(P::Color, r, {0, 1}, {});
        e.view->randomizeProp(P::MeshPrecision, r, {0, 1}, {});
    }
    for (int id : {0, 25, 29, 37, 45, -1, 49, 1000})
        e.view->randomizeProp(id, 1.0f, {0, 1}, {0});
    // Rows that name nothing are skipped.
    e.view->randomizeProp(P::Density, 1.0f, {-1, 7}, {});
    EXPECT_EQ(e.stack->count(), 0);
    EXPECT_EQ(e.view->bodies[0].density, density);
    EXPECT_EQ(e.view->randomSource().drawCount(), drawsBefore);

    // Through the dialog: a negative percentage is remembered, not applied.
    DialogAnswer answer;
    answer.arm(P::Friction, -50);
    e.view->OnRandomizer();
    EXPECT_EQ(e.stack->count(), 0);
    EXPECT_EQ(e.view->lastRandomizerPropertyId, int(P::Friction));
    EXPECT_FLOAT_EQ(e.view->lastRandomizerRandomness, -0.5f);
}

TEST(RandomizerInWindow, HostileStoredValuesAndWideRandomnessKeepTheSceneAlive)
{
    Edit e;
    addJoints(e.view, true);
    e.view->randomSource().setSeed(21);
    e.view->bodies[1].type = -3;
    e.view->randomizeProp(P::Type, 1.0f, {1}, {});
    EXPECT_GE(e.view->bodies[1].type, 0);
    EXPECT_LE(e.view->bodies[1].type, 5);
    e.view->bodies[0].meshPrecision = 0;
    e.view->randomizeProp(P::MeshPrecision, 0.05f, {0}, {});
    EXPECT_EQ(e.view->bodies[0].meshPrecision, 1);
    e.view->bodies[2].linearVelocityDirection = -1e30f;
    e.view->randomizeProp(P::VelocityDirection, 0.1f, {2}, {});
    EXPECT_GE(e.view->bodies[2].linearVelocityDirection, 0.0f);
    EXPECT_LT(e.view->bodies[2].linearVelocityDirection, 360.0f);

    // Pistons at 250 %: lower and upper drawn apart may cross; the scene
    // still builds and runs.
    e.view->randomSource().script({kHigh});
    e.view->randomizeProp(P::PistonLowerTranslation, 2.5f, {}, {2});
    e.view->randomSource().script({kLow});
    e.view->randomizeProp(P::PistonUpperTranslation, 2.5f, {}, {2});
    EXPECT_GT(e.view->joints[2].lowerTranslation, e.view->joints[2].upperTranslation);
    for (int id : {P::PivotLowerAngle, P::PivotUpperAngle, P::PivotMaxMotorTorque, P::DistanceDamping,
                   P::DistanceTension, P::Friction, P::LinearDamping, P::AngularDamping, P::Density})
        e.view->randomizeProp(id, 2.5f, {0, 1, 2}, {0, 1, 2});
    e.view->restartAndStopAnimation(false);
    e.view->limiter.disable();
    e.view->playAnimation();
    for (int tick = 0; tick < 50; ++tick)
        e.view->updatePhysics();
    for (const MyBody& body : e.view->bodies)
        ASSERT_TRUE(body.body && std::isfinite(body.body->GetPosition().x));
}

} // namespace
