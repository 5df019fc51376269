// The reset buttons of the property panels. Each slot calls the view's reset
// operation of the property, which makes the undo command that restores the
// default on the selection or the scene.
#include "mainwindow/ResetButtons.h"
#include "mainwindow/ZolvarDlg.h"

#include "simulation/SimulationView.h"

#define ZOLVAR_DEFINE_RESET_SLOT(Property, button) \
    void ZolvarDlg::reset##Property##BtnClicked() { view->reset##Property(); }
ZOLVAR_RESET_BUTTONS(ZOLVAR_DEFINE_RESET_SLOT)
#undef ZOLVAR_DEFINE_RESET_SLOT
