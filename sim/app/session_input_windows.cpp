#include <chrono>
#include <condition_variable>
#include <mutex>

#include <windows.h>

#include "session_queue.h"

namespace sim {
namespace {

// A console control handler takes no context, so the session it stops is global.
std::mutex watchMutex;
std::condition_variable sessionEnded;
std::shared_ptr<SessionInput::Queue> watchedQueue;  // null when no session watches
bool sessionOver = false;

const char* Describe(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: return "Ctrl+C";
    case CTRL_BREAK_EVENT: return "Ctrl+Break";
    case CTRL_CLOSE_EVENT: return "console closed";
    case CTRL_LOGOFF_EVENT: return "user logging off";
    default: return "system shutting down";
    }
}

}  // namespace

// Called on a thread of its own for each console event.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    std::unique_lock lock(watchMutex);
    if (!watchedQueue)
        return FALSE;
    watchedQueue->Push({SessionEvent::Kind::Stop, {}, Describe(event)});
    // For these Windows ends the process as soon as the handler returns (or after
    // a few seconds anyway): first let the session stop RCON and unload the plugin.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        sessionEnded.wait_for(lock, std::chrono::seconds(10), [] { return sessionOver; });
    return TRUE;
}

struct SessionInput::StopWatch::State {};

SessionInput::StopWatch::StopWatch(std::shared_ptr<Queue> queue) : state_(std::make_unique<State>())
{
    {
        std::lock_guard lock(watchMutex);
        watchedQueue = std::move(queue);
        sessionOver = false;
    }
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

SessionInput::StopWatch::~StopWatch()
{
    {
        std::lock_guard lock(watchMutex);
        watchedQueue.reset();
        sessionOver = true;
    }
    sessionEnded.notify_all();
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

const char* SessionInput::StopRequests() { return "Ctrl+C, Ctrl+Break or the console closing"; }

}  // namespace sim
