// Where the user's guide lies: in the plug-in's bundle,
// Zolvar.plugin/Contents/Resources/documentation/index.html.
#pragma once

#include <QString>
#include <QUrl>

// The file of the module that holds this code (the plug-in, or a program
// that links the plug-in's code), empty when the system cannot tell.
QString pluginModuleFile();

// The guide beside the module (`moduleFile`'s folder is Contents/Linux of
// the bundle), else in "Plug-ins" three folders above `executableFolder`
// (the host's layout); the first that exists, else the executable-relative
// path (which does not exist).
QString findUserGuide(const QString& moduleFile, const QString& executableFolder);

class QWidget;

// Opens `guide` in the system's browser; a missing guide, or one that cannot
// be opened, is told in a "Zolvar" box on `parent` (the latter with the
// guide's path).
void openUserGuide(QWidget* parent, const QString& guide);

// A local-file URL, or for a network path ("//" or two backslashes) the URL
// parsed from the path in native separators.
QUrl userGuideUrl(const QString& path);
