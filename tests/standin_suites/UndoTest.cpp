// Undo groups: names, nesting, the changes made in each, and what happens
// outside any group.
#include "SuiteFixture.h"

using namespace standin;

namespace {

class UndoTest : public SuiteFixture
{
protected:
    const AEGP_UtilitySuite5* utility() { return suites_->UtilitySuite5(); }
};

TEST_F(UndoTest, GroupsNestAndKeepTheChangesMadeInThem)
{
    Layer* layer = addLayer(LayerKind::Solid);
    ASSERT_EQ(utility()->AEGP_StartUndoGroup("Zolvar"), A_Err_NONE);
    suites_->LayerSuite7()->AEGP_SetLayerFlag(handle(layer), AEGP_LayerFlag_MOTION_BLUR, true);
    ASSERT_EQ(utility()->AEGP_StartUndoGroup("Zolvar - Duplicate Comp"), A_Err_NONE);
    AEGP_CompH copy = nullptr;
    suites_->CompSuite7()->AEGP_DuplicateComp(compHandle(), &copy);
    AEGP_LayerFlags flags = 0;
    suites_->LayerSuite7()->AEGP_GetLayerFlags(handle(layer), &flags);
    EXPECT_EQ(session_->log().records().back().undoDepth, 2);
    ASSERT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_NONE);
    ASSERT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_NONE);

    const auto& groups = session_->undoGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "Zolvar");
    EXPECT_EQ(groups[0].depth, 1);
    EXPECT_EQ(groups[1].name, "Zolvar - Duplicate Comp");
    EXPECT_EQ(groups[1].depth, 2);
    EXPECT_LT(groups[0].openSequence, groups[1].openSequence);
    EXPECT_LT(groups[1].closeSequence, groups[0].closeSequence);
    ASSERT_EQ(groups[0].mutations.size(), 1u);
    EXPECT_EQ(groups[0].mutations[0].rfind("AEGP_SetLayerFlag(", 0), 0u);
    ASSERT_EQ(groups[1].mutations.size(), 1u) << "reads are not changes";
    EXPECT_EQ(groups[1].mutations[0].rfind("AEGP_DuplicateComp(", 0), 0u);
}

TEST_F(UndoTest, EndWithoutStartFailsAndChangesNothing)
{
    EXPECT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_GENERIC);
    EXPECT_TRUE(session_->undoGroups().empty());
    EXPECT_EQ(utility()->AEGP_StartUndoGroup(nullptr), A_Err_PARAMETER);
}

TEST_F(UndoTest, ChangesOutsideGroupsAreAllowedAndKeptApart)
{
    Layer* layer = addLayer(LayerKind::Solid);
    const A_Time start{0, 25}, duration{25, 25};
    ASSERT_EQ(suites_->CompSuite7()->AEGP_SetCompWorkAreaStartAndDuration(compHandle(), &start, &duration),
              A_Err_NONE);
    AEGP_PersistentBlobH blob = nullptr;
    suites_->PersistentDataSuite3()->AEGP_GetApplicationBlob(&blob);
    suites_->PersistentDataSuite3()->AEGP_SetLong(blob, "VH Zolvar 2", "UI Theme", 1);
    // A batch that adds nothing changes nothing; one that adds keys does.
    AEGP_StreamRefH rotation = layerStream(layer, AEGP_LayerStream_ROTATION);
    AEGP_AddKeyframesInfoH batch = nullptr;
    suites_->KeyframeSuite4()->AEGP_StartAddKeyframes(rotation, &batch);
    suites_->KeyframeSuite4()->AEGP_EndAddKeyframes(true, batch);
    suites_->KeyframeSuite4()->AEGP_StartAddKeyframes(rotation, &batch);
    A_long index = 0;
    suites_->KeyframeSuite4()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &start, &index);
    suites_->KeyframeSuite4()->AEGP_EndAddKeyframes(true, batch);

    const auto& ungrouped = session_->ungroupedMutations();
    ASSERT_EQ(ungrouped.size(), 2u) << "persistent data is not part of undo";
    EXPECT_EQ(ungrouped[0].rfind("AEGP_SetCompWorkAreaStartAndDuration(", 0), 0u);
    EXPECT_EQ(ungrouped[1].rfind("AEGP_EndAddKeyframes(", 0), 0u);
}

TEST_F(UndoTest, UndoingTheLastOutermostGroupRestoresTheProjectByteForByte)
{
    Layer* solid = addLayer(LayerKind::Solid, QStringLiteral("Solid"));
    addLayer(LayerKind::Shape, QStringLiteral("Shapes"));
    const QByteArray before = project_->toJson();
    EXPECT_FALSE(session_->undoLastGroup()) << "nothing to undo yet";

    ASSERT_EQ(utility()->AEGP_StartUndoGroup("Zolvar - Shapes Separation"), A_Err_NONE);
    AEGP_LayerH copy = nullptr;
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_DuplicateLayer(handle(solid), &copy), A_Err_NONE);
    ASSERT_EQ(suites_->LayerSuite5()->AEGP_SetLayerName(copy, "Copy"), A_Err_NONE);
    ASSERT_EQ(utility()->AEGP_StartUndoGroup("inner"), A_Err_NONE);
    AEGP_LayerH shape = nullptr;
    ASSERT_EQ(suites_->CompSuite7()->AEGP_CreateVectorLayerInComp(compHandle(), &shape), A_Err_NONE);
    EXPECT_FALSE(session_->undoLastGroup()) << "not while a group is open";
    ASSERT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_NONE);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_SetLayerFlag(handle(solid), AEGP_LayerFlag_VIDEO_ACTIVE, false),
              A_Err_NONE);
    EXPECT_FALSE(session_->undoLastGroup()) << "the outer group is still open";
    ASSERT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_NONE);
    ASSERT_NE(project_->toJson(), before);

    std::string name;
    ASSERT_TRUE(session_->undoLastGroup(&name));
    EXPECT_EQ(name, "Zolvar - Shapes Separation");
    EXPECT_EQ(project_->toJson(), before);
    EXPECT_TRUE(session_->undoGroups()[0].undone);
    EXPECT_FALSE(session_->undoGroups()[1].undone) << "an inner group is undone with its outer one";
    EXPECT_FALSE(session_->undoLastGroup()) << "each group is undone once";

    // Handles into the old model are stale; the restored one answers anew.
    Layer* restored = project_->activeComposition()->layer(0);
    ASSERT_NE(restored, nullptr);
    AEGP_LayerFlags flags = 0;
    EXPECT_NE(suites_->LayerSuite7()->AEGP_GetLayerFlags(copy, &flags), A_Err_NONE);
    EXPECT_EQ(suites_->LayerSuite7()->AEGP_GetLayerFlags(handle(restored), &flags), A_Err_NONE);
    EXPECT_TRUE(flags & AEGP_LayerFlag_VIDEO_ACTIVE);
}

TEST_F(UndoTest, GroupsAreUndoneNewestFirst)
{
    Layer* solid = addLayer(LayerKind::Solid, QStringLiteral("Solid"));
    const QByteArray original = project_->toJson();
    ASSERT_EQ(utility()->AEGP_StartUndoGroup("first"), A_Err_NONE);
    suites_->LayerSuite5()->AEGP_SetLayerName(handle(solid), "One");
    ASSERT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_NONE);
    const QByteArray afterFirst = project_->toJson();
    Layer* renamed = project_->activeComposition()->layer(0);
    ASSERT_EQ(utility()->AEGP_StartUndoGroup("second"), A_Err_NONE);
    suites_->LayerSuite5()->AEGP_SetLayerName(handle(renamed), "Two");
    ASSERT_EQ(utility()->AEGP_EndUndoGroup(), A_Err_NONE);

    std::string name;
    ASSERT_TRUE(session_->undoLastGroup(&name));
    EXPECT_EQ(name, "second");
    EXPECT_EQ(project_->toJson(), afterFirst);
    ASSERT_TRUE(session_->undoLastGroup(&name));
    EXPECT_EQ(name, "first");
    EXPECT_EQ(project_->toJson(), original);
}

} // namespace
