// Reading a layer's transform and timing from the host at a given time.
//
// Each query makes its own suite handler from the basic suite and returns the
// first host error (a later host call runs only while no earlier one failed).
// Every stream reference and stream value a query obtains is disposed before
// it returns. A missing suite throws (int 516) out of the query.
#pragma once

#include "host_api.h"

#include <box2d/b2_math.h>

#include <vector>

class AEGP_SuiteHandler;

struct Point4 {
    double x, y, z, w;
};

// The frame number that stands for "to the end of the composition".
constexpr A_long kLayerLastsToCompEnd = 100000;

// The active item and its composition, asked in that order; the second call
// runs only when the first succeeded. Returns the first host error; the item is
// not checked to be a composition (see GetActiveComp).
A_Err GetActiveItemComp(const AEGP_SuiteHandler& suites, AEGP_ItemH& item, AEGP_CompH& comp);

// The active composition's layer at `index`, with the active item: the chain
// of GetActiveItemComp then the layer by index, each call running only when
// the ones before succeeded. Returns the first host error; `layer` is only
// meaningful when that is none.
A_Err GetActiveLayer(const AEGP_SuiteHandler& suites, A_long index, AEGP_ItemH& item, AEGP_LayerH& layer);

// The active item in `item`; true only when there is one, it is a
// composition and no host call failed (the error itself is not reported).
bool GetActiveComp(const AEGP_SuiteHandler& suites, AEGP_ItemH& item);

// p through the row-vector matrix m; x, y and z are divided by the resulting w
// unless it is 0. Always returns 0.
A_Err GetWorldCoords(Point4 p, const A_Matrix4& m, Point4* out);

// Whether the active composition's layer `layerIndex` has a mask that is
// switched on (one switched off leaves the layer drawn as without it); false
// on any host failure.
bool doesLayerHaveMask(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex);

// The layer's scale at t with its parents' scales multiplied in, as signed
// factors (1 is 100 %): a mirrored layer, or one under a mirrored parent, has
// a negative factor. A layer without a readable scale counts as (1, 1); a
// failed parent read ends the walk with what was gathered.
A_Err GetSignedWorldScaleAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, double& fx,
                                double& fy, A_Time t);

// The same as absolute factors of at least 0.001.
A_Err GetWorldScaleAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, float& sx, float& sy,
                          A_Time t);

// The layer's scale in the composition at t (1 is 100 %), signed so that a
// mirrored layer stays mirrored: the rows of its layer-to-world matrix
// measured along the axes of GetBodyRotationAtTime's angle. That scale
// turned by that angle gives the matrix back whenever no parent skews the
// layer, also for a layer turned a quarter against an unevenly scaled
// parent, whose x and y stretches trade places (the product of the scales
// would not). Falls back to GetSignedWorldScaleAtTime when the matrix or the
// angle cannot be read or the result is not finite.
// `shear`, when given, receives what the matrix adds to that: how far one
// layer pixel down the layer's y axis lands along the body's x axis (1 is a
// pixel). It is 0 unless a parent skews the layer: a layer turned under a
// parent that scales unevenly is drawn sheared, its own turn coming before
// the parent's stretch. The scale, then the shear, then the angle give the
// whole matrix back. 0 in the fallback.
A_Err GetWorldScaleAlongBodyAxesAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, double& fx,
                                       double& fy, A_Time t, double* shear = nullptr);

// The layer's anchor point at t (layer pixels); (0, 0) when it cannot be read.
A_Err GetAnchorPointAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, b2Vec2& anchor,
                           A_Time t);

// The composition position of the anchor point of the active composition's
// layer `layerIndex` at t, x times the pixel aspect ratio. `out` is written
// only when the layer's matrix was read.
A_Err GetWorldPositionAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex, b2Vec2& out,
                             A_Time t);

// The layer's rotation in the composition at t, in degrees. `degrees` is
// written only when the layer's matrix was read.
A_Err GetWorldRotationAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, float& degrees,
                             A_Time t);

// The rotation that, together with the signed world scale, reproduces the
// layer's axes in the composition, in degrees within (-180, 180]: the world
// rotation, turned by half a turn when the signed world x scale is negative.
// A mirrored layer thus keeps its rotation and carries its mirror in the
// scale. `degrees` is written only when the layer's matrix was read.
A_Err GetBodyRotationAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, float& degrees,
                            A_Time t);

// Appends the first and the last frame of the active composition's layer
// `layerIndex`: the frames of its in-point and of its in-point plus duration,
// exact and truncated toward zero; a last frame at or past the composition's
// end is kLayerLastsToCompEnd. Both are appended even when a host call failed
// (from the times read so far). Without a usable frame duration the frames are
// (0, kLayerLastsToCompEnd) and an error is returned.
A_Err GetLayerStartEndFrames(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex,
                             std::vector<A_long>& frames);

// Depth-first search below child `childIndex` of `parent` for the first stream
// whose match name equals `matchName`. The found stream goes to `result` and
// is the caller's to dispose; every other stream met is disposed. Returns
// `found`; a search whose `found` is already true returns at once.
bool FindStreamByMatchName(AEGP_PluginID pluginId, SPBasicSuite* basic, const char* matchName,
                           AEGP_StreamRefH& result, AEGP_StreamRefH parent, A_long childIndex, bool& found);

// The position value (composition pixels, in its parent's space) of the active
// composition's layer `layerIndex` at the start of `frame`, the time divided by
// `timeDivider`. (0, 0) when the active item is not a composition or a host
// call fails.
b2Vec2 GetLayerPosAtFrame(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex, A_Time frameDuration,
                          A_long frame, double timeDivider);

// The velocity of that layer's anchor point in the composition over one
// divided frame from the start of `frame`, in world units (100 pixels) per
// second. (0, 0) when the active item is not a composition, a host call
// fails, or timeDivider x fps is not positive.
b2Vec2 GetLinearVelocityAtFrame(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex,
                                A_Time frameDuration, A_long frame, double timeDivider, double fps);
// The same for a layer already found in the active composition, whose
// pixel aspect ratio is `pixelAspect` (for callers asking about many layers).
b2Vec2 GetLayerLinearVelocityAtFrame(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                                     double pixelAspect, A_Time frameDuration, A_long frame, double timeDivider,
                                     double fps);
// The pieces of the queries above, for callers that keep what they read:
// the layer point `anchor` through the layer-to-world matrix, x times the
// pixel aspect ratio; the rotation of the layer's x axis through the matrix,
// in degrees; the velocity, in world units per second, of a point at p0 that
// is at p1 dt seconds later.
b2Vec2 WorldPointThrough(const A_Matrix4& matrix, b2Vec2 anchor, double pixelAspect);
// x and y of the value of a stream the caller holds, at t (composition time,
// expressions applied); the value is disposed.
A_Err GetStreamXYAtTime(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream,
                        const A_Time& t, double& x, double& y);
float WorldRotationThrough(const A_Matrix4& matrix);
b2Vec2 LinearVelocityBetween(b2Vec2 p0, b2Vec2 p1, double dt);
// The active composition's item, composition and pixel aspect ratio; an
// error when the active item is not a composition.
A_Err GetActiveCompAspect(SPBasicSuite* basic, AEGP_ItemH& item, AEGP_CompH& comp, double& pixelAspect);
