// The about box: the maker's logo for the theme, "Zolvar 2.1.22" and a
// one-line description on a slightly translucent panel. A left or right
// click closes it.
#pragma once

#include "ui_AboutDlg.h"

#include <QDialog>

class AboutDlg : public QDialog
{
    Q_OBJECT
public:
    AboutDlg(QWidget* parent, Qt::WindowFlags flags, int theme);
    ~AboutDlg() override;

    // Fades `widget` in from transparent over `msecs` (an opacity effect and
    // its animation, both children of the dialog).
    void fadeIn(QWidget* widget, int msecs);

    const Ui_AboutDlgClass& form() const { return ui; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Ui_AboutDlgClass ui;
};
