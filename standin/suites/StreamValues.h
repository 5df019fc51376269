// Moving values between property leaves and AEGP_StreamValue2: the layout of
// each value type, outlines handed out as owned handles, and the checks a
// value must pass before it is stored.
#pragma once

#include "project/PropertyNode.h"

#include <string>

namespace standin {

// Fills *out with a value read from `node` (streamH is set to `handle`).
// Mask and path values get a new outline handle that the value owns. Layer
// 3-D values read z = 0 on 2-D layers. Counts one live value.
void handOutValue(PropertyNode* node, AEGP_StreamRefH handle, const Value& value, AEGP_StreamValue2* out);

// Reads a value for `node` from the caller's union. `current` is the
// stream's value where the write lands: on 2-D layers it supplies z, which
// the plug-in does not own there. A_Err_PARAMETER when the value does not fit
// the leaf (an outline for a number, a number for an outline, a value read
// from a stream of another type, a stale outline, a non-finite number).
A_Err takeValue(const PropertyNode* node, const AEGP_StreamValue2& in, const Value& current, Value& out);

// Frees what a value owns. A_Err_PARAMETER for an outline freed before.
A_Err disposeValue(AEGP_StreamValue2* value);

// Tangent values (relative to their key) in the leaf's tangent layout.
void handOutTangent(const Value& tangent, AEGP_StreamRefH handle, AEGP_StreamValue2* out);
A_Err takeTangent(const PropertyNode* node, const AEGP_StreamValue2& in, Value& out);

// Whether the leaf holds a layer's 3-D value on a 2-D layer (z hidden).
bool hidesZ(const PropertyNode* node);

// "(1, 2, 0)", "50", "outline 4 vertices closed" ...
std::string describeValue(const Value& value);

} // namespace standin
