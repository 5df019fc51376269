#include "model/CoordinateConversion.h"

#include <cmath>

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

double pixelAspect(long long num, unsigned long long den)
{
    if (den == 0)
        return 1.0;
    const double ratio = double(num) / double(den);
    return ratio >= 0.01 && ratio <= 100.0 ? ratio : 1.0;
}

int squarePixels(long long width, double aspect)
{
    const double pixels = std::trunc(double(width) * aspect);
    if (!(pixels > 0.0))
        return 0;
    return pixels < double(kMaxSquarePixels) ? int(pixels) : kMaxSquarePixels;
}

}  // namespace coords
