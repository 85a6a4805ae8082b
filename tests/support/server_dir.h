// A server folder of its own for a test, with or without the plugin's
// config.json, made the host's current directory while it lives.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::test {

class TempServerDir {
public:
    // With `config` the plugin's config.json holds that text; without, there is none.
    explicit TempServerDir(std::optional<std::string_view> config = "{}");
    ~TempServerDir();
    TempServerDir(const TempServerDir&) = delete;
    TempServerDir& operator=(const TempServerDir&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path ConfigPath() const;  // ROOT/ArkApi/Plugins/Kestrova/config.json

    void WriteConfig(std::string_view text);
    void RemoveConfig();

private:
    std::filesystem::path root_;
};

// A fresh, empty directory under the system's temporary directory.
std::filesystem::path MakeTempDir(std::string_view prefix);

}  // namespace kestrova::test
