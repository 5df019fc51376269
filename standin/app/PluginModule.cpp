#include "PluginModule.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace standin {

namespace {

bool isDirectory(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::string PluginModule::modulePath(const std::string& pluginsDir, const std::string& name)
{
    return pluginsDir + "/" + name + ".plugin/Contents/Linux/" + name + ".so";
}

bool PluginModule::load(const std::string& pluginsDir, const std::string& name)
{
    error_.clear();
    path_ = modulePath(pluginsDir, name);
    if (handle_) {
        error_ = "a plug-in module is already loaded";
        return false;
    }
    if (!isDirectory(pluginsDir)) {
        error_ = pluginsDir + ": no such Plug-ins folder";
        return false;
    }
    if (!isRegularFile(path_)) {
        error_ = path_ + ": the plug-in module is missing";
        return false;
    }
    // RTLD_LOCAL: the plug-in's own symbols stay its own; only the entry point
    // is reached, through dlsym.
    void* handle = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error_ = path_ + ": cannot load the plug-in module: " + (reason ? reason : "unknown error");
        return false;
    }
    dlerror();
    void* symbol = dlsym(handle, "EntryPointFunc");
    if (!symbol) {
        error_ = path_ + ": the plug-in module has no EntryPointFunc";
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    entryPoint_ = reinterpret_cast<AEGP_EntryPointFunc>(symbol);
    return true;
}

} // namespace standin
