// Keyframes through the suites: batches, interpolation, deleting keys,
// spatial tangents, expressions, separated position and 2-D layers' z.
#include "SuiteFixture.h"

using namespace standin;

namespace {

A_Time frame(A_long n) { return A_Time{n, 25}; }

class KeyframeTest : public SuiteFixture
{
protected:
    void SetUp() override
    {
        SuiteFixture::SetUp();
        layer_ = addLayer(LayerKind::Solid, QStringLiteral("Ball"));
        position_ = layerStream(layer_, AEGP_LayerStream_POSITION);
        rotation_ = layerStream(layer_, AEGP_LayerStream_ROTATION);
    }
    const AEGP_KeyframeSuite4* keys() { return suites_->KeyframeSuite4(); }

    // One batch adding (frame, x) keys to the position.
    void addPositionKeys(std::initializer_list<std::pair<A_long, double>> list)
    {
        AEGP_AddKeyframesInfoH batch = nullptr;
        ASSERT_EQ(keys()->AEGP_StartAddKeyframes(position_, &batch), A_Err_NONE);
        for (const auto& [n, x] : list) {
            const A_Time t = frame(n);
            A_long index = -1;
            ASSERT_EQ(keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t, &index), A_Err_NONE);
            AEGP_StreamValue2 v{};
            v.val.three_d = AEGP_ThreeDVal{x, 10, 0};
            ASSERT_EQ(keys()->AEGP_SetAddKeyframe(batch, index, &v), A_Err_NONE);
        }
        ASSERT_EQ(keys()->AEGP_EndAddKeyframes(true, batch), A_Err_NONE);
    }
    A_long keyCount(AEGP_StreamRefH stream)
    {
        A_long n = -1;
        EXPECT_EQ(keys()->AEGP_GetStreamNumKFs(stream, &n), A_Err_NONE);
        return n;
    }

    Layer* layer_ = nullptr;
    AEGP_StreamRefH position_ = nullptr;
    AEGP_StreamRefH rotation_ = nullptr;
};

TEST_F(KeyframeTest, PendingKeysStayInvisibleUntilTheBatchEnds)
{
    AEGP_AddKeyframesInfoH batch = nullptr;
    ASSERT_EQ(keys()->AEGP_StartAddKeyframes(rotation_, &batch), A_Err_NONE);
    A_long first = -1, second = -1, again = -1;
    const A_Time t10 = frame(10), t20 = frame(20), t10b = A_Time{2, 5};
    keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t20, &first);
    keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t10, &second);
    keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t10b, &again);
    EXPECT_EQ(first, 0) << "indices are local to the batch, in call order";
    EXPECT_EQ(second, 1);
    EXPECT_EQ(again, 1) << "the same time, in another scale, is the same pending key";

    AEGP_StreamValue2 v{};
    v.val.one_d = 90;
    ASSERT_EQ(keys()->AEGP_SetAddKeyframe(batch, first, &v), A_Err_NONE);
    EXPECT_EQ(keys()->AEGP_SetAddKeyframe(batch, 2, &v), A_Err_PARAMETER);
    EXPECT_EQ(keyCount(rotation_), 0);
    EXPECT_EQ(value(rotation_, t20).val.one_d, 0) << "the stream is read without the pending keys";

    ASSERT_EQ(keys()->AEGP_EndAddKeyframes(true, batch), A_Err_NONE);
    ASSERT_EQ(keyCount(rotation_), 2);
    A_Time t{};
    keys()->AEGP_GetKeyframeTime(rotation_, 0, AEGP_LTimeMode_CompTime, &t);
    EXPECT_EQ(t.value, 10);
    EXPECT_EQ(value(rotation_, t10).val.one_d, 0) << "an unset key takes the stream's value";
    EXPECT_EQ(value(rotation_, t20).val.one_d, 90);
    EXPECT_EQ(keys()->AEGP_EndAddKeyframes(true, batch), A_Err_STRUCT) << "the batch is gone";
    EXPECT_EQ(session_->leaks().keyBatches, 0);
}

TEST_F(KeyframeTest, ABatchFindsItsPendingKeysInAnyOrder)
{
    struct Row {
        std::vector<A_Time> times;
        std::vector<A_long> indices;
        const char* what;
    };
    const Row rows[] = {
        {{frame(0), frame(1), frame(2), frame(3)}, {0, 1, 2, 3}, "rising: each key new"},
        {{frame(0), frame(1), frame(1), A_Time{2, 50}}, {0, 1, 1, 1}, "the last time again, also in another scale"},
        {{frame(0), frame(5), frame(9), frame(5), frame(12), frame(9)}, {0, 1, 2, 1, 3, 2}, "an earlier time again"},
        {{frame(9), frame(3), frame(12), frame(3), frame(9), frame(12)}, {0, 1, 2, 1, 0, 2},
         "a later time again after the order broke"},
    };
    for (const Row& row : rows) {
        AEGP_AddKeyframesInfoH batch = nullptr;
        ASSERT_EQ(keys()->AEGP_StartAddKeyframes(rotation_, &batch), A_Err_NONE);
        for (size_t i = 0; i < row.times.size(); ++i) {
            A_long index = -1;
            ASSERT_EQ(keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &row.times[i], &index), A_Err_NONE);
            EXPECT_EQ(index, row.indices[i]) << row.what << ", call " << i;
        }
        ASSERT_EQ(keys()->AEGP_EndAddKeyframes(false, batch), A_Err_NONE);
    }
}

TEST_F(KeyframeTest, DiscardedBatchesAddNothingAndExistingKeysAreReplaced)
{
    addPositionKeys({{0, 100}, {10, 200}});
    AEGP_AddKeyframesInfoH batch = nullptr;
    keys()->AEGP_StartAddKeyframes(position_, &batch);
    const A_Time t = frame(5);
    A_long index = -1;
    keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t, &index);
    ASSERT_EQ(keys()->AEGP_EndAddKeyframes(false, batch), A_Err_NONE);
    EXPECT_EQ(keyCount(position_), 2);

    addPositionKeys({{10, 300}});
    EXPECT_EQ(keyCount(position_), 2);
    EXPECT_EQ(value(position_, frame(10)).val.three_d.x, 300);
}

TEST_F(KeyframeTest, ValuesInterpolateLinearlyAndHoldAtTheEnds)
{
    addPositionKeys({{10, 100}, {20, 200}});
    EXPECT_DOUBLE_EQ(value(position_, frame(15)).val.three_d.x, 150);
    EXPECT_DOUBLE_EQ(value(position_, frame(0)).val.three_d.x, 100);
    EXPECT_DOUBLE_EQ(value(position_, frame(99)).val.three_d.x, 200);
    A_Boolean varying = false;
    suites_->StreamSuite4()->AEGP_IsStreamTimevarying(position_, &varying);
    EXPECT_TRUE(varying);
    suites_->StreamSuite4()->AEGP_IsStreamTimevarying(rotation_, &varying);
    EXPECT_FALSE(varying);
}

TEST_F(KeyframeTest, DeletingEveryKeyLeavesTheLastValueStatic)
{
    addPositionKeys({{0, 100}, {10, 200}});
    AEGP_StreamValue2 v = value(position_);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, position_, &v), A_Err_GENERIC);
    EXPECT_EQ(keys()->AEGP_DeleteKeyframe(position_, 2), A_Err_PARAMETER);
    ASSERT_EQ(keys()->AEGP_DeleteKeyframe(position_, 0), A_Err_NONE);
    ASSERT_EQ(keys()->AEGP_DeleteKeyframe(position_, 0), A_Err_NONE);
    EXPECT_EQ(keyCount(position_), 0);
    EXPECT_EQ(value(position_, frame(50)).val.three_d.x, 200);
    v.val.two_d.x = 7;
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, position_, &v), A_Err_NONE);
    EXPECT_EQ(value(position_).val.three_d.x, 7);
}

TEST_F(KeyframeTest, NewSpatialKeysGetAutoTangentsThatCanBeOverwritten)
{
    addPositionKeys({{0, 0}, {10, 60}, {20, 120}});
    AEGP_StreamValue2 in{}, out{};
    ASSERT_EQ(keys()->AEGP_GetNewKeyframeSpatialTangents(kPluginId, position_, 1, &in, &out), A_Err_NONE);
    EXPECT_DOUBLE_EQ(out.val.three_d.x, 20) << "(next - previous) / 6";
    EXPECT_DOUBLE_EQ(in.val.three_d.x, -20);
    EXPECT_EQ(session_->leaks().streamValues, 2);
    suites_->StreamSuite4()->AEGP_DisposeStreamValue(&in);
    suites_->StreamSuite4()->AEGP_DisposeStreamValue(&out);
    ASSERT_EQ(keys()->AEGP_GetNewKeyframeSpatialTangents(kPluginId, position_, 0, &in, &out), A_Err_NONE);
    EXPECT_EQ(out.val.three_d.x, 0) << "end keys have zero tangents";

    AEGP_StreamValue2 zero{};
    zero.val.three_d = AEGP_ThreeDVal{0, 0, 5};
    ASSERT_EQ(keys()->AEGP_SetKeyframeSpatialTangents(position_, 1, &zero, &zero), A_Err_NONE);
    keys()->AEGP_GetNewKeyframeSpatialTangents(kPluginId, position_, 1, &in, &out);
    EXPECT_EQ(out.val.three_d.x, 0);
    EXPECT_EQ(out.val.three_d.z, 5) << "stored exactly as given";

    EXPECT_EQ(keys()->AEGP_GetNewKeyframeSpatialTangents(kPluginId, rotation_, 0, &in, &out), A_Err_PARAMETER);
    EXPECT_EQ(keys()->AEGP_GetNewKeyframeSpatialTangents(kPluginId, position_, 3, &in, &out), A_Err_PARAMETER);
}

TEST_F(KeyframeTest, ExpressionsGiveThePostExpressionValueUnlessAskedForThePreExpressionOne)
{
    PropertyNode* node = layer_->transformStream(TransformStream::Rotation);
    ASSERT_TRUE(node->setExpression(QStringLiteral("wiggle(1, 2)"), true, Value::oneD(45)));
    EXPECT_EQ(value(rotation_, kTime0, false).val.one_d, 45);
    EXPECT_EQ(value(rotation_, kTime0, true).val.one_d, 0);
    A_Boolean enabled = false, varying = false;
    suites_->StreamSuite4()->AEGP_GetExpressionState(kPluginId, rotation_, &enabled);
    suites_->StreamSuite4()->AEGP_IsStreamTimevarying(rotation_, &varying);
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(varying);
    ASSERT_EQ(suites_->StreamSuite4()->AEGP_SetExpressionState(kPluginId, rotation_, false), A_Err_NONE);
    EXPECT_EQ(value(rotation_, kTime0, false).val.one_d, 0);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetExpressionState(kPluginId, position_, false), A_Err_NONE)
        << "no expression: nothing to do";
}

TEST_F(KeyframeTest, SeparatedPositionIsReadAndWrittenThroughItsFollowers)
{
    layer_->setPositionSeparated(true);
    const AEGP_DynamicStreamSuite4* dyn = suites_->DynamicStreamSuite4();
    A_Boolean separated = false;
    dyn->AEGP_AreDimensionsSeparated(position_, &separated);
    EXPECT_TRUE(separated);
    dyn->AEGP_AreDimensionsSeparated(rotation_, &separated);
    EXPECT_FALSE(separated);

    AEGP_StreamRefH x = nullptr, y = nullptr, none = nullptr;
    ASSERT_EQ(dyn->AEGP_GetSeparationFollower(position_, 0, &x), A_Err_NONE);
    ASSERT_EQ(dyn->AEGP_GetSeparationFollower(position_, 1, &y), A_Err_NONE);
    EXPECT_EQ(dyn->AEGP_GetSeparationFollower(position_, 2, &none), A_Err_PARAMETER);
    EXPECT_EQ(dyn->AEGP_GetSeparationFollower(rotation_, 0, &none), A_Err_PARAMETER);
    EXPECT_EQ(matchName(x), "ADBE Position_0");

    AEGP_StreamValue2 v = value(x);
    v.val.one_d = 123;
    ASSERT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, x, &v), A_Err_NONE);
    EXPECT_EQ(value(position_).val.three_d.x, 123);
    AEGP_AddKeyframesInfoH batch = nullptr;
    EXPECT_EQ(keys()->AEGP_StartAddKeyframes(position_, &batch), A_Err_GENERIC);
    AEGP_StreamValue2 p = value(position_);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, position_, &p), A_Err_GENERIC);
}

TEST_F(KeyframeTest, TwoDLayersHideZ)
{
    layer_->transformStream(TransformStream::Scale)->setStaticValue(Value::threeD(100, 100, 100));
    AEGP_StreamRefH scale = layerStream(layer_, AEGP_LayerStream_SCALE);
    AEGP_StreamValue2 v = value(scale);
    EXPECT_EQ(v.val.three_d.z, 0) << "2-D layers read z = 0";
    v.val.two_d = AEGP_TwoDVal{50, 60};
    ASSERT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, scale, &v), A_Err_NONE);
    EXPECT_EQ(layer_->transformStream(TransformStream::Scale)->staticValue(), Value::threeD(50, 60, 100))
        << "the hidden z is kept";

    layer_->setFlags(layer_->flags() | AEGP_LayerFlag_LAYER_IS_3D);
    v.val.three_d = AEGP_ThreeDVal{1, 2, 3};
    ASSERT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, scale, &v), A_Err_NONE);
    EXPECT_EQ(value(scale).val.three_d.z, 3);
}

TEST_F(KeyframeTest, LayerTimeIsCountedFromTheInPoint)
{
    layer_->setInPoint(frame(5));
    AEGP_AddKeyframesInfoH batch = nullptr;
    keys()->AEGP_StartAddKeyframes(rotation_, &batch);
    const A_Time layerTime = frame(10);
    A_long index = -1;
    keys()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_LayerTime, &layerTime, &index);
    keys()->AEGP_EndAddKeyframes(true, batch);
    A_Time comp{}, local{};
    keys()->AEGP_GetKeyframeTime(rotation_, 0, AEGP_LTimeMode_CompTime, &comp);
    keys()->AEGP_GetKeyframeTime(rotation_, 0, AEGP_LTimeMode_LayerTime, &local);
    EXPECT_EQ(comp.value, 15);
    EXPECT_EQ(local.value, 10);
    const A_Time badScale{1, 0};
    AEGP_StreamValue2 v{};
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewStreamValue(kPluginId, rotation_, AEGP_LTimeMode_CompTime, &badScale,
                                                              false, &v),
              A_Err_PARAMETER);
}

} // namespace
