// Host memory handles that carry UTF-16 text (names and paths).
#pragma once

#include "host/AEGP_SuiteHandler.h"

#include <QString>

// Locks `handle`, copies its UTF-16 text up to the terminating zero (or the
// end of the handle, when it holds none) into
// `text`, unlocks it and frees it. A null handle leaves `text` alone. The
// handle is freed whatever else fails; the first error is returned.
A_Err TakeUtf16String(const AEGP_SuiteHandler& suites, AEGP_MemHandle handle, QString& text);
