// Copy and paste of body and joint settings. Only properties travel: the
// target keeps its layer, name, outline, placement and joints (a joint its
// bodies, anchors and axis).
#include "simulation/SimulationView.h"

#include "properties/PanelRows.h"
#include "properties/StructuralCommands.h"

#include <QUndoStack>

namespace {

// What a paste command keeps of a body: its properties. The outline and the
// joint copies are never read back, and a history of pastes over hundreds
// of bodies would otherwise hold every outline many times over; they are
// set aside while the record is copied, so they are not copied at all.
MyBody settingsOnly(MyBody& record)
{
    std::vector<std::vector<ShapeDef>> outlines = std::move(record.outlines);
    std::vector<MyJoint> joints = std::move(record.joints);
    MyBody copy = record;
    record.outlines = std::move(outlines);
    record.joints = std::move(joints);
    return copy;
}

} // namespace

void SimulationView::OnCopyBodySettings()
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty())
        return;
    copiedBody = settingsOnly(bodies[size_t(rows[0])]);
}

void SimulationView::OnCopyJointSettings()
{
    const std::vector<int> rows = getSelectedRowsInJointsTable2();
    if (rows.empty() || !validRow(joints, rows[0]))
        return;
    copiedJoint = joints[size_t(rows[0])];
}

void SimulationView::OnPasteBodySettings()
{
    if (copiedBody.index < 0)
        return;
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty())
        return;
    std::vector<MyBody> before;
    before.reserve(rows.size());
    for (int row : rows)
        before.push_back(settingsOnly(bodies[size_t(row)]));
    undoStack->push(new CommandPasteBodySettingsChange(this, copiedBody, std::move(before), rows));
}

void SimulationView::OnPasteJointSettings()
{
    if (copiedJoint.id < 0)
        return;
    std::vector<int> rows;
    for (int row : getSelectedRowsInJointsTable2())
        if (validRow(joints, row) && joints[size_t(row)].type == copiedJoint.type)
            rows.push_back(row);
    if (rows.empty())
        return;
    undoStack->push(new CommandPasteJointSettingsChange(this, copiedJoint, joints, rows));
}

void SimulationView::doPasteBodySettings(MyBody copied, std::vector<int> rows)
{
    std::vector<MyBody> copies;
    std::vector<int> targets;
    for (int row : rows) {
        if (!validRow(bodies, row))
            continue;
        MyBody copy = copied;
        if (ignoreBodyColorWhenPasting)
            copy.color = bodies[size_t(row)].color;
        copies.push_back(std::move(copy));
        targets.push_back(row);
    }
    undoPasteBodySettings(std::move(copies), std::move(targets));
}

void SimulationView::undoPasteBodySettings(std::vector<MyBody> before, std::vector<int> rows)
{
    if (before.size() != rows.size())
        return;
    setBodyProperties(before, rows);
    // The colour setter works in whole 1/255 steps (what the panel shows);
    // the records keep the exact colour given, so a host label colour such
    // as 0.7098 stays itself through any number of pastes and undos.
    for (size_t i = 0; i < rows.size(); ++i)
        if (validRow(bodies, rows[i]))
            bodies[size_t(rows[i])].color = before[i].color;
}

void SimulationView::doPasteJointSettings(MyJoint copied, std::vector<int> rows)
{
    std::vector<MyJoint> records = joints;
    for (int row : rows)
        if (validRow(records, row))
            records[size_t(row)] = copied;
    setJointProperties(std::move(records), std::move(rows));
}

void SimulationView::undoPasteJointSettings(std::vector<MyJoint> before, std::vector<int> rows)
{
    setJointProperties(std::move(before), std::move(rows));
}
