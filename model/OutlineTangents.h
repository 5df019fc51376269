// Reads a tangent of an outline; a list shorter than the point list counts as
// holding zero tangents (straight segments) for the missing vertices.
#pragma once

#include <box2d/box2d.h>

#include <vector>

inline b2Vec2 tangentAt(const std::vector<b2Vec2>& tangents, size_t i)
{
    return i < tangents.size() ? tangents[i] : b2Vec2(0.0f, 0.0f);
}
