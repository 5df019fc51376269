// "AEGP Comp Suite" 15 and 11: composition settings, work area, selection,
// and the edits that create layers and compositions.
#include "SuiteContext.h"
#include "SuiteTables.h"

#include "project/Time.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetCompFromItem, (AEGP_ItemH itemH, AEGP_CompH* compPH))
{
    if (!compPH)
        return A_Err_PARAMETER;
    *compPH = nullptr;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    Composition* comp = item->asComposition();
    if (!comp)
        return A_Err_PARAMETER;
    *compPH = ctx().compHandle(comp);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetItemFromComp, (AEGP_CompH compH, AEGP_ItemH* itemPH))
{
    if (!itemPH)
        return A_Err_PARAMETER;
    *itemPH = nullptr;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *itemPH = ctx().itemHandle(comp);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetCompBGColor, (AEGP_CompH compH, AEGP_ColorVal* bg_colorP))
{
    if (!bg_colorP)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *bg_colorP = comp->backgroundColor();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetCompFramerate, (AEGP_CompH compH, A_FpLong* fpsPF))
{
    if (!fpsPF)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *fpsPF = comp->frameRate();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetCompWorkAreaStart, (AEGP_CompH compH, A_Time* work_area_startPT))
{
    if (!work_area_startPT)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *work_area_startPT = inFrameScale(comp, comp->workAreaStart());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetCompWorkAreaDuration, (AEGP_CompH compH, A_Time* work_area_durationPT))
{
    if (!work_area_durationPT)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *work_area_durationPT = inFrameScale(comp, comp->workAreaDuration());
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetCompWorkAreaStartAndDuration,
                (AEGP_CompH compH, const A_Time* startPT, const A_Time* durationPT))
{
    if (!startPT || !durationPT)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    bool clamped = false;
    const A_Err err = comp->setWorkArea(*startPT, *durationPT, &clamped);
    if (clamped)
        noteCall("end clamped to the composition's duration: duration "
                 + formatTime(comp->workAreaDuration()));
    return err;
}

STANDIN_CALL(AEGP_GetNewCollectionFromCompSelection,
             (AEGP_PluginID plugin_id, AEGP_CompH compH, AEGP_Collection2H* collectionPH))
{
    if (!collectionPH)
        return A_Err_PARAMETER;
    *collectionPH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    Collection collection;
    collection.comp = comp->weak_from_this();
    for (Layer* layer : comp->selection())
        collection.layers.push_back(layer->weakFromThis());
    noteCall(std::to_string(collection.layers.size()) + " layer(s)");
    *collectionPH = ctx().collections.add(std::move(collection));
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_SetSelection, (AEGP_CompH compH, AEGP_Collection2H collectionH))
{
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    Collection* collection = nullptr;
    if (A_Err err = ctx().collections.lookup(collectionH, collection))
        return err;
    std::vector<Layer*> layers;
    for (const std::weak_ptr<Layer>& weak : collection->layers) {
        std::shared_ptr<Layer> layer = weak.lock();
        if (layer && !layer->isDeleted())
            layers.push_back(layer.get());
    }
    noteCall(std::to_string(layers.size()) + " layer(s)");
    return comp->setSelection(layers);
}

STANDIN_MUTATOR(AEGP_CreateNullInComp,
                (const A_UTF16Char* utf_nameZ, AEGP_CompH compH, const A_Time* durationPT,
                 AEGP_LayerH* new_null_layerPH))
{
    if (!new_null_layerPH)
        return A_Err_PARAMETER;
    *new_null_layerPH = nullptr;
    if (!utf_nameZ || !durationPT || durationPT->scale == 0)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    Layer* layer = ctx().project.createNullLayer(comp, QString::fromUtf16(utf_nameZ), *durationPT);
    if (!layer)
        return A_Err_GENERIC;
    *new_null_layerPH = ctx().layerHandle(layer);
    noteCall("layer ID " + std::to_string(layer->id()));
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_DuplicateComp, (AEGP_CompH compH, AEGP_CompH* new_compPH))
{
    if (!new_compPH)
        return A_Err_PARAMETER;
    *new_compPH = nullptr;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    Composition* copy = ctx().project.duplicateComposition(comp);
    if (!copy)
        return A_Err_GENERIC;
    *new_compPH = ctx().compHandle(copy);
    noteCall("new composition " + quoteForLog(copy->name().toStdString()));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetCompFrameDuration, (AEGP_CompH compH, A_Time* timePT))
{
    if (!timePT)
        return A_Err_PARAMETER;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    *timePT = comp->frameDuration();
    return A_Err_NONE;
}

STANDIN_MUTATOR(AEGP_CreateVectorLayerInComp, (AEGP_CompH compH, AEGP_LayerH* new_vec_layerPH))
{
    if (!new_vec_layerPH)
        return A_Err_PARAMETER;
    *new_vec_layerPH = nullptr;
    Composition* comp = nullptr;
    if (A_Err err = ctx().findComp(compH, comp))
        return err;
    Layer* layer = comp->createShapeLayer();
    if (!layer)
        return A_Err_GENERIC;
    *new_vec_layerPH = ctx().layerHandle(layer);
    noteCall("layer ID " + std::to_string(layer->id()));
    return A_Err_NONE;
}

} // namespace

const AEGP_CompSuite7* CompSuite7Table()
{
    static const AEGP_CompSuite7 table = [] {
        using Tag = CompSuite7Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetCompFromItem);
        STANDIN_SLOT(Tag, t, AEGP_GetItemFromComp);
        STANDIN_SLOT(Tag, t, AEGP_GetCompBGColor);
        STANDIN_SLOT(Tag, t, AEGP_GetCompFramerate);
        STANDIN_SLOT(Tag, t, AEGP_GetCompWorkAreaStart);
        STANDIN_SLOT(Tag, t, AEGP_GetCompWorkAreaDuration);
        STANDIN_SLOT(Tag, t, AEGP_SetCompWorkAreaStartAndDuration);
        STANDIN_SLOT(Tag, t, AEGP_GetNewCollectionFromCompSelection);
        STANDIN_SLOT(Tag, t, AEGP_SetSelection);
        STANDIN_SLOT(Tag, t, AEGP_CreateNullInComp);
        STANDIN_SLOT(Tag, t, AEGP_DuplicateComp);
        STANDIN_SLOT(Tag, t, AEGP_GetCompFrameDuration);
        STANDIN_SLOT(Tag, t, AEGP_CreateVectorLayerInComp);
        return t;
    }();
    return &table;
}

const AEGP_CompSuite5* CompSuite5Table()
{
    static const AEGP_CompSuite5 table = [] {
        auto t = makeSuiteTable<CompSuite5Tag>();
        STANDIN_SLOT(CompSuite5Tag, t, AEGP_GetCompFrameDuration);
        return t;
    }();
    return &table;
}

} // namespace standin
