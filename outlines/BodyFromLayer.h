// One layer of the active composition becomes the geometry and identity of
// one body record.
#pragma once

#include "model/MyBody.h"

#include "host_api.h"

#include <QString>

#include <vector>

class AEGP_SuiteHandler;
class QWidget;

// Writes entry `bodyIndex` of `bodies` from the active composition's layer
// `layerIndex` (object type `objectType`: 0 audio-video, 3 text, 4 shape), read
// at time 0: identity, frames and rotation flags always; then the outlines,
// centre, rotation, anchor and colours from the layer's masks when it has
// any, else from its text, its shape items, or, for an audio-video layer, its
// own box. A shape layer that yields no outline shows a message on `parent`
// (reportLayerGeometryError) and becomes a unit box at the origin. Fields not
// named keep their values; `bodyColor` receives the body's colour. Label k
// (1 to 16) of the body in `labels` picks entry k - 1 of `labelColors`; any
// other label means no label. `precision` goes to the discretisation (the
// body's meshPrecision + 2). `hostError`, when given, receives the first
// failed host call that left the body without its layer's identity or
// outline (the common reads, the masks, the layer box's source), or 0; the
// body is then incomplete and the caller decides whether to keep it.
void getBodyFromLayer(QWidget* parent, std::vector<MyBody>& bodies, int bodyIndex, int layerIndex, int objectType,
                      AEGP_ColorVal& bodyColor, int pluginId, SPBasicSuite* basicSuite, std::vector<char> labels,
                      std::vector<AEGP_ColorVal> labelColors, QString name, int precision, bool useConvexHull,
                      A_Err* hostError = nullptr);

// Rebuilds the outlines of body `bodyIndex` from its layer
// (`bodyLayerIndices[bodyIndex]`) with the body's own meshPrecision and
// useConvexHull, keeping what the user has set since: position (and the
// committed position), angle and colour. Does nothing when the body or its
// layer no longer exists. The core of SimulationView::recomputeShape.
void recomputeShape(QWidget* parent, std::vector<MyBody>& bodies, int bodyIndex,
                    const std::vector<int>& bodyLayerIndices, int pluginId, SPBasicSuite* basicSuite,
                    const std::vector<char>& labels, const std::vector<AEGP_ColorVal>& labelColors);

// The colour of an audio-video layer whose source is solid footage (opaque,
// components within 0 to 1); `other` for any other layer or on a host error.
AEGP_ColorVal layerSolidColor(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const AEGP_ColorVal& other);
