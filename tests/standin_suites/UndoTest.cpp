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

} // namespace
