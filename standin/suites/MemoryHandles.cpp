#include "MemoryHandles.h"

namespace standin {

AEGP_MemHandle MemoryHandles::create(const std::u16string& text)
{
    Block block;
    block.data.assign(text.begin(), text.end());
    block.data.push_back(u'\0');
    return table_.add(std::move(block));
}

AEGP_MemHandle MemoryHandles::createUnterminated(const std::u16string& text)
{
    Block block;
    block.data.assign(text.begin(), text.end());
    return table_.add(std::move(block));
}

A_Err MemoryHandles::lock(AEGP_MemHandle handle, void** data)
{
    Block* block = find(handle);
    if (!block || !data)
        return A_Err_PARAMETER;
    ++block->locks;
    *data = block->data.data();
    return A_Err_NONE;
}

A_Err MemoryHandles::unlock(AEGP_MemHandle handle)
{
    Block* block = find(handle);
    if (!block)
        return A_Err_PARAMETER;
    if (block->locks == 0)
        return A_Err_GENERIC;
    --block->locks;
    return A_Err_NONE;
}

A_Err MemoryHandles::free(AEGP_MemHandle handle)
{
    return table_.remove(handle) ? A_Err_NONE : A_Err_PARAMETER;
}

A_Err MemoryHandles::size(AEGP_MemHandle handle, AEGP_MemSize* bytes)
{
    Block* block = find(handle);
    if (!block || !bytes)
        return A_Err_PARAMETER;
    *bytes = AEGP_MemSize(block->data.size() * sizeof(char16_t));
    return A_Err_NONE;
}

} // namespace standin
