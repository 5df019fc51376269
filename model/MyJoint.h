// One user joint. A single record serves all four joint types; every field
// exists whatever the type. The world joint is rebuilt from these fields on
// every scene build (none for a spring).
//
// Anchors A and B are local to their bodies; the single anchor and the axis
// are world values. Pointers are shared by copies and never owned.
#pragma once

#include "model/SceneTypes.h"

#include <QString>
#include <box2d/box2d.h>

#include <cstdint>

struct JointUserData;

struct MyJoint
{
    int32_t id = 0;                          // row in the joints table
    int32_t type = JointType::Distance;
    b2Joint* joint = nullptr;                // the joint of the current world
    b2JointDef jointDef;

    // How a settings file identified the two bodies.
    int32_t bodyALayerID = 0;
    int32_t bodyBLayerID = 0;
    int32_t bodyALayerIndex = 0;
    int32_t bodyBLayerIndex = 0;
    QString bodyALayerName;
    QString bodyBLayerName;

    int32_t bodyA = 0;                       // rows in the body list
    int32_t bodyB = 0;

    // Distance and spring joints.
    b2Vec2 anchorA{0.0f, 0.0f};
    b2Vec2 committedAnchorA{0.0f, 0.0f};
    b2Vec2 anchorB{0.0f, 0.0f};
    b2Vec2 committedAnchorB{0.0f, 0.0f};
    float frequency = 0.0f;
    float damping = 0.0f;                    // also the spring's damping
    bool collideConnected = false;

    // Revolute: the pivot; prismatic: the reference point.
    b2Vec2 anchor{0.0f, 0.0f};
    b2Vec2 committedAnchor{0.0f, 0.0f};
    bool enableLimit = false;
    float lowerAngle = 0.0f;                 // degrees
    float upperAngle = 0.0f;                 // degrees
    bool enableMotor = false;
    float motorSpeed = 0.0f;
    float maxMotorTorque = 0.0f;

    // Prismatic.
    float lowerTranslation = 0.0f;
    float upperTranslation = 0.0f;
    float maxMotorForce = 0.0f;
    b2Vec2 axis{0.0f, 0.0f};
    b2Vec2 committedAxis{0.0f, 0.0f};

    // Spring.
    float springiness = 0.0f;
    float desiredLength = 0.0f;

    bool selected = false;
    JointUserData* jointUserData = nullptr;
};
