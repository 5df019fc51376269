// The one file that includes CGAL: a constrained Delaunay triangulation per
// outer outline, with the outline and its holes as constraints, and the
// region kept by counting the constraints crossed from outside.
#include "outlines/OutlineTriangulation.h"

#include "outlines/OutlineTopology.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>

#include <deque>

namespace {

// How many constraints separate a face from the outside; -1 until known.
struct FaceDepth {
    int depth = -1;
};

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_2<Kernel>;
using FaceWithDepth = CGAL::Triangulation_face_base_with_info_2<FaceDepth, Kernel>;
using FaceBase = CGAL::Constrained_triangulation_face_base_2<Kernel, FaceWithDepth>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
// Exact_predicates_tag: constraints may cross; crossings become new vertices.
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Kernel, DataStructure, CGAL::Exact_predicates_tag>;
using FaceHandle = Cdt::Face_handle;

void insertLoop(Cdt& cdt, const std::vector<b2Vec2>& points)
{
    std::vector<Cdt::Vertex_handle> vertices;
    vertices.reserve(points.size());
    FaceHandle hint;
    for (const b2Vec2& p : points) {
        vertices.push_back(cdt.insert(Cdt::Point(p.x, p.y), hint));
        hint = vertices.back()->face();
    }
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Cdt::Vertex_handle a = vertices[i];
        const Cdt::Vertex_handle b = vertices[(i + 1) % vertices.size()];
        if (a != b)
            cdt.insert_constraint(a, b);
    }
}

// Breadth-first over the faces from the infinite one: crossing an
// unconstrained edge keeps the depth, crossing a constrained one adds one.
// Faces behind constraints wait until every face of the current depth is done.
void markDepths(Cdt& cdt)
{
    for (FaceHandle f : cdt.all_face_handles())
        f->info().depth = -1;
    std::deque<FaceHandle> current{cdt.infinite_face()};
    std::deque<FaceHandle> deeper;
    cdt.infinite_face()->info().depth = 0;
    for (int depth = 0; !current.empty(); ++depth) {
        while (!current.empty()) {
            const FaceHandle f = current.front();
            current.pop_front();
            for (int i = 0; i < 3; ++i) {
                const FaceHandle n = f->neighbor(i);
                if (n->info().depth != -1)
                    continue;
                if (cdt.is_constrained(Cdt::Edge(f, i))) {
                    deeper.push_back(n);
                } else {
                    n->info().depth = depth;
                    current.push_back(n);
                }
            }
        }
        for (FaceHandle f : deeper)
            if (f->info().depth == -1) {
                f->info().depth = depth + 1;
                current.push_back(f);
            }
        deeper.clear();
    }
}

b2Vec2 corner(const FaceHandle& f, int i)
{
    const Cdt::Point& p = f->vertex(i)->point();
    return b2Vec2(static_cast<float>(p.x()), static_cast<float>(p.y()));
}

}  // namespace

void GetTriangulation(QWidget* /*parent*/, std::vector<ShapeDef> outlines, std::vector<A_Triangle>& triangles,
                      bool /*hull*/, bool& selfIntersecting)
{
    std::vector<bool> usedAsHole(outlines.size(), false);
    for (size_t i = 0; i < outlines.size(); ++i) {
        if (outlines[i].points.size() < 3)
            continue;
        if (isSelfIntersectingShape(outlines[i]))
            selfIntersecting = true;
        if (usedAsHole[i] || isHole(int(i), outlines))
            continue;

        Cdt cdt;
        insertLoop(cdt, outlines[i].points);
        for (int h : hasHoles(int(i), outlines)) {
            usedAsHole[size_t(h)] = true;
            if (outlines[size_t(h)].points.size() >= 3)
                insertLoop(cdt, outlines[size_t(h)].points);
        }
        if (cdt.dimension() < 2)
            continue;  // all points on one line: nothing to fill
        markDepths(cdt);
        for (FaceHandle f : cdt.finite_face_handles()) {
            if (f->info().depth != 1)
                continue;
            A_Triangle t;
            for (int k = 0; k < 3; ++k)
                t.vertices[k] = corner(f, k);
            triangles.push_back(t);
        }
    }
}
