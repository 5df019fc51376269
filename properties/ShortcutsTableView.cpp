#include "properties/ShortcutsTableView.h"

ShortcutsTableView::ShortcutsTableView(QWidget* parent)
    : QTableView(nullptr)
    , shortcutsDlg(parent)
{
    while (shortcutsDlg && shortcutsDlg->objectName() != QLatin1String("KeyboardShortcutsDlgClass"))
        shortcutsDlg = shortcutsDlg->parentWidget();
}
