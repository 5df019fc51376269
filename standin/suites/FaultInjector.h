// Injected failures for tests: "fail the N-th call of (suite, slot) with code
// X" or "fail every call of (suite, slot)". A failed call does not run.
#pragma once

#include "host_api.h"

#include <string>
#include <vector>

namespace standin {

class FaultInjector
{
public:
    static constexpr int32_t kAnyVersion = -1;

    // Fails the nth (1-based) matching call from now on. version kAnyVersion
    // matches every version of the suite (one function backs several).
    void failNth(const std::string& suite, int32_t version, int slot, int nth,
                 A_Err code = STANDIN_ERR_INJECTED);
    void failEvery(const std::string& suite, int32_t version, int slot,
                   A_Err code = STANDIN_ERR_INJECTED);
    void clear() { rules_.clear(); }

    // Counts the call against every matching rule; returns the code to fail
    // it with, or A_Err_NONE to let it run.
    A_Err check(const char* suite, int32_t version, int slot);

    // How many calls have been failed so far.
    int injectedCount() const { return injected_; }

private:
    struct Rule {
        std::string suite;
        int32_t version;
        int slot;
        int nth;      // 0 = every call
        A_Err code;
        int seen = 0;
    };
    std::vector<Rule> rules_;
    int injected_ = 0;
};

} // namespace standin
