// kestrova-sim run as a server for a test: a child process on a server folder,
// RCON on a free port, the console on its standard input.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/rcon_client.h"
#include "support/child_process.h"
#include "support/server_dir.h"

namespace kestrova::test {

class SimServer {
public:
    // Starts kestrova-sim on `dir` with `more` arguments, and waits until it listens.
    SimServer(const TempServerDir& dir, const std::vector<std::string>& more);

    // The RCON port; 0 when it did not start listening.
    std::uint16_t Port() const { return port_; }
    ChildProcess& Process() { return *process_; }

    // The inventory slots player `id` fills, from the console's /inventory: a creature
    // delivered in a cryopod fills one. Nothing when no answer comes. Once per run:
    // the answer is found in the whole output.
    std::optional<int> SlotsFilledBy(const std::string& id);

    // Waits until the plugin's delivery ledger has read its files back, as its log
    // says: until then KV.Order answers that it is still being read. False when
    // it did not within the time something quick may take.
    bool WaitForLedgerReadBack();

    // A client connected to its RCON port (check Authenticate's result).
    tools::RconClient Client() const;

    // /quit, and its exit status.
    std::optional<int> Quit();

private:
    std::unique_ptr<ChildProcess> process_;
    std::uint16_t port_ = 0;
};

}  // namespace kestrova::test
