// The platform settings store in which the main window and the dialogs keep
// their geometry: organisation "Varnholt", application "Zolvar 2.0", native
// format, user scope.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

class QWidget;

// "Zolvar 2.0", put together from its parts.
QString windowSettingsApplicationName();

// Stores the widget's saveGeometry() under `key`.
void saveWidgetGeometry(const QWidget& widget, const char* key);
// Applies the value of `key` (empty when absent) with restoreGeometry;
// false when the key is absent or its value is not a geometry.
bool restoreWidgetGeometry(QWidget& widget, const char* key);
