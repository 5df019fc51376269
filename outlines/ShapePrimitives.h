// Readers of the shape items of a shape layer: each turns one item into one
// outline in composition pixels (x times the composition's pixel aspect
// ratio), placed through its group chain and the layer's layer-to-world
// matrix (ShapeItemPlacement.h) as the host draws it. The item is built in
// its own pixels and the groups scale, turn and move it as a whole: a group
// scale reaches corner radii and both star radii, and groups that stretch a
// turned item draw it sheared.
//
// On success a reader writes the item's centre (composition pixels) and its
// accumulated group rotation (radians), and appends a circle or a box that it
// makes to the matching list as well as returning it. When a host call fails,
// or the item has no extent, it returns an empty outline and writes nothing.
// The precision goes to discretizeShape.
#pragma once

#include "model/ShapeDef.h"

#include "host_api.h"

#include <vector>

// A rectangle: a box of four corners (roundness 0 or less; a parallelogram
// when the groups shear it), else a rounded rectangle of eight vertices,
// discretised. The corner radius is the roundness as read, at most just
// under half the shorter side, before the groups scale it.
ShapeDef getShapeDefFromVectorShapeRect(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                                        std::vector<ShapeDef>& circles, std::vector<ShapeDef>& boxes,
                                        int precision, b2Vec2& centre, float& groupRotation);

// An ellipse of four vertices with quarter-arc tangents. A circle (not
// closed, radius in world units) when its width and height agree within
// 0.001, the layer's world scale (sx, sy) and the groups' scale are uniform
// and the pixels are square; else discretised.
ShapeDef getShapeDefFromVectorShapeEllipse(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                                           AEGP_StreamRefH item, std::vector<ShapeDef>& circles,
                                           std::vector<ShapeDef>& boxes, int precision, float sx, float sy,
                                           b2Vec2& centre, float& groupRotation);

// A star (type 1: 2n vertices, outer ones first) or a polygon (n vertices),
// the first outer vertex straight up before any rotation. With a roundness
// the vertices get tangents and the outline is discretised. A star or
// polygon of radius 0 (both radii for a star) has no extent. sx and sy are
// not used.
ShapeDef getShapeDefFromVectorShapePolystar(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                                            AEGP_StreamRefH item, int precision, float sx, float sy, b2Vec2& centre,
                                            float& groupRotation);
