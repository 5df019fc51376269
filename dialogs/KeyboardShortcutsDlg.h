// The keyboard shortcuts reference: a fixed card of 73 entries in three
// column pairs under coloured section titles, in the key names of this
// platform (undo and redo as the window binds them under this host) and
// wide enough for every text in the table's font. A mouse press anywhere on
// it, its table included, closes it; each close stores its geometry, and it
// opens where it was left.
#pragma once

#include "ui_KeyboardShortcutsDlg.h"

#include <QDialog>
#include <QKeySequence>
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

    // The 73 entries in card order, with the key names of the platform the
    // program runs on.
    static std::vector<ShortcutItem> shortcutItems();
    // The name of the key that Qt's Control modifier stands for here: "Cmd"
    // on macOS, "Ctrl" elsewhere.
    static QString commandKeyName();
    // The key that opens the user's guide here.
    static QString guideKeyText();
    // keys as the card spells them: blanks between the keys, and the
    // command key by its name here.
    static QString keyText(const QKeySequence& keys);

    // "keyboardShortcutsDlgGeometry" in the store of "Varnholt" / "Zolvar 2.0".
    void saveDlgSettings();
    void restoreDlgSettings();

    const Ui_KeyboardShortcutsDlgClass& form() const { return ui; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void populateTable(int theme);
    // Widens the columns whose texts need more room than their usual width,
    // and the table with them.
    void fitTableToTexts();

    Ui_KeyboardShortcutsDlgClass ui;
};
