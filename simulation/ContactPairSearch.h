// The broad phase's pair pass with an indexed "does this contact exist?".
//
// Box2D 2.4.1 answers that question for every pair the broad phase reports
// by walking the whole contact list of one of the two bodies
// (b2ContactManager::AddPair). Bodies made of several convex pieces that lie
// in one heap have thousands of contacts each, and that walk then takes
// nearly all of a step: 200 stacked masked layers spend 80 % of the physics
// there.
//
// ContactPairSearch.cpp defines b2ContactManager::FindNewContacts, which the
// Box2D library calls through its symbol table, so this definition serves in
// its place (the plug-in module exports it for that). It runs the same
// broad-phase pass; a pair whose body has a short contact list is looked up
// by the same walk, one whose body has a long list in a hash of the world's
// contacts, built on first need within the pass. A pair without a contact is
// handed to Box2D's own AddPair, so Box2D creates every contact itself, in
// the same order: the simulation is the same, bit for bit.
#pragma once

#include <cstdint>

namespace contact_search {

// Whether the indexed lookup is in use (it is unless a test turns it off to
// compare with Box2D's own walk). Not meant to be switched during a step.
void setIndexed(bool on);
bool indexed();

// How many pairs were answered from the hash since the program started.
std::int64_t indexedLookups();

// Whether this definition has served a pair pass in this process, that is,
// whether it replaced Box2D's own.
bool served();

// Names this file from the world's constructor, so that every program that
// builds a world links the definition in. Does nothing.
void link();

} // namespace contact_search
