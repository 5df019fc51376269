// A small modal dialog that asks for two numbers (a point). As InputDlg1D,
// with a second field; focus and selection start on the first.
#pragma once

#include "ui_InputDlg2D.h"

#include <QDialog>
#include <QString>

class InputDlg2D : public QDialog
{
    Q_OBJECT
public:
    InputDlg2D(QWidget* parent, Qt::WindowFlags flags, const QString& title, const QString& labelX,
               const QString& labelY, double x, double y);
    ~InputDlg2D() override;

    double getX() const { return x; }
    double getY() const { return y; }
    int getReturnCode() const { return returnCode; }
    const Ui_InputDlg2DClass& form() const { return ui; }

public slots:
    void OnOKBtn();
    void OnCancelBtn();

private:
    Ui_InputDlg2DClass ui;
    double x;
    double y;
    int returnCode = 0;
};
