// The joint planners without a window: which bodies are joined, in which
// order, and where the anchors go.
#include "editing/JointPlanning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

namespace {

using namespace JointPlanning;
using Rows = std::vector<int>;
using Pairs = std::vector<std::pair<int, int>>;

// Unit boxes (half-extent 0.5) at the given centres in their own world.
class Planning : public ::testing::Test
{
protected:
    void place(std::vector<b2Vec2> centres)
    {
        bodies.clear();
        for (b2Vec2 c : centres) {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.position = c;
            b2Body* body = world.CreateBody(&def);
            b2PolygonShape box;
            box.SetAsBox(0.5f, 0.5f);
            body->CreateFixture(&box, 1.0f);
            MyBody record;
            record.body = body;
            record.position = c;
            bodies.push_back(record);
        }
    }

    bool inside(int body, b2Vec2 p) const
    {
        const b2Body* b = bodies[size_t(body)].body;
        for (const b2Fixture* f = b ? b->GetFixtureList() : nullptr; f; f = f->GetNext())
            if (f->TestPoint(p))
                return true;
        return false;
    }

    DistancePlan distance(const Rows& operands, DistanceJointMode mode) const
    {
        return planDistanceJoints(bodies, operands, mode, [this](int b, b2Vec2 p) { return inside(b, p); });
    }

    template <typename Request>
    static Pairs pairsOf(const std::vector<Request>& requests)
    {
        Pairs pairs;
        for (const Request& r : requests)
            pairs.emplace_back(r.bodyA, r.bodyB);
        return pairs;
    }

    b2World world{b2Vec2(0.0f, 0.0f)};
    std::vector<MyBody> bodies;
};

TEST(OperandList, TheClickOrderLeadsOnlyWhileItHoldsTwoSelectedBodies)
{
    struct Case {
        Rows clickOrder, selected, expected;
    };
    const Case cases[] = {
        {{3, 1, 2}, {1, 2, 3}, {3, 1, 2}},
        // Bodies no longer selected leave the order; selected bodies the
        // order misses follow in body order.
        {{4, 3, 1}, {0, 1, 2, 3}, {3, 1, 0, 2}},
        {{2, 2, 0}, {0, 2}, {2, 0}},
        // One entry left: the selection in body order.
        {{5, 2}, {0, 2, 4}, {0, 2, 4}},
        {{}, {1, 3}, {1, 3}},
        {{1, 2}, {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(operandList(c.clickOrder, c.selected), c.expected);
}

TEST(DistanceJointModes, ModifierCombinationsChooseTheMode)
{
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
    const std::pair<Qt::KeyboardModifiers, DistanceJointMode> cases[] = {
        {ctrl | alt | shift, DistanceJointMode::Triangulation},
        {ctrl | alt, DistanceJointMode::EveryPair},
        {alt | shift, DistanceJointMode::OutlineChain},
        {alt, DistanceJointMode::ShortestLinkChain},
        {ctrl, DistanceJointMode::CentreChain},
        {shift, DistanceJointMode::CentreChain},
        {ctrl | shift, DistanceJointMode::CentreChain},
        {Qt::NoModifier, DistanceJointMode::CentreChain},
    };
    for (const auto& [mods, mode] : cases)
        EXPECT_EQ(distanceJointMode(mods), mode) << mods;
}

TEST_F(Planning, ChainsFollowTheOperandOrderAndOneBodyMakesNothing)
{
    place({{0, 0}, {2, 0}, {4, 0}, {6, 0}});
    EXPECT_EQ(pairsOf(distance({3, 1, 2}, DistanceJointMode::CentreChain).requests), Pairs({{3, 1}, {1, 2}}));
    EXPECT_EQ(pairsOf(planRevoluteJoints(bodies, {3, 1, 2})), Pairs({{3, 1}, {1, 2}}));
    EXPECT_EQ(pairsOf(planPrismaticJoints(bodies, {3, 1, 2})), Pairs({{3, 1}, {1, 2}}));
    EXPECT_EQ(pairsOf(planSpringJoints({3, 1, 2})), Pairs({{3, 1}, {1, 2}}));
    for (DistanceJointMode mode : {DistanceJointMode::CentreChain, DistanceJointMode::EveryPair,
                                   DistanceJointMode::Triangulation, DistanceJointMode::OutlineChain,
                                   DistanceJointMode::ShortestLinkChain}) {
        const DistancePlan one = distance({2}, mode);
        EXPECT_TRUE(one.requests.empty());
        EXPECT_FALSE(one.tooFewPositions);
    }
    EXPECT_TRUE(planRevoluteJoints(bodies, {2}).empty());
    EXPECT_TRUE(planSpringJoints({}).empty());
}

TEST_F(Planning, EveryPairJoinsEachPairOnceOuterFirst)
{
    place({{0, 0}, {2, 0}, {4, 0}, {6, 0}});
    const DistancePlan plan = distance({0, 1, 2, 3}, DistanceJointMode::EveryPair);
    EXPECT_EQ(pairsOf(plan.requests), Pairs({{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}));
    for (const MyDistanceJoint& r : plan.requests) {
        EXPECT_NEAR(r.anchorA.Length(), 0.0f, 1e-6f);
        EXPECT_NEAR(r.anchorB.Length(), 0.0f, 1e-6f);
    }
}

TEST_F(Planning, TriangulationNeedsThreeDistinctCentres)
{
    place({{1, 1}, {1, 1}, {1, 1}});
    DistancePlan stacked = distance({0, 1, 2}, DistanceJointMode::Triangulation);
    EXPECT_TRUE(stacked.tooFewPositions);
    EXPECT_TRUE(stacked.requests.empty());
    EXPECT_STREQ(kTooFewPositionsMessage,
                 "Delaunay triangulation requires at least three bodies with different positions.");

    place({{0, 0}, {4, 0}, {2, 3}});
    const DistancePlan plan = distance({0, 1, 2}, DistanceJointMode::Triangulation);
    EXPECT_FALSE(plan.tooFewPositions);
    ASSERT_EQ(plan.requests.size(), 3u);
    std::set<std::pair<int, int>> edges;
    for (const MyDistanceJoint& r : plan.requests)
        edges.insert(std::minmax(r.bodyA, r.bodyB));
    EXPECT_EQ(edges, (std::set<std::pair<int, int>>{{0, 1}, {0, 2}, {1, 2}}));
}

TEST_F(Planning, TriangulationJoinsOnlyOperandsAndNeverABodyToItself)
{
    // Body 0 is not selected but stands on body 3; body 4 stands on 1.
    place({{4, 0}, {0, 0}, {2, 3}, {4, 0}, {0, 0}, {6, 3}});
    const DistancePlan plan = distance({1, 2, 3, 4, 5}, DistanceJointMode::Triangulation);
    ASSERT_FALSE(plan.requests.empty());
    for (const MyDistanceJoint& r : plan.requests) {
        EXPECT_NE(r.bodyA, 0);
        EXPECT_NE(r.bodyB, 0);
        EXPECT_NE(r.bodyA, r.bodyB);
    }
    // Centres 1e-4 apart in x collapse into one vertex; no self joint comes
    // from a body between two collected positions.
    place({{0, 0}, {0.00015f, 0}, {0.000075f, 0}, {3, 0}, {1, 2}});
    for (const MyDistanceJoint& r : distance({0, 1, 2, 3, 4}, DistanceJointMode::Triangulation).requests)
        EXPECT_NE(r.bodyA, r.bodyB);
}

TEST_F(Planning, OutlineAndShortestLinkAnchorsLieOnTheFacingEdges)
{
    place({{0, 0}, {3, 0}});
    for (DistanceJointMode mode : {DistanceJointMode::OutlineChain, DistanceJointMode::ShortestLinkChain}) {
        const DistancePlan plan = distance({0, 1}, mode);
        ASSERT_EQ(plan.requests.size(), 1u);
        // Local to each body: A's right edge, B's left edge, level with
        // each other (the outline search stays on the centre line).
        const MyDistanceJoint& r = plan.requests[0];
        EXPECT_NEAR(r.anchorA.x, 0.5f, 0.002f);
        EXPECT_NEAR(r.anchorB.x, -0.5f, 0.002f);
        EXPECT_NEAR(r.anchorA.y, r.anchorB.y, 0.002f);
        EXPECT_LE(std::fabs(r.anchorA.y), 0.5f);
        if (mode == DistanceJointMode::OutlineChain) {
            EXPECT_NEAR(r.anchorA.y, 0.0f, 0.002f);
        }
    }
    // The centre chain anchors at the local centres.
    const DistancePlan centres = distance({0, 1}, DistanceJointMode::CentreChain);
    EXPECT_NEAR(centres.requests[0].anchorA.Length(), 0.0f, 1e-6f);
}

TEST_F(Planning, PivotsSitBetweenTheCentresAndPistonsPointFromAToB)
{
    place({{0, 0}, {2, 0}, {2, 0}});
    const std::vector<MyRevoluteJoint> pivots = planRevoluteJoints(bodies, {0, 1});
    ASSERT_EQ(pivots.size(), 1u);
    EXPECT_NEAR(pivots[0].anchor.x, 1.0f, 1e-6f);
    EXPECT_NEAR(pivots[0].anchor.y, 0.0f, 1e-6f);

    const std::vector<MyPrismaticJoint> pistons = planPrismaticJoints(bodies, {0, 1, 2});
    ASSERT_EQ(pistons.size(), 2u);
    EXPECT_NEAR(pistons[0].axis.x, 1.0f, 1e-6f);
    EXPECT_NEAR(pistons[0].axis.y, 0.0f, 1e-6f);
    // Coincident centres keep the axis (0, 0).
    EXPECT_EQ(pistons[1].axis.x, 0.0f);
    EXPECT_EQ(pistons[1].axis.y, 0.0f);
}

TEST_F(Planning, BodiesWithoutWorldBodiesOrOutOfRangeRowsAreSafe)
{
    place({{0, 0}, {2, 0}});
    bodies[1].body = nullptr;
    for (DistanceJointMode mode : {DistanceJointMode::CentreChain, DistanceJointMode::OutlineChain,
                                   DistanceJointMode::ShortestLinkChain})
        EXPECT_EQ(distance({0, 1}, mode).requests.size(), 1u);
    EXPECT_EQ(distance({0, 1, 7, -1}, DistanceJointMode::EveryPair).requests.size(), 1u);
    EXPECT_EQ(planRevoluteJoints(bodies, {0, 9}).size(), 0u);
    EXPECT_NEAR(planRevoluteJoints(bodies, {0, 1})[0].anchor.x, 1.0f, 1e-6f);
}

} // namespace
