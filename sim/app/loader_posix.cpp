#include "loader.h"

#include <dlfcn.h>

#include "PluginHooks.h"

namespace sim {
namespace {

std::string LastError()
{
    const char* text = dlerror();
    return text != nullptr ? text : "unknown error";
}

}  // namespace

bool PluginLibrary::Load(const std::filesystem::path& path, std::string& error)
{
    Unload();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        error = LastError();
        return false;
    }
    auto load = reinterpret_cast<PluginLoadHook>(dlsym(handle, PLUGIN_LOAD_HOOK));
    if (load == nullptr) {
        error = path.string() + " has no " PLUGIN_LOAD_HOOK " hook";
        dlclose(handle);
        return false;
    }
    if (!load()) {
        error = "the plugin did not start (its log says why)";
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    return true;
}

void PluginLibrary::Unload()
{
    if (handle_ == nullptr)
        return;
    if (auto unload = reinterpret_cast<PluginUnloadHook>(dlsym(handle_, PLUGIN_UNLOAD_HOOK)))
        unload();
    dlclose(handle_);
    handle_ = nullptr;
}

}  // namespace sim
