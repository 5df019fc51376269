// Loading the plug-in module from a Plug-ins folder, and its entry point
// reached through the host session: the menu item it adds and enables.
#include "PluginModule.h"

#include "project/Project.h"
#include "suites/HostSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace standin;

namespace {

std::string bundleModule(const QTemporaryDir& dir, const char* name)
{
    const QString linuxDir = dir.filePath(QStringLiteral("%1.plugin/Contents/Linux").arg(name));
    QDir().mkpath(linuxDir);
    return QStringLiteral("%1/%2.so").arg(linuxDir, name).toStdString();
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::unique_ptr<Project> projectWithComposition(bool active)
{
    auto project = std::make_unique<Project>();
    auto comp = std::make_shared<Composition>();
    comp->setName(QStringLiteral("Main"));
    project->addItem(comp);
    project->setActiveItem(active ? comp.get() : nullptr);
    return project;
}

} // namespace

TEST(PluginModule, RefusalsNameThePathAndTheReason)
{
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    PluginModule module;

    EXPECT_FALSE(module.load(root + "/nowhere"));
    EXPECT_TRUE(contains(module.error(), root + "/nowhere")) << module.error();
    EXPECT_EQ(module.entryPoint(), nullptr);

    EXPECT_FALSE(module.load(root));
    EXPECT_TRUE(contains(module.error(), "Zolvar.plugin/Contents/Linux/Zolvar.so")) << module.error();
    EXPECT_TRUE(contains(module.error(), "missing")) << module.error();

    // Not a shared object at all.
    const std::string garbage = bundleModule(dir, "Zolvar");
    QFile f(QString::fromStdString(garbage));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho not a module\n");
    f.close();
    EXPECT_FALSE(module.load(root));
    EXPECT_TRUE(contains(module.error(), garbage + ": cannot load")) << module.error();

    // A real module without the entry point.
    const std::string fake = bundleModule(dir, "Fake");
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_MODULE_PATH), QString::fromStdString(fake)));
    EXPECT_FALSE(module.load(root, "Fake"));
    EXPECT_TRUE(contains(module.error(), "no EntryPointFunc")) << module.error();
    EXPECT_EQ(module.entryPoint(), nullptr);
}

TEST(PluginModule, EntryPointAddsItsCommandToTheCompositionMenu)
{
    PluginModule module;
    ASSERT_TRUE(module.load(ZOLVAR_PLUGINS_DIR)) << module.error();
    EXPECT_EQ(module.path(), PluginModule::modulePath(ZOLVAR_PLUGINS_DIR, "Zolvar"));
    ASSERT_NE(module.entryPoint(), nullptr);

    {
        auto project = projectWithComposition(true);
        HostSession session(*project, 1, std::string());
        ASSERT_EQ(session.callEntryPoint(module.entryPoint()), A_Err_NONE);
        ASSERT_EQ(session.updateMenus(), A_Err_NONE);
        const HostSession::MenuItem* item = session.findMenuItem("Zolvar 2...");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->menu, AEGP_Menu_COMPOSITION);
        EXPECT_EQ(item->position, -1);
        EXPECT_TRUE(item->enabled);
        EXPECT_NE(item->command, 0);
        EXPECT_EQ(session.menuItems().size(), 1u);
        EXPECT_EQ(session.log().count("AEGP_RegisterCommandHook"), 1u);
        EXPECT_EQ(session.log().count("AEGP_RegisterUpdateMenuHook"), 1u);
        EXPECT_TRUE(session.log().failures().empty());
        EXPECT_TRUE(session.leaks().none()) << session.leaks().describe();
    }

    // Without an active composition the command is offered but disabled.
    {
        auto project = projectWithComposition(false);
        HostSession session(*project, 1, std::string());
        ASSERT_EQ(session.callEntryPoint(module.entryPoint()), A_Err_NONE);
        ASSERT_EQ(session.updateMenus(), A_Err_NONE);
        const HostSession::MenuItem* item = session.findMenuItem("Zolvar 2...");
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->enabled);
    }
}
