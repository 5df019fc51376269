// At its default size, in the application's own style and font, the main
// window shows every label and control of every dock whole: on every tab of
// the property panels, in the layout as first built, after "Reset to Default
// Layout" and in the layout restored on the next run.
#include "WidgetFit.h"
#include "WindowFixture.h"

#include "host/ZolvarGUI.h"

#include <gtest/gtest.h>

#include <QDockWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabWidget>

namespace {

using namespace window_test;

// The look the plug-in gives its application when it starts.
void useApplicationLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    setAppFont(&testApp());
}

// The central area, then every visible dock, with each tab of each of its tab
// widgets brought to the front in turn; the docks stacked behind another are
// raised one by one.
QStringList clippedInWindow(ZolvarDlg& window)
{
    QStringList found = widget_fit::clipped(window.form().centralWidget, &window, QStringLiteral("Central area"));
    const QList<QDockWidget*> docks = window.findChildren<QDockWidget*>();
    for (QDockWidget* dock : docks) {
        if (!dock->isVisibleTo(&window))
            continue;
        dock->raise();
        widget_fit::settle(&window);
        const QList<QTabWidget*> tabs = dock->findChildren<QTabWidget*>();
        if (tabs.isEmpty())
            found << widget_fit::clipped(dock, &window, dock->windowTitle());
        for (QTabWidget* tab : tabs) {
            const int was = tab->currentIndex();
            for (int i = 0; i < tab->count(); ++i) {
                tab->setCurrentIndex(i);
                widget_fit::settle(&window);
                found << widget_fit::clipped(dock, &window, dock->windowTitle() + QStringLiteral(" / ") + tab->tabText(i));
            }
            tab->setCurrentIndex(was);
        }
    }
    found.removeDuplicates();
    return found;
}

class LayoutFit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        useApplicationLook();
        clearLayoutStore();
        host = makeHost();
    }

    void useProject(const QByteArray& project)
    {
        host.reset();
        host = makeHost(18, 0, project);
    }

    std::unique_ptr<ZolvarDlg> openWindow()
    {
        auto window = makeWindow(*host);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->simulationView()->getTimer()->stop();
        widget_fit::settle(window.get());
        return window;
    }

    std::unique_ptr<Host> host;
};

TEST_F(LayoutFit, EveryDockIsWholeAtTheDefaultWindowSize)
{
    auto window = openWindow();
    EXPECT_EQ(window->size(), QSize(1306, 850));
    EXPECT_EQ(clippedInWindow(*window).join(QLatin1Char('\n')), QString());
}

TEST_F(LayoutFit, EveryDockIsWholeAfterResetToDefaultLayout)
{
    auto window = openWindow();
    const Ui::ZolvarDlgClass& ui = window->form();
    ui.bodyPropertiesDockWidget->hide();
    window->removeDockWidget(ui.globalPropertiesDockWidget);
    window->addDockWidget(Qt::LeftDockWidgetArea, ui.globalPropertiesDockWidget);
    ui.globalPropertiesDockWidget->show();
    ui.actionDefaultLayout->trigger();
    widget_fit::settle(window.get());
    EXPECT_EQ(window->dockWidgetArea(ui.globalPropertiesDockWidget), Qt::RightDockWidgetArea);
    EXPECT_EQ(clippedInWindow(*window).join(QLatin1Char('\n')), QString());
}

TEST_F(LayoutFit, EveryDockIsWholeInTheLayoutRestoredOnTheNextRun)
{
    {
        auto window = openWindow();
        window->saveDlgSettings();
    }
    auto window = openWindow();
    EXPECT_EQ(window->size(), QSize(1306, 850));
    EXPECT_EQ(clippedInWindow(*window).join(QLatin1Char('\n')), QString());
}

// Docks made shorter than their rows scroll them up and down; the vertical
// scroll bar takes none of a row's width.
TEST_F(LayoutFit, ShortDocksScrollWithoutCuttingARowsWidth)
{
    auto window = openWindow();
    window->resize(1306, 560);
    widget_fit::settle(window.get());
    ASSERT_EQ(window->size(), QSize(1306, 560));
    const Ui::ZolvarDlgClass& ui = window->form();
    ui.jointPropertiesTabWidget->setCurrentIndex(1);
    widget_fit::settle(window.get());
    EXPECT_TRUE(ui.scrollArea->verticalScrollBar()->isVisible()) << "the pivot rows scroll";
    EXPECT_EQ(clippedInWindow(*window).join(QLatin1Char('\n')), QString());
}

// The gravity list names the composition's layers: a long name is elided in
// the list rather than widening the dock past the window.
TEST_F(LayoutFit, ALongLayerNameWidensNoDock)
{
    QByteArray project = kProject;
    project.replace("\"name\": \"Box\"",
                    "\"name\": \"Background plate with a rather long name, as compositions have them\"");
    ASSERT_NE(project, kProject);
    useProject(project);
    auto window = openWindow();
    EXPECT_EQ(window->size(), QSize(1306, 850));
    EXPECT_EQ(clippedInWindow(*window).join(QLatin1Char('\n')), QString());
}

} // namespace
