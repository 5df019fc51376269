// The forces the program applies itself between world steps: magnetism and
// springs. Both act in the next call of b2World::Step.
#include "simulation/SimulationCore.h"

#include "simulation/Box2DGuard.h"

#include <algorithm>
#include <cmath>

namespace {

// Pairs closer than this (world units) exert no force: the direction between
// coincident points is undefined and the force would divide by zero.
constexpr float kMinForceDistance = 1.0e-4f;

} // namespace

namespace {

// Collects the records of the bodies whose fixtures' boxes overlap a query.
class RecordsInBox : public b2QueryCallback
{
public:
    RecordsInBox(const SimulationCore& core, int magnet, std::vector<std::pair<int, int>>& pairs)
        : core(core), magnet(magnet), pairs(pairs)
    {
    }
    bool ReportFixture(b2Fixture* fixture) override
    {
        const int record = core.getBodyIdFromB2Body(fixture->GetBody());
        if (record >= 0 && record != magnet)
            pairs.emplace_back(record, magnet);
        return true;
    }

private:
    const SimulationCore& core;
    int magnet;
    std::vector<std::pair<int, int>>& pairs;
};

bool isMagnet(const MyBody& record)
{
    return record.magnetismType != MagnetismType::NoMagnetism && record.type != BodyType::Dead && record.body;
}

// Where a body's centre of mass can be while this tick's walk computes
// forces: where it is now, at its origin (a body turning static or
// kinematic) and, for a body that is not dynamic, where it would be as a
// dynamic body (mass-weighted centres of its fixtures, as Box2D puts it).
struct PossibleCentres {
    b2Vec2 points[3];
    int count = 0;
};

PossibleCentres possibleCentres(const b2Body& body)
{
    PossibleCentres c;
    c.points[c.count++] = body.GetWorldCenter();
    c.points[c.count++] = body.GetPosition();
    if (body.GetType() != b2_dynamicBody) {
        float mass = 0.0f;
        b2Vec2 moment(0.0f, 0.0f);
        for (const b2Fixture* f = body.GetFixtureList(); f; f = f->GetNext()) {
            if (f->GetDensity() == 0.0f)
                continue;
            b2MassData data;
            f->GetMassData(&data);
            mass += data.mass;
            moment += data.mass * data.center;
        }
        if (mass > 0.0f && std::isfinite(mass) && Box2DGuard::isFinite(moment))
            c.points[c.count++] = b2Mul(body.GetTransform(), (1.0f / mass) * moment);
    }
    return c;
}

float largestCoordinate(b2Vec2 p)
{
    return std::max(std::abs(p.x), std::abs(p.y));
}

// Rounding allowance (world units) around points near `p`: the query boxes
// are widened by it, so that a centre a few ulps inside a range, or a
// computed centre a few ulps off Box2D's, is still found.
float roundingSlack(float extent, b2Vec2 p)
{
    return 1.0e-3f * (1.0f + extent + largestCoordinate(p));
}

// Whether `p` lies within `tolerance` of the box of one of the body's
// fixtures: a query box holding p then overlaps that fixture's proxy.
bool inAFixtureBox(const b2Body& body, b2Vec2 p, float tolerance)
{
    for (const b2Fixture* f = body.GetFixtureList(); f; f = f->GetNext()) {
        for (int32 child = 0; child < f->GetShape()->GetChildCount(); ++child) {
            const b2AABB& box = f->GetAABB(child);
            if (p.x >= box.lowerBound.x - tolerance && p.x <= box.upperBound.x + tolerance
                && p.y >= box.lowerBound.y - tolerance && p.y <= box.upperBound.y + tolerance)
                return true;
        }
    }
    return false;
}

} // namespace

void SimulationCore::findMagnetNeighbours()
{
    magnetPairs.clear();
    // (body record, magnet record), magnet after magnet in record order.
    std::vector<std::pair<int, int>> found;
    // A magnet acts on the bodies whose centre of mass lies within its
    // range of its own centre. Each magnet asks the broad phase for the
    // fixtures whose boxes overlap its range around every place its centre
    // can take during the walk; a body is found that way when each place its
    // own centre can take lies in one of its fixtures' boxes. The others
    // (centres in empty space, bodies without fixtures in the broad phase)
    // are few and considered by every magnet.
    std::vector<int> everywhere;
    bool anyMagnet = false;
    for (size_t r = 0; r < bodies.size(); ++r) {
        const b2Body* body = bodies[r].body;
        if (!body)
            continue;
        anyMagnet = anyMagnet || isMagnet(bodies[r]);
        if (!body->GetFixtureList() || !body->IsEnabled()) {
            everywhere.push_back(int(r));
            continue;
        }
        const PossibleCentres centres = possibleCentres(*body);
        for (int i = 0; i < centres.count; ++i) {
            const b2Vec2 p = centres.points[i];
            if (!inAFixtureBox(*body, p, 0.5f * roundingSlack(0.0f, p))) {
                everywhere.push_back(int(r));
                break;
            }
        }
    }
    if (!anyMagnet)
        return;
    for (size_t j = 0; j < bodies.size(); ++j) {
        const MyBody& magnet = bodies[j];
        if (!isMagnet(magnet))
            continue;
        const float range = magnet.magnetDistance / 100.0f;
        if (!(range > 0.0f))
            continue;
        const PossibleCentres centres = possibleCentres(*magnet.body);
        b2AABB query;
        query.lowerBound = query.upperBound = centres.points[0];
        for (int i = 1; i < centres.count; ++i) {
            query.lowerBound = b2Min(query.lowerBound, centres.points[i]);
            query.upperBound = b2Max(query.upperBound, centres.points[i]);
        }
        const float far = std::max(largestCoordinate(query.lowerBound), largestCoordinate(query.upperBound));
        const float reach = range + roundingSlack(range, b2Vec2(far, far));
        const float margin = std::isfinite(reach) ? reach : b2_maxFloat;
        query.lowerBound -= b2Vec2(margin, margin);
        query.upperBound += b2Vec2(margin, margin);
        RecordsInBox collect(*this, int(j), found);
        world->QueryAABB(&collect, query);
        for (int r : everywhere)
            if (r != int(j))
                found.emplace_back(r, int(j));
    }
    // By body, each body's magnets in record order (the order of the sum),
    // once each whatever the number of fixtures: bucketed by body in the
    // order found, which keeps each body's magnets in order.
    std::vector<size_t> next(bodies.size() + 1, 0);
    for (const auto& pair : found)
        ++next[size_t(pair.first) + 1];
    for (size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    magnetPairs.resize(found.size());
    for (const auto& pair : found)
        magnetPairs[next[size_t(pair.first)]++] = pair;
    magnetPairs.erase(std::unique(magnetPairs.begin(), magnetPairs.end()), magnetPairs.end());
}

b2Vec2 SimulationCore::magnetForce(int recordIndex, double frameSeconds, double divider)
{
    MyBody& record = bodies[recordIndex];
    const b2Vec2 centre = record.body->GetWorldCenter();
    b2Vec2 force(0.0f, 0.0f);
    auto it = std::lower_bound(magnetPairs.begin(), magnetPairs.end(), std::make_pair(recordIndex, -1));
    for (; it != magnetPairs.end() && it->first == recordIndex; ++it) {
        const MyBody& magnet = bodies[size_t(it->second)];
        if (!isMagnet(magnet) || !isAliveAt(magnet, frameSeconds, divider))
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
    return force;
}

void SimulationCore::applyMagnetism(int recordIndex, double frameSeconds, double divider)
{
    b2Body* body = bodies[recordIndex].body;
    body->ApplyForce(Box2DGuard::bounded(magnetForce(recordIndex, frameSeconds, divider)), body->GetWorldCenter(),
                     true);
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
