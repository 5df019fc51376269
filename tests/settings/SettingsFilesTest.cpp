// Writing settings files: a write that cannot put every byte on disk keeps
// the previous file as it was, leaves no temporary file and says why, on a
// real full file system where the machine allows one and through failing
// system calls everywhere else. Links, devices, pipes, write-protected and
// shared files are met as they are on disk.
#include "files/SettingsFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writePlain(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Failing calls: the n-th write fails with ENOSPC after the earlier ones
// took part of their bytes (as a disk that fills up does); or one of the
// later calls fails.
struct Failure
{
    int failingWrite = -1;   // 0-based; -1: writes succeed
    int errorAt = 0;         // 1 fsync, 2 close, 3 rename
    int claimError = 0;      // the error the room's claim fails with
    bool claimGrows = false; // the claim grew the file before it failed
};
Failure failure;
int writes = 0;

ssize_t failingWrite(int fd, const void* data, size_t size)
{
    if (writes++ == failure.failingWrite) {
        errno = ENOSPC;
        return -1;
    }
    // Short writes: the writer must go on where the last one stopped.
    return ::write(fd, data, size > 7 ? 7 : size);
}
int failingFsync(int fd)
{
    if (failure.errorAt == 1) {
        errno = ENOSPC;
        return -1;
    }
    return ::fsync(fd);
}
int failingClose(int fd)
{
    const int result = ::close(fd);
    if (failure.errorAt == 2) {
        errno = EIO;
        return -1;
    }
    return result;
}
int failingRename(const char* from, const char* to)
{
    if (failure.errorAt == 3) {
        errno = EXDEV;
        return -1;
    }
    return ::rename(from, to);
}
int failingClaim(int fd, off_t offset, off_t length)
{
    if (failure.claimGrows && ::ftruncate(fd, offset + length) != 0)
        return -1;
    errno = failure.claimError ? failure.claimError : ::posix_fallocate(fd, offset, length);
    return errno ? -1 : 0;
}
const FileWriteCalls kFailing{failingWrite, failingFsync, failingClose, failingRename, failingClaim};

struct stat statOf(const QString& path)
{
    struct stat st{};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

struct FailingCalls
{
    explicit FailingCalls(Failure f)
    {
        failure = f;
        writes = 0;
        setFileWriteCalls(&kFailing);
    }
    ~FailingCalls() { setFileWriteCalls(nullptr); }
};

} // namespace

TEST(SettingsFiles, AFailingWriteAnywhereKeepsThePreviousFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral(".zolvar_autosave.xml"));
    const QByteArray previous = "<ZolvarSettings>previous</ZolvarSettings>";
    writePlain(path, previous);
    const QByteArray next(100, 'n');

    const struct
    {
        Failure failure;
        const char* reason;
    } rows[] = {
        {{0, 0}, "No space left on device"},  {{1, 0}, "No space left on device"},
        {{14, 0}, "No space left on device"}, {{-1, 1}, "No space left on device"},
        {{-1, 2}, "Input/output error"},      {{-1, 3}, "Invalid cross-device link"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "write " << row.failure.failingWrite << ", stage " << row.failure.errorAt);
        QString reason;
        {
            FailingCalls calls(row.failure);
            EXPECT_FALSE(writeFileAtomically(path, next, reason));
        }
        EXPECT_EQ(reason, QString::fromLatin1(row.reason));
        EXPECT_EQ(readFile(path), previous);
        EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral(".zolvar_autosave.xml")})
            << "the temporary file is removed";
    }

    // Contents that stop of themselves would leave the file cut short.
    QString reason;
    EXPECT_FALSE(writeFileAtomically(path, [](const FilePiece& put) { return put("half", 4) && false; }, reason));
    EXPECT_EQ(reason, QStringLiteral("Input/output error"));
    EXPECT_EQ(readFile(path), previous);
    EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral(".zolvar_autosave.xml")});

    // Short writes alone are no failure.
    {
        FailingCalls calls({});
        EXPECT_TRUE(writeFileAtomically(path, next, reason)) << reason.toStdString();
    }
    EXPECT_EQ(readFile(path), next);
    EXPECT_EQ(entries(folder.path()).size(), 1);
}

// Where no new file may be made (a 0555 folder), the file is written where it is: whole,
// or as it was when no room can be claimed; a disk failing after the claim is told as a change.
TEST(SettingsFiles, AFileWrittenWhereItIsIsWrittenWholeOrLeftAsItWas)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.json"));
    const QByteArray folderName = QFile::encodeName(folder.path()), previous(2000, 'p'), next(3000, 'n');
    writePlain(path, previous);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666) | ::chmod(folderName.constData(), 0555), 0);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    const QByteArray otherName = folderName + ".other.json";  // a second name of the file, beside the folder
    const struct
    {
        Failure failure;
        bool stops;         // the contents stop after their first piece
        const char* reason; // "": written
        bool changed;
        int size = 3000;    // of the new contents
        bool linked = false;
    } rows[] = {
        {{-1, 0, ENOSPC}, false, "No space left on device", false},
        {{-1, 0, ENOSPC, true}, false, "No space left on device", false},
        {{-1, 0, EOPNOTSUPP}, false, "cannot be claimed (Operation not supported)", false},
        {{}, true, "Input/output error", false},
        {{2, 0, 0}, false, "No space left on device; the file was being written over where it is", true},
        {{}, false, "", false},
        {{}, false, "", false, 1000},
        {{}, false, "would change its other names (hard links) too", false, 3000, true},  // last: the name stays
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reason);
        writePlain(path, previous);
        ASSERT_TRUE(!row.linked || ::link(QFile::encodeName(path).constData(), otherName.constData()) == 0);
        QString reason;
        bool changed = !row.changed;
        FailingCalls calls(row.failure);
        EXPECT_EQ(writeFileAtomically(path, [&](const FilePiece& put) {
            return put(next.constData(), 1000) && !row.stops && put(next.constData() + 1000, row.size - 1000);
        }, reason, &changed), !*row.reason);
        EXPECT_TRUE(reason.contains(QLatin1String(row.reason))) << reason.toStdString();
        EXPECT_EQ(changed, row.changed);
        EXPECT_EQ(readFile(path) == (*row.reason ? previous : next.left(row.size)), !row.changed);
        EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral("out.json")});
    }
    EXPECT_TRUE((!root || ::seteuid(0) == 0) && ::unlink(otherName.constData()) == 0);
    ::chmod(folderName.constData(), 0755);
}

TEST(SettingsFiles, AReplacedFileKeepsItsPermissionsAndLinks)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString real = folder.filePath(QStringLiteral("real.xml"));
    writePlain(real, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    // A chain of links, the middle one relative.
    const QString link = folder.filePath(QStringLiteral("link.xml"));
    const QString middle = folder.filePath(QStringLiteral("middle.xml"));
    ASSERT_TRUE(QFile::link(QStringLiteral("real.xml"), middle));
    ASSERT_TRUE(QFile::link(middle, link));

    QString reason;
    ASSERT_TRUE(writeFileAtomically(link, "new", reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(middle).isSymLink());
    EXPECT_EQ(readFile(real), QByteArray("new"));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const QString fresh = folder.filePath(QStringLiteral("fresh.xml"));
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(fresh, "x", reason));
    ::umask(mask);
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u) << "a new file is not private to its writer";

    const QString loop = folder.filePath(QStringLiteral("loop.xml"));
    ASSERT_TRUE(QFile::link(QStringLiteral("round.xml"), loop));
    ASSERT_TRUE(QFile::link(QStringLiteral("loop.xml"), folder.filePath(QStringLiteral("round.xml"))));
    EXPECT_FALSE(writeFileAtomically(loop, "x", reason));
    EXPECT_EQ(reason, QStringLiteral("Its links lead round in a circle or through more than 40 links"));
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
}

// A link to a device or a pipe switches a file off or hands it on: it is
// written into, and never replaced by a regular file.
TEST(SettingsFiles, DevicesAndPipesAreWrittenIntoNotReplaced)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    const QString pipeLink = folder.filePath(QStringLiteral("pipe.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(pipe, pipeLink));

    QString reason;
    EXPECT_FALSE(writeFileAtomically(pipeLink, "<ZolvarSettings/>", reason)) << "nobody reads: not waited for";
    EXPECT_EQ(reason, QStringLiteral("No program reads from the pipe"));
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(writeFileAtomically(pipeLink, "<ZolvarSettings/>", reason)) << reason.toStdString();
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 17);
    EXPECT_STREQ(got, "<ZolvarSettings/>");
    // A reader that takes nothing more is given up (after 5 s), not waited for: the alarm ends a hang.
    EXPECT_EXIT(
        {
            ::alarm(30);
            const bool written = writeFileAtomically(pipeLink, QByteArray(1 << 20, 'x'), reason);
            std::exit(!written && reason == "The reader of the pipe takes no more" ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    ::close(reader);
    EXPECT_TRUE(S_ISFIFO(statOf(pipe).st_mode));

    // The machine's null device, made here.
    const QString null = folder.filePath(QStringLiteral("null"));
    const QString nullLink = folder.filePath(QStringLiteral("null.xml"));
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a device needs the right to: " << std::strerror(errno);
    const int probe = ::open(QFile::encodeName(null).constData(), O_WRONLY);
    if (probe < 0)
        GTEST_SKIP() << "devices cannot be opened in " << folder.path().toStdString() << ": " << std::strerror(errno);
    ::close(probe);
    ASSERT_TRUE(QFile::link(null, nullLink));
    EXPECT_TRUE(writeFileAtomically(nullLink, "<ZolvarSettings/>", reason)) << reason.toStdString();
    EXPECT_TRUE(S_ISCHR(statOf(null).st_mode));
    EXPECT_EQ(entries(folder.path()).size(), 4) << entries(folder.path()).join(' ').toStdString();
}

TEST(SettingsFiles, AWriteProtectedFileIsRefusedAndASharedOneKeepsItsOwner)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("settings.xml"));
    const QByteArray name = QFile::encodeName(path);
    writePlain(path, "old");
    for (const mode_t mode : {0444, 0400}) {
        ASSERT_EQ(::chmod(name.constData(), mode), 0);
        QString reason;
        EXPECT_FALSE(writeFileAtomically(path, "new", reason)) << "also for an administrator";
        EXPECT_EQ(reason, QStringLiteral("The file is write-protected"));
        EXPECT_EQ(readFile(path), QByteArray("old"));
        EXPECT_EQ(statOf(path).st_mode & 07777, mode);
    }

    if (::geteuid() != 0)
        GTEST_SKIP() << "files of two users need root";
    // Another user's file, saved by the administrator.
    ASSERT_EQ(::chmod(name.constData(), 0664), 0);
    ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
    QString reason;
    ASSERT_TRUE(writeFileAtomically(path, "root's", reason)) << reason.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("root's"));
    EXPECT_EQ(statOf(path).st_uid, 65534u);
    EXPECT_EQ(statOf(path).st_gid, 65534u);
    EXPECT_EQ(statOf(path).st_mode & 07777, 0664u);

    // The administrator's file, shared for writing, saved by that user.
    ASSERT_EQ(::chown(name.constData(), 0, 0), 0);
    ASSERT_EQ(::chmod(name.constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
    ASSERT_EQ(::seteuid(65534), 0);
    const bool written = writeFileAtomically(path, "nobody's", reason);
    ASSERT_EQ(::seteuid(0), 0);
    EXPECT_TRUE(written) << reason.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("nobody's"));
    EXPECT_EQ(statOf(path).st_uid, 0u);
    EXPECT_EQ(statOf(path).st_mode & 07777, 0666u);
}

namespace {

// A save that stops for good between its temporary file and the rename, and
// says so through a pipe.
int g_stoppedFd = -1;
int stopForGood(int)
{
    ::write(g_stoppedFd, "s", 1);
    for (;;)
        ::pause();
}
const FileWriteCalls kStopping{::write, stopForGood, ::close, ::rename};

pid_t startStoppedSave(const QString& path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        g_stoppedFd = fds[1];
        setFileWriteCalls(&kStopping);
        QString reason;
        writeFileAtomically(path, QByteArray(4096, 'c'), reason);
        ::_exit(1);
    }
    char c = 0;
    const bool stopped = child > 0 && ::read(fds[0], &c, 1) == 1;
    ::close(fds[0]);
    ::close(fds[1]);
    return stopped ? child : -1;
}

void killAndReap(pid_t pid)
{
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

// A save killed before the rename leaves its temporary file; the next save
// of that file removes it, but not the file of a save still under way.
TEST(SettingsFiles, ASaveCutOffIsClearedUpByTheNext)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral(".zolvar_autosave.xml"));
    writePlain(path, "old");
    const pid_t killed = startStoppedSave(path);
    const pid_t running = startStoppedSave(path);
    ASSERT_GT(killed, 0);
    ASSERT_GT(running, 0);
    killAndReap(killed);
    ASSERT_EQ(entries(folder.path()).size(), 3);

    QString reason;
    EXPECT_TRUE(writeFileAtomically(path, "new", reason)) << reason.toStdString();
    EXPECT_EQ(entries(folder.path()).size(), 2) << entries(folder.path()).join(' ').toStdString();
    killAndReap(running);
    EXPECT_TRUE(writeFileAtomically(path, "newer", reason)) << reason.toStdString();
    EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral(".zolvar_autosave.xml")});
    EXPECT_EQ(readFile(path), QByteArray("newer"));
}

// A real full disk: a small memory file system holding a good file and a
// filler that takes the rest.
TEST(SettingsFiles, AFullDiskKeepsThePreviousFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray mountPoint = QFile::encodeName(folder.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mount refused: " << std::strerror(errno);
    struct Unmount
    {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{mountPoint};

    const QString path = folder.filePath(QStringLiteral(".zolvar_autosave.xml"));
    const QByteArray previous(8 * 1024, 'p');
    writePlain(path, previous);
    {
        // Fill what is left, a block at a time, until the disk refuses.
        QFile filler(folder.filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }

    // A file smaller than a write buffer only meets the full disk when it
    // is flushed (QSaveFile then renamed an empty file over the old one);
    // a larger one already while it is written.
    for (const int size : {3000, 20 * 1024}) {
        SCOPED_TRACE(size);
        QString reason;
        EXPECT_FALSE(writeFileAtomically(path, QByteArray(size, 'n'), reason));
        EXPECT_EQ(reason, QStringLiteral("No space left on device"));
        EXPECT_EQ(readFile(path), previous);
        EXPECT_EQ(entries(folder.path()).size(), 2) << "the temporary file is removed";
    }
}
