// One body per composition layer. A plain record: copies share the world
// body, the AEmatic joint and the UserData (pointers are never owned) and
// own their outline and joint lists.
//
// Every field starts at the value init() gives it; fields that init() leaves
// alone start at zero and are filled by the body builder.
#pragma once

#include "host_api.h"
#include "model/MyJoint.h"
#include "model/SceneTypes.h"
#include "model/ShapeDef.h"

#include <QString>
#include <box2d/box2d.h>

#include <cstdint>
#include <vector>

struct UserData;

struct MyBody
{
    b2Body* body = nullptr;                    // replaced on every scene build
    b2MouseJoint* aematicJoint = nullptr;      // pulls an AEmatic body towards its layer
    int32_t layerID = 0;
    int32_t index = -1;                        // place in the body list + 1
    QString name;                              // the layer's name
    b2Vec2 initialPosition{0.0f, 0.0f};        // layer position at the start frame, world
    float initialRotation = 0.0f;              // layer rotation at the start frame, radians
    int32_t startFrame = 0;                    // layer in-point
    int32_t endFrame = 0;                      // layer out-point
    int32_t type = BodyType::Dynamic;
    bool dormant = false;                      // a Dormant body still asleep
    b2Vec2 position{0.0f, 0.0f};               // world units
    b2Vec2 committedPosition{0.0f, 0.0f};
    float angle = 0.0f;                        // radians
    b2Vec2 layerAnchor{0.0f, 0.0f};
    float linearVelocityMagnitude = 0.0f;
    float linearVelocityDirection = 0.0f;      // degrees
    float committedVelocityMagnitude = 0.0f;
    float committedVelocityDirection = 0.0f;
    b2Vec2 aematicAnchor{0.0f, 0.0f};          // offset from position, world units
    b2Vec2 committedAematicAnchor{0.0f, 0.0f};
    b2Vec2 aematicAnchorWorld{0.0f, 0.0f};
    float angularVelocity = 0.0f;
    float linearDamping = 0.0f;
    float angularDamping = 0.0f;
    float aematicDamping = 0.5f;               // damping ratio of the AEmatic mouse joint
    float aematicTension = 1.0f;               // frequency (Hz) of the AEmatic mouse joint
    float density = 1.0f;
    float friction = 0.5f;
    float restitution = 0.3f;                  // bounciness
    int32_t meshPrecision = 2;
    uint16_t categoryBits = CollisionGroup::GroupA;
    uint16_t maskBits = 0xFFFF;
    bool fixedRotation = false;
    float gravityScale = 1.0f;
    bool useConvexHull = false;
    int32_t magnetismType = MagnetismType::NoMagnetism;
    float magnetIntensity = 10.0f;
    float magnetDistance = 100.0f;
    bool acceptMagnetism = true;
    float openShapeLineWidth = 0.015f;         // world units
    bool isLayerBox = false;                   // the outline is the layer's rectangle
    std::vector<std::vector<ShapeDef>> outlines;
    // The mesh precision and hull choice the outlines were built with; a
    // body whose settings differ needs its outlines rebuilt.
    int32_t outlinePrecision = 2;
    bool outlineHull = false;
    bool tooManyPolygons = false;
    bool triangulationFailed = false;
    // Some closed outline crossed itself or the others too often to be
    // filled as drawn: it was filled as its convex hull.
    bool filledAsHull = false;
    bool massUnusable = false;                 // too small for its distance from the origin: no mass
    // The layer's values as read from the host: its outline beyond single
    // precision (no shapes at all), or its placement beyond what the world
    // holds (simulated from corrected values). Neither is written back.
    bool outlineUnrepresentable = false;
    bool placementMended = false;
    AEGP_ColorVal color{};                     // alpha, red, green, blue in 0..1
    AEGP_ColorVal labelColor{};
    bool staticHighlight = false;
    bool rotationVarying = false;              // AEmatic body with animated layer rotation
    bool rotationIsRelative = false;           // world angle is angle + initialRotation
    std::vector<MyJoint> joints;               // copies of the joints touching this body
    UserData* userData = nullptr;

    // Puts the settings back to their defaults; keeps what the body builder
    // fills (world body, layer ID, frames, placement, outlines, colours,
    // joints, user data).
    void init();
};
