#include "host/LayerQueries.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostTime.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

double RatioValue(const A_Ratio& ratio)
{
    return ratio.den ? static_cast<double>(ratio.num) / ratio.den : 1.0;
}

A_long ClampToLong(int64_t value)
{
    return static_cast<A_long>(std::clamp<int64_t>(value, std::numeric_limits<A_long>::min(),
                                                   std::numeric_limits<A_long>::max()));
}

template <class StreamSuite>
A_Err ReadStreamXY(const StreamSuite* streams, AEGP_PluginID pluginId, AEGP_StreamRefH stream, const A_Time& t,
                   double& x, double& y)
{
    AEGP_StreamValue2 value{};
    A_Err err = streams->AEGP_GetNewStreamValue(pluginId, stream, AEGP_LTimeMode_CompTime, &t, false, &value);
    if (!err) {
        x = value.val.two_d.x;
        y = value.val.two_d.y;
        err = streams->AEGP_DisposeStreamValue(&value);
    }
    return err;
}

// x and y of a layer transform stream's value at t (composition time,
// expressions applied). The stream and the value are disposed.
template <class StreamSuite>
A_Err ReadLayerStreamXY(const StreamSuite* streams, AEGP_PluginID pluginId, AEGP_LayerH layer,
                        AEGP_LayerStream which, const A_Time& t, double& x, double& y)
{
    AEGP_StreamRefH stream = nullptr;
    A_Err err = streams->AEGP_GetNewLayerStream(pluginId, layer, which, &stream);
    if (!err)
        err = ReadStreamXY(streams, pluginId, stream, t, x, y);
    if (stream) {
        const A_Err disposeErr = streams->AEGP_DisposeStream(stream);
        if (!err)
            err = disposeErr;
    }
    return err;
}

// The layer's anchor point through its layer-to-world matrix at t, x times the
// pixel aspect ratio. `out` is written only when the matrix was read.
A_Err WorldAnchorPoint(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, SPBasicSuite* basic,
                       AEGP_LayerH layer, double pixelAspect, const A_Time& t, b2Vec2& out)
{
    b2Vec2 anchor(0.0f, 0.0f);
    GetAnchorPointAtTime(pluginId, basic, layer, anchor, t); // a failed read leaves (0, 0)
    A_Matrix4 matrix{};
    const A_Err err = suites.LayerSuite7()->AEGP_GetLayerToWorldXform(layer, &t, &matrix);
    if (!err)
        out = WorldPointThrough(matrix, anchor, pixelAspect);
    return err;
}

A_Err SearchMatchName(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, const char* matchName,
                      AEGP_StreamRefH& result, AEGP_StreamRefH parent, A_long childIndex, bool& found)
{
    if (found)
        return A_Err_NONE;
    const AEGP_DynamicStreamSuite4* dynamic = suites.DynamicStreamSuite4();
    AEGP_StreamRefH child = nullptr;
    A_Err err = dynamic->AEGP_GetNewStreamRefByIndex(pluginId, parent, childIndex, &child);
    if (!err && child) {
        A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE + 1] = {};
        err = dynamic->AEGP_GetMatchName(child, name);
        if (!err && std::strcmp(name, matchName) == 0) {
            result = child;
            child = nullptr;
        } else if (!err) {
            AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
            err = dynamic->AEGP_GetStreamGroupingType(child, &type);
            if (!err && (type == AEGP_StreamGroupingType_NAMED_GROUP ||
                         type == AEGP_StreamGroupingType_INDEXED_GROUP)) {
                A_long count = 0;
                err = dynamic->AEGP_GetNumStreamsInGroup(child, &count);
                for (A_long i = 0; !err && !found && i < count; ++i)
                    err = SearchMatchName(suites, pluginId, matchName, result, child, i, found);
            }
        }
        if (child) {
            const A_Err disposeErr = suites.StreamSuite4()->AEGP_DisposeStream(child);
            if (!err)
                err = disposeErr;
        }
    }
    if (result)
        found = true;
    return err;
}

} // namespace

A_Err GetActiveItemComp(const AEGP_SuiteHandler& suites, AEGP_ItemH& item, AEGP_CompH& comp)
{
    A_Err err = suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (!err)
        err = suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    return err;
}

A_Err GetActiveLayer(const AEGP_SuiteHandler& suites, A_long index, AEGP_ItemH& item, AEGP_LayerH& layer)
{
    AEGP_CompH comp = nullptr;
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, index, &layer);
    return err;
}

bool GetActiveComp(const AEGP_SuiteHandler& suites, AEGP_ItemH& item)
{
    AEGP_ItemType type = AEGP_ItemType_NONE;
    A_Err err = suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (!err && item)
        err = suites.ItemSuite8()->AEGP_GetItemType(item, &type);
    return !err && item && type == AEGP_ItemType_COMP;
}

A_Err GetWorldCoords(Point4 p, const A_Matrix4& m, Point4* out)
{
    const double in[4] = {p.x, p.y, p.z, p.w};
    double r[4];
    for (int j = 0; j < 4; ++j)
        r[j] = in[0] * m.mat[0][j] + in[1] * m.mat[1][j] + in[2] * m.mat[2][j] + in[3] * m.mat[3][j];
    if (r[3] != 0.0) {
        r[0] /= r[3];
        r[1] /= r[3];
        r[2] /= r[3];
        r[3] = 1.0;
    }
    *out = Point4{r[0], r[1], r[2], r[3]};
    return A_Err_NONE;
}

bool doesLayerHaveMask(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_LayerH layer = nullptr;
    AEGP_StreamRefH root = nullptr;
    AEGP_StreamRefH masks = nullptr;
    A_long count = 0;
    A_Err err = GetActiveLayer(suites, layerIndex, item, layer);
    if (!err)
        err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, &root);
    if (!err)
        err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(pluginId, root, "ADBE Mask Parade",
                                                                            &masks);
    if (!err && masks)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(masks, &count);
    bool shown = false;
    for (A_long m = 0; !err && !shown && m < count; ++m) {
        AEGP_StreamRefH mask = nullptr;
        AEGP_DynStreamFlags flags = 0;
        err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(pluginId, masks, m, &mask);
        if (!err && mask)
            err = suites.DynamicStreamSuite4()->AEGP_GetDynamicStreamFlags(mask, &flags);
        shown = !err && (flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL) != 0;
        if (mask)
            suites.StreamSuite4()->AEGP_DisposeStream(mask);
    }
    if (masks)
        suites.StreamSuite4()->AEGP_DisposeStream(masks);
    if (root)
        suites.StreamSuite4()->AEGP_DisposeStream(root);
    return !err && shown;
}

A_Err GetSignedWorldScaleAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, double& fx,
                                double& fy, A_Time t)
{
    AEGP_SuiteHandler suites(basic);
    fx = 1.0;
    fy = 1.0;
    double x = 100.0;
    double y = 100.0;
    A_Err err = ReadLayerStreamXY(suites.StreamSuite2(), pluginId, layer, AEGP_LayerStream_SCALE, t, x, y);
    if (err)
        return err;
    fx = x / 100.0;
    fy = y / 100.0;
    AEGP_LayerH parent = nullptr;
    err = suites.LayerSuite7()->AEGP_GetLayerParent(layer, &parent);
    while (!err && parent) {
        err = ReadLayerStreamXY(suites.StreamSuite2(), pluginId, parent, AEGP_LayerStream_SCALE, t, x, y);
        if (!err) {
            fx *= x / 100.0;
            fy *= y / 100.0;
            err = suites.LayerSuite7()->AEGP_GetLayerParent(parent, &parent);
        }
    }
    return err;
}

A_Err GetWorldScaleAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, float& sx, float& sy,
                          A_Time t)
{
    double fx = 1.0;
    double fy = 1.0;
    const A_Err err = GetSignedWorldScaleAtTime(pluginId, basic, layer, fx, fy, t);
    sx = std::max(static_cast<float>(std::fabs(fx)), 0.001f);
    sy = std::max(static_cast<float>(std::fabs(fy)), 0.001f);
    return err;
}

A_Err GetAnchorPointAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, b2Vec2& anchor,
                           A_Time t)
{
    AEGP_SuiteHandler suites(basic);
    double x = 0.0;
    double y = 0.0;
    const A_Err err =
        ReadLayerStreamXY(suites.StreamSuite2(), pluginId, layer, AEGP_LayerStream_ANCHORPOINT, t, x, y);
    if (err)
        anchor.SetZero();
    else
        anchor.Set(static_cast<float>(x), static_cast<float>(y));
    return err;
}

A_Err GetWorldPositionAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex, b2Vec2& out,
                             A_Time t)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_LayerH layer = nullptr;
    A_Ratio pixelAspect{1, 1};
    A_Err err = GetActiveLayer(suites, layerIndex, item, layer);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(item, &pixelAspect);
    if (!err)
        err = WorldAnchorPoint(suites, pluginId, basic, layer, RatioValue(pixelAspect), t, out);
    return err;
}

A_Err GetWorldRotationAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, float& degrees,
                             A_Time t)
{
    (void)pluginId;
    AEGP_SuiteHandler suites(basic);
    A_Matrix4 matrix{};
    const A_Err err = suites.LayerSuite7()->AEGP_GetLayerToWorldXform(layer, &t, &matrix);
    if (!err)
        degrees = WorldRotationThrough(matrix);
    return err;
}

A_Err GetBodyRotationAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, float& degrees,
                            A_Time t)
{
    float mapped = 0.0f;
    A_Err err = GetWorldRotationAtTime(pluginId, basic, layer, mapped, t);
    if (err)
        return err;
    double fx = 1.0;
    double fy = 1.0;
    GetSignedWorldScaleAtTime(pluginId, basic, layer, fx, fy, t); // unreadable: taken as not mirrored
    // A negative x scale turns the mapped x axis by half a turn; the mirror
    // itself is the scale's to carry.
    if (fx < 0.0)
        mapped = mapped > 0.0f ? mapped - 180.0f : mapped + 180.0f;
    degrees = mapped;
    return err;
}

A_Err GetWorldScaleAlongBodyAxesAtTime(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer, double& fx,
                                       double& fy, A_Time t, double* shear)
{
    if (shear)
        *shear = 0.0;
    AEGP_SuiteHandler suites(basic);
    A_Matrix4 matrix{};
    float degrees = 0.0f;
    A_Err err = suites.LayerSuite7()->AEGP_GetLayerToWorldXform(layer, &t, &matrix);
    if (!err)
        err = GetBodyRotationAtTime(pluginId, basic, layer, degrees, t);
    if (!err) {
        const double radians = double(degrees) * M_PI / 180.0;
        const double c = std::cos(radians);
        const double s = std::sin(radians);
        const auto& m = matrix.mat;
        fx = m[0][0] * c + m[0][1] * s;
        fy = -m[1][0] * s + m[1][1] * c;
        const double k = m[1][0] * c + m[1][1] * s;
        if (std::isfinite(fx) && std::isfinite(fy) && std::isfinite(k)) {
            if (shear)
                *shear = k;
            return A_Err_NONE;
        }
    }
    return GetSignedWorldScaleAtTime(pluginId, basic, layer, fx, fy, t);
}

A_Err GetLayerStartEndFrames(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex,
                             std::vector<A_long>& frames)
{
    (void)pluginId;
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    A_Time compDuration{0, 1};
    A_Time frameDuration{0, 1};
    A_Time inPoint{0, 1};
    A_Time duration{0, 1};
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemDuration(item, &compDuration);
    if (!err)
        err = suites.CompSuite5()->AEGP_GetCompFrameDuration(comp, &frameDuration);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndex, &layer);
    if (!err)
        err = suites.LayerSuite5()->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &inPoint);
    if (!err)
        err = suites.LayerSuite5()->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &duration);

    A_long start = 0;
    A_long end = kLayerLastsToCompEnd;
    int64_t frameCount = 0;
    int64_t first = 0;
    int64_t last = 0;
    if (FramesInTime(compDuration, frameDuration, frameCount) && FramesInTime(inPoint, frameDuration, first) &&
        FramesInTime(inPoint, duration, frameDuration, last)) {
        start = ClampToLong(first);
        end = last >= frameCount ? kLayerLastsToCompEnd : ClampToLong(last);
    } else if (!err) {
        err = A_Err_GENERIC; // the composition has no usable frame duration
    }
    frames.push_back(start);
    frames.push_back(end);
    return err;
}

bool FindStreamByMatchName(AEGP_PluginID pluginId, SPBasicSuite* basic, const char* matchName,
                           AEGP_StreamRefH& result, AEGP_StreamRefH parent, A_long childIndex, bool& found)
{
    AEGP_SuiteHandler suites(basic);
    SearchMatchName(suites, pluginId, matchName, result, parent, childIndex, found);
    return found;
}

b2Vec2 GetLayerPosAtFrame(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex, A_Time frameDuration,
                          A_long frame, double timeDivider)
{
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    if (!GetActiveComp(suites, item))
        return b2Vec2(0.0f, 0.0f);
    AEGP_LayerH layer = nullptr;
    A_Err err = GetActiveLayer(suites, layerIndex, item, layer);
    double x = 0.0;
    double y = 0.0;
    if (!err) {
        const A_Time t = HostTimeFromSeconds(FrameSeconds(frameDuration, frame, timeDivider));
        err = ReadLayerStreamXY(suites.StreamSuite4(), pluginId, layer, AEGP_LayerStream_POSITION, t, x, y);
    }
    if (err)
        return b2Vec2(0.0f, 0.0f);
    return b2Vec2(static_cast<float>(x), static_cast<float>(y));
}

b2Vec2 GetLinearVelocityAtFrame(AEGP_PluginID pluginId, SPBasicSuite* basic, A_long layerIndex,
                                A_Time frameDuration, A_long frame, double timeDivider, double fps)
{
    const double rate = timeDivider * fps;
    AEGP_SuiteHandler suites(basic);
    AEGP_ItemH item = nullptr;
    if (!(rate > 0.0) || !GetActiveComp(suites, item))
        return b2Vec2(0.0f, 0.0f);
    AEGP_LayerH layer = nullptr;
    A_Ratio pixelAspect{1, 1};
    A_Err err = GetActiveLayer(suites, layerIndex, item, layer);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(item, &pixelAspect);
    if (err)
        return b2Vec2(0.0f, 0.0f);
    return GetLayerLinearVelocityAtFrame(pluginId, basic, layer, RatioValue(pixelAspect), frameDuration, frame,
                                         timeDivider, fps);
}

b2Vec2 GetLayerLinearVelocityAtFrame(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_LayerH layer,
                                     double pixelAspect, A_Time frameDuration, A_long frame, double timeDivider,
                                     double fps)
{
    const double rate = timeDivider * fps;
    if (!(rate > 0.0) || !layer)
        return b2Vec2(0.0f, 0.0f);
    AEGP_SuiteHandler suites(basic);
    const double dt = 1.0 / rate;
    const double t0 = FrameSeconds(frameDuration, frame, timeDivider);
    b2Vec2 p0(0.0f, 0.0f);
    b2Vec2 p1(0.0f, 0.0f);
    A_Err err = WorldAnchorPoint(suites, pluginId, basic, layer, pixelAspect, HostTimeFromSeconds(t0), p0);
    if (!err)
        err = WorldAnchorPoint(suites, pluginId, basic, layer, pixelAspect, HostTimeFromSeconds(t0 + dt), p1);
    if (err)
        return b2Vec2(0.0f, 0.0f);
    return LinearVelocityBetween(p0, p1, dt);
}

A_Err GetStreamXYAtTime(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream,
                        const A_Time& t, double& x, double& y)
{
    return ReadStreamXY(suites.StreamSuite4(), pluginId, stream, t, x, y);
}

b2Vec2 WorldPointThrough(const A_Matrix4& matrix, b2Vec2 anchor, double pixelAspect)
{
    Point4 world{};
    GetWorldCoords(Point4{anchor.x, anchor.y, 0.0, 1.0}, matrix, &world);
    return b2Vec2(static_cast<float>(world.x * pixelAspect), static_cast<float>(world.y));
}

float WorldRotationThrough(const A_Matrix4& matrix)
{
    Point4 tip{};
    Point4 origin{};
    GetWorldCoords(Point4{1.0, 0.0, 0.0, 1.0}, matrix, &tip);
    GetWorldCoords(Point4{0.0, 0.0, 0.0, 1.0}, matrix, &origin);
    b2Vec2 d(static_cast<float>(tip.x - origin.x), static_cast<float>(tip.y - origin.y));
    d.Normalize();
    return std::atan2(d.y, d.x) * 180.0f / 3.1415927f;
}

b2Vec2 LinearVelocityBetween(b2Vec2 p0, b2Vec2 p1, double dt)
{
    return b2Vec2(static_cast<float>((p1.x - p0.x) / dt / 100.0), static_cast<float>((p1.y - p0.y) / dt / 100.0));
}

A_Err GetActiveCompAspect(SPBasicSuite* basic, AEGP_ItemH& item, AEGP_CompH& comp, double& pixelAspect)
{
    AEGP_SuiteHandler suites(basic);
    comp = nullptr;
    pixelAspect = 1.0;
    if (!GetActiveComp(suites, item))
        return A_Err_GENERIC;
    A_Ratio ratio{1, 1};
    A_Err err = suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    if (!err)
        err = suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(item, &ratio);
    if (!err)
        pixelAspect = RatioValue(ratio);
    return err;
}
