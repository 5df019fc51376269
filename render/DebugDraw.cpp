#include "render/DebugDraw.h"

#include "render/GLPen.h"

#include <GL/gl.h>

#include <array>
#include <cmath>

namespace {

using GLPen::vertex;

// Length of a magnet ring's arrows, world units.
constexpr float kMagnetArrow = 0.55f;

// R(angle) v.
b2Vec2 rotated(b2Vec2 v, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return b2Vec2(v.x * c - v.y * s, v.x * s + v.y * c);
}

void color(const b2Color& c, float alpha)
{
    glColor4f(c.r, c.g, c.b, alpha);
}

void line(const b2Vec2& a, const b2Vec2& b)
{
    glBegin(GL_LINES);
    vertex(a);
    vertex(b);
    glEnd();
}

void point(const b2Vec2& p)
{
    glBegin(GL_POINTS);
    vertex(p);
    glEnd();
}

// The ring showing a selected magnet's range around c: magnetDistance is in
// composition pixels, 100 per world unit. Its four arrows point at c for an
// attracting magnet, away from it for a repelling one.
void magnetRing(const b2Vec2& c, float magnetDistance, bool isRepulsion)
{
    GLPen::lineWidth(1.1f);
    glColor3f(1.0f, 0.2f, 0.2f);
    const float r = magnetDistance / 100.0f;
    GLPen::stipple(GLPen::kDashPattern);

    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 100; ++i) {
        const double theta = i * 6.2831854820251465 / 100.0;
        glVertex2f(float(c.x + r * std::cos(theta)), float(c.y + r * std::sin(theta)));
    }
    glEnd();

    const float tipOffset = isRepulsion ? kMagnetArrow : -kMagnetArrow;
    const b2Vec2 directions[4] = {b2Vec2(0.0f, -1.0f), b2Vec2(1.0f, 0.0f), b2Vec2(0.0f, 1.0f), b2Vec2(-1.0f, 0.0f)};
    for (const b2Vec2& d : directions)
        drawArrow(c + r * d, c + (r + tipOffset) * d);
    GLPen::stippleOff();
}

// An axis arrow from p to q with a closed head.
void axisArrow(const b2Vec2& p, const b2Vec2& q)
{
    line(p, q);
    const b2Vec2 h = (1.0f / 2.5f) * (p - q);
    glBegin(GL_LINE_LOOP);
    vertex(q);
    vertex(q + rotated(h, b2_pi / 8.0f));
    vertex(q + rotated(h, -b2_pi / 8.0f));
    glEnd();
}

} // namespace

void drawArrow(b2Vec2 start, b2Vec2 tip)
{
    const b2Vec2 h = (1.0f / 2.5f) * (start - tip);
    glBegin(GL_LINES);
    vertex(start);
    vertex(tip);
    vertex(tip);
    vertex(tip + rotated(h, b2_pi / 8.0f));
    vertex(tip);
    vertex(tip + rotated(h, -b2_pi / 8.0f));
    glEnd();
}

namespace {

using Colour = DrawBatches::Colour;
using Pen = DrawBatches::Pen;

Colour rgba(const b2Color& c, float alpha)
{
    return Colour{c.r, c.g, c.b, alpha};
}

Pen linePen(float width, bool stippled = false, uint16_t pattern = 0xFFFF)
{
    Pen pen;
    pen.size = width;
    pen.stippled = stippled;
    pen.pattern = pattern;
    return pen;
}

// The unit circle at the solid circles' 64 angles: 0, 0.19634955, ...
// accumulated in single precision (the fill's 32, then the outline's 32 one
// turn later).
struct RimTable {
    b2Vec2 unit[64];
    RimTable()
    {
        float theta = 0.0f;
        for (b2Vec2& u : unit) {
            u = b2Vec2(std::cos(theta), std::sin(theta));
            theta += 0.19634955f;
        }
    }
};

const RimTable& rimTable()
{
    static const RimTable table;
    return table;
}

} // namespace

void DebugDraw::DrawPolygon(const b2Vec2* vertices, int32_t vertexCount, const b2Color& c, bool, bool, bool)
{
    batches.draw();
    glColor3f(c.r, c.g, c.b);
    glBegin(GL_LINE_LOOP);
    for (int32_t i = 0; i < vertexCount; ++i)
        vertex(vertices[i]);
    glEnd();
}

void DebugDraw::DrawSolidPolygon(const b2Vec2* vertices, int32_t vertexCount, const b2Color& c, bool selected,
                                 bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
                                 float magnetDistance, b2Vec2 centre, bool showMesh)
{
    DrawBatches::Left& left = batches.left;
    left.setLineWidth(1.1f);
    left.setColour(rgba(c, notAlive ? 0.15f : 0.8f));
    batches.addFan(vertices, vertexCount, left.colour);

    // The mesh lines are drawn without blending: their alpha shows nothing.
    if (showMesh) {
        Colour mesh = rgba(c, 1.0f);
        if (staticHighlight && !notAlive)
            mesh = {0.85f, 0.18f, 0.81f, 1.0f};
        else if (notAlive)
            mesh = {0.33f * c.r, 0.33f * c.g, 0.33f * c.b, 0.25f};
        batches.addLoop(vertices, vertexCount, mesh, linePen(1.1f));
        left.colour = mesh;
    }

    if (selected && isMagnet) {
        batches.draw();
        magnetRing(centre, magnetDistance, isRepulsion);
        GLPen::lineWidth(1.1f);
        GLPen::stippleOff();
    }
}

void DebugDraw::DrawCircle(const b2Vec2& centre, float radius, const b2Color& c, bool, bool, bool)
{
    batches.draw();
    glColor3f(c.r, c.g, c.b);
    glBegin(GL_LINE_LOOP);
    float theta = 0.0f;
    for (int i = 0; i < 16; ++i, theta += 0.3926991f)
        vertex(centre + radius * b2Vec2(std::cos(theta), std::sin(theta)));
    glEnd();
}

void DebugDraw::DrawSolidCircle(const b2Vec2& centre, float radius, const b2Vec2& axis, const b2Color& c,
                                bool selected, bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
                                float magnetDistance, b2Color selectionHighlightColor, float selectionStrokeWidth,
                                b2Color staticHighlightColor)
{
    constexpr int kRim = 32;
    const b2Vec2* unit = rimTable().unit;
    b2Vec2 rimPoints[kRim];
    for (int i = 0; i < kRim; ++i)
        rimPoints[i] = centre + radius * unit[i];
    batches.addFan(rimPoints, kRim, rgba(c, notAlive ? 0.15f : 0.8f));

    // A highlighted circle is outlined in its stroke; its rotation line
    // follows in the stipple the outline left. The outline goes round a
    // second time from where the fill stopped.
    Pen rotationPen = linePen(1.1f);
    if (staticHighlight || selected) {
        Pen outline;
        Colour colour;
        if (selected) {
            batches.setPattern(GLPen::kSelectionPattern);
            outline = linePen(selectionStrokeWidth, true, GLPen::kSelectionPattern);
            colour = rgba(staticHighlight ? staticHighlightColor : selectionHighlightColor, notAlive ? 0.15f : 1.0f);
            rotationPen.stippled = true;
            rotationPen.pattern = GLPen::kSelectionPattern;
        } else {
            outline = linePen(1.25f);
            colour = rgba(staticHighlightColor, 1.0f);
        }
        b2Vec2 loop[kRim];
        for (int i = 0; i < kRim; ++i)
            loop[i] = centre + radius * unit[kRim + i];
        batches.addLoop(loop, kRim, colour, outline);
    }

    // The outer half of the radius shows the body's rotation.
    const b2Vec2 rim = centre + radius * axis;
    const Colour rotationColour = notAlive
        ? Colour{0.5f * c.r, 0.5f * c.g, 0.5f * c.b, 0.4f}
        : Colour{c.r / 2.0f + 0.1f, c.g / 2.0f + 0.1f, c.b / 2.0f + 0.1f, 1.0f};
    batches.addLine(0.5f * (centre + rim), rim, rotationColour, rotationPen);
    batches.left.setLineWidth(1.1f);
    batches.left.setColour(rotationColour);

    if (selected && isMagnet) {
        batches.draw();
        magnetRing(centre, magnetDistance, isRepulsion);
        GLPen::lineWidth(1.1f);
        GLPen::stippleOff();
    }
}

void DebugDraw::DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& c, bool selected, int32_t style,
                            b2Color selectedColor, float width)
{
    DrawBatches::Left& left = batches.left;
    Pen pen = linePen(width);
    float pointSize = width * 5.0f;
    Colour colour = left.colour;
    bool coloured = style >= SegmentStyle::Plain && style <= SegmentStyle::DistanceSymbol;
    if (selected) {
        batches.setPattern(GLPen::kDashPattern);
        pen = linePen(width * 1.7f, true, GLPen::kDashPattern);
        pointSize = width * 7.0f;
        colour = rgba(selectedColor, 1.0f);
        coloured = true;
    } else if (coloured) {
        colour = rgba(c, 1.0f);
    }
    if (coloured) {
        left.setColour(colour);
    }
    left.setLineWidth(1.0f);
    left.setPointSize(pointSize);

    switch (style) {
    case SegmentStyle::Plain:
        batches.addLine(p1, p2, colour, pen);
        break;
    case SegmentStyle::PivotArm: {
        // The pattern is whichever was set last.
        Pen arm = pen;
        arm.stippled = true;
        arm.pattern = batches.pattern();
        batches.addLine(p1, p2, colour, arm);
        batches.addPoints(&p1, 1, colour, pointSize);
        batches.addPoints(&p2, 1, colour, width * 1.1f);
        left.pointSize = width * 1.1f;
        break;
    }
    case SegmentStyle::DistanceSymbol: {
        const std::array<b2Vec2, 8> ends = distanceSymbol(p1, p2, width);
        batches.addLines(ends.data(), 8, colour, pen);
        const b2Vec2 points[2] = {p1, p2};
        batches.addPoints(points, 2, colour, pointSize);
        break;
    }
    default:  // ColourOnly and unknown styles draw nothing
        break;
    }
}

std::array<b2Vec2, 8> distanceSymbol(b2Vec2 p1, b2Vec2 p2, float width)
{
    // The gap is L long, the bars H.
    const float l = 0.07f * width;
    const float h = 0.16f * width;
    b2Vec2 u = p2 - p1;
    u.Normalize();
    b2Vec2 n(-(p2.y - p1.y), p2.x - p1.x);
    n.Normalize();
    const b2Vec2 s = 0.5f * (p1 + p2) - (l / 2.0f) * u;
    const b2Vec2 e = s + l * u;
    return {p1, s, s + (h / 2.0f) * n, s - (h / 2.0f) * n, e + (h / 2.0f) * n, e - (h / 2.0f) * n, e, p2};
}

void DebugDraw::DrawTransform(const b2Transform& xf)
{
    batches.draw();
    constexpr float kAxisLength = 0.4f;
    glColor3f(1.0f, 0.0f, 0.0f);
    axisArrow(xf.p, xf.p + kAxisLength * xf.q.GetXAxis());
    // y points down on screen: against the y axis is up for an unrotated body.
    glColor3f(0.0f, 1.0f, 0.0f);
    axisArrow(xf.p, xf.p - kAxisLength * xf.q.GetYAxis());
}

void DebugDraw::DrawOutline(const OutlineEdge* edges, int32_t edgeCount, const b2Color& c, float width,
                            bool stippled)
{
    // Lines, then a point at each edge's start: the same pixels as edge by
    // edge, since every piece has the one colour. Each edge is a primitive
    // of its own, so the stipple starts afresh on each.
    const Colour colour = rgba(c, 1.0f);
    if (stippled)
        batches.setPattern(GLPen::kSelectionPattern);
    const Pen pen = linePen(width, stippled, GLPen::kSelectionPattern);
    for (int32_t i = 0; i < edgeCount; ++i)
        batches.addLine(edges[i].a, edges[i].b, colour, pen);
    for (int32_t i = 0; i < edgeCount; ++i)
        batches.addPoints(&edges[i].a, 1, colour, 1.25f);
    DrawBatches::Left& left = batches.left;
    left.setLineWidth(1.1f);
    left.setPointSize(1.25f);
    left.setColour(colour);
}

void DebugDraw::DrawPivot(const b2Vec2& centre, float radius, const b2Color& c, float width, bool stippled)
{
    constexpr int kSegments = 32;
    if (stippled)
        batches.setPattern(GLPen::kDashPattern);
    b2Vec2 loop[kSegments];
    float theta = 0.0f;
    for (int i = 0; i < kSegments; ++i, theta += 2.0f * b2_pi / float(kSegments))
        loop[i] = centre + radius * b2Vec2(std::cos(theta), std::sin(theta));
    const Colour colour = rgba(c, 1.0f);
    batches.addLoop(loop, kSegments, colour, linePen(width, stippled, GLPen::kDashPattern));
    DrawBatches::Left& left = batches.left;
    left.setLineWidth(width);
    left.setColour(colour);
}

void DebugDraw::DrawFan(const b2Vec2* vertices, int32_t vertexCount, const b2Color& c)
{
    batches.draw();
    GLPen::blendOn();
    color(c, c.a);
    glBegin(GL_TRIANGLE_FAN);
    for (int32_t i = 0; i < vertexCount; ++i)
        vertex(vertices[i]);
    glEnd();
    GLPen::blendOff();
}

void DebugDraw::DrawAABB(b2AABB* box, const b2Color& c)
{
    batches.draw();
    glColor3f(c.r, c.g, c.b);
    glBegin(GL_LINE_LOOP);
    glVertex2f(box->lowerBound.x, box->lowerBound.y);
    glVertex2f(box->upperBound.x, box->lowerBound.y);
    glVertex2f(box->upperBound.x, box->upperBound.y);
    glVertex2f(box->lowerBound.x, box->upperBound.y);
    glEnd();
}

void DebugDraw::DrawPoint(const b2Vec2& p, float size, const b2Color& c)
{
    batches.draw();
    GLPen::pointSize(size);
    glColor3f(c.r, c.g, c.b);
    point(p);
    GLPen::pointSize(1.0f);
}

void DebugDraw::DrawString(int, int, const char*, ...) {}
