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

// The cell of a coordinate, and the neighbouring cell on the side the
// coordinate is nearer to. The cell size is a power of two, so the division is
// exact; far out, every point shares the outermost cells, which stays
// correct, only slower.
constexpr double kCell = 2.0 * double(FLT_EPSILON);

int64_t cellOf(float v, int64_t* neighbour = nullptr)
{
    constexpr double kLimit = 4.0e18;
    const double u = std::clamp(double(v) / kCell, -kLimit, kLimit);
    const double cell = std::floor(u);
    if (neighbour)
        *neighbour = int64_t(cell) + (u - cell < 0.5 ? -1 : 1);
    return int64_t(cell);
}

uint64_t cellKey(int64_t x, int64_t y)
{
    return uint64_t(x) * 0x9E3779B97F4A7C15ull ^ uint64_t(y);
}

}  // namespace

bool PointLookup::contains(b2Vec2 p) const
{
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return false;
    int64_t nx = 0, ny = 0;
    const int64_t cx = cellOf(p.x, &nx), cy = cellOf(p.y, &ny);
    for (const int64_t x : {cx, nx})
        for (const int64_t y : {cy, ny}) {
            const auto [first, last] = cells_.equal_range(cellKey(x, y));
            for (auto it = first; it != last; ++it)
                if (within(it->second.x, p.x, FLT_EPSILON) && within(it->second.y, p.y, FLT_EPSILON))
                    return true;
        }
    return false;
}

void PointLookup::insert(b2Vec2 p)
{
    if (std::isfinite(p.x) && std::isfinite(p.y))
        cells_.emplace(cellKey(cellOf(p.x), cellOf(p.y)), p);
}

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
