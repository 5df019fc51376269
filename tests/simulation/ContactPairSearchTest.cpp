// The indexed pair pass against Box2D's own: two worlds built alike, one
// stepped with the index and one with Box2D's walk, stay the same bit for
// bit, with heaps of many-piece bodies, joints that switch collision off, a
// contact filter, sensors, a chain of many children, and bodies and fixtures
// changed and destroyed between steps.
#include "simulation/ContactPairSearch.h"

#include <box2d/box2d.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Refuses pairs of two odd-numbered bodies (user data holds the number).
class OddPairsFilter : public b2ContactFilter
{
public:
    bool ShouldCollide(b2Fixture* a, b2Fixture* b) override
    {
        const auto na = a->GetBody()->GetUserData().pointer;
        const auto nb = b->GetBody()->GetUserData().pointer;
        if ((na % 2 == 1) && (nb % 2 == 1) && na % 5 == 0)
            return false;
        return b2ContactFilter::ShouldCollide(a, b);
    }
};

struct Heap
{
    std::unique_ptr<b2World> world = std::make_unique<b2World>(b2Vec2(0.0f, -10.0f));
    OddPairsFilter filter;
    std::vector<b2Body*> bodies;
};

// The same heap for the same seed: bodies of three to five convex pieces
// stacked within a few units of each other over a chain floor.
void build(Heap& heap, unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> spread(-2.0f, 2.0f);
    std::uniform_real_distribution<float> size(0.3f, 0.8f);
    heap.world->SetContactFilter(&heap.filter);

    b2BodyDef groundDef;
    b2Body* ground = heap.world->CreateBody(&groundDef);
    std::vector<b2Vec2> floor;
    for (int i = 0; i <= 40; ++i)
        floor.emplace_back(-20.0f + float(i), (i % 2) ? -10.0f : -10.3f);
    b2ChainShape chain;
    chain.CreateChain(floor.data(), int32(floor.size()), floor.front() + b2Vec2(-1, 0), floor.back() + b2Vec2(1, 0));
    ground->CreateFixture(&chain, 0.0f);
    heap.bodies.push_back(ground);

    for (int i = 1; i <= count; ++i) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(spread(random), 2.0f + spread(random));
        def.angle = spread(random);
        def.bullet = (i % 17 == 0);
        def.userData.pointer = uintptr_t(i);
        b2Body* body = heap.world->CreateBody(&def);
        const int pieces = 3 + i % 3;
        for (int p = 0; p < pieces; ++p) {
            const float s = size(random);
            b2PolygonShape box;
            box.SetAsBox(s, s * 0.6f, b2Vec2(float(p) * 0.5f - 0.5f, 0.0f), float(p) * 0.4f);
            b2FixtureDef fixture;
            fixture.shape = &box;
            fixture.density = 1.0f;
            fixture.friction = 0.4f;
            fixture.isSensor = (i % 23 == 0 && p == 0);
            body->CreateFixture(&fixture);
        }
        if (i % 4 == 0) {
            b2CircleShape circle;
            circle.m_radius = size(random);
            body->CreateFixture(&circle, 1.0f);
        }
        heap.bodies.push_back(body);
    }
    // Joints that switch collision off between their bodies, and one that
    // keeps it.
    for (int i = 1; i + 3 < int(heap.bodies.size()); i += 7) {
        b2RevoluteJointDef joint;
        joint.Initialize(heap.bodies[i], heap.bodies[i + 3], heap.bodies[i]->GetPosition());
        joint.collideConnected = (i % 2 == 0);
        heap.world->CreateJoint(&joint);
    }
}

// What changes between steps, the same in both worlds.
void disturb(Heap& heap, int step)
{
    if (step == 20)
        heap.world->DestroyBody(heap.bodies[5]);
    if (step == 30)
        heap.bodies[8]->DestroyFixture(heap.bodies[8]->GetFixtureList());
    if (step == 40)
        heap.bodies[9]->SetEnabled(false);
    if (step == 55)
        heap.bodies[9]->SetEnabled(true);
    if (step == 45)
        heap.bodies[10]->SetType(b2_staticBody);
    if (step == 60)
        heap.bodies[10]->SetType(b2_dynamicBody);
    if (step == 50) {
        b2PolygonShape box;
        box.SetAsBox(1.0f, 1.0f);
        heap.bodies[12]->CreateFixture(&box, 1.0f);
        heap.bodies[13]->SetTransform(heap.bodies[14]->GetPosition(), 0.3f);
    }
    if (step == 65) {
        b2Filter none;
        none.maskBits = 0;
        heap.bodies[15]->GetFixtureList()->SetFilterData(none);
    }
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The contacts in list order, each as its two bodies' numbers and touching.
std::vector<uintptr_t> contactsOf(b2World& world)
{
    std::vector<uintptr_t> out;
    for (b2Contact* c = world.GetContactList(); c; c = c->GetNext()) {
        out.push_back(c->GetFixtureA()->GetBody()->GetUserData().pointer);
        out.push_back(c->GetFixtureB()->GetBody()->GetUserData().pointer);
        out.push_back(uintptr_t(c->GetChildIndexA() * 2 + c->IsTouching()));
        out.push_back(uintptr_t(c->GetChildIndexB()));
    }
    return out;
}

class IndexedSetting
{
public:
    ~IndexedSetting() { contact_search::setIndexed(true); }
};

} // namespace

TEST(ContactPairSearch, SimulatesExactlyAsBox2DsOwnWalk)
{
    IndexedSetting restore;
    for (const unsigned seed : {1u, 7u, 42u}) {
        SCOPED_TRACE(seed);
        Heap indexed;
        Heap walked;
        build(indexed, seed, 90);
        build(walked, seed, 90);
        const auto lookupsBefore = contact_search::indexedLookups();
        for (int step = 0; step < 90; ++step) {
            disturb(indexed, step);
            disturb(walked, step);
            contact_search::setIndexed(true);
            indexed.world->Step(1.0f / 60.0f, 8, 3);
            contact_search::setIndexed(false);
            walked.world->Step(1.0f / 60.0f, 8, 3);

            ASSERT_EQ(indexed.world->GetContactCount(), walked.world->GetContactCount()) << "step " << step;
            ASSERT_EQ(contactsOf(*indexed.world), contactsOf(*walked.world)) << "step " << step;
            const b2Body* a = indexed.world->GetBodyList();
            const b2Body* b = walked.world->GetBodyList();
            for (; a && b; a = a->GetNext(), b = b->GetNext()) {
                ASSERT_TRUE(sameBits(a->GetPosition().x, b->GetPosition().x)) << "step " << step;
                ASSERT_TRUE(sameBits(a->GetPosition().y, b->GetPosition().y)) << "step " << step;
                ASSERT_TRUE(sameBits(a->GetAngle(), b->GetAngle())) << "step " << step;
                ASSERT_EQ(a->IsAwake(), b->IsAwake()) << "step " << step;
            }
            ASSERT_EQ(a, nullptr);
            ASSERT_EQ(b, nullptr);
        }
        // The heap was deep enough for the index to answer.
        EXPECT_GT(contact_search::indexedLookups(), lookupsBefore);
        EXPECT_GT(indexed.world->GetContactCount(), 100);
    }
    EXPECT_TRUE(contact_search::served());
}

TEST(ContactPairSearch, BodiesKeepTheirContactListsWhole)
{
    // Every contact sits in both its bodies' lists, linked both ways, after
    // contacts were added to bodies with long lists.
    Heap heap;
    build(heap, 3, 60);
    for (int step = 0; step < 30; ++step)
        heap.world->Step(1.0f / 60.0f, 8, 3);
    int edges = 0;
    for (b2Body* body = heap.world->GetBodyList(); body; body = body->GetNext()) {
        const b2ContactEdge* previous = nullptr;
        for (b2ContactEdge* e = body->GetContactList(); e; e = e->next) {
            ASSERT_EQ(e->prev, previous);
            const b2Contact* c = e->contact;
            const b2Body* a = c->GetFixtureA()->GetBody();
            const b2Body* b = c->GetFixtureB()->GetBody();
            ASSERT_TRUE((a == body && e->other == b) || (b == body && e->other == a));
            previous = e;
            ++edges;
        }
    }
    EXPECT_EQ(edges, 2 * heap.world->GetContactCount());
}
