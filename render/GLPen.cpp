#include "render/GLPen.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

float ratio = 1.0f;
uint16_t pattern = 0xFFFF;

} // namespace

namespace GLPen {

void setPixelRatio(float r)
{
    ratio = std::isfinite(r) && r > 0.0f ? r : 1.0f;
}

float pixelRatio()
{
    return ratio;
}

void lineWidth(float width)
{
    glLineWidth(width * ratio);
}

void pointSize(float size)
{
    glPointSize(size * ratio);
}

void stipple(uint16_t p)
{
    glEnable(GL_LINE_STIPPLE);
    setPattern(p);
}

void setPattern(uint16_t p)
{
    glLineStipple(std::max(1, int(std::lround(ratio))), p);
    pattern = p;
}

uint16_t lastPattern()
{
    return pattern;
}

void stippleOn()
{
    glEnable(GL_LINE_STIPPLE);
}

void stippleOff()
{
    glDisable(GL_LINE_STIPPLE);
}

void blendOn()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void blendOff()
{
    glDisable(GL_BLEND);
}

void vertex(const b2Vec2& p)
{
    glVertex2f(p.x, p.y);
}

} // namespace GLPen
