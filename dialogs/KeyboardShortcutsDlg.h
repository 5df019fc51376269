// The keyboard shortcuts reference: a fixed card of 73 entries in three
// column pairs under coloured section titles. Any mouse press closes it; each
// close stores its geometry, and it opens where it was left.
#pragma once

#include "ui_KeyboardShortcutsDlg.h"

#include <QDialog>
#include <QString>

#include <vector>

struct ShortcutItem
{
    ShortcutItem(QString action, QString shortcut, bool isSectionTitle)
        : action(std::move(action))
        , shortcut(std::move(shortcut))
        , isSectionTitle(isSectionTitle)
    {
    }

    QString action;    // the description, or a section title's text
    QString shortcut;  // empty for a section title
    bool isSectionTitle;
};

class KeyboardShortcutsDlg : public QDialog
{
    Q_OBJECT
public:
    KeyboardShortcutsDlg(QWidget* parent, Qt::WindowFlags flags, int theme);
    ~KeyboardShortcutsDlg() override;

    // The 73 entries in card order.
    static std::vector<ShortcutItem> shortcutItems();

    // "keyboardShortcutsDlgGeometry" in the store of "Varnholt" / "Zolvar 2.0".
    void saveDlgSettings();
    void restoreDlgSettings();

    const Ui_KeyboardShortcutsDlgClass& form() const { return ui; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void populateTable(int theme);

    Ui_KeyboardShortcutsDlgClass ui;
};
