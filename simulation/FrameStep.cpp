// One tick of the frame timer: one composition frame of simulation.
//
// The world lists its bodies newest first; track c of the recording and the
// c-th body of that list belong to record N - 1 - c. The walks below go over
// the records from the last to the first, which is the same order.
#include "simulation/SimulationCore.h"

#include "model/UserData.h"
#include "render/SceneDraw.h"
#include "simulation/Box2DGuard.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kVelocityIterations = 10;
constexpr int kPositionIterations = 10;
// More sub-steps than this per frame are not taken (the control allows far
// fewer).
constexpr int kMaxSubsteps = 1000;

} // namespace

void SimulationCore::updatePhysics()
{
    if (looping && currentFrame >= loopEndFrame)
        restartAndPlayAnimation();

    readControls();
    const double divider = timeDivider();
    const double frame = frameSeconds();
    const double dt = timingUsable() ? 1.0 / (divider * fps) : 0.0;
    const double t = double(currentFrame) * frame / divider;

    if (!sceneInitialised) {
        initScene();
        sceneInitialised = true;
    }
    if (!world)
        return;

    // An export records as fast as the machine allows: no sleep, and the
    // view and its read-outs are refreshed only as often as the limiter
    // lets showing the export cost a small share of its time.
    const bool recordingExport = running && exporting;
    const FrameLimiter::WorkSpan work(limiter, recordingExport);
    const bool show = !recordingExport || limiter.paintDue(fps);
    const int shownFrame = currentFrame;

    applyGravity();
    prepareDrawing();
    if (show)
        setFrameInfo(currentFrame);

    if (running) {
        const double rate = recordingExport ? limiter.measure(singleStep) : limiter.tick(singleStep, fps);
        if (recordingExport ? show : currentFrame % 2 == 0)
            setFpsInfo(rate);
    }
    if (playing && show)
        showWorldInfo();

    updateLifeSpans(frame, divider);

    if (running) {
        if (hasKinematicBody || hasAEmaticBody)
            followLayers(t, dt);
        if (exporting && currentFrame >= exportStartFrame && currentFrame <= exportEndFrame)
            recordFrame(show);
        stepWorld(dt);

        if (singleStep) {
            running = false;
            playing = false;
            singleStep = false;
        }
        if (currentFrame > kLastSimulatedFrame) {
            restartAndStopAnimation(false);
        } else if (exporting && currentFrame > exportEndFrame) {
            running = false;
            playing = false;
        }
        currentFrame += 1;
    }

    setDrawJointsFlag((drawingFlags & DrawingFlag::Joints) != 0);
    // The tick that ends the export has turned `exporting` off: the last
    // frame is always shown.
    if (!exporting) {
        limiter.resetPaint();
        if (!show)
            setFrameInfo(shownFrame);
    }
    if (show || !exporting)
        refreshView();

    if (playing)
        applySpringForces();
}

void SimulationCore::applyGravity()
{
    b2Vec2 g(0.0f, 0.0f);
    if (controls.gravityFromLayer) {
        g = getLayerPosAtCurrentFrame(controls.gravityLayer);
    } else {
        const float m = float(controls.gravityMagnitude);
        const float d = float(controls.gravityDirection);
        g = b2Vec2(std::cos(d * b2_pi / 180.0f) * m, std::sin(d * b2_pi / 180.0f) * m);
    }
    g = Box2DGuard::bounded(g);
    world->SetGravity(g);
    if (running && playing && controls.captureGravity) {
        capturedGravity.push_back(g);
        if (capturedGravity.size() == 1) {
            capturedGravityStartFrame = currentFrame;
            capturedGravityFirst = g;
        }
    }
}

bool SimulationCore::isAliveAt(const MyBody& body, double frameSeconds, double divider) const
{
    const double start = double(body.startFrame) * frameSeconds * divider;
    const double end = double(body.endFrame) * frameSeconds * divider;
    const double now = double(currentFrame) * frameSeconds;
    return !(start > now || now > end);
}

void SimulationCore::updateLifeSpans(double frameSeconds, double divider)
{
    if (running && hasMagnet)
        findMagnetNeighbours();
    for (int r = static_cast<int>(bodies.size()) - 1; r >= 0; --r) {
        MyBody& record = bodies[r];
        b2Body* body = record.body;
        if (!body)
            continue;
        const bool dead = record.type == BodyType::Dead || !isAliveAt(record, frameSeconds, divider);
        const bool wasNotAlive = record.userData && record.userData->notAlive;

        if (wasNotAlive && !dead) {
            if (record.type == BodyType::Dynamic) {
                body->SetType(b2_dynamicBody);
                const float a = record.linearVelocityDirection * b2_pi / 180.0f;
                const float v = record.linearVelocityMagnitude;
                body->SetLinearVelocity(Box2DGuard::bounded(b2Vec2(std::cos(a) * v, std::sin(a) * v)));
            }
        } else if (!wasNotAlive && dead && record.type == BodyType::Dynamic) {
            body->SetType(b2_staticBody);
        }
        // "Becomes Dynamic at Inpoint" holds from the in-point on, also for a
        // layer that starts at frame 0 or earlier.
        if (!dead && record.type == BodyType::Kinematic && kinematicBehavior == KinematicBehavior::DynamicAtInpoint
            && body->GetType() == b2_kinematicBody)
            body->SetType(b2_dynamicBody);

        for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext())
            f->SetSensor(dead);
        if (record.userData)
            record.userData->notAlive = dead;

        if (running && hasMagnet && record.acceptMagnetism && record.type != BodyType::Dead)
            applyMagnetism(r, frameSeconds, divider);

        if (record.type == BodyType::Dormant && !record.dormant && std::isfinite(record.gravityScale)
            && body->GetGravityScale() != record.gravityScale)
            body->SetGravityScale(record.gravityScale);
    }
}

void SimulationCore::stepWorld(double dt)
{
    // Zero sub-steps hold the world still: the frame passes without a step.
    double substeps = std::isfinite(controls.substeps) ? std::trunc(controls.substeps) : 1.0;
    const int n = static_cast<int>(std::clamp(substeps, 0.0, double(kMaxSubsteps)));
    if (n == 0)
        return;
    const float h = static_cast<float>(dt / n);
    if (!(h > 0.0f) || !std::isfinite(h))
        return;
    refreshJointStiffness();
    for (int k = 0; k < n; ++k) {
        world->Step(h, kVelocityIterations, kPositionIterations);
        finiteKeeper.afterStep(*world);
        wakeDormantBodies();
    }
}

void SimulationCore::wakeDormantBodies()
{
    if (!hasDormantBody)
        return;
    for (int r = static_cast<int>(bodies.size()) - 1; r >= 0; --r) {
        MyBody& record = bodies[r];
        b2Body* body = record.body;
        if (!body)
            continue;
        if (dormantBehavior == DormantBehavior::ZeroGravityScale) {
            if (!record.dormant)
                continue;
            for (b2ContactEdge* edge = body->GetContactList(); edge; edge = edge->next) {
                b2Contact* contact = edge->contact;
                if (contact->GetManifold()->pointCount < 1)
                    continue;
                const int a = getBodyIdFromB2Body(contact->GetFixtureA()->GetBody());
                const int b = getBodyIdFromB2Body(contact->GetFixtureB()->GetBody());
                const bool bothDormant = a >= 0 && b >= 0 && bodies[a].dormant && bodies[b].dormant;
                if (!bothDormant) {
                    record.dormant = false;
                    break;
                }
            }
        } else if (record.type == BodyType::Dormant) {
            for (b2ContactEdge* edge = body->GetContactList(); edge; edge = edge->next) {
                if (edge->contact->GetManifold()->pointCount >= 1) {
                    body->SetType(b2_dynamicBody);
                    record.dormant = false;
                    break;
                }
            }
            if (!hasKinematicBody)
                continue;
            for (size_t k = 0; k < bodies.size(); ++k) {
                if (int(k) == r || bodies[k].type != BodyType::Kinematic || !bodies[k].body)
                    continue;
                if (areBodiesOverlapping(body, bodies[k].body)) {
                    body->SetType(b2_dynamicBody);
                    record.dormant = false;
                    break;
                }
            }
        }
    }
}

bool SimulationCore::areBodiesOverlapping(b2Body* a, b2Body* b)
{
    if (!a || !b)
        return false;
    for (b2Fixture* fa = a->GetFixtureList(); fa; fa = fa->GetNext())
        for (b2Fixture* fb = b->GetFixtureList(); fb; fb = fb->GetNext())
            if (b2TestOverlap(fa->GetShape(), 0, fb->GetShape(), 0, a->GetTransform(), b->GetTransform()))
                return true;
    return false;
}

float SimulationCore::radDiff(float a, float b)
{
    const double d = double(a) - double(b);
    return static_cast<float>(std::atan2(std::sin(d), std::cos(d)));
}
