// Layer-to-composition matrices. Row vectors, p_world = p_layer * M, the
// translation in row 3; no pixel aspect ratio.
//
//   M(layer, t) = T(-A) * S * R * T(P) * M(parent, t)
//
// with the layer's anchor A, scale S (percent), rotation θ (degrees, positive
// turns clockwise on screen with y down) and position P at t, post-expression
// and with separated position followers combined. 3-D layers are treated as
// 2-D (x and y rotation ignored).
#pragma once

#include "host_api.h"

namespace standin {

class Layer;

A_Matrix4 identityMatrix();
// a then b: p * a * b.
A_Matrix4 multiply(const A_Matrix4& a, const A_Matrix4& b);
// (x, y, 0, 1) * m; w is always 1 for these matrices.
void mapPoint(const A_Matrix4& m, double x, double y, double* outX, double* outY);

// The layer's own factor T(-A) * S * R * T(P), without its parents.
A_Matrix4 layerLocalMatrix(const Layer& layer, const A_Time& t);
// The full chain to composition space. A chain longer than the composition's
// layer count (a cycle, which the model refuses anyway) stops there.
A_Matrix4 layerToWorld(const Layer& layer, const A_Time& t);

} // namespace standin
