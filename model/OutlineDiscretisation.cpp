#include "model/OutlineDiscretisation.h"

#include "model/ArraySearch.h"
#include "model/OutlineTangents.h"

#include <cmath>

namespace {

constexpr float kCurveThreshold = 0.5f;

bool isCurved(b2Vec2 out, b2Vec2 in)
{
    return std::fabs(out.x) > kCurveThreshold || std::fabs(out.y) > kCurveThreshold
           || std::fabs(in.x) > kCurveThreshold || std::fabs(in.y) > kCurveThreshold;
}

// Polynomial form of one coordinate: c0 + a t^3 + b t^2 + c t.
float bezierCoordinate(float c0, float c1, float c2, float c3, float t)
{
    const float c = 3.0f * (c1 - c0);
    const float b = 3.0f * (c2 - c1) - c;
    const float a = c3 - c0 - c - b;
    const double t1 = t;
    const double t2 = t1 * t1;
    const double t3 = t2 * t1;
    return static_cast<float>(c0 + (a * t3 + b * t2 + c * t1));
}

}  // namespace

b2Vec2 getBezierPoint(const b2Vec2* c, float t)
{
    return b2Vec2(bezierCoordinate(c[0].x, c[1].x, c[2].x, c[3].x, t),
                  bezierCoordinate(c[0].y, c[1].y, c[2].y, c[3].y, t));
}

void discretizeShape(ShapeDef& s, int precision)
{
    if (precision <= 2 || s.points.empty())
        return;

    s.vertices = s.points;
    std::vector<b2Vec2> points = s.points;
    std::vector<b2Vec2> ins(points.size());
    std::vector<b2Vec2> outs(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        ins[i] = tangentAt(s.inTangents, i);
        outs[i] = tangentAt(s.outTangents, i);
    }
    if (s.closed) {
        points.push_back(points[0]);
        ins.push_back(ins[0]);
        outs.push_back(outs[0]);
    }

    int n = precision;
    if (points.size() == 2)
        ++n;
    const float step = 1.0f / static_cast<float>(n - 1);

    std::vector<b2Vec2> result;
    const size_t segments = points.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        if (isCurved(outs[i], ins[i + 1])) {
            const b2Vec2 control[4] = {points[i], points[i] + outs[i], points[i + 1] + ins[i + 1],
                                       points[i + 1]};
            for (int k = 0; k <= n - 2; ++k)
                result.push_back(getBezierPoint(control, static_cast<float>(k) * step));
        } else {
            result.push_back(points[i]);
        }
    }
    if (!s.closed)
        result.push_back(points.back());

    s.points = std::move(result);
    removeDuplicateVertices(s);
}

void removeDuplicateVertices(ShapeDef& s)
{
    if (s.points.empty())
        return;
    std::vector<b2Vec2> unique;
    unique.reserve(s.points.size());
    PointLookup seen;
    seen.reserve(s.points.size());
    for (const b2Vec2& p : s.points) {
        if (!seen.contains(p)) {
            unique.push_back(p);
            seen.insert(p);
        }
    }
    s.points = std::move(unique);
}
