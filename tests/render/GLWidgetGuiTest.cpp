// The OpenGL view painting a small scene into its framebuffer: background,
// bodies in their colours at the pixels the conversions give, outlines, a
// circle's radius line, the composition frame, the view options and the
// drawing setters, read back with grabFramebuffer().
#include "properties/BodiesTableView.h"
#include "properties/SliderGo.h"
#include "render/DebugDraw.h"
#include "render/GLWidget.h"
#include "render/OverlayGeometry.h"
#include "simulation/SimulationCore.h"
#include "model/JointUserData.h"
#include "model/UserData.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QStandardItemModel>
#include <QToolButton>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <utility>

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "render-view-test";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

const QColor kBackground(20, 40, 60);
const b2Color kStaticColor(0.2f, 0.6f, 1.0f);
const b2Color kDynamicColor(1.0f, 0.4f, 0.2f);
const b2Color kCircleColor(0.6f, 0.2f, 0.8f);
const QColor kFrame(255, 255, 0);

int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

QColor rgb(const b2Color& c)
{
    return QColor::fromRgbF(c.r, c.g, c.b);
}

// A body's fill at alpha 0.8 over the background.
QColor fill(const b2Color& c)
{
    auto mix = [](float f, int bg) { return int(std::lround(0.8f * f * 255.0f + 0.2f * float(bg))); };
    return QColor(mix(c.r, kBackground.red()), mix(c.g, kBackground.green()), mix(c.b, kBackground.blue()));
}

// The world points below sit half a pixel off the grid at 20 pixels per
// unit, so that edges and lines fall on pixel centres: a static box around
// pixel (140, 150), a selected dynamic box around (240, 150), a circle at
// (200, 130) and the composition frame at columns 99 and 300, rows 89 and 210.
class ViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { app(); }

    void SetUp() override
    {
        zoom = std::make_unique<SliderGo>(nullptr);
        zoom->setRange(1, 2000);
        zoom->setValue(200);
        Ui::ZolvarDlgClass ui{};
        ui.zoomSld = zoom.get();
        ui.gravityToolBtn = &gravityTool;
        ui.velocityToolBtn = &velocityTool;
        ui.gravityLayerCb = &gravityFromLayer;
        ui.toolsNoteSt = &toolsNote;
        ui.bodiesTable = &bodiesTable;
        gravityTool.setCheckable(true);
        velocityTool.setCheckable(true);
        bodiesTable.setModel(&bodiesModel);

        core = std::make_unique<SimulationCore>(nullptr, 0);
        core->world = std::make_unique<ZolvarWorld>(b2Vec2(0, 0), b2Color(191 / 255.0f, 140 / 255.0f, 0), 2.5f,
                                      b2Color(217 / 255.0f, 46 / 255.0f, 207 / 255.0f), b2Color(1, 1, 0),
                                      b2Color(0.33f, 1, 0.33f), b2Color(0.8f, 0.84f, 0.83f), b2Color(0.33f, 0.33f, 1),
                                      b2Color(1, 0, 0), 1.0f, false);
        world = core->world.get();
        b2PolygonShape box;
        box.SetAsBox(1.0f, 1.0f);
        b2CircleShape circle;
        circle.m_radius = 0.75f;
        body(b2Vec2(-2.975f, 0.025f), b2_staticBody, box, kStaticColor, false, true);
        dynamicData = body(b2Vec2(2.025f, 0.025f), b2_dynamicBody, box, kDynamicColor, true);
        body(b2Vec2(0.025f, -0.975f), b2_staticBody, circle, kCircleColor);
        draw.SetFlags(DrawingFlag::Shapes | DrawingFlag::Joints);
        world->SetDebugDraw(&draw);

        view = std::make_unique<GLWidget>(nullptr, core.get(), nullptr, ui);
        view->setWorld(world);
        view->setBGColor(kBackground);
        view->setCompFrameColor(b2Color(1, 1, 0));
        const b2Vec2 corners[4] = {b2Vec2(-5.025f, -3.025f), b2Vec2(5.025f, -3.025f), b2Vec2(5.025f, 3.025f),
                                   b2Vec2(-5.025f, 3.025f)};
        view->setCompBounds(corners);
        view->resize(400, 300);
        view->show();
        QApplication::processEvents();
    }

    void TearDown() override
    {
        view.reset();
        core.reset();
    }

    // A body with one fixture of `shape`; its record is appended to the
    // scene's.
    UserData* body(b2Vec2 position, b2BodyType type, const b2Shape& shape, b2Color color, bool selected = false,
                   bool isStatic = false)
    {
        userData.push_back(std::make_unique<UserData>());
        UserData* data = userData.back().get();
        data->color = color;
        data->selected = selected;
        data->staticHighlight = isStatic;
        b2BodyDef def;
        def.type = type;
        def.position = position;
        MyBody record;
        record.body = world->CreateBody(&def);
        record.position = position;
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.userData.pointer = reinterpret_cast<uintptr_t>(data);
        record.body->CreateFixture(&fixture);
        core->bodies.push_back(record);
        return data;
    }

    QImage frame()
    {
        QImage image = view->grabFramebuffer();
        // Widget pixels, whatever the device pixel ratio.
        return image.scaled(view->width(), view->height());
    }

    // Is a line of `color` drawn through (x, y), give or take a pixel
    // across it? A pixel of the line is nearer its colour than the
    // background's.
    static bool lineAt(const QImage& image, int x, int y, bool vertical, QColor color)
    {
        for (int d = -1; d <= 1; ++d) {
            const QColor px = image.pixelColor(vertical ? x + d : x, vertical ? y : y + d);
            if (distance(px, color) < distance(px, kBackground))
                return true;
        }
        return false;
    }

    // The widest run of pixels near `color` in any row from `top` to
    // `bottom`, between columns `left` and `right`.
    static int strokeWidth(const QImage& image, int left, int right, int top, int bottom, QColor color)
    {
        int widest = 0;
        for (int y = top; y <= bottom; ++y) {
            int count = 0;
            for (int x = left; x <= right; ++x)
                if (distance(image.pixelColor(x, y), color) < 90)
                    ++count;
            widest = std::max(widest, count);
        }
        return widest;
    }

    std::unique_ptr<SliderGo> zoom;
    QToolButton gravityTool;
    QToolButton velocityTool;
    QCheckBox gravityFromLayer;
    QLabel toolsNote;
    BodiesTableView bodiesTable{nullptr};
    QStandardItemModel bodiesModel{2, 1};
    std::vector<std::unique_ptr<UserData>> userData;
    DebugDraw draw;
    std::unique_ptr<SimulationCore> core;
    ZolvarWorld* world = nullptr;
    UserData* dynamicData = nullptr;
    std::unique_ptr<GLWidget> view;
};

TEST_F(ViewTest, BodiesInTheirColoursOverTheBackgroundAtTheConvertedPixels)
{
    ASSERT_FLOAT_EQ(view->getViewXCoordFromGL(2.025f, 400.0f), 240.5f);
    const QImage image = frame();
    ASSERT_EQ(image.width(), 400);

    EXPECT_EQ(image.pixelColor(5, 5), kBackground);
    EXPECT_EQ(image.pixelColor(395, 295), kBackground);
    EXPECT_LE(distance(image.pixelColor(140, 150), fill(kStaticColor)), 6);
    EXPECT_LE(distance(image.pixelColor(240, 150), fill(kDynamicColor)), 6);
    EXPECT_LE(distance(image.pixelColor(195, 128), fill(kCircleColor)), 6);
    // The framebuffer stays opaque under the translucent fills.
    EXPECT_EQ(image.pixelColor(240, 150).alpha(), 255);

    // The static body's solid outline; the selected body's stippled one.
    EXPECT_LE(distance(image.pixelColor(120, 150), QColor(217, 46, 207)), 20);
    EXPECT_TRUE(lineAt(image, 260, 140, true, QColor(191, 140, 0)));
    EXPECT_TRUE(lineAt(image, 260, 160, true, QColor(191, 140, 0)));

    // The circle's radius line: its outer half, along its unturned x axis.
    const QColor radius = rgb(b2Color(0.6f / 2 + 0.1f, 0.2f / 2 + 0.1f, 0.8f / 2 + 0.1f));
    EXPECT_LE(distance(image.pixelColor(212, 130), radius), 20);
    EXPECT_GT(distance(image.pixelColor(190, 130), radius), 40);

    // The composition frame.
    EXPECT_TRUE(lineAt(image, 99, 150, true, kFrame));
    EXPECT_TRUE(lineAt(image, 300, 150, true, kFrame));
    EXPECT_TRUE(lineAt(image, 200, 89, false, kFrame));
    EXPECT_TRUE(lineAt(image, 200, 210, false, kFrame));
}

namespace {

void vertex(const b2Vec2& p)
{
    glVertex2f(p.x, p.y);
}

void loop(const b2Vec2* v, int n)
{
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < n; ++i)
        vertex(v[i]);
    glEnd();
}

// The shapes, outlines and joints drawn primitive by primitive, at once, in
// immediate mode, each call setting and leaving the state as the view drew
// them before it gathered them into batches.
class ImmediateDraw : public DebugDraw
{
public:
    void DrawSolidPolygon(const b2Vec2* v, int32_t n, const b2Color& c, bool selected, bool staticHighlight,
                          bool notAlive, bool isMagnet, bool isRepulsion, float magnetDistance, b2Vec2 centre,
                          bool showMesh) override
    {
        if (isMagnet) {
            DebugDraw::DrawSolidPolygon(v, n, c, selected, staticHighlight, notAlive, isMagnet, isRepulsion,
                                        magnetDistance, centre, showMesh);
            DebugDraw::Flush();
            return;
        }
        glLineWidth(1.1f);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(c.r, c.g, c.b, notAlive ? 0.15f : 0.8f);
        glBegin(GL_TRIANGLE_FAN);
        for (int32_t i = 0; i < n; ++i)
            vertex(v[i]);
        glEnd();
        glDisable(GL_BLEND);
        if (showMesh) {
            if (staticHighlight && !notAlive)
                glColor4f(0.85f, 0.18f, 0.81f, 1.0f);
            else if (notAlive)
                glColor4f(0.33f * c.r, 0.33f * c.g, 0.33f * c.b, 0.25f);
            else
                glColor4f(c.r, c.g, c.b, 1.0f);
            loop(v, n);
        }
        if (selected) {
            glLineWidth(1.1f);
            glDisable(GL_LINE_STIPPLE);
        }
    }

    void DrawSolidCircle(const b2Vec2& centre, float radius, const b2Vec2& axis, const b2Color& c, bool selected,
                         bool staticHighlight, bool notAlive, bool isMagnet, bool isRepulsion, float magnetDistance,
                         b2Color selectionColor, float selectionWidth, b2Color staticColor) override
    {
        if (isMagnet) {
            DebugDraw::DrawSolidCircle(centre, radius, axis, c, selected, staticHighlight, notAlive, isMagnet,
                                       isRepulsion, magnetDistance, selectionColor, selectionWidth, staticColor);
            DebugDraw::Flush();
            return;
        }
        b2Vec2 rim[64];
        float theta = 0.0f;
        for (b2Vec2& p : rim) {
            p = centre + radius * b2Vec2(std::cos(theta), std::sin(theta));
            theta += 0.19634955f;
        }
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(c.r, c.g, c.b, notAlive ? 0.15f : 0.8f);
        glBegin(GL_TRIANGLE_FAN);
        for (int i = 0; i < 32; ++i)
            vertex(rim[i]);
        glEnd();
        glDisable(GL_BLEND);
        if (staticHighlight && !selected) {
            glLineWidth(1.25f);
            glColor4f(staticColor.r, staticColor.g, staticColor.b, 1.0f);
        } else if (selected) {
            glLineWidth(selectionWidth);
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0xE739);
            const b2Color& h = staticHighlight ? staticColor : selectionColor;
            glColor4f(h.r, h.g, h.b, notAlive ? 0.15f : 1.0f);
        }
        if (staticHighlight || selected)
            loop(rim + 32, 32);
        glLineWidth(1.1f);
        if (notAlive)
            glColor4f(0.5f * c.r, 0.5f * c.g, 0.5f * c.b, 0.4f);
        else
            glColor4f(c.r / 2.0f + 0.1f, c.g / 2.0f + 0.1f, c.b / 2.0f + 0.1f, 1.0f);
        const b2Vec2 tip = centre + radius * axis;
        glBegin(GL_LINES);
        vertex(0.5f * (centre + tip));
        vertex(tip);
        glEnd();
        if (selected) {
            glLineWidth(1.1f);
            glDisable(GL_LINE_STIPPLE);
        }
    }

    void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& c, bool selected, int32_t style,
                     b2Color selectedColor, float width) override
    {
        if (selected) {
            glLineWidth(width * 1.7f);
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0xCCCC);
            glPointSize(width * 7.0f);
            glColor3f(selectedColor.r, selectedColor.g, selectedColor.b);
        } else {
            glLineWidth(width);
            glPointSize(width * 5.0f);
            glColor3f(c.r, c.g, c.b);
        }
        if (style == SegmentStyle::PivotArm) {
            glEnable(GL_LINE_STIPPLE);
            glBegin(GL_LINES);
            vertex(p1);
            vertex(p2);
            glEnd();
            glDisable(GL_LINE_STIPPLE);
            glBegin(GL_POINTS);
            vertex(p1);
            glEnd();
            glPointSize(width * 1.1f);
            glBegin(GL_POINTS);
            vertex(p2);
            glEnd();
        } else if (style == SegmentStyle::DistanceSymbol) {
            glBegin(GL_LINES);
            for (const b2Vec2& p : distanceSymbol(p1, p2, width))
                vertex(p);
            glEnd();
            glBegin(GL_POINTS);
            vertex(p1);
            vertex(p2);
            glEnd();
        }
        glLineWidth(1.0f);
        glDisable(GL_LINE_STIPPLE);
    }

    void DrawOutline(const OutlineEdge* edges, int32_t count, const b2Color& c, float width, bool stippled) override
    {
        glLineWidth(width);
        if (stippled) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0xE739);
        }
        glColor4f(c.r, c.g, c.b, 1.0f);
        for (int32_t i = 0; i < count; ++i) {
            glBegin(GL_LINES);
            vertex(edges[i].a);
            vertex(edges[i].b);
            glEnd();
            glPointSize(1.25f);
            glBegin(GL_POINTS);
            vertex(edges[i].a);
            glEnd();
        }
        glLineWidth(1.1f);
        glDisable(GL_LINE_STIPPLE);
    }

    void DrawPivot(const b2Vec2& centre, float radius, const b2Color& c, float width, bool stippled) override
    {
        glLineWidth(width);
        if (stippled) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0xCCCC);
        }
        glColor3f(c.r, c.g, c.b);
        b2Vec2 rim[32];
        float theta = 0.0f;
        for (b2Vec2& p : rim) {
            p = centre + radius * b2Vec2(std::cos(theta), std::sin(theta));
            theta += 2.0f * b2_pi / 32.0f;
        }
        loop(rim, 32);
        glDisable(GL_LINE_STIPPLE);
    }
};

// How many pixels of the two frames differ visibly, and how many of
// `after` the scene covers (differ from the background).
struct Difference {
    int differing = 0;
    int drawn = 0;
};

Difference compare(const QImage& before, const QImage& after)
{
    Difference d;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            d.differing += distance(before.pixelColor(x, y), after.pixelColor(x, y)) > 6;
            d.drawn += after.pixelColor(x, y) != kBackground;
        }
    return d;
}

} // namespace

class GatheredViewTest : public ViewTest
{
protected:
    // The frame drawn primitive by primitive, then the frame drawn from the
    // gathered batches.
    std::pair<QImage, QImage> referenceThenGathered()
    {
        ImmediateDraw reference;
        reference.SetFlags(draw.GetFlags());
        world->SetDebugDraw(&reference);
        QImage before = frame();
        world->SetDebugDraw(&draw);
        return {before, frame()};
    }
};

TEST_F(GatheredViewTest, GatheredDrawingShowsTheSamePictureAsPrimitiveByPrimitive)
{
    // Overlapping translucent bodies of several colours, one not alive, the
    // mesh on, beside the fixture's static, selected and circular bodies.
    b2PolygonShape box;
    box.SetAsBox(0.6f, 0.4f, b2Vec2(0, 0), 0.3f);
    b2PolygonShape pentagon;
    const b2Vec2 points[5] = {b2Vec2(0, -0.7f), b2Vec2(0.6f, -0.2f), b2Vec2(0.4f, 0.6f), b2Vec2(-0.4f, 0.6f),
                              b2Vec2(-0.6f, -0.2f)};
    pentagon.Set(points, 5);
    const b2Color colours[3] = {b2Color(0.9f, 0.9f, 0.1f), b2Color(0.1f, 0.8f, 0.3f), b2Color(0.7f, 0.7f, 0.7f)};
    for (int i = 0; i < 12; ++i) {
        UserData* data = body(b2Vec2(-3.0f + 0.5f * float(i), 1.5f + 0.2f * float(i % 3)), b2_dynamicBody,
                              i % 2 ? static_cast<const b2Shape&>(box) : pentagon, colours[i % 3]);
        data->notAlive = i == 5;
    }
    world->showMesh = true;

    const auto [before, after] = referenceThenGathered();
    ASSERT_EQ(before.size(), after.size());

    const Difference d = compare(before, after);
    EXPECT_LE(d.differing, after.width() * after.height() / 100) << d.differing << " pixels differ";
    // The new bodies are drawn at all.
    EXPECT_GT(distance(after.pixelColor(140, 180), kBackground), 40);
}

TEST_F(GatheredViewTest, GatheredHighlightsAndJointsShowTheSamePictureAsPrimitiveByPrimitive)
{
    // Circles plain, static, selected and not alive; a selected body of two
    // pieces and a static one, the mesh on; distance and revolute joints,
    // selected or not, between them.
    std::vector<b2Body*> bodies;
    b2CircleShape circle;
    circle.m_radius = 0.45f;
    b2PolygonShape left;
    left.SetAsBox(0.4f, 0.3f, b2Vec2(-0.2f, 0), 0.0f);
    b2PolygonShape right;
    const b2Vec2 wedge[3] = {b2Vec2(0.2f, -0.3f), b2Vec2(0.7f, 0), b2Vec2(0.2f, 0.3f)};
    right.Set(wedge, 3);
    const b2Color colours[4] = {b2Color(0.9f, 0.3f, 0.2f), b2Color(0.2f, 0.5f, 0.9f), b2Color(0.9f, 0.9f, 0.3f),
                                b2Color(0.4f, 0.9f, 0.5f)};
    for (int i = 0; i < 8; ++i) {
        const b2Vec2 at(-3.5f + float(i), 1.8f + 0.35f * float(i % 2));
        UserData* data = body(at, b2_dynamicBody, i % 2 ? static_cast<const b2Shape&>(circle) : left,
                              colours[i % 4], i % 3 == 0, i % 4 == 1);
        data->notAlive = i == 6;
        b2Body* b = core->bodies.back().body;
        if (i % 2 == 0) {
            b2FixtureDef piece;
            piece.shape = &right;
            piece.userData.pointer = reinterpret_cast<uintptr_t>(data);
            b->CreateFixture(&piece);
        }
        bodies.push_back(b);
    }
    std::vector<std::unique_ptr<JointUserData>> jointData;
    for (int j = 0; j < 6; ++j) {
        b2Body* a = bodies[size_t(j)];
        b2Body* b = bodies[size_t(j + 2)];
        jointData.push_back(std::make_unique<JointUserData>());
        JointUserData* data = jointData.back().get();
        data->color = colours[(j + 1) % 4];
        data->selected = j == 0 || j == 3;
        if (j % 2) {
            b2DistanceJointDef def;
            def.Initialize(a, b, a->GetPosition(), b->GetPosition());
            def.userData.pointer = reinterpret_cast<uintptr_t>(data);
            world->CreateJoint(&def);
        } else {
            b2RevoluteJointDef def;
            def.Initialize(a, b, 0.5f * (a->GetPosition() + b->GetPosition()));
            def.userData.pointer = reinterpret_cast<uintptr_t>(data);
            data->pivotAnchor = def.bodyA->GetWorldPoint(def.localAnchorA);
            world->CreateJoint(&def);
        }
    }
    world->showMesh = true;
    world->jointStrokeWidth = 2.0f;

    const auto [before, after] = referenceThenGathered();
    ASSERT_EQ(before.size(), after.size());

    const Difference d = compare(before, after);
    EXPECT_GT(d.drawn, after.width() * after.height() / 20) << "the scene covers a good part of the view";
    EXPECT_LE(d.differing, after.width() * after.height() / 100) << d.differing << " pixels differ";
    // Drawn again from the gathered state, the frame is the same.
    EXPECT_EQ(compare(after, frame()).differing, 0);
}

namespace {

b2Vec2 unit(b2Vec2 v)
{
    v.Normalize();
    return v;
}

// The view, or the view without its own springs and pistons followed by
// them drawn primitive by primitive, at once, as it drew them before it
// gathered them into batches.
class ReferenceJointsView : public GLWidget
{
public:
    ReferenceJointsView(SimulationCore* scene, Ui::ZolvarDlgClass ui)
        : GLWidget(nullptr, scene, nullptr, ui)
        , core(scene)
    {
    }
    bool reference = false;

protected:
    void paintGL() override
    {
        setDrawJointsFlag(!reference);
        GLWidget::paintGL();
        if (!reference)
            return;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        for (const MyJoint& joint : core->joints) {
            if (joint.type == JointType::Prismatic)
                prismatic(joint);
            else if (joint.type == JointType::Spring)
                spring(joint);
        }
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }

private:
    void pen(bool selected, float pointScale, const b2Color& colour)
    {
        const float width = core->jointStrokeWidth;
        glLineWidth(selected ? width * 1.7f : width);
        glPointSize(width * (selected ? 7.0f : pointScale));
        if (selected) {
            const QColor& c = core->selectedJointColor;
            glColor3f(float(c.redF()), float(c.greenF()), float(c.blueF()));
        } else {
            glColor3f(colour.r, colour.g, colour.b);
        }
    }

    void spring(const MyJoint& joint)
    {
        const b2Vec2 p1 = core->bodies[size_t(joint.bodyA)].body->GetWorldPoint(joint.anchorA);
        const b2Vec2 p2 = core->bodies[size_t(joint.bodyB)].body->GetWorldPoint(joint.anchorB);
        pen(joint.selected, 5.0f, core->springJointColor);
        if (joint.selected) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0xCCCC);
        }
        glBegin(GL_LINES);
        for (const b2Vec2& p : springLines(p1, p2))
            vertex(p);
        glEnd();
        glBegin(GL_POINTS);
        vertex(p1);
        vertex(p2);
        glEnd();
        const b2Vec2 u = unit(p2 - p1);
        const b2Vec2 r1 = 0.5f * (p1 + p2) - (joint.desiredLength / 2.0f) * u;
        glPointSize(4.0f);
        glColor3f(0.9f, 0.9f, 0.9f);
        glBegin(GL_POINTS);
        vertex(r1);
        vertex(r1 + joint.desiredLength * u);
        glEnd();
        glLineWidth(1.0f);
        glPointSize(1.0f);
        glDisable(GL_LINE_STIPPLE);
    }

    void prismatic(const MyJoint& joint)
    {
        pen(joint.selected, 2.0f, core->prismaticJointColor);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, 0xCCCC);
        const b2Vec2 cA = core->bodies[size_t(joint.bodyA)].body->GetWorldCenter();
        const b2Vec2 cB = core->bodies[size_t(joint.bodyB)].body->GetWorldCenter();
        const b2Vec2 m = 0.5f * (cA + cB);
        const b2Vec2 x = unit(joint.axis);
        const b2Vec2 p = unit(b2Vec2(-joint.axis.y, joint.axis.x));
        glBegin(GL_LINES);
        vertex(cA);
        vertex(m + 0.19f * unit(cA - m));
        vertex(m + 0.19f * unit(cB - m));
        vertex(cB);
        glEnd();
        glDisable(GL_LINE_STIPPLE);
        const b2Vec2 outlined[3] = {m + 0.06f * p, m + 0.12f * x, m - 0.06f * p};
        loop(outlined, 3);
        glBegin(GL_TRIANGLE_FAN);
        vertex(m + 0.06f * p);
        vertex(m - 0.06f * p);
        vertex(m - 0.12f * x);
        glEnd();
        if (joint.selected) {
            glBegin(GL_LINES);
            vertex(m + 0.12f * x);
            vertex(m + joint.axis);
            glEnd();
            glBegin(GL_POINTS);
            vertex(m + joint.axis);
            glEnd();
            if (joint.enableLimit) {
                const b2Vec2 pa = core->bodies[size_t(joint.bodyA)].position;
                const b2Vec2 pb = core->bodies[size_t(joint.bodyB)].position;
                const float lo = joint.lowerTranslation;
                const float hi = joint.upperTranslation;
                const b2Vec2 at[4] = {pa - lo * x, pa - hi * x, pb + lo * x, pb + hi * x};
                const b2Vec2 stem[4] = {-x, x, x, -x};
                glLineWidth(1.2f);
                glBegin(GL_LINES);
                for (int k = 0; k < 4; ++k) {
                    vertex(at[k] + 0.05f * p);
                    vertex(at[k] - 0.05f * p);
                    vertex(at[k]);
                    vertex(at[k] + 0.05f * stem[k]);
                }
                glEnd();
            }
        }
        glLineWidth(1.0f);
        glPointSize(1.0f);
        glDisable(GL_LINE_STIPPLE);
    }

    SimulationCore* core;
};

} // namespace

TEST_F(ViewTest, GatheredSpringsAndPistonsShowTheSamePictureAsPrimitiveByPrimitive)
{
    // Springs and pistons, selected or not, one piston with limits, between
    // bodies in a row and across it.
    b2CircleShape circle;
    circle.m_radius = 0.2f;
    for (int i = 0; i < 8; ++i)
        body(b2Vec2(-3.5f + float(i), 1.8f + 0.4f * float(i % 2)), b2_dynamicBody, circle, kStaticColor);
    core->jointStrokeWidth = 1.5f;
    core->springJointColor = b2Color(0.3f, 1.0f, 0.3f);
    core->prismaticJointColor = b2Color(0.3f, 0.3f, 1.0f);
    core->selectedJointColor = QColor(255, 0, 0);
    for (int j = 0; j < 8; ++j) {
        MyJoint joint;
        joint.type = j % 2 ? JointType::Spring : JointType::Prismatic;
        joint.bodyA = 3 + j % 6;
        joint.bodyB = 3 + (j + 2) % 8;
        joint.anchorA = b2Vec2(0.1f, 0.0f);
        joint.anchorB = b2Vec2(0.0f, -0.1f);
        joint.axis = b2Vec2(0.6f, 0.3f * float(j % 3) - 0.3f);
        joint.desiredLength = 0.5f + 0.3f * float(j % 3);
        joint.selected = j % 3 == 1 || j == 0;
        joint.enableLimit = j == 0;
        joint.lowerTranslation = -0.3f;
        joint.upperTranslation = 0.4f;
        core->joints.push_back(joint);
    }
    draw.SetFlags(0);
    Ui::ZolvarDlgClass ui{};
    ui.zoomSld = zoom.get();
    ReferenceJointsView joints(core.get(), ui);
    joints.setWorld(world);
    joints.setBGColor(kBackground);
    joints.setShowCompBounds(false);
    joints.resize(400, 300);
    joints.show();
    QApplication::processEvents();

    joints.reference = true;
    const QImage before = joints.grabFramebuffer();
    joints.reference = false;
    const QImage after = joints.grabFramebuffer();
    ASSERT_EQ(before.size(), after.size());
    const Difference d = compare(before, after);
    EXPECT_GT(d.drawn, 1000) << "the joints are drawn at all";
    EXPECT_LE(d.differing, after.width() * after.height() / 100) << d.differing << " pixels differ";
}

TEST_F(ViewTest, ViewOptionsHideWhatTheyName)
{
    draw.SetFlags(DrawingFlag::Joints);
    view->setShowCompBounds(false);
    QImage image = frame();
    EXPECT_EQ(image.pixelColor(140, 150), kBackground);
    EXPECT_EQ(image.pixelColor(240, 150), kBackground);
    EXPECT_EQ(image.pixelColor(99, 150), kBackground);
    EXPECT_EQ(image.pixelColor(200, 89), kBackground);

    // The mesh outlines every piece in the body's own colour.
    draw.SetFlags(DrawingFlag::Shapes);
    dynamicData->selected = false;
    image = frame();
    EXPECT_GT(distance(image.pixelColor(260, 150), rgb(kDynamicColor)), 40);
    world->setShowMesh(true);
    image = frame();
    EXPECT_LE(distance(image.pixelColor(260, 150), rgb(kDynamicColor)), 20);
}

TEST_F(ViewTest, ZoomAndPanMoveTheFrameWhereTheConversionsSay)
{
    zoom->setValue(100);
    view->panX = 1.0f;
    view->panY = -0.5f;
    const int left = int(view->getViewXCoordFromGL(-5.025f, 400.0f));
    const int top = int(view->getViewYCoordFromGL(-3.025f, 300.0f));
    ASSERT_EQ(left, 159);
    ASSERT_EQ(top, 114);
    const QImage image = frame();
    EXPECT_TRUE(lineAt(image, left, 150, true, kFrame));
    EXPECT_TRUE(lineAt(image, 200, top, false, kFrame));
    EXPECT_EQ(image.pixelColor(99, 150), kBackground);
    EXPECT_FLOAT_EQ(view->getGLXCoordFromView(200.0f, 400.0f), -1.0f);
}

TEST_F(ViewTest, SelectionColourAndStrokeWidthReachTheNextFrame)
{
    const QColor gold(191, 140, 0);
    const int narrow = strokeWidth(frame(), 250, 272, 135, 165, gold);

    world->setSelectionHighlightColor(0, 0, 255);
    world->setSelectionStrokeWidth(9.0f);
    const QImage image = frame();
    EXPECT_EQ(strokeWidth(image, 250, 272, 135, 165, gold), 0);
    const int wide = strokeWidth(image, 250, 272, 135, 165, QColor(0, 0, 255));
    EXPECT_GE(narrow, 2);
    EXPECT_GE(wide, narrow + 4);
}

TEST_F(ViewTest, ToolGizmosFollowTheirControls)
{
    const QColor white(255, 255, 255);
    // The gravity tool's cross through the centre, unless gravity comes
    // from a layer.
    gravityTool.setChecked(true);
    EXPECT_TRUE(lineAt(frame(), 20, 150, false, white));
    gravityFromLayer.setChecked(true);
    EXPECT_EQ(frame().pixelColor(20, 150), kBackground);
    gravityTool.setChecked(false);

    // The velocity tool needs a selected body; body 1 flies right at 5
    // units per second without gravity.
    velocityTool.setChecked(true);
    core->bodies[1].linearVelocityMagnitude = 5.0f;
    EXPECT_EQ(frame().pixelColor(330, 150), kBackground);
    EXPECT_EQ(toolsNote.text(), QStringLiteral("A body must be selected first (or use Alt + Click)."));
    bodiesTable.selectionModel()->select(bodiesModel.index(1, 0), QItemSelectionModel::Select);
    EXPECT_TRUE(lineAt(frame(), 330, 150, false, white));
    EXPECT_EQ(toolsNote.text(), QString());
}

TEST_F(ViewTest, GrowingTheWidgetMovesTheVelocityHandleWithIt)
{
    frame();
    view->velocityHandle = b2Vec2(50, 60);
    view->resize(500, 330);
    frame();
    EXPECT_FLOAT_EQ(view->velocityHandle.x, 150.0f);
    EXPECT_FLOAT_EQ(view->velocityHandle.y, 90.0f);
}

} // namespace
