// Whole runs of zolvar-host on the sample projects: the plug-in is loaded,
// its command opens the window, --export drives it until it closes, and the
// project is written where it should be (and only then).
#include "HostProcess.h"

#include "project/Project.h"

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
