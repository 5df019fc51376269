// The main window's form, Ui::ZolvarDlgClass, generated from ZolvarDlg.ui:
// a plain structure of widget pointers that setupUi fills. The window keeps
// it by value and hands copies to the scene view.
#pragma once

#include "ui_ZolvarDlg.h"
