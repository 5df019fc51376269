// "AEGP Register Suite" 6: the plug-in's command and update-menu hooks.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_RegisterCommandHook,
             (AEGP_PluginID plugin_id, AEGP_HookPriority hook_priority, AEGP_Command command,
              AEGP_CommandHook command_hook_func, AEGP_CommandRefcon refconP))
{
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    if (!command_hook_func || command < 0)
        return A_Err_PARAMETER;
    ctx().commands.addCommandHook({plugin_id, hook_priority, command, command_hook_func, refconP});
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_RegisterUpdateMenuHook,
             (AEGP_PluginID plugin_id, AEGP_UpdateMenuHook update_menu_hook_func, AEGP_UpdateMenuRefcon refconP))
{
    if (A_Err err = ctx().checkPlugin(plugin_id))
        return err;
    if (!update_menu_hook_func)
        return A_Err_PARAMETER;
    ctx().commands.addUpdateMenuHook({plugin_id, update_menu_hook_func, refconP});
    return A_Err_NONE;
}

} // namespace

const AEGP_RegisterSuite5* RegisterSuite5Table()
{
    static const AEGP_RegisterSuite5 table = [] {
        auto t = makeSuiteTable<RegisterSuite5Tag>();
        STANDIN_SLOT(RegisterSuite5Tag, t, AEGP_RegisterCommandHook);
        STANDIN_SLOT(RegisterSuite5Tag, t, AEGP_RegisterUpdateMenuHook);
        return t;
    }();
    return &table;
}

} // namespace standin
