#include "host/HostMemory.h"

A_Err TakeUtf16String(const AEGP_SuiteHandler& suites, AEGP_MemHandle handle, QString& text)
{
    if (!handle)
        return A_Err_NONE;
    const AEGP_MemorySuite1* memory = suites.MemorySuite1();
    // The text ends at its terminating zero or at the end of the handle,
    // whichever comes first: a text without its zero is never over-read.
    AEGP_MemSize size = 0;
    A_Err err = memory->AEGP_GetMemHandleSize(handle, &size);
    void* data = nullptr;
    if (!err)
        err = memory->AEGP_LockMemHandle(handle, &data);
    if (!err) {
        const auto* units = static_cast<const char16_t*>(data);
        const qsizetype capacity = units ? qsizetype(size / sizeof(char16_t)) : 0;
        qsizetype length = 0;
        while (length < capacity && units[length] != 0)
            ++length;
        text = length ? QString::fromUtf16(units, length) : QString();
        err = memory->AEGP_UnlockMemHandle(handle);
    }
    const A_Err freeErr = memory->AEGP_FreeMemHandle(handle);
    return err ? err : freeErr;
}
