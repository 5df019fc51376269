// The reader of a free path item of a shape layer (see ShapePrimitives.h for
// what all readers share).
#pragma once

#include "model/ShapeDef.h"

#include "host_api.h"

#include <vector>

// The path's vertices and tangents, placed like every other item. A vertex
// repeating an earlier one is skipped; a last vertex lying on the first (as
// the host gives them) is left out. A closed path that `isCircle` recognises,
// on uniform layer and group scales, is a circle; a closed path that `isBox`
// recognises is a box; both are flagged not closed. Anything else is
// discretised. `item` is the "ADBE Vector Shape" property itself.
//
// On success (two points or more) the centre becomes the centroid of the
// points (their mean for an open path) and the anchor the centroid of the
// path's own vertices in item pixels, times the groups' scales multiplied
// per axis.
ShapeDef getShapeDefFromVectorShapePath(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                                        std::vector<ShapeDef>& circles, std::vector<ShapeDef>& boxes,
                                        int precision, float sx, float sy, b2Vec2& centre, b2Vec2& anchor,
                                        float& groupRotation);
