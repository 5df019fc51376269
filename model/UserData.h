// Drawing data of a body, one object per body, shared by all its fixtures
// (hung on them through b2FixtureUserData::pointer) and pointed to by
// MyBody::userData. Whoever creates it sets the colours and flags.
#pragma once

#include <box2d/box2d.h>

#include <cstdint>

struct UserData
{
    b2Color color{0.0f, 0.0f, 0.0f, 1.0f};
    b2Color labelColor{0.0f, 0.0f, 0.0f, 1.0f};
    bool selected = false;
    bool staticHighlight = false;  // drawn with the static-body highlight
    bool notAlive = false;         // outside its layer's life span, or Dead
    bool pickable = false;         // can be hit by a click
    bool isMagnet = false;         // magnetism Attraction or Repulsion
    bool isRepulsion = false;      // magnetism Repulsion
    float magnetDistance = 0.0f;   // radius of the drawn magnet circle
    int32_t bodyIndex = 0;         // the body's place in the body list

    void init() {}
};
