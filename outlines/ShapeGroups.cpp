#include "outlines/ShapeGroups.h"

#include "outlines/HostStreams.h"

#include <cmath>

namespace {

constexpr char kTransformGroup[] = "ADBE Vector Transform Group";
constexpr char kRootVectorsGroup[] = "ADBE Root Vectors Group";
constexpr double kRadiansPerDegree = 0.017453292519943295;

constexpr const char* kTransformValues[] = {"ADBE Vector Anchor", "ADBE Vector Position", "ADBE Vector Scale",
                                            "ADBE Vector Rotation"};

b2Vec2 pointOf(const AEGP_StreamVal2& v)
{
    return b2Vec2(float(v.two_d.x), float(v.two_d.y));
}

// Relative tolerance of keepsShapes: far below what a user sets by hand, far
// above the rounding of composed single-precision values.
constexpr double kShapeTolerance = 1e-5;

}  // namespace

GroupMatrix GroupMatrix::of(const Transform& t)
{
    const double r = t.rotation * kRadiansPerDegree;
    const double cs = std::cos(r), sn = std::sin(r);
    GroupMatrix m;
    m.a = cs * t.scale.x;
    m.b = -sn * t.scale.y;
    m.c = sn * t.scale.x;
    m.d = cs * t.scale.y;
    m.tx = t.position.x - (m.a * t.anchor.x + m.b * t.anchor.y);
    m.ty = t.position.y - (m.c * t.anchor.x + m.d * t.anchor.y);
    return m;
}

GroupMatrix GroupMatrix::after(const GroupMatrix& inner) const
{
    GroupMatrix m;
    m.a = a * inner.a + b * inner.c;
    m.b = a * inner.b + b * inner.d;
    m.c = c * inner.a + d * inner.c;
    m.d = c * inner.b + d * inner.d;
    m.tx = a * inner.tx + b * inner.ty + tx;
    m.ty = c * inner.tx + d * inner.ty + ty;
    return m;
}

void GroupMatrix::map(double x, double y, double& outX, double& outY) const
{
    outX = a * x + b * y + tx;
    outY = c * x + d * y + ty;
}

b2Vec2 GroupMatrix::map(b2Vec2 p) const
{
    double x = 0.0, y = 0.0;
    map(p.x, p.y, x, y);
    return b2Vec2(float(x), float(y));
}

b2Vec2 GroupMatrix::mapVector(b2Vec2 v) const
{
    return b2Vec2(float(a * v.x + b * v.y), float(c * v.x + d * v.y));
}

bool GroupMatrix::inverse(GroupMatrix& inv) const
{
    const double det = determinant();
    if (!std::isfinite(det) || det == 0.0)
        return false;
    inv.a = d / det;
    inv.b = -b / det;
    inv.c = -c / det;
    inv.d = a / det;
    inv.tx = -(inv.a * tx + inv.b * ty);
    inv.ty = -(inv.c * tx + inv.d * ty);
    return inv.isFinite();
}

bool GroupMatrix::isFinite() const
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) && std::isfinite(tx)
           && std::isfinite(ty);
}

bool GroupMatrix::keepsShapes() const
{
    // The images of the two axes: of equal length and at right angles.
    const double xx = a * a + c * c;
    const double yy = b * b + d * d;
    const double xy = a * b + c * d;
    const double size = std::fmax(xx, yy);
    return isFinite() && size > 0.0 && std::fabs(xx - yy) <= kShapeTolerance * size
           && std::fabs(xy) <= kShapeTolerance * size;
}

double GroupMatrix::uniformScale() const
{
    return std::sqrt(std::fabs(determinant()));
}

GroupTransformReader::GroupTransformReader(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId)
    : suites_(suites), pluginId_(pluginId), transform_(suites)
{
    for (auto& stream : values_)
        stream = std::make_unique<ScopedStream>(suites);
}

A_Err GroupTransformReader::open(AEGP_StreamRefH group)
{
    A_long count = 0;
    A_Err err = suites_.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count);
    for (A_long i = 0; !err && i < count; ++i) {
        ScopedStream child(suites_);
        std::string name;
        err = childByIndex(suites_, pluginId_, group, i, child);
        if (!err && child)
            err = matchNameOf(suites_, child.get(), name);
        if (!err && name == kTransformGroup)
            child.moveTo(transform_);
    }
    for (size_t k = 0; !err && transform_ && k < kValues; ++k) {
        err = childByMatchName(suites_, pluginId_, transform_.get(), kTransformValues[k], *values_[k]);
        if (!err && !*values_[k])
            err = A_Err_GENERIC;
        if (!err)
            err = read(k);
    }
    return err;
}

A_Err GroupTransformReader::read()
{
    A_Err err = A_Err_NONE;
    for (size_t k = 0; !err && transform_ && k < kValues; ++k) {
        A_Boolean varies = true;
        if (!variesKnown_)
            err = suites_.StreamSuite4()->AEGP_IsStreamTimevarying(values_[k]->get(), &varies);
        if (!variesKnown_)
            varies_[k] = varies;
        if (!err && varies_[k])
            err = read(k);
    }
    variesKnown_ = !err;
    return err;
}

Transform GroupTransformReader::transform() const
{
    Transform t;
    if (transform_) {
        t.anchor = pointOf(read_[0]);
        t.position = pointOf(read_[1]);
        t.scale = 0.01f * pointOf(read_[2]);
        t.rotation = read_[3].one_d;
    }
    return t;
}

A_Err GroupTransformReader::read(size_t k)
{
    ScopedStreamValue value(suites_);
    const A_Err err = value.read(pluginId_, values_[k]->get());
    if (!err)
        read_[k] = value.val();
    return err;
}

Transform getVectorGroupTransform(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH group)
{
    AEGP_SuiteHandler suites(basic);
    GroupTransformReader reader(suites, pluginId);
    return reader.open(group) ? Transform() : reader.transform();
}

A_Err accumulateGroupChain(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH item, GroupChain& chain,
                           float& groupRotation)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    ScopedStream current(suites);
    A_Err err = dynamic->AEGP_GetNewParentStreamRef(pluginId, item, current.out());
    while (!err && current) {
        const Transform t = getVectorGroupTransform(pluginId, basic, current.get());
        // The climb goes outwards: each group draws what the ones inside
        // it drew.
        chain.toLayer = GroupMatrix::of(t).after(chain.toLayer);
        chain.scale.Set(chain.scale.x * t.scale.x, chain.scale.y * t.scale.y);
        chain.rotation += t.rotation;

        A_long depth = 0;
        err = dynamic->AEGP_GetStreamDepth(current.get(), &depth);
        if (err || depth == 0)
            break;
        ScopedStream parent(suites);
        err = dynamic->AEGP_GetNewParentStreamRef(pluginId, current.get(), parent.out());
        std::string name;
        if (!err && parent)
            err = matchNameOf(suites, parent.get(), name);
        if (err || name == kRootVectorsGroup)
            break;
        parent.moveTo(current);
    }
    groupRotation = float(chain.rotation * kRadiansPerDegree);
    return err;
}
