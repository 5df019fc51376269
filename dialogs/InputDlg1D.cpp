#include "dialogs/InputDlg1D.h"

#include <QLayout>

InputDlg1D::InputDlg1D(QWidget* parent, Qt::WindowFlags flags, const QString& title, const QString& label, double x)
    : QDialog(parent, flags)
    , x(x)
{
    ui.setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle(title);
    ui.xSt->setText(label);
    ui.xEt->setValue(x);
    ui.xEt->setFocus();
    ui.xEt->selectAll();
    connect(ui.okBtn, &QPushButton::clicked, this, &InputDlg1D::OnOKBtn);
    connect(ui.cancelBtn, &QToolButton::clicked, this, &InputDlg1D::OnCancelBtn);
}

InputDlg1D::~InputDlg1D() = default;

void InputDlg1D::OnOKBtn()
{
    // A value typed but not yet confirmed counts.
    ui.xEt->interpretText();
    x = ui.xEt->value();
    returnCode = 1;
    close();
}

void InputDlg1D::OnCancelBtn()
{
    returnCode = 0;
    close();
}
