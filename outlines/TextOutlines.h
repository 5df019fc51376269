// The text branch of the body build: a text layer without masks becomes a
// body shaped by the glyph outlines of its text as the host draws them.
#pragma once

#include "outlines/LayerBuild.h"

#include "model/MyBody.h"

// Reads the glyph outlines at time 0, discretises them (or, with the hull
// option, takes the convex hull of all their vertices), triangulates the
// closed ones and writes the body: outlines in world units about the layer's
// anchor point in the composition, `angle` 0 with the layer's rotation in
// `initialRotation` and `rotationIsRelative` set, white colour. Returns false,
// having changed nothing, when the host gives no text outlines. A glyph
// outline whose reading fails is left out and no further one is read.
bool buildTextBody(const LayerBuild& build, MyBody& body, AEGP_ColorVal& bodyColor);
