// The demo's settings file: written by the program for examples/quick.json
// with "Floor" static, and the demo's road through the real start-up
// auto-load of the stand-in host, whose export shows real collisions.
#include "SettingsGuiFixture.h"

#include "standin_host/HostProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace settings_gui;

namespace {

QString example(const char* name)
{
    return QString::fromLocal8Bit(qgetenv("ZOLVAR_SOURCE_DIR")) + QStringLiteral("/examples/") +
           QString::fromLatin1(name);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(DemoSettings, TheExampleIsWhatTheProgramWrites)
{
    auto host = window_test::makeHost(18, 0, readFile(example("quick.json")));
    auto window = window_test::makeWindow(*host);
    SimulationView* view = window->simulationView();
    view->getTimer()->stop();
    ASSERT_EQ(view->bodies.size(), 6u);
    ASSERT_EQ(view->bodies[5].name, QStringLiteral("Floor"));
    view->setType({BodyType::Static}, {5});
    // A fixed view, whatever the window's size.
    view->form().zoomSld->setValue(50);

    QTemporaryDir folder;
    const QString written = folder.path() + QStringLiteral("/quick-settings.xml");
    ASSERT_TRUE(view->saveSettings(written, "Most Recent Saved Settings File"));
    if (qEnvironmentVariableIsSet("ZOLVAR_WRITE_SEED")) {
        QFile::remove(example("quick-settings.xml"));
        QFile::copy(written, example("quick-settings.xml"));
    }
    EXPECT_EQ(readFile(written), readFile(example("quick-settings.xml")));
}

// The settings of examples/falling-shapes.json, as scripts/open-example
// loads them: "Floor" static and the keyed paddle Kinematic, so that the
// shapes land.
TEST(DemoSettings, TheFallingShapesSettingsAreWhatTheProgramWrites)
{
    auto host = window_test::makeHost(18, 0, readFile(example("falling-shapes.json")));
    auto window = window_test::makeWindow(*host);
    SimulationView* view = window->simulationView();
    view->getTimer()->stop();
    int floor = -1, paddle = -1;
    for (size_t i = 0; i < view->bodies.size(); ++i) {
        if (view->bodies[i].name == QStringLiteral("Floor"))
            floor = int(i);
        if (view->bodies[i].name == QStringLiteral("Kinematic Paddle"))
            paddle = int(i);
    }
    ASSERT_GE(floor, 0);
    ASSERT_GE(paddle, 0);
    view->setType({BodyType::Static}, {floor});
    view->setType({BodyType::Kinematic}, {paddle});
    view->form().zoomSld->setValue(50);

    QTemporaryDir folder;
    const QString written = folder.path() + QStringLiteral("/falling-shapes-settings.xml");
    ASSERT_TRUE(view->saveSettings(written, "Most Recent Saved Settings File"));
    if (qEnvironmentVariableIsSet("ZOLVAR_WRITE_SEED")) {
        QFile::remove(example("falling-shapes-settings.xml"));
        QFile::copy(written, example("falling-shapes-settings.xml"));
    }
    EXPECT_EQ(readFile(written), readFile(example("falling-shapes-settings.xml")));
}

// scripts/demo's road: the stored auto-load choices of a fresh user, the
// example as the autosaved file, bodies matched by name.
TEST(DemoSettings, AutoLoadAtStartMakesTheFloorStatic)
{
    HostSandbox box;
    ASSERT_TRUE(HostSandbox::write(box.prefsPath(), "[VH Zolvar 2]\nAuto Load/Save Settings=1\n"
                                                    "Auto Saved Settings File=" +
                                                        example("quick-settings.xml").toUtf8() +
                                                        "\nBody Identification for Auto Load Settings=2\n"));
    const QString output = box.path(QStringLiteral("result.json"));
    const HostRun run = box.run({example("quick.json"), QStringLiteral("--export"), QStringLiteral("0-99"),
                                 QStringLiteral("--output"), output});
    ASSERT_TRUE(run.finished) << show(run);
    ASSERT_EQ(run.exitCode, 0) << show(run);
    EXPECT_FALSE(run.out.contains(QStringLiteral("cannot be found"))) << show(run);

    const QJsonObject result = QJsonDocument::fromJson(HostSandbox::readAll(output)).object();
    // The keys may go onto a copy of the composition: every composition counts.
    QJsonArray layers;
    for (const QJsonValue& comp : result[QStringLiteral("compositions")].toArray())
        for (const QJsonValue& layer : comp.toObject()[QStringLiteral("layers")].toArray())
            layers.append(layer);
    int checked = 0;
    for (const QJsonValue& value : layers) {
        const QJsonObject layer = value.toObject();
        const QJsonValue position = layer[QStringLiteral("transform")].toObject()[QStringLiteral("position")];
        const QJsonArray keys = position.toObject()[QStringLiteral("keys")].toArray();
        const QString name = layer[QStringLiteral("name")].toString();
        for (const QJsonValue& key : keys) {
            const QJsonArray at = key.toObject()[QStringLiteral("value")].toArray();
            const double x = at[0].toDouble();
            const double y = at[1].toDouble();
            if (name == QLatin1String("Floor")) {
                EXPECT_NEAR(x, 640.0, 0.01) << "the floor moved";
                EXPECT_NEAR(y, 660.0, 0.01) << "the floor moved";
            } else if (x > 90.0 && x < 1190.0) {
                EXPECT_LT(y, 640.0) << name.toStdString() << " fell through the floor";
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 100) << show(run);
}

// Auto-load with the autosaved file gone: the warning, and the layers keep
// their own settings (the floor falls with the rest).
TEST(DemoSettings, AutoLoadWithTheFileGoneWarnsAndKeepsTheLayers)
{
    HostSandbox box;
    const QString gone = box.path(QStringLiteral("gone.xml"));
    ASSERT_TRUE(HostSandbox::write(box.prefsPath(), "[VH Zolvar 2]\nAuto Load/Save Settings=1\n"
                                                    "Auto Saved Settings File=" + gone.toUtf8() +
                                                        "\nBody Identification for Auto Load Settings=2\n"));
    const HostRun run = box.run({example("quick.json"), QStringLiteral("--export"), QStringLiteral("0-50"),
                                 QStringLiteral("--output"), box.path(QStringLiteral("result.json"))});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(run.out.contains(QStringLiteral("The settings file '%1' cannot be found or its format is not "
                                                "supported.").arg(gone)))
        << show(run);
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"Floor\" (layer 6"))) << "the floor is dynamic\n" << show(run);
}

// Auto-load with a stored body identification that is none of layer ID,
// index and name: nothing matches, the user is told so, and the layers keep
// their own settings (the file would match all of them by layer ID).
TEST(DemoSettings, AutoLoadWithAnUnknownIdentificationMatchesNothing)
{
    HostSandbox box;
    ASSERT_TRUE(HostSandbox::write(box.prefsPath(), "[VH Zolvar 2]\nAuto Load/Save Settings=1\n"
                                                    "Auto Saved Settings File=" +
                                                        example("quick-settings.xml").toUtf8() +
                                                        "\nBody Identification for Auto Load Settings=3\n"));
    const HostRun run = box.run({example("quick.json"), QStringLiteral("--export"), QStringLiteral("0-50"),
                                 QStringLiteral("--output"), box.path(QStringLiteral("result.json"))});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("Matching bodies not found. Settings have not been applied to the scene.")))
        << show(run);
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"Floor\" (layer 6"))) << "the floor is dynamic\n" << show(run);
}

// Auto-load on before any close has stored a file's name: nothing to load
// and nothing to tell; the close stores the name.
TEST(DemoSettings, AutoLoadWithNoFileStoredSaysNothing)
{
    HostSandbox box;
    ASSERT_TRUE(HostSandbox::write(box.prefsPath(), "[VH Zolvar 2]\nAuto Load/Save Settings=1\n"));
    const HostRun run = box.run({example("quick.json"), QStringLiteral("--export"), QStringLiteral("0-10"),
                                 QStringLiteral("--output"), box.path(QStringLiteral("result.json"))});
    ASSERT_TRUE(run.finished) << show(run);
    EXPECT_EQ(run.exitCode, 0) << show(run);
    EXPECT_FALSE(run.out.contains(QStringLiteral("cannot be found"))) << show(run);
    EXPECT_TRUE(HostSandbox::readAll(box.prefsPath()).contains("Auto Saved Settings File=")) << show(run);
}
