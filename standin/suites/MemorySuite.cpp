// "AEGP Memory Suite" 1: the memory handles the other suites hand out.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_FreeMemHandle, (AEGP_MemHandle memH))
{
    return ctx().memory.free(memH);
}

STANDIN_CALL(AEGP_LockMemHandle, (AEGP_MemHandle memH, void** ptr_to_ptr))
{
    if (ptr_to_ptr)
        *ptr_to_ptr = nullptr;
    return ctx().memory.lock(memH, ptr_to_ptr);
}

STANDIN_CALL(AEGP_UnlockMemHandle, (AEGP_MemHandle memH))
{
    return ctx().memory.unlock(memH);
}

STANDIN_CALL(AEGP_GetMemHandleSize, (AEGP_MemHandle memH, AEGP_MemSize* sizeP))
{
    return ctx().memory.size(memH, sizeP);
}

} // namespace

const AEGP_MemorySuite1* MemorySuite1Table()
{
    static const AEGP_MemorySuite1 table = [] {
        auto t = makeSuiteTable<MemorySuite1Tag>();
        STANDIN_SLOT(MemorySuite1Tag, t, AEGP_FreeMemHandle);
        STANDIN_SLOT(MemorySuite1Tag, t, AEGP_LockMemHandle);
        STANDIN_SLOT(MemorySuite1Tag, t, AEGP_UnlockMemHandle);
        STANDIN_SLOT(MemorySuite1Tag, t, AEGP_GetMemHandleSize);
        return t;
    }();
    return &table;
}

} // namespace standin
