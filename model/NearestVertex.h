// Snapping to a body's outline.
#pragma once

#include <box2d/box2d.h>

struct MyBody;

// The outline vertex or edge midpoint (each edge from a vertex to the next,
// the last closing to the first) of the body nearest to p, in world
// coordinates through the body's transform. Only candidates nearer than 1e6
// count; p itself comes back when there is none, or when the record has no
// world body.
b2Vec2 getNearestVertex(const MyBody& body, b2Vec2 p);
