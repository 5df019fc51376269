// Fuzz entry point of a settings file's whole road into a scene: the input is
// loaded as File > Load Settings loads it (by layer ID, index and name in
// turn) into the window of a small composition, the same scene every time.
// For every input: no crash, no hang, nothing unchecked reaches Box2D, and
//
// - a refused load leaves the scene, its snapshots and its history exactly
//   as they were (the settings the scene would save, byte for byte, the
//   snapshot table and every step of the history);
// - an accepted load empties the history and keeps one body per layer, with
//   joints between two of them; then every snapshot is applied, the scene
//   plays a few steps with finite bodies, is saved as the autosave saves it
//   and loaded again: the reload is accepted and gives back what was saved.
//
// Built with clang's -fsanitize=fuzzer it is a libFuzzer target; the normal
// build replays its corpus (tests/fuzz/settings_scene/corpus) through it.
#include "host/EntryPoint.h"
#include "mainwindow/ZolvarDlg.h"
#include "project/Project.h"
#include "settings/SettingsWriter.h"
#include "simulation/SimulationView.h"
#include "suites/HostSession.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The layers of the settings corpus of the reader's own fuzz target (IDs 101
// to 103, the same names) and one more that no file names.
const char kProject[] = R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]},
                {"id": 2, "name": "Wide", "kind": "solid", "width": 1000, "height": 40, "color": [0, 0.5, 1]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [
            {"id": 101, "type": "solid", "name": "Floor", "source": 2, "transform": {"position": [500, 900]}},
            {"id": 102, "type": "solid", "name": "Ball \"red\" <1> & co", "source": 1,
             "transform": {"position": [300, 300]}},
            {"id": 103, "type": "solid", "name": "K\u00f6rper \u2605\nzwei", "source": 1,
             "transform": {"position": [600, 300], "rotation": 30}},
            {"id": 104, "type": "solid", "name": "Ball", "source": 1, "transform": {"position": [800, 200]}}]}],
    "activeItem": "Main"
})";

constexpr int kSteps = 5;
constexpr int kMostSnapshotsApplied = 4;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "settings scene fuzz target: %s\n", what);
    std::abort();
}

void require(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

// Answers every message box the load opens (a refusal, a version warning)
// from inside its modal loop.
class MessageAnswerer
{
public:
    MessageAnswerer()
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(QMessageBox::Ok);
        });
        timer.start();
    }

private:
    QTimer timer;
};

// The window over the composition, built once per process; built again when
// a load of its first scene no longer gives that scene back.
struct Scene
{
    QTemporaryDir folder;
    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view = nullptr;
    QString first;         // the first scene, saved
    QByteArray firstState; // and its state()

    QString path(const char* name) const { return folder.path() + QLatin1Char('/') + QLatin1String(name); }

    void build()
    {
        window.reset();
        session.reset();
        standin::LoadError error;
        project = standin::Project::fromJson(QByteArray(kProject), QStringLiteral("/projects/fuzz.aep"), &error);
        require(project != nullptr, "the project does not load");
        session = std::make_unique<standin::HostSession>(*project, 7, std::string());
        require(session->callEntryPoint(&EntryPointFunc) == A_Err_NONE, "the entry point failed");
        const Qt::WindowFlags flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        window = std::make_unique<ZolvarDlg>(nullptr, flags, qApp, session->basicSuite(), 7,
                                             QStringLiteral("/projects/fuzz"));
        view = window->simulationView();
        require(view && view->bodies.size() == 4, "the scene has not one body per layer");
        // The test drives every tick; none comes from the clock.
        view->getTimer()->stop();
        view->limiter.disable();
        first = path("first.xml");
        require(view->saveSettings(first, "Auto Saved Settings File"), "the first scene is not saved");
        firstState = state();
    }

    // What a refused load must leave alone: the settings the scene would
    // save (bodies, joints, view, solver, gravity and snapshots), the
    // snapshot table and the history.
    QByteArray state() const
    {
        QByteArray s = writeSettingsDocument(view->currentScene(true), view->presetList());
        QStandardItemModel* model = view->presetsModel();
        for (int c = 0; model && c < model->columnCount(); ++c)
            s += "\ncell " + (model->item(0, c) ? model->item(0, c)->text().toUtf8() : QByteArray("-"));
        QUndoStack* stack = view->getUndoStack();
        s += "\nhistory " + QByteArray::number(stack->count()) + " at " + QByteArray::number(stack->index());
        for (int i = 0; i < stack->count(); ++i)
            s += "\nstep " + stack->text(i).toUtf8();
        return s;
    }

    void load(const QString& file, bool remember, int mode)
    {
        MessageAnswerer answerer;
        view->loadSettings(file.toUtf8().constData(), remember, mode);
    }

    // Back to the first scene with one step in its history, which only a
    // load that is accepted takes away.
    void reset()
    {
        if (state() == firstStateWithMark())
            return;
        load(first, false, 0);
        if (state() != firstState)
            build();
        view->getUndoStack()->push(new QUndoCommand(QStringLiteral("Before the load")));
    }

    QByteArray firstStateWithMark() const
    {
        QByteArray s = firstState;
        const int at = s.lastIndexOf("\nhistory ");
        return s.left(at) + "\nhistory 1 at 1\nstep Before the load";
    }
};

Scene& scene()
{
    static Scene* s = [] {
        static int argc = 1;
        static char name[] = "fuzz_settings_scene";
        static char* argv[] = {name, nullptr};
        static QTemporaryDir* home = new QTemporaryDir;
        qputenv("HOME", home->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home->path() + QStringLiteral("/.config")).toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->path() + QStringLiteral("/.config"));
        auto* app = new QApplication(argc, argv);
        app->setQuitOnLastWindowClosed(false);
        auto* built = new Scene;
        built->build();
        return built;
    }();
    return *s;
}

bool finite(b2Vec2 v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// After an accepted load: one body per layer, joints between two of them, a
// world that plays with every body finite.
void checkScene(Scene& s)
{
    SimulationView* view = s.view;
    require(view->bodies.size() == 4, "a load changed the number of bodies");
    for (const MyJoint& j : view->joints)
        require(j.bodyA >= 0 && j.bodyB >= 0 && size_t(j.bodyA) < view->bodies.size() &&
                    size_t(j.bodyB) < view->bodies.size() && j.bodyA != j.bodyB,
                "a joint does not join two bodies of the scene");
    require(view->world != nullptr, "no world after a load");
}

void playAFewSteps(Scene& s)
{
    SimulationView* view = s.view;
    view->playAnimation();
    for (int i = 0; i < kSteps; ++i)
        view->updatePhysics();
    view->pauseAnimation();
    for (const MyBody& b : view->bodies)
        if (b.body)
            require(finite(b.body->GetPosition()) && std::isfinite(b.body->GetAngle()), "a body left the reals");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Scene& s = scene();
    const QString input = s.path("input.xml");
    {
        QFile file(input);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input cannot be written");
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    for (int mode = 0; mode < 3; ++mode) {
        s.reset();
        const QByteArray before = s.state();
        s.load(input, true, mode);
        if (s.view->getUndoStack()->count() != 0) {
            require(s.state() == before, "a refused load changed the scene, its snapshots or its history");
            continue;
        }

        // Accepted.
        checkScene(s);
        const size_t snapshots = s.view->presetList().size();
        for (size_t c = 0; c < snapshots && c < size_t(kMostSnapshotsApplied); ++c) {
            s.view->quickPresetsTableDoubleClicked(s.view->presetsModel()->index(0, int(c)));
            checkScene(s);
        }
        playAFewSteps(s);

        // Saved as the autosave saves it, then loaded again.
        const QString saved = s.path("saved.xml");
        require(s.view->saveSettings(saved, "Auto Saved Settings File"), "the scene is not saved");
        const QByteArray savedState = s.state();
        s.view->getUndoStack()->push(new QUndoCommand(QStringLiteral("Before the reload")));
        s.load(saved, false, 0);
        require(s.view->getUndoStack()->count() == 0, "the saved scene is refused");
        const QByteArray reloaded = s.state();
        const QByteArray savedPart = savedState.left(savedState.lastIndexOf("\nhistory "));
        require(reloaded.left(reloaded.lastIndexOf("\nhistory ")) == savedPart,
                "the reload does not give back the saved scene");
        checkScene(s);
    }
    return 0;
}
