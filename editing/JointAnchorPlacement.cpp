#include "editing/JointAnchorPlacement.h"

#include "model/MyBody.h"
#include "model/MyJoint.h"
#include "model/NearestVertex.h"

void placeJointAnchor(MyJoint& joint, const MyBody& a, const MyBody& b, b2Vec2 p, bool snap)
{
    if (joint.type == JointType::Distance || joint.type == JointType::Spring) {
        const b2Vec2 wa = a.body->GetWorldPoint(joint.anchorA);
        const b2Vec2 wb = b.body->GetWorldPoint(joint.anchorB);
        const bool useA = (wa - p).LengthSquared() <= (wb - p).LengthSquared();
        const MyBody& owner = useA ? a : b;
        const b2Vec2 target = snap ? getNearestVertex(owner, p) : p;
        (useA ? joint.anchorA : joint.anchorB) = owner.body->GetLocalPoint(target);
    } else if (joint.type == JointType::Revolute) {
        if (snap) {
            const b2Vec2 va = getNearestVertex(a, p);
            const b2Vec2 vb = getNearestVertex(b, p);
            joint.anchor = (va - p).LengthSquared() <= (vb - p).LengthSquared() ? va : vb;
        } else {
            joint.anchor = p;
        }
    } else {
        joint.axis = p - 0.5f * (a.body->GetWorldCenter() + b.body->GetWorldCenter());
    }
}
