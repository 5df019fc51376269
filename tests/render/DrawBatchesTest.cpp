// The gathered drawing against the callbacks the world routines make: every
// fill, mesh line, outline, rotation line, joint segment, pivot and point a
// callback asks for is in the batch of its pen, in its colour, as the
// triangles, segments, loops and points of the primitive drawn one by one,
// and nothing else is; and the state drawing leaves is the state the
// primitives drawn one by one would have left.
#include "RecordingDraw.h"

#include "render/DebugDraw.h"
#include "render/GLPen.h"
#include "render/WorldDraw.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace {

using testing_render::Call;
using testing_render::DrawWorld;

using Colour = DrawBatches::Colour;
using Kind = DrawBatches::Kind;

// What a primitive was drawn with: its kind, line width or point size,
// stipple pattern (0 for none) and colour.
struct Key {
    Kind kind;
    float size;
    int pattern;
    Colour colour;

    bool operator<(const Key& o) const
    {
        return std::tie(kind, size, pattern, colour) < std::tie(o.kind, o.size, o.pattern, o.colour);
    }
    bool operator==(const Key& o) const
    {
        return std::tie(kind, size, pattern, colour) == std::tie(o.kind, o.size, o.pattern, o.colour);
    }
};
using Geometry = std::map<Key, std::vector<float>>;

constexpr int kSelection = 0xE739;
constexpr int kDash = 0xCCCC;

void push(std::vector<float>& xy, const b2Vec2& p)
{
    xy.push_back(p.x);
    xy.push_back(p.y);
}

Colour rgba(const b2Color& c, float a)
{
    return Colour{c.r, c.g, c.b, a};
}

// The straightforward reading of the recorded calls, as the view drew them
// primitive by primitive: a fill is a fan of triangles at alpha 0.8 (0.15
// when not alive), a loop its edges (a stippled loop stays a loop, the
// pattern running on round it), a circle 32 rim points with its outline a
// turn later and the outer half of its radius; a revolute arm is stippled
// in the pattern last set.
class Reading
{
public:
    Geometry geometry;
    int pattern = 0xFFFF;

    void add(const Call& c)
    {
        if (c.op == "SolidPolygon")
            polygon(c);
        else if (c.op == "SolidCircle")
            circle(c);
        else if (c.op == "Outline")
            outline(c);
        else if (c.op == "Segment")
            segment(c);
        else if (c.op == "Pivot")
            pivot(c);
        else
            ADD_FAILURE() << "not gathered: " << c.op;
    }

private:
    void fan(const std::vector<b2Vec2>& v, const Colour& colour)
    {
        auto& xy = geometry[Key{Kind::Fills, 1.0f, 0, colour}];
        for (size_t i = 1; i + 1 < v.size(); ++i) {
            push(xy, v[0]);
            push(xy, v[i]);
            push(xy, v[i + 1]);
        }
    }
    void loop(const std::vector<b2Vec2>& v, const Colour& colour, float width, int stipple)
    {
        if (stipple) {
            for (const b2Vec2& p : v)
                push(geometry[Key{Kind::Loops, width, stipple, colour}], p);
            return;
        }
        auto& xy = geometry[Key{Kind::Lines, width, 0, colour}];
        for (size_t i = 0; i < v.size(); ++i) {
            push(xy, v[i]);
            push(xy, v[(i + 1) % v.size()]);
        }
    }
    void line(b2Vec2 a, b2Vec2 b, const Colour& colour, float width, int stipple)
    {
        auto& xy = geometry[Key{Kind::Lines, width, stipple, colour}];
        push(xy, a);
        push(xy, b);
    }
    void point(b2Vec2 p, const Colour& colour, float size) { push(geometry[Key{Kind::Points, size, 0, colour}], p); }

    void polygon(const Call& c)
    {
        fan(c.points, rgba(c.color, c.notAlive ? 0.15f : 0.8f));
        if (!c.showMesh)
            return;
        Colour mesh = rgba(c.color, 1.0f);
        if (c.staticHighlight && !c.notAlive)
            mesh = {0.85f, 0.18f, 0.81f, 1.0f};
        else if (c.notAlive)
            mesh = {0.33f * c.color.r, 0.33f * c.color.g, 0.33f * c.color.b, 0.25f};
        loop(c.points, mesh, 1.1f, 0);
    }

    void circle(const Call& c)
    {
        std::vector<b2Vec2> rim;
        float theta = 0.0f;
        for (int i = 0; i < 64; ++i, theta += 0.19634955f)
            rim.push_back(c.centre + c.radius * b2Vec2(std::cos(theta), std::sin(theta)));
        fan(std::vector<b2Vec2>(rim.begin(), rim.begin() + 32), rgba(c.color, c.notAlive ? 0.15f : 0.8f));
        const std::vector<b2Vec2> outline(rim.begin() + 32, rim.end());
        if (c.selected) {
            pattern = kSelection;
            loop(outline, rgba(c.staticHighlight ? c.staticColor : c.selectedColor, c.notAlive ? 0.15f : 1.0f),
                 c.width, kSelection);
        } else if (c.staticHighlight) {
            loop(outline, rgba(c.staticColor, 1.0f), 1.25f, 0);
        }
        const b2Vec2 tip = c.centre + c.radius * c.axis;
        const Colour rotation = c.notAlive
            ? Colour{0.5f * c.color.r, 0.5f * c.color.g, 0.5f * c.color.b, 0.4f}
            : Colour{c.color.r / 2.0f + 0.1f, c.color.g / 2.0f + 0.1f, c.color.b / 2.0f + 0.1f, 1.0f};
        line(0.5f * (c.centre + tip), tip, rotation, 1.1f, c.selected ? kSelection : 0);
    }

    void outline(const Call& c)
    {
        if (c.stippled)
            pattern = kSelection;
        for (size_t i = 0; i + 1 < c.points.size(); i += 2)
            line(c.points[i], c.points[i + 1], rgba(c.color, 1.0f), c.width, c.stippled ? kSelection : 0);
        for (size_t i = 0; i + 1 < c.points.size(); i += 2)
            point(c.points[i], rgba(c.color, 1.0f), 1.25f);
    }

    void segment(const Call& c)
    {
        const b2Vec2 p1 = c.points[0];
        const b2Vec2 p2 = c.points[1];
        float width = c.width;
        float pointSize = c.width * 5.0f;
        int stipple = 0;
        Colour colour = rgba(c.color, 1.0f);
        if (c.selected) {
            width = c.width * 1.7f;
            pointSize = c.width * 7.0f;
            stipple = pattern = kDash;
            colour = rgba(c.selectedColor, 1.0f);
        }
        if (c.style == SegmentStyle::Plain) {
            line(p1, p2, colour, width, stipple);
        } else if (c.style == SegmentStyle::PivotArm) {
            line(p1, p2, colour, width, pattern);
            point(p1, colour, pointSize);
            point(p2, colour, c.width * 1.1f);
        } else if (c.style == SegmentStyle::DistanceSymbol) {
            const std::array<b2Vec2, 8> ends = distanceSymbol(p1, p2, c.width);
            for (int k = 0; k < 8; k += 2)
                line(ends[size_t(k)], ends[size_t(k) + 1], colour, width, stipple);
            point(p1, colour, pointSize);
            point(p2, colour, pointSize);
        }
    }

    void pivot(const Call& c)
    {
        std::vector<b2Vec2> rim;
        float theta = 0.0f;
        for (int i = 0; i < 32; ++i, theta += 2.0f * b2_pi / 32.0f)
            rim.push_back(c.points[0] + c.radius * b2Vec2(std::cos(theta), std::sin(theta)));
        if (c.stippled)
            pattern = kDash;
        loop(rim, rgba(c.color, 1.0f), c.width, c.stippled ? kDash : 0);
    }
};

Geometry gathered(const DrawBatches& batches)
{
    Geometry g;
    for (const DrawBatches::Batch* b : batches.batches()) {
        const int stipple = b->pen.stippled ? int(b->pen.pattern) : 0;
        const float size = b->kind == Kind::Fills ? 1.0f : b->pen.size;
        for (const DrawBatches::Vertex& v : b->vertices) {
            auto& xy = g[Key{b->kind, size, stipple, v.colour}];
            xy.push_back(v.x);
            xy.push_back(v.y);
        }
    }
    return g;
}

// The callbacks, gathering without drawing: the world routines' passes end
// in Flush(), which here keeps what was gathered.
class GatheringDraw : public DebugDraw
{
public:
    void Flush() override {}
};

DrawBatches::Pen pen(float size, bool stippled = false, uint16_t pattern = 0xFFFF)
{
    DrawBatches::Pen p;
    p.size = size;
    p.stippled = stippled;
    p.pattern = pattern;
    return p;
}

} // namespace

TEST(DrawBatches, OneBatchPerPenEachVertexInItsColourInTheOrderTheyCame)
{
    DrawBatches batches;
    const b2Vec2 square[4] = {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)};
    const Colour red{1, 0, 0, 0.8f};
    const Colour blue{0, 0, 1, 0.8f};
    batches.addFan(square, 4, red);
    batches.addFan(square, 3, blue);
    batches.addFan(square, 4, red);
    batches.addFan(square, 2, red);  // no area: nothing
    batches.addPoints(square, 2, blue, 1.25f);
    batches.addLoop(square, 4, red, pen(1.1f));
    batches.addLoop(square, 3, blue, pen(2.5f, true, 0xE739));
    batches.addLine(square[0], square[2], blue, pen(1.1f, false, 0x1234));  // the pattern of no stipple is no matter
    batches.addLoop(square, 4, blue, pen(2.5f, true, 0xE739));
    batches.addLine(square[0], square[2], blue, pen(2.5f, true, 0xCCCC));

    // Fills, lines and loops as their pens came, points.
    const std::vector<const DrawBatches::Batch*> order = batches.batches();
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order[0]->kind, Kind::Fills);
    ASSERT_EQ(order[0]->vertices.size(), 3u * (2 + 1 + 2));
    EXPECT_EQ(order[0]->vertices[0].colour, red);
    EXPECT_EQ(order[0]->vertices[6].colour, blue) << "in the order the fans came";
    EXPECT_EQ(order[0]->vertices[9].colour, red);
    EXPECT_EQ(order[0]->vertices[7].x, 1.0f);
    EXPECT_EQ(order[0]->vertices[8].y, 1.0f);

    EXPECT_EQ(order[1]->kind, Kind::Lines);
    EXPECT_FALSE(order[1]->pen.stippled);
    std::vector<float> xy;
    for (const DrawBatches::Vertex& v : order[1]->vertices)
        xy.insert(xy.end(), {v.x, v.y});
    EXPECT_EQ(xy, (std::vector<float>{0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(order[1]->vertices.back().colour, blue);

    EXPECT_EQ(order[2]->kind, Kind::Loops);
    EXPECT_EQ(order[2]->firsts, (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(order[2]->counts, (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(order[3]->kind, Kind::Lines);
    EXPECT_EQ(order[3]->pen.pattern, 0xCCCC);
    EXPECT_EQ(order[4]->kind, Kind::Points);
    EXPECT_EQ(order[4]->vertices.size(), 2u);

    batches.clear();
    EXPECT_TRUE(batches.empty());
    EXPECT_TRUE(batches.batches().empty());
}

TEST(DrawBatches, TheWorldsShapesGatherTheSameGeometryAndColoursAsTheirCalls)
{
    const b2Color red(0.8f, 0.1f, 0.1f);
    const b2Color blue(0.1f, 0.2f, 0.9f);
    for (const bool mesh : {false, true}) {
        DrawWorld w;
        w.world.showMesh = mesh;
        UserData* redData = w.data(red);
        UserData* blueData = w.data(blue);
        UserData* deadData = w.data(blue);
        deadData->notAlive = true;
        for (int i = 0; i < 6; ++i) {
            b2Body* body = w.body(b2Vec2(float(i), 0.5f * float(i)), b2_dynamicBody, 0.3f * float(i));
            w.box(body, 0.5f, 0.25f, i % 2 ? redData : blueData);
            w.polygon(body, {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0.2f, 0.9f), b2Vec2(-0.3f, 0.4f)},
                      i == 4 ? deadData : redData);
            w.circle(body, b2Vec2(0.5f, -0.5f), 0.4f, i % 3 ? blueData : deadData);
        }

        DebugDraw batched;
        for (b2Body* body = w.world.GetBodyList(); body; body = body->GetNext()) {
            for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
                const auto* data = reinterpret_cast<const UserData*>(f->GetUserData().pointer);
                for (SceneDraw* draw : {static_cast<SceneDraw*>(&w.draw), static_cast<SceneDraw*>(&batched)})
                    DrawShape(w.world, *draw, f, body->GetTransform(), data->color, false, false, data->notAlive,
                              false, false, 0.0f, body->GetWorldCenter());
            }
        }

        Reading reading;
        for (const Call& c : w.draw.calls)
            reading.add(c);
        EXPECT_EQ(w.draw.calls.size(), 18u);
        EXPECT_EQ(gathered(batched.pending()), reading.geometry) << "mesh " << mesh;
        size_t lines = 0;
        for (const auto& entry : reading.geometry)
            lines += entry.first.kind == Kind::Lines;
        EXPECT_EQ(lines, mesh ? 5u : 2u) << "mesh, dead mesh and rotation lines";
    }
}

TEST(DrawBatches, AWholeWorldWithHighlightsAndJointsGathersWhatItsCallsDraw)
{
    // Selected, static and dead bodies, circles among them, the mesh on;
    // distance and revolute joints, selected or not. A revolute arm takes
    // the pattern last set: the selection outline's before any selected
    // joint, the dashes after one (the newest joint is drawn first).
    DrawWorld w(DrawingFlag::Shapes | DrawingFlag::Joints);
    const b2Color colours[4] = {b2Color(0.8f, 0.1f, 0.1f), b2Color(0.1f, 0.2f, 0.9f), b2Color(0.9f, 0.8f, 0.1f),
                                b2Color(0.3f, 0.9f, 0.4f)};
    std::vector<b2Body*> bodies;
    for (int i = 0; i < 8; ++i) {
        UserData* data = w.data(colours[i % 4], i % 3 == 0, i % 4 == 1);
        data->notAlive = i == 6;
        b2Body* body = w.body(b2Vec2(2.0f * float(i), float(i % 2)), b2_dynamicBody, 0.2f * float(i));
        if (i % 2) {
            w.circle(body, b2Vec2(0.1f, 0), 0.5f, data);
        } else {
            w.box(body, 0.5f, 0.3f, data);
            w.polygon(body, {b2Vec2(0.5f, -0.3f), b2Vec2(0.9f, 0), b2Vec2(0.5f, 0.3f)}, data);
        }
        bodies.push_back(body);
    }
    for (int j = 0; j < 6; ++j) {
        b2Body* a = bodies[size_t(j)];
        b2Body* b = bodies[size_t(j + 2)];
        JointUserData* data = w.jointData(colours[j % 4], j == 0 || j == 3);
        if (j % 2) {
            b2DistanceJointDef def;
            def.Initialize(a, b, a->GetPosition(), b->GetPosition());
            def.userData.pointer = reinterpret_cast<uintptr_t>(data);
            w.world.CreateJoint(&def);
        } else {
            b2RevoluteJointDef def;
            def.Initialize(a, b, 0.5f * (a->GetPosition() + b->GetPosition()));
            def.userData.pointer = reinterpret_cast<uintptr_t>(data);
            data->pivotAnchor = def.bodyA->GetWorldPoint(def.localAnchorA);
            w.world.CreateJoint(&def);
        }
    }

    DrawDebugData(w.world, false);
    GatheringDraw batched;
    batched.SetFlags(w.draw.GetFlags());
    w.world.SetDebugDraw(&batched);
    DrawDebugData(w.world, false);

    Reading reading;
    reading.pattern = GLPen::lastPattern();
    for (const Call& c : w.draw.calls)
        reading.add(c);
    const Geometry gatheredGeometry = gathered(batched.pending());
    EXPECT_EQ(gatheredGeometry, reading.geometry);

    // Every kind of primitive and both arm patterns were met.
    std::map<std::pair<Kind, int>, int> met;
    for (const auto& entry : gatheredGeometry)
        ++met[{entry.first.kind, entry.first.pattern}];
    EXPECT_GT((met[{Kind::Lines, kSelection}]), 0);
    EXPECT_GT((met[{Kind::Lines, kDash}]), 0);
    EXPECT_GT((met[{Kind::Loops, kSelection}]), 0);
    EXPECT_GT((met[{Kind::Loops, kDash}]), 0);
    EXPECT_GT((met[{Kind::Points, 0}]), 0);
    EXPECT_EQ(w.draw.named("Outline").size(), 5u) << "three selected bodies, two static";
    EXPECT_EQ(w.draw.named("Pivot").size(), 3u);
}

TEST(DrawBatches, TheStateLeftIsWhatTheLastCallbackWouldHaveLeft)
{
    const b2Vec2 p1(0, 0);
    const b2Vec2 p2(1, 1);
    const b2Color red(1, 0, 0);
    const b2Color gold(0.75f, 0.55f, 0);
    const b2Vec2 triangle[3] = {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(0, 1)};
    const OutlineEdge edges[1] = {{p1, p2}};

    struct Row {
        const char* name;
        std::function<void(DebugDraw&)> calls;
        float lineWidth;
        bool hasPointSize;
        float pointSize;
        int pattern;  // 0: none set
        Colour colour;
    };
    const std::vector<Row> rows = {
        {"dead polygon with its mesh",
         [&](DebugDraw& d) {
             d.DrawSolidPolygon(triangle, 3, red, false, false, true, false, false, 0, p1, true);
         },
         1.1f, false, 0.0f, 0, Colour{0.33f, 0, 0, 0.25f}},
        {"polygon without mesh",
         [&](DebugDraw& d) { d.DrawSolidPolygon(triangle, 3, red, false, false, false, false, false, 0, p1, false); },
         1.1f, false, 0.0f, 0, Colour{1, 0, 0, 0.8f}},
        {"selected circle",
         [&](DebugDraw& d) {
             d.DrawSolidCircle(p1, 1, b2Vec2(1, 0), red, true, false, false, false, false, 0, gold, 3.0f, red);
         },
         1.1f, false, 0.0f, kSelection, Colour{0.6f, 0.1f, 0.1f, 1.0f}},
        {"unselected outline",
         [&](DebugDraw& d) { d.DrawOutline(edges, 1, gold, 1.25f, false); }, 1.1f, true, 1.25f, 0,
         Colour{0.75f, 0.55f, 0, 1}},
        {"selected joint segment",
         [&](DebugDraw& d) { d.DrawSegment(p1, p2, red, true, SegmentStyle::Plain, gold, 2.0f); }, 1.0f, true,
         14.0f, kDash, Colour{0.75f, 0.55f, 0, 1}},
        {"revolute arm",
         [&](DebugDraw& d) { d.DrawSegment(p1, p2, red, false, SegmentStyle::PivotArm, gold, 2.0f); }, 1.0f, true,
         2.2f, 0, Colour{1, 0, 0, 1}},
        {"colour only, after a stippled pivot",
         [&](DebugDraw& d) {
             d.DrawPivot(p1, 0.2f, red, 2.0f, true);
             d.DrawSegment(p1, p2, gold, false, SegmentStyle::ColourOnly, red, 1.5f);
         },
         1.0f, true, 7.5f, kDash, Colour{0.75f, 0.55f, 0, 1}},
    };
    for (const Row& row : rows) {
        DebugDraw draw;
        row.calls(draw);
        const DrawBatches::Left& left = draw.pending().left;
        EXPECT_TRUE(left.hasLineWidth) << row.name;
        EXPECT_FLOAT_EQ(left.lineWidth, row.lineWidth) << row.name;
        EXPECT_EQ(left.hasPointSize, row.hasPointSize) << row.name;
        if (row.hasPointSize) {
            EXPECT_FLOAT_EQ(left.pointSize, row.pointSize) << row.name;
        }
        EXPECT_EQ(left.hasPattern, row.pattern != 0) << row.name;
        if (row.pattern) {
            EXPECT_EQ(left.pattern, row.pattern) << row.name;
        }
        ASSERT_TRUE(left.hasColour) << row.name;
        for (int k = 0; k < 4; ++k)
            EXPECT_FLOAT_EQ(left.colour[size_t(k)], row.colour[size_t(k)]) << row.name << " colour " << k;
    }
}
