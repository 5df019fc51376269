// A simulation over a composition of the stand-in host, driven tick by tick
// without a window: the core with recording hooks, built as the view builds
// it (composition, bodies table count, world, records, scene).
#pragma once

#include "host/StandinFixture.h"
#include "simulation/KeyframeExport.h"
#include "simulation/SimulationCore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace testing_simulation {

// The core, with the hooks recording what they are told.
class TestCore : public SimulationCore
{
public:
    using SimulationCore::SimulationCore;

    int restarts = 0;
    int refreshes = 0;
    std::vector<int> framesShown;    // setFrameInfo
    std::vector<int> progressShown;  // showSolvingProgress
    std::vector<AEGP_CompH> handedOver;
    QStringList exportFailures;
    QStringList triangulationReports;
    QStringList setupReports;
    // Runs when the recorded range is handed over (the view writes the keys).
    std::function<void(AEGP_CompH)> onKeyframing;

protected:
    void restarted(bool) override { ++restarts; }
    void refreshView() override { ++refreshes; }
    void setFrameInfo(int frame) override { framesShown.push_back(frame); }
    void showSolvingProgress(int frame) override { progressShown.push_back(frame); }
    void beginKeyframing(AEGP_CompH target) override
    {
        handedOver.push_back(target);
        if (onKeyframing)
            onKeyframing(target);
    }
    void reportExportFailure(const QString& text) override { exportFailures << text; }
    void reportTriangulationFailures(const QString& text) override { triangulationReports << text; }
    void reportSetupProblems(const QString& text) override { setupReports << text; }
};

// Footage of the compositions below: 1 "Box" 100 x 100, 2 "Floor" 1000 x 40,
// 3 "Small" 50 x 50.
// A composition "Main" of 1000 x 1000 at 25 fps, 20 s long, holding `layers`
// (JSON objects); `compExtra` adds members to the composition.
QByteArray sceneJson(const QStringList& layers, const QString& compExtra = QString());
// A solid layer of footage `source` at (x, y); `extra` adds members (a
// "transform" among them replaces the position).
QString solid(int id, int source, double x, double y, const QString& extra = QString());

class Scene
{
public:
    explicit Scene(const QByteArray& json);

    // Records, world and scene as the view builds them at construction;
    // the frame limiter never waits.
    void build();
    // Rebuilds the world from the records, stopped at frame 0.
    void rebuild() { core.restartAndStopAnimation(false); }
    void play() { core.playAnimation(); }
    void ticks(int count);
    // Restarts playing with frames start to end to be recorded for export
    // (the tracks emptied first).
    void startRecording(int start, int end);

    MyBody& body(int index) { return core.bodies.at(size_t(index)); }
    b2Body* world(int index) { return body(index).body; }
    standin::Composition* composition() const;

    // Writes the keys at once when the range is handed over, as the view's
    // chain would, layer after layer; `cancelAfter` stops after that many
    // layers (-1: never).
    void writeKeysOnHandover(bool motionBlur = false, int cancelAfter = -1);
    QString exportProblem;
    QStringList exportFailures;
    QString exportReport;  // what the user is told at the end (KeyframeExport::report)

    testing_standin::Host host;
    TestCore core;
};

} // namespace testing_simulation
