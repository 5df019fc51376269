#include "mainwindow/ZolvarDlg.h"

#include "mainwindow/PanelFit.h"
#include "mainwindow/UndoKeys.h"
#include "mainwindow/WindowPreferences.h"
#include "properties/GravityView.h"
#include "properties/UndoView.h"
#include "simulation/SimulationView.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMetaMethod>
#include <QTimer>
#include <QUndoStack>

#include <utility>

ZolvarDlg::ZolvarDlg(QWidget* parent, Qt::WindowFlags flags, QApplication* application, SPBasicSuite* suite,
                     int pluginId, QString projectPath)
    : QMainWindow(parent, flags)
    , application(application)
    , suite(suite)
    , pluginId(pluginId)
    , projectPath(std::move(projectPath))
{
    ui.setupUi(this);

    // A failed read leaves the keys not yet read at their defaults; nothing
    // is reported.
    WindowPreferences prefs;
    readWindowPreferences(this->suite, prefs);

    const Preferences& stored = prefs.preferences;
    theme = stored.uiTheme;
    loadStyleSheet(theme);
    bodyIdentification = prefs.bodyIdentification;

    createUndoStack(stored.levelsOfUndo);
    undoAction = undoStack->createUndoAction(this);
    redoAction = undoStack->createRedoAction(this);
    undoAction->setShortcut(undoKeys());
    redoAction->setShortcut(redoKeys());
    ui.menuEdit->addAction(undoAction);
    ui.menuEdit->addAction(redoAction);
    ui.menuEdit->addSeparator();
    ui.menuEdit->addAction(ui.onCopyBodySettings);
    ui.menuEdit->addAction(ui.onPasteBodySettings);
    ui.menuEdit->addSeparator();
    ui.menuEdit->addAction(ui.onCopyJointSettings);
    ui.menuEdit->addAction(ui.onPasteJointSettings);

    createViewOptionsMenu();
    ui.exportNoteSt->setText(QString());
    connectCommands();
    GetColorLabels();
    createHistoryView();
    createGravityPad();

    // From the start's offer on: a quit while it, or a message of the start,
    // is open closes the window once that is answered.
    guardTheQuit();
    // Before the view reads the composition, so that separated layers
    // become bodies.
    DoPreprocessing();

    createSimulationView();
    handPreferencesToView(prefs);

    guardAgainstWheel();
    createShortcuts();
    ui.showDocumentation->setShortcut(QKeySequence::HelpContents);
    setSliderDefaults();
    setTheme(theme);
    setRubberBand(theme);
    fitPanelsToText();

    // First run, or a store that lost a key: keep the layout as built as the
    // default, and as the current one.
    if (!restoreDlgSettings()) {
        saveDlgDfltSettings();
        saveDlgSettings();
    }
    // A dock restored hidden emits nothing when the window shows.
    syncDockCheckMarks();
    // The scene has the keyboard when the window opens: the first widget of
    // the focus chain, a tab bar, would take the arrow keys for itself.
    view->setFocus(Qt::OtherFocusReason);
    // A close asked during the start runs from the window's loop.
    if (closeAwaitsDialog)
        QTimer::singleShot(0, this, &ZolvarDlg::dialogAnswered);
}

// Every widget, the undo stack, the history view and the pad go with the Qt
// parent tree, the view-options menu with its member. The view goes first,
// while the form's widgets and the "Joints" option it points to still exist.
ZolvarDlg::~ZolvarDlg()
{
    delete view;
}

// Once the style sheet has set the fonts, and before the layout is stored or
// restored: the docks' sizes start from these minimums.
void ZolvarDlg::fitPanelsToText()
{
    ensurePolished();
    fitLabelsToText(ui.centralWidget);
    for (QWidget* panel : {static_cast<QWidget*>(ui.globalPropertiesTabWidget),
                           static_cast<QWidget*>(ui.bodyPropertiesTabWidget),
                           static_cast<QWidget*>(ui.jointPropertiesTabWidget)}) {
        fitEditBoxesToText(panel);
        fitScrollAreasToContents(panel);
    }
}

void ZolvarDlg::createUndoStack(int undoLevels)
{
    undoStack = new QUndoStack(this);
    // 0 (or less) means no limit, by the stack's own rule; the stack is empty.
    undoStack->setUndoLimit(undoLevels);
}

void ZolvarDlg::createViewOptionsMenu()
{
    viewOptionsMenu = std::make_unique<QMenu>();
    viewOptionsMenu->setObjectName(QStringLiteral("ViewOptionsMenu"));
    viewOptionsMenu->setMouseTracking(true);
    auto add = [this](const char* text, bool checked) {
        auto* action = new QAction(QString::fromLatin1(text), viewOptionsMenu.get());
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    viewOptionsShapes = add("Shapes", true);
    viewOptionsMesh = add("Mesh", false);
    viewOptionsBoundingBox = add("Bounding Box", false);
    viewOptionsLocalAxes = add("Local Axes", false);
    viewOptionsJoints = add("Joints", true);
    viewOptionsCompBounds = add("Comp Bounds", true);
    viewOptionsMenu->addAction(viewOptionsShapes);
    viewOptionsMenu->addAction(viewOptionsMesh);
    viewOptionsMenu->addAction(viewOptionsBoundingBox);
    viewOptionsMenu->addAction(viewOptionsLocalAxes);
    viewOptionsMenu->addAction(viewOptionsJoints);
    viewOptionsMenu->addSeparator();
    viewOptionsMenu->addAction(viewOptionsCompBounds);
    ui.viewOptionsBtn->setMenu(viewOptionsMenu.get());
}

void ZolvarDlg::createHistoryView()
{
    undoView = new UndoView(ui.actionsHistoryDockWidget);
    undoView->setStack(undoStack);
    ui.actionsHistoryDockWidget->setWidget(undoView);
    undoView->setObjectName(QStringLiteral("actionsHistoryView"));
    // The information tab in front of the history.
    tabifyDockWidget(ui.infoDockWidget, ui.actionsHistoryDockWidget);
    ui.infoDockWidget->raise();
}

void ZolvarDlg::createGravityPad()
{
    gravityView = new GravityView(this);
    auto* layout = new QGridLayout(ui.gravityWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(gravityView);
    gravityView->setGravityMagnitudeEtControl(ui.gravityMagnitudeEt);
    gravityView->setGravityMagnitudeSldControl(ui.gravityMagnitudeSld);
    gravityView->setGravityDirectionEtControl(ui.gravityDirectionEt);
    gravityView->setGravityDirectionSldControl(ui.gravityDirectionSld);
    // Magnitude 10 pointing down (90 degrees).
    gravityView->setGravityPoint(10.0 * GravityView::kScale, 1.5707964f);
}

void ZolvarDlg::createSimulationView()
{
    view = new SimulationView(this, gravityView, ui, suite, pluginId, layerLabels, labelColors, undoStack, theme);
    auto* layout = new QGridLayout(ui.simulationPreviewWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view);
    connect(view, &SimulationView::keyWritingEnded, this, &ZolvarDlg::keyWritingEnded);
}

void ZolvarDlg::handPreferencesToView(const WindowPreferences& window)
{
    const Preferences& prefs = window.preferences;
    view->setJointsAction(viewOptionsJoints);
    view->setSelectionHighlightColor(prefs.selectionHighlight);
    view->setSelectionStrokeWidth(prefs.selectionStrokeWidth);
    view->setStaticHighlightColor(prefs.staticHighlight);
    view->setDistanceJointColor(prefs.distanceJointColor);
    view->setRevoluteJointColor(prefs.revoluteJointColor);
    view->setPrismaticJointColor(prefs.prismaticJointColor);
    view->setSpringJointColor(prefs.springJointColor);
    view->setSelectedJointColor(prefs.selectedJointColor);
    view->setJointStrokeWidth(prefs.jointStrokeWidth);
    view->setKineBehavior(prefs.kinematicBehavior);
    view->setDormantBehavior(prefs.dormantBehavior);
    view->setIgnoreBodyColorWhenPasting(prefs.ignoreBodyColorWhenPasting);
}
