// The OpenGL view's transform between widget pixels and world units, as
// pure functions. The view shows 30 world units from top to bottom at zoom
// 100 (a percentage), y pointing down like composition pixels, centred on
// the widget; the pan (world units) applies after the zoom.
//
// A widget without area or a zoom of 0 never divides by zero: the widget
// centre then stands for the world point at the pan's centre (-pan), and
// every world point for the widget centre.
#pragma once

#include <optional>

// World units from the widget's centre to its top (or bottom) at zoom 100.
constexpr float kViewHalfHeight = 15.0f;

struct ViewTransform {
    float aspect = 1.0f;  // widget width / height
    float zoom = 100.0f;  // percent
    float panX = 0.0f;
    float panY = 0.0f;

    // Widget pixel to world coordinate, for a widget `width` (or `height`)
    // pixels wide (high).
    float worldX(float x, float width) const;
    float worldY(float y, float height) const;
    // World coordinate to widget pixel.
    float widgetX(float x, float width) const;
    float widgetY(float y, float height) const;
};

// Width / height, or 1 for a widget without height.
float viewAspect(int width, int height);

// The zoom-slider value that fits a composition of cw x ch pixels into a
// widget of w x h: 3000 / cw x (w / h) x 100 - 5 when the composition is at
// least as wide (relative to its height) as the widget, else 3000 / ch x 100
// - 20, truncated. Nothing when either has no area.
std::optional<int> fitZoom(float w, float h, float cw, float ch);
