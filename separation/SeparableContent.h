// What a layer holds that layer separation splits: its masks, and for a shape
// layer the items directly inside its contents ("ADBE Root Vectors Group").
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "separation/SeparationSupport.h"
#include "separation/GroupSplit.h"
#include "separation/SeparationVerdicts.h"

#include <QString>

#include <string>
#include <vector>

class KeyedWork;

// Only what draws counts: a mask, group or shape that is switched off, or a
// group without any shape that is switched on, stays where it is.
struct SeparableContent {
    int masks = 0;         // children of "ADBE Mask Parade" that are switched on
    int topGroups = 0;     // top-level "ADBE Vector Group"s that draw (groupDraws)
    int topPaths = 0;      // top-level "ADBE Vector Shape - Group"s (paths outside any group) switched on
    int topDrawings = 0;   // top-level paths, rectangles, ellipses and stars (outside any group) switched on
    // How the layers a separation by groups would make (see
    // separateLayerShapes) meet; anything but Apart leaves the layer whole.
    GroupsMeet groupsMeet = GroupsMeet::Apart;
    // How the masks that are switched on meet, when there are several;
    // anything but Apart leaves them together.
    MasksMeet masksMeet = MasksMeet::Apart;
    // The first item switched on, at the top level or in a group switched on,
    // of a kind separation by groups does not model (see isModelledItem): its
    // name, or its match name when the host gives none. Empty when there is
    // none; a layer that holds one is not split by groups.
    QString unmodelledItem;
    // A group switched on lies kMaxGroupNesting groups deep, through groups
    // switched on: what it holds is not looked into, and the layer is not
    // split by groups.
    bool nestedTooDeep = false;
};

// How a layer is split.
enum class SeparationKind {
    None,            // nothing to split
    ShapeGroups,     // one shape layer per top-level group
    Masks,           // one copy of the layer per mask
    UngroupedShapes, // several shapes, none of them in a group: left as it is
};

// Whether the layer is offered for separation: it has more than one mask,
// their copies drawing what it draws (masksMeet Apart), or it is a shape
// layer without a mask that is switched on and with more than one top-level
// group or path, the layers split from it drawing apart.
bool hasSeveralOutlines(const SeparableContent& content, AEGP_ObjectType type);

// By why the layer qualifies: a shape layer without masks that has several
// top-level groups and paths, at least one a group, is split by groups,
// unless what the split layers would draw overlaps, when it is left as it is;
// else several masks that lie apart (masksMeet Apart) are split by masks,
// whatever the layer type (a shape layer's groups then come with each mask);
// else a shape layer without masks and with only ungrouped paths is left as
// it is. A layer whose masks meet in any other way keeps all of them.
//
// A shape layer with a mask is never split by groups: a layer with a mask
// becomes a body of its masks' outline, so every layer split from it would
// (keeping the mask, to look as before) become that same body, all of them
// stacked in one place.
SeparationKind separationKindOf(const SeparableContent& content, AEGP_ObjectType type);

// Why a layer that holds several outlines is not offered for separation, as
// the offer says it ("its masks ..."); empty when it is offered or holds only
// one outline.
QString whyNotSeparable(const SeparableContent& content, AEGP_ObjectType type);

// Reads the counts of a layer, the modes, inversion and animation of its
// masks that are switched on, how they meet when it has several plain Add
// masks that keep still (readMaskOverlap), the first item it holds that is
// not modelled (unmodelledItem), and, for a shape layer that would be split
// by groups, whether the split layers would draw over one another
// (separatedLayersMeet: the comparison of its keyed groups after time 0 is
// left in `keyed`, and groupsMeet says it was not begun until it has run). The
// contents are looked at for shape layers (object type 4) only. Every stream
// reference is given back; the first host error is returned.
A_Err readSeparableContent(const AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId,
                           AEGP_LayerH layer, AEGP_ObjectType type, SeparableContent& content, KeyedWork& keyed);

// Whether separation by groups models an item of that match name: groups, the
// four kinds of path, fills and strokes, and inside a group (`nested`) Merge
// Paths too, which joins only paths of its own group and draws no more than
// they do.
bool isModelledItem(const std::string& matchName, bool nested);

// Whether a shape group draws: it is switched on and holds, at any depth
// through groups that are switched on, a path, rectangle, ellipse or star that
// is switched on. The host call that fails, if one does, is noted on `trail`
// when one is given.
A_Err groupDraws(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group, bool& draws,
                 CallTrail* trail = nullptr, int nesting = 0);

// One item of a shape layer's contents: its match name, and whether it draws
// by itself (a group as groupDraws says, a shape when it is switched on;
// paints and other items never do).
A_Err readContentItem(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item,
                      std::string& matchName, bool& draws);
