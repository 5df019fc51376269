#include "CallLog.h"

#include <cstdlib>
#include <cstring>

namespace standin {

CallLog::Keep CallLog::keepFromEnvironment()
{
    const char* value = std::getenv("ZOLVAR_HOST_CALL_LOG");
    return value && *value && std::strcmp(value, "0") != 0 ? Keep::Everything : Keep::Counts;
}

CallLog::CallLog(Keep keep, size_t limit) : keep_(keep), limit_(limit) {}

size_t CallLog::begin(CallRecord record)
{
    record.sequence = ++total_;
    ++counts_[record.function];
    if (keep_ == Keep::Counts) {
        const size_t index = pushOpen();
        open_[index].record = std::move(record);
        return kOpenBase + index;
    }
    if (records_.size() >= limit_) {
        overflow_ = std::move(record);
        return kOverflow;
    }
    records_.push_back(std::move(record));
    return records_.size() - 1;
}

size_t CallLog::pushOpen()
{
    while (openSize_ > 0 && open_[openSize_ - 1].finished)
        --openSize_;
    if (openSize_ == open_.size())
        open_.emplace_back();
    open_[openSize_].finished = false;
    return openSize_++;
}

size_t CallLog::begin(const char* suite, int32_t version, int slot, const char* function, int undoDepth)
{
    if (keep_ == Keep::Everything) {
        CallRecord record;
        record.suite = suite;
        record.version = version;
        record.slot = slot;
        record.function = function;
        record.undoDepth = undoDepth;
        return begin(std::move(record));
    }
    ++total_;
    uint64_t*& count = countByName_[function];
    if (!count)
        count = &counts_[function];
    ++*count;
    // Assigning into a spare record reuses its strings' storage.
    CallRecord& r = open_[pushOpen()].record;
    r.sequence = total_;
    r.suite = suite;
    r.version = version;
    r.slot = slot;
    r.function = function;
    r.arguments.clear();
    r.detail.clear();
    r.result = A_Err_NONE;
    r.undoDepth = undoDepth;
    r.injected = false;
    return kOpenBase + openSize_ - 1;
}

CallRecord* CallLog::record(size_t ticket)
{
    if (ticket == kOverflow)
        return &overflow_;
    if (ticket >= kOpenBase)
        return ticket - kOpenBase < openSize_ ? &open_[ticket - kOpenBase].record : nullptr;
    return ticket < records_.size() ? &records_[ticket] : nullptr;
}

void CallLog::finish(size_t ticket, A_Err result)
{
    CallRecord* r = record(ticket);
    if (!r)
        return;
    r->result = result;
    if (ticket >= kOpenBase && ticket != kOverflow)
        open_[ticket - kOpenBase].finished = true;
    if (result != A_Err_NONE && failures_.size() < limit_)
        failures_.push_back(*r);
}

void CallLog::clear()
{
    records_.clear();
    failures_.clear();
    counts_.clear();
    countByName_.clear();
    open_.clear();
    openSize_ = 0;
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
    const auto it = counts_.find(function);
    return it == counts_.end() ? 0 : size_t(it->second);
}

std::map<std::string, uint64_t> CallLog::countsByFunction() const
{
    return std::map<std::string, uint64_t>(counts_.begin(), counts_.end());
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
