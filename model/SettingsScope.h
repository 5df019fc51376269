// Whether the platform settings store is opened system-wide. It never is:
// window geometry and dialog state are always stored per user.
#pragma once

inline bool hasAdminRights()
{
    return false;
}
