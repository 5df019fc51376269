// zolvar-host's refusals: each one exits with its code, says why (with file
// and line for project files) and writes nothing.
#include "HostProcess.h"

#include "project/Project.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace standin;

namespace {

// A small valid project file, written through the model itself.
QString writeValidProject(const HostSandbox& box, const QString& name)
{
    Project project;
    auto comp = std::make_shared<Composition>();
    comp->setName(QStringLiteral("Main"));
    project.addItem(comp);
    comp->createShapeLayer();
    project.setActiveItem(comp.get());
    const QString path = box.path(name);
    QString error;
    EXPECT_TRUE(saveAtomically(project, path, false, &error)) << error.toStdString();
    return path;
}

} // namespace

TEST(HostCli, HelpAndBadCommandLines)
{
    HostSandbox box;
    HostRun run = box.run({"--help"});
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(run.out.contains("Exit codes")) << show(run);

    for (const QStringList& args : {QStringList{}, QStringList{"p.json", "--export", "9-3"},
                                    QStringList{"p.json", "--no-such-option"}}) {
        run = box.run(args);
        EXPECT_EQ(run.exitCode, 2) << show(run);
        EXPECT_TRUE(run.err.contains("zolvar-host: ")) << show(run);
        EXPECT_TRUE(run.err.contains("--help")) << show(run);
    }
}

TEST(HostCli, MissingAndMalformedProjectsNameFileAndLineAndWriteNothing)
{
    HostSandbox box;
    const QString missing = box.path("missing.json");
    const QString output = box.path("out.json");
    HostRun run = box.run({missing, "--output", output});
    EXPECT_EQ(run.exitCode, 3) << show(run);
    EXPECT_TRUE(run.err.contains(missing)) << show(run);

    struct Case {
        const char* name;
        QByteArray bytes;
        int line; // 0: any line
    };
    const Case cases[] = {
        {"syntax.json", "{\n  \"compositions\": [\n    oops\n  ]\n}\n", 3},
        {"truncated.json", "{\n  \"compositions\": [\n", 0},
        {"empty.json", "", 0},
        {"array.json", "[1, 2, 3]\n", 0},
        {"binary.json", QByteArray("\x00\xff\xfe{", 4), 0},
        {"new\nline.json", "{\n  \"compositions\": [\n    oops\n  ]\n}\n", 3},
    };
    for (const Case& c : cases) {
        const QString path = box.path(c.name);
        ASSERT_TRUE(HostSandbox::write(path, c.bytes));
        const QStringList before = box.files();
        const QString shown = QString(path).replace("\n", "\\n");
        for (const QStringList& args : {QStringList{path}, QStringList{path, "--output", output}}) {
            run = box.run(args);
            EXPECT_EQ(run.exitCode, 3) << c.name << "\n" << show(run);
            EXPECT_TRUE(run.err.startsWith("zolvar-host: " + shown + ":")) << c.name << "\n" << show(run);
            EXPECT_EQ(run.err.count('\n'), 1) << c.name << "\n" << show(run);
            if (c.line) {
                EXPECT_TRUE(run.err.contains(QStringLiteral("%1:%2:").arg(shown).arg(c.line)))
                    << c.name << "\n" << show(run);
            }
            EXPECT_EQ(HostSandbox::readAll(path), c.bytes) << c.name;
            EXPECT_EQ(box.files(), before) << c.name << ": something was written";
        }
    }
}

TEST(HostCli, AnOutOfRangeValueNamesItsLine)
{
    HostSandbox box;
    QFile sample(QStringLiteral(ZOLVAR_EXAMPLES_DIR "/quick.json"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly)) << "examples/quick.json is missing";
    QJsonObject root = QJsonDocument::fromJson(sample.readAll()).object();
    QJsonArray comps = root["compositions"].toArray();
    QJsonObject comp = comps[0].toObject();
    QJsonArray layers = comp["layers"].toArray();
    QJsonObject layer = layers[0].toObject();
    layer["label"] = 99;
    layers[0] = layer;
    comp["layers"] = layers;
    comps[0] = comp;
    root["compositions"] = comps;
    const QString path = box.path("label.json");
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    ASSERT_TRUE(HostSandbox::write(path, bytes));

    const HostRun run = box.run({path});
    EXPECT_EQ(run.exitCode, 3) << show(run);
    const QRegularExpression message(QRegularExpression::escape(path) + ":[1-9][0-9]*: .*label");
    EXPECT_TRUE(message.match(run.err).hasMatch()) << show(run);
    EXPECT_EQ(HostSandbox::readAll(path), bytes);
    EXPECT_EQ(box.files(), QStringList{"label.json"});
}

TEST(HostCli, UnknownCompositionAndMissingPlugInAreRefusedBeforeAnythingRuns)
{
    HostSandbox box;
    const QString project = writeValidProject(box, "p.json");
    const QByteArray bytes = HostSandbox::readAll(project);
    const QStringList before = box.files();

    HostRun run = box.run({project, "--comp", "No Such Comp"});
    EXPECT_EQ(run.exitCode, 3) << show(run);
    EXPECT_TRUE(run.err.contains("No Such Comp")) << show(run);

    run = box.run({project, "--plugins", box.path("no-plugins-here")});
    EXPECT_EQ(run.exitCode, 4) << show(run);
    EXPECT_TRUE(run.err.contains("no-plugins-here")) << show(run);

    // A bundle whose module is not a loadable library.
    QDir(box.path("Plug-ins")).mkpath("Zolvar.plugin/Contents/Linux");
    ASSERT_TRUE(HostSandbox::write(box.path("Plug-ins/Zolvar.plugin/Contents/Linux/Zolvar.so"), "not ELF"));
    run = box.run({project, "--plugins", box.path("Plug-ins"), "--output", box.path("out.json")});
    EXPECT_EQ(run.exitCode, 4) << show(run);
    EXPECT_TRUE(run.err.contains("Zolvar.so")) << show(run);

    EXPECT_EQ(HostSandbox::readAll(project), bytes);
    EXPECT_EQ(box.files(), before);

    // Nothing to run on.
    Project empty;
    empty.addSolid(QStringLiteral("Solid"), 10, 10, AEGP_ColorVal{1, 1, 1, 1});
    const QString emptyPath = box.path("empty.json");
    QString error;
    ASSERT_TRUE(saveAtomically(empty, emptyPath, false, &error)) << error.toStdString();
    run = box.run({emptyPath});
    EXPECT_EQ(run.exitCode, 3) << show(run);
    EXPECT_TRUE(run.err.contains(emptyPath + ": the project has no composition")) << show(run);
}
