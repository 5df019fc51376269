#include "host/HostMemory.h"

A_Err TakeUtf16String(const AEGP_SuiteHandler& suites, AEGP_MemHandle handle, QString& text)
{
    if (!handle)
        return A_Err_NONE;
    const AEGP_MemorySuite1* memory = suites.MemorySuite1();
    void* data = nullptr;
    A_Err err = memory->AEGP_LockMemHandle(handle, &data);
    if (!err) {
        if (data)
            text = QString::fromUtf16(static_cast<const char16_t*>(data));
        err = memory->AEGP_UnlockMemHandle(handle);
    }
    const A_Err freeErr = memory->AEGP_FreeMemHandle(handle);
    return err ? err : freeErr;
}
