#include "rcon/game_thread.h"

#include <exception>
#include <future>
#include <iostream>
#include <memory>

namespace sim::rcon {
namespace {

void WriteToStderr(std::string_view what)
{
    std::cerr << "game thread task failed: " << what << '\n';
}

}  // namespace

GameThread::GameThread(std::function<void(std::string_view)> failed)
    : failed_(failed ? std::move(failed) : WriteToStderr), thread_([this] { Run(); })
{
}

GameThread::~GameThread()
{
    Stop();
}

bool GameThread::Post(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return false;
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
    return true;
}

bool GameThread::Call(std::function<void()> task)
{
    if (IsGameThread()) {
        task();
        return true;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    const bool posted = Post([task = std::move(task), done] {
        try {
            task();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
    if (!posted)
        return false;
    finished.get();
    return true;
}

void GameThread::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

bool GameThread::IsGameThread() const
{
    return std::this_thread::get_id() == thread_.get_id();
}

void GameThread::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty())
            return;  // stopping, and every task posted before has run
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        try {
            task();
        } catch (const std::exception& error) {
            failed_(error.what());
        } catch (...) {
            failed_("unknown exception");
        }
        task = nullptr;  // what it holds goes before the lock is taken again
        lock.lock();
    }
}

}  // namespace sim::rcon
