#include "console.h"

#include "colours.h"
#include "console_commands.h"
#include "game/game.h"

namespace sim {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trim(std::string_view text)
{
    const auto begin = text.find_first_not_of(kBlanks);
    if (begin == text.npos)
        return {};
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

}  // namespace

std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text)
{
    text = Trim(text);
    const auto end = text.find_first_of(kBlanks);
    if (end == text.npos)
        return {text, {}};
    return {text.substr(0, end), Trim(text.substr(end))};
}

std::string UnknownCommand(std::string_view line)
{
    return fmt::format("Unknown command: {}", SplitFirstWord(line).first);
}

Console::Console(Game& game, std::ostream& out, bool colour) : game_(game), out_(out), colour_(colour)
{
    current_ = game.Players().empty() ? nullptr : game.Players().front();
    GetUtils().onMessage = [this](const PlayerMessage& message) { ShowMessage(message); };
}

Console::~Console() { GetUtils().onMessage = nullptr; }

void Console::Execute(std::string_view line)
{
    line = Trim(line);
    if (line.empty())
        return;
    if (line.front() == '/') {
        RunStandIn(line);
        return;
    }
    if (line.front() == '@') {
        const auto [who, rest] = SplitFirstWord(line.substr(1));
        PlayerController* player = nullptr;
        if (!FindIssuer(who, player)) {
            out_ << "No player with id " << who << "\n";
            return;
        }
        if (!rest.empty())
            Issue(player, rest);
        return;
    }
    Issue(current_, line);
}

void Console::Issue(PlayerController* player, std::string_view line)
{
    FString text(WideView(FromUtf8(line)));
    if (!GetRegistry().DispatchConsole(Handle<APlayerController>(player), text, true))
        out_ << UnknownCommand(line) << "\n";
}

void Console::RunStandIn(std::string_view line)
{
    const auto [name, args] = SplitFirstWord(line);
    for (const StandInCommand& command : StandInCommands()) {
        if (command.name == name) {
            command.run(*this, args);
            return;
        }
    }
    out_ << UnknownCommand(name) << " (/help lists the stand-in's commands)\n";
}

std::string Console::Describe(const PlayerController* player)
{
    if (player == nullptr)
        return "the server";
    return fmt::format("{} ({})", ToUtf8(player->name), ToUtf8(player->id));
}

bool Console::FindIssuer(std::string_view who, PlayerController*& player) const
{
    if (who == "server") {
        player = nullptr;
        return true;
    }
    player = game_.FindPlayer(who);
    return player != nullptr;
}

RconConnection& Console::Rcon()
{
    if (rcon_ == nullptr) {
        rcon_ = &game_.MakeRconConnection();
        rcon_->PeerAddress = FString("console");
        rcon_->onReply = [this](const RconReply& reply) {
            out_ << fmt::format("[rcon reply to {}] {}\n", reply.id,
                                reply.text.empty() ? std::string("(empty)") : ToUtf8(reply.text));
        };
    }
    return *rcon_;
}

void Console::ShowMessage(const PlayerMessage& message)
{
    const std::string to = message.player == nullptr ? "nobody" : LabelOf(message.player);
    const sim::Colour colour = NearestColour(message.r, message.g, message.b);
    const std::string text = ToUtf8(message.text);
    if (colour_)
        out_ << Paint(fmt::format("[to {}] {}", to, text), colour) << "\n";
    else
        out_ << fmt::format("[to {} ({})] {}\n", to, colour.name, text);
}

}  // namespace sim
