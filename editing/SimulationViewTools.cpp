// The five scene tools, zoom, and the gravity and velocity handles.
#include "simulation/SimulationView.h"

#include "properties/EditBox.h"
#include "properties/GravityView.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.1415927410125732;

// A handle `radius` pixels from the view's centre in direction `angle`
// (radians).
b2Vec2 handleAt(const GLWidget& view, double angle, double radius)
{
    return b2Vec2(float(view.width() / 2 + std::cos(angle) * radius),
                  float(view.height() / 2 + std::sin(angle) * radius));
}

} // namespace

int SimulationView::currentTool() const
{
    return glWidget ? glWidget->tool : 0;
}

void SimulationView::activateTool(int tool, Qt::CursorShape cursor)
{
    QToolButton* buttons[5] = {ui.selectionToolBtn, ui.handToolBtn, ui.anchorToolBtn, ui.gravityToolBtn,
                               ui.velocityToolBtn};
    for (int i = 0; i < 5; ++i)
        if (buttons[i])
            buttons[i]->setChecked(i == tool);
    // A drag of the tool left behind ends without its step.
    if (glWidget && glWidget->tool != tool)
        cancelDrag();
    if (ui.toolsNoteSt)
        ui.toolsNoteSt->setText(QString());
    setCursor(cursor);
    if (glWidget) {
        // Remember what the hand tool replaces, so that releasing Space can
        // bring it back.
        if (tool == 1 && glWidget->tool != 1)
            previousTool = glWidget->tool;
        glWidget->tool = tool;
    }
    refreshView();
}

void SimulationView::OnSelectionToolBtn()
{
    activateTool(0, Qt::ArrowCursor);
}

void SimulationView::OnHandToolBtn()
{
    activateTool(1, Qt::OpenHandCursor);
}

void SimulationView::OnAnchorToolBtn()
{
    activateTool(2, Qt::CrossCursor);
}

void SimulationView::OnGravityToolBtn()
{
    activateTool(3, Qt::ClosedHandCursor);
    if (ui.gravityLayerLst && ui.gravityLayerCb)
        ui.gravityLayerLst->setEnabled(ui.gravityLayerCb->isChecked());
    if (glWidget && ui.gravityMagnitudeEt && ui.gravityDirectionEt) {
        glWidget->gravityHandle = handleAt(*glWidget, ui.gravityDirectionEt->value() * kPi / 180.0,
                                           ui.gravityMagnitudeEt->value() * glWidget->gravityHandleScale);
    }
}

void SimulationView::OnVelocityToolBtn()
{
    activateTool(4, Qt::ClosedHandCursor);
    placeVelocityHandle();
    restartAndStopAnimation(false);
    if (ui.playBtn)
        ui.playBtn->setChecked(false);
}

void SimulationView::placeVelocityHandle()
{
    if (!glWidget || !ui.velocityMagnitudeEt || !ui.velocityDirectionEt)
        return;
    glWidget->velocityHandle = handleAt(*glWidget, ui.velocityDirectionEt->value() * kPi / 180.0,
                                        ui.velocityMagnitudeEt->value() * glWidget->velocityHandleScale);
}

void SimulationView::updateGravityPoint(float magnitude, float angle)
{
    if (glWidget)
        glWidget->gravityHandle = handleAt(*glWidget, angle, double(glWidget->gravityHandleScale) * magnitude);
    if (gravityView) {
        gravityView->setGravityPoint(magnitude * GravityView::kScale, angle);
        gravityView->update();
    }
    refreshView();
}

void SimulationView::zoomIn()
{
    if (ui.zoomSld)
        ui.zoomSld->setValue(std::min(ui.zoomSld->value() + 100, 2000));
    refreshView();
}

void SimulationView::zoomOut()
{
    if (ui.zoomSld)
        ui.zoomSld->setValue(std::max(ui.zoomSld->value() / 2, 1));
    refreshView();
}
