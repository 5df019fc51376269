// Stream references and stream values of the host that give themselves back
// when they go out of scope, and the few reads the outline builders repeat.
// Values are read at composition time 0 with expressions applied, unless a
// StreamReadTime says otherwise.
#pragma once

#include "host/AEGP_SuiteHandler.h"

#include <string>

// Composition time 0, at which all layer geometry is read.
constexpr A_Time kTimeZero{0, 1};

// While it lives, stream values (ScopedStreamValue, readChildValue) are read
// on this thread at `time` instead of time 0; the time before comes back
// when it goes.
class StreamReadTime
{
public:
    explicit StreamReadTime(const A_Time& time);
    ~StreamReadTime();
    StreamReadTime(const StreamReadTime&) = delete;
    StreamReadTime& operator=(const StreamReadTime&) = delete;

    static const A_Time& current();

private:
    A_Time previous_;
};

class ScopedStream
{
public:
    explicit ScopedStream(const AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedStream() { reset(); }
    ScopedStream(const ScopedStream&) = delete;
    ScopedStream& operator=(const ScopedStream&) = delete;

    AEGP_StreamRefH get() const { return stream_; }
    explicit operator bool() const { return stream_ != nullptr; }
    // For the host to write a new reference into; the one held is given back first.
    AEGP_StreamRefH* out();
    void reset();
    // Hands the reference over to `other`.
    void moveTo(ScopedStream& other);

private:
    const AEGP_SuiteHandler& suites_;
    AEGP_StreamRefH stream_ = nullptr;
};

class ScopedStreamValue
{
public:
    explicit ScopedStreamValue(const AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedStreamValue() { reset(); }
    ScopedStreamValue(const ScopedStreamValue&) = delete;
    ScopedStreamValue& operator=(const ScopedStreamValue&) = delete;

    const AEGP_StreamVal2& val() const { return value_.val; }
    bool held() const { return held_; }
    // The stream's value at composition time 0 (or the StreamReadTime); the
    // value held is given back first.
    A_Err read(AEGP_PluginID pluginId, AEGP_StreamRefH stream);
    void reset();

private:
    const AEGP_SuiteHandler& suites_;
    AEGP_StreamValue2 value_{};
    bool held_ = false;
};

// Child `index` of a group.
A_Err childByIndex(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parent, A_long index,
                   ScopedStream& child);
// The child of that match name; no error and no stream when there is none.
A_Err childByMatchName(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parent,
                       const char* matchName, ScopedStream& child);
A_Err matchNameOf(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, std::string& name);
// Whether a mask, shape group or shape item is switched on (its dynamic
// stream flags carry the active switch): one switched off draws nothing.
A_Err isSwitchedOn(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, bool& on);
// The value at time 0 (or the StreamReadTime) of the child of that match
// name, copied out. A missing child is an error (A_Err_GENERIC).
A_Err readChildValue(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parent,
                     const char* matchName, AEGP_StreamVal2& value);
// Whether a stream changes over time: it has keys, or an expression that is
// switched on drives it. A host error counts as a change.
bool variesOverTime(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream);
