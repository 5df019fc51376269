// The eight docks, their Panel-menu check marks and the layout kept between
// runs.
#include "WindowFixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QTest>

namespace {

using namespace window_test;

struct DockRow
{
    QDockWidget* Ui_ZolvarDlgClass::*dock;
    QAction* Ui_ZolvarDlgClass::*action;
};

const DockRow kDocks[] = {
    {&Ui_ZolvarDlgClass::bodiesDockWidget, &Ui_ZolvarDlgClass::dockBodies},
    {&Ui_ZolvarDlgClass::jointsDockWidget, &Ui_ZolvarDlgClass::dockJoints},
    {&Ui_ZolvarDlgClass::globalPropertiesDockWidget, &Ui_ZolvarDlgClass::dockGlobalProperties},
    {&Ui_ZolvarDlgClass::bodyPropertiesDockWidget, &Ui_ZolvarDlgClass::dockBodyProperties},
    {&Ui_ZolvarDlgClass::jointPropertiesDockWidget, &Ui_ZolvarDlgClass::dockJointProperties},
    {&Ui_ZolvarDlgClass::exportDockWidget, &Ui_ZolvarDlgClass::dockExport},
    {&Ui_ZolvarDlgClass::infoDockWidget, &Ui_ZolvarDlgClass::dockInfo},
    {&Ui_ZolvarDlgClass::actionsHistoryDockWidget, &Ui_ZolvarDlgClass::dockActionsHistory},
};

class WindowLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearLayoutStore();
        host = makeHost();
    }

    std::unique_ptr<ZolvarDlg> openWindow()
    {
        auto window = makeWindow(*host);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    // Every check mark tells its dock's visibility; returns the docks that
    // are visible, as a string of 0 and 1 in table order.
    static std::string checkMarksFollow(const ZolvarDlg& window)
    {
        std::string visible;
        for (const DockRow& row : kDocks) {
            QDockWidget* dock = window.form().*row.dock;
            EXPECT_EQ((window.form().*row.action)->isChecked(), dock->isVisible())
                << dock->objectName().toStdString();
            visible += dock->isVisible() ? '1' : '0';
        }
        return visible;
    }

    std::unique_ptr<Host> host;
};

TEST_F(WindowLayout, EveryDockHasItsObjectName)
{
    auto window = makeWindow(*host);
    for (const DockRow& row : kDocks)
        EXPECT_FALSE((window->form().*row.dock)->objectName().isEmpty());
}

TEST_F(WindowLayout, PanelMenuTogglesADockAndItsCheckMarkTogether)
{
    auto window = openWindow();
    const Ui::ZolvarDlgClass& ui = window->form();
    EXPECT_EQ(checkMarksFollow(*window).substr(0, 7), "1111111");

    ui.dockBodies->trigger();
    EXPECT_FALSE(ui.bodiesDockWidget->isVisible());
    EXPECT_FALSE(ui.dockBodies->isChecked());
    ui.dockBodies->trigger();
    EXPECT_TRUE(ui.bodiesDockWidget->isVisible());
    EXPECT_TRUE(ui.dockBodies->isChecked());

    // Closed by its title-bar button: the mirror clears the mark.
    ui.exportDockWidget->close();
    EXPECT_FALSE(ui.dockExport->isChecked());
    EXPECT_EQ(checkMarksFollow(*window).substr(0, 7), "1111101");
}

TEST_F(WindowLayout, ToggleAllFollowsTheInformationDock)
{
    auto window = openWindow();
    const Ui::ZolvarDlgClass& ui = window->form();
    ui.jointsDockWidget->hide();
    ui.toggleAll->trigger();
    EXPECT_EQ(checkMarksFollow(*window), "00000000") << "all hidden, also the one hidden before";
    ui.toggleAll->trigger();
    EXPECT_EQ(checkMarksFollow(*window).substr(0, 7), "1111111") << "all shown";

    // With the information dock hidden and the rest visible, all are shown.
    ui.infoDockWidget->hide();
    ui.toggleAll->trigger();
    EXPECT_TRUE(ui.infoDockWidget->isVisible());
    EXPECT_TRUE(ui.bodiesDockWidget->isVisible());
    checkMarksFollow(*window);
}

TEST_F(WindowLayout, ResetToDefaultLayoutLeavesNoStaleCheckMark)
{
    auto window = openWindow();
    const Ui::ZolvarDlgClass& ui = window->form();
    const std::string asBuilt = checkMarksFollow(*window);

    ui.globalPropertiesDockWidget->hide();
    ui.jointPropertiesDockWidget->hide();
    ui.bodiesDockWidget->hide();
    window->removeDockWidget(ui.infoDockWidget);
    ui.actionDefaultLayout->trigger();

    EXPECT_EQ(checkMarksFollow(*window), asBuilt);
    EXPECT_TRUE(ui.globalPropertiesDockWidget->isVisible());
    EXPECT_TRUE(ui.infoDockWidget->isVisible());

    // The mirrors are connected again afterwards.
    ui.jointsDockWidget->close();
    EXPECT_FALSE(ui.dockJoints->isChecked());
}

TEST_F(WindowLayout, FirstRunStoresTheDefaultAndTheCurrentLayout)
{
    auto window = makeWindow(*host);
    QSettings store = layoutStore();
    EXPECT_TRUE(store.contains("zolvarDlgGeometry"));
    EXPECT_TRUE(store.contains("zolvarDlgWindowState"));
    EXPECT_TRUE(store.contains("zolvarDlgDfltWindowState"));
    EXPECT_EQ(store.value("zolvarDlgDfltWindowState").toByteArray(), window->saveState(0));
}

// No dock floats: one left floating is stored docked, and a layout stored
// with a floating dock (by an older run) comes back docked, the default too.
TEST_F(WindowLayout, TheLayoutComesBackOnTheNextRun)
{
    QByteArray defaultState;
    QByteArray floatingState;
    {
        auto window = openWindow();
        defaultState = layoutStore().value("zolvarDlgDfltWindowState").toByteArray();
        window->form().globalPropertiesDockWidget->hide();
        window->form().exportDockWidget->setFloating(true);
        floatingState = window->saveState(0);
        window->saveDlgSettings();
        EXPECT_FALSE(window->form().exportDockWidget->isFloating());
    }
    QByteArray savedState = layoutStore().value("zolvarDlgWindowState").toByteArray();
    {
        auto window = openWindow();
        EXPECT_FALSE(window->form().globalPropertiesDockWidget->isVisible());
        EXPECT_FALSE(window->form().dockGlobalProperties->isChecked());
        EXPECT_FALSE(window->form().exportDockWidget->isFloating());
        QSettings store = layoutStore();
        EXPECT_EQ(store.value("zolvarDlgDfltWindowState").toByteArray(), defaultState)
            << "a later run never overwrites the default";
        EXPECT_EQ(store.value("zolvarDlgWindowState").toByteArray(), savedState) << "nothing stored at construction";

        // The default layout is the one of the first run.
        window->form().actionDefaultLayout->trigger();
        EXPECT_TRUE(window->form().globalPropertiesDockWidget->isVisible());
        EXPECT_TRUE(window->form().dockGlobalProperties->isChecked());
        EXPECT_FALSE(window->form().exportDockWidget->isFloating());
    }
    layoutStore().setValue("zolvarDlgWindowState", floatingState);
    layoutStore().setValue("zolvarDlgDfltWindowState", floatingState);
    auto window = openWindow();
    EXPECT_FALSE(window->form().exportDockWidget->isFloating());
    EXPECT_TRUE(window->form().exportDockWidget->isVisible());
    window->form().actionDefaultLayout->trigger();
    EXPECT_FALSE(window->form().exportDockWidget->isFloating());
}

TEST_F(WindowLayout, AStoreWithoutTheWindowStateStoresAFreshDefault)
{
    {
        auto window = makeWindow(*host);
    }
    {
        QSettings store = layoutStore();
        store.remove("zolvarDlgWindowState");
        store.setValue("zolvarDlgDfltWindowState", QByteArray("stale"));
    }
    auto window = makeWindow(*host);
    QSettings store = layoutStore();
    EXPECT_TRUE(store.contains("zolvarDlgWindowState"));
    EXPECT_EQ(store.value("zolvarDlgDfltWindowState").toByteArray(), window->saveState(0));
}

} // namespace
