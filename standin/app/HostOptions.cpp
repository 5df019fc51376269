#include "HostOptions.h"

#include <cerrno>
#include <cstdlib>

namespace standin {

namespace {

// A whole non-negative decimal number, nothing else.
bool parseCount(const std::string& text, long max, long& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value <= max;
}

bool parseExportRange(const std::string& text, HostOptions& options, std::string& error)
{
    const auto dash = text.find('-');
    long start = 0;
    long end = 0;
    if (dash == std::string::npos || !parseCount(text.substr(0, dash), kMaxExportFrame, start)
        || !parseCount(text.substr(dash + 1), kMaxExportFrame, end)) {
        error = "--export takes START-END, two frame numbers from 0 to "
                + std::to_string(kMaxExportFrame) + ", not \"" + text + "\"";
        return false;
    }
    if (start > end) {
        error = "--export: the start frame " + std::to_string(start) + " is after the end frame "
                + std::to_string(end);
        return false;
    }
    options.exportRange = true;
    options.exportStart = static_cast<int>(start);
    options.exportEnd = static_cast<int>(end);
    return true;
}

bool parseHostVersion(const std::string& text, HostOptions& options, std::string& error)
{
    const auto dot = text.find('.');
    long major = 0;
    long minor = 0;
    const bool ok = dot == std::string::npos
        ? parseCount(text, 9999, major)
        : parseCount(text.substr(0, dot), 9999, major) && parseCount(text.substr(dot + 1), 9999, minor);
    if (!ok) {
        error = "--host-version takes MAJOR.MINOR, for example 18.0, not \"" + text + "\"";
        return false;
    }
    options.hostMajor = static_cast<int>(major);
    options.hostMinor = static_cast<int>(minor);
    return true;
}

} // namespace

bool parseHostOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error)
{
    options = HostOptions();
    bool haveProject = false;
    bool optionsEnded = false; // after "--" every argument is a file name
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (haveProject) {
                error = "only one project file, please (\"" + options.project + "\" and \"" + arg + "\")";
                return false;
            }
            options.project = arg;
            haveProject = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return true;
        }

        // --name VALUE or --name=VALUE
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        const auto eq = arg.find('=');
        if (eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (name != "--comp" && name != "--output" && name != "--export" && name != "--host-version"
            && name != "--plugins") {
            error = "unknown option \"" + name + "\"";
            return false;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (value.empty()) {
            error = name + " needs a value";
            return false;
        }
        if (name == "--comp")
            options.comp = value;
        else if (name == "--output")
            options.output = value;
        else if (name == "--plugins")
            options.pluginsDir = value;
        else if (name == "--export" && !parseExportRange(value, options, error))
            return false;
        else if (name == "--host-version" && !parseHostVersion(value, options, error))
            return false;
    }
    if (!haveProject) {
        error = "no project file given";
        return false;
    }
    return true;
}

std::string hostUsage()
{
    return R"(Usage: zolvar-host PROJECT [options]

Loads a project file, loads the Zolvar plug-in, runs its "Zolvar 2..." command
on one composition and writes the project with what the plug-in changed.

Options:
  --comp NAME            run on the composition NAME (default: the project's
                         active composition, else the first)
  --output FILE          write the result to FILE (always written); without it
                         the result goes back to PROJECT, atomically, keeping
                         the previous file as PROJECT.bak, and only when the
                         run changed something
  --export START-END     drive the plug-in's window: set the export range
                         (an end past what the window takes is cut there),
                         press Export and wait until the window closes;
                         message boxes are answered with OK, other dialogs
                         are declined. While the window has no export
                         controls yet, it is closed and a warning printed
                         (exit code 0). The run is stopped once it has
                         made no progress for ZOLVAR_HOST_TIMEOUT seconds
                         (default 600); a slow export that keeps moving
                         runs to its end.
  --host-version MAJOR.MINOR
                         the host version the plug-in is told (default 18.0)
  --plugins DIR          the Plug-ins folder holding Zolvar.plugin (default:
                         the build's Plug-ins folder)
  -h, --help             this text

Environment:
  STANDIN_PREFS          the persistent-data file (default
                         $XDG_CONFIG_HOME/standin-host/prefs.ini); a FIFO,
                         folder or device there is neither read nor written
  ZOLVAR_HOST_TIMEOUT    seconds without progress before --export gives up
                         (default 600)

Exit codes:
  0  done (warnings, failed suite calls and leaks are printed, not fatal)
  2  bad command line
  3  the project cannot be loaded, or has no such composition
  4  the plug-in module cannot be loaded
  5  the plug-in's entry point failed, or its "Zolvar 2..." command is
     missing, disabled or was not handled
  6  the command returned an error (the project is still written)
  7  the project cannot be written
  8  --export failed: the plug-in opened no window, the export could not
     be started, the plug-in ended it unfinished (a layer not written, a
     cancel), also when the window then closed, or the window did not close
     in time (nothing is written)
)";
}

} // namespace standin
