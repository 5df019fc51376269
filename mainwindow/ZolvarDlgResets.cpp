// The reset buttons of the property panels. Each slot calls the view's reset
// operation of the property (reset<Property>(), a slot of the view), which
// makes the undo command that restores the default on the selection or the
// scene.
#include "mainwindow/ResetButtons.h"
#include "mainwindow/ZolvarDlg.h"

#define ZOLVAR_DEFINE_RESET_SLOT(Property, button) \
    void ZolvarDlg::reset##Property##BtnClicked() { forwardToView("reset" #Property); }
ZOLVAR_RESET_BUTTONS(ZOLVAR_DEFINE_RESET_SLOT)
#undef ZOLVAR_DEFINE_RESET_SLOT
