#include "settings/SettingsFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

bool readWholeFile(const QString& path, qint64 maxSize, QByteArray& bytes, QString& reason)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        reason = QStringLiteral("It is a folder.");
        return false;
    }
    // A pipe would wait for a writer and a device may never end.
    if (info.exists() && !info.isFile()) {
        reason = QStringLiteral("It is not a regular file.");
        return false;
    }
    const QString tooLarge = QStringLiteral("The file is larger than %1 MiB.").arg(maxSize / (1024 * 1024));
    if (info.size() > maxSize) {
        reason = tooLarge;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString() + QLatin1Char('.');
        return false;
    }
    // A file that grows while it is read is cut at the limit and refused.
    bytes = file.read(maxSize + 1);
    if (bytes.size() > maxSize) {
        bytes.clear();
        reason = tooLarge;
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString() + QLatin1Char('.');
        return false;
    }
    return true;
}
