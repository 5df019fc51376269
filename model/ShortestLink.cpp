#include "model/ShortestLink.h"

#include <cmath>

namespace {

constexpr int kCirclePoints = 32;

std::vector<b2Vec2> circlePoints(const b2CircleShape& circle)
{
    std::vector<b2Vec2> points;
    points.reserve(kCirclePoints);
    const float step = 6.2831855f / kCirclePoints;
    float angle = 0.0f;
    for (int i = 0; i < kCirclePoints; ++i) {
        points.push_back(circle.m_p + circle.m_radius * b2Vec2(std::cos(angle), std::sin(angle)));
        angle += step;
    }
    return points;
}

// The local outline points of a fixture.
std::vector<b2Vec2> fixturePoints(const b2Fixture* fixture)
{
    const b2Shape* shape = fixture->GetShape();
    switch (shape->GetType()) {
    case b2Shape::e_circle:
        return circlePoints(*static_cast<const b2CircleShape*>(shape));
    case b2Shape::e_polygon: {
        const auto* polygon = static_cast<const b2PolygonShape*>(shape);
        return std::vector<b2Vec2>(polygon->m_vertices, polygon->m_vertices + polygon->m_count);
    }
    case b2Shape::e_edge: {
        const auto* edge = static_cast<const b2EdgeShape*>(shape);
        return {edge->m_vertex1, edge->m_vertex2};
    }
    case b2Shape::e_chain: {
        const auto* chain = static_cast<const b2ChainShape*>(shape);
        if (!chain->m_vertices)
            return {};
        return std::vector<b2Vec2>(chain->m_vertices, chain->m_vertices + chain->m_count);
    }
    default:
        return {};
    }
}

// Every point of `from` against every edge of `to` (both world).
void pointsAgainstEdges(const std::vector<b2Vec2>& from, const std::vector<b2Vec2>& to,
                        float& distance, b2Vec2& fromSlot, b2Vec2& toSlot)
{
    const size_t n = to.size();
    for (const b2Vec2& p : from) {
        for (size_t j = 0; j < n; ++j)
            computePointLineIntersection(p, LineStruct{to[j], to[(j + 1) % n]}, distance, fromSlot,
                                         toSlot);
    }
}

std::vector<b2Vec2> toWorld(const b2Body* body, const std::vector<b2Vec2>& local)
{
    std::vector<b2Vec2> world;
    world.reserve(local.size());
    for (const b2Vec2& p : local)
        world.push_back(body->GetWorldPoint(p));
    return world;
}

}  // namespace

std::vector<b2Vec2> computeShortestLinkBetweenTwoBodies(b2Body* a, b2Body* b)
{
    b2Vec2 pointA = a ? a->GetWorldCenter() : b2Vec2(0.0f, 0.0f);
    b2Vec2 pointB = b ? b->GetWorldCenter() : b2Vec2(0.0f, 0.0f);
    if (!a || !b)
        return {pointA, pointB};

    float distance = (pointB - pointA).Length();
    for (b2Fixture* fa = a->GetFixtureList(); fa; fa = fa->GetNext()) {
        for (b2Fixture* fb = b->GetFixtureList(); fb; fb = fb->GetNext())
            computeShortestLinkBetweenTwoFixtures(a, b, fa, fb, distance, pointA, pointB);
    }
    return {pointA, pointB};
}

void computeShortestLinkBetweenTwoFixtures(b2Body* a, b2Body* b, b2Fixture* fixtureA,
                                           b2Fixture* fixtureB, float& distance, b2Vec2& pointA,
                                           b2Vec2& pointB)
{
    if (!a || !b || !fixtureA || !fixtureB)
        return;
    getShortestLink(a, b, fixturePoints(fixtureA), fixturePoints(fixtureB), distance, pointA,
                    pointB);
}

void getShortestLink(b2Body* a, b2Body* b, const std::vector<b2Vec2>& pointsA,
                     const std::vector<b2Vec2>& pointsB, float& distance, b2Vec2& pointA,
                     b2Vec2& pointB)
{
    if (!a || !b)
        return;
    const std::vector<b2Vec2> worldA = toWorld(a, pointsA);
    const std::vector<b2Vec2> worldB = toWorld(b, pointsB);

    pointsAgainstEdges(worldA, worldB, distance, pointA, pointB);
    pointsAgainstEdges(worldB, worldA, distance, pointB, pointA);

    for (const b2Vec2& pa : worldA) {
        for (const b2Vec2& pb : worldB) {
            const float d = (pb - pa).Length();
            if (distance > d) {
                distance = d;
                pointA = pa;
                pointB = pb;
            }
        }
    }
}

void computePointLineIntersection(b2Vec2 p, LineStruct segment, float& distance, b2Vec2& pointSlot,
                                  b2Vec2& projectionSlot)
{
    const b2Vec2 edge = segment.p2 - segment.p1;
    const float lengthSquared = edge.Length() * edge.Length();
    if (lengthSquared == 0.0f)
        return;
    const float u = ((p.x - segment.p1.x) * edge.x + (p.y - segment.p1.y) * edge.y) / lengthSquared;
    if (u < 0.0f || u > 1.0f)
        return;
    const b2Vec2 q = segment.p1 + u * edge;
    const float d = (q - p).Length();
    if (distance > d) {
        distance = d;
        pointSlot = p;
        projectionSlot = q;
    }
}
