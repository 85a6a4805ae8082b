#include "loader.h"

#include <windows.h>

namespace sim {
namespace {

std::string Narrow(const wchar_t* text, int count)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, count, out.data(), size, nullptr, nullptr);
    return out;
}

std::string LastError()
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 ? Narrow(text, static_cast<int>(length)) : "error " + std::to_string(code);
    if (text != nullptr)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

}  // namespace

// DllMain runs the plugin's load; a load that fails makes LoadLibrary fail.
bool PluginLibrary::Load(const std::filesystem::path& path, std::string& error)
{
    Unload();
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        error = LastError() + " (a plugin that did not start fails to load; its log says why)";
        return false;
    }
    handle_ = module;
    return true;
}

void PluginLibrary::Unload()
{
    if (handle_ == nullptr)
        return;
    FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

}  // namespace sim
