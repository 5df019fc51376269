#include "SuiteRegistry.h"

#include <cstdio>
#include <cstring>

namespace standin {

namespace {

int32_t basicAcquire(const char* name, int32_t version, const void** suite)
{
    return SuiteRegistry::instance().acquire(name, version, suite);
}

int32_t basicRelease(const char* name, int32_t version)
{
    return SuiteRegistry::instance().release(name, version);
}

int32_t basicIsEqual(const char*, const char*) { return A_Err_GENERIC; }
int32_t basicAllocate(size_t, void**) { return A_Err_GENERIC; }
int32_t basicFree(void*) { return A_Err_GENERIC; }
int32_t basicReallocate(void*, size_t, void**) { return A_Err_GENERIC; }
int32_t basicUndefined() { return A_Err_GENERIC; }

} // namespace

SuiteRegistry& SuiteRegistry::instance()
{
    static SuiteRegistry registry;
    return registry;
}

SPBasicSuite* SuiteRegistry::basicSuite()
{
    basic_.AcquireSuite = basicAcquire;
    basic_.ReleaseSuite = basicRelease;
    basic_.IsEqual = basicIsEqual;
    basic_.AllocateBlock = basicAllocate;
    basic_.FreeBlock = basicFree;
    basic_.ReallocateBlock = basicReallocate;
    basic_.Undefined = basicUndefined;
    return &basic_;
}

void SuiteRegistry::add(const char* name, int32_t version, const void* table)
{
    entries_[{name, version}].table = table;
}

std::map<SuiteRegistry::Key, SuiteRegistry::Entry>::iterator SuiteRegistry::lookup(const char* name, int32_t version)
{
    const std::pair<const char*, int32_t> address(name, version);
    if (auto hit = byAddress_.find(address);
        hit != byAddress_.end() && std::strcmp(hit->second->first.first.c_str(), name) == 0)
        return hit->second;
    auto it = entries_.find({name, version});
    if (it != entries_.end())
        byAddress_[address] = it;
    return it;
}

void SuiteRegistry::remove(const char* name, int32_t version)
{
    byAddress_.clear();
    entries_.erase({name, version});
}

void SuiteRegistry::clear()
{
    byAddress_.clear();
    entries_.clear();
    unbalancedReleases_ = 0;
}

void SuiteRegistry::withhold(const char* name, int32_t version, bool withheld)
{
    entries_[{name, version}].withheld = withheld;
}

const SuiteRegistry::Entry* SuiteRegistry::find(const char* name, int32_t version) const
{
    if (!name)
        return nullptr;
    auto it = entries_.find({name, version});
    return it == entries_.end() ? nullptr : &it->second;
}

int SuiteRegistry::outstanding(const char* name, int32_t version) const
{
    const Entry* e = find(name, version);
    return e ? e->outstanding() : 0;
}

int SuiteRegistry::outstandingTotal() const
{
    int total = 0;
    for (const auto& [key, e] : entries_)
        total += e.outstanding();
    return total;
}

int SuiteRegistry::acquireCount(const char* name, int32_t version) const
{
    const Entry* e = find(name, version);
    return e ? e->acquired : 0;
}

int SuiteRegistry::releaseCount(const char* name, int32_t version) const
{
    const Entry* e = find(name, version);
    return e ? e->released : 0;
}

void SuiteRegistry::resetCounters()
{
    for (auto& [key, e] : entries_)
        e.acquired = e.released = 0;
    unbalancedReleases_ = 0;
}

int32_t SuiteRegistry::acquire(const char* name, int32_t version, const void** suite)
{
    if (!suite)
        return A_Err_PARAMETER;
    *suite = nullptr;
    if (!name)
        return SP_ERR_SUITE_NOT_FOUND;
    auto it = lookup(name, version);
    if (it == entries_.end() || it->second.withheld || !it->second.table)
        return SP_ERR_SUITE_NOT_FOUND;
    Entry& e = it->second;
    ++e.acquired;
    *suite = e.table;
    return A_Err_NONE;
}

int32_t SuiteRegistry::release(const char* name, int32_t version)
{
    auto it = name ? lookup(name, version) : entries_.end();
    if (it == entries_.end() || it->second.outstanding() <= 0) {
        ++unbalancedReleases_;
        std::fprintf(stderr, "standin: release of suite \"%s\" version %d that is not acquired\n",
                     name ? name : "(null)", int(version));
        return SP_ERR_SUITE_NOT_FOUND;
    }
    ++it->second.released;
    return A_Err_NONE;
}

} // namespace standin
