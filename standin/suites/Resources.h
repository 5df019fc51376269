// What the counted handles stand for: key batches, layer collections and
// text outlines. Each lives in a handle table of the suite context.
#pragma once

#include "project/Item.h"
#include "project/Layer.h"
#include "project/PropertyNode.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

// A key batch: keys waiting for EndAddKeyframes, in the order added.
struct KeyBatch {
    std::weak_ptr<PropertyNode> node;
    struct Pending {
        A_Time time{0, 1}; // composition time
        bool hasValue = false;
        Value value;
    };
    std::vector<Pending> pending;
    // Whether the pending times rise one after the other: a key after the
    // last one is then new without a search.
    bool rising = true;
};

// A snapshot of a composition's selection.
struct Collection {
    std::weak_ptr<Item> comp;
    std::vector<std::weak_ptr<Layer>> layers;
};

// One glyph path in composition pixels with absolute tangent points.
struct TextPath {
    std::vector<PF_PathVertex> vertices;
    bool open = false;
};

struct TextOutlineSet {
    std::vector<TextPath> paths;
    std::vector<PF_PathOutlinePtr> handles; // one per path, made with the set
};

// A path handle names path `index` of one live outline set.
struct PathRef {
    uint64_t set = 0;
    int index = 0;
};

} // namespace standin
