// A line segment from p1 to p2.
#pragma once

#include <box2d/box2d.h>

struct LineStruct
{
    b2Vec2 p1{0.0f, 0.0f};
    b2Vec2 p2{0.0f, 0.0f};
};
