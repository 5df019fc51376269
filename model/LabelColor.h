// Which colour a layer's label gives it.
#pragma once

#include "host_api.h"

#include <cstddef>
#include <vector>

// The host's layer labels with a colour are 1 to 16; 0 is "no label".
constexpr int kLabelColorCount = 16;

// The entry of `table` (label order, entry k-1 for label k) that colours
// `label`, or null when the label has no colour: 0, outside 1..16, or past the
// end of the table.
inline const AEGP_ColorVal* LabelColorOf(int label, const std::vector<AEGP_ColorVal>& table)
{
    if (label < 1 || label > kLabelColorCount || static_cast<size_t>(label) > table.size())
        return nullptr;
    return &table[static_cast<size_t>(label - 1)];
}
