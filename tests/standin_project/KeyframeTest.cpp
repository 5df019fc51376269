// Keys, interpolation, batches, tangents, expressions and separation.
#include "ProjectTestUtil.h"

#include "project/MatchNames.h"
#include "project/PropertyCatalog.h"
#include "project/Time.h"

#include <gtest/gtest.h>

using namespace standin;

namespace {

PropertyNode::Ptr positionLeaf()
{
    return PropertyNode::makeLeaf(QLatin1String(match::kPosition), QStringLiteral("Position"),
                                  Value::threeD(5, 6, 0));
}

} // namespace

TEST(Time, ExactComparisonAcrossScales)
{
    EXPECT_EQ(compareTimes(A_Time{1, 25}, A_Time{4000, 100000}), 0);
    EXPECT_LT(compareTimes(A_Time{29, 25}, A_Time{116001, 100000}), 0);
    EXPECT_GT(compareTimes(A_Time{-1, 3}, A_Time{-2, 3}), 0);
    // extreme values do not overflow
    EXPECT_LT(compareTimes(A_Time{-2147483647 - 1, 1}, A_Time{2147483647, 4294967295u}), 0);
    A_Time t;
    ASSERT_TRUE(rescaleTime(A_Time{1, 2}, 25, &t));
    EXPECT_EQ(t.value, 13); // 12.5 rounds away from zero
    EXPECT_FALSE(secondsToTime(1e12, 1000, &t));
    ASSERT_TRUE(addTimes(A_Time{10, 25}, A_Time{1, 5}, &t));
    EXPECT_EQ(t.value, 15);
    EXPECT_EQ(t.scale, 25u);
    // Exact rescaling only: a time that does not land on the scale, or does
    // not fit, stays as it was.
    ASSERT_TRUE(rescaleExactly(A_Time{4000, 100000}, 25, &t));
    EXPECT_EQ(t.value, 1);
    EXPECT_EQ(t.scale, 25u);
    EXPECT_FALSE(rescaleExactly(A_Time{1, 2}, 25, &t));
    EXPECT_FALSE(rescaleExactly(A_Time{2147483647, 1}, 2, &t));
    EXPECT_FALSE(rescaleExactly(A_Time{1, 0}, 25, &t));
    EXPECT_EQ(t.value, 1) << "a failed rescale leaves the output alone";
}

TEST(Keyframes, LinearWithHoldAtTheEnds)
{
    auto leaf = positionLeaf();
    EXPECT_EQ(leaf->keyedValueAt(A_Time{3, 1}), Value::threeD(5, 6, 0)); // static without keys
    EXPECT_EQ(leaf->addKey(A_Time{50, 25}, Value::threeD(100, 200, 0)), 0);
    EXPECT_EQ(leaf->addKey(A_Time{0, 25}, Value::threeD(0, 0, 0)), 0); // sorted by time
    ASSERT_EQ(leaf->keyCount(), 2);
    EXPECT_EQ(leaf->keyedValueAt(A_Time{25, 25}), Value::threeD(50, 100, 0));
    EXPECT_EQ(leaf->keyedValueAt(A_Time{100000, 100000}), Value::threeD(50, 100, 0)); // another scale
    EXPECT_EQ(leaf->keyedValueAt(A_Time{-5, 1}), Value::threeD(0, 0, 0));
    EXPECT_EQ(leaf->keyedValueAt(A_Time{9, 1}), Value::threeD(100, 200, 0));
    EXPECT_TRUE(leaf->isTimeVarying());
    // a key at an existing time replaces the value
    EXPECT_EQ(leaf->addKey(A_Time{2, 1}, Value::threeD(1, 1, 1)), 1);
    EXPECT_EQ(leaf->keyCount(), 2);
    // a value of the wrong type is refused
    EXPECT_EQ(leaf->addKey(A_Time{3, 1}, Value::oneD(1)), -1);
    EXPECT_EQ(leaf->addKey(A_Time{3, 0}, Value::threeD(1, 1, 1)), -1);
}

TEST(Keyframes, ColoursPerChannelAndShapesStep)
{
    auto colour = PropertyNode::makeLeaf(QLatin1String(match::kFillColor), QStringLiteral("Color"),
                                         defaultLeafValue(QLatin1String(match::kFillColor)));
    colour->addKey(A_Time{0, 1}, Value::color(0, 0, 0, 1));
    colour->addKey(A_Time{2, 1}, Value::color(1, 0.5, 0, 0));
    EXPECT_EQ(colour->keyedValueAt(A_Time{1, 1}), Value::color(0.5, 0.25, 0, 0.5));

    auto path = PropertyNode::makeLeaf(QLatin1String(match::kMaskShape), QStringLiteral("Mask Path"),
                                       Value::outline(MaskOutline()));
    MaskOutline a;
    a.vertices = {MaskVertex{0, 0}, MaskVertex{1, 0}, MaskVertex{1, 1}};
    MaskOutline b = a;
    b.vertices[2].x = 9;
    path->addKey(A_Time{1, 1}, Value::outline(a));
    path->addKey(A_Time{3, 1}, Value::outline(b));
    EXPECT_EQ(path->keyedValueAt(A_Time{0, 1}).shape, a); // before the first: the first
    EXPECT_EQ(path->keyedValueAt(A_Time{2, 1}).shape, a); // steps
    EXPECT_EQ(path->keyedValueAt(A_Time{3, 1}).shape, b);
    EXPECT_EQ(path->keyedValueAt(A_Time{299, 100}).shape, a);
}

TEST(Keyframes, BatchGivesNewKeysAutoTangents)
{
    auto leaf = positionLeaf();
    const std::vector<int> idx = leaf->addKeys({{A_Time{0, 25}, Value::threeD(0, 0, 0)},
                                                {A_Time{1, 25}, Value::threeD(60, 0, 0)},
                                                {A_Time{2, 25}, Value::threeD(120, 60, 0)}});
    EXPECT_EQ(idx, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(leaf->key(1)->outTangent, Value::threeD(20, 10, 0));
    EXPECT_EQ(leaf->key(1)->inTangent, Value::threeD(-20, -10, 0));
    EXPECT_EQ(leaf->key(0)->outTangent, Value::threeD(0, 0, 0));
    EXPECT_EQ(leaf->key(2)->inTangent, Value::threeD(0, 0, 0));

    // Tangents set explicitly are kept; only spatial leaves take them.
    EXPECT_TRUE(leaf->setKeyTangents(1, Value::threeD(0, 0, 0), Value::threeD(0, 0, 3)));
    EXPECT_FALSE(leaf->setKeyTangents(1, Value::twoD(0, 0), Value::twoD(0, 0)));
    EXPECT_FALSE(leaf->setKeyTangents(3, Value::threeD(0, 0, 0), Value::threeD(0, 0, 0)));
    auto rotation = PropertyNode::makeLeaf(QLatin1String(match::kRotation), QStringLiteral("Rotation"), Value::oneD(0));
    rotation->addKey(A_Time{0, 1}, Value::oneD(3));
    EXPECT_FALSE(rotation->setKeyTangents(0, Value(), Value()));
    EXPECT_EQ(rotation->key(0)->inTangent.type, ValueType::None);

    // Interpolation ignores tangents.
    EXPECT_EQ(leaf->keyedValueAt(A_Time{1, 50}), Value::threeD(30, 0, 0));
}

TEST(Keyframes, RemovingTheLastKeyLeavesItsValue)
{
    auto leaf = positionLeaf();
    leaf->addKey(A_Time{0, 1}, Value::threeD(1, 2, 3));
    leaf->addKey(A_Time{1, 1}, Value::threeD(4, 5, 6));
    EXPECT_FALSE(leaf->removeKey(2));
    EXPECT_TRUE(leaf->removeKey(0));
    EXPECT_TRUE(leaf->removeKey(0));
    EXPECT_EQ(leaf->keyCount(), 0);
    EXPECT_EQ(leaf->staticValue(), Value::threeD(4, 5, 6));
    EXPECT_FALSE(leaf->isTimeVarying());
}

TEST(Keyframes, ExpressionsGiveTheirConstantPostExpressionValue)
{
    auto leaf = PropertyNode::makeLeaf(QLatin1String(match::kRotation), QStringLiteral("Rotation"), Value::oneD(10));
    leaf->setExpressionEnabled(true); // no expression: nothing happens
    EXPECT_FALSE(leaf->isTimeVarying());
    EXPECT_TRUE(leaf->setExpression(QStringLiteral("time * 10"), true, Value::oneD(45)));
    EXPECT_FALSE(leaf->setExpression(QStringLiteral("x"), true, Value::twoD(1, 1)));
    EXPECT_EQ(leaf->valueAt(kZeroTime, false), Value::oneD(45));
    EXPECT_EQ(leaf->valueAt(kZeroTime, true), Value::oneD(10));
    EXPECT_TRUE(leaf->isTimeVarying());
    leaf->setExpressionEnabled(false);
    EXPECT_EQ(leaf->valueAt(kZeroTime, false), Value::oneD(10));
    EXPECT_FALSE(leaf->isTimeVarying());
}

TEST(Keyframes, SeparatedPositionCombinesItsFollowers)
{
    auto p = test::stackProject(1);
    ASSERT_TRUE(p);
    Layer* l = p->compositions()[0]->layer(0);
    PropertyNode* pos = l->transformStream(TransformStream::Position);
    pos->addKey(A_Time{0, 1}, Value::threeD(0, 10, 4));
    pos->addKey(A_Time{2, 1}, Value::threeD(100, 30, 4));
    pos->setStaticValue(Value::threeD(0, 0, 4));
    l->setPositionSeparated(true);
    EXPECT_TRUE(pos->isSeparationLeader());
    EXPECT_EQ(pos->keyCount(), 0);
    EXPECT_FALSE(pos->isTimeVarying());
    ASSERT_TRUE(pos->separationFollower(0));
    EXPECT_EQ(pos->separationFollower(0)->keyCount(), 2); // the keys moved into the followers
    EXPECT_EQ(pos->separationFollower(2), nullptr);
    EXPECT_EQ(pos->valueAt(A_Time{1, 1}, false), Value::threeD(50, 20, 4));
    EXPECT_EQ(l->transformGroup()->childByMatchName(QLatin1String(match::kPositionY))->depth(), 2);
}
