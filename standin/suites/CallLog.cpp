#include "CallLog.h"

namespace standin {

size_t CallLog::begin(CallRecord record)
{
    record.sequence = ++total_;
    if (records_.size() >= limit_) {
        overflow_ = std::move(record);
        return kOverflow;
    }
    records_.push_back(std::move(record));
    return records_.size() - 1;
}

CallRecord* CallLog::record(size_t ticket)
{
    if (ticket == kOverflow)
        return &overflow_;
    return ticket < records_.size() ? &records_[ticket] : nullptr;
}

void CallLog::finish(size_t ticket, A_Err result)
{
    CallRecord* r = record(ticket);
    if (!r)
        return;
    r->result = result;
    if (result != A_Err_NONE && failures_.size() < limit_)
        failures_.push_back(*r);
}

void CallLog::clear()
{
    records_.clear();
    failures_.clear();
    total_ = 0;
}

std::vector<CallRecord> CallLog::calls(const std::string& function) const
{
    std::vector<CallRecord> out;
    for (const CallRecord& r : records_)
        if (r.function == function)
            out.push_back(r);
    return out;
}

std::vector<std::string> CallLog::functionSequence(const std::string& suite) const
{
    std::vector<std::string> out;
    for (const CallRecord& r : records_)
        if (suite.empty() || r.suite == suite)
            out.push_back(r.function);
    return out;
}

size_t CallLog::count(const std::string& function) const
{
    size_t n = 0;
    for (const CallRecord& r : records_)
        n += r.function == function;
    return n;
}

std::string CallLog::format(const CallRecord& r)
{
    std::string line = "#" + std::to_string(r.sequence) + " " + r.suite + " v" + std::to_string(r.version)
        + " [" + std::to_string(r.slot) + "] " + r.function + "(" + r.arguments + ") -> "
        + std::to_string(r.result);
    if (r.undoDepth)
        line += " undo-depth " + std::to_string(r.undoDepth);
    if (!r.detail.empty())
        line += " ; " + r.detail;
    return line;
}

} // namespace standin
