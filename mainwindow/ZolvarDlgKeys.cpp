// Keys that no shortcut and no focused widget took: nudging and rotating the
// selected bodies, Return ending the edit in progress, Escape restarting and
// Delete removing the selected snapshots; releasing Space ends the temporary
// hand tool.
#include "mainwindow/ZolvarDlg.h"

#include "properties/EditBox.h"
#include "simulation/SimulationView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSpinBox>

// The plus and minus keys, on the keypad and on the main keyboard, where
// plus usually shares its key with "=" and minus with "_": 1 for plus, -1 for
// minus, 0 for any other key or one held with Ctrl, Alt or Meta (those
// combinations belong to shortcuts).
int ZolvarDlg::rotationKey(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return 1;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return -1;
    default:
        return 0;
    }
}

void ZolvarDlg::keyPressEvent(QKeyEvent* event)
{
    if (!view) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // The application's modifiers, not the event's.
    const bool shift = (QApplication::keyboardModifiers() & Qt::ShiftModifier) != 0;
    // The key alone turns one degree, with Shift ten.
    if (const int direction = rotationKey(event)) {
        if (direction > 0)
            shift ? view->OnShiftPlusKey() : view->OnPlusKey();
        else
            shift ? view->OnShiftMinusKey() : view->OnMinusKey();
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        for (EditBox* box : findChildren<EditBox*>())
            box->clearFocus();
        for (QSpinBox* box : findChildren<QSpinBox*>())
            box->clearFocus();
        break;
    case Qt::Key_Left:
        shift ? view->OnShiftLeftKey() : view->OnLeftKey();
        break;
    case Qt::Key_Right:
        shift ? view->OnShiftRightKey() : view->OnRightKey();
        break;
    case Qt::Key_Up:
        shift ? view->OnShiftUpKey() : view->OnUpKey();
        break;
    case Qt::Key_Down:
        shift ? view->OnShiftDownKey() : view->OnDownKey();
        break;
    case Qt::Key_Escape:
        view->restartAndStopAnimation(true);
        break;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Clear:
        view->removeSelectedPresets();
        break;
    default:
        QMainWindow::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ZolvarDlg::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    // A held Space repeats its release: only the real one counts, or the
    // remembered tool (the velocity tool restarts the scene) would be taken
    // again and again.
    if (event->isAutoRepeat() || !view || view->currentTool() != 1)
        return;
    switch (view->toolBeforeHand()) {
    case 0: OnSelectionToolBtn(); break;
    case 1: OnHandToolBtn(); break;
    case 2: OnAnchorToolBtn(); break;
    case 3: OnGravityToolBtn(); break;
    case 4: OnVelocityToolBtn(); break;
    default: break;
    }
}

