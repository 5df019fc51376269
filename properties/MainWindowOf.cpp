#include "properties/MainWindowOf.h"

#include "simulation/SimulationView.h"

#include <QWidget>

QWidget* mainWindowOf(QWidget* widget)
{
    while (widget && widget->objectName() != QLatin1String("ZolvarDlgClass"))
        widget = widget->parentWidget();
    return widget;
}

SimulationView* sceneViewOf(QWidget* widget)
{
    QWidget* window = mainWindowOf(widget);
    return window ? window->findChild<SimulationView*>() : nullptr;
}
