#include "simulation/LayerEligibility.h"

A_Err ReadLayerKind(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, LayerKind& kind)
{
    kind = LayerKind{};
    AEGP_LabelID label = 0;
    A_Err err = suites.LayerSuite7()->AEGP_GetLayerObjectType(layer, &kind.objectType);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerLabel(layer, &label);
    if (err)
        return err;
    kind.label = label >= 1 && label <= 16 ? int(label) : 0;
    if (kind.objectType == AEGP_ObjectType_LIGHT || kind.objectType == AEGP_ObjectType_CAMERA)
        return err;

    AEGP_LayerFlags flags = 0;
    err = suites.LayerSuite7()->AEGP_GetLayerFlags(layer, &flags);
    if (err)
        return err;
    const AEGP_LayerFlags excluded =
        AEGP_LayerFlag_NULL_LAYER | AEGP_LayerFlag_ADJUSTMENT_LAYER | AEGP_LayerFlag_GUIDE_LAYER;
    if ((flags & excluded) || !(flags & AEGP_LayerFlag_VIDEO_ACTIVE))
        return err;

    A_Boolean is3D = false;
    A_Boolean videoOn = false;
    err = suites.LayerSuite7()->AEGP_IsLayer3D(layer, &is3D);
    if (!err)
        err = suites.LayerSuite7()->AEGP_IsVideoActive(layer, &videoOn);
    if (err || is3D || !videoOn)
        return err;

    if (kind.objectType == AEGP_ObjectType_AV) {
        AEGP_ItemH source = nullptr;
        A_long width = 0;
        A_long height = 0;
        err = suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &source);
        if (!err)
            err = suites.ItemSuite8()->AEGP_GetItemDimensions(source, &width, &height);
        if (err || (width < 1 && height < 1))
            return err;
    }
    kind.eligible = true;
    return err;
}
