// Placement and colour of the selected bodies other than by dragging:
// the arrow and rotate keys, "Set Position...", "Set Rotation...",
// "Set Color..." and the colour button, and the resets of the transform and
// of the AEmatic anchor. Each pushes one command, and only when something
// is selected (and, for the dialogs and resets, something changes).
#include "simulation/SimulationView.h"

#include "dialogs/DialogSeam.h"
#include "dialogs/OwnedDialog.h"
#include "dialogs/InputDlg1D.h"
#include "dialogs/InputDlg2D.h"
#include "dialogs/ModalDlgFlags.h"
#include "properties/DragCommands.h"
#include "properties/PanelRows.h"
#include "properties/PropertyCommands.h"
#include "properties/StructuralCommands.h"

#include <QUndoStack>

#include <cmath>
#include <memory>

namespace {

constexpr float kPixel = 0.01f;
constexpr float kTenPixels = 0.1f;
constexpr float kDegree = 0.017453292f;
constexpr float kTenDegrees = 0.17453294f;
constexpr float kEpsilon = 1.1920929e-7f;

// The colour dialog's view of a record colour: whole steps, truncated.
QColor dialogColour(const AEGP_ColorVal& c)
{
    return QColor(qRgb(int(255.0 * c.red), int(255.0 * c.green), int(255.0 * c.blue)));
}

} // namespace

// From the committed places: a drag's uncommitted move is no part of the
// step, so its undo reaches the place from before the drag.
void SimulationView::nudgeSelectedBodies(b2Vec2 step)
{
    std::vector<b2Vec2> positions;
    for (int row : getSelectedRows2())
        positions.push_back(bodies[size_t(row)].committedPosition + step);
    moveSelectedBodies(std::move(positions));
}

void SimulationView::turnSelectedBodies(float step)
{
    std::vector<float> angles;
    for (int row : getSelectedRows2())
        angles.push_back(bodies[size_t(row)].angle + step);
    rotateSelectedBodies(std::move(angles));
}

void SimulationView::OnLeftKey() { nudgeSelectedBodies(b2Vec2(-kPixel, 0.0f)); }
void SimulationView::OnRightKey() { nudgeSelectedBodies(b2Vec2(kPixel, 0.0f)); }
void SimulationView::OnUpKey() { nudgeSelectedBodies(b2Vec2(0.0f, -kPixel)); }
void SimulationView::OnDownKey() { nudgeSelectedBodies(b2Vec2(0.0f, kPixel)); }
void SimulationView::OnShiftLeftKey() { nudgeSelectedBodies(b2Vec2(-kTenPixels, 0.0f)); }
void SimulationView::OnShiftRightKey() { nudgeSelectedBodies(b2Vec2(kTenPixels, 0.0f)); }
void SimulationView::OnShiftUpKey() { nudgeSelectedBodies(b2Vec2(0.0f, -kTenPixels)); }
void SimulationView::OnShiftDownKey() { nudgeSelectedBodies(b2Vec2(0.0f, kTenPixels)); }
void SimulationView::OnPlusKey() { turnSelectedBodies(kDegree); }
void SimulationView::OnMinusKey() { turnSelectedBodies(-kDegree); }
void SimulationView::OnShiftPlusKey() { turnSelectedBodies(kTenDegrees); }
void SimulationView::OnShiftMinusKey() { turnSelectedBodies(-kTenDegrees); }

void SimulationView::moveSelectedBodies(std::vector<b2Vec2> positions)
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty() || positions.size() != rows.size())
        return;
    std::vector<b2Vec2> old;
    for (int row : rows)
        old.push_back(bodies[size_t(row)].committedPosition);
    undoStack->push(new CommandBodiesPositionChange(this, std::move(old), std::move(positions), rows));
}

void SimulationView::rotateSelectedBodies(std::vector<float> angles)
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty() || angles.size() != rows.size())
        return;
    std::vector<float> old;
    for (int row : rows)
        old.push_back(bodies[size_t(row)].angle);
    undoStack->push(new CommandBodiesRotationChange(this, std::move(old), std::move(angles), rows));
}

void SimulationView::OnSetRotation()
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty())
        return;
    const MyBody& first = bodies[size_t(rows[0])];
    const float shown =
        getAERotFromBox2DRot(first.rotationIsRelative ? first.angle + first.initialRotation : first.angle);
    auto dialog = makeOwnedDialog<InputDlg1D>(this, getModalDlgFlags(), QStringLiteral("Rotation"),
                                               QStringLiteral("Degrees:"), double(shown));
    dialog_seam::runDialog(dialog.get());
    if (dialog->getReturnCode() == 0)
        return;
    const float entered = float(dialog->getX() * 3.1415927410125732 / 180.0);
    std::vector<float> old, angles;
    bool changed = false;
    for (int row : rows) {
        const MyBody& record = bodies[size_t(row)];
        // A body shown as angle + initial rotation gets the angle that makes
        // it show what was typed.
        const float angle = record.rotationIsRelative ? entered - record.initialRotation : entered;
        old.push_back(record.angle);
        angles.push_back(angle);
        changed = changed || std::fabs(record.angle - angle) > kEpsilon;
    }
    if (changed)
        undoStack->push(new CommandBodiesRotationChange(this, std::move(old), std::move(angles), rows));
}

void SimulationView::OnSetPosition()
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty())
        return;
    const b2Vec2 shown = getAEPosFromGLPos(bodies[size_t(rows[0])].position);
    auto dialog = makeOwnedDialog<InputDlg2D>(this, getModalDlgFlags(), QStringLiteral("Position"),
                                               QStringLiteral("X:"), QStringLiteral("Y:"), double(shown.x),
                                               double(shown.y));
    dialog_seam::runDialog(dialog.get());
    if (dialog->getReturnCode() == 0)
        return;
    const b2Vec2 p(getGLXCoordFromAE(float(dialog->getX())), getGLYCoordFromAE(float(dialog->getY())));
    std::vector<b2Vec2> old, positions;
    bool changed = false;
    for (int row : rows) {
        old.push_back(bodies[size_t(row)].position);
        positions.push_back(p);
        changed = changed || (old.back() - p).Length() > kEpsilon;
    }
    if (changed)
        undoStack->push(new CommandBodiesPositionChange(this, std::move(old), std::move(positions), rows));
}

void SimulationView::OnSetColor()
{
    if (!getSelectedRows2().empty())
        colorBtnClicked();
}

void SimulationView::colorBtnClicked()
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty())
        return;
    const QColor chosen = dialog_seam::pickColor(dialogColour(bodies[size_t(rows[0])].color), this,
                                                 QStringLiteral("Select Color"));
    if (!chosen.isValid())
        return;
    std::vector<QColor> old, colours;
    bool changed = false;
    for (int row : rows) {
        old.push_back(dialogColour(bodies[size_t(row)].color));
        colours.push_back(chosen);
        changed = changed || old.back() != chosen;
    }
    if (changed)
        undoStack->push(new CommandBodyColorChange(this, std::move(old), std::move(colours), rows));
}

void SimulationView::OnResetTransform()
{
    resetBodiesTransform(getSelectedRows2());
}

void SimulationView::resetBodiesTransform(std::vector<int> rows)
{
    std::vector<MyBody> before, after;
    std::vector<int> kept;
    bool changed = false;
    for (int row : rows) {
        if (!validRow(bodies, row))
            continue;
        // Only the placement is applied back: the copies need no outline.
        MyBody record = bodies[size_t(row)];
        record.outlines.clear();
        record.joints.clear();
        MyBody reset = record;
        reset.position = record.initialPosition;
        reset.angle = record.rotationIsRelative ? 0.0f : record.initialRotation;
        changed = changed || record.position.x != reset.position.x || record.position.y != reset.position.y ||
                  record.angle != reset.angle;
        before.push_back(std::move(record));
        after.push_back(std::move(reset));
        kept.push_back(row);
    }
    if (changed)
        undoStack->push(new CommandResetBodyTransformChange(this, std::move(before), std::move(after), kept));
}

void SimulationView::OnCenterAEmaticAnchor()
{
    std::vector<int> rows;
    std::vector<b2Vec2> old, centred;
    bool changed = false;
    for (int row : getSelectedRows2()) {
        const MyBody& record = bodies[size_t(row)];
        // The centre of mass is the world body's; a body not in the world
        // has none to go to. Taken at the record's placement, so a playing
        // simulation does not move it.
        if (!record.body)
            continue;
        const b2Vec2 anchor = b2Mul(b2Rot(record.angle), record.body->GetLocalCenter());
        rows.push_back(row);
        old.push_back(record.committedAematicAnchor);
        centred.push_back(anchor);
        changed = changed || anchor.x != old.back().x || anchor.y != old.back().y;
    }
    if (!changed)
        return;
    undoStack->push(new CommandAEmaticAnchorAbsChange(this, std::move(old), std::move(centred), rows));
    if (hasAEmaticBody)
        restartAnimation();
}
