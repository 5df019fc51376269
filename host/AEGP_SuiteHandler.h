// Acquires host suites by name and version on first use and releases every
// suite it acquired when it goes out of scope. One lives on the stack of each
// host-facing function.
#pragma once

#include "host_api.h"
#include "host_suites.h"

// The value of the int thrown when a suite cannot be had.
constexpr int kMissingSuiteError = 516;

class AEGP_SuiteHandler
{
public:
    explicit AEGP_SuiteHandler(const SPBasicSuite* basic);
    ~AEGP_SuiteHandler();

    AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
    AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

#define ZOLVAR_DECLARE_ACCESSOR(accessor, type, name, version) const type* accessor() const;
    ZOLVAR_SUITES(ZOLVAR_DECLARE_ACCESSOR)
#undef ZOLVAR_DECLARE_ACCESSOR

    [[noreturn]] void MissingSuiteError() const;

private:
    const void* LoadSuite(const char* name, int32_t version) const;
    void ReleaseSuite(const char* name, int32_t version);
    void ReleaseAllSuites();

    const SPBasicSuite* basic_;
#define ZOLVAR_DECLARE_CACHE(accessor, type, name, version) mutable const type* accessor##_ = nullptr;
    ZOLVAR_SUITES(ZOLVAR_DECLARE_CACHE)
#undef ZOLVAR_DECLARE_CACHE
};
