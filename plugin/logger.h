// The plugin logger: one spdlog logger named "Kestrova" on the host's sinks.
#pragma once

#include <memory>

#include <spdlog/logger.h>

namespace kestrova {

// The process-wide holder; empty until the logger is created.
std::shared_ptr<spdlog::logger>& PluginLogger();

// Builds the logger on copies of the host's sinks and puts it in the holder,
// replacing whatever the holder held.
void CreatePluginLogger();

// Logs at error level, if the logger exists; never throws.
void LogError(const char* message) noexcept;

}  // namespace kestrova
