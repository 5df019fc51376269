#include "outlines/ShapePrimitives.h"

#include "model/CoordinateConversion.h"
#include "model/OutlineDiscretisation.h"
#include "outlines/HostStreams.h"
#include "outlines/ShapeItemPlacement.h"

#include <cmath>

namespace {

constexpr double kBezierCircle = 0.5522847498;
constexpr double kPi = 3.1415927410125732;      // single-precision pi
constexpr double kHalfPi = 1.5707963705062866;  // and its half
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr int kMaxStarPoints = 10000;

b2Vec2 pointOf(const AEGP_StreamVal2& v)
{
    return b2Vec2(float(v.two_d.x), float(v.two_d.y));
}

// Reads the named children of an item, in order, while nothing fails.
template <size_t N>
A_Err readValues(int pluginId, SPBasicSuite* basic, AEGP_StreamRefH item, const char* const (&names)[N],
                 AEGP_StreamVal2 (&values)[N])
{
    AEGP_SuiteHandler suites(basic);
    A_Err err = A_Err_NONE;
    for (size_t i = 0; !err && i < N; ++i)
        err = readChildValue(suites, pluginId, item, names[i], values[i]);
    return err;
}

// Appends a vertex given as an offset from the centre (item pixels), with
// its tangents in the item's axes.
void addVertex(ShapeDef& s, const ItemPlacement& at, b2Vec2 centre, b2Vec2 offset, b2Vec2 in, b2Vec2 out)
{
    s.points.push_back(at.place(centre + offset));
    s.inTangents.push_back(at.placeVector(in));
    s.outTangents.push_back(at.placeVector(out));
}

bool hasExtent(float w, float h)
{
    return std::isfinite(w) && std::isfinite(h) && w > 0.0f && h > 0.0f;
}

// Tangents along the direction from the previous to the next vertex of the
// same kind (every `stride`-th vertex from `first`), of length m.
void addRoundTangents(ShapeDef& s, const std::vector<b2Vec2>& offsets, const ItemPlacement& at, size_t first,
                      size_t stride, double m)
{
    const size_t count = offsets.size();
    for (size_t i = first; i < count; i += stride) {
        b2Vec2 d = offsets[(i + stride) % count] - offsets[(i + count - stride) % count];
        d.Normalize();
        const b2Vec2 t = float(m) * d;
        s.inTangents[i] = at.placeVector(-t);
        s.outTangents[i] = at.placeVector(t);
    }
}

}  // namespace

ShapeDef getShapeDefFromVectorShapeRect(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer, AEGP_StreamRefH item,
                                        std::vector<ShapeDef>& /*circles*/, std::vector<ShapeDef>& boxes,
                                        int precision, b2Vec2& centre, float& groupRotation)
{
    static const char* const names[] = {"ADBE Vector Rect Size", "ADBE Vector Rect Position",
                                        "ADBE Vector Rect Roundness"};
    AEGP_StreamVal2 v[3]{};
    ItemPlacement at;
    if (readValues(pluginId, basic, item, names, v) || readItemPlacement(pluginId, basic, layer, item, at))
        return ShapeDef();

    // Built in the item's own pixels; the groups then scale, turn and move
    // it as a whole, corners included.
    const b2Vec2 c = pointOf(v[1]);
    const float w = std::fabs(float(v[0].two_d.x));
    const float h = std::fabs(float(v[0].two_d.y));
    const double roundness = v[2].one_d;
    if (!hasExtent(w, h) || !at.drawsArea())
        return ShapeDef();

    ShapeDef s;
    s.closed = true;
    const float hw = 0.5f * w, hh = 0.5f * h;
    const b2Vec2 zero(0.0f, 0.0f);
    if (roundness > 0.0) {
        const double m = 0.5 * std::fmin(w, h);
        // A radius of half the shorter side would make neighbouring vertices meet.
        const float r = float(roundness >= m ? m - 0.001 : roundness);
        const float k = float(r * kBezierCircle);
        addVertex(s, at, c, b2Vec2(-hw + r, -hh), b2Vec2(-k, 0), zero);
        addVertex(s, at, c, b2Vec2(hw - r, -hh), zero, b2Vec2(k, 0));
        addVertex(s, at, c, b2Vec2(hw, -hh + r), b2Vec2(0, -k), zero);
        addVertex(s, at, c, b2Vec2(hw, hh - r), zero, b2Vec2(0, k));
        addVertex(s, at, c, b2Vec2(hw - r, hh), b2Vec2(k, 0), zero);
        addVertex(s, at, c, b2Vec2(-hw + r, hh), zero, b2Vec2(-k, 0));
        addVertex(s, at, c, b2Vec2(-hw, hh - r), b2Vec2(0, k), zero);
        addVertex(s, at, c, b2Vec2(-hw, -hh + r), zero, b2Vec2(0, -k));
        discretizeShape(s, precision);
    } else {
        for (const b2Vec2 corner : {b2Vec2(-hw, -hh), b2Vec2(hw, -hh), b2Vec2(hw, hh), b2Vec2(-hw, hh)})
            s.points.push_back(at.place(c + corner));
        // Groups that stretch a turned rectangle draw a parallelogram: still
        // four corners of one convex piece.
        s.isBox = true;
        boxes.push_back(s);
    }
    centre = at.place(c);
    groupRotation = at.groupRotation;
    return s;
}

ShapeDef getShapeDefFromVectorShapeEllipse(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                                           AEGP_StreamRefH item, std::vector<ShapeDef>& circles,
                                           std::vector<ShapeDef>& /*boxes*/, int precision, float sx, float sy,
                                           b2Vec2& centre, float& groupRotation)
{
    static const char* const names[] = {"ADBE Vector Ellipse Size", "ADBE Vector Ellipse Position"};
    AEGP_StreamVal2 v[2]{};
    ItemPlacement at;
    if (readValues(pluginId, basic, item, names, v) || readItemPlacement(pluginId, basic, layer, item, at))
        return ShapeDef();

    const b2Vec2 c = pointOf(v[1]);
    const double w = std::fabs(v[0].two_d.x);
    const double h = std::fabs(v[0].two_d.y);
    if (!hasExtent(float(w), float(h)) || !at.drawsArea())
        return ShapeDef();

    const float hw = float(0.5 * w), hh = float(0.5 * h);
    const float kx = float(0.5 * w * kBezierCircle), ky = float(0.5 * h * kBezierCircle);
    ShapeDef s;
    addVertex(s, at, c, b2Vec2(0, -hh), b2Vec2(-kx, 0), b2Vec2(kx, 0));
    addVertex(s, at, c, b2Vec2(hw, 0), b2Vec2(0, -ky), b2Vec2(0, ky));
    addVertex(s, at, c, b2Vec2(0, hh), b2Vec2(kx, 0), b2Vec2(-kx, 0));
    addVertex(s, at, c, b2Vec2(-hw, 0), b2Vec2(0, ky), b2Vec2(0, -ky));

    const GroupMatrix& groups = at.chain.toLayer;
    if (std::fabs(w - h) < 0.001 && sx == sy && at.pixelAspect == 1.0 && groups.keepsShapes()) {
        s.isCircle = true;
        s.radius = coords::getGLWCoordFromAE(float(sx * hw * groups.uniformScale()));
        circles.push_back(s);
    } else {
        s.closed = true;
        discretizeShape(s, precision);
    }
    centre = at.place(c);
    groupRotation = at.groupRotation;
    return s;
}

ShapeDef getShapeDefFromVectorShapePolystar(int pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                                            AEGP_StreamRefH item, int precision, float /*sx*/, float /*sy*/,
                                            b2Vec2& centre, float& groupRotation)
{
    static const char* const names[] = {"ADBE Vector Star Type",         "ADBE Vector Star Points",
                                        "ADBE Vector Star Position",     "ADBE Vector Star Rotation",
                                        "ADBE Vector Star Outer Radius", "ADBE Vector Star Outer Roundess"};
    static const char* const innerNames[] = {"ADBE Vector Star Inner Radius", "ADBE Vector Star Inner Roundess"};
    AEGP_StreamVal2 v[6]{};
    AEGP_StreamVal2 innerValues[2]{};
    if (readValues(pluginId, basic, item, names, v))
        return ShapeDef();
    const bool star = v[0].one_d >= 1.0 && v[0].one_d < 2.0;  // type 1 once truncated
    ItemPlacement at;
    if ((star && readValues(pluginId, basic, item, innerNames, innerValues))
        || readItemPlacement(pluginId, basic, layer, item, at))
        return ShapeDef();

    const double pointsRead = v[1].one_d;
    if (!(pointsRead >= 1.0 && pointsRead <= kMaxStarPoints))
        return ShapeDef();
    const int n = int(pointsRead);
    if (!at.drawsArea())
        return ShapeDef();
    const b2Vec2 c = pointOf(v[2]);
    const double spin = v[3].one_d * kRadiansPerDegree;
    const double outer = v[4].one_d;
    const double outerRound = v[5].one_d;
    const double inner = innerValues[0].one_d;
    const double innerRound = innerValues[1].one_d;
    if (!std::isfinite(outer) || !std::isfinite(spin) || (star && !std::isfinite(inner)))
        return ShapeDef();
    // Every vertex at the centre: no outline, as a rectangle of size 0.
    if (outer == 0.0 && (!star || inner == 0.0))
        return ShapeDef();

    // Offsets from the centre in the item's axes; the groups' scales and
    // rotations come with the placement.
    std::vector<b2Vec2> offsets;
    const float step = float(kPi) / float(n);
    for (int i = 0; i < n; ++i) {
        const double a = spin + (2.0 * (double(i) / n) * kPi - kHalfPi);
        offsets.emplace_back(float(outer * std::cos(a)), float(outer * std::sin(a)));
        if (star)
            offsets.emplace_back(float(inner * std::cos(a + step)), float(inner * std::sin(a + step)));
    }

    ShapeDef s;
    s.closed = true;
    for (const b2Vec2& d : offsets)
        s.points.push_back(at.place(c + d));
    const bool rounded = outerRound != 0.0 || (star && innerRound != 0.0);
    if (rounded) {
        s.inTangents.assign(offsets.size(), b2Vec2(0.0f, 0.0f));
        s.outTangents.assign(offsets.size(), b2Vec2(0.0f, 0.0f));
        const size_t stride = star ? 2 : 1;
        if (outerRound != 0.0)
            addRoundTangents(s, offsets, at, 0, stride, 0.5 * outer * (outerRound / 100.0));
        if (star && innerRound != 0.0)
            addRoundTangents(s, offsets, at, 1, stride, 0.5 * inner * (innerRound / 100.0));
        discretizeShape(s, precision);
    }
    centre = at.place(c);
    groupRotation = at.groupRotation;
    return s;
}
