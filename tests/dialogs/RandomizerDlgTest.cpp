// The randomizer dialog: its 49 entries, the disabled bold headers, the
// presets, what OK returns and that every other way out returns nothing.
#include "../mainwindow/TestApp.h"

#include "dialogs/RandomizerDlg.h"
#include "editing/Randomizer.h"

#include <gtest/gtest.h>

#include <QStandardItemModel>
#include <QTest>

namespace {

const char* const kEntries[49] = {
    "__________Body__________", "Position", "Rotation", "Type", "Density", "Friction", "Bounciness", "Color",
    "Mesh Precision", "Velocity Magnitude", "Velocity Direction", "Angular Velocity", "Linear Damping",
    "Angular Damping", "AEmatic Damping", "AEmatic Tension", "Collision Group", "Collide With", "Fixed Rotation",
    "Gravity Scale", "Use Convex Hull", "Magnetism Type", "Magnet Intensity", "Magnet Distance",
    "Accept Magnetism", "_____Distance Joint_____", "Tension", "Damping", "Collide Connected",
    "_______Pivot Joint______", "Enable Limit", "Lower Angle", "Upper Angle", "Enable Motor", "Motor Speed",
    "Max Motor Torque", "Collide Connected", "_______Piston Joint_____", "Enable Limit", "Lower Translation",
    "Upper Translation", "Enable Motor", "Motor Speed", "Max Motor Force", "Collide Connected",
    "_______Spring Joint_____", "Springiness", "Damping", "Desired Length",
};

TEST(RandomizerDlg, TheListHoldsTheEntriesWithDisabledBoldHeaders)
{
    testApp();
    RandomizerDlg dialog(nullptr, Qt::WindowTitleHint, 1, 0.5f);
    EXPECT_EQ(dialog.objectName(), "RandomizerDlgClass");
    EXPECT_EQ(dialog.windowTitle(), "Randomizer");
    const QComboBox* list = dialog.form().propertyLst;
    ASSERT_EQ(list->count(), 49);
    EXPECT_TRUE(list->isEditable());
    EXPECT_EQ(list->maxVisibleItems(), 20);
    const auto* model = qobject_cast<const QStandardItemModel*>(list->model());
    ASSERT_TRUE(model);
    for (int i = 0; i < 49; ++i) {
        EXPECT_EQ(list->itemText(i), QString::fromLatin1(kEntries[i])) << i;
        const bool header = i == 0 || i == 25 || i == 29 || i == 37 || i == 45;
        EXPECT_EQ(header, !isRandomizerBodyProperty(i) && !isRandomizerJointProperty(i)) << i;
        EXPECT_EQ(model->item(i)->isEnabled(), !header) << i;
        if (header) {
            EXPECT_EQ(list->itemText(i).size(), 24);
            const QFont font = list->itemData(i, Qt::FontRole).value<QFont>();
            EXPECT_TRUE(font.bold());
            EXPECT_EQ(font.pointSize(), 12);
            EXPECT_EQ(font.family(), "Lucida Grande");
        }
    }
    EXPECT_EQ(dialog.form().okBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(dialog.form().cancelBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(dialog.form().okBtn->isDefault());
}

TEST(RandomizerDlg, OkReturnsTheChoiceAsAFraction)
{
    testApp();
    struct Row
    {
        int id;
        float randomness;
        const char* shown;
        double percent;
        double typed;  // < -1e9: keep what is shown
        int returnedId;
        float returned;
    };
    const Row rows[] = {
        {1, 0.5f, "Position", 50, -2e9, 1, 0.5f},
        {4, 0.123f, "Density", 12, -2e9, 4, 0.12f},
        {31, 0.1f, "Lower Angle", 10, 250, 31, 2.5f},
        {25, 0.0f, "_____Distance Joint_____", 0, -2e9, 25, 0.0f},
        {17, 1.0f, "Collide With", 100, -16777200, 17, -167772.0f},
    };
    for (const Row& row : rows) {
        RandomizerDlg dialog(nullptr, Qt::WindowTitleHint, row.id, row.randomness);
        EXPECT_EQ(dialog.form().propertyLst->currentText(), row.shown);
        EXPECT_EQ(dialog.form().randomnessEt->value(), row.percent);
        EXPECT_EQ(dialog.form().randomnessEt->text(), QString::number(row.percent));
        EXPECT_EQ(dialog.getPropertyId(), 0) << "nothing before OK";
        if (row.typed > -1e9)
            dialog.form().randomnessEt->setValue(row.typed);
        dialog.form().okBtn->click();
        EXPECT_EQ(dialog.getPropertyId(), row.returnedId);
        EXPECT_FLOAT_EQ(dialog.getRandomness(), row.returned);
    }
}

TEST(RandomizerDlg, CancelEscapeAndCloseReturnNothing)
{
    testApp();
    for (int way = 0; way < 3; ++way) {
        RandomizerDlg dialog(nullptr, Qt::WindowTitleHint, 7, 0.8f);
        dialog.show();
        if (way == 0)
            dialog.form().cancelBtn->click();
        else if (way == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        EXPECT_FALSE(dialog.isVisible()) << way;
        EXPECT_EQ(dialog.getPropertyId(), 0) << way;
        EXPECT_EQ(dialog.getRandomness(), 0.0f) << way;
    }
}

} // namespace
