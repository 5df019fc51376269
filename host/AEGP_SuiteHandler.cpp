#include "AEGP_SuiteHandler.h"

AEGP_SuiteHandler::AEGP_SuiteHandler(const SPBasicSuite* basic)
    : basic_(basic)
{
    if (!basic_)
        MissingSuiteError();
}

AEGP_SuiteHandler::~AEGP_SuiteHandler()
{
    ReleaseAllSuites();
}

#define ZOLVAR_DEFINE_ACCESSOR(accessor, type, name, version)                    \
    const type* AEGP_SuiteHandler::accessor() const                              \
    {                                                                            \
        if (!accessor##_)                                                        \
            accessor##_ = static_cast<const type*>(LoadSuite(name, version));    \
        return accessor##_;                                                      \
    }
ZOLVAR_SUITES(ZOLVAR_DEFINE_ACCESSOR)
#undef ZOLVAR_DEFINE_ACCESSOR

void AEGP_SuiteHandler::MissingSuiteError() const
{
    throw int(kMissingSuiteError);
}

const void* AEGP_SuiteHandler::LoadSuite(const char* name, int32_t version) const
{
    const void* suite = nullptr;
    if (!basic_->AcquireSuite || basic_->AcquireSuite(name, version, &suite) != 0 || !suite)
        MissingSuiteError();
    return suite;
}

void AEGP_SuiteHandler::ReleaseSuite(const char* name, int32_t version)
{
    if (basic_->ReleaseSuite)
        basic_->ReleaseSuite(name, version);
}

void AEGP_SuiteHandler::ReleaseAllSuites()
{
#define ZOLVAR_RELEASE(accessor, type, name, version) \
    if (accessor##_) {                                \
        ReleaseSuite(name, version);                  \
        accessor##_ = nullptr;                        \
    }
    ZOLVAR_SUITES(ZOLVAR_RELEASE)
#undef ZOLVAR_RELEASE
}
