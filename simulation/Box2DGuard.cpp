#include "simulation/Box2DGuard.h"

#include "model/PolygonUtils.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace Box2DGuard {

namespace {

// Box2D welds polygon points closer than half the linear slop.
constexpr float kWeldDistance = 0.5f * b2_linearSlop;
// Box2D asserts an area above b2_epsilon; keep well clear of it.
constexpr double kMinPolygonArea = 1.0e-6;
// The inertia about the centre of mass must keep at least this share of the
// inertia about the origin, and Box2D's float result at least this share of
// the exact one.
constexpr double kMinCentredInertiaShare = 1.0e-5;
constexpr double kMinFloatAgreement = 0.5;
constexpr float kMinAxisLength = 1.0e-6f;

// Box2D's own hull of the welded points (gift wrapping, in float, exactly as
// b2PolygonShape::Set computes it), so that an accepted set is one Box2D
// accepts. Returns the number of hull corners written to `hull`.
int giftWrap(const b2Vec2* ps, int n, b2Vec2* hull)
{
    int i0 = 0;
    float x0 = ps[0].x;
    for (int i = 1; i < n; ++i) {
        const float x = ps[i].x;
        if (x > x0 || (x == x0 && ps[i].y < ps[i0].y)) {
            i0 = i;
            x0 = x;
        }
    }

    int indices[b2_maxPolygonVertices];
    int m = 0;
    int ih = i0;
    for (;;) {
        if (m >= b2_maxPolygonVertices)
            return 0;
        indices[m] = ih;
        int ie = 0;
        for (int j = 1; j < n; ++j) {
            if (ie == ih) {
                ie = j;
                continue;
            }
            const b2Vec2 r = ps[ie] - ps[indices[m]];
            const b2Vec2 v = ps[j] - ps[indices[m]];
            const float c = b2Cross(r, v);
            if (c < 0.0f)
                ie = j;
            if (c == 0.0f && v.LengthSquared() > r.LengthSquared())
                ie = j;
        }
        ++m;
        ih = ie;
        if (ie == i0)
            break;
    }
    for (int i = 0; i < m; ++i)
        hull[i] = ps[indices[i]];
    return m;
}

// The area as Box2D computes it for the centroid and the mass of the hull it
// keeps: in float, as a fan of triangles from the first corner. Cancellation
// in float can bring it to zero where the true area is not.
float box2DArea(const b2Vec2* vs, int count)
{
    float area = 0.0f;
    const b2Vec2 s = vs[0];
    for (int i = 0; i < count; ++i) {
        const b2Vec2 e1 = vs[i] - s;
        const b2Vec2 e2 = i + 1 < count ? vs[i + 1] - s : vs[0] - s;
        const float d = b2Cross(e1, e2);
        area += 0.5f * d;
    }
    return area;
}

} // namespace

bool isFinite(float v)
{
    return std::isfinite(v);
}

bool isFinite(b2Vec2 v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

float finiteOr(float v, float fallback)
{
    return std::isfinite(v) ? v : fallback;
}

b2Vec2 finiteOr(b2Vec2 v, b2Vec2 fallback)
{
    return isFinite(v) ? v : fallback;
}

float bounded(float v)
{
    return std::clamp(finiteOr(v, 0.0f), -kMaxMagnitude, kMaxMagnitude);
}

b2Vec2 bounded(b2Vec2 v)
{
    return b2Vec2(bounded(v.x), bounded(v.y));
}

float nonNegative(float v)
{
    return std::isfinite(v) && v > 0.0f ? v : 0.0f;
}

void mendBodyDef(b2BodyDef& def)
{
    def.position = bounded(def.position);
    def.angle = bounded(def.angle);
    def.linearVelocity = bounded(def.linearVelocity);
    def.angularVelocity = bounded(def.angularVelocity);
    def.linearDamping = nonNegative(def.linearDamping);
    def.angularDamping = nonNegative(def.angularDamping);
    def.gravityScale = finiteOr(def.gravityScale, 1.0f);
}

void mendFixtureDef(b2FixtureDef& def)
{
    def.density = nonNegative(def.density);
    def.friction = nonNegative(def.friction);
    def.restitution = nonNegative(def.restitution);
    def.restitutionThreshold = nonNegative(def.restitutionThreshold);
}

bool makePolygon(const b2Vec2* points, int count, float radius, b2PolygonShape& out)
{
    if (!points || count < 3 || count > b2_maxPolygonVertices || !std::isfinite(radius) || radius < 0.0f)
        return false;

    b2Vec2 welded[b2_maxPolygonVertices];
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const b2Vec2 v = points[i];
        if (!isFinite(v) || std::fabs(v.x) > kMaxMagnitude || std::fabs(v.y) > kMaxMagnitude)
            return false;
        bool unique = true;
        for (int j = 0; j < n; ++j) {
            if (b2DistanceSquared(v, welded[j]) < kWeldDistance * kWeldDistance) {
                unique = false;
                break;
            }
        }
        if (unique)
            welded[n++] = v;
    }
    if (n < 3)
        return false;

    b2Vec2 hull[b2_maxPolygonVertices];
    const int m = giftWrap(welded, n, hull);
    if (m < 3)
        return false;
    for (int i = 0; i < m; ++i) {
        const b2Vec2 edge = hull[(i + 1) % m] - hull[i];
        if (edge.Length() < kWeldDistance)
            return false;
    }
    if (!(signedArea(hull, size_t(m)) > kMinPolygonArea) || !(double(box2DArea(hull, m)) > kMinPolygonArea))
        return false;

    out.Set(points, count);
    out.m_radius = radius;
    return true;
}

bool makeCircle(b2Vec2 centre, float radius, b2CircleShape& out)
{
    if (!isFinite(centre) || !std::isfinite(radius) || !(radius > 0.0f) || radius > kMaxMagnitude
        || std::fabs(centre.x) > kMaxMagnitude || std::fabs(centre.y) > kMaxMagnitude)
        return false;
    out.m_p = centre;
    out.m_radius = radius;
    return true;
}

void MassCheck::add(const b2Shape& shape, float density)
{
    if (density == 0.0f)
        return;  // Box2D skips massless fixtures
    b2MassData md;
    shape.ComputeMass(&md, density);
    if (!std::isfinite(md.mass) || !isFinite(md.center) || !std::isfinite(md.I)) {
        finite = false;
        return;
    }
    mass += md.mass;
    mx += double(md.mass) * md.center.x;
    my += double(md.mass) * md.center.y;
    inertia += md.I;
    // As b2Body::ResetMassData adds them.
    floatMass += md.mass;
    floatMoment += md.mass * md.center;
    floatInertia += md.I;
}

void MassCheck::addFixtures(const b2Body& body)
{
    for (const b2Fixture* f = body.GetFixtureList(); f; f = f->GetNext())
        add(*f->GetShape(), f->GetDensity());
}

bool MassCheck::wellConditioned() const
{
    if (!finite || !std::isfinite(mass) || !std::isfinite(inertia) || !std::isfinite(floatMass)
        || !std::isfinite(floatInertia) || !isFinite(floatMoment))
        return false;
    if (!(inertia > 0.0) && !(floatInertia > 0.0f))
        return true;  // Box2D only centres a positive inertia
    if (!(mass > 0.0) || !(floatMass > 0.0f))
        return false;
    const double cx = mx / mass, cy = my / mass;
    const double centred = inertia - mass * (cx * cx + cy * cy);
    if (!(centred > kMinCentredInertiaShare * inertia))
        return false;
    // Box2D's own arithmetic, step by step.
    const b2Vec2 centre = (1.0f / floatMass) * floatMoment;
    float floatCentred = floatInertia;
    floatCentred -= floatMass * b2Dot(centre, centre);
    return std::isfinite(floatCentred) && double(floatCentred) > kMinFloatAgreement * centred;
}

bool jointBodiesUsable(const b2Body* a, const b2Body* b)
{
    return a && b && a != b;
}

void orderLimits(float& lower, float& upper)
{
    lower = finiteOr(lower, 0.0f);
    upper = finiteOr(upper, 0.0f);
    if (lower > upper)
        std::swap(lower, upper);
}

void setLimits(b2RevoluteJoint* joint, float lower, float upper)
{
    if (!joint)
        return;
    orderLimits(lower, upper);
    joint->SetLimits(lower, upper);
}

void setLimits(b2PrismaticJoint* joint, float lower, float upper)
{
    if (!joint)
        return;
    orderLimits(lower, upper);
    joint->SetLimits(lower, upper);
}

b2Vec2 unitAxis(b2Vec2 axis)
{
    if (!isFinite(axis) || axis.Length() < kMinAxisLength)
        return b2Vec2(1.0f, 0.0f);
    axis.Normalize();
    return axis;
}

namespace {

bool finiteMotion(const b2Body& body)
{
    return isFinite(body.GetPosition()) && std::isfinite(body.GetAngle()) && isFinite(body.GetLinearVelocity())
        && std::isfinite(body.GetAngularVelocity()) && isFinite(body.GetWorldCenter());
}

} // namespace

void FiniteKeeper::reset(const b2World& world)
{
    good.clear();
    coldStep = false;
    for (const b2Body* body = world.GetBodyList(); body; body = body->GetNext()) {
        const bool finite = isFinite(body->GetPosition()) && std::isfinite(body->GetAngle());
        good.push_back({body, finite ? body->GetPosition() : b2Vec2(0.0f, 0.0f), finite ? body->GetAngle() : 0.0f});
    }
}

int FiniteKeeper::afterStep(b2World& world)
{
    if (coldStep) {
        world.SetWarmStarting(true);
        coldStep = false;
    }
    int mended = 0;
    size_t i = 0;
    for (b2Body* body = world.GetBodyList(); body; body = body->GetNext(), ++i) {
        if (i == good.size())
            good.push_back({nullptr, b2Vec2(0.0f, 0.0f), 0.0f});
        Place& place = good[i];
        if (place.body != body) {
            // Made since the last step: no good place known yet but the origin.
            place = {body, b2Vec2(0.0f, 0.0f), 0.0f};
        }
        if (finiteMotion(*body)) {
            place.position = body->GetPosition();
            place.angle = body->GetAngle();
            continue;
        }
        body->SetTransform(place.position, place.angle);
        body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        body->SetAngularVelocity(0.0f);
        ++mended;
    }
    good.resize(i);
    if (mended > 0 && world.GetWarmStarting()) {
        world.SetWarmStarting(false);
        coldStep = true;
    }
    return mended;
}

b2Body* createBody(b2World& world, b2BodyDef def)
{
    if (world.IsLocked())
        return nullptr;
    mendBodyDef(def);
    return world.CreateBody(&def);
}

b2Joint* createJoint(b2World& world, b2JointDef& def)
{
    if (world.IsLocked() || !jointBodiesUsable(def.bodyA, def.bodyB))
        return nullptr;
    switch (def.type) {
    case e_distanceJoint: {
        auto& d = static_cast<b2DistanceJointDef&>(def);
        d.localAnchorA = bounded(d.localAnchorA);
        d.localAnchorB = bounded(d.localAnchorB);
        d.length = bounded(nonNegative(d.length));
        d.minLength = bounded(nonNegative(d.minLength));
        d.maxLength = nonNegative(d.maxLength);  // FLT_MAX: no upper bound
        if (d.minLength > d.maxLength)
            std::swap(d.minLength, d.maxLength);
        d.stiffness = nonNegative(d.stiffness);
        d.damping = nonNegative(d.damping);
        break;
    }
    case e_revoluteJoint: {
        auto& r = static_cast<b2RevoluteJointDef&>(def);
        r.localAnchorA = bounded(r.localAnchorA);
        r.localAnchorB = bounded(r.localAnchorB);
        r.referenceAngle = finiteOr(r.referenceAngle, 0.0f);
        orderLimits(r.lowerAngle, r.upperAngle);
        r.lowerAngle = bounded(r.lowerAngle);
        r.upperAngle = bounded(r.upperAngle);
        r.motorSpeed = bounded(r.motorSpeed);
        r.maxMotorTorque = bounded(nonNegative(r.maxMotorTorque));
        break;
    }
    case e_prismaticJoint: {
        auto& p = static_cast<b2PrismaticJointDef&>(def);
        p.localAnchorA = bounded(p.localAnchorA);
        p.localAnchorB = bounded(p.localAnchorB);
        p.localAxisA = unitAxis(p.localAxisA);
        p.referenceAngle = finiteOr(p.referenceAngle, 0.0f);
        orderLimits(p.lowerTranslation, p.upperTranslation);
        p.lowerTranslation = bounded(p.lowerTranslation);
        p.upperTranslation = bounded(p.upperTranslation);
        p.motorSpeed = bounded(p.motorSpeed);
        p.maxMotorForce = bounded(nonNegative(p.maxMotorForce));
        break;
    }
    case e_mouseJoint: {
        auto& m = static_cast<b2MouseJointDef&>(def);
        m.target = finiteOr(m.target, def.bodyB->GetPosition());
        m.maxForce = nonNegative(m.maxForce);
        m.stiffness = nonNegative(m.stiffness);
        m.damping = nonNegative(m.damping);
        break;
    }
    default:
        return nullptr;  // the scene makes no other joints
    }
    return world.CreateJoint(&def);
}

} // namespace Box2DGuard
