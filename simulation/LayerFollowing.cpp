// Kinematic and AEmatic bodies follow their layers' animation: position,
// rotation and scale, until the layer's last key.
#include "simulation/SimulationCore.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostTime.h"
#include "host/LayerQueries.h"
#include "simulation/Box2DGuard.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kFollowedForever = 100000;

// The layer of the active composition at `layerIndex`, or null; an error
// when the active item is not a composition.
A_Err activeLayer(const AEGP_SuiteHandler& suites, int layerIndex, AEGP_LayerH& layer)
{
    AEGP_ItemH item = nullptr;
    layer = nullptr;
    if (!GetActiveComp(suites, item))
        return A_Err_GENERIC;
    return GetActiveLayer(suites, layerIndex, item, layer);
}

// The rotation speed, radians per second, of a layer at r0 degrees that is
// at r1 degrees dt seconds later.
float angularVelocityBetween(float r0, float r1, double dt)
{
    return static_cast<float>(SimulationCore::radDiff(r1 * b2_pi / 180.0f, r0 * b2_pi / 180.0f) / dt);
}

} // namespace

int SimulationCore::getLastKeyframeInFrames(int layerIndex)
{
    const double frame = frameSeconds();
    int result = -1;
    double latest = -1000000.0;

    AEGP_SuiteHandler suites(basicSuite);
    AEGP_LayerH layer = nullptr;
    A_Err err = activeLayer(suites, layerIndex, layer);
    const AEGP_LayerStream which[4] = {AEGP_LayerStream_ANCHORPOINT, AEGP_LayerStream_POSITION,
                                       AEGP_LayerStream_ROTATION, AEGP_LayerStream_SCALE};
    while (!err && layer) {
        // The four streams, then a separated position's x and y.
        AEGP_StreamRefH streams[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        int count = 4;
        for (int s = 0; s < 4 && !err; ++s)
            err = suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, which[s], &streams[s]);
        A_Boolean separated = false;
        if (!err)
            err = suites.DynamicStreamSuite4()->AEGP_AreDimensionsSeparated(streams[1], &separated);
        for (int dim = 0; dim < 2 && !err && separated; ++dim)
            err = suites.DynamicStreamSuite4()->AEGP_GetSeparationFollower(streams[1], dim, &streams[count++]);
        bool varying = false;
        bool expression = false;
        for (int s = 0; s < count && !err; ++s) {
            A_Boolean v = false;
            err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(streams[s], &v);
            varying = varying || v;
        }
        for (int s = 0; s < count && !err && varying; ++s) {
            A_long keys = 0;
            err = suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(streams[s], &keys);
            A_Time time{0, 1};
            if (!err && keys > 0)
                err = suites.KeyframeSuite4()->AEGP_GetKeyframeTime(streams[s], keys - 1, AEGP_LTimeMode_CompTime,
                                                                    &time);
            if (!err && keys > 0 && time.scale != 0) {
                latest = std::max(latest, double(time.value) / double(time.scale));
                if (frame > 0.0)
                    result = static_cast<int>(std::ceil(latest / frame));
            }
        }
        for (int s = 0; s < count && !err; ++s) {
            A_Boolean enabled = false;
            err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, streams[s], &enabled);
            expression = expression || enabled;
        }
        for (AEGP_StreamRefH stream : streams)
            if (stream)
                suites.StreamSuite4()->AEGP_DisposeStream(stream);
        if (expression)
            return kFollowedForever;
        AEGP_LayerH parent = nullptr;
        if (!err)
            err = suites.LayerSuite7()->AEGP_GetLayerParent(layer, &parent);
        layer = parent;
    }
    return result;
}

void SimulationCore::readFollowing()
{
    // The keys, expressions and parents of the followed layers do not
    // change while the scene plays: they are read once here, and each tick
    // asks the host only for the values at its times.
    following.reset(bodies.size());
    if (!keepFollowing)
        return;
    bool aspectRead = false;
    A_Err aspectErr = A_Err_NONE;
    double pixelAspect = 1.0;
    for (size_t r = 0; r < bodies.size() && r < bodyLayerIndices.size(); ++r) {
        const bool aematic = bodies[r].type == BodyType::AEmatic;
        if (bodies[r].type != BodyType::Kinematic && !aematic)
            continue;
        const int layerIndex = bodyLayerIndices[r];
        bool turns = true;
        bool scales = true;
        readFollowedChange(layerIndex, turns, scales);
        FollowedLayer& entry = following.follow(r, getLastKeyframeInFrames(layerIndex), turns, scales);
        if (!aspectRead) {
            AEGP_ItemH item = nullptr;
            AEGP_CompH activeComp = nullptr;
            aspectErr = GetActiveCompAspect(basicSuite, item, activeComp, pixelAspect);
            aspectRead = true;
        }
        if (!aspectErr)
            following.keep(entry, layerIndex, pixelAspect, aematic, A_Time{0, frameDuration.scale});
    }
}

void SimulationCore::readFollowedChange(int layerIndex, bool& turns, bool& scales)
{
    turns = true;
    scales = true;
    AEGP_SuiteHandler suites(basicSuite);
    AEGP_LayerH layer = nullptr;
    A_Err err = activeLayer(suites, layerIndex, layer);
    if (err || !layer)
        return;
    // Layers whose orientation follows something else turn on their own.
    constexpr AEGP_LayerFlags kSelfTurning = AEGP_LayerFlag_LAYER_IS_3D | AEGP_LayerFlag_AUTO_ORIENT_ROTATION
        | AEGP_LayerFlag_LOOK_AT_CAMERA | AEGP_LayerFlag_LOOK_AT_POI;
    bool rotationChanges = false;
    bool scaleChanges = false;
    while (!err && layer) {
        AEGP_LayerFlags flags = 0;
        err = suites.LayerSuite7()->AEGP_GetLayerFlags(layer, &flags);
        if (!err && (flags & kSelfTurning))
            rotationChanges = true;
        const AEGP_LayerStream which[2] = {AEGP_LayerStream_ROTATION, AEGP_LayerStream_SCALE};
        for (int s = 0; s < 2 && !err; ++s) {
            AEGP_StreamRefH stream = nullptr;
            err = suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, which[s], &stream);
            A_Boolean varying = false;
            A_Boolean expression = false;
            if (!err)
                err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(stream, &varying);
            if (!err)
                err = suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &expression);
            if (stream)
                suites.StreamSuite4()->AEGP_DisposeStream(stream);
            if (varying || expression)
                (s == 0 ? rotationChanges : scaleChanges) = true;
        }
        AEGP_LayerH parent = nullptr;
        if (!err)
            err = suites.LayerSuite7()->AEGP_GetLayerParent(layer, &parent);
        layer = parent;
    }
    if (err)
        return;
    scales = scaleChanges;
    // A changing scale of an ancestor turns a rotated child's world axes.
    turns = rotationChanges || scaleChanges;
}

float SimulationCore::getAngularVelocityAtCurrentFrame(int layerIndex)
{
    if (!timingUsable())
        return 0.0f;
    const double divider = timeDivider();
    const double t = FrameSeconds(frameDuration, currentFrame, divider);
    const double dt = 1.0 / (divider * fps);

    AEGP_SuiteHandler suites(basicSuite);
    AEGP_LayerH layer = nullptr;
    if (activeLayer(suites, layerIndex, layer))
        return 0.0f;
    float r0 = 0.0f;
    float r1 = 0.0f;
    A_Err err = GetWorldRotationAtTime(pluginId, basicSuite, layer, r0, HostTimeFromSeconds(t));
    if (!err)
        err = GetWorldRotationAtTime(pluginId, basicSuite, layer, r1, HostTimeFromSeconds(t + dt));
    if (err)
        return 0.0f;
    return angularVelocityBetween(r0, r1, dt);
}

SimulationCore::VelocityTimes SimulationCore::velocityTimes() const
{
    VelocityTimes times;
    const double divider = timeDivider();
    const double rate = divider * fps;
    times.linear = rate > 0.0;
    times.angular = timingUsable();
    times.dt = 1.0 / rate;
    const double t = FrameSeconds(frameDuration, currentFrame, divider);
    times.from = HostTimeFromSeconds(t);
    times.to = HostTimeFromSeconds(t + times.dt);
    return times;
}

float SimulationCore::keptAngularVelocity(const AEGP_SuiteHandler& suites, FollowedLayer& layer,
                                          const VelocityTimes& times)
{
    if (!times.angular)
        return 0.0f;
    float r0 = 0.0f;
    float r1 = 0.0f;
    A_Err err = following.rotationAt(suites, layer, times.from, r0);
    if (!err)
        err = following.rotationAt(suites, layer, times.to, r1);
    if (err)
        return 0.0f;
    return angularVelocityBetween(r0, r1, times.dt);
}

b2Vec2 SimulationCore::keptLinearVelocity(const AEGP_SuiteHandler& suites, FollowedLayer& layer,
                                          const VelocityTimes& times)
{
    if (!times.linear)
        return b2Vec2(0.0f, 0.0f);
    b2Vec2 p0(0.0f, 0.0f);
    b2Vec2 p1(0.0f, 0.0f);
    A_Err err = following.positionAt(suites, layer, times.from, p0);
    if (!err)
        err = following.positionAt(suites, layer, times.to, p1);
    if (err)
        return b2Vec2(0.0f, 0.0f);
    return LinearVelocityBetween(p0, p1, times.dt);
}

void SimulationCore::followLayers(double t, double dt)
{
    // Something wrote into the layers since the scene was set up.
    if (following.stale())
        readFollowing();

    const double frame = frameSeconds();
    const A_Time tNow = HostTimeFromSeconds(t);
    const A_Time tNext = HostTimeFromSeconds(t + dt);
    const VelocityTimes times = velocityTimes();

    // For the layers asked about in full on every tick: the active
    // composition and its pixel aspect, found once per tick.
    AEGP_SuiteHandler suites(basicSuite);
    bool activeRead = false;
    A_Err activeErr = A_Err_NONE;
    AEGP_ItemH activeItem = nullptr;
    AEGP_CompH activeComp = nullptr;
    double pixelAspect = 1.0;
    auto linearVelocity = [&](int layerIndex) {
        if (!activeRead) {
            activeErr = GetActiveCompAspect(basicSuite, activeItem, activeComp, pixelAspect);
            activeRead = true;
        }
        AEGP_LayerH layer = nullptr;
        if (activeErr || suites.LayerSuite7()->AEGP_GetCompLayerByIndex(activeComp, layerIndex, &layer))
            return b2Vec2(0.0f, 0.0f);
        return GetLayerLinearVelocityAtFrame(pluginId, basicSuite, layer, pixelAspect, frameDuration, currentFrame,
                                             timeDivider(), fps);
    };

    for (int r = static_cast<int>(bodies.size()) - 1; r >= 0; --r) {
        MyBody& record = bodies[r];
        b2Body* body = record.body;
        if (!body || size_t(r) >= bodyLayerIndices.size())
            continue;
        const bool kinematic = body->GetType() == b2_kinematicBody;
        const bool aematic = record.type == BodyType::AEmatic;
        if (!kinematic && !aematic)
            continue;
        const int layerIndex = bodyLayerIndices[r];
        FollowedLayer* followed = following.find(size_t(r));
        FollowedLayer* kept = followed && followed->kept ? followed : nullptr;
        const int lastKeyFrame = followed ? followed->lastKeyFrame : getLastKeyframeInFrames(layerIndex);
        const double lastKey = lastKeyFrame * frame;

        if (lastKey > t) {
            // The world rotation of a layer whose rotations and scales stay
            // put does not change: its angular velocity is 0.
            const bool turns = !followed || followed->turns;
            const bool scales = !followed || followed->scales;
            auto angularVelocity = [&] {
                if (!turns)
                    return 0.0f;
                return Box2DGuard::bounded(kept ? keptAngularVelocity(suites, *kept, times)
                                                : getAngularVelocityAtCurrentFrame(layerIndex));
            };
            if (kinematic) {
                const b2Vec2 v = kept ? keptLinearVelocity(suites, *kept, times) : linearVelocity(layerIndex);
                body->SetLinearVelocity(Box2DGuard::bounded(v));
                body->SetAngularVelocity(angularVelocity());
            } else {
                b2Vec2 p1(0.0f, 0.0f);
                b2Vec2 p0(0.0f, 0.0f);
                A_Err err = A_Err_NONE;
                if (kept && kept->hasStart) {
                    err = following.positionAt(suites, *kept, tNext, p1);
                    p0 = kept->start;
                } else {
                    err = GetWorldPositionAtTime(pluginId, basicSuite, layerIndex, p1, tNext);
                    if (!err)
                        err = GetWorldPositionAtTime(pluginId, basicSuite, layerIndex, p0,
                                                     A_Time{0, frameDuration.scale});
                }
                // A failed query keeps the previous target.
                if (!err && record.aematicJoint) {
                    const b2Vec2 moved(getGLXCoordFromAE(p1.x) - getGLXCoordFromAE(p0.x),
                                       getGLYCoordFromAE(p1.y) - getGLYCoordFromAE(p0.y));
                    const b2Vec2 target = record.aematicAnchorWorld + moved;
                    if (Box2DGuard::isFinite(target))
                        record.aematicJoint->SetTarget(Box2DGuard::bounded(target));
                }
                if (record.rotationVarying)
                    body->SetAngularVelocity(angularVelocity());
            }
            if (scales)
                followScale(suites, r, tNow, tNext);
        } else if (kinematic) {
            // Free from here on, at the speeds of the last frame followed.
            body->SetType(b2_dynamicBody);
            currentFrame -= 1;
            const VelocityTimes last = velocityTimes();
            const b2Vec2 v = kept ? keptLinearVelocity(suites, *kept, last)
                                  : getLinearVelocityAtCurrentFrame(layerIndex);
            const float w = kept ? keptAngularVelocity(suites, *kept, last)
                                 : getAngularVelocityAtCurrentFrame(layerIndex);
            currentFrame += 1;
            body->SetLinearVelocity(Box2DGuard::bounded(v));
            body->SetAngularVelocity(Box2DGuard::bounded(w));
        }
    }
}

void SimulationCore::followScale(const AEGP_SuiteHandler& suites, int recordIndex, A_Time tNow, A_Time tNext)
{
    b2Body* body = bodies[recordIndex].body;
    if (!comp)
        return;
    float sx1 = 1.0f, sy1 = 1.0f, sx0 = 1.0f, sy0 = 1.0f;
    FollowedLayer* followed = following.find(size_t(recordIndex));
    if (followed && followed->kept) {
        if (following.worldScaleAt(suites, *followed, tNext, sx1, sy1)
            || following.worldScaleAt(suites, *followed, tNow, sx0, sy0))
            return;
    } else {
        AEGP_LayerH layer = nullptr;
        if (suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, bodyLayerIndices[recordIndex], &layer)
            || GetWorldScaleAtTime(pluginId, basicSuite, layer, sx1, sy1, tNext)
            || GetWorldScaleAtTime(pluginId, basicSuite, layer, sx0, sy0, tNow))
            return;
    }
    const float rx = sx1 / sx0;
    const float ry = sy1 / sy0;
    if ((rx == 1.0f && ry == 1.0f) || !std::isfinite(rx) || !std::isfinite(ry))
        return;

    // The scaled shapes are built first and checked as a whole, so that a
    // body is either scaled completely or not at all.
    const b2Vec2 c = body->GetLocalCenter();
    auto scaled = [&](b2Vec2 v) { return c + b2Vec2((v - c).x * rx, (v - c).y * ry); };
    struct Scaled {
        b2Fixture* fixture;
        b2CircleShape circle;
        b2PolygonShape polygon;
    };
    std::vector<Scaled> shapes;
    Box2DGuard::MassCheck mass;
    for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
        Scaled s{f, {}, {}};
        const b2Shape* shape = f->GetShape();
        const b2Shape* built = nullptr;
        if (shape->GetType() == b2Shape::e_circle) {
            const auto* circle = static_cast<const b2CircleShape*>(shape);
            if (!Box2DGuard::makeCircle(scaled(circle->m_p), circle->m_radius * rx, s.circle))
                return;
            built = &s.circle;
        } else if (shape->GetType() == b2Shape::e_polygon) {
            const auto* polygon = static_cast<const b2PolygonShape*>(shape);
            b2Vec2 points[b2_maxPolygonVertices];
            for (int k = 0; k < polygon->m_count; ++k)
                points[k] = scaled(polygon->m_vertices[k]);
            if (!Box2DGuard::makePolygon(points, polygon->m_count, polygon->m_radius, s.polygon))
                return;
            built = &s.polygon;
        } else {
            continue;
        }
        mass.add(*built, f->GetDensity());
        shapes.push_back(s);
    }
    if (!mass.wellConditioned())
        return;
    for (const Scaled& s : shapes) {
        b2Shape* shape = s.fixture->GetShape();
        if (shape->GetType() == b2Shape::e_circle)
            *static_cast<b2CircleShape*>(shape) = s.circle;
        else
            *static_cast<b2PolygonShape*>(shape) = s.polygon;
        // The triangles the mesh view shows for a convex piece follow it.
        const auto pieces = world->pieceTriangles.find(s.fixture);
        if (pieces != world->pieceTriangles.end())
            for (Triangle& triangle : pieces->second)
                for (b2Vec2& v : triangle)
                    v = scaled(v);
    }
    if (body->GetType() == b2_dynamicBody)
        body->ResetMassData();
}
