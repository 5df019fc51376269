// "AEGP Mask Outline Suite" 3: reading the outlines that mask and path values
// own. Vertex index S (the segment count) wraps to vertex 0 on closed
// outlines.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

A_Err findOutline(AEGP_MaskOutlineValH outlineH, MaskOutline*& outline)
{
    return ctx().outlines.lookup(outlineH, outline);
}

STANDIN_CALL(AEGP_IsMaskOutlineOpen, (AEGP_MaskOutlineValH mask_outlineH, A_Boolean* openPB))
{
    if (!openPB)
        return A_Err_PARAMETER;
    MaskOutline* outline = nullptr;
    if (A_Err err = findOutline(mask_outlineH, outline))
        return err;
    *openPB = outline->reportsOpen();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetMaskOutlineNumSegments, (AEGP_MaskOutlineValH mask_outlineH, A_long* num_segmentsPL))
{
    if (!num_segmentsPL)
        return A_Err_PARAMETER;
    MaskOutline* outline = nullptr;
    if (A_Err err = findOutline(mask_outlineH, outline))
        return err;
    *num_segmentsPL = outline->segmentCount();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetMaskOutlineVertexInfo,
             (AEGP_MaskOutlineValH mask_outlineH, AEGP_VertexIndex which_pointL, AEGP_MaskVertex* vertexP))
{
    if (!vertexP)
        return A_Err_PARAMETER;
    MaskOutline* outline = nullptr;
    if (A_Err err = findOutline(mask_outlineH, outline))
        return err;
    MaskVertex v;
    if (!outline->vertexAt(which_pointL, &v))
        return A_Err_PARAMETER;
    *vertexP = AEGP_MaskVertex{v.x, v.y, v.inX, v.inY, v.outX, v.outY};
    return A_Err_NONE;
}

} // namespace

const AEGP_MaskOutlineSuite2* MaskOutlineSuite2Table()
{
    static const AEGP_MaskOutlineSuite2 table = [] {
        using Tag = MaskOutlineSuite2Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_IsMaskOutlineOpen);
        STANDIN_SLOT(Tag, t, AEGP_GetMaskOutlineNumSegments);
        STANDIN_SLOT(Tag, t, AEGP_GetMaskOutlineVertexInfo);
        return t;
    }();
    return &table;
}

} // namespace standin
