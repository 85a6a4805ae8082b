#include "tripwire.h"

#include <utility>

namespace sim {
namespace {

struct Armed {
    TripPoint point;
    TripAction action = nullptr;
};

Armed& Wire()
{
    static Armed armed;
    return armed;
}

}  // namespace

std::optional<TripPoint> ParseTripPoint(std::string_view text)
{
    constexpr std::pair<std::string_view, TripWhen> kWhens[] = {
        {"dispatch:", TripWhen::Dispatch}, {"call:", TripWhen::Call}, {"return:", TripWhen::Return}};
    for (const auto& [prefix, when] : kWhens) {
        if (text.starts_with(prefix) && text.size() > prefix.size())
            return TripPoint{when, std::string(text.substr(prefix.size()))};
    }
    return std::nullopt;
}

void ArmTripwire(TripPoint point, TripAction action) { Wire() = {std::move(point), action}; }

void PassTripwire(TripWhen when, std::string_view name)
{
    Armed& armed = Wire();
    if (armed.action == nullptr || armed.point.when != when || armed.point.name != name)
        return;
    const TripAction action = std::exchange(armed.action, nullptr);
    action(armed.point);
}

}  // namespace sim
