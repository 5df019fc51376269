// Where the host writes the project after the command: to --output always,
// otherwise back to the project file, and then only when something changed.
#pragma once

#include <QString>

#include <string>

namespace standin {

class Project;

enum class WriteOutcome { Unchanged, WrittenToOutput, WrittenInPlace, Failed };

struct WriteResult {
    WriteOutcome outcome = WriteOutcome::Failed;
    QString path;   // the file written (or left alone)
    QString error;  // for Failed
    bool changed = false; // Failed, but the file was written over in part
};

// Writes atomically; in place, the previous file is kept as PATH.bak. An
// output naming the project file itself, by any name (a link, a hard link,
// a bind mount), counts as in place, its backup beside that name.
WriteResult writeRunResult(const Project& project, const QString& projectPath, const QString& outputPath);

// The summary's line on the project: where it went, or that it was not
// written, or that the file written over may no longer be as it was.
std::string writeNote(const WriteResult& result);

} // namespace standin
