#include "model/OutlineClassification.h"

#include "model/OutlineTangents.h"

#include <cmath>

namespace {

constexpr float kBoxTolerance = 0.001f;
constexpr float kBoxSlopeLimit = 9999.0f;
constexpr float kCircleTolerance = 0.01f;
constexpr float kKappa = 0.5522848f;  // quarter-arc tangent length over radius

bool tangentsWithin(const std::vector<b2Vec2>& tangents, float tolerance)
{
    for (const b2Vec2& t : tangents) {
        if (std::fabs(t.x) > tolerance || std::fabs(t.y) > tolerance)
            return false;
    }
    return true;
}

// Slope of the edge a-b; an edge of exactly zero run gets a run of 0.001.
float slope(b2Vec2 a, b2Vec2 b)
{
    float dx = b.x - a.x;
    if (dx == 0.0f)
        dx = kBoxTolerance;
    return (b.y - a.y) / dx;
}

bool tangentMatches(b2Vec2 t, double expectedX, double expectedY)
{
    return std::fabs(std::fabs(static_cast<double>(t.x)) - expectedX) <= kCircleTolerance
           && std::fabs(std::fabs(static_cast<double>(t.y)) - expectedY) <= kCircleTolerance;
}

}  // namespace

bool isBox(ShapeDef s)
{
    const std::vector<b2Vec2>& p = s.points;
    if (p.size() != 4)
        return false;
    if (!tangentsWithin(s.inTangents, kBoxTolerance) || !tangentsWithin(s.outTangents, kBoxTolerance))
        return false;

    // A parallelogram: the diagonals share their midpoint.
    const float m1x = (p[0].x + p[2].x) / 2.0f;
    const float m1y = (p[0].y + p[2].y) / 2.0f;
    const float m2x = (p[1].x + p[3].x) / 2.0f;
    const float m2y = (p[1].y + p[3].y) / 2.0f;
    if (!(std::fabs(m1x - m2x) < kBoxTolerance && std::fabs(m1y - m2y) < kBoxTolerance))
        return false;

    // A right angle at p[1]. The large-slope tests are signed on purpose: an
    // edge along y counts as vertical only when it runs towards larger y.
    const float s1 = slope(p[0], p[1]);
    const float s2 = slope(p[1], p[2]);
    return std::fabs(s1 * s2 + 1.0f) < kBoxTolerance || (s1 == 0.0f && s2 > kBoxSlopeLimit)
           || (s2 == 0.0f && s1 > kBoxSlopeLimit);
}

bool isCircle(ShapeDef s, float& radius)
{
    const std::vector<b2Vec2>& p = s.points;
    if (p.size() != 4)
        return false;

    const float d1 = (p[0] - p[2]).Length();
    const float d2 = (p[1] - p[3]).Length();
    if (std::fabs(d1 - d2) >= kCircleTolerance)
        return false;

    radius = d1 / 2.0f;
    const double k = kKappa * radius;
    for (size_t i = 0; i < 4; ++i) {
        const bool horizontal = i % 2 == 0;
        const double ex = horizontal ? k : 0.0;
        const double ey = horizontal ? 0.0 : k;
        if (!tangentMatches(tangentAt(s.inTangents, i), ex, ey)
            || !tangentMatches(tangentAt(s.outTangents, i), ex, ey))
            return false;
    }
    return true;
}
