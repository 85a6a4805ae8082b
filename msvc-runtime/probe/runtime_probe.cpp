#include "runtime_probe.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace probe {
namespace {
std::atomic<int> threadLocalsDestroyed{0};
std::atomic<int> slowStaticsConstructed{0};

struct CountsItsEnd {
  int touched = 0;
  ~CountsItsEnd() { ++threadLocalsDestroyed; }
};
thread_local CountsItsEnd perThread;

struct Slow {
  Slow() {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ++slowStaticsConstructed;
  }
};
}  // namespace

void Throw(const std::string& message) { throw std::runtime_error(message); }

void TouchThreadLocal() { ++perThread.touched; }
int ThreadLocalsDestroyed() { return threadLocalsDestroyed; }

const void* SlowStatic() {
  static const Slow slow;
  return &slow;
}
int SlowStaticsConstructed() { return slowStaticsConstructed; }

int SumOfLargeFrame() {
  volatile char frame[64 * 1024];
  for (auto& byte : frame) byte = 1;
  int sum = 0;
  for (const auto& byte : frame) sum += byte;
  return sum;
}
}  // namespace probe
