// One body's recorded track over an export run: one position (composition
// pixels) and one rotation (degrees) per recorded frame, and the layer's
// anchor point for the export.
#pragma once

#include <box2d/box2d.h>

#include <vector>

struct BodyTransforms
{
    std::vector<b2Vec2> positions;
    std::vector<float> rotations;
    b2Vec2 anchor{0.0f, 0.0f};
};
