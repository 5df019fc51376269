// The table of the keyboard shortcuts reference. Built without a Qt parent
// (the form's layout adopts it); it keeps the dialog that contains it, found
// by walking up from its constructor's argument to the widget named
// "KeyboardShortcutsDlgClass".
#pragma once

#include <QTableView>

class ShortcutsTableView : public QTableView
{
    Q_OBJECT
public:
    explicit ShortcutsTableView(QWidget* parent);

    // The shortcuts dialog, or null when the table stands elsewhere.
    QWidget* dialog() const { return shortcutsDialog; }

private:
    QWidget* shortcutsDialog = nullptr;
};
