#include "log_sinks.h"

#include <spdlog/sinks/stdout_color_sinks.h>

namespace sim {

std::shared_ptr<CapturingSink> SetUpLogSinks()
{
    auto capture = std::make_shared<CapturingSink>();
    auto& sinks = GetLogSinks();
    sinks.clear();
    sinks.push_back(std::make_shared<spdlog::sinks::stderr_color_sink_mt>(spdlog::color_mode::automatic));
    sinks.push_back(capture);
    return capture;
}

std::shared_ptr<CapturingSink> FindCapturingSink()
{
    for (const auto& sink : GetLogSinks())
        if (auto capture = std::dynamic_pointer_cast<CapturingSink>(sink))
            return capture;
    return nullptr;
}

}  // namespace sim
