// The host and the plug-in agree on functions by their position in a suite's
// table. A slip in the shared header (a missing placeholder) would shift every
// later slot, so the positions the plug-in calls are pinned here.
#include "host_api.h"

#include <gtest/gtest.h>

#include <cstddef>

#define SLOT(type, member) (offsetof(type, member) / sizeof(void (*)()))

TEST(SlotLayout, EveryCalledFunctionSitsAtItsSlot)
{
    EXPECT_EQ(SLOT(AEGP_CommandSuite1, AEGP_EnableCommand), 4u);
    EXPECT_EQ(SLOT(AEGP_CommandSuite1, AEGP_DisableCommand), 5u);
    EXPECT_EQ(SLOT(AEGP_RegisterSuite5, AEGP_RegisterUpdateMenuHook), 1u);
    EXPECT_EQ(SLOT(AEGP_UtilitySuite5, AEGP_StartUndoGroup), 6u);
    EXPECT_EQ(SLOT(AEGP_UtilitySuite5, AEGP_EndUndoGroup), 7u);
    EXPECT_EQ(SLOT(AEGP_ProjSuite5, AEGP_GetProjectPath), 3u);
    EXPECT_EQ(SLOT(AEGP_MemorySuite1, AEGP_GetMemHandleSize), 4u);
    EXPECT_EQ(SLOT(AEGP_PersistentDataSuite3, AEGP_DoesKeyExist), 3u);
    EXPECT_EQ(SLOT(AEGP_PersistentDataSuite3, AEGP_GetString), 8u);
    EXPECT_EQ(SLOT(AEGP_PersistentDataSuite3, AEGP_GetFpLong), 10u);
    EXPECT_EQ(SLOT(AEGP_PersistentDataSuite3, AEGP_SetString), 13u);
    EXPECT_EQ(SLOT(AEGP_PersistentDataSuite3, AEGP_SetFpLong), 15u);
    EXPECT_EQ(SLOT(AEGP_ItemSuite8, AEGP_GetActiveItem), 2u);
    EXPECT_EQ(SLOT(AEGP_ItemSuite8, AEGP_GetItemType), 5u);
    EXPECT_EQ(SLOT(AEGP_ItemSuite8, AEGP_GetItemName), 7u);
    EXPECT_EQ(SLOT(AEGP_ItemSuite8, AEGP_GetItemDuration), 14u);
    EXPECT_EQ(SLOT(AEGP_ItemSuite7, AEGP_GetItemPixelAspectRatio), 17u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_GetCompBGColor), 4u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_GetCompFramerate), 7u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_GetCompWorkAreaDuration), 14u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_SetCompWorkAreaStartAndDuration), 15u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_GetNewCollectionFromCompSelection), 20u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_SetSelection), 21u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_CreateNullInComp), 25u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_DuplicateComp), 29u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_GetCompFrameDuration), 30u);
    EXPECT_EQ(SLOT(AEGP_CompSuite7, AEGP_CreateVectorLayerInComp), 32u);
    EXPECT_EQ(SLOT(AEGP_CompSuite5, AEGP_GetCompFrameDuration), 28u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_GetLayerIndex), 3u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_GetLayerName), 7u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_IsVideoActive), 12u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_ReorderLayer), 26u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_IsLayer3D), 29u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_GetLayerID), 37u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_GetLayerToWorldXform), 38u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_GetLayerParent), 41u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_DuplicateLayer), 44u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite7, AEGP_GetLayerLabel), 46u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite5, AEGP_GetLayerInPoint), 15u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite5, AEGP_GetLayerDuration), 16u);
    EXPECT_EQ(SLOT(AEGP_LayerSuite5, AEGP_SetLayerName), 40u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_GetNewLayerStream), 3u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_GetNewMaskStream), 6u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_DisposeStream), 7u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_IsStreamTimevarying), 11u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_GetNewStreamValue), 13u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_SetStreamValue), 15u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite4, AEGP_SetExpressionState), 18u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite3, AEGP_GetStreamName), 8u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite2, AEGP_DisposeStream), 7u);
    EXPECT_EQ(SLOT(AEGP_StreamSuite2, AEGP_DisposeStreamValue), 14u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_GetStreamDepth), 2u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNewStreamRefByMatchname), 8u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_DeleteStream), 9u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_AddStream), 14u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNewParentStreamRef), 16u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_AreDimensionsSeparated), 20u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite4, AEGP_GetSeparationFollower), 22u);
    EXPECT_EQ(SLOT(AEGP_DynamicStreamSuite3, AEGP_SetStreamName), 11u);
    EXPECT_EQ(SLOT(AEGP_KeyframeSuite4, AEGP_DeleteKeyframe), 3u);
    EXPECT_EQ(SLOT(AEGP_KeyframeSuite4, AEGP_GetNewKeyframeSpatialTangents), 8u);
    EXPECT_EQ(SLOT(AEGP_KeyframeSuite4, AEGP_SetKeyframeSpatialTangents), 9u);
    EXPECT_EQ(SLOT(AEGP_KeyframeSuite4, AEGP_StartAddKeyframes), 16u);
    EXPECT_EQ(SLOT(AEGP_KeyframeSuite4, AEGP_EndAddKeyframes), 19u);
    EXPECT_EQ(SLOT(AEGP_MaskSuite5, AEGP_GetLayerMaskByIndex), 1u);
    EXPECT_EQ(SLOT(AEGP_MaskSuite5, AEGP_GetMaskInvert), 3u);
    EXPECT_EQ(SLOT(AEGP_MaskSuite5, AEGP_GetMaskMode), 5u);
    EXPECT_EQ(SLOT(AEGP_MaskSuite5, AEGP_CreateNewMask), 10u);
    EXPECT_EQ(SLOT(AEGP_MaskSuite5, AEGP_GetMaskLockState), 16u);
    EXPECT_EQ(SLOT(AEGP_MaskSuite5, AEGP_SetMaskLockState), 17u);
    EXPECT_EQ(SLOT(AEGP_MaskOutlineSuite2, AEGP_GetMaskOutlineNumSegments), 2u);
    EXPECT_EQ(SLOT(AEGP_MaskOutlineSuite2, AEGP_GetMaskOutlineVertexInfo), 3u);
    EXPECT_EQ(SLOT(PF_PathDataSuite1, PF_PathVertexInfo), 2u);
    EXPECT_EQ(SLOT(AEGP_TextLayerSuite1, AEGP_GetIndexedTextOutline), 3u);
    EXPECT_EQ(SLOT(AEGP_FootageSuite5, AEGP_GetFootageSignature), 4u);
    EXPECT_EQ(SLOT(AEGP_FootageSuite5, AEGP_GetSolidFootageColor), 16u);
}

TEST(SlotLayout, TwoAndThreeDimensionalValuesShareTheirLeadingCoordinates)
{
    AEGP_StreamVal2 v{};
    v.three_d = {3.0, 4.0, 5.0};
    EXPECT_EQ(offsetof(AEGP_TwoDVal, y), offsetof(AEGP_ThreeDVal, y));
    EXPECT_DOUBLE_EQ(v.two_d.x, 3.0);
    EXPECT_DOUBLE_EQ(v.two_d.y, 4.0);
}
