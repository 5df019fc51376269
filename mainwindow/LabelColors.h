// The fixed colours of the host's 16 layer labels. Entry k-1 is label k;
// label 0 (no label) has none. The host is never asked for them.
#pragma once

#include "host_api.h"
#include "model/LabelColor.h"

#include <vector>

// Empties colors, then appends the 16 label colours in label order, each
// with alpha 1.
void fillLabelColors(std::vector<AEGP_ColorVal>& colors);
