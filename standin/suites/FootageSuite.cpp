// "AEGP Footage Suite" 11: the main footage of footage items, its signature,
// and the colour of solids.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetMainFootageFromItem, (AEGP_ItemH itemH, AEGP_FootageH* footagePH))
{
    if (!footagePH)
        return A_Err_PARAMETER;
    *footagePH = nullptr;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    Footage* footage = item->asFootage();
    if (!footage)
        return A_Err_PARAMETER;
    *footagePH = ctx().footageHandle(footage);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetFootageSignature, (AEGP_FootageH footageH, AEGP_FootageSignature* sigP))
{
    if (!sigP)
        return A_Err_PARAMETER;
    Footage* footage = nullptr;
    if (A_Err err = ctx().findFootage(footageH, footage))
        return err;
    *sigP = footage->signature();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetSolidFootageColor, (AEGP_ItemH itemH, A_Boolean proxyB, AEGP_ColorVal* colorP))
{
    (void)proxyB; // no proxies here
    if (!colorP)
        return A_Err_PARAMETER;
    Item* item = nullptr;
    if (A_Err err = ctx().findItem(itemH, item))
        return err;
    const Footage* footage = item->asFootage();
    if (!footage || footage->kind() != FootageKind::Solid)
        return A_Err_PARAMETER;
    *colorP = footage->color();
    return A_Err_NONE;
}

} // namespace

const AEGP_FootageSuite5* FootageSuite5Table()
{
    static const AEGP_FootageSuite5 table = [] {
        using Tag = FootageSuite5Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetMainFootageFromItem);
        STANDIN_SLOT(Tag, t, AEGP_GetFootageSignature);
        STANDIN_SLOT(Tag, t, AEGP_GetSolidFootageColor);
        return t;
    }();
    return &table;
}

} // namespace standin
