// Which bodies the joint buttons join and where the joints are anchored.
// The planners read the bodies and their world bodies and return one request
// per joint to create; they change nothing. The view pushes the requests as
// one undo command.
#pragma once

#include "model/JointRequests.h"
#include "model/MyBody.h"

#include <Qt>

#include <functional>
#include <vector>

namespace JointPlanning {

// The bodies to join, in order. The click order keeps only bodies still
// selected (each once); when more than one is left, the list is that order
// followed by the other selected bodies in body-list order. Otherwise it is
// the selection in body-list order.
std::vector<int> operandList(const std::vector<int>& clickOrder, const std::vector<int>& selected);

enum class DistanceJointMode {
    CentreChain,        // consecutive pairs, anchored at the centres of mass
    EveryPair,          // Ctrl + Alt
    Triangulation,      // Ctrl + Alt + Shift: Delaunay edges between the centres
    OutlineChain,       // Alt + Shift: where the centre line leaves each body
    ShortestLinkChain,  // Alt: the ends of the shortest link between the outlines
};

DistanceJointMode distanceJointMode(Qt::KeyboardModifiers modifiers);

// Whether a world point lies inside a body (some fixture holds it).
using PointInBody = std::function<bool(int body, b2Vec2 point)>;

struct DistancePlan {
    std::vector<MyDistanceJoint> requests;
    // Triangulation with fewer than three distinct centres: nothing to push.
    bool tooFewPositions = false;
};

extern const char* const kTooFewPositionsMessage;

// Distance joints between the operands; anchors local to their bodies.
DistancePlan planDistanceJoints(const std::vector<MyBody>& bodies, const std::vector<int>& operands,
                                DistanceJointMode mode, const PointInBody& pointInBody);
// Pivots at the midpoint of each consecutive pair's centres (world).
std::vector<MyRevoluteJoint> planRevoluteJoints(const std::vector<MyBody>& bodies, const std::vector<int>& operands);
// As the pivots, with the unit axis from A's centre to B's ((0, 0) when the
// centres coincide).
std::vector<MyPrismaticJoint> planPrismaticJoints(const std::vector<MyBody>& bodies,
                                                  const std::vector<int>& operands);
std::vector<MySpringJoint> planSpringJoints(const std::vector<int>& operands);

// A body's world centre of mass; the record's position without a world body.
b2Vec2 worldCentre(const MyBody& body);

} // namespace JointPlanning
