#include "render/DrawBatches.h"

#include "render/GLPen.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

using Vertex = DrawBatches::Vertex;

// Room for n more vertices at the end; the arrays keep their memory from
// frame to frame, so this seldom allocates.
Vertex* grow(std::vector<Vertex>& vertices, size_t n)
{
    const size_t at = vertices.size();
    vertices.resize(at + n);
    return vertices.data() + at;
}

inline void put(Vertex*& out, const b2Vec2& p, const DrawBatches::Colour& colour)
{
    out->x = p.x;
    out->y = p.y;
    out->colour = colour;
    ++out;
}

void pointArrays(const std::vector<Vertex>& vertices)
{
    glVertexPointer(2, GL_FLOAT, GLsizei(sizeof(Vertex)), &vertices[0].x);
    glColorPointer(4, GL_FLOAT, GLsizei(sizeof(Vertex)), vertices[0].colour.data());
}

// The pen of a line batch; stipple is switched only when it changes.
void linePen(const DrawBatches::Pen& pen, bool& stippled)
{
    GLPen::lineWidth(pen.size);
    if (pen.stippled) {
        GLPen::stipple(pen.pattern);
        stippled = true;
    } else if (stippled) {
        GLPen::stippleOff();
        stippled = false;
    }
}

} // namespace

DrawBatches::Batch& DrawBatches::batchFor(Kind kind, const Pen& pen)
{
    // Few pens per frame; the newest is the likeliest.
    for (size_t i = used_; i-- > 0;) {
        Batch& b = batches_[i];
        if (b.kind == kind && (kind == Kind::Fills || b.pen == pen))
            return b;
    }
    if (used_ == batches_.size())
        batches_.emplace_back();
    Batch& b = batches_[used_++];
    b.kind = kind;
    b.pen = kind == Kind::Fills ? Pen{} : pen;
    return b;
}

void DrawBatches::addFan(const b2Vec2* vertices, int32_t count, const Colour& colour)
{
    if (count < 3)
        return;
    Vertex* out = grow(batchFor(Kind::Fills, Pen{}).vertices, 3 * size_t(count - 2));
    for (int32_t i = 1; i + 1 < count; ++i) {
        put(out, vertices[0], colour);
        put(out, vertices[i], colour);
        put(out, vertices[i + 1], colour);
    }
}

void DrawBatches::addLoop(const b2Vec2* vertices, int32_t count, const Colour& colour, const Pen& pen)
{
    if (count < 2)
        return;
    if (!pen.stippled) {
        // Unstippled, a loop's edges are the same pixels drawn apart.
        Vertex* out = grow(batchFor(Kind::Lines, pen).vertices, 2 * size_t(count));
        for (int32_t i = 0; i + 1 < count; ++i) {
            put(out, vertices[i], colour);
            put(out, vertices[i + 1], colour);
        }
        put(out, vertices[count - 1], colour);
        put(out, vertices[0], colour);
        return;
    }
    Batch& b = batchFor(Kind::Loops, pen);
    b.firsts.push_back(int32_t(b.vertices.size()));
    b.counts.push_back(count);
    Vertex* out = grow(b.vertices, size_t(count));
    for (int32_t i = 0; i < count; ++i)
        put(out, vertices[i], colour);
}

void DrawBatches::addLines(const b2Vec2* ends, int32_t count, const Colour& colour, const Pen& pen)
{
    if (count < 2)
        return;
    Vertex* out = grow(batchFor(Kind::Lines, pen).vertices, size_t(count / 2) * 2);
    for (int32_t i = 0; i + 1 < count; i += 2) {
        put(out, ends[i], colour);
        put(out, ends[i + 1], colour);
    }
}

void DrawBatches::addLine(const b2Vec2& a, const b2Vec2& b, const Colour& colour, const Pen& pen)
{
    const b2Vec2 ends[2] = {a, b};
    addLines(ends, 2, colour, pen);
}

void DrawBatches::addPoints(const b2Vec2* points, int32_t count, const Colour& colour, float size)
{
    if (count < 1)
        return;
    Pen pen;
    pen.size = size;
    Vertex* out = grow(batchFor(Kind::Points, pen).vertices, size_t(count));
    for (int32_t i = 0; i < count; ++i)
        put(out, points[i], colour);
}

void DrawBatches::clear()
{
    for (size_t i = 0; i < used_; ++i) {
        batches_[i].vertices.clear();
        batches_[i].firsts.clear();
        batches_[i].counts.clear();
    }
    used_ = 0;
    left = Left{};
}

std::vector<const DrawBatches::Batch*> DrawBatches::batches() const
{
    std::vector<const Batch*> order;
    for (const Kind kind : {Kind::Fills, Kind::Lines, Kind::Points})
        for (size_t i = 0; i < used_; ++i) {
            const Kind k = batches_[i].kind == Kind::Loops ? Kind::Lines : batches_[i].kind;
            if (k == kind)
                order.push_back(&batches_[i]);
        }
    return order;
}

uint16_t DrawBatches::pattern() const
{
    return left.hasPattern ? left.pattern : GLPen::lastPattern();
}

void DrawBatches::setPattern(uint16_t pattern)
{
    left.hasPattern = true;
    left.pattern = pattern;
}

void DrawBatches::draw()
{
    if (!empty()) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        bool stippled = false;
        for (const Kind kind : {Kind::Fills, Kind::Lines, Kind::Points}) {
            for (size_t i = 0; i < used_; ++i) {
                const Batch& b = batches_[i];
                const Kind k = b.kind == Kind::Loops ? Kind::Lines : b.kind;
                if (k != kind || b.vertices.empty())
                    continue;
                pointArrays(b.vertices);
                switch (b.kind) {
                case Kind::Fills:
                    GLPen::blendOn();
                    glDrawArrays(GL_TRIANGLES, 0, GLsizei(b.vertices.size()));
                    GLPen::blendOff();
                    break;
                case Kind::Lines:
                    linePen(b.pen, stippled);
                    glDrawArrays(GL_LINES, 0, GLsizei(b.vertices.size()));
                    break;
                case Kind::Loops:
                    linePen(b.pen, stippled);
                    for (size_t j = 0; j < b.firsts.size(); ++j)
                        glDrawArrays(GL_LINE_LOOP, b.firsts[j], b.counts[j]);
                    break;
                case Kind::Points:
                    GLPen::pointSize(b.pen.size);
                    glDrawArrays(GL_POINTS, 0, GLsizei(b.vertices.size()));
                    break;
                }
            }
        }
        if (stippled)
            GLPen::stippleOff();
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    if (left.hasLineWidth)
        GLPen::lineWidth(left.lineWidth);
    if (left.hasPointSize)
        GLPen::pointSize(left.pointSize);
    if (left.hasPattern && left.pattern != GLPen::lastPattern())
        GLPen::setPattern(left.pattern);
    if (left.hasColour)
        glColor4f(left.colour[0], left.colour[1], left.colour[2], left.colour[3]);
    clear();
}
