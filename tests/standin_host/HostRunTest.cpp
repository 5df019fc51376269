// Whole runs of zolvar-host on the sample projects: the plug-in is loaded,
// its command opens the window, --export drives it until it closes, and the
// project is written where it should be (and only then).
#include "HostProcess.h"

#include "project/Composition.h"
#include "project/Layer.h"
#include "project/Project.h"
#include "project/Transform.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace standin;

namespace {

// Copies a sample project into the sandbox; empty when the sample is missing.
QString copySample(const HostSandbox& box, const QString& name)
{
    const QString source = QStringLiteral(ZOLVAR_EXAMPLES_DIR "/") + name;
    const QString target = box.path(name);
    if (!QFile::exists(source) || !QFile::copy(source, target))
        return QString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

// The window was found and driven (closed after an export, or closed
// because it has no export controls yet).
bool windowWasDriven(const HostRun& run)
{
    return run.out.contains("Export: done") || run.out.contains("Export: not available yet");
}

bool loads(const QString& path)
{
    LoadError error;
    return Project::load(path, &error) != nullptr;
}

} // namespace

TEST(HostRun, ExportOnTheQuickDemoWritesTheOutputAndLeavesTheProjectAlone)
{
    HostSandbox box;
    const QString project = copySample(box, "quick.json");
    ASSERT_FALSE(project.isEmpty()) << "examples/quick.json is missing";
    const QByteArray original = HostSandbox::readAll(project);
    const QString output = box.path("result.json");
    // Preferences from a pipe nobody writes to: not waited for, not replaced.
    // The end is cut by the end frame box, then to the composition's 100 frames.
    const QString fifo = box.path("prefs.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcessEnvironment env;
    env.insert(QStringLiteral("STANDIN_PREFS"), fifo);
    const HostRun run = box.run({project, "--export", "0-100000", "--output", output}, 30, env);
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(windowWasDriven(run)) << show(run);
    EXPECT_TRUE(run.out.contains("exporting frames 0-99999 (")) << show(run);
    EXPECT_TRUE(run.out.contains("frames 0 to 99 are exported")) << show(run);
    EXPECT_TRUE(run.err.contains(fifo + " is a FIFO")) << show(run);
    EXPECT_TRUE(QFileInfo::exists(fifo) && !QFileInfo(fifo).isFile()) << "the FIFO was replaced";
    EXPECT_TRUE(run.out.contains("Composition \"Quick Demo\": 1280 x 720, 25 fps")) << show(run);
    for (const char* line : {"Keys written:", "Undo groups:", "Suite calls:", "Leaks:"})
        EXPECT_TRUE(run.out.contains(line)) << line << "\n" << show(run);
    EXPECT_TRUE(run.out.contains("Project: written to " + output)) << show(run);

    EXPECT_TRUE(loads(output));
    EXPECT_EQ(HostSandbox::readAll(project), original);
    EXPECT_FALSE(QFile::exists(project + ".bak"));
}

namespace {

// The symbol names `nm` lists for the module with these options.
QStringList moduleSymbols(const QStringList& options)
{
    QProcess nm;
    nm.start(QStringLiteral(ZOLVAR_NM), options + QStringList{QStringLiteral(ZOLVAR_MODULE_PATH)});
    if (!nm.waitForFinished(60000) || nm.exitCode() != 0)
        return {QStringLiteral("(nm failed)")};
    QStringList names;
    for (const QString& line : QString::fromUtf8(nm.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!fields.isEmpty())
            names << fields.last();
    }
    return names;
}

} // namespace

TEST(HostRun, TheModuleExportsEntryPointFuncAloneAndCarriesItsOwnBox2D)
{
    EXPECT_EQ(moduleSymbols({QStringLiteral("-D"), QStringLiteral("--defined-only")}),
              QStringList{QStringLiteral("EntryPointFunc")});
    // It asks the dynamic linker for no Box2D symbol...
    const QStringList undefined = moduleSymbols({QStringLiteral("-D"), QStringLiteral("--undefined-only")});
    for (const QString& name : undefined)
        EXPECT_FALSE(name.contains(QStringLiteral("b2"))) << name.toStdString();
    EXPECT_FALSE(undefined.isEmpty());
    // ...and its own Box2D is the patched one, with the indexed pair pass.
    const QStringList all = moduleSymbols({QStringLiteral("--defined-only"), QStringLiteral("-C")});
    EXPECT_TRUE(all.contains(QStringLiteral("b2IndexedPairLookups()"))) << all.size() << " symbols";
}

TEST(HostRun, NothingPreloadedTakesOverBox2DsPairPass)
{
    // The system's shared Box2D and a library defining the pair pass are
    // preloaded, first in the lookup order: the plug-in still runs its own
    // pass, binds none of its Box2D calls to them, and finishes the export.
    HostSandbox box;
    const QString project = copySample(box, "quick.json");
    ASSERT_FALSE(project.isEmpty()) << "examples/quick.json is missing";
    QStringList preload;
    if (!QString::fromUtf8(ZOLVAR_SYSTEM_BOX2D).isEmpty())
        preload << QStringLiteral(ZOLVAR_SYSTEM_BOX2D);
    preload << QStringLiteral(ZOLVAR_PAIR_PASS_SHIM);
    const QString mark = box.path(QStringLiteral("shim-called"));
    QProcessEnvironment env;
    env.insert(QStringLiteral("LD_PRELOAD"), preload.join(QLatin1Char(':')));
    env.insert(QStringLiteral("ZOLVAR_SHIM_MARK"), mark);
    env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files,bindings"));
    env.insert(QStringLiteral("LD_DEBUG_OUTPUT"), box.path(QStringLiteral("ld")));
    // AddressSanitizer's run-time wants to be first; here it need not be.
    const QString asan = QProcessEnvironment::systemEnvironment().value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("verify_asan_link_order=0"));
    // Box2D runs its pair pass on every step.
    const HostRun run = box.run({project, "--export", "0-30", "--output", box.path("result.json")}, 60, env);
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(run.out.contains("Export: done")) << show(run);
    EXPECT_FALSE(QFile::exists(mark)) << HostSandbox::readAll(mark).toStdString();

    QString bindings;
    for (const QFileInfo& file : QDir(box.path(QString())).entryInfoList({QStringLiteral("ld.*")}, QDir::Files))
        bindings += QString::fromUtf8(HostSandbox::readAll(file.filePath()));
    // The preloaded libraries were loaded...
    for (const QString& library : preload)
        EXPECT_TRUE(bindings.contains(QStringLiteral("file=") + library)) << library.toStdString();
    // ...and no call of the module went to them, nor any of theirs to it.
    const QRegularExpression crossing(QStringLiteral(
        R"(binding file [^\n]*(Zolvar\.so[^\n]* to [^\n]*(libbox2d|pair_pass_shim)|(libbox2d|pair_pass_shim)[^\n]* to [^\n]*Zolvar\.so))"));
    const QRegularExpressionMatch found = crossing.match(bindings);
    EXPECT_FALSE(found.hasMatch()) << found.captured(0).toStdString();
}

TEST(HostRun, OpenExampleLeavesTheExamplesAsTheyAreAndLoadsTheirSettings)
{
    // The README's commands: the result goes to a temporary file, and
    // falling-shapes comes with its settings, a static floor.
    const QDir examples(QStringLiteral(ZOLVAR_EXAMPLES_DIR));
    QMap<QString, QByteArray> before;
    for (const QFileInfo& file : examples.entryInfoList(QDir::Files))
        before.insert(file.fileName(), HostSandbox::readAll(file.filePath()));
    ASSERT_TRUE(before.contains(QStringLiteral("falling-shapes-settings.xml")));

    HostSandbox box;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZOLVAR_BUILD_DIR"), QStringLiteral(ZOLVAR_BUILD_DIR));
    env.insert(QStringLiteral("ZOLVAR_HOST_TIMEOUT"), QStringLiteral("60"));
    env.insert(QStringLiteral("TMPDIR"), box.path(QString()));
    QProcess script;
    script.setProcessEnvironment(env);
    script.start(QStringLiteral("bash"), {QStringLiteral(ZOLVAR_SOURCE_DIR "/scripts/open-example"),
                                          QStringLiteral("falling-shapes"), QStringLiteral("--export"),
                                          QStringLiteral("0-40")});
    ASSERT_TRUE(script.waitForFinished(120000));
    const QString out = QString::fromUtf8(script.readAllStandardOutput());
    const QString err = QString::fromUtf8(script.readAllStandardError());
    ASSERT_EQ(script.exitCode(), 0) << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Export: done"))) << out.toStdString();

    QMap<QString, QByteArray> after;
    for (const QFileInfo& file : examples.entryInfoList(QDir::Files))
        after.insert(file.fileName(), HostSandbox::readAll(file.filePath()));
    EXPECT_EQ(after, before);

    const QRegularExpressionMatch written =
        QRegularExpression(QStringLiteral("the project as the host wrote it is in (\\S+)")).match(out);
    ASSERT_TRUE(written.hasMatch()) << out.toStdString();
    EXPECT_TRUE(written.captured(1).startsWith(box.path(QString()))) << written.captured(1).toStdString();
    LoadError error;
    const auto result = Project::load(written.captured(1), &error);
    ASSERT_TRUE(result);
    const Composition* keyed = result->compositionByName(QStringLiteral("Falling Shapes 2"));
    ASSERT_TRUE(keyed);
    int floors = 0, falling = 0;
    for (int l = 0; l < keyed->layerCount(); ++l) {
        const Layer* layer = keyed->layer(l);
        const int keys = layer->transformStream(TransformStream::Position)->keyCount();
        if (layer->name() == QStringLiteral("Floor")) {
            ++floors;
            EXPECT_EQ(keys, 0) << "the floor moved: it is not static";
        } else if (layer->name() == QStringLiteral("Red Box")) {
            ++falling;
            EXPECT_GT(keys, 1);
        }
    }
    EXPECT_EQ(floors, 1);
    EXPECT_EQ(falling, 1);
}

TEST(HostRun, InPlaceTheProjectIsRewrittenWithABackupOnlyWhenChanged)
{
    HostSandbox box;
    const QString project = copySample(box, "quick.json");
    ASSERT_FALSE(project.isEmpty()) << "examples/quick.json is missing";
    const QByteArray original = HostSandbox::readAll(project);

    const HostRun run = box.run({project, "--export", "0-10"});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(windowWasDriven(run)) << show(run);
    if (run.out.contains("Project: unchanged")) {
        EXPECT_EQ(HostSandbox::readAll(project), original);
        EXPECT_FALSE(QFile::exists(project + ".bak"));
    } else {
        EXPECT_TRUE(run.out.contains("(the previous file is " + project + ".bak)")) << show(run);
        EXPECT_EQ(HostSandbox::readAll(project + ".bak"), original);
        EXPECT_TRUE(loads(project));
    }
}

// An older backup that is a folder is kept; the reason is one line, the newline escaped.
TEST(HostRun, ABackupThatIsAFolderIsKeptAndNamedOnOneLine)
{
    HostSandbox box;
    const QString project = box.path("new\nline.json");
    ASSERT_TRUE(QFile::rename(copySample(box, "quick.json"), project) && QDir().mkpath(project + ".bak/kept"));
    const HostRun run = box.run({project, "--export", "0-10"});
    EXPECT_EQ(run.exitCode, 7) << show(run);
    EXPECT_TRUE(run.err.contains("zolvar-host: cannot replace the backup " + QString(project).replace("\n", "\\n")
                                 + ".bak: It is a folder\n")) << show(run);
    EXPECT_EQ(HostSandbox::readAll(project), HostSandbox::readAll(ZOLVAR_EXAMPLES_DIR "/quick.json"));
}

// The auto-load at start shows two messages before its rebuild (a file of
// another version that lacks a layer, has 10,000 snapshots, or more than
// a scene can take): the driver answers both (with their particulars) and
// presses Render only once nothing is open, and the export runs to its end.
TEST(HostRun, AnAutoLoadOfTwoMessagesIsAnsweredBeforeTheExport)
{
    const char* const otherVersion = "This file was created with a different version of Zolvar.";
    struct Row {
        const char* what;
        QByteArray settings;
        const char* secondMessage;
    };
    const auto settings = [](const char* version, int snapshots) {
        return bodySettings({"Box 1", "Box 2", "Box 3", "Circle 1", "Floor"}, R"(type="2")", version, snapshots);
    };
    const Row rows[] = {
        {"version 1.0, a layer without a record", settings("1.0", 0),
         "1 of the composition's 6 layers found no settings in the file.\\nLayers that found no settings"},
        {"a hostile version", settings("99999999999.2", 0), "1 of the composition's 6 layers found no"},
        {"10,000 snapshots", settings("1.0", 10000), "1 of the composition's 6 layers found no"},
        {"snapshots cut", settings("1.0", 10001), "the rest is loaded.\\n/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HostSandbox box;
        const QString project = copySample(box, "quick.json");
        ASSERT_FALSE(project.isEmpty()) << "examples/quick.json is missing";
        ASSERT_TRUE(storeAutoLoadedSettings(box, row.settings));
        const HostRun run = box.run({project, "--export", "0-30", "--output", box.path("out.json")}, 30);
        ASSERT_TRUE(run.finished) << show(run);
        EXPECT_EQ(run.exitCode, 0) << show(run);
        for (const char* said : {otherVersion, row.secondMessage, "Export: done", "\"Box 1\" (layer 1"})
            EXPECT_TRUE(run.out.contains(QString::fromUtf8(said))) << said << "\n" << show(run);
        EXPECT_TRUE(loads(box.path("out.json")));
    }
}

TEST(HostRun, NamedCompositionAndHostVersion)
{
    HostSandbox box;
    const QString project = copySample(box, "falling-shapes.json");
    ASSERT_FALSE(project.isEmpty()) << "examples/falling-shapes.json is missing";
    const HostRun run = box.run({project, "--comp", "Falling Shapes", "--host-version", "17.0", "--export",
                                 "0-0", "--output", box.path("out.json")});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(windowWasDriven(run)) << show(run);
    EXPECT_TRUE(run.out.contains("Composition \"Falling Shapes\"")) << show(run);
    EXPECT_TRUE(loads(box.path("out.json")));
}

TEST(HostRun, ControlCharactersInNamesDoNotCutTheSummary)
{
    HostSandbox box;
    const QString sample = copySample(box, "quick.json");
    ASSERT_FALSE(sample.isEmpty()) << "examples/quick.json is missing";
    QByteArray json = HostSandbox::readAll(sample);
    json.replace("\"Quick Demo\"", "\"Quick\\u0000Demo\\n\"");
    json.replace("\"Box 1\"", "\"Box\\u0000one\\t\\u0007\"");
    const QString project = box.path("names.json");
    ASSERT_TRUE(HostSandbox::write(project, json));

    const HostRun run = box.run({project, "--export", "0-5", "--output", box.path("out.json")});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    for (const char* line : {"Composition \"Quick\\x00Demo\\n\"", "\"Box\\x00one\\t\\x07\" (layer 1",
                             "Undo groups: 3 opened, 3 closed", "Suite calls:", "Leaks: none", "Export: done"})
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(line))) << line << "\n" << show(run);
}

TEST(HostRun, AnExportWithNothingToExportEndsAtOnceAndFails)
{
    HostSandbox box;
    const QString project = box.path("empty.json");
    ASSERT_TRUE(HostSandbox::write(project, R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"id": 10, "name": "Main", "width": 640, "height": 480, "frameRate": 25,
                          "duration": 4, "layers": [{"id": 1, "type": "camera", "name": "Camera"}]}]})"));

    // The watchdog is far away: the run must end on its own.
    const HostRun run = box.run({project, "--export", "0-50", "--output", box.path("out.json")}, 120);
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 8) << show(run);
    EXPECT_FALSE(run.out.contains("made no progress")) << show(run);
    EXPECT_TRUE(run.out.contains("Export: failed: the plug-in")) << show(run);
    EXPECT_TRUE(run.out.contains("There are no bodies to export.")) << show(run);
    EXPECT_TRUE(run.out.contains("Project: not written")) << show(run);
    EXPECT_FALSE(QFile::exists(box.path("out.json")));
}

TEST(HostRun, LayersBeyondSinglePrecisionAreNamedAndLeftUntouched)
{
    // Box 1's scale, Box 2's position, Box 3's rotation and a vertex of
    // Circle 1's mask cannot be held in the world; the export leaves those
    // layers as they are and sends the host nothing that is not finite.
    HostSandbox box;
    const QString sample = copySample(box, "quick.json");
    ASSERT_FALSE(sample.isEmpty()) << "examples/quick.json is missing";
    QByteArray json = HostSandbox::readAll(sample);
    json.replace(R"("position": [520, 120], "rotation": 15)", R"("position": [520, 120], "scale": [1e39, 100])");
    json.replace(R"("position": [700, 60])", R"("position": [1e308, 60])");
    json.replace(R"("position": [820, 220], "rotation": -30)", R"("position": [820, 220], "rotation": -1e308)");
    const int circle = json.indexOf("[60, 0, -33.14, 0, 33.14, 0]");
    ASSERT_GE(circle, 0);
    json.replace(circle, 3, "[1e39");
    const QString project = box.path("huge.json");
    ASSERT_TRUE(HostSandbox::write(project, json));

    const HostRun run = box.run({project, "--export", "0-10", "--output", box.path("out.json")});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(run.out.contains("Suite calls:") && run.out.contains("failed: none")) << show(run);
    EXPECT_TRUE(run.out.contains("too large to be represented. They have no shape and will not be keyframed:\\n"
                                 "Body #1 (Box 1)  Body #4 (Circle 1)")) << show(run);
    EXPECT_TRUE(run.out.contains("Body #2 (Box 2)  Body #3 (Box 3)")) << show(run);
    for (const char* untouched : {"\"Box 1\" (layer", "\"Box 2\" (layer", "\"Box 3\" (layer", "\"Circle 1\" (layer"})
        EXPECT_FALSE(run.out.contains(untouched)) << untouched << "\n" << show(run);
    EXPECT_TRUE(run.out.contains("\"Circle 2\" (layer 5")) << show(run);
    EXPECT_FALSE(HostSandbox::readAll(box.path("out.json")).contains("inf")) << "nothing infinite was written";
}
