// The record of every suite call the plug-in made: what was called, with
// which main arguments, what it returned and how deep the undo groups were.
// Tests read it to check call order; the host program prints the failures.
#pragma once

#include "host_api.h"

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct CallRecord {
    uint64_t sequence = 0;   // 1, 2, 3 ... over the session
    std::string suite;       // suite name, e.g. "AEGP Layer Suite"
    int32_t version = 0;
    int slot = 0;
    std::string function;    // e.g. "AEGP_GetLayerFlags"
    std::string arguments;   // the input arguments as text
    std::string detail;      // what the call added (values set, clamps, injected ...)
    A_Err result = A_Err_NONE;
    int undoDepth = 0;       // open undo groups when the call was made
    bool injected = false;
};

class CallLog
{
public:
    // Records beyond the limit are counted but not kept (a long simulation
    // makes millions of calls); failures are always kept up to the limit.
    explicit CallLog(size_t limit = 500'000) : limit_(limit) {}

    // Starts a record and returns its ticket for finish() and note().
    size_t begin(CallRecord record);
    CallRecord* record(size_t ticket);
    void clear();

    const std::vector<CallRecord>& records() const { return records_; }
    const std::vector<CallRecord>& failures() const { return failures_; }
    uint64_t totalCalls() const { return total_; }
    bool truncated() const { return total_ > records_.size(); }

    // The calls of one function, in order.
    std::vector<CallRecord> calls(const std::string& function) const;
    // Function names in call order, optionally only those of one suite.
    std::vector<std::string> functionSequence(const std::string& suite = std::string()) const;
    size_t count(const std::string& function) const;

    // Called when a record's result is known.
    void finish(size_t ticket, A_Err result);

    // One line per record, for printing.
    static std::string format(const CallRecord& record);

private:
    std::vector<CallRecord> records_;
    std::vector<CallRecord> failures_;
    CallRecord overflow_;
    static constexpr size_t kOverflow = size_t(-1);
    uint64_t total_ = 0;
    size_t limit_;
};

} // namespace standin
