// Compositions built in the stand-in host from JSON, bodies built from their
// layers, and the checks the outline tests share.
#pragma once

#include "model/MyBody.h"
#include "project/Project.h"
#include "suites/HostSession.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace outline_test {

constexpr AEGP_PluginID kPluginId = 11;

// "{ format, footage, compositions: [one composition named Main], activeItem }"
// around the given layers (a JSON array's inside). Width 1000, height 500,
// 25 fps, 10 s unless `compExtra` adds members.
QByteArray composition(const QByteArray& layers, const QByteArray& compExtra = QByteArray(),
                       const QByteArray& footage = QByteArray());

class Scene
{
public:
    explicit Scene(const QByteArray& json);
    ~Scene();

    SPBasicSuite* basic() const { return session->basicSuite(); }
    int layerCount() const;
    int objectType(int layerIndex) const;
    AEGP_LayerH layer(int layerIndex) const;

    // Builds body `bodyIndex` of `bodies` (grown as needed) from a layer with
    // getBodyFromLayer, precision = meshPrecision + 2. Returns the body colour.
    AEGP_ColorVal build(std::vector<MyBody>& bodies, int bodyIndex, int layerIndex, int meshPrecision = 2,
                        bool hull = false, std::vector<char> labels = {},
                        std::vector<AEGP_ColorVal> labelColors = {});
    // One body from one layer.
    MyBody body(int layerIndex, int meshPrecision = 2, bool hull = false);

    // The n-th property (depth first, from 0) of that match name in a layer's
    // property tree; the caller disposes it (disposeStream).
    AEGP_StreamRefH findStream(int layerIndex, const char* matchName, int n = 0) const;
    void disposeStream(AEGP_StreamRefH stream) const;

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
};

// The messages showOutlineMessage sent while the object lived.
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();
    static std::vector<QString>& texts();
};

// The first (only) outline group of a body.
const std::vector<ShapeDef>& group(const MyBody& body);
int countIf(const MyBody& body, bool (*pred)(const ShapeDef&));
bool isCircleOutline(const ShapeDef& s);
bool isBoxOutline(const ShapeDef& s);
bool isOpenOutline(const ShapeDef& s);
bool isTriangle(const ShapeDef& s);

// A body-local point in world units, through the body's position and angle
// (as the scene build places the body).
b2Vec2 toWorld(const MyBody& body, b2Vec2 local);
// World units from composition pixels of a composition of that size.
b2Vec2 compToWorld(double x, double y, int width = 1000, int height = 500);

// The world point (world units) where the host draws the point (x, y) of
// layer `layerIndex` of "Main" at time 0, through the stand-in's own matrix.
b2Vec2 hostWorld(const Scene& scene, int layerIndex, double x, double y);
// Whether some point of the body's outlines lies at `world`.
bool hasCorner(const MyBody& body, b2Vec2 world, float tolerance = 2e-4f);

// Hands every circle, box, triangle and open segment (as the scene build's
// quadrilaterals of the thinnest and the widest line width) to Box2D, which
// aborts the process on anything it refuses. Also checks the sum of the
// shapes' areas is finite.
void expectEngineAccepts(const MyBody& body);
void expectEngineAccepts(const std::vector<ShapeDef>& group);

// The total area of the body's triangles and boxes (world units squared).
double filledArea(const MyBody& body);

// Whether a world point lies in one of the body's triangles or boxes.
bool covers(const MyBody& body, b2Vec2 world);

// Compares the body of layer `layerIndex` with what the host paints of that
// layer at time 0 (separation_test::DrawnArea): on a grid of `step` layer
// pixels over the painted box and a margin, a point farther than a pixel
// from the painted edge is covered by the body exactly when it is painted,
// and the body's area (triangles and boxes, none of them overlapping) is the
// painted area within `tolerance` of it.
void expectBodyIsDrawn(const Scene& scene, int layerIndex, const MyBody& body, double step = 2.0,
                       double tolerance = 0.01);

}  // namespace outline_test
