// Line widths, point sizes and stipple factors for the scene's OpenGL
// drawing. The drawing states them in the view's logical pixels; on a screen
// with more device pixels per logical pixel (devicePixelRatioF) they are
// scaled, so lines keep their look. The view sets the ratio before each
// paint; everything else uses these instead of the raw calls.
#pragma once

#include <box2d/b2_math.h>

#include <cstdint>

namespace GLPen {

// The stipple patterns: outlines of selected bodies, and dashes (joints,
// magnet rings, the gravity gizmo's circle).
constexpr uint16_t kSelectionPattern = 0xE739;
constexpr uint16_t kDashPattern = 0xCCCC;

void setPixelRatio(float ratio);
float pixelRatio();

void lineWidth(float width);
void pointSize(float size);
// Enables line stipple with factor 1 (scaled) and the pattern.
void stipple(uint16_t pattern);
// Sets the pattern (factor 1, scaled) without enabling stipple.
void setPattern(uint16_t pattern);
// The pattern last set through these (OpenGL's solid 0xFFFF before any).
uint16_t lastPattern();
// Enables line stipple with the pattern last set.
void stippleOn();
void stippleOff();
// Blending with source alpha and one minus source alpha.
void blendOn();
void blendOff();

// glVertex2f of the point.
void vertex(const b2Vec2& p);

} // namespace GLPen
