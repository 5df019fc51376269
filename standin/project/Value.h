// Values of property-tree leaves: numbers, 2-D and 3-D points, colours and
// mask/path outlines, plus the outline vertex model.
#pragma once

#include "host_api.h"

#include <vector>

namespace standin {

enum class ValueType {
    None,   // groups have no value
    OneD,   // one_d: v[0]
    TwoD,   // two_d: v[0], v[1]
    ThreeD, // three_d: v[0], v[1], v[2]
    Color,  // color: v[0] alpha, v[1] red, v[2] green, v[3] blue (AEGP_ColorVal order)
    Shape   // mask: a MaskOutline (mask shapes and vector paths)
};

// One outline vertex. The tangents are relative to the vertex (an in-tangent
// point is (x + inX, y + inY)).
struct MaskVertex {
    double x = 0, y = 0;
    double inX = 0, inY = 0;
    double outX = 0, outY = 0;
    bool operator==(const MaskVertex& o) const;
    bool operator!=(const MaskVertex& o) const { return !(*this == o); }
};

// An ordered vertex list, open or closed. A closed outline of N vertices has
// N segments, an open one N - 1 (an empty outline has none).
struct MaskOutline {
    std::vector<MaskVertex> vertices;
    bool open = false;

    int vertexCount() const { return int(vertices.size()); }
    int segmentCount() const;
    // What the host reports as "open": false for an outline without segments.
    bool reportsOpen() const { return open && segmentCount() > 0; }
    // The vertex the host answers for index `index`: 0..N-1, plus the segment
    // count S on a closed outline, which wraps to vertex 0. Any other index,
    // and every index of an outline without segments, gives false.
    bool vertexAt(int index, MaskVertex* out) const;

    bool operator==(const MaskOutline& o) const;
    bool operator!=(const MaskOutline& o) const { return !(*this == o); }
};

struct Value {
    ValueType type = ValueType::None;
    double v[4] = {0, 0, 0, 0};
    MaskOutline shape; // only for ValueType::Shape

    static Value oneD(double a);
    static Value twoD(double x, double y);
    static Value threeD(double x, double y, double z);
    static Value color(double red, double green, double blue, double alpha = 1.0);
    static Value color(const AEGP_ColorVal& c);
    static Value outline(const MaskOutline& o);
    // The default value of a type: zeros, an opaque black colour, an empty
    // closed outline.
    static Value zero(ValueType type);

    double x() const { return v[0]; }
    double y() const { return v[1]; }
    double z() const { return v[2]; }
    AEGP_ColorVal toColor() const { return AEGP_ColorVal{v[0], v[1], v[2], v[3]}; }

    // Every number (and every outline coordinate) is finite.
    bool isFinite() const;
    bool operator==(const Value& o) const;
    bool operator!=(const Value& o) const { return !(*this == o); }
};

int componentCount(ValueType type);

// a + (b - a) * f per component; colours per channel. Shapes step: a for
// f < 1, b for f >= 1. a and b must have the same type.
Value interpolate(const Value& a, const Value& b, double f);

// Fills the union member of the value's type: three_d (x, y, z) for ThreeD,
// two_d for TwoD, one_d, color. The rest of the union is zeroed. Shapes are
// not converted here (the outline handle belongs to the suites).
void toStreamVal(const Value& value, AEGP_StreamVal2* out);
// Reads a value of the given numeric type from the union (three_d for
// ThreeD, two_d for TwoD ...). False for None and Shape.
bool fromStreamVal(ValueType type, const AEGP_StreamVal2& in, Value* out);

} // namespace standin
