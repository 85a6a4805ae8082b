#include "support/sim_server.h"

#include <regex>

namespace kestrova::test {

SimServer::SimServer(const TempServerDir& dir, const std::vector<std::string>& more)
{
    std::vector<std::string> args{"--server-dir", dir.Root().string(), "--rcon-port", "0"};
    args.insert(args.end(), more.begin(), more.end());
    process_ = std::make_unique<ChildProcess>(KESTROVA_SIM_PATH, args);
    static const std::regex kListening(R"(rcon: +listening on 127\.0\.0\.1:([0-9]+))");
    if (const std::optional<std::string> port = process_->WaitForOutput(kListening))
        port_ = static_cast<std::uint16_t>(std::stoi(*port));
}

std::optional<int> SimServer::SlotsFilledBy(const std::string& id)
{
    process_->WriteInput("/inventory " + id + "\n");
    const std::optional<std::string> count = process_->WaitForOutput(std::regex("\\(" + id + "\\): ([0-9]+) of"));
    return count ? std::optional<int>(std::stoi(*count)) : std::nullopt;
}

bool SimServer::WaitForLedgerReadBack()
{
    // Where the plugin cannot start the ledger's thread while it is being loaded
    // (Windows), the first request that needs the ledger starts the read-back; a
    // status request runs nothing.
    process_->WriteInput("KV.OrderStatus read-back\n");
    static const std::regex kReadBack(R"(Ledger [^:\n]+: ([0-9]+) orders known)");
    return process_->WaitForOutput(kReadBack).has_value();
}

std::optional<int> SimServer::Quit()
{
    process_->WriteInput("/quit\n");
    return process_->Wait();
}

tools::RconClient SimServer::Client() const
{
    tools::RconClient client;
    client.Connect("127.0.0.1", port_);
    return client;
}

}  // namespace kestrova::test
