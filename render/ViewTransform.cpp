#include "render/ViewTransform.h"

#include <cmath>

namespace {

bool usable(float v)
{
    return std::isfinite(v) && v > 0.0f;
}

} // namespace

float ViewTransform::worldX(float x, float width) const
{
    const float pixelsPerUnit = (width / 2.0f) / (aspect * kViewHalfHeight);
    if (!usable(width) || !usable(aspect) || !usable(zoom))
        return -panX;
    return ((x - width / 2.0f) / pixelsPerUnit) / (zoom / 100.0f) - panX;
}

float ViewTransform::worldY(float y, float height) const
{
    const float pixelsPerUnit = (height / 2.0f) / kViewHalfHeight;
    if (!usable(height) || !usable(zoom))
        return -panY;
    return ((y - height / 2.0f) / pixelsPerUnit) / (zoom / 100.0f) - panY;
}

float ViewTransform::widgetX(float x, float width) const
{
    if (!usable(aspect))
        return width / 2.0f;
    return (panX + x) * ((zoom / 100.0f) * width / (aspect * 2.0f * kViewHalfHeight)) + width / 2.0f;
}

float ViewTransform::widgetY(float y, float height) const
{
    return (panY + y) * ((zoom / 100.0f) * height / (2.0f * kViewHalfHeight)) + height / 2.0f;
}

float viewAspect(int width, int height)
{
    return height > 0 ? float(width) / float(height) : 1.0f;
}

std::optional<int> fitZoom(float w, float h, float cw, float ch)
{
    if (!usable(w) || !usable(h) || !usable(cw) || !usable(ch))
        return std::nullopt;
    const float zoom = cw / ch >= w / h ? 3000.0f / cw * (w / h) * 100.0f - 5.0f : 3000.0f / ch * 100.0f - 20.0f;
    // The slider bounds it further; this only keeps the conversion defined.
    return int(std::fmax(std::fmin(zoom, 1.0e9f), -1.0e9f));
}
