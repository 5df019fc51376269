// The program's draw callbacks. The world drawing routines (WorldDraw.h) walk
// the physics world and call these with the body's state flags, magnet
// radius, centre and highlight colours beside the geometry, which Box2D's own
// b2Draw cannot carry. DebugDraw implements them with OpenGL.
//
// Beside the callbacks for shapes, joint segments and transforms, three more
// carry what the world routines draw in their own style: the outline of a
// selected or static body, a revolute joint's pivot circle and the
// translucent sector of a joint limit.
#pragma once

#include <box2d/b2_draw.h>
#include <box2d/b2_math.h>

#include <cstdint>

// Bits of the draw-flag word (the view's DrawingFlags). Contact pairs (8) are
// never drawn.
namespace DrawingFlag {
enum Value : uint32_t {
    Shapes = 0x0001,
    Joints = 0x0002,
    BoundingBoxes = 0x0004,
    CentresOfMass = 0x0010,  // shown as local axes
};
}

// How DrawSegment draws a segment.
namespace SegmentStyle {
enum Value : int32_t {
    Plain = 0,
    PivotArm = 1,     // stippled arm with end points
    ColourOnly = 2,   // sets the colour, draws nothing
    DistanceSymbol = 3,
};
}

// One outer edge of a body's outline, a to b.
struct OutlineEdge {
    b2Vec2 a;
    b2Vec2 b;
};

class SceneDraw
{
public:
    SceneDraw() = default;
    virtual ~SceneDraw() = default;

    void SetFlags(uint32_t flags) { drawFlags = flags; }
    uint32_t GetFlags() const { return drawFlags; }
    void AppendFlags(uint32_t flags) { drawFlags |= flags; }
    void ClearFlags(uint32_t flags) { drawFlags &= ~flags; }

    virtual void DrawPolygon(const b2Vec2* vertices, int32_t vertexCount, const b2Color& color, bool selected,
                             bool staticHighlight, bool notAlive) = 0;
    virtual void DrawSolidPolygon(const b2Vec2* vertices, int32_t vertexCount, const b2Color& color,
                                  bool selected, bool staticHighlight, bool notAlive, bool isMagnet,
                                  bool isRepulsion, float magnetDistance, b2Vec2 centre, bool showMesh) = 0;
    virtual void DrawCircle(const b2Vec2& centre, float radius, const b2Color& color, bool selected,
                            bool staticHighlight, bool notAlive) = 0;
    virtual void DrawSolidCircle(const b2Vec2& centre, float radius, const b2Vec2& axis, const b2Color& color,
                                 bool selected, bool staticHighlight, bool notAlive, bool isMagnet,
                                 bool isRepulsion, float magnetDistance, b2Color selectionHighlightColor,
                                 float selectionStrokeWidth, b2Color staticHighlightColor) = 0;
    virtual void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color, bool selected,
                             int32_t style, b2Color selectedColor, float width) = 0;
    virtual void DrawTransform(const b2Transform& xf) = 0;

    // A body's outer edges at `width`, stippled (0xE739) when `stippled`,
    // each edge a line with a point at its start. Leaves line width 1.1 and
    // stipple off; the point size stays 1.25.
    virtual void DrawOutline(const OutlineEdge* edges, int32_t edgeCount, const b2Color& color, float width,
                             bool stippled) = 0;
    // A revolute joint's pivot: a circle of 32 points at `width`, stippled
    // (0xCCCC) when `stippled`. Leaves stipple off.
    virtual void DrawPivot(const b2Vec2& centre, float radius, const b2Color& color, float width,
                           bool stippled) = 0;
    // A blended triangle fan (the first vertex its centre) in the colour
    // with its alpha. Leaves blending off.
    virtual void DrawFan(const b2Vec2* vertices, int32_t vertexCount, const b2Color& color) = 0;
    // A pass of the world's drawing is complete (the shapes, or the whole
    // world): what was gathered is drawn now, under what comes next.
    virtual void Flush() {}

private:
    uint32_t drawFlags = 0;
};
