#include "UndoLog.h"

namespace standin {

void UndoLog::start(const std::string& name, uint64_t sequence, std::string beforeImage)
{
    if (open_.empty())
        openImage_ = std::move(beforeImage);
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
    const size_t closed = open_.back();
    open_.pop_back();
    if (open_.empty()) {
        undoable_.push_back(Image{closed, std::move(openImage_)});
        openImage_.clear();
        if (undoable_.size() > kUndoLevels)
            undoable_.erase(undoable_.begin());
    }
    return true;
}

void UndoLog::recordMutation(const std::string& text)
{
    countMutation();
    if (open_.empty())
        ungrouped_.push_back(text);
    else
        groups_[open_.back()].mutations.push_back(text);
}

void UndoLog::countMutation()
{
    if (open_.empty())
        ++ungroupedChanges_;
    else
        ++groups_[open_.back()].changes;
}

int UndoLog::closeAll()
{
    const int n = depth();
    for (size_t index : open_)
        groups_[index].closedByHost = true;
    if (!open_.empty()) {
        undoable_.push_back(Image{open_.front(), std::move(openImage_)});
        openImage_.clear();
        if (undoable_.size() > kUndoLevels)
            undoable_.erase(undoable_.begin());
    }
    open_.clear();
    return n;
}

int UndoLog::undoableGroup() const
{
    if (!open_.empty() || undoable_.empty())
        return -1;
    return int(undoable_.back().group);
}

const std::string& UndoLog::undoImage() const
{
    static const std::string none;
    return undoableGroup() < 0 ? none : undoable_.back().before;
}

bool UndoLog::markUndone()
{
    const int group = undoableGroup();
    if (group < 0)
        return false;
    undoable_.pop_back();
    groups_[size_t(group)].undone = true;
    return true;
}

} // namespace standin
