#include "dialogs/InputDlg2D.h"

#include <QLayout>

InputDlg2D::InputDlg2D(QWidget* parent, Qt::WindowFlags flags, const QString& title, const QString& labelX,
                       const QString& labelY, double x, double y)
    : QDialog(parent, flags)
    , x(x)
    , y(y)
{
    ui.setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle(title);
    ui.xSt->setText(labelX);
    ui.ySt->setText(labelY);
    ui.xEt->setValue(x);
    ui.yEt->setValue(y);
    ui.xEt->setFocus();
    ui.xEt->selectAll();
    connect(ui.okBtn, &QPushButton::clicked, this, &InputDlg2D::OnOKBtn);
    connect(ui.cancelBtn, &QToolButton::clicked, this, &InputDlg2D::OnCancelBtn);
}

InputDlg2D::~InputDlg2D() = default;

void InputDlg2D::OnOKBtn()
{
    ui.xEt->interpretText();
    ui.yEt->interpretText();
    x = ui.xEt->value();
    y = ui.yEt->value();
    returnCode = 1;
    close();
}

void InputDlg2D::OnCancelBtn()
{
    returnCode = 0;
    close();
}
