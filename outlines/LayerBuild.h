// What the branches of the body build (masks, shape layer, text, layer box)
// share: the layer being built and the reads of its placement at time 0.
#pragma once

#include "host_api.h"

#include <box2d/box2d.h>

class QWidget;

struct LayerBuild {
    QWidget* parent = nullptr;
    int pluginId = 0;
    SPBasicSuite* basic = nullptr;
    AEGP_LayerH layer = nullptr;
    int layerIndex = 0;
    int objectType = 0;
    int compWidth = 0;        // already times the composition's pixel aspect ratio
    int compHeight = 0;
    double compAspect = 1.0;  // the composition's pixel aspect ratio
    int precision = 2;
    bool hull = false;
    AEGP_ColorVal labelColor{};
    // Set by the reads below when a value had to be replaced: the layer's
    // scale or outline is beyond what the world holds (no shape can be
    // built from it), or its placement (matrix, anchor point, rotation).
    mutable bool outlineUnrepresentable = false;
    mutable bool placementMended = false;
    // Set by the outline builders when a closed outline crossed itself or
    // the others too often and was filled as its convex hull.
    mutable bool outlineFilledAsHull = false;
};

// The layer's matrix, anchor point (layer pixels) and world scale at time 0.
// The scale is signed (a mirrored layer has a negative factor; its magnitude
// is at least 0.001), so that outlines scaled by it are mirrored like the
// layer. The shear is the rest of the matrix in the body's axes: a layer
// turned under a parent that scales unevenly is drawn sheared, and a layer
// point d pixels from the anchor lands, in the body's axes, at
// (sx dx + shear dy, sy dy) before layerRotation turns it (0 when no parent
// skews the layer, also up to the rounding of the angle). The outlines
// placed so land where the host draws them. What cannot be read stays at
// identity, (0, 0), (1, 1) and 0.
struct LayerPlacement {
    A_Matrix4 matrix{};
    b2Vec2 anchor{0.0f, 0.0f};
    float sx = 1.0f;
    float sy = 1.0f;
    float shear = 0.0f;
};

LayerPlacement readLayerPlacement(const LayerBuild& build);

// The build of `layer` that reading its placement and outlines needs, and
// no more: the suites, the plug-in and the layer.
LayerBuild layerBuildOf(SPBasicSuite* basic, int pluginId, AEGP_LayerH layer);

// A layer point through the matrix, x times the composition's pixel aspect
// ratio, in composition pixels; (0, 0) when it is not finite.
b2Vec2 compositionPoint(const LayerBuild& build, const A_Matrix4& matrix, b2Vec2 layerPoint);

// The layer point that compositionPoint takes to `compPoint`; `fallback`
// when the matrix cannot be inverted or the result is not finite.
b2Vec2 layerPoint(const LayerBuild& build, const A_Matrix4& matrix, b2Vec2 compPoint, b2Vec2 fallback);

// A composition point in world units.
b2Vec2 worldPoint(const LayerBuild& build, b2Vec2 compPoint);

// The layer's rotation in the composition at time 0 that goes with the
// signed scale (GetBodyRotationAtTime), radians; 0 when it cannot be read.
float layerRotation(const LayerBuild& build);

// Colour components within 0 to 1 (not-a-number as 0); alpha 1.
AEGP_ColorVal opaqueClamped(const AEGP_ColorVal& c);
