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
    batches.addFan(vertices, vertexCount, {c.r, c.g, c.b, notAlive ? 0.15f : 0.8f});

    // The mesh lines are drawn without blending: their alpha shows nothing.
    if (showMesh) {
        std::array<float, 4> mesh{c.r, c.g, c.b, 1.0f};
        if (staticHighlight && !notAlive)
            mesh = {0.85f, 0.18f, 0.81f, 1.0f};
        else if (notAlive)
            mesh = {0.33f * c.r, 0.33f * c.g, 0.33f * c.b, 0.25f};
        batches.addLoop(vertices, vertexCount, mesh);
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
    constexpr float kStep = 0.19634955f;
    // The outline goes round a second time from where the fill stopped.
    float theta = 0.0f;
    auto nextRimPoint = [&] {
        const b2Vec2 p = centre + radius * b2Vec2(std::cos(theta), std::sin(theta));
        theta += kStep;
        return p;
    };

    b2Vec2 rimPoints[kRim];
    for (b2Vec2& p : rimPoints)
        p = nextRimPoint();
    batches.addFan(rimPoints, kRim, {c.r, c.g, c.b, notAlive ? 0.15f : 0.8f});

    // The outer half of the radius shows the body's rotation.
    const b2Vec2 rim = centre + radius * axis;
    const std::array<float, 4> rotationColour = notAlive
        ? std::array<float, 4>{0.5f * c.r, 0.5f * c.g, 0.5f * c.b, 0.4f}
        : std::array<float, 4>{c.r / 2.0f + 0.1f, c.g / 2.0f + 0.1f, c.b / 2.0f + 0.1f, 1.0f};
    if (!staticHighlight && !selected) {
        batches.addLine(0.5f * (centre + rim), rim, rotationColour);
        return;
    }

    // A highlighted circle is outlined at once, in its stroke; its rotation
    // line follows in the stipple the outline left.
    batches.draw();
    if (staticHighlight && !selected) {
        GLPen::lineWidth(1.25f);
        color(staticHighlightColor, 1.0f);
    } else if (selected) {
        GLPen::lineWidth(selectionStrokeWidth);
        GLPen::stipple(GLPen::kSelectionPattern);
        color(staticHighlight ? staticHighlightColor : selectionHighlightColor, notAlive ? 0.15f : 1.0f);
    }
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kRim; ++i)
        vertex(nextRimPoint());
    glEnd();

    GLPen::lineWidth(1.1f);
    glColor4f(rotationColour[0], rotationColour[1], rotationColour[2], rotationColour[3]);
    line(0.5f * (centre + rim), rim);

    if (selected && isMagnet)
        magnetRing(centre, magnetDistance, isRepulsion);
    if (selected) {
        GLPen::lineWidth(1.1f);
        GLPen::stippleOff();
    }
}

void DebugDraw::DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& c, bool selected, int32_t style,
                            b2Color selectedColor, float width)
{
    batches.draw();
    if (selected) {
        GLPen::lineWidth(width * 1.7f);
        GLPen::stipple(GLPen::kDashPattern);
        GLPen::pointSize(width * 7.0f);
        glColor3f(selectedColor.r, selectedColor.g, selectedColor.b);
    } else {
        GLPen::lineWidth(width);
        GLPen::pointSize(width * 5.0f);
        if (style >= SegmentStyle::Plain && style <= SegmentStyle::DistanceSymbol)
            glColor3f(c.r, c.g, c.b);
    }

    switch (style) {
    case SegmentStyle::Plain:
        line(p1, p2);
        break;
    case SegmentStyle::PivotArm:
        // The pattern is whichever was set last.
        GLPen::stippleOn();
        line(p1, p2);
        GLPen::stippleOff();
        point(p1);
        GLPen::pointSize(width * 1.1f);
        point(p2);
        break;
    case SegmentStyle::DistanceSymbol: {
        // A line broken at its middle by a gap of L between two bars of H.
        const float l = 0.07f * width;
        const float h = 0.16f * width;
        b2Vec2 u = p2 - p1;
        u.Normalize();
        b2Vec2 n(-(p2.y - p1.y), p2.x - p1.x);
        n.Normalize();
        const b2Vec2 s = 0.5f * (p1 + p2) - (l / 2.0f) * u;
        const b2Vec2 e = s + l * u;
        glBegin(GL_LINES);
        vertex(p1);
        vertex(s);
        vertex(s + (h / 2.0f) * n);
        vertex(s - (h / 2.0f) * n);
        vertex(e + (h / 2.0f) * n);
        vertex(e - (h / 2.0f) * n);
        vertex(e);
        vertex(p2);
        glEnd();
        glBegin(GL_POINTS);
        vertex(p1);
        vertex(p2);
        glEnd();
        break;
    }
    default:  // ColourOnly and unknown styles draw nothing
        break;
    }
    GLPen::lineWidth(1.0f);
    GLPen::stippleOff();
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
    batches.draw();
    GLPen::lineWidth(width);
    if (stippled)
        GLPen::stipple(GLPen::kSelectionPattern);
    else
        GLPen::stippleOff();
    color(c, 1.0f);
    // Lines, then a point at each edge's start: the same pixels as edge by
    // edge, since every piece has the one colour.
    glBegin(GL_LINES);
    for (int32_t i = 0; i < edgeCount; ++i) {
        vertex(edges[i].a);
        vertex(edges[i].b);
    }
    glEnd();
    GLPen::pointSize(1.25f);
    glBegin(GL_POINTS);
    for (int32_t i = 0; i < edgeCount; ++i)
        vertex(edges[i].a);
    glEnd();
    GLPen::lineWidth(1.1f);
    GLPen::stippleOff();
}

void DebugDraw::DrawPivot(const b2Vec2& centre, float radius, const b2Color& c, float width, bool stippled)
{
    batches.draw();
    constexpr int kSegments = 32;
    GLPen::lineWidth(width);
    if (stippled)
        GLPen::stipple(GLPen::kDashPattern);
    glColor3f(c.r, c.g, c.b);
    glBegin(GL_LINE_LOOP);
    float theta = 0.0f;
    for (int i = 0; i < kSegments; ++i, theta += 2.0f * b2_pi / float(kSegments))
        vertex(centre + radius * b2Vec2(std::cos(theta), std::sin(theta)));
    glEnd();
    GLPen::stippleOff();
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
