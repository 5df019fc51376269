// Undo groups the plug-in opens and closes, with the project changes made
// while each was innermost. Groups nest; nothing is really undone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct UndoGroupRecord {
    std::string name;
    uint64_t openSequence = 0;   // call-log sequence of the Start call
    uint64_t closeSequence = 0;  // of the End call; 0 while open
    int depth = 1;               // 1 = outermost
    bool closedByHost = false;   // still open when the command returned
    std::vector<std::string> mutations;
};

class UndoLog
{
public:
    void start(const std::string& name, uint64_t sequence);
    // Closes the innermost group; false when none is open.
    bool end(uint64_t sequence);
    int depth() const { return int(open_.size()); }
    // A change to the project: kept by the innermost open group, or in the
    // list of changes made outside any group.
    void recordMutation(const std::string& text);
    // Closes what the plug-in left open; returns how many there were.
    int closeAll();

    const std::vector<UndoGroupRecord>& groups() const { return groups_; }
    const std::vector<std::string>& ungroupedMutations() const { return ungrouped_; }

private:
    std::vector<UndoGroupRecord> groups_;
    std::vector<size_t> open_;
    std::vector<std::string> ungrouped_;
};

} // namespace standin
