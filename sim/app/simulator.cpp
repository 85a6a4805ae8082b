#include "simulator.h"

#include <cstdio>
#include <iostream>

#include "console.h"
#include "game/game.h"
#include "loader.h"
#include "log_sinks.h"
#include "options.h"
#include "paths.h"
#include "terminal.h"

namespace sim {
namespace {

// The server's directory as the host reports it: absolute, no trailing separator.
std::string ServerDirText(const std::filesystem::path& dir)
{
    std::filesystem::path full = std::filesystem::absolute(dir).lexically_normal();
    if (!full.has_filename() && full.has_parent_path() && full != full.root_path())
        full = full.parent_path();
    return full.string();
}

nlohmann::json LoadWorld(const Options& options)
{
    return options.world ? ReadWorldFile(*options.world) : DefaultWorld();
}

void PrintBanner(const Game& game, const Options& options, const Console& console)
{
    std::cout << "kestrova-sim: a stand-in game server\n"
              << "  world:  " << game.Source() << " (" << game.Players().size() << " players)\n"
              << "  server: " << AsaApi::Tools::GetCurrentDir() << "\n"
              << "  plugin: " << options.plugin.string() << "\n"
              << "Acting as " << Console::Describe(console.Current()) << ". Type /help for help.\n";
}

void ReadLines(Console& console, bool interactive)
{
    std::string line;
    while (!console.QuitRequested()) {
        if (interactive) {
            const PlayerController* current = console.Current();
            std::cout << (current ? ToUtf8(current->name) : std::string("server")) << "> " << std::flush;
        }
        if (!std::getline(std::cin, line))
            break;
        console.Execute(line);
        std::cout << std::flush;
    }
    if (interactive && !console.QuitRequested())
        std::cout << "\n";
}

}  // namespace

int RunSimulator(const std::vector<std::string>& args, const std::filesystem::path& defaultServerDir)
{
    Options options;
    try {
        options = ParseOptions(args, defaultServerDir, ExecutableDir() / PluginFileName());
    } catch (const UsageError& e) {
        std::cerr << "kestrova-sim: " << e.what() << "\n" << Usage();
        return 2;
    }
    if (options.help) {
        std::cout << Usage();
        return 0;
    }

    std::unique_ptr<Game> game;
    try {
        const std::string source = options.world ? options.world->string() : kBuiltInWorld;
        game = std::make_unique<Game>(LoadWorld(options), source);
    } catch (const WorldError& e) {
        std::cerr << "kestrova-sim: " << e.what() << "\n";
        return 1;
    }

    SetCurrentDir(ServerDirText(options.serverDir));
    SetUpLogSinks();
    Console console(*game, std::cout, IsColourTerminal(stdout));

    PluginLibrary plugin;
    std::string error;
    if (!plugin.Load(options.plugin, error)) {
        std::cerr << "kestrova-sim: the plugin " << options.plugin.string() << " did not load: " << error << "\n";
        return 1;
    }
    PrintBanner(*game, options, console);
    ReadLines(console, IsTerminal(stdin));
    plugin.Unload();
    return 0;
}

}  // namespace sim
