#include "HostSession.h"

#include "SuiteContext.h"
#include "SuiteTables.h"

#include <cstdio>
#include <stdexcept>
#include <thread>

namespace standin {

HostSession::HostSession(Project& project, AEGP_PluginID pluginId)
    : context_(std::make_unique<SuiteContext>(project, pluginId, std::make_unique<PersistentStore>()))
{
    install();
}

HostSession::HostSession(Project& project, AEGP_PluginID pluginId, const std::string& prefsPath)
    : context_(std::make_unique<SuiteContext>(project, pluginId, std::make_unique<PersistentStore>(prefsPath)))
{
    install();
}

void HostSession::install()
{
    if (SuiteContext::current())
        throw std::logic_error("standin: only one host session may exist at a time");
    SuiteContext::setCurrent(context_.get());
    SuiteRegistry& r = registry();
#define STANDIN_ADD_SUITE(ACCESSOR, TYPE, NAME, VERSION) r.add(NAME, VERSION, ACCESSOR##Table());
    STANDIN_SUITE_LIST(STANDIN_ADD_SUITE)
#undef STANDIN_ADD_SUITE
    r.resetCounters();
}

HostSession::~HostSession()
{
    SuiteRegistry& r = registry();
#define STANDIN_REMOVE_SUITE(ACCESSOR, TYPE, NAME, VERSION) r.remove(NAME, VERSION);
    STANDIN_SUITE_LIST(STANDIN_REMOVE_SUITE)
#undef STANDIN_REMOVE_SUITE
    SuiteContext::setCurrent(nullptr);
}

Project& HostSession::project() { return context_->project; }
AEGP_PluginID HostSession::pluginId() const { return context_->pluginId; }
SPBasicSuite* HostSession::basicSuite() { return registry().basicSuite(); }
SuiteRegistry& HostSession::registry() { return SuiteRegistry::instance(); }

void HostSession::setHostVersion(A_long major, A_long minor)
{
    major_ = major;
    minor_ = minor;
}

A_Err HostSession::callEntryPoint(AEGP_EntryPointFunc entry)
{
    if (!entry)
        return A_Err_PARAMETER;
    context_->mainThread = std::this_thread::get_id();
    return entry(basicSuite(), major_, minor_, context_->pluginId, &refcon_);
}

A_Err HostSession::updateMenus()
{
    A_Err first = A_Err_NONE;
    // A hook may register further hooks: iterate over a copy.
    const std::vector<UpdateMenuHookEntry> hooks = context_->commands.updateMenuHooks();
    for (const UpdateMenuHookEntry& entry : hooks) {
        const A_Err err = entry.hook(refcon_, entry.refcon, 0);
        if (err && !first)
            first = err;
    }
    return first;
}

const std::vector<MenuItem>& HostSession::menuItems() const { return context_->commands.menuItems(); }

const MenuItem* HostSession::findMenuItem(const std::string& text) const
{
    for (const MenuItem& item : menuItems()) {
        if (item.text == text)
            return &item;
    }
    return nullptr;
}

A_Err HostSession::runCommand(AEGP_Command command, bool* handled)
{
    // A command run while another runs (the host's menu used inside the
    // first one's event loop) leaves what is held to the outer one: what
    // the first holds is not the second's leftover.
    const bool outermost = commandDepth_++ == 0;
    const int outstandingBefore = registry().outstandingTotal();
    const int overReleasesBefore = registry().unbalancedReleases();
    bool anyHandled = false;
    A_Err first = A_Err_NONE;
    const std::vector<CommandHookEntry> hooks = context_->commands.commandHooks();
    for (const CommandHookEntry& entry : hooks) {
        if (entry.command != AEGP_Command_ALL && entry.command != command)
            continue;
        A_Boolean handledB = 0;
        const A_Err err = entry.hook(refcon_, entry.refcon, command, entry.priority, 0, &handledB);
        anyHandled = anyHandled || handledB;
        if (err && !first)
            first = err;
    }
    --commandDepth_;
    if (handled)
        *handled = anyHandled;
    if (!outermost)
        return first;
    lastLeaks_ = context_->releaseLeftovers();
    lastLeaks_.suiteAcquisitions = registry().outstandingTotal() - outstandingBefore;
    lastLeaks_.suiteOverReleases = registry().unbalancedReleases() - overReleasesBefore;
    if (!lastLeaks_.none())
        std::fprintf(stderr, "standin: command %d left behind: %s\n", int(command), lastLeaks_.describe().c_str());
    return first;
}

CallLog& HostSession::log() { return context_->log; }
FaultInjector& HostSession::faults() { return context_->faults; }
PersistentStore& HostSession::prefs() { return *context_->prefs; }
LeakCounters HostSession::leaks() const { return context_->live(); }
const std::vector<UndoGroupRecord>& HostSession::undoGroups() const { return context_->undo.groups(); }
const std::vector<std::string>& HostSession::ungroupedMutations() const
{
    return context_->undo.ungroupedMutations();
}
bool HostSession::undoLastGroup(std::string* name)
{
    const int group = context_->undo.undoableGroup();
    if (group < 0)
        return false;
    const std::string groupName = context_->undo.groups()[size_t(group)].name;
    const std::string& before = context_->undo.undoImage();
    if (!context_->project.restoreFromJson(QByteArray(before.data(), qsizetype(before.size()))))
        return false;
    context_->undo.markUndone();
    if (name)
        *name = groupName;
    return true;
}

const std::vector<std::string>& HostSession::reports() const { return context_->reports; }

} // namespace standin
