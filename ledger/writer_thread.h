// The ledger writer's thread, and how it ends on each platform.
//
// On Windows the library is unloaded from DllMain, under the loader's lock, and a
// thread that ends the usual way first waits for that lock: joining it there would
// hang. So there the thread, its body done, ends itself without the loader, and
// Join waits for exactly that. At the process's exit the system has already ended
// every other thread, wherever it was: EndedUnasked then says so.
#pragma once

#include <functional>
#include <memory>

namespace kestrova {

class WriterThread {
public:
    WriterThread();
    // Joins.
    ~WriterThread();
    WriterThread(const WriterThread&) = delete;
    WriterThread& operator=(const WriterThread&) = delete;

    // Runs `body` on a new thread; throws std::system_error when none can be made.
    // Not under the loader's lock: on Windows it returns once the body runs, and a
    // new thread passes through the loader before that.
    void Start(std::function<void()> body);
    bool Started() const noexcept;

    // The thread has ended although its body was running and nobody joined it:
    // the process is ending (Windows). It may have held any lock when it ended.
    bool EndedUnasked() const noexcept;

    // Waits until the body has returned and the thread has ended; at once when
    // none was started.
    void Join() noexcept;

    // Whether a thread may start while the library is being loaded: not on
    // Windows, where the library's load runs under the loader's lock, which Start
    // waits for the new thread to pass.
    static bool StartsDuringLoad() noexcept;

    struct Native;  // what the platform holds

private:
    std::unique_ptr<Native> native_;
};

}  // namespace kestrova
