#include "support/server_dir.h"

#include <fstream>
#include <random>

#include "framework/host.h"

namespace kestrova::test {

std::filesystem::path MakeTempDir(std::string_view prefix)
{
    std::random_device random;
    for (int attempt = 0;; ++attempt) {
        const auto dir = std::filesystem::temp_directory_path() / (std::string(prefix) + "-" + std::to_string(random()));
        if (std::filesystem::create_directories(dir))
            return dir;
        if (attempt > 100)
            throw std::runtime_error("cannot make a temporary directory");
    }
}

TempServerDir::TempServerDir(std::optional<std::string_view> config) : root_(MakeTempDir("kestrova-server"))
{
    std::filesystem::create_directories(ConfigPath().parent_path());
    if (config)
        WriteConfig(*config);
    sim::SetCurrentDir(root_.string());
}

TempServerDir::~TempServerDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempServerDir::ConfigPath() const
{
    return root_ / "ArkApi" / "Plugins" / "Kestrova" / "config.json";
}

void TempServerDir::WriteConfig(std::string_view text)
{
    std::ofstream file(ConfigPath(), std::ios::binary | std::ios::trunc);
    file << text;
}

void TempServerDir::RemoveConfig() { std::filesystem::remove(ConfigPath()); }

}  // namespace kestrova::test
