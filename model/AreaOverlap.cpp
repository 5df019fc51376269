#include "model/AreaOverlap.h"

#include <algorithm>
#include <cmath>

namespace {

using Point = AreaPoint;
using Polygon = std::vector<Point>;

// Rounding of single-precision world units leaves edges that touch a few
// millionths apart; a shared part thinner than this on average is such a
// seam (a hundredth of a pixel).
constexpr double kTouchWidth = 1e-4;
// Less than this is no overlap at all (a hundredth of a square pixel).
constexpr double kLeastArea = 1e-6;

double signedArea(const Polygon& p)
{
    double twice = 0.0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Point& a = p[i];
        const Point& b = p[(i + 1) % p.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2.0;
}

double perimeter(const Polygon& p)
{
    double length = 0.0;
    for (size_t i = 0; i < p.size(); ++i)
        length += std::hypot(p[(i + 1) % p.size()].x - p[i].x, p[(i + 1) % p.size()].y - p[i].y);
    return length;
}

// Which side of the line a-b the point lies on: positive on the left.
double side(const Point& a, const Point& b, const Point& p)
{
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// The part of convex `subject` inside convex `clip` (wound counter-clockwise).
Polygon clipConvex(Polygon subject, const Polygon& clip)
{
    for (size_t i = 0; i < clip.size() && !subject.empty(); ++i) {
        const Point& a = clip[i];
        const Point& b = clip[(i + 1) % clip.size()];
        Polygon kept;
        for (size_t k = 0; k < subject.size(); ++k) {
            const Point& p = subject[k];
            const Point& q = subject[(k + 1) % subject.size()];
            const double sp = side(a, b, p), sq = side(a, b, q);
            if (sp >= 0.0)
                kept.push_back(p);
            if ((sp >= 0.0) != (sq >= 0.0)) {
                const double t = sp / (sp - sq);
                kept.push_back(Point{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
            }
        }
        subject = std::move(kept);
    }
    return subject;
}

struct Box {
    double minX, minY, maxX, maxY;
    bool meets(const Box& o) const { return minX < o.maxX && o.minX < maxX && minY < o.maxY && o.minY < maxY; }
};

Box boxOf(const Polygon& p)
{
    Box b{p[0].x, p[0].y, p[0].x, p[0].y};
    for (const Point& q : p) {
        b.minX = std::min(b.minX, q.x);
        b.maxX = std::max(b.maxX, q.x);
        b.minY = std::min(b.minY, q.y);
        b.maxY = std::max(b.maxY, q.y);
    }
    return b;
}

// The pieces of an area that enclose some area, wound counter-clockwise.
std::vector<Polygon> woundPieces(const DrawnPieces& area)
{
    std::vector<Polygon> wound;
    for (const Polygon& p : area.pieces) {
        if (p.size() < 3)
            continue;
        const double a = signedArea(p);
        if (!std::isfinite(a) || a == 0.0)
            continue;
        wound.push_back(a > 0.0 ? p : Polygon(p.rbegin(), p.rend()));
    }
    return wound;
}

} // namespace

void DrawnPieces::addGroup(const std::vector<ShapeDef>& group, AreaPoint offset)
{
    const auto at = [&](const b2Vec2& v) { return Point{double(v.x) + offset.x, double(v.y) + offset.y}; };
    for (const ShapeDef& s : group) {
        if (s.isCircle) {
            // The scene makes the circle about the mean of its four points.
            if (s.points.size() < 4 || !(s.radius > 0.0f))
                continue;
            Point centre;
            for (size_t k = 0; k < 4; ++k) {
                centre.x += at(s.points[k]).x / 4.0;
                centre.y += at(s.points[k]).y / 4.0;
            }
            Polygon circle;
            for (int k = 0; k < kCircleSides; ++k) {
                const double angle = 2.0 * M_PI * k / kCircleSides;
                circle.push_back(Point{centre.x + s.radius * std::cos(angle), centre.y + s.radius * std::sin(angle)});
            }
            pieces.push_back(std::move(circle));
        } else if ((s.isBox || s.closed) && s.points.size() >= 3) {
            Polygon p;
            for (const b2Vec2& v : s.points)
                p.push_back(at(v));
            pieces.push_back(std::move(p));
        }
    }
}

double DrawnPieces::area() const
{
    double total = 0.0;
    for (const Polygon& p : pieces)
        if (p.size() >= 3)
            total += std::fabs(signedArea(p));
    return total;
}

double sharedArea(const DrawnPieces& a, const DrawnPieces& b, double touch)
{
    const std::vector<Polygon> first = woundPieces(a), second = woundPieces(b);
    if (first.empty() || second.empty())
        return 0.0;
    std::vector<Box> secondBoxes;
    Box all = boxOf(second.front());
    for (const Polygon& q : second) {
        secondBoxes.push_back(boxOf(q));
        all = Box{std::min(all.minX, secondBoxes.back().minX), std::min(all.minY, secondBoxes.back().minY),
                  std::max(all.maxX, secondBoxes.back().maxX), std::max(all.maxY, secondBoxes.back().maxY)};
    }
    double shared = 0.0;
    for (const Polygon& p : first) {
        const Box box = boxOf(p);
        if (!box.meets(all))
            continue;
        for (size_t j = 0; j < second.size(); ++j) {
            if (!box.meets(secondBoxes[j]))
                continue;
            const Polygon part = clipConvex(p, second[j]);
            if (part.size() < 3)
                continue;
            const double area = std::fabs(signedArea(part));
            // Thinner than `touch` on average: a seam where the two touch.
            if (std::isfinite(area) && area > touch * perimeter(part) / 2.0)
                shared += area;
        }
    }
    return shared;
}

bool areasOverlap(const DrawnPieces& a, const DrawnPieces& b)
{
    return sharedArea(a, b, kTouchWidth) > kLeastArea;
}

bool liesInside(const DrawnPieces& inner, const DrawnPieces& outer)
{
    const double area = inner.area();
    const double rounding = kLeastArea + 1e-3 * area;
    return area > kLeastArea && sharedArea(inner, outer, kTouchWidth) >= area - rounding
           && outer.area() > area + rounding;
}
