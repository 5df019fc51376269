#include "model/NearestVertex.h"

#include "model/MyBody.h"

b2Vec2 getNearestVertex(const MyBody& body, b2Vec2 p)
{
    b2Vec2 best = p;
    if (!body.body)
        return best;

    float shortest = 1e6f;
    const auto consider = [&](b2Vec2 candidate) {
        const float d = (candidate - p).Length();
        if (shortest > d) {
            shortest = d;
            best = candidate;
        }
    };

    for (const std::vector<ShapeDef>& group : body.outlines) {
        for (const ShapeDef& shape : group) {
            const std::vector<b2Vec2>& points = shape.points;
            const size_t n = points.size();
            for (size_t k = 0; k < n; ++k) {
                consider(body.body->GetWorldPoint(points[k]));
                consider(body.body->GetWorldPoint(0.5f * (points[k] + points[(k + 1) % n])));
            }
        }
    }
    return best;
}
