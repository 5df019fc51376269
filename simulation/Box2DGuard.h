// Checks between the scene records and Box2D. Box2D is built with its
// assertions on, and an assertion ends the whole host process, so nothing
// reaches it unchecked: every body, fixture and joint definition and every
// limit goes through these first.
//
// The records keep what the user typed; only the values handed to Box2D are
// mended (non-finite values become 0, negative damping 0, inverted limits are
// put in order) or the object is left out (degenerate polygons, a joint whose
// two bodies are the same).
#pragma once

#include <box2d/box2d.h>

#include <vector>

namespace Box2DGuard {

bool isFinite(float v);
bool isFinite(b2Vec2 v);

// v when finite, else the fallback.
float finiteOr(float v, float fallback);
b2Vec2 finiteOr(b2Vec2 v, b2Vec2 fallback);
// Coordinates, speeds and forces beyond this magnitude are clamped: Box2D's
// broad phase adds margins to coordinates and must not overflow.
constexpr float kMaxMagnitude = 1.0e6f;
// v clamped to +-kMaxMagnitude; not-a-number becomes 0.
float bounded(float v);
b2Vec2 bounded(b2Vec2 v);
// v when finite and not negative, else 0.
float nonNegative(float v);

// Position, angle, velocities and gravity scale made finite, damping finite
// and not negative.
void mendBodyDef(b2BodyDef& def);
// Density, friction and bounciness made finite and not negative.
void mendFixtureDef(b2FixtureDef& def);

// Builds `out` from `count` points (3 to b2_maxPolygonVertices) with the skin
// `radius`, when Box2D would accept them: every point finite (and within
// kMaxMagnitude), at least three
// left after Box2D's welding (points closer than half the linear slop count
// as one), a hull of three or more corners whose edges are at least half the
// slop long and whose area is clearly above zero, both exactly and as Box2D
// computes it in float. Otherwise false and `out`
// is untouched.
bool makePolygon(const b2Vec2* points, int count, float radius, b2PolygonShape& out);
// A circle of a finite, positive radius at a finite centre (both within
// kMaxMagnitude).
bool makeCircle(b2Vec2 centre, float radius, b2CircleShape& out);

// The mass properties of a whole body's fixtures. Box2D sums them in float
// when it resets a body's mass and asserts that the rotational inertia about
// the centre of mass stays positive; for a small body far from its origin
// that difference is all but lost in float rounding. The sums are kept in
// double, to judge the body, and in float exactly as Box2D adds them up, to
// be sure Box2D's own arithmetic agrees. Add the shapes in the order of the
// body's fixture list (Box2D's order), then ask about the whole set.
struct MassCheck {
    double mass = 0.0;
    double mx = 0.0;  // mass x centre
    double my = 0.0;
    double inertia = 0.0;  // about the body origin
    float floatMass = 0.0f;
    b2Vec2 floatMoment{0.0f, 0.0f};
    float floatInertia = 0.0f;
    bool finite = true;

    // Adds the shape at `density` (shapes without density carry no mass).
    void add(const b2Shape& shape, float density);
    // Every fixture of `body` with its own density, in Box2D's order.
    void addFixtures(const b2Body& body);
    // The whole set can be handed to Box2D's mass computation.
    bool wellConditioned() const;
};

// Both bodies exist and differ.
bool jointBodiesUsable(const b2Body* a, const b2Body* b);
// Non-finite limits become 0; then lower <= upper (swapped when inverted).
void orderLimits(float& lower, float& upper);
void setLimits(b2RevoluteJoint* joint, float lower, float upper);
void setLimits(b2PrismaticJoint* joint, float lower, float upper);
// The axis normalised; (1, 0) when it is not finite or too short.
b2Vec2 unitAxis(b2Vec2 axis);

// Keeps a world's bodies finite from one step to the next. Box2D's solver
// can overflow where the scene asks more than float arithmetic holds (bodies
// of the lightest and the heaviest densities joined together, for one), and
// a body that is not finite spreads to everything it touches, vanishes from
// the view and has no keys to give. After each step, a body whose position,
// angle or velocities are not finite is put back where the last step left it
// finite, at rest; the step after that starts without the impulses Box2D
// kept from this one (warm starting off), as those may not be finite either.
class FiniteKeeper
{
public:
    // Takes the places of a world's bodies as it is built.
    void reset(const b2World& world);
    // Call after every step. Returns the number of bodies put back.
    int afterStep(b2World& world);

private:
    struct Place
    {
        const b2Body* body;
        b2Vec2 position;
        float angle;  // unwrapped, as the rotation keys need it
    };
    std::vector<Place> good;  // in the world's body order
    bool coldStep = false;
};

// The checked definitions handed to the world; null when left out.
b2Body* createBody(b2World& world, b2BodyDef def);
b2Joint* createJoint(b2World& world, b2JointDef& def);

} // namespace Box2DGuard
