// The primitives of one repaint gathered into vertex arrays by the pen they
// are drawn with, each vertex carrying its colour, so that a batch is one
// draw call however many colours it holds:
// - fills: triangles, blended (source alpha over one minus source alpha);
// - lines: segments at a line width, stippled or not;
// - loops: closed line loops at a line width with a stipple pattern (a
//   pattern runs on round a loop, so each loop stays one primitive);
// - points at a point size.
// Within a batch the primitives keep the order they came in. draw() draws
// the fills, then the line and loop batches in the order their pens first
// came, then the points; it then leaves the OpenGL state that drawing them
// one by one as they came would have left (line width, point size, stipple
// pattern, colour: see `Left`), stipple and blending off.
//
// Widths and sizes are logical pixels (GLPen scales them). Pure data apart
// from draw(), which needs the view's OpenGL context.
#pragma once

#include <box2d/b2_math.h>

#include <array>
#include <cstdint>
#include <vector>

class DrawBatches
{
public:
    using Colour = std::array<float, 4>;  // red, green, blue, alpha

    struct Vertex {
        float x;
        float y;
        Colour colour;
    };

    // How lines or points are drawn. A loop's pen is always stippled.
    struct Pen {
        float size = 1.0f;  // line width or point size
        bool stippled = false;
        uint16_t pattern = 0xFFFF;  // when stippled

        bool operator==(const Pen& o) const
        {
            return size == o.size && stippled == o.stippled && (!stippled || pattern == o.pattern);
        }
    };

    enum class Kind { Fills, Lines, Loops, Points };

    struct Batch {
        Kind kind;
        Pen pen;
        std::vector<Vertex> vertices;
        // Loops: where each starts in `vertices`, and its length.
        std::vector<int32_t> firsts;
        std::vector<int32_t> counts;
    };

    // What the drawing leaves set, as the primitives drawn one by one as
    // they came would have left it; unset fields are left as they are.
    struct Left {
        bool hasLineWidth = false;
        float lineWidth = 1.0f;
        bool hasPointSize = false;
        float pointSize = 1.0f;
        bool hasPattern = false;
        uint16_t pattern = 0xFFFF;
        bool hasColour = false;
        Colour colour{1.0f, 1.0f, 1.0f, 1.0f};

        void setLineWidth(float width) { hasLineWidth = true; lineWidth = width; }
        void setPointSize(float size) { hasPointSize = true; pointSize = size; }
        void setColour(const Colour& c) { hasColour = true; colour = c; }
    };

    // A triangle fan (the first vertex shared by every triangle), blended.
    void addFan(const b2Vec2* vertices, int32_t count, const Colour& colour);
    // A closed loop through the vertices: with a stippled pen one loop, else
    // its edges as segments.
    void addLoop(const b2Vec2* vertices, int32_t count, const Colour& colour, const Pen& pen);
    // Segments from the point pairs (a0, b0, a1, b1 ...).
    void addLines(const b2Vec2* ends, int32_t count, const Colour& colour, const Pen& pen);
    void addLine(const b2Vec2& a, const b2Vec2& b, const Colour& colour, const Pen& pen);
    void addPoints(const b2Vec2* points, int32_t count, const Colour& colour, float size);

    bool empty() const { return used_ == 0; }
    // Forgets what was gathered and what is left set; keeps the arrays'
    // memory for the next frame.
    void clear();
    // The batches in the order draw() draws them.
    std::vector<const Batch*> batches() const;

    // What drawing leaves set; the gathering code sets it as it goes.
    Left left;
    // The stipple pattern last set, had everything gathered been drawn
    // already.
    uint16_t pattern() const;
    void setPattern(uint16_t pattern);

    // Draws every batch, restores `left` and empties the batches.
    void draw();

private:
    Batch& batchFor(Kind kind, const Pen& pen);
    // Batches [0, used_) are this frame's; later ones keep their memory.
    std::vector<Batch> batches_;
    size_t used_ = 0;
};
