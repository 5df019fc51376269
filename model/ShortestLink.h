// The shortest link between the outlines of two world bodies. A circle
// fixture stands as 32 points on its circumference, a polygon (or edge or
// chain) fixture as its vertices; edges join consecutive points and the last
// to the first.
//
// The running result is a triple owned by the caller (distance, point on A,
// point on B, world coordinates); every step replaces it only with a strictly
// shorter candidate.
#pragma once

#include "model/LineStruct.h"

#include <box2d/box2d.h>

#include <vector>

// [point on a, point on b], world coordinates. Starts from the two world
// centres, so the centres come back when no outline link is shorter. A null
// body gives (0, 0) for its point and is not searched.
std::vector<b2Vec2> computeShortestLinkBetweenTwoBodies(b2Body* a, b2Body* b);

void computeShortestLinkBetweenTwoFixtures(b2Body* a, b2Body* b, b2Fixture* fixtureA,
                                           b2Fixture* fixtureB, float& distance, b2Vec2& pointA,
                                           b2Vec2& pointB);

// pointsA and pointsB are local to their bodies. Tries every point of each
// side against every edge of the other, then every pair of points.
void getShortestLink(b2Body* a, b2Body* b, const std::vector<b2Vec2>& pointsA,
                     const std::vector<b2Vec2>& pointsB, float& distance, b2Vec2& pointA,
                     b2Vec2& pointB);

// Projects p onto the segment (its end points included); when the projection
// lies on the segment and is nearer than distance, the triple becomes
// (that distance, p, projection). A segment of zero length changes nothing.
void computePointLineIntersection(b2Vec2 p, LineStruct segment, float& distance, b2Vec2& pointSlot,
                                  b2Vec2& projectionSlot);
