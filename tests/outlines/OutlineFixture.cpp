#include "OutlineFixture.h"

#include "CompositionPicture.h"

#include "host/AEGP_SuiteHandler.h"
#include "model/PolygonUtils.h"
#include "outlines/BodyFromLayer.h"
#include "outlines/OutlineMessages.h"
#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Transform.h"

#include <box2d/box2d.h>

#include <cmath>
#include <string>

namespace outline_test {

QByteArray composition(const QByteArray& layers, const QByteArray& compExtra, const QByteArray& footage)
{
    QByteArray json = R"({"format": "zolvar-standin-project", "footage": [)";
    json += footage.isEmpty()
                ? QByteArray(R"({"id": 1, "name": "Red", "kind": "solid", "width": 200, "height": 100,
                               "color": [1, 0, 0]})")
                : footage;
    json += R"(], "compositions": [{"id": 100, "name": "Main", "width": 1000, "height": 500, "frameRate": 25,
              "duration": 10, )";
    if (!compExtra.isEmpty())
        json += compExtra + ", ";
    json += R"("layers": [)" + layers + R"(]}], "activeItem": "Main"})";
    return json;
}

Scene::Scene(const QByteArray& json)
{
    standin::LoadError error;
    project = standin::Project::fromJson(json, QStringLiteral("/projects/outlines.aep"), &error);
    if (!project)
        ADD_FAILURE() << error.toString().toStdString() << "\n" << json.toStdString();
    else
        session = std::make_unique<standin::HostSession>(*project, kPluginId, std::string());
    if (session)
        session->log().setKeep(standin::CallLog::Keep::Everything);
}

Scene::~Scene() = default;

int Scene::layerCount() const
{
    AEGP_SuiteHandler suites(basic());
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_long count = 0;
    suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &count);
    return int(count);
}

AEGP_LayerH Scene::layer(int layerIndex) const
{
    AEGP_SuiteHandler suites(basic());
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
    suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndex, &layer);
    return layer;
}

int Scene::objectType(int layerIndex) const
{
    AEGP_SuiteHandler suites(basic());
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    suites.LayerSuite7()->AEGP_GetLayerObjectType(layer(layerIndex), &type);
    return int(type);
}

AEGP_ColorVal Scene::build(std::vector<MyBody>& bodies, int bodyIndex, int layerIndex, int meshPrecision, bool hull,
                           std::vector<char> labels, std::vector<AEGP_ColorVal> labelColors)
{
    if (bodies.size() <= size_t(bodyIndex))
        bodies.resize(size_t(bodyIndex) + 1);
    bodies[size_t(bodyIndex)].meshPrecision = meshPrecision;
    bodies[size_t(bodyIndex)].useConvexHull = hull;
    if (labels.size() < bodies.size())
        labels.resize(bodies.size(), 0);
    AEGP_ColorVal color{};
    getBodyFromLayer(nullptr, bodies, bodyIndex, layerIndex, objectType(layerIndex), color, kPluginId, basic(),
                     labels, labelColors, QStringLiteral("Layer %1").arg(layerIndex + 1), meshPrecision + 2, hull);
    return color;
}

MyBody Scene::body(int layerIndex, int meshPrecision, bool hull)
{
    std::vector<MyBody> bodies(1);
    build(bodies, 0, layerIndex, meshPrecision, hull);
    return bodies[0];
}

namespace {

// Depth first below `parent`; `n` counts down the matches still to skip.
AEGP_StreamRefH searchBelow(const AEGP_SuiteHandler& suites, AEGP_StreamRefH parent, const char* matchName, int& n)
{
    A_long count = 0;
    if (suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(parent, &count))
        return nullptr;
    for (A_long i = 0; i < count; ++i) {
        AEGP_StreamRefH child = nullptr;
        if (suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(kPluginId, parent, i, &child) || !child)
            continue;
        A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE + 1] = {};
        suites.DynamicStreamSuite4()->AEGP_GetMatchName(child, name);
        if (std::string(name) == matchName && n-- == 0)
            return child;
        AEGP_StreamGroupingType type = AEGP_StreamGroupingType_LEAF;
        suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(child, &type);
        AEGP_StreamRefH found = type != AEGP_StreamGroupingType_LEAF ? searchBelow(suites, child, matchName, n) : nullptr;
        suites.StreamSuite4()->AEGP_DisposeStream(child);
        if (found)
            return found;
    }
    return nullptr;
}

}  // namespace

AEGP_StreamRefH Scene::findStream(int layerIndex, const char* matchName, int n) const
{
    AEGP_SuiteHandler suites(basic());
    AEGP_StreamRefH root = nullptr;
    if (suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(kPluginId, layer(layerIndex), &root))
        return nullptr;
    AEGP_StreamRefH found = searchBelow(suites, root, matchName, n);
    suites.StreamSuite4()->AEGP_DisposeStream(root);
    EXPECT_TRUE(found) << matchName;
    return found;
}

void Scene::disposeStream(AEGP_StreamRefH stream) const
{
    AEGP_SuiteHandler suites(basic());
    suites.StreamSuite4()->AEGP_DisposeStream(stream);
}

namespace {

void capture(QWidget*, const QString& text)
{
    MessageCapture::texts().push_back(text);
}

}  // namespace

MessageCapture::MessageCapture()
{
    texts().clear();
    setOutlineMessageHandler(&capture);
}

MessageCapture::~MessageCapture()
{
    setOutlineMessageHandler(nullptr);
}

std::vector<QString>& MessageCapture::texts()
{
    static std::vector<QString> list;
    return list;
}

const std::vector<ShapeDef>& group(const MyBody& body)
{
    static const std::vector<ShapeDef> none;
    EXPECT_EQ(body.outlines.size(), 1u);
    return body.outlines.empty() ? none : body.outlines[0];
}

int countIf(const MyBody& body, bool (*pred)(const ShapeDef&))
{
    int n = 0;
    for (const std::vector<ShapeDef>& g : body.outlines)
        for (const ShapeDef& s : g)
            n += pred(s) ? 1 : 0;
    return n;
}

bool isCircleOutline(const ShapeDef& s) { return s.isCircle; }
bool isBoxOutline(const ShapeDef& s) { return s.isBox; }
bool isOpenOutline(const ShapeDef& s) { return !s.isCircle && !s.isBox && !s.closed; }
bool isTriangle(const ShapeDef& s) { return !s.isCircle && !s.isBox && s.closed; }

b2Vec2 toWorld(const MyBody& body, b2Vec2 local)
{
    return body.position + b2Mul(b2Rot(body.angle), local);
}

b2Vec2 compToWorld(double x, double y, int width, int height)
{
    return b2Vec2(float((x - width / 2.0) / 100.0), float((y - height / 2.0) / 100.0));
}

b2Vec2 hostWorld(const Scene& scene, int layerIndex, double x, double y)
{
    const standin::Layer* layer = scene.project->compositionByName(QStringLiteral("Main"))->layer(layerIndex);
    double cx = 0, cy = 0;
    standin::mapPoint(standin::layerToWorld(*layer, A_Time{0, 1}), x, y, &cx, &cy);
    return compToWorld(cx, cy);
}

bool hasCorner(const MyBody& body, b2Vec2 world, float tolerance)
{
    for (const std::vector<ShapeDef>& g : body.outlines)
        for (const ShapeDef& s : g)
            for (const b2Vec2& p : s.points)
                if ((toWorld(body, p) - world).Length() < tolerance)
                    return true;
    return false;
}

namespace {

void acceptPolygon(const b2Vec2* points, int count)
{
    b2PolygonShape shape;
    shape.Set(points, count);
    b2MassData mass;
    shape.ComputeMass(&mass, 1.0f);
    EXPECT_TRUE(std::isfinite(mass.mass) && mass.mass > 0.0f);
}

}  // namespace

void expectEngineAccepts(const std::vector<ShapeDef>& group)
{
    for (const ShapeDef& s : group) {
        if (s.isCircle) {
            ASSERT_GE(s.points.size(), 4u);
            EXPECT_TRUE(std::isfinite(s.radius) && s.radius >= b2_linearSlop);
        } else if (s.isBox) {
            ASSERT_GE(s.points.size(), 4u);
            acceptPolygon(s.points.data(), 4);
        } else if (s.closed) {
            ASSERT_GE(s.points.size(), 3u);
            acceptPolygon(s.points.data(), 3);
        } else {
            ASSERT_GE(s.points.size(), 2u);
            for (float w : {0.005f, 0.065f})
                for (size_t k = 0; k + 1 < s.points.size(); ++k) {
                    const b2Vec2 p = s.points[k], q = s.points[k + 1];
                    b2Vec2 u(-(q.y - p.y), q.x - p.x);
                    u.Normalize();
                    const b2Vec2 a = p - 0.5f * w * u, b = q - 0.5f * w * u;
                    const b2Vec2 quad[4] = {a, b, b + w * u, a + w * u};
                    acceptPolygon(quad, 4);
                }
        }
    }
}

void expectEngineAccepts(const MyBody& body)
{
    for (const std::vector<ShapeDef>& g : body.outlines)
        expectEngineAccepts(g);
    EXPECT_TRUE(std::isfinite(body.position.x) && std::isfinite(body.position.y));
    EXPECT_TRUE(std::isfinite(body.angle) && std::isfinite(body.initialRotation));
}

double filledArea(const MyBody& body)
{
    double area = 0.0;
    for (const std::vector<ShapeDef>& g : body.outlines)
        for (const ShapeDef& s : g) {
            if (s.isCircle || !(s.isBox || s.closed))
                continue;
            const size_t n = s.isBox ? 4 : 3;
            double a = 0.0;
            for (size_t i = 0; i < n; ++i)
                a += double(s.points[i].x) * s.points[(i + 1) % n].y - double(s.points[(i + 1) % n].x) * s.points[i].y;
            area += std::fabs(a) / 2.0;
        }
    return area;
}

bool covers(const MyBody& body, b2Vec2 world)
{
    for (const std::vector<ShapeDef>& g : body.outlines)
        for (const ShapeDef& s : g) {
            if (s.isCircle || !(s.isBox || s.closed))
                continue;
            std::vector<b2Vec2> pts;
            for (size_t i = 0; i < (s.isBox ? 4u : 3u); ++i)
                pts.push_back(toWorld(body, s.points[i]));
            if (isInsidePolygon(world, pts))
                return true;
        }
    return false;
}

void expectBodyIsDrawn(const Scene& scene, int layerIndex, const MyBody& body, double step, double tolerance)
{
    const standin::Layer* layer = scene.project->compositionByName(QStringLiteral("Main"))->layer(layerIndex);
    const separation_test::DrawnArea drawn(*layer, A_Time{0, 1});
    const QRectF box = drawn.bounds().adjusted(-10, -10, 10, 10);
    ASSERT_FALSE(box.isEmpty());
    // World units squared per layer pixel squared.
    const b2Vec2 o = hostWorld(scene, layerIndex, 0, 0);
    const b2Vec2 ex = hostWorld(scene, layerIndex, 1, 0) - o, ey = hostWorld(scene, layerIndex, 0, 1) - o;
    const double perPixel = std::fabs(double(ex.x) * ey.y - double(ex.y) * ey.x);
    double painted = 0.0;
    int wrong = 0;
    // Off the round numbers the outlines are drawn through.
    const double offset = 0.5 * step + 0.0371;
    for (double y = box.top() + offset; y < box.bottom(); y += step)
        for (double x = box.left() + offset; x < box.right(); x += step) {
            const bool in = drawn.contains(x, y);
            painted += in ? step * step : 0.0;
            bool nearEdge = false;
            for (const auto& [dx, dy] : {std::pair<double, double>{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {0.7, 0.7},
                                         {-0.7, 0.7}, {0.7, -0.7}, {-0.7, -0.7}})
                nearEdge = nearEdge || drawn.contains(x + dx, y + dy) != in;
            if (!nearEdge && covers(body, hostWorld(scene, layerIndex, x, y)) != in && ++wrong <= 5)
                ADD_FAILURE() << "layer " << layerIndex << ": (" << x << ", " << y << ") is "
                              << (in ? "painted but not in the body" : "in the body but not painted");
        }
    EXPECT_EQ(wrong, 0) << "layer " << layerIndex << ": points where body and painting differ";
    EXPECT_NEAR(filledArea(body) / perPixel, painted, tolerance * painted) << "layer " << layerIndex;
}

}  // namespace outline_test
