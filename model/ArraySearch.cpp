#include "model/ArraySearch.h"

#include "model/MyBody.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

bool within(float a, float b, float tolerance)
{
    return std::fabs(a - b) < tolerance;
}

}  // namespace

bool isInArray(b2Vec2 p, const std::vector<b2Vec2>& points)
{
    for (const b2Vec2& e : points) {
        if (within(e.x, p.x, FLT_EPSILON) && within(e.y, p.y, FLT_EPSILON))
            return true;
    }
    return false;
}

bool isInArray(int value, const std::vector<int>& values)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool isEdgeInArray(b2Vec2 edge, const std::vector<b2Vec2>& edges)
{
    for (const b2Vec2& e : edges) {
        const bool same = within(e.x, edge.x, FLT_EPSILON) && within(e.y, edge.y, FLT_EPSILON);
        const bool swapped = within(e.x, edge.y, FLT_EPSILON) && within(e.y, edge.x, FLT_EPSILON);
        if (same || swapped)
            return true;
    }
    return false;
}

int findIndexOfInArray(int value, const std::vector<int>& values)
{
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

int getBodyIdFromPosition(const std::vector<MyBody>& bodies, float x, float y)
{
    constexpr double kTolerance = 0.0001;
    for (size_t i = 0; i < bodies.size(); ++i) {
        const b2Body* body = bodies[i].body;
        if (!body)
            continue;
        const b2Vec2 centre = body->GetWorldCenter();
        const float dx = centre.x - x;
        const float dy = centre.y - y;
        if (std::fabs(static_cast<double>(dx)) < kTolerance
            && std::fabs(static_cast<double>(dy)) < kTolerance)
            return static_cast<int>(i);
    }
    return -1;
}
