// The gathered drawing against the callbacks the world routines make: every
// fill and mesh line a body asks for is in the batch of its colour, as the
// triangles and segments of the primitive drawn one by one, and nothing
// else is.
#include "RecordingDraw.h"

#include "render/DebugDraw.h"
#include "render/WorldDraw.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace {

using testing_render::Call;
using testing_render::DrawWorld;

using Colour = std::array<float, 4>;
using Geometry = std::map<Colour, std::vector<float>>;

void push(std::vector<float>& xy, const b2Vec2& p)
{
    xy.push_back(p.x);
    xy.push_back(p.y);
}

// The straightforward reading of the recorded calls: a fill is a fan of
// triangles at alpha 0.8 (0.15 when not alive), the mesh a loop of segments,
// a circle 32 rim points and the outer half of its radius.
void expand(const Call& c, Geometry& fills, Geometry& lines)
{
    const float alpha = c.notAlive ? 0.15f : 0.8f;
    std::vector<b2Vec2> fan = c.points;
    if (c.op == "SolidCircle") {
        fan.clear();
        float theta = 0.0f;
        for (int i = 0; i < 32; ++i, theta += 0.19634955f)
            fan.push_back(c.centre + c.radius * b2Vec2(std::cos(theta), std::sin(theta)));
        const b2Vec2 rim = c.centre + c.radius * c.axis;
        const Colour rotation = c.notAlive
            ? Colour{0.5f * c.color.r, 0.5f * c.color.g, 0.5f * c.color.b, 0.4f}
            : Colour{c.color.r / 2.0f + 0.1f, c.color.g / 2.0f + 0.1f, c.color.b / 2.0f + 0.1f, 1.0f};
        push(lines[rotation], 0.5f * (c.centre + rim));
        push(lines[rotation], rim);
    }
    auto& triangles = fills[Colour{c.color.r, c.color.g, c.color.b, alpha}];
    for (size_t i = 1; i + 1 < fan.size(); ++i) {
        push(triangles, fan[0]);
        push(triangles, fan[i]);
        push(triangles, fan[i + 1]);
    }
    if (c.op == "SolidPolygon" && c.showMesh) {
        const Colour mesh = c.notAlive ? Colour{0.33f * c.color.r, 0.33f * c.color.g, 0.33f * c.color.b, 0.25f}
                                       : Colour{c.color.r, c.color.g, c.color.b, 1.0f};
        auto& segments = lines[mesh];
        for (size_t i = 0; i < c.points.size(); ++i) {
            push(segments, c.points[i]);
            push(segments, c.points[(i + 1) % c.points.size()]);
        }
    }
}

Geometry gathered(const std::vector<DrawBatches::Batch>& batches)
{
    Geometry g;
    for (const DrawBatches::Batch& b : batches) {
        EXPECT_EQ(g.count(b.colour), 0u) << "one batch per colour";
        g[b.colour] = b.xy;
    }
    return g;
}

} // namespace

TEST(DrawBatches, FansBecomeTrianglesAndLoopsSegmentsInOneBatchPerColour)
{
    DrawBatches batches;
    const b2Vec2 square[4] = {b2Vec2(0, 0), b2Vec2(1, 0), b2Vec2(1, 1), b2Vec2(0, 1)};
    const Colour red{1, 0, 0, 0.8f};
    const Colour blue{0, 0, 1, 0.8f};
    batches.addFan(square, 4, red);
    batches.addFan(square, 3, blue);
    batches.addFan(square, 4, red);
    batches.addFan(square, 2, red);  // no area: nothing
    batches.addLoop(square, 4, red);
    batches.addLine(square[0], square[2], blue);

    ASSERT_EQ(batches.fills().size(), 2u);
    EXPECT_EQ(batches.fills()[0].colour, red) << "in the order the colours came";
    EXPECT_EQ(batches.fills()[0].xy.size(), 2u * 2 * 3 * 2);
    EXPECT_EQ(batches.fills()[1].xy, (std::vector<float>{0, 0, 1, 0, 1, 1}));
    ASSERT_EQ(batches.lines().size(), 2u);
    EXPECT_EQ(batches.lines()[0].xy, (std::vector<float>{0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(batches.lines()[1].xy, (std::vector<float>{0, 0, 1, 1}));
    batches.clear();
    EXPECT_TRUE(batches.empty());
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

        Geometry fills, lines;
        for (const Call& c : w.draw.calls)
            expand(c, fills, lines);
        EXPECT_EQ(w.draw.calls.size(), 18u);
        EXPECT_EQ(gathered(batched.pending().fills()), fills) << "mesh " << mesh;
        EXPECT_EQ(gathered(batched.pending().lines()), lines) << "mesh " << mesh;
        EXPECT_EQ(lines.size(), mesh ? 5u : 2u) << "mesh, dead mesh and rotation lines";
    }
}
