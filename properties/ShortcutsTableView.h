// The table of the keyboard-shortcuts reference. It knows the dialog that
// contains it: the nearest ancestor named "KeyboardShortcutsDlgClass". A
// press on the table closes that dialog, as a press anywhere on it does.
#pragma once

#include <QTableView>

class ShortcutsTableView : public QTableView
{
    Q_OBJECT

public:
    // Built without a Qt parent: the layout that receives it adopts it.
    explicit ShortcutsTableView(QWidget* parent);

    // The shortcuts dialog, or nullptr when parent has no such ancestor.
    QWidget* dialog() const { return shortcutsDlg; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QWidget* shortcutsDlg;
};
