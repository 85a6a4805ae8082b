#include "kill_point.h"

#include <algorithm>
#include <vector>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "framework/host.h"
#include "framework/members.h"

namespace sim {
namespace {

std::vector<std::string> CommandNames()
{
    std::vector<std::string> names;
    for (const Registration& registration : GetRegistry().Registrations())
        if (std::find(names.begin(), names.end(), registration.name) == names.end())
            names.push_back(registration.name);
    return names;
}

// The functions whose name holds `part`, as a point of the same kind names them.
std::vector<std::string> Resembling(const std::string& part, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& name : MemberNames(MemberKind::Function))
        if (name.find(part) != std::string::npos)
            found.push_back(prefix + name);
    return found;
}

}  // namespace

std::string KillPointProblem(const TripPoint& point)
{
    if (point.when == TripWhen::Dispatch) {
        const std::vector<std::string> commands = CommandNames();
        if (std::find(commands.begin(), commands.end(), point.name) != commands.end())
            return {};
        return fmt::format("--kill-at dispatch:{}: the plugin registered no command of that name; "
                           "the commands are named exactly as registered: dispatch:{}",
                           point.name, fmt::join(commands, ", dispatch:"));
    }
    const std::string prefix = point.when == TripWhen::Call ? "call:" : "return:";
    const std::vector<std::string> functions = MemberNames(MemberKind::Function);
    if (std::binary_search(functions.begin(), functions.end(), point.name))
        return {};
    std::string problem = fmt::format(
        "--kill-at {}{}: the game has no function of that name; a member is named in full, as /journal "
        "names it, such as call:AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)",
        prefix, point.name);
    if (const std::vector<std::string> similar = Resembling(point.name, prefix); !similar.empty())
        problem += fmt::format("; did you mean {}", fmt::join(similar, " or "));
    return problem;
}

}  // namespace sim
