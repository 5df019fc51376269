// The stand-in host seen from outside: installs every suite over one
// in-memory project, calls the plug-in's entry point, drives its menu and
// command hooks, and offers what tests and the host program inspect
// afterwards.
//
//     Project& project = ...;
//     standin::HostSession session(project);          // suites registered
//     session.setHostVersion(18, 0);                  // optional (default 18.0)
//     session.callEntryPoint(&EntryPointFunc);        // the plug-in registers
//     session.updateMenus();                          // its update-menu hooks
//     bool handled = false;
//     session.runCommand(session.menuItems()[0].command, &handled);
//     session.log() / faults() / leaks() / lastCommandLeaks() / prefs()
//     session.undoGroups() / reports()
//
// One session at a time per process: the suites are plain C functions and
// find their state through the one current session. The destructor removes
// the suites from the registry; tables kept by the plug-in then answer
// A_Err_GENERIC.
//
// Leftovers: stream references, values, mask references, memory handles,
// key batches, text outlines and collections still held when a command hook
// returns are counted (lastCommandLeaks()) and then freed, and open undo
// groups are closed. The suite acquisition balance over the hook is counted
// there too.
#pragma once

#include "CallLog.h"
#include "CommandTable.h"
#include "FaultInjector.h"
#include "LeakCounters.h"
#include "PersistentStore.h"
#include "UndoLog.h"

#include "SuiteRegistry.h"

#include <memory>
#include <string>
#include <vector>

namespace standin {

class Project;
class SuiteContext;

class HostSession
{
public:
    using MenuItem = standin::MenuItem;

    // Persistent data from PersistentStore::defaultPath() ($STANDIN_PREFS ...).
    explicit HostSession(Project& project, AEGP_PluginID pluginId = 1);
    // Persistent data in the given file ("" = memory only).
    HostSession(Project& project, AEGP_PluginID pluginId, const std::string& prefsPath);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    Project& project();
    AEGP_PluginID pluginId() const;
    SPBasicSuite* basicSuite();
    SuiteRegistry& registry();

    // The version EntryPointFunc is told. 17.0 changes the plug-in's
    // shortcuts; the default is 18.0.
    void setHostVersion(A_long major, A_long minor);

    // EntryPointFunc(basic, major, minor, pluginId, &refcon). The calling
    // thread becomes the one every suite call must come from.
    A_Err callEntryPoint(AEGP_EntryPointFunc entry);
    AEGP_GlobalRefcon globalRefcon() const { return refcon_; }

    // Calls every update-menu hook with window type 0; the first error.
    A_Err updateMenus();
    const std::vector<MenuItem>& menuItems() const;
    // The first item with that text, or nullptr.
    const MenuItem* findMenuItem(const std::string& text) const;

    // Calls every command hook registered for 0 or `command` (already_handled
    // false), then counts and frees the leftovers. *handled: some hook said
    // it handled the command. Returns the first hook error. Run inside
    // another command (the host's menu used during its event loop), it
    // leaves the leftovers to that one.
    A_Err runCommand(AEGP_Command command, bool* handled = nullptr);

    CallLog& log();
    FaultInjector& faults();
    PersistentStore& prefs();
    // The handles outstanding right now (suite acquisitions are balanced per
    // command: see lastCommandLeaks()).
    LeakCounters leaks() const;
    // What was outstanding when the last command hook returned.
    const LeakCounters& lastCommandLeaks() const { return lastLeaks_; }
    const std::vector<UndoGroupRecord>& undoGroups() const;
    const std::vector<std::string>& ungroupedMutations() const;
    // The host's undo of the newest closed outermost undo group that is not
    // undone yet: the project becomes what it was when that group opened
    // (its dump byte for byte), and every handle the plug-in holds into it
    // goes stale. *name (when given) gets the group's name. False, changing
    // nothing, while a group is open or when there is nothing to undo.
    bool undoLastGroup(std::string* name = nullptr);
    // Texts given to ReportInfo, in order.
    const std::vector<std::string>& reports() const;

    // The suites' state, for tests that need a handle table or the undo log.
    SuiteContext& context() { return *context_; }

private:
    void install();

    std::unique_ptr<SuiteContext> context_;
    A_long major_ = 18;
    A_long minor_ = 0;
    AEGP_GlobalRefcon refcon_ = nullptr;
    LeakCounters lastLeaks_;
    int commandDepth_ = 0;
};

} // namespace standin
