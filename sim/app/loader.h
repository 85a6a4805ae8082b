// Loading a plugin library the way the host does on each platform: on Windows the
// library's DllMain starts and stops the plugin; elsewhere the host calls the
// hooks of PluginHooks.h.
#pragma once

#include <filesystem>
#include <string>

namespace sim {

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary() { Unload(); }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Loads and starts the plugin. False, with `error` saying why, when the
    // library cannot be loaded or the plugin did not start; the library is then
    // not kept.
    bool Load(const std::filesystem::path& path, std::string& error);

    // Stops the plugin and unloads the library; nothing when none is loaded.
    void Unload();

    bool Loaded() const { return handle_ != nullptr; }

private:
    void* handle_ = nullptr;
};

}  // namespace sim
