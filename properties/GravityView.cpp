#include "properties/GravityView.h"

#include <QSizePolicy>

#include <cmath>

GravityView::GravityView(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumSize(100, 100);
}

void GravityView::setGravityPoint(double length, double angle)
{
    tip = QPointF(std::cos(angle) * length, std::sin(angle) * length);
    update();
}
