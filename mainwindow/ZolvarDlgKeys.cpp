// Keys of the main window: Backspace, Delete and Clear remove the selected
// scene snapshots; releasing Space ends the temporary hand tool.
#include "mainwindow/ZolvarDlg.h"

#include "simulation/SimulationView.h"

#include <QKeyEvent>

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
    static const char* const toolSlots[5] = {"OnSelectionToolBtn", "OnHandToolBtn", "OnAnchorToolBtn",
                                             "OnGravityToolBtn", "OnVelocityToolBtn"};
    const int tool = view->toolBeforeHand();
    if (tool >= 0 && tool < 5)
        QMetaObject::invokeMethod(this, toolSlots[tool], Qt::DirectConnection);
}

void ZolvarDlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (view && (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Clear)) {
        view->removeSelectedPresets();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
