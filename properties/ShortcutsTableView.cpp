#include "properties/ShortcutsTableView.h"

ShortcutsTableView::ShortcutsTableView(QWidget* parent)
    : QTableView(nullptr)
{
    for (QWidget* w = parent; w; w = w->parentWidget())
        if (w->objectName() == QLatin1String("KeyboardShortcutsDlgClass")) {
            shortcutsDialog = w;
            break;
        }
}
