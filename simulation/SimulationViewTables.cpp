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

void SimulationView::setupBodiesTableWidget(int forTheme)
{
    const QString suffix = forTheme == 2 ? QStringLiteral("_white") : QString();
    bodiesModel = new QStandardItemModel(0, 5, this);
    bodiesModel->setHorizontalHeaderItem(
        0, headerItem(QString(), QIcon(QStringLiteral(":/images/body_label%1.png").arg(suffix)),
                      QStringLiteral("Body Label")));
    bodiesModel->setHorizontalHeaderItem(1, headerItem(QStringLiteral("#"), QIcon(), QStringLiteral("Body Index")));
    bodiesModel->setHorizontalHeaderItem(
        2, headerItem(QString(), QIcon(QStringLiteral(":/images/body_group%1.png").arg(suffix)),
                      QStringLiteral("Body Collision Group")));
    bodiesModel->setHorizontalHeaderItem(
        3, headerItem(QString(), QIcon(QStringLiteral(":/images/body_color%1.png").arg(suffix)),
                      QStringLiteral("Body Color")));
    bodiesModel->setHorizontalHeaderItem(4, headerItem(QStringLiteral("Body Name"), QIcon(), QString()));

    const std::vector<ListedLayer> listed = listBodyLayers();
    for (size_t row = 0; row < listed.size(); ++row) {
        const ListedLayer& layer = listed[row];
        QColor labelColour(127, 127, 127);
        if (const AEGP_ColorVal* c = LabelColorOf(layer.label, labelColors))
            labelColour = QColor::fromRgbF(float(c->red), float(c->green), float(c->blue));
        QList<QStandardItem*> items;
        auto* label = fixedItem(QString());
        label->setIcon(swatch(labelColour, 12, iconBorderGray));
        items << label << fixedItem(QString::number(row + 1)) << fixedItem(QStringLiteral("A"))
              << fixedItem(QString()) << new QStandardItem(layer.name);
        bodiesModel->appendRow(items);
    }

    if (ui.bodiesTable) {
        ui.bodiesTable->setModel(bodiesModel);
        const int widths[5] = {30, 30, 30, 30, 140};
        for (int column = 0; column < 5; ++column)
            ui.bodiesTable->setColumnWidth(column, widths[column]);
        ui.bodiesTable->verticalHeader()->setDefaultSectionSize(ui.bodiesTable->fontMetrics().height() + 4);
    }
}

void SimulationView::bodyBuilt(int body, const QColor& color)
{
    if (bodiesModel && body < bodiesModel->rowCount())
        if (QStandardItem* cell = bodiesModel->item(body, 3))
            cell->setIcon(swatch(color, 14, iconBorderGray));
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
    // Property panels: body rows, lists, flags and the scene-wide settings.
    connectPropertyControls();
    if (ui.bodiesTable) {
        connectBodiesTableSelection(true);
        connect(ui.bodiesTable, &QTableView::clicked, this, &SimulationView::bodiesTableItemClicked);
    }
    // Joint property rows and the joints table's selection.
    connectJointControls();
}
