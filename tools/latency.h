// Round-trip times and what they add up to.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::tools {

class Latencies {
public:
    void Add(std::chrono::steady_clock::duration duration);
    void Merge(const Latencies& other);

    std::size_t Count() const { return micros_.size(); }
    // The value below which `fraction` of them lie (0.5 for the median), in microseconds.
    double Percentile(double fraction) const;
    double Max() const;
    std::size_t Over(std::chrono::microseconds limit) const;

    // "p50 41 us, p99 180 us, max 2.1 ms".
    std::string Summary() const;

private:
    void Sort() const;

    mutable std::vector<double> micros_;
    mutable bool sorted_ = true;
};

// "850 us" below a millisecond, "2.1 ms" below a second, "1.25 s" above.
std::string FormatMicros(double micros);

}  // namespace kestrova::tools
