#include "model/AreaOverlap.h"

#include "model/PolygonUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace {

using Point = AreaPoint;
using Polygon = std::vector<Point>;

// Rounding of single-precision world units leaves edges that touch a few
// millionths apart; a shared part thinner than this on average is such a
// seam (a hundredth of a pixel).
constexpr double kTouchWidth = 1e-4;
// Less than this is no overlap at all (a hundredth of a square pixel).
constexpr double kLeastArea = 1e-6;
// The work of sorting a box, or of looking at two boxes in a sweep, counted
// as that much of a piece compared.
constexpr double kBoxWork = 0.08;

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
    Polygon kept;
    kept.reserve(subject.size() + clip.size());
    subject.reserve(subject.size() + clip.size());
    for (size_t i = 0; i < clip.size() && !subject.empty(); ++i) {
        const Point& a = clip[i];
        const Point& b = clip[(i + 1) % clip.size()];
        kept.clear();
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
        subject.swap(kept);
    }
    return subject;
}

// A box about a piece, over the frames from `first` to `last` (a piece
// compared at one frame spans none but that one).
struct Box {
    double minX, minY, maxX, maxY;
    double first = 0.0, last = 0.0;
    bool meets(const Box& o) const
    {
        return minX < o.maxX && o.minX < maxX && minY < o.maxY && o.minY < maxY && first <= o.last && o.first <= last;
    }
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

// A piece that encloses some area, wound counter-clockwise, with its box and
// the area it belongs to.
struct Piece {
    Polygon points;
    Box box;
    size_t area;
};

// `p` wound counter-clockwise; false when it encloses no area.
bool woundOf(const Polygon& p, Polygon& wound)
{
    const double a = p.size() < 3 ? 0.0 : signedArea(p.data(), p.size());
    if (!std::isfinite(a) || a == 0.0)
        return false;
    wound = a > 0.0 ? p : Polygon(p.rbegin(), p.rend());
    return true;
}

// The pieces of the areas, in the order of their boxes' left edges.
std::vector<Piece> sortedPieces(const std::vector<const DrawnPieces*>& areas)
{
    std::vector<Piece> sorted;
    for (size_t k = 0; k < areas.size(); ++k)
        for (const Polygon& p : areas[k]->pieces) {
            Polygon wound;
            if (!woundOf(p, wound))
                continue;
            const Box box = boxOf(wound);
            sorted.push_back(Piece{std::move(wound), box, k});
        }
    std::sort(sorted.begin(), sorted.end(), [](const Piece& a, const Piece& b) { return a.box.minX < b.box.minX; });
    return sorted;
}

// Calls `meet` with every two pieces of different areas whose boxes meet, the
// one of the earlier area first, until it returns true. A sweep from left to
// right keeps at hand only the pieces the sweep line crosses, filed in bands
// across it, so areas nested in one another cost about what the same areas
// side by side do; boxes over spans of frames are filed by their frames too,
// so that the boxes of one piece over the runs of its path, lying in one
// place at different frames, are not looked at together. `pieces` are in the
// order of their boxes' left edges; each has a box and an area. With `looked`, every two pieces looked at are
// counted there, and the sweep stops, returning true, once they pass `most`.
template <class Item, class Meet>
bool sweep(const std::vector<Item>& pieces, Meet meet, double* looked = nullptr, double most = HUGE_VAL)
{
    double low = HUGE_VAL, high = -HUGE_VAL, earliest = HUGE_VAL, latest = -HUGE_VAL;
    double spans = 0.0;
    for (const Item& p : pieces) {
        low = std::min(low, p.box.minY);
        high = std::max(high, p.box.maxY);
        earliest = std::min(earliest, p.box.first);
        latest = std::max(latest, p.box.last);
        spans += p.box.last - p.box.first + 1.0;
    }
    // As many bands as the root of the pieces, and as many slabs of frames
    // as the boxes span on average in all those frames, at most.
    size_t bands = std::clamp<size_t>(size_t(std::sqrt(double(pieces.size()))), 1, 1024);
    double height = (high - low) / double(bands);
    if (!std::isfinite(height) || !(height > 0.0)) {
        bands = 1;
        height = 1.0;
    }
    const double frames = latest - earliest + 1.0;
    size_t slabs = pieces.empty() || !std::isfinite(frames) ? 1
                   : size_t(std::clamp(std::min(frames * double(pieces.size()) / spans, double(bands)), 1.0, 256.0));
    const double length = frames / double(slabs);
    const auto bandOf = [&](double y) {
        return size_t(std::clamp((y - low) / height, 0.0, double(bands - 1)));
    };
    const auto slabOf = [&](double frame) {
        return size_t(std::clamp((frame - earliest) / length, 0.0, double(slabs - 1)));
    };
    struct Crossed {
        Box box;
        size_t area;
        const Item* piece;
    };
    std::vector<std::vector<Crossed>> crossed(bands * slabs);
    for (const Item& p : pieces) {
        const size_t lastSlab = slabOf(p.box.last), lastBand = bandOf(p.box.maxY);
        for (size_t t = slabOf(p.box.first); t <= lastSlab; ++t) {
            for (size_t b = bandOf(p.box.minY); b <= lastBand; ++b) {
                std::vector<Crossed>& band = crossed[t * bands + b];
                if (looked && (*looked += double(band.size())) > most)
                    return true;
                size_t kept = 0;
                for (const Crossed& q : band) {
                    if (q.box.maxX <= p.box.minX)
                        continue;  // left behind by the sweep line
                    band[kept++] = q;
                    // Both are filed in the band of the greater of their least y
                    // and the slab of the later of their first frames: they are
                    // met there alone.
                    if (q.area != p.area && p.box.meets(q.box) && bandOf(std::max(p.box.minY, q.box.minY)) == b &&
                        slabOf(std::max(p.box.first, q.box.first)) == t &&
                        (q.area < p.area ? meet(*q.piece, p) : meet(p, *q.piece)))
                        return true;
                }
                band.resize(kept);
                band.push_back(Crossed{p.box, p.area, &p});
            }
        }
    }
    return false;
}

// The area two pieces share, unless it is thinner than `touch` on average: a
// seam where the two touch.
double sharedPart(const Piece& p, const Piece& q, double touch)
{
    const Polygon part = clipConvex(p.points, q.points);
    if (part.size() < 3)
        return 0.0;
    const double area = std::fabs(signedArea(part.data(), part.size()));
    return std::isfinite(area) && area > touch * perimeter(part) / 2.0 ? area : 0.0;
}

// The first two areas the sweep finds whose pieces share more than rounding
// could make of edges that touch.
AreaPair overlapIn(const std::vector<Piece>& pieces)
{
    // What each two areas share so far, by their indices.
    std::map<std::pair<size_t, size_t>, double> shared;
    AreaPair pair;
    pair.found = sweep(pieces, [&](const Piece& p, const Piece& q) {
        const double part = sharedPart(p, q, kTouchWidth);
        if (!(part > 0.0 && (shared[{p.area, q.area}] += part) > kLeastArea))
            return false;
        pair.first = p.area;
        pair.second = q.area;
        return true;
    });
    return pair;
}

} // namespace

// Monotone chain.
std::vector<AreaPoint> convexHull(std::vector<AreaPoint> points)
{
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    if (points.size() < 3)
        return points;
    Polygon hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && side(hull[k - 2], hull[k - 1], points[i]) <= 0.0)
            --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && side(hull[k - 2], hull[k - 1], points[i - 1]) <= 0.0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    return hull;
}

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

std::vector<AreaPoint> edgeBox(AreaPoint a, AreaPoint b, double reach)
{
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double ux = length > 0.0 ? (b.x - a.x) / length : 1.0;
    const double uy = length > 0.0 ? (b.y - a.y) / length : 0.0;
    const double along[2] = {-reach, length + reach};
    const double across[2] = {-reach, reach};
    Polygon box;
    for (const int corner : {0, 1, 3, 2}) {
        const double t = along[corner & 1], d = across[corner >> 1];
        box.push_back(Point{a.x + ux * t - uy * d, a.y + uy * t + ux * d});
    }
    return box;
}

double DrawnPieces::area() const
{
    double total = 0.0;
    for (const Polygon& p : pieces)
        if (p.size() >= 3)
            total += std::fabs(signedArea(p.data(), p.size()));
    return total;
}

double sharedArea(const DrawnPieces& a, const DrawnPieces& b, double touch)
{
    double shared = 0.0;
    sweep(sortedPieces({&a, &b}), [&](const Piece& p, const Piece& q) {
        shared += sharedPart(p, q, touch);
        return false;
    });
    return shared;
}

bool areasOverlap(const DrawnPieces& a, const DrawnPieces& b)
{
    return overlapIn(sortedPieces({&a, &b})).found;
}

bool someAreasOverlap(const std::vector<DrawnPieces>& areas)
{
    return firstOverlap(areas).found;
}

bool boxesThatMeet(const std::vector<SpanBox>& boxes, std::vector<std::pair<size_t, size_t>>& pairs, double& work,
                   double most)
{
    struct Spanned {
        Box box;
        size_t area;
        size_t index;
    };
    std::vector<Spanned> sorted;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const SpanBox& b = boxes[i];
        // A box that holds no place (or is no number) meets nothing.
        if (!(b.minX <= b.maxX && b.minY <= b.maxY && b.first <= b.last))
            continue;
        sorted.push_back(Spanned{Box{b.minX, b.minY, b.maxX, b.maxY, b.first, b.last}, b.area, i});
    }
    work += double(sorted.size()) * kBoxWork;
    if (work > most)
        return false;
    std::sort(sorted.begin(), sorted.end(), [](const Spanned& a, const Spanned& b) { return a.box.minX < b.box.minX; });
    double looked = 0.0;
    const bool over = sweep(
        sorted,
        [&](const Spanned& p, const Spanned& q) {
            if (boxes[p.index].still && boxes[q.index].still)
                return false;
            pairs.emplace_back(p.index, q.index);
            return (work += 1.0) + looked * kBoxWork > most;
        },
        &looked, (most - work) / kBoxWork);
    work += looked * kBoxWork;
    return !over && work <= most;
}

std::vector<AreaPoint> grownPiece(const std::vector<AreaPoint>& p, double reach)
{
    // The octagon's corners about the origin, counter-clockwise from the
    // lowest: p grown by it is their Minkowski sum.
    constexpr size_t kSides = 8;
    static const std::array<Point, kSides> kOctagon = [] {
        std::array<Point, kSides> corners;
        for (size_t k = 0; k < kSides; ++k) {
            const double angle = M_PI / 8.0 + double(k + 5) * M_PI / 4.0;
            corners[k] = Point{std::cos(angle) / std::cos(M_PI / 8.0), std::sin(angle) / std::cos(M_PI / 8.0)};
        }
        return corners;
    }();
    Polygon grown;
    const size_t n = p.size();
    const double area = n < 3 ? 0.0 : signedArea(p.data(), n);
    if (!(reach >= 0.0 && std::isfinite(reach) && std::isfinite(area)))
        return grown;
    // The corners counter-clockwise, and the one after corner i.
    const bool backwards = area < 0.0;
    const auto at = [&](size_t i) -> const Point& { return p[backwards ? n - 1 - i : i]; };
    const auto after = [n](size_t i) { return i + 1 == n ? 0 : i + 1; };
    // Convex: it turns left at every corner, and its edges turn once round
    // (their direction goes up and down once each).
    const auto up = [](const Point& a, const Point& b) { return b.y > a.y || (b.y == a.y && b.x > a.x); };
    bool convex = area != 0.0;
    size_t turns = 0, first = 0;
    for (size_t i = 0; convex && i < n; ++i) {
        const Point &a = at(i), &b = at(after(i)), &c = at(after(after(i)));
        convex = side(a, b, c) > 0.0;
        turns += up(a, b) != up(b, c) ? 1 : 0;
        if (a.y < at(first).y || (a.y == at(first).y && a.x < at(first).x))
            first = i;
    }
    if (!(convex && turns == 2)) {
        // A piece that encloses no area, or whose corners rounding turned
        // inwards: the hull of every corner grown.
        Polygon all;
        for (const Point& q : p)
            for (const Point& o : kOctagon)
                all.push_back(Point{q.x + reach * o.x, q.y + reach * o.y});
        return woundOf(convexHull(std::move(all)), grown) ? grown : Polygon();
    }
    // The edges of both in the order of their directions, from the lowest
    // corner of each.
    grown.reserve(n + kSides);
    for (size_t i = 0, k = 0, corner = first; i < n || k < kSides;) {
        const Point &q = at(corner), &o = kOctagon[k == kSides ? 0 : k];
        grown.push_back(Point{q.x + reach * o.x, q.y + reach * o.y});
        const Point &next = at(after(corner)), &on = kOctagon[k + 1 >= kSides ? 0 : k + 1];
        const double turn = i == n        ? -1.0
                            : k == kSides ? 1.0
                                          : (next.x - q.x) * (on.y - o.y) - (next.y - q.y) * (on.x - o.x);
        if (turn >= 0.0)
            ++i, corner = after(corner);
        if (turn <= 0.0)
            ++k;
    }
    return grown;
}

bool grownPieceMeets(const std::vector<AreaPoint>& p, double reach, const std::vector<AreaPoint>& q)
{
    if (!(reach >= 0.0 && std::isfinite(reach)))
        return true;  // it may go anywhere
    // Every place within `reach` of p, and a little more.
    const Polygon grown = grownPiece(p, reach);
    Polygon wound;
    if (grown.empty() || !woundOf(q, wound))
        return false;
    return sharedPart(Piece{grown, boxOf(grown), 0}, Piece{wound, boxOf(wound), 1}, 0.0) > 0.0;
}

bool liesInside(const DrawnPieces& inner, const DrawnPieces& outer)
{
    const double area = inner.area();
    const double rounding = kLeastArea + 1e-3 * area;
    return area > kLeastArea && sharedArea(inner, outer, kTouchWidth) >= area - rounding
           && outer.area() > area + rounding;
}

AreaPair firstOverlap(const std::vector<DrawnPieces>& areas)
{
    std::vector<const DrawnPieces*> all;
    for (const DrawnPieces& area : areas)
        all.push_back(&area);
    return overlapIn(sortedPieces(all));
}
