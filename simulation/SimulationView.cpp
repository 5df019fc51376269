// Construction of the scene view.
#include "simulation/SimulationView.h"

#include "editing/PressLossWatch.h"
#include "editing/Randomizer.h"
#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "properties/BodiesTableView.h"
#include "properties/QuickPresetsTableView.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"

#include <algorithm>

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <cmath>
#include <optional>
#include <utility>

namespace {

// The timer's rate when the composition gives none that can be used.
constexpr double kFallbackFps = 25.0;

} // namespace

SimulationView::SimulationView(QWidget* parent, GravityView* gravityView, Ui::ZolvarDlgClass ui,
                               SPBasicSuite* basicSuite, int pluginId, std::vector<char> layerLabels,
                               std::vector<AEGP_ColorVal> labelColors, QUndoStack* undoStack, int theme)
    : QWidget(parent)
    , SimulationCore(basicSuite, pluginId)
    , gravityView(gravityView)
    , theme(theme)
    , ui(ui)
    , undoStack(undoStack)
    , keyWriter(basicSuite, pluginId)
{
    parentWindow = parent;
    this->layerLabels = std::move(layerLabels);
    this->labelColors = std::move(labelColors);
    iconBorderGray = theme == 0 ? 20 : 61;
    copiedBody.index = -1;
    copiedJoint.id = -1;
    randomizer = std::make_unique<RandomSource>();
    loadJointIcons(theme);

    setupBodiesTableWidget(theme);
    setupJointsTableWidget();
    setupQuickPresetsTableWidget();

    readComposition();
    setBackground(bgColor);
    const float grey = (1.0f - float(bgColor.red()) / 255.0f) / 3.0f;
    if (ui.toolsNoteSt)
        ui.toolsNoteSt->setText(QString());

    glWidget = new GLWidget(this, gravityView, ui);
    glWidget->setBGColor(bgColor);
    glWidget->setCompFrameColor(b2Color(grey, grey, grey));
    glWidget->setCompBounds(compBounds);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(glWidget);
    // A click in the scene takes the focus from an edit box (which ends its
    // edit for the bodies it showed) and gives it to the view, whose keys the
    // window handles.
    setFocusPolicy(Qt::ClickFocus);
    glWidget->setFocusPolicy(Qt::ClickFocus);
    glWidget->setFocusProxy(this);

    initWorld(false);
    initMyBodies();
    initScene();
    sceneInitialised = true;
    if (ui.gravityLayerLst && ui.gravityLayerLst->count() > 0)
        ui.gravityLayerLst->setCurrentIndex(0);

    setFpsInfo(0.0);
    setFrameInfo(0);
    if (ui.endFrameEt)
        ui.endFrameEt->setValue(workAreaFrames - 1);

    makeConnections();
    createContextMenu();
    setMouseTracking(true);

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &SimulationView::updatePhysics);
    timer->start(frameIntervalMs());
}

SimulationView::~SimulationView()
{
    // No message from a destructor, and no signal: the window is going.
    blockSignals(true);
    cancelKeyframing(false);
    // Nothing may end a drag on a view half taken down.
    delete pressWatch;
    delete contextMenu;
    delete quickPresetsContextMenu;
}

void SimulationView::zoomFit()
{
    // A view without area has nothing to fit into.
    const std::optional<int> zoom = fitZoom(float(width()), float(height()), float(compWidth), float(compHeight));
    if (!zoom || !glWidget)
        return;
    if (ui.zoomSld)
        ui.zoomSld->setValue(*zoom);
    glWidget->panX = 0.0f;
    glWidget->panY = 0.0f;
    refreshView();
}

void SimulationView::updatePhysics()
{
    // While the keys are written the recording is over and nothing moves:
    // the ticks wait for the writing, which shows its own progress.
    if (keyWriter.isWriting())
        return;
    // A host failure that escapes the step (a missing suite) would recur on
    // every tick: it is reported once and the timer stops.
    if (GuardHostCall([this] { SimulationCore::updatePhysics(); }) && timer) {
        timer->stop();
        return;
    }
    // While an export records, the next tick follows as soon as the event
    // loop has handled what is waiting; otherwise at the composition's rate.
    if (timer) {
        const int interval = running && exporting ? 0 : frameIntervalMs();
        if (timer->interval() != interval)
            timer->setInterval(interval);
    }
}

int SimulationView::frameIntervalMs() const
{
    // A tick a frame, and at least one a second however slow the composition.
    return qRound(std::min(1000.0 / (timingUsable() ? fps : kFallbackFps), FrameLimiter::kMaxFrameMs));
}

void SimulationView::refreshView()
{
    if (glWidget)
        glWidget->update();
    showPointerFeedback();
    // Painted in the same pass as the view (showRecordedFrame held it back).
    releaseProgress();
}

// Each change of a read-out's text repaints the window around it, and a
// window holding the scene view is composed through OpenGL, by a software
// renderer where there is no other: at the pointer's pace (fifty moves a
// second and more) that cost an export several times its own work.
void SimulationView::showOnNextRedraw(QLabel* label, const QString& text, bool redrawScene)
{
    if (label) {
        const auto same = [label](const auto& kept) { return kept.first == label; };
        const auto kept = std::find_if(pointerTexts.begin(), pointerTexts.end(), same);
        if (kept != pointerTexts.end())
            kept->second = text;
        else
            pointerTexts.emplace_back(label, text);
    }
    pointerRedraw = pointerRedraw || redrawScene;
    if (!timer || !timer->isActive())
        showPointerFeedback();
}

void SimulationView::showPointerFeedback()
{
    for (const auto& [label, text] : pointerTexts)
        if (label && label->text() != text)
            label->setText(text);
    pointerTexts.clear();
    if (pointerRedraw && glWidget)
        glWidget->update();
    pointerRedraw = false;
}

void SimulationView::undo()
{
    if (undoStack && undoStack->canUndo())
        undoStack->undo();
}

void SimulationView::redo()
{
    if (undoStack && undoStack->canRedo())
        undoStack->redo();
}

void SimulationView::setBackground(const QColor& colour)
{
    bgColor = colour;
    if (glWidget)
        glWidget->setBGColor(colour);
    if (ui.bgColorBtn)
        ui.bgColorBtn->setStyleSheet(QStringLiteral("QWidget#bgColorBtn{ background-color: rgb(%1, %2, %3); }")
                                         .arg(colour.red())
                                         .arg(colour.green())
                                         .arg(colour.blue()));
}
