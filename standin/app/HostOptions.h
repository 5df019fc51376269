// The host program's command line.
#pragma once

#include <string>
#include <vector>

namespace standin {

struct HostOptions
{
    std::string project;
    std::string comp;        // empty: the project's active composition, else the first
    std::string output;      // empty: write back to the project file
    bool exportRange = false;
    int exportStart = 0;
    int exportEnd = 0;
    int hostMajor = 18;
    int hostMinor = 0;
    std::string pluginsDir;  // empty: the build's Plug-ins folder
    bool help = false;
};

// Parses the arguments after the program name. Returns false with a one-line
// reason in error when they make no sense; --help stops parsing.
bool parseHostOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error);

// The --help text, exit codes included.
std::string hostUsage();

// Largest frame number the export range accepts (the frame boxes' own limit).
constexpr int kMaxExportFrame = 16777215;

} // namespace standin
