// The physics world built from the records. The records are the one truth:
// every restart destroys the world and builds it again from them.
//
// The collision tolerance T (collisionToleranceEt) acts through each
// polygon's skin, 2 T / 10000 world units; Box2D's linear slop is compiled
// in (0.005, the skin of the default tolerance 50).
//
// Each world body carries its record's index + 1 as user data (a hint for
// getBodyIdFromB2Body); its fixtures carry the record's UserData.
#include "simulation/SimulationCore.h"

#include "model/JointUserData.h"
#include "model/UserData.h"
#include "outlines/OutlineMessages.h"
#include "simulation/BodyShapes.h"
#include "simulation/Box2DGuard.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

constexpr int kMaxTrianglesPerBody = 75;
constexpr float kDegreesToRadians = 0.017453293f;

} // namespace

void SimulationCore::initWorld(bool deleteOld)
{
    if (deleteOld)
        world.reset();
    groundBody = nullptr;
    for (MyBody& record : bodies) {
        record.body = nullptr;
        record.aematicJoint = nullptr;
    }
    for (MyJoint& joint : joints)
        joint.joint = nullptr;

    readControls();
    world = std::make_unique<ZolvarWorld>(b2Vec2(0.0f, 10.0f), toB2Color(selectionHighlightColor), selectionStrokeWidth,
                            toB2Color(staticHighlightColor), distanceJointColor, revoluteJointColor,
                            prismaticJointColor, springJointColor, toB2Color(selectedJointColor), jointStrokeWidth,
                            controls.showMesh);
    world->SetAllowSleeping(false);
    world->SetWarmStarting(true);
    worldReplaced();
}

void SimulationCore::initScene()
{
    if (!world)
        return;
    readControls();

    for (const MyBody& record : bodies) {
        hasKinematicBody = hasKinematicBody || record.type == BodyType::Kinematic;
        hasDormantBody = hasDormantBody || record.type == BodyType::Dormant;
        hasAEmaticBody = hasAEmaticBody || record.type == BodyType::AEmatic;
        hasMagnet = hasMagnet || record.magnetismType != MagnetismType::NoMagnetism;
    }

    std::vector<int> newlyUnusable;
    groundBody = nullptr;
    if (hasAEmaticBody)
        groundBody = Box2DGuard::createBody(*world, b2BodyDef());

    for (size_t i = 0; i < bodies.size(); ++i) {
        MyBody& record = bodies[i];
        b2BodyDef def;
        switch (record.type) {
        case BodyType::Static:
        case BodyType::Dead:
            def.type = b2_staticBody;
            break;
        case BodyType::Kinematic:
            def.type = b2_kinematicBody;
            break;
        case BodyType::Dormant:
            def.type = dormantBehavior == DormantBehavior::ZeroGravityScale ? b2_dynamicBody : b2_staticBody;
            record.dormant = true;
            break;
        case BodyType::AEmatic:
            def.type = b2_dynamicBody;
            break;
        default:  // Dynamic
            def.type = record.userData && record.userData->notAlive ? b2_staticBody : b2_dynamicBody;
            break;
        }
        def.position = record.position;
        def.angle = record.angle;
        def.linearDamping = record.linearDamping;
        def.angularDamping = record.angularDamping;
        def.fixedRotation = record.fixedRotation;
        def.gravityScale = record.type == BodyType::Dormant ? 0.0f : record.gravityScale;
        if (def.type != b2_staticBody) {
            const float direction = record.linearVelocityDirection * b2_pi / 180.0f;
            def.linearVelocity = b2Vec2(std::cos(direction) * record.linearVelocityMagnitude,
                                        std::sin(direction) * record.linearVelocityMagnitude);
            def.angularVelocity = record.angularVelocity;
        }
        def.userData.pointer = static_cast<uintptr_t>(i + 1);
        if (!record.userData) {
            // A record made without drawing data (for example in code) gets
            // its own, as the layer walk would have given it.
            auto data = std::make_unique<UserData>();
            data->color = b2Color(float(record.color.red), float(record.color.green), float(record.color.blue));
            data->labelColor = b2Color(0.5f, 0.5f, 0.5f);
            data->notAlive = record.type == BodyType::Dead || record.startFrame >= 1;
            data->magnetDistance = 100.0f;
            data->bodyIndex = static_cast<int32_t>(i);
            record.userData = data.get();
            ownedUserData.push_back(std::move(data));
            if (record.type == BodyType::Dynamic && record.userData->notAlive)
                def.type = b2_staticBody;
        }
        record.userData->pickable = true;

        record.body = Box2DGuard::createBody(*world, def);
        const bool knownUnusable = record.massUnusable;
        if (record.body)
            createFixtures(record);
        if (record.massUnusable && !knownUnusable)
            newlyUnusable.push_back(int(i));

        if (record.type == BodyType::AEmatic && record.body && groundBody) {
            record.aematicAnchorWorld = record.position + record.aematicAnchor;
            b2MouseJointDef mouse;
            mouse.bodyA = groundBody;
            mouse.bodyB = record.body;
            mouse.target = record.aematicAnchorWorld;
            mouse.maxForce = 1000.0f * record.body->GetMass();
            b2LinearStiffness(mouse.stiffness, mouse.damping, Box2DGuard::nonNegative(record.aematicTension),
                              Box2DGuard::nonNegative(record.aematicDamping), groundBody, record.body);
            record.aematicJoint = static_cast<b2MouseJoint*>(Box2DGuard::createJoint(*world, mouse));
            record.body->SetAwake(true);
        }
    }

    for (MyJoint& joint : joints)
        createJoint(joint);
    readFollowing();
    finiteKeeper.reset(*world);

    // Said once per body, not on every restart.
    const QString report = massUnusableText(bodies, newlyUnusable);
    if (!report.isEmpty() && showWarnings)
        reportSetupProblems(report);
}

int SimulationCore::addConvexPieces(MyBody& record, const std::vector<Triangle>& triangles, float skin,
                                    const std::function<bool(const b2Shape&)>& add)
{
    // Fewer fixtures, the same outline: Box2D pairs every fixture of
    // touching bodies, so a body of many triangles costs many times one of a
    // few convex pieces. A piece the guard refuses goes in as its triangles.
    int added = 0;
    auto addTriangle = [&](const Triangle& t) {
        b2PolygonShape shape;
        if (Box2DGuard::makePolygon(t.data(), 3, skin, shape) && add(shape))
            ++added;
    };
    for (const ConvexPiece& piece : mergeIntoConvexPieces(triangles, b2_maxPolygonVertices)) {
        b2PolygonShape shape;
        if (piece.triangles.size() == 1) {
            addTriangle(triangles[size_t(piece.triangles[0])]);
            continue;
        }
        if (!Box2DGuard::makePolygon(piece.vertices.data(), int32(piece.vertices.size()), skin, shape)
            || shape.m_count != int32(piece.vertices.size())) {
            for (int t : piece.triangles)
                addTriangle(triangles[size_t(t)]);
            continue;
        }
        if (!add(shape))
            continue;
        added += int(piece.triangles.size());
        std::vector<Triangle>& mesh = world->pieceTriangles[record.body->GetFixtureList()];
        for (int t : piece.triangles)
            mesh.push_back(triangles[size_t(t)]);
    }
    return added;
}

void SimulationCore::createFixtures(MyBody& record)
{
    b2Body* body = record.body;
    record.massUnusable = false;
    const double tolerance = Box2DGuard::nonNegative(float(controls.collisionTolerance));
    const float skin = static_cast<float>(2.0 * tolerance / 10000.0);

    b2FixtureDef fixture;
    fixture.density = record.density;
    fixture.friction = record.friction;
    fixture.restitution = record.restitution;
    fixture.filter.categoryBits = record.categoryBits;
    fixture.filter.maskBits = record.maskBits;
    fixture.filter.groupIndex = 0;
    fixture.userData.pointer = reinterpret_cast<uintptr_t>(record.userData);
    fixture.isSensor = false;
    Box2DGuard::mendFixtureDef(fixture);
    const float density = fixture.density;

    // Box2D recomputes a body's mass from all its fixtures whenever one with
    // a density is added, so the fixtures are created massless and the mass
    // is checked and computed once for the whole body.
    fixture.density = 0.0f;
    auto add = [&](const b2Shape& shape) {
        fixture.shape = &shape;
        body->CreateFixture(&fixture);
        return true;
    };

    int triangles = 0;
    bool openLines = false;
    if (record.outlineUnrepresentable) {
        // No shape at all rather than the part of it that happens to be finite.
    } else if (record.isLayerBox) {
        if (!record.outlines.empty() && !record.outlines[0].empty() && record.outlines[0][0].points.size() >= 4) {
            b2PolygonShape box;
            if (Box2DGuard::makePolygon(record.outlines[0][0].points.data(), 4, skin, box))
                add(box);
        }
    } else {
        for (const std::vector<ShapeDef>& outline : record.outlines) {
            std::vector<Triangle> outlineTriangles;
            for (const ShapeDef& shape : outline)
                openLines = addOutlineShapes(shape, record.openShapeLineWidth, skin, outlineTriangles, add) || openLines;
            triangles += addConvexPieces(record, outlineTriangles, skin, add);
        }
    }
    record.tooManyPolygons = triangles > kMaxTrianglesPerBody;

    if (!(density > 0.0f))
        return;
    Box2DGuard::MassCheck mass;
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext())
        mass.add(*f->GetShape(), density);
    // A body that never turns dynamic needs no mass.
    const bool mayMove = record.type != BodyType::Static && record.type != BodyType::Dead;
    record.massUnusable = mayMove && !mass.wellConditioned();
    if (record.massUnusable)
        return;  // the shapes stay massless: the body keeps its place
    for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext())
        f->SetDensity(density);
    body->ResetMassData();
    if (openLines) {
        // The body's centre of mass becomes its origin.
        b2MassData data;
        body->GetMassData(&data);
        data.center.SetZero();
        if (data.I > 0.0f && std::isfinite(data.I))
            body->SetMassData(&data);
    }
}

void SimulationCore::createJoint(MyJoint& joint)
{
    joint.joint = nullptr;
    const int count = static_cast<int>(bodies.size());
    if (joint.bodyA < 0 || joint.bodyA >= count || joint.bodyB < 0 || joint.bodyB >= count)
        return;
    b2Body* bodyA = bodies[joint.bodyA].body;
    b2Body* bodyB = bodies[joint.bodyB].body;
    if (!Box2DGuard::jointBodiesUsable(bodyA, bodyB))
        return;
    const uintptr_t userData = reinterpret_cast<uintptr_t>(joint.jointUserData);

    switch (joint.type) {
    case JointType::Distance: {
        b2DistanceJointDef def;
        def.bodyA = bodyA;
        def.bodyB = bodyB;
        def.localAnchorA = joint.anchorA;
        def.localAnchorB = joint.anchorB;
        def.length = (bodyB->GetWorldPoint(joint.anchorB) - bodyA->GetWorldPoint(joint.anchorA)).Length();
        if (joint.frequency > 0.0f) {
            // A spring around the set-up length, as soft as the frequency says.
            def.minLength = 0.0f;
            def.maxLength = std::numeric_limits<float>::max();
            b2LinearStiffness(def.stiffness, def.damping, joint.frequency, Box2DGuard::nonNegative(joint.damping),
                              bodyA, bodyB);
        } else {
            // Tension 0 ("auto") is rigid.
            def.minLength = def.length;
            def.maxLength = def.length;
        }
        def.collideConnected = joint.collideConnected;
        def.userData.pointer = userData;
        joint.joint = Box2DGuard::createJoint(*world, def);
        break;
    }
    case JointType::Revolute: {
        if (joint.jointUserData) {
            joint.jointUserData->pivotAnchor = joint.anchor;
            joint.jointUserData->playing = playing;
        }
        b2RevoluteJointDef def;
        def.Initialize(bodyA, bodyB, joint.anchor);
        def.enableLimit = joint.enableLimit;
        def.lowerAngle = joint.lowerAngle * kDegreesToRadians;
        def.upperAngle = joint.upperAngle * kDegreesToRadians;
        def.enableMotor = joint.enableMotor;
        def.motorSpeed = -joint.motorSpeed;
        def.maxMotorTorque = joint.maxMotorTorque;
        def.collideConnected = joint.collideConnected;
        def.userData.pointer = userData;
        joint.joint = Box2DGuard::createJoint(*world, def);
        break;
    }
    case JointType::Prismatic: {
        b2PrismaticJointDef def;
        def.Initialize(bodyA, bodyB, joint.anchor, Box2DGuard::unitAxis(joint.axis));
        def.enableLimit = joint.enableLimit;
        def.lowerTranslation = joint.lowerTranslation;
        def.upperTranslation = joint.upperTranslation;
        def.enableMotor = joint.enableMotor;
        def.motorSpeed = -joint.motorSpeed;
        def.maxMotorForce = joint.maxMotorForce;
        def.collideConnected = joint.collideConnected;
        def.userData.pointer = userData;
        joint.joint = Box2DGuard::createJoint(*world, def);
        break;
    }
    default:  // a spring acts through the frame step's own force
        break;
    }
}
