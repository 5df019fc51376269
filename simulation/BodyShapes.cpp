#include "simulation/BodyShapes.h"

#include "simulation/Box2DGuard.h"

#include <cmath>

namespace {

constexpr float kMinBoxSideProduct = 0.0001f;
constexpr float kMinTriangleArea = 0.00001f;

float heronArea(b2Vec2 p0, b2Vec2 p1, b2Vec2 p2)
{
    const float a = (p1 - p0).Length();
    const float b = (p2 - p1).Length();
    const float c = (p0 - p2).Length();
    const float s = 0.5f * (a + b + c);
    const float product = s * (s - a) * (s - b) * (s - c);
    return product > 0.0f ? std::sqrt(product) : 0.0f;
}

} // namespace

bool addOutlineShapes(const ShapeDef& shape, float lineWidth, float skin, std::vector<Triangle>& triangles,
                      const std::function<bool(const b2Shape&)>& add)
{
    const std::vector<b2Vec2>& p = shape.points;
    if (shape.isCircle) {
        if (p.size() < 4)
            return false;
        const b2Vec2 centre((p[0].x + p[1].x + p[2].x + p[3].x) / 4.0f, (p[0].y + p[1].y + p[2].y + p[3].y) / 4.0f);
        b2CircleShape circle;
        if (Box2DGuard::makeCircle(centre, shape.radius, circle))
            add(circle);
    } else if (shape.isBox) {
        if (p.size() < 4 || !((p[1] - p[0]).Length() * (p[2] - p[1]).Length() > kMinBoxSideProduct))
            return false;
        b2PolygonShape box;
        if (Box2DGuard::makePolygon(p.data(), 4, skin, box))
            add(box);
    } else if (shape.closed) {
        if (p.size() < 3 || !(heronArea(p[0], p[1], p[2]) > kMinTriangleArea))
            return false;
        b2PolygonShape triangle;
        if (Box2DGuard::makePolygon(p.data(), 3, skin, triangle))
            triangles.push_back({p[0], p[1], p[2]});
    } else {
        if (p.size() < 2)
            return false;
        for (size_t k = 0; k + 1 < p.size(); ++k) {
            b2Vec2 u(-(p[k + 1].y - p[k].y), p[k + 1].x - p[k].x);
            u.Normalize();
            const b2Vec2 a = p[k] - (lineWidth / 2.0f) * u;
            const b2Vec2 b = p[k + 1] - (lineWidth / 2.0f) * u;
            const b2Vec2 c = b + lineWidth * u;
            const b2Vec2 d = a + lineWidth * u;
            const b2Vec2 quad[4] = {a, b, c, d};
            b2PolygonShape piece;
            if (Box2DGuard::makePolygon(quad, 4, skin, piece))
                add(piece);
        }
        return true;
    }
    return false;
}

bool outlinesMakeMovingBody(const std::vector<std::vector<ShapeDef>>& outlines, float lineWidth, float skin)
{
    Box2DGuard::MassCheck mass;
    const auto add = [&mass](const b2Shape& shape) {
        mass.add(shape, 1.0f);
        return true;
    };
    for (const std::vector<ShapeDef>& outline : outlines) {
        std::vector<Triangle> triangles;
        for (const ShapeDef& shape : outline)
            addOutlineShapes(shape, lineWidth, skin, triangles, add);
        // Merged into convex pieces they weigh as much; each was taken as a
        // shape of its own already.
        for (const Triangle& t : triangles) {
            b2PolygonShape triangle;
            triangle.Set(t.data(), 3);
            add(triangle);
        }
    }
    return mass.mass > 0.0 && mass.wellConditioned();
}
