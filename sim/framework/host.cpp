#include "host.h"

#include <algorithm>
#include <cstdio>

#include "journal.h"
#include "tripwire.h"

namespace sim {
namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

std::string FirstWord(const FString& line)
{
    const WideView text = line.View();
    const std::size_t begin = text.find_first_not_of(WTEXT(' '));
    if (begin == text.npos)
        return {};
    const std::size_t end = text.find(WTEXT(' '), begin);
    return ToUtf8(text.substr(begin, end == text.npos ? text.npos : end - begin));
}

template <typename Entries>
bool RemoveNamed(Entries& entries, std::vector<Registration>& order, const std::string& name, bool rcon)
{
    const auto before = entries.size();
    std::erase_if(entries, [&](const auto& e) { return e.name == name; });
    std::erase_if(order, [&](const Registration& r) { return r.rcon == rcon && r.name == name; });
    return entries.size() != before;
}

// Host services are journaled with the host as their receiver.
JournalRecord BeginService(std::string_view member, std::size_t args, bool result)
{
    return GetJournal().Begin(JournalKind::Service, member, FixedValue("host"), args, result);
}

JournalValue TextValue(JournalRecord& record, const FString& text)
{
    return record.Text(*text, static_cast<std::size_t>(text.Len()));
}

// A command line or request body that the plugin may rewrite while it runs.
void SnapshotText(const void* address, std::uint32_t, std::string& out)
{
    const FString& text = *static_cast<const FString*>(address);
    out.append(reinterpret_cast<const char*>(*text), static_cast<std::size_t>(text.Len()) * sizeof(WIDECHAR));
}

JournalValue TextOfBytes(JournalRecord& record, std::string_view bytes, std::uint32_t)
{
    return record.Text(bytes.data(), bytes.size() / sizeof(WIDECHAR));
}

constexpr WatchOps kTextWatch{&SnapshotText, &TextOfBytes};

class Messenger final : public PluginMessenger {
public:
    Messenger(ApiUtils& utils, std::string path) : utils_(utils), path_(std::move(path)) {}

    void SendPlayerMessage(AShooterPlayerController* player, float r, float g, float b, float a,
                           const FString& text) override
    {
        if (JournalRecord record = BeginService(
                "PluginMessenger.SendPlayerMessage(AShooterPlayerController*,float,float,float,float,FString&)", 6,
                false)) {
            record.Arg(0, ObjectValue(player));
            record.Arg(1, FloatValue(r));
            record.Arg(2, FloatValue(g));
            record.Arg(3, FloatValue(b));
            record.Arg(4, FloatValue(a));
            record.Arg(5, TextValue(record, text));
        }
        PlayerMessage message{path_, player, r, g, b, a, WideString(text.View())};
        utils_.messages.push_back(message);
        if (utils_.onMessage)
            utils_.onMessage(message);
    }

private:
    ApiUtils& utils_;
    std::string path_;
};

std::string& CurrentDir()
{
    static std::string dir = ".";
    return dir;
}

}  // namespace

void CommandRegistry::RegisterConsoleCommand(const FString& name, const ConsoleCommandCallback& callback)
{
    if (JournalRecord record = BeginService("ICommands.RegisterConsoleCommand(FString&,ConsoleCommandCallback&)", 2, false)) {
        record.Arg(0, TextValue(record, name));
        record.Arg(1, FixedValue("<callback>"));
    }
    console_.push_back({ToUtf8(name.View()), callback});
    order_.push_back({console_.back().name, false});
}

void CommandRegistry::RegisterRconCommand(const FString& name, const RconCommandCallback& callback)
{
    if (JournalRecord record = BeginService("ICommands.RegisterRconCommand(FString&,RconCommandCallback&)", 2, false)) {
        record.Arg(0, TextValue(record, name));
        record.Arg(1, FixedValue("<callback>"));
    }
    rcon_.push_back({ToUtf8(name.View()), callback});
    order_.push_back({rcon_.back().name, true});
}

bool CommandRegistry::UnregisterConsoleCommand(const FString& name)
{
    removals_.push_back({ToUtf8(name.View()), false});
    JournalRecord record = BeginService("ICommands.UnregisterConsoleCommand(FString&)", 1, true);
    record.Arg(0, TextValue(record, name));
    const bool removed = RemoveNamed(console_, order_, ToUtf8(name.View()), false);
    record.Result(BoolValue(removed));
    return removed;
}

bool CommandRegistry::UnregisterRconCommand(const FString& name)
{
    removals_.push_back({ToUtf8(name.View()), true});
    JournalRecord record = BeginService("ICommands.UnregisterRconCommand(FString&)", 1, true);
    record.Arg(0, TextValue(record, name));
    const bool removed = RemoveNamed(rcon_, order_, ToUtf8(name.View()), true);
    record.Result(BoolValue(removed));
    return removed;
}

void CommandRegistry::Escaped(const char* what)
{
    ++escaped_;
    lastEscaped_ = what;
    std::fprintf(stderr, "kestrova-sim: an exception escaped a command callback: %s\n", what);
}

// Calls the first registration named by the line's first word; false when none is.
// The journal shows the call, and any change the plugin makes to the line while
// the command runs.
template <typename Entries, typename... Args>
bool CommandRegistry::Dispatch(Entries& entries, const Journaled& journaled, FString& line, Args... args)
{
    const std::string word = FirstWord(line);
    for (auto& entry : entries) {
        if (!SameName(entry.name, word))
            continue;
        // Copy: the callback may unregister itself.
        const auto callback = entry.callback;
        PassTripwire(TripWhen::Dispatch, entry.name);
        Journal& journal = GetJournal();
        std::uint64_t watch = 0;
        if (JournalRecord record = journal.Begin(JournalKind::Dispatch, journaled.what, FixedValue("host"),
                                                 journaled.requestId ? 3 : 2, false)) {
            // A console line with no player is the server's own.
            const JournalValue issuer = journaled.issuer != nullptr ? ObjectValue(journaled.issuer) : FixedValue("server");
            record.Arg(0, issuer);
            if (journaled.requestId)
                record.Arg(1, IntValue(*journaled.requestId));
            record.Arg(journaled.requestId ? 2 : 1, TextValue(record, line));
            watch = journal.WatchStorage(journaled.line, issuer, &line, kTextWatch);
        }
        try {
            callback(args...);
        } catch (const std::exception& e) {
            Escaped(e.what());
        } catch (...) {
            Escaped("(not a std::exception)");
        }
        journal.Settle();
        journal.Unwatch(watch);
        return true;
    }
    return false;
}

bool CommandRegistry::DispatchConsole(APlayerController* player, FString& line, bool consoleFlag)
{
    return Dispatch(console_, Journaled{"console command", "command line", player, nullptr}, line, player, &line,
                    consoleFlag);
}

bool CommandRegistry::DispatchRcon(RCONClientConnection* connection, RCONPacket& packet, UWorld* world)
{
    return Dispatch(rcon_, Journaled{"RCON command", "RCONPacket.Body", connection, &packet.Id}, packet.Body,
                    connection, &packet, world);
}

std::vector<Registration> CommandRegistry::Registrations() const { return order_; }

void CommandRegistry::Clear()
{
    console_.clear();
    rcon_.clear();
    order_.clear();
    removals_.clear();
    escaped_ = 0;
    lastEscaped_.clear();
}

AActor* ApiUtils::GetServerActor() const
{
    JournalRecord record = BeginService("IApiUtils.GetServerActor()", 0, true);
    record.Result(ObjectValue(serverActor));
    return serverActor;
}

AShooterPlayerController* ApiUtils::FindPlayerById(const FString& id) const
{
    JournalRecord record = BeginService("IApiUtils.FindPlayerById(FString&)", 1, true);
    record.Arg(0, TextValue(record, id));
    AShooterPlayerController* player = findPlayer ? findPlayer(id.View()) : nullptr;
    record.Result(ObjectValue(player));
    return player;
}

std::shared_ptr<PluginMessenger> ApiUtils::GetPluginMessenger(const FString& pluginPath) const
{
    JournalRecord record = BeginService("IApiUtils.GetPluginMessenger(FString&)", 1, true);
    record.Arg(0, TextValue(record, pluginPath));
    record.Result(FixedValue("<messenger>"));
    return std::make_shared<Messenger>(const_cast<ApiUtils&>(*this), ToUtf8(pluginPath.View()));
}

CommandRegistry& GetRegistry()
{
    static CommandRegistry registry;
    return registry;
}

ApiUtils& GetUtils()
{
    static ApiUtils utils;
    return utils;
}

void SetCurrentDir(std::string dir) { CurrentDir() = std::move(dir); }

std::string ServerDir() { return CurrentDir(); }

std::vector<std::string> CapturingSink::Lines()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

void CapturingSink::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

void CapturingSink::sink_it_(const spdlog::details::log_msg& msg)
{
    spdlog::memory_buf_t formatted;
    formatter_->format(msg, formatted);
    std::string line(formatted.data(), formatted.size());
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    lines_.push_back(std::move(line));
}

std::string ToUtf8(WideView text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

WideString FromUtf8(std::string_view text)
{
    // Lenient: a byte that does not start or continue a valid sequence becomes U+FFFD.
    WideString out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 0x6 ? 1 : (b0 >> 4) == 0xE ? 2 : (b0 >> 3) == 0x1E ? 3 : -1;
        char32_t c = extra == 0 ? b0 : extra == 1 ? (b0 & 0x1F) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x07);
        bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (std::size_t k = 1; ok && k <= static_cast<std::size_t>(extra); ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if ((b & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (b & 0x3F);
        }
        const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += WTEXT('\uFFFD');
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<WIDECHAR>(0xD800 + (c >> 10));
            out += static_cast<WIDECHAR>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<WIDECHAR>(c);
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace sim

namespace AsaApi {
ICommands& GetCommands() { return sim::GetRegistry(); }
IApiUtils& GetApiUtils() { return sim::GetUtils(); }
std::string Tools::GetCurrentDir()
{
    sim::JournalRecord record = sim::BeginService("AsaApi::Tools::GetCurrentDir()", 0, true);
    record.Result(record.Narrow(sim::CurrentDir()));
    return sim::CurrentDir();
}
}  // namespace AsaApi

std::vector<spdlog::sink_ptr>& GetLogSinks()
{
    static std::vector<spdlog::sink_ptr> sinks;
    return sinks;
}
