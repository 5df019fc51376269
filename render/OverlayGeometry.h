// The geometry of the symbols and previews the OpenGL view draws over the
// world, as pure functions: the spring symbol and the velocity tool's
// trajectory. World units throughout.
#pragma once

#include <box2d/b2_math.h>

#include <vector>

// The spring between p1 and p2 as line pairs (for GL_LINES): p1 to the coil,
// a coil of five peaks (amplitude 0.05) over length 0.2 at the middle, the
// coil to p2. Eight lines, sixteen points.
std::vector<b2Vec2> springLines(b2Vec2 p1, b2Vec2 p2);

// Where a body thrown from p0 at `speed` in direction `angle` (radians)
// flies under half the gravity `halfGravity`: p0 + v t + g t^2 for t = 0,
// 0.005, 0.010, ... while t < 8 (t accumulated in single precision).
std::vector<b2Vec2> velocityTrajectory(b2Vec2 p0, float angle, float speed, b2Vec2 halfGravity);
