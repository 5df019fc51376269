// The outlines of a shape layer: a depth-first walk over the layer's
// "ADBE Root Vectors Group" that hands every rectangle, ellipse, star or
// polygon and path to its reader, takes the last fill or stroke colour met,
// and turns the items into the outline list of one body.
#pragma once

#include "model/ShapeDef.h"

#include "host_api.h"

#include <vector>

class QWidget;

// Fills `outlines` with one group: circles, boxes, open outlines, then the
// triangles of the closed outlines (or of their convex hull when the hull
// option is on and the first item read is a closed outline that is neither a
// box nor a circle; the hull then stands for every item, circles and boxes
// included). Points are in world units about the centre of the last item
// read, in the frame of a body turned by the layer's rotation (the one that
// goes with its signed scale, GetBodyRotationAtTime): exactly where the host
// draws the items. Only the size of (sx, sy) counts.
//
// `outlines` is left empty when no item yields an outline; the other outputs
// then keep what they held. Otherwise: `color` the last fill or stroke colour
// (unchanged when there is none), `tooManyPolygons` set from the triangle
// count, `triangulationFailed` set (never cleared) when a closed outline
// crosses itself, `centre` the last item's centre in composition pixels,
// `groupRotation` its group rotation, `isPath` whether it is a path, and
// `anchor` the last path's anchor (see ShapePath.h). compWidth, compHeight
// and the matrix are not used. `unrepresentable`, when given, is set when an
// item holds a value beyond single precision (no outline is then left);
// `filledAsHull`, when given, when a closed outline crossed itself or the
// others too often and was filled as its convex hull.
//
// The closed outlines fill as the host paints them: a fill paints every
// shape listed before it in its group, those of the groups before it
// included (whatever fills they hold), together, by its "ADBE Vector Fill
// Rule" (1 non-zero, 2 even-odd); what the fills paint adds up. Shapes that
// no fill paints fill non-zero with the other such shapes of their group.
//
// `painted`, when given, asks for what a copy of the layer holding only some
// of its items paints rather than for its body (see PaintedCopy).
struct PaintedCopy;
void getVectorShapes(QWidget* parent, int pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                     std::vector<std::vector<ShapeDef>>& outlines, int compWidth, int compHeight, b2Vec2& anchor,
                     int precision, bool useConvexHull, float sx, float sy, A_Matrix4 matrix, AEGP_ColorVal& color,
                     bool& tooManyPolygons, bool& triangulationFailed, b2Vec2& centre, float& groupRotation,
                     bool& isPath, bool* unrepresentable = nullptr, bool* filledAsHull = nullptr,
                     PaintedCopy* painted = nullptr);

// What a copy of the layer that holds only some of its items paints. Its
// outlines are those of the items `items` names (entry i for item i of the
// layer's contents; those beyond it are not read). An open outline that a
// fill paints is filled as the fill paints it, closed by a straight line back
// to its start, besides staying a line (a body keeps it a line).
struct PaintedCopy {
    const std::vector<bool>* items = nullptr;
    // Set when a non-zero fill paints an outline that crosses or touches
    // itself so that the triangles, which follow how often each outline is
    // crossed, not how it winds, miss or add what the fill paints: the
    // outline winds round some place twice (a pentagram's centre, a coil's
    // that meets its closing line at a vertex), or the fill paints it with
    // other outlines and it crosses itself or winds round places both ways.
    bool windingUnheld = false;
    // The outlines other than circles and boxes as drawn, before they are
    // welded and triangulated (see AssembledOutlines): what its strokes
    // follow.
    std::vector<ShapeDef> drawn;
    // Some outline it draws is too small to leave a piece in the body
    // (AssembledOutlines::outlineDropped).
    bool outlineDropped = false;
};

// Visits child `index` of `parent` and, for a group, its children in order.
// Each reader's outline of more than one point becomes one inner list of
// `groups`.
void getVectorShape(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, std::vector<std::vector<ShapeDef>>& groups,
                    std::vector<ShapeDef>& circles, std::vector<ShapeDef>& boxes, int index, AEGP_StreamRefH parent,
                    int compWidth, int compHeight, int precision, bool useConvexHull, float sx, float sy,
                    AEGP_ColorVal& color, b2Vec2& centre, b2Vec2& anchor, float& groupRotation, bool& isPath);
