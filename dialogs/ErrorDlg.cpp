#include "dialogs/ErrorDlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>

ErrorDlg::ErrorDlg(QWidget* parent, Qt::WindowFlags flags, int theme, const QString& text)
    : QDialog(parent, flags)
{
    buildForm();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setTheme(theme);
    setText(text);
    connect(okBtn, &QToolButton::clicked, this, &ErrorDlg::OnOKBtn);
}

ErrorDlg::~ErrorDlg() = default;

void ErrorDlg::buildForm()
{
    setObjectName(QStringLiteral("ErrorDlgClass"));
    resize(406, 146);
    setMinimumSize(406, 146);
    setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    setSizeGripEnabled(false);
    setModal(true);
    setWindowTitle(QCoreApplication::translate("ErrorDlgClass", "Warning"));

    auto* gridLayout = new QGridLayout(this);
    gridLayout->setSpacing(6);
    gridLayout->setContentsMargins(11, 11, 11, 11);
    auto* horizontalLayout3 = new QHBoxLayout;
    horizontalLayout3->setSpacing(6);

    auto* verticalLayout = new QVBoxLayout;
    verticalLayout->setSpacing(6);
    logoSt = new QLabel(this);
    logoSt->setObjectName(QStringLiteral("logoSt"));
    logoSt->setMinimumSize(32, 32);
    logoSt->setFrameShape(QFrame::NoFrame);
    logoSt->setAlignment(Qt::AlignCenter);
    verticalLayout->addWidget(logoSt);
    verticalLayout->addItem(new QSpacerItem(20, 98, QSizePolicy::Minimum, QSizePolicy::Expanding));
    horizontalLayout3->addLayout(verticalLayout);
    horizontalLayout3->addItem(new QSpacerItem(13, 20, QSizePolicy::Fixed, QSizePolicy::Minimum));

    auto* verticalLayout4 = new QVBoxLayout;
    verticalLayout4->setSpacing(6);
    auto* verticalLayout2 = new QVBoxLayout;
    verticalLayout2->setSpacing(0);
    msgSt = new QLabel(this);
    msgSt->setObjectName(QStringLiteral("msgSt"));
    msgSt->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
    msgSt->setMinimumSize(0, 50);
    QFont font = msgSt->font();
    font.setItalic(false);
    font.setUnderline(false);
    msgSt->setFont(font);
    msgSt->setFrameShape(QFrame::Box);
    msgSt->setFrameShadow(QFrame::Sunken);
    msgSt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    msgSt->setWordWrap(true);
    msgSt->setMargin(5);
    msgSt->setText(QCoreApplication::translate("ErrorDlgClass", "Error Message Placeholder"));
    verticalLayout2->addWidget(msgSt);

    auto* widget1 = new QWidget(this);
    widget1->setObjectName(QStringLiteral("widget_1"));
    widget1->setMinimumSize(0, 28);
    widget1->setMaximumSize(16777215, 28);
    auto* horizontalLayout2 = new QHBoxLayout(widget1);
    horizontalLayout2->setSpacing(0);
    horizontalLayout2->setContentsMargins(0, 0, 0, 0);
    auto* widget2 = new QWidget(widget1);
    widget2->setObjectName(QStringLiteral("widget_2"));
    auto* gridLayout2 = new QGridLayout(widget2);
    gridLayout2->setSpacing(6);
    gridLayout2->setContentsMargins(0, 0, 0, 0);
    dontShowAgainCb = new QCheckBox(widget2);
    dontShowAgainCb->setObjectName(QStringLiteral("dontShowAgainCb"));
    dontShowAgainCb->setText(QCoreApplication::translate("ErrorDlgClass", "Don't show this message again"));
    dontShowAgainCb->setChecked(true);
    gridLayout2->addWidget(dontShowAgainCb, 0, 0);
    gridLayout2->addItem(new QSpacerItem(96, 14, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 1);
    horizontalLayout2->addWidget(widget2);
    verticalLayout2->addWidget(widget1);
    verticalLayout4->addLayout(verticalLayout2);
    verticalLayout4->addItem(new QSpacerItem(20, 10, QSizePolicy::Minimum, QSizePolicy::Minimum));

    auto* horizontalLayout = new QHBoxLayout;
    horizontalLayout->setSpacing(6);
    horizontalLayout->addItem(new QSpacerItem(168, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    okBtn = new QToolButton(this);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    okBtn->setFixedSize(75, 20);
    okBtn->setText(QCoreApplication::translate("ErrorDlgClass", "OK"));
    horizontalLayout->addWidget(okBtn);
    verticalLayout4->addLayout(horizontalLayout);
    horizontalLayout3->addLayout(verticalLayout4);
    gridLayout->addLayout(horizontalLayout3, 0, 0);
}

void ErrorDlg::setTheme(int theme)
{
    logoSt->setPixmap(QPixmap(theme == 2 ? QStringLiteral(":/images/alert_big_white.png")
                                         : QStringLiteral(":/images/alert_big.png")));
}

void ErrorDlg::setText(const QString& text)
{
    msgSt->setText(text);
}

void ErrorDlg::setDontShowAgainCbVal(bool checked)
{
    dontShowAgainCb->setChecked(checked);
}

void ErrorDlg::OnOKBtn()
{
    dontShowAgain = dontShowAgainCb->isChecked();
    close();
}
