// The plug-in's entry, its menu hook and the command's start-up reads,
// against the stand-in host. No window is opened here.
#include "StandinFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/StartupQueries.h"

#include <QCoreApplication>

#include <string>

namespace {

using testing_standin::Host;

const QByteArray kProject = R"({
    "format": "zolvar-standin-project",
    "folders": [{"name": "Assets"}],
    "footage": [{"name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
                      "layers": [{"type": "solid", "name": "Box", "source": "Red"}]}],
    "activeItem": "Main"
})";

const char kRegisterFailure[] = "Zolvar Error: Could not register command hook.";

TEST(EntryPoint, AddsTheCommandAtTheBottomOfTheCompositionMenu)
{
    Host host(kProject, false);
    host.session->setHostVersion(17, 1);
    ASSERT_EQ(host.session->callEntryPoint(&EntryPointFunc), A_Err_NONE);
    ASSERT_EQ(host.session->menuItems().size(), 1u);
    const standin::MenuItem& item = host.session->menuItems()[0];
    EXPECT_EQ(item.text, "Zolvar 2...");
    EXPECT_EQ(item.menu, AEGP_Menu_COMPOSITION);
    EXPECT_EQ(item.position, AEGP_MENU_INSERT_AT_BOTTOM);
    EXPECT_EQ(item.command, S_Zolvar_cmd);
    EXPECT_EQ(S_my_id, Host::kPluginId);
    EXPECT_EQ(ae_major_version, 17);
    EXPECT_EQ(ae_minor_version, 1);
    EXPECT_TRUE(host.session->reports().empty());
}

// A project the stand-in refuses fails the test that gave it, with the
// reason, rather than ending the whole program.
TEST(EntryPoint, AProjectTheStandInRefusesFailsOnlyItsTest)
{
    EXPECT_THROW(Host(QByteArray(kProject).replace("\"source\": \"Red\"", "\"source\": \"Blue\""), false),
                 std::runtime_error);
}

TEST(EntryPoint, MenuIsEnabledOnlyForAComposition)
{
    Host host(kProject);
    standin::Project& project = *host.project;
    const auto enabled = [&] {
        EXPECT_EQ(host.session->updateMenus(), A_Err_NONE);
        return host.session->findMenuItem("Zolvar 2...")->enabled;
    };

    EXPECT_TRUE(enabled());
    project.setActiveItem(project.itemByName(QStringLiteral("Red"), standin::ItemType::Footage));
    EXPECT_FALSE(enabled());
    project.setActiveComp(QStringLiteral("Main"));
    EXPECT_TRUE(enabled());
    project.setActiveItem(project.itemByName(QStringLiteral("Assets"), standin::ItemType::Folder));
    EXPECT_FALSE(enabled());
    project.setActiveItem(nullptr);
    EXPECT_FALSE(enabled());
}

TEST(EntryPoint, FailedRegistrationIsReportedAndTheFirstErrorReturned)
{
    // Each step that can fail: the command, the menu item, both hooks.
    const struct {
        const char* suite;
        int slot;
        size_t menuItems;
    } steps[] = {
        {kAEGPCommandSuite, 0, 0},
        {kAEGPCommandSuite, 1, 0},
        {kAEGPRegisterSuite, 0, 1},
        {kAEGPRegisterSuite, 1, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.suite) + " slot " + std::to_string(step.slot));
        Host host(kProject, false);
        host.session->faults().failNth(step.suite, standin::FaultInjector::kAnyVersion, step.slot, 1, 42);
        EXPECT_EQ(host.session->callEntryPoint(&EntryPointFunc), 42);
        ASSERT_EQ(host.session->reports().size(), 1u);
        EXPECT_EQ(host.session->reports()[0], kRegisterFailure);
        EXPECT_EQ(host.session->menuItems().size(), step.menuItems);
    }

    // The report failing too changes nothing.
    Host host(kProject, false);
    host.session->faults().failNth(kAEGPRegisterSuite, standin::FaultInjector::kAnyVersion, 1, 1, 42);
    host.session->faults().failNth(kAEGPUtilitySuite, standin::FaultInjector::kAnyVersion, 0, 1, 43);
    EXPECT_EQ(host.session->callEntryPoint(&EntryPointFunc), 42);
}

TEST(EntryPoint, MissingSuitesReturn516InsteadOfTerminating)
{
    {
        Host host(kProject, false);
        host.session->registry().withhold(kAEGPCommandSuite, kAEGPCommandSuiteVersion1);
        EXPECT_EQ(host.session->callEntryPoint(&EntryPointFunc), kMissingSuiteError);
        ASSERT_EQ(host.session->reports().size(), 1u);
        EXPECT_EQ(host.session->reports()[0], kRegisterFailure);
        EXPECT_EQ(host.session->registry().outstandingTotal(), 0);
    }
    {
        Host host(kProject);
        host.session->registry().withhold(kAEGPItemSuite, kAEGPItemSuiteVersion8);
        EXPECT_EQ(host.session->updateMenus(), kMissingSuiteError);

        bool handled = false;
        host.session->registry().withhold(kAEGPItemSuite, kAEGPItemSuiteVersion8, false);
        host.session->registry().withhold(kAEGPProjSuite, kAEGPProjSuiteVersion5);
        EXPECT_EQ(host.session->runCommand(host.command(), &handled), kMissingSuiteError);
        EXPECT_TRUE(handled);
        EXPECT_TRUE(host.session->lastCommandLeaks().none()) << host.session->lastCommandLeaks().describe();
        EXPECT_EQ(QCoreApplication::instance(), nullptr);
    }
    // Without a basic suite at all.
    EXPECT_EQ(EntryPointFunc(nullptr, 18, 0, 1, nullptr), kMissingSuiteError);
}

TEST(Command, NoActiveItemOpensNothingAndOtherCommandsPassThrough)
{
    Host host(kProject);
    host.project->setActiveItem(nullptr);
    bool handled = false;
    EXPECT_EQ(host.session->runCommand(host.command(), &handled), A_Err_NONE);
    EXPECT_TRUE(handled);
    EXPECT_EQ(QCoreApplication::instance(), nullptr) << "no application without an active item";
    EXPECT_TRUE(host.session->lastCommandLeaks().none()) << host.session->lastCommandLeaks().describe();

    EXPECT_EQ(host.session->runCommand(host.command() + 1, &handled), A_Err_NONE);
    EXPECT_FALSE(handled);
}

TEST(StartupReads, NamesAreCutAtTheirLastDot)
{
    Host host(kProject);
    StartupNames names;
    EXPECT_EQ(ReadStartupNames(host.session->basicSuite(), Host::kPluginId, names), A_Err_NONE);
    EXPECT_TRUE(names.hasActiveItem);
    EXPECT_EQ(names.projectPath, QStringLiteral("/projects/shot.final"));
    EXPECT_EQ(names.projectName, QStringLiteral("shot.final"));
    EXPECT_EQ(names.itemName, QStringLiteral("Main"));
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();

    host.project->setName(QStringLiteral("Untitled Project"));
    names = StartupNames();
    ReadStartupNames(host.session->basicSuite(), Host::kPluginId, names);
    EXPECT_EQ(names.projectName, QString());
}

TEST(StartupReads, ALaterFailureStillFindsTheItem)
{
    Host host(kProject);
    host.session->faults().failNth(kAEGPItemSuite, standin::FaultInjector::kAnyVersion, 7, 1, 42);
    StartupNames names;
    EXPECT_EQ(ReadStartupNames(host.session->basicSuite(), Host::kPluginId, names), 42);
    EXPECT_TRUE(names.hasActiveItem);
    EXPECT_EQ(names.itemName, QString());

    // A failure before the active item is read means no item.
    host.session->faults().failNth(kAEGPProjSuite, standin::FaultInjector::kAnyVersion, 3, 1, 43);
    names = StartupNames();
    EXPECT_EQ(ReadStartupNames(host.session->basicSuite(), Host::kPluginId, names), 43);
    EXPECT_FALSE(names.hasActiveItem);
    EXPECT_TRUE(host.session->leaks().none()) << host.session->leaks().describe();
}

TEST(StartupReads, AutoLoadChoicesAndAPathOfAnyLength)
{
    Host host(kProject);
    AutoLoadPrefs prefs;
    EXPECT_EQ(ReadAutoLoadPrefs(host.session->basicSuite(), prefs), A_Err_NONE);
    EXPECT_EQ(prefs.autoLoadSave, 0);
    EXPECT_TRUE(prefs.settingsFile.isEmpty());
    EXPECT_EQ(prefs.bodyIdentification, 0);

    // Far longer than the 260 bytes a fixed buffer would hold.
    std::string path = "/home/someone";
    while (path.size() < 700)
        path += "/a folder with a long name";
    path += "/.zolvar_autosave.xml";
    for (const std::string& stored : {path, std::string(259, 'x'), std::string(260, 'y'), std::string(261, 'z')}) {
        host.session->prefs().set(kPrefsSection, kAutoLoadSaveKey, "1");
        host.session->prefs().set(kPrefsSection, kAutoSavedFileKey, stored);
        host.session->prefs().set(kPrefsSection, kAutoLoadBodyIdKey, "2");
        prefs = AutoLoadPrefs();
        EXPECT_EQ(ReadAutoLoadPrefs(host.session->basicSuite(), prefs), A_Err_NONE);
        EXPECT_EQ(prefs.autoLoadSave, 1);
        EXPECT_EQ(prefs.settingsFile.toStdString(), stored);
        EXPECT_EQ(prefs.bodyIdentification, 2);
    }
}

} // namespace
