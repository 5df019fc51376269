// Where the host writes the project after the command: to --output always,
// otherwise back to the project file, and then only when something changed.
#pragma once

#include <QString>

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
// output naming the project file itself counts as in place.
WriteResult writeRunResult(const Project& project, const QString& projectPath, const QString& outputPath);

} // namespace standin
