// "AEGP Utility Suite" 7 (reports) and 11 (undo groups).
#include "SuiteContext.h"
#include "SuiteTables.h"

#include <cstdio>

namespace standin {
namespace {

STANDIN_CALL(AEGP_ReportInfo, (AEGP_PluginID plugin_id, const A_char* info_stringZ))
{
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    if (!info_stringZ)
        return A_Err_PARAMETER;
    ctx().reports.push_back(info_stringZ);
    std::fprintf(stderr, "standin: plug-in reports: %s\n", info_stringZ);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_StartUndoGroup, (const A_char* undo_nameZ))
{
    if (!undo_nameZ)
        return A_Err_PARAMETER;
    const CallRecord* r = ctx().log.record(ctx().callTicket);
    // An outermost group keeps the project as it was, for the host's undo.
    std::string before;
    if (ctx().undo.depth() == 0) {
        const QByteArray dump = ctx().project.toJson();
        before.assign(dump.constData(), size_t(dump.size()));
    }
    ctx().undo.start(undo_nameZ, r ? r->sequence : 0, std::move(before));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_EndUndoGroup, ())
{
    const CallRecord* r = ctx().log.record(ctx().callTicket);
    return ctx().undo.end(r ? r->sequence : 0) ? A_Err_NONE : A_Err_GENERIC;
}

} // namespace

const AEGP_UtilitySuite3* UtilitySuite3Table()
{
    static const AEGP_UtilitySuite3 table = [] {
        auto t = makeSuiteTable<UtilitySuite3Tag>();
        STANDIN_SLOT(UtilitySuite3Tag, t, AEGP_ReportInfo);
        return t;
    }();
    return &table;
}

const AEGP_UtilitySuite5* UtilitySuite5Table()
{
    static const AEGP_UtilitySuite5 table = [] {
        auto t = makeSuiteTable<UtilitySuite5Tag>();
        STANDIN_SLOT(UtilitySuite5Tag, t, AEGP_StartUndoGroup);
        STANDIN_SLOT(UtilitySuite5Tag, t, AEGP_EndUndoGroup);
        return t;
    }();
    return &table;
}

} // namespace standin
