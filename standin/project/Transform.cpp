#include "project/Transform.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "project/PropertyNode.h"

#include <cmath>

namespace standin {

A_Matrix4 identityMatrix()
{
    A_Matrix4 m{};
    for (int i = 0; i < 4; ++i)
        m.mat[i][i] = 1.0;
    return m;
}

A_Matrix4 multiply(const A_Matrix4& a, const A_Matrix4& b)
{
    A_Matrix4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a.mat[i][k] * b.mat[k][j];
            r.mat[i][j] = s;
        }
    return r;
}

void mapPoint(const A_Matrix4& m, double x, double y, double* outX, double* outY)
{
    const double ox = x * m.mat[0][0] + y * m.mat[1][0] + m.mat[3][0];
    const double oy = x * m.mat[0][1] + y * m.mat[1][1] + m.mat[3][1];
    if (outX)
        *outX = ox;
    if (outY)
        *outY = oy;
}

namespace {

A_Matrix4 translation(double x, double y, double z)
{
    A_Matrix4 m = identityMatrix();
    m.mat[3][0] = x;
    m.mat[3][1] = y;
    m.mat[3][2] = z;
    return m;
}

Value streamValue(const PropertyNode* node, const A_Time& t, const Value& fallback)
{
    return node ? node->valueAt(t, false) : fallback;
}

} // namespace

A_Matrix4 layerLocalMatrix(const Layer& layer, const A_Time& t)
{
    const Layer::PlacingLeaves& leaves = layer.placingLeaves();
    const Value a = streamValue(leaves.anchor, t, Value::threeD(0, 0, 0));
    const Value p = streamValue(leaves.position, t, Value::threeD(0, 0, 0));
    const Value s = streamValue(leaves.scale, t, Value::threeD(100, 100, 100));
    const Value r = streamValue(leaves.rotation, t, Value::oneD(0));

    A_Matrix4 scale = identityMatrix();
    scale.mat[0][0] = s.v[0] / 100.0;
    scale.mat[1][1] = s.v[1] / 100.0;
    scale.mat[2][2] = s.v[2] / 100.0;

    const double theta = r.v[0] * M_PI / 180.0;
    A_Matrix4 rot = identityMatrix();
    rot.mat[0][0] = std::cos(theta);
    rot.mat[0][1] = std::sin(theta);
    rot.mat[1][0] = -std::sin(theta);
    rot.mat[1][1] = std::cos(theta);

    A_Matrix4 m = translation(-a.v[0], -a.v[1], -a.v[2]);
    m = multiply(m, scale);
    m = multiply(m, rot);
    return multiply(m, translation(p.v[0], p.v[1], p.v[2]));
}

A_Matrix4 layerToWorld(const Layer& layer, const A_Time& t)
{
    A_Matrix4 m = layerLocalMatrix(layer, t);
    const int limit = layer.composition() ? layer.composition()->layerCount() : 0;
    int steps = 0;
    for (const Layer* p = layer.parent(); p && steps < limit; p = p->parent(), ++steps)
        m = multiply(m, layerLocalMatrix(*p, t));
    return m;
}

} // namespace standin
