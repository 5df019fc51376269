// What the host writes after the command, and how it finds the keys the
// plug-in wrote.
#include "KeyCensus.h"
#include "ResultWriter.h"

#include "files/SettingsFiles.h"
#include "project/Project.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace standin;

namespace {

// A project with one composition holding one shape layer, saved unmodified.
std::unique_ptr<Project> smallProject(Composition** compOut = nullptr)
{
    auto project = std::make_unique<Project>();
    auto comp = std::make_shared<Composition>();
    comp->setName(QStringLiteral("Main"));
    project->addItem(comp);
    comp->createShapeLayer();
    project->setActiveItem(comp.get());
    project->clearModified();
    if (compOut)
        *compOut = comp.get();
    return project;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A disk with room for one more file: writes fail once one was flushed.
bool diskFull = false;
const FileWriteCalls roomForOneFile{
    [](int fd, const void* data, size_t size) { return diskFull ? (errno = ENOSPC, -1) : ::write(fd, data, size); },
    [](int fd) { return diskFull = true, ::fsync(fd); }, ::close, ::rename};

} // namespace

TEST(RunResult, UnchangedProjectIsNotRewrittenButOutputAlwaysIs)
{
    QTemporaryDir dir;
    const QString projectPath = dir.filePath("p.json");
    const QString outputPath = dir.filePath("out.json");
    writeFile(projectPath, "original bytes");
    auto project = smallProject();

    WriteResult r = writeRunResult(*project, projectPath, QString());
    EXPECT_EQ(r.outcome, WriteOutcome::Unchanged);
    EXPECT_EQ(readAll(projectPath), "original bytes");
    EXPECT_FALSE(QFile::exists(projectPath + ".bak"));

    r = writeRunResult(*project, projectPath, outputPath);
    EXPECT_EQ(r.outcome, WriteOutcome::WrittenToOutput);
    EXPECT_EQ(r.path, outputPath);
    EXPECT_EQ(readAll(outputPath), project->toJson());
    EXPECT_EQ(readAll(projectPath), "original bytes");
    EXPECT_FALSE(QFile::exists(outputPath + ".bak"));
    EXPECT_FALSE(QFile::exists(projectPath + ".bak"));

    // The written file loads again.
    LoadError error;
    EXPECT_NE(Project::load(outputPath, &error), nullptr) << error.toString().toStdString();
}

TEST(RunResult, ChangedProjectIsWrittenInPlaceKeepingABackup)
{
    QTemporaryDir dir;
    const QString projectPath = dir.filePath("p.json");
    writeFile(projectPath, "original bytes");
    writeFile(projectPath + ".bak", "older backup");
    ASSERT_EQ(::chmod(QFile::encodeName(projectPath), 0600), 0);
    Composition* comp = nullptr;
    auto project = smallProject(&comp);
    comp->layer(0)->setName(QStringLiteral("Renamed"));
    ASSERT_TRUE(project->isModified());

    // --output naming the project file itself is the same as no --output.
    const WriteResult r = writeRunResult(*project, projectPath, dir.filePath("./p.json"));
    EXPECT_EQ(r.outcome, WriteOutcome::WrittenInPlace);
    EXPECT_EQ(readAll(projectPath), project->toJson());
    EXPECT_EQ(readAll(projectPath + ".bak"), "original bytes");
    EXPECT_EQ(QFileInfo(projectPath + ".bak").permissions(), QFileInfo(projectPath).permissions()); // 0600

    // A disk with room for the backup only, or not even for it: what the
    // failed write made goes, the older backup stays, and it says why.
    auto files = [&dir] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(); };
    const std::string made = files();
    comp->layer(0)->setName(QStringLiteral("Renamed again"));
    for (const auto& [full, error] : {std::pair(false, "cannot write %1: No space left on device"),
                                      std::pair(true, "cannot keep a backup of %1 as %1.bak: No space left on device")}) {
        diskFull = full;
        setFileWriteCalls(&roomForOneFile);
        EXPECT_EQ(writeRunResult(*project, projectPath, QString()).error, QString::fromLatin1(error).arg(projectPath));
        setFileWriteCalls(nullptr);
        EXPECT_EQ(readAll(projectPath + ".bak"), "original bytes");
        EXPECT_EQ(files(), made);
    }
}

// Any name the system takes is written; a backup not kept says truly why.
TEST(RunResult, EveryNameTheSystemTakesIsWrittenAndABackupNotKeptSaysWhy)
{
    Composition* comp = nullptr;
    auto project = smallProject(&comp);
    comp->layer(0)->setName(QStringLiteral("Renamed"));
    const struct {
        QString read, written; // the same: in place; else "p" is a link to the file read
        const char* error;     // nullptr: written; %1 is the file written
    } rows[] = {
        {"p", QString(255, 'o'), nullptr},
        {QString(251, 'p'), QString(251, 'p'), nullptr},
        {QString(252, 'p'), QString(252, 'p'), "cannot keep a backup of %1 as %1.bak: File name too long"},
        {"p.bak", "p",
         "cannot keep a backup of %1 as %1.bak: %1 is a link to %1.bak, and a file cannot be its own backup"},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString read = dir.filePath(row.read), written = dir.filePath(row.written);
        writeFile(read, "original bytes");
        ASSERT_TRUE(row.written != "p" || QFile::link(read, written));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        EXPECT_EQ(writeRunResult(*project, read, written).error.toStdString(),
                  row.error ? QString(row.error).arg(written).toStdString() : "");
        EXPECT_EQ(readAll(row.error ? read : written), row.error ? QByteArray("original bytes") : project->toJson());
        if (row.error)
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        else
            EXPECT_EQ(readAll(written + ".bak"), read == written ? "original bytes" : "");
    }
}

// The project under another name (a hard link, a bind mount, made in a mount
// namespace of a child's own) is the project: written only once its backup
// is kept beside that name. Where no backup can be made (a folder closed to
// new files), nothing is written, and the failure says why.
TEST(RunResult, TheProjectUnderAnotherNameIsWrittenOnlyWithABackup)
{
    QTemporaryDir dir;
    const QString projectPath = dir.filePath("p.json"), outputPath = dir.filePath("o");
    const QByteArray project = QFile::encodeName(projectPath), out = QFile::encodeName(outputPath);
    writeFile(projectPath, "original bytes");
    ASSERT_EQ(::chmod(project, 0666), 0);
    Composition* comp = nullptr;
    auto changed = smallProject(&comp);
    comp->layer(0)->setName(QStringLiteral("Renamed"));
    for (const bool bindMount : {false, true}) {
        const pid_t child = ::fork();
        if (child == 0) {
            const bool named = bindMount ? ::close(::creat(out, 0666)) == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                                               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                                               ::mount(project, out, nullptr, MS_BIND, nullptr) == 0
                                         : ::link(project, out) == 0;
            if (!named || ::chmod(QFile::encodeName(dir.path()), 0555) != 0 || (::geteuid() == 0 && ::seteuid(65534)))
                ::_exit(77);
            const QString error = writeRunResult(*changed, projectPath, outputPath).error;
            std::cerr << error.toStdString() << std::endl;
            ::_exit(error != QStringLiteral("cannot keep a backup of %1 as %1.bak: Permission denied").arg(outputPath));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()), 0700), 0);
        ::unlink(out);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
            std::cout << "The bind mount is left out: it needs root and a mount namespace.\n";
            continue;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << (bindMount ? "a bind mount" : "a hard link");
        EXPECT_EQ(readAll(projectPath), "original bytes");
    }
}

// An output that cannot be written is a failure that leaves nothing behind;
// a device or a pipe is written into, never replaced by a file.
TEST(RunResult, UnwritableOutputIsAFailureThatLeavesNothingBehind)
{
    QTemporaryDir dir;
    Composition* comp = nullptr;
    auto project = smallProject(&comp);
    auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0644), 0);
    // Devices made here, never the machine's own.
    const bool devices =
        ::mknod(QFile::encodeName(path("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
        ::mknod(QFile::encodeName(path("full")).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    if (!devices)
        std::cout << "The rows with devices are left out: making one needs the right to.\n";
    ASSERT_TRUE(QFile::link(path("full"), path("full.json")));
    const QStringList made = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    const struct {
        const char* output;
        const char* error; // nullptr: written
        mode_t kind;       // what is there afterwards
    } rows[] = {
        {"no/such/folder/out.json", "No such file or directory", 0},
        {"pipe", "No program reads from the pipe", S_IFIFO},
        {"null", nullptr, S_IFCHR},
        {"full", "No space left on device", S_IFCHR},
        {"full.json", "No space left on device", S_IFCHR},
    };
    for (const auto& row : rows) {
        if (row.kind == S_IFCHR && !devices)
            continue;
        const WriteResult r = writeRunResult(*project, path("p.json"), path(row.output));
        EXPECT_EQ(r.outcome, row.error ? WriteOutcome::Failed : WriteOutcome::WrittenToOutput) << row.output;
        EXPECT_TRUE(r.error.contains(QLatin1String(row.error))) << r.error.toStdString();
        struct stat st;
        EXPECT_EQ(::stat(QFile::encodeName(path(row.output)).constData(), &st) ? 0 : st.st_mode & S_IFMT, row.kind)
            << row.output << " is never replaced";
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), made);

    // A pipe someone reads takes the whole project, also one named by its
    // descriptor, as a shell's >(...) names it.
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK), 0);
    const int reader = ::open(QFile::encodeName(path("pipe")).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (const auto& [output, from] : {std::pair(path("pipe"), reader),
                                       std::pair(QStringLiteral("/dev/fd/%1").arg(ends[1]), ends[0])}) {
        EXPECT_EQ(writeRunResult(*project, path("p.json"), output).outcome, WriteOutcome::WrittenToOutput);
        QByteArray got(1 << 16, 0);
        got.resize(std::max<ssize_t>(0, ::read(from, got.data(), size_t(got.size()))));
        EXPECT_EQ(got, project->toJson()) << output.toStdString();
    }
    // A changed project that is a pipe gets no backup: reading it would drain it or hang (the alarm).
    comp->layer(0)->setName(QStringLiteral("Renamed"));
    EXPECT_EXIT((::alarm(10), std::exit(writeRunResult(*project, path("pipe"), QString()).outcome
                                            != WriteOutcome::WrittenInPlace || QFileInfo::exists(path("pipe.bak")))),
                testing::ExitedWithCode(0), "");
    for (const int fd : {reader, ends[0], ends[1]})
        ::close(fd);
}

// Where no new file may be made (0555), a disk that fails once the room is
// claimed leaves the output written over, and the summary says so.
TEST(RunResult, AnOutputWrittenOverWhereItIsByAFailingDiskIsToldSo)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.json");
    writeFile(out, "old output");
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(::chmod(QFile::encodeName(out), 0666) | ::chmod(QFile::encodeName(dir.path()), 0555), 0);
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    static const FileWriteCalls failing{[](int, const void*, size_t) -> ssize_t { return errno = EIO, -1; }, ::fsync,
                                        ::close, ::rename};
    setFileWriteCalls(&failing);
    const WriteResult r = writeRunResult(*smallProject(), dir.filePath("p.json"), out);
    setFileWriteCalls(nullptr);
    EXPECT_TRUE((!root || ::seteuid(0) == 0) && ::chmod(QFile::encodeName(dir.path()), 0755) == 0);
    EXPECT_EQ(writeNote(r), "Project: " + out.toStdString() + " was being written over where it is, and may no longer be as it was");

    // Another user's project, written where it is by a disk full after its
    // backup, keeps that backup: the one copy of it as it was.
    if (!root)
        return;
    const QString project = dir.filePath("p.json");
    writeFile(project, "old project");
    ASSERT_EQ(::chmod(QFile::encodeName(project), 0666) | ::chmod(QFile::encodeName(dir.path()), 0777), 0);
    bool changed = diskFull = false;
    setFileWriteCalls(&roomForOneFile);
    ASSERT_EQ(::seteuid(65534), 0);
    saveAtomically(*smallProject(), project, true, nullptr, &changed);
    ASSERT_EQ(::seteuid(0), 0);
    setFileWriteCalls(nullptr);
    EXPECT_TRUE(changed);
    EXPECT_EQ(readAll(project + ".bak"), "old project");
}

TEST(KeyCensus, ReportsStreamsWhoseKeysChangedAndNewLayersWithKeys)
{
    Composition* comp = nullptr;
    auto project = smallProject(&comp);
    Layer* old = comp->layer(0);
    PropertyNode* rotation = old->transformStream(TransformStream::Rotation);
    PropertyNode* scale = old->transformStream(TransformStream::Scale);
    rotation->addKey(A_Time{0, 25}, Value::oneD(0));
    scale->addKey(A_Time{0, 25}, Value::threeD(100, 100, 100));

    const KeyCensus before = KeyCensus::take(*project);
    EXPECT_TRUE(before.changes(*project).empty());

    // Keys added to one stream, all keys of another removed, a new layer keyed.
    rotation->addKey(A_Time{1, 25}, Value::oneD(90));
    scale->removeKey(0);
    Layer* added = comp->createShapeLayer();
    added->transformStream(TransformStream::Position)->addKey(A_Time{3, 25}, Value::threeD(1, 2, 0));
    comp->createShapeLayer(); // new but unkeyed: not reported

    const std::vector<KeyedLayer> changes = before.changes(*project);
    ASSERT_EQ(changes.size(), 2u);
    const KeyedLayer& first = changes[0].newLayer ? changes[0] : changes[1];
    const KeyedLayer& second = changes[0].newLayer ? changes[1] : changes[0];
    EXPECT_TRUE(first.newLayer);
    EXPECT_EQ(first.layerId, added->id());
    ASSERT_EQ(first.streams.size(), 1u);
    EXPECT_EQ(first.streams[0].second, 1);

    EXPECT_FALSE(second.newLayer);
    EXPECT_EQ(second.composition, QStringLiteral("Main"));
    ASSERT_EQ(second.streams.size(), 2u);
    EXPECT_EQ(second.streams[0].first, scale->displayName());
    EXPECT_EQ(second.streams[0].second, 0);
    EXPECT_EQ(second.streams[1].first, rotation->displayName());
    EXPECT_EQ(second.streams[1].second, 2);

    // Same count, different value: still a change.
    const KeyCensus again = KeyCensus::take(*project);
    rotation->addKey(A_Time{1, 25}, Value::oneD(45));
    const std::vector<KeyedLayer> edits = again.changes(*project);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].streams.size(), 1u);
}
