// The record of the suite calls the plug-in made. Always: how often each
// function was called, the total, and the failed calls with their main
// arguments, result and undo depth. Only when asked (tests, debugging: the
// environment variable ZOLVAR_HOST_CALL_LOG=1 or setKeep()): every call in
// order, which tests read to check call order. A long simulation makes
// millions of calls, so the host program keeps the counts only by default.
#pragma once

#include "host_api.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
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
    enum class Keep { Counts, Everything };

    // Everything when ZOLVAR_HOST_CALL_LOG is set to anything but "" or "0".
    static Keep keepFromEnvironment();

    // Records beyond the limit are counted but not kept; failures are always
    // kept up to the limit.
    explicit CallLog(Keep keep = keepFromEnvironment(), size_t limit = 500'000);

    void setKeep(Keep keep) { keep_ = keep; }
    Keep keep() const { return keep_; }
    bool keepsEverything() const { return keep_ == Keep::Everything; }

    // Starts a record and returns its ticket for finish() and record(). The
    // record stays reachable at least until the next begin() after finish().
    size_t begin(CallRecord record);
    // The same for a suite call, without building a record when only counts
    // are kept: the names are the suite's static strings, the arguments are
    // left empty (the caller fills them when they are kept or the call fails).
    size_t begin(const char* suite, int32_t version, int slot, const char* function, int undoDepth);
    CallRecord* record(size_t ticket);
    void clear();

    // Every call, in order: empty unless everything is kept.
    const std::vector<CallRecord>& records() const { return records_; }
    const std::vector<CallRecord>& failures() const { return failures_; }
    uint64_t totalCalls() const { return total_; }
    bool truncated() const { return keep_ == Keep::Everything && total_ > records_.size(); }

    // The calls of one function, in order (kept records only).
    std::vector<CallRecord> calls(const std::string& function) const;
    // Function names in call order, optionally only those of one suite
    // (kept records only).
    std::vector<std::string> functionSequence(const std::string& suite = std::string()) const;
    // How often a function was called, whatever is kept.
    size_t count(const std::string& function) const;
    std::map<std::string, uint64_t> countsByFunction() const;

    // Called when a record's result is known.
    void finish(size_t ticket, A_Err result);

    // One line per record, for printing.
    static std::string format(const CallRecord& record);

private:
    struct Open {
        CallRecord record;
        bool finished = false;
    };

    Keep keep_;
    std::vector<CallRecord> records_;
    std::vector<CallRecord> failures_;
    // Calls in progress when not everything is kept (calls may nest).
    // Entries past openSize_ are spare: their strings keep their capacity.
    std::vector<Open> open_;
    size_t openSize_ = 0;
    std::unordered_map<std::string, uint64_t> counts_;
    // The count of each function by the address of its static name.
    std::unordered_map<const char*, uint64_t*> countByName_;
    size_t pushOpen();
    CallRecord overflow_;
    static constexpr size_t kOverflow = size_t(-1);
    static constexpr size_t kOpenBase = size_t(1) << 62;
    uint64_t total_ = 0;
    size_t limit_;
};

} // namespace standin
