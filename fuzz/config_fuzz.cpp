// config.json of any content: loaded by both reloads, then read by a spawn that
// reaches every key.
#include <cstdint>
#include <fstream>
#include <string_view>

#include "fuzz/invariants.h"
#include "fuzz/plugin_session.h"

namespace {

constexpr std::string_view kCryopodSpawn =
    "KV.SpawnDino Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' \"\" 0 10 0 0 0 0 0";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static kestrova::fuzz::PluginSession session("config");
    session.Begin();
    std::ofstream(session.ConfigPath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    session.Console("1001", "Kestrova.Reload");
    session.Console("1001", kCryopodSpawn);
    kestrova::fuzz::Require(session.Rcon("Kestrova.Reload", 3).size() == 1, "a reload answers exactly once");
    session.Console("1002", kCryopodSpawn);
    session.End();

    // The next input starts from a configuration that loads.
    std::ofstream(session.ConfigPath(), std::ios::binary | std::ios::trunc) << "{}";
    return 0;
}
