#include "settings/SettingsFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const FileWriteCalls kSystemCalls{::write, ::fsync, ::close, ::rename};
const FileWriteCalls* calls = &kSystemCalls;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Every byte, through short writes and interruptions; false with errno set
// when the file takes no more.
bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = calls->write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

const FileWriteCalls& fileWriteCalls()
{
    return *calls;
}

void setFileWriteCalls(const FileWriteCalls* replacement)
{
    calls = replacement ? replacement : &kSystemCalls;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason)
{
    // A link is followed: the file it names is replaced, the link stays.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    if (QFileInfo(target).isDir()) {
        reason = QStringLiteral("It is a folder");
        return false;
    }
    const QByteArray finalName = QFile::encodeName(target);
    QByteArray temporaryName = finalName + ".XXXXXX";
    const int fd = ::mkstemp(temporaryName.data());
    if (fd < 0) {
        reason = systemReason(errno);
        return false;
    }
    // The new file takes the old one's permissions, or the usual ones of a
    // new file (mkstemp makes it private).
    struct stat old;
    if (::stat(finalName.constData(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    int error = 0;
    if (!writeAll(fd, bytes.constData(), size_t(bytes.size())))
        error = errno;
    // Some file systems only report a full disk when the data is flushed.
    if (!error && calls->fsync(fd) != 0)
        error = errno;
    if (calls->close(fd) != 0 && !error)
        error = errno;
    if (!error && calls->rename(temporaryName.constData(), finalName.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporaryName.constData());
        reason = systemReason(error);
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
