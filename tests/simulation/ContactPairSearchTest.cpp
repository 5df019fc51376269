// The plug-in's Box2D, with its indexed pair pass, against Box2D's own code
// from the same Debian source without it (box2d_plain, namespace b2plain):
// the same scenes built and stepped in both stay the same bit for bit, step
// by step. The scenes: heaps of many-piece bodies with joints that switch
// collision off, a contact filter, sensors and a chain of many children;
// sparse rows that fall asleep; bodies and fixtures created, changed and
// destroyed between steps. Also: Box2D's statistics counters, in both
// libraries, stop at their largest value.
#include "simulation/ContactPairSearch.h"

#include <box2d/b2_time_of_impact.h>
#include <box2d/box2d.h>

#include "PlainBox2D.h"

namespace b2plain {
#include "b2plain/b2_time_of_impact.h"
} // namespace b2plain

#include <algorithm>
#include <climits>
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

// Box2D's statistics, process-wide and never reset, declared as its own
// testbed declares them.
extern B2_API int32 b2_gjkCalls, b2_gjkIters, b2_toiCalls, b2_toiIters, b2_toiRootIters;
namespace b2plain {
extern B2_API int32 b2_gjkCalls, b2_gjkIters, b2_toiCalls, b2_toiIters, b2_toiRootIters;
} // namespace b2plain

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

namespace {

// One time of impact of a box thrown turning through another: distance and
// root-finder iterations included.
template <typename Polygon, typename Output, typename Input>
void throwBoxThroughBox(void (*timeOfImpact)(Output*, const Input*))
{
    Polygon box;
    box.SetAsBox(0.5f, 0.5f);
    Input input;
    input.proxyA.Set(&box, 0);
    input.proxyB.Set(&box, 0);
    input.sweepA.localCenter.SetZero();
    input.sweepA.c0.SetZero();
    input.sweepA.c.SetZero();
    input.sweepA.a0 = input.sweepA.a = input.sweepA.alpha0 = 0.0f;
    input.sweepB.localCenter.SetZero();
    input.sweepB.c0.Set(-5.0f, 0.2f);
    input.sweepB.c.Set(5.0f, -0.2f);
    input.sweepB.a0 = 0.0f;
    input.sweepB.a = 3.0f;
    input.sweepB.alpha0 = 0.0f;
    input.tMax = 1.0f;
    Output output;
    timeOfImpact(&output, &input);
}

void expectCountersStopAtTheirLargestValue(const std::vector<int32_t*>& counters, void (*run)())
{
    for (int32_t* counter : counters)
        *counter = 0;
    run();
    for (int32_t* counter : counters)
        EXPECT_GT(*counter, 0) << "counted";
    for (int32_t* counter : counters)
        *counter = INT_MAX;
    run();
    for (int32_t* counter : counters)
        EXPECT_EQ(*counter, INT_MAX);
}

} // namespace

TEST(Box2DStatistics, CountersOfALongSessionStopAtTheirLargestValue)
{
    expectCountersStopAtTheirLargestValue(
        {&b2_gjkCalls, &b2_gjkIters, &b2_toiCalls, &b2_toiIters, &b2_toiRootIters},
        [] { throwBoxThroughBox<b2PolygonShape>(&b2TimeOfImpact); });
    expectCountersStopAtTheirLargestValue({&b2plain::b2_gjkCalls, &b2plain::b2_gjkIters, &b2plain::b2_toiCalls,
                                           &b2plain::b2_toiIters, &b2plain::b2_toiRootIters},
                                          [] { throwBoxThroughBox<b2plain::b2PolygonShape>(&b2plain::b2TimeOfImpact); });
}
