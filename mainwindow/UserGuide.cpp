#include "mainwindow/UserGuide.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

QString pluginModuleFile()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&pluginModuleFile), &info) == 0 || !info.dli_fname)
        return QString();
    return QFile::decodeName(info.dli_fname);
}

QString findUserGuide(const QString& moduleFile, const QString& executableFolder)
{
    const QString inBundle = QStringLiteral("/Contents/Resources/documentation/index.html");
    if (!moduleFile.isEmpty()) {
        // .../Zolvar.plugin/Contents/Linux/Zolvar.so
        QDir bundle = QFileInfo(moduleFile).absoluteDir();
        if (bundle.cdUp() && bundle.cdUp()) {
            const QString guide = bundle.absolutePath() + inBundle;
            if (QFileInfo(guide).isFile())
                return guide;
        }
    }
    QDir up(executableFolder);
    for (int level = 0; level < 3; ++level)
        up.setPath(up.absolutePath() + QStringLiteral("/.."));
    const QString root = QDir::cleanPath(up.absolutePath());
    return root + QStringLiteral("/Plug-ins/") + QStringLiteral("Zolvar") + QStringLiteral(".plugin") + inBundle;
}

QUrl userGuideUrl(const QString& path)
{
    if (path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//")))
        return QUrl(QDir::toNativeSeparators(path));
    return QUrl::fromLocalFile(path);
}
