// The short report printed after a run: the composition, the keys written,
// the undo groups, the suite calls that failed, leaks and what was written.
#pragma once

#include "KeyCensus.h"
#include "suites/CallLog.h"
#include "suites/LeakCounters.h"
#include "suites/UndoLog.h"

#include <QString>

#include <cstdio>
#include <string>
#include <vector>

namespace standin {

struct RunSummary {
    QString composition;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int layerCount = 0;
    std::vector<KeyedLayer> keyed;
    std::vector<UndoGroupRecord> undoGroups;
    uint64_t totalCalls = 0;
    std::vector<CallRecord> failures;
    LeakCounters leaks;
    std::vector<std::string> notes; // export outcome, written file ...
};

// Lists longer than this are cut, saying how many were left out.
constexpr size_t kSummaryListLimit = 20;

std::string formatSummary(const RunSummary& summary);

// The text with every control character (NUL included) written as an escape
// (\n, \t, \r, \\, \xHH), so that a name cannot cut or break the report.
std::string printable(const std::string& text);

// Writes the whole text, whatever bytes it holds.
void writeText(const std::string& text, std::FILE* to);

} // namespace standin
