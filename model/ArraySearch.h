// Membership and search on small vectors; each scans from the front and stops
// at the first match. Tolerances are strict: a difference equal to the
// tolerance does not match.
#pragma once

#include <box2d/box2d.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

struct MyBody;

// An element within FLT_EPSILON of p in x and in y.
bool isInArray(b2Vec2 p, const std::vector<b2Vec2>& points);

// The same question asked of a growing list of points, in constant time
// however long the list: points are filed by cells of twice FLT_EPSILON, so a
// point within the tolerance lies in the same cell or in the neighbouring one
// on the side it is nearer to, on each axis. Points that are not finite match
// nothing, as in isInArray.
class PointLookup
{
public:
    void reserve(size_t count) { cells_.reserve(count); }
    bool contains(b2Vec2 p) const;
    void insert(b2Vec2 p);

private:
    std::unordered_multimap<uint64_t, b2Vec2> cells_;
};
bool isInArray(int value, const std::vector<int>& values);

// An edge between two numbered items is carried as (first, second) in a
// b2Vec2; it matches in either order, within FLT_EPSILON per number.
bool isEdgeInArray(b2Vec2 edge, const std::vector<b2Vec2>& edges);

// Index of the first element equal to value, else -1.
int findIndexOfInArray(int value, const std::vector<int>& values);

// Index of the first body whose world centre lies within 0.0001 of (x, y) in
// both coordinates, else -1. Bodies without a world body never match.
int getBodyIdFromPosition(const std::vector<MyBody>& bodies, float x, float y);
