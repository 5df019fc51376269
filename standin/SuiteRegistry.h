// The host's basic suite: hands out suite tables by exact (name, version),
// counts every acquisition and release, and can be told to withhold a suite.
#pragma once

#include "host_api.h"

#include <map>
#include <unordered_map>
#include <string>
#include <utility>

namespace standin {

class SuiteRegistry
{
public:
    using Key = std::pair<std::string, int32_t>;

    // The process has one registry: the basic suite's functions carry no context.
    static SuiteRegistry& instance();

    // The basic suite the plug-in is given.
    SPBasicSuite* basicSuite();

    void add(const char* name, int32_t version, const void* table);
    void remove(const char* name, int32_t version);
    void clear();

    // A withheld suite is answered as unknown until it is allowed again.
    void withhold(const char* name, int32_t version, bool withheld = true);

    // Currently outstanding acquisitions of one suite (acquired - released).
    int outstanding(const char* name, int32_t version) const;
    // Sum of outstanding acquisitions over every suite.
    int outstandingTotal() const;
    int acquireCount(const char* name, int32_t version) const;
    int releaseCount(const char* name, int32_t version) const;
    // Releases of suites that had nothing outstanding.
    int unbalancedReleases() const { return unbalancedReleases_; }
    void resetCounters();

    int32_t acquire(const char* name, int32_t version, const void** suite);
    int32_t release(const char* name, int32_t version);

private:
    struct Entry {
        const void* table = nullptr;
        bool withheld = false;
        int acquired = 0;
        int released = 0;
        int outstanding() const { return acquired - released; }
    };
    const Entry* find(const char* name, int32_t version) const;
    // The entry of (name, version), found first by the address of the name
    // (plug-ins pass the same literals again and again), checked by text.
    std::map<Key, Entry>::iterator lookup(const char* name, int32_t version);

    struct AddressHash {
        size_t operator()(const std::pair<const char*, int32_t>& k) const
        {
            return std::hash<const void*>()(k.first) ^ (size_t(uint32_t(k.second)) * 0x9e3779b97f4a7c15ull);
        }
    };
    std::map<Key, Entry> entries_;
    std::unordered_map<std::pair<const char*, int32_t>, std::map<Key, Entry>::iterator, AddressHash> byAddress_;
    int unbalancedReleases_ = 0;
    SPBasicSuite basic_{};
};

} // namespace standin
