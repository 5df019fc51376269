// Scene snapshots: the one-row table of stored scene set-ups, taking,
// restoring and removing them (each one undo step) and installing one.
#include "simulation/SimulationView.h"

#include "model/UserData.h"
#include "properties/QuickPresetsTableView.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"
#include "render/SceneDraw.h"
#include "settings/SnapshotCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QUndoStack>

#include <algorithm>

namespace {

// The number a column's text carries ("#12" is 12).
int columnNumber(const QString& text)
{
    QString digits = text;
    digits.remove(QLatin1Char('#'));
    return digits.toInt();
}

} // namespace

void SimulationView::appendPresetColumn(int number, int labelIndex, int width)
{
    if (!quickPresetsModel)
        return;
    const int column = quickPresetsModel->columnCount();
    auto* item = new QStandardItem(QStringLiteral("#%1").arg(number));
    const int colours = static_cast<int>(labelColors.size());
    // Label colours are numbered from 1.
    item->setIcon(labelColorIcon(colours > 0 ? labelIndex % colours + 1 : 0));
    item->setToolTip(QStringLiteral("Double-click to apply"));
    item->setEditable(false);
    if (quickPresetsModel->rowCount() == 0)
        quickPresetsModel->setRowCount(1);
    quickPresetsModel->setItem(0, column, item);
    if (ui.quickPresetsTable)
        ui.quickPresetsTable->setColumnWidth(column, width);
}

void SimulationView::setLoadedPresetColumns(int count)
{
    if (!quickPresetsModel)
        return;
    quickPresetsModel->clear();
    if (count <= 0)
        return;
    // One row inserted whole: a column at a time costs the model and the
    // table's header the whole row each time.
    const int colours = static_cast<int>(labelColors.size());
    std::vector<QIcon> icons;
    QList<QStandardItem*> items;
    items.reserve(count);
    for (int k = 0; k < count; ++k) {
        // Label colours are numbered from 1.
        const int label = colours > 0 ? k % colours + 1 : 0;
        if (size_t(label) >= icons.size())
            icons.resize(size_t(label) + 1);
        if (icons[size_t(label)].isNull())
            icons[size_t(label)] = labelColorIcon(label);
        auto* item = new QStandardItem(icons[size_t(label)], QStringLiteral("#%1").arg(k + 1));
        item->setToolTip(QStringLiteral("Double-click to apply"));
        item->setEditable(false);
        items.append(item);
    }
    // The new columns take the default width.
    if (ui.quickPresetsTable)
        ui.quickPresetsTable->horizontalHeader()->setDefaultSectionSize(60);
    quickPresetsModel->insertRow(0, items);
}

void SimulationView::handPresetsToTable()
{
    if (ui.quickPresetsTable) {
        ui.quickPresetsTable->setQuickPresetsTableModel(quickPresetsModel);
        ui.quickPresetsTable->setQuickPresets(quickPresets);
    }
}

void SimulationView::addPresets(std::vector<QuickPreset> presets)
{
    for (QuickPreset& preset : presets) {
        const int count = quickPresetsModel ? quickPresetsModel->columnCount() : 0;
        int number = 1;
        if (count > 0)
            if (const QStandardItem* last = quickPresetsModel->item(0, count - 1))
                number = columnNumber(last->text()) + 1;
        appendPresetColumn(number, number, 55);
        quickPresets.push_back(std::move(preset));
    }
    handPresetsToTable();
}

void SimulationView::removePresets(std::vector<int> columns)
{
    std::sort(columns.begin(), columns.end());
    for (auto it = columns.rbegin(); it != columns.rend(); ++it) {
        const int column = *it;
        if (column < 0 || size_t(column) >= quickPresets.size())
            continue;
        if (quickPresetsModel && column < quickPresetsModel->columnCount())
            quickPresetsModel->removeColumn(column);
        quickPresets.erase(quickPresets.begin() + column);
    }
}

std::vector<SimulationView::PresetCell> SimulationView::presetCells(const std::vector<int>& columns) const
{
    std::vector<PresetCell> cells;
    for (int column : columns) {
        PresetCell cell;
        if (quickPresetsModel)
            if (const QStandardItem* item = quickPresetsModel->item(0, column)) {
                cell.text = item->text();
                cell.icon = item->icon();
            }
        if (ui.quickPresetsTable)
            cell.width = ui.quickPresetsTable->columnWidth(column);
        cells.push_back(cell);
    }
    return cells;
}

void SimulationView::insertPresets(std::vector<QuickPreset> presets, std::vector<int> columns,
                                   std::vector<PresetCell> cells)
{
    if (!quickPresetsModel || presets.size() != columns.size() || cells.size() != columns.size())
        return;
    // Ascending: each goes back where it was, the ones before it already in
    // place.
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = std::clamp(columns[i], 0, static_cast<int>(quickPresets.size()));
        auto* item = new QStandardItem(cells[i].icon, cells[i].text);
        item->setToolTip(QStringLiteral("Double-click to apply"));
        item->setEditable(false);
        if (quickPresetsModel->rowCount() == 0)
            quickPresetsModel->setRowCount(1);
        quickPresetsModel->insertColumn(column, QList<QStandardItem*>{item});
        quickPresets.insert(quickPresets.begin() + column, std::move(presets[i]));
        if (ui.quickPresetsTable)
            ui.quickPresetsTable->setColumnWidth(column, cells[i].width);
    }
    handPresetsToTable();
}

void SimulationView::applyPreset(QuickPreset p)
{
    if (ui.zoomSld)
        ui.zoomSld->setValue(p.zoom);
    if (glWidget) {
        glWidget->panX = p.panX;
        glWidget->panY = p.panY;
    }
    setBackground(p.backgroundColor);
    // The edit boxes hold the values in force; the sliders only show them.
    setTimeDivider(p.timeDivider);
    setSubsteps(p.substeps);
    setCollisionTolerance(p.tolerance);
    setGravityMagnitude(p.gravityMagnitude);
    setGravityDirection(p.gravityDirection);
    setGravityInheritFrom(p.gravityFromLayer);
    if (p.gravityFromLayer) {
        if (ui.gravityLayerLst && p.gravityLayer >= 0 && p.gravityLayer < ui.gravityLayerLst->count()) {
            setGravityLayer(p.gravityLayer);
            gravityLayerIndex = p.gravityLayer;
        } else {
            setGravityInheritFrom(false);
        }
    }

    // A snapshot holds one record per scene body; one from elsewhere would
    // break the rows' meaning and is not installed.
    if (p.bodies.size() == bodies.size()) {
        for (size_t row = 0; row < p.bodies.size(); ++row) {
            MyBody& b = p.bodies[row];
            // The records may point into a world that is gone.
            b.body = nullptr;
            b.aematicJoint = nullptr;
            // The drawing data, the selection with it, belongs to the row: a
            // reset scene's fresh records and an older snapshot's take the
            // scene's own, so the tables and the view keep agreeing.
            if (bodies[row].userData)
                b.userData = bodies[row].userData;
            hasKinematicBody = hasKinematicBody || b.type == BodyType::Kinematic;
            hasDormantBody = hasDormantBody || b.type == BodyType::Dormant;
            hasAEmaticBody = hasAEmaticBody || b.type == BodyType::AEmatic;
            hasMagnet = hasMagnet || b.magnetismType != MagnetismType::NoMagnetism;
            if (UserData* data = b.userData) {
                data->staticHighlight = b.type == BodyType::Static;
                data->isMagnet = b.magnetismType != MagnetismType::NoMagnetism;
                data->isRepulsion = b.magnetismType == MagnetismType::Repulsion;
                data->magnetDistance = b.magnetDistance;
                data->color = b2Color(float(b.color.red), float(b.color.green), float(b.color.blue));
            }
            if (bodiesModel && int(row) < bodiesModel->rowCount()) {
                if (QStandardItem* cell = bodiesModel->item(int(row), 3))
                    cell->setIcon(bodyColorIcon(b.color));
                if (QStandardItem* cell = bodiesModel->item(int(row), 2))
                    cell->setText(collisionGroupLetter(b.categoryBits));
            }
        }
        bodies = std::move(p.bodies);
        rebuildStaleOutlines();
    }

    beginJointsReplacement();
    for (const MyJoint& saved : p.joints)
        installJoint(saved);
    endJointsReplacement();
}

void SimulationView::beginJointsReplacement()
{
    // The table changes under no selection slot.
    connectJointsTableSelection(false);
    joints.clear();
    removeAllJointTableRows();
}

const MyJoint& SimulationView::installJoint(const MyJoint& record)
{
    MyJoint joint = record;
    joint.id = static_cast<int32_t>(joints.size());
    joint.joint = nullptr;
    joint.selected = false;
    joint.jointUserData = makeJointUserData(joint.type);
    joint.committedAnchorA = joint.anchorA;
    joint.committedAnchorB = joint.anchorB;
    joint.committedAnchor = joint.anchor;
    joint.committedAxis = joint.axis;
    joints.push_back(joint);
    addJointTableRow(joints.back());
    return joints.back();
}

void SimulationView::endJointsReplacement()
{
    // The new rows are listed by the rule the table follows now.
    if (jointsModel)
        for (int row = 0; row < jointsModel->rowCount(); ++row)
            filterNewJointRow(row);
    connectJointsTableSelection(true);
    if (!joints.empty()) {
        if (jointsAction)
            jointsAction->setChecked(true);
        drawingFlags |= DrawingFlag::Joints;
    }
}

void SimulationView::OnAddQuickPresetBtn()
{
    cancelDrag();
    // A snapshot that its settings file could not save or bring back is not
    // taken.
    const QString refusal = snapshotRefusal();
    if (!refusal.isEmpty()) {
        showSettingsWarning(QStringLiteral("No more scene snapshots can be taken."),
                            refusal + QStringLiteral(" Remove a snapshot to make room."));
        return;
    }
    undoStack->push(new CommandAddPresetChange(this, {currentScene(true)}));
}

void SimulationView::quickPresetsTableDoubleClicked(const QModelIndex& index)
{
    const int column = index.column();
    if (!index.isValid() || column < 0 || size_t(column) >= quickPresets.size())
        return;
    if (isWritingKeys()) {
        showSettingsWarning(QStringLiteral("A scene snapshot cannot be restored while keyframes are being written."),
                            QString());
        return;
    }
    // The scene the step gives back is the committed one, not a drag's.
    cancelDrag();
    undoStack->push(new CommandApplyPresetChange(this, currentScene(false), quickPresets[size_t(column)]));
}

void SimulationView::OnDeleteSelectedQuickPresets()
{
    removeSelectedPresets();
}

void SimulationView::removeSelectedPresets()
{
    if (!ui.quickPresetsTable || !quickPresetsModel || !ui.quickPresetsTable->selectionModel())
        return;
    const QItemSelectionModel* selection = ui.quickPresetsTable->selectionModel();
    std::vector<int> columns;
    std::vector<QuickPreset> removed;
    for (int column = 0; column < quickPresetsModel->columnCount() && size_t(column) < quickPresets.size(); ++column)
        if (selection->isSelected(quickPresetsModel->index(0, column))) {
            columns.push_back(column);
            removed.push_back(quickPresets[size_t(column)]);
        }
    if (!columns.empty())
        undoStack->push(new CommandRemovePresetsChange(this, removed, columns));
}

void SimulationView::quickPresetsTableSelectionChanged(const QItemSelection&, const QItemSelection&)
{
}
