#include "render/OverlayGeometry.h"

#include <cmath>

namespace {

constexpr float kCoilLength = 0.2f;
constexpr float kCoilAmplitude = 0.05f;
constexpr int kCoilPeaks = 5;

constexpr float kTrajectoryStep = 0.005f;
constexpr float kTrajectoryDuration = 8.0f;

} // namespace

std::vector<b2Vec2> springLines(b2Vec2 p1, b2Vec2 p2)
{
    b2Vec2 u = p2 - p1;
    u.Normalize();
    const b2Vec2 m = 0.5f * (p1 + p2);
    const b2Vec2 s = m - (kCoilLength / 2.0f) * u;
    const b2Vec2 e = s + kCoilLength * u;
    const float step = (e - s).Length() / float(2 * kCoilPeaks);
    b2Vec2 d = e - s;
    d.Normalize();
    b2Vec2 n(-(e.y - s.y), e.x - s.x);
    n.Normalize();

    std::vector<b2Vec2> lines{p1, s};
    b2Vec2 previous = s;
    for (int k = 0; k < kCoilPeaks; ++k) {
        const float side = k % 2 == 0 ? kCoilAmplitude : -kCoilAmplitude;
        const b2Vec2 q = s + float(2 * k + 1) * step * d + side * n;
        lines.push_back(previous);
        lines.push_back(q);
        previous = q;
    }
    lines.push_back(previous);
    lines.push_back(e);
    lines.push_back(e);
    lines.push_back(p2);
    return lines;
}

std::vector<b2Vec2> velocityTrajectory(b2Vec2 p0, float angle, float speed, b2Vec2 halfGravity)
{
    std::vector<b2Vec2> points;
    if (!std::isfinite(angle) || !std::isfinite(speed))
        return points;
    points.reserve(size_t(kTrajectoryDuration / kTrajectoryStep) + 2);
    const float vx = std::cos(angle) * speed;
    const float vy = std::sin(angle) * speed;
    for (float t = 0.0f; t < kTrajectoryDuration; t += kTrajectoryStep)
        points.emplace_back(p0.x + vx * t + halfGravity.x * t * t, p0.y + vy * t + halfGravity.y * t * t);
    return points;
}
