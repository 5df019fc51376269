#include "render/WorldDraw.h"

#include "model/JointUserData.h"
#include "model/UserData.h"
#include "simulation/ZolvarWorld.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>

namespace {

// Outline of a static body that is not selected.
constexpr float kStaticOutlineWidth = 1.25f;
// Two edge ends closer than this in each coordinate are the same point.
constexpr float kSharedEdgeTolerance = 0.0001f;

// Revolute joints: the pivot circle's radius per unit of joint stroke
// width, the limit rays' length and the limit sectors' radius.
constexpr float kPivotRadiusPerWidth = 0.1f;
constexpr float kLimitRay = 0.4f;
constexpr float kLimitSector = 0.6f * kLimitRay;
constexpr int kArcSegments = 32;
constexpr double kMaxArcSteps = 1.0e6;

const UserData& drawingData(b2Fixture* fixture)
{
    static const UserData none;
    const auto* data = reinterpret_cast<const UserData*>(fixture->GetUserData().pointer);
    return data ? *data : none;
}

bool near(float a, float b)
{
    return std::fabs(a - b) < kSharedEdgeTolerance;
}

bool sameEdge(const b2Vec2& a, const b2Vec2& b, const b2Vec2& c, const b2Vec2& d)
{
    return (near(c.x, a.x) && near(c.y, a.y) && near(d.x, b.x) && near(d.y, b.y)) ||
           (near(d.x, a.x) && near(d.y, a.y) && near(c.x, b.x) && near(c.y, b.y));
}

// The vertices of one polygon fixture under the body's transform.
struct PlacedPolygon {
    b2Vec2 vertices[b2_maxPolygonVertices];
    int32 count;
};

// Does a polygon other than `self` have the edge a-b?
bool sharedEdge(const std::vector<PlacedPolygon>& polygons, const PlacedPolygon& self, const b2Vec2& a,
                const b2Vec2& b)
{
    for (const PlacedPolygon& other : polygons) {
        if (&other == &self)
            continue;
        const int32 m = other.count;
        for (int32 j = 0; j < m; ++j)
            if (sameEdge(a, b, other.vertices[j], other.vertices[(j + 1) % m]))
                return true;
    }
    return false;
}

void drawShapes(ZolvarWorld& world, SceneDraw& draw)
{
    for (b2Body* body = world.GetBodyList(); body; body = body->GetNext()) {
        const b2Transform& xf = body->GetTransform();
        const b2Vec2 centre = body->GetWorldCenter();
        bool selected = false;
        bool isStatic = false;
        for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            const UserData& data = drawingData(f);
            DrawShape(world, draw, f, xf, data.color, data.selected, data.staticHighlight, data.notAlive,
                      data.isMagnet, data.isRepulsion, data.magnetDistance, centre);
            selected = data.selected;
            isStatic = data.staticHighlight;
        }
        if (!selected && !isStatic)
            continue;

        const std::vector<OutlineEdge> edges = outerEdges(*body, xf);
        const b2Color& color = isStatic ? world.staticHighlightColor : world.selectionHighlightColor;
        const b2Color opaque(color.r, color.g, color.b, 1.0f);
        if (selected)
            draw.DrawOutline(edges.data(), int32_t(edges.size()), opaque, world.selectionStrokeWidth, true);
        else
            draw.DrawOutline(edges.data(), int32_t(edges.size()), opaque, kStaticOutlineWidth, false);
    }
}

void drawJoints(ZolvarWorld& world, SceneDraw& draw, bool playing)
{
    for (b2Joint* joint = world.GetJointList(); joint; joint = joint->GetNext()) {
        const auto* data = reinterpret_cast<const JointUserData*>(joint->GetUserData().pointer);
        DrawJoint(world, draw, joint, data && data->selected, playing);
    }
}

// The broad phase's proxies of every fixture, by child index.
class ProxyCollector
{
public:
    explicit ProxyCollector(const b2BroadPhase& broadPhase)
        : broadPhase(broadPhase)
    {
        b2AABB everything;
        everything.lowerBound.Set(-FLT_MAX, -FLT_MAX);
        everything.upperBound.Set(FLT_MAX, FLT_MAX);
        broadPhase.Query(this, everything);
    }

    bool QueryCallback(int32 proxyId)
    {
        const auto* proxy = static_cast<const b2FixtureProxy*>(broadPhase.GetUserData(proxyId));
        if (proxy)
            proxies[proxy->fixture][proxy->childIndex] = proxyId;
        return true;
    }

    std::map<const b2Fixture*, std::map<int32, int32>> proxies;

private:
    const b2BroadPhase& broadPhase;
};

void drawBoundingBoxes(ZolvarWorld& world, SceneDraw& draw)
{
    const b2BroadPhase& broadPhase = world.GetContactManager().m_broadPhase;
    const ProxyCollector collector(broadPhase);
    const b2Color white(1.0f, 1.0f, 1.0f);
    for (b2Body* body = world.GetBodyList(); body; body = body->GetNext()) {
        if (!body->IsEnabled())
            continue;
        for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            const auto found = collector.proxies.find(f);
            if (found == collector.proxies.end())
                continue;
            const UserData& data = drawingData(f);
            for (const auto& childAndProxy : found->second) {
                const b2AABB& box = broadPhase.GetFatAABB(childAndProxy.second);
                const b2Vec2 corners[4] = {box.lowerBound, b2Vec2(box.upperBound.x, box.lowerBound.y),
                                           box.upperBound, b2Vec2(box.lowerBound.x, box.upperBound.y)};
                draw.DrawPolygon(corners, 4, white, data.selected, data.staticHighlight, data.notAlive);
            }
        }
    }
}

void drawCentresOfMass(ZolvarWorld& world, SceneDraw& draw)
{
    for (b2Body* body = world.GetBodyList(); body; body = body->GetNext()) {
        if (!body->GetFixtureList())
            continue;
        b2Transform xf = body->GetTransform();
        xf.p = body->GetWorldCenter();
        draw.DrawTransform(xf);
    }
}

// The limit ray and sector of one body of a selected revolute joint. The
// ray of length 0.4 leaves the anchor pA towards the body's origin x,
// turned by the limit angle (clockwise on screen for body A, the other way
// for body B: `sign`); the sector fills the wedge between the two rays.
void drawLimit(ZolvarWorld& world, SceneDraw& draw, const JointUserData& data, const b2Vec2& pA, const b2Vec2& x,
               float limit, float sign, bool upper)
{
    b2Vec2 d = x - pA;
    d.Normalize();
    d *= kLimitRay;
    const double c = std::cos(double(limit));
    const double s = sign * std::sin(double(limit));
    const b2Vec2 e(float(pA.x + (d.x * c + d.y * s)), float(pA.y + (d.y * c - d.x * s)));
    draw.DrawSegment(pA, e, data.color, data.selected, SegmentStyle::Plain, world.selectedJointColor,
                     world.jointStrokeWidth);
    // Upper limits start at the body's ray, lower ones at the limit ray.
    const b2Vec2 from = upper ? x : e;
    const float sweep = (upper ? -sign : sign) * limit;
    DrawArc(draw, pA.x, pA.y, kLimitSector, std::atan2(from.y - pA.y, from.x - pA.x), sweep,
            world.selectedJointColor, kArcSegments);
}

void drawRevolute(ZolvarWorld& world, SceneDraw& draw, b2RevoluteJoint* joint, const JointUserData& data,
                  bool playing)
{
    const b2Vec2 xA = joint->GetBodyA()->GetTransform().p;
    const b2Vec2 xB = joint->GetBodyB()->GetTransform().p;
    const b2Vec2 pA = joint->GetAnchorA();
    const b2Vec2 pivot = data.playing ? pA : data.pivotAnchor;
    const float width = world.jointStrokeWidth;

    draw.DrawSegment(xA, pivot, data.color, data.selected, SegmentStyle::PivotArm, world.selectedJointColor, width);
    draw.DrawSegment(xB, pivot, data.color, data.selected, SegmentStyle::PivotArm, world.selectedJointColor, width);

    const float radius = width * kPivotRadiusPerWidth;
    if (data.selected)
        draw.DrawPivot(pivot, radius, b2Color(1.0f, 0.0f, 0.0f), width, true);
    else
        draw.DrawPivot(pivot, radius, data.color, width * 0.8f, false);

    if (!data.selected || playing || !joint->IsLimitEnabled())
        return;
    const float upper = joint->GetUpperLimit();
    if (upper != 0.0f) {
        drawLimit(world, draw, data, pA, xA, upper, 1.0f, true);
        drawLimit(world, draw, data, pA, xB, upper, -1.0f, true);
    }
    const float lower = joint->GetLowerLimit();
    if (lower != 0.0f) {
        drawLimit(world, draw, data, pA, xA, lower, 1.0f, false);
        drawLimit(world, draw, data, pA, xB, lower, -1.0f, false);
    }
}

} // namespace

void DrawDebugData(ZolvarWorld& world, bool playing)
{
    SceneDraw* draw = world.GetSceneDraw();
    if (!draw)
        return;
    const uint32_t flags = draw->GetFlags();
    if (flags & DrawingFlag::Shapes) {
        drawShapes(world, *draw);
        // The joints are drawn over every body.
        draw->Flush();
    }
    if (flags & DrawingFlag::Joints)
        drawJoints(world, *draw, playing);
    if (flags & DrawingFlag::BoundingBoxes)
        drawBoundingBoxes(world, *draw);
    if (flags & DrawingFlag::CentresOfMass)
        drawCentresOfMass(world, *draw);
    draw->Flush();
}

void DrawShape(ZolvarWorld& world, SceneDraw& draw, b2Fixture* fixture, const b2Transform& xf, const b2Color& color,
               bool selected, bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
               float magnetDistance, b2Vec2 centre)
{
    switch (fixture->GetType()) {
    case b2Shape::e_circle: {
        const auto* circle = static_cast<const b2CircleShape*>(fixture->GetShape());
        const b2Vec2 axis = b2Mul(xf.q, b2Vec2(1.0f, 0.0f));
        draw.DrawSolidCircle(b2Mul(xf, circle->m_p), circle->m_radius, axis, color, selected, staticHighlight,
                             notAlive, isMagnet, isRepulsion, magnetDistance, world.selectionHighlightColor,
                             world.selectionStrokeWidth, world.staticHighlightColor);
        break;
    }
    case b2Shape::e_polygon: {
        // A convex piece of several triangles shows them with the mesh on.
        const auto pieces = world.showMesh ? world.pieceTriangles.find(fixture) : world.pieceTriangles.end();
        if (pieces != world.pieceTriangles.end()) {
            for (const Triangle& triangle : pieces->second) {
                const b2Vec2 vertices[3] = {b2Mul(xf, triangle[0]), b2Mul(xf, triangle[1]), b2Mul(xf, triangle[2])};
                draw.DrawSolidPolygon(vertices, 3, color, selected, staticHighlight, notAlive, isMagnet,
                                      isRepulsion, magnetDistance, centre, true);
            }
            break;
        }
        const auto* polygon = static_cast<const b2PolygonShape*>(fixture->GetShape());
        b2Vec2 vertices[b2_maxPolygonVertices];
        const int32 count = polygon->m_count;
        for (int32 i = 0; i < count; ++i)
            vertices[i] = b2Mul(xf, polygon->m_vertices[i]);
        draw.DrawSolidPolygon(vertices, count, color, selected, staticHighlight, notAlive, isMagnet, isRepulsion,
                              magnetDistance, centre, world.showMesh);
        break;
    }
    default:
        break;
    }
}

void DrawJoint(ZolvarWorld& world, SceneDraw& draw, b2Joint* joint, bool /*selected*/, bool playing)
{
    const auto* data = reinterpret_cast<const JointUserData*>(joint->GetUserData().pointer);
    if (!data)
        return;
    switch (joint->GetType()) {
    case e_distanceJoint:
        draw.DrawSegment(joint->GetAnchorA(), joint->GetAnchorB(), data->color, data->selected,
                         SegmentStyle::DistanceSymbol, world.selectedJointColor, world.jointStrokeWidth);
        break;
    case e_revoluteJoint:
        drawRevolute(world, draw, static_cast<b2RevoluteJoint*>(joint), *data, playing);
        break;
    default:
        break;
    }
}

std::vector<b2Vec2> arcFan(float cx, float cy, float radius, float startAngle, float arcAngle, int numSegments)
{
    std::vector<b2Vec2> fan;
    if (!std::isfinite(arcAngle) || !std::isfinite(startAngle) || numSegments < 0)
        return fan;
    // Absurd angles (far beyond any limit a user sets) are drawn with a
    // bounded number of rim points.
    const double steps = double(numSegments) * (std::fabs(double(arcAngle)) / 6.283185307179586);
    const int n = int(std::min(steps, kMaxArcSteps)) + 1;
    const float theta = arcAngle / float(n);
    const float tangential = std::tan(theta);
    const float radial = 1.0f - std::cos(theta);

    fan.reserve(size_t(n) + 2);
    fan.emplace_back(cx, cy);
    float x = cx + radius * std::cos(startAngle);
    float y = cy + radius * std::sin(startAngle);
    for (int i = 0; i <= n; ++i) {
        fan.emplace_back(x, y);
        const float tx = -(y - cy);
        const float ty = x - cx;
        x += tx * tangential;
        y += ty * tangential;
        x += (cx - x) * radial;
        y += (cy - y) * radial;
    }
    return fan;
}

void DrawArc(SceneDraw& draw, float cx, float cy, float radius, float startAngle, float arcAngle, b2Color color,
             int numSegments)
{
    const std::vector<b2Vec2> fan = arcFan(cx, cy, radius, startAngle, arcAngle, numSegments);
    if (fan.empty())
        return;
    draw.DrawFan(fan.data(), int32_t(fan.size()), b2Color(color.r, color.g, color.b, 0.3f));
}

std::vector<OutlineEdge> outerEdges(b2Body& body, const b2Transform& xf)
{
    // Every vertex is placed once; the edge comparison is then pairwise.
    std::vector<PlacedPolygon> polygons;
    for (b2Fixture* f = body.GetFixtureList(); f; f = f->GetNext()) {
        if (f->GetType() != b2Shape::e_polygon)
            continue;
        const auto* polygon = static_cast<const b2PolygonShape*>(f->GetShape());
        PlacedPolygon placed{{}, polygon->m_count};
        for (int32 i = 0; i < placed.count; ++i)
            placed.vertices[i] = b2Mul(xf, polygon->m_vertices[i]);
        polygons.push_back(placed);
    }

    std::vector<OutlineEdge> edges;
    for (const PlacedPolygon& polygon : polygons) {
        const int32 n = polygon.count;
        for (int32 i = 0; i < n; ++i) {
            const b2Vec2& a = polygon.vertices[i];
            const b2Vec2& b = polygon.vertices[(i + 1) % n];
            if (!sharedEdge(polygons, polygon, a, b))
                edges.push_back({a, b});
        }
    }
    return edges;
}
