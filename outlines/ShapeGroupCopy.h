// Rebuilding a shape group item by item in another shape layer: its transform,
// and the rectangles, ellipses, stars, polygons, paths, merge filters, strokes
// and fills inside it, nested groups included. Values are copied as they are
// at time 0 after expressions, without keys.
//
// Every copier adds the item to `contents` (an "ADBE Vectors Group"), copies
// its listed properties by match name, notes each host call in the trail and
// returns the first error. A stroke or fill that fails is left as far as it
// came and does not count as a failure.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "outlines/SeparationSupport.h"

struct ShapeCopy {
    const AEGP_SuiteHandler& suites;
    AEGP_PluginID pluginId;
    CallTrail& trail;
};

// Groups nested deeper than this fail the copy.
constexpr int kMaxGroupNesting = 64;

// Copies `group` (an "ADBE Vector Group") into the new group whose contents
// and transform are given.
A_Err addVectorShape(const ShapeCopy& copy, AEGP_StreamRefH group, AEGP_StreamRefH contents,
                     AEGP_StreamRefH transform, int nesting = 0);
A_Err setVectorShapeTransform(const ShapeCopy& copy, AEGP_StreamRefH source, AEGP_StreamRefH destination);
A_Err addRectangleShape(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addEllipseShape(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addStarShape(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addPolygonShape(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addPathShape(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addFilterMerge(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addStroke(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);
A_Err addFill(const ShapeCopy& copy, AEGP_StreamRefH item, AEGP_StreamRefH contents);

// Adds a group named like `group` to `contents` and copies `group` into it.
A_Err addNamedGroup(const ShapeCopy& copy, AEGP_StreamRefH group, AEGP_StreamRefH contents, int nesting = 0);
