// The body panel's lists and flags, the colour reset, the open-shape line
// width keys, the reset of every property, and the panel's filling and
// enabling.
#include "../editing/EditFixture.h"

#include "model/UserData.h"
#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"
#include "render/SceneDraw.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

namespace {

using namespace edit_test;

struct Choices : Edit
{
    const Ui::ZolvarDlgClass& ui = view->form();
    MyBody& body(int i) { return view->bodies[size_t(i)]; }
    UserData* data(int i) { return reinterpret_cast<UserData*>(body(i).body->GetFixtureList()->GetUserData().pointer); }
    template <typename T>
    const RowValuesCommand<T>* command(int i) const
    {
        return dynamic_cast<const RowValuesCommand<T>*>(stack->command(i));
    }
    QString tableCell(int row, int column) const
    {
        return ui.bodiesTable->model()->index(row, column).data().toString();
    }
};

TEST(BodyLists, ChoosingATypeMakesOneStepFromEachBodysType)
{
    Choices c;
    c.view->setType({BodyType::Static, BodyType::Dynamic}, {0, 1});
    c.view->restartAnimation();
    c.view->selectBodies({0, 1});
    c.ui.typeLst->setCurrentIndex(BodyType::Dynamic);
    ASSERT_EQ(c.stack->count(), 1);
    EXPECT_EQ(c.lastText(), "Change Type");
    const auto* step = c.command<int>(0);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->oldList(), (std::vector<int>{0, 2}));
    EXPECT_EQ(step->newList(), (std::vector<int>{2, 2}));
    EXPECT_FALSE(c.data(0)->staticHighlight);
    c.stack->undo();
    EXPECT_EQ(c.body(0).type, BodyType::Static);
    EXPECT_TRUE(c.data(0)->staticHighlight);
    EXPECT_EQ(c.ui.typeLst->currentIndex(), BodyType::Static);

    // Everything already Dynamic: the reset does nothing.
    c.view->selectBodies({1, 2});
    c.ui.resetTypeBtn->click();
    EXPECT_EQ(c.stack->count(), 1);
}

TEST(BodyLists, AnAEmaticChoiceTurnsJointDrawingOnAndUndoLeavesIt)
{
    Choices c;
    QAction* joints = nullptr;
    for (QAction* action : c.window->viewOptionsMenuOf()->actions())
        if (action->text() == "Joints")
            joints = action;
    ASSERT_NE(joints, nullptr);
    joints->setChecked(false);
    c.view->setDrawingFlags(c.view->getDrawingFlags() & ~unsigned(DrawingFlag::Joints));
    c.view->selectBodies({0});
    c.ui.typeLst->setCurrentIndex(BodyType::AEmatic);
    EXPECT_TRUE(c.view->getDrawingFlags() & DrawingFlag::Joints);
    EXPECT_TRUE(joints->isChecked());
    EXPECT_TRUE(c.view->hasAEmaticBody);
    c.stack->undo();
    EXPECT_EQ(c.body(0).type, BodyType::Dynamic);
    EXPECT_TRUE(c.view->getDrawingFlags() & DrawingFlag::Joints);
}

TEST(BodyLists, TheContextMenuTypesSetTheListEvenWithNothingSelected)
{
    Choices c;
    c.view->selectBodies({});
    c.view->OnTypeDead();
    EXPECT_EQ(c.ui.typeLst->currentIndex(), BodyType::Dead);
    EXPECT_EQ(c.stack->count(), 0);
    c.view->selectBodies({2});
    c.view->OnTypeKinematic();
    EXPECT_EQ(c.body(2).type, BodyType::Kinematic);
    EXPECT_TRUE(c.view->hasKinematicBody);
    c.view->OnTypeStatic();
    c.view->OnTypeDynamic();
    c.view->OnTypeDormant();
    c.view->OnTypeAEmatic();
    EXPECT_EQ(c.body(2).type, BodyType::AEmatic);
    EXPECT_EQ(c.stack->count(), 5);
}

TEST(BodyLists, TheGroupShowsInTheTableAndUndoKeepsEachBodysOwnBits)
{
    Choices c;
    c.body(0).categoryBits = 3;  // no single group, as settings files may bring
    c.view->selectBodies({0, 1});
    // Counted as group A: choosing A changes nothing.
    c.view->collisionGroupLstChanged(0);
    EXPECT_EQ(c.stack->count(), 0);
    c.ui.collisionGroupLst->setCurrentIndex(1);
    ASSERT_EQ(c.stack->count(), 1);
    EXPECT_EQ(c.lastText(), "Change Collision Group");
    EXPECT_EQ(c.body(0).categoryBits, 2);
    EXPECT_EQ(c.tableCell(0, 2), "B");
    EXPECT_EQ(c.tableCell(1, 2), "B");
    c.stack->undo();
    EXPECT_EQ(c.body(0).categoryBits, 3);
    EXPECT_EQ(c.body(1).categoryBits, 1);
    EXPECT_EQ(c.tableCell(0, 2), "A");
    EXPECT_EQ(c.ui.collisionGroupLst->currentIndex(), 0);
    c.stack->redo();
    EXPECT_EQ(c.body(0).categoryBits, 2);

    // An index no entry has is stored as group A.
    c.view->setCollisionGroup({7}, {2});
    EXPECT_EQ(c.body(2).categoryBits, 1);
    EXPECT_EQ(c.tableCell(2, 2), "A");
}

TEST(BodyLists, TheMagnetFlagFollowsTheWholeScene)
{
    Choices c;
    c.view->selectBodies({0, 1});
    c.ui.magnetismTypeLst->setCurrentIndex(MagnetismType::Repulsion);
    EXPECT_TRUE(c.view->hasMagnet);
    EXPECT_TRUE(c.data(0)->isMagnet);
    EXPECT_TRUE(c.data(0)->isRepulsion);
    c.view->selectBodies({0});
    c.ui.magnetismTypeLst->setCurrentIndex(MagnetismType::NoMagnetism);
    EXPECT_TRUE(c.view->hasMagnet) << "body 1 is still a magnet";
    c.view->selectBodies({1});
    c.ui.resetMagnetismTypeBtn->click();
    EXPECT_FALSE(c.view->hasMagnet);
    EXPECT_EQ(c.lastText(), "Change Magnetism Type");
    // The setter raises it again, on undo too.
    c.stack->undo();
    EXPECT_TRUE(c.view->hasMagnet);
}

TEST(BodyFlags, EachBoxMakesOneStepAndUndoGivesEachBodyItsOwnFlag)
{
    struct Flag
    {
        const char* box;
        const char* text;
        bool (*read)(const MyBody&);
    };
    const Flag flags[] = {
        {"collideWithACb", "Change Collide With Group A", [](const MyBody& b) { return (b.maskBits & 1) != 0; }},
        {"collideWithBCb", "Change Collide With Group B", [](const MyBody& b) { return (b.maskBits & 2) != 0; }},
        {"collideWithCCb", "Change Collide With Group C", [](const MyBody& b) { return (b.maskBits & 4) != 0; }},
        {"collideWithDCb", "Change Collide With Group D", [](const MyBody& b) { return (b.maskBits & 8) != 0; }},
        {"collideWithECb", "Change Collide With Group E", [](const MyBody& b) { return (b.maskBits & 16) != 0; }},
        {"fixedRotationCb", "Change Fixed Rotation", [](const MyBody& b) { return b.fixedRotation; }},
        {"useConvexHullCb", "Change Use Convex Hull", [](const MyBody& b) { return b.useConvexHull; }},
        {"acceptMagnetismCb", "Change Accept Magnetism", [](const MyBody& b) { return b.acceptMagnetism; }},
    };
    Choices c;
    c.view->selectBodies({0, 1});
    for (const Flag& f : flags) {
        SCOPED_TRACE(f.box);
        QCheckBox* box = c.window->findChild<QCheckBox*>(f.box);
        ASSERT_NE(box, nullptr);
        const bool first = f.read(c.body(0));
        const int before = c.stack->count();
        box->setChecked(!first);
        ASSERT_EQ(c.stack->count(), before + 1);
        EXPECT_EQ(c.lastText(), f.text);
        EXPECT_EQ(f.read(c.body(0)), !first);
        EXPECT_EQ(f.read(c.body(1)), !first);
        EXPECT_EQ(c.body(0).maskBits & 0xFFE0, 0xFFE0) << "bits beyond the groups were touched";
        c.stack->undo();
        EXPECT_EQ(f.read(c.body(0)), first);
        EXPECT_EQ(box->isChecked(), first);
        c.stack->redo();
    }
}

TEST(BodyFlags, TheCollideWithResetMakesOneStepPerLetterThatChanges)
{
    Choices c;
    c.body(0).maskBits = 0xFFE0;
    c.view->selectBodies({0});
    c.ui.resetCollideWithBtn->click();
    ASSERT_EQ(c.stack->count(), 5);
    EXPECT_EQ(c.stack->text(0), "Change Collide With Group A");
    EXPECT_EQ(c.stack->text(4), "Change Collide With Group E");
    EXPECT_EQ(c.body(0).maskBits, 0xFFFF);
    c.stack->undo();
    EXPECT_EQ(c.body(0).maskBits, 0xFFEF);
}

TEST(BodyFlags, TheCollideWithResetOfOneClearedLetterIsOneStep)
{
    Choices d;
    d.body(1).maskBits = 0xFFFF & ~4;
    d.view->selectBodies({0, 1});
    d.ui.resetCollideWithBtn->click();
    ASSERT_EQ(d.stack->count(), 1);
    EXPECT_EQ(d.lastText(), "Change Collide With Group C");
}

TEST(BodyFlags, TheConvexHullBoxRefreshesTheInformationItsResetDoesNot)
{
    Choices c;
    c.view->selectBodies({0});
    c.ui.infoSt->setText("before");
    c.ui.useConvexHullCb->setChecked(true);
    EXPECT_TRUE(c.body(0).useConvexHull);
    EXPECT_TRUE(c.ui.infoSt->text().startsWith("Body Index: 1\n")) << c.ui.infoSt->text().toStdString();
    c.ui.infoSt->setText("before");
    c.ui.resetUseConvexHullBtn->click();
    EXPECT_FALSE(c.body(0).useConvexHull);
    EXPECT_EQ(c.stack->count(), 2);
    EXPECT_EQ(c.ui.infoSt->text(), "before");
    // Accept magnetism at its default everywhere: its reset does nothing.
    c.ui.resetAcceptMagnetismBtn->click();
    c.ui.resetFixedRotationBtn->click();
    EXPECT_EQ(c.stack->count(), 2);
}

TEST(BodyColour, TheColourResetGivesBackTheBuildColour)
{
    Choices c;
    c.view->selectBodies({0, 1});
    c.ui.resetBodyColorBtn->click();
    EXPECT_EQ(c.stack->count(), 0) << "every body holds its build colour";

    c.view->setBodyColor({QColor(0, 0, 255)}, {1});
    c.ui.resetBodyColorBtn->click();
    ASSERT_EQ(c.stack->count(), 1);
    EXPECT_EQ(c.lastText(), "Change Body Color");
    const QColor build = c.view->defaultBodyColors[1];
    EXPECT_EQ(int(c.body(1).color.red * 255.0 + 0.5), build.red());
    EXPECT_EQ(int(c.body(1).color.blue * 255.0 + 0.5), build.blue());
    c.stack->undo();
    EXPECT_DOUBLE_EQ(c.body(1).color.blue, 1.0);
}

TEST(BodyColour, ABodyOutsideTheWorldStillTakesItsColour)
{
    Choices c;
    b2Body* saved = c.body(2).body;
    c.body(2).body = nullptr;
    c.view->setBodyColor({QColor(0, 255, 0)}, {2});
    EXPECT_DOUBLE_EQ(c.body(2).color.green, 1.0);
    EXPECT_DOUBLE_EQ(c.body(2).color.red, 0.0);
    c.view->showBodyInfo(2);
    EXPECT_TRUE(c.ui.infoSt->text().contains("Polygons: 0\n"));
    c.body(2).body = saved;
}

TEST(OpenShapeLineWidth, TheKeysStepUpWithinTheBound)
{
    Choices c;
    c.view->selectBodies({0});
    for (int press = 1; press <= 10; ++press)
        c.window->OnIncreaseOpenShapeLineWidth();
    EXPECT_EQ(c.stack->count(), 10);
    EXPECT_LT(c.body(0).openShapeLineWidth, 0.065f);
    c.window->OnIncreaseOpenShapeLineWidth();
    EXPECT_EQ(c.stack->count(), 11);
    EXPECT_EQ(c.body(0).openShapeLineWidth, 0.065f);
    EXPECT_EQ(c.lastText(), "Change Open Shape Line Width");
    c.window->OnIncreaseOpenShapeLineWidth();
    EXPECT_EQ(c.stack->count(), 11);
}

TEST(OpenShapeLineWidth, TheKeysStepDownWithinTheBoundAndUndoPerBody)
{
    Choices d;
    d.view->selectBodies({0, 1});
    d.body(1).openShapeLineWidth = 0.03f;
    d.window->OnDecreaseOpenShapeLineWidth();
    d.window->OnDecreaseOpenShapeLineWidth();
    EXPECT_EQ(d.body(0).openShapeLineWidth, 0.005f);
    EXPECT_EQ(d.stack->count(), 2);
    d.view->selectBodies({0});
    d.window->OnDecreaseOpenShapeLineWidth();
    EXPECT_EQ(d.stack->count(), 2);
    d.view->selectBodies({0, 1});
    EXPECT_EQ(d.body(1).openShapeLineWidth, 0.03f - 0.005f - 0.005f);
    d.stack->undo();
    d.stack->undo();
    EXPECT_EQ(d.body(0).openShapeLineWidth, 0.015f);
    EXPECT_EQ(d.body(1).openShapeLineWidth, 0.03f);
}

TEST(ResetBodyProperties, OneStepAndUndoBringsEverythingBack)
{
    Choices c;
    c.view->selectBodies({0, 1});
    c.view->OnResetBodiesProperties();
    EXPECT_EQ(c.stack->count(), 0) << "everything is at its default";
    c.body(0).openShapeLineWidth = 0.04f;
    c.view->OnResetBodiesProperties();
    EXPECT_EQ(c.stack->count(), 0) << "the line width alone does not count";

    c.view->setType({BodyType::Static}, {0});
    c.body(0).maskBits = 0xFFFF & ~2;
    c.body(0).categoryBits = 3;
    c.view->setBodyColor({QColor(0, 0, 255)}, {1});
    c.view->OnResetBodiesProperties();
    ASSERT_EQ(c.stack->count(), 1);
    EXPECT_EQ(c.lastText(), "Reset Body Properties");
    EXPECT_EQ(c.body(0).type, BodyType::Dynamic);
    EXPECT_EQ(c.body(0).maskBits, 0xFFFF);
    EXPECT_EQ(c.body(0).categoryBits, 1);
    EXPECT_EQ(c.body(0).openShapeLineWidth, 0.015f);
    EXPECT_EQ(int(c.body(1).color.blue * 255.0 + 0.5), c.view->defaultBodyColors[1].blue());
    c.stack->undo();
    EXPECT_EQ(c.body(0).type, BodyType::Static);
    EXPECT_EQ(c.body(0).maskBits, 0xFFFF & ~2);
    EXPECT_EQ(c.body(0).categoryBits, 3);
    EXPECT_EQ(c.body(0).openShapeLineWidth, 0.04f);
    EXPECT_DOUBLE_EQ(c.body(1).color.blue, 1.0);
    EXPECT_EQ(c.body(0).name, "A") << "the body's identity is never taken from the records";
}

TEST(BodyPanel, ShowsTheFirstSelectedBodyAndEnablesEveryRow)
{
    Choices c;
    c.body(1).friction = 0.7f;
    c.body(1).magnetIntensity = 0.7f;
    c.body(1).categoryBits = 8;
    c.body(1).maskBits = 0xFFE0 | 4;
    c.view->selectBodies({1, 0});
    EXPECT_EQ(c.ui.frictionSld->value(), 700);
    EXPECT_EQ(c.ui.magnetIntensitySld->value(), 699);
    EXPECT_DOUBLE_EQ(c.ui.frictionEt->value(), 0.7);
    EXPECT_EQ(c.ui.collisionGroupLst->currentIndex(), 3);
    EXPECT_FALSE(c.ui.collideWithACb->isChecked());
    EXPECT_TRUE(c.ui.collideWithCCb->isChecked());
    const AEGP_ColorVal& colour = c.body(1).color;
    EXPECT_EQ(c.ui.colorBtn->styleSheet(),
              QString::asprintf("background-color: rgb(%d, %d, %d);", int(colour.red * 255.0),
                                int(colour.green * 255.0), int(colour.blue * 255.0)));

    // A pattern that is no single group leaves the list where it was.
    c.body(0).categoryBits = 3;
    c.view->setBodyControls(0);
    EXPECT_EQ(c.ui.collisionGroupLst->currentIndex(), 3);

    const char* const rows[] = {"typeLst", "densityEt", "frictionSld", "resetBouncinessBtn", "colorBtn",
                                "resetBodyColorBtn", "meshPrecisionEt", "velocityDirectionEt", "aematicTensionSld",
                                "collisionGroupLst", "collideWithECb", "resetCollideWithBtn", "fixedRotationCb",
                                "gravityScaleEt", "useConvexHullCb", "magnetismTypeLst", "magnetIntensitySld",
                                "magnetDistanceEt", "acceptMagnetismCb", "resetAcceptMagnetismBtn"};
    for (const char* name : rows) {
        QWidget* w = c.window->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(w->isEnabled()) << name;
    }
    c.view->selectBodies({});
    for (const char* name : rows)
        EXPECT_FALSE(c.window->findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_EQ(c.ui.colorBtn->styleSheet(), "background-color: transparent;");
}

} // namespace
