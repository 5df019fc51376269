// Writing settings files: a write that cannot put every byte on disk keeps
// the previous file as it was, leaves no temporary file and says why, on a
// real full file system where the machine allows one and through failing
// system calls everywhere else.
#include "settings/SettingsFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <sys/stat.h>
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
const FileWriteCalls kFailing{failingWrite, failingFsync, failingClose, failingRename};

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

    // Short writes alone are no failure.
    QString reason;
    {
        FailingCalls calls({});
        EXPECT_TRUE(writeFileAtomically(path, next, reason)) << reason.toStdString();
    }
    EXPECT_EQ(readFile(path), next);
    EXPECT_EQ(entries(folder.path()).size(), 1);
}

TEST(SettingsFiles, AReplacedFileKeepsItsPermissionsAndLinks)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString real = folder.filePath(QStringLiteral("real.xml"));
    writePlain(real, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    const QString link = folder.filePath(QStringLiteral("link.xml"));
    ASSERT_TRUE(QFile::link(real, link));

    QString reason;
    ASSERT_TRUE(writeFileAtomically(link, "new", reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
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
