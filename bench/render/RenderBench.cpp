// The OpenGL view's cost per frame, under a display (xvfb-run; llvmpipe
// there):
// - painting a 500-body scene (fills, mesh, outlines of selected and static
//   bodies, 100 joints of the four kinds) into the view's framebuffer, next
//   to the physics tick of the same scene;
// - the velocity tool's trajectory preview, per selected body.
// Wall-clock times: llvmpipe draws on threads of its own.
#include "bench/simulation/GridScene.h"
#include "model/JointUserData.h"
#include "model/UserData.h"
#include "properties/BodiesTableView.h"
#include "properties/EditBox.h"
#include "render/DebugDraw.h"
#include "render/GLWidget.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QToolButton>

#include <GL/gl.h>

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

// The grid as the view shows it: every other piece a circle, every fifth
// selected, every seventh static, the mesh on, joints between neighbours.
struct Scene {
    explicit Scene(int selectedRows = 0)
        : grid(kBodies, controls())
        , core(grid.core)
    {
        for (int i = 0; i < kBodies; ++i) {
            MyBody& body = core->bodies[size_t(i)];
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
        view->setWorld(core->world);
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

void BM_PaintScene500(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state)
        scene.view->paintOnce();
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
BENCHMARK(BM_PhysicsTick500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VelocityPreview)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
