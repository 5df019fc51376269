// Opaque handles handed to the plug-in. A handle is never a real address: it
// carries a tag, its kind and a serial number, so the host can tell a stale
// handle, a handle of another kind or a stray pointer from a live one without
// ever dereferencing what it was given.
#pragma once

#include "host_api.h"

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>
#include <string>
#include <type_traits>

namespace standin {

enum class HandleKind : uint8_t {
    None = 0,
    Project,
    Item,
    Comp,
    Layer,
    StreamRef,
    MaskRef,
    MaskOutline,
    Footage,
    Memory,
    Blob,
    Collection,
    KeyBatch,
    TextOutlines,
    PathOutline,
    Prog,
};

template <class H> struct HandleKindOf;
#define STANDIN_HANDLE_KIND(H, K) \
    template <> struct HandleKindOf<H> { static constexpr HandleKind value = HandleKind::K; };
STANDIN_HANDLE_KIND(AEGP_ProjectH, Project)
STANDIN_HANDLE_KIND(AEGP_ItemH, Item)
STANDIN_HANDLE_KIND(AEGP_CompH, Comp)
STANDIN_HANDLE_KIND(AEGP_LayerH, Layer)
STANDIN_HANDLE_KIND(AEGP_StreamRefH, StreamRef)
STANDIN_HANDLE_KIND(AEGP_MaskRefH, MaskRef)
STANDIN_HANDLE_KIND(AEGP_MaskOutlineValH, MaskOutline)
STANDIN_HANDLE_KIND(AEGP_FootageH, Footage)
STANDIN_HANDLE_KIND(AEGP_MemHandle, Memory)
STANDIN_HANDLE_KIND(AEGP_PersistentBlobH, Blob)
STANDIN_HANDLE_KIND(AEGP_Collection2H, Collection)
STANDIN_HANDLE_KIND(AEGP_AddKeyframesInfoH, KeyBatch)
STANDIN_HANDLE_KIND(AEGP_TextOutlinesH, TextOutlines)
STANDIN_HANDLE_KIND(PF_PathOutlinePtr, PathOutline)
STANDIN_HANDLE_KIND(PF_ProgPtr, Prog)
#undef STANDIN_HANDLE_KIND

template <class T, class = void> struct IsHandle : std::false_type {};
template <class T>
struct IsHandle<T, std::void_t<decltype(HandleKindOf<T>::value)>> : std::true_type {};

namespace handle_bits {
static_assert(sizeof(void*) == 8, "handles carry their tag in the upper address bits");
// The upper bits make the value a non-canonical address (never a real
// pointer) and, read as a double, a number near 1e125 (never a stream value).
constexpr uint64_t kTag = 0x5Aull << 56;
constexpr uint64_t kTagMask = 0xFFull << 56;
constexpr uint64_t kSerialMask = (1ull << 48) - 1;
} // namespace handle_bits

template <class H> H encodeHandle(uint64_t serial)
{
    const uint64_t kind = uint64_t(HandleKindOf<H>::value);
    return reinterpret_cast<H>(uintptr_t(handle_bits::kTag | (kind << 48) | (serial & handle_bits::kSerialMask)));
}

// The serial of a handle of kind H, or 0 when it is not one.
template <class H> uint64_t decodeHandle(H handle)
{
    const uint64_t bits = uint64_t(reinterpret_cast<uintptr_t>(handle));
    if ((bits & handle_bits::kTagMask) != handle_bits::kTag)
        return 0;
    if (HandleKind((bits >> 48) & 0xFF) != HandleKindOf<H>::value)
        return 0;
    return bits & handle_bits::kSerialMask;
}

const char* handleKindName(HandleKind kind);
// "Layer#12", "NULL", or "0x..." for something that is no handle.
std::string describeHandle(const void* handle);

// Live handles of one kind, each naming a value of type T.
template <class H, class T> class HandleTable
{
public:
    H add(T value)
    {
        const uint64_t serial = ++next_;
        live_.emplace(serial, std::move(value));
        return encodeHandle<H>(serial);
    }

    // The value, or nullptr when the handle is NULL, stale or of another kind.
    T* find(H handle)
    {
        auto it = live_.find(decodeHandle(handle));
        return it == live_.end() ? nullptr : &it->second;
    }

    // A_Err_PARAMETER for NULL, A_Err_STRUCT for stale or foreign handles.
    A_Err lookup(H handle, T*& out)
    {
        out = nullptr;
        if (!handle)
            return A_Err_PARAMETER;
        out = find(handle);
        return out ? A_Err_NONE : A_Err_STRUCT;
    }

    bool remove(H handle) { return live_.erase(decodeHandle(handle)) > 0; }
    void clear() { live_.clear(); }
    size_t size() const { return live_.size(); }
    std::map<uint64_t, T>& entries() { return live_; }
    const std::map<uint64_t, T>& entries() const { return live_; }

private:
    std::map<uint64_t, T> live_;
    uint64_t next_ = 0;
};

// One handle per object for the life of the process: the same object (by
// its unique id) always gives the same handle, so the plug-in may compare
// them. T is what a handle resolves to (a weak pointer to the object).
template <class H, class T> class CanonicalHandles
{
public:
    H handleFor(uint64_t uid, const T& value)
    {
        auto it = serials_.find(uid);
        if (it != serials_.end())
            return encodeHandle<H>(it->second);
        values_.push_back(value);
        const uint64_t serial = values_.size();
        serials_.emplace(uid, serial);
        return encodeHandle<H>(serial);
    }

    const T* find(H handle) const
    {
        const uint64_t serial = decodeHandle(handle);
        return serial >= 1 && serial <= values_.size() ? &values_[serial - 1] : nullptr;
    }

private:
    // Serials are handed out in order from 1 and never taken back: the value
    // of serial s is values_[s - 1].
    std::unordered_map<uint64_t, uint64_t> serials_;
    std::vector<T> values_;
};

} // namespace standin
