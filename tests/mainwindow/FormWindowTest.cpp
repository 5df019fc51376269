// The main window form's window settings, actions, menus and docks.

#include "FormFixture.h"

#include <QAction>
#include <QDockWidget>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <memory>

namespace {

class FormWindowTest : public FormFixture
{
};

TEST_F(FormWindowTest, WindowSettings)
{
    EXPECT_EQ(window->objectName(), "ZolvarDlgClass");
    EXPECT_EQ(window->size(), QSize(1306, 850));
    EXPECT_EQ(window->locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(window->windowTitle(), "ZolvarDlgClass");
    EXPECT_EQ(window->centralWidget(), ui->centralWidget);
    EXPECT_EQ(ui->centralWidget->objectName(), "centralWidget");
    EXPECT_EQ(window->menuBar(), ui->menuBar);
    EXPECT_EQ(ui->menuBar->geometry(), QRect(0, 0, 1306, 21));
    EXPECT_EQ(window->findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(window->findChild<QToolBar*>(), nullptr);
}

TEST_F(FormWindowTest, ChildrenInheritTheEnglishLocale)
{
    // Widgets built without a parent and adopted by a layout inherit it too.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ui->densityEt->locale(), english);
    EXPECT_EQ(ui->velocityDirectionEt->locale(), english);
    EXPECT_EQ(ui->startFrameEt->locale(), english);
    EXPECT_EQ(ui->densityEt->textFromValue(0.5), "0.500");
}

TEST_F(FormWindowTest, AWindowThatHasANameKeepsIt)
{
    QMainWindow other;
    other.setObjectName("SomeWindow");
    Ui::ZolvarDlgClass form;
    form.setupUi(&other);
    EXPECT_EQ(other.objectName(), "SomeWindow");
}

struct ActionRow
{
    const char* name;
    const char* text;
    const char* shortcut;
    int checked;  // -1 not checkable, 0 unchecked, 1 checked
    const char* toolTip;  // nullptr: the text
};

const ActionRow kActions[] = {
    {"dockGlobalProperties", "Global Properties", "Alt+3", 1, nullptr},
    {"dockExport", "Export", "Alt+6", 1, nullptr},
    {"dockBodies", "Bodies", "Alt+1", 1, nullptr},
    {"dockJoints", "Joints", "Alt+2", 1, nullptr},
    {"showAbout", "About Zolvar...", "", -1, nullptr},
    {"showDocumentation", "Zolvar User's Guide...", "", -1, "Open User's Guide"},
    {"showKeyboardShortcuts", "Keyboard Shortcuts...", "Alt+.", -1, nullptr},
    {"onAutoLoadSave", "Auto Load/Save Settings", "", 0, nullptr},
    {"onLoadSettings", "Load Settings...", "Alt+O", -1, nullptr},
    {"onSaveSettings", "Save Settings...", "Alt+S", -1, nullptr},
    {"dockInfo", "Info", "Alt+7", 1, nullptr},
    {"undo", "Undo", "", -1, nullptr},
    {"redo", "Redo", "", -1, nullptr},
    {"dockActionsHistory", "Actions History", "Alt+8", 1, nullptr},
    {"dockBodyProperties", "Body Properties", "Alt+4", 1, nullptr},
    {"dockJointProperties", "Joint Properties", "Alt+5", 1, nullptr},
    {"onQuitZolvar", "Quit Zolvar", "Ctrl+Alt+Q", -1, nullptr},
    {"showPreferences", "Preferences...", "Ctrl+Alt+P", -1, "Zolvar Preferences"},
    {"clearActionsHistory", "Clear Actions History", "Ctrl+Alt+8", -1, nullptr},
    {"toggleAll", "Toggle All", "Ctrl+Alt+1", -1, "Toggle All"},
    {"actionDefaultLayout", "Reset to Default Layout", "Alt+0", -1, nullptr},
    {"onCopyBodySettings", "Copy Body Settings", "", -1, nullptr},
    {"onPasteBodySettings", "Paste Body Settings", "", -1, nullptr},
    {"onCopyJointSettings", "Copy Joint Settings", "", -1, nullptr},
    {"onPasteJointSettings", "Paste Joint Settings", "", -1, nullptr},
    {"onWithTheSameColor", "With the Same Color", "C", -1, nullptr},
    {"onWithTheSameLabel", "With the Same Label", "L", -1, nullptr},
    {"onWithTheSameCollisionGroup", "With the Same Collision Group", "Q", -1, nullptr},
    {"onWithTheSameType", "With the Same Type", "T", -1, nullptr},
    {"onInvertSelection", "Invert Selection", "I", -1, nullptr},
    {"onOfTheSelectedBodies", "Of the Selected Bodies", "W", -1, nullptr},
    {"onWithTheSameJointType", "With the Same Type", "F", -1, nullptr},
    {"onRemoveJointsOfSelectedBodies", "Remove Joints of Selected Bodies", "Alt+W", -1, nullptr},
    {"onSetColor", "Set Color...", "", -1, nullptr},
    {"onSetPosition", "Set Position...", "", -1, nullptr},
    {"onSetRotation", "Set Rotation...", "", -1, nullptr},
    {"onStatic", "Static", "S", -1, nullptr},
    {"onKinematic", "Kinematic", "K", -1, nullptr},
    {"onDynamic", "Dynamic", "D", -1, nullptr},
    {"onDormant", "Dormant", "A", -1, nullptr},
    {"onAEmatic", "AEmatic", "M", -1, nullptr},
    {"onDead", "Dead", "E", -1, nullptr},
    {"onRandomizer", "Randomizer...", "Ctrl+Alt+Shift+R", -1, nullptr},
    {"onBodyProperties", "Body Properties", "", -1, nullptr},
    {"onBodyTransform", "Body Transform", "", -1, nullptr},
    {"onAEmaticAnchorToCenter", "AEmatic Anchor to Center", "X", -1, nullptr},
    {"onPanAndZoom", "Pan and Zoom", "Z", -1, nullptr},
    {"onScene", "Scene", "", -1, nullptr},
};

TEST_F(FormWindowTest, TheFortyEightActions)
{
    QStringList names;
    for (QAction* a : window->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!a->objectName().isEmpty())
            names << a->objectName();
    }
    EXPECT_EQ(names.size(), 48);
    ASSERT_EQ(std::size(kActions), 48u);

    for (const ActionRow& row : kActions) {
        SCOPED_TRACE(row.name);
        auto* a = window->findChild<QAction*>(row.name, Qt::FindDirectChildrenOnly);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), row.text);
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(row.shortcut)));
        EXPECT_EQ(a->isCheckable(), row.checked >= 0);
        EXPECT_EQ(a->isChecked(), row.checked == 1);
        // Without a tooltip of its own an action shows its text without "...".
        const QString tip = row.toolTip ? QString::fromUtf8(row.toolTip)
                                        : QString::fromUtf8(row.text).remove(QStringLiteral("..."));
        EXPECT_EQ(a->toolTip(), tip);
        EXPECT_TRUE(a->icon().isNull());
    }
    EXPECT_EQ(ui->showPreferences->iconText(), "Zolvar Preferences");
}

QStringList entries(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    return out;
}

TEST_F(FormWindowTest, MenusInTheirOrderWithTheirEntries)
{
    QStringList bar;
    for (QAction* a : ui->menuBar->actions())
        bar << a->menu()->objectName() + ":" + a->text();
    EXPECT_EQ(bar, QStringList({"menuZolvar:Zolvar", "menuFile:File", "menuEdit:Edit",
                                "menuPanel:Panel", "menuHelp:Help"}));
    for (QMenu* m : {ui->menuZolvar, ui->menuFile, ui->menuEdit, ui->menuPanel, ui->menuHelp})
        EXPECT_EQ(m->parent(), ui->menuBar);

    EXPECT_EQ(entries(ui->menuZolvar), QStringList({"showAbout", "showPreferences", "|", "onQuitZolvar"}));
    EXPECT_EQ(entries(ui->menuFile), QStringList({"onAutoLoadSave", "|", "onLoadSettings", "onSaveSettings"}));
    EXPECT_TRUE(entries(ui->menuEdit).isEmpty());
    EXPECT_EQ(entries(ui->menuPanel),
              QStringList({"dockBodies", "dockJoints", "dockGlobalProperties", "dockBodyProperties",
                           "dockJointProperties", "dockExport", "dockInfo", "dockActionsHistory", "|",
                           "toggleAll", "actionDefaultLayout"}));
    EXPECT_EQ(entries(ui->menuHelp), QStringList({"showDocumentation", "showKeyboardShortcuts"}));

    // Actions of no menu are added to no widget either.
    for (const char* name : {"undo", "redo", "clearActionsHistory", "onCopyBodySettings", "onScene"}) {
        auto* a = window->findChild<QAction*>(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_TRUE(a->associatedObjects().isEmpty()) << name;
    }
}

struct DockRow
{
    const char* name;
    const char* title;
    Qt::DockWidgetArea area;
    const char* contents;
    const char* layout;
    QMargins margins;
    const char* holds;  // the first widget the contents lay out, nullptr: empty
};

const DockRow kDocks[] = {
    {"bodiesDockWidget", "Bodies", Qt::BottomDockWidgetArea, "dockWidgetContents", "gridLayout_5",
     {0, 0, 0, 0}, "bodiesTable"},
    {"actionsHistoryDockWidget", "Actions History", Qt::RightDockWidgetArea, "dockWidgetContents_6",
     "gridLayout_18", {0, 2, 0, 0}, nullptr},
    {"globalPropertiesDockWidget", "Global Properties", Qt::RightDockWidgetArea,
     "dockWidgetContents_4", "gridLayout_7", {0, 0, 0, 0}, "globalPropertiesTabWidget"},
    {"infoDockWidget", "Info", Qt::RightDockWidgetArea, "dockWidgetContents_1", "gridLayout_4",
     {11, 11, 11, 11}, "mouseCoordsSt"},
    {"bodyPropertiesDockWidget", "Body Properties", Qt::LeftDockWidgetArea, "dockWidgetContents_2",
     "gridLayout_13", {0, 0, 0, 0}, "bodyPropertiesTabWidget"},
    {"jointsDockWidget", "Joints", Qt::BottomDockWidgetArea, "dockWidgetContents_11", "gridLayout_8",
     {0, 2, 0, 0}, nullptr},
    {"exportDockWidget", "Export", Qt::BottomDockWidgetArea, "dockWidgetContents_3", "gridLayout_11",
     {0, 0, 0, 0}, "scrollArea_4"},
    {"jointPropertiesDockWidget", "Joint Properties", Qt::LeftDockWidgetArea, "dockWidgetContents_5",
     "gridLayout_3", {0, 0, 0, 0}, "jointPropertiesTabWidget"},
};

TEST_F(FormWindowTest, TheEightDocks)
{
    const auto docks = window->findChildren<QDockWidget*>();
    EXPECT_EQ(docks.size(), 8);
    for (const DockRow& row : kDocks) {
        SCOPED_TRACE(row.name);
        auto* dock = window->findChild<QDockWidget*>(row.name);
        ASSERT_NE(dock, nullptr);
        EXPECT_EQ(dock->parent(), window);
        EXPECT_EQ(dock->windowTitle(), row.title);
        EXPECT_EQ(window->dockWidgetArea(dock), row.area);
        EXPECT_EQ(dock->features(), QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
        EXPECT_EQ(dock->allowedAreas(), Qt::AllDockWidgetAreas);
        ASSERT_NE(dock->widget(), nullptr);
        EXPECT_EQ(dock->widget()->objectName(), row.contents);
        EXPECT_STREQ(dock->widget()->metaObject()->className(), "QWidget");
        auto* grid = qobject_cast<QGridLayout*>(dock->widget()->layout());
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->objectName(), row.layout);
        EXPECT_EQ(grid->contentsMargins(), row.margins);
        EXPECT_EQ(grid->spacing(), 6);
        if (row.holds) {
            ASSERT_GT(grid->count(), 0);
            ASSERT_NE(grid->itemAt(0)->widget(), nullptr);
            EXPECT_EQ(grid->itemAt(0)->widget()->objectName(), row.holds);
        }
    }
    EXPECT_EQ(ui->actionsHistoryDockWidget->widget()->layout()->count(), 0);
    EXPECT_EQ(ui->jointPropertiesDockWidget->minimumSize(), QSize(226, 120));
    EXPECT_EQ(ui->bodiesDockWidget->minimumSize(), QSize(0, 0));
}

TEST_F(FormWindowTest, DocksAreCreatedInTheirOrderAndTheMenuBarBeforeTheLast)
{
    QStringList order;
    for (QObject* o : window->children()) {
        if (qobject_cast<QDockWidget*>(o) || qobject_cast<QMenuBar*>(o))
            order << o->objectName();
    }
    EXPECT_EQ(order, QStringList({"bodiesDockWidget", "actionsHistoryDockWidget",
                                  "globalPropertiesDockWidget", "infoDockWidget",
                                  "bodyPropertiesDockWidget", "jointsDockWidget", "exportDockWidget",
                                  "menuBar", "jointPropertiesDockWidget"}));
}

}  // namespace
