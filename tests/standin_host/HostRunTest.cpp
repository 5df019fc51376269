// Whole runs of zolvar-host on the sample projects: the plug-in is loaded,
// its command opens the window, --export drives it until it closes, and the
// project is written where it should be (and only then).
#include "HostProcess.h"

#include "project/Project.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

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

    const HostRun run = box.run({project, "--export", "0-100", "--output", output});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(windowWasDriven(run)) << show(run);
    EXPECT_TRUE(run.out.contains("Composition \"Quick Demo\": 1280 x 720, 25 fps")) << show(run);
    for (const char* line : {"Keys written:", "Undo groups:", "Suite calls:", "Leaks:"})
        EXPECT_TRUE(run.out.contains(line)) << line << "\n" << show(run);
    EXPECT_TRUE(run.out.contains("Project: written to " + output)) << show(run);

    EXPECT_TRUE(loads(output));
    EXPECT_EQ(HostSandbox::readAll(project), original);
    EXPECT_FALSE(QFile::exists(project + ".bak"));
}

TEST(HostRun, BoxTwoDsPairPassIsThePlugInsIndexedOne)
{
    // The plug-in module exports its pair pass so that the Box2D library it
    // loads calls that one: the dynamic linker's own account of the binding.
    HostSandbox box;
    const QString project = copySample(box, "quick.json");
    ASSERT_FALSE(project.isEmpty()) << "examples/quick.json is missing";
    QProcessEnvironment env;
    env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("bindings"));
    env.insert(QStringLiteral("LD_DEBUG_OUTPUT"), box.path(QStringLiteral("ld")));
    const HostRun run = box.run({project, "--export", "0-2", "--output", box.path("result.json")}, 60, env);
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);

    QString bindings;
    for (const QFileInfo& file : QDir(box.path(QString())).entryInfoList({QStringLiteral("ld.*")}, QDir::Files))
        bindings += QString::fromUtf8(HostSandbox::readAll(file.filePath()));
    const QRegularExpression binding(
        QStringLiteral(R"(libbox2d[^ ]* \[0\] to [^ ]*/Zolvar\.so \[0\]: normal symbol `_ZN16b2ContactManager15FindNewContactsEv')"));
    EXPECT_TRUE(binding.match(bindings).hasMatch()) << bindings.size() << " bytes of bindings";
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
