#include "outlines/StreamSwitch.h"

A_Err isSwitchedOn(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, bool& on)
{
    AEGP_DynStreamFlags flags = 0;
    const A_Err err = suites.DynamicStreamSuite4()->AEGP_GetDynamicStreamFlags(stream, &flags);
    on = !err && (flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL) != 0;
    return err;
}
