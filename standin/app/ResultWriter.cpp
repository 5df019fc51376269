#include "ResultWriter.h"

#include "project/Project.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace standin {

namespace {

// The same file by its device and inode, whatever names lead to it: a
// link, a hard link, a bind mount.
bool sameFile(const QString& a, const QString& b)
{
    struct stat x, y;
    if (::stat(QFile::encodeName(a).constData(), &x) == 0 && ::stat(QFile::encodeName(b).constData(), &y) == 0)
        return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

WriteResult writeRunResult(const Project& project, const QString& projectPath, const QString& outputPath)
{
    WriteResult result;
    const bool inPlace = outputPath.isEmpty() || sameFile(outputPath, projectPath);
    result.path = outputPath.isEmpty() ? projectPath : outputPath;
    if (inPlace && !project.isModified()) {
        result.outcome = WriteOutcome::Unchanged;
        return result;
    }
    if (!saveAtomically(project, result.path, inPlace, &result.error, &result.changed)) {
        result.outcome = WriteOutcome::Failed;
        return result;
    }
    result.outcome = inPlace ? WriteOutcome::WrittenInPlace : WriteOutcome::WrittenToOutput;
    return result;
}

std::string writeNote(const WriteResult& result)
{
    const std::string path = result.path.toStdString();
    switch (result.outcome) {
    case WriteOutcome::Unchanged:
        return "Project: unchanged, " + path + " not rewritten";
    case WriteOutcome::WrittenToOutput:
        return "Project: written to " + path;
    case WriteOutcome::WrittenInPlace:
        return "Project: written to " + path + " (the previous file is " + path + ".bak)";
    case WriteOutcome::Failed:
        if (result.changed)
            return "Project: " + path + " was being written over where it is, and may no longer be as it was";
        break;
    }
    return "Project: not written";
}

} // namespace standin
