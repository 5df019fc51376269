// Handles: one per object, validated on every use, stale after deletion,
// and counted when they are handed out.
#include "SuiteFixture.h"

using namespace standin;

namespace {

class HandleTest : public SuiteFixture
{
protected:
    void SetUp() override
    {
        SuiteFixture::SetUp();
        top_ = addLayer(LayerKind::Solid, QStringLiteral("Top"));
        bottom_ = addLayer(LayerKind::Solid, QStringLiteral("Bottom"));
    }
    Layer* top_ = nullptr;
    Layer* bottom_ = nullptr;
};

TEST_F(HandleTest, TheSameObjectAlwaysGivesTheSameHandle)
{
    ASSERT_EQ(comp_->setParent(bottom_, top_), A_Err_NONE);
    AEGP_LayerH first = nullptr, again = nullptr, parent = nullptr;
    suites_->LayerSuite7()->AEGP_GetCompLayerByIndex(compHandle(), 0, &first);
    suites_->LayerSuite7()->AEGP_GetCompLayerByIndex(compHandle(), 0, &again);
    suites_->LayerSuite7()->AEGP_GetLayerParent(handle(bottom_), &parent);
    EXPECT_EQ(first, again);
    EXPECT_EQ(parent, first);

    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    suites_->ItemSuite8()->AEGP_GetActiveItem(&item);
    suites_->CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    EXPECT_EQ(comp, compHandle());
}

TEST_F(HandleTest, NullStaleForeignAndWrongKindHandlesAreErrorsNotCrashes)
{
    const AEGP_LayerSuite7* layers = suites_->LayerSuite7();
    AEGP_LayerFlags flags = 0;
    EXPECT_EQ(layers->AEGP_GetLayerFlags(nullptr, &flags), A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_GetLayerFlags(handle(top_), nullptr), A_Err_PARAMETER);
    int local = 0;
    EXPECT_EQ(layers->AEGP_GetLayerFlags(reinterpret_cast<AEGP_LayerH>(&local), &flags), A_Err_STRUCT);
    EXPECT_EQ(layers->AEGP_GetLayerFlags(reinterpret_cast<AEGP_LayerH>(compHandle()), &flags), A_Err_STRUCT);
    EXPECT_EQ(layers->AEGP_GetLayerFlags(reinterpret_cast<AEGP_LayerH>(uintptr_t(0xDEADBEEF)), &flags),
              A_Err_STRUCT);
    AEGP_StreamRefH stream = layerStream(top_, AEGP_LayerStream_POSITION);
    A_long keys = 0;
    EXPECT_EQ(suites_->KeyframeSuite4()->AEGP_GetStreamNumKFs(reinterpret_cast<AEGP_StreamRefH>(handle(top_)), &keys),
              A_Err_STRUCT);
    suites_->StreamSuite4()->AEGP_DisposeStream(stream);
    EXPECT_EQ(suites_->KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &keys), A_Err_STRUCT);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_DisposeStream(stream), A_Err_STRUCT) << "double dispose";
}

TEST_F(HandleTest, DeletingALayerMakesItsHandleAndStreamsStale)
{
    AEGP_LayerH topH = handle(top_);
    AEGP_LayerH bottomH = handle(bottom_);
    AEGP_StreamRefH position = layerStream(top_, AEGP_LayerStream_POSITION);
    AEGP_StreamRefH rootRef = root(top_);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_DeleteLayer(topH), A_Err_NONE);

    AEGP_LayerFlags flags = 0;
    EXPECT_EQ(suites_->LayerSuite7()->AEGP_GetLayerFlags(topH, &flags), A_Err_STRUCT);
    EXPECT_EQ(suites_->LayerSuite7()->AEGP_DeleteLayer(topH), A_Err_STRUCT);
    AEGP_StreamValue2 v{};
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewStreamValue(kPluginId, position, AEGP_LTimeMode_CompTime, &kTime0,
                                                              false, &v),
              A_Err_STRUCT);
    A_long children = 0;
    EXPECT_EQ(suites_->DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(rootRef, &children), A_Err_STRUCT);
    // References into a deleted layer may still be released.
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_DisposeStream(position), A_Err_NONE);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_DisposeStream(rootRef), A_Err_NONE);

    A_long index = -1;
    EXPECT_EQ(suites_->LayerSuite7()->AEGP_GetLayerIndex(bottomH, &index), A_Err_NONE);
    EXPECT_EQ(index, 0);
}

TEST_F(HandleTest, CountersFollowWhatIsHandedOutAndGivenBack)
{
    EXPECT_TRUE(session_->leaks().none()) << session_->leaks().describe();
    AEGP_StreamRefH position = layerStream(top_, AEGP_LayerStream_POSITION);
    AEGP_StreamValue2 v = value(position);
    AEGP_MaskRefH mask = nullptr;
    A_long maskIndex = -1;
    suites_->MaskSuite5()->AEGP_CreateNewMask(handle(top_), &mask, &maskIndex);
    AEGP_Collection2H collection = nullptr;
    suites_->CompSuite7()->AEGP_GetNewCollectionFromCompSelection(kPluginId, compHandle(), &collection);
    AEGP_AddKeyframesInfoH batch = nullptr;
    suites_->KeyframeSuite4()->AEGP_StartAddKeyframes(position, &batch);

    LeakCounters live = session_->leaks();
    EXPECT_EQ(live.streamRefs, 1);
    EXPECT_EQ(live.streamValues, 1);
    EXPECT_EQ(live.maskRefs, 1);
    EXPECT_EQ(live.collections, 1);
    EXPECT_EQ(live.keyBatches, 1);

    suites_->KeyframeSuite4()->AEGP_EndAddKeyframes(false, batch);
    suites_->StreamSuite4()->AEGP_DisposeStreamValue(&v);
    suites_->StreamSuite4()->AEGP_DisposeStream(position);
    suites_->MaskSuite5()->AEGP_DisposeMask(mask);
    live = session_->leaks();
    EXPECT_EQ(live.streamRefs + live.streamValues + live.maskRefs + live.keyBatches, 0) << live.describe();
    EXPECT_EQ(live.collections, 1) << "collections live until the command returns";
}

} // namespace
