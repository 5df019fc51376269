// zolvar-host: loads a project, loads the Zolvar plug-in, runs its
// "Zolvar 2..." command on one composition and writes the project back.
#include "ExitCodes.h"
#include "ExportAutomation.h"
#include "HostOptions.h"
#include "KeyCensus.h"
#include "PluginModule.h"
#include "ResultWriter.h"
#include "RunSummary.h"

#include "project/Project.h"
#include "suites/HostSession.h"

#include <cstdio>
#include <string>
#include <vector>

#ifndef ZOLVAR_DEFAULT_PLUGINS_DIR
#define ZOLVAR_DEFAULT_PLUGINS_DIR "Plug-ins"
#endif

using namespace standin;

namespace {

const char kMenuText[] = "Zolvar 2...";
const AEGP_PluginID kPluginId = 1;

// Names in the message are escaped, as in the summary: a newline in a path
// cannot split the line.
void complain(const std::string& message)
{
    writeText("zolvar-host: " + printable(message) + "\n", stderr);
}

int fail(int code, const std::string& message)
{
    complain(message);
    return code;
}

// The named composition, else the project's active one, else the first.
Composition* chooseComposition(Project& project, const HostOptions& options, std::string& error)
{
    if (!options.comp.empty()) {
        if (Composition* comp = project.compositionByName(QString::fromStdString(options.comp)))
            return comp;
        std::string names;
        for (Composition* comp : project.compositions())
            names += (names.empty() ? "" : ", ") + ("\"" + comp->name().toStdString() + "\"");
        error = options.project + ": no composition named \"" + options.comp + "\""
            + (names.empty() ? std::string(" (the project has none)") : " (it has " + names + ")");
        return nullptr;
    }
    if (Composition* comp = project.activeComposition())
        return comp;
    const std::vector<Composition*> comps = project.compositions();
    if (comps.empty())
        error = options.project + ": the project has no composition";
    return comps.empty() ? nullptr : comps.front();
}

std::string exportNote(const ExportReport& report)
{
    switch (report.outcome) {
    case ExportOutcome::Exported:
        return "Export: done, the window closed";
    case ExportOutcome::ControlsMissing:
        return "Export: not available yet: " + report.detail;
    default:
        return "Export: failed: " + report.detail;
    }
}

} // namespace

int main(int argc, char** argv)
{
    HostOptions options;
    std::string error;
    if (!parseHostOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        complain(error);
        std::fputs("Try 'zolvar-host --help'.\n", stderr);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(hostUsage().c_str(), stdout);
        return kExitOk;
    }

    // The project.
    const QString projectPath = QString::fromLocal8Bit(options.project.c_str());
    LoadError loadError;
    std::unique_ptr<Project> project = Project::load(projectPath, &loadError);
    if (!project)
        return fail(kExitProject, loadError.toString().toStdString());
    Composition* comp = chooseComposition(*project, options, error);
    if (!comp)
        return fail(kExitProject, error);
    project->setActiveItem(comp);
    // Choosing what to run on is not a change to the project.
    project->clearModified();

    // The plug-in.
    PluginModule plugin;
    if (!plugin.load(options.pluginsDir.empty() ? ZOLVAR_DEFAULT_PLUGINS_DIR : options.pluginsDir))
        return fail(kExitPlugin, plugin.error());

    HostSession session(*project, kPluginId);
    session.setHostVersion(options.hostMajor, options.hostMinor);
    if (const A_Err err = session.callEntryPoint(plugin.entryPoint()))
        return fail(kExitCommandUnavailable, "the plug-in's entry point returned error " + std::to_string(err));
    if (const A_Err err = session.updateMenus())
        std::fprintf(stderr, "zolvar-host: warning: updating the menus returned error %d\n", int(err));
    const HostSession::MenuItem* item = session.findMenuItem(kMenuText);
    if (!item)
        return fail(kExitCommandUnavailable, std::string("the plug-in added no \"") + kMenuText + "\" menu item");
    if (!item->enabled)
        return fail(kExitCommandUnavailable, std::string("the \"") + kMenuText + "\" menu item is disabled");
    const AEGP_Command command = item->command; // the hook may add menu items

    // The command: with --export the plug-in's window is driven to an export.
    if (options.exportRange) {
        ExportRequest request;
        request.start = options.exportStart;
        request.end = options.exportEnd;
        std::string warning;
        request.stallMilliseconds =
            exportTimeoutFromEnvironment(request.stallMilliseconds / 1000, &warning) * 1000;
        if (!warning.empty())
            std::fprintf(stderr, "zolvar-host: warning: %s\n", warning.c_str());
        armExportAutomation(request);
    }
    const KeyCensus keysBefore = KeyCensus::take(*project);
    bool handled = false;
    const A_Err commandErr = session.runCommand(command, &handled);
    disarmExportAutomation();

    RunSummary summary;
    summary.composition = comp->name();
    summary.width = comp->width();
    summary.height = comp->height();
    summary.frameRate = comp->frameRate();
    summary.layerCount = comp->layerCount();
    summary.keyed = keysBefore.changes(*project);
    summary.undoGroups = session.undoGroups();
    summary.totalCalls = session.log().totalCalls();
    summary.failures = session.log().failures();
    summary.leaks = session.lastCommandLeaks();

    int exitCode = kExitOk;
    bool write = true;
    if (!handled) {
        exitCode = kExitCommandUnavailable;
        std::fprintf(stderr, "zolvar-host: the plug-in did not handle its \"%s\" command\n", kMenuText);
    } else if (commandErr) {
        exitCode = kExitCommandFailed;
        std::fprintf(stderr, "zolvar-host: the command returned error %d\n", int(commandErr));
    }
    if (options.exportRange && handled) {
        const ExportReport& report = exportReport();
        summary.notes.push_back(exportNote(report));
        if (exportFailed(report.outcome)) {
            // A run that did not finish is not written over anything.
            write = false;
            exitCode = kExitExport;
        }
    }

    if (write) {
        const WriteResult result =
            writeRunResult(*project, projectPath, QString::fromLocal8Bit(options.output.c_str()));
        summary.notes.push_back(writeNote(result));
        if (result.outcome == WriteOutcome::Failed) {
            complain(result.error.toStdString());
            if (exitCode == kExitOk)
                exitCode = kExitSave;
        }
    } else {
        summary.notes.push_back("Project: not written");
    }

    writeText(formatSummary(summary), stdout);
    std::fflush(stdout);
    return exitCode;
}
