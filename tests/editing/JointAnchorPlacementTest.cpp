// Where the anchor tool puts a joint's anchor for a press at a point.
#include "editing/JointAnchorPlacement.h"

#include "model/MyBody.h"
#include "model/MyJoint.h"
#include "model/ShapeDef.h"

#include <gtest/gtest.h>

namespace {

// Two 2 x 2 square bodies centred at (0, 0) and (10, 0).
class JointAnchorPlacement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        place(a, b2Vec2(0.0f, 0.0f));
        place(b, b2Vec2(10.0f, 0.0f));
    }

    void place(MyBody& record, b2Vec2 position)
    {
        b2BodyDef def;
        def.position = position;
        record.body = world.CreateBody(&def);
        record.position = position;
        ShapeDef outline;
        outline.points = {b2Vec2(-1, -1), b2Vec2(1, -1), b2Vec2(1, 1), b2Vec2(-1, 1)};
        record.outlines = {{outline}};
    }

    MyJoint joint(int type) const
    {
        MyJoint j;
        j.type = type;
        j.bodyA = 0;
        j.bodyB = 1;
        return j;
    }

    b2World world{b2Vec2(0.0f, 10.0f)};
    MyBody a;
    MyBody b;
};

void expectNear(b2Vec2 actual, b2Vec2 expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
}

TEST_F(JointAnchorPlacement, DistanceAndSpringJointsMoveTheNearerEndInItsBodysFrame)
{
    for (int type : {JointType::Distance, JointType::Spring}) {
        SCOPED_TRACE(type);
        MyJoint j = joint(type);
        placeJointAnchor(j, a, b, b2Vec2(8.0f, 0.3f), false);
        expectNear(j.anchorA, b2Vec2(0.0f, 0.0f));
        expectNear(j.anchorB, b2Vec2(-2.0f, 0.3f));

        // Snapped to the nearest edge midpoint of body B, world (9, 0).
        placeJointAnchor(j, a, b, b2Vec2(8.0f, 0.3f), true);
        expectNear(j.anchorB, b2Vec2(-1.0f, 0.0f));

        placeJointAnchor(j, a, b, b2Vec2(0.5f, -0.2f), false);
        expectNear(j.anchorA, b2Vec2(0.5f, -0.2f));
        expectNear(j.anchorB, b2Vec2(-1.0f, 0.0f));
    }
}

TEST_F(JointAnchorPlacement, APivotGoesToThePointOrTheNearerBodysVertex)
{
    MyJoint j = joint(JointType::Revolute);
    placeJointAnchor(j, a, b, b2Vec2(3.0f, 0.2f), false);
    expectNear(j.anchor, b2Vec2(3.0f, 0.2f));
    placeJointAnchor(j, a, b, b2Vec2(3.0f, 0.2f), true);
    expectNear(j.anchor, b2Vec2(1.0f, 0.0f));
    placeJointAnchor(j, a, b, b2Vec2(7.5f, 0.9f), true);
    expectNear(j.anchor, b2Vec2(9.0f, 1.0f));
}

TEST_F(JointAnchorPlacement, APistonsAxisRunsFromBetweenTheCentresToThePoint)
{
    MyJoint j = joint(JointType::Prismatic);
    placeJointAnchor(j, a, b, b2Vec2(5.0f, 4.0f), true);
    expectNear(j.axis, b2Vec2(0.0f, 4.0f));
    expectNear(j.anchor, b2Vec2(0.0f, 0.0f));
}

} // namespace
