#include "outlines/HostStreams.h"

namespace {

thread_local A_Time readTime = kTimeZero;

}  // namespace

StreamReadTime::StreamReadTime(const A_Time& time) : previous_(readTime)
{
    readTime = time;
}

StreamReadTime::~StreamReadTime()
{
    readTime = previous_;
}

const A_Time& StreamReadTime::current()
{
    return readTime;
}

AEGP_StreamRefH* ScopedStream::out()
{
    reset();
    return &stream_;
}

void ScopedStream::reset()
{
    if (stream_)
        suites_.StreamSuite4()->AEGP_DisposeStream(stream_);
    stream_ = nullptr;
}

void ScopedStream::moveTo(ScopedStream& other)
{
    if (&other == this)
        return;
    other.reset();
    other.stream_ = stream_;
    stream_ = nullptr;
}

A_Err ScopedStreamValue::read(AEGP_PluginID pluginId, AEGP_StreamRefH stream)
{
    reset();
    const A_Err err = suites_.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, stream, AEGP_LTimeMode_CompTime,
                                                                     &readTime, false, &value_);
    held_ = err == A_Err_NONE;
    return err;
}

void ScopedStreamValue::reset()
{
    if (held_)
        suites_.StreamSuite4()->AEGP_DisposeStreamValue(&value_);
    held_ = false;
    value_ = AEGP_StreamValue2{};
}

A_Err childByIndex(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parent, A_long index,
                   ScopedStream& child)
{
    return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(pluginId, parent, index, child.out());
}

A_Err childByMatchName(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parent,
                       const char* matchName, ScopedStream& child)
{
    return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(pluginId, parent, matchName, child.out());
}

A_Err matchNameOf(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, std::string& name)
{
    A_char buffer[AEGP_MAX_STREAM_MATCH_NAME_SIZE + 1] = {};
    const A_Err err = suites.DynamicStreamSuite4()->AEGP_GetMatchName(stream, buffer);
    buffer[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = '\0';
    name = err ? std::string() : std::string(buffer);
    return err;
}

A_Err isSwitchedOn(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, bool& on)
{
    AEGP_DynStreamFlags flags = 0;
    const A_Err err = suites.DynamicStreamSuite4()->AEGP_GetDynamicStreamFlags(stream, &flags);
    on = !err && (flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL) != 0;
    return err;
}

A_Err readChildValue(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parent,
                     const char* matchName, AEGP_StreamVal2& value)
{
    ScopedStream child(suites);
    A_Err err = childByMatchName(suites, pluginId, parent, matchName, child);
    if (!err && !child)
        err = A_Err_GENERIC;
    ScopedStreamValue v(suites);
    if (!err)
        err = v.read(pluginId, child.get());
    if (!err)
        value = v.val();
    return err;
}

bool variesOverTime(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH stream)
{
    A_Boolean varies = true;
    A_Boolean expression = true;
    const A_Err err = suites.StreamSuite4()->AEGP_IsStreamTimevarying(stream, &varies);
    return err || varies || suites.StreamSuite4()->AEGP_GetExpressionState(pluginId, stream, &expression) ||
           expression;
}
