#include "ledger/writer_thread.h"

#include <thread>

namespace kestrova {

struct WriterThread::Native {
    std::thread thread;
};

WriterThread::WriterThread() = default;

WriterThread::~WriterThread() { Join(); }

void WriterThread::Start(std::function<void()> body)
{
    auto native = std::make_unique<Native>();
    native->thread = std::thread(std::move(body));
    native_ = std::move(native);
}

bool WriterThread::StartsDuringLoad() noexcept { return true; }

bool WriterThread::Started() const noexcept { return native_ != nullptr; }

// Threads end here only by returning.
bool WriterThread::EndedUnasked() const noexcept { return false; }

void WriterThread::Join() noexcept
{
    if (native_ && native_->thread.joinable())
        native_->thread.join();
}

}  // namespace kestrova
