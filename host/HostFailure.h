// What happens to a failure that would otherwise cross into the host or into
// Qt's event loop: the suite handler throws int 516 for a missing suite, and
// neither a C caller nor Qt may be unwound by an exception.
#pragma once

#include "host_api.h"

#include <QString>

// The host error code of the exception being handled: the int that was thrown
// (516 for a missing suite), A_Err_ALLOC for a failed allocation, A_Err_GENERIC
// for anything else. Call only inside a catch block.
A_Err ErrorFromCurrentException();

// The text that tells the user about a failed host call.
QString HostFailureText(A_Err err);

// Tells the user in a message box titled "Zolvar" that a host call failed.
// While one such box is open, further reports are dropped, so a failure that
// repeats on every frame shows a single box. Does nothing without a
// QApplication.
void ReportHostFailure(A_Err err);

// The same for a text of the caller's: what the host refused and what that
// left done and undone.
void ReportHostProblem(const QString& text);

// Runs f and reports (ReportHostFailure) and swallows whatever it throws.
// Returns 0, or the error code of the failure. For slots and timer bodies that
// call the host.
template <class F>
A_Err GuardHostCall(F&& f)
{
    try {
        f();
        return A_Err_NONE;
    } catch (...) {
        const A_Err err = ErrorFromCurrentException();
        ReportHostFailure(err);
        return err;
    }
}
