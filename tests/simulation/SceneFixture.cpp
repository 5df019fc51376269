#include "SceneFixture.h"

#include "project/Composition.h"

#include <algorithm>
#include <memory>

namespace testing_simulation {

QByteArray sceneJson(const QStringList& layers, const QString& compExtra)
{
    const QString json = QStringLiteral(R"({
    "format": "zolvar-standin-project",
    "activeItem": "Main",
    "footage": [
        {"id": 1, "name": "Box", "kind": "solid", "width": 100, "height": 100, "color": [0.8, 0.2, 0.2]},
        {"id": 2, "name": "Floor", "kind": "solid", "width": 1000, "height": 40, "color": [0.4, 0.4, 0.4]},
        {"id": 3, "name": "Small", "kind": "solid", "width": 50, "height": 50, "color": [0.2, 0.2, 0.8]}
    ],
    "compositions": [{
        "id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 20 %1,
        "layers": [%2]
    }]
})")
                             .arg(compExtra.isEmpty() ? QString() : QStringLiteral(", ") + compExtra,
                                  layers.join(QStringLiteral(",\n")));
    return json.toUtf8();
}

QString solid(int id, int source, double x, double y, const QString& extra)
{
    // An extra "transform" replaces the position given by x and y.
    const QString transform = extra.contains(QLatin1String("\"transform\""))
        ? QString()
        : QStringLiteral(R"(, "transform": {"position": [%1, %2]})").arg(x).arg(y);
    return QStringLiteral(R"({"id": %1, "type": "solid", "source": %2, "name": "Layer %1" %3 %4})")
        .arg(id)
        .arg(source)
        .arg(transform, extra.isEmpty() ? QString() : QStringLiteral(", ") + extra);
}

Scene::Scene(const QByteArray& json)
    : host(json)
    , core(host.session->basicSuite(), testing_standin::Host::kPluginId)
{
    core.limiter.disable();
}

void Scene::build()
{
    core.readComposition();
    core.listBodyLayers();
    core.initWorld(false);
    core.initMyBodies();
    core.initScene();
    core.sceneInitialised = true;
}

void Scene::ticks(int count)
{
    for (int i = 0; i < count; ++i)
        core.updatePhysics();
}

void Scene::startRecording(int start, int end)
{
    core.startExport(start, end);
}

standin::Composition* Scene::composition() const
{
    return host.project->compositionByName(QStringLiteral("Main"));
}

void Scene::writeKeysOnHandover(bool motionBlur, int cancelAfter)
{
    core.onKeyframing = [this, motionBlur, cancelAfter](AEGP_CompH target) {
        ExportSettings settings = core.exportSettings();
        settings.motionBlur = motionBlur;
        KeyframeExport writer(core.basicSuite, core.pluginId);
        if (!writer.begin(target, settings, core.exportBodies(), core.bodyTransforms, &exportProblem))
            return;
        int layers = 0;
        while (!writer.writeNextLayer()) {
            if (++layers == cancelAfter) {
                writer.cancel();
                break;
            }
        }
        exportFailures = writer.failures();
        exportReport = writer.report();
    };
}

} // namespace testing_simulation
