// The settings of a mask that do not change its geometry.
#pragma once

#include "host_api.h"

namespace standin {

struct MaskAttributes {
    int mode = 1; // 1 = add
    bool inverted = false;
    AEGP_ColorVal color{1.0, 1.0, 1.0, 0.0}; // alpha, red, green, blue: yellow
    bool locked = false; // the opaque per-mask boolean of the mask suite
    bool operator==(const MaskAttributes& o) const;
};

} // namespace standin
