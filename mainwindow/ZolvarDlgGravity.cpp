// The gravity group's own controls: Capture, Apply and "Inherit From:".
// Capturing gravity while playing and writing it to a new null layer are not
// built yet: these slots do nothing so far. The frame step already records
// the gravity of each frame while Capture is checked, and the undoable side
// of "Inherit From:" is the view's own connection to the same check box.
#include "mainwindow/ZolvarDlg.h"

void ZolvarDlg::OnGravityInheritFrom(bool /*checked*/)
{
}

void ZolvarDlg::OnCaptureGravityBtn()
{
}

void ZolvarDlg::OnApplyGravityBtn()
{
}
