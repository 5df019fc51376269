// One outline of a layer: vertices with Bezier tangents relative to their
// vertex (one in and one out tangent per point), and what the classification
// found out about it.
#pragma once

#include <box2d/box2d.h>

#include <vector>

struct ShapeDef
{
    std::vector<b2Vec2> points;
    std::vector<b2Vec2> inTangents;
    std::vector<b2Vec2> outTangents;
    bool closed = false;
    bool isCircle = false;
    bool isBox = false;
    float radius = 0.0f;  // circle radius, world units
};
