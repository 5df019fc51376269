#include "render/DrawBatches.h"

#include "render/GLPen.h"

#include <GL/gl.h>

namespace {

void push(std::vector<float>& xy, const b2Vec2& p)
{
    xy.push_back(p.x);
    xy.push_back(p.y);
}

void drawArrays(const std::vector<DrawBatches::Batch>& batches, GLenum mode)
{
    for (const DrawBatches::Batch& batch : batches) {
        glColor4f(batch.colour[0], batch.colour[1], batch.colour[2], batch.colour[3]);
        glVertexPointer(2, GL_FLOAT, 0, batch.xy.data());
        glDrawArrays(mode, 0, GLsizei(batch.xy.size() / 2));
    }
}

} // namespace

DrawBatches::Batch& DrawBatches::batchFor(std::vector<Batch>& batches, const std::array<float, 4>& colour)
{
    // Few colours per frame: the newest is the likeliest.
    for (auto it = batches.rbegin(); it != batches.rend(); ++it)
        if (it->colour == colour)
            return *it;
    batches.push_back(Batch{colour, {}});
    return batches.back();
}

void DrawBatches::addFan(const b2Vec2* vertices, int32_t count, const std::array<float, 4>& colour)
{
    if (count < 3)
        return;
    std::vector<float>& xy = batchFor(fills_, colour).xy;
    for (int32_t i = 1; i + 1 < count; ++i) {
        push(xy, vertices[0]);
        push(xy, vertices[i]);
        push(xy, vertices[i + 1]);
    }
}

void DrawBatches::addLoop(const b2Vec2* vertices, int32_t count, const std::array<float, 4>& colour)
{
    if (count < 2)
        return;
    std::vector<float>& xy = batchFor(lines_, colour).xy;
    for (int32_t i = 0; i < count; ++i) {
        push(xy, vertices[i]);
        push(xy, vertices[(i + 1) % count]);
    }
}

void DrawBatches::addLine(const b2Vec2& a, const b2Vec2& b, const std::array<float, 4>& colour)
{
    std::vector<float>& xy = batchFor(lines_, colour).xy;
    push(xy, a);
    push(xy, b);
}

void DrawBatches::clear()
{
    fills_.clear();
    lines_.clear();
}

void DrawBatches::draw()
{
    if (empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    if (!fills_.empty()) {
        GLPen::blendOn();
        drawArrays(fills_, GL_TRIANGLES);
        GLPen::blendOff();
    }
    GLPen::lineWidth(1.1f);
    GLPen::stippleOff();
    drawArrays(lines_, GL_LINES);
    glDisableClientState(GL_VERTEX_ARRAY);
    clear();
}
