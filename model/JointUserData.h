// Drawing data of a user joint, kept in MyJoint::jointUserData and hung on
// the world joint's definition (b2JointUserData::pointer).
#pragma once

#include <box2d/box2d.h>

struct JointUserData
{
    b2Color color{0.0f, 0.0f, 0.0f, 1.0f};  // the joint type's colour, drawn while not selected
    bool selected = false;
    b2Vec2 pivotAnchor{0.0f, 0.0f};          // revolute pivot drawn while not playing (world)
    bool playing = false;                    // while set, drawing uses the live anchor
};
