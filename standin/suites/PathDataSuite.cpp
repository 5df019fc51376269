// "PF Path Data Suite" 1: reading the glyph paths of text outlines. Vertex
// index S (the segment count) wraps to vertex 0 on closed paths.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

A_Err findPath(PF_PathOutlinePtr pathP, const TextPath*& path)
{
    path = nullptr;
    PathRef* ref = nullptr;
    if (A_Err err = ctx().paths.lookup(pathP, ref))
        return err;
    auto it = ctx().textOutlines.entries().find(ref->set);
    if (it == ctx().textOutlines.entries().end() || ref->index >= int(it->second.paths.size()))
        return A_Err_STRUCT;
    path = &it->second.paths[size_t(ref->index)];
    return A_Err_NONE;
}

int segmentCount(const TextPath& path)
{
    const int n = int(path.vertices.size());
    return n == 0 ? 0 : path.open ? n - 1 : n;
}

STANDIN_CALL(PF_PathIsOpen, (PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_Boolean* openPB))
{
    (void)effect_ref;
    if (!openPB)
        return A_Err_PARAMETER;
    const TextPath* path = nullptr;
    if (A_Err err = findPath(pathP, path))
        return err;
    *openPB = path->open && segmentCount(*path) > 0;
    return A_Err_NONE;
}

STANDIN_CALL(PF_PathNumSegments, (PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_long* num_segmentsPL))
{
    (void)effect_ref;
    if (!num_segmentsPL)
        return A_Err_PARAMETER;
    const TextPath* path = nullptr;
    if (A_Err err = findPath(pathP, path))
        return err;
    *num_segmentsPL = segmentCount(*path);
    return A_Err_NONE;
}

STANDIN_CALL(PF_PathVertexInfo,
             (PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_long which_pointL, PF_PathVertex* vertexP))
{
    (void)effect_ref;
    if (!vertexP)
        return A_Err_PARAMETER;
    const TextPath* path = nullptr;
    if (A_Err err = findPath(pathP, path))
        return err;
    const int s = segmentCount(*path);
    A_long index = which_pointL;
    if (s > 0 && !path->open && index == s)
        index = 0;
    if (s == 0 || index < 0 || index >= A_long(path->vertices.size()))
        return A_Err_PARAMETER;
    *vertexP = path->vertices[size_t(index)];
    return A_Err_NONE;
}

} // namespace

const PF_PathDataSuite1* PathDataSuite1Table()
{
    static const PF_PathDataSuite1 table = [] {
        using Tag = PathDataSuite1Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, PF_PathIsOpen);
        STANDIN_SLOT(Tag, t, PF_PathNumSegments);
        STANDIN_SLOT(Tag, t, PF_PathVertexInfo);
        return t;
    }();
    return &table;
}

} // namespace standin
