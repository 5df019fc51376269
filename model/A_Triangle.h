// A triangle as three points.
#pragma once

#include <box2d/box2d.h>

struct A_Triangle
{
    b2Vec2 vertices[3] = {{0.0f, 0.0f}, {0.0f, 0.0f}, {0.0f, 0.0f}};
};
