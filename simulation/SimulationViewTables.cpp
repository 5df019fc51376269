// The bodies, joints and snapshot tables as the view builds them at start,
// the joint-type icons, and the connections from the controls to the view.
// The tables' editing and the property slots come with the property panels.
#include "simulation/SimulationView.h"

#include "mainwindow/Themes.h"
#include "model/LabelColor.h"
#include "properties/BodiesTableView.h"
#include "properties/EditBox.h"
#include "properties/SliderGo.h"
#include "properties/QuickPresetsTableView.h"

#include <QAction>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace {

// A size x size swatch of `colour` inside a one-pixel border of grey `grey`.
QIcon swatch(const QColor& colour, int size, int grey)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool border = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            image.setPixel(x, y, border ? qRgb(grey, grey, grey) : colour.rgb());
        }
    return QIcon(QPixmap::fromImage(image));
}

QStandardItem* headerItem(const QString& text, const QIcon& icon, const QString& tip)
{
    auto* item = new QStandardItem(icon, text);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (!tip.isEmpty())
        item->setToolTip(tip);
    return item;
}

// The label, collision-group and colour headers for a theme.
void setIconHeaders(QStandardItemModel* model, int theme)
{
    const struct {
        int column;
        const char* tip;
    } headers[3] = {{0, "Body Label"}, {2, "Body Collision Group"}, {3, "Body Color"}};
    for (const auto& h : headers)
        model->setHorizontalHeaderItem(
            h.column, headerItem(QString(), QIcon(bodyHeaderIconPath(theme, h.column)), QString::fromLatin1(h.tip)));
}

QStandardItem* fixedItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

void SimulationView::loadJointIcons(int forTheme)
{
    distanceJointIcon = QIcon(jointIconPath(forTheme, JointType::Distance));
    revoluteJointIcon = QIcon(jointIconPath(forTheme, JointType::Revolute));
    prismaticJointIcon = QIcon(jointIconPath(forTheme, JointType::Prismatic));
    springJointIcon = QIcon(jointIconPath(forTheme, JointType::Spring));
}

void SimulationView::updateBodiesTableHeaderIcons(int forTheme)
{
    if (!bodiesModel)
        return;
    for (int column : {0, 2, 3})
        if (QStandardItem* header = bodiesModel->horizontalHeaderItem(column))
            header->setIcon(QIcon(bodyHeaderIconPath(forTheme, column)));
}

void SimulationView::setupBodiesTableWidget(int forTheme)
{
    bodiesModel = new QStandardItemModel(0, 5, this);
    setIconHeaders(bodiesModel, forTheme);
    bodiesModel->setHorizontalHeaderItem(1, headerItem(QStringLiteral("#"), QIcon(), QStringLiteral("Body Index")));
    bodiesModel->setHorizontalHeaderItem(4, headerItem(QStringLiteral("Body Name"), QIcon(), QString()));

    populateBodiesList(bodiesModel);

    if (ui.bodiesTable) {
        ui.bodiesTable->setModel(bodiesModel);
        const int widths[5] = {30, 30, 30, 30, 140};
        for (int column = 0; column < 5; ++column)
            ui.bodiesTable->setColumnWidth(column, widths[column]);
        ui.bodiesTable->verticalHeader()->setDefaultSectionSize(ui.bodiesTable->fontMetrics().height() + 4);
    }
}

void SimulationView::populateBodiesList(QStandardItemModel* model)
{
    const std::vector<ListedLayer> listed = listBodyLayers();
    for (size_t row = 0; row < listed.size(); ++row) {
        const ListedLayer& layer = listed[row];
        QList<QStandardItem*> items;
        auto* label = fixedItem(QString());
        label->setIcon(labelColorIcon(layer.label));
        auto* colour = fixedItem(QString());
        colour->setIcon(swatch(layer.tableColor, 14, iconBorderGray));
        items << label << fixedItem(QString::number(row + 1)) << fixedItem(QStringLiteral("A")) << colour
              << new QStandardItem(layer.name);
        model->appendRow(items);
    }
}

void SimulationView::bodyBuilt(int body, const QColor& color)
{
    if (bodiesModel && body < bodiesModel->rowCount())
        if (QStandardItem* cell = bodiesModel->item(body, 3))
            cell->setIcon(swatch(color, 14, iconBorderGray));
}

QIcon SimulationView::bodyColorIcon(const AEGP_ColorVal& color) const
{
    auto component = [](double v) { return std::clamp(static_cast<int>(255.0 * (std::isfinite(v) ? v : 0.0)), 0, 255); };
    return swatch(QColor(component(color.red), component(color.green), component(color.blue)), 14, iconBorderGray);
}

QIcon SimulationView::labelColorIcon(int labelIndex) const
{
    QColor labelColour(127, 127, 127);
    if (const AEGP_ColorVal* c = LabelColorOf(labelIndex, labelColors))
        labelColour = QColor::fromRgbF(float(c->red), float(c->green), float(c->blue));
    return swatch(labelColour, 12, iconBorderGray);
}

QString SimulationView::collisionGroupLetter(uint16_t categoryBits)
{
    switch (categoryBits) {
    case 2:
        return QStringLiteral("B");
    case 4:
        return QStringLiteral("C");
    case 8:
        return QStringLiteral("D");
    case 16:
        return QStringLiteral("E");
    default:
        return QStringLiteral("A");
    }
}

void SimulationView::setupJointsTableWidget()
{
    jointsModel = new QStandardItemModel(0, 4, this);
    jointsModel->setHorizontalHeaderItem(0, headerItem(QStringLiteral("#"), QIcon(), QStringLiteral("Joint Index")));
    jointsModel->setHorizontalHeaderItem(1, headerItem(QStringLiteral("Type"), QIcon(), QString()));
    jointsModel->setHorizontalHeaderItem(2, headerItem(QStringLiteral("#A"), QIcon(), QStringLiteral("Body A Index")));
    jointsModel->setHorizontalHeaderItem(3, headerItem(QStringLiteral("Body A"), QIcon(), QString()));
    jointsModel->setHorizontalHeaderItem(4, headerItem(QStringLiteral("#B"), QIcon(), QStringLiteral("Body B Index")));
    jointsModel->setHorizontalHeaderItem(5, headerItem(QStringLiteral("Body B"), QIcon(), QString()));
    if (ui.jointsTable) {
        ui.jointsTable->setModel(jointsModel);
        for (int column : {0, 1, 2, 4})
            ui.jointsTable->setColumnWidth(column, 30);
        ui.jointsTable->verticalHeader()->setDefaultSectionSize(ui.jointsTable->fontMetrics().height() + 4);
    }
}

QStandardItem* SimulationView::jointTypeItem(int type) const
{
    static const char* const names[] = {"Distance Joint", "Pivot Joint", "Piston Joint", "Spring Joint"};
    const QIcon* icons[] = {&distanceJointIcon, &revoluteJointIcon, &prismaticJointIcon, &springJointIcon};
    auto* item = fixedItem(QString());
    if (type >= JointType::Distance && type <= JointType::Spring) {
        item->setIcon(*icons[type]);
        item->setToolTip(QString::fromLatin1(names[type]));
    }
    return item;
}

QList<QStandardItem*> SimulationView::jointRowItems(const MyJoint& joint, int row) const
{
    auto bodyNumber = [&](int body) {
        return body >= 0 && size_t(body) < bodies.size() ? QString::number(bodies[size_t(body)].index) : QString();
    };
    auto bodyName = [&](int body) {
        return body >= 0 && size_t(body) < bodies.size() ? bodies[size_t(body)].name : QString();
    };
    QList<QStandardItem*> items;
    items << fixedItem(QString::number(row + 1)) << jointTypeItem(joint.type)
          << new QStandardItem(bodyNumber(joint.bodyA)) << new QStandardItem(bodyName(joint.bodyA))
          << new QStandardItem(bodyNumber(joint.bodyB)) << new QStandardItem(bodyName(joint.bodyB));
    return items;
}

void SimulationView::addJointTableRow(const MyJoint& joint)
{
    if (jointsModel)
        jointsModel->appendRow(jointRowItems(joint, jointsModel->rowCount()));
}

void SimulationView::removeAllJointTableRows()
{
    if (jointsModel)
        jointsModel->removeRows(0, jointsModel->rowCount());
}

void SimulationView::setupQuickPresetsTableWidget()
{
    quickPresetsModel = new QStandardItemModel(this);
    if (ui.quickPresetsTable) {
        ui.quickPresetsTable->setModel(quickPresetsModel);
        ui.quickPresetsTable->verticalHeader()->setDefaultSectionSize(
            ui.quickPresetsTable->fontMetrics().height() + 4);
    }
}

// The controls whose slots the view has; the property rows, tables, colour
// button, snapshots and menus are connected with their slots.
void SimulationView::makeConnections()
{
    if (ui.undo)
        connect(ui.undo, &QAction::triggered, this, &SimulationView::undo);
    if (ui.redo)
        connect(ui.redo, &QAction::triggered, this, &SimulationView::redo);
    // Every step done, undone or redone may change the records the body
    // panel shows; an edit box left stale would write its value back when
    // it loses focus.
    if (undoStack) {
        // A step undone, redone or made elsewhere while the mouse still
        // drags in the view ends the drag: its release would build its step
        // on records the history has just replaced.
        connect(undoStack, &QUndoStack::indexChanged, this, &SimulationView::cancelDrag);
        connect(undoStack, &QUndoStack::indexChanged, this, &SimulationView::refreshBodyPanel);
    }
    // Property panels: body rows, lists, flags and the scene-wide settings.
    connectPropertyControls();
    if (ui.bodiesTable) {
        connectBodiesTableSelection(true);
        connect(ui.bodiesTable, &QTableView::clicked, this, &SimulationView::bodiesTableItemClicked);
    }
    // Joint property rows and the joints table's selection.
    connectJointControls();
    // The randomizer, also reachable by its key while the window is active.
    if (ui.onRandomizer) {
        connect(ui.onRandomizer, &QAction::triggered, this, &SimulationView::OnRandomizer, Qt::UniqueConnection);
        addAction(ui.onRandomizer);
    }

    // Scene snapshots: take, restore by double-click, and the table's menu
    // with its one entry.
    if (ui.addQuickPresetBtn)
        connect(ui.addQuickPresetBtn, &QToolButton::clicked, this, &SimulationView::OnAddQuickPresetBtn);
    if (ui.quickPresetsTable) {
        connect(ui.quickPresetsTable, &QTableView::doubleClicked, this,
                &SimulationView::quickPresetsTableDoubleClicked);
        quickPresetsContextMenu = new QMenu();
        QAction* remove = quickPresetsContextMenu->addAction(QStringLiteral("Delete"));
        connect(remove, &QAction::triggered, this, &SimulationView::OnDeleteSelectedQuickPresets);
        ui.quickPresetsTable->setContextMenuPolicy(Qt::CustomContextMenu);
        ui.quickPresetsTable->setContextMenu(quickPresetsContextMenu);
    }
}
