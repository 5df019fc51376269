#include "outlines/LayerBuild.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/LayerQueries.h"
#include "model/CoordinateConversion.h"
#include "outlines/HostStreams.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kMinScale = 0.001f;
// A shear this small against the scale is the rounding of the body's angle,
// not a skew: it moves a point of a layer 10,000 pixels wide by 0.1 pixel.
constexpr double kLeastShear = 1e-5;

// v with its magnitude raised to `least`; 0 counts as positive.
float signedAtLeast(double v, float least)
{
    const float magnitude = std::max(float(std::fabs(v)), least);
    return v < 0.0 ? -magnitude : magnitude;
}

double clamp01(double v)
{
    return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0;  // not-a-number fails the first test
}

}  // namespace

LayerBuild layerBuildOf(SPBasicSuite* basic, int pluginId, AEGP_LayerH layer)
{
    LayerBuild build;
    build.basic = basic;
    build.pluginId = pluginId;
    build.layer = layer;
    return build;
}

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
    double fx = 1.0, fy = 1.0, shear = 0.0;
    GetWorldScaleAlongBodyAxesAtTime(build.pluginId, build.basic, build.layer, fx, fy, kTimeZero, &shear);
    if (std::isfinite(fx) && std::isfinite(fy)) {
        p.sx = signedAtLeast(fx, kMinScale);
        p.sy = signedAtLeast(fy, kMinScale);
        if (std::fabs(shear) > kLeastShear * std::max(std::fabs(fx), std::fabs(fy)))
            p.shear = float(shear);
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

b2Vec2 layerPoint(const LayerBuild& build, const A_Matrix4& matrix, b2Vec2 compPoint, b2Vec2 fallback)
{
    const auto& m = matrix.mat;
    const double det = m[0][0] * m[1][1] - m[1][0] * m[0][1];
    const double x = double(compPoint.x) / build.compAspect - m[3][0];
    const double y = double(compPoint.y) - m[3][1];
    if (det == 0.0 || !std::isfinite(det))
        return fallback;
    const b2Vec2 p(float((x * m[1][1] - y * m[1][0]) / det), float((y * m[0][0] - x * m[0][1]) / det));
    return std::isfinite(p.x) && std::isfinite(p.y) ? p : fallback;
}

b2Vec2 worldPoint(const LayerBuild& build, b2Vec2 compPoint)
{
    return b2Vec2(coords::getGLXCoordFromAE(compPoint.x, build.compWidth),
                  coords::getGLYCoordFromAE(compPoint.y, build.compHeight));
}

float layerRotation(const LayerBuild& build)
{
    float degrees = 0.0f;
    if (GetBodyRotationAtTime(build.pluginId, build.basic, build.layer, degrees, kTimeZero))
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
