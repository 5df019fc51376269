#include "outlines/LayerBuild.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "model/CoordinateConversion.h"
#include "outlines/HostStreams.h"

#include <cmath>

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

double clamp01(double v)
{
    return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0;  // not-a-number fails the first test
}

}  // namespace

LayerPlacement readLayerPlacement(const LayerBuild& build)
{
    LayerPlacement p;
    for (int i = 0; i < 4; ++i)
        p.matrix.mat[i][i] = 1.0;
    AEGP_SuiteHandler suites(build.basic);
    A_Matrix4 matrix{};
    if (!suites.LayerSuite7()->AEGP_GetLayerToWorldXform(build.layer, &kTimeZero, &matrix)) {
        p.matrix = matrix;
        for (const auto& row : matrix.mat)
            for (const double v : row)
                if (!std::isfinite(float(v)))
                    build.placementMended = true;
    }
    GetAnchorPointAtTime(build.pluginId, build.basic, build.layer, p.anchor, kTimeZero);
    float sx = 1.0f, sy = 1.0f;
    GetWorldScaleAtTime(build.pluginId, build.basic, build.layer, sx, sy, kTimeZero);
    if (std::isfinite(sx) && std::isfinite(sy)) {
        p.sx = sx;
        p.sy = sy;
    } else {
        build.outlineUnrepresentable = true;
    }
    if (!std::isfinite(p.anchor.x) || !std::isfinite(p.anchor.y)) {
        p.anchor.SetZero();
        build.placementMended = true;
    }
    return p;
}

b2Vec2 compositionPoint(const LayerBuild& build, const A_Matrix4& matrix, b2Vec2 layerPoint)
{
    Point4 world{};
    GetWorldCoords(Point4{layerPoint.x, layerPoint.y, 0.0, 1.0}, matrix, &world);
    const b2Vec2 p(float(world.x * build.compAspect), float(world.y));
    if (std::isfinite(p.x) && std::isfinite(p.y))
        return p;
    build.placementMended = true;
    return b2Vec2(0.0f, 0.0f);
}

b2Vec2 worldPoint(const LayerBuild& build, b2Vec2 compPoint)
{
    return b2Vec2(coords::getGLXCoordFromAE(compPoint.x, build.compWidth),
                  coords::getGLYCoordFromAE(compPoint.y, build.compHeight));
}

float layerRotation(const LayerBuild& build)
{
    float degrees = 0.0f;
    if (GetWorldRotationAtTime(build.pluginId, build.basic, build.layer, degrees, kTimeZero))
        return 0.0f;
    if (!std::isfinite(degrees)) {
        build.placementMended = true;
        return 0.0f;
    }
    return degrees * kRadiansPerDegree;
}

AEGP_ColorVal opaqueClamped(const AEGP_ColorVal& c)
{
    return AEGP_ColorVal{1.0, clamp01(c.red), clamp01(c.green), clamp01(c.blue)};
}
