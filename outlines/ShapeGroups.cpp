#include "outlines/ShapeGroups.h"

#include "outlines/HostStreams.h"

namespace {

constexpr char kTransformGroup[] = "ADBE Vector Transform Group";
constexpr char kRootVectorsGroup[] = "ADBE Root Vectors Group";
constexpr double kRadiansPerDegree = 0.017453292519943295;

b2Vec2 pointOf(const AEGP_StreamVal2& v)
{
    return b2Vec2(float(v.two_d.x), float(v.two_d.y));
}

// The four values of one transform group; `t` is written only when all four
// were read.
A_Err readTransformGroup(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group,
                         Transform& t)
{
    AEGP_StreamVal2 anchor{}, position{}, scale{}, rotation{};
    A_Err err = readChildValue(suites, pluginId, group, "ADBE Vector Anchor", anchor);
    if (!err)
        err = readChildValue(suites, pluginId, group, "ADBE Vector Position", position);
    if (!err)
        err = readChildValue(suites, pluginId, group, "ADBE Vector Scale", scale);
    if (!err)
        err = readChildValue(suites, pluginId, group, "ADBE Vector Rotation", rotation);
    if (!err) {
        t.anchor = pointOf(anchor);
        t.position = pointOf(position);
        t.scale = 0.01f * pointOf(scale);
        t.rotation = rotation.one_d;
    }
    return err;
}

}  // namespace

Transform getVectorGroupTransform(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH group)
{
    AEGP_SuiteHandler suites(basic);
    Transform t;
    A_long count = 0;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count);
    for (A_long i = 0; !err && i < count; ++i) {
        ScopedStream child(suites);
        std::string name;
        err = childByIndex(suites, pluginId, group, i, child);
        if (!err && child)
            err = matchNameOf(suites, child.get(), name);
        if (!err && name == kTransformGroup)
            err = readTransformGroup(suites, pluginId, child.get(), t);
    }
    return t;
}

A_Err accumulateGroupChain(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_StreamRefH item, Transform& acc,
                           float& groupRotation)
{
    AEGP_SuiteHandler suites(basic);
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    ScopedStream current(suites);
    A_Err err = dynamic->AEGP_GetNewParentStreamRef(pluginId, item, current.out());
    while (!err && current) {
        const Transform t = getVectorGroupTransform(pluginId, basic, current.get());
        acc.anchor += t.anchor;
        acc.position += t.position;
        acc.scale.Set(acc.scale.x * t.scale.x, acc.scale.y * t.scale.y);
        acc.rotation += t.rotation;

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
    groupRotation = float(acc.rotation * kRadiansPerDegree);
    return err;
}
