// Drives the plug-in's own window through an export, the way a user at the
// screen would: sets the frame range, checks Export, answers message boxes
// and waits for the window to close. The plug-in creates the application
// inside its command, so the driver is started from a Qt pre-routine, which
// runs when that application is constructed. Widgets are found by object name.
#pragma once

#include <string>
#include <vector>

namespace standin {

struct ExportRequest
{
    int start = 0;
    int end = 0;
    // The watchdog: the run is given up once nothing has moved for this
    // long (the progress bar, the driver's steps, the dialogs answered). An
    // export that keeps moving is never cut off, however long it takes. It
    // runs on a thread of its own: a plug-in held in a step that never
    // returns is not waited for, the process ends with kExitExport.
    int stallMilliseconds = 600 * 1000;
    int pollMilliseconds = 10; // looking for the window and its dialogs
};

enum class ExportOutcome {
    NoApplication,   // the plug-in created no application (no window either)
    NoWindow,        // the application ran, but the main window never showed
    ControlsMissing, // the window has no export controls; it was closed
    ClosedEarly,     // the window closed before the export could be started
    NotStarted,      // the controls refused the range or the button
    Exported,        // Export was checked, and the window closed on a finished export
    Failed,          // the plug-in ended the export unfinished (Export released, its
                     // progress note cleared), whether or not the window then closed
    TimedOut,        // nothing moved for the stall time: the watchdog quit the application
};

struct ExportReport
{
    ExportOutcome outcome = ExportOutcome::NoApplication;
    std::string detail;                 // why, for the warnings and failures
    std::vector<std::string> messages;  // message boxes and dialogs answered
};

// Arms the driver for the next application the process constructs; the
// watchdog starts at once.
void armExportAutomation(const ExportRequest& request);

// Ends the watchdog once the plug-in's command has returned.
void disarmExportAutomation();

// What happened; valid once the command has returned.
const ExportReport& exportReport();

// True for outcomes that make --export fail rather than warn.
bool exportFailed(ExportOutcome outcome);

// Reads ZOLVAR_HOST_TIMEOUT, the stall time in whole seconds (> 0);
// otherwise the default.
int exportTimeoutFromEnvironment(int fallbackSeconds, std::string* warning);

// A stall time as the watchdog names it: "600 s", "0.25 s".
std::string stallTimeText(int milliseconds);

} // namespace standin
