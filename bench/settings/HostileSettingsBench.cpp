// Settings files at the edge of what a load takes, on a stand-in composition
// of 10 layers in the main window (run it with a display, e.g. under
// xvfb-run). Targets:
// - a file of 10,000 snapshots loads in under 2 s;
// - no file up to the size limit takes more than 30 s or 1 GB (the
//   "peak MiB" counter is the process's peak so far: run one benchmark
//   alone, with --benchmark_filter, to read its own).
// The files: 10,000 and 30,000 snapshots; one element of 100,000
// attributes; 64 MiB of minimal bodies; and the largest file the markup
// limits let through, bodies of 8 attributes spread over snapshots.
#include "bench/simulation/GridScene.h"
#include "mainwindow/ZolvarDlg.h"
#include "settings/SettingsDocument.h"
#include "simulation/SimulationView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <memory>

#include <sys/resource.h>

namespace {

constexpr int kLayers = 10;

QApplication& app()
{
    static int argc = 1;
    static char name[] = "settings_hostile_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// Answers the warnings a refused or shortened load shows.
struct MessageAnswer
{
    MessageAnswer()
    {
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        timer.start(5);
    }
    QTimer timer;
};

struct Scene {
    Scene()
    {
        app();
        standin::LoadError error;
        project =
            standin::Project::fromJson(bench::gridJson(kLayers - 1), QStringLiteral("/bench/grid.aep"), &error);
        session = std::make_unique<standin::HostSession>(*project, bench::kPluginId, std::string());
        session->callEntryPoint(&EntryPointFunc);
        const Qt::WindowFlags flags = Qt::Tool | Qt::WindowTitleHint;
        window = std::make_unique<ZolvarDlg>(nullptr, flags, &app(), session->basicSuite(), bench::kPluginId,
                                             QStringLiteral("/bench/grid"));
        view = window->simulationView();
        view->getTimer()->stop();
        view->restartAndStopAnimation(false);
        // The scene's own file: its block is the start of every file here.
        const QString own = folder.path() + QStringLiteral("/own.xml");
        view->saveSettings(own, "Most Recent Saved Settings File");
        QFile f(own);
        f.open(QIODevice::ReadOnly);
        sceneFile = f.readAll();
        sceneFile.truncate(sceneFile.indexOf("<presets"));
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.path() + QLatin1Char('/') + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    // The scene's file with `count` snapshots of one body each, as the
    // program writes a body.
    QString withSnapshots(int count)
    {
        QByteArray block = sceneFile.mid(sceneFile.indexOf("<preview"));
        const int firstBody = block.indexOf("<body ");
        const int afterBody = block.indexOf("/>", firstBody) + 2;
        block = block.left(block.indexOf("<bodies>") + 8) + block.mid(firstBody, afterBody - firstBody) +
                "</bodies><joints/>";
        const QByteArray preset = "<preset>" + block + "</preset>\n";
        return write(QStringLiteral("snapshots-%1.xml").arg(count),
                     sceneFile + "<presets>" + preset.repeated(count) + "</presets></ZolvarSettings>");
    }

    QTemporaryDir folder;
    QByteArray sceneFile;
    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view = nullptr;
};

Scene& scene()
{
    static Scene* s = new Scene;
    return *s;
}

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void load(benchmark::State& state, const QString& path)
{
    Scene& s = scene();
    MessageAnswer answer;
    const QByteArray name = path.toUtf8();
    for (auto _ : state)
        s.view->loadSettings(name.constData(), false, 0);
    state.counters["snapshots"] = double(s.view->presetList().size());
    state.counters["file MiB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    state.counters["peak MiB"] = peakMiB();
}

void BM_LoadSnapshots(benchmark::State& state)
{
    load(state, scene().withSnapshots(int(state.range(0))));
}

void BM_LoadWideElement(benchmark::State& state)
{
    QByteArray attributes;
    for (int i = 0; i < 100000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    Scene& s = scene();
    const QByteArray file = s.sceneFile;
    load(state, s.write(QStringLiteral("wide.xml"),
                        QByteArray(file).replace("<bodies>", "<bodies><body" + attributes + "/>") +
                            "<presets/></ZolvarSettings>"));
}

// 64 MiB of the smallest bodies that name a layer.
void BM_LoadMinimalBodies(benchmark::State& state)
{
    Scene& s = scene();
    const QByteArray body = "<body layerID=\"1\"/>";
    const int count = int((kMaxSettingsFileSize - s.sceneFile.size() - 100) / body.size());
    load(state, s.write(QStringLiteral("bodies.xml"), QByteArray(s.sceneFile).replace("<bodies>", "<bodies>" +
                                                                                                  body.repeated(count)) +
                                                          "<presets/></ZolvarSettings>"));
}

// Just within the markup limits and the size limit: snapshots of 60 bodies
// of 8 attributes each, up to 4 million attributes in all.
void BM_LoadLargestAccepted(benchmark::State& state)
{
    Scene& s = scene();
    const QByteArray body = "<body layerID=\"1\" index=\"1\" name=\"Piece\" type=\"0\" density=\"2.000000\" "
                            "friction=\"0.100000\" positionX=\"1.000000\" positionY=\"2.000000\"/>";
    const QByteArray preset = "<preset><preview/><solver/><gravity/><bodies>" + body.repeated(60) +
                              "</bodies><joints/></preset>";
    // Each snapshot is 68 tags and 480 attributes.
    const qint64 count = std::min({(kMaxSettingsAttributes - 1000) / 480, (kMaxSettingsMarkup - 1000) / 68,
                                   (kMaxSettingsFileSize - s.sceneFile.size() - 100) / preset.size()});
    load(state, s.write(QStringLiteral("largest.xml"),
                        s.sceneFile + "<presets>" + preset.repeated(int(count)) + "</presets></ZolvarSettings>"));
}

} // namespace

BENCHMARK(BM_LoadSnapshots)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadWideElement)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadMinimalBodies)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadLargestAccepted)->Unit(benchmark::kMillisecond)->Iterations(1);
