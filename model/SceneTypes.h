// The scene's integer codes. Records store them as plain 32-bit integers
// (settings files and tables carry the numbers), so each set is an unscoped
// enumeration inside its own namespace: BodyType::Dynamic converts to int
// without a cast and the short names never leak into the global scope.
#pragma once

#include <cstdint>

namespace BodyType {
enum Value : int32_t {
    Static = 0,
    Kinematic = 1,
    Dynamic = 2,  // the default
    Dormant = 3,
    AEmatic = 4,
    Dead = 5,
};
}

// Spring joints have no physics joint: the frame step applies their force.
namespace JointType {
enum Value : int32_t {
    Distance = 0,   // shown as "Distance Joint"
    Revolute = 1,   // shown as "Pivot Joint"
    Prismatic = 2,  // shown as "Piston Joint"
    Spring = 3,     // shown as "Spring Joint"
};
}

// "None" is a macro in the X11 headers, hence NoMagnetism.
namespace MagnetismType {
enum Value : int32_t {
    NoMagnetism = 0,
    Attraction = 1,
    Repulsion = 2,
};
}

// One bit of a body's categoryBits; bits 0 to 4 of maskBits say which groups
// it collides with.
namespace CollisionGroup {
enum Value : uint16_t {
    GroupA = 1,
    GroupB = 2,
    GroupC = 4,
    GroupD = 8,
    GroupE = 16,
};
}
