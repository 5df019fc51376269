#include "files/SettingsFiles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int claimSpace(int fd, off_t offset, off_t length)
{
    const int error = ::posix_fallocate(fd, offset, length);
    errno = error;
    return error ? -1 : 0;
}

const FileWriteCalls kSystemCalls{::write, ::fsync, ::close, ::rename, claimSpace};
const FileWriteCalls* calls = &kSystemCalls;

// Links are followed to the file they finally name, through at most this
// many (the system's own limit for a path).
const int kMaxLinks = 40;
// A pipe whose reader takes nothing for this long is given up.
const int kPipeWaitMilliseconds = 5000;
// Temporary files are named "<file>.saving-<process id>-XXXXXX": one that
// outlived its process is a save that was cut off, and the next save of the
// same file removes it.
const char kTemporaryMark[] = ".saving-";
const int kTemporaryRandomChars = 6;
// The most digits a process id has.
const int kProcessIdDigits = 10;
// Said after the reason of a failure that changed a file written where it is.
const char kWrittenOver[] = "; the file was being written over where it is and may no longer be as it was";

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Every byte, through short writes and interruptions; false with errno set
// when the file takes no more. A pipe that is full is waited for, but not
// for ever.
bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = calls->write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd ready{fd, POLLOUT, 0};
                const int r = ::poll(&ready, 1, kPipeWaitMilliseconds);
                if (r > 0 || (r < 0 && errno == EINTR))
                    continue;
                if (r == 0)
                    errno = ETIMEDOUT;
                return false;
            }
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

QByteArray folderOf(const QByteArray& path)
{
    const int slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The start of the temporary names of `path`, up to the process id: its
// name, cut where the longest temporary name would not fit in the folder
// (at a character's start, so that a UTF-8 name stays one), so that every
// name the system takes can be written. Every process cuts it alike, so the
// next save still finds the temporary files of one that was cut off.
QByteArray temporaryPrefix(const QByteArray& path)
{
    const QByteArray folder = folderOf(path);
    const long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
    const qsizetype room = (limit > 0 ? limit : NAME_MAX) - qsizetype(sizeof kTemporaryMark - 1)
        - kProcessIdDigits - 1 - kTemporaryRandomChars;
    QByteArray name = nameOf(path);
    if (name.size() > room) {
        qsizetype cut = std::max<qsizetype>(room, 1);
        while (cut > 1 && (uchar(name[cut]) & 0xc0) == 0x80)
            --cut;
        name.truncate(cut);
    }
    return name + kTemporaryMark;
}

// A template for mkstemp: a new temporary name beside `path`.
QByteArray temporaryName(const QByteArray& path)
{
    const int slash = path.lastIndexOf('/');
    return path.left(slash + 1) + temporaryPrefix(path) + QByteArray::number(::getpid()) + '-'
        + QByteArray(kTemporaryRandomChars, 'X');
}

// The file that `path` finally names: links are followed one after the
// other, each relative one from its own folder. A link to nothing yet names
// the file to create.
bool followLinks(const QByteArray& path, QByteArray& target, QString& reason)
{
    QByteArray current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat st;
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = current;
            return true;
        }
        // A link that ends at a device or a pipe is opened as it is: the
        // system's links to open pipes (/dev/fd/N, /dev/stdout) name no file.
        if (::stat(current.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
            target = current;
            return true;
        }
        char next[PATH_MAX];
        const ssize_t n = ::readlink(current.constData(), next, sizeof next);
        if (n < 0 || size_t(n) >= sizeof next) {
            reason = systemReason(n < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const QByteArray linked(next, int(n));
        current = linked.startsWith('/') ? linked : folderOf(current) + '/' + linked;
    }
    reason = QStringLiteral("Its links lead round in a circle or through more than %1 links").arg(kMaxLinks);
    return false;
}

// A file nobody may write (0444, 0400) is not written, also by an
// administrator, whom the system would let; otherwise the system decides
// for the user who saves.
bool mayWrite(const QByteArray& target, const struct stat& st, QString& reason)
{
    if ((st.st_mode & 0222) == 0) {
        reason = QStringLiteral("The file is write-protected");
        return false;
    }
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
        reason = systemReason(errno);
        return false;
    }
    return true;
}

// Temporary files of `target` whose process is gone: saves cut off between
// the temporary file and the rename. Those of a process that still runs
// (or that this one may not signal) are left alone.
void removeCutOffSaves(const QByteArray& target)
{
    const QByteArray prefix = temporaryPrefix(target);
    DIR* folder = ::opendir(folderOf(target).constData());
    if (!folder)
        return;
    const int folderFd = ::dirfd(folder);
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const QByteArray rest = name.mid(prefix.size());
        const int dash = rest.indexOf('-');
        if (dash <= 0 || dash > kProcessIdDigits || rest.size() != dash + 1 + kTemporaryRandomChars)
            continue;
        bool isNumber = false;
        const qlonglong pid = rest.left(dash).toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || pid > INT_MAX || pid == ::getpid())
            continue;
        bool random = true;
        for (const char c : rest.mid(dash + 1))
            random = random && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
        if (!random)
            continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat st;
        if (::fstatat(folderFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(folderFd, name.constData(), 0);
    }
    ::closedir(folder);
}

// A pipe whose reader went away answers a write with SIGPIPE, which would
// end the program: it is held back while the pipe is written, and one that
// came is taken.
class PipeSignalHeld
{
public:
    PipeSignalHeld()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalHeld()
    {
        if (!wasPending_) {
            const timespec now{0, 0};
            while (sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

private:
    sigset_t pipe_;
    sigset_t previous_;
    bool wasPending_ = false;
};

// Hands each piece `contents` gives to writeAll on `fd`; the first failure
// is kept in `error` (errno), and `contents` is told to stop.
bool writeContents(int fd, const FileContents& contents, int& error)
{
    const bool done = contents([fd, &error](const char* data, qint64 size) {
        if (error)
            return false;
        if (size > 0 && !writeAll(fd, data, size_t(size)))
            error = errno;
        return error == 0;
    });
    // Contents that stop of their own accord leave a file cut short.
    if (!done && !error)
        error = EIO;
    return error == 0;
}

// A device or a pipe (a link to /dev/null switches a file off) is written
// into, never replaced. Opening never waits: a pipe without a reader is
// refused.
bool writeIntoDevice(const QByteArray& target, const struct stat& st, const FileContents& contents, QString& reason)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = (errno == ENXIO && S_ISFIFO(st.st_mode)) ? QStringLiteral("No program reads from the pipe")
                                                           : systemReason(errno);
        return false;
    }
    int error = 0;
    {
        PipeSignalHeld held;
        writeContents(fd, contents, error);
    }
    if (calls->close(fd) != 0 && !error)
        error = errno;
    if (error == ETIMEDOUT) {
        reason = QStringLiteral("The reader of the pipe takes no more");
        return false;
    }
    if (error) {
        reason = systemReason(error);
        return false;
    }
    return true;
}

// A file whose owner or group a new file cannot take, or in a folder where
// no new file may be made, is written where it is. It is either written
// whole or left as it was: the bytes are all made first, and the room for
// them is claimed before the first of them goes over the old ones; where it
// cannot be claimed the file is not touched. Only a failure after that (the
// disk itself failing) leaves it changed, and `changed` says so.
bool writeInPlace(const QByteArray& target, const FileContents& contents, QString& reason, bool& changed)
{
    QByteArray bytes;
    if (!contents([&bytes](const char* data, qint64 size) {
            bytes.append(data, qsizetype(size));
            return true;
        })) {
        reason = systemReason(EIO);
        return false;
    }
    const int fd = ::open(target.constData(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        reason = systemReason(errno);
        return false;
    }
    struct stat old;
    const bool known = ::fstat(fd, &old) == 0;
    if (!known || old.st_nlink > 1) {
        // A new file would have replaced this name alone; written where it
        // is, every other name of the file (a project read through one)
        // would change with it.
        reason = known ? QStringLiteral("It cannot be replaced by a new file, and writing it where it is would "
                                        "change its other names (hard links) too")
                       : systemReason(errno);
        ::close(fd);
        return false;
    }
    const auto claim = calls->claim ? calls->claim : claimSpace;
    if (!bytes.isEmpty() && claim(fd, 0, off_t(bytes.size())) != 0) {
        const int error = errno;
        // A claim that failed part way may have grown the file: it is cut
        // back to its old length.
        changed = ::ftruncate(fd, old.st_size) != 0;
        ::close(fd);
        reason = (error == ENOSPC || error == EDQUOT)
            ? systemReason(error)
            : QStringLiteral("No new file may be made in its folder, and the room to write it where it is "
                             "cannot be claimed (%1)").arg(systemReason(error));
        if (changed)
            reason += QLatin1String(kWrittenOver);
        return false;
    }
    changed = true;
    int error = writeAll(fd, bytes.constData(), size_t(bytes.size())) ? 0 : errno;
    if (!error && ::ftruncate(fd, off_t(bytes.size())) != 0)
        error = errno;
    if (!error && calls->fsync(fd) != 0)
        error = errno;
    if (calls->close(fd) != 0 && !error)
        error = errno;
    if (error) {
        reason = systemReason(error) + QLatin1String(kWrittenOver);
        return false;
    }
    return true;
}

// A new file is made with `newFileMode`, less the umask.
bool writeFile(const QString& path, const FileContents& contents, QString& reason, bool& changed,
               mode_t newFileMode = 0666)
{
    changed = false;
    // Links are followed: the file they lead to is written, the links stay.
    QByteArray finalName;
    if (!followLinks(QFile::encodeName(path), finalName, reason))
        return false;
    struct stat old;
    const bool exists = ::stat(finalName.constData(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode)) {
            reason = QStringLiteral("It is a folder");
            return false;
        }
        if (!S_ISREG(old.st_mode) && !S_ISCHR(old.st_mode) && !S_ISFIFO(old.st_mode)) {
            reason = QStringLiteral("It is not a regular file");
            return false;
        }
        if (!mayWrite(finalName, old, reason))
            return false;
        if (!S_ISREG(old.st_mode))
            return writeIntoDevice(finalName, old, contents, reason);
    }

    removeCutOffSaves(finalName);
    QByteArray temporary = temporaryName(finalName);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        if (exists && errno == EACCES)
            return writeInPlace(finalName, contents, reason, changed);
        reason = systemReason(errno);
        return false;
    }
    // The new file takes the old one's permissions, owner and group, or the
    // usual permissions of a new file (mkstemp makes it private).
    if (exists) {
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
            ::close(fd);
            ::unlink(temporary.constData());
            return writeInPlace(finalName, contents, reason, changed);
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, newFileMode & ~mask);
    }

    int error = 0;
    writeContents(fd, contents, error);
    // Some file systems only report a full disk when the data is flushed.
    if (!error && calls->fsync(fd) != 0)
        error = errno;
    if (calls->close(fd) != 0 && !error)
        error = errno;
    if (!error && calls->rename(temporary.constData(), finalName.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        reason = systemReason(error);
        return false;
    }
    return true;
}

} // namespace

void setFileWriteCalls(const FileWriteCalls* replacement)
{
    calls = replacement ? replacement : &kSystemCalls;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason, bool* changed)
{
    return writeFileAtomically(
        path, [&bytes](const FilePiece& put) { return put(bytes.constData(), bytes.size()); }, reason, changed);
}

bool writeFileAtomically(const QString& path, const FileContents& contents, QString& reason, bool* changed)
{
    bool touched = false;
    const bool written = writeFile(path, contents, reason, touched);
    if (changed)
        *changed = !written && touched;
    return written;
}

bool copyFileAtomically(const QString& from, const QString& to, QString& reason)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    const bool opened = in >= 0 && ::fstat(in, &st) == 0;
    if (!opened || !S_ISREG(st.st_mode)) {
        reason = opened ? QStringLiteral("It is not a regular file") : systemReason(errno);
        if (in >= 0)
            ::close(in);
        return false;
    }
    int readError = 0;
    bool changed = false;
    const bool copied = writeFile(
        to,
        [in, &readError](const FilePiece& put) {
            char block[1 << 16];
            for (;;) {
                const ssize_t n = ::read(in, block, sizeof block);
                if (n == 0)
                    return true;
                if (n > 0 && !put(block, n))
                    return false;
                if (n < 0 && errno != EINTR) {
                    readError = errno;
                    return false;
                }
            }
        },
        reason, changed, st.st_mode & 0777);
    ::close(in);
    if (readError)
        reason = systemReason(readError);
    return copied;
}

bool setFileAside(const QString& path, QString& aside, QString& reason)
{
    const QByteArray name = QFile::encodeName(path);
    aside.clear();
    struct stat st;
    // A name too long for its folder names nothing either.
    const bool found = ::lstat(name.constData(), &st) == 0;
    if (!found && (errno == ENOENT || errno == ENAMETOOLONG))
        return true;
    // A folder is never set aside: it could not take the place of the file
    // made to hold its name, and what it holds is not the writer's to drop.
    if (found && S_ISDIR(st.st_mode)) {
        reason = QStringLiteral("It is a folder");
        return false;
    }
    QByteArray asideName = temporaryName(name);
    const int fd = ::mkstemp(asideName.data());
    if (fd < 0 || ::close(fd) != 0 || ::rename(name.constData(), asideName.constData()) != 0) {
        reason = systemReason(errno);
        if (fd >= 0)
            ::unlink(asideName.constData());
        return false;
    }
    aside = QFile::decodeName(asideName);
    return true;
}

bool finalFileName(const QString& path, QString& target, QString& reason)
{
    QByteArray name;
    if (!followLinks(QFile::encodeName(path), name, reason))
        return false;
    target = QFile::decodeName(name);
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
