#include "simulation/ContactPairSearch.h"

#include <box2d/box2d.h>

#include <atomic>
#include <cstddef>
#include <vector>

namespace {

std::atomic<bool> indexedOn{true};
std::atomic<bool> hasServed{false};
std::atomic<std::int64_t> lookups{0};

// A body whose contact list is longer than this is looked up in the hash.
constexpr int kShortList = 24;

// A pair of fixture children by their broad-phase proxy ids, the lower id
// first, so that both orders give the same key. Ids are unique among live
// proxies and do not change within a pass.
using PairKey = std::uint64_t;
constexpr PairKey kEmpty = ~PairKey(0);

PairKey keyOf(int32 proxyA, int32 proxyB)
{
    const auto a = std::uint32_t(proxyA);
    const auto b = std::uint32_t(proxyB);
    return a < b ? (PairKey(a) << 32) | b : (PairKey(b) << 32) | a;
}

std::size_t hashOf(PairKey key)
{
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return std::size_t(key);
}

// Open addressing with linear probing; keys are never removed within a
// pass (the broad phase only adds contacts). The slots are kept from pass to
// pass so that a heap of bodies does not allocate on every step.
class ContactIndex
{
public:
    // Empties the index, with room for count keys without growing.
    void reset(int32 count)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * std::size_t(count > 0 ? count : 0) + 16)
            capacity *= 2;
        slots.assign(capacity, kEmpty);
        used = 0;
    }

    bool contains(PairKey key) const
    {
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = hashOf(key) & mask;; i = (i + 1) & mask) {
            if (slots[i] == key)
                return true;
            if (slots[i] == kEmpty)
                return false;
        }
    }

    void insert(PairKey key)
    {
        if (2 * (used + 1) > slots.size())
            grow();
        place(key);
    }

private:
    void place(PairKey key)
    {
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = hashOf(key) & mask;; i = (i + 1) & mask) {
            if (slots[i] == key)
                return;
            if (slots[i] == kEmpty) {
                slots[i] = key;
                ++used;
                return;
            }
        }
    }

    void grow()
    {
        std::vector<PairKey> old;
        old.swap(slots);
        slots.assign(old.size() * 2, kEmpty);
        used = 0;
        for (const PairKey key : old)
            if (key != kEmpty)
                place(key);
    }

    std::vector<PairKey> slots;
    std::size_t used = 0;
};

bool sameChildren(b2Contact* c, const b2Fixture* fa, int32 ia, const b2Fixture* fb, int32 ib)
{
    const b2Fixture* ca = c->GetFixtureA();
    const b2Fixture* cb = c->GetFixtureB();
    const int32 ja = c->GetChildIndexA();
    const int32 jb = c->GetChildIndexB();
    return (ca == fa && cb == fb && ja == ia && jb == ib) || (ca == fb && cb == fa && ja == ib && jb == ia);
}

} // namespace

void b2ContactManager::FindNewContacts()
{
    hasServed.store(true, std::memory_order_relaxed);
    if (!indexedOn.load(std::memory_order_relaxed)) {
        m_broadPhase.UpdatePairs(this);
        return;
    }

    // The broad phase's callback for this pass. Defined here, it may touch
    // the bodies' contact lists as the contact manager does.
    class PairSearch
    {
    public:
        PairSearch(b2ContactManager& manager, ContactIndex& index) : manager(manager), index(index) {}

        // Pairs answered from the hash in this pass.
        std::int64_t answered = 0;

        void AddPair(void* proxyUserDataA, void* proxyUserDataB)
        {
            const auto* proxyA = static_cast<const b2FixtureProxy*>(proxyUserDataA);
            const auto* proxyB = static_cast<const b2FixtureProxy*>(proxyUserDataB);
            const b2Body* bodyA = proxyA->fixture->m_body;
            b2Body* bodyB = proxyB->fixture->m_body;
            if (bodyA == bodyB)
                return;

            // The question Box2D asks, of the same body's list, while short.
            int walked = 0;
            for (const b2ContactEdge* edge = bodyB->m_contactList; edge; edge = edge->next) {
                if (++walked > kShortList) {
                    addAfterLookup(proxyA, proxyB, bodyB);
                    return;
                }
                if (edge->other == bodyA
                    && sameChildren(edge->contact, proxyA->fixture, proxyA->childIndex, proxyB->fixture,
                                    proxyB->childIndex))
                    return;
            }
            // Box2D's own AddPair decides (joints, filters) and creates the
            // contact; its walk of the short list finds nothing.
            addNew(proxyA, proxyB);
        }

    private:
        void addAfterLookup(const b2FixtureProxy* proxyA, const b2FixtureProxy* proxyB, b2Body* bodyB)
        {
            if (!built) {
                index.reset(manager.m_contactCount);
                for (b2Contact* c = manager.m_contactList; c; c = c->m_next)
                    index.insert(keyOf(c));
                built = true;
            }
            ++answered;
            if (index.contains(::keyOf(proxyA->proxyId, proxyB->proxyId)))
                return;
            // Box2D's AddPair would walk the whole long list again only to
            // find nothing: it is handed the body with its list set aside,
            // and the list is put back behind the edge it prepended, which
            // is the order its own prepending gives.
            b2ContactEdge* list = bodyB->m_contactList;
            bodyB->m_contactList = nullptr;
            addNew(proxyA, proxyB);
            b2ContactEdge* added = bodyB->m_contactList;
            if (!added) {
                bodyB->m_contactList = list;
                return;
            }
            added->next = list;
            if (list)
                list->prev = added;
        }

        void addNew(const b2FixtureProxy* proxyA, const b2FixtureProxy* proxyB)
        {
            const int32 before = manager.m_contactCount;
            manager.AddPair(const_cast<b2FixtureProxy*>(proxyA), const_cast<b2FixtureProxy*>(proxyB));
            if (built && manager.m_contactCount != before)
                index.insert(keyOf(manager.m_contactList));
        }

        static PairKey keyOf(const b2Contact* c)
        {
            return ::keyOf(c->m_fixtureA->m_proxies[c->m_indexA].proxyId,
                           c->m_fixtureB->m_proxies[c->m_indexB].proxyId);
        }

        b2ContactManager& manager;
        ContactIndex& index;
        bool built = false;
    };

    thread_local ContactIndex index;
    PairSearch search(*this, index);
    m_broadPhase.UpdatePairs(&search);
    lookups.fetch_add(search.answered, std::memory_order_relaxed);
}

namespace contact_search {

void setIndexed(bool on)
{
    indexedOn.store(on, std::memory_order_relaxed);
}

bool indexed()
{
    return indexedOn.load(std::memory_order_relaxed);
}

std::int64_t indexedLookups()
{
    return lookups.load(std::memory_order_relaxed);
}

bool served()
{
    return hasServed.load(std::memory_order_relaxed);
}

void link()
{
}

} // namespace contact_search
