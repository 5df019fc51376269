// Draw callbacks that record what they are asked to draw, in order, for the
// world drawing routines' tests; and a small world to draw.
#pragma once

#include "model/JointUserData.h"
#include "model/UserData.h"
#include "render/SceneDraw.h"
#include "simulation/ZolvarWorld.h"

#include <memory>
#include <string>
#include <vector>

namespace testing_render {

struct Call {
    std::string op;  // the callback's name without "Draw"
    std::vector<b2Vec2> points;
    b2Color color;
    bool selected = false;
    bool staticHighlight = false;
    bool notAlive = false;
    bool isMagnet = false;
    bool isRepulsion = false;
    bool showMesh = false;
    bool stippled = false;
    float magnetDistance = 0.0f;
    float radius = 0.0f;
    float width = 0.0f;
    int32_t style = -1;
    b2Vec2 centre{0.0f, 0.0f};
    b2Vec2 axis{0.0f, 0.0f};
    b2Color selectedColor;
    b2Color staticColor;
    b2Transform xf;

    Call& state(bool isSelected, bool isStatic, bool isDead)
    {
        selected = isSelected;
        staticHighlight = isStatic;
        notAlive = isDead;
        return *this;
    }
    void magnet(bool on, bool repels, float distance)
    {
        isMagnet = on;
        isRepulsion = repels;
        magnetDistance = distance;
    }
};

class RecordingDraw : public SceneDraw
{
public:
    std::vector<Call> calls;

    std::vector<Call> named(const std::string& op) const
    {
        std::vector<Call> result;
        for (const Call& c : calls)
            if (c.op == op)
                result.push_back(c);
        return result;
    }
    std::vector<std::string> ops() const
    {
        std::vector<std::string> result;
        for (const Call& c : calls)
            result.push_back(c.op);
        return result;
    }

    void DrawPolygon(const b2Vec2* v, int32_t n, const b2Color& color, bool selected, bool staticHighlight,
                     bool notAlive) override
    {
        add("Polygon", v, n, color).state(selected, staticHighlight, notAlive);
    }
    void DrawSolidPolygon(const b2Vec2* v, int32_t n, const b2Color& color, bool selected, bool staticHighlight,
                          bool notAlive, bool isMagnet, bool isRepulsion, float magnetDistance, b2Vec2 centre,
                          bool showMesh) override
    {
        Call& c = add("SolidPolygon", v, n, color).state(selected, staticHighlight, notAlive);
        c.magnet(isMagnet, isRepulsion, magnetDistance);
        c.centre = centre;
        c.showMesh = showMesh;
    }
    void DrawCircle(const b2Vec2& centre, float radius, const b2Color& color, bool, bool, bool) override
    {
        add("Circle", &centre, 1, color).radius = radius;
    }
    void DrawSolidCircle(const b2Vec2& centre, float radius, const b2Vec2& axis, const b2Color& color,
                         bool selected, bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion,
                         float magnetDistance, b2Color selectionHighlightColor, float selectionStrokeWidth,
                         b2Color staticHighlightColor) override
    {
        Call& c = add("SolidCircle", &centre, 1, color).state(selected, staticHighlight, notAlive);
        c.magnet(isMagnet, isRepulsion, magnetDistance);
        c.centre = centre;
        c.radius = radius;
        c.axis = axis;
        c.selectedColor = selectionHighlightColor;
        c.width = selectionStrokeWidth;
        c.staticColor = staticHighlightColor;
    }
    void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color, bool selected, int32_t style,
                     b2Color selectedColor, float width) override
    {
        const b2Vec2 points[2] = {p1, p2};
        Call& c = add("Segment", points, 2, color);
        c.selected = selected;
        c.style = style;
        c.selectedColor = selectedColor;
        c.width = width;
    }
    void DrawTransform(const b2Transform& xf) override { add("Transform", &xf.p, 1, b2Color(0.0f, 0.0f, 0.0f)).xf = xf; }
    void DrawOutline(const OutlineEdge* edges, int32_t count, const b2Color& color, float width,
                     bool stippled) override
    {
        Call& c = add("Outline", nullptr, 0, color);
        for (int32_t i = 0; i < count; ++i)
            c.points.insert(c.points.end(), {edges[i].a, edges[i].b});
        c.width = width;
        c.stippled = stippled;
    }
    void DrawPivot(const b2Vec2& centre, float radius, const b2Color& color, float width, bool stippled) override
    {
        Call& c = add("Pivot", &centre, 1, color);
        c.radius = radius;
        c.width = width;
        c.stippled = stippled;
    }
    void DrawFan(const b2Vec2* v, int32_t n, const b2Color& color) override { add("Fan", v, n, color); }

private:
    Call& add(const char* op, const b2Vec2* v, int32_t n, const b2Color& color)
    {
        Call c;
        c.op = op;
        c.points.assign(v, v + n);
        c.color = color;
        calls.push_back(c);
        return calls.back();
    }
};

// A world with known drawing state: selection highlight (191, 140, 0) at
// width 2.5, static highlight (217, 46, 207), selected joints (255, 0, 0),
// joint width 1.5, mesh on; the recorder registered with `flags`.
struct DrawWorld {
    explicit DrawWorld(uint32_t flags = DrawingFlag::Shapes)
        : world(b2Vec2(0.0f, 10.0f), b2Color(191 / 255.0f, 140 / 255.0f, 0.0f), 2.5f,
                b2Color(217 / 255.0f, 46 / 255.0f, 207 / 255.0f), b2Color(1, 1, 0), b2Color(0.33f, 1, 0.33f),
                b2Color(0.8f, 0.84f, 0.83f), b2Color(0.33f, 0.33f, 1), b2Color(1, 0, 0), 1.5f, true)
    {
        draw.SetFlags(flags);
        world.SetDebugDraw(&draw);
    }

    // Drawing data that outlives the world's fixtures.
    UserData* data(b2Color color, bool selected = false, bool staticHighlight = false)
    {
        auto d = std::make_unique<UserData>();
        d->color = color;
        d->selected = selected;
        d->staticHighlight = staticHighlight;
        userData.push_back(std::move(d));
        return userData.back().get();
    }
    JointUserData* jointData(b2Color color, bool selected = false)
    {
        auto d = std::make_unique<JointUserData>();
        d->color = color;
        d->selected = selected;
        jointUserData.push_back(std::move(d));
        return jointUserData.back().get();
    }

    b2Body* body(b2Vec2 position, b2BodyType type = b2_dynamicBody, float angle = 0.0f)
    {
        b2BodyDef def;
        def.type = type;
        def.position = position;
        def.angle = angle;
        return world.CreateBody(&def);
    }
    b2Fixture* polygon(b2Body* b, const std::vector<b2Vec2>& points, UserData* d)
    {
        b2PolygonShape shape;
        shape.Set(points.data(), int32(points.size()));
        return fixture(b, shape, d);
    }
    b2Fixture* box(b2Body* b, float halfWidth, float halfHeight, UserData* d)
    {
        b2PolygonShape shape;
        shape.SetAsBox(halfWidth, halfHeight);
        return fixture(b, shape, d);
    }
    b2Fixture* circle(b2Body* b, b2Vec2 centre, float radius, UserData* d)
    {
        b2CircleShape shape;
        shape.m_p = centre;
        shape.m_radius = radius;
        return fixture(b, shape, d);
    }
    b2Fixture* fixture(b2Body* b, const b2Shape& shape, UserData* d)
    {
        b2FixtureDef def;
        def.shape = &shape;
        def.density = 1.0f;
        def.userData.pointer = reinterpret_cast<uintptr_t>(d);
        return b->CreateFixture(&def);
    }

    std::vector<std::unique_ptr<UserData>> userData;
    std::vector<std::unique_ptr<JointUserData>> jointUserData;
    ZolvarWorld world;
    RecordingDraw draw;
};

} // namespace testing_render
