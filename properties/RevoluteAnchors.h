// Moves the local anchors of a live pivot joint. Box2D keeps them protected
// and offers no setter; a pointer to the member taken through a derived
// class reaches them without constructing anything.
#pragma once

#include <box2d/b2_revolute_joint.h>

class RevoluteAnchors : public b2RevoluteJoint
{
public:
    static void setLocalAnchors(b2RevoluteJoint* joint, b2Vec2 localA, b2Vec2 localB)
    {
        joint->*(&RevoluteAnchors::m_localAnchorA) = localA;
        joint->*(&RevoluteAnchors::m_localAnchorB) = localB;
    }

private:
    RevoluteAnchors() = delete;
};
