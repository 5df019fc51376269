// The forces the program applies itself between world steps: magnetism and
// springs. Both act in the next call of b2World::Step.
#include "simulation/SimulationCore.h"

#include "simulation/Box2DGuard.h"

namespace {

// Pairs closer than this (world units) exert no force: the direction between
// coincident points is undefined and the force would divide by zero.
constexpr float kMinForceDistance = 1.0e-4f;

} // namespace

void SimulationCore::applyMagnetism(int recordIndex, double frameSeconds, double divider)
{
    MyBody& record = bodies[recordIndex];
    b2Body* body = record.body;
    const b2Vec2 centre = body->GetWorldCenter();
    b2Vec2 force(0.0f, 0.0f);
    for (size_t j = 0; j < bodies.size(); ++j) {
        const MyBody& magnet = bodies[j];
        if (int(j) == recordIndex || magnet.magnetismType == MagnetismType::NoMagnetism
            || magnet.type == BodyType::Dead || !magnet.body || !isAliveAt(magnet, frameSeconds, divider))
            continue;
        const b2Vec2 d = magnet.body->GetWorldCenter() - centre;
        const float dist = d.Length();
        if (!(dist < magnet.magnetDistance / 100.0f) || dist < kMinForceDistance)
            continue;
        const b2Vec2 u = (1.0f / dist) * d;
        const float k = magnet.magnetIntensity / 10.0f;
        if (magnet.magnetismType == MagnetismType::Attraction)
            force += (k / (dist * dist)) * u;
        else if (magnet.magnetismType == MagnetismType::Repulsion)
            force -= (k / (dist * dist)) * u;
        if (record.type == BodyType::Dormant)
            record.dormant = false;
    }
    body->ApplyForce(Box2DGuard::bounded(force), centre, true);
}

void SimulationCore::addSpringForce(b2Body* bodyA, b2Vec2 localAnchorA, b2Body* bodyB, b2Vec2 localAnchorB,
                                    float springiness, float damping, float desiredLength)
{
    if (!bodyA || !bodyB)
        return;
    const b2Vec2 pA = bodyA->GetWorldPoint(localAnchorA);
    const b2Vec2 pB = bodyB->GetWorldPoint(localAnchorB);
    const b2Vec2 vA =
        bodyA->GetLinearVelocity() - b2Cross(bodyA->GetWorldVector(localAnchorA), bodyA->GetAngularVelocity());
    const b2Vec2 vB =
        bodyB->GetLinearVelocity() - b2Cross(bodyB->GetWorldVector(localAnchorB), bodyB->GetAngularVelocity());
    b2Vec2 delta = pB - pA;
    const float length = delta.Length();
    if (!(length >= kMinForceDistance))
        return;
    const b2Vec2 u = (1.0f / length) * delta;
    const float relativeSpeed = b2Dot(vB - vA, u);
    const float magnitude = -200.0f * springiness * (length - desiredLength) - 5.0f * damping * relativeSpeed;
    const b2Vec2 force = Box2DGuard::bounded(magnitude * u);
    bodyB->ApplyForce(force, pA, true);
    bodyA->ApplyForce(-force, pB, true);
}

void SimulationCore::applySpringForces()
{
    const int count = static_cast<int>(bodies.size());
    for (const MyJoint& joint : joints) {
        if (joint.type != JointType::Spring || joint.bodyA < 0 || joint.bodyA >= count || joint.bodyB < 0
            || joint.bodyB >= count)
            continue;
        const MyBody& a = bodies[joint.bodyA];
        const MyBody& b = bodies[joint.bodyB];
        const bool aAsleep = a.type == BodyType::Dormant && a.dormant;
        const bool bAsleep = b.type == BodyType::Dormant && b.dormant;
        if ((aAsleep && bAsleep) || (a.type == BodyType::Static && bAsleep) || (aAsleep && b.type == BodyType::Static))
            continue;
        addSpringForce(a.body, joint.anchorA, b.body, joint.anchorB, joint.springiness, joint.damping,
                       joint.desiredLength);
    }
}

void SimulationCore::refreshJointStiffness()
{
    // Box2D fixes a soft joint's stiffness when the joint is made; the bodies'
    // masses change when they change type, so it is worked out every frame.
    for (const MyJoint& joint : joints) {
        if (joint.type != JointType::Distance || !joint.joint || !(joint.frequency > 0.0f))
            continue;
        float stiffness = 0.0f;
        float damping = 0.0f;
        b2LinearStiffness(stiffness, damping, joint.frequency, Box2DGuard::nonNegative(joint.damping),
                          joint.joint->GetBodyA(), joint.joint->GetBodyB());
        auto* distance = static_cast<b2DistanceJoint*>(joint.joint);
        distance->SetStiffness(Box2DGuard::nonNegative(stiffness));
        distance->SetDamping(Box2DGuard::nonNegative(damping));
    }
    for (const MyBody& record : bodies) {
        if (!record.aematicJoint || !record.body)
            continue;
        float stiffness = 0.0f;
        float damping = 0.0f;
        b2LinearStiffness(stiffness, damping, Box2DGuard::nonNegative(record.aematicTension),
                          Box2DGuard::nonNegative(record.aematicDamping), record.aematicJoint->GetBodyA(),
                          record.body);
        record.aematicJoint->SetStiffness(Box2DGuard::nonNegative(stiffness));
        record.aematicJoint->SetDamping(Box2DGuard::nonNegative(damping));
        record.aematicJoint->SetMaxForce(Box2DGuard::nonNegative(1000.0f * record.body->GetMass()));
    }
}
