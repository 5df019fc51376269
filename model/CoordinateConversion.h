// Composition pixels to world units: 100 pixels per unit, origin at the
// composition's centre, y not flipped (world y grows downwards too).
//
// These take the composition size as an argument. SimulationView has members
// of the same names that use its own composition size; keeping these in a
// namespace means a member can never hide them by accident.
#pragma once

namespace coords {

// (x - width / 2) / 100; an odd width gives a half-pixel offset.
float getGLXCoordFromAE(float x, int width);
// (y - height / 2) / 100, no flip.
float getGLYCoordFromAE(float y, int height);
// Lengths.
float getGLWCoordFromAE(float w);
float getGLHCoordFromAE(float h);

// The pixel aspect ratio num / den; 1 when it has no denominator or lies
// outside 0.01..100 (no host makes such pixels).
double pixelAspect(long long num, unsigned long long den);
// The width in square pixels, width x aspect truncated, bounded to
// 0..kMaxSquarePixels.
constexpr int kMaxSquarePixels = 1 << 24;
int squarePixels(long long width, double aspect);

}  // namespace coords
