#include "host/EntryPoint.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "host/PluginGlobals.h"
#include "host/ZolvarGUI.h"

namespace {

const char kMenuText[] = "Zolvar 2...";
const char kRegisterFailure[] = "Zolvar Error: Could not register command hook.";

// Every function the host calls returns an error code: nothing may be thrown
// into the host, which is C.
template <class F>
A_Err Guarded(F&& f)
{
    try {
        return f();
    } catch (...) {
        return ErrorFromCurrentException();
    }
}

A_Err RegisterCommand()
{
    AEGP_SuiteHandler suites(sP);
    A_Err err = suites.CommandSuite1()->AEGP_GetUniqueCommand(&S_Zolvar_cmd);
    if (!err && S_Zolvar_cmd)
        err = suites.CommandSuite1()->AEGP_InsertMenuCommand(S_Zolvar_cmd, kMenuText, AEGP_Menu_COMPOSITION,
                                                             AEGP_MENU_INSERT_AT_BOTTOM);
    if (!err)
        err = suites.RegisterSuite5()->AEGP_RegisterCommandHook(S_my_id, AEGP_HP_BeforeAE, AEGP_Command_ALL,
                                                                 CommandHook, nullptr);
    if (!err)
        err = suites.RegisterSuite5()->AEGP_RegisterUpdateMenuHook(S_my_id, UpdateMenuHook, nullptr);
    return err;
}

A_Err UpdateMenu()
{
    AEGP_SuiteHandler suites(sP);
    AEGP_ItemH item = nullptr;
    AEGP_ItemType type = AEGP_ItemType_NONE;
    A_Err err = suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (!err && item)
        err = suites.ItemSuite8()->AEGP_GetItemType(item, &type);
    if (!err) {
        if (item && type == AEGP_ItemType_COMP)
            err = suites.CommandSuite1()->AEGP_EnableCommand(S_Zolvar_cmd);
        else
            err = suites.CommandSuite1()->AEGP_DisableCommand(S_Zolvar_cmd);
    }
    return err;
}

} // namespace

extern "C" {

A_Err EntryPointFunc(SPBasicSuite* pica_basicP, A_long major_versionL, A_long minor_versionL,
                     AEGP_PluginID aegp_plugin_id, AEGP_GlobalRefcon* /*global_refconP*/)
{
    sP = pica_basicP;
    S_my_id = aegp_plugin_id;
    ae_major_version = major_versionL;
    ae_minor_version = minor_versionL;

    const A_Err err = Guarded(RegisterCommand);
    if (err) {
        // The report's own result does not change what the host is told.
        Guarded([] {
            AEGP_SuiteHandler suites(sP);
            return suites.UtilitySuite3()->AEGP_ReportInfo(S_my_id, kRegisterFailure);
        });
    }
    return err;
}

A_Err UpdateMenuHook(AEGP_GlobalRefcon /*plugin_refconP*/, AEGP_UpdateMenuRefcon /*refconP*/,
                     AEGP_WindowType /*active_window*/)
{
    return Guarded(UpdateMenu);
}

A_Err CommandHook(AEGP_GlobalRefcon /*plugin_refconP*/, AEGP_CommandRefcon /*refconP*/, AEGP_Command command,
                  AEGP_HookPriority /*hook_priority*/, A_Boolean /*already_handledB*/, A_Boolean* handledPB)
{
    if (S_Zolvar_cmd == 0 || command != S_Zolvar_cmd)
        return A_Err_NONE;
    if (handledPB)
        *handledPB = 1;
    return Guarded(OpenZolvarGUI);
}

} // extern "C"
