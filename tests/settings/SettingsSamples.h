// A scene and its snapshots as the settings writer takes them, with every
// kind of joint, a name that needs escaping and non-ASCII text.
#pragma once

#include "model/QuickPreset.h"

#include <QString>

#include <vector>

namespace settings_test {

inline MyBody sampleBody(int32_t layerID, int32_t index, const QString& name)
{
    MyBody b;
    b.init();
    b.layerID = layerID;
    b.index = index;
    b.name = name;
    b.color = AEGP_ColorVal{1.0, 1.0, 0.5, 0.25};
    b.position = b.committedPosition = b2Vec2(1.5f, -2.25f);
    return b;
}

inline MyJoint sampleJoint(int32_t type, int32_t a, int32_t b)
{
    MyJoint j;
    j.type = type;
    j.bodyA = a;
    j.bodyB = b;
    j.anchorA = b2Vec2(0.5f, 0.25f);
    j.anchorB = b2Vec2(-0.5f, 0.75f);
    j.anchor = b2Vec2(2.0f, 3.0f);
    j.axis = b2Vec2(0.0f, 1.0f);
    j.frequency = 4.0f;
    j.damping = 0.5f;
    j.enableLimit = true;
    j.lowerAngle = -45.0f;
    j.upperAngle = 30.0f;
    j.motorSpeed = 2.0f;
    j.maxMotorTorque = 100.0f;
    j.lowerTranslation = -1.0f;
    j.upperTranslation = 2.0f;
    j.maxMotorForce = 50.0f;
    j.springiness = 3.0f;
    j.desiredLength = 1.25f;
    j.collideConnected = true;
    return j;
}

// Three bodies, four joints; background (128, 0, 255), zoom 250.
inline QuickPreset sampleScene()
{
    QuickPreset scene;
    scene.zoom = 250;
    scene.panX = 12.5f;
    scene.panY = -3.0f;
    scene.backgroundColor = QColor(128, 0, 255);
    scene.timeDivider = 1.5f;
    scene.substeps = 4;
    scene.tolerance = 50.5f;
    scene.gravityMagnitude = 9.81f;
    scene.gravityDirection = 90.0f;
    scene.bodies = {sampleBody(101, 1, QStringLiteral("Floor")),
                    sampleBody(102, 2, QStringLiteral("Ball \"red\" <1> & co")),
                    sampleBody(103, 3, QString::fromUtf8("K\xc3\xb6rper \xe2\x98\x85\nzwei"))};
    scene.bodies[0].type = BodyType::Static;
    scene.bodies[1].maskBits = 0xFFFF;
    scene.bodies[1].categoryBits = CollisionGroup::GroupC;
    scene.bodies[2].magnetismType = MagnetismType::Repulsion;
    scene.bodies[2].meshPrecision = 5;
    scene.joints = {sampleJoint(0, 0, 1), sampleJoint(1, 1, 2), sampleJoint(2, 0, 2), sampleJoint(3, 2, 0)};
    return scene;
}

// A snapshot of the sample scene whose gravity comes from layer 1, with
// the joints reordered so that identifiers must come from the scene.
inline QuickPreset sampleSnapshot()
{
    QuickPreset snapshot = sampleScene();
    snapshot.zoom = 120;
    snapshot.gravityFromLayer = true;
    snapshot.gravityLayer = 1;
    snapshot.bodies[1].name = QStringLiteral("renamed in the snapshot");
    snapshot.joints = {sampleJoint(3, 1, 0)};
    return snapshot;
}

} // namespace settings_test
