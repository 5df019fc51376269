// The one entry path of every suite function. A suite table holds thunks
// generated from the implementations; each thunk logs the call, refuses it
// when it comes from another thread or a test injected a failure, runs the
// implementation, keeps exceptions from crossing into the plug-in, and notes
// successful mutations in the open undo group.
//
// An implementation is written as
//
//     STANDIN_CALL(AEGP_GetLayerFlags, (AEGP_LayerH layerH, AEGP_LayerFlags* flagsP))
//     { ... return A_Err_NONE; }
//
// (STANDIN_MUTATOR for calls that change the project), and a table is made by
//
//     auto t = makeSuiteTable<LayerSuite13>();
//     STANDIN_SLOT(LayerSuite13, t, AEGP_GetLayerFlags);
//
// The member and the implementation share the function's name. The slot
// number comes from the member's position in the shared header;
// every member not set stays a placeholder that returns
// STANDIN_ERR_NOT_IMPLEMENTED and complains on stderr.
#pragma once

#include "ArgFormat.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <string>
#include <utility>

namespace standin {

class SuiteContext;

// The text of a call's arguments, made only when the log keeps it: when
// every call is kept, or when the call fails.
struct ArgumentText {
    const void* data = nullptr;
    std::string (*make)(const void*) = nullptr;
    std::string operator()() const { return make ? make(data) : std::string(); }
};

class CallScope
{
public:
    CallScope(const char* suite, int32_t version, int slot, const char* function);
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    ~CallScope();

    // Logs the call; false when it must not run (result() says why).
    bool admit(ArgumentText arguments);
    A_Err result() const { return result_; }
    // Completes the record; returns err.
    A_Err finish(A_Err err, bool mutation);

private:
    SuiteContext* context_;
    const char* suite_;
    int32_t version_;
    int slot_;
    const char* function_;
    ArgumentText arguments_;
    size_t ticket_ = 0;
    bool logged_ = false;
    A_Err result_ = A_Err_NONE;
};

// Adds text to the record of the call in progress (values written, clamps).
void noteCall(const std::string& text);
// Whether notes on a successful call are kept (only when every call is):
// lets a frequent call skip making the text.
bool callNotesKept();
// Counts the call in progress as a change to the project (for calls that
// change it only sometimes).
void markCallAsMutation();

template <class Suite, int Slot, class Fn, class Sig = decltype(&Fn::run)> struct Thunk;

template <class Suite, int Slot, class Fn, class... Args>
struct Thunk<Suite, Slot, Fn, A_Err (*)(Args...)> {
    static A_Err call(Args... args)
    {
        CallScope scope(Suite::name, Suite::version, Slot, Fn::name);
        const auto format = [&] { return formatArguments(args...); };
        using Format = decltype(format);
        const ArgumentText text{&format, [](const void* f) { return (*static_cast<const Format*>(f))(); }};
        if (!scope.admit(text))
            return scope.result();
        A_Err err = A_Err_NONE;
        try {
            err = Fn::run(args...);
        } catch (const std::bad_alloc&) {
            err = A_Err_ALLOC;
        } catch (...) {
            err = A_Err_GENERIC;
        }
        return scope.finish(err, Fn::mutates);
    }
};

template <class Suite, int Slot> struct Placeholder {
    static A_Err call()
    {
        static const std::string name = "unused_" + std::to_string(Slot);
        CallScope scope(Suite::name, Suite::version, Slot, name.c_str());
        if (!scope.admit(ArgumentText{}))
            return scope.result();
        return scope.finish(STANDIN_ERR_NOT_IMPLEMENTED, false);
    }
};

template <class Suite, size_t... I>
void fillPlaceholders(typename Suite::Table& table, std::index_sequence<I...>)
{
    using Slot = A_Err (*)(void);
    static_assert(sizeof(typename Suite::Table) == sizeof...(I) * sizeof(Slot),
                  "a suite table holds nothing but function pointers");
    const Slot entries[] = {&Placeholder<Suite, int(I)>::call...};
    std::memcpy(static_cast<void*>(&table), entries, sizeof entries);
}

// A table whose every slot is a placeholder.
template <class Suite> typename Suite::Table makeSuiteTable()
{
    typename Suite::Table table;
    fillPlaceholders<Suite>(table, std::make_index_sequence<sizeof(table) / sizeof(void*)>{});
    return table;
}

} // namespace standin

#define STANDIN_DEFINE_CALL(NAME, PARAMS, MUTATES)          \
    struct NAME {                                           \
        static constexpr const char* name = #NAME;          \
        static constexpr bool mutates = MUTATES;            \
        static A_Err run PARAMS;                            \
    };                                                      \
    A_Err NAME::run PARAMS

#define STANDIN_CALL(NAME, PARAMS) STANDIN_DEFINE_CALL(NAME, PARAMS, false)
#define STANDIN_MUTATOR(NAME, PARAMS) STANDIN_DEFINE_CALL(NAME, PARAMS, true)

#define STANDIN_SLOT(SUITE, TABLE, NAME)                                                                    \
    (TABLE).NAME = &::standin::Thunk<                                                                       \
        SUITE, int(offsetof(std::remove_reference_t<decltype(TABLE)>, NAME) / sizeof(void*)), NAME>::call

// A tag type naming one (suite name, version) pair and its table type.
#define STANDIN_SUITE(TAG, TABLE, NAME, VERSION)                \
    struct TAG {                                                \
        using Table = TABLE;                                    \
        static constexpr const char* name = NAME;               \
        static constexpr int32_t version = VERSION;             \
    }
