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

}  // namespace coords
