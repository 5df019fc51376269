// Limits that the outlines of a body keep, so that the physics engine accepts
// every shape made from them.
//
// Box2D welds polygon points closer than half its linear slop and aborts when
// fewer than three distinct points, or an area of FLT_EPSILON or less, remain.
// Outlines leave this subsystem with a margin on both: no two points of one
// polygon closer than the slop, no area below half the slop squared, and no
// polygon so thin that single precision cannot tell its corners apart.
#pragma once

#include <box2d/box2d.h>

namespace outline_limits {

// A body with more triangles than this is reported as slow to simulate.
constexpr int kMaxTriangles = 75;

// Points of one outline closer than this (world units) are welded into one.
constexpr float kWeldDistance = b2_linearSlop;

// The smallest area (world units squared) of a triangle or box that is kept.
constexpr float kMinPolygonArea = 0.25f * b2_linearSlop * b2_linearSlop;

// A polygon whose area is below this many FLT_EPSILON times the square of its
// longest edge is too thin for single-precision arithmetic.
constexpr float kThinnessFactor = 16.0f;

// The smallest circle radius (world units) that is kept.
constexpr float kMinCircleRadius = b2_linearSlop;

// Coordinates beyond this magnitude (world units) are not handed on.
constexpr float kMaxCoordinate = 1.0e7f;

// Open outlines become lines of a few thousandths of a unit across; beyond
// this magnitude single precision cannot place such a line's sides.
constexpr float kMaxLineCoordinate = 1.0e3f;

// Box2D gives every polygon a skin, 2 T / 10000 world units for the
// collision tolerance T, and two bodies closer than their two skins touch:
// they push one another as soon as they move. The separation offer is made
// before the scene is built, so it counts the skin of the tolerance a scene
// starts with.
constexpr double kStartCollisionTolerance = 50.0;
constexpr double kTouchDistance = 4.0 * kStartCollisionTolerance / 10000.0;

// The smallest side (world units) of the layer's own box; a smaller box is
// grown about its middle to this size.
constexpr float kMinLayerBoxSide = 2.0f * b2_linearSlop;

}  // namespace outline_limits
