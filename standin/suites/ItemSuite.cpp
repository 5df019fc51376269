// "AEGP Item Suite" 13 and 11: the active item and item properties. Both
// versions share the implementations.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetActiveItem, (AEGP_ItemH * itemPH))
{
    if (!itemPH)
        return A_Err_PARAMETER;
    *itemPH = ctx().itemHandle(ctx().project.activeItem());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetItemType, (AEGP_ItemH itemH, AEGP_ItemType* item_typeP))
{
    if (!item_typeP)
        return A_Err_PARAMETER;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    *item_typeP = AEGP_ItemType(item->type());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetItemName, (AEGP_PluginID plugin_id, AEGP_ItemH itemH, AEGP_MemHandle* unicode_namePH))
{
    if (!unicode_namePH)
        return A_Err_PARAMETER;
    *unicode_namePH = nullptr;
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    *unicode_namePH = ctx().memory.create(item->name().toStdU16String());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetItemDuration, (AEGP_ItemH itemH, A_Time* durationPT))
{
    if (!durationPT)
        return A_Err_PARAMETER;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    *durationPT = inFrameScale(item->asComposition(), item->duration());
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetItemDimensions, (AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL))
{
    if (!widthPL || !heightPL)
        return A_Err_PARAMETER;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    *widthPL = item->width();
    *heightPL = item->height();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetItemPixelAspectRatio, (AEGP_ItemH itemH, A_Ratio* pix_aspect_ratioPRt))
{
    if (!pix_aspect_ratioPRt)
        return A_Err_PARAMETER;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    *pix_aspect_ratioPRt = item->pixelAspect();
    return A_Err_NONE;
}

// Version 11 offers only the slots the plug-in calls through it.
template <class Tag> typename Tag::Table itemTable(bool full)
{
    auto t = makeSuiteTable<Tag>();
    STANDIN_SLOT(Tag, t, AEGP_GetActiveItem);
    STANDIN_SLOT(Tag, t, AEGP_GetItemDimensions);
    STANDIN_SLOT(Tag, t, AEGP_GetItemPixelAspectRatio);
    if (full) {
        STANDIN_SLOT(Tag, t, AEGP_GetItemType);
        STANDIN_SLOT(Tag, t, AEGP_GetItemName);
        STANDIN_SLOT(Tag, t, AEGP_GetItemDuration);
    }
    return t;
}

} // namespace

const AEGP_ItemSuite8* ItemSuite8Table()
{
    static const AEGP_ItemSuite8 table = itemTable<ItemSuite8Tag>(true);
    return &table;
}

const AEGP_ItemSuite7* ItemSuite7Table()
{
    static const AEGP_ItemSuite7 table = itemTable<ItemSuite7Tag>(false);
    return &table;
}

} // namespace standin
