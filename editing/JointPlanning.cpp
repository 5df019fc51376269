#include "editing/JointPlanning.h"

#include "model/ArraySearch.h"
#include "model/DelaunayTriangulator.h"
#include "model/ShortestLink.h"
#include "simulation/Box2DGuard.h"

#include <algorithm>
#include <cmath>

namespace JointPlanning {

const char* const kTooFewPositionsMessage =
    "Delaunay triangulation requires at least three bodies with different positions.";

namespace {

constexpr double kSamePosition = 0.0001;
constexpr float kOutlineSearchTolerance = 0.001f;
constexpr int kOutlineSearchSteps = 500;

bool validBody(const std::vector<MyBody>& bodies, int row)
{
    return row >= 0 && size_t(row) < bodies.size();
}

bool samePosition(b2Vec2 a, b2Vec2 b)
{
    return std::fabs(double(a.x) - double(b.x)) < kSamePosition && std::fabs(double(a.y) - double(b.y)) < kSamePosition;
}

b2Vec2 localCentre(const MyBody& body)
{
    return body.body ? body.body->GetLocalCenter() : b2Vec2(0.0f, 0.0f);
}

b2Vec2 localPoint(const MyBody& body, b2Vec2 world)
{
    return body.body ? body.body->GetLocalPoint(world) : world - body.position;
}

// Consecutive pairs of the operand list.
template <typename Visit>
void forEachChainPair(const std::vector<int>& operands, Visit visit)
{
    for (size_t i = 0; i + 1 < operands.size(); ++i)
        visit(operands[i], operands[i + 1]);
}

// Walks from `from` towards `to` in halving steps and returns the last probe
// that still lay inside the body: where the centre line leaves its outline.
b2Vec2 outlineExit(int body, b2Vec2 from, b2Vec2 to, const PointInBody& pointInBody, int& steps)
{
    b2Vec2 p = from;
    b2Vec2 d = to - from;
    b2Vec2 anchor = from;
    for (;;) {
        const b2Vec2 q = p + 0.5f * d;
        if (pointInBody && pointInBody(body, q)) {
            anchor = q;
            p = q;
            d = to - q;
        } else {
            d = q - p;
        }
        // NaN lengths end the search too.
        if (!(d.Length() >= kOutlineSearchTolerance) || steps > kOutlineSearchSteps)
            break;
        ++steps;
    }
    return anchor;
}

MyDistanceJoint distanceRequest(int a, int b, b2Vec2 anchorA, b2Vec2 anchorB)
{
    MyDistanceJoint request;
    request.bodyA = a;
    request.bodyB = b;
    request.anchorA = anchorA;
    request.anchorB = anchorB;
    return request;
}

void triangulate(const std::vector<MyBody>& bodies, const std::vector<int>& operands, DistancePlan& plan)
{
    std::vector<b2Vec2> positions;
    for (int row : operands) {
        const b2Vec2 c = worldCentre(bodies[size_t(row)]);
        if (!Box2DGuard::isFinite(c))
            continue;
        if (std::none_of(positions.begin(), positions.end(), [&](b2Vec2 p) { return samePosition(p, c); }))
            positions.push_back(c);
    }
    if (positions.size() < 3) {
        plan.tooFewPositions = true;
        return;
    }
    Delaunay2D delaunay(positions);
    delaunay.triangulate();

    // Vertices map back to operands only, the first in body-list order: an
    // unselected body stacked on a selected one is never joined.
    std::vector<int> byBodyOrder = operands;
    std::sort(byBodyOrder.begin(), byBodyOrder.end());
    auto bodyAt = [&](b2Vec2 vertex) {
        for (int row : byBodyOrder)
            if (samePosition(worldCentre(bodies[size_t(row)]), vertex))
                return row;
        return -1;
    };

    std::vector<b2Vec2> edges;
    for (const A_Triangle& triangle : delaunay.getTriangles()) {
        const int ids[3] = {bodyAt(triangle.vertices[0]), bodyAt(triangle.vertices[1]), bodyAt(triangle.vertices[2])};
        if (ids[0] < 0 || ids[1] < 0 || ids[2] < 0)
            continue;
        for (int k = 0; k < 3; ++k) {
            const int a = ids[k];
            const int b = ids[(k + 1) % 3];
            const b2Vec2 edge{float(a), float(b)};
            if (a == b || isEdgeInArray(edge, edges))
                continue;
            plan.requests.push_back(
                distanceRequest(a, b, localCentre(bodies[size_t(a)]), localCentre(bodies[size_t(b)])));
            edges.push_back(edge);
        }
    }
}

} // namespace

std::vector<int> operandList(const std::vector<int>& clickOrder, const std::vector<int>& selected)
{
    auto isSelected = [&](int row) { return std::find(selected.begin(), selected.end(), row) != selected.end(); };
    std::vector<int> order;
    for (int row : clickOrder)
        if (isSelected(row) && std::find(order.begin(), order.end(), row) == order.end())
            order.push_back(row);
    if (order.size() <= 1) {
        std::vector<int> inBodyOrder;
        for (int row : selected)
            if (std::find(inBodyOrder.begin(), inBodyOrder.end(), row) == inBodyOrder.end())
                inBodyOrder.push_back(row);
        return inBodyOrder;
    }
    for (int row : selected)
        if (std::find(order.begin(), order.end(), row) == order.end())
            order.push_back(row);
    return order;
}

DistanceJointMode distanceJointMode(Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (ctrl && alt && shift)
        return DistanceJointMode::Triangulation;
    if (ctrl && alt)
        return DistanceJointMode::EveryPair;
    if (alt && shift)
        return DistanceJointMode::OutlineChain;
    if (alt && !ctrl)
        return DistanceJointMode::ShortestLinkChain;
    return DistanceJointMode::CentreChain;
}

b2Vec2 worldCentre(const MyBody& body)
{
    return body.body ? body.body->GetWorldCenter() : body.position;
}

DistancePlan planDistanceJoints(const std::vector<MyBody>& bodies, const std::vector<int>& givenOperands,
                                DistanceJointMode mode, const PointInBody& pointInBody)
{
    DistancePlan plan;
    std::vector<int> operands;
    for (int row : givenOperands)
        if (validBody(bodies, row))
            operands.push_back(row);
    if (operands.size() < 2)
        return plan;

    switch (mode) {
    case DistanceJointMode::CentreChain:
        forEachChainPair(operands, [&](int a, int b) {
            plan.requests.push_back(
                distanceRequest(a, b, localCentre(bodies[size_t(a)]), localCentre(bodies[size_t(b)])));
        });
        break;
    case DistanceJointMode::EveryPair:
        plan.requests.reserve(operands.size() * (operands.size() - 1) / 2);
        for (size_t i = 0; i < operands.size(); ++i)
            for (size_t j = i + 1; j < operands.size(); ++j) {
                const int a = operands[i];
                const int b = operands[j];
                plan.requests.push_back(
                    distanceRequest(a, b, localCentre(bodies[size_t(a)]), localCentre(bodies[size_t(b)])));
            }
        break;
    case DistanceJointMode::ShortestLinkChain:
        forEachChainPair(operands, [&](int a, int b) {
            const MyBody& bodyA = bodies[size_t(a)];
            const MyBody& bodyB = bodies[size_t(b)];
            const std::vector<b2Vec2> link = computeShortestLinkBetweenTwoBodies(bodyA.body, bodyB.body);
            const b2Vec2 onA = bodyA.body ? link[0] : worldCentre(bodyA);
            const b2Vec2 onB = bodyB.body ? link[1] : worldCentre(bodyB);
            plan.requests.push_back(distanceRequest(a, b, localPoint(bodyA, onA), localPoint(bodyB, onB)));
        });
        break;
    case DistanceJointMode::OutlineChain:
        forEachChainPair(operands, [&](int a, int b) {
            const MyBody& bodyA = bodies[size_t(a)];
            const MyBody& bodyB = bodies[size_t(b)];
            const b2Vec2 cA = worldCentre(bodyA);
            const b2Vec2 cB = worldCentre(bodyB);
            int steps = 0;  // one count for both searches of the pair
            const b2Vec2 onA = outlineExit(a, cA, cB, pointInBody, steps);
            const b2Vec2 onB = outlineExit(b, cB, cA, pointInBody, steps);
            plan.requests.push_back(distanceRequest(a, b, localPoint(bodyA, onA), localPoint(bodyB, onB)));
        });
        break;
    case DistanceJointMode::Triangulation:
        triangulate(bodies, operands, plan);
        break;
    }
    return plan;
}

std::vector<MyRevoluteJoint> planRevoluteJoints(const std::vector<MyBody>& bodies, const std::vector<int>& operands)
{
    std::vector<MyRevoluteJoint> requests;
    forEachChainPair(operands, [&](int a, int b) {
        if (!validBody(bodies, a) || !validBody(bodies, b))
            return;
        MyRevoluteJoint request;
        request.bodyA = a;
        request.bodyB = b;
        request.anchor = 0.5f * (worldCentre(bodies[size_t(a)]) + worldCentre(bodies[size_t(b)]));
        requests.push_back(request);
    });
    return requests;
}

std::vector<MyPrismaticJoint> planPrismaticJoints(const std::vector<MyBody>& bodies,
                                                  const std::vector<int>& operands)
{
    std::vector<MyPrismaticJoint> requests;
    forEachChainPair(operands, [&](int a, int b) {
        if (!validBody(bodies, a) || !validBody(bodies, b))
            return;
        const b2Vec2 cA = worldCentre(bodies[size_t(a)]);
        const b2Vec2 cB = worldCentre(bodies[size_t(b)]);
        MyPrismaticJoint request;
        request.bodyA = a;
        request.bodyB = b;
        request.anchor = 0.5f * (cA + cB);
        // Box2D's normalisation leaves a vector shorter than its epsilon as
        // it is: coincident centres keep the axis (0, 0).
        request.axis = cB - cA;
        request.axis.Normalize();
        requests.push_back(request);
    });
    return requests;
}

std::vector<MySpringJoint> planSpringJoints(const std::vector<int>& operands)
{
    std::vector<MySpringJoint> requests;
    forEachChainPair(operands, [&](int a, int b) {
        MySpringJoint request;
        request.bodyA = a;
        request.bodyB = b;
        requests.push_back(request);
    });
    return requests;
}

} // namespace JointPlanning
