// The translucent fills and the thin lines of one repaint, gathered by
// colour so that each colour is one draw call: fills as triangles (blended,
// source alpha over one minus source alpha), lines as segments at line width
// 1.1 without blending or stipple. Pure data; DebugDraw fills it and draws
// it (draw()) before anything it draws immediately and at the end of the
// world's drawing.
#pragma once

#include <box2d/b2_draw.h>
#include <box2d/b2_math.h>

#include <array>
#include <cstdint>
#include <vector>

class DrawBatches
{
public:
    struct Batch {
        std::array<float, 4> colour;  // red, green, blue, alpha
        std::vector<float> xy;        // x0, y0, x1, y1 ... in world units
    };

    // A triangle fan (the first vertex shared by every triangle).
    void addFan(const b2Vec2* vertices, int32_t count, const std::array<float, 4>& colour);
    // A closed loop through the vertices.
    void addLoop(const b2Vec2* vertices, int32_t count, const std::array<float, 4>& colour);
    void addLine(const b2Vec2& a, const b2Vec2& b, const std::array<float, 4>& colour);

    bool empty() const { return fills_.empty() && lines_.empty(); }
    void clear();
    // In the order their colours first came.
    const std::vector<Batch>& fills() const { return fills_; }
    const std::vector<Batch>& lines() const { return lines_; }

    // Draws the fills, then the lines, and empties the batches; leaves
    // blending off, line width 1.1 and stipple off. Needs the view's
    // OpenGL context.
    void draw();

private:
    static Batch& batchFor(std::vector<Batch>& batches, const std::array<float, 4>& colour);
    std::vector<Batch> fills_;
    std::vector<Batch> lines_;
};
