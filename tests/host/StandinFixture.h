// A stand-in host session over a project built from JSON in the test, with
// the plug-in's entry point already called. Persistent data stays in memory.
#pragma once

#include "host/EntryPoint.h"
#include "host/PluginGlobals.h"
#include "project/Project.h"
#include "suites/HostSession.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>

namespace testing_standin {

// The project of `json`. One the stand-in refuses ends the test that asked
// for it, failed with the reason (the test framework takes an exception for
// that test's failure), before anything uses it.
inline std::unique_ptr<standin::Project> makeProject(const QByteArray& json,
                                                     const QString& file = QStringLiteral("/projects/shot.final.aep"))
{
    standin::LoadError error;
    auto project = standin::Project::fromJson(json, file, &error);
    if (!project)
        throw std::runtime_error("the stand-in refuses the project: " + error.toString().toStdString());
    return project;
}

class Host
{
public:
    // With `enter`, the plug-in's entry point has been called.
    explicit Host(const QByteArray& json, bool enter = true)
        : project(makeProject(json))
        , session(std::make_unique<standin::HostSession>(*project, kPluginId, std::string()))
    {
        // The tests read the calls in order.
        session->log().setKeep(standin::CallLog::Keep::Everything);
        if (enter)
            entryError = session->callEntryPoint(&EntryPointFunc);
    }

    static constexpr AEGP_PluginID kPluginId = 7;

    // The command of the plug-in's menu item (0 when there is none).
    AEGP_Command command() const
    {
        const standin::MenuItem* item = session->findMenuItem("Zolvar 2...");
        return item ? item->command : 0;
    }

    std::unique_ptr<standin::Project> project;
    std::unique_ptr<standin::HostSession> session;
    A_Err entryError = A_Err_NONE;
};

} // namespace testing_standin
