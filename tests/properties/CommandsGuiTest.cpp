// The property commands stamped from the shared shapes: texts, setters and
// their undo, for a row command, a scene-wide one and the colour.
#include "../editing/EditFixture.h"

#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

namespace {

using namespace edit_test;

TEST(PropertyCommands, RowCommandsCarryTheirTextAndUndoPerRow)
{
    Edit e;
    e.stack->push(new CommandFrictionChange(e.view, {0.5f, 0.2f}, {0.9f, 0.9f}, {0, 2}));
    EXPECT_EQ(e.lastText(), "Change Friction");
    EXPECT_EQ(e.view->bodies[2].friction, 0.9f);
    e.stack->undo();
    EXPECT_EQ(e.view->bodies[0].friction, 0.5f);
    EXPECT_EQ(e.view->bodies[2].friction, 0.2f);
    EXPECT_DOUBLE_EQ(e.view->form().frictionEt->value(), 0.5);

    e.stack->push(new CommandCollideWithCChange(e.view, {true}, {false}, {1}));
    EXPECT_EQ(e.lastText(), "Change Collide With Group C");
    EXPECT_EQ(e.view->bodies[1].maskBits, 0xFFFF & ~4);
    e.stack->push(new CommandDistanceJointFrequencyChange(e.view, {}, {}, {}));
    EXPECT_EQ(e.lastText(), "Change Distance Joint Tension");
    e.stack->push(new CommandBodiesRotationChange(e.view, {0.0f}, {1.0f}, {1}));
    EXPECT_EQ(e.lastText(), "Rotate Body");
    EXPECT_EQ(e.view->bodies[1].angle, 1.0f);
    // Commands never merge: every push is its own entry (the undone
    // friction step gave way to them).
    EXPECT_EQ(e.stack->count(), 3);
}

TEST(PropertyCommands, SceneWideCommandsSetTheirControls)
{
    Edit e;
    const Ui::ZolvarDlgClass& ui = e.view->form();
    e.stack->push(new CommandGravityInheritFromChange(e.view, false, true));
    EXPECT_EQ(e.lastText(), "Change Gravity Inherit From");
    EXPECT_TRUE(ui.gravityLayerCb->isChecked());
    EXPECT_TRUE(ui.gravityLayerLst->isEnabled());
    e.stack->undo();
    EXPECT_FALSE(ui.gravityLayerCb->isChecked());
    EXPECT_FALSE(ui.gravityLayerLst->isEnabled());

    e.stack->push(new CommandGravityDirectionChange(e.view, 90.0, -90.0));
    EXPECT_EQ(e.lastText(), "Change Gravity Direction");
    EXPECT_DOUBLE_EQ(ui.gravityDirectionEt->value(), -90.0);
    EXPECT_EQ(ui.gravityDirectionSld->fromVal, -90000);
}

TEST(PropertyCommands, AColourListWithAnInvalidColourChangesNoBody)
{
    Edit e;
    const AEGP_ColorVal before = e.view->bodies[0].color;
    e.view->setBodyColor({QColor(255, 0, 0), QColor()}, {0, 1});
    EXPECT_EQ(e.view->bodies[0].color.green, before.green);

    e.stack->push(new CommandBodyColorChange(e.view, {QColor(10, 20, 30)}, {QColor(0, 255, 0)}, {0}));
    EXPECT_EQ(e.lastText(), "Change Body Color");
    EXPECT_DOUBLE_EQ(e.view->bodies[0].color.green, 1.0);
    EXPECT_DOUBLE_EQ(e.view->bodies[0].color.red, 0.0);
}

} // namespace
