// World files of any content: either a game is built from them, or the only
// error is a WorldError that names what is wrong.
#include <cstdint>
#include <string_view>

#include "fuzz/invariants.h"
#include "game/game.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        sim::Game game(sim::ParseWorld(text, "fuzz.json"), "fuzz.json");
    } catch (const sim::WorldError& e) {
        kestrova::fuzz::Require(e.what()[0] != '\0', "a world error that says nothing");
    } catch (...) {
        kestrova::fuzz::Breach("a world file failed with something other than a WorldError");
    }
    return 0;
}
