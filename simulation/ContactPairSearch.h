// The broad phase's pair pass with an indexed "does this contact exist?".
//
// Box2D 2.4.1 answers that question for every pair the broad phase reports
// by walking the whole contact list of one of the two bodies
// (b2ContactManager::AddPair). Bodies made of several convex pieces that lie
// in one heap have thousands of contacts each, and that walk then takes
// nearly all of a step: 200 stacked masked layers spend 80 % of the physics
// there.
//
// The Box2D that the plug-in is built with carries the project's patch
// third_party/box2d-patches/indexed-pair-pass.patch: its
// b2ContactManager::FindNewContacts runs the same broad-phase pass; a pair
// whose body has a short contact list is looked up by the same walk, one
// whose body has a long list in a hash of the world's contacts, built on
// first need within the pass. A pair without a contact is handed to Box2D's
// own AddPair, so Box2D creates every contact itself, in the same order: the
// simulation is the same, bit for bit (tests/simulation/ContactPairSearchTest
// compares with Box2D's unpatched code). The library is static and its
// symbols hidden inside the module, so nothing outside can replace the pass.
#pragma once

#include <cstdint>

// Defined by the patch: how many pairs the hash answered since the program
// started.
long long b2IndexedPairLookups();

namespace contact_search {

inline std::int64_t indexedLookups()
{
    return b2IndexedPairLookups();
}

} // namespace contact_search
