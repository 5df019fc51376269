// The Zolvar, File and Help menus: the automatic load/save choice, the
// settings-file dialogs, the user's guide and the program's dialogs. Only
// the automatic load/save choice is built; the other slots do nothing yet.
#include "mainwindow/ZolvarDlg.h"

void ZolvarDlg::OnAutoLoadSave(bool checked)
{
    // Stored by the close sequence, from the action's checked state.
    autoLoadSave = checked;
}

void ZolvarDlg::OnLoadSettings()
{
}

void ZolvarDlg::OnSaveSettings()
{
}

void ZolvarDlg::showDocumentation()
{
}

void ZolvarDlg::showPreferences()
{
}

void ZolvarDlg::showKeyboardShortcuts()
{
}

void ZolvarDlg::showAbout()
{
}
