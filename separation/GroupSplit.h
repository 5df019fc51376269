// Where a separation by groups puts the items of a shape layer's contents.
#pragma once

#include "host_api.h"

#include <string>
#include <vector>

// Whether a top-level item of that match name draws an outline.
bool isDrawingItem(const std::string& matchName);

// One item of a shape layer's contents as readContentItem reads it.
struct ContentItem {
    std::string matchName;
    bool draws = false;
};

// Where separation by groups puts the items of a shape layer's contents
// (indices into them, in order).
struct GroupSplit {
    std::vector<A_long> above;  // groups that get a layer above the source
    std::vector<A_long> below;  // groups that get a layer below it
    std::vector<A_long> stay;   // groups and shapes that stay on the source only
    std::vector<A_long> kept;   // shapes outside groups that draw: the source keeps drawing them
    std::vector<bool> other;    // per item: neither a group nor a shape (fills, strokes, ...)

    // The groups that get a layer: those above, then those below.
    std::vector<A_long> separated() const;
    // The items of the layer made for group k: k and every item that is
    // neither a group nor a shape (per item, as getVectorShapes takes them).
    std::vector<bool> itemsOfLayerFor(A_long k) const;
    // The items the source keeps when it still draws: all but the separated
    // groups.
    std::vector<bool> itemsOfSource() const;
};

// The groups that draw get a layer each; other groups and the shapes outside
// groups stay on the source only; fills, strokes and the other items of the
// top level come with every layer. When the source keeps shapes that draw,
// the groups listed before them go above it and those after them below it;
// a group between two of them stays, as no layer of its own would be drawn
// between them.
GroupSplit planGroupSplit(const std::vector<ContentItem>& items);
