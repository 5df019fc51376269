// A small modal dialog that asks for one number. The caller gives the title,
// the field's label and the starting value, runs it, and reads the value only
// when getReturnCode() is 1 (OK); any other way out leaves 0 and the starting
// value as given.
#pragma once

#include "ui_InputDlg1D.h"

#include <QDialog>
#include <QString>

class InputDlg1D : public QDialog
{
    Q_OBJECT
public:
    InputDlg1D(QWidget* parent, Qt::WindowFlags flags, const QString& title, const QString& label, double x);
    ~InputDlg1D() override;

    double getX() const { return x; }
    int getReturnCode() const { return returnCode; }
    const Ui_InputDlg1DClass& form() const { return ui; }

public slots:
    void OnOKBtn();
    void OnCancelBtn();

private:
    Ui_InputDlg1DClass ui;
    double x;
    int returnCode = 0;
};
