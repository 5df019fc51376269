#include "properties/GravityView.h"

#include "properties/DragCommands.h"
#include "properties/DragPress.h"
#include "properties/EditBox.h"
#include "properties/MainWindowOf.h"
#include "properties/SliderGo.h"
#include "properties/TruncatedInt.h"
#include "simulation/SimulationView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSizePolicy>
#include <QUndoStack>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

} // namespace

GravityView::GravityView(QWidget* owner)
    : QWidget(nullptr)
    , owner(owner)
    , pen(Qt::black, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
    , brush(Qt::white, Qt::SolidPattern)
    , press(new DragPress(this, [this] { commit(); }))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumSize(100, 100);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void GravityView::setGravityPoint(double length, double angle)
{
    tip = QPointF(std::cos(float(angle)) * length, std::sin(float(angle)) * length);
    update();
}

void GravityView::gravityAt(QPointF pos, QSizeF size, bool snap, double& magnitude, double& direction)
{
    const double gx = pos.x() - size.width() / 2.0;
    const double gy = pos.y() - size.height() / 2.0;
    magnitude = std::sqrt(float(gx * gx + gy * gy)) / kScale;
    direction = std::atan2(gy, gx) * 180.0 / kPi;
    if (direction < 0.0)
        direction += 360.0;
    if (!snap)
        return;
    double axis = -1.0;
    if (direction > 340.0)
        axis = 360.0;
    else if (direction < 20.0)
        axis = 0.0;
    else if (direction > 70.0 && direction < 110.0)
        axis = 90.0;
    else if (direction > 160.0 && direction < 200.0)
        axis = 180.0;
    else if (direction > 250.0 && direction < 290.0)
        axis = 270.0;
    if (axis < 0.0)
        return;
    magnitude *= std::cos(float((axis - direction) * kPi / 180.0));
    direction = axis == 360.0 ? 0.0 : axis;
}

void GravityView::aim(QMouseEvent* event, bool snap)
{
    double magnitude, direction;
    gravityAt(event->position(), QSizeF(size()), snap, magnitude, direction);
    // The sliders' slots show the values in the edit boxes and place the tip.
    if (magnitudeSld)
        magnitudeSld->setValue(truncatedInt(1000.0 * magnitude));
    if (directionSld)
        directionSld->setValue(truncatedInt(1000.0 * direction));
}

void GravityView::mousePressEvent(QMouseEvent* event)
{
    // Any button begins a drag; the others do nothing until its release.
    if (press->begin(event, Qt::AllButtons))
        aim(event, false);
}

void GravityView::mouseMoveEvent(QMouseEvent* event)
{
    if (press->follows(event))
        aim(event, (event->modifiers() & Qt::ShiftModifier) != 0);
}

void GravityView::mouseReleaseEvent(QMouseEvent* event)
{
    if (press->release(event))
        commit();
}

SimulationView* GravityView::sceneView() const
{
    return sceneViewOf(owner);
}

bool GravityView::takeBackDrag()
{
    if (!press->takeBack())
        return false;
    if (SimulationView* view = sceneView())
        view->setGravity(view->committedScene().gravityMagnitude, view->committedScene().gravityDirection);
    return true;
}

void GravityView::commit()
{
    SimulationView* view = sceneView();
    if (!view || !view->getUndoStack())
        return;
    // Every release is one step, from the gravity as last committed.
    const SimulationView::SceneValues& before = view->committedScene();
    const double magnitude = magnitudeEt ? magnitudeEt->value() : double(before.gravityMagnitude);
    const double direction = directionEt ? directionEt->value() : double(before.gravityDirection);
    view->getUndoStack()->push(new CommandGravityChange(view, before.gravityMagnitude, before.gravityDirection,
                                                        magnitude, direction));
}

void GravityView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const QPointF centre(w / 2.0, h / 2.0);
    const QPointF end = centre + tip;

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.drawRect(0, 0, w, h);

    painter.setPen(QPen(Qt::darkGray, 0.3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(w / 2, h, w / 2, 0);
    painter.drawLine(QPointF(w - 1, h / 2.0), QPointF(0, h / 2.0));
    painter.drawEllipse(QPoint(w / 2, h / 2), (w - 1) / 2, (h - 1) / 2);

    pen = QPen(Qt::green, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    brush = QBrush(Qt::green, Qt::SolidPattern);
    // A tip that is not finite has no vector to draw.
    const bool drawTip = std::isfinite(end.x()) && std::isfinite(end.y());
    if (drawTip) {
        painter.setPen(pen);
        painter.drawLine(centre, end);
    }
    painter.setPen(QPen(Qt::white));
    painter.setBrush(QBrush(Qt::gray, Qt::SolidPattern));
    painter.drawEllipse(centre, 3.0, 3.0);
    if (drawTip) {
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.drawEllipse(end, 3.0, 3.0);
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::gray, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, w - 1, h - 1);
}
