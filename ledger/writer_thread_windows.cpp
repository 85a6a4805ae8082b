#include "ledger/writer_thread.h"

#include <system_error>

#include <windows.h>

namespace kestrova {

struct WriterThread::Native {
    std::function<void()> body;
    HANDLE running = nullptr;  // set once the body is about to run
    HANDLE thread = nullptr;   // signalled once the thread has ended
    bool joined = false;

    ~Native()
    {
        if (running != nullptr)
            CloseHandle(running);
        if (thread != nullptr)
            CloseHandle(thread);
    }
};

namespace {

[[noreturn]] void ThrowLastError(const char* what)
{
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

DWORD WINAPI RunThenEnd(void* argument)
{
    auto& native = *static_cast<WriterThread::Native*>(argument);
    SetEvent(native.running);
    try {
        native.body();
    } catch (...) {
        // The body reports its own failures; nothing may leave a thread's first function.
    }
    // Not the usual end of a thread, which tells every library's DllMain under the
    // loader's lock: an unload in DllMain holds that lock while it waits in Join.
    // The thread holds no lock here, and none of this library's code runs after it.
    TerminateThread(GetCurrentThread(), 0);
    return 0;
}

}  // namespace

WriterThread::WriterThread() = default;

WriterThread::~WriterThread() { Join(); }

void WriterThread::Start(std::function<void()> body)
{
    auto native = std::make_unique<Native>();
    native->body = std::move(body);
    native->running = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (native->running == nullptr)
        ThrowLastError("no event for the writer thread");
    native->thread = CreateThread(nullptr, 0, RunThenEnd, native.get(), 0, nullptr);
    if (native->thread == nullptr)
        ThrowLastError("no writer thread");
    // Once the body runs, the thread is past the loader: a Join, even one in DllMain,
    // can then wait for it.
    WaitForSingleObject(native->running, INFINITE);
    native_ = std::move(native);
}

bool WriterThread::StartsDuringLoad() noexcept { return false; }

bool WriterThread::Started() const noexcept { return native_ != nullptr; }

bool WriterThread::EndedUnasked() const noexcept
{
    return native_ != nullptr && !native_->joined && WaitForSingleObject(native_->thread, 0) == WAIT_OBJECT_0;
}

void WriterThread::Join() noexcept
{
    if (native_ == nullptr || native_->joined)
        return;
    WaitForSingleObject(native_->thread, INFINITE);
    native_->joined = true;
}

}  // namespace kestrova
