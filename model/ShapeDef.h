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
    // Once discretizeShape has cut its curves into points: the vertices the
    // tangents belong to, as drawn. Empty before: the points are the vertices.
    std::vector<b2Vec2> vertices;
    bool closed = false;
    bool isCircle = false;
    bool isBox = false;
    float radius = 0.0f;  // circle radius, world units
};
