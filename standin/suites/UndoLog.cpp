#include "UndoLog.h"

namespace standin {

void UndoLog::start(const std::string& name, uint64_t sequence)
{
    UndoGroupRecord group;
    group.name = name;
    group.openSequence = sequence;
    group.depth = depth() + 1;
    groups_.push_back(std::move(group));
    open_.push_back(groups_.size() - 1);
}

bool UndoLog::end(uint64_t sequence)
{
    if (open_.empty())
        return false;
    groups_[open_.back()].closeSequence = sequence;
    open_.pop_back();
    return true;
}

void UndoLog::recordMutation(const std::string& text)
{
    if (open_.empty())
        ungrouped_.push_back(text);
    else
        groups_[open_.back()].mutations.push_back(text);
}

int UndoLog::closeAll()
{
    const int n = depth();
    for (size_t index : open_)
        groups_[index].closedByHost = true;
    open_.clear();
    return n;
}

} // namespace standin
