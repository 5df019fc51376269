// Masks and mask outlines: new masks, outline values owned by stream values,
// the vertex index S wrap, mask streams, and deleting masks.
#include "SuiteFixture.h"

#include <cstring>

using namespace standin;

namespace {

class MaskTest : public SuiteFixture
{
protected:
    void SetUp() override
    {
        SuiteFixture::SetUp();
        layer_ = addLayer(LayerKind::Solid, QStringLiteral("Masked"));
    }

    // Adds a mask to the model with that outline; returns its index.
    int addMask(const MaskOutline& outline)
    {
        const int index = layer_->addMask();
        layer_->maskAtom(index)->childByMatchName(QStringLiteral("ADBE Mask Shape"))->setStaticValue(
            Value::outline(outline));
        return index;
    }

    AEGP_StreamRefH maskStream(int index, AEGP_MaskStream which)
    {
        AEGP_MaskRefH mask = nullptr;
        EXPECT_EQ(suites_->MaskSuite5()->AEGP_GetLayerMaskByIndex(handle(layer_), index, &mask), A_Err_NONE);
        AEGP_StreamRefH stream = nullptr;
        EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewMaskStream(kPluginId, mask, which, &stream), A_Err_NONE);
        return stream;
    }

    Layer* layer_ = nullptr;
};

TEST_F(MaskTest, ClosedOutlinesWrapIndexSToVertexZero)
{
    addMask(polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    AEGP_StreamValue2 v = value(maskStream(0, AEGP_MaskStream_OUTLINE));
    const AEGP_MaskOutlineSuite2* outlines = suites_->MaskOutlineSuite2();
    A_Boolean open = true;
    A_long segments = 0;
    outlines->AEGP_IsMaskOutlineOpen(v.val.mask, &open);
    outlines->AEGP_GetMaskOutlineNumSegments(v.val.mask, &segments);
    EXPECT_FALSE(open);
    EXPECT_EQ(segments, 4);
    AEGP_MaskVertex vertex{};
    ASSERT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(v.val.mask, 2, &vertex), A_Err_NONE);
    EXPECT_EQ(vertex.x, 10);
    EXPECT_EQ(vertex.y, 10);
    ASSERT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(v.val.mask, 4, &vertex), A_Err_NONE);
    EXPECT_EQ(vertex.x, 0);
    EXPECT_EQ(vertex.y, 0);
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(v.val.mask, 5, &vertex), A_Err_PARAMETER);
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(v.val.mask, -1, &vertex), A_Err_PARAMETER);
    suites_->StreamSuite4()->AEGP_DisposeStreamValue(&v);
}

TEST_F(MaskTest, OpenAndEmptyOutlinesHaveNoWrap)
{
    addMask(polygon({{0, 0}, {10, 0}, {10, 10}}, true));
    addMask(MaskOutline());
    const AEGP_MaskOutlineSuite2* outlines = suites_->MaskOutlineSuite2();
    AEGP_StreamValue2 openValue = value(maskStream(0, AEGP_MaskStream_OUTLINE));
    A_Boolean open = false;
    A_long segments = 0;
    outlines->AEGP_IsMaskOutlineOpen(openValue.val.mask, &open);
    outlines->AEGP_GetMaskOutlineNumSegments(openValue.val.mask, &segments);
    EXPECT_TRUE(open);
    EXPECT_EQ(segments, 2);
    AEGP_MaskVertex vertex{};
    ASSERT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(openValue.val.mask, 2, &vertex), A_Err_NONE);
    EXPECT_EQ(vertex.y, 10) << "index S of an open outline is its last vertex";
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(openValue.val.mask, 3, &vertex), A_Err_PARAMETER);

    AEGP_StreamValue2 empty = value(maskStream(1, AEGP_MaskStream_OUTLINE));
    outlines->AEGP_IsMaskOutlineOpen(empty.val.mask, &open);
    outlines->AEGP_GetMaskOutlineNumSegments(empty.val.mask, &segments);
    EXPECT_FALSE(open);
    EXPECT_EQ(segments, 0);
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(empty.val.mask, 0, &vertex), A_Err_PARAMETER);
}

TEST_F(MaskTest, NewMasksGetTheDefaultsAndAcceptACopiedOutline)
{
    addMask(polygon({{0, 0}, {20, 0}, {20, 20}}));
    AEGP_MaskRefH mask = nullptr;
    A_long index = -1;
    ASSERT_EQ(suites_->MaskSuite5()->AEGP_CreateNewMask(handle(layer_), &mask, &index), A_Err_NONE);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(layer_->maskAtom(1)->displayName(), QStringLiteral("Mask 2"));
    AEGP_StreamValue2 opacity = value(maskStream(1, AEGP_MaskStream_OPACITY));
    AEGP_StreamValue2 feather = value(maskStream(1, AEGP_MaskStream_FEATHER));
    EXPECT_EQ(opacity.val.one_d, 100);
    EXPECT_EQ(feather.val.two_d.x, 0);
    A_Boolean locked = true;
    suites_->MaskSuite5()->AEGP_GetMaskLockState(mask, &locked);
    EXPECT_FALSE(locked);
    suites_->MaskSuite5()->AEGP_SetMaskLockState(mask, true);
    EXPECT_TRUE(layer_->maskAtom(1)->maskAttributes().locked);

    // Copy the first mask's outline onto the new one, then give the value back.
    AEGP_StreamValue2 source = value(maskStream(0, AEGP_MaskStream_OUTLINE));
    AEGP_StreamRefH target = maskStream(1, AEGP_MaskStream_OUTLINE);
    ASSERT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, target, &source), A_Err_NONE);
    suites_->StreamSuite4()->AEGP_DisposeStreamValue(&source);
    AEGP_StreamValue2 copied = value(target);
    A_long segments = 0;
    suites_->MaskOutlineSuite2()->AEGP_GetMaskOutlineNumSegments(copied.val.mask, &segments);
    EXPECT_EQ(segments, 3) << "the stored outline is a copy, not the disposed value";
}

TEST_F(MaskTest, DisposingAValueFreesItsOutlineOnce)
{
    addMask(polygon({{0, 0}, {10, 0}, {10, 10}}));
    AEGP_StreamValue2 v = value(maskStream(0, AEGP_MaskStream_OUTLINE));
    const AEGP_MaskOutlineValH outline = v.val.mask;
    EXPECT_EQ(session_->leaks().maskOutlines, 1);
    ASSERT_EQ(suites_->StreamSuite4()->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    EXPECT_EQ(v.val.mask, nullptr);
    EXPECT_EQ(session_->leaks().maskOutlines, 0);
    A_long segments = 0;
    EXPECT_EQ(suites_->MaskOutlineSuite2()->AEGP_GetMaskOutlineNumSegments(outline, &segments), A_Err_STRUCT);
    v.val.mask = outline;
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_DisposeStreamValue(&v), A_Err_PARAMETER);
}

TEST_F(MaskTest, ValuesMustFitTheStream)
{
    addMask(polygon({{0, 0}, {10, 0}, {10, 10}}));
    AEGP_StreamRefH shape = maskStream(0, AEGP_MaskStream_OUTLINE);
    AEGP_StreamRefH opacity = maskStream(0, AEGP_MaskStream_OPACITY);
    AEGP_StreamValue2 outline = value(shape);
    AEGP_StreamValue2 number = value(opacity);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, opacity, &outline), A_Err_PARAMETER);
    outline.streamH = nullptr;
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, opacity, &outline), A_Err_PARAMETER)
        << "an outline handle is recognised without its stream";
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, shape, &number), A_Err_PARAMETER);
    number.streamH = nullptr;
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, shape, &number), A_Err_PARAMETER);
    number.val.one_d = 50;
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, opacity, &number), A_Err_NONE);
    AEGP_StreamRefH bad = nullptr;
    AEGP_MaskRefH mask = nullptr;
    suites_->MaskSuite5()->AEGP_GetLayerMaskByIndex(handle(layer_), 0, &mask);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewMaskStream(kPluginId, mask, 404, &bad), A_Err_PARAMETER);
    EXPECT_EQ(suites_->MaskSuite5()->AEGP_GetLayerMaskByIndex(handle(layer_), 1, &mask), A_Err_PARAMETER);
}

TEST_F(MaskTest, DeletingAMaskAtomMovesLaterMasksUp)
{
    addMask(polygon({{0, 0}, {1, 0}, {1, 1}}));
    addMask(polygon({{0, 0}, {2, 0}, {2, 2}}));
    addMask(polygon({{0, 0}, {3, 0}, {3, 3}}));
    AEGP_StreamRefH parade = child(root(layer_), "ADBE Mask Parade");
    AEGP_StreamRefH atom = nullptr;
    ASSERT_EQ(suites_->DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(kPluginId, parade, 1, &atom), A_Err_NONE);
    char name[AEGP_MAX_STREAM_NAME_SIZE];
    suites_->StreamSuite3()->AEGP_GetStreamName(atom, false, name);
    EXPECT_STREQ(name, "Mask 2");
    ASSERT_EQ(suites_->DynamicStreamSuite4()->AEGP_DeleteStream(atom), A_Err_NONE);
    A_long depth = 0;
    EXPECT_EQ(suites_->DynamicStreamSuite4()->AEGP_GetStreamDepth(atom, &depth), A_Err_STRUCT);
    ASSERT_EQ(layer_->maskCount(), 2);
    EXPECT_EQ(layer_->maskAtom(1)->displayName(), QStringLiteral("Mask 3"));
    A_long count = 0;
    suites_->DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(parade, &count);
    EXPECT_EQ(count, 2);

    AEGP_StreamRefH position = layerStream(layer_, AEGP_LayerStream_POSITION);
    EXPECT_EQ(suites_->DynamicStreamSuite4()->AEGP_DeleteStream(position), A_Err_PARAMETER);
}

} // namespace
