// The gravity group's own controls: capturing gravity while playing, writing
// the captured gravity to a new null layer, and taking gravity from a layer.
// Capturing and applying work on the view's recorded gravity, which the
// frame step fills; the undoable side of "Inherit From:" is the view's own
// connection to the same check box.
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
