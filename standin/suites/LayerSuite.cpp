// "AEGP Layer Suite" 13 and 11: the layer stack, layer properties and the
// edits the plug-in makes to layers.
#include "SuiteContext.h"
#include "SuiteTables.h"

#include "project/Transform.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetCompNumLayers, (AEGP_CompH compH, A_long* num_layersPL))
{
    if (!num_layersPL)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *num_layersPL = comp->layerCount();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetCompLayerByIndex, (AEGP_CompH compH, A_long layer_indexL, AEGP_LayerH* layerPH))
{
    if (!layerPH)
        return A_Err_PARAMETER;
    *layerPH = nullptr;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    Layer* layer = comp->layer(layer_indexL);
    if (!layer)
        return A_Err_PARAMETER;
    *layerPH = ctx().layerHandle(layer);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerIndex, (AEGP_LayerH layerH, A_long* layer_indexPL))
{
    if (!layer_indexPL)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *layer_indexPL = layer->composition()->indexOf(layer);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerSourceItem, (AEGP_LayerH layerH, AEGP_ItemH* source_itemPH))
{
    if (!source_itemPH)
        return A_Err_PARAMETER;
    *source_itemPH = nullptr;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    if (kindHasSource(layer->kind()))
        *source_itemPH = ctx().itemHandle(layer->source());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerName,
             (AEGP_PluginID plugin_id, AEGP_LayerH layerH, AEGP_MemHandle* layer_namePH,
              AEGP_MemHandle* source_namePH))
{
    if (!layer_namePH || !source_namePH)
        return A_Err_PARAMETER;
    *layer_namePH = nullptr;
    *source_namePH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *layer_namePH = ctx().memory.create(layer->name().toStdU16String());
    *source_namePH = ctx().memory.create(layer->sourceName().toStdU16String());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerFlags, (AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP))
{
    if (!layer_flagsP)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *layer_flagsP = layer->flags();
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetLayerFlag, (AEGP_LayerH layerH, AEGP_LayerFlags single_flag, A_Boolean valueB))
{
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    return layer->setFlag(single_flag, valueB != 0) ? A_Err_NONE : A_Err_PARAMETER;
}

STANDIN_CALL(AEGP_IsVideoActive, (AEGP_LayerH layerH, A_Boolean* is_activePB))
{
    if (!is_activePB)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *is_activePB = layer->composition()->isVideoReallyOn(layer);
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_ReorderLayer, (AEGP_LayerH layerH, A_long layer_indexL))
{
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    const A_Err err = layer->composition()->reorderLayer(layer, layer_indexL);
    if (!err)
        noteCall("now at " + std::to_string(layer->composition()->indexOf(layer)));
    return err;
}

STANDIN_CALL(AEGP_GetLayerObjectType, (AEGP_LayerH layerH, AEGP_ObjectType* object_type))
{
    if (!object_type)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *object_type = layer->objectType();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_IsLayer3D, (AEGP_LayerH layerH, A_Boolean* is_3DPB))
{
    if (!is_3DPB)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *is_3DPB = layer->is3D();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerID, (AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP))
{
    if (!id_valP)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *id_valP = layer->id();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerToWorldXform, (AEGP_LayerH layerH, const A_Time* comp_timeP, A_Matrix4* transform))
{
    if (!transform || !comp_timeP || comp_timeP->scale == 0)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *transform = layerToWorld(*layer, *comp_timeP);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerParent, (AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH))
{
    if (!parent_layerPH)
        return A_Err_PARAMETER;
    *parent_layerPH = nullptr;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *parent_layerPH = ctx().layerHandle(layer->parent());
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetLayerParent, (AEGP_LayerH layerH, AEGP_LayerH parent_layerH))
{
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    Layer* parent = nullptr;
    if (parent_layerH) {
        if (A_Err err = ctx().findLayer(parent_layerH, parent))
            return err;
    }
    return layer->composition()->setParent(layer, parent);
}

STANDIN_MUTATOR(AEGP_DeleteLayer, (AEGP_LayerH layerH))
{
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    noteCall("layer ID " + std::to_string(layer->id()));
    return layer->composition()->deleteLayer(layer);
}

STANDIN_MUTATOR(AEGP_DuplicateLayer, (AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH))
{
    if (!duplicate_layerPH)
        return A_Err_PARAMETER;
    *duplicate_layerPH = nullptr;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(orig_layerH, layer))
        return err;
    Layer* copy = layer->composition()->duplicateLayer(layer);
    if (!copy)
        return A_Err_GENERIC;
    *duplicate_layerPH = ctx().layerHandle(copy);
    noteCall("new layer ID " + std::to_string(copy->id()));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerLabel, (AEGP_LayerH layerH, AEGP_LabelID* labelP))
{
    if (!labelP)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *labelP = AEGP_LabelID(layer->label());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerInPoint, (AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* in_pointPT))
{
    if (!in_pointPT)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    A_Time t{};
    if (A_Err err = fromCompTime(layer, time_mode, layer->inPoint(), t))
        return err;
    *in_pointPT = inFrameScale(layer->composition(), t);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLayerDuration, (AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* durationPT))
{
    if (!durationPT)
        return A_Err_PARAMETER;
    if (time_mode != AEGP_LTimeMode_CompTime && time_mode != AEGP_LTimeMode_LayerTime)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    *durationPT = inFrameScale(layer->composition(), layer->duration());
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetLayerName, (AEGP_LayerH layerH, const A_char* new_nameZ))
{
    if (!new_nameZ)
        return A_Err_PARAMETER;
    Layer* layer = nullptr;
    if (A_Err err = ctx().findLayer(layerH, layer))
        return err;
    layer->setName(QString::fromUtf8(new_nameZ));
    return A_Err_NONE;
}

} // namespace

const AEGP_LayerSuite7* LayerSuite7Table()
{
    static const AEGP_LayerSuite7 table = [] {
        using Tag = LayerSuite7Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetCompNumLayers);
        STANDIN_SLOT(Tag, t, AEGP_GetCompLayerByIndex);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerIndex);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerSourceItem);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerName);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerFlags);
        STANDIN_SLOT(Tag, t, AEGP_SetLayerFlag);
        STANDIN_SLOT(Tag, t, AEGP_IsVideoActive);
        STANDIN_SLOT(Tag, t, AEGP_ReorderLayer);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerObjectType);
        STANDIN_SLOT(Tag, t, AEGP_IsLayer3D);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerID);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerToWorldXform);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerParent);
        STANDIN_SLOT(Tag, t, AEGP_SetLayerParent);
        STANDIN_SLOT(Tag, t, AEGP_DeleteLayer);
        STANDIN_SLOT(Tag, t, AEGP_DuplicateLayer);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerLabel);
        return t;
    }();
    return &table;
}

const AEGP_LayerSuite5* LayerSuite5Table()
{
    static const AEGP_LayerSuite5 table = [] {
        using Tag = LayerSuite5Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetLayerInPoint);
        STANDIN_SLOT(Tag, t, AEGP_GetLayerDuration);
        STANDIN_SLOT(Tag, t, AEGP_SetLayerName);
        return t;
    }();
    return &table;
}

} // namespace standin
