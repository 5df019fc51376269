// Whether an item of a layer's property tree (a mask, a shape group, a shape
// item, a fill) is switched on: its on/off switch, the dynamic-stream flag the
// host shows as the eye beside the item.
#pragma once

#include "host/AEGP_SuiteHandler.h"

A_Err isSwitchedOn(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, bool& on);
