#include "host/PluginGlobals.h"

SPBasicSuite* sP = nullptr;
AEGP_PluginID S_my_id = 0;
AEGP_Command S_Zolvar_cmd = 0;
A_long ae_major_version = 0;
A_long ae_minor_version = 0;
