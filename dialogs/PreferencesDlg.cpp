#include "dialogs/PreferencesDlg.h"

#include "host/HostFailure.h"
#include "mainwindow/UndoLimit.h"
#include "mainwindow/WindowSettingsStore.h"
#include "mainwindow/ZolvarDlg.h"
#include "properties/EditBox.h"
#include "simulation/SimulationView.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QUndoStack>

namespace {

constexpr char kGeometryKey[] = "preferencesDlgGeometry";

using Id = PreferenceId;
using ColorSetter = void (SimulationCore::*)(QColor);

ColorSetter viewColorSetter(Id id)
{
    switch (id) {
    case Id::SelectionHighlight: return &SimulationCore::setSelectionHighlightColor;
    case Id::StaticHighlight: return &SimulationCore::setStaticHighlightColor;
    case Id::DistanceJointColor: return &SimulationCore::setDistanceJointColor;
    case Id::RevoluteJointColor: return &SimulationCore::setRevoluteJointColor;
    case Id::PrismaticJointColor: return &SimulationCore::setPrismaticJointColor;
    case Id::SpringJointColor: return &SimulationCore::setSpringJointColor;
    case Id::SelectedJointColor: return &SimulationCore::setSelectedJointColor;
    default: return nullptr;
    }
}

// The theme list's row of a theme: any unknown theme draws as dark gray.
int themeRow(int theme)
{
    return theme >= 0 && theme <= 2 ? theme : 0;
}

constexpr Id kJointColors[] = {Id::DistanceJointColor, Id::RevoluteJointColor, Id::PrismaticJointColor,
                               Id::SpringJointColor};

} // namespace

PreferencesDlg::PreferencesDlg(QWidget* parent, Qt::WindowFlags flags, SPBasicSuite* suite, SimulationView* view)
    : QDialog(parent, flags)
    , suite(suite)
    , view(view)
    , parentWindow(parent)
{
    ui.setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    EntryWithoutDigitsGuard::guard(ui.selectionStrokeWidthEt);
    EntryWithoutDigitsGuard::guard(ui.jointStrokeWidthEt);

    defaults = Preferences::defaults();
    Preferences read = defaults;
    // A failing host call leaves what it did not read at the defaults; a
    // missing suite is reported and the dialog opens all the same.
    GuardHostCall([&] { readPreferences(this->suite, read); });
    opened = read;
    edited = read;
    showValues();
    connectControls();
}

PreferencesDlg::~PreferencesDlg() = default;

void PreferencesDlg::showValues()
{
    ui.levelsOfUndoEt->setValue(edited.levelsOfUndo);
    ui.themeLst->setCurrentIndex(themeRow(edited.uiTheme));
    for (const PreferenceField& field : preferenceFields())
        if (field.kind == PreferenceKind::Color)
            setColorButtonStyle(field.id, edited.*field.color);
    ui.selectionStrokeWidthEt->setValue(double(edited.selectionStrokeWidth));
    ui.jointStrokeWidthEt->setValue(double(edited.jointStrokeWidth));
    if (edited.kinematicBehavior == 0)
        ui.dynamicAfterLastKeyframeRb->setChecked(true);
    else if (edited.kinematicBehavior == 1)
        ui.dynamicAtInpointRb->setChecked(true);
    if (edited.dormantBehavior == 0)
        ui.dormantUsesGravityScaleRb->setChecked(true);
    else if (edited.dormantBehavior == 1)
        ui.dormantUsesStaticRb->setChecked(true);
    ui.ignoreBodyColorWhenPastingCb->setChecked(edited.ignoreBodyColorWhenPasting == 1);
    checkBodyIdentification(edited.bodyIdentification);
}

void PreferencesDlg::connectControls()
{
    connect(ui.levelsOfUndoEt, &QSpinBox::valueChanged, this, &PreferencesDlg::levelsOfUndoEtChanged);
    connect(ui.themeLst, &QComboBox::currentIndexChanged, this, &PreferencesDlg::themeLstChanged);
    connect(ui.selectionHighlightColorBtn, &QToolButton::clicked, this,
            &PreferencesDlg::OnSelectionHighlightColorBtn);
    connect(ui.selectionStrokeWidthEt, &QDoubleSpinBox::valueChanged, this,
            &PreferencesDlg::selectionStrokeWidthEtChanged);
    connect(ui.staticHighlightColorBtn, &QToolButton::clicked, this, &PreferencesDlg::OnStaticHighlightColorBtn);
    connect(ui.distanceJointColorBtn, &QToolButton::clicked, this, &PreferencesDlg::OnDistanceJointColorBtn);
    connect(ui.revoluteJointColorBtn, &QToolButton::clicked, this, &PreferencesDlg::OnRevoluteJointColorBtn);
    connect(ui.prismaticJointColorBtn, &QToolButton::clicked, this, &PreferencesDlg::OnPrismaticJointColorBtn);
    connect(ui.springJointColorBtn, &QToolButton::clicked, this, &PreferencesDlg::OnSpringJointColorBtn);
    connect(ui.selectedJointColorBtn, &QToolButton::clicked, this, &PreferencesDlg::OnSelectedJointColorBtn);
    connect(ui.jointStrokeWidthEt, &QDoubleSpinBox::valueChanged, this,
            &PreferencesDlg::jointStrokeWidthEtChanged);
    connect(ui.dynamicAfterLastKeyframeRb, &QRadioButton::clicked, this,
            &PreferencesDlg::OnDynamicAfterLastKeyframeRb);
    connect(ui.dynamicAtInpointRb, &QRadioButton::clicked, this, &PreferencesDlg::OnDynamicAtInpointRb);
    connect(ui.dormantUsesGravityScaleRb, &QRadioButton::clicked, this, &PreferencesDlg::OnUsesGravityScaleRb);
    connect(ui.dormantUsesStaticRb, &QRadioButton::clicked, this, &PreferencesDlg::OnUsesStaticRb);
    connect(ui.ignoreBodyColorWhenPastingCb, &QCheckBox::toggled, this,
            &PreferencesDlg::OnIgnoreBodyColorWhenPastingCb);
    connect(ui.useLayerIDRb, &QRadioButton::clicked, this, &PreferencesDlg::OnUseLayerIDRb);
    connect(ui.useLayerIndexRb, &QRadioButton::clicked, this, &PreferencesDlg::OnUseLayerIndexRb);
    connect(ui.useLayerNameRb, &QRadioButton::clicked, this, &PreferencesDlg::OnUseLayerNameRb);
    connect(ui.okBtn, &QPushButton::clicked, this, &PreferencesDlg::OnOKBtn);
    connect(ui.cancelBtn, &QToolButton::clicked, this, &PreferencesDlg::OnCancelBtn);
    connect(ui.defaultBtn, &QToolButton::clicked, this, &PreferencesDlg::OnDefaultBtn);
    // The section list drives the pages through the form's own connection.
}

ZolvarDlg* PreferencesDlg::mainWindow() const
{
    for (QWidget* w = parentWindow; w; w = w->parentWidget())
        if (w->objectName() == QLatin1String("ZolvarDlgClass"))
            return qobject_cast<ZolvarDlg*>(w);
    return nullptr;
}

QToolButton* PreferencesDlg::colorButton(PreferenceId id) const
{
    switch (id) {
    case Id::SelectionHighlight: return ui.selectionHighlightColorBtn;
    case Id::StaticHighlight: return ui.staticHighlightColorBtn;
    case Id::DistanceJointColor: return ui.distanceJointColorBtn;
    case Id::RevoluteJointColor: return ui.revoluteJointColorBtn;
    case Id::PrismaticJointColor: return ui.prismaticJointColorBtn;
    case Id::SpringJointColor: return ui.springJointColorBtn;
    case Id::SelectedJointColor: return ui.selectedJointColorBtn;
    default: return nullptr;
    }
}

void PreferencesDlg::setColorButtonStyle(PreferenceId id, const QColor& color)
{
    QToolButton* button = colorButton(id);
    if (!button)
        return;
    const QByteArray name = button->objectName().toLatin1();
    button->setStyleSheet(QString::asprintf("QWidget#%s{ background-color: rgb(%d, %d, %d);}", name.constData(),
                                            color.red(), color.green(), color.blue()));
}

void PreferencesDlg::applyColor(PreferenceId id, const QColor& color)
{
    setColorButtonStyle(id, color);
    edited.*preferenceField(id).color = color;
    // The view keeps the colour for later worlds and gives it to the live one.
    if (view)
        if (ColorSetter setter = viewColorSetter(id))
            (view->*setter)(color);
}

void PreferencesDlg::refresh()
{
    if (view)
        view->refreshView();
}

void PreferencesDlg::pickColor(PreferenceId id)
{
    const QColor chosen = QColorDialog::getColor(edited.*preferenceField(id).color, this,
                                                 QStringLiteral("Select Color"), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return;
    applyColor(id, QColor(chosen.red(), chosen.green(), chosen.blue(), 255));
    refresh();
}

void PreferencesDlg::OnSelectionHighlightColorBtn() { pickColor(Id::SelectionHighlight); }
void PreferencesDlg::OnStaticHighlightColorBtn() { pickColor(Id::StaticHighlight); }
void PreferencesDlg::OnDistanceJointColorBtn() { pickColor(Id::DistanceJointColor); }
void PreferencesDlg::OnRevoluteJointColorBtn() { pickColor(Id::RevoluteJointColor); }
void PreferencesDlg::OnPrismaticJointColorBtn() { pickColor(Id::PrismaticJointColor); }
void PreferencesDlg::OnSpringJointColorBtn() { pickColor(Id::SpringJointColor); }
void PreferencesDlg::OnSelectedJointColorBtn() { pickColor(Id::SelectedJointColor); }

void PreferencesDlg::applyTheme(int theme)
{
    if (ZolvarDlg* window = mainWindow())
        window->loadStyleSheet(theme);
    if (view) {
        view->updateBodiesTableHeaderIcons(theme);
        view->updateJointIcons(theme);
    }
}

void PreferencesDlg::themeLstChanged(int index)
{
    edited.uiTheme = index;
    applyTheme(index);
}

void PreferencesDlg::levelsOfUndoEtChanged(int value)
{
    edited.levelsOfUndo = value;
}

void PreferencesDlg::applySelectionStrokeWidth(float width)
{
    edited.selectionStrokeWidth = width;
    if (view)
        view->setSelectionStrokeWidth(width);
}

void PreferencesDlg::applyJointStrokeWidth(float width)
{
    edited.jointStrokeWidth = width;
    if (view)
        view->setJointStrokeWidth(width);
}

void PreferencesDlg::selectionStrokeWidthEtChanged(double value)
{
    applySelectionStrokeWidth(float(value));
    refresh();
}

void PreferencesDlg::jointStrokeWidthEtChanged(double value)
{
    applyJointStrokeWidth(float(value));
    refresh();
}

void PreferencesDlg::applyKinematicBehavior(int behavior)
{
    edited.kinematicBehavior = behavior;
    if (view) {
        view->setKineBehavior(behavior);
        view->restartAnimation();
    }
}

void PreferencesDlg::applyDormantBehavior(int behavior)
{
    edited.dormantBehavior = behavior;
    if (view) {
        view->setDormantBehavior(behavior);
        view->restartAnimation();
    }
}

void PreferencesDlg::OnDynamicAfterLastKeyframeRb()
{
    applyKinematicBehavior(ui.dynamicAfterLastKeyframeRb->isChecked() ? 0 : 1);
}

void PreferencesDlg::OnDynamicAtInpointRb()
{
    applyKinematicBehavior(ui.dynamicAtInpointRb->isChecked() ? 1 : 0);
}

void PreferencesDlg::OnUsesGravityScaleRb()
{
    applyDormantBehavior(ui.dormantUsesGravityScaleRb->isChecked() ? 0 : 1);
}

void PreferencesDlg::OnUsesStaticRb()
{
    applyDormantBehavior(ui.dormantUsesStaticRb->isChecked() ? 1 : 0);
}

void PreferencesDlg::applyIgnoreBodyColor(int ignore)
{
    edited.ignoreBodyColorWhenPasting = ignore;
    if (view)
        view->setIgnoreBodyColorWhenPasting(ignore);
}

void PreferencesDlg::OnIgnoreBodyColorWhenPastingCb(bool checked)
{
    applyIgnoreBodyColor(checked ? 1 : 0);
}

void PreferencesDlg::OnUseLayerIDRb()
{
    if (ui.useLayerIDRb->isChecked())
        edited.bodyIdentification = 0;
    else if (ui.useLayerIndexRb->isChecked())
        edited.bodyIdentification = 1;
    else if (ui.useLayerNameRb->isChecked())
        edited.bodyIdentification = 2;
}

void PreferencesDlg::OnUseLayerIndexRb() { OnUseLayerIDRb(); }
void PreferencesDlg::OnUseLayerNameRb() { OnUseLayerIDRb(); }

void PreferencesDlg::checkBodyIdentification(int mode)
{
    if (mode == 0)
        ui.useLayerIDRb->setChecked(true);
    else if (mode == 1)
        ui.useLayerIndexRb->setChecked(true);
    else if (mode == 2)
        ui.useLayerNameRb->setChecked(true);
}

void PreferencesDlg::OnOKBtn()
{
    // A refused write is told once, with what was stored; a missing suite
    // is reported by the guard. Either way the live state stays: the opened
    // values become the edited ones.
    const bool undoLevelsChanged = edited.levelsOfUndo != opened.levelsOfUndo;
    PreferenceWriteResult written;
    GuardHostCall([this, &written] { writeChangedPreferences(suite, opened, edited, &written); });
    opened = edited;
    if (written.err)
        ReportHostProblem(preferenceWriteFailureText(
            written, QStringLiteral("The changes apply until Zolvar closes; what was not stored is lost then.")));

    if (view && view->getUndoStack()) {
        // A history with entries takes the new limit once it is emptied; the
        // user is told so.
        QUndoStack* stack = view->getUndoStack();
        if (!setUndoLimitWhenEmpty(*stack, edited.levelsOfUndo) && undoLevelsChanged)
            QMessageBox::information(this, QStringLiteral("Zolvar"),
                                     waitingUndoLimitText(*stack, edited.levelsOfUndo), QMessageBox::Ok);
    }
    if (ZolvarDlg* window = mainWindow()) {
        window->setTheme(edited.uiTheme);
        window->setRubberBand(edited.uiTheme);
    }
    saveDlgSettings();
    close();
}

void PreferencesDlg::OnCancelBtn()
{
    if (edited.uiTheme != opened.uiTheme) {
        edited.uiTheme = opened.uiTheme;
        const QSignalBlocker blocker(ui.themeLst);
        ui.themeLst->setCurrentIndex(themeRow(opened.uiTheme));
        applyTheme(opened.uiTheme);
    }
    auto restoreColor = [this](Id id) {
        const QColor& was = opened.*preferenceField(id).color;
        if (edited.*preferenceField(id).color != was)
            applyColor(id, was);
    };
    restoreColor(Id::SelectionHighlight);
    if (preferenceDiffers(Id::SelectionStrokeWidth, edited, opened)) {
        applySelectionStrokeWidth(opened.selectionStrokeWidth);
        const QSignalBlocker blocker(ui.selectionStrokeWidthEt);
        ui.selectionStrokeWidthEt->setValue(double(opened.selectionStrokeWidth));
        refresh();
    }
    restoreColor(Id::StaticHighlight);
    bool jointColorsDiffer = false;
    for (Id id : kJointColors)
        jointColorsDiffer = jointColorsDiffer || preferenceDiffers(id, edited, opened);
    if (jointColorsDiffer)
        for (Id id : kJointColors)
            applyColor(id, opened.*preferenceField(id).color);
    restoreColor(Id::SelectedJointColor);
    if (preferenceDiffers(Id::JointStrokeWidth, edited, opened)) {
        applyJointStrokeWidth(opened.jointStrokeWidth);
        const QSignalBlocker blocker(ui.jointStrokeWidthEt);
        ui.jointStrokeWidthEt->setValue(double(opened.jointStrokeWidth));
        refresh();
    }
    if (edited.kinematicBehavior != opened.kinematicBehavior) {
        if (opened.kinematicBehavior == 0)
            ui.dynamicAfterLastKeyframeRb->setChecked(true);
        else if (opened.kinematicBehavior == 1)
            ui.dynamicAtInpointRb->setChecked(true);
        applyKinematicBehavior(opened.kinematicBehavior);
    }
    if (edited.dormantBehavior != opened.dormantBehavior) {
        if (opened.dormantBehavior == 0)
            ui.dormantUsesGravityScaleRb->setChecked(true);
        else if (opened.dormantBehavior == 1)
            ui.dormantUsesStaticRb->setChecked(true);
        applyDormantBehavior(opened.dormantBehavior);
    }
    if (edited.ignoreBodyColorWhenPasting != opened.ignoreBodyColorWhenPasting) {
        const QSignalBlocker blocker(ui.ignoreBodyColorWhenPastingCb);
        ui.ignoreBodyColorWhenPastingCb->setChecked(opened.ignoreBodyColorWhenPasting == 1);
        applyIgnoreBodyColor(opened.ignoreBodyColorWhenPasting);
    }
    if (edited.bodyIdentification != opened.bodyIdentification) {
        edited.bodyIdentification = opened.bodyIdentification;
        checkBodyIdentification(opened.bodyIdentification);
    }
    saveDlgSettings();
    // Within the close event this does nothing more.
    close();
}

void PreferencesDlg::setDefaultJointColors()
{
    for (Id id : kJointColors)
        applyColor(id, defaults.*preferenceField(id).color);
    refresh();
}

void PreferencesDlg::OnDefaultBtn()
{
    if (edited.levelsOfUndo != defaults.levelsOfUndo) {
        edited.levelsOfUndo = defaults.levelsOfUndo;
        const QSignalBlocker blocker(ui.levelsOfUndoEt);
        ui.levelsOfUndoEt->setValue(defaults.levelsOfUndo);
    }
    if (edited.uiTheme != defaults.uiTheme) {
        const QSignalBlocker blocker(ui.themeLst);
        ui.themeLst->setCurrentIndex(defaults.uiTheme);
        themeLstChanged(defaults.uiTheme);
    }
    auto defaultColor = [this](Id id) {
        const QColor& dflt = defaults.*preferenceField(id).color;
        if (edited.*preferenceField(id).color != dflt) {
            applyColor(id, dflt);
            refresh();
        }
    };
    defaultColor(Id::SelectionHighlight);
    if (preferenceDiffers(Id::SelectionStrokeWidth, edited, defaults)) {
        applySelectionStrokeWidth(defaults.selectionStrokeWidth);
        const QSignalBlocker blocker(ui.selectionStrokeWidthEt);
        ui.selectionStrokeWidthEt->setValue(double(defaults.selectionStrokeWidth));
        refresh();
    }
    defaultColor(Id::StaticHighlight);
    setDefaultJointColors();
    defaultColor(Id::SelectedJointColor);
    if (preferenceDiffers(Id::JointStrokeWidth, edited, defaults)) {
        applyJointStrokeWidth(defaults.jointStrokeWidth);
        const QSignalBlocker blocker(ui.jointStrokeWidthEt);
        ui.jointStrokeWidthEt->setValue(double(defaults.jointStrokeWidth));
        refresh();
    }
    if (edited.kinematicBehavior != defaults.kinematicBehavior) {
        ui.dynamicAfterLastKeyframeRb->setChecked(true);
        applyKinematicBehavior(defaults.kinematicBehavior);
    }
    if (edited.dormantBehavior != defaults.dormantBehavior) {
        ui.dormantUsesGravityScaleRb->setChecked(true);
        applyDormantBehavior(defaults.dormantBehavior);
    }
    if (edited.ignoreBodyColorWhenPasting != defaults.ignoreBodyColorWhenPasting) {
        const QSignalBlocker blocker(ui.ignoreBodyColorWhenPastingCb);
        ui.ignoreBodyColorWhenPastingCb->setChecked(true);
        applyIgnoreBodyColor(defaults.ignoreBodyColorWhenPasting);
    }
    if (edited.bodyIdentification != defaults.bodyIdentification) {
        edited.bodyIdentification = defaults.bodyIdentification;
        ui.useLayerIDRb->setChecked(true);
    }
}

void PreferencesDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        OnCancelBtn();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PreferencesDlg::closeEvent(QCloseEvent* event)
{
    OnCancelBtn();
    event->accept();
}

void PreferencesDlg::saveDlgSettings()
{
    ++geometrySaveCount;
    saveWidgetGeometry(*this, kGeometryKey);
}

void PreferencesDlg::restoreDlgSettings()
{
    restoreWidgetGeometry(*this, kGeometryKey);
}
