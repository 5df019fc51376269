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

// T(-A) * S * R * T(P) without the products of the factors' zeros: the
// same matrix, bit for bit, as the three multiplications give while every
// value is finite. Each sum starts from +0 and adds its terms in the order
// multiply() does; a term with a zero factor is then +0 or -0, and adding
// either to a running sum that starts from +0 never changes it (such a sum
// is never -0). False, with `m` unspecified, when a value is not finite:
// the multiplications then spread it as they do.
bool composeFinite(const Value& a, const A_Matrix4& scale, const A_Matrix4& rot, const Value& p, A_Matrix4& m)
{
    const double k0 = scale.mat[0][0];
    const double k1 = scale.mat[1][1];
    const double k2 = scale.mat[2][2];
    const double c = rot.mat[0][0];
    const double sn = rot.mat[0][1];
    const double minusSn = rot.mat[1][0];
    // T(-A) * S: the diagonal, and the translation row.
    const double d0 = 0.0 + k0;
    const double d1 = 0.0 + k1;
    const double d2 = 0.0 + k2;
    const double r0 = 0.0 + (-a.v[0]) * k0;
    const double r1 = 0.0 + (-a.v[1]) * k1;
    const double r2 = 0.0 + (-a.v[2]) * k2;
    // ... * R
    const double m00 = 0.0 + d0 * c;
    const double m01 = 0.0 + d0 * sn;
    const double m10 = 0.0 + d1 * minusSn;
    const double m11 = 0.0 + d1 * c;
    const double m22 = 0.0 + d2;
    const double m30 = (0.0 + r0 * c) + r1 * minusSn;
    const double m31 = (0.0 + r0 * sn) + r1 * c;
    const double m32 = 0.0 + r2;
    // ... * T(P)
    const double t30 = m30 + p.v[0];
    const double t31 = m31 + p.v[1];
    const double t32 = m32 + p.v[2];
    const double all[] = {k0, k1, k2, c, sn, minusSn, a.v[0], a.v[1], a.v[2], p.v[0], p.v[1], p.v[2],
                          d0, d1, d2, r0, r1, r2, m00, m01, m10, m11, m22, m30, m31, m32, t30, t31, t32};
    for (double v : all)
        if (!std::isfinite(v))
            return false;
    m = A_Matrix4{};
    m.mat[0][0] = m00;
    m.mat[0][1] = m01;
    m.mat[1][0] = m10;
    m.mat[1][1] = m11;
    m.mat[2][2] = m22;
    m.mat[3][0] = t30;
    m.mat[3][1] = t31;
    m.mat[3][2] = t32;
    m.mat[3][3] = 1.0;
    return true;
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

    A_Matrix4 m{};
    if (composeFinite(a, scale, rot, p, m))
        return m;
    m = translation(-a.v[0], -a.v[1], -a.v[2]);
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
