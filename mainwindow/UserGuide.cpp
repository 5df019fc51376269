#include "mainwindow/UserGuide.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

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

void openUserGuide(QWidget* parent, const QString& guide)
{
    if (!QFileInfo(guide).isFile()) {
        QMessageBox::information(parent, QStringLiteral("Zolvar"),
                                 QStringLiteral("Couldn't find documentation folder. Please make sure it is located "
                                                "next to the plug-in file."),
                                 QMessageBox::Ok);
        return;
    }
    if (!QDesktopServices::openUrl(userGuideUrl(guide)))
        QMessageBox::information(parent, QStringLiteral("Zolvar"),
                                 QStringLiteral("The user's guide could not be opened in a browser. It is at:\n%1")
                                     .arg(QDir::toNativeSeparators(guide)),
                                 QMessageBox::Ok);
}
