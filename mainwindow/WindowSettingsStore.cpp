#include "mainwindow/WindowSettingsStore.h"

#include <QWidget>

QString windowSettingsApplicationName()
{
    return QStringLiteral("Zolvar %1.%2").arg(2).arg(0);
}

void saveWidgetGeometry(const QWidget& widget, const char* key)
{
    QSettings settings(QStringLiteral("Varnholt"), windowSettingsApplicationName());
    settings.setValue(QLatin1String(key), widget.saveGeometry());
}

bool restoreWidgetGeometry(QWidget& widget, const char* key)
{
    QSettings settings(QStringLiteral("Varnholt"), windowSettingsApplicationName());
    return widget.restoreGeometry(settings.value(QLatin1String(key)).toByteArray());
}
