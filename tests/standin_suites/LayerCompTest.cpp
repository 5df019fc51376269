// Items, compositions, layers and footage through the suites: what the
// plug-in reads, and the stack edits it makes.
#include "SuiteFixture.h"

#include <cmath>

using namespace standin;

namespace {

class LayerCompTest : public SuiteFixture
{
};

TEST_F(LayerCompTest, ItemsAnswerTypeSizeAspectAndDurationInFrameUnits)
{
    const AEGP_ItemSuite8* items = suites_->ItemSuite8();
    AEGP_ItemH item = nullptr;
    ASSERT_EQ(items->AEGP_GetActiveItem(&item), A_Err_NONE);
    AEGP_ItemType type = 0;
    items->AEGP_GetItemType(item, &type);
    EXPECT_EQ(type, AEGP_ItemType_COMP);
    A_long w = 0, h = 0;
    items->AEGP_GetItemDimensions(item, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 360);
    comp_->setDuration(A_Time{10, 1});
    A_Time duration{};
    items->AEGP_GetItemDuration(item, &duration);
    EXPECT_EQ(duration.value, 250);
    EXPECT_EQ(duration.scale, 25u);

    project_->setActiveItem(nullptr);
    item = reinterpret_cast<AEGP_ItemH>(&w);
    EXPECT_EQ(items->AEGP_GetActiveItem(&item), A_Err_NONE);
    EXPECT_EQ(item, nullptr) << "no active item is NULL without an error";
}

TEST_F(LayerCompTest, SolidsHaveSignatureAndColourAsStored)
{
    Layer* solid = addLayer(LayerKind::Solid, QStringLiteral("Red"));
    static_cast<Footage*>(solid->source())->setColor(AEGP_ColorVal{1, 1.5, -0.25, 0});
    AEGP_ItemH source = nullptr;
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetLayerSourceItem(handle(solid), &source), A_Err_NONE);
    AEGP_FootageH footage = nullptr;
    ASSERT_EQ(suites_->FootageSuite5()->AEGP_GetMainFootageFromItem(source, &footage), A_Err_NONE);
    AEGP_FootageSignature signature = 0;
    suites_->FootageSuite5()->AEGP_GetFootageSignature(footage, &signature);
    EXPECT_EQ(signature, AEGP_FootageSignature_SOLID);
    AEGP_ColorVal color{};
    ASSERT_EQ(suites_->FootageSuite5()->AEGP_GetSolidFootageColor(source, false, &color), A_Err_NONE);
    EXPECT_EQ(color.red, 1.5);
    EXPECT_EQ(color.green, -0.25);

    AEGP_ItemH compItem = session_->context().itemHandle(comp_);
    EXPECT_EQ(suites_->FootageSuite5()->AEGP_GetMainFootageFromItem(compItem, &footage), A_Err_PARAMETER);
    AEGP_CompH comp = nullptr;
    EXPECT_EQ(suites_->CompSuite7()->AEGP_GetCompFromItem(source, &comp), A_Err_PARAMETER);

    Layer* text = addLayer(LayerKind::Text);
    source = reinterpret_cast<AEGP_ItemH>(&comp);
    EXPECT_EQ(suites_->LayerSuite7()->AEGP_GetLayerSourceItem(handle(text), &source), A_Err_NONE);
    EXPECT_EQ(source, nullptr);
}

TEST_F(LayerCompTest, DuplicateGoesAboveReorderUsesFinalIndexDeleteClosesTheGap)
{
    Layer* a = addLayer(LayerKind::Solid, QStringLiteral("A"));
    Layer* b = addLayer(LayerKind::Solid, QStringLiteral("B"));
    const AEGP_LayerSuite7* layers = suites_->LayerSuite7();
    AEGP_LayerH copy = nullptr;
    ASSERT_EQ(layers->AEGP_DuplicateLayer(handle(b), &copy), A_Err_NONE);
    A_long index = -1;
    layers->AEGP_GetLayerIndex(copy, &index);
    EXPECT_EQ(index, 1);
    layers->AEGP_GetLayerIndex(handle(b), &index);
    EXPECT_EQ(index, 2);
    AEGP_LayerIDVal idCopy = 0, idB = 0;
    layers->AEGP_GetLayerID(copy, &idCopy);
    layers->AEGP_GetLayerID(handle(b), &idB);
    EXPECT_NE(idCopy, idB);

    EXPECT_EQ(layers->AEGP_ReorderLayer(handle(a), -1), A_Err_NONE);
    layers->AEGP_GetLayerIndex(handle(a), &index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(layers->AEGP_ReorderLayer(handle(a), 99), A_Err_NONE);
    layers->AEGP_GetLayerIndex(handle(a), &index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(layers->AEGP_ReorderLayer(handle(a), -2), A_Err_PARAMETER);

    ASSERT_EQ(layers->AEGP_DeleteLayer(copy), A_Err_NONE);
    A_long count = 0;
    layers->AEGP_GetCompNumLayers(compHandle(), &count);
    EXPECT_EQ(count, 2);
    layers->AEGP_GetLayerIndex(handle(b), &index);
    EXPECT_EQ(index, 0);
}

TEST_F(LayerCompTest, OnlyWritableFlagsChangeOneBitAtATime)
{
    Layer* layer = addLayer(LayerKind::Solid);
    Layer* other = addLayer(LayerKind::Solid);
    const AEGP_LayerSuite7* layers = suites_->LayerSuite7();
    EXPECT_EQ(layers->AEGP_SetLayerFlag(handle(layer), AEGP_LayerFlag_MOTION_BLUR, true), A_Err_NONE);
    EXPECT_EQ(layers->AEGP_SetLayerFlag(handle(layer), AEGP_LayerFlag_NULL_LAYER, true), A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_SetLayerFlag(handle(layer), AEGP_LayerFlag_LAYER_IS_3D, true), A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_SetLayerFlag(handle(layer), 0x1 | 0x8, false), A_Err_PARAMETER);
    AEGP_LayerFlags flags = 0;
    layers->AEGP_GetLayerFlags(handle(layer), &flags);
    EXPECT_EQ(flags, AEGP_LayerFlags(AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_MOTION_BLUR));

    A_Boolean active = false;
    layers->AEGP_IsVideoActive(handle(layer), &active);
    EXPECT_TRUE(active);
    layers->AEGP_SetLayerFlag(handle(other), AEGP_LayerFlag_SOLO, true);
    layers->AEGP_IsVideoActive(handle(layer), &active);
    EXPECT_FALSE(active) << "another layer is solo";
}

TEST_F(LayerCompTest, WorkAreaIsStoredAndItsEndClampedToTheComposition)
{
    const AEGP_CompSuite7* comps = suites_->CompSuite7();
    const A_Time start{25, 25}, tooLong{300, 25};
    ASSERT_EQ(comps->AEGP_SetCompWorkAreaStartAndDuration(compHandle(), &start, &tooLong), A_Err_NONE);
    A_Time readStart{}, readDuration{};
    comps->AEGP_GetCompWorkAreaStart(compHandle(), &readStart);
    comps->AEGP_GetCompWorkAreaDuration(compHandle(), &readDuration);
    EXPECT_EQ(readStart.value, 25);
    EXPECT_EQ(readDuration.value, 225);
    EXPECT_EQ(readDuration.scale, 25u);
    EXPECT_NE(session_->log().calls("AEGP_SetCompWorkAreaStartAndDuration")[0].detail.find("clamped"),
              std::string::npos);
    const A_Time zero{0, 25};
    EXPECT_EQ(comps->AEGP_SetCompWorkAreaStartAndDuration(compHandle(), &start, &zero), A_Err_PARAMETER);
}

TEST_F(LayerCompTest, NewNullAndShapeLayersComeOnTop)
{
    addLayer(LayerKind::Solid);
    const AEGP_CompSuite7* comps = suites_->CompSuite7();
    const A_Time noDuration{0, 1};
    AEGP_LayerH null = nullptr;
    ASSERT_EQ(comps->AEGP_CreateNullInComp(u"Gravity Controller", compHandle(), &noDuration, &null), A_Err_NONE);
    A_long index = -1;
    suites_->LayerSuite7()->AEGP_GetLayerIndex(null, &index);
    EXPECT_EQ(index, 0);
    A_Time duration{};
    suites_->LayerSuite5()->AEGP_GetLayerDuration(null, AEGP_LTimeMode_CompTime, &duration);
    EXPECT_EQ(duration.value, 250);
    AEGP_LayerFlags flags = 0;
    suites_->LayerSuite7()->AEGP_GetLayerFlags(null, &flags);
    EXPECT_TRUE(flags & AEGP_LayerFlag_NULL_LAYER);

    AEGP_LayerH shape = nullptr;
    ASSERT_EQ(comps->AEGP_CreateVectorLayerInComp(compHandle(), &shape), A_Err_NONE);
    AEGP_ObjectType type = -1;
    suites_->LayerSuite7()->AEGP_GetLayerObjectType(shape, &type);
    EXPECT_EQ(type, AEGP_ObjectType_VECTOR);
    suites_->LayerSuite7()->AEGP_GetLayerIndex(null, &index);
    EXPECT_EQ(index, 1);
    ASSERT_EQ(suites_->LayerSuite5()->AEGP_SetLayerName(shape, "Box \u00e9"), A_Err_NONE);
    EXPECT_EQ(comp_->layer(0)->name(), QStringLiteral("Box \u00e9"));
}

TEST_F(LayerCompTest, SelectionSnapshotRestoresLiveLayersOnly)
{
    Layer* a = addLayer(LayerKind::Solid);
    Layer* b = addLayer(LayerKind::Solid);
    ASSERT_EQ(comp_->setSelection({a, b}), A_Err_NONE);
    AEGP_Collection2H snapshot = nullptr;
    ASSERT_EQ(suites_->CompSuite7()->AEGP_GetNewCollectionFromCompSelection(kPluginId, compHandle(), &snapshot),
              A_Err_NONE);
    comp_->setSelection({});
    suites_->LayerSuite7()->AEGP_DeleteLayer(handle(a));
    ASSERT_EQ(suites_->CompSuite7()->AEGP_SetSelection(compHandle(), snapshot), A_Err_NONE);
    ASSERT_EQ(comp_->selection().size(), 1u);
    EXPECT_EQ(comp_->selection()[0], b);
}

TEST_F(LayerCompTest, TransformMatrixMapsTheAnchorToThePosition)
{
    Layer* layer = addLayer(LayerKind::Solid);
    layer->transformStream(TransformStream::AnchorPoint)->setStaticValue(Value::threeD(100, 50, 0));
    layer->transformStream(TransformStream::Position)->setStaticValue(Value::threeD(320, 180, 0));
    layer->transformStream(TransformStream::Rotation)->setStaticValue(Value::oneD(90));
    A_Matrix4 m{};
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetLayerToWorldXform(handle(layer), &kTime0, &m), A_Err_NONE);
    auto map = [&m](double x, double y, int j) { return x * m.mat[0][j] + y * m.mat[1][j] + m.mat[3][j]; };
    EXPECT_NEAR(map(100, 50, 0), 320, 1e-9);
    EXPECT_NEAR(map(100, 50, 1), 180, 1e-9);
    EXPECT_NEAR(map(101, 50, 0), 320, 1e-9) << "+x turns to +y at 90 degrees";
    EXPECT_NEAR(map(101, 50, 1), 181, 1e-9);
    EXPECT_EQ(suites_->LayerSuite7()->AEGP_GetLayerToWorldXform(handle(layer), nullptr, &m), A_Err_PARAMETER);
}

TEST_F(LayerCompTest, TimeModesAreCompositionOrLayerTime)
{
    Layer* layer = addLayer(LayerKind::Solid);
    layer->setInPoint(A_Time{50, 25});
    A_Time in{};
    ASSERT_EQ(suites_->LayerSuite5()->AEGP_GetLayerInPoint(handle(layer), AEGP_LTimeMode_CompTime, &in), A_Err_NONE);
    EXPECT_EQ(in.value, 50);
    ASSERT_EQ(suites_->LayerSuite5()->AEGP_GetLayerInPoint(handle(layer), AEGP_LTimeMode_LayerTime, &in), A_Err_NONE);
    EXPECT_EQ(in.value, 0);
    EXPECT_EQ(suites_->LayerSuite5()->AEGP_GetLayerInPoint(handle(layer), 2, &in), A_Err_PARAMETER);
}

} // namespace
