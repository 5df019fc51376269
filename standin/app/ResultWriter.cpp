#include "ResultWriter.h"

#include "project/Project.h"

#include <QFileInfo>

namespace standin {

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo x(a);
    const QFileInfo y(b);
    if (x.exists() && y.exists())
        return x.canonicalFilePath() == y.canonicalFilePath();
    return x.absoluteFilePath() == y.absoluteFilePath();
}

} // namespace

WriteResult writeRunResult(const Project& project, const QString& projectPath, const QString& outputPath)
{
    WriteResult result;
    const bool inPlace = outputPath.isEmpty() || sameFile(outputPath, projectPath);
    result.path = inPlace ? projectPath : outputPath;
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
