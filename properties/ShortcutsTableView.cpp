#include "properties/ShortcutsTableView.h"

#include <QMouseEvent>

ShortcutsTableView::ShortcutsTableView(QWidget* parent)
    : QTableView(nullptr)
    , shortcutsDlg(parent)
{
    while (shortcutsDlg && shortcutsDlg->objectName() != QLatin1String("KeyboardShortcutsDlgClass"))
        shortcutsDlg = shortcutsDlg->parentWidget();
}

void ShortcutsTableView::mousePressEvent(QMouseEvent* event)
{
    if (!shortcutsDlg) {
        QTableView::mousePressEvent(event);
        return;
    }
    event->accept();
    shortcutsDlg->close();
}
