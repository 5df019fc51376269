// A small project (one 640 x 360 composition at 25 fps, 10 s) behind a live
// host session, with the suites reached through the plug-in's own suite
// handler and persistent data in a temporary file.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "project/Project.h"
#include "suites/HostSession.h"
#include "suites/SuiteContext.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

constexpr AEGP_PluginID kPluginId = 7;
constexpr A_Time kTime0{0, 1};

class SuiteFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Layers are added at the bottom of the stack with the next free ID.
    standin::Layer* addLayer(standin::LayerKind kind, const QString& name = QString());
    AEGP_LayerH handle(standin::Layer* layer);
    AEGP_CompH compHandle();

    // Stream helpers that go through the suites and expect success.
    AEGP_StreamRefH layerStream(standin::Layer* layer, AEGP_LayerStream which);
    AEGP_StreamRefH root(standin::Layer* layer);
    AEGP_StreamRefH child(AEGP_StreamRefH parent, const char* matchName);
    AEGP_StreamValue2 value(AEGP_StreamRefH stream, const A_Time& t = kTime0, bool preExpression = false);
    std::string matchName(AEGP_StreamRefH stream);

    std::string prefsPath() const { return prefsDir_.filePath("prefs.ini").toStdString(); }

    QTemporaryDir prefsDir_;
    std::unique_ptr<standin::Project> project_;
    standin::Composition* comp_ = nullptr;
    std::unique_ptr<standin::HostSession> session_;
    std::unique_ptr<AEGP_SuiteHandler> suites_;
};

// A closed or open outline from (x, y) points with zero tangents.
standin::MaskOutline polygon(std::initializer_list<std::pair<double, double>> points, bool open = false);
