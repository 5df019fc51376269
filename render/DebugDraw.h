// The OpenGL implementation of the draw callbacks: translucent filled
// bodies, highlight outlines, the mesh, the magnet range ring with its
// arrows, joint segments in their styles and axis arrows. All coordinates
// are world units; the view's model-view transform is in place when the
// world drawing routines call these, inside the view's paint.
//
// Blending means source alpha over one minus source alpha, switched off
// again after the primitive. What each call leaves set (line width, point
// size, stipple pattern) carries into the next one, as its comment says.
//
// The shapes and joints are gathered by pen (DrawBatches): fills, mesh
// lines, the outlines of selected and static bodies and circles, rotation
// lines, joint segments, pivots and their points go into vertex arrays
// that carry each vertex's colour, and are drawn together with the
// blending, line width, stipple and point size set once per batch: before
// anything drawn at once (bounding boxes, axes, magnet rings, limit
// sectors), and at Flush(), the end of a pass of the world's drawing. The
// state each callback leaves, below, is what Flush() leaves.
#pragma once

#include "render/DrawBatches.h"
#include "render/SceneDraw.h"

#include <box2d/b2_collision.h>

#include <array>

class DebugDraw : public SceneDraw
{
public:
    // A line loop through the vertices in the colour (no alpha).
    void DrawPolygon(const b2Vec2* vertices, int32_t vertexCount, const b2Color& color, bool selected,
                     bool staticHighlight, bool notAlive) override;
    // A blended fill (alpha 0.8, or 0.15 when not alive) at line width 1.1;
    // with the mesh on, the piece's outline; the magnet ring of a selected
    // magnet. A selected piece leaves line width 1.1 and stipple off.
    void DrawSolidPolygon(const b2Vec2* vertices, int32_t vertexCount, const b2Color& color, bool selected,
                          bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
                          float magnetDistance, b2Vec2 centre, bool showMesh) override;
    // A line loop of 16 points.
    void DrawCircle(const b2Vec2& centre, float radius, const b2Color& color, bool selected, bool staticHighlight,
                    bool notAlive) override;
    // A blended fill of 32 rim points, the highlight outline of a selected
    // or static circle, the outer half of the radius along `axis`, and the
    // magnet ring of a selected magnet.
    void DrawSolidCircle(const b2Vec2& centre, float radius, const b2Vec2& axis, const b2Color& color,
                         bool selected, bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
                         float magnetDistance, b2Color selectionHighlightColor, float selectionStrokeWidth,
                         b2Color staticHighlightColor) override;
    // A joint segment in a SegmentStyle; selected: stippled, 1.7 x wider, in
    // `selectedColor`. Leaves line width 1.0 and stipple off.
    void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color, bool selected, int32_t style,
                     b2Color selectedColor, float width) override;
    // A red arrow along the x axis and a green one against the y axis.
    void DrawTransform(const b2Transform& xf) override;
    void DrawOutline(const OutlineEdge* edges, int32_t edgeCount, const b2Color& color, float width,
                     bool stippled) override;
    void DrawPivot(const b2Vec2& centre, float radius, const b2Color& color, float width, bool stippled) override;
    void DrawFan(const b2Vec2* vertices, int32_t vertexCount, const b2Color& color) override;
    void Flush() override { batches.draw(); }

    // What is gathered and not drawn yet.
    const DrawBatches& pending() const { return batches; }

    // Without callers in the program; kept with the callbacks.
    void DrawAABB(b2AABB* box, const b2Color& color);
    void DrawPoint(const b2Vec2& point, float size, const b2Color& color);
    void DrawString(int x, int y, const char* format, ...);

private:
    DrawBatches batches;
};

// A distance joint's segment from p1 to p2 drawn `width` wide: a line broken
// at its middle by a gap between two bars across it, as the ends of four
// segments (p1, gap start, first bar, second bar, gap end, p2).
std::array<b2Vec2, 8> distanceSymbol(b2Vec2 p1, b2Vec2 p2, float width);

// A line from start to tip with a head of two strokes at the tip, 1/2.5 of
// the arrow's length, at +-pi/8. Uses the colour, width and stipple in force.
void drawArrow(b2Vec2 start, b2Vec2 tip);
