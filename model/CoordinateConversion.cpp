#include "model/CoordinateConversion.h"

namespace coords {

namespace {
constexpr double kPixelsPerUnit = 100.0;

float toWorld(float value, int size)
{
    return static_cast<float>((value + static_cast<float>(size) / -2.0) / kPixelsPerUnit);
}
}  // namespace

float getGLXCoordFromAE(float x, int width)
{
    return toWorld(x, width);
}

float getGLYCoordFromAE(float y, int height)
{
    return toWorld(y, height);
}

float getGLWCoordFromAE(float w)
{
    return static_cast<float>(w / kPixelsPerUnit);
}

float getGLHCoordFromAE(float h)
{
    return static_cast<float>(h / kPixelsPerUnit);
}

}  // namespace coords
