#include "plugin/logger.h"

#include "AsaApi.h"

namespace kestrova {

std::shared_ptr<spdlog::logger>& PluginLogger()
{
    static std::shared_ptr<spdlog::logger> logger;
    return logger;
}

void CreatePluginLogger()
{
    const std::vector<spdlog::sink_ptr>& sinks = GetLogSinks();
    auto logger = std::make_shared<spdlog::logger>("Kestrova", sinks.begin(), sinks.end());
    // Each host sink makes its own formatter. One made here would be an object of
    // this library's code left inside the host's sinks, and the host's next log
    // line after the library is unloaded would call into code that is gone.
    for (const spdlog::sink_ptr& sink : sinks)
        sink->set_pattern("%D %R [%n][%l] %v");
    logger->flush_on(spdlog::level::info);
    PluginLogger() = std::move(logger);
}

void LogError(const char* message) noexcept
{
    try {
        if (const auto& logger = PluginLogger())
            logger->error("{}", message);
    } catch (...) {
        // Nothing is left to tell: the log itself failed.
    }
}

}  // namespace kestrova
