// Operations on the selected bodies beside the property rows: the colour
// reset, the open-shape line width keys and the reset of every property.
// Each makes at most one step.
#include "simulation/SimulationView.h"

#include "properties/PropertyCommands.h"

#include <QUndoStack>

#include <cmath>

namespace {

constexpr float kWidthStep = 0.005f;
constexpr float kMinWidth = 0.005f;
constexpr float kMaxWidth = 0.065f;

QColor opaqueColour(const AEGP_ColorVal& c)
{
    return QColor(int(c.red * 255.0), int(c.green * 255.0), int(c.blue * 255.0));
}

bool sameChannel(double a, double b)
{
    return std::fabs(a - b) <= 0.001;
}

// Whether a reset changes anything the user sees; the open-shape line width
// alone does not count.
bool sameProperties(const MyBody& a, const MyBody& b)
{
    return a.type == b.type && a.density == b.density && a.friction == b.friction && a.restitution == b.restitution
        && sameChannel(a.color.red, b.color.red) && sameChannel(a.color.green, b.color.green)
        && sameChannel(a.color.blue, b.color.blue) && a.meshPrecision == b.meshPrecision
        && a.linearVelocityMagnitude == b.linearVelocityMagnitude
        && a.linearVelocityDirection == b.linearVelocityDirection && a.angularVelocity == b.angularVelocity
        && a.linearDamping == b.linearDamping && a.angularDamping == b.angularDamping
        && a.aematicDamping == b.aematicDamping && a.aematicTension == b.aematicTension
        && a.categoryBits == b.categoryBits && a.maskBits == b.maskBits && a.fixedRotation == b.fixedRotation
        && a.gravityScale == b.gravityScale && a.useConvexHull == b.useConvexHull
        && a.magnetismType == b.magnetismType && a.magnetIntensity == b.magnetIntensity
        && a.magnetDistance == b.magnetDistance && a.acceptMagnetism == b.acceptMagnetism;
}

} // namespace

// Each selected body back to the colour it was built with.
void SimulationView::resetBodyColor()
{
    std::vector<int> rows;
    std::vector<QColor> oldColours, newColours;
    bool changed = false;
    for (int row : getSelectedRows2()) {
        if (size_t(row) >= defaultBodyColors.size())
            continue;
        rows.push_back(row);
        oldColours.push_back(opaqueColour(bodies[size_t(row)].color));
        newColours.push_back(defaultBodyColors[size_t(row)]);
        changed = changed || oldColours.back() != newColours.back();
    }
    if (changed && undoStack)
        undoStack->push(new CommandBodyColorChange(this, oldColours, newColours, rows));
}

namespace {

// One step of the width keys for every row; true when one row changes.
bool stepWidths(const std::vector<MyBody>& bodies, const std::vector<int>& rows, float step,
                std::vector<float>& oldWidths, std::vector<float>& newWidths)
{
    bool changed = false;
    for (int row : rows) {
        const float w = bodies[size_t(row)].openShapeLineWidth;
        float next = w + step;
        if (step > 0.0f && next > kMaxWidth)
            next = kMaxWidth;
        if (step < 0.0f && next < kMinWidth)
            next = kMinWidth;
        oldWidths.push_back(w);
        newWidths.push_back(next);
        changed = changed || !(next == w);
    }
    return changed;
}

} // namespace

void SimulationView::increaseOpenShapeLineWidth()
{
    const std::vector<int> rows = getSelectedRows2();
    std::vector<float> oldWidths, newWidths;
    if (stepWidths(bodies, rows, kWidthStep, oldWidths, newWidths) && undoStack)
        undoStack->push(new CommandOpenShapeLineWidthChange(this, oldWidths, newWidths, rows));
}

void SimulationView::decreaseOpenShapeLineWidth()
{
    const std::vector<int> rows = getSelectedRows2();
    std::vector<float> oldWidths, newWidths;
    if (stepWidths(bodies, rows, -kWidthStep, oldWidths, newWidths) && undoStack)
        undoStack->push(new CommandOpenShapeLineWidthChange(this, oldWidths, newWidths, rows));
}

void SimulationView::OnResetBodiesProperties()
{
    resetBodiesProperties(getSelectedRows2());
}

void SimulationView::resetBodiesProperties(std::vector<int> rows)
{
    std::vector<int> valid;
    std::vector<MyBody> before, after;
    bool changed = false;
    for (int row : rows) {
        if (row < 0 || size_t(row) >= bodies.size())
            continue;
        valid.push_back(row);
        before.push_back(bodies[size_t(row)]);
        MyBody reset = before.back();
        reset.init();
        if (size_t(row) < defaultBodyColors.size()) {
            const QColor& c = defaultBodyColors[size_t(row)];
            reset.color = AEGP_ColorVal{1.0, c.red() / 255.0, c.green() / 255.0, c.blue() / 255.0};
        }
        changed = changed || !sameProperties(before.back(), reset);
        after.push_back(std::move(reset));
    }
    if (changed && undoStack)
        undoStack->push(new CommandResetBodyPropertiesChange(this, before, after, valid));
}
