// Shape-layer property trees through the dynamic stream suite: building
// them with AddStream, finding nodes by match name, index and depth,
// renaming and deleting items, and the layouts of their values.
#include "SuiteFixture.h"

#include <cstring>

using namespace standin;

namespace {

class ShapeTreeTest : public SuiteFixture
{
protected:
    void SetUp() override
    {
        SuiteFixture::SetUp();
        AEGP_LayerH layer = nullptr;
        ASSERT_EQ(suites_->CompSuite7()->AEGP_CreateVectorLayerInComp(compHandle(), &layer), A_Err_NONE);
        layer_ = comp_->layer(0);
        contents_ = child(root(layer_), "ADBE Root Vectors Group");
    }

    AEGP_StreamRefH add(AEGP_StreamRefH group, const char* name, A_Err expected = A_Err_NONE)
    {
        AEGP_StreamRefH added = nullptr;
        EXPECT_EQ(dyn()->AEGP_AddStream(kPluginId, group, name, &added), expected) << name;
        return added;
    }
    A_long depth(AEGP_StreamRefH s)
    {
        A_long d = -1;
        EXPECT_EQ(dyn()->AEGP_GetStreamDepth(s, &d), A_Err_NONE);
        return d;
    }
    std::string displayName(AEGP_StreamRefH s)
    {
        char name[AEGP_MAX_STREAM_NAME_SIZE];
        std::memset(name, 'x', sizeof name);
        EXPECT_EQ(suites_->StreamSuite3()->AEGP_GetStreamName(s, false, name), A_Err_NONE);
        return name;
    }
    const AEGP_DynamicStreamSuite4* dyn() { return suites_->DynamicStreamSuite4(); }

    Layer* layer_ = nullptr;
    AEGP_StreamRefH contents_ = nullptr;
};

TEST_F(ShapeTreeTest, AddedItemsCarryTheirChildrenDepthsAndDefaultNames)
{
    AEGP_StreamRefH group = add(contents_, "ADBE Vector Group");
    AEGP_StreamRefH inner = child(group, "ADBE Vectors Group");
    AEGP_StreamRefH rect = add(inner, "ADBE Vector Shape - Rect");
    AEGP_StreamRefH size = child(rect, "ADBE Vector Rect Size");
    add(inner, "ADBE Vector Graphic - Fill");

    EXPECT_EQ(depth(root(layer_)), 0);
    EXPECT_EQ(depth(contents_), 1);
    EXPECT_EQ(depth(group), 2);
    EXPECT_EQ(depth(inner), 3);
    EXPECT_EQ(depth(rect), 4);
    EXPECT_EQ(depth(size), 5);
    EXPECT_EQ(depth(layerStream(layer_, AEGP_LayerStream_POSITION)), 2);

    AEGP_StreamGroupingType type = -1;
    dyn()->AEGP_GetStreamGroupingType(inner, &type);
    EXPECT_EQ(type, AEGP_StreamGroupingType_INDEXED_GROUP);
    dyn()->AEGP_GetStreamGroupingType(rect, &type);
    EXPECT_EQ(type, AEGP_StreamGroupingType_NAMED_GROUP);
    dyn()->AEGP_GetStreamGroupingType(size, &type);
    EXPECT_EQ(type, AEGP_StreamGroupingType_LEAF);

    EXPECT_EQ(displayName(group), "Group 1");
    EXPECT_EQ(displayName(rect), "Rectangle Path 1");
    EXPECT_EQ(displayName(add(contents_, "ADBE Vector Group")), "Group 2");
    AEGP_StreamValue2 v = value(size);
    EXPECT_EQ(v.val.two_d.x, 100);
    EXPECT_EQ(v.val.two_d.y, 100);

    A_long count = 0;
    dyn()->AEGP_GetNumStreamsInGroup(inner, &count);
    EXPECT_EQ(count, 2);
    AEGP_StreamRefH second = nullptr;
    ASSERT_EQ(dyn()->AEGP_GetNewStreamRefByIndex(kPluginId, inner, 1, &second), A_Err_NONE);
    EXPECT_EQ(matchName(second), "ADBE Vector Graphic - Fill");
    AEGP_StreamValue2 color = value(child(second, "ADBE Vector Fill Color"));
    EXPECT_EQ(color.val.color.alpha, 1);
    EXPECT_EQ(color.val.color.red, 1);
    EXPECT_EQ(color.val.color.green, 0);
}

TEST_F(ShapeTreeTest, AddStreamTakesOnlyShapeItemsIntoVectorGroups)
{
    AEGP_StreamRefH group = add(contents_, "ADBE Vector Group");
    AEGP_StreamRefH transform = child(group, "ADBE Vector Transform Group");
    add(transform, "ADBE Vector Shape - Rect", A_Err_PARAMETER);
    add(contents_, "ADBE Vector Transform Group", A_Err_PARAMETER);
    add(contents_, "ADBE Vector Shape - Square", A_Err_PARAMETER);
    add(child(root(layer_), "ADBE Mask Parade"), "ADBE Vector Group", A_Err_PARAMETER);
    for (const char* name : {"ADBE Vector Shape - Ellipse", "ADBE Vector Shape - Star", "ADBE Vector Shape - Group",
                             "ADBE Vector Filter - Merge", "ADBE Vector Graphic - Stroke"})
        add(contents_, name);
}

TEST_F(ShapeTreeTest, MatchNamesAreFoundAmongDirectChildrenOnly)
{
    AEGP_StreamRefH group = add(contents_, "ADBE Vector Group");
    add(child(group, "ADBE Vectors Group"), "ADBE Vector Shape - Ellipse");
    AEGP_StreamRefH found = reinterpret_cast<AEGP_StreamRefH>(&found);
    ASSERT_EQ(dyn()->AEGP_GetNewStreamRefByMatchname(kPluginId, contents_, "ADBE Vector Shape - Ellipse", &found),
              A_Err_NONE);
    EXPECT_EQ(found, nullptr) << "absent is NULL without an error";
    ASSERT_EQ(dyn()->AEGP_GetNewStreamRefByMatchname(kPluginId, root(layer_), "ADBE Vector Transform Group", &found),
              A_Err_NONE);
    EXPECT_EQ(found, nullptr) << "the layer root has no vector transform group";

    AEGP_StreamRefH leaf = child(child(group, "ADBE Vector Transform Group"), "ADBE Vector Position");
    A_long count = 0;
    EXPECT_EQ(dyn()->AEGP_GetNumStreamsInGroup(leaf, &count), A_Err_PARAMETER);
    EXPECT_EQ(dyn()->AEGP_GetNewStreamRefByIndex(kPluginId, leaf, 0, &found), A_Err_PARAMETER);
    EXPECT_EQ(dyn()->AEGP_GetNewStreamRefByMatchname(kPluginId, leaf, "x", &found), A_Err_PARAMETER);
    EXPECT_EQ(dyn()->AEGP_GetNewStreamRefByIndex(kPluginId, contents_, 1, &found), A_Err_PARAMETER);
    EXPECT_EQ(value(leaf).val.two_d.x, 0);
}

TEST_F(ShapeTreeTest, ParentsLeadBackToTheRootAndStopThere)
{
    AEGP_StreamRefH group = add(contents_, "ADBE Vector Group");
    AEGP_StreamRefH node = child(child(group, "ADBE Vector Transform Group"), "ADBE Vector Scale");
    std::vector<std::string> chain;
    for (;;) {
        AEGP_StreamRefH parent = nullptr;
        const A_Err err = dyn()->AEGP_GetNewParentStreamRef(kPluginId, node, &parent);
        if (err) {
            EXPECT_EQ(err, A_Err_PARAMETER);
            EXPECT_EQ(depth(node), 0);
            break;
        }
        chain.push_back(matchName(parent));
        node = parent;
    }
    const std::vector<std::string> expected = {"ADBE Vector Transform Group", "ADBE Vector Group",
                                               "ADBE Root Vectors Group", "ADBE Vector Layer"};
    EXPECT_EQ(chain, expected);
}

TEST_F(ShapeTreeTest, OnlyChildrenOfIndexedGroupsAreRenamedOrDeleted)
{
    AEGP_StreamRefH group = add(contents_, "ADBE Vector Group");
    AEGP_StreamRefH path = add(child(group, "ADBE Vectors Group"), "ADBE Vector Shape - Group");
    AEGP_StreamRefH shape = child(path, "ADBE Vector Shape");
    const AEGP_DynamicStreamSuite3* dyn3 = suites_->DynamicStreamSuite3();
    EXPECT_EQ(dyn3->AEGP_SetStreamName(group, "Body \u00e9"), A_Err_NONE);
    EXPECT_EQ(displayName(group), "Body \u00e9");
    EXPECT_EQ(dyn3->AEGP_SetStreamName(child(group, "ADBE Vector Transform Group"), "No"), A_Err_PARAMETER);
    EXPECT_EQ(dyn3->AEGP_SetStreamName(contents_, "No"), A_Err_PARAMETER);

    // Display names are cut to 31 bytes without splitting a character.
    EXPECT_EQ(dyn3->AEGP_SetStreamName(group, (std::string(30, 'n') + "\u00e9").c_str()), A_Err_NONE);
    EXPECT_EQ(displayName(group), std::string(30, 'n'));

    EXPECT_EQ(dyn()->AEGP_DeleteStream(shape), A_Err_PARAMETER);
    EXPECT_EQ(dyn()->AEGP_DeleteStream(contents_), A_Err_PARAMETER);
    ASSERT_EQ(dyn()->AEGP_DeleteStream(group), A_Err_NONE);
    A_long count = -1;
    dyn()->AEGP_GetNumStreamsInGroup(contents_, &count);
    EXPECT_EQ(count, 0);
    AEGP_StreamValue2 v{};
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewStreamValue(kPluginId, shape, AEGP_LTimeMode_CompTime, &kTime0,
                                                              false, &v),
              A_Err_STRUCT);
}

TEST_F(ShapeTreeTest, DynamicFlagsHoldTheOnOffSwitch)
{
    AEGP_StreamRefH fill = add(contents_, "ADBE Vector Graphic - Fill");
    AEGP_DynStreamFlags flags = 0;
    dyn()->AEGP_GetDynamicStreamFlags(fill, &flags);
    EXPECT_EQ(flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL, AEGP_DynStreamFlag_ACTIVE_EYEBALL);
    ASSERT_EQ(dyn()->AEGP_SetDynamicStreamFlag(fill, AEGP_DynStreamFlag_ACTIVE_EYEBALL, true, false), A_Err_NONE);
    dyn()->AEGP_GetDynamicStreamFlags(fill, &flags);
    EXPECT_EQ(flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL, 0);
    EXPECT_EQ(dyn()->AEGP_SetDynamicStreamFlag(fill, 3, true, true), A_Err_PARAMETER);
}

TEST_F(ShapeTreeTest, GroupsHaveNoValue)
{
    AEGP_StreamValue2 v{};
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewStreamValue(kPluginId, contents_, AEGP_LTimeMode_CompTime, &kTime0,
                                                              false, &v),
              A_Err_PARAMETER);
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_SetStreamValue(kPluginId, contents_, &v), A_Err_PARAMETER);
    char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE];
    AEGP_StreamRefH star = add(contents_, "ADBE Vector Shape - Star");
    ASSERT_EQ(dyn()->AEGP_GetMatchName(child(star, "ADBE Vector Star Outer Roundess"), name), A_Err_NONE);
    EXPECT_STREQ(name, "ADBE Vector Star Outer Roundess");
}

} // namespace
