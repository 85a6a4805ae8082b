#include "latency.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

namespace kestrova::tools {

void Latencies::Add(std::chrono::steady_clock::duration duration)
{
    micros_.push_back(std::chrono::duration<double, std::micro>(duration).count());
    sorted_ = false;
}

void Latencies::Merge(const Latencies& other)
{
    micros_.insert(micros_.end(), other.micros_.begin(), other.micros_.end());
    sorted_ = false;
}

void Latencies::Sort() const
{
    if (!sorted_)
        std::sort(micros_.begin(), micros_.end());
    sorted_ = true;
}

// The nearest-rank percentile: the smallest value with at least `fraction` of all at or below it.
double Latencies::Percentile(double fraction) const
{
    if (micros_.empty())
        return 0;
    Sort();
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(micros_.size())));
    return micros_[std::clamp<std::size_t>(rank, 1, micros_.size()) - 1];
}

double Latencies::Max() const
{
    return micros_.empty() ? 0 : *std::max_element(micros_.begin(), micros_.end());
}

std::size_t Latencies::Over(std::chrono::microseconds limit) const
{
    const auto bound = static_cast<double>(limit.count());
    return static_cast<std::size_t>(std::count_if(micros_.begin(), micros_.end(), [&](double m) { return m > bound; }));
}

std::string Latencies::Summary() const
{
    return fmt::format("p50 {}, p99 {}, max {}", FormatMicros(Percentile(0.5)), FormatMicros(Percentile(0.99)),
                       FormatMicros(Max()));
}

std::string FormatMicros(double micros)
{
    if (micros < 1000)
        return fmt::format("{:.0f} us", micros);
    if (micros < 1'000'000)
        return fmt::format("{:.1f} ms", micros / 1000);
    return fmt::format("{:.2f} s", micros / 1'000'000);
}

}  // namespace kestrova::tools
