// Layer-to-composition matrices against hand-computed values.
#include "ProjectTestUtil.h"

#include "project/Layer.h"
#include "project/MatchNames.h"
#include "project/PropertyNode.h"
#include "project/Transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>

using namespace standin;

namespace {

constexpr double kEps = 1e-9;

struct Point {
    double x, y;
};

Point map(const A_Matrix4& m, double x, double y)
{
    Point p{};
    mapPoint(m, x, y, &p.x, &p.y);
    return p;
}

double worldRotationDegrees(const A_Matrix4& m)
{
    const Point o = map(m, 0, 0);
    const Point e = map(m, 1, 0);
    return std::atan2(e.y - o.y, e.x - o.x) * 180.0 / M_PI;
}

// A 200 x 100 solid "Box" (anchor defaults to its middle) and a parented chain.
std::unique_ptr<Project> chainProject()
{
    return test::loadText(R"({
        "footage": [{"id": 1, "name": "Box", "kind": "solid", "width": 200, "height": 100},
                    {"id": 2, "name": "Dot", "kind": "solid", "width": 10, "height": 10}],
        "compositions": [{"id": 3, "name": "C", "width": 1920, "height": 1080, "frameRate": 25, "duration": 10,
          "layers": [
            {"id": 1, "type": "solid", "source": 1, "name": "box", "transform": {"position": [960, 540]}},
            {"id": 2, "type": "solid", "source": 2, "name": "grand", "transform":
                {"anchorPoint": [0, 0], "position": [500, 500], "scale": [200, 200], "rotation": 90}},
            {"id": 3, "type": "solid", "source": 2, "name": "parent", "parent": 2, "transform":
                {"anchorPoint": [0, 0], "position": [10, 20], "rotation": 30}},
            {"id": 4, "type": "solid", "source": 2, "name": "child", "parent": 3, "transform":
                {"anchorPoint": [5, 5], "position": [100, 0], "rotation": 45, "scale": [50, 50]}}
          ]}]})");
}

} // namespace

TEST(Transform, UnparentedBoxCornersAndAnchor)
{
    auto p = chainProject();
    ASSERT_TRUE(p);
    const Layer* box = p->compositions()[0]->layer(0);
    const A_Matrix4 m = layerToWorld(*box, kZeroTime);
    // The anchor maps onto the position; the corners lie +-(100, 50) around it.
    const Point anchor = map(m, 100, 50);
    EXPECT_NEAR(anchor.x, 960, kEps);
    EXPECT_NEAR(anchor.y, 540, kEps);
    const Point tl = map(m, 0, 0);
    const Point br = map(m, 200, 100);
    EXPECT_NEAR(tl.x - 960, -100, kEps);
    EXPECT_NEAR(tl.y - 540, -50, kEps);
    EXPECT_NEAR(br.x - 960, 100, kEps);
    EXPECT_NEAR(br.y - 540, 50, kEps);
    EXPECT_DOUBLE_EQ(m.mat[3][3], 1.0);
    EXPECT_DOUBLE_EQ(m.mat[0][3], 0.0);
}

TEST(Transform, RotationAndScaleOfOneLayer)
{
    auto p = chainProject();
    ASSERT_TRUE(p);
    const Layer* grand = p->compositions()[0]->layer(1);
    const A_Matrix4 m = layerToWorld(*grand, kZeroTime);
    // (10, 20) scaled 200 % -> (20, 40), turned 90 degrees clockwise (y down)
    // -> (-40, 20), moved by (500, 500).
    const Point q = map(m, 10, 20);
    EXPECT_NEAR(q.x, 460, kEps);
    EXPECT_NEAR(q.y, 520, kEps);
    EXPECT_NEAR(worldRotationDegrees(m), 90, 1e-9);
    // The matrix rows hold the rotation: m[0] = (cos, sin), m[1] = (-sin, cos), times the scale.
    EXPECT_NEAR(m.mat[0][1], 2.0, kEps);
    EXPECT_NEAR(m.mat[1][0], -2.0, kEps);
}

TEST(Transform, ParentChainComposesRotationsAndOffsets)
{
    auto p = chainProject();
    ASSERT_TRUE(p);
    Composition* c = p->compositions()[0];
    const Layer* parent = c->layer(2);
    const Layer* child = c->layer(3);

    // parent's origin: its position (10, 20) in grand's space -> (460, 520).
    const Point po = map(layerToWorld(*parent, kZeroTime), 0, 0);
    EXPECT_NEAR(po.x, 460, kEps);
    EXPECT_NEAR(po.y, 520, kEps);
    EXPECT_NEAR(worldRotationDegrees(layerToWorld(*parent, kZeroTime)), 120, 1e-9);

    // child's anchor sits at (100, 0) in parent space; in world space that is
    // (100, 0) turned by 120 degrees and scaled 200 %, from the parent's origin.
    const A_Matrix4 m = layerToWorld(*child, kZeroTime);
    const Point ca = map(m, 5, 5);
    const double t = 120 * M_PI / 180;
    EXPECT_NEAR(ca.x, 460 + 200 * std::cos(t), 1e-9);
    EXPECT_NEAR(ca.y, 520 + 200 * std::sin(t), 1e-9);
    EXPECT_NEAR(worldRotationDegrees(m), 165, 1e-9);
    // world scale: 200 % * 50 % = 100 %
    const Point o = map(m, 0, 0);
    const Point e = map(m, 1, 0);
    EXPECT_NEAR(std::hypot(e.x - o.x, e.y - o.y), 1.0, 1e-12);
}

TEST(Transform, UsesPostExpressionAndSeparatedValuesAtTime)
{
    auto p = test::loadText(R"J({
        "footage": [{"id": 1, "name": "S", "kind": "solid", "width": 10, "height": 10}],
        "compositions": [{"id": 2, "name": "C", "width": 100, "height": 100, "frameRate": 25, "duration": 4,
          "layers": [{"id": 1, "type": "solid", "source": 1, "transform": {
              "anchorPoint": [0, 0],
              "position": [0, 0, 7],
              "positionX": {"keys": [{"time": 0, "value": 0}, {"time": 2, "value": 100}]},
              "positionY": 30,
              "rotation": {"value": 0, "expression": "wiggle(1, 2)", "expressionValue": 90}}}]}]})J");
    ASSERT_TRUE(p);
    const Layer* l = p->compositions()[0]->layer(0);
    const A_Matrix4 m = layerToWorld(*l, A_Time{1, 1});
    const Point o = map(m, 0, 0);
    EXPECT_NEAR(o.x, 50, kEps);
    EXPECT_NEAR(o.y, 30, kEps);
    EXPECT_NEAR(m.mat[3][2], 7, kEps);
    EXPECT_NEAR(worldRotationDegrees(m), 90, 1e-9);
}

TEST(Transform, FollowsATransformGroupWhoseShapeChanged)
{
    auto p = chainProject();
    ASSERT_TRUE(p);
    Layer* grand = p->compositions()[0]->layer(1);
    PropertyNode* group = grand->transformGroup();
    ASSERT_TRUE(group);
    EXPECT_NEAR(map(layerToWorld(*grand, kZeroTime), 1, 0).y, 502, kEps) << "scale 200 %, turned 90 degrees";

    // Without its scale leaf the layer is at 100 %; with a new one, at the
    // new one's value; a second leaf of the same name behind it is not read.
    const int at = group->childByMatchName(QLatin1String(match::kScale))->indexInParent();
    PropertyNode::Ptr removed = group->removeChild(at);
    ASSERT_TRUE(removed);
    EXPECT_NEAR(map(layerToWorld(*grand, kZeroTime), 1, 0).y, 501, kEps);
    group->insertChild(PropertyNode::makeLeaf(QLatin1String(match::kScale), QStringLiteral("Scale"),
                                              Value::threeD(300, 300, 100)),
                       at);
    group->insertChild(PropertyNode::makeLeaf(QLatin1String(match::kScale), QStringLiteral("Scale"),
                                              Value::threeD(900, 900, 100)));
    EXPECT_NEAR(map(layerToWorld(*grand, kZeroTime), 1, 0).y, 503, kEps);
    EXPECT_EQ(grand->transformStream(TransformStream::Scale), grand->placingLeaves().scale);
}

TEST(Transform, LocalMatrixIsTheProductOfItsFactorsBitForBit)
{
    // Anchor, position, scale and rotation from a table of awkward values
    // (zeros of both signs, tiny, huge, negative, overflowing, infinite, not
    // a number) and at random; the matrix must be exactly the three
    // multiplications' result.
    auto p = chainProject();
    ASSERT_TRUE(p);
    Layer* layer = p->compositions()[0]->layer(0);
    PropertyNode* anchor = layer->transformStream(TransformStream::AnchorPoint);
    PropertyNode* position = layer->transformStream(TransformStream::Position);
    PropertyNode* scale = layer->transformStream(TransformStream::Scale);
    PropertyNode* rotation = layer->transformStream(TransformStream::Rotation);
    const double awkward[] = {0.0,   -0.0,   1.0,    -1.0,   100.0, -100.0, 1e-310, -1e-310, 3.5e-7,
                              1e200, -1e200, 1e308,  45.0,   90.0,  180.0,  -270.0, 12345.678,
                              std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    std::mt19937 random(21);
    std::uniform_int_distribution<size_t> pick(0, std::size(awkward) - 1);
    std::uniform_real_distribution<double> any(-2000.0, 2000.0);
    auto value = [&](int row) { return row % 2 ? any(random) : awkward[pick(random)]; };
    for (int row = 0; row < 4000; ++row) {
        const Value a = Value::threeD(value(row), value(row), value(row));
        const Value at = Value::threeD(value(row), value(row), value(row));
        const Value s = Value::threeD(value(row), value(row), value(row));
        const Value r = Value::oneD(value(row));
        anchor->setStaticValue(a);
        position->setStaticValue(at);
        scale->setStaticValue(s);
        rotation->setStaticValue(r);

        A_Matrix4 expected = identityMatrix();
        expected.mat[3][0] = -a.v[0];
        expected.mat[3][1] = -a.v[1];
        expected.mat[3][2] = -a.v[2];
        A_Matrix4 factor = identityMatrix();
        for (int i = 0; i < 3; ++i)
            factor.mat[i][i] = s.v[i] / 100.0;
        expected = multiply(expected, factor);
        const double theta = r.v[0] * M_PI / 180.0;
        factor = identityMatrix();
        factor.mat[0][0] = std::cos(theta);
        factor.mat[0][1] = std::sin(theta);
        factor.mat[1][0] = -std::sin(theta);
        factor.mat[1][1] = std::cos(theta);
        expected = multiply(expected, factor);
        factor = identityMatrix();
        for (int i = 0; i < 3; ++i)
            factor.mat[3][i] = at.v[i];
        expected = multiply(expected, factor);

        const A_Matrix4 got = layerLocalMatrix(*layer, kZeroTime);
        ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0)
            << "row " << row << ": anchor " << a.v[0] << " " << a.v[1] << " " << a.v[2] << ", position " << at.v[0]
            << " " << at.v[1] << " " << at.v[2] << ", scale " << s.v[0] << " " << s.v[1] << " " << s.v[2]
            << ", rotation " << r.v[0];
    }
}
