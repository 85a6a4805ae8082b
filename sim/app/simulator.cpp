#include "simulator.h"

#include <cstdio>
#include <iostream>

#include "console.h"
#include "game/game.h"
#include "framework/journal.h"
#include "framework/tripwire.h"
#include "hard_kill.h"
#include "kill_point.h"
#include "loader.h"
#include "log_sinks.h"
#include "options.h"
#include "paths.h"
#include "rcon/game_thread.h"
#include "rcon_service.h"
#include "session_input.h"
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

// Everything on standard output after the banner is written on the game thread, so
// console output, RCON traffic and the prompt never cut into each other.
class Screen {
public:
    Screen(Console& console, bool interactive, bool colour)
        : console_(console), interactive_(interactive), colour_(colour)
    {
    }

    void Prompt()
    {
        if (!interactive_ || stopping_ || console_.QuitRequested())
            return;
        const PlayerController* current = console_.Current();
        std::cout << (current ? ToUtf8(current->name) : std::string("server")) << "> " << std::flush;
    }

    // A line that arrives while the prompt waits: it takes the prompt's place, and
    // the prompt follows it.
    void Show(const std::string& line)
    {
        if (interactive_)
            std::cout << (colour_ ? "\r\x1b[K" : "\r");
        std::cout << line << "\n";
        Prompt();
        std::cout << std::flush;
    }

    // The session is ending: no prompt follows this line or any shown after it.
    void ShowLast(const std::string& line)
    {
        stopping_ = true;
        Show(line);
    }

    void Run(const std::string& line)
    {
        console_.Execute(line);
        Prompt();
        std::cout << std::flush;
    }

private:
    Console& console_;
    bool interactive_;
    bool colour_;
    bool stopping_ = false;  // no prompt once the session is ending
};

void PrintBanner(const Game& game, const Options& options, const Console& console, const std::string& rcon)
{
    std::cout << "kestrova-sim: a stand-in game server\n"
              << "  world:  " << game.Source() << " (" << game.Players().size() << " players)\n"
              << "  server: " << ServerDirText(options.serverDir) << "\n"
              << "  plugin: " << options.plugin.string() << "\n"
              << "  rcon:   " << rcon << "\n"
              << "Acting as " << Console::Describe(console.Current()) << ". Type /help for help.\n"
              << std::flush;
}

// Starts RCON as the options say; returns the banner's description of it. A port in
// use or the like leaves the console alone running, and says why on stderr.
std::string StartRcon(RconService& rcon, const RconOptions& options)
{
    if (!options.enabled)
        return "off (--no-rcon)";
    std::string error;
    if (!rcon.Start(options, error)) {
        std::cerr << "kestrova-sim: " << error << "\n";
        return "off";
    }
    return "listening on " + options.bindAddress + ":" + std::to_string(rcon.Port()) + ", password \"" +
           rcon.Password() + "\"";
}

// Runs console lines on the game thread until /quit, the end of input (with --serve:
// a stop signal after it) or a stop signal.
void RunSession(SessionInput& input, rcon::GameThread& gameThread, Screen& screen, Console& console, bool serving)
{
    gameThread.Post([&] { screen.Prompt(); });
    for (;;) {
        SessionEvent event = input.Next();
        if (event.kind == SessionEvent::Kind::Line) {
            gameThread.Call([&] { screen.Run(event.line); });
            if (console.QuitRequested())
                return;
        } else if (event.kind == SessionEvent::Kind::EndOfInput) {
            if (!serving)
                return;
            gameThread.Call([&] {
                screen.Show(std::string("End of input; serving RCON until ") + SessionInput::StopRequests() + ".");
            });
        } else {
            gameThread.Call([&] { screen.ShowLast("Stopping (" + event.why + ")."); });
            return;
        }
    }
}

void KillAt(const TripPoint& point)
{
    std::fprintf(stderr, "kestrova-sim: killed as the plugin reached %s\n", point.name.c_str());
    std::fflush(stderr);  // a C runtime may buffer stderr into a pipe, and the kill loses the buffer
    KillThisProcess();
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
        for (const std::string& name : options.withoutMembers)
            WithholdNamedMember(name, "--without-member");
    } catch (const WorldError& e) {
        std::cerr << "kestrova-sim: " << e.what() << "\n";
        return 1;
    }

    SetCurrentDir(ServerDirText(options.serverDir));
    GetJournal().SetCapacity(options.journalEntries);
    SetUpLogSinks();
    const bool interactive = IsTerminal(stdin);
    const bool colour = IsColourTerminal(stdout);
    Console console(*game, std::cout, colour);

    if (options.killAt)
        ArmTripwire(*options.killAt, &KillAt);
    PluginLibrary plugin;
    std::string error;
    if (!plugin.Load(options.plugin, error)) {
        std::cerr << "kestrova-sim: the plugin " << options.plugin.string() << " did not load: " << error << "\n";
        return 1;
    }
    // Known only now that the plugin has registered its commands.
    if (options.killAt) {
        if (const std::string problem = KillPointProblem(*options.killAt); !problem.empty()) {
            std::cerr << "kestrova-sim: " << problem << "\n";
            plugin.Unload();
            return 2;
        }
    }

    // Stop signals are ours from before the banner, so that whoever waits for it can stop us.
    SessionInput input;
    // From here on the game, the console and the plugin are used on the game thread only.
    Screen screen(console, interactive, colour);
    rcon::GameThread gameThread;
    RconService rcon(*game, gameThread, [&screen](const std::string& line) { screen.Show(line); });
    const std::string rconState = StartRcon(rcon, options.rcon);
    PrintBanner(*game, options, console, rconState);

    int status = 0;
    if (options.serve && !rcon.Running()) {
        std::cerr << "kestrova-sim: --serve needs RCON, and it is off\n";
        status = 1;
    } else {
        RunSession(input, gameThread, screen, console, options.serve);
    }

    rcon.Stop();
    gameThread.Stop();
    if (interactive && !console.QuitRequested())
        std::cout << "\n";
    plugin.Unload();
    std::cout << std::flush;
    return status;
}

}  // namespace sim
