// The warning box: an alert icon for the colour theme, a framed message, a
// "Don't show this message again" choice and OK. The caller reads
// getShowAgain() after the modal run and keeps the answer.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QToolButton;

class ErrorDlg : public QDialog
{
    Q_OBJECT
public:
    ErrorDlg(QWidget* parent, Qt::WindowFlags flags, int theme, const QString& text);
    ~ErrorDlg() override;

    // Theme 2 (white) takes the white icon, every other the plain one.
    void setTheme(int theme);
    void setText(const QString& text);
    void setDontShowAgainCbVal(bool checked);
    // Whether the user wants to see the warning again: the box was left
    // unticked when OK was pressed (true too when the dialog was closed
    // another way).
    bool getShowAgain() const { return !dontShowAgain; }

    QLabel* messageLabel() const { return msgSt; }
    QLabel* logoLabel() const { return logoSt; }
    QCheckBox* dontShowAgainBox() const { return dontShowAgainCb; }
    QToolButton* okButton() const { return okBtn; }

public slots:
    void OnOKBtn();

private:
    void buildForm();

    bool dontShowAgain = false;
    QLabel* logoSt = nullptr;
    QLabel* msgSt = nullptr;
    QCheckBox* dontShowAgainCb = nullptr;
    QToolButton* okBtn = nullptr;
};
