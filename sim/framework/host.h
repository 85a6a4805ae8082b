// The stand-in host framework as the simulator and the tests drive it: the
// command registry and its dispatch, player lookup, the messenger, log sinks and
// the current directory. The plugin sees only the sdk/ side of it.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <spdlog/sinks/base_sink.h>

#include "AsaApi.h"

namespace sim {

// Game text outside a game string.
using WideString = std::basic_string<WIDECHAR>;
using WideView = std::basic_string_view<WIDECHAR>;

// Registrations in the order they were made.
struct Registration {
    std::string name;
    bool rcon = false;
};

class SDK_API CommandRegistry final : public ICommands {
public:
    void RegisterConsoleCommand(const FString& name, const ConsoleCommandCallback& callback) override;
    void RegisterRconCommand(const FString& name, const RconCommandCallback& callback) override;
    bool UnregisterConsoleCommand(const FString& name) override;
    bool UnregisterRconCommand(const FString& name) override;

    // Calls the console registration whose name is the line's first word (compared
    // ignoring ASCII case). False when none matches.
    bool DispatchConsole(APlayerController* player, FString& line, bool consoleFlag = true);
    bool DispatchRcon(RCONClientConnection* connection, RCONPacket& packet, UWorld* world);

    std::vector<Registration> Registrations() const;
    // Every removal asked for, found or not, in order.
    const std::vector<Registration>& Removals() const { return removals_; }
    void Clear();

    // Exceptions that a callback let out into the host. The plugin must keep this 0.
    int EscapedExceptions() const { return escaped_; }
    const std::string& LastEscapedWhat() const { return lastEscaped_; }

private:
    template <typename Callback>
    struct Entry {
        std::string name;
        Callback callback;
    };

    // How the journal names a dispatch: the kind of command, the storage the
    // plugin may rewrite, who issued it and an RCON request's id.
    struct Journaled {
        std::string_view what;
        std::string_view line;
        const void* issuer = nullptr;
        const int32* requestId = nullptr;
    };

    template <typename Entries, typename... Args>
    bool Dispatch(Entries& entries, const Journaled& journaled, FString& line, Args... args);
    void Escaped(const char* what);

    std::vector<Entry<ConsoleCommandCallback>> console_;
    std::vector<Entry<RconCommandCallback>> rcon_;
    std::vector<Registration> order_;
    std::vector<Registration> removals_;
    int escaped_ = 0;
    std::string lastEscaped_;
};

struct PlayerMessage {
    std::string pluginPath;
    AShooterPlayerController* player = nullptr;
    float r = 0, g = 0, b = 0, a = 0;
    WideString text;
};

class SDK_API ApiUtils final : public IApiUtils {
public:
    AActor* GetServerActor() const override;
    AShooterPlayerController* FindPlayerById(const FString& id) const override;
    std::shared_ptr<PluginMessenger> GetPluginMessenger(const FString& pluginPath) const override;

    // Set by the simulated game.
    AActor* serverActor = nullptr;
    std::function<AShooterPlayerController*(WideView id)> findPlayer;

    // Every message sent through a messenger, and a listener that shows it.
    std::vector<PlayerMessage> messages;
    std::function<void(const PlayerMessage&)> onMessage;
};

SDK_API CommandRegistry& GetRegistry();
SDK_API ApiUtils& GetUtils();
SDK_API void SetCurrentDir(std::string dir);
// The server's directory as set, for the stand-in's own use: the journal does not hear of it.
SDK_API std::string ServerDir();

// A sink that keeps every formatted line, for tests and for the console's /log.
class SDK_API CapturingSink final : public spdlog::sinks::base_sink<std::mutex> {
public:
    std::vector<std::string> Lines();
    void Clear();

protected:
    void sink_it_(const spdlog::details::log_msg& msg) override;
    void flush_() override {}

private:
    std::vector<std::string> lines_;
};

// UTF-16 to UTF-8 and back, for showing and reading game text.
SDK_API std::string ToUtf8(WideView text);
SDK_API WideString FromUtf8(std::string_view text);

}  // namespace sim
