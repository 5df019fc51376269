// What the joint-adding commands keep for each joint they create: the two
// body rows, the two body names, then what the joint type needs. Distance
// anchors are local to their bodies; pivot and piston values are world values.
#pragma once

#include <QString>
#include <box2d/box2d.h>

#include <cstdint>

struct MyDistanceJoint
{
    int32_t bodyA = 0;
    int32_t bodyB = 0;
    QString bodyAName;
    QString bodyBName;
    b2Vec2 anchorA{0.0f, 0.0f};
    b2Vec2 anchorB{0.0f, 0.0f};
};

struct MyRevoluteJoint
{
    int32_t bodyA = 0;
    int32_t bodyB = 0;
    QString bodyAName;
    QString bodyBName;
    b2Vec2 anchor{0.0f, 0.0f};
};

struct MyPrismaticJoint
{
    int32_t bodyA = 0;
    int32_t bodyB = 0;
    QString bodyAName;
    QString bodyBName;
    b2Vec2 anchor{0.0f, 0.0f};
    b2Vec2 axis{0.0f, 0.0f};  // unit length
};

struct MySpringJoint
{
    int32_t bodyA = 0;
    int32_t bodyB = 0;
    QString bodyAName;
    QString bodyBName;
};
