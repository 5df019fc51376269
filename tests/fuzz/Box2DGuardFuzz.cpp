// Fuzz entry point: the Box2D guard against the real library. The bytes are
// read as a list of operations with raw float arguments (any bit pattern:
// not-a-number, infinities, huge and tiny values): polygons, circles, bodies,
// joints and limits go through the guard into a live world, which is then
// stepped. Box2D is built with its assertions on, so anything unchecked that
// reaches it ends the process.
#include "simulation/Box2DGuard.h"

#include <box2d/box2d.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool done() const { return pos_ >= size_; }
    uint8_t byte() { return done() ? 0 : data_[pos_++]; }
    float real()
    {
        uint8_t bytes[4] = {byte(), byte(), byte(), byte()};
        float v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    b2Vec2 point() { return b2Vec2(real(), real()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

struct Scene {
    b2World world{b2Vec2(0.0f, 10.0f)};
    // Bodies a step leaves without a finite place are put back, as the
    // scene's own steps do.
    Box2DGuard::FiniteKeeper keeper;
    std::vector<b2Body*> bodies;

    b2Body* pick(Reader& in)
    {
        if (bodies.empty())
            return nullptr;
        return bodies[in.byte() % bodies.size()];
    }

    // The shape with the fixture definition's values mended, massless first;
    // the whole body's mass is then checked before Box2D computes it.
    void addShape(b2Body* body, const b2Shape& shape, Reader& in)
    {
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = in.real();
        fixture.friction = in.real();
        fixture.restitution = in.real();
        Box2DGuard::mendFixtureDef(fixture);
        const float density = fixture.density;
        fixture.density = 0.0f;
        b2Fixture* created = body->CreateFixture(&fixture);
        created->SetDensity(density);
        Box2DGuard::MassCheck mass;
        mass.addFixtures(*body);
        if (mass.wellConditioned()) {
            body->ResetMassData();
        } else {
            created->SetDensity(0.0f);
            Box2DGuard::MassCheck without;
            without.addFixtures(*body);
            if (without.wellConditioned())
                body->ResetMassData();
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in(data, size);
    Scene scene;
    int steps = 0;
    while (!in.done() && scene.bodies.size() < 64) {
        switch (in.byte() % 7) {
        case 0: {  // a body of any type, placed anywhere
            b2BodyDef def;
            def.type = b2BodyType(in.byte() % 3);
            def.position = in.point();
            def.angle = in.real();
            def.linearVelocity = in.point();
            def.angularVelocity = in.real();
            def.linearDamping = in.real();
            def.angularDamping = in.real();
            def.gravityScale = in.real();
            def.fixedRotation = in.byte() & 1;
            if (b2Body* body = Box2DGuard::createBody(scene.world, def))
                scene.bodies.push_back(body);
            break;
        }
        case 1: {  // a polygon of 1 to 10 points
            const int count = 1 + in.byte() % 10;
            b2Vec2 points[10];
            for (int i = 0; i < count; ++i)
                points[i] = in.point();
            const float radius = in.real();
            b2PolygonShape polygon;
            b2Body* body = scene.pick(in);
            if (Box2DGuard::makePolygon(points, count, radius, polygon) && body) {
                b2MassData mass;
                polygon.ComputeMass(&mass, 1.0f);
                scene.addShape(body, polygon, in);
            }
            break;
        }
        case 2: {  // a triangle near the last one: small differences of big numbers
            const b2Vec2 base = in.point();
            const uint8_t scale = in.byte();
            const float unit = std::ldexp(1.0f, int(scale % 40) - 20);
            b2Vec2 points[3] = {base, base + unit * b2Vec2(float(in.byte()) - 128.0f, float(in.byte()) - 128.0f),
                                base + unit * b2Vec2(float(in.byte()) - 128.0f, float(in.byte()) - 128.0f)};
            b2PolygonShape polygon;
            b2Body* body = scene.pick(in);
            if (Box2DGuard::makePolygon(points, 3, 0.0f, polygon) && body)
                scene.addShape(body, polygon, in);
            break;
        }
        case 3: {  // a circle
            const b2Vec2 centre = in.point();
            const float radius = in.real();
            b2CircleShape circle;
            b2Body* body = scene.pick(in);
            if (Box2DGuard::makeCircle(centre, radius, circle) && body)
                scene.addShape(body, circle, in);
            break;
        }
        case 4: {  // a joint between any two bodies, the same one included
            b2Body* a = scene.pick(in);
            b2Body* b = scene.pick(in);
            if (!a || !b)
                break;
            switch (in.byte() % 4) {
            case 0: {
                b2DistanceJointDef def;
                def.bodyA = a;
                def.bodyB = b;
                def.localAnchorA = in.point();
                def.localAnchorB = in.point();
                def.length = in.real();
                def.minLength = in.real();
                def.maxLength = in.real();
                def.stiffness = in.real();
                def.damping = in.real();
                Box2DGuard::createJoint(scene.world, def);
                break;
            }
            case 1: {
                b2RevoluteJointDef def;
                def.bodyA = a;
                def.bodyB = b;
                def.localAnchorA = in.point();
                def.localAnchorB = in.point();
                def.referenceAngle = in.real();
                def.enableLimit = in.byte() & 1;
                def.lowerAngle = in.real();
                def.upperAngle = in.real();
                def.enableMotor = in.byte() & 1;
                def.motorSpeed = in.real();
                def.maxMotorTorque = in.real();
                auto* joint = static_cast<b2RevoluteJoint*>(Box2DGuard::createJoint(scene.world, def));
                Box2DGuard::setLimits(joint, in.real(), in.real());
                break;
            }
            case 2: {
                b2PrismaticJointDef def;
                def.bodyA = a;
                def.bodyB = b;
                def.localAnchorA = in.point();
                def.localAnchorB = in.point();
                def.localAxisA = in.point();
                def.referenceAngle = in.real();
                def.enableLimit = in.byte() & 1;
                def.lowerTranslation = in.real();
                def.upperTranslation = in.real();
                def.enableMotor = in.byte() & 1;
                def.motorSpeed = in.real();
                def.maxMotorForce = in.real();
                auto* joint = static_cast<b2PrismaticJoint*>(Box2DGuard::createJoint(scene.world, def));
                Box2DGuard::setLimits(joint, in.real(), in.real());
                break;
            }
            default: {
                b2MouseJointDef def;
                def.bodyA = a;
                def.bodyB = b;
                def.target = in.point();
                def.maxForce = in.real();
                def.stiffness = in.real();
                def.damping = in.real();
                Box2DGuard::createJoint(scene.world, def);
                break;
            }
            }
            break;
        }
        case 5: {  // a body turns into another type (its mass is reset)
            b2Body* body = scene.pick(in);
            const b2BodyType type = b2BodyType(in.byte() % 3);
            if (body) {
                Box2DGuard::MassCheck mass;
                mass.addFixtures(*body);
                if (type != b2_dynamicBody || mass.wellConditioned())
                    body->SetType(type);
            }
            break;
        }
        default:  // a step of the world
            if (steps < 8) {
                scene.world.Step(1.0f / 60.0f, 4, 2);
                scene.keeper.afterStep(scene.world);
                ++steps;
            }
            break;
        }
    }
    scene.world.Step(1.0f / 60.0f, 4, 2);
    scene.keeper.afterStep(scene.world);
    scene.world.Step(1.0f / 60.0f, 4, 2);
    return 0;
}
