// The plug-in's Box2D, with its indexed pair pass, against Box2D's own
// unpatched code from the same Debian source (box2d_plain, namespace
// b2plain): the same scenes built and stepped in both stay the same bit for
// bit, step by step. The scenes: heaps of many-piece bodies with joints that
// switch collision off, a contact filter, sensors and a chain of many
// children; sparse rows that fall asleep; bodies and fixtures created,
// changed and destroyed between steps.
#include "simulation/ContactPairSearch.h"

#include <box2d/box2d.h>

#include "PlainBox2D.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

enum class SceneKind { Heap, Rows };

struct StepState
{
    int contacts = 0;
    // Per contact in list order: its two bodies' numbers, child indices and
    // whether it touches.
    std::vector<uintptr_t> list;
    // Per body in list order: position and angle bits, awake.
    std::vector<std::uint32_t> bodies;
    int sleeping = 0;
};

std::uint32_t bitsOf(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

namespace ours {
#include "PairPassScenes.inc"
} // namespace ours

} // namespace

namespace b2plain::own {
#include "PairPassScenes.inc"
} // namespace b2plain::own

namespace {

// Steps both and compares them after every step; returns Box2D's own run.
std::vector<StepState> expectSame(SceneKind kind, unsigned seed, int count, int steps)
{
    const std::vector<StepState> patched = ours::run(kind, seed, count, steps);
    const std::vector<StepState> own = b2plain::own::run(kind, seed, count, steps);
    EXPECT_EQ(patched.size(), own.size());
    for (size_t step = 0; step < patched.size() && step < own.size(); ++step) {
        EXPECT_EQ(patched[step].contacts, own[step].contacts) << "step " << step;
        EXPECT_EQ(patched[step].list, own[step].list) << "step " << step;
        EXPECT_EQ(patched[step].bodies, own[step].bodies) << "step " << step;
        if (patched[step].list != own[step].list || patched[step].bodies != own[step].bodies)
            break;
    }
    return own;
}

} // namespace

TEST(ContactPairSearch, HeapsSimulateExactlyAsBox2DsOwnCode)
{
    for (const unsigned seed : {1u, 7u, 42u}) {
        SCOPED_TRACE(seed);
        const auto lookupsBefore = contact_search::indexedLookups();
        const std::vector<StepState> own = expectSame(SceneKind::Heap, seed, 90, 100);
        // The heap was deep enough for the index to answer.
        EXPECT_GT(contact_search::indexedLookups(), lookupsBefore);
        ASSERT_FALSE(own.empty());
        EXPECT_GT(own.back().contacts, 100);
    }
}

TEST(ContactPairSearch, SparseRowsThatSleepSimulateExactlyAsBox2DsOwnCode)
{
    const std::vector<StepState> own = expectSame(SceneKind::Rows, 5, 72, 260);
    ASSERT_EQ(own.size(), 260u);
    // The rows fell asleep before bodies were dropped onto them, and woke
    // where they landed.
    EXPECT_GT(own[149].sleeping, 40);
    int fewest = own[149].sleeping;
    for (size_t step = 150; step < own.size(); ++step)
        fewest = std::min(fewest, own[step].sleeping);
    EXPECT_LT(fewest, own[149].sleeping - 3);
}

TEST(ContactPairSearch, BodiesKeepTheirContactListsWhole)
{
    // Every contact sits in both its bodies' lists, linked both ways, after
    // contacts were added to bodies with long lists.
    ours::Scene heap;
    heap.random.seed(3);
    ours::buildHeap(heap, 60);
    const auto lookupsBefore = contact_search::indexedLookups();
    for (int step = 0; step < 30; ++step)
        heap.world->Step(1.0f / 60.0f, 8, 3);
    EXPECT_GT(contact_search::indexedLookups(), lookupsBefore);
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
