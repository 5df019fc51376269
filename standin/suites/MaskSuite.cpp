// "AEGP Layer Mask Suite" 6: mask references, new masks, a mask's mode and
// inversion, and the per-mask flag.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetLayerMaskByIndex, (AEGP_LayerH aegp_layerH, A_long mask_indexL, AEGP_MaskRefH* maskPH))
{
    if (!maskPH)
        return A_Err_PARAMETER;
    *maskPH = nullptr;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(aegp_layerH, layer))
        return err;
    PropertyNode* atom = layer->maskAtom(mask_indexL);
    if (!atom)
        return A_Err_PARAMETER;
    *maskPH = ctx().newMaskRef(atom);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_DisposeMask, (AEGP_MaskRefH mask_refH))
{
    if (!mask_refH)
        return A_Err_PARAMETER;
    return ctx().masks.remove(mask_refH) ? A_Err_NONE : A_Err_STRUCT;
}

STANDIN_CALL(AEGP_GetMaskInvert, (AEGP_MaskRefH mask_refH, A_Boolean* invertPB))
{
    if (!invertPB)
        return A_Err_PARAMETER;
    PropertyNode* atom = nullptr;
    if (A_Err err = ctx().findMask(mask_refH, atom))
        return err;
    *invertPB = atom->maskAttributes().inverted;
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetMaskMode, (AEGP_MaskRefH mask_refH, PF_MaskMode* modeP))
{
    if (!modeP)
        return A_Err_PARAMETER;
    PropertyNode* atom = nullptr;
    if (A_Err err = ctx().findMask(mask_refH, atom))
        return err;
    *modeP = atom->maskAttributes().mode;
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_CreateNewMask, (AEGP_LayerH layerH, AEGP_MaskRefH* mask_refPH, A_long* mask_indexPL))
{
    if (!mask_refPH || !mask_indexPL)
        return A_Err_PARAMETER;
    *mask_refPH = nullptr;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    const int index = layer->addMask();
    PropertyNode* atom = layer->maskAtom(index);
    if (!atom)
        return A_Err_PARAMETER;
    *mask_refPH = ctx().newMaskRef(atom);
    *mask_indexPL = index;
    noteCall("mask " + std::to_string(index));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetMaskLockState, (AEGP_MaskRefH mask_refH, A_Boolean* is_lockedPB))
{
    if (!is_lockedPB)
        return A_Err_PARAMETER;
    PropertyNode* atom = nullptr;
    if (A_Err err = ctx().findMask(mask_refH, atom))
        return err;
    *is_lockedPB = atom->maskAttributes().locked;
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetMaskLockState, (AEGP_MaskRefH mask_refH, A_Boolean lockB))
{
    PropertyNode* atom = nullptr;
    if (A_Err err = ctx().findMask(mask_refH, atom))
        return err;
    MaskAttributes attributes = atom->maskAttributes();
    attributes.locked = lockB != 0;
    atom->setMaskAttributes(attributes);
    return A_Err_NONE;
}

} // namespace

const AEGP_MaskSuite5* MaskSuite5Table()
{
    static const AEGP_MaskSuite5 table = [] {
        using Tag = MaskSuite5Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetLayerMaskByIndex);
        STANDIN_SLOT(Tag, t, AEGP_DisposeMask);
        STANDIN_SLOT(Tag, t, AEGP_GetMaskInvert);
        STANDIN_SLOT(Tag, t, AEGP_GetMaskMode);
        STANDIN_SLOT(Tag, t, AEGP_CreateNewMask);
        STANDIN_SLOT(Tag, t, AEGP_GetMaskLockState);
        STANDIN_SLOT(Tag, t, AEGP_SetMaskLockState);
        return t;
    }();
    return &table;
}

} // namespace standin
