// "AEGP Text Layer Suite" 1: the glyph outlines of a text layer at a time, in
// composition pixels with absolute tangent points.
#include "SuiteContext.h"
#include "SuiteTables.h"

#include "project/Transform.h"

namespace standin {
namespace {

// The layer's outlines in layer pixels: given by the project, or built from
// its text.
A_Err layerOutlines(Layer* layer, std::vector<MaskOutline>& shapes)
{
    const TextDocument& text = layer->text();
    if (text.hasOutlines) {
        shapes = text.outlines;
        return A_Err_NONE;
    }
    std::string error;
    if (!ctx().glyphs.outlines(text.text, text.fontFamily, text.fontSize, &shapes, &error)) {
        noteCall(error);
        return A_Err_GENERIC;
    }
    return A_Err_NONE;
}

TextPath mapped(const MaskOutline& shape, const A_Matrix4& m)
{
    TextPath path;
    path.open = shape.open;
    for (const MaskVertex& v : shape.vertices) {
        PF_PathVertex p{};
        mapPoint(m, v.x, v.y, &p.x, &p.y);
        mapPoint(m, v.x + v.inX, v.y + v.inY, &p.tan_in_x, &p.tan_in_y);
        mapPoint(m, v.x + v.outX, v.y + v.outY, &p.tan_out_x, &p.tan_out_y);
        path.vertices.push_back(p);
    }
    return path;
}

A_Err findSet(AEGP_TextOutlinesH outlinesH, TextOutlineSet*& set)
{
    return ctx().textOutlines.lookup(outlinesH, set);
}

STANDIN_CALL(AEGP_GetNewTextOutlines, (AEGP_LayerH layerH, const A_Time* layer_timePT, AEGP_TextOutlinesH* outlinesPH))
{
    if (!outlinesPH)
        return A_Err_PARAMETER;
    *outlinesPH = nullptr;
    if (!layer_timePT || layer_timePT->scale == 0)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    if (layer->objectType() != AEGP_ObjectType_TEXT)
        return A_Err_PARAMETER;
    std::vector<MaskOutline> shapes;
    if (A_Err err = layerOutlines(layer, shapes))
        return err;
    const A_Matrix4 m = layerToWorld(*layer, *layer_timePT);
    TextOutlineSet set;
    for (const MaskOutline& shape : shapes)
        set.paths.push_back(mapped(shape, m));
    const AEGP_TextOutlinesH handle = ctx().textOutlines.add(std::move(set));
    TextOutlineSet* stored = ctx().textOutlines.find(handle);
    for (size_t i = 0; i < stored->paths.size(); ++i)
        stored->handles.push_back(ctx().paths.add(PathRef{decodeHandle(handle), int(i)}));
    *outlinesPH = handle;
    noteCall(std::to_string(stored->paths.size()) + " outline(s)");
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_DisposeTextOutlines, (AEGP_TextOutlinesH outlinesH))
{
    TextOutlineSet* set = nullptr;
    if (A_Err err = findSet(outlinesH, set))
        return err;
    for (PF_PathOutlinePtr path : set->handles)
        ctx().paths.remove(path);
    ctx().textOutlines.remove(outlinesH);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetNumTextOutlines, (AEGP_TextOutlinesH outlinesH, A_long* num_outlinesPL))
{
    if (!num_outlinesPL)
        return A_Err_PARAMETER;
    TextOutlineSet* set = nullptr;
    if (A_Err err = findSet(outlinesH, set))
        return err;
    *num_outlinesPL = A_long(set->paths.size());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetIndexedTextOutline,
             (AEGP_TextOutlinesH outlinesH, A_long path_indexL, PF_PathOutlinePtr* pathPP))
{
    if (!pathPP)
        return A_Err_PARAMETER;
    *pathPP = nullptr;
    TextOutlineSet* set = nullptr;
    if (A_Err err = findSet(outlinesH, set))
        return err;
    if (path_indexL < 0 || size_t(path_indexL) >= set->handles.size())
        return A_Err_PARAMETER;
    *pathPP = set->handles[size_t(path_indexL)];
    return A_Err_NONE;
}

} // namespace

const AEGP_TextLayerSuite1* TextLayerSuite1Table()
{
    static const AEGP_TextLayerSuite1 table = [] {
        using Tag = TextLayerSuite1Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetNewTextOutlines);
        STANDIN_SLOT(Tag, t, AEGP_DisposeTextOutlines);
        STANDIN_SLOT(Tag, t, AEGP_GetNumTextOutlines);
        STANDIN_SLOT(Tag, t, AEGP_GetIndexedTextOutline);
        return t;
    }();
    return &table;
}

} // namespace standin
