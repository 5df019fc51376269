#include "FaultInjector.h"

namespace standin {

void FaultInjector::failNth(const std::string& suite, int32_t version, int slot, int nth, A_Err code)
{
    if (nth < 1)
        nth = 1;
    rules_.push_back({suite, version, slot, nth, code});
}

void FaultInjector::failEvery(const std::string& suite, int32_t version, int slot, A_Err code)
{
    rules_.push_back({suite, version, slot, 0, code});
}

A_Err FaultInjector::check(const char* suite, int32_t version, int slot)
{
    A_Err result = A_Err_NONE;
    for (Rule& rule : rules_) {
        if (rule.slot != slot || rule.suite != suite)
            continue;
        if (rule.version != kAnyVersion && rule.version != version)
            continue;
        ++rule.seen;
        if (result == A_Err_NONE && (rule.nth == 0 || rule.seen == rule.nth))
            result = rule.code;
    }
    if (result != A_Err_NONE)
        ++injected_;
    return result;
}

} // namespace standin
