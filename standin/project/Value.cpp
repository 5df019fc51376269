#include "project/Value.h"

#include <cmath>
#include <cstring>

namespace standin {

bool MaskVertex::operator==(const MaskVertex& o) const
{
    return x == o.x && y == o.y && inX == o.inX && inY == o.inY && outX == o.outX && outY == o.outY;
}

int MaskOutline::segmentCount() const
{
    const int n = vertexCount();
    if (n == 0)
        return 0;
    return open ? n - 1 : n;
}

bool MaskOutline::vertexAt(int index, MaskVertex* out) const
{
    const int s = segmentCount();
    if (s == 0 || index < 0)
        return false;
    if (index == s && !open)
        index = 0; // the closing vertex of a closed outline is vertex 0
    if (index >= vertexCount())
        return false;
    if (out)
        *out = vertices[size_t(index)];
    return true;
}

bool MaskOutline::operator==(const MaskOutline& o) const
{
    return open == o.open && vertices == o.vertices;
}

Value Value::oneD(double a)
{
    Value v;
    v.type = ValueType::OneD;
    v.v[0] = a;
    return v;
}

Value Value::twoD(double x, double y)
{
    Value v;
    v.type = ValueType::TwoD;
    v.v[0] = x;
    v.v[1] = y;
    return v;
}

Value Value::threeD(double x, double y, double z)
{
    Value v;
    v.type = ValueType::ThreeD;
    v.v[0] = x;
    v.v[1] = y;
    v.v[2] = z;
    return v;
}

Value Value::color(double red, double green, double blue, double alpha)
{
    return color(AEGP_ColorVal{alpha, red, green, blue});
}

Value Value::color(const AEGP_ColorVal& c)
{
    Value v;
    v.type = ValueType::Color;
    v.v[0] = c.alpha;
    v.v[1] = c.red;
    v.v[2] = c.green;
    v.v[3] = c.blue;
    return v;
}

Value Value::outline(const MaskOutline& o)
{
    Value v;
    v.type = ValueType::Shape;
    v.shape = o;
    return v;
}

Value Value::zero(ValueType type)
{
    Value v;
    v.type = type;
    if (type == ValueType::Color)
        v.v[0] = 1.0;
    return v;
}

int componentCount(ValueType type)
{
    switch (type) {
    case ValueType::OneD: return 1;
    case ValueType::TwoD: return 2;
    case ValueType::ThreeD: return 3;
    case ValueType::Color: return 4;
    case ValueType::None:
    case ValueType::Shape: break;
    }
    return 0;
}

bool Value::isFinite() const
{
    for (double d : v)
        if (!std::isfinite(d))
            return false;
    for (const MaskVertex& m : shape.vertices)
        if (!std::isfinite(m.x) || !std::isfinite(m.y) || !std::isfinite(m.inX) || !std::isfinite(m.inY)
            || !std::isfinite(m.outX) || !std::isfinite(m.outY))
            return false;
    return true;
}

bool Value::operator==(const Value& o) const
{
    if (type != o.type)
        return false;
    if (type == ValueType::Shape)
        return shape == o.shape;
    for (int i = 0; i < componentCount(type); ++i)
        if (v[i] != o.v[i])
            return false;
    return true;
}

Value interpolate(const Value& a, const Value& b, double f)
{
    if (a.type == ValueType::Shape || a.type != b.type)
        return f >= 1.0 ? b : a;
    Value r = a;
    for (int i = 0; i < componentCount(a.type); ++i)
        r.v[i] = a.v[i] + (b.v[i] - a.v[i]) * f;
    return r;
}

void toStreamVal(const Value& value, AEGP_StreamVal2* out)
{
    if (!out)
        return;
    std::memset(out, 0, sizeof(*out));
    switch (value.type) {
    case ValueType::OneD: out->one_d = value.v[0]; break;
    case ValueType::TwoD: out->two_d = AEGP_TwoDVal{value.v[0], value.v[1]}; break;
    case ValueType::ThreeD: out->three_d = AEGP_ThreeDVal{value.v[0], value.v[1], value.v[2]}; break;
    case ValueType::Color: out->color = value.toColor(); break;
    case ValueType::None:
    case ValueType::Shape: break;
    }
}

bool fromStreamVal(ValueType type, const AEGP_StreamVal2& in, Value* out)
{
    if (!out)
        return false;
    switch (type) {
    case ValueType::OneD: *out = Value::oneD(in.one_d); return true;
    case ValueType::TwoD: *out = Value::twoD(in.two_d.x, in.two_d.y); return true;
    case ValueType::ThreeD: *out = Value::threeD(in.three_d.x, in.three_d.y, in.three_d.z); return true;
    case ValueType::Color: *out = Value::color(in.color); return true;
    case ValueType::None:
    case ValueType::Shape: break;
    }
    return false;
}

} // namespace standin
