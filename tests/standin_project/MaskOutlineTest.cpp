// The outline vertex model: segment counts and the index S wrap.
#include "project/Layer.h"
#include "project/MatchNames.h"

#include <gtest/gtest.h>

using namespace standin;

namespace {

MaskOutline square(bool open, int n = 4)
{
    MaskOutline o;
    o.open = open;
    for (int i = 0; i < n; ++i)
        o.vertices.push_back(MaskVertex{double(i), double(10 * i), -1, 0, 1, 0});
    return o;
}

} // namespace

TEST(MaskOutline, ClosedOutlineWrapsIndexSToVertexZero)
{
    const MaskOutline o = square(false);
    EXPECT_EQ(o.segmentCount(), 4);
    EXPECT_FALSE(o.reportsOpen());
    MaskVertex v;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(o.vertexAt(i, &v));
        EXPECT_EQ(v, o.vertices[size_t(i)]);
    }
    ASSERT_TRUE(o.vertexAt(4, &v));
    EXPECT_EQ(v, o.vertices[0]);
    EXPECT_FALSE(o.vertexAt(5, &v));
    EXPECT_FALSE(o.vertexAt(-1, &v));
}

TEST(MaskOutline, OpenOutlineEndsAtItsLastVertex)
{
    const MaskOutline o = square(true);
    EXPECT_EQ(o.segmentCount(), 3);
    EXPECT_TRUE(o.reportsOpen());
    MaskVertex v;
    ASSERT_TRUE(o.vertexAt(3, &v));
    EXPECT_EQ(v, o.vertices[3]);
    EXPECT_FALSE(o.vertexAt(4, &v));
}

TEST(MaskOutline, TwoSegmentClosedAndEmptyOutlines)
{
    const MaskOutline two = square(false, 2);
    EXPECT_EQ(two.segmentCount(), 2);
    MaskVertex v;
    ASSERT_TRUE(two.vertexAt(2, &v));
    EXPECT_EQ(v, two.vertices[0]);

    MaskOutline empty;
    EXPECT_EQ(empty.segmentCount(), 0);
    EXPECT_FALSE(empty.reportsOpen());
    EXPECT_FALSE(empty.vertexAt(0, &v));
    empty.open = true;
    EXPECT_FALSE(empty.reportsOpen());
    // one open vertex: no segment either
    EXPECT_EQ(square(true, 1).segmentCount(), 0);
    EXPECT_FALSE(square(true, 1).vertexAt(0, &v));
}

TEST(MaskOutline, NewMasksHaveTheHostDefaults)
{
    auto layer = Layer::create(LayerKind::Solid);
    EXPECT_EQ(layer->addMask(), 0);
    EXPECT_EQ(layer->addMask(), 1);
    const PropertyNode* atom = layer->maskAtom(1);
    ASSERT_TRUE(atom);
    EXPECT_EQ(atom->displayName(), QStringLiteral("Mask 2"));
    EXPECT_EQ(atom->matchName(), QLatin1String(match::kMaskAtom));
    EXPECT_EQ(atom->grouping(), Grouping::NamedGroup);
    const PropertyNode* shape = atom->childByMatchName(QLatin1String(match::kMaskShape));
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->staticValue().type, ValueType::Shape);
    EXPECT_EQ(shape->staticValue().shape.segmentCount(), 0);
    EXPECT_FALSE(shape->staticValue().shape.open);
    EXPECT_EQ(atom->childByMatchName(QLatin1String(match::kMaskOpacity))->staticValue(), Value::oneD(100));
    EXPECT_EQ(atom->childByMatchName(QLatin1String(match::kMaskFeather))->staticValue(), Value::twoD(0, 0));
    EXPECT_EQ(atom->childByMatchName(QLatin1String(match::kMaskOffset))->staticValue(), Value::oneD(0));
    EXPECT_EQ(atom->maskAttributes().mode, 1);
    EXPECT_FALSE(atom->maskAttributes().inverted);
    EXPECT_FALSE(atom->maskAttributes().locked);
    EXPECT_EQ(shape->depth(), 3);

    // cameras and lights have no masks
    EXPECT_EQ(Layer::create(LayerKind::Camera)->addMask(), -1);
    // removing a mask moves the later ones up; the old node is no longer live
    EXPECT_TRUE(layer->removeMask(0));
    EXPECT_EQ(layer->maskCount(), 1);
    EXPECT_EQ(layer->maskAtom(0), atom);
}
