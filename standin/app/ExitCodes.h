// The host program's exit codes; --help lists them with the same meanings.
#pragma once

namespace standin {

enum ExitCode {
    kExitOk = 0,
    kExitUsage = 2,              // bad command line
    kExitProject = 3,            // the project cannot be loaded or has no such composition
    kExitPlugin = 4,             // the plug-in module cannot be loaded
    kExitCommandUnavailable = 5, // entry point failed, no "Zolvar 2..." item, item disabled, not handled
    kExitCommandFailed = 6,      // the command returned an error (the project is still written)
    kExitSave = 7,               // the project cannot be written
    kExitExport = 8,             // --export could not start, ended unfinished, or the window did not close in time
};

} // namespace standin
