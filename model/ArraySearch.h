// Membership and search on small vectors; each scans from the front and stops
// at the first match. Tolerances are strict: a difference equal to the
// tolerance does not match.
#pragma once

#include <box2d/box2d.h>

#include <vector>

struct MyBody;

// An element within FLT_EPSILON of p in x and in y.
bool isInArray(b2Vec2 p, const std::vector<b2Vec2>& points);
bool isInArray(int value, const std::vector<int>& values);

// An edge between two numbered items is carried as (first, second) in a
// b2Vec2; it matches in either order, within FLT_EPSILON per number.
bool isEdgeInArray(b2Vec2 edge, const std::vector<b2Vec2>& edges);

// Index of the first element equal to value, else -1.
int findIndexOfInArray(int value, const std::vector<int>& values);

// Index of the first body whose world centre lies within 0.0001 of (x, y) in
// both coordinates, else -1. Bodies without a world body never match.
int getBodyIdFromPosition(const std::vector<MyBody>& bodies, float x, float y);
