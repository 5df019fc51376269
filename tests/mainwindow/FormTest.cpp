// The main window form's widgets: the central area, the tables, the export
// and information panels, and every row of the three property panels, each
// checked against its settings from tables.

#include "FormFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <stdexcept>

#include "properties/EditBox.h"
#include "properties/SliderGo.h"

namespace {

constexpr double M = 16777200.0;
constexpr int kNoMax = QWIDGETSIZE_MAX;

class FormTest : public FormFixture
{
};

QString policyName(QSizePolicy::Policy p)
{
    switch (p) {
    case QSizePolicy::Fixed: return "fixed";
    case QSizePolicy::Minimum: return "minimum";
    case QSizePolicy::Expanding: return "expanding";
    case QSizePolicy::Preferred: return "preferred";
    default: return "other";
    }
}

// A layout's items in order: widgets and layouts by name, spacers as
// "w x h horizontal/vertical".
QStringList itemsOf(QLayout* layout)
{
    QStringList out;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* it = layout->itemAt(i);
        if (it->widget())
            out << it->widget()->objectName();
        else if (it->layout())
            out << it->layout()->objectName();
        else if (QSpacerItem* s = it->spacerItem())
            out << QStringLiteral("%1x%2 %3/%4")
                       .arg(s->sizeHint().width())
                       .arg(s->sizeHint().height())
                       .arg(policyName(s->sizePolicy().horizontalPolicy()),
                            policyName(s->sizePolicy().verticalPolicy()));
    }
    return out;
}

// ---------------------------------------------------------------------------
// Central area
// ---------------------------------------------------------------------------

TEST_F(FormTest, CentralAreaLayout)
{
    auto* grid = qobject_cast<QGridLayout*>(ui->centralWidget->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->objectName(), "gridLayout");
    EXPECT_EQ(grid->contentsMargins(), QMargins(0, 0, 0, 0));
    EXPECT_EQ(itemsOf(grid), QStringList({"widget"}));
    EXPECT_EQ(ui->gridLayout_2->contentsMargins(), QMargins(5, 5, 5, 5));
    EXPECT_EQ(ui->gridLayout_2->spacing(), 6);
    EXPECT_EQ(itemsOf(ui->gridLayout_2), QStringList({"verticalLayout_2"}));
    EXPECT_EQ(ui->verticalLayout_2->spacing(), 3);
    EXPECT_EQ(ui->verticalLayout_2->contentsMargins().left(), 0);
    EXPECT_EQ(ui->verticalLayout_2->contentsMargins().right(), 0);
    EXPECT_EQ(itemsOf(ui->verticalLayout_2), QStringList({"horizontalLayout_22", "verticalLayout"}));

    EXPECT_EQ(ui->horizontalLayout_22->spacing(), 2);
    EXPECT_EQ(ui->horizontalLayout_22->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(itemsOf(ui->horizontalLayout_22),
              QStringList({"selectionToolBtn", "handToolBtn", "anchorToolBtn", "gravityToolBtn",
                           "velocityToolBtn", "10x20 fixed/minimum", "toolsNoteSt",
                           "40x20 expanding/minimum", "quickPresetsTable", "addQuickPresetBtn"}));
    EXPECT_EQ(itemsOf(ui->verticalLayout), QStringList({"simulationPreviewWidget", "horizontalLayout_3"}));
    EXPECT_EQ(ui->verticalLayout->spacing(), 6);
    EXPECT_EQ(itemsOf(ui->horizontalLayout_3),
              QStringList({"horizontalLayout", "30x20 expanding/minimum", "horizontalLayout_23",
                           "25x17 expanding/minimum", "horizontalLayout_2"}));
    EXPECT_EQ(ui->horizontalLayout_3->spacing(), 0);
    EXPECT_EQ(itemsOf(ui->horizontalLayout),
              QStringList({"zoomOutBtn", "zoomSld", "zoomInBtn", "zoomFitBtn", "bgColorBtn", "viewOptionsBtn"}));
    EXPECT_EQ(ui->horizontalLayout->spacing(), 6);
    EXPECT_EQ(itemsOf(ui->horizontalLayout_23),
              QStringList({"fpsSt", "6x17 fixed/minimum", "frameSt", "15x20 fixed/minimum"}));
    EXPECT_EQ(itemsOf(ui->horizontalLayout_2), QStringList({"restartBtn", "playBtn", "stepBtn", "repeatBtn"}));
    EXPECT_EQ(ui->horizontalLayout_2->spacing(), 4);

    EXPECT_EQ(ui->simulationPreviewWidget->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    EXPECT_EQ(ui->simulationPreviewWidget->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    EXPECT_EQ(ui->simulationPreviewWidget->focusPolicy(), Qt::WheelFocus);
}

struct ButtonRow
{
    const char* name;
    const char* toolTip;
    QSize minimum;
    QSize maximum;
    QSize iconSize;  // empty: not set by the form
    bool checkable;
    bool checked;
};

const QSize kAny;

const ButtonRow kCentralButtons[] = {
    {"selectionToolBtn", "Selection Tool (V)", {30, 23}, {kNoMax, kNoMax}, kAny, true, true},
    {"handToolBtn", "Hand Tool (H)", {30, 23}, {kNoMax, kNoMax}, kAny, true, false},
    {"anchorToolBtn", "Anchor Tool (Y)", {30, 23}, {kNoMax, kNoMax}, kAny, true, false},
    {"gravityToolBtn", "Gravity Tool (G)", {30, 23}, {kNoMax, kNoMax}, kAny, true, false},
    {"velocityToolBtn", "Velocity Tool (P)", {30, 23}, {kNoMax, kNoMax}, kAny, true, false},
    {"addQuickPresetBtn", "Take Scene Snapshot", {30, 23}, {30, kNoMax}, kAny, false, false},
    {"zoomOutBtn", "Zoom Out", {0, 0}, {kNoMax, kNoMax}, {20, 17}, false, false},
    {"zoomInBtn", "Zoom In", {0, 0}, {kNoMax, kNoMax}, {20, 17}, false, false},
    {"zoomFitBtn", "Best Fit Zoom", {0, 0}, {kNoMax, kNoMax}, {20, 17}, false, false},
    {"bgColorBtn", "Background Color", {0, 0}, {kNoMax, kNoMax}, {20, 17}, false, false},
    {"restartBtn", "First Frame", {45, 32}, {45, 32}, {32, 26}, false, false},
    {"playBtn", "Play/Pause", {45, 32}, {45, 32}, {32, 26}, true, false},
    {"stepBtn", "Next Frame", {45, 32}, {45, 32}, {32, 26}, false, false},
    {"repeatBtn", "Repeat from 0 to current frame", {45, 32}, {45, 32}, {32, 26}, true, false},
    {"addDistanceJointBtn", "Add Distance Joint", {30, 23}, {kNoMax, kNoMax}, kAny, false, false},
    {"addRevoluteJointBtn", "Add Pivot Joint", {30, 23}, {kNoMax, kNoMax}, kAny, false, false},
    {"addPrismaticJointBtn", "Add Piston Joint", {30, 23}, {kNoMax, kNoMax}, kAny, false, false},
    {"addSpringJointBtn", "Add Spring Joint", {30, 23}, {kNoMax, kNoMax}, kAny, false, false},
    {"removeJointBtn", "Remove Joint", {30, 23}, {kNoMax, kNoMax}, kAny, false, false},
};

TEST_F(FormTest, ImageButtonsHaveTooltipsAndNoText)
{
    for (const ButtonRow& row : kCentralButtons) {
        SCOPED_TRACE(row.name);
        auto* b = find<QToolButton>(row.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), row.toolTip);
        EXPECT_TRUE(b->text().isEmpty());
        EXPECT_TRUE(b->icon().isNull());
        EXPECT_EQ(b->minimumSize(), row.minimum);
        EXPECT_EQ(b->maximumSize(), row.maximum);
        if (row.iconSize.isValid()) {
            EXPECT_EQ(b->iconSize(), row.iconSize);
        }
        EXPECT_EQ(b->isCheckable(), row.checkable);
        EXPECT_EQ(b->isChecked(), row.checked);
        EXPECT_TRUE(b->isEnabled());
    }
    EXPECT_FALSE(ui->selectionToolBtn->autoRaise());
}

TEST_F(FormTest, ZoomViewOptionsAndReadOuts)
{
    SliderGo* zoom = ui->zoomSld;
    EXPECT_EQ(zoom->parentWidget(), ui->widget);
    EXPECT_EQ(zoom->ownerWidget(), ui->widget);
    EXPECT_EQ(zoom->orientation(), Qt::Horizontal);
    EXPECT_EQ(zoom->minimum(), 1);
    EXPECT_EQ(zoom->maximum(), 2000);
    EXPECT_EQ(zoom->singleStep(), 1);
    EXPECT_EQ(zoom->value(), 250);
    EXPECT_FALSE(zoom->invertedAppearance());
    EXPECT_EQ(zoom->minimumWidth(), 90);
    EXPECT_EQ(zoom->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(zoom->toolTip(), "Zoom");

    QPushButton* view = ui->viewOptionsBtn;
    EXPECT_EQ(view->minimumWidth(), 40);
    EXPECT_EQ(view->maximumWidth(), 40);
    EXPECT_EQ(view->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(view->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(view->toolTip(), "View Options");
    EXPECT_EQ(view->menu(), nullptr);

    EXPECT_EQ(ui->fpsSt->text(), "00.0/25.0");
    EXPECT_EQ(ui->fpsSt->toolTip(), "Frame Rate");
    EXPECT_EQ(ui->fpsSt->minimumWidth(), 55);
    EXPECT_EQ(ui->frameSt->text(), "00000");
    EXPECT_EQ(ui->frameSt->toolTip(), "Frame Number");
    EXPECT_EQ(ui->frameSt->minimumWidth(), 40);
    EXPECT_FALSE(ui->frameSt->font().bold());
    EXPECT_EQ(ui->frameSt->font().weight(), QFont::Normal);
    EXPECT_EQ(ui->toolsNoteSt->text(), "Notes Placeholder");
    for (QLabel* l : {ui->fpsSt, ui->frameSt, ui->toolsNoteSt}) {
        EXPECT_TRUE(l->alignment() & Qt::AlignRight) << l->objectName().toStdString();
        EXPECT_TRUE(l->alignment() & Qt::AlignVCenter) << l->objectName().toStdString();
    }
}

TEST_F(FormTest, TheThreeTables)
{
    QTableView* presets = ui->quickPresetsTable;
    EXPECT_STREQ(presets->metaObject()->className(), "QuickPresetsTableView");
    EXPECT_EQ(presets->parentWidget(), ui->widget);
    EXPECT_EQ(presets->maximumHeight(), 20);
    EXPECT_EQ(presets->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    EXPECT_EQ(presets->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(presets->contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_EQ(presets->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(presets->editTriggers(), QAbstractItemView::SelectedClicked |
                                           QAbstractItemView::EditKeyPressed |
                                           QAbstractItemView::AnyKeyPressed);
    EXPECT_FALSE(presets->tabKeyNavigation());
    EXPECT_FALSE(presets->showDropIndicator());
    EXPECT_FALSE(presets->dragEnabled());
    EXPECT_FALSE(presets->dragDropOverwriteMode());
    EXPECT_EQ(presets->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(presets->selectionBehavior(), QAbstractItemView::SelectColumns);
    EXPECT_FALSE(presets->showGrid());
    EXPECT_TRUE(presets->horizontalHeader()->isHidden());
    EXPECT_FALSE(presets->horizontalHeader()->stretchLastSection());
    EXPECT_TRUE(presets->verticalHeader()->isHidden());

    QTableView* bodies = ui->bodiesTable;
    QTableView* joints = ui->jointsTable;
    EXPECT_STREQ(bodies->metaObject()->className(), "BodiesTableView");
    EXPECT_STREQ(joints->metaObject()->className(), "QTableView");
    EXPECT_EQ(bodies->parentWidget(), ui->dockWidgetContents);
    EXPECT_EQ(joints->parentWidget(), ui->dockWidgetContents_11);
    for (QTableView* t : {bodies, joints}) {
        SCOPED_TRACE(t->objectName().toStdString());
        EXPECT_EQ(t->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_FALSE(t->tabKeyNavigation());
        EXPECT_EQ(t->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(t->verticalScrollMode(), QAbstractItemView::ScrollPerPixel);
        EXPECT_EQ(t->horizontalScrollMode(), QAbstractItemView::ScrollPerPixel);
        EXPECT_FALSE(t->showGrid());
        EXPECT_FALSE(t->horizontalHeader()->highlightSections());
        EXPECT_TRUE(t->horizontalHeader()->stretchLastSection());
        EXPECT_TRUE(t->verticalHeader()->isHidden());
    }
    EXPECT_TRUE(bodies->hasMouseTracking());
    EXPECT_EQ(bodies->contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_FALSE(joints->hasMouseTracking());
    EXPECT_EQ(joints->contextMenuPolicy(), Qt::DefaultContextMenu);
    for (QWidget* w : {static_cast<QWidget*>(presets), static_cast<QWidget*>(bodies),
                       static_cast<QWidget*>(joints), static_cast<QWidget*>(ui->viewOptionsBtn)})
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();

    EXPECT_EQ(itemsOf(ui->gridLayout_8), QStringList({"verticalLayout_5"}));
    EXPECT_EQ(ui->verticalLayout_5->spacing(), 3);
    EXPECT_EQ(itemsOf(ui->verticalLayout_5), QStringList({"horizontalLayout_29", "jointsTable"}));
    EXPECT_EQ(itemsOf(ui->horizontalLayout_29),
              QStringList({"3x17 fixed/minimum", "addDistanceJointBtn", "addRevoluteJointBtn",
                           "addPrismaticJointBtn", "addSpringJointBtn", "40x20 expanding/minimum",
                           "removeJointBtn", "3x17 fixed/minimum"}));
}

TEST_F(FormTest, ExportPanel)
{
    EXPECT_EQ(ui->scrollArea_4->minimumWidth(), 280);
    EXPECT_TRUE(ui->scrollArea_4->widgetResizable());
    EXPECT_EQ(ui->scrollArea_4->widget(), ui->scrollAreaWidgetContents_4);
    QFormLayout* form = ui->formLayout_8;
    EXPECT_EQ(form->contentsMargins(), QMargins(11, 11, 11, 11));
    EXPECT_EQ(form->fieldGrowthPolicy(), QFormLayout::AllNonFixedFieldsGrow);

    auto at = [&](int row, QFormLayout::ItemRole role) -> QString {
        QLayoutItem* it = form->itemAt(row, role);
        if (!it)
            return QString();
        return it->widget() ? it->widget()->objectName() : it->layout()->objectName();
    };
    EXPECT_EQ(at(0, QFormLayout::SpanningRole), "horizontalLayout_25");
    EXPECT_EQ(at(1, QFormLayout::SpanningRole), "applyToNewCompCb");
    EXPECT_EQ(at(2, QFormLayout::LabelRole), "enableMotionBlurCb");
    for (int row : {3, 4})
        for (auto role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
            EXPECT_TRUE(at(row, role).isEmpty()) << row;
    EXPECT_EQ(at(5, QFormLayout::SpanningRole), "exportBtn");
    EXPECT_EQ(at(6, QFormLayout::SpanningRole), "progressBar");
    EXPECT_EQ(at(7, QFormLayout::SpanningRole), "exportNoteSt");
    EXPECT_EQ(itemsOf(ui->horizontalLayout_25),
              QStringList({"label_6", "startFrameEt", "12x20 fixed/minimum", "label_7", "endFrameEt",
                           "61x14 expanding/minimum"}));
    EXPECT_EQ(ui->label_6->text(), "Start Frame:");
    EXPECT_EQ(ui->label_7->text(), "End Frame:");

    for (QSpinBox* box : {ui->startFrameEt, ui->endFrameEt}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->parentWidget(), ui->scrollAreaWidgetContents_4);
        EXPECT_EQ(box->minimumSize(), QSize(55, 23));
        EXPECT_EQ(box->maximumSize(), QSize(55, 23));
        EXPECT_EQ(box->buttonSymbols(), QAbstractSpinBox::NoButtons);
        EXPECT_EQ(box->minimum(), 0);
        EXPECT_EQ(box->maximum(), 16777215);
        EXPECT_EQ(box->value(), 0);
        EXPECT_EQ(box->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
        EXPECT_EQ(box->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    }
    EXPECT_EQ(ui->applyToNewCompCb->text(), "Apply to New Composition");
    EXPECT_TRUE(ui->applyToNewCompCb->isChecked());
    EXPECT_EQ(ui->enableMotionBlurCb->text(), "Enable Motion Blur");
    EXPECT_FALSE(ui->enableMotionBlurCb->isChecked());

    QToolButton* render = ui->exportBtn;
    EXPECT_EQ(render->text(), "Render");
    EXPECT_TRUE(render->toolTip().isEmpty());
    EXPECT_TRUE(render->isCheckable());
    EXPECT_FALSE(render->isChecked());
    EXPECT_EQ(render->minimumSize(), QSize(68, 20));
    EXPECT_EQ(render->iconSize(), QSize(32, 26));

    EXPECT_EQ(ui->progressBar->maximumHeight(), 7);
    EXPECT_EQ(ui->progressBar->value(), 0);
    EXPECT_FALSE(ui->progressBar->isTextVisible());
    EXPECT_EQ(ui->exportNoteSt->text(), "Note Placeholder");
    EXPECT_EQ(ui->exportNoteSt->minimumWidth(), 115);
    EXPECT_TRUE(ui->exportNoteSt->alignment() & Qt::AlignLeft);
    for (QWidget* w : {static_cast<QWidget*>(ui->applyToNewCompCb),
                       static_cast<QWidget*>(ui->enableMotionBlurCb), static_cast<QWidget*>(render),
                       static_cast<QWidget*>(ui->progressBar), static_cast<QWidget*>(ui->exportNoteSt)})
        EXPECT_EQ(w->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding) << w->objectName().toStdString();
}

TEST_F(FormTest, InformationPanel)
{
    EXPECT_EQ(itemsOf(ui->gridLayout_4),
              QStringList({"mouseCoordsSt", "hLine", "infoSt", "20x40 minimum/expanding"}));
    EXPECT_TRUE(ui->mouseCoordsSt->text().isEmpty());
    EXPECT_TRUE(ui->infoSt->text().isEmpty());
    EXPECT_TRUE(ui->infoSt->wordWrap());
    EXPECT_EQ(ui->infoSt->alignment() & (Qt::AlignLeft | Qt::AlignTop), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(ui->hLine->frameShape(), QFrame::HLine);
    EXPECT_EQ(ui->hLine->frameShadow(), QFrame::Sunken);
}

// ---------------------------------------------------------------------------
// Property panels
// ---------------------------------------------------------------------------

struct TabRow
{
    const char* tabWidget;
    int index;
    const char* title;
    const char* page;
    const char* scrollArea;
    bool horizontalBarOff;
    const char* contents;
    const char* form;
    int margin;
    bool grow;  // all non-fixed fields grow
};

const TabRow kTabs[] = {
    {"globalPropertiesTabWidget", 0, "Gravity", "tab_2", "scrollArea_2", true, "scrollAreaWidgetContents_2", "formLayout_4", 11, true},
    {"globalPropertiesTabWidget", 1, "Solver", "tab", "scrollArea_3", false, "scrollAreaWidgetContents_3", "formLayout_7", 11, false},
    {"bodyPropertiesTabWidget", 0, "General", "propertiesTabWidgetPage3_2", "scrollArea_5", true, "scrollAreaWidgetContents_5", "formLayout_2", 9, true},
    {"bodyPropertiesTabWidget", 1, "Advanced", "propertiesTabWidgetPage6_2", "scrollArea_8", true, "scrollAreaWidgetContents_8", "formLayout_6", 11, true},
    {"jointPropertiesTabWidget", 0, "Distance", "propertiesTabWidgetPage4", "scrollArea_7", true, "scrollAreaWidgetContents_7", "formLayout_5", 11, false},
    {"jointPropertiesTabWidget", 1, "Pivot", "propertiesTabWidgetPage6", "scrollArea", true, "scrollAreaWidgetContents", "formLayout", 11, false},
    {"jointPropertiesTabWidget", 2, "Piston", "tab_3", "scrollArea_9", true, "scrollAreaWidgetContents_9", "formLayout_9", 11, false},
    {"jointPropertiesTabWidget", 3, "Spring", "propertiesTabWidgetPage5", "scrollArea_6", true, "scrollAreaWidgetContents_6", "formLayout_3", 11, false},
};

const TabRow& tabOf(const char* title)
{
    for (const TabRow& t : kTabs)
        if (qstrcmp(t.title, title) == 0)
            return t;
    throw std::invalid_argument(title);
}

TEST_F(FormTest, TabsPagesAndScrollAreas)
{
    EXPECT_EQ(ui->globalPropertiesTabWidget->count(), 2);
    EXPECT_EQ(ui->bodyPropertiesTabWidget->count(), 2);
    EXPECT_EQ(ui->jointPropertiesTabWidget->count(), 4);
    EXPECT_EQ(ui->globalPropertiesTabWidget->minimumWidth(), 285);
    EXPECT_EQ(ui->bodyPropertiesTabWidget->minimumWidth(), 280);
    for (QTabWidget* t : {ui->bodyPropertiesTabWidget, ui->jointPropertiesTabWidget}) {
        EXPECT_EQ(t->tabPosition(), QTabWidget::North);
        EXPECT_FALSE(t->usesScrollButtons());
        EXPECT_FALSE(t->documentMode());
        EXPECT_FALSE(t->isMovable());
    }
    for (const TabRow& row : kTabs) {
        SCOPED_TRACE(row.title);
        auto* tabs = find<QTabWidget>(row.tabWidget);
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(tabs->tabText(row.index), row.title);
        EXPECT_TRUE(tabs->tabIcon(row.index).isNull());
        QWidget* page = tabs->widget(row.index);
        EXPECT_EQ(page->objectName(), row.page);
        ASSERT_NE(page->layout(), nullptr);
        EXPECT_EQ(page->layout()->contentsMargins(), QMargins(0, 0, 0, 0));
        auto* area = find<QScrollArea>(row.scrollArea);
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->parentWidget(), page);
        EXPECT_TRUE(area->widgetResizable());
        EXPECT_EQ(area->horizontalScrollBarPolicy(),
                  row.horizontalBarOff ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        ASSERT_NE(area->widget(), nullptr);
        EXPECT_EQ(area->widget()->objectName(), row.contents);
        auto* form = qobject_cast<QFormLayout*>(area->widget()->layout());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->objectName(), row.form);
        EXPECT_EQ(form->contentsMargins(), QMargins(row.margin, row.margin, row.margin, row.margin));
        EXPECT_EQ(form->horizontalSpacing(), 6);
        EXPECT_EQ(form->verticalSpacing(), 6);
        if (row.grow) {
            EXPECT_EQ(form->fieldGrowthPolicy(), QFormLayout::AllNonFixedFieldsGrow);
        }
    }
}

struct NumericRow
{
    const char* tab;
    int row;
    const char* label;
    const char* labelText;
    const char* p;  // the property: <p>Et, <p>Sld
    double min, max;
    int decimals;
    double step, init;
    int sliderMin, sliderMax, sliderStep, sliderPage, sliderInit;
    const char* reset;
};

const NumericRow kNumericRows[] = {
    {"Gravity", 0, "label_4", "Magnitude:", "gravityMagnitude", 0, M, 3, 1, 10.0, 0, 50000, 1, 10, 10000, "resetGravityMagnitudeBtn"},
    {"Gravity", 1, "label_5", "Direction:", "gravityDirection", -M, M, 3, 1, 90.0, 0, 360000, 1, 10, 90000, "resetGravityDirectionBtn"},
    {"Solver", 0, "label", "Time Divider:", "timeDivider", 0.01, M, 3, 0.1, 1.0, 1, 5000, 1, 10, 1000, "resetTimeDividerBtn"},
    {"Solver", 1, "label_3", "Sub-steps:", "substeps", 0, 10, 0, 1, 2, 1, 10, 1, 1, 2, "resetSubsteppingBtn"},
    {"Solver", 2, "label_2", "Collision Tolerance:", "collisionTolerance", 0.001, M, 3, 1, 50.0, 1, 100000, 1, 10, 50000, "resetToleranceBtn"},
    {"General", 1, "densitySt", "Density:", "density", 0.001, M, 3, 1, 1.0, 0, 10000, 5, 10, 1000, "resetDensityBtn"},
    {"General", 2, "frictionSt", "Friction:", "friction", 0, M, 3, 0.1, 0.5, 0, 1000, 1, 10, 500, "resetFrictionBtn"},
    {"General", 3, "bouncinessSt", "Bounciness:", "bounciness", 0, M, 3, 0.1, 0.3, 0, 1000, 1, 10, 300, "resetBouncinessBtn"},
    {"General", 5, "meshPrecisionSt", "Mesh Precision:", "meshPrecision", 0, 10, 0, 1, 2, 1, 10, 1, 1, 2, "resetMeshPrecisionBtn"},
    {"General", 6, "velocityMagnitudeSt", "Velocity Magnitude:", "velocityMagnitude", 0, M, 3, 1, 0, 0, 50000, 1, 10, 0, "resetVelocityMagnitudeBtn"},
    {"General", 7, "velocityDirectionSt", "Velocity Direction:", "velocityDirection", -M, M, 3, 1, 0, 0, 360000, 1, 10, 0, "resetVelocityDirectionBtn"},
    {"General", 8, "angularVelocitySt", "Angular Velocity:", "angularVelocity", -M, M, 3, 1, 0, -5000, 5000, 1, 10, 0, "resetAngularVelocityBtn"},
    {"General", 9, "linearDampingSt", "Linear Damping:", "linearDamping", 0, M, 3, 0.1, 0, 0, 1000, 1, 10, 0, "resetLinearDampingBtn"},
    {"General", 10, "angularDampingSt", "Angular Damping:", "angularDamping", 0, M, 3, 0.1, 0, 0, 1000, 1, 10, 0, "resetAngularDampingBtn"},
    {"General", 11, "aematicDampingSt", "AEmatic Damping:", "aematicDamping", 0, M, 3, 0.1, 0.5, 0, 1000, 1, 10, 500, "resetAEmaticDampingBtn"},
    {"General", 12, "aematicTensionSt", "AEmatic Tension:", "aematicTension", 0.01, M, 3, 1, 1.0, 10, 3000, 1, 10, 1000, "resetAEmaticTensionBtn"},
    {"Advanced", 3, "gravityScaleSt", "Gravity Scale:", "gravityScale", -M, M, 3, 1, 1.0, -2000, 2000, 1, 10, 1000, "resetGravityScaleBtn"},
    {"Advanced", 7, "magnetIntensitySt", "Magnet Intensity:", "magnetIntensity", 0, M, 3, 1, 10.0, 0, 2500000, 1, 10, 10000, "resetMagnetIntensityBtn"},
    {"Advanced", 8, "magnetDistanceSt", "Magnet Distance:", "magnetDistance", 0, M, 3, 1, 100.0, 0, 1000000, 1, 1, 100000, "resetMagnetDistanceBtn"},
    {"Distance", 0, "distanceJointFrequencySt", "Tension (0=auto):", "distanceJointFrequency", 0, M, 3, 0.1, 0, 0, 10000, 1, 10, 0, "resetDistanceJointFrequencyBtn"},
    {"Distance", 1, "distanceJointDampingSt", "Damping:", "distanceJointDamping", -M, M, 3, 0.1, 0, 0, 1000, 1, 10, 0, "resetDistanceJointDampingBtn"},
    {"Pivot", 1, "revoluteJointLowerAngleSt", "Lower Angle:", "revoluteJointLowerAngle", -M, 0, 3, 1, 0, -180000, 0, 1, 10, 0, "resetRevoluteJointLowerAngleBtn"},
    {"Pivot", 2, "revoluteJointUpperAngleSt", "Upper Angle:", "revoluteJointUpperAngle", 0, M, 3, 1, 0, 0, 180000, 1, 10, 0, "resetRevoluteJointUpperAngleBtn"},
    {"Pivot", 4, "revoluteJointMotorSpeedSt", "Motor Speed:", "revoluteJointMotorSpeed", -M, M, 3, 0.5, 0, -5000, 5000, 1, 10, 0, "resetRevoluteJointMotorSpeedBtn"},
    {"Pivot", 5, "revoluteJointMaxMotorTorqueSt", "Max Motor Torque:", "revoluteJointMaxMotorTorque", 0, M, 3, 1, 0, 0, 100000, 1, 10, 0, "resetRevoluteJointMaxMotorTorqueBtn"},
    {"Piston", 1, "prismaticJointLowerTranslationSt", "Lower Translation:", "prismaticJointLowerTranslation", -M, M, 3, 1, 0, -10000, 0, 1, 10, 0, "resetPrismaticJointLowerTranslationBtn"},
    {"Piston", 2, "prismaticJointUpperTranslationSt", "Upper Translation:", "prismaticJointUpperTranslation", -M, M, 3, 1, 0, 0, 10000, 1, 10, 0, "resetPrismaticJointUpperTranslationBtn"},
    {"Piston", 4, "prismaticJointMotorSpeedSt", "Motor Speed:", "prismaticJointMotorSpeed", -M, M, 3, 0.1, 0, -5000, 5000, 1, 10, 0, "resetPrismaticJointMotorSpeedBtn"},
    {"Piston", 5, "prismaticJointMaxMotorForceSt", "Max Motor Force:", "prismaticJointMaxMotorForce", 0, M, 3, 0.1, 0, 0, 10000, 1, 10, 0, "resetPrismaticJointMaxMotorForceBtn"},
    {"Spring", 0, "springJointSpringinessSt", "Springiness:", "springJointSpringiness", 0, M, 3, 0.1, 1.0, 0, 2000, 1, 10, 1000, "resetSpringJointSpringinessBtn"},
    {"Spring", 1, "springJointDampingSt", "Damping:", "springJointDamping", 0, M, 3, 0.1, 0.5, 0, 1000, 1, 10, 500, "resetSpringJointDampingBtn"},
    {"Spring", 2, "springJointDesiredLengthSt", "Desired Length:", "springJointDesiredLength", 0, M, 3, 0.1, 1.0, 0, 5000, 1, 10, 1000, "resetSpringJointDesiredLengthBtn"},
};

bool isGlobal(const char* tab)
{
    return qstrcmp(tab, "Gravity") == 0 || qstrcmp(tab, "Solver") == 0;
}

void expectResetButton(QToolButton* b, QWidget* contents, bool enabled)
{
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->parentWidget(), contents);
    EXPECT_EQ(b->maximumSize(), QSize(12, 12));
    EXPECT_EQ(b->iconSize(), QSize(6, 6));
    EXPECT_EQ(b->toolTip(), "Reset Property");
    EXPECT_TRUE(b->text().isEmpty());
    EXPECT_EQ(b->isEnabled(), enabled);
}

TEST_F(FormTest, NumericRows)
{
    ASSERT_EQ(std::size(kNumericRows), 32u);
    for (const NumericRow& r : kNumericRows) {
        SCOPED_TRACE(r.p);
        const TabRow& tab = tabOf(r.tab);
        auto* contents = find<QWidget>(tab.contents);
        auto* form = qobject_cast<QFormLayout*>(contents->layout());
        ASSERT_NE(form, nullptr);
        const bool enabled = isGlobal(r.tab);
        const QByteArray p(r.p);

        auto* label = find<QLabel>(r.label);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), r.labelText);
        EXPECT_EQ(label->isEnabled(), enabled);
        int row = -1;
        QFormLayout::ItemRole role;
        form->getWidgetPosition(label, &row, &role);
        EXPECT_EQ(row, r.row);
        EXPECT_EQ(role, QFormLayout::LabelRole);

        auto* edit = find<QDoubleSpinBox>(p + "Et");
        auto* slider = find<SliderGo>(p + "Sld");
        auto* reset = find<QToolButton>(r.reset);
        ASSERT_NE(edit, nullptr);
        ASSERT_NE(slider, nullptr);
        ASSERT_NE(reset, nullptr);

        QLayoutItem* field = form->itemAt(r.row, QFormLayout::FieldRole);
        ASSERT_TRUE(field && field->layout());
        EXPECT_EQ(itemsOf(field->layout()), QStringList({edit->objectName(), slider->objectName(), r.reset}));
        EXPECT_EQ(field->layout()->spacing(), 6);

        const bool plain = p == "velocityDirection";
        EXPECT_STREQ(edit->metaObject()->className(), plain ? "QDoubleSpinBox" : "EditBox");
        EXPECT_EQ(edit->parentWidget(), contents);
        if (!plain) {
            EXPECT_EQ(static_cast<EditBox*>(edit)->ownerWidget(), contents);
        }
        const bool narrow = p == "angularVelocity" || p == "linearDamping" || p == "angularDamping" ||
                            p == "aematicDamping" || p == "aematicTension";
        EXPECT_EQ(edit->minimumSize(), QSize(narrow ? 53 : 55, 23));
        EXPECT_EQ(edit->maximumSize(), QSize(55, 23));
        EXPECT_EQ(edit->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        EXPECT_EQ(edit->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        EXPECT_EQ(edit->alignment() & (Qt::AlignRight | Qt::AlignVCenter), Qt::AlignRight | Qt::AlignVCenter);
        EXPECT_EQ(edit->buttonSymbols(), QAbstractSpinBox::NoButtons);
        EXPECT_EQ(edit->correctionMode(), QAbstractSpinBox::CorrectToNearestValue);
        EXPECT_TRUE(edit->suffix().isEmpty());
        EXPECT_EQ(edit->decimals(), r.decimals);
        EXPECT_DOUBLE_EQ(edit->minimum(), r.min);
        EXPECT_DOUBLE_EQ(edit->maximum(), r.max);
        EXPECT_DOUBLE_EQ(edit->singleStep(), r.step);
        EXPECT_DOUBLE_EQ(edit->value(), r.init);
        EXPECT_EQ(edit->isEnabled(), enabled);

        EXPECT_EQ(slider->parentWidget(), contents);
        EXPECT_EQ(slider->ownerWidget(), contents);
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->minimum(), r.sliderMin);
        EXPECT_EQ(slider->maximum(), r.sliderMax);
        EXPECT_EQ(slider->singleStep(), r.sliderStep);
        EXPECT_EQ(slider->pageStep(), r.sliderPage);
        EXPECT_EQ(slider->value(), r.sliderInit);
        EXPECT_EQ(slider->isEnabled(), enabled);
        // A slider starts at its edit box's value, scaled.
        const bool unscaled = p == "meshPrecision" || p == "substeps";
        EXPECT_EQ(slider->value(), unscaled ? int(r.init) : int(r.init * 1000.0));

        expectResetButton(reset, contents, enabled);
    }
    EXPECT_EQ(window->findChildren<SliderGo*>().size(), 33);
    EXPECT_EQ(window->findChildren<EditBox*>().size(), 31);
}

struct FlagRow
{
    const char* tab;
    int row;
    const char* label;  // nullptr: the row has only a field
    const char* labelText;
    const char* box;
    const char* text;
    bool checked;
    const char* reset;
    bool expanding;
    const char* spacer;  // the spacer between box and button, nullptr: none
};

const FlagRow kFlagRows[] = {
    {"Advanced", 2, "fixedRotationSt", "Fixed Rotation:", "fixedRotationCb", "Enable", false, "resetFixedRotationBtn", true, nullptr},
    {"Advanced", 4, "useConvexHullSt", "Use Convex Hull:", "useConvexHullCb", "Enable", false, "resetUseConvexHullBtn", true, nullptr},
    {"Advanced", 9, nullptr, nullptr, "acceptMagnetismCb", "Accept Magnetism", false, "resetAcceptMagnetismBtn", true, nullptr},
    {"Distance", 2, nullptr, nullptr, "distanceJointCollideConnectedCb", "Collide Connected", true, "resetDistanceJointCollideConnectedBtn", false, "116x20 expanding/minimum"},
    {"Pivot", 0, nullptr, nullptr, "revoluteJointEnableLimitCb", "Enable Limit", false, "resetRevoluteJointEnableLimitBtn", false, "128x20 expanding/minimum"},
    {"Pivot", 3, nullptr, nullptr, "revoluteJointEnableMotorCb", "Enable Motor", false, "resetRevoluteJointEnableMotorBtn", false, "128x20 expanding/minimum"},
    {"Pivot", 6, nullptr, nullptr, "revoluteJointCollideConnectedCb", "Collide Connected", true, "resetRevoluteJointCollideConnectedBtn", false, "128x20 expanding/minimum"},
    {"Piston", 0, nullptr, nullptr, "prismaticJointEnableLimitCb", "Enable Limit", false, "resetPrismaticJointEnableLimitBtn", false, "128x20 expanding/minimum"},
    {"Piston", 3, nullptr, nullptr, "prismaticJointEnableMotorCb", "Enable Motor", false, "resetPrismaticJointEnableMotorBtn", false, "128x20 expanding/minimum"},
    {"Piston", 6, nullptr, nullptr, "prismaticJointCollideConnectedCb", "Collide Connected", true, "resetPrismaticJointCollideConnectedBtn", false, "128x20 expanding/minimum"},
};

TEST_F(FormTest, FlagRows)
{
    for (const FlagRow& r : kFlagRows) {
        SCOPED_TRACE(r.box);
        auto* contents = find<QWidget>(tabOf(r.tab).contents);
        auto* form = qobject_cast<QFormLayout*>(contents->layout());
        if (r.label) {
            auto* label = find<QLabel>(r.label);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), r.labelText);
            EXPECT_FALSE(label->isEnabled());
            EXPECT_EQ(form->itemAt(r.row, QFormLayout::LabelRole)->widget(), label);
        } else {
            EXPECT_EQ(form->itemAt(r.row, QFormLayout::LabelRole), nullptr);
        }
        auto* box = find<QCheckBox>(r.box);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->parentWidget(), contents);
        EXPECT_EQ(box->text(), r.text);
        EXPECT_EQ(box->isChecked(), r.checked);
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->sizePolicy().horizontalPolicy() == QSizePolicy::Expanding, r.expanding);
        QLayoutItem* field = form->itemAt(r.row, QFormLayout::FieldRole);
        ASSERT_TRUE(field && field->layout());
        QStringList expected{r.box};
        if (r.spacer)
            expected << r.spacer;
        expected << r.reset;
        EXPECT_EQ(itemsOf(field->layout()), expected);
        expectResetButton(find<QToolButton>(r.reset), contents, false);
    }
}

TEST_F(FormTest, CollideWithRow)
{
    EXPECT_EQ(ui->collideWithSt->text(), "Collide With:");
    EXPECT_EQ(ui->formLayout_6->itemAt(1, QFormLayout::LabelRole)->widget(), ui->collideWithSt);
    QLayout* row = ui->formLayout_6->itemAt(1, QFormLayout::FieldRole)->layout();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->spacing(), 0);
    EXPECT_EQ(itemsOf(row), QStringList({"collideWithACb", "collideWithBCb", "collideWithCCb", "collideWithDCb",
                                         "collideWithECb", "40x20 expanding/minimum", "resetCollideWithBtn"}));
    const char* letters = "ABCDE";
    for (QCheckBox* box : {ui->collideWithACb, ui->collideWithBCb, ui->collideWithCCb, ui->collideWithDCb,
                           ui->collideWithECb}) {
        EXPECT_EQ(box->text(), QString(QChar(*letters++)));
        EXPECT_TRUE(box->isChecked());
        EXPECT_FALSE(box->isEnabled());
    }
    expectResetButton(ui->resetCollideWithBtn, ui->scrollAreaWidgetContents_8, false);
    // The Advanced tab has no row 5.
    EXPECT_EQ(ui->formLayout_6->itemAt(5, QFormLayout::LabelRole), nullptr);
    EXPECT_EQ(ui->formLayout_6->itemAt(5, QFormLayout::FieldRole), nullptr);
}

struct ListRow
{
    const char* tab;
    int row;
    const char* label;
    const char* labelText;
    const char* list;
    QStringList items;
    int index;
    const char* reset;
    int spacing;
};

TEST_F(FormTest, ListRows)
{
    const ListRow rows[] = {
        {"General", 0, "typeSt", "Type:", "typeLst",
         {"Static", "Kinematic", "Dynamic", "Dormant", "AEmatic", "Dead"}, 2, "resetTypeBtn", 2},
        {"Advanced", 0, "collisionGroupSt", "Collision Group:", "collisionGroupLst",
         {"Group A", "Group B", "Group C", "Group D", "Group E"}, 0, "resetCollisionGroupBtn", 6},
        {"Advanced", 6, "magnetismTypeSt", "Magnetism Type:", "magnetismTypeLst",
         {"None", "Attraction", "Repulsion"}, 0, "resetMagnetismTypeBtn", 6},
    };
    for (const ListRow& r : rows) {
        SCOPED_TRACE(r.list);
        auto* contents = find<QWidget>(tabOf(r.tab).contents);
        auto* form = qobject_cast<QFormLayout*>(contents->layout());
        auto* label = find<QLabel>(r.label);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), r.labelText);
        EXPECT_FALSE(label->isEnabled());
        EXPECT_EQ(form->itemAt(r.row, QFormLayout::LabelRole)->widget(), label);
        auto* list = find<QComboBox>(r.list);
        ASSERT_NE(list, nullptr);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        EXPECT_EQ(items, r.items);
        EXPECT_EQ(list->currentIndex(), r.index);
        EXPECT_FALSE(list->isEnabled());
        EXPECT_EQ(list->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        EXPECT_EQ(list->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        QLayout* field = form->itemAt(r.row, QFormLayout::FieldRole)->layout();
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(itemsOf(field), QStringList({r.list, r.reset}));
        EXPECT_EQ(field->spacing(), r.spacing);
        expectResetButton(find<QToolButton>(r.reset), contents, false);
    }
    EXPECT_EQ(ui->typeLst->currentText(), "Dynamic");
}

TEST_F(FormTest, ColourRow)
{
    EXPECT_EQ(ui->colorSt->text(), "Color:");
    EXPECT_EQ(ui->formLayout_2->itemAt(4, QFormLayout::LabelRole)->widget(), ui->colorSt);
    QLayout* row = ui->formLayout_2->itemAt(4, QFormLayout::FieldRole)->layout();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(itemsOf(row), QStringList({"colorBtn", "78x20 expanding/minimum", "resetBodyColorBtn"}));
    EXPECT_EQ(ui->colorBtn->minimumWidth(), 55);
    EXPECT_EQ(ui->colorBtn->maximumWidth(), 55);
    EXPECT_TRUE(ui->colorBtn->isCheckable());
    EXPECT_TRUE(ui->colorBtn->text().isEmpty());
    EXPECT_FALSE(ui->colorBtn->isEnabled());
    expectResetButton(ui->resetBodyColorBtn, ui->scrollAreaWidgetContents_5, false);
}

TEST_F(FormTest, GravityRow)
{
    QFormLayout* form = ui->formLayout_4;
    EXPECT_EQ(form->itemAt(2, QFormLayout::LabelRole), nullptr);
    ASSERT_NE(form->itemAt(2, QFormLayout::FieldRole), nullptr);
    EXPECT_EQ(form->itemAt(2, QFormLayout::FieldRole)->layout(), ui->horizontalLayout_30);
    QLayoutItem* filler = form->itemAt(3, QFormLayout::FieldRole);
    ASSERT_TRUE(filler && filler->spacerItem());
    EXPECT_EQ(filler->spacerItem()->sizeHint(), QSize(20, 40));
    EXPECT_EQ(filler->spacerItem()->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);

    EXPECT_EQ(itemsOf(ui->horizontalLayout_30),
              QStringList({"gravityWidget", "5x20 fixed/minimum", "verticalLayout_3"}));
    EXPECT_EQ(ui->gravityWidget->minimumSize(), QSize(100, 100));
    EXPECT_EQ(ui->gravityWidget->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(ui->gravityWidget->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    EXPECT_STREQ(ui->gravityWidget->metaObject()->className(), "QWidget");
    EXPECT_EQ(ui->gravityWidget->layout(), nullptr);
    EXPECT_EQ(ui->verticalLayout_3->spacing(), 6);
    EXPECT_EQ(ui->verticalLayout_3->contentsMargins().left(), 3);
    EXPECT_EQ(itemsOf(ui->verticalLayout_3),
              QStringList({"captureGravityBtn", "applyGravityBtn", "20x10 minimum/expanding", "gravityLayerCb",
                           "gravityLayerLst"}));
    EXPECT_EQ(ui->captureGravityBtn->text(), "Capture");
    EXPECT_TRUE(ui->captureGravityBtn->isCheckable());
    EXPECT_EQ(ui->captureGravityBtn->minimumWidth(), 68);
    EXPECT_EQ(ui->applyGravityBtn->text(), "Apply");
    EXPECT_EQ(ui->applyGravityBtn->minimumWidth(), 68);
    EXPECT_EQ(ui->gravityLayerCb->text(), "Inherit From:");
    EXPECT_TRUE(ui->gravityLayerCb->toolTip().isEmpty());
    EXPECT_FALSE(ui->gravityLayerCb->isChecked());
    EXPECT_EQ(ui->gravityLayerLst->count(), 0);
}

template <class T>
QList<QWidget*> controlsOf(QWidget* root)
{
    QList<QWidget*> out;
    for (T* w : root->findChildren<T*>())
        out << w;
    return out;
}

QList<QWidget*> panelControls(QWidget* panel)
{
    return controlsOf<QLabel>(panel) + controlsOf<QAbstractSpinBox>(panel) + controlsOf<QSlider>(panel) +
           controlsOf<QCheckBox>(panel) + controlsOf<QComboBox>(panel) + controlsOf<QToolButton>(panel);
}

TEST_F(FormTest, BodyAndJointPanelsStartDisabledAndTheGlobalPanelEnabled)
{
    for (QWidget* panel : {static_cast<QWidget*>(ui->bodyPropertiesTabWidget),
                           static_cast<QWidget*>(ui->jointPropertiesTabWidget)}) {
        const auto controls = panelControls(panel);
        EXPECT_GT(controls.size(), 40);
        for (QWidget* w : controls) {
            // The tab bar's own scroll buttons are not the panel's controls.
            if (qobject_cast<QTabBar*>(w->parentWidget()))
                continue;
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        }
    }
    for (QWidget* w : panelControls(ui->globalPropertiesTabWidget)) {
        if (qobject_cast<QTabBar*>(w->parentWidget()))
            continue;
        const bool disabled = w == ui->applyGravityBtn || w == ui->gravityLayerLst;
        EXPECT_EQ(w->isEnabled(), !disabled) << w->objectName().toStdString();
    }
}

TEST_F(FormTest, TheFortySevenResetButtonsByName)
{
    // In the order of the window's reset slots.
    const QStringList names{
        "resetTimeDividerBtn", "resetSubsteppingBtn", "resetToleranceBtn", "resetGravityMagnitudeBtn",
        "resetGravityDirectionBtn", "resetTypeBtn", "resetDensityBtn", "resetFrictionBtn",
        "resetBouncinessBtn", "resetBodyColorBtn", "resetMeshPrecisionBtn", "resetVelocityMagnitudeBtn",
        "resetVelocityDirectionBtn", "resetAngularVelocityBtn", "resetLinearDampingBtn",
        "resetAngularDampingBtn", "resetAEmaticDampingBtn", "resetAEmaticTensionBtn",
        "resetCollisionGroupBtn", "resetCollideWithBtn", "resetFixedRotationBtn", "resetGravityScaleBtn",
        "resetUseConvexHullBtn", "resetMagnetismTypeBtn", "resetMagnetIntensityBtn",
        "resetMagnetDistanceBtn", "resetAcceptMagnetismBtn", "resetDistanceJointFrequencyBtn",
        "resetDistanceJointDampingBtn", "resetDistanceJointCollideConnectedBtn",
        "resetRevoluteJointEnableLimitBtn", "resetRevoluteJointLowerAngleBtn",
        "resetRevoluteJointUpperAngleBtn", "resetRevoluteJointEnableMotorBtn",
        "resetRevoluteJointMotorSpeedBtn", "resetRevoluteJointMaxMotorTorqueBtn",
        "resetRevoluteJointCollideConnectedBtn", "resetPrismaticJointEnableLimitBtn",
        "resetPrismaticJointLowerTranslationBtn", "resetPrismaticJointUpperTranslationBtn",
        "resetPrismaticJointEnableMotorBtn", "resetPrismaticJointMotorSpeedBtn",
        "resetPrismaticJointMaxMotorForceBtn", "resetPrismaticJointCollideConnectedBtn",
        "resetSpringJointSpringinessBtn", "resetSpringJointDampingBtn", "resetSpringJointDesiredLengthBtn"};
    ASSERT_EQ(names.size(), 47);
    QStringList found;
    for (QToolButton* b : window->findChildren<QToolButton*>())
        if (b->objectName().startsWith("reset"))
            found << b->objectName();
    QStringList sortedNames = names;
    sortedNames.sort();
    found.sort();
    EXPECT_EQ(found, sortedNames);
}

}  // namespace
