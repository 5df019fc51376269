// The one file that includes CGAL: one constrained Delaunay triangulation for
// all the closed outlines of a layer, each outline a constraint that knows
// which outline it came from. Walking the faces from outside, every crossed
// constraint flips the faces' membership of its outlines; what a face is
// inside of then decides whether it is filled.
#include "outlines/OutlineTriangulation.h"

#include "outlines/OutlineTopology.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Constrained_triangulation_plus_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Polygon_2_algorithms.h>
#include <CGAL/convex_hull_2.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_2<Kernel>;
// The set of outlines a face lies inside (an id of CoverSets); -1 until known.
using FaceWithCover = CGAL::Triangulation_face_base_with_info_2<int, Kernel>;
using FaceBase = CGAL::Constrained_triangulation_face_base_2<Kernel, FaceWithCover>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
// Exact_predicates_tag: constraints may cross; crossings become new vertices.
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Kernel, DataStructure, CGAL::Exact_predicates_tag>;
// The "plus" layer remembers which constraints every piece of an edge
// belongs to, through crossings and overlaps.
using Triangulation = CGAL::Constrained_triangulation_plus_2<Cdt>;
using Point = Kernel::Point_2;
using FaceHandle = Triangulation::Face_handle;
using VertexHandle = Triangulation::Vertex_handle;

// The crossings are counted after every so many constraints.
constexpr size_t kCheckEvery = 256;
// Loops of up to this many points go in in their own order, as they always
// have (points on one circle leave the triangulation to the order); longer
// ones in spatial order.
constexpr size_t kOrderedLength = 2048;
// Crossings allowed beyond this plus a quarter of the vertices make the
// outline being inserted a tangle (see GetTriangulation).
constexpr size_t kCrossingAllowance = 4096;
// Outlines made hulls one by one before every outline is.
constexpr int kTangleRetries = 3;

// Sorted sets of outline indices, each kept once and named by a number;
// flipping one outline in or out of a set is remembered.
class CoverSets
{
public:
    CoverSets() { intern({}); }

    const std::vector<int>& at(int id) const { return sets_[size_t(id)]; }

    int flip(int id, int outline)
    {
        const uint64_t key = (uint64_t(uint32_t(id)) << 32) | uint32_t(outline);
        const auto known = flips_.find(key);
        if (known != flips_.end())
            return known->second;
        std::vector<int> set = at(id);
        const auto it = std::lower_bound(set.begin(), set.end(), outline);
        if (it != set.end() && *it == outline)
            set.erase(it);
        else
            set.insert(it, outline);
        const int result = intern(std::move(set));
        flips_.emplace(key, result);
        return result;
    }

private:
    int intern(std::vector<int> set)
    {
        const auto [it, added] = ids_.emplace(std::move(set), int(sets_.size()));
        if (added)
            sets_.push_back(it->first);
        return it->second;
    }

    std::vector<std::vector<int>> sets_;
    std::map<std::vector<int>, int> ids_;
    std::unordered_map<uint64_t, int> flips_;
};

// The triangulation of every loop (outline index -> points, empty when the
// outline takes no part). The plain triangulation serves outlines that
// neither cross nor overlap, which is most of them: each constrained edge is
// then an edge of the input, found in `edges`. Otherwise the traced one
// follows every piece of a constraint back to its outline (`owner`).
struct Build {
    std::unique_ptr<Cdt> plain;
    std::unique_ptr<Triangulation> traced;
    std::vector<std::tuple<const void*, const void*, int>> edges;  // (vertex, vertex, outline), sorted
    std::unordered_map<const void*, int> owner;                     // constraint -> outline
    std::vector<VertexHandle> first;                                // each loop's first vertex
    int tangled = -1;  // the outline whose crossings went beyond the allowance
    bool crossed = false;  // the plain triangulation met a crossing or an overlap

    Cdt& triangulation() { return traced ? *traced : *plain; }
};

std::pair<const void*, const void*> edgeKey(const VertexHandle& a, const VertexHandle& b)
{
    const void* p = &*a;
    const void* q = &*b;
    return p < q ? std::make_pair(p, q) : std::make_pair(q, p);
}

// One loop's points, each located from the last. A long loop goes in
// spatial order: along the outline the fans would grow deep. Returns the
// vertices in the loop's order.
template <class T>
std::vector<VertexHandle> insertLoop(T& t, const std::vector<Point>& loop, FaceHandle& hint)
{
    std::vector<size_t> order(loop.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (loop.size() > kOrderedLength) {
        using SortTraits =
            CGAL::Spatial_sort_traits_adapter_2<Kernel, CGAL::Pointer_property_map<Point>::const_type>;
        CGAL::spatial_sort(order.begin(), order.end(), SortTraits(CGAL::make_property_map(loop)));
    }
    std::vector<VertexHandle> vertices(loop.size());
    for (size_t i : order) {
        vertices[i] = t.insert(loop[i], hint);
        hint = vertices[i]->face();
    }
    return vertices;
}

Build triangulate(const std::vector<std::vector<Point>>& loops, bool traced, size_t allowance)
{
    Build build;
    if (traced)
        build.traced = std::make_unique<Triangulation>();
    else
        build.plain = std::make_unique<Cdt>();
    Cdt& t = build.triangulation();
    // Loop by loop, its points and then its edges as constraints, each with
    // its outline remembered; the crossings are counted as they are made.
    std::vector<std::vector<VertexHandle>> vertices(loops.size());
    build.first.resize(loops.size());
    FaceHandle hint;
    size_t crossings = 0;
    for (size_t k = 0; k < loops.size(); ++k) {
        const size_t n = loops[k].size();
        if (n == 0)
            continue;
        vertices[k] = traced ? insertLoop(*build.traced, loops[k], hint) : insertLoop(*build.plain, loops[k], hint);
        const VertexHandle* v = vertices[k].data();
        build.first[k] = v[0];
        size_t before = t.number_of_vertices();
        for (size_t i = 0; i < n; ++i) {
            const VertexHandle a = v[i], b = v[(i + 1) % n];
            if (a == b)
                continue;
            if (traced) {
                const Triangulation::Constraint_id id = build.traced->insert_constraint(a, b);
                if (id.vl_ptr())
                    build.owner.emplace(id.vl_ptr(), int(k));
                if (i % kCheckEvery == 0) {
                    crossings += t.number_of_vertices() - before;
                    before = t.number_of_vertices();
                    if (crossings > allowance) {
                        build.tangled = int(k);
                        return build;
                    }
                }
            } else {
                build.plain->insert_constraint(a, b);
                const auto [p, q] = edgeKey(a, b);
                build.edges.emplace_back(p, q, int(k));
                if (t.number_of_vertices() != before) {
                    build.crossed = true;
                    return build;
                }
            }
        }
        crossings += t.number_of_vertices() - before;
        if (traced && crossings > allowance) {
            build.tangled = int(k);
            return build;
        }
        hint = v[n - 1]->face();
    }
    if (!traced) {
        // An edge running over a vertex of another was split there: the
        // pieces might pass for edges of that other outline alone.
        for (size_t k = 0; k < loops.size() && !build.crossed; ++k) {
            const std::vector<VertexHandle>& v = vertices[k];
            const size_t n = v.size();
            for (size_t i = 0; i < n && !build.crossed; ++i)
                build.crossed = v[i] != v[(i + 1) % n] && !build.plain->is_edge(v[i], v[(i + 1) % n]);
        }
        std::sort(build.edges.begin(), build.edges.end());
    }
    return build;
}

std::vector<Point> hullOf(const std::vector<Point>& points)
{
    std::vector<Point> hull;
    CGAL::convex_hull_2(points.begin(), points.end(), std::back_inserter(hull), Kernel());
    return hull;
}

// The outlines that run along the constrained edge a-b, each as often as it
// does. False when the plain triangulation split an edge of the input (an
// outline runs over a vertex of another).
bool outlinesAlong(Build& build, const VertexHandle& a, const VertexHandle& b, std::vector<int>& along)
{
    along.clear();
    if (build.traced) {
        Triangulation& t = *build.traced;
        for (auto c = t.contexts_begin(a, b); c != t.contexts_end(a, b); ++c) {
            const auto owner = build.owner.find(c->id().vl_ptr());
            if (owner != build.owner.end())
                along.push_back(owner->second);
        }
        return true;
    }
    const auto [p, q] = edgeKey(a, b);
    auto it = std::lower_bound(build.edges.begin(), build.edges.end(), std::make_tuple(p, q, -1));
    for (; it != build.edges.end() && std::get<0>(*it) == p && std::get<1>(*it) == q; ++it)
        along.push_back(std::get<2>(*it));
    return !along.empty();
}

// Every face's set of outlines it lies inside, by a walk from the infinite
// face: crossing a constrained edge flips the outlines that run along it an
// odd number of times. False as outlinesAlong.
bool markCovers(Build& build, CoverSets& sets)
{
    Cdt& t = build.triangulation();
    for (FaceHandle f : t.all_face_handles())
        f->info() = -1;
    std::deque<FaceHandle> queue{t.infinite_face()};
    t.infinite_face()->info() = 0;
    std::vector<int> along;
    while (!queue.empty()) {
        const FaceHandle f = queue.front();
        queue.pop_front();
        for (int i = 0; i < 3; ++i) {
            const FaceHandle n = f->neighbor(i);
            if (n->info() != -1)
                continue;
            int cover = f->info();
            if (f->is_constrained(i)) {
                if (!outlinesAlong(build, f->vertex(Cdt::cw(i)), f->vertex(Cdt::ccw(i)), along))
                    return false;
                std::sort(along.begin(), along.end());
                for (size_t j = 0; j < along.size();) {
                    size_t same = j;
                    while (same < along.size() && along[same] == along[j])
                        ++same;
                    if ((same - j) % 2 == 1)
                        cover = sets.flip(cover, along[j]);
                    j = same;
                }
            }
            n->info() = cover;
            queue.push_back(n);
        }
    }
    return true;
}

// For the nested fill: which outline, if any, fills the faces of each set.
class NestedOwners
{
public:
    // inside[k]: the outlines (other than k) that hold k's first vertex.
    explicit NestedOwners(std::vector<std::vector<int>> inside) : inside_(std::move(inside)) {}

    int ownerOf(int id, const CoverSets& sets)
    {
        const auto known = owners_.find(id);
        if (known != owners_.end())
            return known->second;
        const std::vector<int>& cover = sets.at(id);
        int owner = -1;
        for (int k : cover) {
            if (!inside_[size_t(k)].empty())
                continue;  // a hole of some outline, never an outer one
            const bool inHole = std::any_of(cover.begin(), cover.end(), [&](int h) {
                return h != k && std::binary_search(inside_[size_t(h)].begin(), inside_[size_t(h)].end(), k);
            });
            if (!inHole) {
                owner = k;
                break;
            }
        }
        owners_.emplace(id, owner);
        return owner;
    }

private:
    std::vector<std::vector<int>> inside_;
    std::unordered_map<int, int> owners_;  // set -> outline, -1 for none
};

A_Triangle triangleOf(const FaceHandle& f)
{
    A_Triangle t;
    for (int k = 0; k < 3; ++k) {
        const Point& p = f->vertex(k)->point();
        t.vertices[k] = b2Vec2(static_cast<float>(p.x()), static_cast<float>(p.y()));
    }
    return t;
}

// Which outline, if any, fills the faces of each set of outlines, decided
// once per set.
class Owners
{
public:
    template <class Decide>
    int ownerOf(int id, const CoverSets& sets, Decide decide)
    {
        const auto known = owners_.find(id);
        if (known != owners_.end())
            return known->second;
        const int owner = decide(sets.at(id));
        owners_.emplace(id, owner);
        return owner;
    }

private:
    std::unordered_map<int, int> owners_;  // set -> outline, -1 for none
};

// +1 or -1 by the loop's direction (+1 for none).
int directionOf(const std::vector<Point>& loop)
{
    double twiceArea = 0.0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Point& a = loop[i];
        const Point& b = loop[(i + 1) % loop.size()];
        twiceArea += a.x() * b.y() - b.x() * a.y();
    }
    return twiceArea < 0.0 ? -1 : 1;
}

// For the masks: whether each outline lies wholly inside another, from the
// sets of the faces it covers. Two outlines covering the same faces are no
// hole of each other.
std::vector<bool> holesByCover(Cdt& t, const CoverSets& sets, size_t count)
{
    std::vector<std::vector<int>> containers(count);
    std::vector<bool> seen(count, false);
    // Faces of one set add nothing after the first: each set is taken once.
    std::unordered_set<int> setsTaken;
    for (FaceHandle f : t.finite_face_handles()) {
        if (!setsTaken.insert(f->info()).second)
            continue;
        const std::vector<int>& cover = sets.at(f->info());
        for (int k : cover) {
            std::vector<int>& c = containers[size_t(k)];
            if (!seen[size_t(k)]) {
                seen[size_t(k)] = true;
                for (int j : cover)
                    if (j != k)
                        c.push_back(j);
            } else if (!c.empty()) {
                std::vector<int> both;
                std::set_intersection(c.begin(), c.end(), cover.begin(), cover.end(), std::back_inserter(both));
                c.swap(both);
            }
        }
    }
    std::vector<bool> hole(count, false);
    for (size_t k = 0; k < count; ++k)
        for (int j : containers[k])
            if (!std::binary_search(containers[size_t(j)].begin(), containers[size_t(j)].end(), int(k)))
                hole[k] = true;
    return hole;
}

// The first outline of `cover` whose paint fills a point that the outlines
// of `cover` lie around: some paint group of it whose outlines there make
// the point filled by the group's rule. -1 for none.
int paintedOwner(const std::vector<int>& cover, const std::vector<OutlinePaint>& paint,
                 const std::vector<int>& direction)
{
    static const std::vector<PaintGroup> kAlone{PaintGroup()};
    const auto groupsOf = [&](int k) -> const std::vector<PaintGroup>& {
        return size_t(k) < paint.size() && !paint[size_t(k)].groups.empty() ? paint[size_t(k)].groups : kAlone;
    };
    std::map<int, std::pair<int, int>> around;  // group -> (winding, outlines)
    for (int j : cover)
        for (const PaintGroup& g : groupsOf(j)) {
            std::pair<int, int>& a = around[g.id];
            a.first += direction[size_t(j)];
            ++a.second;
        }
    for (int k : cover)
        for (const PaintGroup& g : groupsOf(k)) {
            const std::pair<int, int>& a = around[g.id];
            if (g.rule == FillRule::EvenOdd ? a.second % 2 == 1 : a.first != 0)
                return k;
        }
    return -1;
}

}  // namespace

void GetTriangulation(QWidget* /*parent*/, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool /*hull*/, TriangulationReport& report, OutlineFill fill,
                      const std::vector<OutlinePaint>& paint)
{
    std::vector<std::vector<Point>> loops(outlines.size());
    std::vector<bool> crossing(outlines.size(), false);
    size_t total = 0;
    for (size_t i = 0; i < outlines.size(); ++i) {
        if (outlines[i].points.size() < 3)
            continue;
        crossing[i] = isSelfIntersectingShape(outlines[i]);
        for (const b2Vec2& p : outlines[i].points)
            loops[i].emplace_back(p.x, p.y);
        total += loops[i].size();
    }
    if (total == 0)
        return;

    // A tangle (crossings beyond the allowance, as a rounded star of
    // thousands of points makes) would cost far more than the outline is
    // worth: the outline that makes it is filled as its hull, and after a few
    // such outlines all of them are, as one hull.
    const size_t allowance = kCrossingAllowance + total / 4;
    std::vector<bool> hulled(outlines.size(), false);
    CoverSets sets;
    Build build = triangulate(loops, false, 0);
    bool marked = !build.crossed && build.plain->dimension() == 2 && markCovers(build, sets);
    for (int attempt = 0; !marked; ++attempt) {
        build = triangulate(loops, true, allowance);
        if (build.tangled < 0) {
            if (build.traced->dimension() < 2)
                break;  // all points on one line: nothing to fill
            marked = markCovers(build, sets);
            continue;
        }
        if (attempt < kTangleRetries) {
            loops[size_t(build.tangled)] = hullOf(loops[size_t(build.tangled)]);
            hulled[size_t(build.tangled)] = true;
            continue;
        }
        std::vector<Point> all;
        size_t first = loops.size();
        for (size_t i = 0; i < loops.size(); ++i) {
            if (!loops[i].empty() && first == loops.size())
                first = i;
            all.insert(all.end(), loops[i].begin(), loops[i].end());
            loops[i].clear();
            hulled[i] = true;
        }
        loops[first] = hullOf(all);
    }
    for (size_t i = 0; i < outlines.size(); ++i) {
        if (hulled[i])
            report.filledAsHull = true;
        else if (crossing[i])
            report.selfIntersecting = true;
    }
    if (!marked)
        return;
    Cdt& t = build.triangulation();

    std::vector<std::vector<int>> inside(outlines.size());
    if (fill == OutlineFill::Nested) {
        for (size_t k = 0; k < loops.size(); ++k) {
            if (loops[k].empty())
                continue;
            for (int j : sets.at(build.first[k]->face()->info()))
                if (size_t(j) != k)
                    inside[k].push_back(j);
        }
    }
    NestedOwners nested(std::move(inside));
    std::vector<bool> hole;
    if (fill == OutlineFill::Masks)
        hole = holesByCover(t, sets, outlines.size());
    std::vector<int> direction(loops.size(), 1);
    if (fill == OutlineFill::Painted)
        for (size_t k = 0; k < loops.size(); ++k)
            direction[k] = directionOf(loops[k]);
    Owners owners;
    const auto decide = [&](const std::vector<int>& cover) {
        if (fill == OutlineFill::Masks) {
            if (std::any_of(cover.begin(), cover.end(), [&](int k) { return bool(hole[size_t(k)]); }))
                return -1;
            return cover.front();
        }
        return paintedOwner(cover, paint, direction);
    };

    std::vector<std::pair<int, FaceHandle>> filled;
    for (FaceHandle f : t.finite_face_handles()) {
        const std::vector<int>& cover = sets.at(f->info());
        if (cover.empty())
            continue;
        int owner = -1;
        if (fill == OutlineFill::Union)
            owner = cover.front();
        else if (fill == OutlineFill::Nested)
            owner = nested.ownerOf(f->info(), sets);
        else
            owner = owners.ownerOf(f->info(), sets, decide);
        if (owner >= 0)
            filled.emplace_back(owner, f);
    }
    std::stable_sort(filled.begin(), filled.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    triangles.reserve(triangles.size() + filled.size());
    for (const auto& [owner, f] : filled)
        triangles.push_back(triangleOf(f));
}

void GetTriangulation(QWidget* parent, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool hull, bool& selfIntersecting, OutlineFill fill)
{
    TriangulationReport report;
    GetTriangulation(parent, std::move(outlines), triangles, hull, report, fill);
    if (report.selfIntersecting || report.filledAsHull)
        selfIntersecting = true;
}

// Whether the closed outline is simple: no two of its edges meet but
// those that follow one another, at the vertex they share (no vertex on
// another edge, none twice, no edge run back over the one before). Decided
// exactly on the points as they are, by one sweep that keeps the edges it
// crosses in order, so it takes n log n steps however round or spiky the
// outline: a simple outline winds round each place once or not at all.
bool isSimpleOutline(const std::vector<b2Vec2>& p)
{
    std::vector<Kernel::Point_2> points;
    points.reserve(p.size());
    for (const b2Vec2& q : p)
        points.emplace_back(double(q.x), double(q.y));
    return CGAL::is_simple_2(points.begin(), points.end(), Kernel());
}
