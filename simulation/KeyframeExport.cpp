#include "simulation/KeyframeExport.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "host/HostTime.h"
#include "host/LayerQueries.h"
#include "model/SceneTypes.h"
#include "simulation/KeySelection.h"

#include <box2d/b2_math.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

namespace {

constexpr double kRadiansToDegrees = 57.29577791868205;
const char* const kMatchNamesToReset[] = {"ADBE Vector Rect Position", "ADBE Vector Ellipse Position",
                                          "ADBE Vector Star Position", "ADBE Vector Anchor",
                                          "ADBE Vector Position"};

// Stream references of one layer's writing, given back together.
class HeldStreams
{
public:
    explicit HeldStreams(const AEGP_SuiteHandler& suites) : suites(suites) {}
    ~HeldStreams()
    {
        for (AEGP_StreamRefH stream : streams)
            suites.StreamSuite4()->AEGP_DisposeStream(stream);
    }
    HeldStreams(const HeldStreams&) = delete;
    HeldStreams& operator=(const HeldStreams&) = delete;

    // Keeps a stream to give back later.
    void keep(AEGP_StreamRefH stream)
    {
        if (stream)
            streams.push_back(stream);
    }

private:
    const AEGP_SuiteHandler& suites;
    std::vector<AEGP_StreamRefH> streams;
};

// The time of `frame`, {value x frame, scale} when that fits the host's 32
// bits, else the nearest time at a scale that fits.
A_Time frameTime(const A_Time& frameDuration, int frame)
{
    const int64_t value = int64_t(frameDuration.value) * frame;
    if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max())
        return A_Time{static_cast<A_long>(value), frameDuration.scale};
    return HostTimeFromSeconds(double(frameDuration.value) * frame / double(frameDuration.scale));
}

// One of the layer's transform streams (the caller keeps it in `held`).
A_Err layerStream(const AEGP_SuiteHandler& suites, int pluginId, HeldStreams& held, AEGP_LayerH layer,
                  AEGP_LayerStream which, AEGP_StreamRefH& stream)
{
    stream = nullptr;
    const A_Err err = suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, which, &stream);
    held.keep(stream);
    return err;
}

A_Err deleteAllKeys(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream)
{
    A_long count = 0;
    A_Err err = suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &count);
    for (A_long k = 0; !err && k < count; ++k)
        err = suites.KeyframeSuite4()->AEGP_DeleteKeyframe(stream, 0);
    return err;
}

// Deletes the stream's keys and sets its value at `t` through `put`, which
// changes the value read (pre-expression) in place.
template <class Put>
A_Err setStaticValue(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH stream, A_Time t, Put put)
{
    A_Err err = deleteAllKeys(suites, stream);
    AEGP_StreamValue2 value{};
    bool held = false;
    if (!err) {
        err = suites.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, stream, AEGP_LTimeMode_CompTime, &t, true,
                                                            &value);
        held = !err;
    }
    if (!err) {
        put(value.val);
        err = suites.StreamSuite4()->AEGP_SetStreamValue(pluginId, stream, &value);
    }
    if (held) {
        const A_Err disposeErr = suites.StreamSuite4()->AEGP_DisposeStreamValue(&value);
        if (!err)
            err = disposeErr;
    }
    return err;
}

// The key procedure: replaces the stream's keys by keys at the samples that
// selectKeys keeps, sample i at frame start + i; `put` writes sample i into
// the value read at its time.
template <class T, class Put>
A_Err writeKeys(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH stream,
                const ExportSettings& settings, const std::vector<T>& samples, Put put)
{
    A_Err err = deleteAllKeys(suites, stream);
    AEGP_AddKeyframesInfoH batch = nullptr;
    if (!err)
        err = suites.KeyframeSuite4()->AEGP_StartAddKeyframes(stream, &batch);
    if (err)
        return err;
    const std::vector<bool> keep = selectKeys(samples);
    for (size_t i = 0; !err && i < samples.size(); ++i) {
        if (!keep[i])
            continue;
        const A_Time t = frameTime(settings.frameDuration, settings.startFrame + static_cast<int>(i));
        A_long keyIndex = 0;
        AEGP_StreamValue2 value{};
        err = suites.KeyframeSuite4()->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &t, &keyIndex);
        if (!err)
            err = suites.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, stream, AEGP_LTimeMode_CompTime, &t, true,
                                                                &value);
        if (!err) {
            put(value.val, samples[i]);
            err = suites.KeyframeSuite4()->AEGP_SetAddKeyframe(batch, keyIndex, &value);
            const A_Err disposeErr = suites.StreamSuite4()->AEGP_DisposeStreamValue(&value);
            if (!err)
                err = disposeErr;
        }
    }
    const A_Err endErr = suites.KeyframeSuite4()->AEGP_EndAddKeyframes(true, batch);
    return err ? err : endErr;
}

// Straight spatial paths between the position keys: every key's spatial
// tangents become zero in x and y.
A_Err flattenSpatialTangents(const AEGP_SuiteHandler& suites, int pluginId, AEGP_StreamRefH stream)
{
    A_long count = 0;
    A_Err err = suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &count);
    for (A_long k = 0; !err && k < count; ++k) {
        AEGP_StreamValue2 in{};
        AEGP_StreamValue2 out{};
        err = suites.KeyframeSuite4()->AEGP_GetNewKeyframeSpatialTangents(pluginId, stream, k, &in, &out);
        if (err)
            break;
        in.val.three_d.x = in.val.three_d.y = 0.0;
        out.val.three_d.x = out.val.three_d.y = 0.0;
        err = suites.KeyframeSuite4()->AEGP_SetKeyframeSpatialTangents(stream, k, &in, &out);
        const A_Err e1 = suites.StreamSuite4()->AEGP_DisposeStreamValue(&in);
        const A_Err e2 = suites.StreamSuite4()->AEGP_DisposeStreamValue(&out);
        if (!err)
            err = e1 ? e1 : e2;
    }
    return err;
}

// Whether one of `streams` of the layer or of one of its parents changes in
// time. A separated position asks its x and y followers.
A_Err chainVaries(const AEGP_SuiteHandler& suites, int pluginId, AEGP_LayerH layer,
                  std::initializer_list<AEGP_LayerStream> streams, bool& varies)
{
    varies = false;
    A_Err err = A_Err_NONE;
    for (AEGP_LayerH current = layer; !err && current && !varies;) {
        HeldStreams held(suites);
        for (const AEGP_LayerStream which : streams) {
            AEGP_StreamRefH stream = nullptr;
            err = layerStream(suites, pluginId, held, current, which, stream);
            std::vector<AEGP_StreamRefH> asked{stream};
            A_Boolean separated = false;
            if (!err && which == AEGP_LayerStream_POSITION)
                err = suites.DynamicStreamSuite4()->AEGP_AreDimensionsSeparated(stream, &separated);
            for (A_long d = 0; !err && separated && d < 2; ++d) {
                AEGP_StreamRefH follower = nullptr;
                err = suites.DynamicStreamSuite4()->AEGP_GetSeparationFollower(stream, d, &follower);
                held.keep(follower);
                asked.push_back(follower);
            }
            for (AEGP_StreamRefH s : asked) {
                A_Boolean timeVarying = false;
                if (!err && s)
                    err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(s, &timeVarying);
                varies = varies || timeVarying;
            }
            if (err || varies)
                break;
        }
        AEGP_LayerH parent = nullptr;
        if (!err && !varies)
            err = suites.LayerSuite7()->AEGP_GetLayerParent(current, &parent);
        current = parent;
    }
    return err;
}

// Whether the scale of the layer or of one of its parents changes in time.
A_Err scaleVaries(const AEGP_SuiteHandler& suites, int pluginId, AEGP_LayerH layer, bool& varies)
{
    return chainVaries(suites, pluginId, layer, {AEGP_LayerStream_SCALE}, varies);
}

// Whether where the layer is drawn changes in time: its own or a parent's
// anchor point, position, scale or rotation.
A_Err placementVaries(const AEGP_SuiteHandler& suites, int pluginId, AEGP_LayerH layer, bool& varies)
{
    return chainVaries(suites, pluginId, layer,
                       {AEGP_LayerStream_ANCHORPOINT, AEGP_LayerStream_POSITION, AEGP_LayerStream_SCALE,
                        AEGP_LayerStream_ROTATION},
                       varies);
}

void putXY(AEGP_StreamVal2& value, double x, double y)
{
    value.three_d.x = x;
    value.three_d.y = y;
}

} // namespace

KeyframeExport::KeyframeExport(SPBasicSuite* basicSuite, int pluginId)
    : basicSuite(basicSuite)
    , pluginId(pluginId)
{
}

KeyframeExport::~KeyframeExport()
{
    try {
        cancel();
    } catch (...) {
        // A destructor cannot report; the host closes a group left open.
    }
}

QString KeyframeExport::problemWith(const ExportSettings& settings, size_t bodyCount,
                                    const std::vector<BodyTransforms>& recorded)
{
    const int samples = settings.endFrame - settings.startFrame + 1;
    if (bodyCount == 0)
        return QStringLiteral("There are no bodies to export.");
    if (samples < 1 || settings.frameDuration.value <= 0 || settings.frameDuration.scale == 0)
        return QStringLiteral("The export range is empty.");
    if (recorded.size() < bodyCount)
        return QStringLiteral("The simulation was not recorded for every body.");
    for (size_t k = 0; k < bodyCount; ++k)
        if (recorded[k].positions.size() != size_t(samples) || recorded[k].rotations.size() != size_t(samples))
            return QStringLiteral("The simulation was not recorded over the whole export range.");
    return QString();
}

bool KeyframeExport::neverMoved(const ExportBody& body, const BodyTransforms& track)
{
    if (!body.restKnown || track.positions.empty() || track.rotations.empty())
        return false;
    for (const b2Vec2& p : track.positions)
        if (keyValuesDiffer(p, body.restPosition))
            return false;
    for (const float r : track.rotations)
        if (keyValuesDiffer(r, body.restRotation))
            return false;
    return true;
}

bool KeyframeExport::begin(AEGP_CompH target, const ExportSettings& exportSettings,
                           std::vector<ExportBody> exportBodies, std::vector<BodyTransforms> recorded,
                           QString* problem)
{
    cancel();
    failed.clear();
    failedSteps.clear();
    groupClosed = false;
    written = 0;
    QString why = KeyframeExport::problemWith(exportSettings, exportBodies.size(), recorded);
    if (!target && why.isEmpty())
        why = QStringLiteral("There is no composition to receive the keyframes.");
    if (!why.isEmpty()) {
        if (problem)
            *problem = why;
        return false;
    }

    AEGP_SuiteHandler suites(basicSuite);
    // Every suite before the group opens: a missing one must not leave it
    // open.
    (void)suites.CompSuite7();
    (void)suites.ItemSuite7();
    (void)suites.LayerSuite7();
    (void)suites.StreamSuite4();
    (void)suites.DynamicStreamSuite4();
    (void)suites.KeyframeSuite4();
    A_Err err = suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar");
    if (err) {
        if (problem)
            *problem = QStringLiteral("The host could not start the export (error %1).").arg(err);
        return false;
    }
    groupOpen = true;
    comp = target;
    settings = exportSettings;
    bodies = std::move(exportBodies);
    tracks = std::move(recorded);
    leftAsItIs.assign(bodies.size(), -1);
    bodyOfLayer.clear();
    for (size_t b = 0; b < bodies.size(); ++b)
        bodyOfLayer.emplace(bodies[b].layerIndex, b);
    selection = nullptr;
    if (const A_Err selectionErr =
            suites.CompSuite7()->AEGP_GetNewCollectionFromCompSelection(pluginId, comp, &selection)) {
        selection = nullptr;
        failedSteps.append(QStringLiteral("The composition's selection could not be read (error %1), so it was not "
                                          "restored after the export.")
                               .arg(selectionErr));
    }
    return true;
}

bool KeyframeExport::writeNextLayer()
{
    if (!groupOpen || written >= bodyCount())
        return true;
    const int call = written;
    A_Err err = A_Err_NONE;
    try {
        err = writeLayer(call);
    } catch (...) {
        // A missing suite or a failed allocation ends this layer like a
        // refused call; the group is still ended after the last layer.
        err = ErrorFromCurrentException();
    }
    if (err) {
        const ExportBody& body = bodies[bodies.size() - 1 - call];
        failed.append(QStringLiteral("Layer %1 (%2): error %3")
                          .arg(QString::number(body.layerIndex + 1), body.name, QString::number(err)));
    }
    // A written track is not needed again.
    tracks[size_t(call)] = BodyTransforms{};
    ++written;
    if (call == 0)
        finishFirstLayer();
    if (written < bodyCount())
        return false;
    endGroup();
    return true;
}

void KeyframeExport::cancel()
{
    if (!groupOpen)
        return;
    if (written == 0)
        finishFirstLayer();
    endGroup();
}

void KeyframeExport::finishFirstLayer()
{
    A_Err selectionErr = A_Err_NONE;
    A_Err workAreaErr = A_Err_NONE;
    try {
        AEGP_SuiteHandler suites(basicSuite);
        if (selection)
            selectionErr = suites.CompSuite7()->AEGP_SetSelection(comp, selection);
        const A_Time start{static_cast<A_long>(int64_t(settings.frameDuration.value) * settings.startFrame),
                           settings.frameDuration.scale};
        const A_Time duration = frameTime(settings.frameDuration, settings.endFrame - settings.startFrame + 1);
        workAreaErr = suites.CompSuite7()->AEGP_SetCompWorkAreaStartAndDuration(comp, &start, &duration);
    } catch (...) {
        workAreaErr = ErrorFromCurrentException();
    }
    if (selectionErr)
        failedSteps.append(
            QStringLiteral("The composition's selection could not be restored (error %1).").arg(selectionErr));
    if (workAreaErr)
        failedSteps.append(QStringLiteral("The work area could not be set to frames %1 to %2 (error %3).")
                               .arg(settings.startFrame)
                               .arg(settings.endFrame)
                               .arg(workAreaErr));
}

void KeyframeExport::endGroup()
{
    if (!groupOpen)
        return;
    groupOpen = false;
    A_Err err = A_Err_NONE;
    try {
        AEGP_SuiteHandler suites(basicSuite);
        err = suites.UtilitySuite5()->AEGP_EndUndoGroup();
    } catch (...) {
        err = ErrorFromCurrentException();
    }
    groupClosed = !err;
    if (err)
        failedSteps.append(QStringLiteral("The host could not close the undo group \"Zolvar\" (error %1): the "
                                          "keyframes written may not undo in one step.")
                               .arg(err));
}

QString KeyframeExport::report(bool tellCancel) const
{
    const bool cancelled = written < bodyCount();
    if (failed.isEmpty() && failedSteps.isEmpty() && !(tellCancel && cancelled))
        return QString();
    // A message box, not a log: a long list is cut.
    constexpr int kListedLayers = 10;
    const int complete = written - int(failed.size());
    QStringList lines;
    if (!failed.isEmpty())
        lines << QStringLiteral("Some layers could not be keyframed completely.");
    else if (!failedSteps.isEmpty())
        lines << QStringLiteral("The export's keyframes were written, but the host refused part of it.");
    else
        lines << QStringLiteral("Render was released while the keyframes were written.");
    QString count = QStringLiteral("%1 of %2 layers were written in full.").arg(complete).arg(bodyCount());
    if (cancelled)
        count += QStringLiteral(" The export was cancelled: %1 were not written.").arg(bodyCount() - written);
    lines << QString() << count;
    if (!failed.isEmpty()) {
        lines << QString()
              << QStringLiteral("Not written completely (each layer stops at its first failure; what came before it "
                                "stays):");
        for (int i = 0; i < failed.size() && i < kListedLayers; ++i)
            lines << failed[i];
        if (failed.size() > kListedLayers)
            lines << QStringLiteral("... and %1 more.").arg(failed.size() - kListedLayers);
    }
    if (!failedSteps.isEmpty())
        lines << QString() << failedSteps;
    if (groupClosed)
        lines << QString() << QStringLiteral("Undo \"Zolvar\" in the host takes back everything the export wrote.");
    return lines.join(QLatin1Char('\n'));
}

A_Err KeyframeExport::writeLayer(int call)
{
    const ExportBody& body = bodies[bodies.size() - 1 - call];
    const BodyTransforms& track = tracks[call];
    // A Dead body's layer keeps everything it had.
    if (body.type == BodyType::Dead)
        return A_Err_NONE;

    AEGP_SuiteHandler suites(basicSuite);
    HeldStreams held(suites);
    const int frames = settings.endFrame - settings.startFrame + 1;
    const A_Time startTime = frameTime(settings.frameDuration, settings.startFrame);

    // 1. The composition's pixel aspect ratio.
    AEGP_ItemH item = nullptr;
    A_Ratio ratio{1, 1};
    A_Err err = suites.CompSuite7()->AEGP_GetItemFromComp(comp, &item);
    if (!err)
        err = suites.ItemSuite7()->AEGP_GetItemPixelAspectRatio(item, &ratio);
    double aspect = ratio.den != 0 ? double(ratio.num) / double(ratio.den) : 1.0;
    if (!(aspect > 0.0) || !std::isfinite(aspect))
        aspect = 1.0;

    // 2. The layer, its kind and its parent.
    AEGP_LayerH layer = nullptr;
    AEGP_ObjectType objectType = AEGP_ObjectType_AV;
    AEGP_LayerH parent = nullptr;
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, body.layerIndex, &layer);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerObjectType(layer, &objectType);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetLayerParent(layer, &parent);

    bool leave = false;
    if (!err)
        err = leavesLayerAsItIs(bodies.size() - 1 - size_t(call), layer, leave);
    if (!err && leave)
        return A_Err_NONE;

    // 3. Scale in the composition, before anything changes: every frame when
    // the layer's or a parent's scale is animated, else once. Without a
    // parent or an expression the layer's own scale is its scale in the
    // composition: it is not written, and its keys, also those outside the
    // range, stay as they are.
    AEGP_StreamRefH scale = nullptr;
    A_Boolean scaleDriven = false;
    if (!err)
        err = layerStream(suites, pluginId, held, layer, AEGP_LayerStream_SCALE, scale);
    if (!err)
        err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, scale, &scaleDriven);
    const bool writesScale = parent || scaleDriven;
    bool varies = false;
    std::vector<b2Vec2> scales;
    if (!err && writesScale)
        err = scaleVaries(suites, pluginId, layer, varies);
    for (int f = 0; !err && writesScale && f < (varies ? frames : 1); ++f) {
        double fx = 1.0, fy = 1.0;
        err = GetWorldScaleAlongBodyAxesAtTime(pluginId, basicSuite, layer, fx, fy,
                                               frameTime(settings.frameDuration, settings.startFrame + f));
        scales.emplace_back(static_cast<float>(100.0 * fx), static_cast<float>(100.0 * fy));
    }

    // 4. The recorded values are composition values: no parent any more.
    if (!err && parent)
        err = suites.LayerSuite7()->AEGP_SetLayerParent(layer, nullptr);
    // 5. Motion blur for what moves.
    if (!err && settings.motionBlur && body.type != BodyType::Static)
        err = suites.LayerSuite7()->AEGP_SetLayerFlag(layer, AEGP_LayerFlag_MOTION_BLUR, true);

    // 6. The streams.
    AEGP_StreamRefH position = nullptr, rotation = nullptr, anchor = nullptr;
    AEGP_StreamRefH positionX = nullptr, positionY = nullptr;
    A_Boolean separated = false;
    if (!err)
        err = layerStream(suites, pluginId, held, layer, AEGP_LayerStream_POSITION, position);
    if (!err)
        err = layerStream(suites, pluginId, held, layer, AEGP_LayerStream_ROTATION, rotation);
    if (!err)
        err = layerStream(suites, pluginId, held, layer, AEGP_LayerStream_ANCHORPOINT, anchor);
    if (!err)
        err = suites.DynamicStreamSuite4()->AEGP_AreDimensionsSeparated(position, &separated);
    if (!err && separated) {
        err = suites.DynamicStreamSuite4()->AEGP_GetSeparationFollower(position, 0, &positionX);
        held.keep(positionX);
        if (!err) {
            err = suites.DynamicStreamSuite4()->AEGP_GetSeparationFollower(position, 1, &positionY);
            held.keep(positionY);
        }
    }

    // 7. Expressions off: the keys are the values from now on. A separated
    // position is drawn from its x and y, whose own expressions go off too.
    for (AEGP_StreamRefH stream : {position, rotation, anchor, scale, positionX, positionY}) {
        A_Boolean enabled = false;
        if (!stream)
            continue;
        if (!err)
            err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &enabled);
        if (!err && enabled)
            err = suites.StreamSuite4()->AEGP_SetExpressionState(pluginId, stream, false);
    }

    // A shape layer's items keep their placements: the recorded anchor is
    // the body's centre in the layer, so they stay where they are drawn.

    // 9. Position.
    const bool isStatic = body.type == BodyType::Static;
    if (!err && !separated) {
        if (isStatic) {
            const b2Vec2 p = track.positions[0];
            err = setStaticValue(suites, pluginId, position, startTime,
                                 [&](AEGP_StreamVal2& v) { putXY(v, p.x / aspect, p.y); });
        } else {
            err = writeKeys(suites, pluginId, position, settings, track.positions,
                            [&](AEGP_StreamVal2& v, b2Vec2 p) { putXY(v, p.x / aspect, p.y); });
            if (!err)
                err = flattenSpatialTangents(suites, pluginId, position);
        }
    } else if (!err) {
        std::vector<float> xs, ys;
        for (const b2Vec2& p : track.positions) {
            xs.push_back(static_cast<float>(p.x / aspect));
            ys.push_back(p.y);
        }
        auto put1D = [](AEGP_StreamVal2& v, float value) { v.one_d = value; };
        if (isStatic) {
            err = setStaticValue(suites, pluginId, positionX, startTime, [&](AEGP_StreamVal2& v) { put1D(v, xs[0]); });
            if (!err)
                err = setStaticValue(suites, pluginId, positionY, startTime,
                                     [&](AEGP_StreamVal2& v) { put1D(v, ys[0]); });
        } else {
            err = writeKeys(suites, pluginId, positionX, settings, xs, put1D);
            if (!err)
                err = writeKeys(suites, pluginId, positionY, settings, ys, put1D);
        }
    }

    // 10. Rotation; a body whose outlines were read unturned gets its
    // layer's initial rotation back. Outlines read from masks, vectors or the
    // layer's box are turned already, a text layer's masks too.
    const float offset = body.rotationIsRelative ? static_cast<float>(body.initialRotation * kRadiansToDegrees) : 0.0f;
    std::vector<float> rotations;
    for (float r : track.rotations)
        rotations.push_back(r + offset);
    if (!err && isStatic)
        err = setStaticValue(suites, pluginId, rotation, startTime,
                             [&](AEGP_StreamVal2& v) { v.one_d = rotations[0]; });
    else if (!err)
        err = writeKeys(suites, pluginId, rotation, settings, rotations,
                        [](AEGP_StreamVal2& v, float r) { v.one_d = r; });

    // 11. Anchor point.
    if (!err)
        err = setStaticValue(suites, pluginId, anchor, startTime,
                             [&](AEGP_StreamVal2& v) { putXY(v, track.anchor.x, track.anchor.y); });

    // 12. Scale, when it is written (step 3).
    if (!err && !writesScale)
        return err;
    if (!err && varies)
        err = writeKeys(suites, pluginId, scale, settings, scales,
                        [](AEGP_StreamVal2& v, b2Vec2 s) { putXY(v, s.x, s.y); });
    else if (!err)
        err = setStaticValue(suites, pluginId, scale, startTime,
                             [&](AEGP_StreamVal2& v) { putXY(v, scales[0].x, scales[0].y); });
    return err;
}

A_Err KeyframeExport::leavesLayerAsItIs(size_t b, AEGP_LayerH layer, bool& leave)
{
    leave = false;
    if (leftAsItIs[b] >= 0) {
        leave = leftAsItIs[b] == 1;
        return A_Err_NONE;
    }
    // Decided once, while the body's track is still held; an undecided
    // body's layer is written.
    leftAsItIs[b] = 0;
    const ExportBody& body = bodies[b];
    const BodyTransforms& track = tracks[bodies.size() - 1 - b];
    if (!neverMoved(body, track))
        return A_Err_NONE;

    // A body that stayed where its layer is drawn leaves the layer as it
    // is: Static ones always (the layer may go on with its own keys), others
    // when nothing of the layer's placement changes in time ...
    AEGP_SuiteHandler suites(basicSuite);
    bool varies = false;
    A_Err err = A_Err_NONE;
    if (body.type != BodyType::Static)
        err = placementVaries(suites, pluginId, layer, varies);
    if (err || varies)
        return err;
    // ... and while no layer it hangs from is written: the first parent of
    // a body that is not Dead decides for the rest of the chain.
    AEGP_LayerH parent = nullptr;
    err = suites.LayerSuite7()->AEGP_GetLayerParent(layer, &parent);
    for (size_t steps = 0; !err && parent && steps <= bodies.size(); ++steps) {
        A_long index = 0;
        err = suites.LayerSuite7()->AEGP_GetLayerIndex(parent, &index);
        const auto found = err ? bodyOfLayer.end() : bodyOfLayer.find(int(index));
        if (found != bodyOfLayer.end() && bodies[found->second].type != BodyType::Dead) {
            bool parentLeft = false;
            err = leavesLayerAsItIs(found->second, parent, parentLeft);
            if (err || !parentLeft)
                return err;
            break;
        }
        AEGP_LayerH next = nullptr;
        if (!err)
            err = suites.LayerSuite7()->AEGP_GetLayerParent(parent, &next);
        parent = next;
    }
    if (!err)
        leftAsItIs[b] = 1;
    leave = leftAsItIs[b] == 1;
    return err;
}

A_Err KeyframeExport::resetSecondaryTransformOfShapeLayer(AEGP_LayerH layer)
{
    AEGP_SuiteHandler suites(basicSuite);
    HeldStreams held(suites);
    AEGP_StreamRefH root = nullptr;
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, &root);
    held.keep(root);
    A_long children = 0;
    if (!err)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(root, &children);
    for (const char* name : kMatchNamesToReset) {
        for (A_long i = 0; !err && i < children; ++i) {
            AEGP_StreamRefH found = nullptr;
            bool isFound = false;
            FindStreamByMatchName(pluginId, basicSuite, name, found, root, i, isFound);
            if (!isFound)
                continue;
            held.keep(found);
            err = reset2DStream(found);
            break;
        }
    }
    return err;
}

A_Err KeyframeExport::reset2DStream(AEGP_StreamRefH stream)
{
    AEGP_SuiteHandler suites(basicSuite);
    return setStaticValue(suites, pluginId, stream, A_Time{0, 1},
                          [](AEGP_StreamVal2& v) { putXY(v, 0.0, 0.0); });
}
