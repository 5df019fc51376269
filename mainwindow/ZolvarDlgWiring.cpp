// The window's own connections, its keyboard shortcuts and the wheel guard.
// Connections are made by signature, in a fixed order, to the window's slots.
#include "editing/PressLossWatch.h"
#include "mainwindow/ResetButtons.h"
#include "mainwindow/ZolvarDlg.h"
#include "properties/EditBox.h"
#include "properties/UndoView.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>

namespace {

struct Connection
{
    QObject* sender;
    const char* signal;
    const char* slot;
};

} // namespace

void ZolvarDlg::connectCommands()
{
    const Connection menus[] = {
        {ui.showAbout, SIGNAL(triggered()), SLOT(showAbout())},
        {ui.showPreferences, SIGNAL(triggered()), SLOT(showPreferences())},
        {ui.onQuitZolvar, SIGNAL(triggered()), SLOT(OnQuitZolvar())},
        {ui.onAutoLoadSave, SIGNAL(toggled(bool)), SLOT(OnAutoLoadSave(bool))},
        {ui.onLoadSettings, SIGNAL(triggered()), SLOT(OnLoadSettings())},
        {ui.onSaveSettings, SIGNAL(triggered()), SLOT(OnSaveSettings())},
        {ui.dockBodies, SIGNAL(triggered()), SLOT(dockBodies())},
        {ui.dockExport, SIGNAL(triggered()), SLOT(dockExport())},
        {ui.dockJoints, SIGNAL(triggered()), SLOT(dockJoints())},
        {ui.dockGlobalProperties, SIGNAL(triggered()), SLOT(dockGlobalProperties())},
        {ui.dockBodyProperties, SIGNAL(triggered()), SLOT(dockBodyProperties())},
        {ui.dockJointProperties, SIGNAL(triggered()), SLOT(dockJointProperties())},
        {ui.dockInfo, SIGNAL(triggered()), SLOT(dockInfo())},
        {ui.dockActionsHistory, SIGNAL(triggered()), SLOT(dockActionsHistory())},
    };
    for (const Connection& c : menus)
        connect(c.sender, c.signal, this, c.slot);
    // Its key leaves a held drag to the close, which takes it back as every
    // other way out does (editing/PressLossWatch).
    ui.onQuitZolvar->setProperty("closesWindow", true);

    connectDockMirrors(true);

    const Connection scene[] = {
        {ui.toggleAll, SIGNAL(triggered()), SLOT(toggleAll())},
        {ui.actionDefaultLayout, SIGNAL(triggered()), SLOT(setDefaultLayout())},
        {ui.showDocumentation, SIGNAL(triggered()), SLOT(showDocumentation())},
        {ui.showKeyboardShortcuts, SIGNAL(triggered()), SLOT(showKeyboardShortcuts())},
        {ui.restartBtn, SIGNAL(clicked()), SLOT(OnRestartBtn())},
        {ui.playBtn, SIGNAL(clicked()), SLOT(OnPlayBtn())},
        {ui.stepBtn, SIGNAL(clicked()), SLOT(OnStepBtn())},
        {ui.repeatBtn, SIGNAL(clicked()), SLOT(OnRepeatBtn())},
        {ui.zoomOutBtn, SIGNAL(clicked()), SLOT(OnZoomOutBtn())},
        {ui.zoomInBtn, SIGNAL(clicked()), SLOT(OnZoomInBtn())},
        {ui.zoomFitBtn, SIGNAL(clicked()), SLOT(OnZoomFitBtn())},
        {ui.bgColorBtn, SIGNAL(clicked()), SLOT(OnBGColorBtn())},
        {viewOptionsShapes, SIGNAL(toggled(bool)), SLOT(OnViewOptionsShapes(bool))},
        {viewOptionsMesh, SIGNAL(toggled(bool)), SLOT(OnViewOptionsMesh(bool))},
        {viewOptionsBoundingBox, SIGNAL(toggled(bool)), SLOT(OnViewOptionsBoundingBox(bool))},
        {viewOptionsLocalAxes, SIGNAL(toggled(bool)), SLOT(OnViewOptionsLocalAxes(bool))},
        {viewOptionsJoints, SIGNAL(toggled(bool)), SLOT(OnViewOptionsJoints(bool))},
        {viewOptionsCompBounds, SIGNAL(toggled(bool)), SLOT(OnViewOptionsCompBounds(bool))},
    };
    for (const Connection& c : scene)
        connect(c.sender, c.signal, this, c.slot);

#define ZOLVAR_CONNECT_RESET(Property, button) \
    connect(ui.button, SIGNAL(clicked()), this, SLOT(reset##Property##BtnClicked()));
    ZOLVAR_RESET_BUTTONS(ZOLVAR_CONNECT_RESET)
#undef ZOLVAR_CONNECT_RESET

    const Connection tools[] = {
        {ui.selectionToolBtn, SIGNAL(clicked()), SLOT(OnSelectionToolBtn())},
        {ui.handToolBtn, SIGNAL(clicked()), SLOT(OnHandToolBtn())},
        {ui.anchorToolBtn, SIGNAL(clicked()), SLOT(OnAnchorToolBtn())},
        {ui.gravityToolBtn, SIGNAL(clicked()), SLOT(OnGravityToolBtn())},
        {ui.gravityLayerCb, SIGNAL(toggled(bool)), SLOT(OnGravityInheritFrom(bool))},
        {ui.velocityToolBtn, SIGNAL(clicked()), SLOT(OnVelocityToolBtn())},
        {ui.captureGravityBtn, SIGNAL(clicked()), SLOT(OnCaptureGravityBtn())},
        {ui.applyGravityBtn, SIGNAL(clicked()), SLOT(OnApplyGravityBtn())},
        {ui.addDistanceJointBtn, SIGNAL(clicked()), SLOT(OnAddDistanceJointBtn())},
        {ui.addRevoluteJointBtn, SIGNAL(clicked()), SLOT(OnAddRevoluteJointBtn())},
        {ui.addPrismaticJointBtn, SIGNAL(clicked()), SLOT(OnAddPrismaticJointBtn())},
        {ui.addSpringJointBtn, SIGNAL(clicked()), SLOT(OnAddSpringJointBtn())},
        {ui.removeJointBtn, SIGNAL(clicked()), SLOT(OnRemoveJointBtn())},
        {ui.startFrameEt, SIGNAL(editingFinished()), SLOT(startFrameEtEditingFinished())},
        {ui.endFrameEt, SIGNAL(editingFinished()), SLOT(endFrameEtEditingFinished())},
        {ui.exportBtn, SIGNAL(clicked()), SLOT(OnExportBtn())},
    };
    for (const Connection& c : tools)
        connect(c.sender, c.signal, this, c.slot);
}

void ZolvarDlg::createShortcuts()
{
    // The plus of the main keyboard, where it shares its key with "=", is
    // matched with Shift held as Shift and "=".
    const struct
    {
        QList<QKeySequence> keys;
        const char* slot;
    } shortcuts[] = {
        {{QKeySequence(Qt::Key_0)}, SLOT(OnPlayShortcut())},
        {{QKeySequence(Qt::Key_Home)}, SLOT(OnRestartShortcut())},
        {{QKeySequence(Qt::Key_1)}, SLOT(OnStepShortcut())},
        {{QKeySequence(Qt::Key_PageDown)}, SLOT(OnStepShortcut())},
        {{QKeySequence(Qt::Key_2)}, SLOT(OnRepeatShortcut())},
        {{QKeySequence(Qt::Key_V)}, SLOT(OnSelectionToolBtn())},
        {{QKeySequence(Qt::Key_H)}, SLOT(OnHandToolBtn())},
        {{QKeySequence(Qt::Key_Y)}, SLOT(OnAnchorToolBtn())},
        {{QKeySequence(Qt::Key_G)}, SLOT(OnGravityToolBtn())},
        {{QKeySequence(Qt::Key_P)}, SLOT(OnVelocityToolBtn())},
        {{QKeySequence(Qt::Key_Space)}, SLOT(OnHandToolBtn())},
        {{QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_Plus),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_Equal)},
         SLOT(OnIncreaseOpenShapeLineWidth())},
        {{QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_Minus)}, SLOT(OnDecreaseOpenShapeLineWidth())},
    };
    for (const auto& s : shortcuts)
        (new QShortcut(s.keys.first(), this, s.slot, nullptr, Qt::WindowShortcut))->setKeys(s.keys);
    // A table or the history with the focus would take the rotation keys for
    // a search by name.
    for (QTableView* table : findChildren<QTableView*>())
        table->installEventFilter(this);
    if (undoView)
        undoView->installEventFilter(this);
    // While a button pressed on a floating dock beside its controls (on a
    // label, on the panel's background) is held, the resize handler that Qt
    // gives the frameless dock claims every key, and no shortcut of the
    // window acts, the close's included. The window's filter, put before
    // the handler's, leaves the keys to the shortcuts: filters run newest
    // first, and the handler is made once the dock has turned floating.
    // A dock dragged by its title reads no key: whichever key acts during
    // the drag (one that shows, hides or resets the panels among them) finds
    // the dock let go, as a modal window or a popup does. Qt cannot change
    // the layout under a dock drag (releaseDockDrag).
    dockDragWatch = new PressLossWatch(this, [this] { releaseDockDrag(); }, true, true);
    for (QDockWidget* dock : findChildren<QDockWidget*>()) {
        dock->installEventFilter(this);
        connect(dock, &QDockWidget::topLevelChanged, this, [this, dock] {
            QTimer::singleShot(0, dock, [this, dock] { dock->installEventFilter(this); });
        });
    }
}

void ZolvarDlg::guardAgainstWheel()
{
    auto guard = [this](const auto& controls) {
        for (QWidget* control : controls) {
            control->installEventFilter(this);
            control->setFocusPolicy(Qt::StrongFocus);
            // A spin box's line edit would take the undo keys for its own
            // text undo, which is of no use in a number box.
            if (qobject_cast<QAbstractSpinBox*>(control))
                for (QLineEdit* edit : control->template findChildren<QLineEdit*>())
                    edit->installEventFilter(this);
        }
    };
    guard(findChildren<QDoubleSpinBox*>());
    // The plain number boxes (edit boxes see to it themselves): an entry
    // without a digit keeps the value instead of correcting towards zero.
    for (QDoubleSpinBox* box : findChildren<QDoubleSpinBox*>())
        if (!qobject_cast<EditBox*>(box))
            EntryWithoutDigitsGuard::guard(box);
    guard(findChildren<QSpinBox*>());
    guard(findChildren<QSlider*>());
    // A list steps through its entries on the wheel: a body type or a
    // collision group would change under a pointer resting on it.
    guard(findChildren<QComboBox*>());
}

bool ZolvarDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    const bool valueControl = qobject_cast<QAbstractSpinBox*>(watched) || qobject_cast<QAbstractSlider*>(watched) ||
                              qobject_cast<QComboBox*>(watched);
    if (event->type() == QEvent::Wheel && control && valueControl) {
        if (control->focusPolicy() == Qt::WheelFocus) {
            event->accept();
            return false;
        }
        // The control never sees the wheel; its panel scrolls instead.
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QAbstractItemView*>(watched) &&
        rotationKey(static_cast<QKeyEvent*>(event)) != 0) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    auto* dock = qobject_cast<QDockWidget*>(watched);
    // The left button alone drags a dock: another button clicked during the
    // drag neither starts one nor ends the watch over it.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (dock && (press || event->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (press)
            dockPressed(dock, static_cast<QMouseEvent*>(event)->position().toPoint());
        else
            dockDragWatch->disarm();
    }
    if (event->type() == QEvent::ShortcutOverride &&
        ((dock && dock->isFloating()) || isUndoKey(static_cast<QKeyEvent*>(event)))) {
        // Not taken: the shortcut goes on to the window's action.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ZolvarDlg::dockPressed(QDockWidget* dock, QPoint at)
{
    // Where a dock drag the close ends goes back to.
    layoutAtDockPress = saveState(0);
    dockDragWatch->arm();
    // A floating dock's title pressed: the dock goes back to its place
    // instead of being dragged, as no dock floats, and the keys go on to the
    // window it joins. Not while its window takes the press: docking deletes
    // that window.
    if (!dock->isFloating() || !dock->widget() || dock->widget()->geometry().contains(at))
        return;
    QTimer::singleShot(0, dock, [dock] {
        const bool active = dock->isActiveWindow();
        dock->setFloating(false);
        if (active)
            dock->activateWindow();
    });
}

bool ZolvarDlg::isUndoKey(const QKeyEvent* key) const
{
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : {undoAction, redoAction})
        if (action)
            for (const QKeySequence& shortcut : action->shortcuts())
                if (!shortcut.isEmpty() && shortcut.matches(pressed) == QKeySequence::ExactMatch)
                    return true;
    return false;
}
