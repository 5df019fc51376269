// Process-wide values the host hands the plug-in when it loads it. Written
// once by EntryPointFunc, read by the hooks and by every host-facing part.
#pragma once

#include "host_api.h"

extern SPBasicSuite* sP;          // the host's basic suite
extern AEGP_PluginID S_my_id;     // the plug-in's host ID
extern AEGP_Command S_Zolvar_cmd; // the "Zolvar 2..." menu command; 0 until obtained
extern A_long ae_major_version;   // the host's version
extern A_long ae_minor_version;
