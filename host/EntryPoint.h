// The plug-in's entry from the host and the two hooks it registers.
#pragma once

#include "host_api.h"

#define ZOLVAR_EXPORT __attribute__((visibility("default")))

extern "C" {

// Called once when the host loads the plug-in: keeps the basic suite, the
// plug-in ID and the host's version, adds "Zolvar 2..." to the Composition
// menu and registers the hooks. Returns the first host error.
ZOLVAR_EXPORT A_Err EntryPointFunc(SPBasicSuite* pica_basicP, A_long major_versionL, A_long minor_versionL,
                                   AEGP_PluginID aegp_plugin_id, AEGP_GlobalRefcon* global_refconP);

// Enables the command while the active item is a composition.
A_Err UpdateMenuHook(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                     AEGP_WindowType active_window);

// Runs the command: opens the main window for the active composition.
A_Err CommandHook(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP, AEGP_Command command,
                  AEGP_HookPriority hook_priority, A_Boolean already_handledB, A_Boolean* handledPB);

} // extern "C"
