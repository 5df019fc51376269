// The Zolvar, File and Help menus: the automatic load/save choice, the
// settings-file dialogs, the user's guide and the program's dialogs. The
// settings-file dialogs and the user's guide do nothing yet.
#include "mainwindow/ZolvarDlg.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/KeyboardShortcutsDlg.h"
#include "dialogs/ModalDlgFlags.h"
#include "dialogs/PreferencesDlg.h"

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

// Each dialog applies its own changes; the window only runs it.
void ZolvarDlg::showPreferences()
{
    auto* dialog = new PreferencesDlg(this, getModalDlgFlags(), suite, view);
    dialog->exec();
    delete dialog;
}

void ZolvarDlg::showKeyboardShortcuts()
{
    auto* dialog = new KeyboardShortcutsDlg(this, getModalDlgFlags(), theme);
    dialog->exec();
    delete dialog;
}

void ZolvarDlg::showAbout()
{
    auto* dialog = new AboutDlg(this, Qt::SplashScreen, theme);
    dialog->exec();
    delete dialog;
}
