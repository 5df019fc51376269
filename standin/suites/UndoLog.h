// Undo groups the plug-in opens and closes, with the project changes made
// while each was innermost. Groups nest. When an outermost group opens, the
// host keeps a before-image of the project (its dump); the last closed
// outermost groups can then be undone, newest first.
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
    bool undone = false;         // undone by the host afterwards
    size_t changes = 0;          // project changes made while innermost
    std::vector<std::string> mutations;  // their texts, when the call log keeps everything
};

class UndoLog
{
public:
    // How many closed outermost groups can be undone; older ones are dropped.
    static constexpr size_t kUndoLevels = 16;

    // `beforeImage` is the project's dump as the group opens; only an
    // outermost group keeps it.
    void start(const std::string& name, uint64_t sequence, std::string beforeImage = std::string());
    // Closes the innermost group; false when none is open.
    bool end(uint64_t sequence);
    int depth() const { return int(open_.size()); }
    // A change to the project: counted and kept by the innermost open
    // group, or in the list of changes made outside any group.
    void recordMutation(const std::string& text);
    // The same, counted only (the call log keeps no texts).
    void countMutation();
    size_t ungroupedChanges() const { return ungroupedChanges_; }
    // Closes what the plug-in left open; returns how many there were.
    int closeAll();

    // The newest closed outermost group that can still be undone: its index in
    // groups(), or -1 when there is none or a group is open.
    int undoableGroup() const;
    // That group's before-image (empty when there is no such group).
    const std::string& undoImage() const;
    // Marks that group undone and forgets its image; false when there is none.
    bool markUndone();

    const std::vector<UndoGroupRecord>& groups() const { return groups_; }
    const std::vector<std::string>& ungroupedMutations() const { return ungrouped_; }

private:
    std::vector<UndoGroupRecord> groups_;
    std::vector<size_t> open_;
    std::vector<std::string> ungrouped_;
    size_t ungroupedChanges_ = 0;
    struct Image {
        size_t group;
        std::string before;
    };
    std::string openImage_;        // of the open outermost group
    std::vector<Image> undoable_;  // closed outermost groups, oldest first
};

} // namespace standin
