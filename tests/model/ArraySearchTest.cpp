#include "model/ArraySearch.h"
#include "model/MyBody.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

namespace {

TEST(ArraySearchTest, VertexMembershipUsesAStrictAbsoluteTolerance)
{
    const std::vector<b2Vec2> list = {b2Vec2(3.0f, 4.0f), b2Vec2(1.0f, 1.0f), b2Vec2(0.5f, 0.5f)};
    EXPECT_TRUE(isInArray(b2Vec2(1.0f, 1.0f), list));
    // 1 + 1e-7 is stored as 1 + FLT_EPSILON: a difference equal to the
    // tolerance does not match.
    ASSERT_EQ(1.0f + 1e-7f, 1.0f + FLT_EPSILON);
    EXPECT_FALSE(isInArray(b2Vec2(1.0f + 1e-7f, 1.0f), list));
    EXPECT_FALSE(isInArray(b2Vec2(1.0f, 1.0f + 2e-7f), list));
    // Below one the float spacing is finer than the tolerance.
    EXPECT_TRUE(isInArray(b2Vec2(0.5f + 6e-8f, 0.5f), list));
    EXPECT_FALSE(isInArray(b2Vec2(0.5f, 0.5f), {}));
}

TEST(ArraySearchTest, PointLookupAnswersAsTheListDoes)
{
    // Points on a grid finer than the tolerance about zero, one, a cell
    // border and far out, each asked before it is added: the lookup and the
    // list must agree every time.
    std::mt19937 random(7);
    std::vector<b2Vec2> list;
    PointLookup lookup;
    const float bases[] = {0.0f, -1.0f, 1.0f, 3.0f * FLT_EPSILON, 1.0e6f, -3.0e38f};
    for (int i = 0; i < 4000; ++i) {
        const float base = bases[random() % 6];
        const auto near = [&] { return base + float(int(random() % 9) - 4) * 0.37f * FLT_EPSILON; };
        const b2Vec2 p(near(), near());
        ASSERT_EQ(lookup.contains(p), isInArray(p, list)) << p.x << ", " << p.y;
        list.push_back(p);
        lookup.insert(p);
    }
    const float inf = std::numeric_limits<float>::infinity();
    lookup.insert(b2Vec2(inf, 0.0f));
    EXPECT_FALSE(lookup.contains(b2Vec2(inf, 0.0f)));
    EXPECT_FALSE(lookup.contains(b2Vec2(std::nanf(""), 0.0f)));
}

TEST(ArraySearchTest, IntegersAndEdges)
{
    const std::vector<int> list = {4, 7, 7};
    EXPECT_TRUE(isInArray(7, list));
    EXPECT_FALSE(isInArray(5, list));
    EXPECT_EQ(findIndexOfInArray(7, list), 1);
    EXPECT_EQ(findIndexOfInArray(5, list), -1);

    const std::vector<b2Vec2> edges = {b2Vec2(1.0f, 2.0f), b2Vec2(5.0f, 3.0f)};
    EXPECT_TRUE(isEdgeInArray(b2Vec2(3.0f, 5.0f), edges));
    EXPECT_TRUE(isEdgeInArray(b2Vec2(1.0f, 2.0f), edges));
    EXPECT_FALSE(isEdgeInArray(b2Vec2(1.0f, 3.0f), edges));
}

TEST(ArraySearchTest, BodyIdFromPositionFindsTheFirstBodyAtACentre)
{
    b2World world(b2Vec2(0.0f, 10.0f));
    const auto addBody = [&](b2Vec2 position) {
        b2BodyDef def;
        def.position = position;
        return world.CreateBody(&def);
    };
    std::vector<MyBody> bodies(4);
    bodies[0].body = addBody(b2Vec2(5.0f, 5.0f));
    // bodies[1] has no world body and is skipped
    bodies[2].body = addBody(b2Vec2(1.0f, 2.0f));
    bodies[3].body = addBody(b2Vec2(1.0f, 2.0f));

    EXPECT_EQ(getBodyIdFromPosition(bodies, 1.0f, 2.0f), 2);
    EXPECT_EQ(getBodyIdFromPosition(bodies, 1.00005f, 1.99995f), 2);
    EXPECT_EQ(getBodyIdFromPosition(bodies, 1.0002f, 2.0f), -1);
    EXPECT_EQ(getBodyIdFromPosition(bodies, 0.0f, 0.0f), -1);
}

}  // namespace
