// A small fake plug-in driven through the session: entry point, menu,
// command and update-menu hooks, reports, leftovers and suite balance.
#include "SuiteFixture.h"

using namespace standin;

namespace {

struct FakePlugin {
    SPBasicSuite* basic = nullptr;
    AEGP_PluginID id = 0;
    A_long major = 0;
    AEGP_Command command = 0;
    int commandCalls = 0;
    bool leakOnCommand = false;
    int refconSeen = 0;
};
FakePlugin g_plugin;
int g_refcon = 42;

A_Err commandHook(AEGP_GlobalRefcon refcon, AEGP_CommandRefcon, AEGP_Command command, AEGP_HookPriority,
                  A_Boolean, A_Boolean* handledPB)
{
    g_plugin.refconSeen = *static_cast<int*>(refcon);
    *handledPB = command == g_plugin.command;
    if (!*handledPB)
        return A_Err_NONE;
    ++g_plugin.commandCalls;
    if (g_plugin.leakOnCommand) {
        AEGP_SuiteHandler suites(g_plugin.basic);
        AEGP_ItemH item = nullptr;
        AEGP_CompH comp = nullptr;
        AEGP_LayerH layer = nullptr;
        AEGP_StreamRefH stream = nullptr;
        suites.ItemSuite8()->AEGP_GetActiveItem(&item);
        suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp);
        suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 0, &layer);
        suites.StreamSuite4()->AEGP_GetNewLayerStream(g_plugin.id, layer, AEGP_LayerStream_POSITION, &stream);
        suites.UtilitySuite5()->AEGP_StartUndoGroup("never closed");
        const void* extra = nullptr;
        g_plugin.basic->AcquireSuite(kAEGPMemorySuite, kAEGPMemorySuiteVersion1, &extra);
    }
    return A_Err_NONE;
}

A_Err updateMenuHook(AEGP_GlobalRefcon, AEGP_UpdateMenuRefcon, AEGP_WindowType)
{
    AEGP_SuiteHandler suites(g_plugin.basic);
    AEGP_ItemH item = nullptr;
    AEGP_ItemType type = AEGP_ItemType_NONE;
    suites.ItemSuite8()->AEGP_GetActiveItem(&item);
    if (item)
        suites.ItemSuite8()->AEGP_GetItemType(item, &type);
    return type == AEGP_ItemType_COMP ? suites.CommandSuite1()->AEGP_EnableCommand(g_plugin.command)
                                      : suites.CommandSuite1()->AEGP_DisableCommand(g_plugin.command);
}

A_Err entryPoint(SPBasicSuite* basic, A_long major, A_long, AEGP_PluginID id, AEGP_GlobalRefcon* refcon)
{
    g_plugin.basic = basic;
    g_plugin.id = id;
    g_plugin.major = major;
    *refcon = &g_refcon;
    AEGP_SuiteHandler suites(basic);
    A_Err err = suites.CommandSuite1()->AEGP_GetUniqueCommand(&g_plugin.command);
    if (!err)
        err = suites.CommandSuite1()->AEGP_InsertMenuCommand(g_plugin.command, "Zolvar 2...", AEGP_Menu_COMPOSITION,
                                                             AEGP_MENU_INSERT_AT_BOTTOM);
    if (!err)
        err = suites.RegisterSuite5()->AEGP_RegisterCommandHook(id, AEGP_HP_BeforeAE, AEGP_Command_ALL, commandHook,
                                                               nullptr);
    if (!err)
        err = suites.RegisterSuite5()->AEGP_RegisterUpdateMenuHook(id, updateMenuHook, nullptr);
    if (err)
        suites.UtilitySuite3()->AEGP_ReportInfo(id, "Zolvar Error: Could not register command hook.");
    return err;
}

class CommandHookTest : public SuiteFixture
{
protected:
    void SetUp() override
    {
        SuiteFixture::SetUp();
        g_plugin = FakePlugin();
        addLayer(LayerKind::Solid, QStringLiteral("Box"));
    }
};

TEST_F(CommandHookTest, EntryPointRegistersMenuItemAndHooks)
{
    session_->setHostVersion(17, 0);
    ASSERT_EQ(session_->callEntryPoint(entryPoint), A_Err_NONE);
    EXPECT_EQ(g_plugin.major, 17);
    EXPECT_EQ(g_plugin.id, kPluginId);
    EXPECT_GE(g_plugin.command, 1000);
    const MenuItem* item = session_->findMenuItem("Zolvar 2...");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->command, g_plugin.command);
    EXPECT_EQ(item->menu, AEGP_Menu_COMPOSITION);
    EXPECT_EQ(item->position, AEGP_MENU_INSERT_AT_BOTTOM);
    EXPECT_EQ(session_->globalRefcon(), &g_refcon);
}

TEST_F(CommandHookTest, UpdateMenusFollowsTheActiveItem)
{
    ASSERT_EQ(session_->callEntryPoint(entryPoint), A_Err_NONE);
    EXPECT_EQ(session_->updateMenus(), A_Err_NONE);
    EXPECT_TRUE(session_->findMenuItem("Zolvar 2...")->enabled);
    project_->setActiveItem(nullptr);
    EXPECT_EQ(session_->updateMenus(), A_Err_NONE);
    EXPECT_FALSE(session_->findMenuItem("Zolvar 2...")->enabled);
}

TEST_F(CommandHookTest, RunCommandCallsHooksAndReportsHandled)
{
    ASSERT_EQ(session_->callEntryPoint(entryPoint), A_Err_NONE);
    bool handled = false;
    EXPECT_EQ(session_->runCommand(g_plugin.command, &handled), A_Err_NONE);
    EXPECT_TRUE(handled);
    EXPECT_EQ(g_plugin.commandCalls, 1);
    EXPECT_EQ(g_plugin.refconSeen, 42);
    EXPECT_EQ(session_->runCommand(g_plugin.command + 1, &handled), A_Err_NONE);
    EXPECT_FALSE(handled) << "a hook for every command sees others but leaves them alone";
    EXPECT_EQ(g_plugin.commandCalls, 1);
    EXPECT_TRUE(session_->lastCommandLeaks().none()) << session_->lastCommandLeaks().describe();
}

TEST_F(CommandHookTest, LeftoversAreCountedThenFreedWhenTheCommandReturns)
{
    ASSERT_EQ(session_->callEntryPoint(entryPoint), A_Err_NONE);
    g_plugin.leakOnCommand = true;
    ASSERT_EQ(session_->runCommand(g_plugin.command), A_Err_NONE);
    const LeakCounters& leaks = session_->lastCommandLeaks();
    EXPECT_EQ(leaks.streamRefs, 1);
    EXPECT_EQ(leaks.openUndoGroups, 1);
    EXPECT_EQ(leaks.suiteAcquisitions, 1);
    EXPECT_EQ(session_->leaks().streamRefs, 0);
    EXPECT_EQ(session_->leaks().openUndoGroups, 0);
    ASSERT_EQ(session_->undoGroups().size(), 1u);
    EXPECT_TRUE(session_->undoGroups()[0].closedByHost);
    session_->basicSuite()->ReleaseSuite(kAEGPMemorySuite, kAEGPMemorySuiteVersion1);
}

TEST_F(CommandHookTest, FailedRegistrationIsReportedToTheUser)
{
    session_->faults().failNth(kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5, 0, 1);
    EXPECT_EQ(session_->callEntryPoint(entryPoint), STANDIN_ERR_INJECTED);
    ASSERT_EQ(session_->reports().size(), 1u);
    EXPECT_EQ(session_->reports()[0], "Zolvar Error: Could not register command hook.");
}

TEST_F(CommandHookTest, MenuCommandsMustBeIssuedByTheHost)
{
    const AEGP_CommandSuite1* commands = suites_->CommandSuite1();
    EXPECT_EQ(commands->AEGP_InsertMenuCommand(0, "Zero", AEGP_Menu_COMPOSITION, -1), A_Err_PARAMETER);
    EXPECT_EQ(commands->AEGP_InsertMenuCommand(999, "Foreign", AEGP_Menu_COMPOSITION, -1), A_Err_PARAMETER);
    EXPECT_EQ(commands->AEGP_EnableCommand(1000), A_Err_PARAMETER);
    AEGP_Command a = 0, b = 0;
    commands->AEGP_GetUniqueCommand(&a);
    commands->AEGP_GetUniqueCommand(&b);
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(commands->AEGP_InsertMenuCommand(a, "Bottom", AEGP_Menu_COMPOSITION, -1), A_Err_NONE);
    EXPECT_EQ(commands->AEGP_InsertMenuCommand(b, "Top", AEGP_Menu_COMPOSITION, 0), A_Err_NONE);
    ASSERT_EQ(session_->menuItems().size(), 2u);
    EXPECT_EQ(session_->menuItems()[0].text, "Top");
}

} // namespace
