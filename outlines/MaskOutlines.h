// The outlines of a layer with masks.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "model/ShapeDef.h"

#include "host_api.h"

#include <vector>

class QWidget;

// Reads every mask of the active composition's layer `layerIndex` that is
// switched on at time 0 (one switched off draws nothing and counts for
// nothing) and leaves one group in `outlines`: a lone closed mask that is a
// circle (on a uniform scale) or a box stands as that circle or box; every
// other mask is discretised, replaced by its convex hull with the hull
// option, and, when closed, triangulated (a closed mask of two segments
// counts as open). The masks' modes and inversion are not read, so the
// closed masks make the layer's area by their geometry: masks that cross or
// lie apart add up, and a mask lying wholly inside another is a hole in it
// (as a Subtract mask drawn inside an Add mask is).
// Points are in world units relative to the anchor (layer pixels), times the
// world scale (sx, sy) and sheared by `shear` as LayerPlacement has them
// (the layer's matrix in the body's axes), not rotated; a negative factor
// mirrors them (boxes and triangles keep the engine's winding). A sheared
// box stays four corners, a parallelogram; a circle is one only without
// shear. Layer x coordinates take the pixel aspect
// ratio of the layer's source for an audio-video layer (object type 0), 1
// otherwise. The first host error ends the reading silently; the masks read
// until then are used. `tooManyPolygons` is always written;
// `triangulationFailed` is set when a closed mask crosses itself and never
// cleared. `unrepresentable`, when given, is set when a mask holds a value
// beyond single precision (the group is then empty). `hostError`, when
// given, receives the host error that ended the reading, or 0.
// `filledAsHull`, when given, is set when a closed mask crossed itself or
// the others too often and was filled as its convex hull. compWidth,
// compHeight and the matrix are not used.
void getMasks(QWidget* parent, int pluginId, SPBasicSuite* basic, int layerIndex, int objectType,
              std::vector<std::vector<ShapeDef>>& outlines, int compWidth, int compHeight, b2Vec2 anchor,
              int precision, bool hull, float sx, float sy, A_Matrix4 matrix, bool& tooManyPolygons,
              bool& triangulationFailed, bool* unrepresentable = nullptr, A_Err* hostError = nullptr,
              bool* filledAsHull = nullptr, float shear = 0.0f);

// One mask's outline, vertices repeated in it left out, x coordinates times
// `aspect`. `readable` is false when the mask has no outline to read. `open`
// also holds for a closed outline of two segments, which is taken as a
// line; `openPath`, when given, only for an outline the host has open.
A_Err readMaskOutline(const AEGP_SuiteHandler& suites, AEGP_MaskOutlineValH outline, double aspect, ShapeDef& s,
                      bool& open, bool& readable, bool* openPath = nullptr);

// The indices of the masks among the children of the mask group `parade`
// that are switched on, in order: the host draws the layer through those
// alone. Stops at the first host error.
A_Err switchedOnMasks(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH parade,
                      std::vector<A_long>& shown);

// The body of each copy of the layer holding one of the masks switched on
// among the children of the mask group `parade` alone, in their order: the
// one group getMasks makes of it with `precision` and no hull, the layer
// placed by `anchor`, (sx, sy) and `shear` and x taken times `aspect`. The
// first host error is returned.
A_Err readLoneMaskBodies(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parade,
                         double aspect, b2Vec2 anchor, float sx, float sy, float shear, int precision,
                         std::vector<std::vector<ShapeDef>>& bodies);
