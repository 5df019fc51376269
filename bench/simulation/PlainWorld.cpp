#include "bench/simulation/PlainWorld.h"

#include <algorithm>
#include <vector>

namespace bench {

namespace {

b2plain::b2Vec2 plain(b2Vec2 v)
{
    return b2plain::b2Vec2(v.x, v.y);
}

// The shape of `f` as a plain shape of the same kind, in `storage`.
const b2plain::b2Shape* plainShape(const b2Fixture* f, b2plain::b2PolygonShape& polygon,
                                   b2plain::b2CircleShape& circle, b2plain::b2EdgeShape& edge,
                                   b2plain::b2ChainShape& chain)
{
    const b2Shape* shape = f->GetShape();
    switch (shape->GetType()) {
    case b2Shape::e_circle: {
        const auto* c = static_cast<const b2CircleShape*>(shape);
        circle.m_radius = c->m_radius;
        circle.m_p = plain(c->m_p);
        return &circle;
    }
    case b2Shape::e_edge: {
        const auto* e = static_cast<const b2EdgeShape*>(shape);
        edge.m_radius = e->m_radius;
        edge.m_vertex0 = plain(e->m_vertex0);
        edge.m_vertex1 = plain(e->m_vertex1);
        edge.m_vertex2 = plain(e->m_vertex2);
        edge.m_vertex3 = plain(e->m_vertex3);
        edge.m_oneSided = e->m_oneSided;
        return &edge;
    }
    case b2Shape::e_chain: {
        const auto* c = static_cast<const b2ChainShape*>(shape);
        std::vector<b2plain::b2Vec2> points;
        for (int32 i = 0; i < c->m_count; ++i)
            points.push_back(plain(c->m_vertices[i]));
        chain.CreateChain(points.data(), b2plain::int32(points.size()), plain(c->m_prevVertex),
                          plain(c->m_nextVertex));
        chain.m_radius = c->m_radius;
        return &chain;
    }
    case b2Shape::e_polygon:
    default: {
        const auto* p = static_cast<const b2PolygonShape*>(shape);
        polygon.m_radius = p->m_radius;
        polygon.m_centroid = plain(p->m_centroid);
        polygon.m_count = p->m_count;
        for (int32 i = 0; i < p->m_count; ++i) {
            polygon.m_vertices[i] = plain(p->m_vertices[i]);
            polygon.m_normals[i] = plain(p->m_normals[i]);
        }
        return &polygon;
    }
    }
}

} // namespace

std::unique_ptr<b2plain::b2World> plainCopy(b2World& source)
{
    auto world = std::make_unique<b2plain::b2World>(plain(source.GetGravity()));
    world->SetAllowSleeping(source.GetAllowSleeping());
    world->SetWarmStarting(source.GetWarmStarting());
    world->SetContinuousPhysics(source.GetContinuousPhysics());
    world->SetSubStepping(source.GetSubStepping());
    std::vector<b2Body*> bodies;
    for (b2Body* b = source.GetBodyList(); b; b = b->GetNext())
        bodies.push_back(b);
    std::reverse(bodies.begin(), bodies.end());
    for (b2Body* b : bodies) {
        b2plain::b2BodyDef def;
        def.type = b2plain::b2BodyType(int(b->GetType()));
        def.position = plain(b->GetPosition());
        def.angle = b->GetAngle();
        def.linearVelocity = plain(b->GetLinearVelocity());
        def.angularVelocity = b->GetAngularVelocity();
        def.linearDamping = b->GetLinearDamping();
        def.angularDamping = b->GetAngularDamping();
        def.allowSleep = b->IsSleepingAllowed();
        def.awake = b->IsAwake();
        def.fixedRotation = b->IsFixedRotation();
        def.bullet = b->IsBullet();
        def.enabled = b->IsEnabled();
        def.gravityScale = b->GetGravityScale();
        b2plain::b2Body* copy = world->CreateBody(&def);
        std::vector<b2Fixture*> fixtures;
        for (b2Fixture* f = b->GetFixtureList(); f; f = f->GetNext())
            fixtures.push_back(f);
        std::reverse(fixtures.begin(), fixtures.end());
        for (b2Fixture* f : fixtures) {
            b2plain::b2PolygonShape polygon;
            b2plain::b2CircleShape circle;
            b2plain::b2EdgeShape edge;
            b2plain::b2ChainShape chain;
            b2plain::b2FixtureDef fd;
            fd.shape = plainShape(f, polygon, circle, edge, chain);
            fd.density = 0.0f; // the mass is copied whole below
            fd.friction = f->GetFriction();
            fd.restitution = f->GetRestitution();
            fd.restitutionThreshold = f->GetRestitutionThreshold();
            fd.isSensor = f->IsSensor();
            fd.filter.categoryBits = f->GetFilterData().categoryBits;
            fd.filter.maskBits = f->GetFilterData().maskBits;
            fd.filter.groupIndex = f->GetFilterData().groupIndex;
            copy->CreateFixture(&fd);
        }
        if (b->GetType() == b2_dynamicBody) {
            b2MassData mass;
            b->GetMassData(&mass);
            b2plain::b2MassData copied;
            copied.mass = mass.mass;
            copied.center = plain(mass.center);
            copied.I = mass.I;
            copy->SetMassData(&copied);
        }
    }
    return world;
}

} // namespace bench
