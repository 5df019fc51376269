// Where the anchor tool puts a joint's anchor when it is pressed or dragged
// at an absolute point of the scene.
#pragma once

#include <box2d/box2d.h>

struct MyBody;
struct MyJoint;

// Moves the anchor of `joint` (between the world bodies of `a` and `b`) that
// a press at world point `p` reaches: the nearer end of a distance or spring
// joint, the pivot of a revolute joint, the axis of any other, measured from
// the midpoint of the two bodies' centres. With `snap` the end or pivot goes
// to the nearest outline vertex of its body (for a pivot, of the nearer body).
void placeJointAnchor(MyJoint& joint, const MyBody& a, const MyBody& b, b2Vec2 p, bool snap);
