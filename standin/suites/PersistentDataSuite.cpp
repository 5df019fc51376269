// "AEGP Persistent Data Suite" 3: the application blob, read and written
// through the persistent store. Getters never write a default back.
#include "SuiteContext.h"
#include "SuiteTables.h"

#include <cmath>

namespace standin {
namespace {

AEGP_PersistentBlobH applicationBlob() { return encodeHandle<AEGP_PersistentBlobH>(1); }

// The blob must be the application blob; section and key must be given.
A_Err checkKey(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ)
{
    if (!blobH || !sectionZ || !keyZ)
        return A_Err_PARAMETER;
    return blobH == applicationBlob() ? A_Err_NONE : A_Err_STRUCT;
}

A_Err store(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, const std::string& text)
{
    if (A_Err err = checkKey(blobH, sectionZ, keyZ))
        return err;
    noteCall("stored " + quoteForLog(text));
    return ctx().prefs->set(sectionZ, keyZ, text) ? A_Err_NONE : A_Err_GENERIC;
}

STANDIN_CALL(AEGP_GetApplicationBlob, (AEGP_PersistentBlobH * blobPH))
{
    if (!blobPH)
        return A_Err_PARAMETER;
    *blobPH = applicationBlob();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_DoesKeyExist,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, A_Boolean* existsPB))
{
    if (!existsPB)
        return A_Err_PARAMETER;
    if (A_Err err = checkKey(blobH, sectionZ, keyZ))
        return err;
    *existsPB = ctx().prefs->contains(sectionZ, keyZ);
    noteCall(*existsPB ? "exists" : "absent");
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetString,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, const A_char* defaultZ,
              A_u_long buf_sizeLu, A_char* bufZ, A_u_long* actual_buf_sizeLu))
{
    if (A_Err err = checkKey(blobH, sectionZ, keyZ))
        return err;
    if ((buf_sizeLu > 0 && !bufZ) || !actual_buf_sizeLu)
        return A_Err_PARAMETER;
    const std::optional<std::string> stored = ctx().prefs->value(sectionZ, keyZ);
    const std::string text = stored ? *stored : std::string(defaultZ ? defaultZ : "");
    if (buf_sizeLu > 0 && !copyToBuffer(text, bufZ, buf_sizeLu))
        noteCall("truncated to " + std::to_string(buf_sizeLu - 1) + " bytes");
    else if (buf_sizeLu == 0 && !text.empty())
        noteCall("no buffer");
    *actual_buf_sizeLu = A_u_long(text.size() + 1);
    noteCall(stored ? "read " + quoteForLog(text) : "default " + quoteForLog(text));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetLong,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, A_long defaultL,
              A_long* valuePL))
{
    if (!valuePL)
        return A_Err_PARAMETER;
    if (A_Err err = checkKey(blobH, sectionZ, keyZ))
        return err;
    const std::optional<std::string> stored = ctx().prefs->value(sectionZ, keyZ);
    A_long value = defaultL;
    const bool parsed = stored && parseLong(*stored, value);
    *valuePL = parsed ? value : defaultL;
    noteCall((parsed ? "read " : "default ") + std::to_string(*valuePL));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetFpLong,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, A_FpLong defaultF,
              A_FpLong* valuePF))
{
    if (!valuePF)
        return A_Err_PARAMETER;
    if (A_Err err = checkKey(blobH, sectionZ, keyZ))
        return err;
    const std::optional<std::string> stored = ctx().prefs->value(sectionZ, keyZ);
    double value = defaultF;
    const bool parsed = stored && parseDouble(*stored, value) && std::isfinite(value);
    *valuePF = parsed ? value : defaultF;
    noteCall((parsed ? "read " : "default ") + formatDouble(*valuePF));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_SetString,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, const A_char* valueZ))
{
    if (!valueZ)
        return A_Err_PARAMETER;
    return store(blobH, sectionZ, keyZ, valueZ);
}

STANDIN_CALL(AEGP_SetLong,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, A_long valueL))
{
    return store(blobH, sectionZ, keyZ, std::to_string(valueL));
}

STANDIN_CALL(AEGP_SetFpLong,
             (AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, A_FpLong valueF))
{
    if (!std::isfinite(valueF))
        return A_Err_PARAMETER;
    return store(blobH, sectionZ, keyZ, formatDouble17(valueF));
}

} // namespace

const AEGP_PersistentDataSuite3* PersistentDataSuite3Table()
{
    static const AEGP_PersistentDataSuite3 table = [] {
        using Tag = PersistentDataSuite3Tag;
        auto t = makeSuiteTable<Tag>();
        STANDIN_SLOT(Tag, t, AEGP_GetApplicationBlob);
        STANDIN_SLOT(Tag, t, AEGP_DoesKeyExist);
        STANDIN_SLOT(Tag, t, AEGP_GetString);
        STANDIN_SLOT(Tag, t, AEGP_GetLong);
        STANDIN_SLOT(Tag, t, AEGP_GetFpLong);
        STANDIN_SLOT(Tag, t, AEGP_SetString);
        STANDIN_SLOT(Tag, t, AEGP_SetLong);
        STANDIN_SLOT(Tag, t, AEGP_SetFpLong);
        return t;
    }();
    return &table;
}

} // namespace standin
