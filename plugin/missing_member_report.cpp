#include "plugin/missing_member_report.h"

#include <chrono>
#include <map>
#include <mutex>
#include <string>

#include "plugin/logger.h"

namespace kestrova {
namespace {

constexpr std::chrono::minutes kEachMemberAtMostEvery{1};

struct Reports {
    std::mutex mutex;
    // When each member may next be reported. One entry per member the game
    // lacks: the plugin uses some eighty in all.
    std::map<std::string, std::chrono::steady_clock::time_point, std::less<>> next;
};

Reports& TheReports()
{
    static Reports reports;
    return reports;
}

// Whether `name` is due a report now; if so, the next one is a minute away.
bool Due(const std::string& name)
{
    Reports& reports = TheReports();
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(reports.mutex);
    const auto found = reports.next.find(name);
    if (found != reports.next.end() && now < found->second)
        return false;
    reports.next.insert_or_assign(name, now + kEachMemberAtMostEvery);
    return true;
}

}  // namespace

void ReportMissingMember(const MissingMember& missing) noexcept
{
    try {
        if (!Due(missing.Name()))
            return;
        if (const auto& logger = PluginLogger())
            logger->error("{}; what needs it fails until the plugin is updated", missing.what());
    } catch (...) {
        // Nothing else can be told; the command's outcome still names the member.
    }
}

void ResetMissingMemberReports() noexcept
{
    Reports& reports = TheReports();
    std::lock_guard lock(reports.mutex);
    reports.next.clear();
}

}  // namespace kestrova
