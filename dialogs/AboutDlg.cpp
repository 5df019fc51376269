#include "dialogs/AboutDlg.h"

#include "mainwindow/Themes.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPixmap>
#include <QPropertyAnimation>

AboutDlg::AboutDlg(QWidget* parent, Qt::WindowFlags flags, int theme)
    : QDialog(parent, flags)
{
    ui.setupUi(this);
    ui.logoSt->setPixmap(QPixmap(aboutLogoPath(theme)));
    ui.nameSt->setText(QStringLiteral("Zolvar") + QStringLiteral(" ") + QStringLiteral("2.1.22"));
    ui.descriptionSt->setText(QStringLiteral("2D layer-based physics simulator."));
}

AboutDlg::~AboutDlg() = default;

void AboutDlg::mousePressEvent(QMouseEvent* event)
{
    // Any other button is swallowed.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        close();
}

void AboutDlg::fadeIn(QWidget* widget, int msecs)
{
    auto* effect = new QGraphicsOpacityEffect(this);
    effect->setOpacity(0.0);
    widget->setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(this);
    animation->setTargetObject(effect);
    animation->setPropertyName("opacity");
    animation->setDuration(msecs);
    animation->setStartValue(effect->opacity());
    animation->setEndValue(1.0);
    animation->setEasingCurve(QEasingCurve::InQuad);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
