// The world drawing routines: they turn the physics world into draw calls
// once per repaint, through the callbacks registered with the world
// (ZolvarWorld::SetDebugDraw) and with the world's drawing state (colours,
// stroke widths, the mesh switch). They replace Box2D's own debug drawing.
//
// Which passes run comes from the callbacks' draw-flag word: shapes (with
// the outlines of selected and static bodies), then revolute, prismatic and
// distance joints, then fattened bounding boxes, then centres of mass, so
// each pass draws over the one before. Prismatic and spring joints, the
// AEmatic pull lines and the overlays are the OpenGL view's (GLWidget).
#pragma once

#include "render/SceneDraw.h"

#include <box2d/box2d.h>

#include <vector>

class ZolvarWorld;

// Draws the world. `playing` (the view's playing or single-step flag) hides
// the limit display of selected revolute joints.
void DrawDebugData(ZolvarWorld& world, bool playing);

// One fixture with its body's state: a circle or a polygon (vertices under
// the transform); other shape types draw nothing.
void DrawShape(ZolvarWorld& world, SceneDraw& draw, b2Fixture* fixture, const b2Transform& xf, const b2Color& color,
               bool selected, bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
               float magnetDistance, b2Vec2 centre);

// A distance joint (its symbol) or a revolute joint (two arms, the pivot
// circle and, selected and not playing, its limit rays and sectors). The
// flags come from the joint's JointUserData; `selected` is the caller's copy
// of it. Other joint types, and joints without drawing data, draw nothing.
void DrawJoint(ZolvarWorld& world, SceneDraw& draw, b2Joint* joint, bool selected, bool playing);

// The translucent sector (alpha 0.3) from startAngle sweeping arcAngle
// (radians) around (cx, cy), with numSegments segments per full turn.
void DrawArc(SceneDraw& draw, float cx, float cy, float radius, float startAngle, float arcAngle, b2Color color,
             int numSegments);

// The triangle fan of DrawArc: the centre, then n + 1 rim points stepped
// along the tangent and pulled back to the circle, n = trunc(numSegments x
// |arcAngle| / 2 pi) + 1. Empty when the arc is not a finite angle.
std::vector<b2Vec2> arcFan(float cx, float cy, float radius, float startAngle, float arcAngle, int numSegments);

// The outer edges of a body's polygon fixtures under `xf`, fixture by
// fixture and vertex by vertex (closing edge included): an edge that another
// polygon fixture of the body also has, in either direction, to within
// 0.0001 in each coordinate, is inner and left out. Circles add no edges.
std::vector<OutlineEdge> outerEdges(b2Body& body, const b2Transform& xf);
