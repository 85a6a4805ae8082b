// The part of Visual Studio's concurrency runtime that <future> uses for std::async:
// a task that runs a function on a thread of its own and can be waited for. Visual
// Studio's runs it on a thread pool; std::async only asks for "as if on a new thread".
#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace Concurrency {
template <class _Ty>
class task;

template <>
class task<void> {
 public:
  task() = default;

  template <class _Fn>
  explicit task(_Fn&& _Func) : _State(std::make_shared<_Completion>()) {
    std::thread([_State = _State, _Func = std::forward<_Fn>(_Func)]() mutable {
      _Func();
      {
        std::lock_guard<std::mutex> _Lock(_State->_Mutex);
        _State->_Done = true;
      }
      _State->_Finished.notify_all();
    }).detach();
  }

  void wait() const {
    if (!_State) return;
    std::unique_lock<std::mutex> _Lock(_State->_Mutex);
    _State->_Finished.wait(_Lock, [this] { return _State->_Done; });
  }

 private:
  struct _Completion {
    std::mutex _Mutex;
    std::condition_variable _Finished;
    bool _Done = false;
  };
  std::shared_ptr<_Completion> _State;
};

template <class _Fn>
task<void> create_task(_Fn&& _Func) {
  return task<void>(std::forward<_Fn>(_Func));
}
}  // namespace Concurrency
namespace concurrency = Concurrency;
