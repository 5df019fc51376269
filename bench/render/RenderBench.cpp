// The OpenGL view's cost per frame, under a display (xvfb-run; llvmpipe
// there), in a view of 1280 x 720:
// - painting a 500-body scene (fills and mesh of bodies of many colours,
//   outlines of selected and static bodies, 100 joints of the four kinds)
//   into the view's framebuffer, next to the physics tick of the same scene
//   and the paint of an empty scene;
// - a whole shown frame (paint, then Qt composing the window and putting it
//   on screen) of the 500-body scene against that of an empty scene, frame
//   by frame in turn, with their ratio;
// - the velocity tool's trajectory preview, per selected body.
// Wall-clock times: llvmpipe draws on threads of its own, so on a busy
// machine the paint waits for them. LP_NUM_THREADS=0 makes llvmpipe draw on
// the calling thread: the times are then the whole work of a frame.
#include "bench/simulation/GridScene.h"
#include "model/JointUserData.h"
#include "model/UserData.h"
#include "properties/BodiesTableView.h"
#include "properties/EditBox.h"
#include "render/DebugDraw.h"
#include "render/GLWidget.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QColor>
#include <QStandardItemModel>
#include <QToolButton>

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace {

constexpr int kBodies = 500;
constexpr int kJoints = 100;

QApplication& app()
{
    static int argc = 1;
    static char name[] = "render-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

class BenchView : public GLWidget
{
public:
    using GLWidget::GLWidget;
    void paintOnce()
    {
        makeCurrent();
        paintGL();
        glFinish();
        doneCurrent();
    }
};

// A star of five points around the origin (0.2 world units out, 0.09 in)
// as a mask's outline reaches the scene: its eight triangles, the five
// points and the pentagon between them.
std::vector<ShapeDef> star()
{
    b2Vec2 outer[5];
    b2Vec2 inner[5];
    for (int k = 0; k < 5; ++k) {
        const float a = float(k) * 1.2566371f;
        outer[k] = b2Vec2(0.2f * std::sin(a), -0.2f * std::cos(a));
        inner[k] = b2Vec2(0.09f * std::sin(a + 0.62831853f), -0.09f * std::cos(a + 0.62831853f));
    }
    auto triangle = [](b2Vec2 a, b2Vec2 b, b2Vec2 c) {
        ShapeDef shape;
        shape.closed = true;
        shape.points = {a, b, c};
        return shape;
    };
    std::vector<ShapeDef> triangles;
    for (int k = 0; k < 5; ++k)
        triangles.push_back(triangle(inner[(k + 4) % 5], outer[k], inner[k]));
    for (int k = 1; k + 1 < 5; ++k)
        triangles.push_back(triangle(inner[0], inner[k], inner[k + 1]));
    return triangles;
}

// The grid as the view shows it: every other piece a circle, the others
// alternately a star-shaped mask and the layer's box, each body a colour of
// its own, every fifth selected, every seventh static, the mesh on, joints
// between neighbours.
struct Scene {
    explicit Scene(int selectedRows = 0)
        : grid(kBodies, controls())
        , core(grid.core)
    {
        for (int i = 0; i < kBodies; ++i) {
            MyBody& body = core->bodies[size_t(i)];
            if (i % 4 == 1) {
                body.outlines = {star()};
                body.isLayerBox = false;
            }
            if (i % 7 == 0)
                body.type = BodyType::Static;
            body.linearVelocityMagnitude = 6.0f;
            body.linearVelocityDirection = -60.0f;
            if (body.userData) {
                body.userData->selected = i % 5 == 0;
                body.userData->staticHighlight = body.type == BodyType::Static;
            }
        }
        for (int j = 0; j < kJoints; ++j) {
            MyJoint joint;
            joint.id = j;
            joint.type = j % 4;
            joint.bodyA = 2 * j;
            joint.bodyB = 2 * j + 1;
            const b2Vec2 a = core->bodies[size_t(joint.bodyA)].position;
            const b2Vec2 b = core->bodies[size_t(joint.bodyB)].position;
            joint.anchor = 0.5f * (a + b);
            joint.axis = b2Vec2(1, 0);
            joint.desiredLength = (b - a).Length();
            joint.selected = j % 3 == 0;
            jointData.push_back(std::make_unique<JointUserData>());
            jointData.back()->color = b2Color(1, 1, 0);
            jointData.back()->selected = joint.selected;
            joint.jointUserData = jointData.back().get();
            core->joints.push_back(joint);
        }
        core->restartAndStopAnimation(false);
        for (int i = 0; i < kBodies; ++i) {
            // Hues round the colour wheel, no two alike.
            const QColor hue = QColor::fromHsvF(std::fmod(float(i) * 0.618034f, 1.0f), 0.7f, 0.95f);
            if (UserData* data = core->bodies[size_t(i)].userData)
                data->color = b2Color(float(hue.redF()), float(hue.greenF()), float(hue.blueF()));
        }
        draw.SetFlags(DrawingFlag::Shapes | DrawingFlag::Joints);
        core->world->SetDebugDraw(&draw);

        gravity = std::make_unique<EditBox>(nullptr);
        gravity->setRange(0.0, 1000.0);
        gravity->setValue(10.0);
        direction = std::make_unique<EditBox>(nullptr);
        direction->setRange(-360.0, 360.0);
        direction->setValue(90.0);
        velocityTool = std::make_unique<QToolButton>();
        velocityTool->setCheckable(true);
        table = std::make_unique<BodiesTableView>(nullptr);
        model = std::make_unique<QStandardItemModel>(kBodies, 1);
        table->setModel(model.get());
        Ui::ZolvarDlgClass ui{};
        ui.gravityMagnitudeEt = gravity.get();
        ui.gravityDirectionEt = direction.get();
        ui.velocityToolBtn = velocityTool.get();
        ui.bodiesTable = table.get();
        if (selectedRows > 0) {
            velocityTool->setChecked(true);
            table->selectionModel()->select(
                QItemSelection(model->index(0, 0), model->index(selectedRows - 1, 0)),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }

        view = std::make_unique<BenchView>(nullptr, core.get(), nullptr, ui);
        view->setWorld(core->world.get());
        view->setBGColor(QColor(40, 40, 40));
        view->setCompBounds(core->compBounds);
        view->resize(1280, 720);
        view->show();
        QApplication::processEvents();
    }

    // The grid's controls, the mesh on; the application is made first.
    static SceneControls controls()
    {
        app();
        SceneControls c;
        c.showMesh = true;
        return c;
    }

    bench::GridScene grid;
    std::unique_ptr<SimulationCore>& core;
    std::vector<std::unique_ptr<JointUserData>> jointData;
    DebugDraw draw;
    std::unique_ptr<EditBox> gravity;
    std::unique_ptr<EditBox> direction;
    std::unique_ptr<QToolButton> velocityTool;
    std::unique_ptr<BodiesTableView> table;
    std::unique_ptr<QStandardItemModel> model;
    std::unique_ptr<BenchView> view;
};

// What the scene holds: fixtures, and the triangles the mesh shows.
void countScene(benchmark::State& state, const Scene& scene)
{
    int fixtures = 0;
    int triangles = 0;
    for (b2Body* body = scene.core->world->GetBodyList(); body; body = body->GetNext())
        for (b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
            ++fixtures;
            if (f->GetType() == b2Shape::e_polygon)
                triangles += scene.core->world->polygonCount(f);
        }
    state.counters["fixtures"] = fixtures;
    state.counters["mesh_triangles"] = triangles;
}

// The world, the composition frame and the joints off: what the view paints
// for an empty scene.
void showEmpty(Scene& scene, bool empty)
{
    scene.view->setWorld(empty ? nullptr : scene.core->world.get());
    scene.view->setDrawJointsFlag(!empty);
}

void BM_PaintScene500(benchmark::State& state)
{
    Scene scene;
    countScene(state, scene);
    for (auto _ : state)
        scene.view->paintOnce();
}

void BM_PaintEmptyScene(benchmark::State& state)
{
    Scene scene;
    showEmpty(scene, true);
    for (auto _ : state)
        scene.view->paintOnce();
}

// One frame as the user sees it: the view asks for an update, the event
// loop paints it, composes the window and puts it on screen (the view's
// frameSwapped signal).
double shownFrame(Scene& scene)
{
    bool swapped = false;
    const auto connection = QObject::connect(scene.view.get(), &QOpenGLWidget::frameSwapped,
                                             [&swapped] { swapped = true; });
    const auto start = std::chrono::steady_clock::now();
    scene.view->update();
    while (!swapped)
        QApplication::processEvents(QEventLoop::AllEvents);
    const auto end = std::chrono::steady_clock::now();
    QObject::disconnect(connection);
    return std::chrono::duration<double>(end - start).count();
}

// The 500-body frame and the empty scene's frame in turn, in the same
// window: the iteration time is the pair; the counters give each and their
// ratio.
void BM_ShownFrame500VsEmpty(benchmark::State& state)
{
    Scene scene;
    for (int i = 0; i < 5; ++i) {
        showEmpty(scene, i % 2);
        shownFrame(scene);
    }
    double full = 0.0;
    double empty = 0.0;
    for (auto _ : state) {
        showEmpty(scene, false);
        full += shownFrame(scene);
        showEmpty(scene, true);
        empty += shownFrame(scene);
    }
    const double n = double(state.iterations());
    state.counters["frame_500_ms"] = 1000.0 * full / n;
    state.counters["frame_empty_ms"] = 1000.0 * empty / n;
    state.counters["ratio"] = empty > 0.0 ? full / empty : 0.0;
}

void BM_PhysicsTick500(benchmark::State& state)
{
    Scene scene;
    scene.core->playAnimation();
    for (auto _ : state)
        scene.core->updatePhysics();
}

// The preview alone: the world and the frame hidden.
void BM_VelocityPreview(benchmark::State& state)
{
    const int selected = int(state.range(0));
    Scene scene(selected);
    scene.draw.SetFlags(0);
    scene.view->setShowCompBounds(false);
    scene.view->setDrawJointsFlag(false);
    for (auto _ : state)
        scene.view->paintOnce();
    state.counters["per_body"] =
        benchmark::Counter(selected, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_PaintScene500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PaintEmptyScene)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShownFrame500VsEmpty)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PhysicsTick500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VelocityPreview)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
