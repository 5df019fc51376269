// Memory handles the host hands out (project path, item and layer names):
// UTF-16 text with its terminator. A handle may be freed while locked (the
// plug-in never unlocks); a second free, or a handle that is not one of
// these, is refused.
#pragma once

#include "Handles.h"

#include <string>
#include <vector>

namespace standin {

class MemoryHandles
{
public:
    AEGP_MemHandle create(const std::u16string& text);
    // A hostile handle for tests: the text without its terminator.
    AEGP_MemHandle createUnterminated(const std::u16string& text);

    // A stable pointer to the data (the same on every lock).
    A_Err lock(AEGP_MemHandle handle, void** data);
    // A_Err_GENERIC when the handle is not locked.
    A_Err unlock(AEGP_MemHandle handle);
    A_Err free(AEGP_MemHandle handle);
    // Bytes, terminator included.
    A_Err size(AEGP_MemHandle handle, AEGP_MemSize* bytes);

    size_t live() const { return table_.size(); }
    void clear() { table_.clear(); }

private:
    struct Block {
        std::vector<char16_t> data;
        int locks = 0;
    };
    Block* find(AEGP_MemHandle handle) { return table_.find(handle); }
    HandleTable<AEGP_MemHandle, Block> table_;
};

} // namespace standin
