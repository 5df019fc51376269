// Finds the plug-in's bundle in a Plug-ins folder, opens its module and looks
// up the entry point. The module stays loaded for the life of the process, as
// a compositing host keeps its plug-ins.
#pragma once

#include "host_api.h"

#include <string>

namespace standin {

class PluginModule
{
public:
    // The module of bundle NAME inside DIR: DIR/NAME.plugin/Contents/Linux/NAME.so.
    static std::string modulePath(const std::string& pluginsDir, const std::string& name);

    // Opens the module and resolves EntryPointFunc. On failure returns false and
    // leaves a one-line reason (with the path) in error().
    bool load(const std::string& pluginsDir, const std::string& name = "Zolvar");

    AEGP_EntryPointFunc entryPoint() const { return entryPoint_; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    void* handle_ = nullptr;
    AEGP_EntryPointFunc entryPoint_ = nullptr;
    std::string path_;
    std::string error_;
};

} // namespace standin
